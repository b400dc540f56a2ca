// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "runtime/kxsdk.h"

#include "kxlogfile.h"
#include "kxtext.h"
#include "kxtime.h"

#include <iterator>

const char kxFrameworkVersion[] = " 8.4.03";

namespace {

// Texts that only a crashing or exhausted process writes: they count as critical whatever their level.
constexpr QLatin1String crashTexts[] = {QLatin1String("Access violation"), QLatin1String("PAGE_FAULT"),
                                        QLatin1String("std::bad_alloc:bad allocation")};

// True when `units` (of `size` units) starts with the ASCII text `crash`.
bool startsWithAscii(const char16_t* units, qsizetype size, QLatin1String crash) {
    if (size < crash.size())
        return false;
    for (qsizetype i = 0; i < crash.size(); ++i)
        if (units[i] != char16_t(crash.at(i).unicode()))
            return false;
    return true;
}

// Every line is checked, so the check is one pass over the text: a crash text can only start where
// the first letter of one stands, and only there is the rest compared.
bool isCrashText(const QString& text) {
    const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i)
        for (const QLatin1String crash : crashTexts)
            if (units[i] == char16_t(crash.front().unicode()) && startsWithAscii(units + i, size - i, crash))
                return true;
    return false;
}

// Continuation lines stand under the message: time (16), separator, blank and a four-character tag.
constexpr int continuationIndent = 22;
// The width of the time and the separator, which a blank-start line keeps free.
constexpr int blankStartWidth = 17;
// An error-log entry longer than this is cut to its first errorEntryKeep characters.
constexpr qsizetype errorEntryLimit = 2500000;
constexpr qsizetype errorEntryKeep = 500;

// True when kxToKXUTF8 would change the text: a control character other than line feed and tab (a
// carriage return included), a C1 control or a surrogate. Most lines have none and are used as they
// are.
bool changedByKXUTF8(QStringView text) {
    // One pass without branches, which the compiler does many units at a time.
    const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
    unsigned changed = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = units[i];
        changed |= unsigned(u < 0x20) & unsigned(u != u'\n') & unsigned(u != u'\t');
        changed |= unsigned(char16_t(u - 0x7F) <= 0x9F - 0x7F);
        changed |= unsigned(char16_t(u - 0xD800) <= 0xDFFF - 0xD800);
    }
    return changed != 0;
}

// Appends `text`, putting the continuation indent behind every line feed.
void appendIndented(QString& out, QStringView text) {
    static const QString indent(continuationIndent, QLatin1Char(' '));
    qsizetype from = 0;
    for (qsizetype feed = text.indexOf(QLatin1Char('\n')); feed >= 0;
         feed = text.indexOf(QLatin1Char('\n'), from)) {
        out += text.mid(from, feed + 1 - from);
        out += indent;
        from = feed + 1;
    }
    out += text.mid(from);
}

} // namespace

__KXSDK::__KXSDK()
    : criticalSeen(0), reserved_9{}, interfaceVersion(0), layoutMark(0), reserved_16{}, mainLog(nullptr),
      errorLog(nullptr), logLevels(nullptr), forwardToUI(0), processName(), logSuppressed(0), processLabel{},
      logSeparatorChar('|'), secondaryLogLevel(-1), secondaryLog(nullptr), reserved_684{},
      interfaceVersion2(0), reserved_24064{}, clientList(nullptr), reserved_24084{}, endMark(0) {}

// The log files belong to the process that set them.
__KXSDK::~__KXSDK() = default;

void __KXSDK::writeLog(int level, int flags, QString const& text) {
    if (level == 0)
        noteCritical();
    if (!isLevelEnabled(level))
        return;
    if (forwardToUI) {
        const _kxString<250> shortText(text);
        logNoUIExecute_noQT(level, flags, shortText);
    }
    logFileWrite(level, flags, text);
}

void __KXSDK::logFileWrite(int level, int flags, QString const& text) {
    if (!isLevelEnabled(level))
        return;
    if (level == 0 || isCrashText(text)) {
        noteCritical();
        if (mainLog)
            mainLog->resetCriticalCount();
    }
    if (logSuppressed)
        return;
    QString line;
    formatLogMessage(level, flags, text, line);
    if (level == 0 || level == 1)
        logFileWriteError(level, flags, line);
    if (secondaryLogLevel >= 0) {
        if (secondaryLog)
            secondaryLog->addLog(line);
        if (level >= secondaryLogLevel)
            return;
    }
    if (mainLog)
        mainLog->addLog(line);
}

void __KXSDK::logFileWriteError(int level, int /*flags*/, QString const& text) {
    if ((level != 0 && level != 1) || logSuppressed || !errorLog)
        return;
    QString body = text.size() > errorEntryLimit
                       ? QStringLiteral("!!!MESSAGE TRUNCATED!!!! ") + text.left(errorEntryKeep)
                       : text;
    body += QLatin1Char('\n');
    errorLog->addLog(QLatin1Char('[') + processName.toQString() + QStringLiteral("]  ") +
                     QLatin1String(kxFrameworkVersion) + QLatin1Char('\n') + body);
}

void __KXSDK::formatLogMessage(int level, int flags, QString text, QString& out) {
    if (changedByKXUTF8(text))
        text = kxToKXUTF8(text, false);
    QStringView body(text);
    const bool plain = (flags & flagPlain) != 0;
    const QChar separator = QLatin1Char(logSeparatorChar);

    QStringView prefix;
    if (!plain && body.size() > 2 && body.at(1) == separator) {
        prefix = body.left(2);
        body = body.mid(2);
        if (body.startsWith(QLatin1Char(' ')))
            body = body.mid(1);
    }

    QLatin1String tag;
    switch (level) {
    case 0:
        tag = QLatin1String("CRF (CRITICAL FAILURE) - ");
        break;
    case 1:
        tag = QLatin1String("ERR ");
        break;
    case 2:
        tag = QLatin1String("WRN ");
        break;
    default: {
        const bool selfTagged = body.size() > 3 && body.at(3) == QLatin1Char(' ') && body.at(2).isUpper();
        if (!selfTagged && !plain)
            tag = QLatin1String("    ");
        break;
    }
    }

    // The line is built in one buffer: time and separator, then the prefix, a blank, the tag and the
    // text, every line feed of which is followed by the continuation indent.
    QString line;
    qsizetype feeds = 0;
    if (!plain)
        feeds = prefix.count(QLatin1Char('\n')) + body.count(QLatin1Char('\n'));
    line.reserve(blankStartWidth + 1 + prefix.size() + 1 + tag.size() + body.size() +
                 feeds * continuationIndent);
    if (flags & flagBlankStart) {
        line.fill(QLatin1Char(' '), blankStartWidth);
    } else if (!plain) {
        line += _kxTime(true).asStringMt();
        // A line feed as separator would end the line before its text.
        if (separator != QLatin1Char('\n'))
            line += separator;
    }

    if (plain) {
        line += tag;
        line += body;
    } else {
        appendIndented(line, prefix);
        line += QLatin1Char(' ');
        line += tag;
        appendIndented(line, body);
    }
    out = std::move(line);
}

void __KXSDK::writeLog_noQT(int level, int flags, _kxString<250> const& text) {
    if (level == 0)
        noteCritical();
    if (!isLevelEnabled(level))
        return;
    logNoUIExecute_noQT(level, flags, text);
}

void __KXSDK::logNoUIExecute_noQT(int /*level*/, int /*flags*/, _kxString<250> const& /*text*/) {}

void __KXSDK::formatLogMessage_noQT(int level, int flags, _kxString<250> const& text, _kxString<250>& out) {
    // Every add is cut at the capacity, so the line never passes 250 characters. The message is
    // copied first: a caller may build the line in place of its own text.
    const _kxString<250> message(text);
    out.clear();
    if (!(flags & flagPlain)) {
        const _kxString8_allSize<25> time = _kxTime(true).asKX8StringMt();
        out.add(time.data());
        out.add(";   ");
    }
    switch (level) {
    case 0:
        out.add("Critical Failure - ");
        break;
    case 1:
        out.add("Error - ");
        break;
    case 2:
        out.add("Warning - ");
        break;
    default:
        break;
    }
    out.insert(out.len(), message.data(), message.len());
    if (level == 0 || level == 1) {
        if (!(flags & flagNoProcessSeparator))
            out.add(";;   ");
        // The label is meant to be terminated, but never read past its field.
        int labelLength = 0;
        while (labelLength < int(std::size(processLabel)) && processLabel[labelLength] != 0)
            ++labelLength;
        out.insert(out.len(), processLabel, labelLength);
        out.add(kxFrameworkVersion);
    }
}

QString kxConvertFileError_localSDK(QFile::FileError error) {
    switch (int(error)) {
    case 0:
        return QStringLiteral("No error occurred");
    case 1:
        return QStringLiteral("An error occurred when reading from the file.");
    case 2:
        return QStringLiteral("An error occurred when writing to the file.");
    case 3:
        return QStringLiteral("A fatal error occurred.");
    case 4:
        return QStringLiteral("Resource error.");
    case 5:
        return QStringLiteral("The file could not be opened.");
    case 6:
        return QStringLiteral("The operation was aborted.");
    case 7:
        return QStringLiteral("A timeout occurred.");
    case 8:
        return QStringLiteral("An unspecified error occurred.");
    case 9:
        return QStringLiteral("The file could not be removed.");
    case 10:
        return QStringLiteral("The file could not be renamed.");
    case 11:
        return QStringLiteral("The position in the file could not be changed.");
    case 12:
        return QStringLiteral("The file could not be resized.");
    case 13:
        return QStringLiteral("The file could not be accessed.");
    case 14:
        return QStringLiteral("The file could not be copied.");
    default:
        return QStringLiteral("Unknown Error %1").arg(int(error));
    }
}
