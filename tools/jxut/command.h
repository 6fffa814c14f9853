// The subcommands of jxut. Each command file declares its command once (usage,
// summary, options, examples) and registers it, and optionally a step of
// `jxut demo`, with a static registrar, so adding a command touches no other
// file. The frame reads the options, answers --help and -h, and converts
// texts between the user's UTF-8 and the library's ANSI code page.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace jxut {

// Exit statuses of every command.
enum Status { kOk = 0, kFailed = 1, kUsage = 2 };

using Args = std::vector<std::string>;

// An option a command takes besides the ones every command has (--help, -h,
// --raw). Options are long ("--decimals"); the value follows as the next
// argument or after '=' ("--decimals=2").
struct Option {
    const char* name;  // "--decimals"
    const char* value; // what its value is called in the help ("N"); null for a switch
    const char* help;  // one line
    // Another name for an option of the table: given this way, it counts as
    // that option. Its help line may then be null (it is listed with it).
    const char* same_as = nullptr;
};

class Call;

struct Command {
    const char* name;    // "angle"
    const char* usage;   // its forms without "jxut ", one a line
    const char* summary; // one line for `jxut --help`
    const char* details; // paragraphs for `jxut COMMAND --help`, or null
    std::vector<Option> options;
    const char* examples; // command lines, one a line; "  # ..." explains one
    int (*run)(const Call& call);
};

// A command's arguments read against its options. Operands and option values
// are in the ANSI code page, as the library takes them.
class Call {
public:
    Call(const Command& command, Args operands,
         std::vector<std::pair<std::string, std::string>> given);

    const Command& command() const { return *command_; }
    const Args& operands() const { return operands_; }
    // Whether the option was given (by any of its names).
    bool has(const std::string& option) const;
    // Its value; given more than once, the last. `fallback` when not given.
    std::string value(const std::string& option, const std::string& fallback = {}) const;
    // Every value given to it, in order.
    Args values(const std::string& option) const;

    // "jxut COMMAND: message" and the usage on stderr; returns kUsage.
    int usage_error(const std::string& message) const;
    // "jxut COMMAND: message" on stderr; returns kFailed.
    int fail(const std::string& message) const;

private:
    const Command* command_;
    Args operands_;
    std::vector<std::pair<std::string, std::string>> given_; // canonical name, value
};

// A step of `jxut demo`: runs one service over the samples folder and prints
// what it shows. Steps run in the order of `order`.
struct DemoStep {
    int order;
    const char* title;
    int (*run)(const std::string& samples_dir);
};

struct Registrar {
    explicit Registrar(const Command& command);
    explicit Registrar(const DemoStep& step);
};

const std::vector<Command>& commands();
const std::vector<DemoStep>& demo_steps();
// Finds a registered command by name (null when unknown).
const Command* find_command(const std::string& name);

// Runs the tool: what main() does with its arguments.
int run_tool(const Args& args);

// ---------------------------------------------------------------------------
// Output. Everything the tool prints goes through these, in the ANSI code
// page as the library gives its texts; they reach the user as UTF-8 when the
// user's side speaks it (a terminal, a UTF-8 locale) unless --raw was given.

#if defined(__GNUC__)
#define JXUT_PRINTF(f, a) __attribute__((format(printf, f, a)))
#else
#define JXUT_PRINTF(f, a)
#endif

void out(const char* format, ...) JXUT_PRINTF(1, 2); // standard output
void err(const char* format, ...) JXUT_PRINTF(1, 2); // standard error
// Bytes as they are (embedded NULs included) to standard output.
void write_out(const std::string& ansi);
// An argument inside a message: quoted, and cut to 80 characters ("...")
// when longer, so that a pasted file does not flood the terminal.
std::string echo(const std::string& argument);
// Whether texts go out as UTF-8 (false with --raw).
bool output_is_utf8();

// Before a message the demo provokes on purpose: "expected: <what>".
void expected(const char* what);

// A data-file argument. "-" is standard input, copied into a temporary file
// that the library can open by name and that goes when this goes.
class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Takes the argument; false with `problem` set for a folder or when
    // standard input cannot be copied. A `text` file that starts with a
    // UTF-8 byte-order mark is read as UTF-8: the library is given a copy in
    // the ANSI code page, without the mark.
    bool open(const std::string& argument, std::string& problem, bool text = false);
    // The name to give the library.
    const std::string& path() const { return path_; }
    // The name to show the user ("standard input" for "-").
    const std::string& shown() const { return shown_; }

private:
    bool copy_from(FILE* source, bool from_utf8, std::string& problem);

    std::string path_;
    std::string shown_;
    std::string pending_; // bytes read ahead of the copy
    bool temporary_ = false;
};

} // namespace jxut
