// How long the on-demand evaluation takes on the largest run a measurement
// can hold (16000 revolutions), alone and for a diagram of seven runs.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "EvaluationCursor.h"
#include "Settings.h"

namespace {

// A run-up from 8 to 40 roller revolutions per second over 12000
// revolutions, then a coast-down to 30 over 4000, with a little jitter.
Measurement longRun(int variant) {
    Measurement m;
    m.sampleCount = kMaxSamples;
    m.gearRatio = 3.0;
    m.inertia = 7.05;
    m.circumference = 1.25;
    m.temperature = 21;
    m.pressure = 1002;
    m.humidity = 45;
    m.times.reserve(kMaxSamples);
    double t = 0;
    unsigned seed = 12345u + unsigned(variant);
    for (int k = 0; k < kMaxSamples; ++k) {
        const double rps = k < 12000 ? 8.0 + 32.0 * k / 12000 : 40.0 - 10.0 * (k - 12000) / 4000;
        t += 2000000.0 / rps;
        seed = seed * 1103515245u + 12345u;
        m.times.push_back(int32_t(t) + int32_t(seed >> 16) % 41 - 20);
    }
    return m;
}

EvaluationOptions engineDin() {
    EvaluationOptions o;
    o.powerMode = kPowerAtEngine;
    o.correction = 1;
    o.lossTime = 3.0;
    return o;
}

// Reports time per sample and per evaluation point besides time per call.
void perUnit(benchmark::State& state, double samples, double points) {
    using benchmark::Counter;
    state.counters["per_sample"] = Counter(samples, Counter::kIsIterationInvariantRate | Counter::kInvert);
    state.counters["per_point"] = Counter(points, Counter::kIsIterationInvariantRate | Counter::kInvert);
    state.counters["points"] = points;
}

int countPoints(EvaluationCursor& cursor, Measurement& m) {
    int points = 1;
    cursor.rewind(m);
    while (cursor.advance()) ++points;
    return points;
}

void BM_Evaluate(benchmark::State& state) {
    Settings calibration;
    const EvaluationOptions options = engineDin();
    EvaluationCursor cursor(options, calibration);
    Measurement m = longRun(0);
    for (auto _ : state) {
        cursor.evaluate(m);
        benchmark::DoNotOptimize(m.maxPowerIndex);
    }
    perUnit(state, kMaxSamples, countPoints(cursor, m));
}
BENCHMARK(BM_Evaluate)->Unit(benchmark::kMicrosecond);

// Every quantity at every evaluation point, as a table export reads them.
void BM_WalkAllQuantities(benchmark::State& state) {
    Settings calibration;
    const EvaluationOptions options = engineDin();
    EvaluationCursor cursor(options, calibration);
    Measurement m = longRun(0);
    cursor.evaluate(m);
    for (auto _ : state) {
        int64_t sum = 0;
        cursor.rewind(m);
        do {
            for (int q = 0; q < kQuantityCount; ++q) sum += cursor.quantityValue(q, cursor.index());
        } while (cursor.advance());
        benchmark::DoNotOptimize(sum);
    }
    perUnit(state, kMaxSamples, countPoints(cursor, m));
}
BENCHMARK(BM_WalkAllQuantities)->Unit(benchmark::kMicrosecond);

// What a diagram of seven runs does to find its ranges: evaluate each, then
// the minimum and maximum of the X and Y quantities over its points.
void BM_ComputeRangesSevenRuns(benchmark::State& state) {
    Settings calibration;
    const EvaluationOptions options = engineDin();
    EvaluationCursor cursor(options, calibration);
    std::vector<Measurement> runs;
    for (int v = 0; v < 7; ++v) runs.push_back(longRun(v));
    Measurement* slots[7];
    for (int v = 0; v < 7; ++v) slots[v] = &runs[size_t(v)];
    cursor.bindSlots(slots, 7);
    const int x = kQuantityEngineSpeed, y = kQuantityPowerPs;
    for (auto _ : state) {
        int32_t xmin = INT_MAX, xmax = INT_MIN, ymin = INT_MAX, ymax = INT_MIN;
        for (int slot = 0; slot < 7; ++slot) {
            cursor.evaluate(slot);
            cursor.rewind(slot);
            if (slot == 0) {
                xmin = xmax = cursor.quantityValue(x, cursor.index());
                ymin = ymax = cursor.quantityValue(y, cursor.index());
            }
            while (cursor.advance()) {
                const int32_t vx = cursor.quantityValue(x, cursor.index());
                const int32_t vy = cursor.quantityValue(y, cursor.index());
                xmin = std::min(xmin, vx);
                xmax = std::max(xmax, vx);
                ymin = std::min(ymin, vy);
                ymax = std::max(ymax, vy);
            }
        }
        benchmark::DoNotOptimize(xmin + xmax + ymin + ymax);
    }
    int points = 0;
    for (Measurement& m : runs) points += countPoints(cursor, m);
    perUnit(state, 7.0 * kMaxSamples, points);
}
BENCHMARK(BM_ComputeRangesSevenRuns)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
