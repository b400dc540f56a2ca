// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "plugin/notifymessage.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

/// Copies `piece` to `at` and returns the position behind it.
char16_t* put(char16_t* at, QStringView piece) {
    if (!piece.isEmpty())
        std::memcpy(at, piece.utf16(), sizeof(char16_t) * std::size_t(piece.size()));
    return at + piece.size();
}

/// The pieces joined in one buffer, allocated once at its final size and filled by copies: a notification
/// builds four such texts, and appending piece by piece checks the capacity for every piece.
template <typename... Pieces>
QString joined(const Pieces&... pieces) {
    QString out((qsizetype(0) + ... + QStringView(pieces).size()), Qt::Uninitialized);
    char16_t* at = reinterpret_cast<char16_t*>(out.data());
    ((at = put(at, QStringView(pieces))), ...);
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
    // placeholders: chained arg() calls would search each value already put in for the next one. The
    // template is read twice, once for the size of the text and once to fill it.
    const QStringView values[] = {time, jobText, user, scene, imageDir, imageFile};
    const QString pattern = kxNotifyTemplate(status);
    const QStringView rest(pattern);
    auto placeholder = [&rest](qsizetype at) {
        const char16_t digit = at + 1 < rest.size() ? rest.at(at + 1).unicode() : u'0';
        return digit >= u'1' && digit <= u'6' ? int(digit - u'1') : -1;
    };
    qsizetype size = rest.size();
    for (qsizetype at = rest.indexOf(u'%'); at >= 0; at = rest.indexOf(u'%', at + 1)) {
        const int value = placeholder(at);
        if (value >= 0)
            size += values[value].size() - 2;
    }
    QString out(size, Qt::Uninitialized);
    char16_t* to = reinterpret_cast<char16_t*>(out.data());
    qsizetype from = 0;
    for (qsizetype at = rest.indexOf(u'%'); at >= 0; at = rest.indexOf(u'%', at + 1)) {
        const int value = placeholder(at);
        if (value < 0)
            continue;
        to = put(to, rest.mid(from, at - from));
        to = put(to, values[value]);
        from = at + 2;
        ++at;
    }
    put(to, rest.mid(from));
    return out;
}

QString kxLatin1RoundTrip(QString text) {
    // What toLatin1 and back gives: each unit beyond Latin-1 becomes '?', and a zero ends the text.
    // Most messages hold neither, which one pass without branches finds out; only then is the text
    // gone through unit by unit.
    const char16_t* read = reinterpret_cast<const char16_t*>(text.utf16());
    unsigned outside = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        outside |= unsigned(char16_t(read[i] - 1) >= 0xFF);
    if (outside == 0)
        return text;
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
