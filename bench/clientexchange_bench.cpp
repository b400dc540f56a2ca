// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// The clean copy of a cloud connector's record (1000 thread records) beside its floor, one block copy of
// the same record. Each iteration runs both, one after the other; the "ratio" counter is the clean
// copy's time over the block copy's.

#include "clients/clientrecords.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>

namespace {

constexpr int copiesPerIteration = 16;

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_cleanExport_cloudConnector(benchmark::State& state) {
    auto record = std::make_unique<kxC::_Client_CloudConnector>();
    record->clearAllStruct();
    record->status.cloudConnectorIndex = 0;
    record->status.threadCount = 1000;
    for (int i = 0; i < 1000; ++i)
        record->status.threads[i].jobID = quint64(5000 + i);
    record->status.name.set("aws-east-1");
    record->renderApps[0].name.set("maya");
    record->renderApps[0].executable.set("/opt/autodesk/maya2024/bin/maya");
    record->renderAppCount = 1;
    auto target = std::make_unique<kxC::_Client_ALL>();

    double cleanSeconds = 0, copySeconds = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < copiesPerIteration; ++i) {
            kxC::_Client_ALL copy = record->cleanExport();
            benchmark::DoNotOptimize(&copy);
            benchmark::ClobberMemory();
        }
        const double clean = secondsSince(start);

        start = std::chrono::steady_clock::now();
        for (int i = 0; i < copiesPerIteration; ++i) {
            std::memcpy(static_cast<void*>(target.get()), record.get(), sizeof(kxC::_Client_ALL));
            benchmark::DoNotOptimize(target.get());
            benchmark::ClobberMemory();
        }
        const double copy = secondsSince(start);

        state.SetIterationTime(clean / copiesPerIteration);
        cleanSeconds += clean;
        copySeconds += copy;
    }
    state.counters["memcpy_us"] =
        benchmark::Counter(copySeconds * 1e6 / double(state.iterations() * copiesPerIteration));
    state.counters["ratio"] = benchmark::Counter(cleanSeconds / copySeconds);
}
BENCHMARK(BM_cleanExport_cloudConnector)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
