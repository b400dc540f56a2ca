// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxinspect frames: a frame set read in one of its three text forms and written in all three.
#include "cli.h"

#include "jobs/frameset.h"
#include "kxdatabuffer.h"

#include <QJsonArray>
#include <QRegularExpression>

#include <algorithm>
#include <memory>

namespace {

using kxJ::_binaryFrameSet;

/// The Bool form's hexadecimal start: 1 to 32 digits and a ':', then only '0' and '1'. The reader
/// takes any other character as an unset flag; an inspector names it instead.
bool checkFlagsText(const QString& text, QString& fault) {
    static const QRegularExpression form(QStringLiteral("^([0-9A-Fa-f]{1,32}):([01]*)$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch()) {
        const qsizetype colon = text.indexOf(QLatin1Char(':'));
        if (colon < 0)
            fault = QStringLiteral("flags text '%1' has no hexadecimal start ending with ':'").arg(text);
        else
            for (qsizetype i = colon + 1; i < text.size() && fault.isEmpty(); ++i)
                if (text[i] != QLatin1Char('0') && text[i] != QLatin1Char('1'))
                    fault = QStringLiteral("flags text '%1': character %2 is '%3', not 0 or 1")
                                .arg(text)
                                .arg(i + 1)
                                .arg(text[i]);
        if (fault.isEmpty())
            fault = QStringLiteral("flags text '%1' has no hexadecimal start of 1 to 32 digits").arg(text);
        return false;
    }
    bool ok = false;
    const qulonglong start = match.captured(1).toULongLong(&ok, 16);
    if (!ok || start > 0xFFFFFFFFull) {
        fault =
            QStringLiteral("flags text '%1': the start %2 is beyond 32 bits").arg(text, match.captured(1));
        return false;
    }
    return true;
}

/// The list form: parts separated by ',', each a frame "a", a range "a-b" or a stepped range "a+s" or
/// "a-b+s" of whole numbers 0 to 2147483647, blanks around the parts allowed. The reader takes any
/// unreadable number as 0, a range that ends before it starts as nothing and a step of 0 as 1; an
/// inspector names the part instead. Frames more than 7999 after the first are dropped by the set:
/// that is a warning, since the farm reads the text so.
bool checkListText(const QString& text, QString& fault, QStringList& warnings) {
    static const QRegularExpression part(
        QStringLiteral("^([0-9]+)\\s*(?:-\\s*([0-9]+))?\\s*(?:\\+\\s*([0-9]+))?$"));
    static const QRegularExpression allowed(QStringLiteral("[^0-9+\\- ]"));
    qint64 first = INT64_MAX;
    qint64 last = INT64_MIN;
    qsizetype position = 0;
    const QStringList pieces = text.split(QLatin1Char(','));
    for (const QString& piece : pieces) {
        const QString trimmed = piece.trimmed();
        const qsizetype at = position + piece.indexOf(trimmed);
        position += piece.size() + 1;
        if (trimmed.isEmpty())
            continue;
        const QRegularExpressionMatch match = part.match(trimmed);
        if (!match.hasMatch()) {
            const QRegularExpressionMatch bad = allowed.match(trimmed);
            fault = QStringLiteral("list text part '%1' (at character %2) is not a frame a, a range a-b or a "
                                   "stepped range a-b+s of whole numbers from 0")
                        .arg(trimmed)
                        .arg(at + 1);
            if (bad.hasMatch())
                fault += QStringLiteral(": character %1 is '%2'")
                             .arg(at + bad.capturedStart() + 1)
                             .arg(bad.captured());
            return false;
        }
        qint64 numbers[3] = {0, 0, 1};
        for (int i = 0; i < 3; ++i) {
            if (!match.hasCaptured(i + 1))
                continue;
            bool ok = false;
            numbers[i] = match.captured(i + 1).toLongLong(&ok);
            if (!ok || numbers[i] > INT32_MAX) {
                fault =
                    QStringLiteral("list text part '%1': %2 is beyond the largest frame number 2147483647")
                        .arg(trimmed, match.captured(i + 1));
                return false;
            }
        }
        const qint64 from = numbers[0];
        const qint64 to = match.hasCaptured(2) ? numbers[1] : from;
        if (to < from) {
            fault = QStringLiteral("list text part '%1' ends before it starts").arg(trimmed);
            return false;
        }
        if (numbers[2] < 1) {
            fault = QStringLiteral("list text part '%1' has the step 0; a step is 1 or more").arg(trimmed);
            return false;
        }
        first = std::min(first, from);
        last = std::max(last, to);
    }
    if (first != INT64_MAX && last - first > _binaryFrameSet::flagCount - 1)
        warnings << QStringLiteral(
                        "a set holds %1 frames from its first: the frames from %2 to %3 are dropped")
                        .arg(_binaryFrameSet::flagCount)
                        .arg(first + _binaryFrameSet::flagCount)
                        .arg(last);
    return true;
}

/// Reads `text` in `form` into `set`. False with `fault` set when the text is not of that form.
bool readSet(const QString& form, const QString& text, _binaryFrameSet& set, QString& fault,
             QStringList& warnings) {
    if (form == QLatin1String("list") || form == QLatin1String("flags")) {
        if (!kxInspectLatin1Text(text, QStringLiteral("TEXT"), _binaryFrameSet::boolTextCapacity, fault))
            return false;
        if (form == QLatin1String("list")) {
            if (!checkListText(text, fault, warnings))
                return false;
            set.fromString_FrameSet(_kxString8_allSize<1000>(text));
            return true;
        }
        if (!checkFlagsText(text, fault))
            return false;
        set.fromString_Bool(_kxString8_allSize<1000>(text));
        return true;
    }
    // The BitA85 form is binary; on the command line it is written as the hexadecimal of its bytes.
    static const QRegularExpression hexBytes(QStringLiteral("^([0-9A-Fa-f]{2})+$"));
    if (!hexBytes.match(text).hasMatch()) {
        fault = QStringLiteral("bita85 text '%1' is not an even number of hexadecimal digits").arg(text);
        return false;
    }
    const QByteArray data = QByteArray::fromHex(text.toLatin1());
    _KX_DataBuffer plain;
    if (!_KX_DataBuffer(data).decompressTo(plain)) {
        fault = QStringLiteral("bita85 data does not decompress: %1").arg(plain.errorString());
        return false;
    }
    set.fromString_BitA85(data);
    return true;
}

int runFrames(const kxInspectCall& call, kxInspectResult& result) {
    const QString form = call.has("form") ? call.value("form") : QStringLiteral("list");
    if (form != QLatin1String("list") && form != QLatin1String("flags") && form != QLatin1String("bita85")) {
        result.fault = QStringLiteral("--form '%1' is not list, flags or bita85").arg(form);
        return kxInspectFault;
    }
    qint64 start = 0;
    if (call.has("start") && !kxInspectInteger(call.value("start"), QStringLiteral("--start"), INT32_MIN,
                                               INT32_MAX, start, result.fault))
        return kxInspectFault;

    // 8 KB: kept off the stack.
    auto set = std::make_unique<_binaryFrameSet>();
    if (!readSet(form, call.arguments.first(), *set, result.fault, result.warnings))
        return kxInspectFault;
    if (call.has("start"))
        set->startFrame = qint32(start);

    QJsonArray frameArray;
    QStringList frameTexts;
    for (int i = 0; i <= set->lastIndex(); ++i)
        if (set->isSet(i)) {
            const qint64 frame = qint64(set->startFrame) + i;
            frameArray.append(frame);
            frameTexts << QString::number(frame);
        }
    const QString listText = set->asString_FrameSet();
    const QString flagsText = set->asString_Bool().toQString();
    const QString bitText = QString::fromLatin1(set->asString_BitA85().toHex()).toUpper();

    QString& text = result.text;
    kxInspectLine(text, QStringLiteral("read as"), form);
    kxInspectLine(text, QStringLiteral("start"), QString::number(set->startFrame));
    kxInspectLine(text, QStringLiteral("file numbers"),
                  set->isFileNumber ? QStringLiteral("yes") : QStringLiteral("no"));
    kxInspectLine(text, QStringLiteral("last index"), QString::number(set->lastIndex()));
    kxInspectLine(text, QStringLiteral("frame count"), QString::number(frameTexts.size()));
    kxInspectLine(text, QStringLiteral("frames"),
                  frameTexts.isEmpty() ? QStringLiteral("(none)") : frameTexts.join(QStringLiteral(", ")));
    kxInspectLine(text, QStringLiteral("list"), listText);
    kxInspectLine(text, QStringLiteral("flags"), flagsText);
    // The flags form holds 1000 characters in all: a longer set loses its last flags in it.
    const int flagsWritten = int(flagsText.size() - flagsText.indexOf(QLatin1Char(':')) - 1);
    const bool flagsCut = flagsWritten < set->lastIndex() + 1;
    if (flagsCut)
        kxInspectLine(text, QString(),
                      QStringLiteral("(cut at %1 characters: frames from %2 on are missing)")
                          .arg(_binaryFrameSet::boolTextCapacity)
                          .arg(qint64(set->startFrame) + flagsWritten));
    kxInspectLine(text, QStringLiteral("bita85"), bitText);

    QJsonObject& json = result.json;
    json.insert(QStringLiteral("readAs"), form);
    json.insert(QStringLiteral("start"), set->startFrame);
    json.insert(QStringLiteral("fileNumbers"), set->isFileNumber != 0);
    json.insert(QStringLiteral("lastIndex"), set->lastIndex());
    json.insert(QStringLiteral("frames"), frameArray);
    json.insert(QStringLiteral("list"), listText);
    json.insert(QStringLiteral("flags"), flagsText);
    json.insert(QStringLiteral("flagsCut"), flagsCut);
    json.insert(QStringLiteral("bita85"), bitText);
    return kxInspectOk;
}

} // namespace

const kxInspectCommand kxInspectFramesCommand = {
    "frames",
    "TEXT",
    "a frame set read in one form, written in all three, and its frame numbers",
    "TEXT is a frame set in the form --form names:\n"
    "  list    frames and runs: \"1001-1010,1020,1-9+4\" (the default)\n"
    "  flags   a hexadecimal start, ':' and one 0 or 1 per frame: \"3E9:1101\"\n"
    "  bita85  the compressed bit form, as the hexadecimal of its bytes\n"
    "The list written back names flag indexes (frame minus start), each entry followed by \" , \".\n"
    "A set holds 8000 frames from its first one; frames further on are dropped (a warning says so).\n"
    "TEXT in the list and flags forms holds at most 1000 Latin-1 characters. A list part that is no\n"
    "frame, range or stepped range, a range that ends before it starts, a step of 0 and a frame beyond\n"
    "2147483647 are refused (the farm would read them as frame 0, nothing, step 1 or 2147483647).\n"
    "Exit codes: 0 the set was read, 2 a fault.\n",
    {{"form", "FORM", "list, flags or bita85: the form of TEXT"},
     {"start", "N", "move the set to begin at frame N after reading it"}},
    1,
    1,
    runFrames,
};
