// jxut's command lines from arbitrary arguments: the option reader, the
// conversion of UTF-8 arguments, and the commands that take text (angle,
// parse-angle, path, catalog). Arguments are separated by newlines; the
// first names the command.
#include "command.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    jxut::Args args;
    size_t start = 0;
    while (start <= input.size() && args.size() < 64) {
        const size_t end = std::min(input.find('\n', start), input.size());
        args.push_back(input.substr(start, end - start).c_str());
        start = end + 1;
    }
    // Commands that read files or standard input, or run long, stay out.
    const std::string& command = args[0];
    if (command != "angle" && command != "parse-angle" && command != "path" && command != "catalog")
        return 0;
    for (const std::string& arg : args)
        if (arg == "--all") return 0;
    jxut::run_tool(args);
    return 0;
}
