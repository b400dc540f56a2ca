// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// Log2Str over a job's full history of 1500 entries, shown through the job's frame numbers, beside a
// floor: QString::asprintf of the same numbers into the same line templates.

#include "jobs/joblogtext.h"
#include "jobs/jobrecords.h"

#include <QString>

#include "besidefloor.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct History {
    History() {
        job->seqStart = 1001;
        job->seqEnd = 1001 + 2 * 499;
        job->seqStep = 2;
        job->kxClearSend();
        // Mostly frame segments received, rendered and aborted, as a busy job's history holds them.
        const quint8 codes[] = {21, 14, 21, 14, 21, 15, 21, 14, 61, 71, 34, 14};
        job->logCount = kxJ::jobLogsMax;
        for (int i = 0; i < kxJ::jobLogsMax; ++i) {
            kxJ::_Log& e = job->logs[i];
            e.message = codes[i % 12];
            e.step = quint8(1 + i % 3);
            e.frameStart = quint16((i * 7) % 500);
            e.frameEnd = quint16(e.frameStart + 3 * e.step);
            e.userRef = 65535;
        }
    }
    std::unique_ptr<kxJ::_JobSend> job = std::make_unique<kxJ::_JobSend>();
};

History& history() {
    static History h;
    return h;
}

void BM_Log2Str_history1500(benchmark::State& state) {
    kxJ::_JobSend* job = history().job.get();
    kxBenchBesideFloor(
        state,
        [job] {
            int units = 0;
            for (int i = 0; i < kxJ::jobLogsMax; ++i)
                units += kxJ::Log2Str(job->logs[i], job).len();
            benchmark::DoNotOptimize(units);
        },
        [job] {
            qsizetype units = 0;
            for (int i = 0; i < kxJ::jobLogsMax; ++i) {
                const kxJ::_Log& e = job->logs[i];
                const int s = 1001 + 2 * e.frameStart, last = 1001 + 2 * e.frameEnd;
                units += QString::asprintf("Successful  %d-%d,%d", s, last, int(e.step)).size();
            }
            benchmark::DoNotOptimize(units);
        },
        kxBenchSides{1, 2.0});
}
BENCHMARK(BM_Log2Str_history1500)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
