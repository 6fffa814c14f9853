// What the library keeps from the host's start-up call and from its own load.
// Linked statically, because the accessors of the kept state are internal.
#include "frame/startup.h"
#include "platform/testing.h"
#include "support/host_records.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using jx::test::HostConstants;
using jx::test::HostSettings;

TEST(Startup, ConstantsAreCopiedAndTheLatestCallWins) {
    // Allocated at exactly 184 bytes, so a read beyond them would be caught
    // by the address sanitizer; freed at once, so a kept pointer would be.
    auto first = std::make_unique<HostConstants>();
    for (int i = 0; i < 46; ++i) first->words[i] = 1000 + i;
    first->set_int_no_value(-9999);
    first->set_length_factor(0.3048);
    HostSettings metric, imperial;
    metric.metric_units = 1;
    init_jx5_util(first->record(), metric.record());
    first.reset();
    EXPECT_EQ(jx::frame::int_no_value(), -9999);
    EXPECT_EQ(jx::frame::length_unit_factor(), 0.3048);
    EXPECT_TRUE(jx::frame::metric_units());

    HostConstants second;
    second.set_int_no_value(-32768);
    init_jx5_util(second.record(), imperial.record());
    EXPECT_EQ(jx::frame::int_no_value(), -32768);
    EXPECT_EQ(jx::frame::length_unit_factor(), 0.0);
    EXPECT_FALSE(jx::frame::metric_units());
    imperial.metric_units = 2; // read afresh at each use
    EXPECT_TRUE(jx::frame::metric_units());
}

TEST(Startup, DecimalSeparator) {
    for (const char* separator : {",", "::"}) {
        jx::testing::ScopedDecimalSeparator scoped(separator);
        EXPECT_STREQ(jx::frame::decimal_separator(), separator);
    }
    jx::testing::ScopedDecimalSeparator comma(",");
    jx::testing::ScopedDecimalSeparator too_long("abc"); // does not fit: the old one stays
    EXPECT_STREQ(jx::frame::decimal_separator(), ",");
}

} // namespace
