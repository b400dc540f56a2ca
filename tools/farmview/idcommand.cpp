// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxinspect id: the texts and the 32-bit short form of a job identifier.
#include "cli.h"

#include "jobs/jobid.h"

#include <QJsonArray>
#include <QRegularExpression>

namespace {

QString hex(quint64 value, int digits) {
    return QStringLiteral("0x") +
           QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

/// Reads a 64-bit identifier: decimal, or hexadecimal after "0x".
bool readIdentifier(const QString& text, quint64& id, QString& fault) {
    static const QRegularExpression decimal(QStringLiteral("^[0-9]+$"));
    static const QRegularExpression hexadecimal(QStringLiteral("^0[xX][0-9A-Fa-f]+$"));
    bool ok = false;
    if (decimal.match(text).hasMatch())
        id = text.toULongLong(&ok, 10);
    else if (hexadecimal.match(text).hasMatch())
        id = text.mid(2).toULongLong(&ok, 16);
    else {
        fault = QStringLiteral("NUMBER '%1' is not a decimal or 0x hexadecimal number").arg(text);
        return false;
    }
    if (!ok) {
        fault = QStringLiteral("NUMBER '%1' is out of range (0 to 18446744073709551615)").arg(text);
        return false;
    }
    return true;
}

int runId(const kxInspectCall& call, kxInspectResult& result) {
    quint64 id = 0;
    if (!readIdentifier(call.arguments.first(), id, result.fault))
        return kxInspectFault;
    const kxJ::_IDDecomp parts = kxJ::_IDDecomp::fromID(id);
    const kxJ::_IDShort shortForm = kxJ::_IDShort::fromID(id);
    const quint32 shortValue = shortForm.int32();
    const quint32 mainNumber = parts.idValue;
    const QString shortText = parts.str();
    const QString fullText = parts.strFull();
    const QString shortFormText = shortForm.str();

    QString& text = result.text;
    kxInspectLine(text, QStringLiteral("identifier"), QStringLiteral("%1 (%2)").arg(id).arg(hex(id, 16)));
    kxInspectLine(text, QStringLiteral("main number"), QString::number(mainNumber));
    kxInspectLine(text, QStringLiteral("family member"), QString::number(parts.preID));
    kxInspectLine(text, QStringLiteral("extra bytes"),
                  QStringLiteral("%1 %2").arg(hex(parts.idByte1, 2), hex(parts.idByte2, 2)));
    kxInspectLine(text, QStringLiteral("short text"), shortText);
    kxInspectLine(text, QStringLiteral("full text"), fullText);
    kxInspectLine(text, QStringLiteral("short form"),
                  QStringLiteral("%1 (%2)").arg(shortValue).arg(hex(shortValue, 8)));
    kxInspectLine(text, QStringLiteral("short form text"), shortFormText);

    // 64-bit numbers do not fit a JSON number exactly, so the identifier travels as text.
    QJsonObject& json = result.json;
    json.insert(QStringLiteral("identifier"), QString::number(id));
    json.insert(QStringLiteral("identifierHex"), hex(id, 16));
    json.insert(QStringLiteral("mainNumber"), qint64(mainNumber));
    json.insert(QStringLiteral("familyMember"), int(parts.preID));
    json.insert(QStringLiteral("extraBytes"), QJsonArray{int(parts.idByte1), int(parts.idByte2)});
    json.insert(QStringLiteral("shortText"), shortText);
    json.insert(QStringLiteral("fullText"), fullText);
    json.insert(QStringLiteral("shortForm"), qint64(shortValue));
    json.insert(QStringLiteral("shortFormText"), shortFormText);
    return kxInspectOk;
}

} // namespace

const kxInspectCommand kxInspectIdCommand = {
    "id",
    "NUMBER",
    "the texts and the 32-bit short form of a job identifier",
    "NUMBER is the 64-bit identifier, decimal or hexadecimal after 0x. Shown: its main number, family\n"
    "member and extra bytes, the short text in braces, the full text, and the 32-bit short form with\n"
    "the text it stands for.\n",
    {},
    1,
    1,
    runId,
};
