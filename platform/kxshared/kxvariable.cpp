// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxvariable.h"

#include "kxpath.h"

bool findNextVariable2Replace(QString& text, const QString& prefix, int& position, const bool& ignoreCase,
                              QString* inner) {
    if (prefix.isEmpty())
        return false;
    const Qt::CaseSensitivity cs = ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const qsizetype start = text.indexOf(prefix, 0, cs);
    if (start < 0)
        return false;
    // Depth of open brackets: those of the prefix itself, then those inside.
    int depth = 0;
    for (QChar c : prefix) {
        if (c == QLatin1Char('<'))
            ++depth;
        else if (c == QLatin1Char('>') && depth > 0)
            --depth;
    }
    const qsizetype innerStart = start + prefix.size();
    qsizetype close = -1;
    for (qsizetype i = innerStart; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('<')) {
            ++depth;
        } else if (c == QLatin1Char('>')) {
            if (--depth <= 0) {
                close = i;
                break;
            }
        }
    }
    if (close < 0)
        return false;
    if (inner)
        *inner = text.mid(innerStart, close - innerStart);
    text.remove(start, close + 1 - start);
    position = int(start);
    return true;
}

bool LineReplaceWithBool2(QString& text, const QString& variable, const QString& value,
                          const bool& caseSensitive, const bool& all) {
    if (variable.isEmpty())
        return false;
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const qsizetype at = text.indexOf(variable, 0, cs);
    if (at < 0)
        return false;
    if (all)
        text.replace(variable, value, cs);
    else
        text.replace(at, variable.size(), value);
    return true;
}

QString bool2str(bool value, bool asDigit) {
    if (asDigit)
        return value ? QStringLiteral("1") : QStringLiteral("0");
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

QString OS2String(int os) {
    switch (os) {
    case kxOS_Windows:
        return QStringLiteral("win");
    case kxOS_Linux:
        return QStringLiteral("lx");
    case kxOS_Mac:
        return QStringLiteral("osx");
    default:
        return QString();
    }
}
