// jxut: the command-line face of the library for support engineers and
// translators. `jxut demo` runs the services over the shipped samples.
#include "command.h"

#include "jx6ut.h"

#include <algorithm>
#include <cstdio>

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

void print_help(FILE* out) {
    std::fprintf(out, "usage: jxut COMMAND [ARGS...]\n\ncommands:\n");
    std::vector<Command> sorted = commands();
    std::sort(sorted.begin(), sorted.end(), [](const Command& a, const Command& b) {
        return std::string(a.name) < std::string(b.name);
    });
    const auto entry = [out](const char* usage, const char* summary) {
        std::fprintf(out, "  %s\n      %s\n", usage, summary);
    };
    entry("demo [SAMPLES_DIR]", "run every service over the samples (default: samples)");
    for (const Command& c : sorted) entry(c.usage, c.summary);
    entry("--help", "show this text");
    std::fprintf(out, "\nexit status: 0 success, 1 the operation failed, 2 usage error\n");
}

int run_demo(const Args& args) {
    if (args.size() > 1) {
        std::fprintf(stderr, "jxut: demo takes at most one folder\n");
        return kUsage;
    }
    const std::string samples = args.empty() ? "samples" : args[0];
    std::vector<DemoStep> steps = demo_steps();
    std::stable_sort(steps.begin(), steps.end(),
                     [](const DemoStep& a, const DemoStep& b) { return a.order < b.order; });
    int status = kOk;
    for (const DemoStep& step : steps) {
        std::printf("== %s\n", step.title);
        std::fflush(stdout);
        if (step.run(samples) != kOk) status = kFailed;
        std::printf("\n");
    }
    return status;
}

} // namespace

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

int usage_error(const Command& command, const std::string& message) {
    std::fprintf(stderr, "jxut %s: %s\nusage: jxut %s\n", command.name, message.c_str(),
                 command.usage);
    return kUsage;
}

const Command* find_command(const std::string& name) {
    for (const Command& c : commands())
        if (name == c.name) return &c;
    return nullptr;
}

} // namespace jxut

int main(int argc, char** argv) {
    using namespace jxut;
    if (argc < 2) {
        print_help(stderr);
        return kUsage;
    }
    const std::string name = argv[1];
    const Args args(argv + 2, argv + argc);
    if (name == "--help" || name == "-h" || name == "help") {
        print_help(stdout);
        return kOk;
    }
    if (name == "demo") return run_demo(args);
    const Command* command = find_command(name);
    if (!command) {
        std::fprintf(stderr, "jxut: unknown command '%s' (try jxut --help)\n", name.c_str());
        return kUsage;
    }
    return command->run(args);
}
