// The compiled message catalog and the functions that lend its texts out.
#include "jx6ut.h"
#include "support/message_boxes.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

namespace {

using jx::test::ScopedMessageBoxes;

std::string catalog(int id) {
    char text[1024];
    get_error_string(id, text, sizeof text);
    return text;
}

// A buffer with guard bytes after `size`, to see that nothing is written
// past the size a function is given.
struct Guarded {
    char bytes[600];
    Guarded() { std::fill(bytes, bytes + sizeof bytes, '#'); }
    bool intact_after(int size) const {
        return std::count(bytes + size, bytes + sizeof bytes, '#') ==
               static_cast<long>(sizeof bytes) - size;
    }
};

// The ids the library loads for itself, typed from the catalog list rather
// than taken from the catalog's source, so a changed text is caught.
// clang-format off
const std::map<int, std::string> kLibraryTexts = {
    {98, "Data entry error"}, {99, "Status information"}, {100, "Warning"}, {101, "File error"},
    {102, "Error"}, {104, "Wrong file format"}, {106, "Syntax error on line %d"},
    {115, "Continue ?"}, {116, "Insufficient disk space"}, {123, "Read error at end of file"},
    {139, "This file name is too long"},
    {140, "The full path name contains %d characters. The maximum allowable is %d"},
    {143, "Veldra data file lock"}, {144, "The file"}, {145, "is in use by"},
    {146, "The file was opened on"}, {147, "hours ago"},
    {148, "This file will be opened in read only mode"}, {155, "File size is zero bytes"},
    {162, "Duplicate radio code"}, {163, "Duplicate antenna code"}, {164, "Existing code"},
    {165, "New code"}, {166, "The new code has not been added to the index"},
    {261, "File exists"}, {262, "Replace existing file?"},
    {342, "The file must be an ascii text file."}, {383, "%s has changed.\r\nSave?"},
    {384, "Unnamed file has changed.\r\nSave?"}, {410, "Column definitions are incomplete"},
    {411, "Columns %d and %d are both defined as %s"},
    {412, "Columns %d and %d have the same definition"},
    {427, "Wrong type of text import definition file"}};
// clang-format on

TEST(Catalog, TextsTheLibraryLoads) {
    for (const auto& [id, text] : kLibraryTexts) EXPECT_EQ(catalog(id), text) << id;
}

TEST(Catalog, HoldsExactlyTheListedEntries) {
    const std::map<int, std::string> source = {
#define JX_CATALOG_ENTRY(id, text) {id, text},
#include "frame/catalog.def"
#undef JX_CATALOG_ENTRY
    };
    std::map<int, std::string> compiled;
    for (int id = 0; id <= 0xFFFF; ++id)
        if (!catalog(id).empty()) compiled[id] = catalog(id);
    ASSERT_EQ(compiled.size(), 354u);
    EXPECT_EQ(compiled.begin()->first, 98);
    EXPECT_EQ(compiled.rbegin()->first, 468);
    for (int gap : {200, 359, 378, 404, 415, 426, 430}) EXPECT_EQ(compiled.count(gap), 0u) << gap;
    EXPECT_TRUE(compiled == source);
    // The resource compiler turns "\r\n" into a carriage return and line feed.
    EXPECT_EQ(catalog(265).substr(0, 13), "The file\r\n%s\r");
}

TEST(GetErrorString, CutsToTheBufferAndRefusesWhatHasNoText) {
    const std::string full = catalog(374); // the longest text
    ASSERT_EQ(full.size(), 175u);
    for (int size : {176, 175, 80, 1, 0, -3}) {
        Guarded buffer;
        const int copied = size > 0 ? std::min(size - 1, 175) : 0;
        EXPECT_EQ(get_error_string(374, buffer.bytes, size), copied) << size;
        if (size > 0) {
            EXPECT_EQ(std::string(buffer.bytes), full.substr(0, copied)) << size;
        }
        EXPECT_TRUE(buffer.intact_after(std::max(size, 0))) << size;
    }
    EXPECT_EQ(get_error_string(101, nullptr, 100), 0);
    // Windows keeps only the low 16 bits of a string id; 65637 does not
    // stand for 101 here.
    for (int id : {0, 97, 469, -1, 65536 + 101}) {
        char text[16] = "old";
        EXPECT_EQ(get_error_string(id, text, sizeof text), 0) << id;
        EXPECT_STREQ(text, "") << id;
    }
}

struct BoxCase {
    int message, title;
    const char* context;
    int line;
    bool question;
    UINT style;
    const char* text;
};

TEST(ErrorHandlerBox, StyleCaptionAndText) {
    const BoxCase cases[] = {
        {104, 99, nullptr, 0, false, 0x40, "Wrong file format"},
        {104, 100, "", 0, false, 0x30, "Wrong file format"},
        {104, 101, "C:\\sites.txt", 0, false, 0x10, "C:\\sites.txt\r\nWrong file format"},
        {104, 200, nullptr, 0, false, 0x10, "Wrong file format"},
        {104, 100, nullptr, 0, true, 0x24, "Wrong file format\r\nContinue?"},
        {104, 102, "C:\\sites.txt", 0, true, 0x24,
         "C:\\sites.txt\r\nWrong file format\r\nContinue?"},
        {106, 98, nullptr, 12, false, 0x10, "Syntax error on line 12"},
        {200, 99, "ctx", 0, false, 0x40, "ctx\r\n"},
        {374, 284, nullptr, 0, false, 0x10, nullptr}, // the longest texts fit whole
    };
    for (const BoxCase& c : cases) {
        ScopedMessageBoxes boxes(IDNO);
        HWND owner = reinterpret_cast<HWND>(0x5678);
        EXPECT_EQ(error_handler(owner, c.message, c.title, c.context, c.line, c.question), IDNO);
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().owner, owner);
        EXPECT_EQ(boxes.last().style, c.style) << c.message << '/' << c.title;
        EXPECT_EQ(boxes.last().caption, catalog(c.title)) << c.message << '/' << c.title;
        EXPECT_EQ(boxes.last().text, c.text ? c.text : catalog(c.message)) << c.message;
    }
}

TEST(ErrorHandlerBox, LongContextIsCutAt1023Characters) {
    ScopedMessageBoxes boxes;
    const std::string context(1000, 'c');
    error_handler(nullptr, 374, 101, context.c_str(), 0, true);
    EXPECT_EQ(boxes.last().text, (context + "\r\n" + catalog(374)).substr(0, 1023));
}

TEST(ErrorHandlerBox, MessageOneIsTheWindowsErrorOfAFailedOpen) {
    jx::test::TempDir folder;
    const std::string missing = folder.file("absent.dat");
    ASSERT_EQ(CreateFileA(missing.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr),
              INVALID_HANDLE_VALUE);
    const DWORD code = GetLastError();
    EXPECT_EQ(code, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    char* expected = nullptr;
    ASSERT_GT(FormatMessageA(0x1300, nullptr, code, 0x0400, reinterpret_cast<LPSTR>(&expected), 0,
                             nullptr),
              0u);
    const std::string text = expected;
    LocalFree(expected);

    ScopedMessageBoxes boxes;
    SetLastError(code);
    error_handler(nullptr, 1, 101, missing.c_str(), 0, false);
    EXPECT_EQ(boxes.last().text, missing + "\r\n" + text);
    SetLastError(0x2000FFFF); // Windows has no text for it
    error_handler(nullptr, 1, 101, nullptr, 0, true);
    EXPECT_EQ(boxes.last().text, "\r\nContinue?");
}

TEST(IntrfereErrstr, OneLinePerCombinationAndCut) {
    const struct {
        int id;
        const char* place;
        const char* container;
        const char* line;
    } cases[] = {
        {240, "Hilltop", "North.gr5",
         "Radio code was not found in the index at Hilltop in North.gr5\r\n"},
        {240, nullptr, "North.gr5", "Radio code was not found in the index - North.gr5\r\n"},
        {240, nullptr, nullptr, "Radio code was not found in the index\r\n\r\n"},
        {240, "Hilltop", nullptr, "unchanged"},
        {230, nullptr, nullptr, nullptr}, // 98 characters, of which a line takes 79
    };
    for (const auto& c : cases) {
        char buffer[256] = "unchanged";
        intrfere_errstr(c.id, c.place, c.container, buffer, sizeof buffer);
        EXPECT_EQ(std::string(buffer), c.line ? c.line : catalog(c.id).substr(0, 79) + "\r\n\r\n");
    }
}

TEST(CantAddCode, FourLinesNeverPastTheBuffer) {
    const std::string report = "Duplicate antenna code - HP4-59\r\nExisting code - HP4-59 4 ft\r\n"
                               "New code - HP4-59 4 ft HP\r\n"
                               "The new code has not been added to the index\r\n\r\n";
    const int n = static_cast<int>(report.size());
    for (int size : {0, 1, 2, 33, 60, n, n + 1, 400}) {
        Guarded guarded;
        cant_add_code("HP4-59", "HP4-59 4 ft", "HP4-59 4 ft HP", true, guarded.bytes, size);
        if (size > 0) {
            EXPECT_EQ(std::string(guarded.bytes), report.substr(0, size - 1)) << size;
        }
        EXPECT_TRUE(guarded.intact_after(size)) << size;
    }
    char buffer[256];
    cant_add_code(nullptr, nullptr, nullptr, false, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Duplicate radio code - \r\nExisting code - \r\nNew code - \r\n"
                         "The new code has not been added to the index\r\n\r\n");
}

} // namespace
