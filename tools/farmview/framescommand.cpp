// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxinspect frames: a frame set read in one of its three text forms and written in all three.
#include "cli.h"

#include "jobs/frameset.h"
#include "kxdatabuffer.h"

#include <QJsonArray>
#include <QRegularExpression>

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

/// Reads `text` in `form` into `set`. False with `fault` set when the text is not of that form.
bool readSet(const QString& form, const QString& text, _binaryFrameSet& set, QString& fault) {
    if (form == QLatin1String("list") || form == QLatin1String("flags")) {
        if (!kxInspectLatin1Text(text, QStringLiteral("TEXT"), _binaryFrameSet::boolTextCapacity, fault))
            return false;
        if (form == QLatin1String("list")) {
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
    if (!readSet(form, call.arguments.first(), *set, result.fault))
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
    "The list written back names flag indexes (frame minus start), each entry followed by \" , \".\n",
    {{"form", "FORM", "list, flags or bita85: the form of TEXT"},
     {"start", "N", "move the set to begin at frame N after reading it"}},
    1,
    1,
    runFrames,
};
