// Error_Handler: how a record turns its numbers into a title, a message and a
// message box, and how it is reset and copied.
#include "jx6ut.h"
#include "support/message_boxes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char kFile[] = "C:\\links\\north.lnk";

// Windows' own text for a system code, fetched as the library fetches it.
std::string system_text(DWORD code) {
    char* text = nullptr;
    FormatMessageA(0x1300, nullptr, code, 0x0400, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string result = text ? text : "";
    LocalFree(text);
    return result;
}

struct RecordCase {
    const char* name;
    int type, code, line;
    const char* file;
    const char* info;
    bool question;
    const char* composed; // by get_errormsg
    const char* box_text; // by show_errormsg
    const char* caption;
    UINT style;
    int type_after;
};

// Message 123 is "Read error at end of file".
const RecordCase kRecords[] = {
    {"error_file", 2, 123, 0, kFile, nullptr, false,
     "File error - C:\\links\\north.lnk\nRead error at end of file\n",
     "C:\\links\\north.lnk\r\nRead error at end of file", "File error", 0x10, 2},
    {"error", 2, 123, 0, "", nullptr, false, "Error\nRead error at end of file\n",
     "Read error at end of file", "Error", 0x10, 2},
    {"warning_info", 3, 123, 0, kFile, "Site 2", false,
     "Warning - C:\\links\\north.lnk\nRead error at end of file\nSite 2\n",
     "C:\\links\\north.lnk\r\nRead error at end of file\r\nSite 2", "Warning", 0x30, 3},
    {"question", 1, 123, 0, "", "Site 2", true,
     "Status information\nRead error at end of file\nSite 2\n",
     "Read error at end of file\r\nSite 2\r\nContinue ?", "Status information", 0x24, 1},
    // A cancellation is status information, whatever the type said.
    {"canceled", 7, 109, 0, kFile, nullptr, false,
     "Status information - C:\\links\\north.lnk\nOperation canceled\n",
     "C:\\links\\north.lnk\r\nOperation canceled", "Status information", 0x40, 1},
    {"windows_error_unset", 2, 1, 0, "", nullptr, false, "Error\nFile error\n", "File error",
     "Error", 0x10, 2},
    {"syntax", 3, 106, -12, "", nullptr, false, "Warning\nSyntax error on line -12\n",
     "Syntax error on line -12", "Warning", 0x30, 3},
    // An id without a catalog text adds no empty line.
    {"no_text", 2, 200, 0, "", "Site 2", true, "Error\nSite 2\n", "\r\nSite 2\r\nContinue ?",
     "Error", 0x24, 2},
};

class RecordTable : public ::testing::TestWithParam<RecordCase> {};

TEST_P(RecordTable, ComposesAndShows) {
    const RecordCase& c = GetParam();
    Error_Handler record;
    record.init(c.type, c.code, c.file);
    record.line_number = c.line;
    if (c.info) record.set_info_buff(c.info);
    EXPECT_STREQ(record.get_errormsg(), c.composed);
    EXPECT_STREQ(record.title_buff, c.caption);

    jx::test::ScopedMessageBoxes boxes(IDNO);
    HWND owner = reinterpret_cast<HWND>(0x1234);
    EXPECT_EQ(record.show_errormsg(owner, c.question), IDNO);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().owner, owner);
    EXPECT_EQ(boxes.last().text, c.box_text);
    EXPECT_EQ(boxes.last().caption, c.caption);
    EXPECT_EQ(boxes.last().style, c.style);
    EXPECT_EQ(record.error_type, c.type_after);
    EXPECT_EQ(record.get_error_code(), c.code == 1 ? 101 : c.code);
}

INSTANTIATE_TEST_SUITE_P(Types, RecordTable, ::testing::ValuesIn(kRecords),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ErrorHandler, WindowsTextReplacesTheCatalogText) {
    const std::string expected = system_text(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(expected.empty());
    Error_Handler record;
    record.init_fileio(kFile);
    record.set_error_code(123);
    record.set_last_error_code(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(std::string(record.get_errormsg()),
              "File error - C:\\links\\north.lnk\n" + expected + "\n");
    // A code Windows has no text for gives an empty message.
    record.set_last_error_code(0x2000FFFF);
    EXPECT_STREQ(record.get_errormsg(), "File error - C:\\links\\north.lnk\n");
}

TEST(ErrorHandler, NothingToShowForTypesOutsideOneToThree) {
    jx::test::ScopedMessageBoxes boxes;
    for (int type : {0, 4, -1}) {
        Error_Handler record;
        record.init(type, 123, kFile);
        EXPECT_EQ(record.get_errormsg(), nullptr) << type;
        EXPECT_EQ(record.show_errormsg(nullptr, true), 0) << type;
    }
    EXPECT_EQ(boxes.count(), 0u);
}

// A new context clears everything but the line number; a name is cut to
// 1023 characters and may be one of the record's own texts.
TEST(ErrorHandler, InitStartsANewContext) {
    Error_Handler record;
    record.init(3, 123, std::string(5000, 'n').c_str());
    EXPECT_EQ(std::string(record.file_name), std::string(1023, 'n'));
    record.init(3, 123, kFile);
    record.line_number = 40;
    record.set_last_error_code(5);
    record.set_info_buff("detail");
    const std::string composed = record.get_errormsg();
    record.init_fileio(record.errormsg_buff);
    EXPECT_EQ(std::string(record.file_name), composed);
    record.init(1, 155, record.file_name);
    EXPECT_EQ(std::string(record.file_name), composed);
    EXPECT_EQ(record.line_number, 40);
    EXPECT_EQ(record.last_error_code, 0u);
    EXPECT_EQ(record.info_buff, nullptr);
    record.init_fileio(nullptr);
    EXPECT_STREQ(record.file_name, "");
    EXPECT_EQ(record.error_type * 1000 + record.error_code, 2101);
}

TEST(ErrorHandler, InfoTextFromTheCatalogIsCutAt127) {
    char full[256];
    ASSERT_EQ(get_error_string(374, full, sizeof full), 175); // the longest text
    Error_Handler record;
    record.set_info_buff(374);
    EXPECT_EQ(std::string(record.info_buff), std::string(full, 127));
    record.set_info_buff(record.info_buff);
    EXPECT_EQ(std::string(record.info_buff), std::string(full, 127));
    record.set_info_buff(200);
    EXPECT_STREQ(record.info_buff, "");
    record.set_info_buff(static_cast<const char*>(nullptr));
    EXPECT_EQ(record.info_buff, nullptr);
}

TEST(ErrorHandler, CopiesOwnTheirTexts) {
    Error_Handler original;
    original.init(3, 106, kFile);
    original.set_info_buff("detail");
    original.get_errormsg();
    Error_Handler copy(original), assigned;
    assigned.set_info_buff("replaced");
    assigned = original;
    original.init(0, 0, nullptr);
    for (const Error_Handler* r : {&copy, &assigned}) {
        EXPECT_STREQ(r->info_buff, "detail");
        EXPECT_STREQ(r->errormsg_buff, "Warning - C:\\links\\north.lnk\nSyntax error on line 0\n"
                                       "detail\n");
    }
}

} // namespace
