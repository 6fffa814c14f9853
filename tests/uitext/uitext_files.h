// What the language and menu tests share: a folder of source files with
// controlled write times, and little-endian byte strings for the expected
// compiled files.
#pragma once

#include "support/temp_dir.h"

#include <chrono>
#include <cstdint>
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
        std::filesystem::last_write_time(dir.file(name), base() - std::chrono::seconds(age));
    }
    // Seconds before the fixed moment, or a large number when the file is
    // newer than it (it was written just now).
    long long age(const std::string& name) const {
        const auto time = std::filesystem::last_write_time(dir.file(name));
        return std::chrono::duration_cast<std::chrono::seconds>(base() - time).count();
    }
    std::string read(const std::string& name) const { return TempDir::read(dir.file(name)); }
    bool exists(const std::string& name) const { return TempDir::exists(dir.file(name)); }
    char* path() { return const_cast<char*>(dir.path().c_str()); }
    TempDir dir;

private:
    static std::filesystem::file_time_type base() {
        static const auto moment =
            std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
        return moment;
    }
};

// Little-endian bytes, written field by field as a format table reads.
class Bytes {
public:
    Bytes& u8(unsigned v) { return put(v, 1); }
    Bytes& u16(unsigned v) { return put(v, 2); }
    Bytes& u32(unsigned v) { return put(v, 4); }
    // The bytes of `text`, with its NUL when `nul` is set.
    Bytes& str(const std::string& text, bool nul = true) {
        bytes_ += text;
        if (nul) bytes_ += '\0';
        return *this;
    }
    // A text as 16-bit units, one per byte, and a 0 unit.
    Bytes& units(const std::string& text) {
        for (unsigned char c : text) u16(c);
        return u16(0);
    }
    // Zeros up to `size` bytes in all.
    Bytes& pad_to(size_t size) {
        bytes_.resize(size, '\0');
        return *this;
    }
    size_t size() const { return bytes_.size(); }
    const std::string& str() const { return bytes_; }

private:
    Bytes& put(uint64_t v, int n) {
        for (int i = 0; i < n; ++i) bytes_ += static_cast<char>((v >> (8 * i)) & 0xFF);
        return *this;
    }
    std::string bytes_;
};

} // namespace jx::test
