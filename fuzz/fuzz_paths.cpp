// Path functions on arbitrary paths, long ones included.
#include "files/path_utils.h"

#include <cstdint>
#include <string>
#include <system_error>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('|');
    const std::string first = input.substr(0, split).c_str();
    const std::string second = split == std::string::npos ? "" : input.substr(split + 1).c_str();
    const char *a = first.c_str(), *b = second.c_str();
    get_filename(a);
    get_extension(a);
    get_directory(a);
    try {
        get_filename_c(a);
        get_directory_c(a);
    } catch (const std::system_error&) {
    }
    char root[260];
    for (int room : {260, 7}) set_rootdir(root, room, a);
    set_path(a, b, false);
    rel_to_abs_path(a, b);
    abs_to_rel_path(a, b);
    return 0;
}
