// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxtext.h"

QString kxToKXUTF8(const QString& text, bool singleLine) {
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (u == u'\r' && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
            continue;
        if (u == u'\n' || u == u'\t') {
            out.append(singleLine ? QLatin1Char(' ') : c);
        } else if (u < 0x20 || (u >= 0x7F && u <= 0x9F)) {
            out.append(QLatin1Char('?'));
        } else if (c.isHighSurrogate()) {
            if (i + 1 < n && text.at(i + 1).isLowSurrogate()) {
                out.append(c);
                out.append(text.at(++i));
            } else {
                out.append(QChar(QChar::ReplacementCharacter));
            }
        } else if (c.isLowSurrogate()) {
            out.append(QChar(QChar::ReplacementCharacter));
        } else {
            out.append(c);
        }
    }
    return out;
}
