// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "clients/clientcommands.h"

#include "clients/clientrecords.h"

#include <cstring>

void _KXCommands::setEmpty() {
    setCleared();
    paramA = paramNotGiven;
    paramB = paramNotGiven;
}

void _KXCommands::setCleared() {
    std::memset(static_cast<void*>(this), 0, sizeof(*this));
    structID = structMark;
}

void _KXCommands::copyFieldsFrom(const _KXCommands& other) {
    if (&other == this)
        return;
    structID = other.structID;
    commandKind = other.commandKind;
    command = other.command;
    paramA = other.paramA;
    paramB = other.paramB;
    paramValue = other.paramValue;
    paramInt = other.paramInt;
    paramInt2 = other.paramInt2;
    // The second header word of the text belongs to the slot, not to the command.
    paramText.length = quint16(other.paramText.len());
    std::memcpy(paramText.text, other.paramText.text, sizeof(paramText.text));
    paramText.text[paramText.len()] = 0;
    std::memcpy(targets, other.targets, sizeof(targets));
    flagA = other.flagA;
    flagB = other.flagB;
}

bool _KXCommands::isSameCommand(const _KXCommands& other) const {
    return command == other.command && commandKind == other.commandKind &&
           paramText.isEqual(other.paramText) && paramValue == other.paramValue;
}

namespace kxC {

void _ClientUserMessage::wrapLines(_kxString<capacity>& message) {
    const char16_t lineFeed = u'\n';
    int p = 0;
    while (p < message.len()) {
        const int next = message.indexOf(lineFeed, p);
        const int lineEnd = next < 0 ? message.len() : next;
        if (lineEnd - p > wrapWidth) {
            message.insert(p + wrapWidth, &lineFeed, 1);
            p += wrapWidth + 2;
        } else {
            p = lineEnd + 1;
        }
    }
}

void _ClientUserMessage::add(_kxString<capacity> message) {
    wrapLines(message);
    if (text.isEmpty()) {
        text.set(message);
        text.clearUnused();
        return;
    }
    // Room for the separator: the oldest text goes, even from inside an older message.
    const int total = text.len() + message.len();
    if (total > capacity - 2)
        text.remove(0, total - (capacity - 3));
    text.add(u'\n');
    text.add(u'\n');
    const int room = capacity - text.len();
    text.insert(text.len(), message.data(), message.len() < room ? message.len() : room);
}

void _ClientUserMessage::add(const _ClientUserMessage& other) {
    add(other.text);
}

// The command queue of a client record.

int _Client_WithoutStatus::usedCommandCount() const {
    return kxC::usedCount(commandCount, commandCapacity);
}

void _Client_WithoutStatus::addCommand(_KXCommands cmd, bool const& replaceLastIfFull) {
    // Commands of the older numbering scheme take their current numbers.
    if (cmd.commandKind == 2) {
        switch (cmd.command) {
        case 14:
            cmd.command = 31;
            cmd.commandKind = 1;
            break;
        case 23:
            cmd.command = 20;
            cmd.commandKind = 1;
            break;
        case 1:
            cmd.command = 23;
            cmd.commandKind = 1;
            break;
        default:
            break;
        }
    } else if (cmd.commandKind == 0) {
        cmd.commandKind = 1;
    }

    int queued = usedCommandCount();
    for (int i = 0; i < queued; ++i) {
        _KXCommands& slot = commands[i];
        if (!slot.isSameCommand(cmd))
            continue;
        for (int t = 0; t < _KXCommands::targetCount; ++t)
            if (cmd.targets[t] != 0)
                slot.targets[t] = cmd.targets[t];
        commandCount = queued;
        return;
    }
    if (queued >= commandCapacity) {
        if (!replaceLastIfFull) {
            commandCount = queued;
            return;
        }
        queued = commandCapacity - 1;
    }
    commands[queued].copyFieldsFrom(cmd);
    commandCount = queued + 1;
}

void _Client_WithoutStatus::addCommand(unsigned short command, short paramA, signed char paramB,
                                       long long target, unsigned char value, int paramInt) {
    _KXCommands cmd;
    cmd.setCleared();
    cmd.commandKind = 1;
    cmd.command = quint8(command & 0xFF);
    cmd.paramA = paramA;
    cmd.paramB = paramB;
    cmd.paramValue = value;
    cmd.paramInt = paramInt;
    const qint8 targetIndex = static_cast<qint8>(target & 0xFF);
    if (targetIndex < 0)
        std::memset(cmd.targets, 1, sizeof(cmd.targets));
    else
        cmd.targets[targetIndex] = 1;
    addCommand(cmd, false);
}

void _Client_WithoutStatus::addCommandServer(_ClientCommand const& serverCommand, signed char target,
                                             unsigned long long value) {
    _KXCommands cmd;
    cmd.commandKind = 1;
    cmd.command = quint8(serverCommand.command & 0xFF);
    cmd.paramValue = value;
    cmd.paramInt = 0;
    // A negative target names no target index; the command is queued for none.
    if (target >= 0)
        cmd.targets[int(target)] = 1;
    addCommand(cmd, false);
}

void _Client_WithoutStatus::clearCommands() {
    commandCount = 0;
    for (_KXCommands& slot : commands)
        slot.setCleared();
}

void _Client_WithoutStatus::deleteCommand(int const& index) {
    const int queued = usedCommandCount();
    if (index < 0 || index >= queued)
        return;
    for (int i = index + 1; i < queued; ++i)
        commands[i - 1].copyFieldsFrom(commands[i]);
    commandCount = queued - 1;
    commands[commandCount].setEmpty();
}

_KXCommands _Client_WithoutStatus::getNextCommand() {
    _KXCommands next;
    next.copyFieldsFrom(commands[0]);
    deleteCommand(0);
    return next;
}

} // namespace kxC
