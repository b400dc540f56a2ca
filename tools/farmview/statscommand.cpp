// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxinspect stats: a client statistics file loaded with the loader's size checks.
#include "cli.h"

#include "clients/clientstats.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QTemporaryDir>

#include <memory>

namespace {

int runStats(const kxInspectCall& call, kxInspectResult& result) {
    QString path = call.arguments.first();
    // "-": the file on standard input, kept in a temporary file for the loader, which reads by name.
    QTemporaryDir scratch;
    if (path == QLatin1String("-")) {
        QFile input;
        QFile copy(scratch.filePath(QStringLiteral("standard-input.kxs")));
        if (!scratch.isValid() || !input.open(stdin, QIODevice::ReadOnly) ||
            !copy.open(QIODevice::WriteOnly) || copy.write(input.readAll()) < 0) {
            result.fault = QStringLiteral("-: cannot keep standard input in a temporary file");
            return kxInspectFault;
        }
        path = copy.fileName();
    }
    const QString shown = call.arguments.first() == QLatin1String("-") ? QStringLiteral("-") : path;
    // The loader says "File not found" for a folder too, and repeats the path: the tool names the
    // file once and says what is wrong with it.
    const QFileInfo file(path);
    if (file.isDir()) {
        result.fault = QStringLiteral("%1: is a folder, not a statistics file").arg(path);
        return kxInspectFault;
    }
    if (!file.exists()) {
        result.fault = QStringLiteral("%1: no such file").arg(path);
        return kxInspectFault;
    }
    if (!file.isReadable()) {
        result.fault = QStringLiteral("%1: cannot read the file: permission denied").arg(path);
        return kxInspectFault;
    }
    auto stats = std::make_unique<kxC::_server_clientInfo>();
    if (!stats->loadFromFile(path)) {
        QString reason = stats->errorText();
        const QString prefix = QStringLiteral("Unable to load '%1':").arg(path);
        if (reason.startsWith(prefix))
            reason = reason.mid(prefix.size()).trimmed();
        result.fault = QStringLiteral("%1: cannot load the statistics: %2").arg(shown, reason);
        return kxInspectFault;
    }
    const int layout = stats->clientInfos_v1() ? 1 : 2;
    kxInspectLine(result.text, QStringLiteral("file"), shown);
    kxInspectLine(result.text, QStringLiteral("layout"), QStringLiteral("version %1").arg(layout));
    kxInspectLine(result.text, QStringLiteral("records"), QString::number(stats->count()));
    result.text += QStringLiteral("record  success  aborted  failed  rate  (jobs of the last %1 hours)\n")
                       .arg(kxC::_Client_jobEfficiencyRate::lastQueriedHours());

    QJsonArray records;
    auto info = std::make_unique<kxC::_Client_Info>();
    for (int i = 0; i < stats->count(); ++i) {
        *info = stats->info(i);
        const kxC::_Client_jobEfficiencyRate& rate = info->jobEfficiencyRate;
        const int success = rate.getLastHoursSuccessJobs();
        const int aborted = rate.getLastHoursCleanAbortJobs();
        const int failed = rate.getLastHoursFailJobs();
        const bool valid = rate.successRateValid != 0;
        const QString rateText = valid ? QString::number(rate.successRate) : QStringLiteral("-");
        result.text += QStringLiteral("%1  %2  %3  %4  %5\n")
                           .arg(i, 6)
                           .arg(success, 7)
                           .arg(aborted, 7)
                           .arg(failed, 6)
                           .arg(rateText, 4);
        QJsonObject record{{QStringLiteral("record"), i},
                           {QStringLiteral("success"), success},
                           {QStringLiteral("aborted"), aborted},
                           {QStringLiteral("failed"), failed}};
        record.insert(QStringLiteral("rate"), valid ? QJsonValue(int(rate.successRate)) : QJsonValue());
        records.append(record);
    }
    result.json.insert(QStringLiteral("file"), shown);
    result.json.insert(QStringLiteral("layout"), layout);
    result.json.insert(QStringLiteral("hours"), kxC::_Client_jobEfficiencyRate::lastQueriedHours());
    result.json.insert(QStringLiteral("records"), records);
    return kxInspectOk;
}

} // namespace

const kxInspectCommand kxInspectStatsCommand = {
    "stats",
    "FILE",
    "a client statistics file: its records' job counts and success rates",
    "FILE is the server's compressed client statistics file, either record layout ('-' reads it from\n"
    "standard input). A file that is missing, does not decompress or does not hold whole records is\n"
    "refused with the loader's reason.\n"
    "The rate is 0 to 255 ('-' when no job was counted).\n"
    "Exit codes: 0 the file was read, 2 a fault (missing, a folder, unreadable or malformed).\n",
    {},
    1,
    1,
    runStats,
};
