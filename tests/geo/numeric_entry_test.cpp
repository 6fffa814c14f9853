// Typed numbers checked against their entry types.
#include "geo/numeric_entry.h"

#include "support/host_records.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <limits>
#include <string>

namespace {

constexpr double kNoValue = 222.222;
constexpr int kIntNoValue = -99999;
constexpr double kMetresPerFoot = 0.3048;

class NumericEntry : public ::testing::Test {
protected:
    void SetUp() override {
        constants.set_int_no_value(kIntNoValue);
        constants.set_length_factor(kMetresPerFoot);
        init_jx5_util(constants.record(), settings.record());
    }

    double as_double(std::string text, int type) {
        return get_valid_double(&text[0], static_cast<unsigned char>(type));
    }
    int as_int(std::string text, int type) {
        return get_valid_int32(&text[0], static_cast<unsigned char>(type));
    }

    jx::test::HostConstants constants;
    jx::test::HostSettings settings;
};

// The characters each entry type accepts.
const char* const kAccepted[20] = {
    "",
    "",
    "+-.1234567890eE",
    "+.1234567890",
    "+-.1234567890",
    "+.1234567890xX",
    "+-.1234567890xX",
    "+1234567890",
    "+-1234567890",
    "+-.1234567890 nNsS",
    "+-.1234567890 eEwW",
    "+-1234567890nNsS",
    "+.1234567890fFmM",
    "+.1234567890xXfFmM",
    "+-.1234567890xXfFmM",
    "+-.1234567890 ",
    "+.1234567890",
    "+.1234567890xX",
    "+.1234567890fFmM",
    "+.1234567890xXfFmM",
};

// Every character between two ones: "1c1" reads as a nonzero number whatever
// c is, so the text has a value exactly when c is in the type's set.
TEST_F(NumericEntry, EveryTypeAcceptsExactlyItsCharacters) {
    for (int type = 0; type < 20; ++type) {
        for (int code = 1; code < 256; ++code) {
            const char c = static_cast<char>(code);
            const bool in_set = code < 128 && code != 0 && std::strchr(kAccepted[type], c);
            const std::string text = std::string("1") + c + "1";
            EXPECT_EQ(as_double(text, type) != kNoValue, in_set)
                << "type " << type << ", character " << code;
            EXPECT_EQ(as_int(text, type) != kIntNoValue, in_set)
                << "type " << type << ", character " << code;
        }
    }
}

TEST_F(NumericEntry, TypesOutsideTheTableAcceptNothing) {
    for (int type : {20, 21, 100, 255}) {
        EXPECT_EQ(as_double("1", type), kNoValue) << type;
        EXPECT_EQ(as_int("1", type), kIntNoValue) << type;
    }
}

struct DoubleCase {
    const char* text;
    int type;
    double value;
};

class GetValidDouble : public NumericEntry, public ::testing::WithParamInterface<DoubleCase> {};

TEST_P(GetValidDouble, ReadsTheValue) {
    const DoubleCase& c = GetParam();
    EXPECT_EQ(as_double(c.text, c.type), c.value) << "\"" << c.text << "\" type " << c.type;
}

INSTANTIATE_TEST_SUITE_P(
    Values, GetValidDouble,
    ::testing::Values(DoubleCase{"  12.5  ", 4, 12.5}, DoubleCase{"\t12.5\r\n", 4, 12.5},
                      DoubleCase{"-12.5", 4, -12.5}, DoubleCase{"-12.5", 3, kNoValue},
                      DoubleCase{"+12.5", 3, 12.5}, DoubleCase{"12", 0, kNoValue},
                      DoubleCase{"12", 1, kNoValue}, DoubleCase{"x", 6, kNoValue},
                      DoubleCase{"X", 6, kNoValue}, DoubleCase{"x12", 6, kNoValue},
                      DoubleCase{"12x", 6, 12.0}, DoubleCase{"0", 5, 0.0},
                      DoubleCase{"0", 17, kNoValue}, DoubleCase{"0.000", 16, kNoValue},
                      DoubleCase{"0.001", 16, 0.001}, DoubleCase{"45 30 N", 9, 45.0},
                      DoubleCase{"-75 30 W", 10, -75.0}, DoubleCase{"-33S", 11, -33.0},
                      DoubleCase{"1 000", 15, 1.0}, DoubleCase{"", 4, kNoValue},
                      DoubleCase{"   ", 15, kNoValue}));

// What the runtime's atof makes of a valid text: the leading number only.
INSTANTIATE_TEST_SUITE_P(
    LeadingNumber, GetValidDouble,
    ::testing::Values(
        DoubleCase{"1.5e3", 2, 1500.0}, DoubleCase{"2.5E-1", 2, 0.25}, DoubleCase{"1e", 2, 1.0},
        DoubleCase{"1e+", 2, 1.0}, DoubleCase{"12.e1", 2, 120.0}, DoubleCase{"e5", 2, 0.0},
        DoubleCase{"+.5", 4, 0.5}, DoubleCase{".", 4, 0.0}, DoubleCase{"+-5", 4, 0.0},
        DoubleCase{"--5", 4, 0.0}, DoubleCase{"1.2.3", 4, 1.2}, DoubleCase{"5-3", 4, 5.0},
        DoubleCase{"0.1", 4, 0.1}, DoubleCase{"00012.50", 4, 12.5},
        DoubleCase{"123456789012345678", 4, 123456789012345678.0},
        // Correct rounding beyond 15 digits, on both sides of a tie.
        DoubleCase{"9007199254740993", 4, 9007199254740992.0},
        DoubleCase{"9007199254740995", 4, 9007199254740996.0},
        DoubleCase{"0.30000000000000004441", 4, 0.30000000000000004}, DoubleCase{"1e-400", 2, 0.0},
        DoubleCase{"1e400", 2, kNoValue}, DoubleCase{"-1e400", 2, kNoValue},
        DoubleCase{"1e99999999999999", 2, kNoValue},
        DoubleCase{"1.7976931348623157e308", 2, 1.7976931348623157e308}));

TEST_F(NumericEntry, TheCallerSeesTheStrippedText) {
    char text[] = " \t 12.5 \t\r\n";
    EXPECT_EQ(get_valid_double(text, 4), 12.5);
    EXPECT_STREQ(text, "12.5");
    char whole[] = "\t 42  ";
    EXPECT_EQ(get_valid_int32(whole, 8), 42);
    EXPECT_STREQ(whole, "42");
}

TEST_F(NumericEntry, UnitLettersFollowTheMetricFlag) {
    settings.metric_units = 1;
    EXPECT_DOUBLE_EQ(as_double("100f", 12), 100 * kMetresPerFoot);
    EXPECT_DOUBLE_EQ(as_double("100F", 14), 100 * kMetresPerFoot);
    EXPECT_EQ(as_double("100m", 12), 100.0);
    EXPECT_EQ(as_double("100", 12), 100.0);
    EXPECT_EQ(as_double("0f", 18), kNoValue);
    EXPECT_EQ(as_double("0f", 12), 0.0);
    EXPECT_DOUBLE_EQ(as_double("-2.5f", 14), -2.5 * kMetresPerFoot);

    // The flag is read afresh at every call.
    settings.metric_units = 0;
    EXPECT_DOUBLE_EQ(as_double("100m", 12), 100 / kMetresPerFoot);
    EXPECT_DOUBLE_EQ(as_double("100M", 13), 100 / kMetresPerFoot);
    EXPECT_EQ(as_double("100f", 12), 100.0);
    EXPECT_EQ(as_double("0f", 18), kNoValue);
    EXPECT_EQ(as_double("0m", 19), kNoValue);
    // The unit is the last character only.
    EXPECT_EQ(as_double("100m1", 12), 100.0);
}

TEST_F(NumericEntry, ConversionWithoutAFactorGivesNoValue) {
    constants.set_length_factor(0.0);
    init_jx5_util(constants.record(), settings.record());
    settings.metric_units = 0;
    EXPECT_EQ(as_double("100m", 12), kNoValue);
    EXPECT_EQ(as_double("100f", 12), 100.0); // nothing to convert
    settings.metric_units = 1;
    EXPECT_EQ(as_double("100f", 12), kNoValue);
}

TEST_F(NumericEntry, ConversionBeyondTheDoublesGivesNoValue) {
    settings.metric_units = 0;
    EXPECT_EQ(as_double("1" + std::string(308, '0') + "m", 12), kNoValue);
}

TEST_F(NumericEntry, NullAndOversizedTexts) {
    EXPECT_EQ(get_valid_double(nullptr, 4), kNoValue);
    EXPECT_EQ(get_valid_int32(nullptr, 8), kIntNoValue);
    EXPECT_EQ(as_double(std::string(300, ' '), 15), kNoValue);
    EXPECT_EQ(as_double("1" + std::string(299, '0'), 4), 1e299);
    EXPECT_EQ(as_double("1" + std::string(309, '0'), 4), kNoValue);
    EXPECT_EQ(as_double("0." + std::string(298, '0'), 16), kNoValue);
    EXPECT_EQ(as_int("1" + std::string(299, '0'), 7), kIntNoValue);
    EXPECT_EQ(as_int(std::string(300, '0'), 7), 0);
}

struct IntCase {
    const char* text;
    int type;
    int value;
};

class GetValidInt32 : public NumericEntry, public ::testing::WithParamInterface<IntCase> {};

TEST_P(GetValidInt32, ReadsTheValue) {
    const IntCase& c = GetParam();
    EXPECT_EQ(as_int(c.text, c.type), c.value) << "\"" << c.text << "\" type " << c.type;
}

INSTANTIATE_TEST_SUITE_P(
    Values, GetValidInt32,
    ::testing::Values(IntCase{" 42 ", 8, 42}, IntCase{"-42", 8, -42},
                      IntCase{"-42", 7, kIntNoValue}, IntCase{"+42", 7, 42}, IntCase{"12.9", 4, 12},
                      IntCase{"x", 5, 0}, IntCase{"x", 6, 0}, IntCase{"0", 17, 0},
                      IntCase{"1e5", 2, 1}, IntCase{"+-5", 8, 0}, IntCase{"-", 8, 0},
                      IntCase{"45 N", 9, 45}, IntCase{"12", 0, kIntNoValue},
                      IntCase{"12", 1, kIntNoValue}, IntCase{"", 8, kIntNoValue},
                      IntCase{"  ", 15, kIntNoValue}, IntCase{"100f", 12, 100}));

// The 32-bit range and one beyond it at either end.
INSTANTIATE_TEST_SUITE_P(Range, GetValidInt32,
                         ::testing::Values(IntCase{"2147483647", 8, INT_MAX},
                                           IntCase{"2147483648", 8, kIntNoValue},
                                           IntCase{"-2147483648", 8, INT_MIN},
                                           IntCase{"-2147483649", 8, kIntNoValue},
                                           IntCase{"99999999999999999999", 8, kIntNoValue},
                                           IntCase{"000000000000000000002147483647", 8, INT_MAX}));

TEST_F(NumericEntry, TheIntegerMarkerIsTheHosts) {
    constants.set_int_no_value(-32768);
    init_jx5_util(constants.record(), settings.record());
    EXPECT_EQ(as_int("abc", 8), -32768);
}

// Texts that read the same whatever the system's decimal separator; the
// separator's own cases are in the fault suite, which can set it.
TEST(SetFrequencyStr, TextsIndependentOfTheSeparator) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{7.125, "7.125"},
                 {222.222, ""},
                 {1234.56789012, "1234.56789012"},
                 {0.00000001, "0.00000001"},
                 {-3.125, "-3.125"},
                 {std::numeric_limits<double>::quiet_NaN(), ""},
                 {std::numeric_limits<double>::infinity(), ""},
                 {-std::numeric_limits<double>::infinity(), ""}};
    for (const auto& c : cases) {
        char buffer[32];
        std::memset(buffer, '#', sizeof buffer);
        set_frequency_str(buffer, sizeof buffer, c.value);
        EXPECT_STREQ(buffer, c.text) << c.value;
    }
}

TEST(SetFrequencyStr, TextsThatDoNotFitLeaveTheBufferEmpty) {
    char buffer[400];
    set_frequency_str(buffer, 6, 7.125);
    EXPECT_STREQ(buffer, "7.125");
    set_frequency_str(buffer, 5, 7.125);
    EXPECT_STREQ(buffer, "");
    set_frequency_str(buffer, 16, 1e300);
    EXPECT_STREQ(buffer, "");
    // The largest double has 309 digits before its point.
    set_frequency_str(buffer, sizeof buffer, -1.7976931348623157e308);
    EXPECT_EQ(std::string(buffer, 18), "-17976931348623157");
    EXPECT_GE(std::strlen(buffer), 311u);
    buffer[0] = '#';
    set_frequency_str(buffer, 0, 7.125);
    EXPECT_EQ(buffer[0], '#');
    set_frequency_str(nullptr, 16, 7.125); // must not crash
}

} // namespace
