// A damaged compiled language file beside a valid, older text file: trusted
// or rebuilt, it must never hand out a text it does not hold.
#include "uitext_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        fuzz::write_text("english6.lng", "JXW60-STR\n20\n0,alpha\n3,beta\n17,gamma\n", true);
        return true;
    }();
    (void)ready;
    fuzz::write_file("jx5_lang.lng", data, size);
    jx5LangSystem texts(&fuzz::folder()[0], 0, true);
    if (texts.error_code != 0) return 0;
    for (int id = -17; id < 80; ++id) {
        const char* text = texts.get_string(id);
        if (text && std::strlen(text) > 254) __builtin_trap();
    }
    return 0;
}
