// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// The clean copy of a cloud connector's record (1000 thread records) beside its floor, one block copy of
// the same record. Each iteration runs 16 of each, alternating which goes first; the "ratio" counter is
// the clean copy's time over the block copy's.

#include "clients/clientrecords.h"

#include "besidefloor.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

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
    kxBenchBesideFloor(
        state,
        [&] {
            kxC::_Client_ALL copy = record->cleanExport();
            benchmark::DoNotOptimize(&copy);
            benchmark::ClobberMemory();
        },
        [&] {
            std::memcpy(static_cast<void*>(target.get()), record.get(), sizeof(kxC::_Client_ALL));
            benchmark::DoNotOptimize(target.get());
            benchmark::ClobberMemory();
        },
        kxBenchSides{16, 3.0});
}
BENCHMARK(BM_cleanExport_cloudConnector)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
