// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxcodec.h"

namespace {

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

/// A code point that a text may hold as a character of its own.
bool isCharacter(char32_t c) {
    return c != 0 && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

void appendCodePoint(QString& out, char32_t c) {
    const char32_t units[1] = {c};
    out += QString::fromUcs4(units, 1);
}

/// Reads digits of `radix` (10 or 16) from `text` at `pos` up to `end`; false if there is none, if one
/// is not a digit, or once the value passes the last character U+10FFFF (leading zeros are allowed).
bool readNumber(QStringView text, qsizetype pos, qsizetype end, int radix, char32_t& value) {
    if (end <= pos)
        return false;
    value = 0;
    for (qsizetype i = pos; i < end; ++i) {
        const int d = hexDigit(text.at(i));
        if (d < 0 || d >= radix)
            return false;
        value = value * char32_t(radix) + char32_t(d);
        if (value > 0x10FFFF)
            return false;
    }
    return true;
}

/// The character that the reference body between "&" and ";" stands for, or 0 if it names none.
char32_t xmlReference(QStringView body) {
    struct Named {
        QLatin1StringView name;
        char16_t unit;
    };
    static const Named named[] = {
        {QLatin1StringView("amp"), u'&'},   {QLatin1StringView("lt"), u'<'},
        {QLatin1StringView("gt"), u'>'},    {QLatin1StringView("quot"), u'"'},
        {QLatin1StringView("apos"), u'\''},
    };
    if (!body.startsWith(u'#')) {
        for (const Named& n : named)
            if (body == n.name)
                return n.unit;
        return 0;
    }
    const bool hex = body.size() > 1 && (body.at(1) == u'x' || body.at(1) == u'X');
    char32_t c = 0;
    if (!readNumber(body, hex ? 2 : 1, body.size(), hex ? 16 : 10, c) || !isCharacter(c))
        return 0;
    return c;
}

/// `text` with every reference that `decode` turns into a character replaced by it: a reference is
/// `open`, a body, and the first `close` after it. One pass from left to right; a body that `decode`
/// refuses (0) stays as written, and the search goes on after its opening.
template <typename Decode>
QString replaceReferences(const QString& text, QStringView open, QChar close, Decode decode) {
    qsizetype at = text.indexOf(open);
    if (at < 0)
        return text;
    QString out;
    out.reserve(text.size());
    qsizetype done = 0;
    while (at >= 0) {
        const qsizetype body = at + open.size();
        const qsizetype end = text.indexOf(close, body);
        const char32_t c = end >= 0 ? decode(QStringView(text).mid(body, end - body)) : 0;
        if (c != 0) {
            out += QStringView(text).mid(done, at - done);
            appendCodePoint(out, c);
            done = end + 1;
            at = text.indexOf(open, done);
        } else {
            at = text.indexOf(open, at + 1);
        }
    }
    out += QStringView(text).mid(done);
    return out;
}

} // namespace

QString kxFromKXUnihex(const QString& text) {
    return replaceReferences(text, u"<UNIhex", QLatin1Char('>'), [](QStringView digits) -> char32_t {
        char32_t c = 0;
        return readNumber(digits, 0, digits.size(), 16, c) && isCharacter(c) ? c : 0;
    });
}

QString fromXmlString(const QString& text) {
    return replaceReferences(text, u"&", QLatin1Char(';'), xmlReference);
}
