// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
//
// A client's configuration, hardware and thread records arrive from the client and from configuration
// files: any bytes. After checkInvalidValues the repaired ranges must hold, and every configuration
// query, for any thread, GPU, day and hour, must stay inside the record.
//
// Input: its bytes are combined (exclusive or) with a cleared record, the first ones with the record's
// configuration part (list number, configuration, hardware, render applications), the next with its
// status (basic part and the first 16 thread records): any record can be reached, and an input of zero
// bytes is a cleared record that small changes start from. The last 24 bytes, when there are that many,
// also give six numbers for one more schedule test.
#include "clients/clientrecords.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

using namespace kxC;

namespace {

void checkRepaired(const _Client_ALL& client) {
    const _ClientConfig& c = client.config;
    const qint16* v = c.cfgV;
    if (v[0] < 15 || v[2] != 1 || v[3] < 15 || v[3] > 95 || v[4] < 100 || v[4] > 1000 || v[5] < 5 ||
        v[6] < 15 || v[7] < 1 || v[8] < 20 || v[8] > 600 || v[9] < 0 || v[9] > 300)
        __builtin_trap();
    if (c.configThreadCount < 1 || c.configThreadCount > 8 || c.uncPreset < 0 || c.uncPreset > 5)
        __builtin_trap();
    const _ClientHardware& hw = client.hardware;
    if (hw.memory < 1 || hw.cores < 1 || hw.performanceScore < 1 || !(hw.cpuGhz >= 0))
        __builtin_trap();
    if (client.renderAppCount < 0 || client.renderAppCount > _Client_configPart::renderAppCapacity)
        __builtin_trap();
    for (int i = 0; i < client.renderAppCount; ++i)
        if (client.renderApps[i].executable.isEmpty() || client.renderApps[i].name.isEmpty())
            __builtin_trap();
    // Some thread accepts "Execute" jobs, unless thread 0's list was full.
    bool accepted = false;
    for (int t = 0; t < c.configThreadCount && !accepted; ++t)
        for (const QString& type : c.threadJobs(t))
            accepted = accepted || type == QLatin1String("*") ||
                       type.compare(QLatin1String("Execute"), Qt::CaseInsensitive) == 0;
    if (!accepted && c.threads[0].usedJobTypeCount() < _ClientConfig_threadSettings::jobTypeCapacity)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static auto client = std::make_unique<_Client_ALL>();
    static auto other = std::make_unique<_ClientConfig>();
    constexpr size_t configBytes = sizeof(_Client_configPart);
    constexpr size_t statusBytes = sizeof(_ClientStatusBasic_ALL_base) + 16 * sizeof(_ClientStatusThread);

    client->clearAllStruct();
    auto combine = [](void* target, const uint8_t* bytes, size_t n) {
        auto* out = static_cast<uint8_t*>(target);
        for (size_t i = 0; i < n; ++i)
            out[i] ^= bytes[i];
    };
    const size_t first = std::min(size, configBytes);
    combine(static_cast<_Client_configPart*>(client.get()), data, first);
    combine(&client->status, data + first, std::min(size - first, statusBytes));

    // Every query on the record as it arrived, then repaired.
    for (int round = 0; round < 2; ++round) {
        const _ClientConfig& c = client->config;
        for (int thread = -2; thread <= 9; ++thread) {
            (void)c.threadWHDisable(thread);
            (void)c.threadJobs(thread);
            for (int gpu = -1; gpu <= 13; ++gpu)
                (void)c.isGPUAssigned(thread, gpu);
            (void)jThreadIDasString(thread, round == 0);
        }
        for (int day = -1; day <= 7; ++day)
            for (int hour = -1; hour <= 24; ++hour) {
                (void)c.isTimeWorkhours(day, hour);
                (void)c.isTimeWOL(day, hour);
                (void)c.isTimeShutdown(day, hour);
            }
        (void)client->hardware.OSasString();
        for (int thread : {-1, 0, 1, 7, 8, 999, 1000, 1 << 30}) {
            for (float extra : {0.0f, 0.5f, -1.0f}) {
                const float share = client->currentThreadPS_percentage(thread, extra);
                if (!(share >= 0.0f && share <= 1.0f))
                    __builtin_trap();
                const int ps = client->currentThreadPS(thread, extra);
                if (ps < 0 || ps > client->hardware.performanceScore)
                    __builtin_trap();
                (void)client->currentThreadGhz(thread, extra);
            }
        }
        (void)machineType2Str(_ClientConfig_machineType(client->config.cfgV[0]));
        std::memcpy(static_cast<void*>(other.get()), &client->config, sizeof(_ClientConfig));
        other->copyFrom_nopreset(client->config);
        other->copyFrom_nopreset_withThreads(client->config);
        if (std::memcmp(other.get(), &client->config, sizeof(_ClientConfig)) != 0)
            __builtin_trap();
        if (round == 0) {
            client->checkInvalidValues();
            checkRepaired(*client);
            // Repairing again changes nothing.
            std::memcpy(static_cast<void*>(other.get()), &client->config, sizeof(_ClientConfig));
            client->checkInvalidValues();
            if (std::memcmp(other.get(), &client->config, sizeof(_ClientConfig)) != 0)
                __builtin_trap();
        }
    }

    if (size >= 24) {
        qint32 n[6];
        std::memcpy(n, data + size - 24, sizeof(n));
        const bool inside = isInTime(n[0], n[1], n[2], n[3], n[4], n[5]);
        if (inside && qint64(n[4]) - 1 == n[5])
            __builtin_trap(); // a switched-off schedule is never inside
    }
    return 0;
}
