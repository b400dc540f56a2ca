// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "clients/clientlist.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace kxC;

namespace {

// The list only keeps the farm object's address; it never reads it.
__KX& someFarm() {
    alignas(8) static char farm[8];
    return *reinterpret_cast<__KX*>(farm);
}

// One list of about 170 MB per test, on the heap, plus a configuration to add clients with.
class ClientListTest : public ::testing::Test {
protected:
    void SetUp() override {
        list = std::make_unique<_ClientList>(someFarm());
        config = std::make_unique<_Client>();
        config->clear();
    }

    int add(const char* name, int listNo = -1, qint8 cloudIndex = -1, bool newListNo = false) {
        config->listNo = listNo;
        return list->addClient(_kxString8_allSize<50>(name), cloudIndex, *config, newListNo);
    }

    QStringList namesByListNo() const {
        QStringList names;
        for (int i = 0; i < list->usedCount(); ++i)
            names << list->byListNo.pointers[i]->status.name.toQString();
        return names;
    }

    QStringList namesInView() const {
        QStringList names;
        for (int i = 0; i < list->visibleCount; ++i)
            names << list->sorted.pointers[i]->status.name.toQString();
        return names;
    }

    std::unique_ptr<_ClientList> list;
    std::unique_ptr<_Client> config;
};

template <typename T>
T readAt(const void* base, size_t offset) {
    T value;
    std::memcpy(&value, static_cast<const char*>(base) + offset, sizeof(T));
    return value;
}

} // namespace

TEST_F(ClientListTest, ContractOffsetsThroughRawBytes) {
    add("alpha", 2);
    add("beta", 0);
    add("gamma", 1);
    add("cloud-a", 3, 0);
    list->sort_ID_Load(false);
    list->byListNo.pointers[1]->userMessage.add(_kxString<2500>("job done"));

    // Read the way the plug-in reads the server's list: fixed offsets from the block's start.
    const char* raw = reinterpret_cast<const char*>(list.get());
    const qint16 clientCount = readAt<qint16>(raw, 1238);
    EXPECT_EQ(clientCount, 3);
    const char* names[] = {"beta", "gamma", "alpha", "cloud-a"};
    for (int i = 0; i < 4; ++i) {
        const char* record = readAt<const char*>(raw, 169108016 + 8 * size_t(i));
        ASSERT_NE(record, nullptr);
        const quint16 nameLength = readAt<quint16>(record, 107738);
        EXPECT_EQ(QByteArray(record + 107738 + 2, nameLength), QByteArray(names[i])) << i;
        EXPECT_EQ(record[107738 + 2 + nameLength], 0);
    }
    const char* second = readAt<const char*>(raw, 169108016 + 8);
    const quint16 messageLength = readAt<quint16>(second, 69848);
    ASSERT_EQ(messageLength, 8);
    EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(second + 69848 + 4), messageLength),
              QStringLiteral("job done"));
    // The same through the types.
    EXPECT_EQ(list->clientCount, 3);
    EXPECT_EQ(list->byListNo.pointers[1]->userMessage.text.toQString(), QStringLiteral("job done"));
}

TEST_F(ClientListTest, ConstructedEmpty) {
    EXPECT_EQ(list->count, 0);
    EXPECT_EQ(list->clientCount, 0);
    EXPECT_EQ(list->cloudCount, 0);
    EXPECT_EQ(list->maxListNo, -1);
    EXPECT_EQ(list->sortID, 1);
    EXPECT_EQ(list->sortOrder, Qt::AscendingOrder);
    EXPECT_TRUE(list->showWindows && list->showMac && list->showLinux && list->show64bit && list->show32bit);
    EXPECT_EQ(list->minMemory, 0);
    EXPECT_EQ(list->value_169108010, 4);
    EXPECT_TRUE(list->text.isEmpty());
    EXPECT_EQ(list->countClientThreads(), 0);

    // Free client slots, free cloud connector slots, then the presets.
    EXPECT_EQ(list->byListNo.pointers[0], &list->clients[0]);
    EXPECT_EQ(list->byListNo.entryNumbers[1499], 1499);
    EXPECT_EQ(list->byListNo.entryNumbers[1500], 10000);
    EXPECT_EQ(static_cast<void*>(list->byListNo.pointers[1529]), static_cast<void*>(&list->clouds[29]));
    EXPECT_EQ(list->byListNo.entryNumbers[1529], 10029);
    for (int p = 0; p < 5; ++p) {
        EXPECT_EQ(list->byListNo.pointers[1530 + p], &list->presets[p]);
        EXPECT_EQ(list->byListNo.entryNumbers[1530 + p], 0);
    }
    EXPECT_EQ(list->clients[1499].status.name.toQString(), QStringLiteral("kxNemo"));
    EXPECT_EQ(list->clouds[0].status.cloudConnectorIndex, -1);
}

TEST_F(ClientListTest, FillPutsUsedSlotsFirst) {
    add("c0");
    add("c1");
    add("cloud0", -1, 5);
    list->fillArray_mc_load();
    const qint16 expected[] = {0, 1, 10000, 2, 3};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(list->byListNo.entryNumbers[i], expected[i]) << i;
    EXPECT_EQ(static_cast<void*>(list->byListNo.pointers[2]), static_cast<void*>(&list->clouds[0]));
    EXPECT_EQ(list->byListNo.entryNumbers[1501], 10001);

    list->clear();
    EXPECT_EQ(list->count, 0);
    EXPECT_EQ(list->clientCount, 0);
    EXPECT_EQ(list->byListNo.entryNumbers[0], 0);
    EXPECT_EQ(list->byListNo.entryNumbers[1500], 10000);
}

TEST_F(ClientListTest, AddFillsSlotFromConfiguration) {
    config->hardware.memory = 32768;
    config->config.configPreset = 3;
    config->userMessage.add(_kxString<2500>("not copied"));
    list->clients[0].userMessage.add(_kxString<2500>("left from before"));
    EXPECT_EQ(add("node07", 12), 0);
    const _Client& slot = list->clients[0];
    EXPECT_EQ(slot.status.name.toQString(), QStringLiteral("node07"));
    EXPECT_EQ(slot.status.cloudConnectorIndex, -1);
    EXPECT_EQ(slot.listNo, 12);
    EXPECT_EQ(slot.hardware.memory, 32768);
    EXPECT_EQ(slot.config.configPreset, 3);
    EXPECT_EQ(slot.addedToList, 1);
    EXPECT_TRUE(slot.userMessage.text.isEmpty());
    EXPECT_EQ(list->count, 1);
    EXPECT_EQ(list->changeCount, 1);

    EXPECT_EQ(add("vmgroup", 4, 2), 1);
    EXPECT_EQ(list->cloudCount, 1);
    EXPECT_EQ(list->clouds[0].status.cloudConnectorIndex, 2);
    EXPECT_EQ(list->clouds[0].status.name.toQString(), QStringLiteral("vmgroup"));
    EXPECT_EQ(list->clientCount, 1);
    EXPECT_EQ(list->count, 2);
}

TEST_F(ClientListTest, LimitsOfClientsAndConnectors) {
    for (int i = 0; i < 1500; ++i)
        ASSERT_EQ(add(QByteArray("n").append(QByteArray::number(i)).constData()), i);
    EXPECT_EQ(list->clientCount, 1500);
    // The 1501st ordinary client is refused although the list has room for connectors.
    EXPECT_EQ(add("one-too-many"), -1);
    EXPECT_EQ(list->clientCount, 1500);
    EXPECT_EQ(list->count, 1500);
    EXPECT_EQ(list->changeCount, 1500);

    for (int j = 0; j < 30; ++j)
        ASSERT_EQ(add("cc", -1, qint8(j)), 1500 + j);
    EXPECT_EQ(add("cc-too-many", -1, 0), -1);
    EXPECT_EQ(list->cloudCount, 30);
    EXPECT_EQ(list->count, 1530);
    EXPECT_EQ(list->clouds[29].status.cloudConnectorIndex, 29);

    list->sort_ID_Load(false);
    const qint16 found = list->findClient(_kxString8_allSize<50>("n1499"), -1);
    ASSERT_GE(found, 0);
    EXPECT_EQ(list->byListNo.pointers[found]->status.name.toQString(), QStringLiteral("n1499"));
    // Ties in list number go by name, so "cc" entries come before "n..." ones.
    EXPECT_EQ(list->byListNo.entryNumbers[0], 10000);
}

TEST_F(ClientListTest, FullListRefusesEvenWithFreeSlots) {
    // A count taken from an imported block can say full while slots are free.
    list->count = 1530;
    EXPECT_EQ(add("x"), -1);
    EXPECT_EQ(list->clientCount, 0);
    EXPECT_EQ(list->count, 1530);
}

TEST_F(ClientListTest, NewListNumbers) {
    // An empty list hands out 0, then one above the highest in use.
    EXPECT_EQ(add("a", -1, -1, true), 0);
    EXPECT_EQ(add("b", -1, -1, true), 1);
    EXPECT_EQ(list->maxListNo, 1);
    EXPECT_EQ(list->clients[1].listNo, 1);

    list->clients[1].listNo = 40;
    list->sort_ID_Load(false);
    EXPECT_EQ(list->maxListNo, 40);
    EXPECT_EQ(add("c", -1, -1, true), 41);
    EXPECT_EQ(list->clients[2].listNo, 41);
    // Without a new number the position comes back and the configuration's number stays.
    EXPECT_EQ(add("d", 7), 3);
    EXPECT_EQ(list->clients[3].listNo, 7);
    EXPECT_EQ(list->maxListNo, 41);
}

TEST_F(ClientListTest, SortByListNoThenNameThenPosition) {
    add("delta", 5);
    add("alpha", 2);
    add("charlie", 2);
    add("bravo", 2);
    add("cloud", 3, 0);
    add("ab", 9);
    add("abc", 9);
    list->sort_ID_Load(false);

    EXPECT_EQ(namesByListNo(), QStringList({"alpha", "bravo", "charlie", "cloud", "delta", "ab", "abc"}));
    // The slots themselves are in list-number order, whole records moved.
    EXPECT_EQ(list->clients[0].status.name.toQString(), QStringLiteral("alpha"));
    EXPECT_EQ(list->clients[3].status.name.toQString(), QStringLiteral("delta"));
    EXPECT_EQ(list->clients[3].listNo, 5);
    EXPECT_EQ(list->byListNo.entryNumbers[3], 10000);
    EXPECT_EQ(list->maxListNo, 9);

    list->sort_ID_Load(true);
    for (int i = 0; i < 1530; ++i)
        ASSERT_EQ(list->byListNo.pointers[i]->listNo, i);
    EXPECT_EQ(namesByListNo(), QStringList({"alpha", "bravo", "charlie", "cloud", "delta", "ab", "abc"}));
}

TEST_F(ClientListTest, SameKeyKeepsSlotOrder) {
    // Equal list numbers and names: the earlier slot stays first, in every slot of the sort.
    for (int i = 0; i < 40; ++i) {
        add("same", 1);
        list->clients[i].hardware.memory = 100 + i;
    }
    list->sort_ID_Load(false);
    for (int i = 0; i < 40; ++i) {
        ASSERT_EQ(list->clients[i].hardware.memory, 100 + i);
        ASSERT_EQ(list->byListNo.pointers[i], &list->clients[i]);
    }
}

TEST_F(ClientListTest, ReverseOrderIsSortedWithWholeRecords) {
    for (int i = 0; i < 300; ++i) {
        add(QByteArray("r").append(QByteArray::number(i)).constData(), 299 - i);
        list->clients[i].userMessage.add(_kxString<2500>(QString::number(i)));
    }
    list->sort_ID_Load(false);
    for (int i = 0; i < 300; ++i) {
        ASSERT_EQ(list->clients[i].listNo, i);
        ASSERT_EQ(list->clients[i].userMessage.text.toQString(), QString::number(299 - i));
        ASSERT_EQ(list->byListNo.pointers[i], &list->clients[i]);
    }
}

TEST_F(ClientListTest, MaxListNoOutsideRange) {
    add("a", 3);
    add("b", 5000);
    list->sort_ID_Load(false);
    EXPECT_EQ(list->maxListNo, 2); // the last one is out of range: the entry count
    list->removeClient(1, false);
    list->removeClient(0, false);
    EXPECT_EQ(list->maxListNo, -1);
}

TEST_F(ClientListTest, FindClientExactMatch) {
    add("render01", 0);
    add("Render02", 1);
    add("render02", 2);
    add("vm-pool", 3, 1);
    list->sort_ID_Load(false);

    struct Case {
        const char* name;
        qint16 expected;
    } cases[] = {
        {"render01", 0}, {"render02", 2},   {"Render02", 1}, {"RENDER01", -5},
        {"render0", -5}, {"render011", -5}, {"vm-pool", 3},  {"", -5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(list->findClient(_kxString8_allSize<50>(c.name), -5), c.expected) << c.name;
        EXPECT_EQ(list->findClient(QString::fromLatin1(c.name), -5), c.expected) << c.name;
    }
    // A text no record can hold finds nothing rather than its cut or substituted form.
    add("caf?", 4);
    add(QByteArray(50, 'x').constData(), 5);
    list->sort_ID_Load(false);
    EXPECT_EQ(list->findClient(QStringLiteral("caf\u20AC"), -5), -5);
    EXPECT_EQ(list->findClient(QString(51, QChar('x')), -5), -5);
    EXPECT_EQ(list->findClient(QString(50, QChar('x')), -5), 5);
    EXPECT_EQ(list->findClient(QStringLiteral("caf?"), -5), 4);
    // Only the entries in use are searched: the free slots hold "kxNemo".
    EXPECT_EQ(list->findClient(QStringLiteral("kxNemo"), -5), -5);
}

TEST_F(ClientListTest, FindClientWithCorruptStoredValues) {
    add("a", 0);
    list->sort_ID_Load(false);
    list->clients[0].status.name.length = 9000; // read as the capacity, 50
    EXPECT_EQ(list->findClient(QStringLiteral("a"), -1), -1);
    list->count = 32000;
    EXPECT_EQ(list->findClient(QStringLiteral("kxNemo"), -1), 1); // searched within the 1530 entries
    list->count = -3;
    EXPECT_EQ(list->findClient(QStringLiteral("kxNemo"), -1), -1);
}

TEST_F(ClientListTest, RemoveKeepsOrder) {
    for (const char* name : {"a", "b", "c", "d"})
        add(name, -1, -1, true);
    add("cloud1", -1, 0, true);
    add("cloud2", -1, 1, true);
    list->sort_ID_Load(false);
    ASSERT_EQ(namesByListNo(), QStringList({"a", "b", "c", "d", "cloud1", "cloud2"}));

    list->removeClient(1, false);
    EXPECT_EQ(namesByListNo(), QStringList({"a", "c", "d", "cloud1", "cloud2"}));
    EXPECT_EQ(list->clientCount, 3);
    EXPECT_EQ(list->count, 5);
    EXPECT_EQ(list->changeCount, 5);
    EXPECT_EQ(list->clients[1].status.name.toQString(), QStringLiteral("c"));
    EXPECT_EQ(list->clients[3].status.name.toQString(),
              QStringLiteral("kxNemo")); // the freed slot is cleared
    EXPECT_EQ(list->clients[3].listNo, -1);

    list->removeClient(3, true);
    EXPECT_EQ(namesByListNo(), QStringList({"a", "c", "d", "cloud2"}));
    EXPECT_EQ(list->cloudCount, 1);
    EXPECT_EQ(list->clouds[0].status.name.toQString(), QStringLiteral("cloud2"));
    EXPECT_EQ(list->clouds[0].status.cloudConnectorIndex, 1);
    EXPECT_EQ(list->clouds[1].status.cloudConnectorIndex, -1);
    // With resort the view follows.
    EXPECT_EQ(list->visibleCount, 4);
    EXPECT_EQ(namesInView(), QStringList({"a", "c", "d", "cloud2"}));
}

TEST_F(ClientListTest, RemoveOutsideUsedRangeChangesNothing) {
    add("a", 0);
    add("b", 1);
    list->sort_ID_Load(false);
    for (int position : {-1, 2, 1529, 1534, 99999}) {
        list->removeClient(position, true);
        EXPECT_EQ(list->count, 2) << position;
        EXPECT_EQ(list->clientCount, 2) << position;
        EXPECT_EQ(list->changeCount, 2) << position;
    }
    // A position whose pointer names no used slot (entries added, arrays not rebuilt) is left alone.
    add("c", 2);
    list->clear();
    list->count = 1;
    list->clientCount = 0;
    list->removeClient(0, false);
    EXPECT_EQ(list->count, 1);
}

TEST_F(ClientListTest, CountClientThreads) {
    add("a");
    add("b");
    add("pool", -1, 0);
    list->clients[0].status.threadCount = 4;
    list->clients[1].status.threadCount = 2;
    list->clouds[0].status.threadCount = 250;
    list->clients[2].status.threadCount = 8; // a free slot does not count
    EXPECT_EQ(list->countClientThreads(), 256);
}

TEST_F(ClientListTest, ViewOrderByListNumberAndKeys) {
    const char* names[] = {"e", "d", "c", "b", "a"};
    const quint8 cpu[] = {50, 10, 50, 90, 10};
    for (int i = 0; i < 5; ++i) {
        add(names[i], i);
        list->clients[i].status.cpuUsage = cpu[i];
    }
    list->sort_ID_Load(false);

    list->sortOrder = Qt::DescendingOrder;
    list->sort(nullptr);
    const qint16 reversed[] = {4, 3, 2, 1, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(list->order[i], reversed[i]);
    EXPECT_EQ(namesInView(), QStringList({"a", "b", "c", "d", "e"}));

    // Equal keys keep list-number order ascending and the reverse descending.
    EXPECT_TRUE(list->setSortID(4, Qt::AscendingOrder, nullptr));
    EXPECT_EQ(namesInView(), QStringList({"d", "a", "e", "c", "b"}));
    EXPECT_TRUE(list->setSortID(4, Qt::DescendingOrder, nullptr));
    EXPECT_EQ(namesInView(), QStringList({"b", "c", "e", "a", "d"}));
    EXPECT_FALSE(list->setSortID(4, Qt::DescendingOrder, nullptr));

    EXPECT_TRUE(list->setSortID(0, Qt::AscendingOrder, nullptr));
    EXPECT_EQ(namesInView(), QStringList({"a", "b", "c", "d", "e"}));

    EXPECT_TRUE(list->setSortID(3, Qt::AscendingOrder, nullptr));
    EXPECT_EQ(list->sortID, 1);
    EXPECT_EQ(namesInView(), QStringList({"e", "d", "c", "b", "a"}));
    EXPECT_TRUE(list->setSortID(77, Qt::DescendingOrder, nullptr));
    EXPECT_EQ(list->sortID, 1);
}

TEST_F(ClientListTest, ViewKeysCompareStoredBytes) {
    add("abc", 0);
    add("ab", 1);
    add("x", 2);
    list->sort_ID_Load(false);
    list->setSortID(0, Qt::AscendingOrder, nullptr);
    EXPECT_EQ(namesInView(), QStringList({"ab", "abc", "x"}));

    // Users compare by their stored UTF-16 bytes, low byte first: U+0100 (00 01) before 'a' (61 00).
    list->clients[0].status.user.set(QStringLiteral("a"));
    list->clients[1].status.user.set(QStringLiteral("\u0100"));
    list->clients[2].status.user.set(QStringLiteral("a"));
    list->clients[0].status.threads[0].clientStatus = 3;
    list->clients[2].status.threads[0].clientStatus = 1;
    list->setSortID(7, Qt::AscendingOrder, nullptr);
    EXPECT_EQ(namesInView(), QStringList({"ab", "x", "abc"}));
}

TEST_F(ClientListTest, FilterHidesFromViewOnly) {
    const quint8 os[] = {1, 2, 3, 2};
    for (int i = 0; i < 4; ++i) {
        add(QByteArray("m").append(QByteArray::number(i)).constData(), i);
        list->clients[i].hardware.osType = os[i];
        list->clients[i].hardware.is64bit = 1;
        list->clients[i].hardware.memory = 1000 * (i + 1);
    }
    list->sort_ID_Load(false);
    list->setFilter(true, true, false, true, true, 0, 0, nullptr, nullptr, 0);
    EXPECT_EQ(namesInView(), QStringList({"m0", "m2"}));
    EXPECT_EQ(list->count, 4);

    list->setFilter(true, true, true, true, true, 2500, 0, nullptr, nullptr, 0);
    EXPECT_EQ(namesInView(), QStringList({"m2", "m3"}));

    list->clients[3].hardware.is64bit = 0;
    list->setFilter(true, true, true, true, false, 0, 0, nullptr, nullptr, 0);
    EXPECT_EQ(namesInView(), QStringList({"m0", "m1", "m2"}));

    // The application filter removes what passed the other tests when all its flags are set.
    const qint16 ids[] = {1, 2};
    const bool allSet[] = {true, true};
    const bool oneClear[] = {true, false};
    list->setFilter(true, true, true, true, true, 0, 2, ids, allSet, 0);
    EXPECT_EQ(list->visibleCount, 0);
    list->setFilter(true, true, true, true, true, 0, 2, ids, oneClear, 0);
    EXPECT_EQ(list->visibleCount, 4);
    // A count above the capacity is cut to it.
    bool many[500] = {};
    qint16 manyIDs[500] = {};
    list->setFilter(true, true, true, true, true, 0, 500, manyIDs, many, 0);
    EXPECT_EQ(list->appFilterCount, 400);
}

TEST(ClientPointerArray, SwapMovesPointerAndEntryTogether) {
    auto array = std::make_unique<_ClientConstPointerArray_subclass>();
    auto records = std::make_unique<_Client[]>(2);
    array->pointers[3] = &records[0];
    array->entryNumbers[3] = 7;
    array->pointers[9] = &records[1];
    array->entryNumbers[9] = 10002;
    array->swap(3, 9);
    EXPECT_EQ(array->pointers[3], &records[1]);
    EXPECT_EQ(array->entryNumbers[3], 10002);
    EXPECT_EQ(array->pointers[9], &records[0]);
    EXPECT_EQ(array->entryNumbers[9], 7);
    array->swap(9, 9);
    EXPECT_EQ(array->pointers[9], &records[0]);
    EXPECT_EQ(array->entryNumbers[9], 7);
}

TEST_F(ClientListTest, ConnectorLimitHoldsOnItsOwn) {
    for (int j = 0; j < 30; ++j)
        ASSERT_EQ(add("cc", -1, qint8(j)), j);
    // The 31st connector is refused while the list has room for 1500 more entries.
    const _Client before = list->clients[0];
    EXPECT_EQ(add("cc-too-many", -1, 3), -1);
    EXPECT_EQ(list->cloudCount, 30);
    EXPECT_EQ(list->count, 30);
    EXPECT_EQ(list->changeCount, 30);
    EXPECT_EQ(std::memcmp(&before, &list->clients[0], sizeof(_Client)), 0);
    // Ordinary clients still find room.
    EXPECT_EQ(add("node"), 30);
    EXPECT_EQ(list->clientCount, 1);
}

TEST_F(ClientListTest, NewListNumberIsThePositionWhenAboveTheHighest) {
    add("a", 0);
    add("b", 0);
    list->sort_ID_Load(false);
    ASSERT_EQ(list->maxListNo, 0);
    // Position 2 lies above the highest list number 0.
    EXPECT_EQ(add("c", -1, -1, true), 2);
    EXPECT_EQ(list->maxListNo, 2);
    EXPECT_EQ(list->clients[2].listNo, 2);
}

TEST_F(ClientListTest, HighestListNumberTakenOnlyInsideTheEntries) {
    add("a", 0);
    add("b", 0);
    struct Case {
        qint32 lastListNo;
        qint16 expected;
    } cases[] = {{1529, 1529}, {1530, 2}, {1, 1}, {-1, 2}, {-70000, 2}};
    for (const Case& c : cases) {
        // Both entries carry the same number, so the last one carries it whatever the order.
        list->clients[0].listNo = c.lastListNo;
        list->clients[1].listNo = c.lastListNo;
        list->sort_ID_Load(false);
        EXPECT_EQ(list->maxListNo, c.expected) << c.lastListNo;
    }
}
