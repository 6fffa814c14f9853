// Zip archives written byte by byte, for archives the library would never
// make: hostile names, lying sizes, missing flags, bombs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace jx::test {

struct RawEntry {
    std::string name;      // the stored bytes of the name
    std::string data;      // the stored (possibly deflated) bytes
    bool utf8 = false;     // general-purpose flag bit 11
    int method = 0;        // 0 stored, 8 deflate
    int64_t declared = -1; // uncompressed size; -1: the size of data
    uint32_t crc = 0;      // with declared == -1, computed from data
};

std::string zip_of(const std::vector<RawEntry>& entries);

// Raw deflate of `plain` ending on a byte boundary without a final block, so
// that copies of it can follow one another (a flushed, unfinished stream).
std::string deflate_flushed(const std::string& plain);
// The empty final block that ends such a stream.
extern const char kFinalBlock[2];

// Files by ANSI names through the library's own file calls, so the names
// mean on POSIX what they mean on Windows.
void write_ansi(const std::string& name, const std::string& bytes);
std::string read_ansi(const std::string& name); // "<missing>" when absent
// The names in a folder, sorted, as the system spells them.
std::vector<std::string> folder_names(const std::string& folder);

} // namespace jx::test
