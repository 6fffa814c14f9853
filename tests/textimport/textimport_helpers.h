// Shared pieces of the text import tests: data files in a fresh folder and
// formats built from them as the host's dialog builds them.
#pragma once

#include "jx6ut.h"
#include "support/message_boxes.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace jx::test {

using Ints = std::vector<int>;
using Strings = std::vector<std::string>;

inline Strings lines_of(const string_list& list) {
    return Strings(list.strings, list.strings + list.count);
}
inline Ints positions_of(const txtimport_format& f) {
    return f.col_positions ? Ints(f.col_positions, f.col_positions + f.num_columns + 1) : Ints{};
}
inline Ints fields_of(const txtimport_format& f) {
    return f.col_fields ? Ints(f.col_fields, f.col_fields + f.num_col_fields) : Ints{};
}

class ImportFixture : public ::testing::Test {
protected:
    TempDir dir;
    Error_Handler record;

    // Kind mode when `kinds` is given, per-column mode otherwise.
    std::unique_ptr<txtimport_format> format_of(const std::string& text, int kinds = 0,
                                                int type = 1) {
        const std::string path = dir.write("data.txt", text);
        return std::make_unique<txtimport_format>(&record, path.c_str(), kinds, type, kinds == 0);
    }

    // Delimited, or fixed width with the given column starts besides 0.
    std::unique_ptr<txtimport_format> laid_out(const std::string& text, BYTE type,
                                               bool quotes = false, bool merge = false,
                                               const std::vector<unsigned>& starts = {},
                                               int kinds = 0) {
        auto f = format_of(text, kinds);
        f->delimiter_type = type;
        f->use_quotes = quotes;
        f->merge_delimiters = merge;
        f->fixed_width = !starts.empty();
        f->set_delimiter();
        f->read_disp_lines();
        f->set_col_widths();
        for (unsigned p : starts) EXPECT_TRUE(f->set_fixed_column(p)) << p;
        f->set_col_fields();
        return f;
    }
};

} // namespace jx::test
