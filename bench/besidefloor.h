// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// Times an operation beside its floor in the same iterations, so that a load change on the shared
// machine hits both alike.

#include <benchmark/benchmark.h>

#include <time.h>

/// The CPU time of this thread in seconds: on a machine shared with other work, time spent waiting for
/// a core would otherwise fall on whichever of the two happened to be running.
inline double kxBenchThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + 1e-9 * double(now.tv_nsec);
}

/// Runs `operation` and then `floor` once per iteration. The benchmark's (manual) time is the
/// operation's processor time; the counters give the floor's time in microseconds ("floor_us") and
/// the ratio of the two ("ratio").
template <typename Operation, typename Floor>
void kxBenchBesideFloor(benchmark::State& state, Operation operation, Floor floor) {
    double operationTime = 0;
    double floorTime = 0;
    for (auto _ : state) {
        const double start = kxBenchThreadSeconds();
        operation();
        const double middle = kxBenchThreadSeconds();
        floor();
        const double end = kxBenchThreadSeconds();
        state.SetIterationTime(middle - start);
        operationTime += middle - start;
        floorTime += end - middle;
    }
    const double iterations = double(state.iterations());
    state.counters["floor_us"] = benchmark::Counter(1e6 * floorTime / iterations);
    state.counters["ratio"] = benchmark::Counter(floorTime > 0 ? operationTime / floorTime : 0);
}
