// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "plugin/notifymessage.h"

#include <algorithm>
#include <iterator>

namespace {

/// The pieces joined in one buffer, sized once.
template <typename... Pieces>
QString joined(const Pieces&... pieces) {
    QString out;
    out.reserve((qsizetype(0) + ... + QStringView(pieces).size()));
    (out.append(QStringView(pieces)), ...);
    return out;
}

/// "  n:", the count in decimal and "|||\n".
struct CountText {
    explicit CountText(int clientCount) {
        // Digits by hand: std::to_chars would leave its digit tables among the library's exported names.
        char16_t digits[10];
        int n = 0;
        unsigned magnitude = clientCount < 0 ? 0u - unsigned(clientCount) : unsigned(clientCount);
        do {
            digits[n++] = char16_t(u'0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        char16_t* at = std::copy(std::begin(u"  n:"), std::end(u"  n:") - 1, units);
        if (clientCount < 0)
            *at++ = u'-';
        while (n > 0)
            *at++ = digits[--n];
        at = std::copy(std::begin(u"|||\n"), std::end(u"|||\n") - 1, at);
        size = at - units;
    }
    operator QStringView() const { return QStringView(units, size); }

    char16_t units[4 + 11 + 4];
    qsizetype size;
};

} // namespace

QString kxNotifyTemplate(quint8 status) {
    // The blanks before the line feeds are part of the texts clients have always shown.
    if (status >= 180)
        return QStringLiteral("%1\nJob %2 [%3] finished. \nScene:%4 \nImage:%5%6");
    if (status >= 121)
        return QStringLiteral("%1\nJob %2 [%3] frames done. \nScene:%4 \nImage:%5%6");
    return QStringLiteral("%1\nJob %2 [%3] preview frames done. \nScene:%4 \nImage:%5%6");
}

QString kxComposeNotifyMessage(quint8 status, QStringView time, QStringView jobText, QStringView user,
                               QStringView scene, QStringView imageDir, QStringView imageFile) {
    // Every placeholder is replaced in one pass over the template, and a value is never searched for
    // placeholders: chained arg() calls would search each value already put in for the next one.
    const QStringView values[] = {time, jobText, user, scene, imageDir, imageFile};
    const QString pattern = kxNotifyTemplate(status);
    const QStringView rest(pattern);
    QString out;
    qsizetype size = rest.size();
    for (const QStringView value : values)
        size += value.size();
    out.reserve(size);
    qsizetype from = 0;
    for (qsizetype at = rest.indexOf(u'%'); at >= 0 && at + 1 < rest.size(); at = rest.indexOf(u'%', from)) {
        const char16_t digit = rest.at(at + 1).unicode();
        if (digit < u'1' || digit > u'6') {
            out.append(rest.mid(from, at + 1 - from));
            from = at + 1;
            continue;
        }
        out.append(rest.mid(from, at - from));
        out.append(values[digit - u'1']);
        from = at + 2;
    }
    out.append(rest.mid(from));
    return out;
}

QString kxLatin1RoundTrip(QString text) {
    // What toLatin1 and back gives: each unit beyond Latin-1 becomes '?', and a zero ends the text.
    char16_t* units = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (units[i] == 0) {
            text.truncate(i);
            break;
        }
        if (units[i] > 0xFF)
            units[i] = u'?';
    }
    return text;
}

QString kxNotifyStartLine(QStringView jobText) {
    return joined(u"pNotify kxMessage started for job ", jobText);
}

QString kxNotifyNoRecipientLine() {
    return QStringLiteral("pNotify kxMessage: No Client Name specified");
}

QString kxNotifyComposedLine(QStringView jobText, QStringView recipients, QStringView message) {
    return joined(jobText, u" kxNotifyKXMessage send to '", recipients, u"\n", message);
}

QString kxNotifySentLine(QStringView jobText, QStringView recipients, int clientCount) {
    return joined(jobText, u" kxNotifyKXMessage send to '", recipients, u"'. (", CountText(clientCount),
                  u")");
}

QString kxNotifyNotSentLine(QStringView jobText, QStringView recipients, int clientCount) {
    return joined(jobText, u" kxNotifyKXMessage NOT SEND. '", recipients, u"' not found. (",
                  CountText(clientCount), u")");
}
