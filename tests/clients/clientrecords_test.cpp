// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "clients/clientrecords.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace kxC;

namespace {

template <typename T>
bool allZero(const T& value) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
    for (size_t i = 0; i < sizeof(T); ++i)
        if (bytes[i] != 0)
            return false;
    return true;
}

template <typename T>
void fill(T& value, unsigned char byte) {
    std::memset(static_cast<void*>(&value), byte, sizeof(T));
}

QStringList jobTypes(const _ClientConfig_threadSettings& thread) {
    QStringList types;
    for (int i = 0; i < thread.usedJobTypeCount(); ++i)
        types << thread.jobTypes[i].toQString();
    return types;
}

} // namespace

TEST(ClientStatus, ConstructedAndClearedDefaults) {
    auto status = std::make_unique<_ClientStatus>();
    EXPECT_EQ(status->structID, 517u);
    EXPECT_EQ(status->value_4, 2);
    EXPECT_EQ(status->name.toQString(), QStringLiteral("kxNemo"));
    EXPECT_TRUE(status->version.isEmpty());
    EXPECT_TRUE(status->user.isEmpty());
    EXPECT_EQ(status->cloudConnectorIndex, -1);
    EXPECT_EQ(status->value_134, -1);
    EXPECT_EQ(status->threadCount, 1);
    for (const _ClientStatusThread& t : status->threads)
        EXPECT_TRUE(allZero(t));

    // A status full of other values comes back to exactly the same bytes.
    auto fresh = std::make_unique<_ClientStatus>();
    fill(*status, 0x5A);
    status->clearStatus();
    EXPECT_EQ(std::memcmp(status.get(), fresh.get(), sizeof(_ClientStatus)), 0);
}

TEST(ClientStatus, ThreadSums) {
    auto status = std::make_unique<_ClientStatus>();
    status->threadCount = 2;
    status->threads[0].jobCPU_Usage = 200;
    status->threads[1].jobCPU_Usage = 100;
    status->threads[2].jobCPU_Usage = 50; // not a valid thread
    EXPECT_EQ(status->allThreads_jobCPU_Usage(), 255);
    status->threads[0].jobMemoryUsage = 0xFFFFFFF0u;
    status->threads[1].jobMemoryUsage = 0x20;
    EXPECT_EQ(status->allThreads_jobMemoryUsage(), 0x10u); // wraps, no saturation

    status->threadCount = 0;
    EXPECT_EQ(status->allThreads_jobCPU_Usage(), 0);
    EXPECT_EQ(status->allThreads_jobMemoryUsage(), 0u);

    // A thread count above the capacity, as a record from elsewhere could hold, reads only the 8 threads.
    status->threadCount = 60000;
    for (_ClientStatusThread& t : status->threads)
        t.jobCPU_Usage = 1;
    EXPECT_EQ(status->allThreads_jobCPU_Usage(), 8);

    status->setAvailMemory(-77);
    for (const _ClientStatusThread& t : status->threads)
        EXPECT_EQ(t.availMemory, -77);
    EXPECT_EQ(status->availMemory(), -77);
}

TEST(ClientStatus, CopiesIntoTheLargeForm) {
    auto small = std::make_unique<_ClientStatus>();
    auto large = std::make_unique<_ClientStatus_ALL>();
    for (_ClientStatusThread& t : large->threads)
        t.jobID = 4242;
    small->name.set("render01");
    small->threadCount = 3;
    small->threads[7].jobID = 99999;

    small->copyAllButThreadsTo(*large);
    EXPECT_EQ(large->name.toQString(), QStringLiteral("render01"));
    EXPECT_EQ(large->threadCount, 3);
    EXPECT_EQ(quint64(large->threads[0].jobID), 4242u);

    small->copyTo(*large);
    EXPECT_EQ(quint64(large->threads[0].jobID), 0u);
    EXPECT_EQ(quint64(large->threads[7].jobID), 99999u);
    EXPECT_EQ(quint64(large->threads[8].jobID), 4242u);
    EXPECT_EQ(quint64(large->threads[999].jobID), 4242u);
}

TEST(ClientConfig, ClearSetsDefaults) {
    auto config = std::make_unique<_ClientConfig>();
    fill(*config, 0x33);
    config->clear();

    EXPECT_EQ(config->configPreset, 2);
    EXPECT_EQ(config->value_1, 0);
    EXPECT_EQ(config->uncPreset, 0x33); // left alone
    EXPECT_EQ(config->reservedForCount, 0);
    EXPECT_TRUE(config->reservedFor[9].isEmpty());
    EXPECT_EQ(config->acceptInWorkingHoursCount, 0);
    EXPECT_EQ(config->abortProcessCount, 0);
    EXPECT_TRUE(config->fourthNameList[5].isEmpty());
    EXPECT_EQ(config->fourthNameListFlag, 0);
    EXPECT_EQ(config->configThreadCount, 1);
    EXPECT_EQ(config->wolFlags[0], 0);
    EXPECT_EQ(config->wolFlags[1], 0x33);
    EXPECT_EQ(config->wolFlags[2], 0);
    EXPECT_TRUE(config->gpuUser.isEmpty());
    EXPECT_TRUE(config->noArtistLogin.isEmpty());

    const int cfgBOn[] = {1, 2, 3, 4, 5, 6, 7, 8, 11, 15, 17, 27};
    const int cfgBOff[] = {19, 20, 21, 22, 23, 24, 28};
    for (int i : cfgBOn)
        EXPECT_EQ(config->cfgB[i], 1) << i;
    for (int i : cfgBOff)
        EXPECT_EQ(config->cfgB[i], 0) << i;
    for (int i : {0, 9, 10, 12, 25, 39})
        EXPECT_EQ(config->cfgB[i], 0x33) << i; // no default: kept
    EXPECT_EQ(config->cfgBCount, 29);

    const qint16 cfgV[34] = {45, 0,  1, 75, 300, 25, 45, 3,  140, 25, 1, 1, 1, 1, 0, 0, 6,
                             9,  17, 1, 1,  1,   0,  20, 10, 0,   0,  0, 0, 0, 0, 0, 0, 15};
    for (int i = 0; i < 34; ++i)
        EXPECT_EQ(config->cfgV[i], cfgV[i]) << i;
    for (int i = 34; i < 40; ++i)
        EXPECT_EQ(config->cfgV[i], 1) << i;
    EXPECT_EQ(config->cfgVCount, 34);
}

TEST(ClientConfig, ThreadDefaults) {
    struct Case {
        int thread;
        QStringList types;
    } cases[] = {
        {0, {"3d", "execute", "comp", "archive"}},
        {1, {"comp", "archive"}},
        {3, {"comp", "archive"}},
        {-2, {"comp", "archive"}},
        {4, {"gpuonly"}},
        {5, {"gpuonly"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(_ClientConfig_threadSettings::getDefaultJobThreadApps(c.thread), c.types) << c.thread;

    auto config = std::make_unique<_ClientConfig>();
    fill(*config, 0x44);
    config->clear();
    for (int t = 0; t < 8; ++t) {
        const _ClientConfig_threadSettings& thread = config->threads[t];
        EXPECT_EQ(jobTypes(thread), _ClientConfig_threadSettings::getDefaultJobThreadApps(t)) << t;
        EXPECT_EQ(thread.gpuMask, -1);
        EXPECT_EQ(thread.whDisable, 1);
        EXPECT_EQ(thread.value_3, 0x44); // left alone
        EXPECT_EQ(thread.jobTypesKeepCase, 0);
        for (int i = thread.usedJobTypeCount(); i < 10; ++i)
            EXPECT_TRUE(thread.jobTypes[i].isEmpty());
    }
}

TEST(ClientHardware, ClearKeepsOnlyItsDefaults) {
    auto hw = std::make_unique<_ClientHardware>();
    fill(*hw, 0x71);
    hw->clear();
    EXPECT_EQ(hw->gpuCount, -1);
    EXPECT_EQ(hw->flag_18, 1);
    hw->gpuCount = 0;
    hw->flag_18 = 0;
    EXPECT_TRUE(allZero(*hw));
}

TEST(ClientRecord, ClearedRecordIsValid) {
    auto client = std::make_unique<_Client>();
    fill(*client, 0x29);
    client->clear();
    EXPECT_EQ(client->listNo, -1);
    EXPECT_EQ(client->hardware.memory, 1);
    EXPECT_EQ(client->hardware.cores, 1);
    EXPECT_EQ(client->hardware.performanceScore, 1);
    EXPECT_EQ(client->config.uncPreset, 0);
    EXPECT_EQ(client->commandCount, 0);
    EXPECT_TRUE(client->userMessage.text.isEmpty());
    EXPECT_EQ(client->renderAppCount, 0);
    EXPECT_EQ(client->addedToList, 0);
    // Thread 0's defaults already accept "execute": no second entry.
    EXPECT_EQ(jobTypes(client->config.threads[0]), QStringList({"3d", "execute", "comp", "archive"}));
    EXPECT_EQ(client->status.name.toQString(), QStringLiteral("kxNemo"));
    EXPECT_TRUE(allZero(client->status.threads));
    EXPECT_TRUE(allZero(client->info));
}

TEST(ClientRecord, ConstructedRecordHasEmptyEntries) {
    auto client = std::make_unique<_Client_WithoutStatus>();
    EXPECT_EQ(client->renderApps[99].versionMinor.toQString(), QStringLiteral("00000"));
    EXPECT_EQ(client->renderApps[0].value_256, -1);
    EXPECT_EQ(client->commandCount, 0);
    EXPECT_EQ(client->commands[14].paramA, -7);
    EXPECT_TRUE(client->userMessage.text.isEmpty());
    EXPECT_TRUE(allZero(client->info));
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(client->time(i).isSet());
    client->setTime(3, _kxTime::fromSeconds(1700000000));
    EXPECT_EQ(client->time(3).t, 1700000000);
    client->setTime(4, _kxTime::fromSeconds(5));
    EXPECT_FALSE(client->time(4).isSet());
}

TEST(ClientRecord, CheckInvalidValuesRepairs) {
    struct Case {
        int index;
        qint16 in;
        qint16 out;
    } cases[] = {
        {0, 15, 15},   {0, 16, 16},   {0, -3, 15},   {2, 7, 1},       {3, 96, 95},     {3, 95, 95},
        {3, 14, 15},   {4, 100, 100}, {4, 101, 101}, {4, 1000, 1000}, {4, 5000, 1000}, {5, 4, 5},
        {6, 14, 15},   {7, 0, 2},     {7, -1, 2},    {7, 1, 1},       {8, 5, 20},      {8, 20, 20},
        {8, 601, 600}, {8, 600, 600}, {9, -1, 0},    {9, 301, 300},   {10, -99, -99},
    };
    for (const Case& c : cases) {
        auto client = std::make_unique<_Client_WithoutStatus>();
        client->clear_wos();
        client->config.cfgV[c.index] = c.in;
        client->checkInvalidValues();
        EXPECT_EQ(client->config.cfgV[c.index], c.out) << c.index << " " << c.in;
    }

    auto client = std::make_unique<_Client_WithoutStatus>();
    client->clear_wos();
    client->config.configThreadCount = 12;
    client->config.uncPreset = 7;
    client->hardware.cpuGhz = -2.5f;
    client->hardware.memory = -5;
    client->checkInvalidValues();
    EXPECT_EQ(client->config.configThreadCount, 8);
    EXPECT_EQ(client->config.uncPreset, 5);
    EXPECT_EQ(client->hardware.cpuGhz, 0.0f);
    EXPECT_EQ(client->hardware.memory, 1);
    client->config.configThreadCount = 0;
    client->config.uncPreset = -1;
    client->checkInvalidValues();
    EXPECT_EQ(client->config.configThreadCount, 1);
    EXPECT_EQ(client->config.uncPreset, 0);
}

TEST(ClientRecord, CloudMachineSettings) {
    auto client = std::make_unique<_Client_WithoutStatus>();
    client->clear_wos();
    client->hardware.isCloudVM = 1;
    client->hardware.wolText1.set("00:11:22:33:44:55");
    client->config.wolFlags[1] = 1;
    client->checkInvalidValues();
    EXPECT_EQ(client->hardware.flag_18, 0);
    EXPECT_TRUE(client->hardware.wolText1.isEmpty());
    EXPECT_EQ(client->config.wolFlags[1], 0);
    EXPECT_EQ(client->config.wolFlags[3], 1);
    EXPECT_EQ(client->config.wolFlags[4], 1);
}

TEST(ClientRecord, SomeThreadAcceptsExecuteJobs) {
    auto client = std::make_unique<_Client_WithoutStatus>();
    client->clear_wos();
    _ClientConfig_threadSettings& first = client->config.threads[0];
    first.jobTypes[0].set("comp");
    first.jobTypeCount = 1;
    client->checkInvalidValues();
    EXPECT_EQ(jobTypes(first), QStringList({"comp", "execute"}));

    // A later thread within the thread count accepting "*" is enough.
    first.jobTypeCount = 1;
    client->config.configThreadCount = 2;
    client->config.threads[1].jobTypes[0].set("*");
    client->config.threads[1].jobTypeCount = 1;
    client->checkInvalidValues();
    EXPECT_EQ(jobTypes(first), QStringList({"comp"}));

    // Beyond the thread count it does not count; a thread keeping case gets the name as written.
    client->config.configThreadCount = 1;
    first.jobTypesKeepCase = 1;
    client->checkInvalidValues();
    EXPECT_EQ(jobTypes(first), QStringList({"comp", "Execute"}));

    // A full list stays full; a stored count above 10 is read as 10.
    first.jobTypeCount = 400;
    for (auto& type : first.jobTypes)
        type.set("comp");
    client->checkInvalidValues();
    EXPECT_EQ(first.usedJobTypeCount(), 10);
    EXPECT_FALSE(jobTypes(first).contains("Execute"));
}

TEST(ClientRecord, RenderAppsWithoutExecutableOrNameAreDropped) {
    auto client = std::make_unique<_Client_WithoutStatus>();
    client->clear_wos();
    const char* entries[][2] = {{"/a/maya", "maya"}, {"", "nuke"}, {"/a/houdini", ""}, {"/a/nuke", "nuke"}};
    for (int i = 0; i < 4; ++i) {
        client->renderApps[i].executable.set(entries[i][0]);
        client->renderApps[i].name.set(entries[i][1]);
    }
    client->renderAppCount = 4;
    client->checkInvalidValues();
    ASSERT_EQ(client->renderAppCount, 2);
    EXPECT_EQ(client->renderApps[0].name.toQString(), QStringLiteral("maya"));
    EXPECT_EQ(client->renderApps[1].executable.toQString(), QStringLiteral("/a/nuke"));
    EXPECT_TRUE(client->renderApps[2].executable.isEmpty());

    // A stored count above the capacity reads only the 100 entries.
    client->renderAppCount = 30000;
    client->checkInvalidValues();
    EXPECT_EQ(client->renderAppCount, 2);
}

TEST(ClientRecord, CopyCfgToTakesConfigurationOnly) {
    auto source = std::make_unique<_Client>();
    auto target = std::make_unique<_Client>();
    source->clear();
    target->clear();
    source->listNo = 17;
    source->config.configPreset = 0;
    source->hardware.memory = 65536;
    source->renderAppCount = 1;
    source->renderApps[0].name.set("nuke");
    source->userMessage.add(_kxString<2500>("hello"));
    source->status.name.set("src");
    target->status.name.set("dst");

    source->copyCfgTo(*target);
    EXPECT_EQ(target->listNo, 17);
    EXPECT_EQ(target->config.configPreset, 0);
    EXPECT_EQ(target->hardware.memory, 65536);
    EXPECT_EQ(target->renderAppCount, 1);
    EXPECT_EQ(target->renderApps[0].name.toQString(), QStringLiteral("nuke"));
    EXPECT_TRUE(target->userMessage.text.isEmpty());
    EXPECT_EQ(target->status.name.toQString(), QStringLiteral("dst"));
}

TEST(ClientRecord, LargeFormClears) {
    auto record = std::make_unique<_Client_ALL>();
    fill(*record, 0x61);
    record->status.cloudConnectorIndex = -1;
    record->clear();
    EXPECT_EQ(record->status.cloudConnectorIndex, -1);
    EXPECT_TRUE(allZero(record->status.threads[7]));
    EXPECT_EQ(quint64(record->status.threads[8].jobID),
              0x6161616161616161ull); // an ordinary client: 8 threads

    fill(*record, 0x61);
    record->status.cloudConnectorIndex = 3;
    record->clear();
    EXPECT_EQ(record->status.cloudConnectorIndex, 3);
    EXPECT_TRUE(allZero(record->status.threads));
    EXPECT_EQ(record->listNo, -1);

    fill(*record, 0x61);
    record->status.cloudConnectorIndex = 3;
    record->clearAllStruct();
    EXPECT_EQ(record->status.cloudConnectorIndex, -1);
    EXPECT_TRUE(allZero(record->status.threads));
    EXPECT_EQ(record->status.name.toQString(), QStringLiteral("kxNemo"));
}

TEST(ClientStatistics, SavedFormsAndClears) {
    auto v1 = std::make_unique<_Client_Info_save_v1>();
    fill(*v1, 0x12);
    auto info = std::make_unique<_Client_Info>();
    fill(*info, 0x34);
    v1->toVersion2(*info);
    EXPECT_EQ(std::memcmp(info.get(), v1.get(), sizeof(_Client_Info_save_v1)), 0);
    EXPECT_EQ(info->jobEfficiencyRate.successRate, 0x34); // not part of the first layout
    EXPECT_EQ(quint64(info->runtimeValue), 0x3434343434343434ull);

    auto saved = std::make_unique<_Client_Info_save>();
    fill(*saved, 0x56);
    *info = saved.get();
    EXPECT_EQ(std::memcmp(info.get(), saved.get(), sizeof(_Client_Info_save)), 0);
    EXPECT_EQ(info->runtimeFlagA, 0x34); // run-time fields are not saved ones
    *info = static_cast<const _Client_Info_save*>(nullptr);
    EXPECT_EQ(info->block_0[0], 0x56);

    info->clearInfo();
    EXPECT_TRUE(allZero(*info));
    saved->clearSave();
    EXPECT_TRUE(allZero(*saved));

    _Client_jobEfficiencyRate rate;
    EXPECT_TRUE(allZero(rate));
}
