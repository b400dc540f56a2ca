// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "samplerun.h"

#include "farmserver.h"

#include "clients/clientlist.h"
#include "jobs/jobid.h"
#include "jobs/jobrecords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

namespace {

QString indented(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (!line.isEmpty())
            line.prepend(QStringLiteral("    "));
    return lines.join(QLatin1Char('\n'));
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

/// Why the server log at `path` cannot be opened for appending.
QString logFault(const QString& path) {
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        return QStringLiteral("its folder %1 does not exist").arg(info.absolutePath());
    if (info.isDir())
        return QStringLiteral("it is a folder");
    QFile file(path);
    if (!file.open(QIODevice::Append))
        return file.errorString();
    return QStringLiteral("the log file cannot be opened");
}

} // namespace

int kxRunSampleFarm(const kxSampleRunOptions& options, QTextStream& out, QTextStream& err) {
    kxSampleFarm farm;
    QString error;
    for (const QString& file : options.farmFiles) {
        const qsizetype before = farm.clients.size() + farm.jobs.size();
        if (!kxReadSampleFarm(file, farm, error)) {
            err << "kxfarmserver: " << error << Qt::endl;
            return 1;
        }
        if (farm.clients.size() + farm.jobs.size() == before)
            err << "kxfarmserver: warning: " << file << " holds no [client] or [job] section" << Qt::endl;
    }

    QTemporaryDir scratch;
    QString logPath = options.logPath;
    if (logPath.isEmpty()) {
        if (!scratch.isValid()) {
            err << "kxfarmserver: cannot create a temporary folder for the server log" << Qt::endl;
            return 1;
        }
        logPath = scratch.filePath(QStringLiteral("kxfarmserver.log"));
    }
    // Only what this run adds to the log is shown.
    const qint64 logStart = QFileInfo(logPath).exists() ? QFileInfo(logPath).size() : 0;

    kxFarmServer server(logPath);
    if (!server.host().isLogOpen()) {
        err << "kxfarmserver: cannot open the server log " << logPath << ": " << logFault(logPath)
            << Qt::endl;
        return 1;
    }
    if (!server.loadPlugin(options.pluginPath, error)) {
        err << "kxfarmserver: " << error << Qt::endl;
        return 1;
    }
    if (!server.addClients(farm, error)) {
        err << "kxfarmserver: " << error << Qt::endl;
        return 1;
    }

    out << "Plug-in:     " << options.pluginPath << "\n";
    out << "Sample farm: " << options.farmFiles.join(QStringLiteral(", ")) << "\n";
    out << "Clients:     " << server.host().clientCount() << ", jobs: " << farm.jobs.size() << "\n\n";

    out << "Return codes (1 handled, 5 interface mismatch, 6 exception caught, 14 no recipient)\n";
    _kxPluginInfo info{};
    const int infoResult = server.callInfo(info);
    out << "  pInfo   -> " << infoResult << "   " << info.name.toQString() << " "
        << info.pluginVersion.toQString() << ", framework " << quoted(info.frameworkVersion.toQString())
        << ", QtCore " << info.qtVersion.toQString() << "\n";
    out << "  pInit   -> " << server.callInit() << "\n";

    const auto job = std::make_unique<kxJ::_JobSend>();
    for (const kxSampleJob& sample : std::as_const(farm.jobs)) {
        kxFillSampleJob(*job, sample);
        const int result = server.callNotify(*job);
        out << "  pNotify -> " << qSetFieldWidth(2) << Qt::left << result << qSetFieldWidth(0) << "  job "
            << kxJ::ID2str(job->ID) << " " << quoted(sample.label) << ", status " << sample.status
            << ", recipients " << quoted(job->messageClientNames.toQString()) << "\n";
    }
    out << "  pExit   -> " << server.callExit() << "\n\n";
    server.host().flushLog();

    // A temporary log is gone when the run ends: its path would mislead.
    if (options.logPath.isEmpty())
        out << "Server log (a temporary file, removed when the run ends; --log FILE keeps it)\n";
    else
        out << "Server log (" << logPath << ")\n";
    QFile log(logPath);
    if (log.open(QIODevice::ReadOnly) && log.seek(logStart))
        out << indented(QString::fromUtf8(log.readAll()).trimmed()) << "\n\n";
    else
        out << "    (cannot read the log: " << log.errorString() << ")\n\n";

    out << "Pending user messages\n";
    const kxC::_ClientList& clients = server.host().clients();
    for (int position = 0; position < clients.usedCount(); ++position) {
        const kxC::_Client* client = clients.byListNo.pointers[position];
        out << "  [" << client->status.name.toQString() << "]\n";
        const QString pending = client->userMessage.text.toQString();
        out << (pending.isEmpty() ? QStringLiteral("    (none)") : indented(pending)) << "\n";
    }
    out.flush();
    return 0;
}
