// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "clients/clientlist.h"
#include "clients/clientrecords.h"
#include "runtime/kxexport.h"

#include "kxdatabuffer.h"
#include "kxtime.h"

#include <QString>

namespace kxC {

/// The server's statistics file, loaded: one compressed data buffer whose type tag names the record
/// layout and whose data is the records one after the other.
class KX_EXPORT _server_clientInfo {
public:
    /// Type tag of a file of current (version 2) records.
    static constexpr quint32 typeTagVersion2 = 0xC02; // 3074
    /// Type tag of a file of first-layout (version 1) records.
    static constexpr quint32 typeTagVersion1 = 0;
    static constexpr qint64 recordSizeVersion2 = sizeof(_Client_Info_save);
    static constexpr qint64 recordSizeVersion1 = sizeof(_Client_Info_save_v1);
    /// Records a file can hold: one per entry of the server's client list (clients and cloud
    /// connectors).
    static constexpr int maxRecords = _ClientList::entryCapacity;
    /// The most data a statistics file can need: `maxRecords` records of the larger layout. A file
    /// that declares more is refused.
    static constexpr qint64 maxDataSize = maxRecords * recordSizeVersion2;

    /// No data, no records, no error.
    _server_clientInfo();
    // The record views point into the owned buffer, so a copy would point into another object.
    _server_clientInfo(const _server_clientInfo&) = delete;
    _server_clientInfo& operator=(const _server_clientInfo&) = delete;

    /// Drops the data and the records and empties the error text.
    void clear();
    /// Loads the statistics file at `path`. False, with no records and the reason in errorText(), when
    /// the file is missing, cannot be read or decompressed, or its type tag and size do not make whole
    /// records; a file of 0 bytes of data loads with no records.
    bool loadFromFile(const QString& path);

    /// Record `index` as a client's statistics, converted from the first layout when the file holds
    /// it (its efficiency rate then all zero); a cleared record for an index outside 0 to count()-1.
    _Client_Info info(int index) const;

    /// Number of records loaded.
    int count() const { return recordCount; }
    /// Why the last load failed; empty after a success.
    const QString& errorText() const { return error; }
    /// Modification time of the file last found.
    _kxTime fileTime() const { return time; }
    /// The loaded records of each layout; null unless the file holds that layout.
    const _Client_Info_save* clientInfos() const { return version2; }
    const _Client_Info_save_v1* clientInfos_v1() const { return version1; }

private:
    const _Client_Info_save* version2;
    const _Client_Info_save_v1* version1;
    _KX_DataBuffer data;
    qint32 recordCount;
    QString error;
    _kxTime time;
};

} // namespace kxC
