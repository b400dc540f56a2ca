// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxtime.h"

#include <QDateTime>

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
    return QDateTime::fromSecsSinceEpoch(t).toString(QStringLiteral("yyyy-MM-dd hh:mm"));
}

QString _kxTime::asStringMt() const {
    // The value holds whole seconds; the tenth is taken from the clock when the value is "now", so
    // lines written within one second still show their order.
    const QDateTime nowMs = QDateTime::currentDateTime();
    int tenth = 0;
    if (nowMs.toSecsSinceEpoch() == t)
        tenth = nowMs.time().msec() / 100;
    return QDateTime::fromSecsSinceEpoch(t).toString(QStringLiteral("MM/dd hh:mm:ss")) + QLatin1Char('.') +
           QChar(u'0' + tenth);
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
