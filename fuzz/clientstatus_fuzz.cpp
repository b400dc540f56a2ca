// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
//
// Status records arrive whole from clients and from the server's status block: every byte may hold
// anything, the thread count and the cloud connector index included. The texts and sums must read
// only the record's own threads.
#include "clients/clientrecords.h"
#include "jobs/jobrecords.h"

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

struct NoLog : __KXlog {
    void writeLog(int, int, const QString&) override {}
};

template <int N>
void exercise(const uint8_t* data, size_t size, const kxJ::_JobSubmitter* job) {
    auto status = std::make_unique<kxC::_ClientStatus_template<N>>();
    std::memcpy(static_cast<void*>(status.get()), data, size < sizeof *status ? size : sizeof *status);

    // The text names no more threads than the record holds.
    const int used = status->usedThreadCount();
    if (used < 0 || used > N)
        __builtin_trap();
    const QString all = status->clientStatusAsStringAll(nullptr);
    if (status->cloudConnectorIndex >= 0) {
        if (all != QString::number(used) + QStringLiteral(" Cloud VMs"))
            __builtin_trap();
    } else if (used != 1 &&
               !all.startsWith(QLatin1Char('[') + QString::number(used) + QStringLiteral("] "))) {
        __builtin_trap();
    }
    (void)status->clientStatusAsStringAll(job);
    (void)status->allThreads_jobCPU_Usage();
    (void)status->allThreads_jobMemoryUsage();
    NoLog log;
    // The whole-client text walked every thread; the single forms and setters need only a few.
    for (int i = 0; i < used && i < 16; ++i) {
        kxC::_ClientStatusThread& t = status->jThread(i);
        (void)t.clientStatusAsStringSingle(job);
        (void)kxC::_ClientStatusThread::clientOffStatusAsString(kxC::_ClientStatusJobs(qint32(t.jobID)),
                                                                t.jobStatus);
        t.setJobID(log, i, t.jobID + 1, QString(), (t.jobID & 1) != 0, (t.jobID & 2) != 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::unique_ptr<kxJ::_JobSend> job = [] {
        auto j = std::make_unique<kxJ::_JobSend>();
        j->ID = (quint64(123450000) << 24) | 2;
        j->projectName.set("Project");
        j->renderApp.set("Maya");
        j->sceneName.set("/p/Scenes/sh/l.ma");
        return j;
    }();
    exercise<8>(data, size, job.get());
    exercise<1000>(data, size, job.get());
    return 0;
}
