// Language texts: the compiled file byte for byte, when it is rebuilt, every
// failure the host can read, and what get_string hands out.
#include "uitext/lang_system.h"
#include "support/child_process.h"
#include "uitext_files.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace jx::test;
const char kEnglish[] = "english6.lng", kFrench[] = "french6.lng", kCompiled[] = "jx5_lang.lng";

Bytes header(unsigned blocks) {
    return Bytes().str("JX6_LANGUAGE", false).pad_to(16).u32(blocks).u32(12).u32(0);
}

// "n\n0,t\n1,t\n..." for ids 0 to n-1; `numbered` appends the id to `text`.
std::string lines_of(int n, const std::string& text, bool numbered) {
    std::string body = std::to_string(n) + "\n";
    for (int id = 0; id < n; ++id)
        body += std::to_string(id) + "," + text + (numbered ? std::to_string(id) : "") + "\n";
    return body;
}

class LangFiles : public ::testing::Test {
protected:
    SourceFolder folder;
    void source(const std::string& body, const char* name = kEnglish) {
        folder.write(name, "JXW60-STR test file\n" + body);
    }
};

TEST_F(LangFiles, CompiledFileLayout) {
    // Id 1 is skipped (a space), id 2 is empty (length byte 1), blanks and a
    // comment around a text are dropped, ids 3 to 15 are empty slots.
    source("3\n0,  Open file   // menu\n\n2,\n");
    jx5LangSystem texts(folder.path(), 0, true);
    // clang-format off
    const Bytes expected = header(1).u32(64).u32(61).u32(0)
        .u8(10).u8(2).u8(1).pad_to(40 + 16)       // text lengths with NULs
        .u16(48).u16(58).u16(60).pad_to(40 + 48)  // their offsets in the block
        .str("Open file").str(" ").str("").pad_to(40 + 64);
    // clang-format on
    EXPECT_EQ(folder.read(kCompiled), expected.str());
}

TEST_F(LangFiles, BlocksAreRoundedAndTheLastIsEmptyForAMultipleOf16) {
    source(lines_of(32, "t", false));
    jx5LangSystem texts(folder.path(), 0, true);
    ASSERT_EQ(texts.error_code, 0u);
    const std::string file = folder.read(kCompiled);
    // 48 + 16 x 2 = 80 used, 96 stored; the third block is empty: 48 and 64.
    const Bytes index = header(3).u32(96).u32(80).u32(0).u32(96).u32(80).u32(96);
    EXPECT_EQ(file.substr(0, index.size() + 12),
              index.str() + Bytes().u32(64).u32(48).u32(192).str());
    EXPECT_EQ(file.size(), 28u + 36 + 96 + 96 + 64);
    EXPECT_EQ(file.substr(28 + 36 + 192), std::string(64, '\0'));
    EXPECT_STREQ(texts.get_string(31), "t");
}

TEST_F(LangFiles, TextsAsTheLineRuleReadsThem) {
    const struct {
        const char* name;
        std::string body; // after the first line
        int id;
        std::string text;
    } cases[] = {
        {"the text after skipped ids", "10\n3,a\n6,b\n9,c\n", 6, "b"},
        {"leading blanks of the id and the text", "2\n  \t1,\t x y \n", 1, "x y"},
        {"a comma inside the text", "1\n0,a, b\n", 0, "a, b"},
        {"a NUL byte ends the text", std::string("1\n0,ab\0cd\n", 10), 0, "ab"},
        {"carriage returns are line ends", "2\r\n0,a\r\n1,b \r\n", 1, "b"},
        {"a text of 254 characters", "1\n0," + std::string(254, 'x') + "\n", 0,
         std::string(254, 'x')},
        {"a line of 511 characters is one line",
         "1\n0," + std::string(252, 'x') + std::string(253, ' ') + "//c\n", 0,
         std::string(252, 'x')},
        {"an id at the count ends the file", "3\n0,a\n5,b\n", 2, " "},
        {"lines after the last text are not read", "1\n0,a\nrubbish\n", 0, "a"},
        {"ids -15 to -1 have no text", "1\n0,a\n", -1, " "},
        {"an empty slot of the last block", "1\n0,a\n", 15, " "},
        {"past the last block", "1\n0,a\n", 16, " "},
        {"far below zero", "1\n0,a\n", -100000, " "},
    };
    for (const auto& c : cases) {
        SourceFolder fresh;
        fresh.write(kEnglish, "JXW60-STR\n" + c.body);
        jx5LangSystem texts(fresh.path(), 0, true);
        ASSERT_EQ(texts.error_code, 0u) << c.name;
        const char* got = texts.get_string(c.id);
        EXPECT_EQ(got ? got : "(null)", c.text) << c.name;
    }
}

TEST_F(LangFiles, MalformedFilesNameTheirLine) {
    const std::string first = "JXW60-STR\n";
    const struct {
        const char* name;
        std::string file;
        int line;
    } cases[] = {
        {"empty file", "", 1},
        {"another first line", "JXW50-STR\n2\n", 1},
        {"a comma puts the first line's text after it", "JXW60-STR, v6\n1\n0,a\n", 1},
        {"no count", first, 2},
        {"a negative count", first + "-1\n", 2},
        {"a count of 2^31", first + "2147483648\n", 2},
        {"a count past a million", first + "1048577\n", 2},
        {"end of file before the texts", first + "3\n0,a\n", 4},
        {"a repeated id", first + "3\n0,a\n1,b\n1,c\n", 5},
        {"a descending id", first + "4\n0,a\n2,b\n1,c\n", 6},
        {"a comment line without a comma", first + "3\n0,a\n// note\n1,b\n", 4},
        {"a text line without a comma", first + "3\n0,a\nplain\n", 4},
        {"a negative id", first + "3\n-5,a\n", 3},
        {"a text of 255 characters", first + "2\n0,a\n1," + std::string(255, 'x') + "\n", 4},
        {"a line of 10,000 characters is read in pieces",
         first + "2\n0," + std::string(10000, 'x') + "\n1,b\n", 3},
    };
    for (const auto& c : cases) {
        SourceFolder fresh;
        fresh.write(kEnglish, c.file);
        jx5LangSystem texts(fresh.path(), 0, true);
        expect_failure(texts, 30, 0, c.name);
        EXPECT_EQ(texts.error_line, c.line) << c.name;
        EXPECT_EQ(texts.hfile, INVALID_HANDLE_VALUE) << c.name;
        EXPECT_STREQ(texts.get_string(0), " ") << c.name;
        EXPECT_FALSE(fresh.exists(kCompiled)) << c.name;
    }
}

TEST_F(LangFiles, RebuildDecisions) {
    // Whether constructing with `language` rewrote the compiled file, which
    // was dated 50 seconds back after the first build.
    const struct {
        const char* name;
        int text_age;
        unsigned short language;
        void (*damage)(std::string& compiled);
        bool rebuilt;
    } cases[] = {
        {"equal write times", 50, 0, nullptr, false},
        {"an older text file", 60, 0, nullptr, false},
        {"a newer text file", 40, 0, nullptr, true},
        {"another language", 60, 1, nullptr, true},
        {"another signature", 60, 0, [](std::string& f) { f[3] = 'X'; }, true},
        {"another entry size", 60, 0, [](std::string& f) { f[20] = 13; }, true},
        {"an index that does not add up", 60, 0, [](std::string& f) { f[32] = 40; }, true},
        {"a block count beyond any file", 60, 0, [](std::string& f) { f[19] = 0x7F; }, true},
    };
    for (const auto& c : cases) {
        SourceFolder fresh;
        for (const char* name : {kEnglish, kFrench})
            fresh.write(name, "JXW60-STR\n2\n0,zero\n1,one\n");
        { jx5LangSystem first(fresh.path(), 0, true); }
        fresh.edit(kCompiled, c.damage, 50);
        fresh.date(c.language == 0 ? kEnglish : kFrench, c.text_age);
        jx5LangSystem texts(fresh.path(), c.language, true);
        EXPECT_EQ(fresh.age(kCompiled) != 50, c.rebuilt) << c.name;
        EXPECT_STREQ(texts.get_string(1), "one") << c.name;
    }
}

TEST_F(LangFiles, OpenFailures) {
    source("1\n0,a\n");
    expect_failure(jx5LangSystem(folder.path(), 2, true), 2, 2, "no text file");
    std::string missing = folder.dir.file("no-such-folder");
    expect_failure(jx5LangSystem(&missing[0], 0, true), 3, 0, "no folder");
    // A compiled file that cannot be opened (here a folder) is an error, not
    // a reason to rebuild.
    std::filesystem::create_directory(folder.dir.file(kCompiled));
    jx5LangSystem texts(folder.path(), 0, true);
    expect_failure(texts, 5, 5);
    EXPECT_STREQ(texts.get_string(0), " ");
}

TEST_F(LangFiles, ARebuildMeetsTheFileHeld) {
    source("1\n0,english\n");
    source("1\n0,french\n", kFrench);
    {
        jx5LangSystem english(folder.path(), 0, true);
        ASSERT_EQ(english.error_code, 0u);
        expect_failure(jx5LangSystem(folder.path(), 1, true), 32, 5, "held by a reader");
        EXPECT_STREQ(english.get_string(0), "english");
        // Another reader of the same language shares the file.
        EXPECT_EQ(jx5LangSystem(folder.path(), 0, true).error_code, 0u);
    }
    jx::test::FileHolder holder(folder.dir.file(kCompiled), GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(holder.holding());
    expect_failure(jx5LangSystem(folder.path(), 1, true), 32, 5, "held by another process");
}

TEST_F(LangFiles, OneBlockIsHeldAtATime) {
    source(lines_of(40, "text ", true));
    { jx5LangSystem compile(folder.path(), 0, true); }
    const std::string file = folder.read(kCompiled);
    jx5LangSystem texts(folder.path(), 0, true);
    ASSERT_EQ(texts.error_code, 0u);
    EXPECT_EQ(texts.block_buf, nullptr);
    EXPECT_STREQ(texts.get_string(17), "text 17");
    EXPECT_EQ(texts.cur_block, 1u);
    EXPECT_STREQ(texts.get_string(31), "text 31"); // same block, no read
    EXPECT_STREQ(texts.get_string(33), "text 33");
    EXPECT_EQ(texts.cur_block, 2u);
    // The cache is the block as stored, nothing more.
    const lang_block_entry& entry = texts.block_index[2];
    EXPECT_EQ(std::string(reinterpret_cast<char*>(texts.block_buf), entry.stored_size),
              file.substr(texts.data_start + entry.offset, entry.stored_size));
    EXPECT_STREQ(texts.get_string(2), "text 2");
    EXPECT_EQ(texts.cur_block, 0u);
}

TEST_F(LangFiles, DamagedBlocksNeverReachTheHost) {
    source("2\n0,alpha\n1,beta\n");
    { jx5LangSystem compile(folder.path(), 0, true); }
    // The slot of id 1 points past the used size; id 0's text loses its NUL.
    folder.edit(
        kCompiled, [](std::string& f) { f[40 + 18] = 0x70, f[40 + 48 + 5] = 'X'; }, 10);
    jx5LangSystem texts(folder.path(), 0, true);
    ASSERT_EQ(texts.error_code, 0u);
    EXPECT_STREQ(texts.get_string(1), " ");
    EXPECT_STREQ(texts.get_string(0), " ");
}

TEST_F(LangFiles, CompiledFilesCutAtEveryLength) {
    source("18\n0,alpha\n17,beta\n");
    { jx5LangSystem compile(folder.path(), 0, true); }
    const std::string good = folder.read(kCompiled);
    for (size_t length = 0; length < good.size(); ++length) {
        folder.write(kCompiled, good.substr(0, length), 10);
        jx5LangSystem texts(folder.path(), 0, true);
        ASSERT_EQ(texts.error_code, 0u) << length;
        // A cut header or index (28 + 2 x 12 bytes) is rebuilt; a cut block
        // cannot be read, and is not cached for the next call.
        const bool rebuilt = folder.read(kCompiled) == good;
        EXPECT_EQ(rebuilt, length < 52) << length;
        if (rebuilt) {
            EXPECT_STREQ(texts.get_string(17), "beta") << length;
        } else {
            EXPECT_EQ(texts.get_string(17), nullptr) << length;
            EXPECT_EQ(texts.cur_block, 0xFFFFFFFFu) << length;
        }
    }
}

} // namespace
