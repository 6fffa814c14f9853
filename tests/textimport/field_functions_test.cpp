// The trimmers, both readers of field n and the tokenizer.
#include "textimport_helpers.h"

#include <algorithm>
#include <optional>

namespace jx::test {
namespace {

using Field = std::optional<std::string>;
const Field none = std::nullopt;

TEST(Trimmers, TrimInPlace) {
    const struct {
        void (*trim)(char*);
        const char* in;
        const char* out;
    } cases[] = {
        {strip_space, "  ab c \t\r\n", "ab c"},
        {strip_space, "     ", ""},
        {strip_space, "\r x", "\r x"}, // only blanks and tabs go in front
        {strip_space, "x\x01\x1F", "x"},
        {strip_space, "x\x7F", "x\x7F"},
        {strip_space, "Bogot\xE1  ", "Bogot\xE1"}, // upper-half letters stay
        {strip_space_quotes, " \"name\" \r\n", "name"},
        {strip_space_quotes, "\"\"\"", ""},
        {strip_space_quotes, "x\x1F", "x\x1F"},
    };
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

TEST(FieldReaders, FieldNOfALine) {
    const struct {
        const char* line;
        char delimiter;
        int quote;
        int n;
        Field field;
        int size;
    } cases[] = {
        // Blank mode: runs of blanks separate, tabs are text.
        {"  12  34 56", ' ', kPlain, 1, "34", 80},
        {"  12  34 56", ' ', kPlain, 3, none, 80},
        {"a b ", ' ', kPlain, 2, none, 80},
        {"a\tb c", ' ', kPlain, 0, "a\tb", 80},
        // Every delimiter separates; the plain reader's quotes protect nothing.
        {"a, b ,,\"c\"", ',', kPlain, 2, "", 80},
        {"a, b ,,\"c\"", ',', kPlain, 3, "c", 80},
        {"a, b ,,\"c\"", ',', kPlain, 4, none, 80},
        {"\"x,y\",z", ',', kPlain, 1, "y", 80},
        {"", ',', kPlain, 0, "", 80},
        {"a,b", ',', kPlain, -3, "a", 80},
        {" Bogot\xE1 ;x", ';', kPlain, 0, "Bogot\xE1", 80},
        // Quote-aware: blanks before a delimiter stay, an open quote runs on.
        {"\"x,y\", z", ',', '"', 0, "x,y", 80},
        {"\"x,y\", z", ',', '"', 1, "z", 80},
        {"\"x,y\", z", ',', '"', 2, none, 80},
        {"a ,b", ',', '"', 0, "a ", 80},
        {"a,", ',', '"', 1, "", 80},
        {"\"open,b", ',', '"', 0, "open,b", 80},
        {"\"open,b", ',', '"', 1, none, 80},
        {"\"x,y\",z", ',', 0, 1, "y", 80},
        {"'a,b',c", ',', '\'', 0, "'a,b'", 80}, // only double quotes are cleaned off
        {"", ' ', '"', 0, "", 80},
        {"\"New York\" 12", ' ', '"', 0, "New York", 80},
        {"\"New York\" 12", ' ', '"', 1, "12", 80},
        {"a b ", ' ', '"', 2, none, 80},
        {"\"New York", ' ', '"', 1, none, 80},
        // The field must fit with its terminator, as it is after trimming.
        {"  abcd  ,e", ',', kPlain, 0, "abcd", 5},
        {"abcde,e", ',', kPlain, 0, none, 5},
        {"\"abcd\",e", ',', '"', 0, "abcd", 5},
        {"abcde,e", ',', '"', 0, none, 5},
    };
    for (const auto& c : cases) {
        char out[80] = "untouched";
        const bool found = c.quote == kPlain
                               ? get_field_data(c.line, c.n, out, c.size, c.delimiter)
                               : GetFieldData(c.line, c.n, out, c.size, c.delimiter, char(c.quote));
        EXPECT_EQ(found ? Field(out) : none, c.field) << '[' << c.line << "] " << c.n;
        EXPECT_STREQ(out, found ? out : "untouched") << c.line;
    }
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
