// The library as a host meets it: through the shared library's exported
// names only, with records thrown across the library's boundary.
#include "jx6ut.h"
#include "support/message_boxes.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

// What the library throws reaches the host as the types the header promises,
// and the host's handler answers the library's boxes. (What is thrown and
// shown, in detail, is in the file and error-record tests.)
TEST(Host, ThrownRecordsAndBoxesCrossTheBoundary) {
    jx::test::TempDir dir;
    const std::string missing = dir.file("site.dat");
    Error_Handler record;
    EXPECT_THROW(jxfileio(&record, missing.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr),
                 Error_Handler*);
    int thrown = 0;
    try {
        jx_bfile(missing.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr);
    } catch (int code) {
        thrown = code;
    }
    EXPECT_EQ(thrown, 1);

    jx::test::ScopedMessageBoxes boxes(IDYES);
    EXPECT_EQ(error_handler(nullptr, 106, 100, "net.gr5", 12, true), IDYES);
    EXPECT_EQ(boxes.count(), 1u);
}
