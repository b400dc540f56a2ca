// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "runtime/kxexport.h"

#include "kxstring.h"

#include <cstddef>
#include <type_traits>

// Client records align 64-bit members on 4-byte boundaries, as the clients send them; the command record
// sits inside them, so it follows the same rule. Every byte is a named member: no hidden padding.
#pragma pack(push, 4)
/// One command for a render client, queued in the client's record and exchanged as a whole block.
struct KX_EXPORT _KXCommands {
    static constexpr quint16 structMark = 2820;
    static constexpr qint16 paramNotGiven = -7;
    static constexpr int targetCount = 1000;

    quint16 structID;   ///< always 2820
    quint8 commandKind; ///< numbering scheme of `command`: 1 current (0 counts as 1), 2 the older scheme
    quint8 command;
    qint16 paramA; ///< -7 when not given
    qint16 paramB; ///< -7 when not given
    quint64 paramValue;
    qint32 paramInt;
    quint32 paramInt2; ///< 0 from every operation of the data model
    _kxString<500> paramText;
    quint8 targets[targetCount]; ///< 1: the command applies to that target index
    quint8 flagA;                ///< carried along
    quint8 flagB;                ///< carried along

    /// An empty record: all zero except the mark and the two small parameters at -7.
    _KXCommands() { setEmpty(); }
    void setEmpty();
    /// A cleared queue slot: all zero except the mark.
    void setCleared();
    /// Copies every field of `other` except the second header word of `paramText`, the way queue
    /// slots are filled and moved.
    void copyFieldsFrom(const _KXCommands& other);
    /// Same command: kind, number, text and 64-bit parameter; the small parameters and flags do not count.
    bool isSameCommand(const _KXCommands& other) const;
};
#pragma pack(pop)
static_assert(sizeof(_KXCommands) == 2032);
static_assert(offsetof(_KXCommands, structID) == 0);
static_assert(offsetof(_KXCommands, commandKind) == 2);
static_assert(offsetof(_KXCommands, command) == 3);
static_assert(offsetof(_KXCommands, paramA) == 4);
static_assert(offsetof(_KXCommands, paramB) == 6);
static_assert(offsetof(_KXCommands, paramValue) == 8);
static_assert(offsetof(_KXCommands, paramInt) == 16);
static_assert(offsetof(_KXCommands, paramInt2) == 20);
static_assert(offsetof(_KXCommands, paramText) == 24);
static_assert(sizeof(_kxString<500>) == 1006);
static_assert(offsetof(_KXCommands, targets) == 1030);
static_assert(offsetof(_KXCommands, flagA) == 2030);
static_assert(offsetof(_KXCommands, flagB) == 2031);
static_assert(alignof(_KXCommands) == 4);
static_assert(std::is_trivially_copyable_v<_KXCommands>);

namespace kxC {

/// A count or length stored in a record, as far as it can be used: cut into 0..capacity, because a record
/// that came from elsewhere may hold any value there.
inline int usedCount(int stored, int capacity) {
    return stored < 0 ? 0 : (stored > capacity ? capacity : stored);
}

/// A command as the server issues it. Only its first 32-bit member is read; the rest of the server's
/// record is not this system's.
struct _ClientCommand {
    qint32 command; ///< its low byte is the command number
};

/// The client's pending user messages: one text that the server appends to and the client machine
/// shows. It holds at most 2500 units; when full, the oldest text gives way.
struct KX_EXPORT _ClientUserMessage {
    static constexpr int capacity = 2500;
    /// Lines longer than this are broken by an inserted line feed.
    static constexpr int wrapWidth = 250;

    _kxString<capacity> text;

    /// Appends one message: its long lines wrapped, a blank line ("\n\n") between it and what is already
    /// there, the oldest text dropped so the whole fits, and whatever still does not fit cut off the end.
    void add(_kxString<capacity> message);
    /// Appends the other buffer's whole text as one message.
    void add(const _ClientUserMessage& other);
    void clear() { text.clear(); }

    /// Breaks every run of more than 250 units without a line feed: a line feed goes after unit 250,
    /// and the scan goes on one unit behind it, so a long line becomes pieces of 250, then 251 units.
    static void wrapLines(_kxString<capacity>& message);
};
static_assert(sizeof(_ClientUserMessage) == 5006);
static_assert(std::is_trivially_copyable_v<_ClientUserMessage>);

} // namespace kxC
