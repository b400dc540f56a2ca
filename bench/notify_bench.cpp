// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// pNotify of the built product library, loaded by the stand-in server, on a full list of 1500 clients,
// beside a floor: comparing 1500 client names of 50 bytes with one recipient name (or with ten, for the
// ten-recipient case), the least a notification has to do to find its clients.

#include "farmserver.h"

#include "clients/clientlist.h"
#include "jobs/jobid.h"
#include "jobs/jobrecords.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

/// One server with a full list, built on first use and kept for every benchmark of the run.
struct FullFarm {
    FullFarm() {
        if (!dir.isValid())
            std::abort();
        server = std::make_unique<kxFarmServer>(dir.filePath(QStringLiteral("bench.log")));
        QString error;
        if (!server->loadPlugin(QStringLiteral(KX_PLUGIN_FILE), error))
            std::abort();
        // Names "0" to "1499": short enough that ten of them fit the job's 50-character recipient field.
        kxSampleFarm farm;
        for (int i = 0; i < kxC::_ClientList::clientCapacity; ++i)
            farm.clients.append(
                kxSampleClient{QString::number(i), QString(), QStringLiteral("bench"), i + 1});
        if (!server->addClients(farm, error) || server->host().clientCount() != 1500)
            std::abort();
        job = std::make_unique<kxJ::_JobSend>();
        kxSampleJob sample;
        sample.number = 123456789;
        sample.status = 200;
        sample.user = QStringLiteral("anna");
        sample.scene = QStringLiteral("/projects/feature/shot010/shot010_lighting_v012.ma");
        sample.imageDir = QStringLiteral("/renders/feature/shot010/");
        sample.imageFile = QStringLiteral("shot010_beauty.####.exr");
        kxFillSampleJob(*job, sample);
    }

    QTemporaryDir dir;
    std::unique_ptr<kxFarmServer> server;
    std::unique_ptr<kxJ::_JobSend> job;
};

FullFarm& fullFarm() {
    static FullFarm farm;
    return farm;
}

/// The recipient text for a case: 1 or 10 names, or 50 parts. The field holds 50 characters, so 50
/// parts are 49 empty ones and the name "7": every client is compared with all 50.
QString recipientsFor(int parts) {
    if (parts == 1)
        return QStringLiteral("750");
    if (parts == 10)
        return QStringLiteral("1000;1001;1002;1003;1004;1005;1006;1007;1008;1009");
    return QString(parts - 1, QLatin1Char(';')) + QStringLiteral("7");
}

void BM_pNotify(benchmark::State& state) {
    FullFarm& farm = fullFarm();
    const QString recipients = recipientsFor(int(state.range(0)));
    farm.job->messageClientNames.set(recipients);
    if (farm.job->messageClientNames.toQString() != recipients ||
        recipients.split(QLatin1Char(';')).size() != state.range(0))
        state.SkipWithError("the recipient text does not fit the job field");
    for (auto _ : state) {
        const int result = farm.server->callNotify(*farm.job);
        if (result != 1)
            state.SkipWithError("pNotify did not answer 1");
        benchmark::DoNotOptimize(result);
    }
    state.SetLabel(QStringLiteral("%1 parts, list of %2")
                       .arg(state.range(0))
                       .arg(farm.server->host().clientCount())
                       .toStdString());
}
BENCHMARK(BM_pNotify)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMicrosecond);

// The same calls with the server's log levels switched off: what the notification costs without the
// three log lines and the file write.
void BM_pNotify_logOff(benchmark::State& state) {
    FullFarm& farm = fullFarm();
    farm.server->host().setLevelEnabled(17, false);
    farm.server->host().setLevelEnabled(2, false);
    BM_pNotify(state);
    farm.server->host().setLevelEnabled(17, true);
    farm.server->host().setLevelEnabled(2, true);
}
BENCHMARK(BM_pNotify_logOff)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMicrosecond);

// The floor of a notification to `range(0)` recipient names: each of 1500 client names compared with
// every one of them.
void BM_floor_compare1500Names50Bytes(benchmark::State& state) {
    // Names that differ only in their last bytes, so every comparison runs the whole 50 bytes.
    std::vector<_kxString8_allSize<50>> names(1500);
    for (int i = 0; i < 1500; ++i)
        names[std::size_t(i)].set(QStringLiteral("%1").arg(i, 50, 10, QLatin1Char('n')));
    std::vector<_kxString8_allSize<50>> probes(std::size_t(state.range(0)));
    for (std::size_t p = 0; p < probes.size(); ++p)
        probes[p].set(QString(49, QLatin1Char('n')) + QChar(u'a' + int(p)));
    for (auto _ : state) {
        int hits = 0;
        for (const _kxString8_allSize<50>& name : names)
            for (const _kxString8_allSize<50>& probe : probes)
                hits += probe.isEqual(name) ? 1 : 0;
        benchmark::DoNotOptimize(hits);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_floor_compare1500Names50Bytes)->Arg(1)->Arg(10)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
