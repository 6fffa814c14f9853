// The language and menu targets, one per input kind (FUZZ_INPUT names the
// file the input becomes: a language text, a menu text, the identifier
// header or either compiled file). The input is written into a folder of this
// run's own beside valid sources dated a day back, so that a compiled file
// written now is trusted, then compiled or read and used as a host would. No
// text handed out may be longer than 254 characters, and every menu must be
// one Windows reads safely.
#include "jx6ut.h"

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

void write_file(const std::string& path, const std::string& bytes, bool old) {
    std::ofstream(path, std::ios::binary) << bytes;
    if (old)
        std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() -
                                                   std::chrono::hours(24));
}

std::string make_folder() {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("jx6ut-fuzz-uitext-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    write_file((dir / "english6.lng").string(), "JXW60-STR\n20\n0,alpha\n3,beta\n17,gamma\n", true);
    write_file((dir / "mnudefs5.r.h").string(),
               "#ifndef __MNUDEFS\n#define IDM_OPEN 101\n#define IDM_SAVE 102\n"
               "#define IDM_EXIT 103\n#define IDM_HELP 104\n#define IDM_ZERO 0\n#endif\n",
               true);
    write_file(
        (dir / "english6.mnu").string(),
        "JXW60-MNU\n&File|3\nOpen~Ctrl+O|IDM_OPEN\nMore|1\n#\nExit|IDM_EXIT\nHelp|IDM_HELP\n",
        true);
    return dir.string();
}

// Looks at every item of a menu the way a host would, then releases it.
void walk(HMENU menu, bool release = true) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[300];
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        GetMenuItemID(menu, i);
        if (HMENU sub = GetSubMenu(menu, i)) walk(sub, false);
    }
    if (release) DestroyMenu(menu);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A source replaces the compiled file, which is then compiled afresh.
    const char* name = FUZZ_INPUT;
    static std::string folder = make_folder();
    const bool language = std::strstr(name, ".lng") != nullptr;
    if (std::strncmp(name, "jx5", 3) != 0)
        std::filesystem::remove(folder + (language ? "/jx5_lang.lng" : "/jx5mndes.mnu"));
    write_file(folder + "/" + name, std::string(reinterpret_cast<const char*>(data), size), false);
    if (language) {
        jx5LangSystem texts(&folder[0], 0, true);
        const int count = texts.error_code ? 0 : static_cast<int>(texts.header.num_blocks) * 16;
        for (int id = -17; id < count + 17 && id < 5000; ++id) {
            const char* text = texts.get_string(id);
            if (text && std::strlen(text) > 254) __builtin_trap();
        }
        return 0;
    }
    jx5MenuSystem menus(&folder[0], 0, 1, 0);
    if (menus.error_code != 0) return 0;
    // Every entry alone (one past the end gives no menu), then all of them.
    std::vector<unsigned long> all;
    for (unsigned long e = 0; e <= menus.header.num_entries && e < 64; ++e) {
        walk(menus.get_hmenu(1, &e));
        if (e < menus.header.num_entries) all.push_back(e);
    }
    if (!all.empty()) walk(menus.get_hmenu(static_cast<unsigned long>(all.size()), all.data()));
    return 0;
}
