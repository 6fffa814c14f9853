// A language text file of any content, compiled and read back.
#include "uitext_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::filesystem::remove(fuzz::folder() + "/jx5_lang.lng");
    fuzz::write_file("english6.lng", data, size);
    jx5LangSystem texts(&fuzz::folder()[0], 0, true);
    if (texts.error_code != 0) return 0;
    const int count = static_cast<int>(texts.header.num_blocks) * 16;
    for (int id = -17; id < count + 17 && id < 5000; ++id) {
        const char* text = texts.get_string(id);
        if (text && std::strlen(text) > 254) __builtin_trap();
    }
    return 0;
}
