// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "runtime/kxexport.h"

#include "kxstring.h"

#include <cstddef>
#include <type_traits>

/// The share mappings of one operating system; the configuration store carries five of them. The
/// entries belong to the server: the data model only clears them and derives automatic mount points.
/// Members sit at their natural alignment in this order; the store is handed over by the server, so
/// the layout is fixed.
struct KX_EXPORT _kxgUNC_map {
    /// One mapping entry; its members' meaning lies with the server.
    struct Entry {
        _kxString8_allSize<100> reserved_0;
        _kxString8_allSize<100> reserved_104;
        char reserved_208;      ///< 'A' after clear()
        quint8 reserved_209[5]; ///< 0, 0, 0, 1, 0 after clear()
        _kxString8_allSize<50> reserved_214;
        quint8 reserved_268;    ///< left alone by clear()
        quint8 reserved_269[3]; ///< 0, 1, 0 after clear()
        _kxString8_allSize<50> reserved_272;
    };

    static constexpr int entryCount = 19;

    Entry entries[entryCount];
    _kxString8_allSize<100> reserved_6194;
    _kxString8_allSize<100> reserved_6298;
    quint8 reserved_6402; ///< 1 after clear()

    /// Every byte 0, then clear(): the entry byte that clear() leaves alone starts as 0 as well.
    _kxgUNC_map();

    /// Gives every entry its starting values and sets the closing byte to 1; the two texts after the
    /// entries are left alone.
    void clear();

    /// The automatic mount point of a Windows share: one folder per server and share directly under
    /// the root. \\server.local\projects\2019\share gives /server/share, \\server alone /server.
    /// A share that would give the root itself, an empty folder name, or a "." or ".." folder
    /// (\\server\.., \\..\share) gives an empty text: mounting there would cover the root or a system
    /// folder.
    _kxString8_allSize<100> calcAutoMountPointUNC(_kxString8_allSize<100> share);
    /// The automatic mount point of an NFS export: server:/export/data/share gives /server/share; the
    /// same guard as for shares.
    _kxString8_allSize<100> calcAutoMountPointNFS(_kxString8_allSize<100> nfsExport);
};

static_assert(offsetof(_kxgUNC_map::Entry, reserved_104) == 104);
static_assert(offsetof(_kxgUNC_map::Entry, reserved_208) == 208);
static_assert(offsetof(_kxgUNC_map::Entry, reserved_209) == 209);
static_assert(offsetof(_kxgUNC_map::Entry, reserved_214) == 214);
static_assert(offsetof(_kxgUNC_map::Entry, reserved_268) == 268);
static_assert(offsetof(_kxgUNC_map::Entry, reserved_269) == 269);
static_assert(offsetof(_kxgUNC_map::Entry, reserved_272) == 272);
static_assert(sizeof(_kxgUNC_map::Entry) == 326);
static_assert(offsetof(_kxgUNC_map, reserved_6194) == 6194);
static_assert(offsetof(_kxgUNC_map, reserved_6298) == 6298);
static_assert(offsetof(_kxgUNC_map, reserved_6402) == 6402);
static_assert(sizeof(_kxgUNC_map) == 6404 && alignof(_kxgUNC_map) == 2);
static_assert(std::is_trivially_copyable_v<_kxgUNC_map>);
