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
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
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

/// What the dry run found about one recipient part of a job: the client it reached, or why none.
struct RecipientReport {
    QString name;   ///< the part as the plug-in compares it
    QString client; ///< the client it reached; empty for none
    QString note;   ///< why it reached none, or that it came again
    bool unknown = false;
};

/// One job event: the plug-in's answer and what the clients will be shown of it.
struct JobReport {
    QString label;
    QString id;
    int status = 0;
    int result = 0;
    QString recipients; ///< the recipient text as the job record holds it (cut to its field)
    QString cutOff;     ///< what the record's field cut from the recipient text
    QList<RecipientReport> parts;
    bool reached = false;
    QList<QPair<QString, QString>> unseen; ///< field, the characters the clients see as '?'
};

/// The recipient parts as the plug-in walks them: split at ';', empty parts kept, each compared whole
/// and with letter case against the client names, as Latin-1 cut to 50 characters.
void reportRecipients(JobReport& report, const kxC::_ClientList& clients) {
    const QStringList parts = report.recipients.split(QLatin1Char(';'));
    QStringList names;
    for (int position = 0; position < clients.usedCount(); ++position)
        names << clients.byListNo.pointers[position]->status.name.toQString();
    QStringList seen;
    for (const QString& part : parts) {
        RecipientReport r;
        r.name = part;
        const QString compared = QString::fromLatin1(part.toLatin1().left(50));
        if (seen.contains(compared) && !compared.isEmpty()) {
            r.note = QStringLiteral("named again: the client receives the message once");
            report.parts << r;
            continue;
        }
        seen << compared;
        if (names.contains(compared)) {
            r.client = compared;
            report.reached = true;
        } else if (part.isEmpty()) {
            r.note = QStringLiteral("an empty part names no client");
        } else {
            r.unknown = true;
            r.note = QStringLiteral("no such client");
            for (const QString& name : std::as_const(names)) {
                if (name == compared.trimmed())
                    r.note += QStringLiteral(" (the blanks are part of the name; %1 exists)").arg(name);
                else if (name.compare(compared, Qt::CaseInsensitive) == 0)
                    r.note += QStringLiteral(" (%1 differs only in letter case)").arg(name);
            }
        }
        report.parts << r;
    }
}

/// The characters of each message field that Latin-1 cannot hold: the message turns each into '?'.
void reportUnseen(JobReport& report, const kxJ::_JobSend& job) {
    const QPair<const char*, QString> fields[] = {{"user", job.userName.toQString()},
                                                  {"scene", job.sceneName.toQString()},
                                                  {"imageDir", job.imageDir.toQString()},
                                                  {"imageFile", job.imageFileName.toQString()}};
    for (const auto& [field, text] : fields) {
        QString unseen;
        for (const QChar c : text)
            if ((c.unicode() > 0xFF || c.isSurrogate()) && !unseen.contains(c))
                unseen += c;
        if (!unseen.isEmpty())
            report.unseen.append({QLatin1String(field), unseen});
    }
}

QJsonObject jobJson(const JobReport& report) {
    QJsonArray parts;
    for (const RecipientReport& r : report.parts) {
        QJsonObject part{
            {QStringLiteral("name"), r.name},
            {QStringLiteral("client"), r.client.isEmpty() ? QJsonValue() : QJsonValue(r.client)}};
        if (!r.note.isEmpty())
            part.insert(QStringLiteral("note"), r.note);
        parts.append(part);
    }
    QJsonObject unseen;
    for (const auto& [field, characters] : report.unseen)
        unseen.insert(field, characters);
    QJsonObject job{
        {QStringLiteral("label"), report.label},           {QStringLiteral("id"), report.id},
        {QStringLiteral("status"), report.status},         {QStringLiteral("result"), report.result},
        {QStringLiteral("recipients"), report.recipients}, {QStringLiteral("reached"), report.reached},
        {QStringLiteral("recipientParts"), parts},         {QStringLiteral("unseenCharacters"), unseen}};
    if (!report.cutOff.isEmpty())
        job.insert(QStringLiteral("recipientsCutOff"), report.cutOff);
    return job;
}

/// A fault: the message on standard error, and under --json also a document on standard output.
int fault(const kxSampleRunOptions& options, QTextStream& out, QTextStream& err, const QString& message) {
    err << "kxfarmserver: " << message << Qt::endl;
    if (!options.json)
        return kxSampleRunFault;
    QJsonObject document{{QStringLiteral("error"), message}};
    // A fault in a sample file begins with "FILE:LINE: " (standard input reads as "(standard input)").
    QStringList files = options.farmFiles;
    files.replaceInStrings(QRegularExpression(QStringLiteral("^-$")), QStringLiteral("(standard input)"));
    for (const QString& file : std::as_const(files)) {
        if (!message.startsWith(file + QLatin1Char(':')))
            continue;
        document.insert(QStringLiteral("file"), file);
        static const QRegularExpression line(QStringLiteral("^([0-9]+):"));
        const QRegularExpressionMatch match = line.match(message.mid(file.size() + 1));
        if (match.hasMatch())
            document.insert(QStringLiteral("line"), match.captured(1).toInt());
        break;
    }
    out << QJsonDocument(document).toJson(QJsonDocument::Indented);
    return kxSampleRunFault;
}

} // namespace

int kxRunSampleFarm(const kxSampleRunOptions& options, QTextStream& out, QTextStream& err) {
    kxSampleFarm farm;
    QString error;
    for (const QString& file : options.farmFiles) {
        const qsizetype before = farm.clients.size() + farm.jobs.size();
        if (!kxReadSampleFarm(file, farm, error))
            return fault(options, out, err, error);
        if (farm.clients.size() + farm.jobs.size() == before)
            err << "kxfarmserver: warning: " << file << " holds no [client] or [job] section" << Qt::endl;
    }

    QTemporaryDir scratch;
    QString logPath = options.logPath;
    if (logPath.isEmpty()) {
        if (!scratch.isValid())
            return fault(options, out, err,
                         QStringLiteral("cannot create a temporary folder for the server log"));
        logPath = scratch.filePath(QStringLiteral("kxfarmserver.log"));
    }
    // Only what this run adds to the log is shown.
    const qint64 logStart = QFileInfo(logPath).exists() ? QFileInfo(logPath).size() : 0;

    kxFarmServer server(logPath);
    if (!server.host().isLogOpen())
        return fault(options, out, err,
                     QStringLiteral("cannot open the server log %1: %2").arg(logPath, logFault(logPath)));
    if (!server.loadPlugin(options.pluginPath, error))
        return fault(options, out, err, error);
    if (!server.addClients(farm, error))
        return fault(options, out, err, error);

    QString text;
    QTextStream report(&text);
    report << "Plug-in:     " << options.pluginPath << "\n";
    report << "Sample farm: " << options.farmFiles.join(QStringLiteral(", ")) << "\n";
    report << "Clients:     " << server.host().clientCount() << ", jobs: " << farm.jobs.size() << "\n\n";

    report << "Return codes (1 handled, 5 interface mismatch, 6 exception caught, 14 no recipient)\n";
    _kxPluginInfo info{};
    const int infoResult = server.callInfo(info);
    report << "  pInfo   -> " << infoResult << "   " << info.name.toQString() << " "
           << info.pluginVersion.toQString() << ", framework " << quoted(info.frameworkVersion.toQString())
           << ", QtCore " << info.qtVersion.toQString() << "\n";
    const int initResult = server.callInit();
    report << "  pInit   -> " << initResult << "\n";

    QList<JobReport> jobs;
    const auto job = std::make_unique<kxJ::_JobSend>();
    for (const kxSampleJob& sample : std::as_const(farm.jobs)) {
        kxFillSampleJob(*job, sample);
        JobReport r;
        r.label = sample.label;
        r.id = kxJ::ID2str(job->ID);
        r.status = sample.status;
        r.result = server.callNotify(*job);
        r.recipients = job->messageClientNames.toQString();
        r.cutOff = sample.recipients.mid(r.recipients.size());
        if (r.result == 1)
            reportRecipients(r, server.host().clients());
        reportUnseen(r, *job);
        report << "  pNotify -> " << qSetFieldWidth(2) << Qt::left << r.result << qSetFieldWidth(0)
               << "  job " << r.id << " " << quoted(r.label) << ", status " << r.status << ", recipients "
               << quoted(r.recipients) << "\n";
        for (const RecipientReport& part : std::as_const(r.parts))
            report << "              " << quoted(part.name) << " -> "
                   << (part.client.isEmpty() ? part.note : part.client) << "\n";
        if (!r.cutOff.isEmpty())
            report << "              cut off at " << r.recipients.size()
                   << " characters, not compared: " << quoted(r.cutOff) << "\n";
        for (const auto& [field, characters] : std::as_const(r.unseen)) {
            QStringList shown;
            for (const QChar c : characters)
                shown << QStringLiteral("'%1'").arg(c);
            err << "kxfarmserver: warning: job " << quoted(r.label) << ": the " << field << " holds "
                << shown.join(QStringLiteral(", ")) << ", which the clients see as '?'" << Qt::endl;
        }
        jobs << r;
    }
    const int exitResult = server.callExit();
    report << "  pExit   -> " << exitResult << "\n\n";
    server.host().flushLog();

    // A temporary log is gone when the run ends: its path would mislead.
    if (options.logPath.isEmpty())
        report << "Server log (a temporary file, removed when the run ends; --log FILE keeps it)\n";
    else
        report << "Server log (" << logPath << ")\n";
    QFile log(logPath);
    QString logText;
    if (log.open(QIODevice::ReadOnly) && log.seek(logStart)) {
        logText = QString::fromUtf8(log.readAll()).trimmed();
        report << indented(logText) << "\n\n";
    } else {
        report << "    (cannot read the log: " << log.errorString() << ")\n\n";
    }

    report << "Pending user messages\n";
    QJsonObject pendingJson;
    const kxC::_ClientList& clients = server.host().clients();
    for (int position = 0; position < clients.usedCount(); ++position) {
        const kxC::_Client* client = clients.byListNo.pointers[position];
        report << "  [" << client->status.name.toQString() << "]\n";
        const QString pending = client->userMessage.text.toQString();
        report << (pending.isEmpty() ? QStringLiteral("    (none)") : indented(pending)) << "\n";
        pendingJson.insert(client->status.name.toQString(), pending);
    }
    report.flush();

    // With --strict a job that reached nobody, named nobody or named a client the list does not hold
    // ends the run with its own exit code, after the whole report.
    int strictFindings = 0;
    for (const JobReport& r : std::as_const(jobs)) {
        const bool unknown =
            std::any_of(r.parts.cbegin(), r.parts.cend(), [](const RecipientReport& p) { return p.unknown; });
        if (r.result == 14 || (r.result == 1 && !r.reached) || unknown)
            ++strictFindings;
    }

    if (options.json) {
        QJsonArray jobArray;
        for (const JobReport& r : std::as_const(jobs))
            jobArray.append(jobJson(r));
        const QJsonObject document{
            {QStringLiteral("plugin"), options.pluginPath},
            {QStringLiteral("farmFiles"), QJsonArray::fromStringList(options.farmFiles)},
            {QStringLiteral("clients"), server.host().clientCount()},
            {QStringLiteral("pInfo"), infoResult},
            {QStringLiteral("pInit"), initResult},
            {QStringLiteral("jobs"), jobArray},
            {QStringLiteral("pExit"), exitResult},
            {QStringLiteral("log"), options.logPath.isEmpty() ? QJsonValue() : QJsonValue(logPath)},
            {QStringLiteral("logLines"), QJsonArray::fromStringList(logText.split(QLatin1Char('\n')))},
            {QStringLiteral("pendingMessages"), pendingJson}};
        out << QJsonDocument(document).toJson(QJsonDocument::Indented);
    } else {
        out << text;
    }
    out.flush();
    if (options.strict && strictFindings > 0) {
        err << "kxfarmserver: --strict: " << strictFindings << (strictFindings == 1 ? " job" : " jobs")
            << " reached nobody, named nobody or named a client the farm does not have" << Qt::endl;
        return kxSampleRunStrict;
    }
    return kxSampleRunOk;
}
