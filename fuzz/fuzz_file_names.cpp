// File-name repair and validation on arbitrary names and buffer sizes. The
// first byte chooses the buffer size and the replacement character.
#include "files/file_prompts.h"
#include "platform/ui_hooks.h"

#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    jx_set_message_box_handler([](void*, HWND, const char*, const char*, UINT) { return IDOK; },
                               nullptr);
    const unsigned choice = data[0];
    const char replacement = (choice & 1) ? '_' : 0;
    // A buffer exactly as large as the text, or larger by the size chosen.
    const size_t length = strnlen(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t buffer_size = length + 1 + (choice >> 1);
    std::vector<char> path(buffer_size, 'x');
    std::memcpy(path.data(), data + 1, length);
    path[length] = '\0';
    std::vector<char> copy = path;
    fix_illegal_char(path.data(), static_cast<unsigned>(buffer_size), replacement);
    validate_file_name(nullptr, copy.data(), static_cast<unsigned>(buffer_size));
    return 0;
}
