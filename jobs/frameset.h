// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "runtime/kxexport.h"

#include "kxstring.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <type_traits>

namespace kxJ {

/// Which frames of a job belong to a group (the frames a client rendered, the frames still to do), as
/// one flag per frame relative to a start frame.
///
/// The set is copied whole between the server, its tools and the clients, in natural alignment, so
/// its layout is fixed (see the static_asserts below). A set that came from elsewhere may hold any
/// bytes: every operation reads `maxIndex` through lastIndex(), which keeps it within -1..7999, a flag
/// counts as set when its byte is not 0, and flags above `maxIndex` count as unset. An operation that
/// raises `maxIndex` clears the flags it newly covers (other than those it sets), so flags left behind
/// by an earlier, longer set never come back.
struct KX_EXPORT _binaryFrameSet {
    static constexpr quint16 structIDFrameSet = 2817;
    static constexpr quint16 structVersionFrameSet = 1;
    /// Flags 0 to 7999.
    static constexpr int flagCount = 8000;
    /// Characters of the Bool form in all, the hexadecimal start included.
    static constexpr int boolTextCapacity = 1000;

    quint16 structID;      ///< 2817
    quint16 structVersion; ///< 1
    quint32 reserved4;
    quint64 reserved8;
    quint8 flags[flagCount]; ///< flag i (0 or 1) stands for frame startFrame + i
    qint32 startFrame;       ///< frame (or image file number) of flag 0
    quint8 isFileNumber;     ///< 1 once startFrame has been turned into an image file number
    quint8 reserved_8021;    ///< padding before maxIndex; 0 in the sets made here
    qint16 maxIndex;         ///< highest index whose flag may be set; -1 for an empty set

    /// The empty set: stamps 2817 and 1, no flags, start 0, frames (not file numbers), `maxIndex` -1.
    _binaryFrameSet();

    /// `maxIndex` as the operations read it: a stored value above 7999 counts as 7999, below -1 as -1.
    int lastIndex() const {
        return maxIndex > flagCount - 1 ? flagCount - 1 : (maxIndex < -1 ? -1 : maxIndex);
    }
    /// True when `index` lies within 0..lastIndex() and its flag is set.
    bool isSet(int index) const { return index >= 0 && index <= lastIndex() && flags[index] != 0; }

    /// Makes this the empty set with the given `isFileNumber`.
    void clear(quint8 fileNumber = 0);

    /// When `isFileNumber` is 0, adds `offset` to `startFrame` (kept within 32 bits) and sets
    /// `isFileNumber`; otherwise nothing.
    void convertStartFrame2Filenumber(int const& offset);

    /// Equal when `maxIndex`, `startFrame` and `isFileNumber` are equal and so are flags 0 to `maxIndex`.
    bool operator==(const _binaryFrameSet& other) const;
    bool operator!=(const _binaryFrameSet& other) const { return !(*this == other); }

    /// The Bool form: the hexadecimal start ("3E9:"), then "1" or "0" for each index 0 to `maxIndex`,
    /// cut at 1000 characters. With an `offset` and `isFileNumber` 0, the start written is that of a
    /// copy on which convertStartFrame2Filenumber(offset) has run; the set stays unchanged.
    _kxString8_allSize<1000> asString_Bool(int const* offset = nullptr) const;
    /// Reads the Bool form: `isFileNumber` becomes 1 and `startFrame` the hexadecimal start; each "1"
    /// at position i of the rest sets flag i, raising `maxIndex`; flags set before stay set. A start
    /// that cannot be read (no digits, no ":", more than 32 digits or a value beyond 32 bits) leaves
    /// the empty set with `isFileNumber` 1.
    void fromString_Bool(_kxString8_allSize<1000> text);

    /// The BitA85 form: a `_KX_DataBuffer` holding `startFrame` (4 bytes, little-endian), `maxIndex` (2
    /// bytes, little-endian) and (`maxIndex` + 1) / 8 + 1 bytes of flags, flag i in bit i mod 8 of
    /// byte i / 8, compressed with type 3 and level 0. The `offset` works as in asString_Bool. Empty
    /// when compression fails.
    QByteArray asString_BitA85(int const* offset = nullptr) const;
    /// Reads the BitA85 form: `isFileNumber` becomes 1, `startFrame`, `maxIndex` and flags 0 to
    /// `maxIndex` those stored; the structure words stay. Data that does not decompress, a stored
    /// `maxIndex` outside -1..7999 or fewer flag bytes than it needs leave the empty set with
    /// `isFileNumber` 1.
    void fromString_BitA85(QByteArray const& data);

    /// The FrameSet form: the set indexes (not added to `startFrame`) as entries each followed by
    /// " , ": a lone index "7", a run of step 1 "0-9", or a run with a larger step "0-8+4". A run
    /// needs three indexes a, a + s, a + 2s with no other set index between; s is the gap to the
    /// next set index and below min((`maxIndex` - a) / 2 + 1, 250). Every set index is written once.
    QString asString_FrameSet() const;
    /// Reads a list of frames "1001-1010,1020,1-9+4" (parts a, a-b, a+s, a-b+s, trimmed of blanks;
    /// unreadable numbers count as 0, a step below 1 as 1) into the set, which is first made empty
    /// with `isFileNumber` 1. `startFrame` is the smallest start of the non-empty parts, and frames
    /// whose index falls outside 0..7999 are left out.
    void fromString_FrameSet(_kxString8_allSize<1000> text);

    /// Adds the frames of `other`. Nothing happens when the two differ in `isFileNumber`. When `other`
    /// starts earlier, this set is rebuilt to start at `other`'s start. Frames whose index would be
    /// beyond 7999 are dropped.
    void mergeWith(kxJ::_binaryFrameSet const& other);
};

static_assert(sizeof(_binaryFrameSet) == 8024);
static_assert(alignof(_binaryFrameSet) == 8);
static_assert(offsetof(_binaryFrameSet, structID) == 0);
static_assert(offsetof(_binaryFrameSet, structVersion) == 2);
static_assert(offsetof(_binaryFrameSet, reserved4) == 4);
static_assert(offsetof(_binaryFrameSet, reserved8) == 8);
static_assert(offsetof(_binaryFrameSet, flags) == 16);
static_assert(offsetof(_binaryFrameSet, startFrame) == 8016);
static_assert(offsetof(_binaryFrameSet, isFileNumber) == 8020);
static_assert(offsetof(_binaryFrameSet, reserved_8021) == 8021);
static_assert(offsetof(_binaryFrameSet, maxIndex) == 8022);
static_assert(std::is_trivially_copyable_v<_binaryFrameSet>);
static_assert(std::is_standard_layout_v<_binaryFrameSet>);

} // namespace kxJ
