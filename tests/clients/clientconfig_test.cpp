// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "clients/clientrecords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

using namespace kxC;

namespace {

template <typename T>
void fill(T& value, unsigned char byte) {
    std::memset(static_cast<void*>(&value), byte, sizeof(T));
}

std::unique_ptr<_Client_WithoutStatus> clearedRecord() {
    auto record = std::make_unique<_Client_WithoutStatus>();
    record->clear_wos();
    return record;
}

} // namespace

TEST(ClientThreadLetter, ByThreadNumber) {
    struct Case {
        int thread;
        bool showFirst;
        const char* letter;
    };
    const Case cases[] = {
        {0, false, ""},  {0, true, "A"},     {1, false, "B"}, {7, true, "H"},  {25, false, "Z"},
        {26, true, "Z"}, {1000, false, "Z"}, {-1, false, ""}, {-1, true, "A"}, {-2147483647 - 1, true, "A"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(jThreadIDasString(c.thread, c.showFirst), QString::fromLatin1(c.letter))
            << c.thread << " " << c.showFirst;
}

TEST(ClientSchedule, IsInTime) {
    struct Case {
        int day, hour, dayFrom, dayTo, hourFrom, hourTo;
        bool inside;
    };
    const Case cases[] = {
        // Plain ranges include both ends.
        {3, 9, 0, 6, 9, 17, true},
        {3, 17, 0, 6, 9, 17, true},
        {3, 18, 0, 6, 9, 17, false},
        {3, 8, 0, 6, 9, 17, false},
        {2, 10, 3, 5, 0, 23, false},
        {6, 10, 3, 5, 0, 23, false},
        {5, 10, 3, 5, 0, 23, true},
        // Days 5 to 1 wrap over the week's end.
        {5, 12, 5, 1, 0, 23, true},
        {6, 12, 5, 1, 0, 23, true},
        {0, 12, 5, 1, 0, 23, true},
        {1, 12, 5, 1, 0, 23, true},
        {2, 12, 5, 1, 0, 23, false},
        {3, 12, 5, 1, 0, 23, false},
        {4, 12, 5, 1, 0, 23, false},
        // Hours 22 to 6 wrap over midnight.
        {1, 22, 0, 6, 22, 6, true},
        {1, 23, 0, 6, 22, 6, true},
        {1, 0, 0, 6, 22, 6, true},
        {1, 3, 0, 6, 22, 6, true},
        {1, 6, 0, 6, 22, 6, true},
        {1, 7, 0, 6, 22, 6, false},
        {1, 12, 0, 6, 22, 6, false},
        {1, 21, 0, 6, 22, 6, false},
        // Hour from one above hour to is a schedule switched off, at any hour.
        {1, 0, 0, 6, 1, 0, false},
        {1, 1, 0, 6, 1, 0, false},
        {1, 23, 0, 6, 1, 0, false},
        {1, 10, 0, 6, 11, 10, false},
        // A single hour, and a day that fails before the hours are looked at.
        {4, 5, 4, 4, 5, 5, true},
        {4, 6, 4, 4, 5, 5, false},
        {3, 5, 4, 4, 5, 5, false},
        // The lowest hour number has no predecessor to overflow into.
        {0, 0, 0, 6, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isInTime(c.day, c.hour, c.dayFrom, c.dayTo, c.hourFrom, c.hourTo), c.inside)
            << c.day << " " << c.hour << " days " << c.dayFrom << "-" << c.dayTo << " hours " << c.hourFrom
            << "-" << c.hourTo;
}

TEST(ClientSchedule, ConfigurationSchedulesReadTheirValues) {
    auto config = std::make_unique<_ClientConfig>();
    config->clear();
    // Defaults: working hours every day 9 to 17; shutdown and wake-on-LAN switched off.
    for (int day = 0; day < 7; ++day)
        for (int hour = 0; hour < 24; ++hour) {
            EXPECT_EQ(config->isTimeWorkhours(day, hour), hour >= 9 && hour <= 17) << day << " " << hour;
            EXPECT_FALSE(config->isTimeShutdown(day, hour)) << day << " " << hour;
            EXPECT_FALSE(config->isTimeWOL(day, hour)) << day << " " << hour;
        }

    // Each schedule reads its own four values.
    const qint16 shutdown[] = {5, 1, 22, 6};
    const qint16 wakeOnLan[] = {1, 1, 7, 7};
    const qint16 workhours[] = {2, 3, 8, 12};
    std::copy(shutdown, shutdown + 4, config->cfgV + 11);
    std::copy(workhours, workhours + 4, config->cfgV + 15);
    std::copy(wakeOnLan, wakeOnLan + 4, config->cfgV + 19);
    EXPECT_TRUE(config->isTimeShutdown(6, 23));
    EXPECT_FALSE(config->isTimeShutdown(3, 23));
    EXPECT_FALSE(config->isTimeShutdown(6, 12));
    EXPECT_TRUE(config->isTimeWOL(1, 7));
    EXPECT_FALSE(config->isTimeWOL(1, 8));
    EXPECT_FALSE(config->isTimeWOL(2, 7));
    EXPECT_TRUE(config->isTimeWorkhours(3, 12));
    EXPECT_FALSE(config->isTimeWorkhours(4, 12));
    EXPECT_FALSE(config->isTimeWorkhours(2, 13));
}

TEST(ClientConfigQueries, ThreadSettingsAtTheirBounds) {
    auto config = std::make_unique<_ClientConfig>();
    config->clear();
    for (int t = 0; t < 8; ++t) {
        config->threads[t].whDisable = quint8(t == 0 ? 0 : t);
        config->threads[t].gpuMask = qint16(1 << t);
    }
    config->threads[7].gpuMask = qint16(0x8801); // GPUs 0, 11 and the bit of a GPU 15 that cannot exist
    config->threads[0].jobTypes[0].set("Maya");
    config->threads[0].jobTypeCount = 1;
    config->threads[6].jobTypeCount = 500; // read as the ten entries

    struct Case {
        int thread;
        bool whDisable;
        int jobs;
    };
    const Case cases[] = {{0, false, 1}, {1, true, 2},  {4, true, 1},   {6, true, 10},
                          {7, true, 1},  {8, false, 1}, {-1, false, 1}, {1000, false, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(config->threadWHDisable(c.thread), c.whDisable) << c.thread;
        EXPECT_EQ(config->threadJobs(c.thread).size(), c.jobs) << c.thread;
    }
    EXPECT_EQ(config->threadJobs(9), QStringList({"Maya"}));
    EXPECT_EQ(config->threadJobs(5), QStringList({"gpuonly"}));

    struct GpuCase {
        int thread;
        int gpu;
        bool assigned;
    };
    const GpuCase gpuCases[] = {
        {0, 0, true},  {0, 1, false},  {3, 3, true},   {3, 2, false},  {7, 0, true},
        {7, 11, true}, {7, 10, false}, {7, 12, false}, {7, 15, false}, {7, -1, false},
        {8, 0, false}, {-1, 0, false}, {9, 3, false},
    };
    for (const GpuCase& c : gpuCases)
        EXPECT_EQ(config->isGPUAssigned(c.thread, c.gpu), c.assigned) << c.thread << " " << c.gpu;
    // The cleared mask assigns all twelve GPUs and nothing beyond them.
    config->clear();
    for (int gpu = -2; gpu < 20; ++gpu)
        EXPECT_EQ(config->isGPUAssigned(2, gpu), gpu >= 0 && gpu <= 11) << gpu;
}

TEST(ClientConfigQueries, MachineTypeNames) {
    const char* names[] = {"Default", "Workstation", "Renderfarm", "Cloud", "WorkRenderMix", "Count"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(machineType2Str(_ClientConfig_machineType(i)), QString::fromLatin1(names[i])) << i;
    for (int other : {-1, 6, 1000, std::numeric_limits<int>::min()})
        EXPECT_TRUE(machineType2Str(_ClientConfig_machineType(other)).isEmpty()) << other;
}

TEST(ClientHardwareText, OSasString) {
    struct Case {
        int osType;
        int osVersion;
        int is64bit;
        const char* text;
    };
    const Case cases[] = {
        {2, 31, 1, "l3.1"},     {2, 40, 1, "l4"},   {2, 0, 0, "l0-32"},   {3, 109, 1, "m10.9"},
        {3, 110, 0, "m11-32"},  {1, 100, 1, "w10"}, {1, 110, 1, "w11"},   {1, 70, 1, "w7"},
        {1, 81, 1, "w8.1"},     {1, 69, 1, "wV.9"}, {1, 61, 1, "wV.1"},   {1, 60, 1, "wV"},
        {1, 51, 0, "wXP.1-32"}, {1, 50, 1, "wXP"},  {1, 40, 1, "w2k"},    {1, 45, 1, "w2k.5"},
        {1, 39, 1, "w.9"},      {1, 0, 0, "w-32"},  {1, 255, 1, "w25.5"}, {0, 61, 0, ""},
        {4, 61, 0, ""},         {255, 10, 1, ""},
    };
    auto hw = std::make_unique<_ClientHardware>();
    for (const Case& c : cases) {
        hw->clear();
        hw->osType = quint8(c.osType);
        hw->osVersion = quint8(c.osVersion);
        hw->is64bit = quint8(c.is64bit);
        EXPECT_EQ(hw->OSasString(), QString::fromLatin1(c.text)) << c.osType << " " << c.osVersion;
    }
}

TEST(ClientConfigCopy, KeepsPresetNumbersAndOptionallyThreads) {
    auto source = std::make_unique<_ClientConfig>();
    auto target = std::make_unique<_ClientConfig>();
    auto fresh = std::make_unique<_ClientConfig>();
    fill(*source, 0x5A);
    source->configPreset = 4;
    source->uncPreset = 3;
    source->configThreadCount = 6;
    source->threads[5].jobTypes[0].set("nuke");
    source->reservedFor[0].set("anna");
    source->cfgV[17] = 7;

    for (bool withThreads : {false, true}) {
        fill(*target, 0x11);
        target->clear();
        target->configPreset = 1;
        target->value_1 = 9;
        target->uncPreset = 2;
        target->configThreadCount = 3;
        target->threads[5].jobTypes[0].set("houdini");
        std::memcpy(static_cast<void*>(fresh.get()), target.get(), sizeof(_ClientConfig));

        if (withThreads)
            target->copyFrom_nopreset_withThreads(*source);
        else
            target->copyFrom_nopreset(*source);

        EXPECT_EQ(target->configPreset, 1);
        EXPECT_EQ(target->value_1, 9);
        EXPECT_EQ(target->uncPreset, 2);
        EXPECT_EQ(target->reservedFor[0].toQString(), QStringLiteral("anna"));
        EXPECT_EQ(target->cfgV[17], 7);
        EXPECT_EQ(target->cfgB[39], 0x5A);
        EXPECT_EQ(target->gpuUser.len(), source->gpuUser.len());
        const _ClientConfig& threadsFrom = withThreads ? *source : *fresh;
        EXPECT_EQ(target->configThreadCount, threadsFrom.configThreadCount) << withThreads;
        EXPECT_EQ(std::memcmp(target->threads, threadsFrom.threads, sizeof(target->threads)), 0)
            << withThreads;
        // Everything after the first three fields but the thread part came from the source.
        const size_t threadsAt = offsetof(_ClientConfig, threads);
        const size_t afterThreads = offsetof(_ClientConfig, configThreadCount) + 1;
        const auto* t = reinterpret_cast<const char*>(target.get());
        const auto* s = reinterpret_cast<const char*>(source.get());
        EXPECT_EQ(std::memcmp(t + 4, s + 4, threadsAt - 4), 0);
        EXPECT_EQ(std::memcmp(t + afterThreads, s + afterThreads, sizeof(_ClientConfig) - afterThreads), 0);
    }

    // Copying from itself changes nothing.
    std::memcpy(static_cast<void*>(fresh.get()), target.get(), sizeof(_ClientConfig));
    target->copyFrom_nopreset(*target);
    target->copyFrom_nopreset_withThreads(*target);
    EXPECT_EQ(std::memcmp(target.get(), fresh.get(), sizeof(_ClientConfig)), 0);
}

TEST(ClientThreadShare, ShareOfTheMachine) {
    auto client = std::make_unique<_Client_ALL>();
    client->clearAllStruct();
    client->hardware.performanceScore = 5;
    client->hardware.cpuGhz = 3.0f;

    struct Case {
        QList<quint64> jobs; ///< one entry per valid thread record
        int thread;
        float extra;
        float share;
        int ps;
    };
    const Case cases[] = {
        {{0}, 0, 0.0f, 1.0f, 5},          // alone on the machine
        {{5000}, 0, 0.0f, 1.0f, 5},       // rendering alone
        {{5000, 0}, 1, 0.0f, 0.5f, 3},    // 2.5 rounds away from zero
        {{5000, 6000}, 0, 0.0f, 0.5f, 3}, // both rendering
        {{5000, 6000, 7000, 8000}, 2, 0.0f, 0.25f, 1},
        {{5000, 6000, 7000, 8000}, 2, 0.25f, 0.5f, 3},
        {{5000, 6000}, 0, 0.75f, 1.0f, 5},     // never more than the machine
        {{5000, 1000, 999}, 1, 0.0f, 0.5f, 3}, // up to 1000 is a reason, not a job
        {{5000, 6000}, 5, 0.0f, 1.0f / 3, 2},  // a thread beyond the valid records is not rendering
        {{5000, 6000}, -1, 0.0f, 1.0f / 3, 2},
        {{5000, 6000}, 0, -2.0f, 0.0f, 0}, // never less than nothing
    };
    for (const Case& c : cases) {
        client->status.clearStatus();
        client->status.threadCount = quint16(c.jobs.size());
        for (int i = 0; i < c.jobs.size(); ++i)
            client->status.threads[i].jobID = c.jobs[i];
        EXPECT_FLOAT_EQ(client->currentThreadPS_percentage(c.thread, c.extra), c.share) << c.thread;
        EXPECT_EQ(client->currentThreadPS(c.thread, c.extra), c.ps) << c.thread;
        EXPECT_FLOAT_EQ(client->currentThreadGhz(c.thread, c.extra), 3.0f * c.share) << c.thread;
    }

    // A stale rendering record beyond the valid ones does not count; a thread count above the records
    // reads all 1000 of them.
    client->status.clearStatus();
    client->status.threadCount = 1;
    client->status.threads[1].jobID = 5000;
    EXPECT_FLOAT_EQ(client->currentThreadPS_percentage(0, 0.0f), 1.0f);
    client->status.threadCount = 60000;
    for (auto& t : client->status.threads)
        t.jobID = 5000;
    EXPECT_FLOAT_EQ(client->currentThreadPS_percentage(999, 0.0f), 1.0f / 1000);
    EXPECT_FLOAT_EQ(client->currentThreadPS_percentage(1000, 0.0f), 1.0f / 1001);
    EXPECT_FLOAT_EQ(client->currentThreadPS_percentage(0, std::nanf("")), 0.0f);
    client->hardware.performanceScore = 65535;
    EXPECT_EQ(client->currentThreadPS(0, 2.0f), 65535);
}

TEST(ClientRepair, RowsAtTheirBounds) {
    struct Case {
        int index;
        qint16 in;
        qint16 out;
    };
    const Case cases[] = {
        {0, 16, 16},   {0, 15, 15},     {3, 96, 95},     {3, 95, 95}, {3, 15, 15},   {4, 100, 100},
        {4, 999, 999}, {4, 1000, 1000}, {8, 20, 20},     {8, 21, 21}, {8, 600, 600}, {9, 0, 0},
        {9, 300, 300}, {9, -32768, 0},  {9, 32767, 300}, {5, 5, 5},   {6, 15, 15},   {1, -7, -7},
    };
    for (const Case& c : cases) {
        auto record = clearedRecord();
        record->config.cfgV[c.index] = c.in;
        record->checkInvalidValues();
        EXPECT_EQ(record->config.cfgV[c.index], c.out) << c.index << " " << c.in;
    }

    struct PresetCase {
        qint8 in;
        qint8 out;
    };
    for (const PresetCase c : {PresetCase{-1, 0}, PresetCase{-128, 0}, PresetCase{0, 0}, PresetCase{4, 4},
                               PresetCase{5, 5}, PresetCase{7, 5}, PresetCase{127, 5}}) {
        auto record = clearedRecord();
        record->config.uncPreset = c.in;
        record->checkInvalidValues();
        EXPECT_EQ(record->config.uncPreset, c.out) << int(c.in);
    }
    for (int threads : {0, 1, 8, 9, 12, 255}) {
        auto record = clearedRecord();
        record->config.configThreadCount = quint8(threads);
        record->checkInvalidValues();
        EXPECT_EQ(record->config.configThreadCount, threads == 0 ? 1 : std::min(threads, 8)) << threads;
    }
}

TEST(ClientRepair, ExecuteIsAddedOnceWhateverTheCase) {
    auto record = clearedRecord();
    _ClientConfig_threadSettings& first = record->config.threads[0];
    first.jobTypes[0].set("comp");
    first.jobTypeCount = 1;
    for (int round = 0; round < 3; ++round)
        record->checkInvalidValues();
    EXPECT_EQ(record->config.threadJobs(0), QStringList({"comp", "execute"}));

    // A thread keeping case gets "Execute" once, and its "EXECUTE" counts as accepting.
    first.jobTypeCount = 1;
    first.jobTypesKeepCase = 1;
    for (int round = 0; round < 3; ++round)
        record->checkInvalidValues();
    EXPECT_EQ(record->config.threadJobs(0), QStringList({"comp", "Execute"}));
    first.jobTypes[1].set("EXECUTE");
    record->checkInvalidValues();
    EXPECT_EQ(record->config.threadJobs(0), QStringList({"comp", "EXECUTE"}));
}

TEST(ClientRepair, ClockThatIsNoNumber) {
    for (float clock : {std::nanf(""), -std::numeric_limits<float>::infinity(), -0.5f}) {
        auto record = clearedRecord();
        record->hardware.cpuGhz = clock;
        record->checkInvalidValues();
        EXPECT_EQ(record->hardware.cpuGhz, 0.0f) << clock;
    }
    auto record = clearedRecord();
    record->hardware.cpuGhz = 3.5f;
    record->checkInvalidValues();
    EXPECT_EQ(record->hardware.cpuGhz, 3.5f);
}
