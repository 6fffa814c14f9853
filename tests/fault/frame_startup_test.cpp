// What the library keeps from the host's start-up call and from its own load.
// Linked statically, because the accessors of the kept state are internal.
#include "frame/catalog.h"
#include "frame/startup.h"
#include "platform/testing.h"
#include "support/host_records.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

using jx::test::HostConstants;
using jx::test::HostSettings;

TEST(Startup, CatalogLoadsWhateverTheHostDid) {
    char text[32];
    EXPECT_NE(jx::frame::module_handle(), nullptr);
    EXPECT_EQ(jx::frame::load_catalog_text(99, text, sizeof text), 18);
    EXPECT_STREQ(text, "Status information");
}

TEST(Startup, ConstantsAreCopiedWhole) {
    // The record is allocated at exactly its size, so reading a byte beyond
    // it would be caught by the address sanitizer; freeing it afterwards
    // shows that the library keeps no pointer to it.
    auto constants = std::make_unique<HostConstants>();
    for (int i = 0; i < 46; ++i) constants->words[i] = 1000 + i;
    constants->set_int_no_value(-9999);
    constants->set_length_factor(0.3048);
    HostSettings settings;
    init_jx5_util(constants->record(), settings.record());
    constants.reset();
    EXPECT_TRUE(jx::frame::host_initialised());
    EXPECT_EQ(jx::frame::int_no_value(), -9999);
    EXPECT_EQ(jx::frame::length_unit_factor(), 0.3048);
}

TEST(Startup, SecondCallReplacesBothRecords) {
    HostConstants first, second;
    first.set_int_no_value(-1);
    first.set_length_factor(0.3048);
    second.set_int_no_value(-32768);
    HostSettings metric, imperial;
    metric.metric_units = 1;
    init_jx5_util(first.record(), metric.record());
    EXPECT_TRUE(jx::frame::metric_units());
    init_jx5_util(second.record(), imperial.record());
    EXPECT_EQ(jx::frame::int_no_value(), -32768);
    EXPECT_EQ(jx::frame::length_unit_factor(), 0.0); // not carried over from the first
    EXPECT_FALSE(jx::frame::metric_units());
    // The settings are the host's and are read afresh at each use.
    imperial.metric_units = 2;
    EXPECT_TRUE(jx::frame::metric_units());
}

TEST(Startup, NoConstantsRecordGivesZeros) {
    HostConstants constants;
    constants.set_int_no_value(-5);
    HostSettings settings;
    init_jx5_util(constants.record(), settings.record());
    init_jx5_util(nullptr, settings.record());
    EXPECT_EQ(jx::frame::int_no_value(), 0);
}

struct SeparatorCase {
    const char* system;
    const char* kept;
};

TEST(Startup, DecimalSeparator) {
    const SeparatorCase cases[] = {
        {",", ","}, {".", "."}, {"::", "::"}, // two characters: both are kept
    };
    for (const SeparatorCase& c : cases) {
        jx::testing::ScopedDecimalSeparator separator(c.system);
        EXPECT_STREQ(jx::frame::decimal_separator(), c.kept) << c.system;
    }
    // Three characters do not fit: the previous separator stays.
    jx::testing::ScopedDecimalSeparator comma(",");
    {
        jx::testing::ScopedDecimalSeparator too_long("abc");
        EXPECT_STREQ(jx::frame::decimal_separator(), ",");
    }
}

} // namespace
