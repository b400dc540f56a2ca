// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxtime.h"

#include <QDateTime>

#include <ctime>

namespace {

// Local time through the C library: localtime_r reads the zone (TZ, or /etc/localtime when TZ is
// unset) on its first call in the process and keeps it, where QDateTime asks the system for it on
// every conversion; a process that changes TZ calls tzset() to have it read again. Times the C
// library cannot represent, and years without four digits, take QDateTime's way, which gives the same
// texts wherever both apply.
bool localFields(qint64 t, std::tm& fields) {
    const std::time_t seconds = std::time_t(t);
    if (qint64(seconds) != t || localtime_r(&seconds, &fields) == nullptr)
        return false;
    const int year = fields.tm_year + 1900;
    return year >= 1 && year <= 9999;
}

/// Writes `value` as `digits` decimal digits, zero-padded, and returns the position behind them.
char16_t* putDigits(char16_t* at, int value, int digits) {
    for (int i = digits - 1; i >= 0; --i) {
        at[i] = char16_t(u'0' + value % 10);
        value /= 10;
    }
    return at + digits;
}

} // namespace

_kxTime::_kxTime(bool now) : t(0) {
    if (now)
        setCurrentTime();
}

void _kxTime::setCurrentTime() {
    t = QDateTime::currentSecsSinceEpoch();
}

qint64 _kxTime::toLocalTime() const {
    const QDateTime d = QDateTime::fromSecsSinceEpoch(t);
    return t + d.offsetFromUtc();
}

QString _kxTime::asStringWeekHourMin() const {
    // Format strings use the C locale, so the day names are the same on every server.
    return QDateTime::fromSecsSinceEpoch(t).toString(QStringLiteral("ddd hh:mm"));
}

QString _kxTime::asStringDateHourMin() const {
    std::tm f;
    if (!localFields(t, f))
        return QDateTime::fromSecsSinceEpoch(t).toString(QStringLiteral("yyyy-MM-dd hh:mm"));
    char16_t text[16];
    char16_t* at = putDigits(text, f.tm_year + 1900, 4);
    *at++ = u'-';
    at = putDigits(at, f.tm_mon + 1, 2);
    *at++ = u'-';
    at = putDigits(at, f.tm_mday, 2);
    *at++ = u' ';
    at = putDigits(at, f.tm_hour, 2);
    *at++ = u':';
    putDigits(at, f.tm_min, 2);
    return QString(reinterpret_cast<const QChar*>(text), 16);
}

QString _kxTime::asStringMt() const {
    // The value holds whole seconds; the tenth is taken from the clock when the value is "now", so
    // lines written within one second still show their order.
    std::timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const int tenth = qint64(now.tv_sec) == t ? int(now.tv_nsec / 100000000) : 0;
    std::tm f;
    if (!localFields(t, f))
        return QDateTime::fromSecsSinceEpoch(t).toString(QStringLiteral("MM/dd hh:mm:ss")) +
               QLatin1Char('.') + QChar(u'0' + tenth);
    char16_t text[16];
    char16_t* at = putDigits(text, f.tm_mon + 1, 2);
    *at++ = u'/';
    at = putDigits(at, f.tm_mday, 2);
    *at++ = u' ';
    at = putDigits(at, f.tm_hour, 2);
    *at++ = u':';
    at = putDigits(at, f.tm_min, 2);
    *at++ = u':';
    at = putDigits(at, f.tm_sec, 2);
    *at++ = u'.';
    *at = char16_t(u'0' + tenth);
    return QString(reinterpret_cast<const QChar*>(text), 16);
}

_kxString8_allSize<25> _kxTime::asKX8StringMt() const {
    _kxString8_allSize<25> r;
    r.set(asStringMt());
    return r;
}

void _kxTime::replaceDateVariable(QString& text) const {
    static const struct {
        QLatin1String name; // without the brackets
        const char* format;
    } variables[] = {
        {QLatin1String("Date>"), "yyyyMMdd"}, {QLatin1String("Time>"), "hhmm"},
        {QLatin1String("Year>"), "yyyy"},     {QLatin1String("Month>"), "MM"},
        {QLatin1String("Day>"), "dd"},        {QLatin1String("Hour>"), "hh"},
        {QLatin1String("Minute>"), "mm"},     {QLatin1String("Second>"), "ss"},
    };
    // One pass over the brackets; the time is only formatted when a variable is there.
    qsizetype at = text.indexOf(QLatin1Char('<'));
    if (at < 0)
        return;
    QDateTime when;
    while (at >= 0) {
        bool replaced = false;
        const QStringView rest = QStringView(text).mid(at + 1);
        for (const auto& v : variables) {
            if (!rest.startsWith(v.name, Qt::CaseInsensitive))
                continue;
            if (!when.isValid())
                when = isSet() ? QDateTime::fromSecsSinceEpoch(t) : QDateTime::currentDateTime();
            const QString value = when.toString(QLatin1String(v.format));
            text.replace(at, v.name.size() + 1, value);
            at = text.indexOf(QLatin1Char('<'), at + value.size());
            replaced = true;
            break;
        }
        if (!replaced)
            at = text.indexOf(QLatin1Char('<'), at + 1);
    }
}
