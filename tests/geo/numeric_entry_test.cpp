// Typed numbers checked against their entry types, and frequency texts.
#include "geo/numeric_entry.h"

#include "support/host_records.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <tuple>

constexpr double kNoValue = 222.222;
constexpr int kIntNoValue = -99999;
constexpr double kMetresPerFoot = 0.3048;

class NumericEntry : public ::testing::Test {
protected:
    void SetUp() override { start(kMetresPerFoot, kIntNoValue); }
    void start(double metres_per_foot, int int_no_value) {
        constants.set_int_no_value(int_no_value);
        constants.set_length_factor(metres_per_foot);
        init_jx5_util(constants.record(), settings.record());
    }
    double as_double(std::string t, unsigned char type) { return get_valid_double(&t[0], type); }
    int as_int(std::string t, unsigned char type) { return get_valid_int32(&t[0], type); }

    jx::test::HostConstants constants;
    jx::test::HostSettings settings;
};

// "1c1" reads as a nonzero number whatever c is, so it has a value exactly
// when c is in the type's set: the sign + and the digits from type 2 on, and
// these characters besides. Types 0 and 1, and those from 20 on, take none.
TEST_F(NumericEntry, EveryTypeAcceptsExactlyItsCharacters) {
    const char* const besides[20] = {nullptr,   nullptr, "-.eE",  ".",       "-.",
                                     ".xX",     "-.xX",  "",      "-",       "-. nNsS",
                                     "-. eEwW", "-nNsS", ".fFmM", ".xXfFmM", "-.xXfFmM",
                                     "-. ",     ".",     ".xX",   ".fFmM",   ".xXfFmM"};
    for (int type = 0; type < 256; ++type) {
        for (int code = 1; code < 256; ++code) {
            const char c = static_cast<char>(code);
            const bool in_set = type < 20 && besides[type] && code < 128 &&
                                (std::strchr("+0123456789", c) || std::strchr(besides[type], c));
            const std::string text = std::string("1") + c + "1";
            EXPECT_EQ(as_double(text, type) != kNoValue, in_set) << type << " " << code;
            EXPECT_EQ(as_int(text, type) != kIntNoValue, in_set) << type << " " << code;
        }
    }
}

// Doubles and integers from the same texts. Both take the leading number as
// the C runtime reads it (atof, atoi); the letter x means no value only to
// doubles, as zero does from type 16 on; integers keep to 32 bits. Doubles
// of more than 15 digits are still correctly rounded.
TEST_F(NumericEntry, ReadsTheLeadingNumber) {
    const double no = kNoValue;
    const int none = kIntNoValue;
    const std::tuple<const char*, int, double, int> cases[] = {
        {"-12.5", 3, no, none},   {"9007199254740993", 4, 9007199254740992.0, none},
        {"-12.5", 4, -12.5, -12}, {"9.007199254740995", 4, 9.007199254740994, 9},
        {"x12", 6, no, 0},        {"2147483647", 8, 2147483647.0, INT_MAX},
        {"0", 15, 0.0, 0},        {"2147483648", 8, 2147483648.0, none},
        {"0.000", 16, no, 0},     {"-2147483648", 8, -2147483648.0, INT_MIN},
        {"45 30 N", 9, 45.0, 45}, {"-2147483649", 8, -2147483649.0, none},
        {"  ", 15, no, none},     {"1e9999999999999999999", 2, no, 1},
        {"1.5e3", 2, 1500.0, 1},  {"1e+", 2, 1.0, 1},
        {"1e-400", 2, 0.0, 1},    {"X", 5, no, 0}};
    for (const auto& [text, type, value, whole] : cases) {
        EXPECT_EQ(as_double(text, type), value) << "\"" << text << "\" type " << type;
        EXPECT_EQ(as_int(text, type), whole) << "\"" << text << "\" type " << type;
    }
    char text[] = " \t 12.5 \t\r\n", whole[] = "\t 42  ";
    EXPECT_EQ(get_valid_double(text, 4), 12.5);
    EXPECT_EQ(get_valid_int32(whole, 8), 42);
    EXPECT_STREQ(text, "12.5"); // the caller sees the stripped text
    EXPECT_STREQ(whole, "42");
    EXPECT_EQ(get_valid_double(nullptr, 4), kNoValue);
    EXPECT_EQ(get_valid_int32(nullptr, 8), kIntNoValue);
}

// The unit letter, the metric flag, the factor and the integer marker all
// come from the host's records, which are read afresh at every call.
TEST_F(NumericEntry, UnitsAndMarkersFollowTheHostsRecords) {
    EXPECT_DOUBLE_EQ(as_double("100M", 13), 100 / kMetresPerFoot);
    EXPECT_EQ(as_double("100f", 12), 100.0);
    EXPECT_EQ(as_double("1" + std::string(308, '0') + "m", 12), kNoValue); // beyond the doubles
    settings.metric_units = 1;
    EXPECT_DOUBLE_EQ(as_double("100F", 12), 100 * kMetresPerFoot);
    EXPECT_EQ(as_double("100m", 12), 100.0);
    start(0.0, -32768); // a host without a factor: nothing can be converted
    EXPECT_EQ(as_double("100f", 12), kNoValue);
    EXPECT_EQ(as_double("100m", 12), 100.0);
    EXPECT_EQ(as_int("abc", 8), -32768);
}

// Texts that read the same whatever the system's decimal separator; the
// separator's own cases are in the fault suite, which can set it.
TEST(SetFrequencyStr, WritesWholeTextsOrNone) {
    const std::tuple<double, unsigned, const char*> cases[] = {
        {7.125, 6, "7.125"},    {7.125, 5, ""},      {kNoValue, 32, ""},
        {std::nan(""), 32, ""}, {-HUGE_VAL, 32, ""}, {1e300, 16, ""}};
    for (const auto& [value, size, text] : cases) {
        char buffer[32];
        std::memset(buffer, '#', sizeof buffer);
        set_frequency_str(buffer, size, value);
        EXPECT_STREQ(buffer, text) << value << " in " << size;
    }
    char huge[400];
    set_frequency_str(huge, sizeof huge, -1.7976931348623157e308); // 309 digits before the point
    EXPECT_EQ(std::string(huge, 18), "-17976931348623157");
}
