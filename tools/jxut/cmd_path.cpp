// jxut path: the library's path functions from the command line, for
// checking how a data file's paths are stored relative to its folder.
#include "command.h"

#include "jx6ut.h"

#include <cstdio>
#include <string>

namespace jxut {
namespace {

int run_path(const Args& args);

const Command kPath = {"path",
                       "path rel ABSOLUTE BASE_FILE | path abs RELATIVE BASE_DIR | "
                       "path root|dir|name PATH...",
                       "relative and absolute paths, roots, folders and file names", run_path};

// Prints a result, or "no result" and a failure for a null one.
int print_result(const char* result) {
    if (!result) {
        std::printf("no result\n");
        return kFailed;
    }
    std::printf("%s\n", result);
    return kOk;
}

int run_path(const Args& args) {
    if (args.empty()) return usage_error(kPath, "no operation given");
    const std::string& operation = args[0];
    if (operation == "rel" || operation == "abs") {
        if (args.size() != 3) return usage_error(kPath, operation + " takes two paths");
        if (operation == "rel")
            return print_result(abs_to_rel_path(args[1].c_str(), args[2].c_str()));
        return print_result(rel_to_abs_path(args[1].c_str(), args[2].c_str()));
    }
    if (operation != "root" && operation != "dir" && operation != "name")
        return usage_error(kPath, "unknown operation " + operation);
    if (args.size() < 2) return usage_error(kPath, operation + " needs a path");
    for (size_t i = 1; i < args.size(); ++i) {
        const char* path = args[i].c_str();
        if (operation == "root") {
            char root[MAX_PATH];
            set_rootdir(root, sizeof root, path);
            std::printf("%s\n", root);
        } else if (operation == "dir") {
            std::printf("%s\n", get_directory(path));
        } else {
            std::printf("%s\n", get_filename(path));
        }
    }
    return kOk;
}

int demo_paths(const std::string&) {
    const char* data_file = "C:\\links\\north\\net.dat";
    const char* terrain = "C:\\links\\maps\\ridge.dem";
    const char* relative = abs_to_rel_path(terrain, data_file);
    std::printf("terrain file %s\n  stored beside %s as %s\n", terrain, data_file,
                relative ? relative : "(no relative form)");
    const std::string stored = relative ? relative : "";
    const char* back = rel_to_abs_path(stored.c_str(), get_directory(data_file));
    std::printf("  read back as %s\n", back ? back : "(no absolute form)");
    char root[MAX_PATH];
    set_rootdir(root, sizeof root, "\\\\fileserver\\projects\\links\\net.dat");
    std::printf("root of \\\\fileserver\\projects\\links\\net.dat: %s\n", root);
    std::printf("folder %s, name %s, extension %s\n", get_directory(data_file),
                get_filename(data_file), get_extension(data_file));
    return back ? kOk : kFailed;
}

const Registrar kPathRegistrar(kPath);
const Registrar kDemoRegistrar(DemoStep{25, "Path functions", demo_paths});

} // namespace
} // namespace jxut
