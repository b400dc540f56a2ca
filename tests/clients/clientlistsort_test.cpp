// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "clients/clientlist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>

using namespace kxC;

namespace {

// The list only keeps the farm object's address; it never reads it.
__KX& someFarm() {
    alignas(8) static char farm[8];
    return *reinterpret_cast<__KX*>(farm);
}

// The list is a block of about 170 MB: one per process, emptied before each test.
class ClientViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        shared = std::make_unique<_ClientList>(someFarm());
        sharedConfig = std::make_unique<_Client>();
    }
    static void TearDownTestSuite() {
        shared.reset();
        sharedConfig.reset();
    }

    void SetUp() override {
        list = shared.get();
        config = sharedConfig.get();
        config->clear();
        list->clear();
        list->sortID = 1;
        list->sortOrder = Qt::AscendingOrder;
        list->setFilter(true, true, true, true, true, 0, 0, nullptr, nullptr, 0);
        for (_Client& preset : list->presets)
            preset.clear();
        list->sort_ID_Load(false);
    }

    int add(const QString& name, int listNo, qint8 cloudIndex = -1) {
        config->listNo = listNo;
        return list->addClient(_kxString8_allSize<50>(name), cloudIndex, *config, false);
    }

    // Clients "c0" to "c<n-1>" with list numbers 0 to n-1: byListNo position i is client i.
    void addClients(int n) {
        for (int i = 0; i < n; ++i)
            add(QStringLiteral("c%1").arg(i), i);
        list->sort_ID_Load(false);
    }

    QList<int> viewPositions() const {
        QList<int> positions;
        for (int i = 0; i < list->visibleCount; ++i)
            positions << list->order[i];
        return positions;
    }

    QStringList namesInView() const {
        QStringList names;
        for (int i = 0; i < list->visibleCount; ++i)
            names << list->sorted.pointers[i]->status.name.toQString();
        return names;
    }

    static std::unique_ptr<_ClientList> shared;
    static std::unique_ptr<_Client> sharedConfig;
    _ClientList* list = nullptr;
    _Client* config = nullptr;
};

std::unique_ptr<_ClientList> ClientViewTest::shared;
std::unique_ptr<_Client> ClientViewTest::sharedConfig;

QList<int> reversed(QList<int> positions) {
    std::reverse(positions.begin(), positions.end());
    return positions;
}

} // namespace

TEST_F(ClientViewTest, EveryColumnBothWays) {
    using Setter = std::function<void(_Client&, int)>;
    struct Case {
        int column;
        Setter set;           // the key of client i
        QList<int> ascending; // byListNo positions, ascending
    };
    const Case cases[] = {
        {0,
         [](_Client& c, int i) {
             const char* names[] = {"abc", "ab", "\xe9t\xe9", "Zed", "ab"};
             c.status.name.set(names[i]);
         },
         {3, 1, 4, 0, 2}}, // bytes: "Zed" first, 0xE9 after every ASCII letter; equal names by position
        {2,
         [](_Client& c, int i) {
             const qint8 status[] = {3, -1, 0, 3, 127};
             c.status.threads[0].clientStatus = status[i];
         },
         {1, 2, 0, 3, 4}},
        {4,
         [](_Client& c, int i) {
             const quint8 cpu[] = {200, 10, 10, 0, 255};
             c.status.cpuUsage = cpu[i];
         },
         {3, 1, 2, 0, 4}}, // 200 after 10: unsigned
        {5,
         [](_Client& c, int i) {
             const qint32 memory[] = {5, -5, 2000000000, 5, std::numeric_limits<qint32>::min()};
             c.status.threads[0].availMemory = memory[i];
         },
         {4, 1, 0, 3, 2}},
        {6,
         [](_Client& c, int i) {
             const quint8 os[] = {3, 1, 2, 1, 200};
             c.hardware.osType = os[i];
         },
         {1, 3, 2, 0, 4}},
        {7,
         [](_Client& c, int i) {
             const char16_t* users[] = {u"a", u"\u0100", u"a", u"ab", u"a"};
             const qint8 status[] = {3, 0, 1, 0, 3};
             c.status.user.set(QString::fromUtf16(users[i]));
             c.status.threads[0].clientStatus = status[i];
         },
         {1, 2, 0, 4, 3}}, // U+0100 (bytes 00 01) before "a" (61 00); equal users by status
        {8,
         [](_Client& c, int i) {
             const char* versions[] = {"9.1", "10.0", "9", "", "\xff"};
             c.status.version.set(versions[i]);
         },
         {3, 1, 2, 0, 4}},
        {9,
         [](_Client& c, int i) {
             const qint8 temperature[] = {40, -20, 90, 40, -128};
             c.status.temperature = temperature[i];
         },
         {4, 1, 0, 3, 2}}, // -20 before 40: signed
        {10,
         [](_Client& c, int i) {
             const qint32 memory[] = {16000, -1, 64000, 8, 16000};
             c.hardware.memory = memory[i];
         },
         {1, 3, 0, 4, 2}},
        {11,
         [](_Client& c, int i) {
             const quint16 cores[] = {40000, 8, 64, 8, 1};
             c.hardware.cores = cores[i];
         },
         {4, 1, 3, 2, 0}}, // 40000 after 8: unsigned
        {12,
         [](_Client& c, int i) {
             const quint16 ps[] = {65000, 8, 300, 300, 0};
             c.hardware.performanceScore = ps[i];
         },
         {4, 1, 2, 3, 0}},
        {13,
         [](_Client& c, int i) {
             const char16_t* info[] = {u"rack 2", u"rack 10", u"\u0100", u"", u"rack 2"};
             const qint8 status[] = {3, 0, 0, 0, 1}; // not a key of this column
             c.hardware.customClientInfo.set(QString::fromUtf16(info[i]));
             c.status.threads[0].clientStatus = status[i];
         },
         {3, 2, 1, 0, 4}},
    };
    addClients(5);
    for (const Case& c : cases) {
        for (int i = 0; i < 5; ++i)
            c.set(*list->byListNo.pointers[i], i);
        list->sortID = 1;
        ASSERT_TRUE(list->setSortID(c.column, Qt::AscendingOrder, nullptr));
        EXPECT_EQ(viewPositions(), c.ascending) << "column " << c.column;
        ASSERT_TRUE(list->setSortID(c.column, Qt::DescendingOrder, nullptr));
        EXPECT_EQ(viewPositions(), reversed(c.ascending)) << "column " << c.column;
        EXPECT_EQ(list->sortID, c.column);
        // The sorted pointers follow the view.
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(list->sorted.pointers[i], list->byListNo.pointers[list->order[i]]);
    }
}

TEST_F(ClientViewTest, KeySortsCallableOnTheirOwn) {
    addClients(6);
    const quint8 cpu[] = {50, 40, 30, 20, 10, 0};
    for (int i = 0; i < 6; ++i)
        list->byListNo.pointers[i]->status.cpuUsage = cpu[i];
    list->sort(nullptr); // list-number order: 0..5

    // The worker sorts only its range, cut to the used entries.
    list->kxQuicksortClient_2_byCpuUsage_sub(1, 3, false);
    EXPECT_EQ(viewPositions(), QList<int>({0, 3, 2, 1, 4, 5}));
    list->kxQuicksortClient_2_byCpuUsage_sub(-10, 1000, true);
    EXPECT_EQ(viewPositions(), QList<int>({0, 1, 2, 3, 4, 5}));
    list->kxQuicksortClient_2_byCpuUsage(false);
    EXPECT_EQ(viewPositions(), QList<int>({5, 4, 3, 2, 1, 0}));
    // Nothing beyond the used entries moves.
    list->order[6] = 1234;
    list->kxQuicksortClient_2_byName(true);
    EXPECT_EQ(list->order[6], 1234);
    EXPECT_EQ(viewPositions(), QList<int>({5, 4, 3, 2, 1, 0}));
}

TEST_F(ClientViewTest, ListNumberOrderAndUnknownColumns) {
    addClients(5);
    for (int id : {1, 3, 14, -1, 1000}) {
        list->sortID = id;
        list->sortOrder = Qt::DescendingOrder;
        list->sort(nullptr);
        EXPECT_EQ(list->sortID, 1) << id;
        EXPECT_EQ(viewPositions(), QList<int>({4, 3, 2, 1, 0})) << id;
        list->sortID = id;
        list->sortOrder = Qt::AscendingOrder;
        list->sort(nullptr);
        EXPECT_EQ(viewPositions(), QList<int>({0, 1, 2, 3, 4})) << id;
    }
}

TEST_F(ClientViewTest, ConnectorsThroughTheList) {
    add(QStringLiteral("b"), 1);
    add(QStringLiteral("pool"), 0, 0);
    add(QStringLiteral("a"), 3);
    add(QStringLiteral("aws"), 2, 1);
    list->sort_ID_Load(false);
    EXPECT_EQ(list->count, 4);
    EXPECT_EQ(list->clientCount, 2);
    EXPECT_EQ(list->cloudCount, 2);
    const qint16 entries[] = {10000, 0, 10001, 1};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(list->byListNo.entryNumbers[i], entries[i]) << i;
    EXPECT_EQ(list->findClient(QStringLiteral("aws"), -1), 2);
    EXPECT_EQ(list->findClient(QStringLiteral("pool"), -1), 0);

    list->clouds[0].status.threadCount = 300;
    list->clouds[1].status.threadCount = 2000; // counted as stored
    list->clients[0].status.threadCount = 2;
    list->clients[1].status.threadCount = 1;
    EXPECT_EQ(list->countClientThreads(), 2303);

    // Sorted by name with the clients; connectors are filtered by their hardware like clients.
    list->setSortID(0, Qt::AscendingOrder, nullptr);
    EXPECT_EQ(namesInView(), QStringList({"a", "aws", "b", "pool"}));
    list->clouds[1].hardware.osType = 2;
    list->clouds[1].hardware.is64bit = 1;
    list->setFilter(true, true, false, true, true, 0, 0, nullptr, nullptr, 0);
    EXPECT_EQ(namesInView(), QStringList({"a", "b", "pool"}));

    list->removeClient(list->findClient(QStringLiteral("pool"), -1), true);
    EXPECT_EQ(list->count, 3);
    EXPECT_EQ(list->cloudCount, 1);
    EXPECT_EQ(list->clouds[0].status.name.toQString(), QStringLiteral("aws"));
    EXPECT_EQ(list->findClient(QStringLiteral("pool"), -1), -1);
    EXPECT_EQ(namesInView(), QStringList({"a", "b"}));
    EXPECT_EQ(list->countClientThreads(), 2003);
}

TEST_F(ClientViewTest, AssignedValues) {
    addClients(7);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    float values[7] = {2.0f, nan, -inf, 0.0f, nan, -0.0f, 2.0f};
    list->sort(nullptr);

    list->QSort_Assigned(0, 6, values);
    EXPECT_EQ(viewPositions(), QList<int>({2, 3, 5, 0, 6, 1, 4})); // -0 equals 0; NaN last
    list->sortOrder = Qt::DescendingOrder;
    list->QSort_Assigned(0, 6, values);
    EXPECT_EQ(viewPositions(), QList<int>({4, 1, 6, 0, 5, 3, 2}));

    // The range is cut to the used entries; a null array changes nothing.
    list->sortOrder = Qt::AscendingOrder;
    list->sort(nullptr);
    list->QSort_Assigned(5, 100, values);
    EXPECT_EQ(viewPositions(), QList<int>({0, 1, 2, 3, 4, 5, 6}));
    list->QSort_Assigned(-100, 100, nullptr);
    EXPECT_EQ(viewPositions(), QList<int>({0, 1, 2, 3, 4, 5, 6}));
    list->QSort_Assigned(-100, 2, values);
    EXPECT_EQ(viewPositions(), QList<int>({2, 0, 1, 3, 4, 5, 6}));

    // A position the view holds beyond the used entries has no value: it ranks with NaN.
    float two[2] = {1.0f, 0.5f};
    list->order[0] = 1;
    list->order[1] = 6;
    list->count = 2;
    list->QSort_Assigned(0, 1, two);
    EXPECT_EQ(list->order[0], 1);
    list->order[0] = 6;
    list->order[1] = 0;
    list->QSort_Assigned(0, 1, two);
    EXPECT_EQ(list->order[0], 0);
}

namespace {

// A block that repeats the list: its counts, every slot's status and byListNo's entry numbers.
std::unique_ptr<_ClientStatusMulti> blockOf(const _ClientList& list) {
    auto multi = std::make_unique<_ClientStatusMulti>();
    multi->count = list.count;
    multi->clientCount = quint16(list.clientCount);
    multi->cloudCount = quint16(list.cloudCount);
    for (int i = 0; i < _ClientList::clientCapacity; ++i)
        multi->clients[i] = list.clients[i].status;
    for (int j = 0; j < _ClientList::cloudCapacity; ++j)
        multi->clouds[j] = list.clouds[j].status;
    std::copy(list.byListNo.entryNumbers, list.byListNo.entryNumbers + _ClientList::entryCapacity,
              multi->entryNumbers);
    return multi;
}

} // namespace

TEST_F(ClientViewTest, ImportUnchangedBlock) {
    addClients(3);
    add(QStringLiteral("pool"), 3, 0);
    list->sort_ID_Load(false);
    auto multi = blockOf(*list);
    EXPECT_FALSE(list->importStatus(multi.get(), false));
    EXPECT_FALSE(list->importStatus(multi.get(), true));
    EXPECT_EQ(list->count, 4);
    EXPECT_EQ(list->importedCount, 4);
    EXPECT_EQ(list->visibleCount, 4); // the view is rebuilt after the counts are taken
    EXPECT_FALSE(list->importStatus_NameChanged(multi.get()));
    EXPECT_FALSE(list->importStatus(nullptr, true));
    EXPECT_FALSE(list->importStatus_NameChanged(nullptr));
}

TEST_F(ClientViewTest, ImportTakesStatusesAndOrderButNotConfiguration) {
    addClients(3);
    add(QStringLiteral("pool"), 3, 0);
    list->sort_ID_Load(false);
    list->clients[1].config.configPreset = 3;
    list->clients[1].hardware.memory = 4096;
    auto multi = blockOf(*list);
    multi->clients[1].cpuUsage = 77;
    multi->clients[1].user.set(QStringLiteral("anna"));
    multi->clouds[0].threadCount = 500;
    multi->clients[1400].cpuUsage = 5; // free slots take their status too
    // A new order: the connector first, the clients reversed.
    const qint16 newOrder[] = {10000, 2, 1, 0};
    std::copy(newOrder, newOrder + 4, multi->entryNumbers);

    EXPECT_TRUE(list->importStatus(multi.get(), false));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list->byListNo.entryNumbers[i], newOrder[i]) << i;
        EXPECT_EQ(list->byListNo.pointers[i], list->recordOfEntry(newOrder[i])) << i;
        EXPECT_EQ(list->byListNo.pointers[i]->listNo, i) << i;
    }
    EXPECT_EQ(list->byListNo.pointers[1529]->listNo, 1529);
    EXPECT_EQ(list->clients[1].status.cpuUsage, 77);
    EXPECT_EQ(list->clients[1].status.user.toQString(), QStringLiteral("anna"));
    EXPECT_EQ(list->clouds[0].status.threadCount, 500);
    EXPECT_EQ(list->clients[1400].status.cpuUsage, 5);
    EXPECT_EQ(list->clients[1].config.configPreset, 3);
    EXPECT_EQ(list->clients[1].hardware.memory, 4096);
    EXPECT_EQ(list->clients[0].status.name.toQString(), QStringLiteral("c0"));
    // Taken once, the same block changes nothing.
    EXPECT_FALSE(list->importStatus(multi.get(), false));
}

TEST_F(ClientViewTest, ImportNewCountsResortsTheView) {
    addClients(3);
    list->setSortID(0, Qt::DescendingOrder, nullptr);
    auto multi = blockOf(*list);
    multi->count = 5;
    multi->clientCount = 5;
    multi->clients[3].name.set("zz");
    multi->clients[4].name.set("a");

    EXPECT_TRUE(list->importStatus(multi.get(), true));
    EXPECT_EQ(list->count, 5);
    EXPECT_EQ(list->clientCount, 5);
    EXPECT_EQ(list->importedCount, 5);
    EXPECT_EQ(namesInView(), QStringList({"zz", "c2", "c1", "c0", "a"}));
    EXPECT_FALSE(list->importStatus(multi.get(), true));

    // Counts beyond the list's capacity are cut to it.
    multi->count = 32000;
    multi->clientCount = 60000;
    multi->cloudCount = 31;
    EXPECT_TRUE(list->importStatus(multi.get(), true));
    EXPECT_EQ(list->count, 1530);
    EXPECT_EQ(list->clientCount, 1500);
    EXPECT_EQ(list->cloudCount, 30);
    EXPECT_EQ(list->visibleCount, 1530);
    multi->count = -4;
    multi->clientCount = 0;
    multi->cloudCount = 0;
    EXPECT_TRUE(list->importStatus(multi.get(), true));
    EXPECT_EQ(list->count, 0);
    EXPECT_EQ(list->importedCount, 0);
    EXPECT_EQ(list->visibleCount, 0);
}

TEST_F(ClientViewTest, ImportKeepsTheOrderWhenTheBlockIsBroken) {
    addClients(3);
    add(QStringLiteral("pool"), 3, 0);
    list->sort_ID_Load(false);
    const auto before = std::make_unique<_ClientConstPointerArray_subclass>(list->byListNo);
    struct Case {
        int at;
        qint16 entry;
    };
    // Out of the slots, or a slot named twice (and another left out).
    const Case cases[] = {{0, -1}, {1, 1500}, {2, 9999}, {3, 10030}, {1529, 32767}, {4, 0}, {1529, 10000}};
    for (const Case& c : cases) {
        auto multi = blockOf(*list);
        multi->entryNumbers[c.at] = c.entry;
        multi->clients[0].cpuUsage = 33;
        multi->clientCount = 4;
        multi->count = 5;
        // The counts changed shape; the order stays, the statuses and counts are taken.
        EXPECT_TRUE(list->importStatus(multi.get(), true)) << c.at;
        EXPECT_EQ(std::memcmp(&list->byListNo, before.get(), sizeof(*before.get())), 0) << c.at;
        EXPECT_EQ(list->clients[0].status.cpuUsage, 33);
        EXPECT_EQ(list->count, 5);
        EXPECT_EQ(list->clients[2].listNo, 2);
        EXPECT_FALSE(list->importStatus(multi.get(), false)) << c.at;
        list->clientCount = 3;
        list->count = 4;
    }
}

TEST_F(ClientViewTest, NameChangesWithinTheUsedSlots) {
    addClients(1500);
    for (int j = 0; j < 30; ++j)
        add(QStringLiteral("cloud%1").arg(j), 1500 + j, qint8(j));
    auto multi = blockOf(*list);
    EXPECT_FALSE(list->importStatus_NameChanged(multi.get()));
    // Counts beyond the capacities read only the slots there are.
    multi->clientCount = 65535;
    multi->cloudCount = 65535;
    EXPECT_FALSE(list->importStatus_NameChanged(multi.get()));

    multi->clientCount = 3;
    multi->cloudCount = 1;
    multi->clients[3].name.set("renamed"); // beyond the block's clients
    multi->clouds[1].name.set("renamed");
    EXPECT_FALSE(list->importStatus_NameChanged(multi.get()));
    multi->clients[2].name.set("c2 ");
    EXPECT_TRUE(list->importStatus_NameChanged(multi.get()));
    multi->clients[2].name.set("c2");
    multi->clouds[0].name.set("Cloud0");
    EXPECT_TRUE(list->importStatus_NameChanged(multi.get()));
}

TEST_F(ClientViewTest, ConfigPresets) {
    for (int p = 0; p < 5; ++p) {
        list->presets[p].config.cfgV[0] = qint16(100 + p);
        list->presets[p].config.uncPreset = 4;
        list->presets[p].config.configThreadCount = 8;
        list->presets[p].config.reservedFor[0].set(QStringLiteral("preset %1").arg(p));
    }
    struct Case {
        int preset;
        qint16 cfgV0; // after applying
    };
    const Case cases[] = {{0, 45}, {1, 101}, {2, 102}, {3, 103}, {4, 104}, {5, 45}, {255, 45}};
    const int n = int(sizeof(cases) / sizeof(cases[0]));
    for (int i = 0; i < n; ++i) {
        config->config.configPreset = quint8(cases[i].preset);
        config->config.uncPreset = 1;
        add(QStringLiteral("c%1").arg(i), i, i == 3 ? 0 : -1);
    }
    list->sort_ID_Load(false);
    list->clients[20].config.configPreset = 1; // a free slot is not an entry

    list->applyConfigPresets();
    for (int i = 0; i < n; ++i) {
        const _ClientConfig& applied = list->byListNo.pointers[i]->config;
        EXPECT_EQ(applied.cfgV[0], cases[i].cfgV0) << cases[i].preset;
        EXPECT_EQ(applied.configPreset, cases[i].preset);
        EXPECT_EQ(applied.uncPreset, 1);
        EXPECT_EQ(applied.configThreadCount, 1);
        const bool follows = cases[i].preset >= 1 && cases[i].preset <= 4;
        EXPECT_EQ(applied.reservedFor[0].toQString(),
                  follows ? QStringLiteral("preset %1").arg(cases[i].preset) : QString());
    }
    EXPECT_EQ(list->clients[20].config.cfgV[0], 45);
}

TEST_F(ClientViewTest, ListInfoLogWritesNothing) {
    struct CountingLog : __KXlog {
        void writeLog(int, int, const QString&) override { ++lines; }
        int lines = 0;
    } log;
    addClients(2);
    _ClientList::logClientListInfo(log, *list, QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                   list->byListNo.pointers[0], 1, true);
    EXPECT_EQ(log.lines, 0);
}
