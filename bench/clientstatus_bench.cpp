// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// The whole-client status texts of a full client list and the loading of a full statistics file, each
// timed beside its floor in the same iterations; the "ratio" counter is the subject's time over the
// floor's.
//  - Status texts of 1500 clients with 8 threads in mixed states; floor: the short identifier texts
//    (kxJ::ID2str) of the same clients' rendering threads, which every text of them needs.
//  - loadFromFile and info() of every record of a 1500-record statistics file; floor: loading the same
//    compressed file into a data buffer and copying each record out once.
#include "clients/clientrecords.h"
#include "clients/clientstats.h"
#include "jobs/jobid.h"

#include "kxdatabuffer.h"

#include <QTemporaryDir>

#include "besidefloor.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int clientCount = 1500;

// Client c, thread t: about half the threads render, every fifth client renders on all threads, the
// others are idle, off for a reason, disabled, or show a render outcome.
std::vector<kxC::_ClientStatus> mixedClients() {
    std::vector<kxC::_ClientStatus> clients(clientCount);
    for (int c = 0; c < clientCount; ++c) {
        kxC::_ClientStatus& s = clients[size_t(c)];
        s.threadCount = 8;
        for (int t = 0; t < 8; ++t) {
            kxC::_ClientStatusThread& th = s.threads[t];
            const quint64 job = (quint64(100000000 + c * 10000 + t) << 24) | quint64(t);
            const int kind = (c % 5 == 0) ? 0 : (c + t) % 8;
            switch (kind) {
            case 0:
            case 1:
            case 2:
            case 3:
                th.clientStatus = 3;
                th.jobID = job;
                th.jobStatus = 0x0051;
                break;
            case 4:
                th.clientStatus = 1;
                th.jobStatus = 900;
                break;
            case 5:
                th.clientStatus = 0;
                th.jobID = 1 + quint64(c % 39);
                th.jobStatus = 200;
                break;
            case 6:
                th.clientStatus = 2;
                th.jobStatus = 30;
                break;
            default:
                th.clientStatus = 4;
                th.jobID = job;
                break;
            }
        }
    }
    return clients;
}

void BM_clientStatusAsStringAll(benchmark::State& state) {
    const std::vector<kxC::_ClientStatus> clients = mixedClients();
    const auto subject = [&clients] {
        qsizetype length = 0;
        for (const kxC::_ClientStatus& s : clients)
            length += s.clientStatusAsStringAll(nullptr).size();
        benchmark::DoNotOptimize(length);
    };
    const auto floor = [&clients] {
        qsizetype length = 0;
        for (const kxC::_ClientStatus& s : clients)
            for (int t = 0; t < s.usedThreadCount(); ++t)
                if (s.threads[t].clientStatus == 3 && s.threads[t].jobID > 1000)
                    length += kxJ::ID2str(s.threads[t].jobID).size();
        benchmark::DoNotOptimize(length);
    };
    kxBenchBesideFloor(state, subject, floor, kxBenchSides{1, 3.0});
    state.SetLabel("1500 clients x 8 threads, mixed; floor: ID2str of the rendering threads");
}
BENCHMARK(BM_clientStatusAsStringAll)->UseManualTime()->Unit(benchmark::kMillisecond);

// A statistics file of 1500 version-2 records, written once per run: mostly zero, with the counts and
// texts a real record holds in places.
struct StatisticsFile {
    StatisticsFile() {
        if (!dir.isValid())
            std::abort();
        path = dir.filePath(QStringLiteral("clientstats.kxdb"));
        QByteArray data(qsizetype(sizeof(kxC::_Client_Info_save)) * clientCount, '\0');
        for (int r = 0; r < clientCount; ++r) {
            char* record = data.data() + sizeof(kxC::_Client_Info_save) * size_t(r);
            for (size_t i = 0; i < sizeof(kxC::_Client_Info_save); i += 7 + size_t(r % 13))
                record[i] = char((i * 31 + size_t(r)) & 0x7F);
        }
        _KX_DataBuffer buffer(data, kxC::_server_clientInfo::typeTagVersion2);
        if (!buffer.saveToFileCompressed(path))
            std::abort();
    }
    QTemporaryDir dir;
    QString path;
};

void BM_statisticsLoadAndInfo(benchmark::State& state) {
    static const StatisticsFile file;
    auto copy = std::make_unique<kxC::_Client_Info_save>();
    const auto subject = [&state] {
        kxC::_server_clientInfo stats;
        if (!stats.loadFromFile(file.path) || stats.count() != clientCount)
            state.SkipWithError("the statistics file did not load");
        for (int i = 0; i < stats.count(); ++i) {
            const kxC::_Client_Info info = stats.info(i);
            benchmark::DoNotOptimize(&info);
        }
    };
    const auto floor = [&state, &copy] {
        _KX_DataBuffer buffer;
        if (!buffer.loadFromFileCompressed(file.path))
            state.SkipWithError("the floor's file did not load");
        for (int i = 0; i < clientCount; ++i) {
            std::memcpy(static_cast<void*>(copy.get()),
                        buffer.data() + sizeof(kxC::_Client_Info_save) * size_t(i),
                        sizeof(kxC::_Client_Info_save));
            benchmark::DoNotOptimize(copy.get());
            benchmark::ClobberMemory();
        }
    };
    kxBenchBesideFloor(state, subject, floor, kxBenchSides{1, 1.3});
    state.SetLabel("1500 version-2 records; floor: loadFromFileCompressed + one memcpy per record");
}
BENCHMARK(BM_statisticsLoadAndInfo)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
