// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxinspect status: the text of a client render thread's status, and of the reason it is off.
#include "cli.h"

#include "clients/clientrecords.h"

#include <QJsonArray>

namespace {

/// One status code as a script reads it: the code, its name (the text without job or detail) and the
/// text the farm shows for it with the call's job and detail.
QJsonObject statusEntry(qint64 code, quint64 job, short detail, QString& text) {
    const signed char status = static_cast<signed char>(code);
    text = kxC::_ClientStatusThread::clientStatusAsStringSingle_static(status, job, detail, nullptr);
    // Without a job the text starts with the job part "|0| ", which is no part of the name.
    QString name = kxC::_ClientStatusThread::clientStatusAsStringSingle_static(status, 0, 0, nullptr);
    if (name.startsWith(QLatin1String("|0| ")))
        name.remove(0, 4);
    return QJsonObject{
        {QStringLiteral("code"), int(code)}, {QStringLiteral("name"), name}, {QStringLiteral("text"), text}};
}

int runStatus(const kxInspectCall& call, kxInspectResult& result) {
    QList<qint64> codes;
    quint64 job = 0;
    qint64 detail = 0;
    if (!kxInspectCodes(call.arguments, call.has("all"), QStringLiteral("CODE"), -128, 127, codes,
                        result.fault) ||
        (call.has("job") &&
         !kxInspectIdentifier(call.value("job"), QStringLiteral("--job"), job, result.fault)) ||
        (call.has("detail") && !kxInspectInteger(call.value("detail"), QStringLiteral("--detail"), -32768,
                                                 32767, detail, result.fault)))
        return kxInspectFault;
    if (codes.size() > 1) {
        // Several codes: one line each, the code first.
        QJsonArray statuses;
        for (const qint64 code : std::as_const(codes)) {
            QString text;
            statuses.append(statusEntry(code, job, short(detail), text));
            kxInspectLine(result.text, QString::number(code), text);
        }
        result.json.insert(QStringLiteral("statuses"), statuses);
        return kxInspectOk;
    }
    QString text;
    result.json = statusEntry(codes.first(), job, short(detail), text);
    kxInspectLine(result.text, QStringLiteral("status"), text);
    result.json.insert(QStringLiteral("status"), text);
    // A job ID of 1 to 1000 carries the reason the thread is off or disabled.
    if (job >= 1 && job <= 1000) {
        const QString reason =
            kxC::_ClientStatusThread::clientOffStatusAsString(kxC::_ClientStatusJobs(job), short(detail));
        kxInspectLine(result.text, QStringLiteral("off reason"),
                      QStringLiteral("%1: %2").arg(job).arg(reason));
        result.json.insert(QStringLiteral("offReason"), int(job));
        result.json.insert(QStringLiteral("offReasonText"), reason);
    }
    return kxInspectOk;
}

} // namespace

const kxInspectCommand kxInspectStatusCommand = {
    "status",
    "CODE... | --all",
    "the text of a client render thread's status and the reason it is off",
    "CODE is the thread status code, -128 to 127: 0 off, 1 idle, 2 disabled, 3 rendering, ...; a range\n"
    "A-B or --all lists several, one line each. --job is the thread's job ID (as kxinspect id takes it,\n"
    "0 to 18446744073709551615, decimal or 0x...): above 1000 a job, 1 to 1000 the reason the thread is\n"
    "off or disabled. --detail is the status detail (seconds or minutes, by status). With --json:\n"
    "{\"code\", \"name\", \"text\"} (and \"status\", the text), or {\"statuses\": [...]} for several codes.\n"
    "Exit codes: 0 success, 2 a fault.\n",
    {{"job", "ID", "the thread's job ID or off reason"},
     {"detail", "N", "the status detail, -32768 to 32767"},
     {"all", nullptr, "every code, -128 to 127"}},
    0,
    255,
    runStatus,
};
