// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "clients/clientrecords.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace kxC;

namespace {

template <typename T>
void fill(T& value, unsigned char byte) {
    std::memset(static_cast<void*>(&value), byte, sizeof(T));
}

template <typename T>
bool sameBytes(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

/// A client with something in every part of its configuration.
std::unique_ptr<_Client_ALL> sampleClient() {
    auto client = std::make_unique<_Client_ALL>();
    client->clearAllStruct();
    client->listNo = 12;
    client->config.configPreset = 0;
    client->config.reservedFor[0].set("anna");
    client->config.reservedForCount = 1;
    client->config.configThreadCount = 2;
    client->config.threads[1].gpuMask = 0x0C;
    client->hardware.memory = 131072;
    client->hardware.gpuCount = 4;
    client->hardware.customClientInfo.set("rack 3");
    std::memset(client->reserved_13132, 0x3C, sizeof(client->reserved_13132));
    client->renderAppCount = 2;
    client->renderApps[0].name.set("maya");
    client->renderApps[0].executable.set("/opt/maya/bin/maya");
    client->renderApps[1].name.set("nuke");
    client->renderApps[1].executable.set("/opt/nuke/Nuke14");
    client->renderApps[57].name.set("carried beyond the count");
    client->status.name.set("node07");
    return client;
}

} // namespace

TEST(ClientGpu, ActiveFlagsAndHasGpu) {
    struct Case {
        qint8 gpuCount;
        qint16 mask;
        int thread;
        quint32 flags;
        bool has;
    } cases[] = {
        {-1, -1, 0, 0, false}, // no count reported: nothing, whatever the mask
        {0, -1, 0, 0, false},
        {2, -1, 0, 0x3, true},
        {4, 0x0A, 1, 0x0A, true}, // only the thread's GPUs
        {2, 0x0C, 0, 0, false},   // GPUs the client does not have
        {12, 0x800, 7, 0x800, true},
        {11, 0x800, 7, 0, false},
        {3, 0, -1, 0x7, false}, // a thread outside 0 to 7: every GPU, but no thread has it
        {3, 0, 8, 0x7, false},
        {16, -1, 0, 0xFFFF, true}, // the mask holds 16 bits
        {31, -1, 9, 0x7FFFFFFF, false},
        {32, -1, 9, 0xFFFFFFFF, false}, // counts up to 127 take every bit instead of shifting past them
        {127, -1, -3, 0xFFFFFFFF, false},
        {127, 0x4000, 2, 0x4000, true},
    };
    auto client = std::make_unique<_Client_WithoutStatus>();
    client->clear_wos();
    for (const Case& c : cases) {
        client->hardware.gpuCount = c.gpuCount;
        for (auto& t : client->config.threads)
            t.gpuMask = 0;
        if (c.thread >= 0 && c.thread < 8)
            client->config.threads[c.thread].gpuMask = c.mask;
        EXPECT_EQ(client->threadGpuActiveFlags_capped(c.thread), c.flags)
            << int(c.gpuCount) << " " << c.mask << " " << c.thread;
        EXPECT_EQ(client->hasGPU(c.thread), c.has) << int(c.gpuCount) << " " << c.mask << " " << c.thread;
    }
}

TEST(ClientTcp, ExportFillsTheRecord) {
    auto client = sampleClient();
    auto out = std::make_unique<_Client_allConfig_TCP>();
    fill(*out, 0xEE);
    client->export_Client_allConfig_TCP(_kxString8_allSize<50>("cloud-box"), 4, *out);

    const auto* bytes = reinterpret_cast<const unsigned char*>(out.get());
    EXPECT_EQ(bytes[0] | (bytes[1] << 8), 4100);
    EXPECT_EQ(out->name.toQString(), QStringLiteral("cloud-box"));
    EXPECT_EQ(out->name.text[9], 0);
    EXPECT_EQ(out->name.text[50], 0); // nothing of the old bytes behind the name
    EXPECT_EQ(out->cloudConnectorIndex, 4);
    EXPECT_EQ(out->reserved_57[0] | out->reserved_57[1] | out->reserved_57[2], 0);
    qint32 listNo = 0;
    std::memcpy(&listNo, bytes + 60, sizeof(listNo));
    EXPECT_EQ(listNo, 12);
    // Configuration, hardware, the carried bytes, the count and all 100 entries, as the record has them.
    EXPECT_EQ(std::memcmp(&out->cfg, static_cast<const _Client_configPart*>(client.get()),
                          sizeof(_Client_configPart)),
              0);
    EXPECT_EQ(out->cfg.renderApps[57].name.toQString(), QStringLiteral("carried beyond the count"));
}

TEST(ClientTcp, ImportTakesTheConfigurationAndKeepsListNumberAndName) {
    auto source = sampleClient();
    auto record = std::make_unique<_Client_allConfig_TCP>();
    source->export_Client_allConfig_TCP(source->status.name, -1, *record);

    auto target = std::make_unique<_Client_ALL>();
    target->clearAllStruct();
    target->listNo = 3;
    target->status.name.set("other");
    target->userMessage.add(_kxString<2500>("kept"));
    ASSERT_TRUE(target->import_Client_allConfig_TCP(*record));
    EXPECT_EQ(target->listNo, 3);
    EXPECT_EQ(target->status.name.toQString(), QStringLiteral("other"));
    EXPECT_EQ(target->userMessage.text.toQString(), QStringLiteral("kept"));
    EXPECT_TRUE(sameBytes(target->config, source->config));
    EXPECT_TRUE(sameBytes(target->hardware, source->hardware));
    EXPECT_TRUE(sameBytes(target->reserved_13132, source->reserved_13132));
    EXPECT_EQ(target->renderAppCount, 2);
    EXPECT_TRUE(sameBytes(target->renderApps, source->renderApps));

    // Exported again, the record gives back the configuration it was given.
    auto again = std::make_unique<_Client_allConfig_TCP>();
    target->export_Client_allConfig_TCP(record->name, -1, *again);
    again->cfg.listNo = record->cfg.listNo;
    EXPECT_TRUE(sameBytes(*again, *record));
}

TEST(ClientTcp, ImportOfAnotherRecordKindChangesNothing) {
    auto record = std::make_unique<_Client_allConfig_TCP>();
    fill(*record, 0x77);
    auto target = sampleClient();
    auto before = std::make_unique<_Client_ALL>(*target);
    for (quint16 mark : {quint16(0), quint16(4099), quint16(4101), quint16(517), quint16(0x7777)}) {
        record->structID = mark;
        EXPECT_FALSE(target->import_Client_allConfig_TCP(*record)) << mark;
        EXPECT_TRUE(sameBytes(*target, *before)) << mark;
    }
}

TEST(ClientRecord, ClearWosLeavesTheStatusAndClearsTheRest) {
    auto client = std::make_unique<_Client_ALL>();
    fill(*client, 0x5A);
    client->status.name.set("node07");
    const auto status = std::make_unique<_ClientStatus_ALL>(client->status);
    client->clear_wos();
    EXPECT_TRUE(sameBytes(client->status, *status));
    EXPECT_EQ(client->listNo, -1);
    EXPECT_EQ(client->config.configPreset, 2);
    EXPECT_EQ(client->config.uncPreset, 0); // zeroed, then left alone by the clear
    EXPECT_EQ(client->hardware.gpuCount, -1);
    EXPECT_EQ(client->renderAppCount, 0);
    EXPECT_EQ(client->commandCount, 0);
    EXPECT_EQ(client->commands[3].structID, 0);
    EXPECT_EQ(client->info.jobEfficiencyRate.lastHour, 0u);
    EXPECT_FALSE(client->time(0).isSet());
    for (quint8 b : client->reserved_13132)
        ASSERT_EQ(b, 0);
}

TEST(ClientRecord, CopyCfgToTakesEveryApplicationEntry) {
    auto source = sampleClient();
    auto target = std::make_unique<_Client_ALL>();
    target->clearAllStruct();
    target->commandCount = 1;
    source->copyCfgTo(*target);
    EXPECT_EQ(target->listNo, 12);
    EXPECT_TRUE(sameBytes(target->config, source->config));
    EXPECT_TRUE(sameBytes(target->hardware, source->hardware));
    EXPECT_EQ(target->renderAppCount, 2);
    EXPECT_TRUE(sameBytes(target->renderApps, source->renderApps)); // beyond the count as well
    EXPECT_EQ(target->commandCount, 1);
    EXPECT_EQ(target->status.name.toQString(), QStringLiteral("kxNemo"));
}

namespace {

/// A clean text: `length` units, a 0 and zero units up to the capacity.
template <typename Text>
::testing::AssertionResult isClean(const Text& t, int length) {
    if (t.length != length)
        return ::testing::AssertionFailure() << "length " << t.length << " instead of " << length;
    for (int i = length; i <= Text::capacity; ++i)
        if (t.text[i] != 0)
            return ::testing::AssertionFailure() << "unit " << i << " is not 0";
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(ClientCleanExport, TextsAreCopiedAsTextAndTheRestAsItIs) {
    // Every byte of the source is 0x5A: each length word reads beyond its capacity.
    auto source = std::make_unique<_Client_ALL>();
    fill(*source, 0x5A);
    source->config.reservedFor[3].set("anna"); // the units behind it keep 0x5A
    source->renderApps[99].executable.set("/opt/maya/bin/maya");
    source->status.user.length = 3;

    auto copy = std::make_unique<_Client_ALL>(source->cleanExport());
    auto copyCC = std::make_unique<_Client_ALL>(source->cleanExportCC());
    auto copyC = std::make_unique<_Client_ALL>(source->cleanExportC());
    EXPECT_TRUE(sameBytes(*copy, *copyCC));
    EXPECT_TRUE(sameBytes(*copy, *copyC));

    const _Client_ALL& c = *copy;
    EXPECT_TRUE(isClean(c.config.reservedFor[3], 4));
    EXPECT_EQ(c.config.reservedFor[3].toQString(), QStringLiteral("anna"));
    EXPECT_EQ(c.config.reservedFor[3].secondWord, 0x5A5A); // not a text: travels as it is
    EXPECT_TRUE(isClean(c.renderApps[99].executable, 18));
    EXPECT_TRUE(isClean(c.status.user, 3));
    EXPECT_EQ(c.status.user.text[2], 0x5A5A);
    // Length words beyond the capacity are cut to it; the text ends with a 0.
    EXPECT_TRUE(isClean(c.config.reservedFor[0], 50));
    EXPECT_TRUE(isClean(c.config.acceptInWorkingHours[9], 50));
    EXPECT_TRUE(isClean(c.config.abortProcesses[5], 50));
    EXPECT_TRUE(isClean(c.config.fourthNameList[5], 50));
    EXPECT_TRUE(isClean(c.config.threads[7].jobTypes[9], 50));
    EXPECT_TRUE(isClean(c.config.gpuUser, 50));
    EXPECT_TRUE(isClean(c.config.noArtistLogin, 25));
    EXPECT_TRUE(isClean(c.hardware.customClientInfo, 100));
    EXPECT_TRUE(isClean(c.hardware.location[1], 10));
    EXPECT_TRUE(isClean(c.hardware.wolText1, 25));
    EXPECT_TRUE(isClean(c.hardware.wolText2, 50));
    EXPECT_TRUE(isClean(c.renderApps[0].parameter, 50));
    EXPECT_TRUE(isClean(c.renderApps[50].name, 25));
    EXPECT_TRUE(isClean(c.renderApps[99].versionMinor, 15));
    EXPECT_TRUE(isClean(c.commands[14].paramText, 500));
    EXPECT_TRUE(isClean(c.userMessage.text, 2500));
    EXPECT_TRUE(isClean(c.status.name, 50));
    EXPECT_TRUE(isClean(c.status.version, 10));
    EXPECT_EQ(c.userMessage.text.text[2499], 0x5A5A);

    // Everything else, named or carried, is the source's.
    EXPECT_TRUE(sameBytes(c.status.threads, source->status.threads));
    EXPECT_TRUE(sameBytes(c.info, source->info));
    EXPECT_TRUE(sameBytes(c.times, source->times));
    EXPECT_TRUE(sameBytes(c.reserved_13132, source->reserved_13132));
    EXPECT_TRUE(sameBytes(c.reserved_103765, source->reserved_103765));
    EXPECT_TRUE(sameBytes(c.commands[7].targets, source->commands[7].targets));
    EXPECT_TRUE(sameBytes(c.config.cfgV, source->config.cfgV));
    EXPECT_EQ(c.config.threads[2].jobTypeCount, source->config.threads[2].jobTypeCount);
    EXPECT_EQ(c.hardware.value_480, source->hardware.value_480);
    EXPECT_EQ(c.renderApps[4].value_256, source->renderApps[4].value_256);
    EXPECT_EQ(c.status.cloudConnectorIndex, source->status.cloudConnectorIndex);

    // A clean record's copy is the same bytes.
    auto again = std::make_unique<_Client_ALL>(c.cleanExport());
    EXPECT_TRUE(sameBytes(*again, c));
}
