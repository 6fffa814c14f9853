// The trimmers, both readers of field n and the tokenizer.
#include "textimport_helpers.h"

#include <algorithm>
#include <optional>

namespace jx::test {
namespace {

using Field = std::optional<std::string>;
const Field none = std::nullopt;

// strip_space takes blanks and tabs in front and codes 1 to 32 behind, so
// letters of the upper half stay; strip_space_quotes takes any mix of blanks,
// tabs, line ends and double quotes at either end, and nothing else.
TEST(Trimmers, TrimInPlace) {
    const struct {
        void (*trim)(char*);
        const char *in, *out;
    } cases[] = {
        {strip_space, "  ab c \t\r\n", "ab c"},         {strip_space, "     ", ""},
        {strip_space, "\r x\x01\x1F", "\r x"},          {strip_space, "x\x7F", "x\x7F"},
        {strip_space, "Bogot\xE1  ", "Bogot\xE1"},      {strip_space_quotes, "\"\"\"", ""},
        {strip_space_quotes, " \"name\" \r\n", "name"}, {strip_space_quotes, "x\x1F", "x\x1F"}};
    for (const auto& c : cases) {
        std::string text = c.in;
        c.trim(text.data());
        EXPECT_EQ(std::string(text.c_str()), c.out) << '[' << c.in << ']';
    }
    strip_space(nullptr);
    WCHAR wide[] = {' ', '"', 'n', 0x00E9, ' ', 'x', '"', '\r', '\n', 0};
    const WCHAR trimmed[] = {'n', 0x00E9, ' ', 'x', 0};
    strip_space_quotes_wide(wide);
    EXPECT_TRUE(std::equal(trimmed, trimmed + 5, wide));
}

constexpr int kPlain = -1; // get_field_data, which knows no quote character

// Every field of a line, joined by '|'. Each field must fit a destination of
// its length and terminator, and not one byte less; a negative n reads field
// 0; a refusal leaves the destination untouched.
std::string fields(const char* line, char delimiter, int quote) {
    const auto read = [&](int n, size_t size) {
        char out[80] = "untouched";
        const bool found = quote == kPlain
                               ? get_field_data(line, n, out, int(size), delimiter)
                               : GetFieldData(line, n, out, int(size), delimiter, char(quote));
        EXPECT_STREQ(out, found ? out : "untouched") << line;
        return found ? Field(out) : none;
    };
    EXPECT_EQ(read(-2, 80), read(0, 80)) << line;
    std::string joined;
    for (int n = 0; n < 9; ++n) {
        const Field field = read(n, 80);
        if (!field) break;
        joined += (n ? "|" : "") + *field;
        EXPECT_EQ(read(n, field->size() + 1), field) << line;
        EXPECT_EQ(read(n, field->size()), none) << line;
    }
    return joined;
}

TEST(FieldReaders, EveryFieldOfALine) {
    // Blank mode: tabs are text, and blanks at the end hold no field.
    EXPECT_EQ(fields("  12  34 56", ' ', kPlain), "12|34|56");
    EXPECT_EQ(fields("a\tb c ", ' ', kPlain), "a\tb|c");
    EXPECT_EQ(fields("", ' ', kPlain), "");
    // The plain reader trims as strip_space does, then takes off one quote at
    // each end; its quotes protect nothing.
    EXPECT_EQ(fields(" a , b ,,\"c\"", ',', kPlain), "a|b||c");
    EXPECT_EQ(fields(" Bogot\xE1 ;\"\"", ';', kPlain), "Bogot\xE1|");
    EXPECT_EQ(fields("\"x,y\",z", ',', kPlain), "x|y|z");
    // The other keeps blanks before a delimiter, runs to the end of the line
    // when a quote is left open, and cleans off double quotes only.
    EXPECT_EQ(fields("\"x,y\", z", ',', '"'), "x,y|z");
    EXPECT_EQ(fields("\"x,y\",z", ',', 0), "x|y|z");
    EXPECT_EQ(fields("a ,b,", ',', '"'), "a |b|");
    EXPECT_EQ(fields("\"open,b", ',', '"'), "open,b");
    EXPECT_EQ(fields("'a,b',c", ',', '\''), "'a,b'|c");
    EXPECT_EQ(fields("", ',', '"'), "");
    EXPECT_EQ(fields("\"New York\"  12 ", ' ', '"'), "New York|12");
    EXPECT_EQ(fields("\"New York", ' ', '"'), "New York");
}

TEST(GetDelimitedFields, ReportsEmptyFieldsButNotAFinalOne) {
    const struct {
        std::string text;
        Strings tokens;
    } cases[] = {{"a;b", {"a", "b"}},  {"a;;b", {"a", "", "b"}},
                 {"a;b;", {"a", "b"}}, {";a", {"", "a"}},
                 {"", {""}},           {";", {""}}};
    for (auto c : cases) {
        Strings tokens;
        for (char* t = get_delimited_fields(c.text.data(), ';'); t;
             t = get_delimited_fields(nullptr, ';'))
            tokens.emplace_back(t);
        EXPECT_EQ(tokens, c.tokens) << c.text;
    }
    // The string is gone: a used-up splitting must not read it again.
    EXPECT_EQ(get_delimited_fields(nullptr, ';'), nullptr);
}

} // namespace
} // namespace jx::test
