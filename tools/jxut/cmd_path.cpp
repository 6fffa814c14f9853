// jxut path: the library's path functions from the command line, for
// checking how a data file's paths are stored relative to its folder.
#include "command.h"

#include "jx6ut.h"

#include <string>

namespace jxut {
namespace {

int run_path(const Call& call);

const Command kPath = {
    "path",
    "path rel PATH DATA_FILE\n"
    "path abs STORED_PATH DATA_FILE\n"
    "path root|dir|name PATH...",
    "Windows paths as the application stores and splits them",
    "The paths are Windows paths (C:\\maps\\a.dem, \\\\server\\share\\a.dem), on\n"
    "every system: a POSIX path such as /home/a.dem is refused.\n"
    "rel gives the form of PATH stored in DATA_FILE, relative to its folder;\n"
    "abs turns a STORED_PATH of DATA_FILE back into an absolute path.\n"
    "root, dir and name give the root folder, the folder and the file name.",
    {},
    "jxut path rel 'C:\\links\\maps\\ridge.dem' 'C:\\links\\north\\net.dat'\n"
    "jxut path abs '..\\maps\\ridge.dem' 'C:\\links\\north\\net.dat'\n"
    "jxut path root '\\\\fileserver\\projects\\net.dat'",
    run_path,
};

// A POSIX path gets an answer from the Windows rules that means nothing
// ("/home/a" has no root and one long name), so it is refused instead.
bool is_posix_path(const std::string& path) {
    return path.compare(0, 2, "~/") == 0 || (path[0] == '/' && path.compare(0, 2, "//") != 0);
}

int result(const Call& call, const char* text, const char* what) {
    if (!text) return call.fail(std::string("no ") + what);
    out("%s\n", text);
    return kOk;
}

int run_path(const Call& call) {
    const Args& args = call.operands();
    if (args.empty()) return call.usage_error("no operation given");
    const std::string& operation = args[0];
    for (size_t i = 1; i < args.size(); ++i)
        if (!args[i].empty() && is_posix_path(args[i]))
            return call.usage_error("'" + echo(args[i]) +
                                    "' is a POSIX path; this command works on Windows paths "
                                    "such as C:\\maps\\a.dem");
    if (operation == "rel" || operation == "abs") {
        if (args.size() != 3)
            return call.usage_error(operation + " takes a path and the data file it is stored in");
        if (operation == "rel")
            return result(call, abs_to_rel_path(args[1].c_str(), args[2].c_str()),
                          "relative form: the path and the data file need the same root");
        const std::string folder = get_directory(args[2].c_str());
        return result(call, rel_to_abs_path(args[1].c_str(), folder.c_str()),
                      "absolute form within 259 characters");
    }
    if (operation != "root" && operation != "dir" && operation != "name")
        return call.usage_error("unknown operation '" + echo(operation) + "'");
    if (args.size() < 2) return call.usage_error(operation + " needs a path");
    for (size_t i = 1; i < args.size(); ++i) {
        const char* path = args[i].c_str();
        if (operation == "root") {
            char root[MAX_PATH];
            set_rootdir(root, sizeof root, path);
            out("%s\n", root);
        } else if (operation == "dir") {
            out("%s\n", get_directory(path));
        } else {
            out("%s\n", get_filename(path));
        }
    }
    return kOk;
}

int demo_paths(const std::string&) {
    const char* data_file = "C:\\links\\north\\net.dat";
    const char* terrain = "C:\\links\\maps\\ridge.dem";
    const char* relative = abs_to_rel_path(terrain, data_file);
    out("terrain file %s\n  stored beside %s as %s\n", terrain, data_file,
        relative ? relative : "(no relative form)");
    const std::string stored = relative ? relative : "";
    const char* back = rel_to_abs_path(stored.c_str(), get_directory(data_file));
    out("  read back as %s\n", back ? back : "(no absolute form)");
    char root[MAX_PATH];
    set_rootdir(root, sizeof root, "\\\\fileserver\\projects\\links\\net.dat");
    out("root of \\\\fileserver\\projects\\links\\net.dat: %s\n", root);
    out("folder %s, name %s, extension %s\n", get_directory(data_file), get_filename(data_file),
        get_extension(data_file));
    return back ? kOk : kFailed;
}

const Registrar kPathRegistrar(kPath);
const Registrar kDemoRegistrar(DemoStep{25, "Path functions", demo_paths});

} // namespace
} // namespace jxut
