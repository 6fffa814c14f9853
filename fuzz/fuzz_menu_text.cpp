// A menu text of any content over a fixed identifier header, compiled and
// assembled into menus.
#include "uitext_folder.h"

#include <vector>

namespace fuzz {

// Every entry alone, then all of them in order.
inline void build_menus(jx5MenuSystem& menus) {
    const unsigned long entries = menus.header.num_entries;
    std::vector<unsigned long> all;
    for (unsigned long e = 0; e < entries && e < 64; ++e) {
        walk_and_destroy(menus.get_hmenu(1, &e));
        all.push_back(e);
    }
    if (!all.empty())
        walk_and_destroy(menus.get_hmenu(static_cast<unsigned long>(all.size()), all.data()));
}

} // namespace fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        fuzz::write_text("mnudefs5.r.h",
                         "#ifndef __MNUDEFS\n#define IDM_OPEN 101\n#define IDM_SAVE 102\n"
                         "#define IDM_EXIT 103\n#define IDM_ZERO 0\n#endif\n");
        return true;
    }();
    (void)ready;
    std::filesystem::remove(fuzz::folder() + "/jx5mndes.mnu");
    fuzz::write_file("english6.mnu", data, size);
    jx5MenuSystem menus(&fuzz::folder()[0], 0, 1, 0);
    if (menus.error_code == 0) fuzz::build_menus(menus);
    return 0;
}
