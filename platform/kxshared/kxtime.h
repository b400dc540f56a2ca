// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "kxsharedexport.h"
#include "kxstring.h"

#include <QString>

#include <type_traits>

/// A point in time in whole seconds since 1970-01-01 UTC; 0 or less means "not set". A plain 8-byte
/// block that records embed and compare as integers. It has the natural alignment of its 64-bit value,
/// as any compiler gives a class holding one, so a record that embeds it is laid out alike by the
/// server and by this library; records packed to 4 (or 2) bytes say so with their own #pragma pack.
struct KXSHARED_EXPORT _kxTime {
    qint64 t;

    _kxTime() : t(0) {}
    /// `_kxTime(true)` holds the current time, `_kxTime(false)` is not set.
    explicit _kxTime(bool now);
    static _kxTime fromSeconds(qint64 seconds) {
        _kxTime r;
        r.t = seconds;
        return r;
    }

    bool isSet() const { return t > 0; }
    void clear() { t = 0; }
    void setCurrentTime();
    /// Sets the value to `seconds` since 1970-01-01 UTC.
    void setCurrentTime(long long seconds) { t = seconds; }
    void addSeconds(qint64 s) { t += s; }

    /// Whole days from this time to `other` (positive when `other` is later), cut toward zero.
    qint64 daysDifference(const _kxTime& other) const { return (other.t - t) / 86400; }
    /// Whole hours from this time to `other` (positive when `other` is later), cut toward zero.
    qint64 hoursTo(const _kxTime& other) const { return (other.t - t) / 3600; }

    /// Seconds of local time since 1970-01-01 local midnight (the UTC offset added).
    qint64 toLocalTime() const;

    /// Local day of the week, hour and minute: "Wed 22:42".
    QString asStringWeekHourMin() const;
    /// Local date, hour and minute: "2026-12-09 22:42" (16 characters).
    QString asStringDateHourMin() const;
    /// The log-line time: local month, day and time to the tenth of a second of when it is called
    /// for the current time, "12/09 22:42:56.3" (16 characters, so 17 blanks stand in for time and
    /// separator).
    QString asStringMt() const;
    /// asStringMt() as 8-bit text.
    _kxString8_allSize<25> asKX8StringMt() const;

    /// Replaces the date variables in `text` by this time in local time, or by the current time when
    /// this one is not set: "<Date>" (yyyyMMdd), "<Time>" (hhmm), "<Year>", "<Month>", "<Day>",
    /// "<Hour>", "<Minute>", "<Second>" (digits with leading zeros). Names ignore letter case.
    void replaceDateVariable(QString& text) const;

    bool operator<(const _kxTime& o) const { return t < o.t; }
    bool operator==(const _kxTime& o) const { return t == o.t; }
    bool operator!=(const _kxTime& o) const { return t != o.t; }
};
static_assert(sizeof(_kxTime) == 8 && alignof(_kxTime) == alignof(qint64));
static_assert(std::is_trivially_copyable_v<_kxTime>);
