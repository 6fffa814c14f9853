// Shared pieces of the text import tests: data files in a fresh folder and
// formats built from them.
#pragma once

#include "jx6ut.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace jx::test {

// The lines of a list, as strings.
inline std::vector<std::string> lines_of(const string_list& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.count; ++i) out.emplace_back(list.strings[i]);
    return out;
}

// A data file written into its own folder, read into a format.
class ImportFixture : public ::testing::Test {
protected:
    TempDir dir;
    Error_Handler record;

    std::unique_ptr<txtimport_format> format_of(const std::string& text, int kinds = 0,
                                                int definition_type = 1, bool per_column = true) {
        const std::string path = dir.write("data.txt", text);
        return std::make_unique<txtimport_format>(&record, path.c_str(), kinds, definition_type,
                                                  per_column);
    }

    // A delimited format with its preview laid out.
    std::unique_ptr<txtimport_format> delimited(const std::string& text, BYTE type,
                                                bool quotes = false, bool merge = false) {
        auto f = format_of(text);
        f->delimiter_type = type;
        f->use_quotes = quotes;
        f->merge_delimiters = merge;
        f->set_delimiter();
        f->read_disp_lines();
        f->set_col_widths();
        f->set_col_fields();
        return f;
    }

    // A fixed-width format with the given column starts (0 is always one).
    std::unique_ptr<txtimport_format> fixed(const std::string& text,
                                            const std::vector<unsigned>& starts) {
        auto f = format_of(text);
        f->fixed_width = true;
        f->read_disp_lines();
        f->set_col_widths();
        for (unsigned p : starts)
            if (p != 0) {
                EXPECT_TRUE(f->set_fixed_column(p)) << p;
            }
        f->set_col_fields();
        return f;
    }
};

inline std::vector<int> positions_of(const txtimport_format& f) {
    if (!f.col_positions) return {};
    return std::vector<int>(f.col_positions, f.col_positions + f.num_columns + 1);
}

inline std::vector<int> fields_of(const txtimport_format& f) {
    if (!f.col_fields) return {};
    return std::vector<int>(f.col_fields, f.col_fields + f.num_col_fields);
}

} // namespace jx::test
