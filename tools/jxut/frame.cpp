// The frame every jxut command runs in: the registry, the reading of options,
// the help texts, and the one way out for text.
#include "command.h"

#include "platform/console/console.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

namespace jxut {
namespace {

std::vector<Command>& command_list() {
    static std::vector<Command> list;
    return list;
}

std::vector<DemoStep>& step_list() {
    static std::vector<DemoStep> list;
    return list;
}

bool g_utf8_out = false;

void write_to(FILE* stream, const std::string& ansi) {
    const std::string text = g_utf8_out ? jx::console::ansi_to_utf8(ansi) : ansi;
    std::fwrite(text.data(), 1, text.size(), stream);
}

JXUT_PRINTF(1, 0) std::string format_text(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n <= 0) return {};
    std::string text(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(&text[0], text.size(), format, args);
    text.resize(static_cast<size_t>(n));
    return text;
}

const char* const kCommonOptions[][2] = {
    {"--raw", "texts in and out as ANSI bytes, not as UTF-8"},
    {"-h, --help", "this help"},
};

// The forms of a usage text, each on its own line after "usage: " or blanks.
void print_usage_lines(FILE* stream, const Command& c) {
    const char* line = c.usage;
    bool first = true;
    while (*line) {
        const char* end = std::strchr(line, '\n');
        const size_t length = end ? static_cast<size_t>(end - line) : std::strlen(line);
        // A form that goes on over a second line starts it with blanks.
        const bool continued = *line == ' ';
        std::fprintf(stream, "%s%s%.*s\n", first ? "usage: " : "       ", continued ? "" : "jxut ",
                     static_cast<int>(length), line);
        first = false;
        line += length + (end ? 1 : 0);
    }
}

std::string option_label(const Option& o, const std::vector<Option>& all) {
    std::string label = o.name;
    for (const Option& alias : all)
        if (alias.same_as && std::strcmp(alias.same_as, o.name) == 0)
            label += std::string(", ") + alias.name;
    if (o.value) label += std::string(" ") + o.value;
    return label;
}

void print_command_help(const Command& c) {
    print_usage_lines(stdout, c);
    std::string text = std::string("\n") + c.summary + "\n";
    if (c.details) text += std::string("\n") + c.details + "\n";
    text += "\noptions:\n";
    const auto line = [&text](const std::string& label, const char* help) {
        text += "  " + label;
        text +=
            label.size() < 22 ? std::string(22 - label.size(), ' ') : "\n" + std::string(24, ' ');
        text += std::string(help) + "\n";
    };
    for (const Option& o : c.options)
        if (!o.same_as) line(option_label(o, c.options), o.help);
    for (const auto& common : kCommonOptions) line(common[0], common[1]);
    if (c.examples && *c.examples) {
        text += "\nexamples:\n";
        for (const char* p = c.examples; *p;) {
            const char* end = std::strchr(p, '\n');
            const size_t length = end ? static_cast<size_t>(end - p) : std::strlen(p);
            text += "  " + std::string(p, length) + "\n";
            p += length + (end ? 1 : 0);
        }
    }
    text += "\nexit status: 0 success, 1 the operation failed, 2 usage error\n";
    write_out(text);
}

void print_overview(FILE* stream) {
    std::vector<Command> sorted = commands();
    std::sort(sorted.begin(), sorted.end(),
              [](const Command& a, const Command& b) { return std::strcmp(a.name, b.name) < 0; });
    std::fprintf(stream, "usage: jxut COMMAND [OPTIONS] [ARGUMENTS]\n"
                         "       jxut COMMAND --help   what a command does, with examples\n"
                         "       jxut --version        the library's version\n\ncommands:\n");
    for (const Command& c : sorted) std::fprintf(stream, "  %-13s %s\n", c.name, c.summary);
    std::fprintf(stream,
                 "\nTexts are shown in UTF-8 on a terminal or under a UTF-8 locale and taken\n"
                 "from the arguments the same way; --raw keeps the library's ANSI bytes.\n"
                 "\nexit status: 0 success, 1 the operation failed, 2 usage error\n");
}

const Option* find_option(const Command& c, const std::string& name) {
    for (const Option& o : c.options)
        if (name == o.name) return &o;
    return nullptr;
}

// Options are long, so "-0.5", "-33 30" and "-inf" are operands; -h is the
// one short option.
bool looks_like_option(const std::string& arg) {
    return arg == "-h" || (arg.size() > 1 && arg[0] == '-' && arg[1] == '-');
}

// Reads the arguments of a command; kOk with the call filled in, kUsage
// after a message, or -1 when help was asked for.
int read_arguments(const Command& c, const Args& args, bool& raw, Args& operands,
                   std::vector<std::pair<std::string, std::string>>& given, std::string& problem) {
    bool options_end = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (options_end || !looks_like_option(arg)) {
            operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            options_end = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") return -1;
        if (arg == "--raw") {
            raw = true;
            continue;
        }
        const size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const Option* o = find_option(c, name);
        if (!o) {
            if (problem.empty()) problem = "unknown option " + echo(name);
            continue;
        }
        if (o->same_as) o = find_option(c, o->same_as);
        std::string value;
        if (!o->value && equals != std::string::npos) {
            if (problem.empty()) problem = "option " + name + " takes no value";
        } else if (o->value && equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (o->value && i + 1 < args.size()) {
            value = args[++i];
        } else if (o->value) {
            if (problem.empty()) problem = "option " + name + " needs a value (" + o->value + ")";
            continue;
        }
        given.emplace_back(o->name, value);
    }
    return problem.empty() ? kOk : kUsage;
}

// UTF-8 arguments become the ANSI texts the library takes.
bool to_ansi(std::string& text) {
    std::string ansi;
    if (!jx::console::utf8_to_ansi(text, ansi)) return false;
    text = ansi;
    return true;
}

int run_command(const Command& c, const Args& args, const jx::console::Encoding& encoding) {
    bool raw = false;
    Args operands;
    std::vector<std::pair<std::string, std::string>> given;
    std::string problem;
    const int read = read_arguments(c, args, raw, operands, given, problem);
    g_utf8_out = encoding.output_utf8 && !raw;
    const Call call(c, operands, given);
    if (read == -1) {
        print_command_help(c);
        return kOk;
    }
    if (read != kOk) return call.usage_error(problem);
    if (encoding.arguments_utf8 && !raw) {
        Args converted = operands;
        for (size_t i = 0; i < converted.size(); ++i)
            if (!to_ansi(converted[i]))
                return call.usage_error("argument " + std::to_string(i + 1) +
                                        " is not text of the ANSI code page (--raw takes bytes)");
        for (auto& entry : given)
            if (!to_ansi(entry.second))
                return call.usage_error("the value of " + entry.first +
                                        " is not text of the ANSI code page (--raw takes bytes)");
        return c.run(Call(c, converted, given));
    }
    return c.run(call);
}

} // namespace

Call::Call(const Command& command, Args operands,
           std::vector<std::pair<std::string, std::string>> given)
    : command_(&command), operands_(std::move(operands)), given_(std::move(given)) {}

bool Call::has(const std::string& option) const {
    return std::any_of(given_.begin(), given_.end(),
                       [&option](const auto& entry) { return entry.first == option; });
}

std::string Call::value(const std::string& option, const std::string& fallback) const {
    std::string result = fallback;
    for (const auto& entry : given_)
        if (entry.first == option) result = entry.second;
    return result;
}

Args Call::values(const std::string& option) const {
    Args result;
    for (const auto& entry : given_)
        if (entry.first == option) result.push_back(entry.second);
    return result;
}

int Call::usage_error(const std::string& message) const {
    err("jxut %s: %s\n", command_->name, message.c_str());
    print_usage_lines(stderr, *command_);
    std::fprintf(stderr, "(jxut %s --help explains it)\n", command_->name);
    return kUsage;
}

int Call::fail(const std::string& message) const {
    err("jxut %s: %s\n", command_->name, message.c_str());
    return kFailed;
}

Registrar::Registrar(const Command& command) {
    command_list().push_back(command);
}
Registrar::Registrar(const DemoStep& step) {
    step_list().push_back(step);
}
const std::vector<Command>& commands() {
    return command_list();
}
const std::vector<DemoStep>& demo_steps() {
    return step_list();
}

const Command* find_command(const std::string& name) {
    for (const Command& c : commands())
        if (name == c.name) return &c;
    return nullptr;
}

int run_tool(const Args& args) {
    const jx::console::Encoding encoding = jx::console::user_encoding();
    g_utf8_out = encoding.output_utf8;
    if (args.empty()) {
        print_overview(stderr);
        return kUsage;
    }
    const std::string& name = args[0];
    if (name == "--help" || name == "-h" || name == "help") {
        if (args.size() > 1)
            if (const Command* c = find_command(args[1])) {
                print_command_help(*c);
                return kOk;
            }
        print_overview(stdout);
        return kOk;
    }
    if (name == "--version") {
        std::printf("jxut %s (library JX6_UT %s)\n", JXUT_VERSION, JXUT_VERSION);
        return kOk;
    }
    const Command* command = find_command(name);
    if (!command) {
        err("jxut: unknown command %s (jxut --help lists them)\n", echo(name).c_str());
        return kUsage;
    }
    return run_command(*command, Args(args.begin() + 1, args.end()), encoding);
}

void out(const char* format, ...) {
    va_list args;
    va_start(args, format);
    write_to(stdout, format_text(format, args));
    va_end(args);
}

void err(const char* format, ...) {
    std::fflush(stdout);
    va_list args;
    va_start(args, format);
    write_to(stderr, format_text(format, args));
    va_end(args);
}

void write_out(const std::string& ansi) {
    write_to(stdout, ansi);
}

std::string echo(const std::string& argument) {
    constexpr size_t kLongest = 80;
    if (argument.size() <= kLongest) return argument;
    return argument.substr(0, kLongest - 3) + "...";
}

bool output_is_utf8() {
    return g_utf8_out;
}

void expected(const char* what) {
    out("expected: %s\n", what);
}

InputFile::~InputFile() {
    if (temporary_) {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
}

bool InputFile::open(const std::string& argument, std::string& problem, bool text) {
    const bool from_stdin = argument == "-";
    shown_ = from_stdin ? "standard input" : argument;
    path_ = argument;
    if (!from_stdin) {
        std::error_code error;
        if (std::filesystem::is_directory(argument, error)) {
            problem = "'" + echo(argument) + "' is a folder, not a file";
            return false;
        }
        if (!text) return true;
        // Only a file with the mark is copied; the library reports on any
        // other (missing, unreadable) itself.
        FILE* file = std::fopen(argument.c_str(), "rb");
        if (!file) return true;
        unsigned char head[3] = {};
        const bool marked = std::fread(head, 1, 3, file) == 3 && head[0] == 0xEF &&
                            head[1] == 0xBB && head[2] == 0xBF;
        const bool ok = !marked || copy_from(file, true, problem);
        std::fclose(file);
        return ok;
    }
    jx::console::binary_stdin();
    bool from_utf8 = false;
    if (text) {
        const int a = std::getc(stdin);
        const int b = a == 0xEF ? std::getc(stdin) : EOF;
        const int c = b == 0xBB ? std::getc(stdin) : EOF;
        from_utf8 = c == 0xBF;
        // Bytes of an incomplete mark go back in front of the rest.
        if (!from_utf8) {
            std::string head;
            for (int byte : {a, b, c})
                if (byte != EOF) head += static_cast<char>(byte);
            pending_ = head;
        }
    }
    return copy_from(stdin, from_utf8, problem);
}

// Copies the rest of `source` to a temporary file that path() then names.
bool InputFile::copy_from(FILE* source, bool from_utf8, std::string& problem) {
    problem = "'" + echo(shown_) + "' cannot be copied to a temporary file";
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error) return false;
    std::random_device seed;
    std::mt19937_64 random(seed());
    FILE* copy = nullptr;
    for (int attempt = 0; attempt < 16 && !copy; ++attempt) {
        const std::string name =
            (folder / ("jxut-input-" + std::to_string(random()) + ".txt")).string();
        if (std::filesystem::exists(name, error)) continue;
        copy = std::fopen(name.c_str(), "wb");
        if (copy) path_ = name;
    }
    if (!copy) return false;
    temporary_ = true;
    std::string content = pending_;
    char buffer[1 << 14];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, source)) > 0) content.append(buffer, n);
    bool ok = !std::ferror(source);
    if (ok && from_utf8) {
        std::string ansi;
        if (!jx::console::utf8_to_ansi(content, ansi)) {
            std::fclose(copy);
            problem = "'" + echo(shown_) +
                      "' starts with a UTF-8 mark but is not UTF-8 the ANSI code page can hold";
            return false;
        }
        content.swap(ansi);
    }
    ok = ok && std::fwrite(content.data(), 1, content.size(), copy) == content.size();
    ok = std::fclose(copy) == 0 && ok;
    if (ok) problem.clear();
    return ok;
}

} // namespace jxut
