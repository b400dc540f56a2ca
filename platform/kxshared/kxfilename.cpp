// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxfilename.h"

#include <QList>

#include <algorithm>

namespace {

bool isSeparator(QChar c) {
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

bool isControl(char16_t u) {
    return u < 0x20 || u == 0x7F;
}

/// One folder step of a path and the separator written behind it (0 for the last step).
struct Step {
    QStringView name;
    QChar sep;
};

bool isDots(QStringView s) {
    for (QChar c : s)
        if (c != QLatin1Char('.'))
            return false;
    return !s.isEmpty();
}

} // namespace

QString kxGetFileNameBase(const QString& name, QChar sep) {
    QString base = name.mid(name.lastIndexOf(sep) + 1);
    const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        base.truncate(dot);
    return base;
}

QString kxPathResolve(const QString& path) {
    // Only a step that starts with "." can be "." or "..".
    bool dotStep = false;
    for (qsizetype at = path.indexOf(QLatin1Char('.')); at >= 0 && !dotStep;
         at = path.indexOf(QLatin1Char('.'), at + 1))
        dotStep = at == 0 || isSeparator(path.at(at - 1));
    if (!dotStep)
        return path;
    // The root that ".." never leaves: a UNC pair with its server name, one leading separator, or a
    // drive with its separator.
    qsizetype rootEnd = 0;
    if (path.size() >= 2 && isSeparator(path.at(0)) && isSeparator(path.at(1))) {
        rootEnd = 2;
        while (rootEnd < path.size() && !isSeparator(path.at(rootEnd)))
            ++rootEnd;
        if (rootEnd < path.size())
            ++rootEnd;
    } else if (!path.isEmpty() && isSeparator(path.at(0))) {
        rootEnd = 1;
    } else if (path.size() >= 2 && path.at(1) == QLatin1Char(':') && path.at(0).isLetter()) {
        rootEnd = (path.size() >= 3 && isSeparator(path.at(2))) ? 3 : 2;
    }
    const bool absolute = rootEnd > 0;

    QList<Step> steps;
    qsizetype at = rootEnd;
    while (at <= path.size()) {
        qsizetype end = at;
        while (end < path.size() && !isSeparator(path.at(end)))
            ++end;
        const QStringView name = QStringView(path).mid(at, end - at);
        const QChar sep = end < path.size() ? path.at(end) : QChar();
        const bool last = end >= path.size();
        if (name == QLatin1String(".") && (!steps.isEmpty() || absolute)) {
            // "a/./b": the step names the folder it stands in. A trailing "." keeps the separator
            // before it, so the path still names a folder.
        } else if (name == QLatin1String("..")) {
            const bool canPop = !steps.isEmpty() && !steps.last().name.isEmpty() &&
                                steps.last().name != QLatin1String("..") &&
                                steps.last().name != QLatin1String(".") &&
                                !steps.last().name.contains(QLatin1Char('<')) &&
                                !steps.last().name.contains(QLatin1Char('>'));
            if (canPop)
                steps.removeLast();
            else if (!(absolute && steps.isEmpty()))
                steps.append({name, sep});
        } else {
            steps.append({name, sep});
        }
        if (last)
            break;
        at = end + 1;
    }

    QString out = path.left(rootEnd);
    for (const Step& s : steps) {
        out += s.name;
        if (!s.sep.isNull())
            out += s.sep;
    }
    if (out.isEmpty()) // "a/..": the folder the relative path starts in
        out = QStringLiteral(".");
    return out;
}

QString kxRemoveIllegalCharFromFile(const QString& text, bool noFolders, const bool& blanksToUnderscore) {
    auto dropped = [noFolders](QChar c) {
        const char16_t u = c.unicode();
        return isControl(u) || u == u':' || u == u'*' || u == u'?' || u == u'"' ||
               (noFolders && isSeparator(c));
    };
    auto changed = [&](QChar c) { return dropped(c) || (blanksToUnderscore && c == QLatin1Char(' ')); };
    QString out;
    if (std::none_of(text.cbegin(), text.cend(), changed)) {
        out = text; // most values are clean: share them
    } else {
        out.reserve(text.size());
        for (QChar c : text)
            if (!dropped(c))
                out += (blanksToUnderscore && c == QLatin1Char(' ')) ? QLatin1Char('_') : c;
    }
    if (noFolders && out.size() <= 2 && isDots(out))
        out = QStringLiteral("_");
    return out;
}

QString kxRemoveIllegalCharFromDir(const QString& text, bool strict, const bool& blanksToUnderscore,
                                   bool collapseDoubled) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (isControl(u) || u == u'*' || u == u'?' || u == u'"' || u == u'|')
            continue;
        if (strict && u == u':' && out.size() != 1)
            continue;
        if (collapseDoubled && isSeparator(c) && out.size() >= 2 && out.back() == c)
            continue;
        out += (blanksToUnderscore && u == u' ') ? QLatin1Char('_') : c;
    }
    return out;
}

QString kxRemoveIllegalCharFromHtmlFile(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('-') || c == QLatin1Char('.') ||
            isSeparator(c))
            out += c;
    return out;
}
