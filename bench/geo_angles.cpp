// Angle texts: a DegDec_Str / DegStr_Dec round trip against snprintf of the
// same three integers (degrees, minutes, seconds), in the same run.
#include "jx6ut.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Latitudes spread over the whole range, each with its three integers.
struct Sample {
    double angle;
    int degrees, minutes, seconds;
};

std::vector<Sample> samples() {
    std::vector<Sample> out;
    for (int i = 0; i < 1024; ++i) {
        const double angle = -89.0 + 178.0 * i / 1023.0 + 0.000123 * (i % 7);
        const double x = (angle < 0 ? -angle : angle) * 3600.0;
        const int degrees = static_cast<int>(x / 3600);
        const int minutes = static_cast<int>((x - degrees * 3600.0) / 60);
        const int seconds = static_cast<int>(x - degrees * 3600.0 - minutes * 60.0);
        out.push_back({angle, degrees, minutes, seconds});
    }
    return out;
}

void BM_DegDecStr_DegStrDec_RoundTrip(benchmark::State& state) {
    const std::vector<Sample> input = samples();
    const int decimals = static_cast<int>(state.range(0));
    size_t i = 0;
    char text[32];
    for (auto _ : state) {
        DegDec_Str(text, sizeof text, ang_latitude, decimals, input[i].angle);
        double back;
        DegStr_Dec(text, ang_latitude, back, true);
        benchmark::DoNotOptimize(back);
        i = (i + 1) % input.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DegDecStr_DegStrDec_RoundTrip)->Arg(0)->Arg(2);

void BM_DegDecStr(benchmark::State& state) {
    const std::vector<Sample> input = samples();
    size_t i = 0;
    char text[32];
    for (auto _ : state) {
        DegDec_Str(text, sizeof text, ang_latitude, 2, input[i].angle);
        benchmark::DoNotOptimize(text);
        i = (i + 1) % input.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DegDecStr);

void BM_DegStrDec(benchmark::State& state) {
    const std::vector<Sample> input = samples();
    std::vector<std::string> texts;
    for (const Sample& s : input) {
        char text[32];
        DegDec_Str(text, sizeof text, ang_latitude, 2, s.angle);
        texts.push_back(text);
    }
    size_t i = 0;
    char text[32];
    for (auto _ : state) {
        std::memcpy(text, texts[i].c_str(), texts[i].size() + 1);
        double back;
        DegStr_Dec(text, ang_latitude, back, true);
        benchmark::DoNotOptimize(back);
        i = (i + 1) % texts.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DegStrDec);

// The reference: the three integers formatted by the C runtime.
void BM_Reference_snprintf_three_integers(benchmark::State& state) {
    const std::vector<Sample> input = samples();
    size_t i = 0;
    char text[32];
    for (auto _ : state) {
        std::snprintf(text, sizeof text, "%02d %02d %02d", input[i].degrees, input[i].minutes,
                      input[i].seconds);
        benchmark::DoNotOptimize(text);
        i = (i + 1) % input.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Reference_snprintf_three_integers);

} // namespace

BENCHMARK_MAIN();
