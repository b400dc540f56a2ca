// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxtime.h"

#include <QDateTime>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {
// Texts are in local time; the tests run in UTC so their expectations are fixed.
class KxTime : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("TZ", "UTC", 1);
        tzset();
    }
};
// 2026-12-09 22:42:56 UTC
constexpr qint64 sample = 1796856176;
} // namespace

TEST_F(KxTime, NotSetAndNow) {
    _kxTime none;
    EXPECT_FALSE(none.isSet());
    EXPECT_FALSE(_kxTime(false).isSet());
    EXPECT_FALSE(_kxTime::fromSeconds(-5).isSet());
    const qint64 before = QDateTime::currentSecsSinceEpoch();
    const _kxTime now(true);
    const qint64 after = QDateTime::currentSecsSinceEpoch();
    EXPECT_TRUE(now.isSet());
    EXPECT_GE(now.t, before);
    EXPECT_LE(now.t, after);
    _kxTime t;
    t.setCurrentTime(1234);
    EXPECT_EQ(t.t, 1234);
    t.addSeconds(-1234);
    EXPECT_FALSE(t.isSet());
}

TEST_F(KxTime, TextForms) {
    const _kxTime t = _kxTime::fromSeconds(sample);
    EXPECT_EQ(t.asStringDateHourMin(), QStringLiteral("2026-12-09 22:42"));
    EXPECT_EQ(t.asStringWeekHourMin(), QStringLiteral("Wed 22:42"));
    // A time that is not now shows the tenth as 0.
    EXPECT_EQ(t.asStringMt(), QStringLiteral("12/09 22:42:56.0"));
    EXPECT_EQ(t.asKX8StringMt().toQString(), QStringLiteral("12/09 22:42:56.0"));
    EXPECT_EQ(t.toLocalTime(), sample);
    // The current time carries its tenth of a second and keeps the 16 characters.
    const QString now = _kxTime(true).asStringMt();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d$"))
                    .match(now)
                    .hasMatch())
        << now.toStdString();
}

// The texts are built by hand from the C library's local time; QDateTime, which reads the zone anew on
// every call, must agree with them in a zone with summer time, around its switches and at the ends of
// the four-digit years.
TEST_F(KxTime, TextsAgreeWithQDateTimeInAZoneWithSummerTime) {
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
    const qint64 springForward = 1774746000; // 2026-03-29 01:00 UTC: 02:00 local becomes 03:00
    const qint64 fallBack = 1792890000;      // 2026-10-25 01:00 UTC: 03:00 local becomes 02:00
    const qint64 times[] = {sample,
                            0,
                            -1,
                            86399,
                            springForward - 1,
                            springForward,
                            fallBack - 1,
                            fallBack,
                            fallBack + 3599,
                            253402297199,
                            253402300800,
                            -30610224000,
                            -30610310400,
                            -62135596800,
                            951782400};
    for (qint64 t : times) {
        SCOPED_TRACE(t);
        const _kxTime k = _kxTime::fromSeconds(t);
        const QDateTime d = QDateTime::fromSecsSinceEpoch(t);
        EXPECT_EQ(k.asStringDateHourMin(), d.toString(QStringLiteral("yyyy-MM-dd hh:mm")));
        EXPECT_EQ(k.asStringMt(), d.toString(QStringLiteral("MM/dd hh:mm:ss")) + QStringLiteral(".0"));
    }
    EXPECT_EQ(_kxTime::fromSeconds(fallBack - 1).asStringMt(), QStringLiteral("10/25 02:59:59.0"));
    EXPECT_EQ(_kxTime::fromSeconds(fallBack).asStringMt(), QStringLiteral("10/25 02:00:00.0"));
    setenv("TZ", "UTC", 1);
    tzset();
}

TEST_F(KxTime, DifferencesAreSignedAndCutTowardZero) {
    struct Case {
        qint64 from, to, days, hours;
    };
    const Case cases[] = {
        {sample, sample, 0, 0},
        {sample, sample + 86399, 0, 23},
        {sample, sample + 86400, 1, 24},
        {sample, sample + 3 * 86400 + 7200, 3, 74},
        {sample, sample - 3599, 0, 0},
        {sample, sample - 3600, 0, -1},
        {sample, sample - 86400 * 2 - 1, -2, -48},
    };
    for (const Case& c : cases) {
        const _kxTime a = _kxTime::fromSeconds(c.from), b = _kxTime::fromSeconds(c.to);
        EXPECT_EQ(a.daysDifference(b), c.days) << c.to - c.from;
        EXPECT_EQ(a.hoursTo(b), c.hours) << c.to - c.from;
    }
    EXPECT_TRUE(_kxTime::fromSeconds(1) < _kxTime::fromSeconds(2));
    EXPECT_TRUE(_kxTime::fromSeconds(2) == _kxTime::fromSeconds(2));
    EXPECT_TRUE(_kxTime::fromSeconds(2) != _kxTime::fromSeconds(3));
}

TEST_F(KxTime, ReplaceDateVariable) {
    const QDateTime when(QDate(2026, 3, 7), QTime(9, 5, 4));
    const _kxTime t = _kxTime::fromSeconds(when.toSecsSinceEpoch());
    QString text = QStringLiteral("<Date>_<TIME>/<year>-<Month>-<Day> <Hour>:<Minute>:<Second> <Week> <Date");
    t.replaceDateVariable(text);
    EXPECT_EQ(text, QStringLiteral("20260307_0905/2026-03-07 09:05:04 <Week> <Date"));
    QString none = QStringLiteral("no variables");
    t.replaceDateVariable(none);
    EXPECT_EQ(none, QStringLiteral("no variables"));
    QString now = QStringLiteral("<Year>");
    _kxTime().replaceDateVariable(now); // not set: the current time
    EXPECT_EQ(now, QString::number(QDate::currentDate().year()));
}
