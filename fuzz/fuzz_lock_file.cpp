// The lock-file reader on arbitrary lock files: a data file on a network
// drive whose lock file holds the input, opened, saved and closed.
#include "files/file_lock.h"
#include "platform/drive_map.h"
#include "platform/ui_hooks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

static std::string g_folder;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char pattern[] = "/tmp/jx-fuzz-lock-XXXXXX";
    g_folder = mkdtemp(pattern);
    jx_map_drive('N', g_folder.c_str(), DRIVE_REMOTE);
    // Every byte of a box is touched, so a text that runs past its end is seen.
    jx_set_message_box_handler(
        [](void*, HWND, const char* text, const char* caption, UINT) {
            volatile size_t sum = 0;
            for (const char* p = text; *p; ++p) sum = sum + static_cast<unsigned char>(*p);
            for (const char* p = caption; *p; ++p) sum = sum + static_cast<unsigned char>(*p);
            return IDOK;
        },
        nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string lock_path = g_folder + "/site.lck";
    if (FILE* out = std::fopen(lock_path.c_str(), "wb")) {
        std::fwrite(data, 1, size, out);
        std::fclose(out);
    }
    JX5file_Lock lock;
    lock.flck_open("N:\\site.dat");
    lock.flck_save("N:\\SITE.DAT");
    lock.flck_save("N:\\other.dat");
    lock.flck_reset();
    std::remove(lock_path.c_str());
    std::remove((g_folder + "/other.lck").c_str());
    return 0;
}
