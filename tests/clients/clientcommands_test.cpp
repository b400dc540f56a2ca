// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "clients/clientcommands.h"
#include "clients/clientrecords.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using kxC::_Client_WithoutStatus;
using kxC::_ClientUserMessage;

namespace {

// A client record is about 100 KB: keep it off the stack.
std::unique_ptr<_Client_WithoutStatus> newClient() {
    auto client = std::make_unique<_Client_WithoutStatus>();
    client->clear_wos();
    client->clearCommands();
    return client;
}

_KXCommands commandFor(quint8 command, int target, const char* text = "", quint64 value = 0) {
    _KXCommands cmd;
    cmd.commandKind = 1;
    cmd.command = command;
    cmd.paramText.set(text);
    cmd.paramValue = value;
    if (target >= 0)
        cmd.targets[target] = 1;
    return cmd;
}

bool sameBytes(const _KXCommands& a, const _KXCommands& b) {
    return std::memcmp(&a, &b, sizeof(_KXCommands)) == 0;
}

QString repeated(QChar c, int n) {
    return QString(n, c);
}

} // namespace

TEST(KxCommands, EmptyRecordAndClearedSlot) {
    _KXCommands empty;
    _KXCommands expected;
    std::memset(static_cast<void*>(&expected), 0, sizeof(expected));
    expected.structID = 2820;
    expected.paramA = -7;
    expected.paramB = -7;
    EXPECT_TRUE(sameBytes(empty, expected));

    empty.setCleared();
    expected.paramA = 0;
    expected.paramB = 0;
    EXPECT_TRUE(sameBytes(empty, expected));
}

TEST(KxCommands, FullQueueDropsOrReplacesLast) {
    auto client = newClient();
    for (int i = 0; i < 15; ++i)
        client->addCommand(commandFor(quint8(40 + i), 0), false);
    ASSERT_EQ(client->commandCount, 15);

    _KXCommands before[15];
    std::memcpy(static_cast<void*>(before), client->commands, sizeof(before));
    client->addCommand(commandFor(99, 1), false);
    EXPECT_EQ(client->commandCount, 15);
    EXPECT_EQ(std::memcmp(before, client->commands, sizeof(before)), 0);

    client->addCommand(commandFor(99, 1), true);
    EXPECT_EQ(client->commandCount, 15);
    EXPECT_EQ(client->commands[14].command, 99);
    EXPECT_EQ(client->commands[14].targets[1], 1);
    EXPECT_EQ(client->commands[13].command, 53);
}

TEST(KxCommands, DuplicateMergesTargetsOnly) {
    auto client = newClient();
    _KXCommands first = commandFor(7, 3, "render", 11);
    first.paramA = 1;
    client->addCommand(first, false);
    _KXCommands second = commandFor(7, 5, "render", 11);
    second.paramA = 2; // the small parameters do not make another command
    second.paramInt = 9;
    client->addCommand(second, false);

    ASSERT_EQ(client->commandCount, 1);
    const _KXCommands& queued = client->commands[0];
    EXPECT_EQ(queued.targets[3], 1);
    EXPECT_EQ(queued.targets[5], 1);
    EXPECT_EQ(queued.paramA, 1);
    EXPECT_EQ(queued.paramInt, 0);

    // Text, value, number or kind differing make a second command.
    client->addCommand(commandFor(7, 6, "Render", 11), false);
    client->addCommand(commandFor(7, 6, "render", 12), false);
    client->addCommand(commandFor(8, 6, "render", 11), false);
    _KXCommands older = commandFor(7, 6, "render", 11);
    older.commandKind = 2;
    client->addCommand(older, false);
    EXPECT_EQ(client->commandCount, 5);
}

TEST(KxCommands, OlderNumberingIsRenumbered) {
    struct Case {
        quint8 kind, command, expectedKind, expectedCommand;
    } cases[] = {
        {2, 14, 1, 31}, {2, 23, 1, 20}, {2, 1, 1, 23}, {2, 5, 2, 5}, {0, 14, 1, 14}, {1, 14, 1, 14},
    };
    for (const Case& c : cases) {
        auto client = newClient();
        _KXCommands cmd = commandFor(c.command, 0);
        cmd.commandKind = c.kind;
        client->addCommand(cmd, false);
        ASSERT_EQ(client->commandCount, 1);
        EXPECT_EQ(client->commands[0].commandKind, c.expectedKind) << int(c.kind) << "/" << int(c.command);
        EXPECT_EQ(client->commands[0].command, c.expectedCommand) << int(c.kind) << "/" << int(c.command);
    }

    // Renumbered, the older command meets the current one it stands for.
    auto client = newClient();
    client->addCommand(commandFor(31, 2, "x", 4), false);
    _KXCommands older = commandFor(14, 8, "x", 4);
    older.commandKind = 2;
    client->addCommand(older, false);
    ASSERT_EQ(client->commandCount, 1);
    EXPECT_EQ(client->commands[0].targets[2], 1);
    EXPECT_EQ(client->commands[0].targets[8], 1);
}

TEST(KxCommands, TakenOutOldestFirst) {
    auto client = newClient();
    _KXCommands cleared;
    cleared.setCleared();
    EXPECT_FALSE(client->hasCommand());
    EXPECT_TRUE(sameBytes(client->getNextCommand(), cleared));

    for (quint8 c : {21, 22, 23})
        client->addCommand(commandFor(c, 1), false);
    EXPECT_TRUE(client->hasCommand());
    for (quint8 c : {21, 22, 23}) {
        const _KXCommands next = client->getNextCommand();
        EXPECT_EQ(next.command, c);
        EXPECT_EQ(next.targets[1], 1);
    }
    EXPECT_EQ(client->commandCount, 0);
    // After the last one left, slot 0 holds an empty record.
    EXPECT_TRUE(sameBytes(client->getNextCommand(), _KXCommands()));
}

TEST(KxCommands, DeleteMovesLaterSlotsDown) {
    auto client = newClient();
    for (quint8 c : {1, 2, 3})
        client->addCommand(commandFor(quint8(c + 60), c), false);
    client->deleteCommand(1);
    ASSERT_EQ(client->commandCount, 2);
    EXPECT_EQ(client->commands[0].command, 61);
    EXPECT_EQ(client->commands[1].command, 63);
    EXPECT_EQ(client->commands[1].targets[3], 1);
    EXPECT_TRUE(sameBytes(client->commands[2], _KXCommands()));

    // Indices outside the queue change nothing.
    _KXCommands before[15];
    std::memcpy(static_cast<void*>(before), client->commands, sizeof(before));
    for (int index : {-1, 2, 14, 15, 1000}) {
        client->deleteCommand(index);
        EXPECT_EQ(client->commandCount, 2) << index;
    }
    EXPECT_EQ(std::memcmp(before, client->commands, sizeof(before)), 0);
}

TEST(KxCommands, StoredCountOutsideRangeStaysInsideTheQueue) {
    auto client = newClient();
    client->commandCount = 3000; // as a corrupt record could carry it
    EXPECT_TRUE(client->hasCommand());
    client->deleteCommand(2999);
    EXPECT_EQ(client->commandCount, 3000);
    client->addCommand(commandFor(5, 0), false);
    EXPECT_EQ(client->commandCount, 15); // treated as a full queue
    client->addCommand(commandFor(5, 0), true);
    EXPECT_EQ(client->commandCount, 15);
    EXPECT_EQ(client->commands[14].command, 5);

    client->commandCount = -4;
    EXPECT_FALSE(client->hasCommand());
    client->deleteCommand(0);
    client->addCommand(commandFor(6, 0), false);
    EXPECT_EQ(client->commandCount, 1);
    EXPECT_EQ(client->commands[0].command, 6);
}

TEST(KxCommands, SecondTextWordStaysWithTheSlot) {
    auto client = newClient();
    _KXCommands cmd = commandFor(9, 0, "abc");
    cmd.paramText.secondWord = 0x1234;
    client->addCommand(cmd, false);
    EXPECT_EQ(client->commands[0].paramText.secondWord, 0);
    EXPECT_EQ(client->commands[0].paramText.toQString(), QStringLiteral("abc"));
    client->commands[0].paramText.secondWord = 0x55;
    EXPECT_EQ(client->getNextCommand().paramText.secondWord, 0);
}

TEST(KxCommands, BuiltFromParts) {
    auto client = newClient();
    client->addCommand(0x1FF, 12, -3, 0x105, 200, -9);
    ASSERT_EQ(client->commandCount, 1);
    const _KXCommands& cmd = client->commands[0];
    EXPECT_EQ(cmd.structID, 2820);
    EXPECT_EQ(cmd.commandKind, 1);
    EXPECT_EQ(cmd.command, 0xFF);
    EXPECT_EQ(cmd.paramA, 12);
    EXPECT_EQ(cmd.paramB, -3);
    EXPECT_EQ(quint64(cmd.paramValue), 200u);
    EXPECT_EQ(cmd.paramInt, -9);
    EXPECT_EQ(cmd.paramText.len(), 0);
    int set = 0;
    for (quint8 t : cmd.targets)
        set += t;
    EXPECT_EQ(set, 1);
    EXPECT_EQ(cmd.targets[5], 1); // the low byte of the target

    // A low byte that reads negative (200 is -56) names every target.
    client->addCommand(30, 0, 0, 200, 0, 0);
    ASSERT_EQ(client->commandCount, 2);
    for (quint8 t : client->commands[1].targets)
        ASSERT_EQ(t, 1);
}

TEST(KxCommands, BuiltFromServerCommand) {
    auto client = newClient();
    client->addCommandServer(kxC::_ClientCommand{0x1234}, 127, 0xFFFFFFFFFFull);
    ASSERT_EQ(client->commandCount, 1);
    const _KXCommands& cmd = client->commands[0];
    EXPECT_EQ(cmd.command, 0x34);
    EXPECT_EQ(cmd.commandKind, 1);
    EXPECT_EQ(cmd.paramA, -7);
    EXPECT_EQ(cmd.paramB, -7);
    EXPECT_EQ(quint64(cmd.paramValue), 0xFFFFFFFFFFull);
    EXPECT_EQ(cmd.targets[127], 1);

    // A negative target index is no index: the command is queued for no target, nothing else written.
    client->addCommandServer(kxC::_ClientCommand{0x35}, -1, 1);
    ASSERT_EQ(client->commandCount, 2);
    for (quint8 t : client->commands[1].targets)
        ASSERT_EQ(t, 0);
}

TEST(KxUserMessage, LongLineWrapsAt250Then251) {
    _ClientUserMessage box;
    box.add(_kxString<2500>(repeated(QChar('x'), 600)));
    const QString stored = box.text.toQString();
    ASSERT_EQ(stored.size(), 602);
    EXPECT_EQ(stored.count(QChar('\n')), 2);
    EXPECT_EQ(stored.at(250), QChar('\n'));
    EXPECT_EQ(stored.at(502), QChar('\n'));
    // The units behind the text are zero after an empty buffer took a message.
    for (int i = 602; i <= 2500; ++i)
        ASSERT_EQ(box.text.text[i], 0) << i;
}

TEST(KxUserMessage, WrapCases) {
    struct Case {
        QString in;
        QString out;
    } cases[] = {
        {repeated('a', 250), repeated('a', 250)},
        {repeated('a', 251), repeated('a', 250) + "\n" + "a"},
        {repeated('a', 10) + "\n" + repeated('b', 260),
         repeated('a', 10) + "\n" + repeated('b', 250) + "\n" + repeated('b', 10)},
        {repeated('a', 502), repeated('a', 250) + "\n" + repeated('a', 251) + "\n" + "a"},
        {repeated('a', 250) + "\n" + repeated('b', 250), repeated('a', 250) + "\n" + repeated('b', 250)},
        {"\n\n", "\n\n"},
        {"", ""},
    };
    for (const Case& c : cases) {
        _kxString<2500> s(c.in);
        _ClientUserMessage::wrapLines(s);
        EXPECT_EQ(s.toQString(), c.out) << c.in.size();
    }

    // A full text keeps its capacity while line feeds go in: the end is cut.
    _kxString<2500> full(repeated('z', 2500));
    _ClientUserMessage::wrapLines(full);
    EXPECT_EQ(full.len(), 2500);
    EXPECT_EQ(full.toQString().count(QChar('\n')), 9);
    EXPECT_EQ(full.text[2500], 0);
}

TEST(KxUserMessage, SeparatorBetweenMessages) {
    _ClientUserMessage box;
    box.add(_kxString<2500>("A"));
    box.add(_kxString<2500>("B"));
    EXPECT_EQ(box.text.toQString(), QStringLiteral("A\n\nB"));

    _ClientUserMessage other;
    other.add(_kxString<2500>("C"));
    box.add(other);
    EXPECT_EQ(box.text.toQString(), QStringLiteral("A\n\nB\n\nC"));
    box.add(box);
    EXPECT_EQ(box.text.toQString(), QStringLiteral("A\n\nB\n\nC\n\nA\n\nB\n\nC"));
    box.clear();
    EXPECT_TRUE(box.text.isEmpty());
}

TEST(KxUserMessage, FullBufferDropsOldestText) {
    _ClientUserMessage box;
    QString old;
    for (int i = 0; i < 2450; ++i)
        old += QChar('a' + i % 26);
    // Lines of 245 with line feeds between them: nothing to wrap.
    for (int i = 245; i < old.size(); i += 246)
        old[i] = QChar('\n');
    box.add(_kxString<2500>(old));
    ASSERT_EQ(box.text.len(), 2450);

    box.add(_kxString<2500>(repeated('M', 100)));
    const QString stored = box.text.toQString();
    ASSERT_EQ(stored.size(), 2499);
    EXPECT_EQ(stored.left(2397), old.mid(53));
    EXPECT_EQ(stored.mid(2397, 2), QStringLiteral("\n\n"));
    EXPECT_EQ(stored.mid(2399), repeated('M', 100));
    EXPECT_EQ(box.text.text[2499], 0);
}

TEST(KxUserMessage, MessageLargerThanTheBufferIsCut) {
    _ClientUserMessage box;
    box.add(_kxString<2500>("0123456789"));
    QString big;
    for (int line = 0; line < 20; ++line)
        big += repeated(QChar('A' + line), 199) + "\n";
    box.add(_kxString<2500>(big)); // 4000 units, cut to 2500 on the way in
    const QString stored = box.text.toQString();
    ASSERT_EQ(stored.size(), 2500);
    // 2510 > 2498: 13 go from the front, more than the buffer held, which leaves only the new text.
    EXPECT_TRUE(stored.startsWith(QStringLiteral("\n\n") + repeated('A', 199)));
    EXPECT_EQ(stored, (QStringLiteral("\n\n") + big).left(2500));
    EXPECT_EQ(box.text.text[2500], 0);
}

TEST(KxUserMessage, TrimmingCountsTheWrappedMessage) {
    // The buffer's old text, lines of 99 units: nothing in it needs wrapping.
    auto oldText = [](int n) {
        QString s;
        for (int i = 0; i < n; ++i)
            s += (i % 100 == 99) ? QChar('\n') : QChar('a' + i % 26);
        return s;
    };
    struct Case {
        int bufferLength;
        int messageLength; ///< one line without line feeds; above 250 it gains line feeds first
        int removed;       ///< units taken from the front of the buffer
    } cases[] = {
        {2398, 100, 0}, // 2498 in all: everything fits, the buffer ends full
        {2399, 100, 2}, // 2499: the oldest 2 go
        {2200, 300, 4}, // the message is 301 units once wrapped: 2501, so 4 go
        {2500, 0, 3},   // an empty message still brings its separator
    };
    for (const Case& c : cases) {
        _ClientUserMessage box;
        const QString old = oldText(c.bufferLength);
        box.text.set(old);
        _kxString<2500> message(repeated(QChar('M'), c.messageLength));
        _kxString<2500> wrapped = message;
        _ClientUserMessage::wrapLines(wrapped);

        box.add(message);
        const QString expected =
            (old.mid(c.removed) + QStringLiteral("\n\n") + wrapped.toQString()).left(2500);
        EXPECT_EQ(box.text.toQString(), expected) << c.bufferLength << " + " << c.messageLength;
        EXPECT_EQ(box.text.text[box.text.len()], 0);
    }
}

TEST(KxCommands, DuplicateFoundOnlyAmongQueuedSlots) {
    // A full queue still merges a duplicate: the test for a duplicate comes before the limit.
    auto client = newClient();
    for (int i = 0; i < 15; ++i)
        client->addCommand(commandFor(quint8(40 + i), 0, "t", 1), false);
    client->addCommand(commandFor(43, 9, "t", 1), false);
    EXPECT_EQ(client->commandCount, 15);
    EXPECT_EQ(client->commands[3].targets[9], 1);
    EXPECT_EQ(client->commands[14].command, 54);
    client->addCommand(commandFor(44, 9, "t", 1), true);
    EXPECT_EQ(client->commands[4].targets[9], 1);
    EXPECT_EQ(client->commands[14].command, 54);

    // A slot behind the count is no queued command, whatever it holds.
    client = newClient();
    client->addCommand(commandFor(1, 0), false);
    client->commands[5] = commandFor(2, 0);
    client->addCommand(commandFor(2, 4), false);
    ASSERT_EQ(client->commandCount, 2);
    EXPECT_EQ(client->commands[1].command, 2);
    EXPECT_EQ(client->commands[1].targets[4], 1);
    EXPECT_EQ(client->commands[5].targets[4], 0);
}
