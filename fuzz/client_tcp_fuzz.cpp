// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
//
// A client's TCP configuration record arrives from the client application: every count, length word
// and value in it may hold anything. Imported into a cleared client, written into the client
// configuration file in both application forms, exported, asked for its GPUs and copied clean, it
// must stay inside the records; an export after an accepted import gives the imported configuration
// back.
#include "clients/clientrecords.h"

#include "kxinisettings.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

const QString& iniPath() {
    static QTemporaryDir dir;
    static const QString path = dir.isValid() ? dir.filePath(QStringLiteral("clients.ini")) : QString();
    if (path.isEmpty())
        std::abort();
    return path;
}

/// The records of one run. They are large, so they are allocated once and reused: fresh allocations
/// of this size cost the run more than the work itself.
struct Records {
    kxC::_Client_allConfig_TCP record;
    kxC::_Client_allConfig_TCP exported;
    kxC::_Client_ALL client;
    kxC::_Client_ALL copy;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static auto records = std::make_unique<Records>();
    kxC::_Client_allConfig_TCP* record = &records->record;
    std::memset(static_cast<void*>(record), 0, sizeof(*record));
    std::memcpy(static_cast<void*>(record), data, size < sizeof(*record) ? size : sizeof(*record));
    // Most inputs would miss the mark; one bit sets it, so the import is taken as often as refused.
    if (size > 0 && (data[0] & 1) != 0)
        record->structID = kxC::_Client_allConfig_TCP::structMark;

    kxC::_Client_ALL* client = &records->client;
    client->clearAllStruct();
    client->status.name.set(record->name);
    client->status.cloudConnectorIndex = record->cloudConnectorIndex;
    const bool accepted = client->import_Client_allConfig_TCP(*record);
    if (accepted != (record->structID == kxC::_Client_allConfig_TCP::structMark))
        __builtin_trap();

    kxC::_Client_allConfig_TCP* exported = &records->exported;
    client->export_Client_allConfig_TCP(record->name, record->cloudConnectorIndex, *exported);
    if (accepted) {
        exported->cfg.listNo = record->cfg.listNo; // the client keeps its own list number
        if (std::memcmp(&exported->cfg, &record->cfg, sizeof(record->cfg)) != 0)
            __builtin_trap();
    }

    QFile::remove(iniPath());
    {
        _iniSettings ini(iniPath());
        client->writeClientCfg(ini, false, false);
        client->writeClientCfg(ini, true, true);
    }
    client->export_Client_allConfig_TCP(client->status.name, client->status.cloudConnectorIndex, *exported);

    for (int thread = -1; thread <= 8; ++thread) {
        const quint32 flags = client->threadGpuActiveFlags_capped(thread);
        if (client->hasGPU(thread) != (thread >= 0 && thread < 8 && flags != 0))
            __builtin_trap();
    }

    kxC::_Client_ALL* copy = &records->copy;
    *copy = client->cleanExport();
    if (copy->listNo != client->listNo || copy->status.name.len() != client->status.name.len())
        __builtin_trap();
    return 0;
}
