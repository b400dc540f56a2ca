// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// The client configuration file of a full farm: 1500 clients with 4 render applications each written
// with writeClientCfg into one settings object over a temporary file and synced, beside a floor: the
// same final keys and values written by bare setValue calls on the same class and synced. Each
// iteration runs both, alternating which goes first, so a load change on the machine hits both alike;
// the "ratio" counter is the writer's time over the floor's.

#include "clients/clientrecords.h"

#include "kxinisettings.h"

#include <QFile>
#include <QTemporaryDir>

#include "besidefloor.h"

#include <benchmark/benchmark.h>

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

void BM_writeClientCfg_1500clients(benchmark::State& state) {
    QTemporaryDir dir;
    if (!dir.isValid()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    auto client = benchClient();
    const auto keys = farmKeys(*client, dir.filePath(QStringLiteral("keys.ini")));
    const QString writerPath = dir.filePath(QStringLiteral("writer.ini"));
    const QString floorPath = dir.filePath(QStringLiteral("floor.ini"));
    bool allSynced = true;
    kxBenchBesideFloor(
        state,
        [&] {
            QFile::remove(writerPath);
            _iniSettings ini(writerPath);
            writeFarm(*client, ini);
            allSynced = ini.sync() && allSynced;
        },
        [&] {
            QFile::remove(floorPath);
            _iniSettings ini(floorPath);
            for (const auto& kv : keys)
                ini.setValue(kv.first, kv.second);
            allSynced = ini.sync() && allSynced;
        },
        kxBenchSides{1, 3.0});
    if (!allSynced)
        state.SkipWithError("sync failed");
    state.counters["keys"] = benchmark::Counter(double(keys.size()));
}
BENCHMARK(BM_writeClientCfg_1500clients)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(24);

} // namespace

BENCHMARK_MAIN();
