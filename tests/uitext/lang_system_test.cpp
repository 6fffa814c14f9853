// Language texts: the compiled file byte for byte, when it is rebuilt, every
// failure the host can read, and what get_string hands out.
#include "uitext/lang_system.h"
#include "uitext_files.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace jx::test;
const char kEnglish[] = "english6.lng", kFrench[] = "french6.lng", kCompiled[] = "jx5_lang.lng";

Bytes header(unsigned blocks) {
    return Bytes().str("JX6_LANGUAGE", false).pad_to(16).u32(blocks).u32(12).u32(0);
}

TEST(LangFiles, CompiledFileLayout) {
    // Id 1 is skipped (a space), id 2 is empty (length byte 1), blanks and a
    // comment around a text are dropped, ids 3 to 15 are empty slots.
    SourceFolder folder;
    folder.write(kEnglish, "JXW60-STR test file\n3\n0,  Open file   // menu\n\n2,\n");
    jx5LangSystem texts(folder.path(), 0, true);
    // clang-format off
    const Bytes expected = header(1).u32(64).u32(61).u32(0)
        .str("\x0A\x02\x01", false).pad_to(40 + 16) // text lengths with NULs
        .u16(48).u16(58).u16(60).pad_to(40 + 48)    // their offsets in the block
        .str("Open file").str(" ").str("").pad_to(40 + 64);
    // clang-format on
    EXPECT_EQ(folder.read(kCompiled), expected.str());
}

TEST(LangFiles, WhatTheLineRuleMakesOfAFile) {
    const std::string first = "JXW60-STR\n", bad = "30 in file 0, line ", x254(254, 'x');
    const struct {
        const char* name;
        std::string file;
        int id;
        std::string got; // the text of `id`, or the failure and the line it names
    } cases[] = {
        {"the text after skipped ids", first + "10\n3,a\n6,b\n9,c\n", 6, "b"},
        {"leading blanks of the id and the text", first + "2\n  \t1,\t x y \n", 1, "x y"},
        {"a comma inside the text", first + "1\n0,a, b\n", 0, "a, b"},
        {"a NUL byte ends the text", first + std::string("1\n0,ab\0cd\n", 10), 0, "ab"},
        {"carriage returns are line ends", "JXW60-STR\r\n2\r\n0,a\r\n1,b \r\n", 1, "b"},
        {"a text of 254 characters", first + "1\n0," + x254 + "\n", 0, x254},
        {"a line of 511 characters is one line",
         first + "1\n0," + x254 + std::string(251, ' ') + "//c\n", 0, x254},
        {"an id at the count ends the file", first + "3\n0,a\n5,b\n", 2, " "},
        {"lines after the last text are not read", first + "1\n0,a\nrubbish\n", 0, "a"},
        {"ids -15 to -1 have no text", first + "1\n0,a\n", -1, " "},
        {"an empty slot of the last block", first + "1\n0,a\n", 15, " "},
        {"past the last block", first + "1\n0,a\n", 16, " "},
        {"far below zero", first + "1\n0,a\n", -100000, " "},
        {"empty file", "", 0, bad + "1"},
        {"another first line", "JXW50-STR\n2\n", 0, bad + "1"},
        {"a comma puts the first line's text after it", "JXW60-STR, v6\n1\n0,a\n", 0, bad + "1"},
        {"no count", first, 0, bad + "2"},
        {"a negative count", first + "-1\n", 0, bad + "2"},
        {"a count past a million", first + "1048577\n", 0, bad + "2"},
        {"end of file before the texts", first + "3\n0,a\n", 0, bad + "4"},
        {"a repeated id", first + "3\n0,a\n1,b\n1,c\n", 0, bad + "5"},
        {"a descending id", first + "4\n0,a\n2,b\n1,c\n", 0, bad + "6"},
        {"a comment line without a comma", first + "3\n0,a\n// note\n1,b\n", 0, bad + "4"},
        {"a text line without a comma", first + "3\n0,a\nplain\n", 0, bad + "4"},
        {"a negative id", first + "3\n-5,a\n", 0, bad + "3"},
        {"a text of 255 characters", first + "2\n0,a\n1," + std::string(255, 'x') + "\n", 0,
         bad + "4"},
        {"a line of 10,000 characters is read in pieces",
         first + "2\n0," + std::string(10000, 'x') + "\n1,b\n", 0, bad + "3"},
    };
    for (const auto& c : cases) {
        SourceFolder fresh;
        fresh.write(kEnglish, c.file);
        jx5LangSystem texts(fresh.path(), 0, true);
        const char* text = texts.get_string(c.id);
        std::string got = text ? text : "(null)";
        if (texts.error_code) got = failure(texts) + ", line " + std::to_string(texts.error_line);
        EXPECT_EQ(got, c.got) << c.name;
        EXPECT_EQ(TempDir::exists(fresh.dir.file(kCompiled)), texts.error_code == 0) << c.name;
    }
}

TEST(LangFiles, RebuildDecisions) {
    // Whether constructing with `language` rewrote the compiled file, which
    // was dated 50 seconds back after the first build.
    const struct {
        const char* name;
        int text_age, language;
        void (*damage)(std::string& compiled);
        bool rebuilt;
    } cases[] = {
        {"equal write times", 50, 0, nullptr, false},
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
        jx5LangSystem texts(fresh.path(), static_cast<unsigned short>(c.language), true);
        EXPECT_EQ(fresh.age(kCompiled) != 50, c.rebuilt) << c.name;
        EXPECT_STREQ(texts.get_string(1), "one") << c.name;
    }
}

TEST(LangFiles, OpenFailures) {
    SourceFolder folder;
    folder.write(kEnglish, "JXW60-STR\n1\n0,english\n");
    folder.write(kFrench, "JXW60-STR\n1\n0,french\n");
    EXPECT_EQ(failure(jx5LangSystem(folder.path(), 2, true)), "2 in file 2"); // no text file
    std::string missing = folder.dir.file("no-such-folder");
    EXPECT_EQ(failure(jx5LangSystem(&missing[0], 0, true)), "3 in file 0");
    {
        // A rebuild meets the file held by a reader; another reader of the
        // same language shares the file.
        jx5LangSystem english(folder.path(), 0, true);
        EXPECT_EQ(failure(jx5LangSystem(folder.path(), 1, true)), "32 in file 5");
        EXPECT_EQ(jx5LangSystem(folder.path(), 0, true).error_code, 0u);
    }
    // A compiled file that cannot be opened (here a folder) is an error, not
    // a reason to rebuild, and no text is handed out.
    std::filesystem::remove(folder.dir.file(kCompiled));
    std::filesystem::create_directory(folder.dir.file(kCompiled));
    jx5LangSystem texts(folder.path(), 0, true);
    EXPECT_EQ(failure(texts), "5 in file 5");
    EXPECT_STREQ(texts.get_string(0), " ");
}

TEST(LangFiles, BlocksDamagedOrCut) {
    // 32 texts fill two blocks and leave a third, empty one.
    SourceFolder folder;
    std::string file = "JXW60-STR\n32\n";
    for (int id = 0; id < 32; ++id)
        file += std::to_string(id) + ",text " + std::to_string(id) + "\n";
    folder.write(kEnglish, file);
    { jx5LangSystem compile(folder.path(), 0, true); }
    const std::string good = folder.read(kCompiled);
    // Used: 48 + 10 x 7 + 6 x 8 = 166, 48 + 16 x 8 = 176 and 48.
    const Bytes index =
        header(3).u32(192).u32(166).u32(0).u32(192).u32(176).u32(192).u32(64).u32(48).u32(384);
    EXPECT_EQ(good.substr(0, 64), index.str());
    EXPECT_EQ(good.substr(64 + 384), std::string(64, '\0'));
    // Ids 17, 0, 1 and 31 from a compiled file of `bytes`, newer than its
    // source; whether the file is then as compiled, and whether a block is
    // still held. Only one block is held, so each move to another reads it.
    const auto use = [&](const std::string& bytes) {
        folder.write(kCompiled, bytes, 10);
        jx5LangSystem texts(folder.path(), 0, true);
        std::string got;
        for (int id : {17, 0, 1, 31}) {
            const char* text = texts.get_string(id);
            got += "[" + std::string(text ? text : "null") + "]";
        }
        if (folder.read(kCompiled) == good) got += " compiled";
        return got + (texts.cur_block != 0xFFFFFFFFu ? " held" : "");
    };
    const std::string all = "[text 17][text 0][text 1][text 31]";
    // The slot of id 1 points past the used size; id 0's text loses its NUL.
    std::string damaged = good;
    damaged[64 + 18] = static_cast<char>(0xF0);
    damaged[64 + 48 + 6] = 'X';
    EXPECT_EQ(use(damaged), "[text 17][ ][ ][text 31] held");
    // A cut header or index is rebuilt; a cut block cannot be read, and is
    // not held for the next call; the empty last block is never read.
    for (size_t length = 0; length < good.size(); ++length) {
        const std::string expected = length < 64    ? all + " compiled held"
                                     : length < 256 ? "[null][null][null][null]"
                                     : length < 448 ? "[null][text 0][text 1][null]"
                                                    : all + " held";
        EXPECT_EQ(use(good.substr(0, length)), expected) << length;
    }
}

} // namespace
