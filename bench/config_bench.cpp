// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// Reads by key from the farm configuration, each beside a floor measured in the same run: a plain loop
// over the registered slots comparing the name's length and bytes with memcmp, the least a lookup by
// name has to do. The server reads settings all the time, and every read scans up to 234 slots 640
// bytes apart. Each read and its floor alternate in batches inside one benchmark; the "ratio" counter
// is the read's time over the floor's.

#include "config/kxgconfig.h"

#include "besidefloor.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

_kxgConfig& farmConfig() {
    static const std::unique_ptr<_kxgConfig> cfg = [] {
        auto c = std::make_unique<_kxgConfig>();
        c->initialize(nullptr);
        return c;
    }();
    return *cfg;
}

/// The floor: the slot whose name has the key's length and bytes, or null.
const _kxgCfg_param* plainFind(const _kxgConfig& cfg, const char* key) {
    const size_t length = std::strlen(key);
    // Unrolled as the store's own walk is, so the floor is the least the walk costs.
#pragma GCC unroll 4
    for (int i = 0; i < cfg.count; ++i) {
        const _kxString8_allSize<100>& name = cfg.params[i].name;
        if (name.length == length && std::memcmp(name.text, key, length) == 0)
            return &cfg.params[i];
    }
    return nullptr;
}

constexpr const char* lastKey = "jScriptPriorityIncrease";
constexpr const char* boolKey = "nUseServerIP";
constexpr const char* missingKey = "jScriptPriorityIncreasf";

// A lookup takes a few hundred nanoseconds: each side runs this many times per timed batch.
constexpr kxBenchSides lookupSides{1000, 1.5};

void BM_getI_lastSlot(benchmark::State& state) {
    const _kxgConfig& cfg = farmConfig();
    const char* key = lastKey;
    kxBenchBesideFloor(
        state,
        [&] {
            benchmark::DoNotOptimize(key);
            benchmark::DoNotOptimize(cfg.getI(key));
        },
        [&] {
            benchmark::DoNotOptimize(key);
            const _kxgCfg_param* p = plainFind(cfg, key);
            benchmark::DoNotOptimize(p ? p->valueI : cfg.fallbackI);
        },
        lookupSides);
}
BENCHMARK(BM_getI_lastSlot)->UseManualTime();

void BM_getB(benchmark::State& state) {
    const _kxgConfig& cfg = farmConfig();
    const char* key = boolKey;
    kxBenchBesideFloor(
        state,
        [&] {
            benchmark::DoNotOptimize(key);
            benchmark::DoNotOptimize(cfg.getB(key));
        },
        [&] {
            benchmark::DoNotOptimize(key);
            const _kxgCfg_param* p = plainFind(cfg, key);
            benchmark::DoNotOptimize(p ? p->valueB : cfg.fallbackB);
        },
        lookupSides);
}
BENCHMARK(BM_getB)->UseManualTime();

// A key that differs from the last one only in its last byte: every slot is looked at.
void BM_exists_missing(benchmark::State& state) {
    const _kxgConfig& cfg = farmConfig();
    const char* key = missingKey;
    kxBenchBesideFloor(
        state,
        [&] {
            benchmark::DoNotOptimize(key);
            benchmark::DoNotOptimize(cfg.exists(key));
        },
        [&] {
            benchmark::DoNotOptimize(key);
            benchmark::DoNotOptimize(plainFind(cfg, key) != nullptr);
        },
        lookupSides);
}
BENCHMARK(BM_exists_missing)->UseManualTime();

} // namespace

BENCHMARK_MAIN();
