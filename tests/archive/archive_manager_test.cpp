// Packing and unpacking through ArchiveManager: the calling order, names in
// both directions, archives from elsewhere that must be refused whole, and
// malformed archives that must give a plain 0.
#include "archive/archive_manager.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <miniz.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using jx::test::TempDir;

// An entry written byte by byte: any name, flag, method and declared size.
struct Raw {
    std::string name, data;
    bool utf8 = false;
    unsigned method = 0;   // 0 stored, 8 deflated
    int64_t declared = -1; // the uncompressed size; -1: that of data (and its CRC)
};

// `value` in `bytes` little-endian bytes.
std::string le(uint64_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
    return out;
}

std::string zip_of(const std::vector<Raw>& entries) {
    std::string local, central;
    for (const Raw& e : entries) {
        const auto* bytes = reinterpret_cast<const mz_uint8*>(e.data.data());
        const bool honest = e.declared < 0;
        // Version, flags, method, time and date (1 January 1980), CRC, sizes,
        // name and extra field lengths: alike in both headers.
        const std::string common =
            le(20, 2) + le(e.utf8 ? 0x800 : 0, 2) + le(e.method, 2) + le(0x210000, 4) +
            le(honest ? mz_crc32(MZ_CRC32_INIT, bytes, e.data.size()) : 0, 4) +
            le(e.data.size(), 4) + le(honest ? e.data.size() : uint64_t(e.declared), 4) +
            le(e.name.size(), 4);
        central += le(0x02014b50, 4) + le(20, 2) + common + std::string(10, '\0') +
                   le(local.size(), 4) + e.name;
        local += le(0x04034b50, 4) + common + e.name + e.data;
    }
    return local + central + le(0x06054b50, 8) + le(entries.size() * 0x10001, 4) +
           le(central.size(), 4) + le(local.size(), 6);
}

// Files by ANSI names through the library's file calls, so that the names
// mean the same on POSIX as on Windows.
std::string write_ansi(const std::string& name, const std::string& bytes) {
    HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (!bytes.empty()) WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return name;
}

std::string read_ansi(const std::string& name) {
    HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(file, &bytes[0], DWORD(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes;
}

size_t count_in(const std::string& native_folder) {
    const std::filesystem::directory_iterator all(native_folder);
    return size_t(std::distance(begin(all), end(all)));
}

int unpack(std::string archive, std::string target) {
    return ArchiveManager().UnpackExistingArchive(&archive[0], &target[0]);
}

std::vector<std::string> names_in(const std::string& archive) {
    std::vector<std::string> names;
    const auto add = [](const JxArchiveEntry& e, void* to) {
        static_cast<std::vector<std::string>*>(to)->push_back(e.has_ansi_name ? e.name : "?");
    };
    if (!jx_list_archive(archive.c_str(), add, &names)) names.push_back("<unreadable>");
    return names;
}

class Archives : public ::testing::Test {
protected:
    TempDir dir;
    // Library paths separate with backslashes on every system, so the bare
    // name of a file is what Windows stores.
    std::string in(const std::string& name) { return dir.path() + '\\' + name; }
    std::string zip = in("send.zip");
    std::string out = in("out");
    std::string out_native = dir.file("out");

    Archives() { std::filesystem::create_directory(out_native); }
    std::string source(const std::string& name, const std::string& bytes) {
        return write_ansi(in(name), bytes);
    }
};

// Entries above the streaming bound (large.dem) take the other way out.
TEST_F(Archives, CallingOrderStatesAndRoundTrip) {
    for (const char* sub : {"one", "two"}) std::filesystem::create_directory(dir.file(sub));
    std::string large(40 << 20, '\0');
    for (size_t i = 0; i < large.size(); i += 4096) large[i] = char(i >> 12);
    const std::vector<std::pair<std::string, std::string>> files = {
        {"empty.dat", ""},
        {"caf\xE9 \x80 \xBD.txt", "accented"},
        {"one\\same.dat", "first folder"},
        {"two\\same.dat", "second folder"},
        {"table.csv", std::string(300000, 'x') + "end"},
        {"large.dem", large}};
    std::string missing = in("missing.dat"), a = source("a.dat", "alpha");
    ArchiveManager manager;
    EXPECT_EQ(manager.AddFileToArchive(&a[0]), 0); // before NewArchive
    ASSERT_EQ(manager.NewArchive(&zip[0]), 1);
    EXPECT_EQ(manager.AddFileToArchive(&missing[0]), 0);
    EXPECT_FALSE(TempDir::exists(dir.file("send.zip")));
    for (const auto& file : files)
        ASSERT_EQ(manager.AddFileToArchive(&source(file.first, file.second)[0]), 1);
    const std::string all = read_ansi(zip);
    EXPECT_EQ(manager.AddFileToArchive(&missing[0]), 0);
    EXPECT_EQ(manager.CloseArchive(), 1);
    EXPECT_EQ(manager.AddFileToArchive(&a[0]), 0); // after CloseArchive
    EXPECT_TRUE(read_ansi(zip) == all);
    EXPECT_EQ(names_in(zip),
              (std::vector<std::string>{"empty.dat", "caf\xE9 \x80 \xBD.txt", "same.dat",
                                        "same.dat", "table.csv", "large.dem"}));
    // That every entry says it was made on NTFS, without which Linux's unzip
    // garbles the names, is checked by archive.interop.
    ASSERT_EQ(unpack(zip, out), 1);
    for (size_t i : {0, 1, 4, 5})
        EXPECT_TRUE(read_ansi(out + '\\' + files[i].first) == files[i].second) << files[i].first;
    // The look-up by name finds one of the two entries and writes it twice.
    const std::string same = read_ansi(out + "\\same.dat");
    EXPECT_TRUE(same == files[2].second || same == files[3].second) << same;
    EXPECT_EQ(count_in(out_native), 5u);
    // A new archive over the old one starts empty.
    manager.NewArchive(&zip[0]);
    EXPECT_FALSE(TempDir::exists(dir.file("send.zip")));
    manager.AddFileToArchive(&a[0]);
    EXPECT_EQ(names_in(zip), std::vector<std::string>{"a.dat"});
    // A name cut at 259 characters stays cut, and the file it names stays.
    std::string cut = in(std::string(258 - dir.path().size(), 'c')), longer = cut + "zz";
    write_ansi(cut, "keep");
    EXPECT_EQ(manager.NewArchive(&longer[0]), 0);
    EXPECT_EQ(manager.archive_path, cut);
    EXPECT_EQ(read_ansi(cut), "keep");
    EXPECT_EQ(manager.NewArchive(nullptr) + manager.AddFileToArchive(nullptr), 0);
}

// Entry names as other archivers store them and the ANSI names they unpack
// to. Accented names with and without the UTF-8 flag, in code page 437 and
// the euro sign come from the zip tools in archive.interop.
TEST_F(Archives, EntryNamesFromElsewhere) {
    // Code page 437's pound and yen, then names that only look like others;
    // each entry holds the ANSI name it must be unpacked to.
    std::vector<Raw> entries = {{"\x9C \x9D.txt", "\xA3 \xA5.txt"}};
    for (const char* name : {"..x", "x..", "CONFIG", "com0"}) entries.push_back({name, name});
    write_ansi(zip, zip_of(entries));
    ASSERT_EQ(unpack(zip, out), 1);
    for (const Raw& entry : entries) EXPECT_EQ(read_ansi(out + '\\' + entry.data), entry.data);
    EXPECT_EQ(count_in(out_native) + count_in(dir.path()), 5u + 2u);
}

// Copies of one flushed deflate block of 1 MB of zeros, then the empty
// final block: 4095 MB from about 4 MB.
std::string bomb() {
    auto compressor = std::make_unique<tdefl_compressor>();
    tdefl_init(compressor.get(), nullptr, nullptr,
               int(tdefl_create_comp_flags_from_zip_params(9, -15, 0)));
    const std::string zeros(1 << 20, '\0');
    std::string block(1 << 16, '\0');
    size_t in_size = zeros.size(), out_size = block.size();
    tdefl_compress(compressor.get(), zeros.data(), &in_size, &block[0], &out_size,
                   TDEFL_SYNC_FLUSH);
    block.resize(out_size);
    std::string bomb;
    for (int i = 0; i < 4095; ++i) bomb += block;
    return bomb + std::string("\x03\x00", 2);
}

TEST_F(Archives, UnusableArchivesTargetsAndNames) {
    std::string a = source("a.dat", std::string(5000, 'a')), b = source("b.dat", "beta");
    ArchiveManager manager;
    manager.NewArchive(&zip[0]);
    manager.AddFileToArchive(&a[0]);
    manager.AddFileToArchive(&b[0]);
    const std::string whole = read_ansi(zip);
    EXPECT_EQ(unpack(zip, in("no-such-folder")), 0);
    EXPECT_EQ(unpack(in("none.zip"), out), 0);
    std::string past = whole; // the end record's directory offset
    past[past.size() - 6] = '\x7F';
    // An entry in a folder that does not exist, sizes that lie, and a bomb
    // declared honestly and as lies; none may leave a file.
    std::vector<std::string> refused = {past, zip_of({{"sub/inside.txt", "x"}}),
                                        zip_of({{"lie.txt", "four", false, 0, 3}}),
                                        zip_of({{"lie.txt", "four", false, 0, 5}})};
    const std::string deflated = bomb();
    for (int64_t declared : {int64_t(4095) << 20, int64_t(1) << 20, int64_t(40) << 20})
        refused.push_back(zip_of({{"bomb.dat", deflated, false, 8, declared}}));
    for (size_t length = 0; length < whole.size(); ++length)
        refused.push_back(whole.substr(0, length));
    // Entry names with no ANSI form (not in the code page, code page 437's
    // shading blocks, not UTF-8) or that lead elsewhere: refused before the
    // first entry is written.
    for (const char* name : {"\xE3\x81\x82.txt", "bad\xFF.txt"})
        refused.push_back(zip_of({{"first.txt", "1"}, {name, "2", true}}));
    for (const char* name : {"\xB0\xB1.txt", "..\\x",        "../x",     "a/../../x",
                             "a\\..\\..\\x", ".. /x",        "...\\x",   "C:\\x",
                             "C:x",          "\\x",          "/x",       "\\\\srv\\s\\x",
                             "\\\\.\\COM1",  "\\\\?\\C:\\x", "x:stream", "CON",
                             "sub\\nul.txt", "lpt1",         "a\tb",     "a\x01",
                             "a?b",          "a|b",          ""})
        refused.push_back(zip_of({{"first.txt", "1"}, {name, "2"}}));
    refused.push_back(zip_of({{"first.txt", "1"}, {std::string(300, 'n'), "2"}}));
    for (size_t i = 0; i < refused.size(); ++i) {
        write_ansi(zip, refused[i]);
        EXPECT_EQ(unpack(zip, out), 0) << "archive " << i;
    }
    // Nothing in the target, and only the sources, the archive and the target
    // beside it.
    EXPECT_EQ(count_in(out_native) + count_in(dir.path()), 4u);
    write_ansi(zip, zip_of({}));
    EXPECT_EQ(unpack(zip, out), 1);
}

} // namespace
