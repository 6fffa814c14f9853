// The compiled message catalog and everything that shows its texts: the
// functions that lend them out, the report lines, the worksheet log, and the
// error record and error_handler with their titles, messages and message
// boxes built from catalog and Windows texts.
#include "jx6ut.h"
#include "frame/worksheet_growth.h"
#include "support/message_boxes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <tuple>

static std::string catalog(int id) {
    char text[1024] = "old";
    const int length = get_error_string(id, text, sizeof text);
    EXPECT_EQ(std::string(text).size(), static_cast<size_t>(length)) << id;
    return text;
}

// What a function given `size` bytes of a buffer of '#' wrote there, or
// "overrun" when it changed a byte after them.
static std::string within(const std::string& buffer, int size) {
    if (buffer.find_first_not_of('#', std::max(size, 0)) != std::string::npos) return "overrun";
    return buffer.substr(0, std::max(size, 0)).c_str();
}

TEST(Catalog, EntriesReportLinesAndWorksheetLog) {
    // Past 0xFFFF: Windows keeps only the low 16 bits of a string id, so 65637
    // would stand for 101 there; here it has no text.
    const std::set<int> gaps = {200, 359, 378, 404, 415, 416, 417, 418, 419,
                                420, 421, 422, 423, 424, 425, 426, 430};
    for (int id = 98; id <= 468; ++id) EXPECT_EQ(catalog(id).empty(), gaps.count(id) > 0) << id;
    for (int id : {-1, 0, 97, 469, 0x10000 + 101}) EXPECT_EQ(catalog(id), "") << id;
    // Texts the library loads and no other test shows, typed rather than
    // taken from the source, so a changed text shows.
    const std::map<int, std::string> loaded = {{116, "Insufficient disk space"},
                                               {155, "File size is zero bytes"},
                                               {342, "The file must be an ascii text file."},
                                               {427, "Wrong type of text import definition file"}};
    for (const auto& [id, text] : loaded) EXPECT_EQ(catalog(id), text) << id;

    const std::string full = catalog(374);
    const int n = static_cast<int>(full.size());
    for (int size : {n + 1, n, 1, 0, -3}) {
        std::string buffer(600, '#');
        EXPECT_EQ(get_error_string(374, buffer.data(), size), std::clamp(size - 1, 0, n));
        EXPECT_EQ(within(buffer, size), full.substr(0, std::clamp(size - 1, 0, n)));
    }
    EXPECT_EQ(get_error_string(101, nullptr, 100), 0);

    // intrfere_errstr's line in `size` bytes of a buffer.
    auto line = [](int id, const char* place, const char* container, int size) {
        std::string buffer(600, '#');
        intrfere_errstr(id, place, container, buffer.data(), size);
        return within(buffer, size);
    };
    EXPECT_EQ(line(237, "P", "C", 99), "Receive signal not calculated at P in C\r\n");
    EXPECT_EQ(line(237, nullptr, "C", 99), "Receive signal not calculated - C\r\n");
    EXPECT_EQ(line(237, "P", nullptr, 99), std::string(99, '#')); // left as it was
    EXPECT_EQ(line(237, nullptr, nullptr, 8), "Receive");
    EXPECT_EQ(line(237, nullptr, nullptr, -1), "");
    // 98 characters, of which a line takes 79.
    EXPECT_EQ(line(230, nullptr, nullptr, 99), catalog(230).substr(0, 79) + "\r\n\r\n");

    // A missing code is reported as an empty one.
    const std::string report = "Duplicate radio code - \r\nExisting code - B\r\nNew code - C\r\n"
                               "The new code has not been added to the index\r\n\r\n";
    const int length = static_cast<int>(report.size());
    for (int size : {0, 1, 30, length, length + 1}) {
        std::string buffer(600, '#');
        cant_add_code(nullptr, "B", "C", false, buffer.data(), size);
        EXPECT_EQ(within(buffer, size), report.substr(0, std::max(size - 1, 0))) << size;
    }
    char buffer[99];
    cant_add_code("A", "B", "C", true, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, 28), "Duplicate antenna code - A\r\n");

    // worksheet_status: lines from the catalog, EIRP values, and the growing
    // buffer.
    worksheet_status log;
    log.add_eirp(324, 55.04, 222.222);
    log.add_eirp(325, -3.96, 222.2220001); // only the marker itself means "no length"
    log.add_eirp(0, 55.0, 1.0);
    log.add(0);
    log.add(230); // 98 characters, of which a line takes 79
    EXPECT_STREQ(log.buff, "EIRP exceeds FCC 101 limits at site 1 (55.0 dBm)\r\n"
                           "EIRP exceeds FCC 101 limits at site 2 (-4.0 dBm 222.2 km min plen)\r\n"
                           "The Veldra file must contain coordinates and a path profile to be "
                           "incorporated \r\n");

    // "hours ago\r\n" is 11 bytes: 93 lines and the terminator fill 1024
    // exactly; 1024 lines fill 11 * 1024, leaving no room for the terminator.
    worksheet_status grown;
    std::string expected;
    for (int i = 0; i < 93; ++i, expected += "hours ago\r\n") grown.add(147);
    EXPECT_EQ(grown.buff_size, 1024u);
    for (int i = 93; i < 1024; ++i, expected += "hours ago\r\n") grown.add(147);
    EXPECT_EQ(grown.buff_size, 12u * 1024);
    worksheet_status copy(grown), assigned;
    assigned = copy;
    EXPECT_EQ(grown.buff + std::string(copy.buff) + assigned.buff, expected + expected + expected);
    grown.add_eirp(168, 1e300, 1e300); // 300 digits: the line is cut at 127
    EXPECT_EQ(std::string(grown.buff).substr(expected.size() + 127), "\r\n");
    // A line longer than any the log makes: after a nearly full text, a line
    // of 1024 needs two steps of 1024.
    EXPECT_EQ(jx::frame::detail::status_capacity(1024, 1023, 1024), 3072u);
}

const HWND kOwner = reinterpret_cast<HWND>(0x1234);

// The one box shown, as "caption|text", once its owner and style are checked.
static std::string shown(const jx::test::ScopedMessageBoxes& boxes, UINT style) {
    if (boxes.count() != 1) return std::to_string(boxes.count()) + " boxes";
    EXPECT_EQ(boxes.last().owner, kOwner);
    EXPECT_EQ(boxes.last().style, style);
    return boxes.last().caption + "|" + boxes.last().text;
}

// The box of error_handler, answered No, for line number 12.
static std::string box(int message, int title, const char* context, bool question, UINT style) {
    jx::test::ScopedMessageBoxes boxes(IDNO);
    EXPECT_EQ(error_handler(kOwner, message, title, context, 12, question), IDNO);
    return shown(boxes, style);
}

TEST(ErrorHandler, RecordAndBoxTextsAndNewContexts) {
    const std::tuple<int, int, bool, UINT, const char*, const char*, const char*, const char*>
        cases[] = {
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
    for (const auto& [type, code, question, style, file, info, composed, box_text] : cases) {
        Error_Handler record;
        record.init(type, code, file);
        record.line_number = -12;
        if (info) record.set_info_buff(info);
        EXPECT_STREQ(record.get_errormsg(), composed);
        jx::test::ScopedMessageBoxes boxes(IDNO);
        EXPECT_EQ(record.show_errormsg(kOwner, question), composed ? IDNO : 0);
        EXPECT_EQ(shown(boxes, style), box_text);
        EXPECT_EQ(record.error_type, code == 109 && type ? 1 : type);
        EXPECT_EQ(record.get_error_code(), code == 1 ? 101 : code); // the Windows error
    }

    // error_handler's box: style, caption and text.
    EXPECT_EQ(box(123, 99, nullptr, false, 0x40), "Status information|Read error at end of file");
    EXPECT_EQ(box(104, 100, "", false, 0x30), "Warning|Wrong file format");
    EXPECT_EQ(box(104, 101, "f", true, 0x24), "File error|f\r\nWrong file format\r\nContinue?");
    EXPECT_EQ(box(106, 102, nullptr, true, 0x24), "Error|Syntax error on line 12\r\nContinue?");
    // The longest message (175 characters) fits whole, all but its last
    // character within the 1023 that the box text is cut to.
    const std::string context(847, 'c');
    EXPECT_EQ(box(374, 98, context.c_str(), false, 0x10),
              "Data entry error|" + (context + "\r\n" + catalog(374)).substr(0, 1023));
    // Windows' text, taken after the title was loaded, replaces the catalog's
    // unchanged, line break included. (The record's own box does the same:
    // see the file tests' open failures.)
    char* text = nullptr;
    LPSTR out = reinterpret_cast<LPSTR>(&text);
    ASSERT_GT(FormatMessageA(0x1300, nullptr, ERROR_FILE_NOT_FOUND, 0x0400, out, 0, nullptr), 0u);
    const std::string expected = text;
    LocalFree(text);
    SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(box(1, 101, "f", false, 0x10), "File error|f\r\n" + expected);
    SetLastError(0x2000FFFF); // Windows has no text for it
    EXPECT_EQ(box(1, 101, "f", false, 0x10), "File error|f\r\n");

    // A new context clears everything but the line number and leaves copies
    // alone; a name is cut to 1023 characters and may be one of the record's
    // own texts.
    Error_Handler record, assigned;
    record.init(3, 123, std::string(1024, 'n').c_str());
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
