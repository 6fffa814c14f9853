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

// Every character between two ones: "1c1" reads as a nonzero number whatever
// c is, so the text has a value exactly when c is in the type's set.
TEST_F(NumericEntry, EveryTypeAcceptsExactlyItsCharacters) {
    const char* const accepted[20] = {"",
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
                                      "+.1234567890xXfFmM"};
    for (int type = 0; type < 256; ++type) {
        for (int code = 1; code < 256; ++code) {
            const char c = static_cast<char>(code);
            const bool in_set = type < 20 && code < 128 && std::strchr(accepted[type], c);
            const std::string text = std::string("1") + c + "1";
            EXPECT_EQ(as_double(text, type) != kNoValue, in_set) << type << " " << code;
            EXPECT_EQ(as_int(text, type) != kIntNoValue, in_set) << type << " " << code;
        }
    }
}

TEST_F(NumericEntry, DoublesReadAsTheRuntimeReadsThem) {
    const struct {
        const char* text;
        int type;
        double value;
    } cases[] = {{" \t12.5 \r\n", 4, 12.5},
                 {"-12.5", 3, kNoValue},
                 {"-12.5", 4, -12.5},
                 {"x12", 6, kNoValue},
                 {"12x", 6, 12.0},
                 {"0", 5, 0.0},
                 {"0.000", 17, kNoValue},
                 {"45 30 N", 9, 45.0},
                 {"", 4, kNoValue},
                 {"1.5e3", 2, 1500.0},
                 {"1e+", 2, 1.0},
                 {"12.e1", 2, 120.0},
                 {"e5", 2, 0.0},
                 {"+-5", 4, 0.0},
                 {"1.2.3", 4, 1.2},
                 // Correct rounding beyond 15 digits, on both sides of a tie.
                 {"9007199254740993", 4, 9007199254740992.0},
                 {"9007199254740995", 4, 9007199254740996.0},
                 {"1e-400", 2, 0.0},
                 {"1e400", 2, kNoValue},
                 {"1e99999999999999", 2, kNoValue}};
    for (const auto& c : cases)
        EXPECT_EQ(as_double(c.text, c.type), c.value) << "\"" << c.text << "\" type " << c.type;
}

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
    EXPECT_DOUBLE_EQ(as_double("100F", 12), 100 * kMetresPerFoot);
    EXPECT_EQ(as_double("100m", 12), 100.0);
    EXPECT_EQ(as_double("0f", 18), kNoValue);
    EXPECT_EQ(as_double("0f", 12), 0.0);
    settings.metric_units = 0; // read afresh at every call
    EXPECT_DOUBLE_EQ(as_double("100M", 13), 100 / kMetresPerFoot);
    EXPECT_EQ(as_double("100f", 12), 100.0);
    EXPECT_EQ(as_double("100m1", 12), 100.0); // the unit is the last character only
    EXPECT_EQ(as_double("1" + std::string(308, '0') + "m", 12), kNoValue); // beyond the doubles
}

TEST_F(NumericEntry, ConversionWithoutAFactorGivesNoValue) {
    constants.set_length_factor(0.0);
    init_jx5_util(constants.record(), settings.record());
    EXPECT_EQ(as_double("100m", 12), kNoValue);
    EXPECT_EQ(as_double("100f", 12), 100.0); // nothing to convert
}

TEST_F(NumericEntry, NullAndOversizedTexts) {
    EXPECT_EQ(get_valid_double(nullptr, 4), kNoValue);
    EXPECT_EQ(get_valid_int32(nullptr, 8), kIntNoValue);
    EXPECT_EQ(as_double(std::string(300, ' '), 15), kNoValue);
    EXPECT_EQ(as_double("1" + std::string(299, '0'), 4), 1e299);
    EXPECT_EQ(as_double("1" + std::string(309, '0'), 4), kNoValue);
    EXPECT_EQ(as_int("1" + std::string(299, '0'), 7), kIntNoValue);
}

// atoi's reading, the 32-bit range and one beyond it at either end.
TEST_F(NumericEntry, IntegersReadAsTheRuntimeReadsThemWithinTheirRange) {
    const struct {
        const char* text;
        int type;
        int value;
    } cases[] = {{"-42", 7, kIntNoValue},
                 {"-42", 8, -42},
                 {"12.9", 4, 12},
                 {"x", 5, 0},
                 {"1e5", 2, 1},
                 {"+-5", 8, 0},
                 {"0", 17, 0},
                 {"  ", 15, kIntNoValue},
                 {"2147483647", 8, INT_MAX},
                 {"2147483648", 8, kIntNoValue},
                 {"-2147483648", 8, INT_MIN},
                 {"-2147483649", 8, kIntNoValue}};
    for (const auto& c : cases)
        EXPECT_EQ(as_int(c.text, c.type), c.value) << "\"" << c.text << "\" type " << c.type;
    constants.set_int_no_value(-32768);
    init_jx5_util(constants.record(), settings.record());
    EXPECT_EQ(as_int("abc", 8), -32768);
}

// Texts that read the same whatever the system's decimal separator; the
// separator's own cases are in the fault suite, which can set it.
TEST(SetFrequencyStr, WritesBoundedTexts) {
    const struct {
        double value;
        unsigned size;
        const char* text;
    } cases[] = {{7.125, 32, "7.125"},
                 {1234.56789012, 32, "1234.56789012"},
                 {222.222, 32, ""},
                 {std::numeric_limits<double>::quiet_NaN(), 32, ""},
                 {-std::numeric_limits<double>::infinity(), 32, ""},
                 {7.125, 6, "7.125"},
                 {7.125, 5, ""},
                 {1e300, 16, ""}};
    for (const auto& c : cases) {
        char buffer[32];
        std::memset(buffer, '#', sizeof buffer);
        set_frequency_str(buffer, c.size, c.value);
        EXPECT_STREQ(buffer, c.text) << c.value << " in " << c.size;
    }
    char huge[400];
    set_frequency_str(huge, sizeof huge, -1.7976931348623157e308); // 309 digits before the point
    EXPECT_EQ(std::string(huge, 18), "-17976931348623157");
    set_frequency_str(nullptr, 16, 7.125);
}

} // namespace
