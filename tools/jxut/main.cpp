// jxut: the command-line face of the library for support engineers and
// translators. `jxut demo` runs the services over the shipped samples.
#include "command.h"

#include "platform/console/console.h"

#include <algorithm>
#include <filesystem>

namespace jxut {
namespace {

int run_demo(const Call& call);

const Command kDemo = {
    "demo",
    "demo [SAMPLES_DIR]",
    "run every service of the library over the samples",
    "The samples are looked for beside the installed tool (share/jx6ut/samples\n"
    "under its prefix) unless a folder is given. Messages that the demo\n"
    "provokes on purpose are announced by a line \"expected: ...\".",
    {},
    "jxut demo\n"
    "jxut demo ~/jx6ut/samples",
    run_demo,
};

bool is_folder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

// The shipped samples: share/jx6ut/samples under the prefix of the program
// (installed, and in the build tree, where the build puts a copy), or beside
// it.
std::string find_samples() {
    const std::string home = jx::console::program_directory();
    if (home.empty()) return {};
    for (const char* relative : {"/../share/jx6ut/samples", "/samples"})
        if (is_folder(home + relative))
            return std::filesystem::path(home + relative).lexically_normal().string();
    return {};
}

int run_demo(const Call& call) {
    if (call.operands().size() > 1) return call.usage_error("demo takes at most one folder");
    const std::string samples = call.operands().empty() ? find_samples() : call.operands()[0];
    if (samples.empty()) return call.fail("the samples are not beside the tool; give their folder");
    if (!is_folder(samples)) return call.fail("'" + echo(samples) + "' is not a folder");
    std::vector<DemoStep> steps = demo_steps();
    std::stable_sort(steps.begin(), steps.end(),
                     [](const DemoStep& a, const DemoStep& b) { return a.order < b.order; });
    int status = kOk;
    for (const DemoStep& step : steps) {
        out("== %s\n", step.title);
        if (step.run(samples) != kOk) status = kFailed;
        out("\n");
    }
    return status;
}

const Registrar kDemoCommand(kDemo);

} // namespace
} // namespace jxut

int main(int argc, char** argv) {
    return jxut::run_tool(jxut::Args(argv + 1, argv + argc));
}
