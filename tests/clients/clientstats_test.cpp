// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "clients/clientstats.h"

#include "kxdatabuffer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

using namespace kxC;

namespace {

constexpr int slotTotal = _dayhours::slotCount;

// Runs `step` until it ran within one clock hour, so a test that counts into the current hour is not
// upset by the hour turning over in the middle.
void withinOneHour(const std::function<void()>& step) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const quint32 before = _Client_jobEfficiencyRate::currentHourNumber();
        step();
        if (_Client_jobEfficiencyRate::currentHourNumber() == before)
            return;
    }
    FAIL() << "the hour kept turning over";
}

void fillSlots(_dayhours& day, int base) {
    for (int i = 0; i < slotTotal; ++i)
        day.hours[i] = quint16(base + i);
}

} // namespace

// First in the file: the process-wide count is checked before any query names one.
TEST(ClientEfficiencyRate, LastQueriedHoursStartsAt72) {
    EXPECT_EQ(_Client_jobEfficiencyRate::lastQueriedHours(), 72);
    _Client_jobEfficiencyRate rate;
    for (int i = 0; i < slotTotal; ++i)
        rate.successJobs.hours[i] = 1;
    EXPECT_EQ(rate.getLastHoursSuccessJobs(), 72);
}

TEST(ClientEfficiencyRate, HourWindowsAndTheLastCount) {
    _Client_jobEfficiencyRate rate;
    fillSlots(rate.successJobs, 1);      // 1, 2, 3, ...
    fillSlots(rate.cleanAbortJobs, 100); // 100, 101, ...
    fillSlots(rate.failJobs, 1000);

    EXPECT_EQ(rate.getLastHoursSuccessJobs(5), 1 + 2 + 3 + 4 + 5);
    EXPECT_EQ(_Client_jobEfficiencyRate::lastQueriedHours(), 5);
    EXPECT_EQ(rate.getLastHoursSuccessJobs(), 15);
    EXPECT_EQ(rate.getLastHoursCleanAbortJobs(), 100 + 101 + 102 + 103 + 104);
    EXPECT_EQ(rate.getLastHoursFailJobs(), 5010);

    EXPECT_EQ(rate.getLastHoursCleanAbortJobs(2), 201);
    EXPECT_EQ(rate.getLastHoursSuccessJobs(), 3); // any of the three queries sets the count
    EXPECT_EQ(rate.getLastHoursFailJobs(1), 1000);
    EXPECT_EQ(rate.getLastHoursSuccessJobs(), 1);

    EXPECT_EQ(rate.getLastHoursSuccessJobs(0), 0);
    EXPECT_EQ(rate.getLastHoursFailJobs(), 0);
    // Counts outside 0 to 72 read as the nearest bound; nothing past the arrays is summed.
    EXPECT_EQ(rate.getLastHoursSuccessJobs(73), 72 * 73 / 2);
    EXPECT_EQ(_Client_jobEfficiencyRate::lastQueriedHours(), 72);
    EXPECT_EQ(rate.getLastHoursSuccessJobs(1000), 72 * 73 / 2);
    EXPECT_EQ(rate.getLastHoursSuccessJobs(-4), 0);
    EXPECT_EQ(_Client_jobEfficiencyRate::lastQueriedHours(), 0);

    // Full counters over three days pass 16 bits.
    for (int i = 0; i < slotTotal; ++i)
        rate.failJobs.hours[i] = _Client_jobEfficiencyRate::counterLimit;
    EXPECT_EQ(rate.getLastHoursFailJobs(72), 72 * 50000);
}

TEST(ClientEfficiencyRate, Ageing) {
    struct Case {
        qint64 hours; // hours passed since lastHour
        int movedBy;  // -1: all cleared
    };
    const Case cases[] = {{0, 0}, {1, 1}, {5, 5}, {71, 71}, {72, -1}, {500, -1}, {-1, 0}, {-100, 0}};
    const quint32 base = 490000;
    for (const Case& c : cases) {
        _Client_jobEfficiencyRate rate;
        fillSlots(rate.successJobs, 1);
        fillSlots(rate.cleanAbortJobs, 101);
        fillSlots(rate.failJobs, 201);
        rate.lastHour = base;
        rate.clearOldHourSlots(quint32(qint64(base) + c.hours));
        EXPECT_EQ(rate.lastHour, base); // only the check below moves lastHour
        for (int i = 0; i < slotTotal; ++i) {
            int expected = 0;
            if (c.movedBy >= 0 && i >= c.movedBy)
                expected = i - c.movedBy + 1;
            ASSERT_EQ(rate.successJobs.hours[i], expected) << c.hours << " slot " << i;
            ASSERT_EQ(rate.cleanAbortJobs.hours[i], expected == 0 ? 0 : expected + 100) << c.hours;
            ASSERT_EQ(rate.failJobs.hours[i], expected == 0 ? 0 : expected + 200) << c.hours;
        }
    }

    // The difference is taken in 32 bits: an hour number that wrapped still ages by the hours passed.
    _Client_jobEfficiencyRate rate;
    rate.successJobs.hours[0] = 9;
    rate.lastHour = 0xFFFFFFFEu;
    rate.clearOldHourSlots(1);
    EXPECT_EQ(rate.successJobs.hours[0], 0);
    EXPECT_EQ(rate.successJobs.hours[3], 9);
}

TEST(ClientEfficiencyRate, CheckAgesToTheCurrentHour) {
    withinOneHour([] {
        const quint32 now = _Client_jobEfficiencyRate::currentHourNumber();
        _Client_jobEfficiencyRate rate;
        rate.successJobs.hours[0] = 4;
        rate.lastHour = now - 2;
        rate.checkAndClearOldHourSlots();
        EXPECT_EQ(rate.lastHour, now);
        EXPECT_EQ(rate.successJobs.hours[0], 0);
        EXPECT_EQ(rate.successJobs.hours[2], 4);

        // Never aged before: nothing moves, the hour is only taken.
        _Client_jobEfficiencyRate fresh;
        fresh.successJobs.hours[0] = 4;
        fresh.checkAndClearOldHourSlots();
        EXPECT_EQ(fresh.lastHour, now);
        EXPECT_EQ(fresh.successJobs.hours[0], 4);

        // The slot is the hour of the day; getCurrentHourSlot ages even from lastHour 0.
        fresh.lastHour = 0;
        EXPECT_EQ(fresh.getCurrentHourSlot(), int(now % 24));
        EXPECT_EQ(fresh.lastHour, now);
        EXPECT_EQ(fresh.successJobs.hours[0], 0);

        // A clock that went back moves nothing, and the earlier hour is taken.
        rate.successJobs.hours[0] = 6;
        rate.lastHour = now + 3;
        rate.checkAndClearOldHourSlots();
        EXPECT_EQ(rate.successJobs.hours[0], 6);
        EXPECT_EQ(rate.lastHour, now);
    });
    // The hour number is local time over 3600.
    EXPECT_NEAR(double(_Client_jobEfficiencyRate::currentHourNumber()),
                double(_kxTime(true).toLocalTime() / 3600), 1.0);
}

TEST(ClientEfficiencyRate, CountsGoIntoTheCurrentHourUpToTheLimit) {
    withinOneHour([] {
        _Client_jobEfficiencyRate rate;
        rate.addSuccess();
        rate.addSuccess();
        rate.addCleanAbort();
        rate.addFail();
        rate.addFail();
        rate.addFail();
        EXPECT_EQ(rate.lastHour, _Client_jobEfficiencyRate::currentHourNumber());
        EXPECT_EQ(rate.successJobs.hours[0], 2);
        EXPECT_EQ(rate.cleanAbortJobs.hours[0], 1);
        EXPECT_EQ(rate.failJobs.hours[0], 3);
        EXPECT_EQ(rate.getLastHoursSuccessJobs(1), 2);
        EXPECT_EQ(rate.getLastHoursFailJobs(1), 3);

        rate.successJobs.hours[0] = 49999;
        rate.cleanAbortJobs.hours[0] = 50000;
        rate.failJobs.hours[0] = 60000; // above the limit, as a record from elsewhere may hold
        for (int i = 0; i < 3; ++i) {
            rate.addSuccess();
            rate.addCleanAbort();
            rate.addFail();
        }
        EXPECT_EQ(rate.successJobs.hours[0], 50000);
        EXPECT_EQ(rate.cleanAbortJobs.hours[0], 50000);
        EXPECT_EQ(rate.failJobs.hours[0], 60000);
    });
}

TEST(ClientEfficiencyRate, SuccessRate) {
    struct Case {
        int success, cleanAbort, fail;
        int hours;
        quint8 rate;
        quint8 valid;
    };
    const Case cases[] = {
        {3, 0, 1, 72, 191, 1},                     // 255 * 0.75 = 191.25
        {1, 0, 600, 72, 1, 1},                     // 0.42 rounds to 0, shown as 1
        {1, 50, 51, 72, 3, 1},                     // 2.5 rounds away from zero
        {1, 202, 1, 72, 1, 1},                     // 1.25
        {1, 0, 508, 72, 1, 1},                     // exactly 0.5
        {0, 3, 4, 72, 0, 1},                       // only failures: a valid 0
        {5, 0, 0, 72, 255, 1}, {2, 1, 1, 0, 0, 0}, // no hours, no rate
        {0, 0, 0, 72, 0, 0},                       // no jobs, no rate
    };
    for (const Case& c : cases) {
        withinOneHour([&c] {
            _Client_jobEfficiencyRate rate;
            rate.lastHour = _Client_jobEfficiencyRate::currentHourNumber();
            rate.successJobs.hours[0] = quint16(c.success);
            rate.cleanAbortJobs.hours[0] = quint16(c.cleanAbort);
            rate.failJobs.hours[0] = quint16(c.fail);
            rate.successRate = 77;
            rate.successRateValid = 1;
            rate.calcSuccessRate(c.hours);
            EXPECT_EQ(rate.successRate, c.rate) << c.success << "/" << c.cleanAbort << "/" << c.fail;
            EXPECT_EQ(rate.successRateValid, c.valid) << c.success << "/" << c.fail;
            EXPECT_EQ(_Client_jobEfficiencyRate::lastQueriedHours(), c.hours);
        });
    }

    withinOneHour([] {
        // The window decides which hours count; the form without a count uses the last one.
        _Client_jobEfficiencyRate rate;
        rate.lastHour = _Client_jobEfficiencyRate::currentHourNumber();
        rate.successJobs.hours[0] = 1;
        rate.failJobs.hours[10] = 3;
        rate.calcSuccessRate(10);
        EXPECT_EQ(rate.successRate, 255);
        EXPECT_EQ(rate.getLastHoursFailJobs(11), 3);
        rate.calcSuccessRate();
        EXPECT_EQ(rate.successRate, 64); // 63.75

        // Counts made through the counting operations are seen by the rate.
        _Client_jobEfficiencyRate counted;
        for (int i = 0; i < 3; ++i)
            counted.addSuccess();
        counted.addFail();
        counted.calcSuccessRate(72);
        EXPECT_EQ(counted.successRate, 191);
        EXPECT_EQ(counted.successRateValid, 1);
    });

    // Never aged: nothing is computed or stored.
    _Client_jobEfficiencyRate never;
    never.successJobs.hours[0] = 3;
    never.successRate = 9;
    never.getLastHoursSuccessJobs(7);
    never.calcSuccessRate(40);
    EXPECT_EQ(never.successRate, 9);
    EXPECT_EQ(never.successRateValid, 0);
    EXPECT_EQ(never.lastHour, 0u);
    EXPECT_EQ(_Client_jobEfficiencyRate::lastQueriedHours(), 7);
}

TEST(ClientEfficiencyRate, ClearSlots) {
    _Client_jobEfficiencyRate rate;
    fillSlots(rate.successJobs, 1);
    fillSlots(rate.cleanAbortJobs, 1);
    fillSlots(rate.failJobs, 1);
    const auto before = rate;
    for (int slot : {-1, 72, 1000, -1000})
        rate.clearHourSlot(slot);
    EXPECT_EQ(std::memcmp(&rate, &before, sizeof rate), 0);
    rate.clearHourSlot(71);
    rate.clearHourSlot(0);
    for (const _dayhours* day : {&rate.successJobs, &rate.cleanAbortJobs, &rate.failJobs}) {
        EXPECT_EQ(day->hours[0], 0);
        EXPECT_EQ(day->hours[1], 2);
        EXPECT_EQ(day->hours[70], 71);
        EXPECT_EQ(day->hours[71], 0);
    }
    rate.successRate = 5;
    rate.lastHour = 3;
    rate.clearAllHourSlots();
    EXPECT_EQ(rate.getLastHoursSuccessJobs(72) + rate.getLastHoursCleanAbortJobs() +
                  rate.getLastHoursFailJobs(),
              0);
    EXPECT_EQ(rate.successRate, 5);
    EXPECT_EQ(rate.lastHour, 3u);
}

namespace {

class StatisticsFile : public ::testing::Test {
protected:
    QTemporaryDir dir;

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    static void fillRecord(void* record, size_t size, int seed) {
        auto* bytes = static_cast<unsigned char*>(record);
        for (size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<unsigned char>((i * 7 + size_t(seed) * 13) % 251 + 1);
    }

    static void write(const QString& file, const QByteArray& data, quint32 tag) {
        _KX_DataBuffer buffer(data, tag);
        ASSERT_TRUE(buffer.saveToFileCompressed(file)) << buffer.errorString().toStdString();
    }

    // `count` records of `size` bytes, each filled from its own seed.
    static QByteArray records(size_t size, int count) {
        QByteArray data(qsizetype(size) * count, '\0');
        for (int i = 0; i < count; ++i)
            fillRecord(data.data() + size * size_t(i), size, i + 1);
        return data;
    }

    static void expectFailed(const _server_clientInfo& stats) {
        EXPECT_EQ(stats.count(), 0);
        EXPECT_EQ(stats.clientInfos(), nullptr);
        EXPECT_EQ(stats.clientInfos_v1(), nullptr);
        EXPECT_TRUE(isCleared(stats.info(0)));
    }

    static bool isCleared(const _Client_Info& info) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&info);
        for (size_t i = 0; i < sizeof info; ++i)
            if (bytes[i] != 0)
                return false;
        return true;
    }
};

} // namespace

TEST_F(StatisticsFile, Version2Records) {
    const QString file = path("stats.kxdb");
    const QByteArray data = records(sizeof(_Client_Info_save), 3);
    write(file, data, 3074);
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            f.setFileTime(QDateTime::fromSecsSinceEpoch(1750000000), QFileDevice::FileModificationTime));
    }

    auto stats = std::make_unique<_server_clientInfo>();
    ASSERT_TRUE(stats->loadFromFile(file));
    EXPECT_EQ(stats->count(), 3);
    EXPECT_TRUE(stats->errorText().isEmpty());
    EXPECT_NE(stats->clientInfos(), nullptr);
    EXPECT_EQ(stats->clientInfos_v1(), nullptr);
    EXPECT_EQ(stats->fileTime().t, 1750000000);

    for (int i = 0; i < 3; ++i) {
        const _Client_Info info = stats->info(i);
        EXPECT_EQ(std::memcmp(&info, data.constData() + sizeof(_Client_Info_save) * size_t(i),
                              sizeof(_Client_Info_save)),
                  0)
            << i;
        EXPECT_EQ(info.runtimeValue, 0u);
        EXPECT_EQ(info.runtimeBlocks[7][999], 0);
    }
    for (int i : {-1, 3, 1000, -2147483647 - 1})
        EXPECT_TRUE(isCleared(stats->info(i))) << i;

    stats->clear();
    expectFailed(*stats);
    EXPECT_TRUE(stats->errorText().isEmpty());
}

TEST_F(StatisticsFile, Version1RecordsAreConverted) {
    const QString file = path("stats_v1.kxdb");
    const QByteArray data = records(sizeof(_Client_Info_save_v1), 2);
    write(file, data, 0);

    auto stats = std::make_unique<_server_clientInfo>();
    ASSERT_TRUE(stats->loadFromFile(file));
    EXPECT_EQ(stats->count(), 2);
    EXPECT_EQ(stats->clientInfos(), nullptr);
    EXPECT_NE(stats->clientInfos_v1(), nullptr);
    for (int i = 0; i < 2; ++i) {
        const _Client_Info info = stats->info(i);
        EXPECT_EQ(std::memcmp(&info, data.constData() + sizeof(_Client_Info_save_v1) * size_t(i),
                              sizeof(_Client_Info_save_v1)),
                  0);
        const _Client_jobEfficiencyRate zero{};
        EXPECT_EQ(std::memcmp(&info.jobEfficiencyRate, &zero, sizeof zero), 0);
    }
    EXPECT_TRUE(isCleared(stats->info(2)));
}

TEST_F(StatisticsFile, NoDataIsASuccessWithoutRecords) {
    for (quint32 tag : {3074u, 0u}) {
        const QString file = path("empty.kxdb");
        write(file, QByteArray(), tag);
        _server_clientInfo stats;
        EXPECT_TRUE(stats.loadFromFile(file)) << tag;
        EXPECT_EQ(stats.count(), 0);
        EXPECT_TRUE(stats.errorText().isEmpty());
        EXPECT_TRUE(isCleared(stats.info(0)));
    }
}

TEST_F(StatisticsFile, SizeMismatchesKeepTheirReport) {
    const size_t v1 = sizeof(_Client_Info_save_v1);
    const size_t v2 = sizeof(_Client_Info_save);
    struct Case {
        quint32 tag;
        qsizetype size;
    };
    const Case cases[] = {
        {0, qsizetype(2 * v1 + 1)}, {0, qsizetype(2 * v1 - 1)}, {0, qsizetype(v2)},        {0, 1},
        {3074, qsizetype(v2 + 1)},  {3074, qsizetype(v2 - 1)},  {3074, qsizetype(2 * v1)}, {3074, 440},
        {7, qsizetype(v2)},         {7, qsizetype(v1)},         {3075, qsizetype(v2)},     {0xFFFFFFFFu, 0},
    };
    const QString file = path("bad size.kxdb");
    for (const Case& c : cases) {
        write(file, QByteArray(c.size, '\x11'), c.tag);
        _server_clientInfo stats;
        EXPECT_FALSE(stats.loadFromFile(file)) << c.tag << " " << c.size;
        EXPECT_EQ(stats.errorText(),
                  QStringLiteral("Unable to load '") + file + QStringLiteral("': data size does not match"));
        expectFailed(stats);
    }
}

TEST_F(StatisticsFile, MissingAndCorruptFiles) {
    auto stats = std::make_unique<_server_clientInfo>();
    const QString missing = path("none.kxdb");
    EXPECT_FALSE(stats->loadFromFile(missing));
    EXPECT_EQ(stats->errorText(),
              QStringLiteral("Unable to load '") + missing + QStringLiteral("': File not found"));
    expectFailed(*stats);
    // A folder is no statistics file.
    EXPECT_FALSE(stats->loadFromFile(dir.path()));
    EXPECT_EQ(stats->errorText(),
              QStringLiteral("Unable to load '") + dir.path() + QStringLiteral("': File not found"));

    const QString corrupt = path("corrupt.kxdb");
    QFile f(corrupt);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a data buffer at all, just text");
    f.close();
    _KX_DataBuffer reference;
    ASSERT_FALSE(reference.loadFromFileCompressed(corrupt));
    ASSERT_FALSE(reference.errorString().isEmpty());
    EXPECT_FALSE(stats->loadFromFile(corrupt));
    EXPECT_EQ(stats->errorText(),
              QStringLiteral("Unable to load '") + corrupt + QStringLiteral("':") + reference.errorString());
    expectFailed(*stats);

    // A good load after a failed one reports nothing; a failed load after a good one drops the records.
    const QString good = path("good.kxdb");
    write(good, records(sizeof(_Client_Info_save), 1), 3074);
    EXPECT_TRUE(stats->loadFromFile(good));
    EXPECT_TRUE(stats->errorText().isEmpty());
    EXPECT_EQ(stats->count(), 1);
    EXPECT_FALSE(stats->loadFromFile(missing));
    expectFailed(*stats);
}

TEST_F(StatisticsFile, LoadsExactlyThePathItTested) {
    // A name Latin-1 cannot hold, and a path longer than 500 characters: both load as they are.
    const QString unicode = path("statistik_ü_日本.kxdb");
    write(unicode, records(sizeof(_Client_Info_save), 2), 3074);
    // A file named as the Latin-1 form of the name would read must not be the one loaded.
    write(path("statistik_ü_??.kxdb"), records(sizeof(_Client_Info_save), 1), 3074);
    _server_clientInfo stats;
    EXPECT_TRUE(stats.loadFromFile(unicode)) << stats.errorText().toStdString();
    EXPECT_EQ(stats.count(), 2);

    QString deep = dir.path();
    while (deep.size() < 520)
        deep += QStringLiteral("/folder_of_a_long_path_%1").arg(deep.size());
    ASSERT_TRUE(QDir().mkpath(deep));
    const QString longPath = deep + QStringLiteral("/stats.kxdb");
    ASSERT_GT(longPath.size(), 500);
    write(longPath, records(sizeof(_Client_Info_save_v1), 3), 0);
    EXPECT_TRUE(stats.loadFromFile(longPath)) << stats.errorText().toStdString();
    EXPECT_EQ(stats.count(), 3);
}
