// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// Times an operation beside its floor inside one benchmark, the two alternating, so that a load change
// on the shared machine hits both alike. Subject and floor timed as separate benchmarks run seconds
// apart and each catches a different share of the machine's noise; their ratio then moves from run
// to run by more than the difference it is meant to show.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include <time.h>

/// The CPU time of this thread in seconds: on a machine shared with other work, time spent waiting for
/// a core would otherwise fall on whichever of the two happened to be running. System time counts, so
/// the writes of a file's bytes are in it.
inline double kxBenchThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + 1e-9 * double(now.tv_nsec);
}

/// The median of `values` (reordered), 0 for none.
inline double kxBenchMedian(std::vector<double>& values) {
    if (values.empty())
        return 0;
    const auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2 != 0)
        return *middle;
    return (*middle + *std::max_element(values.begin(), middle)) / 2;
}

/// How one benchmark times its subject beside its floor.
struct kxBenchSides {
    /// Calls of each side per iteration: an operation of a few hundred nanoseconds is timed in batches,
    /// so the clock's own cost stays out of the figures.
    int batch = 1;
    /// The ratio the subject is meant to keep to its floor; 0 for none. Reported as the "target" counter.
    double target = 0;
};

/// Runs `subject` and `floor` `sides.batch` times each per iteration, the one first in even iterations
/// and the other first in odd ones, so neither always meets the cache the other left. The benchmark's
/// (manual) time is the subject's per iteration. The counters: "subject_us" and "floor_us", the
/// average time of one call of each; "ratio", the median over the iterations of the subject's time
/// over the floor's, which an interrupt landing on one side of one iteration does not move; "target".
/// Register the benchmark with ->UseManualTime().
template <typename Subject, typename Floor>
void kxBenchBesideFloor(benchmark::State& state, Subject subject, Floor floor, kxBenchSides sides = {}) {
    const int batch = sides.batch > 0 ? sides.batch : 1;
    auto timed = [batch](auto& side) {
        const double start = kxBenchThreadSeconds();
        for (int i = 0; i < batch; ++i)
            side();
        return kxBenchThreadSeconds() - start;
    };
    std::vector<double> ratios;
    double subjectTime = 0;
    double floorTime = 0;
    bool floorFirst = false;
    for (auto _ : state) {
        double subjectSeconds;
        double floorSeconds;
        if (floorFirst) {
            floorSeconds = timed(floor);
            subjectSeconds = timed(subject);
        } else {
            subjectSeconds = timed(subject);
            floorSeconds = timed(floor);
        }
        floorFirst = !floorFirst;
        state.SetIterationTime(subjectSeconds);
        subjectTime += subjectSeconds;
        floorTime += floorSeconds;
        if (floorSeconds > 0)
            ratios.push_back(subjectSeconds / floorSeconds);
    }
    const double calls = double(state.iterations()) * double(batch);
    state.counters["subject_us"] = benchmark::Counter(calls > 0 ? 1e6 * subjectTime / calls : 0);
    state.counters["floor_us"] = benchmark::Counter(calls > 0 ? 1e6 * floorTime / calls : 0);
    state.counters["ratio"] = benchmark::Counter(kxBenchMedian(ratios));
    if (sides.target > 0)
        state.counters["target"] = benchmark::Counter(sides.target);
}
