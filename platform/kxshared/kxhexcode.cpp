// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxhexcode.h"

void addHexCode(QString& text, qint64 value) {
    // The magnitude in 64 unsigned bits, so the lowest value has one too.
    const quint64 magnitude = value < 0 ? quint64(0) - quint64(value) : quint64(value);
    if (value < 0)
        text += QLatin1Char('-');
    text += QString::number(magnitude, 16).toUpper();
    text += QLatin1Char(':');
}

bool toIntFromHex(QString& text, qint64& value) {
    constexpr int maxDigits = 32;
    qsizetype at = 0;
    const bool negative = !text.isEmpty() && text.at(0) == QLatin1Char('-');
    if (negative)
        ++at;
    quint64 magnitude = 0;
    const qsizetype digitsStart = at;
    for (; at < text.size() && at - digitsStart < maxDigits; ++at) {
        const char16_t u = text.at(at).unicode();
        int digit;
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        else if (u >= u'A' && u <= u'F')
            digit = u - u'A' + 10;
        else
            break;
        if (magnitude > (~quint64(0) >> 4))
            return false; // more than 64 bits
        magnitude = (magnitude << 4) | quint64(digit);
    }
    if (at == digitsStart || at >= text.size() || text.at(at) != QLatin1Char(':'))
        return false;
    const quint64 limit = negative ? quint64(1) << 63 : (quint64(1) << 63) - 1;
    if (magnitude > limit)
        return false;
    value = negative ? qint64(quint64(0) - magnitude) : qint64(magnitude);
    text.remove(0, at + 1);
    return true;
}
