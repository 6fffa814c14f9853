// Packing and unpacking through ArchiveManager: the calling order, names in
// both directions, archives from elsewhere that must be refused whole, and
// malformed archives that must give a plain 0.
#include "archive/archive_manager.h"

#include "support/temp_dir.h"
#include "zip_bytes.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <string>
#include <utility>
#include <vector>

namespace {

using jx::test::folder_names;
using jx::test::RawEntry;
using jx::test::read_ansi;
using jx::test::TempDir;
using jx::test::write_ansi;
using jx::test::zip_of;

// Library paths separate with backslashes on every system, so the bare name
// of a file is what Windows would store.
std::string in(const TempDir& dir, const std::string& name) {
    return dir.path() + '\\' + name;
}

char* text(std::string& s) {
    return &s[0];
}

int unpack(std::string archive, std::string target) {
    ArchiveManager manager;
    return manager.UnpackExistingArchive(text(archive), text(target));
}

std::vector<std::pair<std::string, unsigned long long>> listing(const std::string& archive) {
    std::vector<std::pair<std::string, unsigned long long>> entries;
    const int read = jx_list_archive(
        archive.c_str(),
        [](const JxArchiveEntry& entry, void* context) {
            static_cast<std::vector<std::pair<std::string, unsigned long long>>*>(context)
                ->emplace_back(entry.has_ansi_name ? entry.name : "<no ANSI name>", entry.size);
        },
        &entries);
    if (!read) entries.emplace_back("<unreadable>", 0);
    return entries;
}

class Archives : public ::testing::Test {
protected:
    TempDir dir;
    std::string zip = in(dir, "send.zip");
    std::string out = in(dir, "out");
    std::string out_native = dir.file("out"); // for the test's own look

    Archives() { std::filesystem::create_directory(out_native); }

    std::string source(const std::string& name, const std::string& bytes) {
        std::string path = in(dir, name);
        write_ansi(path, bytes);
        return path;
    }
    std::string raw_zip(const std::vector<RawEntry>& entries) {
        write_ansi(zip, zip_of(entries));
        return zip;
    }
};

TEST_F(Archives, AddsOnlyBetweenNewAndClose) {
    std::string data = source("a.dat", "alpha");
    ArchiveManager manager;
    EXPECT_EQ(manager.AddFileToArchive(text(data)), 0);
    EXPECT_FALSE(TempDir::exists(zip));
    ASSERT_EQ(manager.NewArchive(text(zip)), 1);
    EXPECT_STREQ(manager.archive_path, zip.c_str());
    ASSERT_EQ(manager.AddFileToArchive(text(data)), 1);
    EXPECT_EQ(manager.CloseArchive(), 1);
    EXPECT_STREQ(manager.archive_path, "");
    const std::string closed = read_ansi(zip);
    EXPECT_EQ(manager.AddFileToArchive(text(data)), 0);
    EXPECT_EQ(read_ansi(zip), closed);
    EXPECT_EQ(manager.AddFileToArchive(nullptr), 0);
    EXPECT_EQ(manager.NewArchive(nullptr), 0);
}

TEST_F(Archives, NewArchiveReplacesAnOldOneUnlessTheNameIsCut) {
    std::string a = source("a.dat", "alpha");
    std::string b = source("b.dat", "beta");
    ArchiveManager manager;
    manager.NewArchive(text(zip));
    manager.AddFileToArchive(text(a));
    manager.AddFileToArchive(text(b));
    ASSERT_EQ(listing(zip).size(), 2u);
    manager.NewArchive(text(zip));
    EXPECT_FALSE(TempDir::exists(zip));
    manager.AddFileToArchive(text(b));
    EXPECT_EQ(listing(zip), (decltype(listing(zip)){{"b.dat", 4}}));

    // A name cut at 259 characters is kept cut, and the file it names stays.
    std::string cut = in(dir, std::string(258 - dir.path().size(), 'c'));
    write_ansi(cut, "keep");
    std::string long_name = cut + "zzz";
    EXPECT_EQ(manager.NewArchive(text(long_name)), 0);
    EXPECT_STREQ(manager.archive_path, cut.c_str());
    EXPECT_EQ(read_ansi(cut), "keep");
}

TEST_F(Archives, RoundTripKeepsBytesAndAnsiNames) {
    std::filesystem::create_directory(dir.file("one"));
    std::filesystem::create_directory(dir.file("two"));
    const std::vector<std::pair<std::string, std::string>> files = {
        {"empty.dat", ""},
        {"caf\xE9 \x80 \xBD.txt", "accented name"},
        {"one\\same.dat", "from the first folder"},
        {"two\\same.dat", "from the second folder"},
        {"table.csv", std::string(300000, 'x') + "end"},
    };
    ArchiveManager manager;
    manager.NewArchive(text(zip));
    for (const auto& file : files) {
        std::string path = dir.path() + '\\' + file.first;
        write_ansi(path, file.second);
        ASSERT_EQ(manager.AddFileToArchive(text(path)), 1) << file.first;
    }
    manager.CloseArchive();
    const auto entries = listing(zip);
    ASSERT_EQ(entries.size(), 5u);
    // Every entry says it was made on NTFS, or Unix unzip garbles its name.
    const std::string archive = read_ansi(zip);
    size_t marked = 0;
    for (size_t at = archive.find("PK\x01\x02\x3F\x0A"); at != std::string::npos;
         at = archive.find("PK\x01\x02\x3F\x0A", at + 1))
        ++marked;
    EXPECT_EQ(marked, 5u);
    EXPECT_EQ(entries[1].first, "caf\xE9 \x80 \xBD.txt");
    EXPECT_EQ(entries[2].first, "same.dat");
    EXPECT_EQ(entries[3].first, "same.dat");

    ASSERT_EQ(unpack(zip, out), 1);
    EXPECT_EQ(read_ansi(out + "\\empty.dat"), "");
    EXPECT_EQ(read_ansi(out + "\\caf\xE9 \x80 \xBD.txt"), "accented name");
    EXPECT_EQ(read_ansi(out + "\\table.csv"), files[4].second);
    // The look-up by name finds one of the two entries and writes it twice.
    const std::string same = read_ansi(out + "\\same.dat");
    EXPECT_TRUE(same == files[2].second || same == files[3].second) << same;
    EXPECT_EQ(folder_names(out_native).size(), 4u);
}

// The name bytes as other archivers store them, and what the library makes
// of them; "" means the archive is refused and nothing is written.
TEST_F(Archives, EntryNamesOfOtherArchivers) {
    struct Case {
        const char* stored;
        bool utf8;
        const char* ansi;
    } cases[] = {
        {"caf\xC3\xA9.txt", true, "caf\xE9.txt"},
        {"caf\x82.txt", false, "caf\xE9.txt"},     // code page 437
        {"\x9C \x9D.txt", false, "\xA3 \xA5.txt"}, // 437's pound and yen
        {"caf\xC3\xA9.txt", false, "caf\xE9.txt"}, // UTF-8 without the flag
        {"\xE2\x82\xAC.txt", true, "\x80.txt"},    // the euro sign
        {"\xE3\x81\x82.txt", true, ""},            // no ANSI form
        {"\xB0\xB1.txt", false, ""},               // 437's shading blocks
        {"bad\xFF.txt", true, ""},                 // not UTF-8
    };
    for (const Case& c : cases) {
        TempDir target;
        raw_zip({{"first.txt", "1"}, {c.stored, "2", c.utf8}});
        const int result = unpack(zip, target.path());
        if (*c.ansi) {
            EXPECT_EQ(result, 1) << c.stored;
            EXPECT_EQ(read_ansi(target.path() + '\\' + c.ansi), "2") << c.stored;
        } else {
            EXPECT_EQ(result, 0) << c.stored;
            EXPECT_TRUE(folder_names(target.path()).empty()) << c.stored;
        }
    }
}

TEST_F(Archives, HostileNamesAreRefusedBeforeAnythingIsWritten) {
    const std::string hostile[] = {
        "..\\x",
        "../x",
        "a/../../x",
        "a\\..\\..\\x",
        ".. /x",
        "...\\x",
        "C:\\x",
        "C:x",
        "\\x",
        "/x",
        "\\\\srv\\s\\x",
        "\\\\.\\COM1",
        "\\\\?\\C:\\x",
        "x:stream",
        "CON",
        "sub\\nul.txt",
        "lpt1",
        "a\tb",
        "a\x01",
        "a?b",
        "a|b",
        "",
        std::string(300, 'n'),
    };
    for (const std::string& name : hostile) {
        raw_zip({{"first.txt", "1"}, {name, "evil"}});
        EXPECT_EQ(unpack(zip, out), 0) << name;
        EXPECT_TRUE(folder_names(out_native).empty()) << name;
        EXPECT_TRUE(folder_names(dir.path()) == std::vector<std::string>({"out", "send.zip"}))
            << name;
    }
    // Names that merely look close are unpacked.
    raw_zip({{"first.txt", "1"}, {"..x", "2"}, {"x..", "3"}, {"CONFIG", "4"}, {"com0", "5"}});
    EXPECT_EQ(unpack(zip, out), 1);
    EXPECT_EQ(folder_names(out_native).size(), 5u);
}

TEST_F(Archives, FailuresOfOrdinaryUse) {
    std::string a = source("a.dat", "alpha");
    ArchiveManager manager;
    manager.NewArchive(text(zip));
    std::string missing = in(dir, "missing.dat");
    EXPECT_EQ(manager.AddFileToArchive(text(missing)), 0);
    EXPECT_FALSE(TempDir::exists(zip));
    ASSERT_EQ(manager.AddFileToArchive(text(a)), 1);
    const std::string one_entry = read_ansi(zip);
    EXPECT_EQ(manager.AddFileToArchive(text(missing)), 0);
    EXPECT_EQ(read_ansi(zip), one_entry);

    EXPECT_EQ(unpack(zip, in(dir, "no-such-folder")), 0);
    EXPECT_EQ(unpack(in(dir, "none.zip"), out), 0);
    EXPECT_EQ(unpack(a, out), 0);
    raw_zip({{"sub/inside.txt", "x"}}); // a folder that does not exist
    EXPECT_EQ(unpack(zip, out), 0);
    EXPECT_TRUE(folder_names(out_native).empty());
    raw_zip({});
    EXPECT_EQ(unpack(zip, out), 1);
    EXPECT_TRUE(folder_names(out_native).empty());
}

TEST_F(Archives, MalformedArchivesGiveZero) {
    std::string a = source("a.dat", std::string(5000, 'a'));
    std::string b = source("b.dat", "beta");
    ArchiveManager manager;
    manager.NewArchive(text(zip));
    manager.AddFileToArchive(text(a));
    manager.AddFileToArchive(text(b));
    const std::string whole = read_ansi(zip);
    for (size_t length = 0; length < whole.size(); ++length) {
        write_ansi(zip, whole.substr(0, length));
        EXPECT_EQ(unpack(zip, out), 0) << length;
    }
    // The central directory's offset (end record, byte 16) past the end.
    std::string past = whole;
    past[past.size() - 6] = '\x7F';
    write_ansi(zip, past);
    EXPECT_EQ(unpack(zip, out), 0);

    // Sizes that lie, one way and the other: no file of the entry remains.
    for (int64_t declared : {3, 5}) {
        raw_zip({{"lie.txt", "four", false, 0, declared, 0}});
        EXPECT_EQ(unpack(zip, out), 0) << declared;
        EXPECT_TRUE(folder_names(out_native).empty()) << declared;
    }
}

// Copies of one flushed deflate block of zeros: 4095 MB from about 4 MB.
TEST_F(Archives, BombsAreRefused) {
    const std::string block = jx::test::deflate_flushed(std::string(1 << 20, '\0'));
    std::string bomb;
    for (int i = 0; i < 4095; ++i) bomb += block;
    bomb.append(jx::test::kFinalBlock, 2);
    const int64_t honest = 4095ll << 20;
    for (int64_t declared : {honest, int64_t(1) << 20, int64_t(40) << 20}) {
        raw_zip({{"bomb.dat", bomb, false, 8, declared, 0}});
        EXPECT_EQ(unpack(zip, out), 0) << declared;
        EXPECT_TRUE(folder_names(out_native).empty()) << declared;
    }
}

// Entries above the streaming bound take the other path out of the archive.
TEST_F(Archives, LargeEntriesAreStreamedToTheirFile) {
    std::string large(40 << 20, '\0');
    for (size_t i = 0; i < large.size(); i += 4096) large[i] = static_cast<char>(i >> 12);
    std::string path = source("large.dem", large);
    ArchiveManager manager;
    manager.NewArchive(text(zip));
    ASSERT_EQ(manager.AddFileToArchive(text(path)), 1);
    ASSERT_EQ(unpack(zip, out), 1);
    EXPECT_TRUE(read_ansi(out + "\\large.dem") == large);
}

} // namespace
