// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// One loaded plug-in, 1,000,000 pNotify calls on a full list of 1500 clients whose mailboxes are full,
// so every delivery wraps and drops the oldest text. Ten clients are named per call, a different ten
// each call, so every mailbox takes thousands of messages. After the run it checks what a long-running
// server must keep: the resident size flat, every mailbox within its 2500 characters, and the log file
// grown by exactly the lines written (none lost). The floor is the run itself: the time per call over
// its first 5% beside its last 5% ("late_over_early"), which stays near 1 when nothing builds up.
//
// Not part of the test suite: run it by hand (bench/notify_longrun_bench), about a minute.

#include "farmserver.h"

#include "clients/clientlist.h"
#include "jobs/jobid.h"
#include "jobs/jobrecords.h"

#include "benchfarm.h"
#include "besidefloor.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <vector>

namespace {

constexpr int callCount = 1000000;
constexpr int clientCount = 1500;
constexpr int namesPerCall = 10;

qint64 residentSize() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : -1;
}

/// Line feeds in the file from byte `from` on.
qint64 lineFeeds(const QString& path, qint64 from) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(from))
        return -1;
    qint64 count = 0;
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(1 << 20);
        count += chunk.count('\n');
    }
    return count;
}

void BM_pNotifyLongRun(benchmark::State& state) {
    QTemporaryDir dir;
    const QString logPath = dir.filePath(QStringLiteral("longrun.log"));
    kxFarmServer server(logPath);
    QString error;
    if (!server.loadPlugin(QStringLiteral(KX_PLUGIN_FILE), error)) {
        state.SkipWithError("the plug-in does not load");
        return;
    }
    if (!server.addClients(kxBenchNumberedClients(clientCount), error) ||
        server.host().clientCount() != clientCount) {
        state.SkipWithError("the list cannot be filled");
        return;
    }
    // Every mailbox full to the last character before the run starts.
    const QString old(240, QLatin1Char('o'));
    for (int position = 0; position < clientCount; ++position)
        while (server.host().userMessages(position).size() < kxC::_ClientUserMessage::capacity - 1)
            server.host().addUserMessage(position, old);

    auto job = std::make_unique<kxJ::_JobSend>();
    kxFillSampleJob(*job, kxBenchFinishedJob());
    // The recipient texts, ten consecutive names each: call k names clients 10(k mod 150) and on.
    std::vector<_kxString<50>> recipients;
    for (int first = 0; first < clientCount; first += namesPerCall) {
        QStringList names;
        for (int i = first; i < first + namesPerCall; ++i)
            names.append(QString::number(i));
        recipients.emplace_back(names.join(QLatin1Char(';')));
    }

    _kxLogfile& log = *server.host().mainLog;
    // One call first: its lines show how many line feeds a call adds to the file.
    job->messageClientNames = recipients[0];
    server.callNotify(*job);
    server.host().flushLog();
    const qint64 startSize = QFile(logPath).size();
    const qint64 feedsPerCall = lineFeeds(logPath, 0);
    const quint64 startLines = log.linesWritten();
    const qint64 startResident = residentSize();

    int call = 0;
    int failures = 0;
    double early = 0;
    double late = 0;
    constexpr int tail = callCount / 20;
    for (auto _ : state) {
        job->messageClientNames = recipients[std::size_t(call) % recipients.size()];
        const double start = kxBenchThreadSeconds();
        if (server.callNotify(*job) != 1)
            ++failures;
        const double took = kxBenchThreadSeconds() - start;
        if (call < tail)
            early += took;
        else if (call >= callCount - tail)
            late += took;
        state.SetIterationTime(took);
        ++call;
    }
    server.host().flushLog();
    const qint64 endResident = residentSize();

    int fullest = 0;
    for (int position = 0; position < clientCount; ++position) {
        const QString text = server.host().userMessages(position);
        fullest = text.size() > fullest ? int(text.size()) : fullest;
    }
    const quint64 linesAdded = log.linesWritten() - startLines;
    const qint64 feedsAdded = lineFeeds(logPath, startSize);

    state.counters["calls"] = call;
    state.counters["rss_growth_kb"] = double(endResident - startResident) / 1024.0;
    state.counters["rss_mb"] = double(endResident) / (1024.0 * 1024.0);
    state.counters["fullest_mailbox"] = fullest;
    state.counters["log_lines"] = double(linesAdded);
    state.counters["log_mb"] = double(QFile(logPath).size() - startSize) / (1024.0 * 1024.0);
    state.counters["lost_lines"] = double(log.lostLines());
    state.counters["early_us"] = 1e6 * early / tail;
    state.counters["late_us"] = 1e6 * late / tail;
    state.counters["late_over_early"] = early > 0 ? late / early : 0;

    if (failures != 0)
        state.SkipWithError("a pNotify call did not answer 1");
    else if (fullest > kxC::_ClientUserMessage::capacity)
        state.SkipWithError("a mailbox holds more than its 2500 characters");
    else if (linesAdded != 3u * quint64(call) || log.lostLines() != 0 ||
             feedsAdded != feedsPerCall * qint64(call))
        state.SkipWithError("the log file did not grow by exactly the lines written");
    else if (endResident - startResident > 1024 * 1024)
        state.SkipWithError("the resident size grew by more than 1 MB");
}
BENCHMARK(BM_pNotifyLongRun)->Iterations(callCount)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
