// Path functions on arbitrary paths, long ones included.
#include "files/path_utils.h"

#include <cstdint>
#include <string>
#include <system_error>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('|');
    std::string first = input.substr(0, split).c_str();
    std::string second = split == std::string::npos ? "" : input.substr(split + 1).c_str();

    std::string copy = first;
    get_filename(copy.data());
    get_extension(copy.data());
    get_directory(copy.data());
    try {
        get_filename_c(first.c_str());
        get_directory_c(first.c_str());
    } catch (const std::system_error&) {
    }
    char root[260];
    set_rootdir(root, sizeof root, first.data());
    set_rootdir(root, 7, first.data());
    std::string a = first, b = second;
    set_path(a.data(), b.data(), false);
    rel_to_abs_path(a.data(), b.data());
    abs_to_rel_path(a.data(), b.data());
    return 0;
}
