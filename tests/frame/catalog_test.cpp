// The compiled message catalog and the functions that lend its texts out.
#include "jx6ut.h"
#include "support/message_boxes.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using jx::test::ScopedMessageBoxes;

std::string catalog(int id) {
    char text[1024];
    get_error_string(id, text, sizeof text);
    return text;
}

// The ids the library loads for itself, typed from the catalog list rather
// than taken from the catalog's source, so a changed text is caught.
const std::map<int, std::string> kLibraryTexts = {
    {98, "Data entry error"},
    {99, "Status information"},
    {100, "Warning"},
    {101, "File error"},
    {102, "Error"},
    {104, "Wrong file format"},
    {106, "Syntax error on line %d"},
    {115, "Continue ?"},
    {116, "Insufficient disk space"},
    {123, "Read error at end of file"},
    {139, "This file name is too long"},
    {140, "The full path name contains %d characters. The maximum allowable is %d"},
    {143, "Veldra data file lock"},
    {144, "The file"},
    {145, "is in use by"},
    {146, "The file was opened on"},
    {147, "hours ago"},
    {148, "This file will be opened in read only mode"},
    {155, "File size is zero bytes"},
    {162, "Duplicate radio code"},
    {163, "Duplicate antenna code"},
    {164, "Existing code"},
    {165, "New code"},
    {166, "The new code has not been added to the index"},
    {261, "File exists"},
    {262, "Replace existing file?"},
    {342, "The file must be an ascii text file."},
    {383, "%s has changed.\r\nSave?"},
    {384, "Unnamed file has changed.\r\nSave?"},
    {410, "Column definitions are incomplete"},
    {411, "Columns %d and %d are both defined as %s"},
    {412, "Columns %d and %d have the same definition"},
    {427, "Wrong type of text import definition file"},
};

TEST(Catalog, TextsTheLibraryLoads) {
    for (const auto& [id, text] : kLibraryTexts) EXPECT_EQ(catalog(id), text) << id;
}

// Every 16-bit id, as the string table holds them.
std::map<int, std::string> compiled_catalog() {
    std::map<int, std::string> found;
    char text[1024];
    for (int id = 0; id <= 0xFFFF; ++id)
        if (get_error_string(id, text, sizeof text) > 0) found[id] = text;
    return found;
}

TEST(Catalog, HoldsExactlyTheListedEntries) {
    const std::map<int, std::string> source = {
#define JX_CATALOG_ENTRY(id, text) {id, text},
#include "frame/catalog.def"
#undef JX_CATALOG_ENTRY
    };
    const std::map<int, std::string> compiled = compiled_catalog();
    EXPECT_EQ(compiled.size(), 354u);
    ASSERT_FALSE(compiled.empty());
    EXPECT_EQ(compiled.begin()->first, 98);
    EXPECT_EQ(compiled.rbegin()->first, 468);
    for (int gap : {200, 359, 378, 404, 415, 426, 430}) EXPECT_EQ(compiled.count(gap), 0u) << gap;
    // Compared entry by entry, so a failure names the id.
    for (const auto& [id, text] : source) {
        auto it = compiled.find(id);
        ASSERT_NE(it, compiled.end()) << id;
        EXPECT_EQ(it->second, text) << id;
    }
    EXPECT_EQ(compiled, source);
}

TEST(Catalog, LineBreaksAreCarriageReturnAndLineFeed) {
    EXPECT_EQ(catalog(265), "The file\r\n%s\r\n does not exist.\r\n This file is required to add "
                            "new sites and links. Would you like to create a new file?");
    EXPECT_EQ(catalog(268).find('\\'), std::string::npos);
}

// A buffer with guard bytes around it, to see that nothing is written
// outside the size given.
struct Guarded {
    char bytes[1100];
    static constexpr char kGuard = '#';
    Guarded() { std::memset(bytes, kGuard, sizeof bytes); }
    char* at() { return bytes + 8; }
    bool intact_after(size_t size) const {
        for (size_t i = 8 + size; i < sizeof bytes; ++i)
            if (bytes[i] != kGuard) return false;
        for (size_t i = 0; i < 8; ++i)
            if (bytes[i] != kGuard) return false;
        return true;
    }
};

TEST(GetErrorString, CutsToTheBuffer) {
    const std::string full = catalog(374); // the longest text, 175 characters
    ASSERT_EQ(full.size(), 175u);
    struct Case {
        int size;
        int copied;
    } cases[] = {{1024, 175}, {176, 175}, {175, 174}, {80, 79}, {2, 1}, {1, 0}};
    for (const Case& c : cases) {
        Guarded buffer;
        EXPECT_EQ(get_error_string(374, buffer.at(), c.size), c.copied) << c.size;
        EXPECT_EQ(std::string(buffer.at()), full.substr(0, c.copied)) << c.size;
        EXPECT_TRUE(buffer.intact_after(c.size)) << c.size;
    }
}

TEST(GetErrorString, RefusesWhatHasNoText) {
    Guarded buffer;
    EXPECT_EQ(get_error_string(101, buffer.at(), 0), 0);
    EXPECT_TRUE(buffer.intact_after(0));
    EXPECT_EQ(get_error_string(101, buffer.at(), -5), 0);
    EXPECT_TRUE(buffer.intact_after(0));
    EXPECT_EQ(get_error_string(101, nullptr, 100), 0);
    // Windows keeps only the low 16 bits of a string id; the library does
    // not let 65637 or -65435 stand for 101.
    for (int id : {0, 97, 200, 469, -1, 65536 + 101, -65536 + 101}) {
        char text[64] = "old";
        EXPECT_EQ(get_error_string(id, text, sizeof text), 0) << id;
        EXPECT_STREQ(text, "") << id;
    }
}

struct StyleCase {
    int title_id;
    bool question;
    UINT style;
    const char* caption;
};

TEST(ErrorHandlerBox, StyleFollowsTitleAndQuestion) {
    const StyleCase cases[] = {
        {99, false, 0x40, "Status information"},
        {100, false, 0x30, "Warning"},
        {101, false, 0x10, "File error"},
        {102, false, 0x10, "Error"},
        {98, false, 0x10, "Data entry error"},
        {200, false, 0x10, ""},
        {99, true, 0x24, "Status information"},
        {100, true, 0x24, "Warning"},
        {102, true, 0x24, "Error"},
    };
    for (const StyleCase& c : cases) {
        ScopedMessageBoxes boxes;
        error_handler(nullptr, 104, c.title_id, nullptr, 0, c.question);
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().style, c.style) << c.title_id << ' ' << c.question;
        EXPECT_EQ(boxes.last().caption, c.caption) << c.title_id;
    }
}

struct TextCase {
    int message_id;
    const char* context;
    int line;
    bool question;
    const char* text;
};

TEST(ErrorHandlerBox, TextFromMessageContextAndQuestion) {
    const TextCase cases[] = {
        {104, nullptr, 0, false, "Wrong file format"},
        {104, nullptr, 0, true, "Wrong file format\r\nContinue?"},
        {104, "", 0, true, "Wrong file format\r\nContinue?"},
        {104, "C:\\sites.txt", 0, false, "C:\\sites.txt\r\nWrong file format"},
        {104, "C:\\sites.txt", 0, true, "C:\\sites.txt\r\nWrong file format\r\nContinue?"},
        {106, nullptr, 12, false, "Syntax error on line 12"},
        {106, "menu.mnu", 3, true, "menu.mnu\r\nSyntax error on line 3\r\nContinue?"},
        {200, nullptr, 0, false, ""},
        {200, "ctx", 0, false, "ctx\r\n"},
        {383, nullptr, 0, false, "%s has changed.\r\nSave?"},
    };
    for (const TextCase& c : cases) {
        ScopedMessageBoxes boxes;
        error_handler(nullptr, c.message_id, 101, c.context, c.line, c.question);
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().text, c.text) << c.message_id << ' ' << (c.context ? c.context : "");
    }
}

TEST(ErrorHandlerBox, ReturnsTheAnswerAndPassesTheOwner) {
    ScopedMessageBoxes boxes;
    boxes.answer_next(IDNO);
    HWND owner = reinterpret_cast<HWND>(0x5678);
    EXPECT_EQ(error_handler(owner, 262, 261, nullptr, 0, true), IDNO);
    EXPECT_EQ(boxes.last().owner, owner);
    EXPECT_EQ(error_handler(owner, 262, 261, nullptr, 0, false), IDOK);
}

TEST(ErrorHandlerBox, LongContextIsCutAt1023Characters) {
    ScopedMessageBoxes boxes;
    const std::string context(3000, 'c');
    error_handler(nullptr, 374, 101, context.c_str(), 0, true);
    EXPECT_EQ(boxes.last().text, context.substr(0, 1023));
    const std::string near_full(1000, 'c');
    error_handler(nullptr, 374, 101, near_full.c_str(), 0, false);
    EXPECT_EQ(boxes.last().text, (near_full + "\r\n" + catalog(374)).substr(0, 1023));
}

TEST(ErrorHandlerBox, LongestTextsFitWhole) {
    ScopedMessageBoxes boxes;
    error_handler(nullptr, 374, 284, nullptr, 0, false);
    EXPECT_EQ(boxes.last().text, catalog(374));
    EXPECT_EQ(boxes.last().caption, catalog(284));
}

std::string system_text(DWORD code) {
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(0x1300, nullptr, code, 0x0400, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string result = length && text ? text : "";
    if (text) LocalFree(text);
    return result;
}

TEST(ErrorHandlerBox, MessageOneIsTheWindowsErrorOfAFailedOpen) {
    jx::test::TempDir folder;
    const std::string missing = folder.file("absent.dat");
    HANDLE file = CreateFileA(missing.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_EQ(file, INVALID_HANDLE_VALUE);
    const DWORD code = GetLastError();
    EXPECT_EQ(code, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    const std::string expected = system_text(code);
    ASSERT_FALSE(expected.empty());

    ScopedMessageBoxes boxes;
    SetLastError(code); // fetching the text above may have changed it
    error_handler(nullptr, 1, 101, missing.c_str(), 0, false);
    EXPECT_EQ(boxes.last().text, missing + "\r\n" + expected);
    EXPECT_EQ(boxes.last().caption, "File error");
    EXPECT_EQ(boxes.last().style, 0x10u);
}

TEST(ErrorHandlerBox, MessageOneWithoutWindowsTextIsEmpty) {
    ScopedMessageBoxes boxes;
    SetLastError(0x2000FFFF);
    ASSERT_TRUE(system_text(0x2000FFFF).empty());
    SetLastError(0x2000FFFF);
    error_handler(nullptr, 1, 102, nullptr, 0, true);
    EXPECT_EQ(boxes.last().text, "\r\nContinue?");
}

struct LogCase {
    const char* place;
    const char* container;
    const char* line;
};

TEST(IntrfereErrstr, OneLinePerCombination) {
    const LogCase cases[] = {
        {"Hilltop", "North.gr5",
         "Radio code was not found in the index at Hilltop in North.gr5\r\n"},
        {nullptr, "North.gr5", "Radio code was not found in the index - North.gr5\r\n"},
        {nullptr, nullptr, "Radio code was not found in the index\r\n\r\n"},
        {"Hilltop", nullptr, "unchanged"},
    };
    for (const LogCase& c : cases) {
        char buffer[256] = "unchanged";
        intrfere_errstr(240, c.place, c.container, buffer, sizeof buffer);
        EXPECT_STREQ(buffer, c.line) << (c.place ? c.place : "-") << (c.container ? "+" : "-");
    }
}

TEST(IntrfereErrstr, CutsTextAndLine) {
    // Message 230 has 98 characters; a log line takes 79 of them.
    const std::string text = catalog(230).substr(0, 79);
    ASSERT_EQ(catalog(230).size(), 98u);
    char buffer[256];
    intrfere_errstr(230, nullptr, nullptr, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), text + "\r\n\r\n");
    for (int size : {1, 10, 80}) {
        Guarded guarded;
        intrfere_errstr(230, "Hilltop", "North.gr5", guarded.at(), size);
        EXPECT_EQ(std::string(guarded.at()),
                  (text + " at Hilltop in North.gr5\r\n").substr(0, size - 1));
        EXPECT_TRUE(guarded.intact_after(size)) << size;
    }
    Guarded untouched;
    intrfere_errstr(230, nullptr, nullptr, untouched.at(), 0);
    EXPECT_TRUE(untouched.intact_after(0));
}

const char kRadioReport[] = "Duplicate radio code - MW-18\r\n"
                            "Existing code - MW-18 18 GHz 155 Mb/s\r\n"
                            "New code - MW-18 18 GHz 311 Mb/s\r\n"
                            "The new code has not been added to the index\r\n\r\n";

TEST(CantAddCode, FourLineReport) {
    char buffer[512] = "previous contents";
    cant_add_code("MW-18", "MW-18 18 GHz 155 Mb/s", "MW-18 18 GHz 311 Mb/s", false, buffer,
                  sizeof buffer);
    EXPECT_STREQ(buffer, kRadioReport);
    cant_add_code("HP4-59", "a", "b", true, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Duplicate antenna code - HP4-59\r\nExisting code - a\r\nNew code - "
                         "b\r\nThe new code has not been added to the index\r\n\r\n");
    cant_add_code(nullptr, nullptr, nullptr, false, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Duplicate radio code - \r\nExisting code - \r\nNew code - \r\nThe new "
                         "code has not been added to the index\r\n\r\n");
}

TEST(CantAddCode, NeverPassesTheBufferSize) {
    const std::string full = kRadioReport;
    for (int size : {1, 2, 20, 31, 32, 60, 100, static_cast<int>(full.size()),
                     static_cast<int>(full.size()) + 1}) {
        Guarded guarded;
        cant_add_code("MW-18", "MW-18 18 GHz 155 Mb/s", "MW-18 18 GHz 311 Mb/s", false,
                      guarded.at(), size);
        EXPECT_EQ(std::string(guarded.at()), full.substr(0, size - 1)) << size;
        EXPECT_TRUE(guarded.intact_after(size)) << size;
    }
    Guarded untouched;
    cant_add_code("a", "b", "c", false, untouched.at(), 0);
    EXPECT_TRUE(untouched.intact_after(0));
    cant_add_code("a", "b", "c", false, nullptr, 100);
}

} // namespace
