// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "runtime/kxexport.h"

#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <type_traits>

namespace kxJ {

// Both forms are views of numbers that travel inside records, so their byte places are fixed: the
// main number of a job identifier sits at byte 3, on an odd address.
#pragma pack(push, 1)
/// A 64-bit job identifier seen as its 8 bytes in memory order (little-endian).
struct KX_EXPORT _IDDecomp {
    quint8 preID;    ///< member of a job family: 0 the main job, 1 to 255 the added jobs
    quint8 idByte1;  ///< first extra distinguishing byte, shown only in the full text
    quint8 idByte2;  ///< second extra distinguishing byte, shown only in the full text
    quint32 idValue; ///< the main number of the identifier
    quint8 reserved_7;

    /// The identifier's 8 bytes copied unchanged.
    static _IDDecomp fromID(quint64 id);
    quint64 toID() const;

    /// Short text in braces: "{KT9 }" for a main job, "{KT9a}" or "{KT9bb}" for family members.
    QString str() const;
    /// Full text without braces, with the remainder and the extra bytes: "KT9a_29AA".
    QString strFull() const;
};

/// The 32-bit short form of a job identifier: value = idTop * 2^24 + idMid * 2^8 + preID.
struct KX_EXPORT _IDShort {
    quint8 preID;
    quint16 idMid;
    quint8 idTop;

    static _IDShort fromIDDecomp(const _IDDecomp& d);
    static _IDShort fromID(quint64 id);
    static _IDShort fromInt32(quint32 v);
    quint32 int32() const;
    /// The short text of the identifier this short form stands for; equal to that identifier's str().
    QString str() const;
};
#pragma pack(pop)

static_assert(sizeof(_IDDecomp) == 8);
static_assert(offsetof(_IDDecomp, idValue) == 3);
static_assert(offsetof(_IDDecomp, reserved_7) == 7);
static_assert(sizeof(_IDShort) == 4);
static_assert(offsetof(_IDShort, idMid) == 1);
static_assert(offsetof(_IDShort, idTop) == 3);
static_assert(std::is_trivially_copyable_v<_IDDecomp> && std::is_trivially_copyable_v<_IDShort>);

/// `_IDDecomp::fromID(id).str()`.
KX_EXPORT QString ID2str(quint64 id);
/// `_IDDecomp::fromID(id).strFull()`.
KX_EXPORT QString ID2strFull(quint64 id);
/// The identifier of the family's main job: `id` with its preID byte set to 0.
KX_EXPORT quint64 IDmain(quint64 id);
/// The preID byte of `id`.
KX_EXPORT quint8 IDpre(quint64 id);

} // namespace kxJ
