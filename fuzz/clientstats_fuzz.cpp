// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
//
// The statistics file is read back from disk, where it may be damaged or of another program's making.
// Any file bytes must give an answer without reading outside the data; a well-formed buffer of any
// type tag and size loads exactly when it holds whole records of the layout its tag names, and a
// failed load leaves no records and a message.
#include "clients/clientstats.h"

#include "kxdatabuffer.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

// One file per process, removed when the run ends.
struct ScratchFile {
    const QString path =
        QDir::tempPath() + QStringLiteral("/clientstats_fuzz_%1.kxdb").arg(qint64(::getpid()));
    ~ScratchFile() { QFile::remove(path); }
};

const QString& scratchFile() {
    static const ScratchFile file;
    return file.path;
}

void checkLoaded(const kxC::_server_clientInfo& stats, bool loaded) {
    if (loaded != stats.errorText().isEmpty())
        __builtin_trap();
    if (!loaded && (stats.count() != 0 || stats.clientInfos() || stats.clientInfos_v1()))
        __builtin_trap();
    for (int i = -1; i <= stats.count() && i < 4; ++i)
        (void)stats.info(i);
    if (stats.count() > 0)
        (void)stats.info(stats.count() - 1);
}

quint32 readU32(const uint8_t* p) {
    quint32 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    auto stats = std::make_unique<kxC::_server_clientInfo>();
    const QString& path = scratchFile();

    if ((data[0] & 1) == 0 || size < 9) {
        // Any file bytes.
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data + 1), qint64(size - 1));
        file.close();
        checkLoaded(*stats, stats->loadFromFile(path));
        return 0;
    }

    // A well-formed buffer: a type tag near the two real ones or any, and a size around whole records.
    const quint32 tagChoice = readU32(data + 1);
    const quint32 tag = (tagChoice & 3) == 0 ? 3074u : (tagChoice & 3) == 1 ? 0u : tagChoice;
    const quint32 sizeChoice = readU32(data + 5);
    const qint64 record = (sizeChoice & 1) ? kxC::_server_clientInfo::recordSizeVersion2
                                           : kxC::_server_clientInfo::recordSizeVersion1;
    const qint64 records = (sizeChoice >> 1) % 4;
    const qint64 delta = qint64((sizeChoice >> 3) % 9) - 4;
    qint64 bytes = records * record + delta;
    if (bytes < 0)
        bytes = 0;
    QByteArray payload(qsizetype(bytes), '\0');
    for (qint64 i = 0; i < bytes && size > 9; ++i)
        payload[qsizetype(i)] = char(data[9 + size_t(i) % (size - 9)]);
    _KX_DataBuffer buffer(payload, tag);
    if (!buffer.saveToFileCompressed(path, _KX_DataBuffer::compressionStored))
        return 0;

    const bool expected = (tag == 3074u && bytes % kxC::_server_clientInfo::recordSizeVersion2 == 0) ||
                          (tag == 0u && bytes % kxC::_server_clientInfo::recordSizeVersion1 == 0);
    const bool loaded = stats->loadFromFile(path);
    if (loaded != expected)
        __builtin_trap();
    checkLoaded(*stats, loaded);
    if (loaded) {
        const qint64 size2 = tag == 3074u ? kxC::_server_clientInfo::recordSizeVersion2
                                          : kxC::_server_clientInfo::recordSizeVersion1;
        if (stats->count() != bytes / size2)
            __builtin_trap();
        if (stats->count() > 0) {
            const kxC::_Client_Info first = stats->info(0);
            if (std::memcmp(&first, payload.constData(), size_t(size2)) != 0)
                __builtin_trap();
        }
    }
    return 0;
}
