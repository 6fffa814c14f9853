// The main of every test program: a child started by FileHolder holds its
// file; everything else runs the tests.
#include "support/child_process.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    const int holder_status = jx::test::run_file_holder_if_requested();
    if (holder_status >= 0) return holder_status;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
