// The trimmers, both readers of field n and the tokenizer.
#include "textimport_helpers.h"

#include <optional>

namespace jx::test {
namespace {

using Field = std::optional<std::string>;
const Field none = std::nullopt;

TEST(StripSpace, TrimsBlanksInFrontAndControlCodesBehind) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"  ab c \t\r\n", "ab c"},
        {"     ", ""},
        {"", ""},
        {"\t x", "x"},
        {"\r x", "\r x"},   // only blanks and tabs go in front
        {"x\x01\x1F", "x"}, // every code from 1 to 32 goes behind
        {"x\x7F", "x\x7F"},
        {"Bogot\xE1", "Bogot\xE1"}, // upper-half letters stay
        {"Bogot\xE1  ", "Bogot\xE1"},
        {" \xA0", "\xA0"},
    };
    for (const auto& c : cases) {
        std::string text = c.in;
        strip_space(text.data());
        EXPECT_EQ(std::string(text.c_str()), c.out) << '[' << c.in << ']';
    }
    strip_space(nullptr);
}

TEST(StripSpaceQuotes, TakesAnyMixOfBlanksAndQuotes) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {" \"name\" \r\n", "name"}, {"\"\"abc\"\"", "abc"},
        {"\t\" a b \"\t", "a b"},   {"\"\"\"", ""},
        {"x\x1F", "x\x1F"}, // only blanks, tabs, line ends and quotes go
        {"\r\nx", "\r\nx"},         {"it's \"", "it's"},
    };
    for (const auto& c : cases) {
        std::string text = c.in;
        strip_space_quotes(text.data());
        EXPECT_EQ(std::string(text.c_str()), c.out) << '[' << c.in << ']';
    }
}

TEST(StripSpaceQuotes, WideTextFollowsTheSameRules) {
    WCHAR text[] = {' ', '"', 'n', 0x00E9, ' ', 'x', '"', '\r', '\n', 0};
    strip_space_quotes_wide(text);
    const WCHAR expected[] = {'n', 0x00E9, ' ', 'x', 0};
    for (size_t i = 0; i < sizeof expected / sizeof expected[0]; ++i)
        EXPECT_EQ(text[i], expected[i]);
    WCHAR only_quotes[] = {'"', ' ', '"', 0};
    strip_space_quotes_wide(only_quotes);
    EXPECT_EQ(only_quotes[0], 0);
}

Field plain_field(const char* line, int n, char delimiter, int size = 80) {
    char out[80] = "untouched";
    if (!get_field_data(line, n, out, size, delimiter)) {
        EXPECT_STREQ(out, "untouched");
        return none;
    }
    return std::string(out);
}

TEST(GetFieldData, ReadsFieldsWithoutQuoteHandling) {
    const struct {
        const char* line;
        char delimiter;
        int n;
        Field field;
    } cases[] = {
        {"  12  34 56", ' ', 0, "12"},
        {"  12  34 56", ' ', 1, "34"},
        {"  12  34 56", ' ', 2, "56"},
        {"  12  34 56", ' ', 3, none},
        {"a b ", ' ', 2, none},     // trailing blanks hold no field
        {"a\tb c", ' ', 0, "a\tb"}, // tabs are text in blank mode
        {"a, b ,,\"c\"", ',', 0, "a"},
        {"a, b ,,\"c\"", ',', 1, "b"},
        {"a, b ,,\"c\"", ',', 2, ""},
        {"a, b ,,\"c\"", ',', 3, "c"},
        {"a, b ,,\"c\"", ',', 4, none},
        {"\"x,y\",z", ',', 0, "x"}, // quotes do not protect delimiters here
        {"\"x,y\",z", ',', 1, "y"},
        {"a,", ',', 1, ""},
        {"", ',', 0, ""},
        {"", ' ', 0, ""},
        {"a;b", ',', 0, "a;b"},
        {"a,b", ',', -3, "a"}, // a negative field number reads field 0
        {" Bogot\xE1 ;x", ';', 0, "Bogot\xE1"},
        {"\" padded \"", ',', 0, " padded "},
        {"a,b", '\0', 0, "a,b"}, // no delimiter: one field
        {"a,b", '\0', 1, none},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plain_field(c.line, c.n, c.delimiter), c.field)
            << '[' << c.line << "] field " << c.n;
}

Field quoted_field(const char* line, int n, char delimiter, char quote, int size = 80) {
    char out[80] = "untouched";
    if (!GetFieldData(line, n, out, size, delimiter, quote)) {
        EXPECT_STREQ(out, "untouched");
        return none;
    }
    return std::string(out);
}

TEST(GetFieldDataQuoted, QuotesProtectDelimiters) {
    const struct {
        const char* line;
        char delimiter;
        char quote;
        int n;
        Field field;
    } cases[] = {
        {"\"x,y\", z", ',', '"', 0, "x,y"},
        {"\"x,y\", z", ',', '"', 1, "z"},
        {"\"x,y\", z", ',', '"', 2, none},
        {"a ,b", ',', '"', 0, "a "}, // blanks before a delimiter stay
        {"a,", ',', '"', 1, ""},
        {"a,b,", ',', '"', 2, ""},
        {"\"open,b", ',', '"', 0, "open,b"}, // no closing quote: to the end
        {"\"open,b", ',', '"', 1, none},
        {"a,,b", ',', '"', 1, ""},
        {"a,,b", ',', '"', 2, "b"},
        {"\"x,y\",z", ',', '\0', 0, "x"}, // quote 0: no protection
        {"\"x,y\",z", ',', '\0', 1, "y"},
        {"'a,b',c", ',', '\'', 0, "'a,b'"}, // only double quotes are cleaned off
        {"\"New York\" 12", ' ', '"', 0, "New York"},
        {"\"New York\" 12", ' ', '"', 1, "12"},
        {"  a  b", ' ', '"', 1, "b"},
        {"a b ", ' ', '"', 2, none},
        {"a b ", ' ', '"', 1, "b"},
        {"\"New York", ' ', '"', 0, "New York"},
        {"\"New York", ' ', '"', 1, none},
        {"", ',', '"', 0, ""},
        {"", ' ', '"', 0, ""},
        {"a,b", ',', '"', -1, "a"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(quoted_field(c.line, c.n, c.delimiter, c.quote), c.field)
            << '[' << c.line << "] field " << c.n;
}

// A field that does not fit the destination, terminator included, is
// refused and the destination keeps what it held.
TEST(FieldReaders, RefuseAFieldThatDoesNotFit) {
    EXPECT_EQ(plain_field("abcd,e", 0, ',', 5), "abcd");
    EXPECT_EQ(plain_field("abcde,e", 0, ',', 5), none);
    EXPECT_EQ(plain_field("  abcd  ,e", 0, ',', 5), "abcd"); // judged after trimming
    EXPECT_EQ(plain_field("a", 0, ',', 0), none);
    EXPECT_EQ(quoted_field("\"abcd\",e", 0, ',', '"', 5), "abcd");
    EXPECT_EQ(quoted_field("abcde,e", 0, ',', '"', 5), none);
    EXPECT_FALSE(get_field_data(nullptr, 0, nullptr, 10, ','));
    EXPECT_FALSE(GetFieldData("a", 0, nullptr, 10, ',', '"'));
}

std::vector<std::string> tokens(std::string& text, char delimiter) {
    std::vector<std::string> out;
    for (char* t = get_delimited_fields(text.data(), delimiter); t;
         t = get_delimited_fields(nullptr, delimiter))
        out.emplace_back(t);
    return out;
}

TEST(GetDelimitedFields, ReportsEmptyFieldsButNotAFinalOne) {
    const struct {
        std::string text;
        std::vector<std::string> tokens;
    } cases[] = {
        {"a;b", {"a", "b"}},  {"a;;b", {"a", "", "b"}},
        {"a;b;", {"a", "b"}}, {";a", {"", "a"}},
        {"", {""}},           {";", {""}},
    };
    for (auto c : cases) EXPECT_EQ(tokens(c.text, ';'), c.tokens) << c.text;
    EXPECT_EQ(get_delimited_fields(nullptr, ';'), nullptr); // stays used up
}

} // namespace
} // namespace jx::test
