// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// Reads by key from the farm configuration, each beside a floor measured in the same run: a plain loop
// over the registered slots comparing the name's length and bytes with memcmp, the least a lookup by
// name has to do. The server reads settings all the time, and every read scans up to 234 slots 640
// bytes apart. At the end the ratio of each read to its floor is printed (medians with
// --benchmark_repetitions), in CPU time: the machines are shared, and waiting is not the lookup's.

#include "config/kxgconfig.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

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

void BM_getI_lastSlot(benchmark::State& state) {
    const _kxgConfig& cfg = farmConfig();
    const char* key = lastKey;
    for (auto _ : state) {
        benchmark::DoNotOptimize(key);
        benchmark::DoNotOptimize(cfg.getI(key));
    }
}
BENCHMARK(BM_getI_lastSlot);

void BM_floor_getI_lastSlot(benchmark::State& state) {
    const _kxgConfig& cfg = farmConfig();
    const char* key = lastKey;
    for (auto _ : state) {
        benchmark::DoNotOptimize(key);
        const _kxgCfg_param* p = plainFind(cfg, key);
        benchmark::DoNotOptimize(p ? p->valueI : cfg.fallbackI);
    }
}
BENCHMARK(BM_floor_getI_lastSlot);

void BM_getB(benchmark::State& state) {
    const _kxgConfig& cfg = farmConfig();
    const char* key = boolKey;
    for (auto _ : state) {
        benchmark::DoNotOptimize(key);
        benchmark::DoNotOptimize(cfg.getB(key));
    }
}
BENCHMARK(BM_getB);

void BM_floor_getB(benchmark::State& state) {
    const _kxgConfig& cfg = farmConfig();
    const char* key = boolKey;
    for (auto _ : state) {
        benchmark::DoNotOptimize(key);
        const _kxgCfg_param* p = plainFind(cfg, key);
        benchmark::DoNotOptimize(p ? p->valueB : cfg.fallbackB);
    }
}
BENCHMARK(BM_floor_getB);

// A key that differs from the last one only in its last byte: every slot is looked at.
void BM_exists_missing(benchmark::State& state) {
    const _kxgConfig& cfg = farmConfig();
    const char* key = missingKey;
    for (auto _ : state) {
        benchmark::DoNotOptimize(key);
        benchmark::DoNotOptimize(cfg.exists(key));
    }
}
BENCHMARK(BM_exists_missing);

void BM_floor_exists_missing(benchmark::State& state) {
    const _kxgConfig& cfg = farmConfig();
    const char* key = missingKey;
    for (auto _ : state) {
        benchmark::DoNotOptimize(key);
        benchmark::DoNotOptimize(plainFind(cfg, key) != nullptr);
    }
}
BENCHMARK(BM_floor_exists_missing);

/// Prints the console table and then, for each read, its time over its floor's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            // With repetitions only the median counts; without, the one run.
            if (median || (run.run_type == Run::RT_Iteration && !medians.count(run.run_name.function_name)))
                times[run.run_name.function_name] = run.GetAdjustedCPUTime();
            if (median)
                medians[run.run_name.function_name] = true;
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nratio to the floor (target <= 1.5x):\n");
        for (const auto& [name, time] : times) {
            const auto floor = times.find("BM_floor_" + name.substr(3));
            if (name.rfind("BM_floor_", 0) == 0 || floor == times.end() || floor->second <= 0)
                continue;
            std::printf("  %-24s %.2fx\n", name.c_str(), time / floor->second);
        }
    }

private:
    std::map<std::string, double> times;
    std::map<std::string, bool> medians;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
