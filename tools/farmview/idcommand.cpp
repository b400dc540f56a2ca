// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxinspect id: the texts and the 32-bit short form of a job identifier, and the identifiers a short or
// full text can stand for.
#include "cli.h"

#include "jobs/jobconstants.h"
#include "jobs/jobid.h"

#include <QJsonArray>
#include <QRegularExpression>

namespace {

QString hex(quint64 value, int digits) {
    return QStringLiteral("0x") +
           QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

/// The short text shows T = main number / 10000 modulo 36^3 and the full text (main number mod 10000) / 7
/// modulo 36^2; an extra byte shows modulo 36. What repeats after those periods cannot be told apart.
constexpr quint64 mainPerShortLetter = 10000;
constexpr quint64 shortTextPeriod = 46656 * mainPerShortLetter;
constexpr quint64 mainNumberMax = 0xFFFFFFFFull;

/// One run of main numbers, first to last.
struct MainRange {
    quint64 first;
    quint64 last;
};

QString rangesText(const QList<MainRange>& ranges) {
    QStringList parts;
    for (const MainRange& r : ranges)
        parts << (r.first == r.last ? QString::number(r.first)
                                    : QStringLiteral("%1-%2").arg(r.first).arg(r.last));
    return parts.join(QStringLiteral(", "));
}

QJsonArray rangesJson(const QList<MainRange>& ranges) {
    QJsonArray list;
    for (const MainRange& r : ranges)
        list.append(QJsonArray{qint64(r.first), qint64(r.last)});
    return list;
}

/// Every main number whose short letters are those of T (0 to 46655): a block of 10000 every 466560000.
QList<MainRange> shortTextRanges(quint64 t) {
    QList<MainRange> ranges;
    for (quint64 start = t * mainPerShortLetter; start <= mainNumberMax; start += shortTextPeriod)
        ranges.append({start, std::min(start + mainPerShortLetter - 1, mainNumberMax)});
    return ranges;
}

/// Every main number whose short letters are those of T and whose remainder letters are those of f
/// (0 to 1295): f and f + 1296 (when it stays below 1429) times 7, seven numbers each.
QList<MainRange> fullTextRanges(quint64 t, quint64 f) {
    QList<MainRange> ranges;
    for (const MainRange& block : shortTextRanges(t))
        for (quint64 g = f; g * 7 < mainPerShortLetter; g += 1296) {
            const quint64 first = block.first + g * 7;
            if (first <= block.last)
                ranges.append(
                    {first, std::min({first + 6, block.first + mainPerShortLetter - 1, block.last})});
        }
    return ranges;
}

/// The byte values an extra-byte letter stands for.
QList<int> byteValues(int letter) {
    QList<int> values;
    for (int v = letter; v <= 255; v += 36)
        values << v;
    return values;
}

QString valuesText(const QList<int>& values) {
    QStringList parts;
    for (const int v : values)
        parts << QString::number(v);
    return parts.join(QStringLiteral(", "));
}

QJsonArray valuesJson(const QList<int>& values) {
    QJsonArray list;
    for (const int v : values)
        list.append(v);
    return list;
}

/// The family member the letters after the main letters stand for, or -1 when no member shows them.
int familyMember(const QString& letters) {
    const QString& small = kxJ::ID_letters_small;
    if (letters.isEmpty())
        return 0;
    if (letters.size() == 1)
        return int(small.indexOf(letters[0])) + 1;
    const int q = int(small.indexOf(letters[0]));
    const int r = int(small.indexOf(letters[1]));
    const int member = q * 24 + r + 1;
    return q >= 1 && member <= 255 ? member : -1;
}

quint64 mainLetters(const QString& letters) {
    const QString& large = kxJ::ID_letters;
    return quint64(large.indexOf(letters[0])) * 1296 + quint64(large.indexOf(letters[1])) * 36 +
           quint64(large.indexOf(letters[2]));
}

/// `kxinspect id TEXT`: the identifiers a short text "{KT9 }" or a full text "KT9_29AA" stands for.
int runDecode(const QString& text, kxInspectResult& result) {
    static const QString large = QStringLiteral("[A-HJ-Z1-9+\\-]");
    static const QString small = QStringLiteral("[a-hj-lnoq-z]");
    static const QRegularExpression shortForm(QStringLiteral("^\\{(%1{3})( |%2{1,2})\\}$").arg(large, small));
    static const QRegularExpression fullForm(
        QStringLiteral("^(%1{3})(%2{0,2})_(%1{2})(%1)(%1)$").arg(large, small));
    const QRegularExpressionMatch shortMatch = shortForm.match(text);
    const QRegularExpressionMatch fullMatch = fullForm.match(text);
    if (!shortMatch.hasMatch() && !fullMatch.hasMatch()) {
        result.fault =
            QStringLiteral("TEXT '%1' is neither a short identifier text (\"{KT9 }\", \"{KT9a}\") nor "
                           "a full one (\"KT9_29AA\")")
                .arg(text);
        return kxInspectFault;
    }
    const bool full = fullMatch.hasMatch();
    const QRegularExpressionMatch& match = full ? fullMatch : shortMatch;
    const QString family = match.captured(2).trimmed();
    const int member = familyMember(family);
    if (member < 0) {
        result.fault = QStringLiteral("TEXT '%1': no family member shows the letters '%2'").arg(text, family);
        return kxInspectFault;
    }
    const quint64 t = mainLetters(match.captured(1));
    QList<MainRange> ranges;
    QList<int> byte1;
    QList<int> byte2;
    if (full) {
        const QString& letters = kxJ::ID_letters;
        const QString rest = match.captured(3);
        const quint64 f = quint64(letters.indexOf(rest[0])) * 36 + quint64(letters.indexOf(rest[1]));
        ranges = fullTextRanges(t, f);
        byte2 = byteValues(int(letters.indexOf(match.captured(4)[0])));
        byte1 = byteValues(int(letters.indexOf(match.captured(5)[0])));
    } else {
        ranges = shortTextRanges(t);
    }
    if (ranges.isEmpty()) {
        result.fault = QStringLiteral("TEXT '%1': no main number shows these letters").arg(text);
        return kxInspectFault;
    }
    quint64 mainCount = 0;
    for (const MainRange& r : ranges)
        mainCount += r.last - r.first + 1;
    QString& out = result.text;
    kxInspectLine(out, QStringLiteral("text"), text);
    kxInspectLine(out, QStringLiteral("kind"),
                  full ? QStringLiteral("full text") : QStringLiteral("short text"));
    kxInspectLine(out, QStringLiteral("family member"), QString::number(member));
    kxInspectLine(out, QStringLiteral("main numbers"), rangesText(ranges));
    kxInspectLine(out, QStringLiteral("extra bytes"),
                  full ? QStringLiteral("first %1; second %2").arg(valuesText(byte1), valuesText(byte2))
                       : QStringLiteral("any (the short text does not show them)"));
    // One identifier only when a single main number and a single pair of extra bytes remain.
    const bool unique = full && mainCount == 1 && byte1.size() == 1 && byte2.size() == 1;
    if (unique) {
        kxJ::_IDDecomp id = kxJ::_IDDecomp::fromID(0);
        id.preID = quint8(member);
        id.idValue = quint32(ranges.first().first);
        id.idByte1 = quint8(byte1.first());
        id.idByte2 = quint8(byte2.first());
        kxInspectLine(out, QStringLiteral("identifier"), QString::number(id.toID()));
        result.json.insert(QStringLiteral("identifier"), QString::number(id.toID()));
    }
    QJsonObject& json = result.json;
    json.insert(QStringLiteral("text"), text);
    json.insert(QStringLiteral("kind"), full ? QStringLiteral("full") : QStringLiteral("short"));
    json.insert(QStringLiteral("familyMember"), member);
    json.insert(QStringLiteral("mainNumbers"), rangesJson(ranges));
    if (full) {
        json.insert(QStringLiteral("extraByte1"), valuesJson(byte1));
        json.insert(QStringLiteral("extraByte2"), valuesJson(byte2));
    }
    return kxInspectOk;
}

int runId(const kxInspectCall& call, kxInspectResult& result) {
    quint64 id = 0;
    if (call.has("main")) {
        if (!call.arguments.isEmpty()) {
            result.fault = QStringLiteral("give NUMBER, TEXT or --main, not two of them");
            return kxInspectFault;
        }
        qint64 mainNumber = 0;
        qint64 member = 0;
        if (!kxInspectInteger(call.value("main"), QStringLiteral("--main"), 0, qint64(mainNumberMax),
                              mainNumber, result.fault) ||
            (call.has("member") && !kxInspectInteger(call.value("member"), QStringLiteral("--member"), 0, 255,
                                                     member, result.fault)))
            return kxInspectFault;
        kxJ::_IDDecomp parts = kxJ::_IDDecomp::fromID(0);
        parts.idValue = quint32(mainNumber);
        parts.preID = quint8(member);
        id = parts.toID();
    } else {
        if (call.has("member")) {
            result.fault = QStringLiteral("--member goes with --main");
            return kxInspectFault;
        }
        if (call.arguments.isEmpty()) {
            result.fault = QStringLiteral("missing NUMBER, TEXT or --main N (usage: kxinspect id %1)")
                               .arg(QLatin1String(kxInspectIdCommand.usage));
            return kxInspectFault;
        }
        const QString argument = call.arguments.first();
        if (argument.startsWith(QLatin1Char('{')) || argument.contains(QLatin1Char('_')))
            return runDecode(argument, result);
        if (!kxInspectIdentifier(argument, QStringLiteral("NUMBER"), id, result.fault))
            return kxInspectFault;
    }
    const kxJ::_IDDecomp parts = kxJ::_IDDecomp::fromID(id);
    const kxJ::_IDShort shortForm = kxJ::_IDShort::fromID(id);
    const quint32 shortValue = shortForm.int32();
    const quint32 mainNumber = parts.idValue;
    const QString shortText = parts.str();
    const QString fullText = parts.strFull();
    const QString shortFormText = shortForm.str();
    const QList<MainRange> sameShort = shortTextRanges((mainNumber / mainPerShortLetter) % 46656);

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
    // The short text keeps neither the main number's last four digits nor its extra bytes.
    kxInspectLine(text, QStringLiteral("same short text"),
                  QStringLiteral("main numbers %1 (member %2, any extra bytes)")
                      .arg(rangesText(sameShort))
                      .arg(parts.preID));

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
    json.insert(QStringLiteral("sameShortText"), rangesJson(sameShort));
    return kxInspectOk;
}

} // namespace

const kxInspectCommand kxInspectIdCommand = {
    "id",
    "NUMBER | TEXT | --main N [--member M]",
    "the texts and the 32-bit short form of a job identifier",
    "NUMBER is the packed 64-bit identifier, decimal or hexadecimal after 0x. --main N (0 to 4294967295)\n"
    "and --member M (0 to 255) build it from the main number and family member, as a farm file's\n"
    "\"number\" and \"member\" give them. Shown: its main number, family member and extra bytes, the short\n"
    "text in braces, the full text, the 32-bit short form with the text it stands for, and the main\n"
    "numbers that show the same short text: it keeps neither the last four digits of the main number\n"
    "nor the extra bytes, and repeats every 466560000 (main numbers 0 to 9999 all show {AAA }).\n"
    "TEXT is a short text (\"{KT9 }\") or a full text (\"KT9_29AA\"): shown are the family member, the\n"
    "main numbers and extra bytes it can stand for, and the identifier when only one is left.\n"
    "Exit codes: 0 success, 2 a fault.\n",
    {{"main", "N", "the identifier's main number"}, {"member", "M", "with --main: the family member"}},
    0,
    1,
    runId,
};
