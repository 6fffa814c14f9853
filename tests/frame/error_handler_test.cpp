// Error_Handler: how a record turns its numbers into a title, a message and a
// message box, and how it is reset and copied.
#include "jx6ut.h"
#include "support/message_boxes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using jx::test::ScopedMessageBoxes;

const char kFile[] = "C:\\links\\north.lnk";

// Windows' own text for a system code, fetched the way the library fetches
// it; empty when Windows has none.
std::string system_text(DWORD code) {
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(0x1300, nullptr, code, 0x0400, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string result = length && text ? text : "";
    if (text) LocalFree(text);
    return result;
}

struct RecordCase {
    const char* name;
    int type;
    int code;
    const char* file;
    const char* info;
    bool question;
    const char* composed; // get_errormsg
    const char* caption;
    const char* box_text;
    UINT style;
    int type_after;
};

// Message 123 is "Read error at end of file".
const RecordCase kRecordCases[] = {
    {"status", 1, 123, "", nullptr, false, "Status information\nRead error at end of file\n",
     "Status information", "Read error at end of file", 0x40, 1},
    {"status_file", 1, 123, kFile, nullptr, false,
     "Status information - C:\\links\\north.lnk\nRead error at end of file\n", "Status information",
     "C:\\links\\north.lnk\r\nRead error at end of file", 0x40, 1},
    {"error", 2, 123, "", nullptr, false, "Error\nRead error at end of file\n", "Error",
     "Read error at end of file", 0x10, 2},
    {"error_file", 2, 123, kFile, nullptr, false,
     "File error - C:\\links\\north.lnk\nRead error at end of file\n", "File error",
     "C:\\links\\north.lnk\r\nRead error at end of file", 0x10, 2},
    {"warning", 3, 123, "", nullptr, false, "Warning\nRead error at end of file\n", "Warning",
     "Read error at end of file", 0x30, 3},
    {"warning_file_info", 3, 123, kFile, "Site 2", false,
     "Warning - C:\\links\\north.lnk\nRead error at end of file\nSite 2\n", "Warning",
     "C:\\links\\north.lnk\r\nRead error at end of file\r\nSite 2", 0x30, 3},
    {"question_status", 1, 123, "", nullptr, true,
     "Status information\nRead error at end of file\n", "Status information",
     "Read error at end of file\r\nContinue ?", 0x24, 1},
    {"question_error", 2, 123, kFile, nullptr, true,
     "File error - C:\\links\\north.lnk\nRead error at end of file\n", "File error",
     "C:\\links\\north.lnk\r\nRead error at end of file\r\nContinue ?", 0x24, 2},
    {"question_warning_info", 3, 123, "", "Site 2", true,
     "Warning\nRead error at end of file\nSite 2\n", "Warning",
     "Read error at end of file\r\nSite 2\r\nContinue ?", 0x24, 3},
    // A cancellation is never an error, whatever the type said.
    {"canceled_error", 2, 109, kFile, nullptr, false,
     "Status information - C:\\links\\north.lnk\nOperation canceled\n", "Status information",
     "C:\\links\\north.lnk\r\nOperation canceled", 0x40, 1},
    {"canceled_unknown_type", 7, 109, "", nullptr, false,
     "Status information\nOperation canceled\n", "Status information", "Operation canceled", 0x40,
     1},
    {"windows_error_without_code_file", 2, 1, kFile, nullptr, false,
     "File error - C:\\links\\north.lnk\nFile error\n", "File error",
     "C:\\links\\north.lnk\r\nFile error", 0x10, 2},
    {"windows_error_without_code", 2, 1, "", nullptr, false, "Error\nFile error\n", "Error",
     "File error", 0x10, 2},
    // An id without a catalog text adds no empty line.
    {"no_catalog_text", 2, 200, "", nullptr, false, "Error\n", "Error", "", 0x10, 2},
    {"no_catalog_text_info", 3, 200, kFile, "Site 2", false,
     "Warning - C:\\links\\north.lnk\nSite 2\n", "Warning", "C:\\links\\north.lnk\r\n\r\nSite 2",
     0x30, 3},
};

class RecordTable : public ::testing::TestWithParam<RecordCase> {};

void fill(Error_Handler& record, const RecordCase& c) {
    record.init(c.type, c.code, c.file);
    if (c.info) record.set_info_buff(c.info);
}

TEST_P(RecordTable, ComposesTheMessage) {
    const RecordCase& c = GetParam();
    Error_Handler record;
    fill(record, c);
    const char* text = record.get_errormsg();
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, c.composed);
    EXPECT_EQ(text, record.errormsg_buff);
    EXPECT_STREQ(record.title_buff, c.caption);
    EXPECT_EQ(record.error_type, c.type_after);
}

TEST_P(RecordTable, ShowsTheBox) {
    const RecordCase& c = GetParam();
    ScopedMessageBoxes boxes(c.question ? IDYES : IDOK);
    Error_Handler record;
    fill(record, c);
    HWND owner = reinterpret_cast<HWND>(0x1234);
    EXPECT_EQ(record.show_errormsg(owner, c.question), c.question ? IDYES : IDOK);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().owner, owner);
    EXPECT_EQ(boxes.last().text, c.box_text);
    EXPECT_EQ(boxes.last().caption, c.caption);
    EXPECT_EQ(boxes.last().style, c.style);
    EXPECT_STREQ(record.errormsg_buff, c.box_text);
    EXPECT_EQ(record.error_type, c.type_after);
}

INSTANTIATE_TEST_SUITE_P(Types, RecordTable, ::testing::ValuesIn(kRecordCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ErrorHandler, WindowsErrorCodeReplacesTheCatalogText) {
    const std::string expected = system_text(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(expected.empty());
    Error_Handler record;
    record.init_fileio(kFile);
    record.set_error_code(123);
    record.set_last_error_code(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(std::string(record.get_errormsg()),
              "File error - C:\\links\\north.lnk\n" + expected + "\n");
    EXPECT_EQ(std::string(record.get_errormsg()).find("Read error"), std::string::npos);

    ScopedMessageBoxes boxes;
    record.show_errormsg(nullptr, false);
    EXPECT_EQ(boxes.last().text, "C:\\links\\north.lnk\r\n" + expected);
}

TEST(ErrorHandler, WindowsErrorOfCodeOneBecomesFileError) {
    const std::string expected = system_text(ERROR_ACCESS_DENIED);
    Error_Handler record;
    record.init(2, 1, "");
    record.set_last_error_code(ERROR_ACCESS_DENIED);
    EXPECT_EQ(std::string(record.get_errormsg()), "Error\n" + expected + "\n");
    EXPECT_EQ(record.get_error_code(), 101);
}

TEST(ErrorHandler, SystemCodeWithoutTextGivesAnEmptyMessage) {
    const DWORD unknown = 0x2000FFFF; // a customer code: Windows has no text for it
    ASSERT_TRUE(system_text(unknown).empty());
    Error_Handler record;
    record.init_fileio(kFile);
    record.set_last_error_code(unknown);
    EXPECT_STREQ(record.get_errormsg(), "File error - C:\\links\\north.lnk\n");
    EXPECT_STREQ(record.msg_buff, "");
}

TEST(ErrorHandler, SyntaxErrorCarriesTheLineNumber) {
    Error_Handler record;
    record.init(3, 106, nullptr);
    record.line_number = 12;
    EXPECT_STREQ(record.get_errormsg(), "Warning\nSyntax error on line 12\n");
    record.line_number = -4;
    EXPECT_STREQ(record.get_errormsg(), "Warning\nSyntax error on line -4\n");
}

TEST(ErrorHandler, NothingRecordedShowsNothing) {
    ScopedMessageBoxes boxes;
    for (int type : {0, 4, -1}) {
        Error_Handler record;
        record.init(type, 123, kFile);
        record.set_info_buff("detail");
        EXPECT_EQ(record.get_errormsg(), nullptr) << type;
        EXPECT_EQ(record.show_errormsg(nullptr, true), 0) << type;
    }
    EXPECT_EQ(boxes.count(), 0u);
}

TEST(ErrorHandler, QuestionReturnsTheAnswer) {
    ScopedMessageBoxes boxes;
    Error_Handler record;
    record.init(3, 116, nullptr);
    boxes.answer_next(IDNO);
    boxes.answer_next(IDYES);
    EXPECT_EQ(record.show_errormsg(nullptr, true), IDNO);
    EXPECT_EQ(record.show_errormsg(nullptr, true), IDYES);
}

TEST(ErrorHandler, FreshRecordIsEmpty) {
    Error_Handler record;
    EXPECT_EQ(record.error_type, 0);
    EXPECT_EQ(record.error_code, 0);
    EXPECT_EQ(record.line_number, 0);
    EXPECT_EQ(record.last_error_code, 0u);
    EXPECT_STREQ(record.file_name, "");
    EXPECT_EQ(record.errormsg_buff, nullptr);
    EXPECT_EQ(record.title_buff, nullptr);
    EXPECT_EQ(record.info_buff, nullptr);
    EXPECT_EQ(record.msg_buff, nullptr);
}

TEST(ErrorHandler, InitStartsANewContextButKeepsTheLineNumber) {
    Error_Handler record;
    record.init(3, 123, kFile);
    record.line_number = 40;
    record.set_last_error_code(5);
    record.set_info_buff("detail");
    record.get_errormsg();

    record.init_fileio(nullptr);
    EXPECT_EQ(record.error_type, 2);
    EXPECT_EQ(record.error_code, 101);
    EXPECT_EQ(record.line_number, 40);
    EXPECT_EQ(record.last_error_code, 0u);
    EXPECT_STREQ(record.file_name, "");
    EXPECT_EQ(record.info_buff, nullptr);
    EXPECT_EQ(record.errormsg_buff, nullptr);
    EXPECT_EQ(record.title_buff, nullptr);
    EXPECT_EQ(record.msg_buff, nullptr);

    record.init(1, 155, "data.txt");
    EXPECT_EQ(record.error_type, 1);
    EXPECT_EQ(record.error_code, 155);
    EXPECT_STREQ(record.file_name, "data.txt");
    EXPECT_EQ(record.line_number, 40);
}

TEST(ErrorHandler, OverlongNamesAreCut) {
    for (size_t length : {1023u, 1024u, 5000u}) {
        const std::string name(length, 'n');
        Error_Handler record;
        record.init(2, 123, name.c_str());
        EXPECT_EQ(std::strlen(record.file_name), 1023u) << length;
        record.init_fileio(name.c_str());
        EXPECT_EQ(std::string(record.file_name), name.substr(0, 1023)) << length;
    }
}

TEST(ErrorHandler, InitAcceptsTheRecordsOwnTexts) {
    Error_Handler record;
    record.init(2, 123, kFile);
    record.init(3, 104, record.file_name);
    EXPECT_STREQ(record.file_name, kFile);
    const std::string composed = record.get_errormsg();
    record.init_fileio(record.errormsg_buff);
    EXPECT_EQ(std::string(record.file_name), composed);
    record.set_info_buff("detail");
    record.set_info_buff(record.info_buff);
    EXPECT_STREQ(record.info_buff, "detail");
}

TEST(ErrorHandler, InfoTextFromTheCatalog) {
    Error_Handler record;
    record.set_info_buff(115);
    EXPECT_STREQ(record.info_buff, "Continue ?");
    record.set_info_buff(200); // no entry
    ASSERT_NE(record.info_buff, nullptr);
    EXPECT_STREQ(record.info_buff, "");
    record.set_info_buff(374); // the longest catalog text, 175 characters
    char full[256];
    ASSERT_EQ(get_error_string(374, full, sizeof full), 175);
    EXPECT_EQ(std::string(record.info_buff), std::string(full, 127));
    record.set_info_buff(static_cast<const char*>(nullptr));
    EXPECT_EQ(record.info_buff, nullptr);
}

TEST(ErrorHandler, EachCallFormatsAnew) {
    Error_Handler record;
    record.init(2, 123, nullptr);
    EXPECT_STREQ(record.get_errormsg(), "Error\nRead error at end of file\n");
    record.set_error_code(116);
    std::strcpy(record.file_name, "site.dat");
    EXPECT_STREQ(record.get_errormsg(), "File error - site.dat\nInsufficient disk space\n");
    EXPECT_STREQ(record.msg_buff, "Insufficient disk space");
}

TEST(ErrorHandler, CopiesOwnTheirTexts) {
    Error_Handler original;
    original.init(3, 106, kFile);
    original.line_number = 7;
    original.set_last_error_code(0);
    original.set_info_buff("detail");
    original.get_errormsg();

    Error_Handler copy(original);
    EXPECT_NE(copy.errormsg_buff, original.errormsg_buff);
    EXPECT_NE(copy.info_buff, original.info_buff);
    EXPECT_STREQ(copy.errormsg_buff, original.errormsg_buff);
    EXPECT_STREQ(copy.title_buff, "Warning");
    EXPECT_STREQ(copy.msg_buff, "Syntax error on line 7");
    EXPECT_STREQ(copy.file_name, kFile);
    EXPECT_EQ(copy.line_number, 7);

    Error_Handler assigned;
    assigned.set_info_buff("to be replaced");
    assigned = original;
    original.init(0, 0, nullptr); // the copies keep theirs
    EXPECT_STREQ(assigned.info_buff, "detail");
    EXPECT_STREQ(copy.info_buff, "detail");
    Error_Handler& same = assigned;
    assigned = same;
    EXPECT_STREQ(assigned.info_buff, "detail");
}

} // namespace
