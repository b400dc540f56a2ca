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
