// Error_Handler and error_handler: titles, messages and message boxes built
// from catalog and Windows texts.
#include "jx6ut.h"
#include "support/message_boxes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const HWND kOwner = reinterpret_cast<HWND>(0x1234);

// The one box shown, as "caption|text", once its owner and style are checked.
std::string shown(const jx::test::ScopedMessageBoxes& boxes, UINT style) {
    if (boxes.count() != 1) return std::to_string(boxes.count()) + " boxes";
    EXPECT_EQ(boxes.last().owner, kOwner);
    EXPECT_EQ(boxes.last().style, style);
    return boxes.last().caption + "|" + boxes.last().text;
}

// The box of error_handler, answered No, for line number 12.
std::string box(int message, int title, const char* context, bool question, UINT style) {
    jx::test::ScopedMessageBoxes boxes(IDNO);
    EXPECT_EQ(error_handler(kOwner, message, title, context, 12, question), IDNO);
    return shown(boxes, style);
}

TEST(ErrorHandler, ComposesAndShowsEveryType) {
    const struct {
        int type, code, question, style;
        const char *file, *info, *composed, *shown;
    } cases[] = {
        {2, 102, false, 0x10, "f", "", "File error - f\nError\n", "File error|f\r\nError"},
        {2, 1, false, 0x10, "", nullptr, "Error\nFile error\n", "Error|File error"},
        {3, 106, true, 0x24, "f", "i", "Warning - f\nSyntax error on line -12\ni\n",
         "Warning|f\r\nSyntax error on line -12\r\ni\r\nContinue ?"},
        // An id without a catalog text, or an empty info text, adds no line.
        {3, 200, false, 0x30, "", "i", "Warning\ni\n", "Warning|\r\ni"},
        // A cancellation is status information, whatever the type said.
        {2, 109, false, 0x40, "f", nullptr, "Status information - f\nOperation canceled\n",
         "Status information|f\r\nOperation canceled"},
        // Nothing recorded, or a type outside 1 to 3: nothing to show.
        {0, 109, true, 0, "f", nullptr, nullptr, "0 boxes"},
        {4, 123, true, 0, "f", nullptr, nullptr, "0 boxes"},
    };
    for (const auto& c : cases) {
        Error_Handler record;
        record.init(c.type, c.code, c.file);
        record.line_number = -12;
        if (c.info) record.set_info_buff(c.info);
        EXPECT_STREQ(record.get_errormsg(), c.composed);
        jx::test::ScopedMessageBoxes boxes(IDNO);
        EXPECT_EQ(record.show_errormsg(kOwner, c.question), c.composed ? IDNO : 0);
        EXPECT_EQ(shown(boxes, c.style), c.shown);
        EXPECT_EQ(record.error_type, c.code == 109 && c.type ? 1 : c.type);
        EXPECT_EQ(record.get_error_code(), c.code == 1 ? 101 : c.code); // the Windows error
    }
}

TEST(ErrorHandlerBox, StyleCaptionAndText) {
    EXPECT_EQ(box(123, 99, nullptr, false, 0x40), "Status information|Read error at end of file");
    EXPECT_EQ(box(104, 100, "", false, 0x30), "Warning|Wrong file format");
    EXPECT_EQ(box(104, 101, "f", true, 0x24), "File error|f\r\nWrong file format\r\nContinue?");
    EXPECT_EQ(box(106, 102, nullptr, true, 0x24), "Error|Syntax error on line 12\r\nContinue?");
    // The longest message (175 characters) fits whole, all but its last
    // character within the 1023 that the box text is cut to.
    char longest[256];
    get_error_string(374, longest, sizeof longest);
    const std::string context(847, 'c');
    EXPECT_EQ(box(374, 98, context.c_str(), false, 0x10),
              "Data entry error|" + (context + "\r\n" + longest).substr(0, 1023));
}

// Windows' text replaces the catalog's, unchanged, line break included.
TEST(ErrorHandler, WindowsText) {
    char* text = nullptr;
    LPSTR out = reinterpret_cast<LPSTR>(&text);
    ASSERT_GT(FormatMessageA(0x1300, nullptr, ERROR_FILE_NOT_FOUND, 0x0400, out, 0, nullptr), 0u);
    const std::string expected = text;
    LocalFree(text);
    Error_Handler record;
    record.init(2, 123, "f");
    record.set_last_error_code(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(record.get_errormsg(), "File error - f\n" + expected + "\n");
    record.set_last_error_code(0x2000FFFF); // Windows has no text for it
    EXPECT_STREQ(record.get_errormsg(), "File error - f\n");
    SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(box(1, 101, "f", false, 0x10), "File error|f\r\n" + expected);
}

// A new context clears everything but the line number and leaves copies
// alone; a name is cut to 1023 characters and may be one of the record's own
// texts.
TEST(ErrorHandler, InitStartsANewContext) {
    Error_Handler record, assigned;
    record.init(3, 123, std::string(1024, 'n').c_str());
    EXPECT_EQ(std::string(record.file_name), std::string(1023, 'n'));
    record.line_number = 40;
    record.set_last_error_code(5);
    record.set_info_buff(374); // the longest text, cut at 127
    record.set_info_buff(record.info_buff);
    EXPECT_EQ(std::string(record.info_buff).size(), 127u);
    const std::string composed = record.get_errormsg();
    Error_Handler copy(record);
    assigned.set_info_buff("old");
    assigned = record;
    record.init_fileio(record.errormsg_buff);
    record.init(2, 106, record.file_name);
    EXPECT_EQ(record.get_errormsg(),
              "File error - " + composed.substr(0, 1023) + "\nSyntax error on line 40\n");
    record.init_fileio(nullptr);
    EXPECT_STREQ(record.get_errormsg(), "Error\nFile error\n");
    EXPECT_EQ(std::string(copy.errormsg_buff) + assigned.errormsg_buff, composed + composed);
}

} // namespace
