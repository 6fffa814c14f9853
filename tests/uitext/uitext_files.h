// What the language and menu tests share: a folder of source files with
// controlled write times.
#pragma once

#include "support/menu_tree.h"
#include "support/temp_dir.h"

#include <chrono>
#include <filesystem>
#include <string>

namespace jx::test {

class SourceFolder {
public:
    // Writes a source file and dates it `age` seconds before a fixed moment
    // in the past, so that tests decide every comparison of write times.
    void write(const std::string& name, const std::string& text, int age = 100) {
        dir.write(name, text);
        date(name, age);
    }
    void date(const std::string& name, int age) {
        std::filesystem::last_write_time(dir.file(name), kBase - std::chrono::seconds(age));
    }
    // Seconds before the fixed moment (negative for a file written just now).
    long long age(const std::string& name) const {
        const auto time = std::filesystem::last_write_time(dir.file(name));
        return std::chrono::duration_cast<std::chrono::seconds>(kBase - time).count();
    }
    // Rewrites a file through `change` (none: as it is) and dates it `age`.
    void edit(const std::string& name, void (*change)(std::string&), int age) {
        std::string text = read(name);
        if (change) change(text);
        write(name, text, age);
    }
    std::string read(const std::string& name) const { return TempDir::read(dir.file(name)); }
    char* path() { return const_cast<char*>(dir.path().c_str()); }
    TempDir dir;

private:
    static inline const auto kBase =
        std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
};

// A failed construction as "code in file N", to compare as one string.
template <class System> std::string failure(const System& s) {
    return std::to_string(s.error_code) + " in file " + std::to_string(s.error_file);
}

} // namespace jx::test
