// The subcommands of jxut. Each command file registers its commands (and,
// optionally, a step of `jxut demo`) with a static registrar, so adding a
// command touches no other file.
#pragma once

#include <string>
#include <vector>

namespace jxut {

// Exit statuses of every command.
enum Status { kOk = 0, kFailed = 1, kUsage = 2 };

using Args = std::vector<std::string>;

struct Command {
    const char* name;    // "catalog"
    const char* usage;   // "catalog ID... | catalog --all"
    const char* summary; // one line for --help
    int (*run)(const Args& args);
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

// Prints "jxut: <message>" and the command's usage to stderr; returns kUsage.
int usage_error(const Command& command, const std::string& message);
// Finds a registered command by name (null when unknown).
const Command* find_command(const std::string& name);

} // namespace jxut
