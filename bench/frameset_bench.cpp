// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// The frame set's compact and readable forms, each timed in the same iterations as a floor, so the
// "ratio" counter (operation time / floor time) holds on a loaded machine:
// - BitA85 write + read of a set of 8000 flags, beside _KX_DataBuffer compress + decompress of the same
//   1007-byte payload: what the form cannot do without.
// - asString_FrameSet of a random half-full set, beside QString::number of every set index.

#include "jobs/frameset.h"

#include "kxdatabuffer.h"

#include <QString>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <random>

#include <time.h>

namespace {

/// The CPU time of this thread in seconds: on a machine shared with other work, time spent waiting
/// for a core would otherwise fall on whichever of the two happened to be running.
double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

/// A set of 8000 flags, each set with probability 1/2 (fixed seed), starting at frame 1001.
std::unique_ptr<kxJ::_binaryFrameSet> halfFullSet() {
    auto set = std::make_unique<kxJ::_binaryFrameSet>();
    std::mt19937 random(2817);
    for (int i = 0; i < kxJ::_binaryFrameSet::flagCount; ++i)
        set->flags[i] = quint8(random() & 1u);
    set->startFrame = 1001;
    set->maxIndex = kxJ::_binaryFrameSet::flagCount - 1;
    return set;
}

/// Times `floor` and `operation` one after the other in every iteration; the benchmark's time is that
/// of the operation, and the counters give the floor's time and the ratio of the two.
template <typename Operation, typename Floor>
void timeAgainstFloor(benchmark::State& state, Operation operation, Floor floor) {
    double operationSeconds = 0;
    double floorSeconds = 0;
    for (auto _ : state) {
        const double t0 = threadSeconds();
        floor();
        const double t1 = threadSeconds();
        operation();
        const double t2 = threadSeconds();
        operationSeconds += t2 - t1;
        floorSeconds += t1 - t0;
        state.SetIterationTime(t2 - t1);
    }
    const double n = double(state.iterations());
    state.counters["floor_us"] = benchmark::Counter(floorSeconds / n * 1e6);
    state.counters["ratio"] = benchmark::Counter(floorSeconds > 0 ? operationSeconds / floorSeconds : 0);
}

void BM_BitA85_writeRead(benchmark::State& state) {
    const std::unique_ptr<kxJ::_binaryFrameSet> set = halfFullSet();
    auto back = std::make_unique<kxJ::_binaryFrameSet>();

    // The floor's payload: the very bytes the form packs.
    _KX_DataBuffer payload;
    if (!_KX_DataBuffer(set->asString_BitA85()).decompressTo(payload) || payload.size() != 1007)
        std::abort();

    timeAgainstFloor(
        state,
        [&] {
            const QByteArray form = set->asString_BitA85();
            back->fromString_BitA85(form);
            benchmark::DoNotOptimize(back->maxIndex);
        },
        [&] {
            _KX_DataBuffer packed, unpacked;
            packed.compressFrom(payload, _KX_DataBuffer::compressionZstd, 0);
            packed.decompressTo(unpacked);
            benchmark::DoNotOptimize(unpacked.data());
        });
    auto expected = std::make_unique<kxJ::_binaryFrameSet>(*set);
    expected->isFileNumber = 1;
    if (*back != *expected)
        state.SkipWithError("the set did not read back");
}
BENCHMARK(BM_BitA85_writeRead)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_asString_FrameSet(benchmark::State& state) {
    const std::unique_ptr<kxJ::_binaryFrameSet> set = halfFullSet();
    int setCount = 0;
    for (int i = 0; i < kxJ::_binaryFrameSet::flagCount; ++i)
        setCount += set->flags[i];

    timeAgainstFloor(
        state,
        [&] {
            const QString text = set->asString_FrameSet();
            benchmark::DoNotOptimize(text.constData());
        },
        [&] {
            QString text;
            text.reserve(qsizetype(setCount) * 4);
            for (int i = 0; i < kxJ::_binaryFrameSet::flagCount; ++i)
                if (set->flags[i] != 0)
                    text += QString::number(i);
            benchmark::DoNotOptimize(text.constData());
        });
    state.SetLabel(std::to_string(setCount) + " set indexes");
}
BENCHMARK(BM_asString_FrameSet)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
