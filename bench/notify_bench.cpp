// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// pNotify of the built product library, loaded by the stand-in server, beside its floor in the same
// iterations: the least a notification must do. It reads every client's name where it lies, in the
// client records about 112 kB apart (through the list's pointers, asking for names ahead as the
// delivery loop does), and compares it with each recipient name; with logging on it also hands the
// log bytes of one call to the operating system with one write, the flush the call must make before
// delivery. Then the series: the cost as the list (10 to 1500 clients) and the recipient text (1 to 25
// distinct names; 50 parts hold at most 2) grow, with logging off, so the series shows the delivery's
// own growth.

#include "farmserver.h"

#include "benchfarm.h"
#include "besidefloor.h"

#include "clients/clientlist.h"
#include "jobs/jobrecords.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

/// A server with `clientCount` clients named "0", "1", ..., short enough that ten of them fit the job's
/// 50-character recipient field. Kept until a benchmark asks for another size: each list is 170 MB.
struct Farm {
    explicit Farm(int clientCount) : clients(clientCount) {
        if (!dir.isValid())
            std::abort();
        server = std::make_unique<kxFarmServer>(dir.filePath(QStringLiteral("bench.log")));
        QString error;
        if (!server->loadPlugin(QStringLiteral(KX_PLUGIN_FILE), error))
            std::abort();
        if (!server->addClients(kxBenchNumberedClients(clientCount), error) ||
            server->host().clientCount() != clientCount)
            std::abort();
        job = std::make_unique<kxJ::_JobSend>();
        kxFillSampleJob(*job, kxBenchFinishedJob());
        floorLog = ::open(dir.filePath(QStringLiteral("floor.log")).toLocal8Bit().constData(),
                          O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (floorLog < 0)
            std::abort();
    }
    ~Farm() { ::close(floorLog); }
    Farm(const Farm&) = delete;
    Farm& operator=(const Farm&) = delete;

    /// Sets the log levels the notification writes at (information 17, warning 2) on or off.
    void setLogging(bool on) {
        server->host().setLevelEnabled(17, on);
        server->host().setLevelEnabled(2, on);
    }

    /// The bytes one call adds to the server log, measured over a few calls.
    qint64 logBytesPerCall() {
        const QString path = server->host().logFilePath();
        server->host().flushLog();
        const qint64 before = QFileInfo(path).size();
        constexpr int calls = 16;
        for (int i = 0; i < calls; ++i)
            if (server->callNotify(*job) != 1)
                std::abort();
        server->host().flushLog();
        return (QFileInfo(path).size() - before) / calls;
    }

    int clients;
    QTemporaryDir dir;
    std::unique_ptr<kxFarmServer> server;
    std::unique_ptr<kxJ::_JobSend> job;
    int floorLog = -1;
};

Farm& farmOf(int clientCount) {
    static std::unique_ptr<Farm> farm;
    if (!farm || farm->clients != clientCount) {
        farm.reset();
        farm = std::make_unique<Farm>(clientCount);
    }
    return *farm;
}

/// The recipient text for a case: 1 or 10 names, or `parts` parts. The field holds 50 characters, so
/// more parts are empty ones before the name "7": every client is compared with all of them.
QString recipientsFor(int parts) {
    if (parts == 1)
        return QStringLiteral("750");
    if (parts == 10)
        return QStringLiteral("1000;1001;1002;1003;1004;1005;1006;1007;1008;1009");
    return QString(parts - 1, QLatin1Char(';')) + QStringLiteral("7");
}

/// Sets the job's recipients; false when the text does not fit the job's field whole.
bool setRecipients(Farm& farm, const QString& recipients) {
    farm.job->messageClientNames.set(recipients);
    return farm.job->messageClientNames.toQString() == recipients;
}

/// The recipient names as client names are held, each kept once (as delivery keeps them).
std::vector<_kxString8_allSize<50>> recipientNames(const QString& recipients) {
    std::vector<_kxString8_allSize<50>> names;
    const QStringList parts = recipients.split(QLatin1Char(';'));
    for (const QString& part : parts) {
        const _kxString8_allSize<50> name(part.toLatin1().constData());
        bool known = false;
        for (const auto& n : names)
            known = known || n.isEqual(name);
        if (!known)
            names.push_back(name);
    }
    return names;
}

/// Every client's name read through the list's pointers and compared with the recipient names.
int compareNames(const kxC::_ClientList& list, const std::vector<_kxString8_allSize<50>>& names) {
    constexpr int ahead = 8;
    const int count = list.clientCount;
    int hits = 0;
    for (int position = 0; position < count; ++position) {
        if (position + ahead < count)
            __builtin_prefetch(&list.byListNo.pointers[position + ahead]->status.name);
        const _kxString8_allSize<50>& name = list.byListNo.pointers[position]->status.name;
        for (const auto& recipient : names)
            if (recipient.isEqual(name)) {
                ++hits;
                break;
            }
    }
    return hits;
}

void notifyBesideFloor(benchmark::State& state, int parts, bool logging) {
    Farm& farm = farmOf(kxC::_ClientList::clientCapacity);
    const QString recipients = recipientsFor(parts);
    if (!setRecipients(farm, recipients) || recipients.split(QLatin1Char(';')).size() != parts) {
        state.SkipWithError("the recipient text does not fit the job field");
        return;
    }
    farm.setLogging(logging);
    const std::vector<char> logBytes(std::size_t(logging ? farm.logBytesPerCall() : 0), 'x');
    const auto names = recipientNames(recipients);
    const kxC::_ClientList& list = farm.server->host().clients();
    bool allOk = true;
    kxBenchBesideFloor(
        state, [&] { allOk = farm.server->callNotify(*farm.job) == 1 && allOk; },
        [&] {
            if (!logBytes.empty() && ::write(farm.floorLog, logBytes.data(), logBytes.size()) < 0)
                allOk = false;
            benchmark::DoNotOptimize(compareNames(list, names));
        },
        kxBenchSides{1, logging ? 1.5 : 1.3});
    farm.setLogging(true);
    if (!allOk)
        state.SkipWithError("pNotify did not answer 1, or the floor's write failed");
    state.SetLabel(QStringLiteral("%1 parts, %2 clients, %3 log bytes")
                       .arg(parts)
                       .arg(list.clientCount)
                       .arg(logBytes.size())
                       .toStdString());
}

void BM_pNotify(benchmark::State& state) {
    notifyBesideFloor(state, int(state.range(0)), true);
}
BENCHMARK(BM_pNotify)->Arg(1)->Arg(10)->Arg(50)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_pNotify_logOff(benchmark::State& state) {
    notifyBesideFloor(state, int(state.range(0)), false);
}
BENCHMARK(BM_pNotify_logOff)->Arg(1)->Arg(10)->Arg(50)->UseManualTime()->Unit(benchmark::kMicrosecond);

/// A recipient text of `parts` distinct names: `parts - 1` letters that name no client, then the
/// client "7", so every call delivers once and compares every client with every name. The field holds
/// 50 characters, so at most 25 such names.
QString distinctRecipients(int parts) {
    QString text;
    for (int i = 0; i + 1 < parts; ++i)
        text += QChar(u'a' + i) + QStringLiteral(";");
    return text + QStringLiteral("7");
}

/// One point of a series: pNotify on `clientCount` clients with `parts` distinct recipient names,
/// logging off.
void notifySeriesPoint(benchmark::State& state, int clientCount, int parts, double n) {
    Farm& farm = farmOf(clientCount);
    const QString recipients = distinctRecipients(parts);
    if (!setRecipients(farm, recipients)) {
        state.SkipWithError("the recipient text does not fit the job field");
        return;
    }
    farm.setLogging(false);
    bool allOk = true;
    for (auto _ : state)
        allOk = farm.server->callNotify(*farm.job) == 1 && allOk;
    farm.setLogging(true);
    if (!allOk)
        state.SkipWithError("pNotify did not answer 1");
    state.counters["n"] = benchmark::Counter(n);
}

void BM_series_pNotify_clients(benchmark::State& state) {
    notifySeriesPoint(state, int(state.range(0)), 1, double(state.range(0)));
}
/// The list sizes of the series by clients, for the notification and its floor alike.
void clientSeriesSizes(benchmark::internal::Benchmark* series) {
    for (const int clients : {10, 30, 100, 300, 1000, 1500})
        series->Arg(clients);
    series->Unit(benchmark::kMicrosecond);
}
BENCHMARK(BM_series_pNotify_clients)->Apply(clientSeriesSizes);

/// The floor of the series by clients: the names read in place and compared with the one recipient,
/// so the chart shows which part of the growth is the machine's (one name per page of memory) and which
/// the notification's.
void BM_series_floor_clients(benchmark::State& state) {
    Farm& farm = farmOf(int(state.range(0)));
    const auto names = recipientNames(distinctRecipients(1));
    const kxC::_ClientList& list = farm.server->host().clients();
    for (auto _ : state)
        benchmark::DoNotOptimize(compareNames(list, names));
    state.counters["n"] = benchmark::Counter(double(state.range(0)));
}
BENCHMARK(BM_series_floor_clients)->Apply(clientSeriesSizes);

void BM_series_pNotify_parts(benchmark::State& state) {
    notifySeriesPoint(state, kxC::_ClientList::clientCapacity, int(state.range(0)), double(state.range(0)));
}
BENCHMARK(BM_series_pNotify_parts)
    ->Arg(1)
    ->Arg(2)
    ->Arg(5)
    ->Arg(10)
    ->Arg(20)
    ->Arg(25)
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
