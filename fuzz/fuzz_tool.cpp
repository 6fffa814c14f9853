// jxut's command lines from arbitrary arguments: the option reader, the
// conversion of UTF-8 arguments, and the commands that take text (angle,
// parse-angle, path, catalog). Arguments are separated by newlines; the
// first names the command.
#include "command.h"

#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream lines(std::string(reinterpret_cast<const char*>(data), size));
    jxut::Args args;
    for (std::string arg; args.size() < 64 && std::getline(lines, arg);)
        args.push_back(arg.c_str());
    if (args.empty()) return 0;
    // Commands that read files or standard input, or run long, stay out.
    const std::string& command = args[0];
    if (command != "angle" && command != "parse-angle" && command != "path" && command != "catalog")
        return 0;
    for (const std::string& arg : args)
        if (arg == "--all") return 0;
    jxut::run_tool(args);
    return 0;
}
