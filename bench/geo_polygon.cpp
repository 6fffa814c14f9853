// pointInPoly on a 1,000-vertex polygon against a plain ray-casting loop, in
// the same run.
#include "jx6ut.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kVertices = 1000;

// A star-shaped polygon: a circle whose radius wobbles, so that edges lean
// every way and a ray crosses several of them.
std::vector<dPOINT> polygon() {
    std::vector<dPOINT> points(kVertices);
    for (int i = 0; i < kVertices; ++i) {
        const double angle = 2 * 3.14159265358979323846 * i / kVertices;
        const double radius = 100 + 20 * std::sin(angle * 17);
        points[i] = {radius * std::cos(angle), radius * std::sin(angle)};
    }
    return points;
}

std::vector<dPOINT> queries() {
    std::vector<dPOINT> points;
    for (int i = 0; i < 256; ++i)
        points.push_back({-130.5 + (i * 37) % 260, -130.5 + (i * 91) % 260});
    return points;
}

// The textbook crossing test, written out for comparison.
int reference_inside(double x, double y, const dPOINT* p, int n) {
    bool inside = false;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        if (((p[i].y > y) != (p[j].y > y)) &&
            (x < (p[j].x - p[i].x) * (y - p[i].y) / (p[j].y - p[i].y) + p[i].x))
            inside = !inside;
    }
    return inside ? 1 : 0;
}

void BM_pointInPoly(benchmark::State& state) {
    std::vector<dPOINT> shape = polygon();
    const std::vector<dPOINT> points = queries();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pointInPoly(points[i].x, points[i].y, shape.data(), kVertices));
        i = (i + 1) % points.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_pointInPoly);

void BM_Reference_ray_casting(benchmark::State& state) {
    std::vector<dPOINT> shape = polygon();
    const std::vector<dPOINT> points = queries();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            reference_inside(points[i].x, points[i].y, shape.data(), kVertices));
        i = (i + 1) % points.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Reference_ray_casting);

} // namespace

BENCHMARK_MAIN();
