// An identifier header of any content under a fixed menu text.
#include "uitext_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        fuzz::write_text("english6.mnu",
                         "JXW60-MNU\n&File|3\nOpen~Ctrl+O|IDM_OPEN\n#\nExit|IDM_EXIT\n"
                         "Help|IDM_HELP\n");
        return true;
    }();
    (void)ready;
    std::filesystem::remove(fuzz::folder() + "/jx5mndes.mnu");
    fuzz::write_file("mnudefs5.r.h", data, size);
    jx5MenuSystem menus(&fuzz::folder()[0], 0, 1, 0);
    if (menus.error_code != 0) return 0;
    unsigned long entries[] = {1, 0};
    fuzz::walk_and_destroy(menus.get_hmenu(2, entries));
    return 0;
}
