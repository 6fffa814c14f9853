// The library as a host meets it: through the shared library's exported
// names only, with records thrown across the library's boundary.
#include "jx6ut.h"
#include "support/message_boxes.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(Host, RecordsThrownByTheLibraryAreCaughtByTheHost) {
    jx::test::TempDir dir;
    const std::string missing = dir.file("site.dat");
    Error_Handler record;
    try {
        jxfileio file(&record, missing.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr);
        FAIL() << "a missing file opened";
    } catch (Error_Handler* thrown) {
        EXPECT_EQ(thrown, &record);
        const char* message = thrown->get_errormsg();
        ASSERT_NE(message, nullptr);
        EXPECT_EQ(std::string(message).rfind("File error - " + missing + "\n", 0), 0u);
    }
    try {
        jx_bfile file(missing.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr);
        FAIL() << "a missing file opened";
    } catch (int code) {
        EXPECT_EQ(code, 1);
    }
}

TEST(Host, MessageBoxesGoToTheInstalledHandler) {
    jx::test::ScopedMessageBoxes boxes(IDYES);
    EXPECT_EQ(error_handler(nullptr, 106, 100, "net.gr5", 12, true), IDYES);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().caption, "Warning");
    EXPECT_EQ(boxes.last().text, "net.gr5\r\nSyntax error on line 12\r\nContinue?");
    EXPECT_EQ(boxes.last().style, MB_YESNO | MB_ICONQUESTION);
}

TEST(Host, PlainNamedFunctions) {
    char text[32];
    EXPECT_EQ(get_error_string(101, text, sizeof text), 10);
    EXPECT_STREQ(text, "File error");
    char padded[] = "  12.5 \t\r\n";
    strip_space(padded);
    EXPECT_STREQ(padded, "12.5");
}

// The records as the README's host fills them; the library must read the
// fields where the header's types put them.
TEST(Host, StartUpRecordsFilledThroughTheHeaderTypes) {
    static Global_Constants constants = {};
    static Global_Settings settings = {};
    constants.int_no_value = -9999;
    constants.metres_per_foot = 0.3048;
    settings.metric_units = 1;
    init_jx5_util(&constants, &settings);
    char letters[] = "x";
    EXPECT_EQ(get_valid_int32(letters, 8), -9999);
    char feet[] = "100f";
    EXPECT_NEAR(get_valid_double(feet, 12), 30.48, 1e-9);
    init_jx5_util(nullptr, nullptr);
}

} // namespace
