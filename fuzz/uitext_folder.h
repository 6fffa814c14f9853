// A folder of this fuzzing run's own for the language and menu targets, with
// sources dated a day back so that a compiled file written now is trusted.
#pragma once

#include "jx6ut.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

namespace fuzz {

inline std::string& folder() {
    static std::string path = [] {
        const auto dir = std::filesystem::temp_directory_path() /
                         ("jx6ut-fuzz-uitext-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir);
        return dir.string();
    }();
    return path;
}

inline void write_file(const char* name, const void* data, size_t size, bool old = false) {
    const std::string path = folder() + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    if (old)
        std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() -
                                                   std::chrono::hours(24));
}

inline void write_text(const char* name, const std::string& text, bool old = false) {
    write_file(name, text.data(), text.size(), old);
}

// Looks at every item of a menu the way a host would, then releases it.
inline void walk_and_destroy(HMENU menu) {
    if (!menu) return;
    HMENU pending[4096];
    size_t count = 0;
    pending[count++] = menu;
    while (count > 0) {
        HMENU m = pending[--count];
        const int items = GetMenuItemCount(m);
        for (int i = 0; i < items; ++i) {
            char text[300];
            GetMenuStringA(m, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            GetMenuState(m, static_cast<UINT>(i), MF_BYPOSITION);
            GetMenuItemID(m, i);
            if (HMENU sub = GetSubMenu(m, i))
                if (count < sizeof pending / sizeof pending[0]) pending[count++] = sub;
        }
    }
    DestroyMenu(menu);
}

} // namespace fuzz
