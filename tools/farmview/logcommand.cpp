// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxinspect log and error: the names of job history event codes with their colours, and the texts of
// job error codes.
#include "cli.h"

#include "jobs/joblogtext.h"

#include <QJsonArray>

#include <cstring>

namespace {

/// Reads every argument as a code of one byte, as history entries and errors store them, and lists
/// each with the text `describe` gives it, under `listName` in the JSON document.
template <typename Describe>
int runCodes(const kxInspectCall& call, kxInspectResult& result, const QString& listName, Describe describe) {
    QList<qint64> codes;
    if (!kxInspectCodes(call.arguments, call.has("all"), QStringLiteral("CODE"), 0, 255, codes, result.fault))
        return kxInspectFault;
    QJsonArray entries;
    for (const qint64 wide : std::as_const(codes)) {
        const int code = int(wide);
        QJsonObject entry{{QStringLiteral("code"), code}};
        kxInspectLine(result.text, QString::number(code), describe(code, entry));
        entries.append(entry);
    }
    result.json.insert(listName, entries);
    return kxInspectOk;
}

int runLog(const kxInspectCall& call, kxInspectResult& result) {
    return runCodes(call, result, QStringLiteral("events"), [](int code, QJsonObject& entry) {
        const kxJ::_LogMessage message = kxJ::_LogMessage(code);
        const QString name = kxJ::Log2StrID(message).toQString();
        const QString colour =
            QStringLiteral("0x") +
            QString::number(kxJ::LogColorID(message), 16).toUpper().rightJustified(6, QLatin1Char('0'));
        entry.insert(QStringLiteral("name"), name);
        entry.insert(QStringLiteral("colour"), colour);
        return QStringLiteral("%1  (colour %2)").arg(name, colour);
    });
}

int runError(const kxInspectCall& call, kxInspectResult& result) {
    return runCodes(call, result, QStringLiteral("errors"), [](int code, QJsonObject& entry) {
        kxJ::_Error error;
        std::memset(&error, 0, sizeof(error));
        error.code = quint8(code);
        const QString text = kxJ::Err2Str(error).toQString();
        entry.insert(QStringLiteral("text"), text);
        return text;
    });
}

} // namespace

const kxInspectCommand kxInspectLogCommand = {
    "log",
    "CODE... | --all",
    "the names and colours of job history event codes",
    "Each CODE is a history event code, 0 to 255, decimal or hexadecimal after 0x, or a range A-B;\n"
    "--all lists every code. Shown: its name and the colour the job's log shows it in (0x000000 when\n"
    "the colour list holds none).\n"
    "Exit codes: 0 success, 2 a fault.\n",
    {{"all", nullptr, "every code, 0 to 255"}},
    0,
    255,
    runLog,
};

const kxInspectCommand kxInspectErrorCommand = {
    "error",
    "CODE... | --all",
    "the texts of job error codes",
    "Each CODE is a job error code, 0 to 255, decimal or hexadecimal after 0x, or a range A-B; --all\n"
    "lists every code. A code without a text of its own shows \"Unknown error N\", as the farm does.\n"
    "Exit codes: 0 success, 2 a fault.\n",
    {{"all", nullptr, "every code, 0 to 255"}},
    0,
    255,
    runError,
};
