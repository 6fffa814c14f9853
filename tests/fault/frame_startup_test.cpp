// What the library keeps from the host's start-up call and from its own load.
// Linked statically, because the accessors of the kept state are internal.
#include "frame/startup.h"
#include "platform/testing.h"
#include "support/host_records.h"

#include <gtest/gtest.h>

namespace {

TEST(Startup, KeptState) {
    // Records of exactly their size: a longer copy would overrun them.
    jx::test::HostConstants first, second;
    first.set_int_no_value(-9999);
    first.set_length_factor(0.3048);
    jx::test::HostSettings settings{0, 2}; // metric
    init_jx5_util(first.record(), settings.record());
    first.set_int_no_value(7); // the host's constants are copied, not read again
    EXPECT_EQ(jx::frame::int_no_value(), -9999);
    EXPECT_EQ(jx::frame::length_unit_factor(), 0.3048);
    EXPECT_TRUE(jx::frame::metric_units());
    settings.metric_units = 0; // its settings are, at each use
    EXPECT_FALSE(jx::frame::metric_units());
    init_jx5_util(second.record(), settings.record()); // replaces the whole copy
    EXPECT_EQ(jx::frame::length_unit_factor(), 0.0);

    // A separator of three characters does not fit: the one before stays.
    jx::testing::ScopedDecimalSeparator two("::"), too_long("abc");
    EXPECT_STREQ(jx::frame::decimal_separator(), "::");
}

} // namespace
