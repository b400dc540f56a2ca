// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxinspect status: the text of a client render thread's status, and of the reason it is off.
#include "cli.h"

#include "clients/clientrecords.h"

namespace {

int runStatus(const kxInspectCall& call, kxInspectResult& result) {
    qint64 status = 0;
    quint64 job = 0;
    qint64 detail = 0;
    if (!kxInspectInteger(call.arguments.first(), QStringLiteral("CODE"), -128, 127, status, result.fault) ||
        (call.has("job") &&
         !kxInspectIdentifier(call.value("job"), QStringLiteral("--job"), job, result.fault)) ||
        (call.has("detail") && !kxInspectInteger(call.value("detail"), QStringLiteral("--detail"), -32768,
                                                 32767, detail, result.fault)))
        return kxInspectFault;
    const QString text = kxC::_ClientStatusThread::clientStatusAsStringSingle_static(
        static_cast<signed char>(status), job, short(detail), nullptr);
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
    "CODE",
    "the text of a client render thread's status and the reason it is off",
    "CODE is the thread status code, -128 to 127: 0 off, 1 idle, 2 disabled, 3 rendering, ... --job\n"
    "is the thread's job ID (as kxinspect id takes it, 0 to 18446744073709551615, decimal or 0x...):\n"
    "above 1000 a job, 1 to 1000 the reason the thread is off or disabled.\n"
    "--detail is the status detail (seconds or minutes, by status).\n",
    {{"job", "ID", "the thread's job ID or off reason"},
     {"detail", "N", "the status detail, -32768 to 32767"}},
    1,
    1,
    runStatus,
};
