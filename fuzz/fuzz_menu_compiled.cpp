// A damaged compiled menu file beside valid, older sources: trusted or
// rebuilt, every menu assembled from it must be one Windows reads safely.
#include "uitext_folder.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        fuzz::write_text("mnudefs5.r.h", "#define IDM_OPEN 101\n#define IDM_EXIT 103\n", true);
        fuzz::write_text("english6.mnu",
                         "JXW60-MNU\n&File|3\nOpen|IDM_OPEN\nMore|1\n#\nExit|IDM_EXIT\n"
                         "Quit|IDM_EXIT\n",
                         true);
        return true;
    }();
    (void)ready;
    fuzz::write_file("jx5mndes.mnu", data, size);
    jx5MenuSystem menus(&fuzz::folder()[0], 0, 1, 0);
    if (menus.error_code != 0) return 0;
    std::vector<unsigned long> all;
    for (unsigned long e = 0; e < menus.header.num_entries && e < 64; ++e) {
        fuzz::walk_and_destroy(menus.get_hmenu(1, &e));
        all.push_back(e);
    }
    all.push_back(menus.header.num_entries); // one past the end: no menu
    fuzz::walk_and_destroy(menus.get_hmenu(static_cast<unsigned long>(all.size()), all.data()));
    return 0;
}
