// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// The frame set's compact and readable forms, each timed in the same iterations as a floor, so the
// "ratio" counter (operation time / floor time) holds on a loaded machine:
// - BitA85 write + read of a set of 8000 flags, beside _KX_DataBuffer compress + decompress of the same
//   1007-byte payload: what the form cannot do without.
// - asString_FrameSet of a random half-full set, beside QString::number of every set index.

#include "jobs/frameset.h"

#include "kxdatabuffer.h"

#include "besidefloor.h"

#include <QString>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <random>

namespace {

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

void BM_BitA85_writeRead(benchmark::State& state) {
    const std::unique_ptr<kxJ::_binaryFrameSet> set = halfFullSet();
    auto back = std::make_unique<kxJ::_binaryFrameSet>();

    // The floor's payload: the very bytes the form packs.
    _KX_DataBuffer payload;
    if (!_KX_DataBuffer(set->asString_BitA85()).decompressTo(payload) || payload.size() != 1007)
        std::abort();

    kxBenchBesideFloor(
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
        },
        kxBenchSides{1, 1.3});
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

    kxBenchBesideFloor(
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
        },
        kxBenchSides{1, 2.0});
    state.SetLabel(std::to_string(setCount) + " set indexes");
}
BENCHMARK(BM_asString_FrameSet)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
