// What the library keeps from the host's start-up call and from its own load
// (how it reads the host's settings afresh is in the numeric-entry tests).
// Linked statically, because the accessors of the kept state are internal.
#include "frame/startup.h"
#include "platform/testing.h"
#include "support/host_records.h"

#include <gtest/gtest.h>

namespace {

TEST(Startup, KeptState) {
    // Records of exactly their size: a longer copy would overrun them.
    jx::test::HostConstants constants;
    constants.set_int_no_value(-9999);
    jx::test::HostSettings settings{0, 2}; // any flag but 0 is metric
    init_jx5_util(constants.record(), settings.record());
    constants.set_int_no_value(7); // the host's constants are copied, not read again
    EXPECT_EQ(jx::frame::int_no_value(), -9999);
    EXPECT_TRUE(jx::frame::metric_units());

    // A separator of three characters does not fit: the one before stays.
    jx::testing::ScopedDecimalSeparator two("::"), too_long("abc");
    EXPECT_STREQ(jx::frame::decimal_separator(), "::");
}

} // namespace
