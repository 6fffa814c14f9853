// Speed of the text import on a large table: reading it into a string_list,
// and the whole import (reading, preview, layout and every field of every
// line).
//
//   bench_textimport_load                      Google Benchmark runs over a
//                                              generated table of 200,000 lines
//   bench_textimport_load --load FILE [RUNS]   prints the best string_list load
//   bench_textimport_load --import FILE [RUNS] prints the best whole import
//   bench_textimport_load --write FILE LINES   writes a generated table
//
// The two timed modes serve bench/compare_import.sh, which puts the figures
// beside wc -l and Python's csv module on the same file.
#include "jx6ut.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

// One line of the generated table: a quoted site name, two coordinates, two
// heights and a frequency, about 60 bytes.
std::string table_line(long i) {
    char line[128];
    std::snprintf(line, sizeof line, "\"Site %07ld, ridge\",%.6f,%.6f,%ld.5,%ld,%ld.000\r\n", i,
                  40.0 + (i % 90000) / 10000.0, 3.0 + (i % 70000) / 10000.0, 100 + i % 3000,
                  10 + i % 50, 7000 + i % 16000);
    return line;
}

bool write_table(const std::string& path, long lines) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    for (long i = 0; i < lines; ++i) std::fputs(table_line(i).c_str(), out);
    return std::fclose(out) == 0;
}

// Reads the whole table as the site import would: comma, quotes, every
// column of every line. Like `len(row)` on the Python side, the fields are
// only counted (with their first bytes, so that nothing is optimised away).
long long import_table(const char* path) {
    Error_Handler record;
    txtimport_format format(&record, path, 0, 1, true);
    format.delimiter_type = 0;
    format.use_quotes = true;
    format.set_delimiter();
    format.read_disp_lines();
    format.set_col_widths();
    format.set_col_fields();
    long long characters = 0;
    int index = 0;
    if (!format.init_import()) return 0;
    while (format.set_line_buffer(index)) {
        for (int c = 0; c < format.num_columns; ++c) {
            if (const char* field = format.get_field(c)) characters += 1 + (field[0] & 1);
        }
    }
    return characters;
}

long long load_list(const char* path) {
    Error_Handler record;
    string_list list(&record, path);
    return list.count;
}

const std::string& bench_table() {
    static const std::string path = [] {
        const std::string name =
            (std::filesystem::temp_directory_path() / "jx6ut-bench-table.csv").string();
        return write_table(name, 200000) ? name : std::string();
    }();
    return path;
}

void StringListLoad(benchmark::State& state) {
    const std::string& path = bench_table();
    for (auto _ : state) benchmark::DoNotOptimize(load_list(path.c_str()));
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(StringListLoad)->Unit(benchmark::kMillisecond);

void WholeImport(benchmark::State& state) {
    const std::string& path = bench_table();
    for (auto _ : state) benchmark::DoNotOptimize(import_table(path.c_str()));
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(WholeImport)->Unit(benchmark::kMillisecond);

void QuotedFieldReader(benchmark::State& state) {
    const std::string line = table_line(12345);
    char field[80];
    for (auto _ : state)
        for (int n = 0; n < 6; ++n)
            benchmark::DoNotOptimize(GetFieldData(line.c_str(), n, field, sizeof field, ',', '"'));
    state.SetItemsProcessed(state.iterations() * 6);
}
BENCHMARK(QuotedFieldReader);

[[noreturn]] void fail(Error_Handler* failed) {
    const char* message = failed->get_errormsg();
    std::fprintf(stderr, "%s", message ? message : "the table cannot be read\n");
    std::exit(1);
}

// Best of `runs` loads into a string_list, in milliseconds; the time to
// release the list afterwards is not counted.
double best_load_ms(const char* path, int runs, long long& lines) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        Error_Handler record;
        string_list list;
        const auto start = Clock::now();
        try {
            list.init_string_list(&record, path);
        } catch (Error_Handler* failed) {
            fail(failed);
        }
        const std::chrono::duration<double, std::milli> took = Clock::now() - start;
        best = std::min(best, took.count());
        lines = list.count;
    }
    return best;
}

// Best of `runs` whole imports, from opening the file to the last field.
double best_import_ms(const char* path, int runs, long long& characters) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        try {
            characters = import_table(path);
        } catch (Error_Handler* failed) {
            fail(failed);
        }
        const std::chrono::duration<double, std::milli> took = Clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && !std::strcmp(argv[1], "--write"))
        return write_table(argv[2], std::atol(argv[3])) ? 0 : 1;
    if (argc >= 3 && (!std::strcmp(argv[1], "--load") || !std::strcmp(argv[1], "--import"))) {
        const char* path = argv[2];
        const int runs = argc >= 4 ? std::max(1, std::atoi(argv[3])) : 5;
        long long result = 0;
        if (!std::strcmp(argv[1], "--load")) {
            const double ms = best_load_ms(path, runs, result);
            std::printf("string_list load: %.1f ms, %lld lines\n", ms, result);
        } else {
            const double ms = best_import_ms(path, runs, result);
            std::printf("whole import: %.1f ms, %lld field count\n", ms, result);
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(bench_table());
    return 0;
}
