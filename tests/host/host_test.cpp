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
    EXPECT_THROW(jx_bfile(missing.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr), int);

    jx::test::ScopedMessageBoxes boxes(IDYES);
    EXPECT_EQ(error_handler(nullptr, 106, 100, "net.gr5", 12, true), IDYES);
    EXPECT_EQ(boxes.count(), 1u);
}
