// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// The client configuration file of a full farm: 1500 clients with 4 render applications each written
// with writeClientCfg into one settings object over a temporary file and synced, beside a floor: the
// same final keys and values written by bare setValue calls on the same class and synced. Each
// iteration runs both, one after the other, so a load change on the machine hits both alike; the
// "ratio" counter is the writer's time over the floor's.

#include "clients/clientrecords.h"

#include "kxinisettings.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr int clientCount = 1500;

/// One client record, renamed for each of the 1500 writes: four records of this size would be 800 KB
/// each, and the writer reads nothing but the name that differs between clients.
std::unique_ptr<kxC::_Client_ALL> benchClient() {
    auto client = std::make_unique<kxC::_Client_ALL>();
    client->clearAllStruct();
    client->config.configPreset = 0;
    client->config.configThreadCount = 2;
    client->config.reservedFor[0].set("anna");
    client->config.reservedForCount = 1;
    client->hardware.memory = 131072;
    client->hardware.cores = 32;
    client->hardware.cpuGhz = 3.4f;
    client->hardware.gpuCount = 2;
    const char* apps[4][3] = {{"maya", "/opt/autodesk/maya2024/bin/maya", "2.300"},
                              {"houdini", "/opt/hfs20.0/bin/hython", "0.547"},
                              {"nuke", "/usr/local/Nuke14.0v5/Nuke14.0", "0.500"},
                              {"blender", "/opt/blender-4.1/blender", "1.000"}};
    for (int i = 0; i < 4; ++i) {
        client->renderApps[i].name.set(apps[i][0]);
        client->renderApps[i].executable.set(apps[i][1]);
        client->renderApps[i].versionMinor.set(apps[i][2]);
        client->renderApps[i].versionMajor = qint16(2020 + i);
    }
    client->renderAppCount = 4;
    return client;
}

void writeFarm(kxC::_Client_ALL& client, _iniSettings& ini) {
    for (int i = 0; i < clientCount; ++i) {
        client.status.name.set(QStringLiteral("render%1").arg(i, 4, 10, QLatin1Char('0')));
        client.listNo = i;
        client.writeClientCfg(ini, false, false);
    }
}

/// Every key of a written farm with its value, as the floor writes them.
std::vector<std::pair<QString, QString>> farmKeys(kxC::_Client_ALL& client, const QString& path) {
    _iniSettings ini(path);
    writeFarm(client, ini);
    std::vector<std::pair<QString, QString>> keys;
    const QStringList all = ini.allKeys();
    for (const QString& key : all)
        keys.emplace_back(key, ini.value(key));
    return keys;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_writeClientCfg_1500clients(benchmark::State& state) {
    QTemporaryDir dir;
    if (!dir.isValid()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    auto client = benchClient();
    const auto keys = farmKeys(*client, dir.filePath(QStringLiteral("keys.ini")));
    int file = 0;
    double writerSeconds = 0, floorSeconds = 0;
    for (auto _ : state) {
        const QString writerPath = dir.filePath(QStringLiteral("writer%1.ini").arg(++file));
        const QString floorPath = dir.filePath(QStringLiteral("floor%1.ini").arg(file));

        auto start = std::chrono::steady_clock::now();
        {
            _iniSettings ini(writerPath);
            writeFarm(*client, ini);
            if (!ini.sync())
                state.SkipWithError("sync failed");
        }
        const double writer = secondsSince(start);

        start = std::chrono::steady_clock::now();
        {
            _iniSettings ini(floorPath);
            for (const auto& kv : keys)
                ini.setValue(kv.first, kv.second);
            if (!ini.sync())
                state.SkipWithError("sync failed");
        }
        const double floor = secondsSince(start);

        state.SetIterationTime(writer);
        writerSeconds += writer;
        floorSeconds += floor;
        QFile::remove(writerPath);
        QFile::remove(floorPath);
    }
    state.counters["floor_ms"] = benchmark::Counter(floorSeconds * 1000.0 / double(state.iterations()));
    state.counters["ratio"] = benchmark::Counter(writerSeconds / floorSeconds);
    state.counters["keys"] = benchmark::Counter(double(keys.size()));
}
BENCHMARK(BM_writeClientCfg_1500clients)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
