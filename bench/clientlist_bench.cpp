// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// The client list's view sort and status import on a full list (1500 clients and 30 cloud connectors
// with random keys). Each iteration times the operation and then its floor, interleaved so that both
// see the same machine load; the counter "ratio" is the operation's time over the floor's.
//   sort floor: the same keys copied out of the records into (key, position) pairs and std::sorted.
//   import floor: a memcpy of the 4,276,800 status bytes the block carries.

#include "clients/clientlist.h"

#include "besidefloor.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

using namespace kxC;

namespace {

__KX& someFarm() {
    alignas(8) static char farm[8];
    return *reinterpret_cast<__KX*>(farm);
}

/// A list of `entries` entries (clients first, then up to 30 cloud connectors) with random names and
/// CPU usage.
std::unique_ptr<_ClientList> randomList(int entries, std::mt19937& random) {
    auto list = std::make_unique<_ClientList>(someFarm());
    auto config = std::make_unique<_Client>();
    config->clear();
    auto randomName = [&random]() {
        std::uniform_int_distribution<int> length(6, 20);
        std::uniform_int_distribution<int> letter('a', 'z');
        QByteArray name;
        for (int i = length(random); i > 0; --i)
            name.append(char(letter(random)));
        return _kxString8_allSize<50>(name.constData());
    };
    for (int i = 0; i < entries; ++i) {
        config->listNo = i;
        const qint8 cloud = i < _ClientList::clientCapacity ? -1 : qint8(i - _ClientList::clientCapacity);
        if (list->addClient(randomName(), cloud, *config, false) < 0)
            std::abort();
    }
    list->sort_ID_Load(false);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < entries; ++i)
        list->byListNo.pointers[i]->status.cpuUsage = quint8(byte(random));
    return list;
}

/// One full list with random keys and two status blocks with different orders, built on first use.
struct FullList {
    FullList() {
        std::mt19937 random(20261210);
        list = randomList(_ClientList::entryCapacity, random);
        for (auto* block : {&blockA, &blockB}) {
            *block = std::make_unique<_ClientStatusMulti>();
            (*block)->count = list->count;
            (*block)->clientCount = quint16(list->clientCount);
            (*block)->cloudCount = quint16(list->cloudCount);
            for (int i = 0; i < _ClientList::clientCapacity; ++i)
                (*block)->clients[i] = list->clients[i].status;
            for (int j = 0; j < _ClientList::cloudCapacity; ++j)
                (*block)->clouds[j] = list->clouds[j].status;
            std::copy(list->byListNo.entryNumbers, list->byListNo.entryNumbers + _ClientList::entryCapacity,
                      (*block)->entryNumbers);
        }
        // The second block lists the entries in another order, so every import takes a new one.
        std::shuffle(blockB->entryNumbers, blockB->entryNumbers + _ClientList::entryCapacity, random);
        if (blockB->entryNumbers[0] == blockA->entryNumbers[0])
            std::swap(blockB->entryNumbers[0], blockB->entryNumbers[1]);
    }

    std::unique_ptr<_ClientList> list;
    std::unique_ptr<_ClientStatusMulti> blockA;
    std::unique_ptr<_ClientStatusMulti> blockB;
};

FullList& fullList() {
    static FullList full;
    return full;
}

struct NumberPair {
    quint8 key;
    qint16 position;
};

struct NamePair {
    char bytes[50];
    int length;
    qint16 position;
};

void BM_sortByCpuUsage(benchmark::State& state) {
    _ClientList& list = *fullList().list;
    const int used = list.count;
    std::vector<NumberPair> pairs(std::size_t(used), NumberPair{});
    kxBenchBesideFloor(
        state,
        [&list]() {
            list.sortID = 4;
            list.sortOrder = Qt::AscendingOrder;
            list.sort(nullptr);
            benchmark::DoNotOptimize(list.order[0]);
        },
        [&list, &pairs, used]() {
            for (int i = 0; i < used; ++i)
                pairs[std::size_t(i)] = NumberPair{list.byListNo.pointers[i]->status.cpuUsage, qint16(i)};
            std::sort(pairs.begin(), pairs.end(), [](const NumberPair& a, const NumberPair& b) {
                return a.key != b.key ? a.key < b.key : a.position < b.position;
            });
            benchmark::DoNotOptimize(pairs.data());
        },
        kxBenchSides{1, 1.5});
    if (list.sortID != 4 || list.visibleCount != used)
        state.SkipWithError("the view was not sorted by CPU usage");
}
BENCHMARK(BM_sortByCpuUsage)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_sortByName(benchmark::State& state) {
    _ClientList& list = *fullList().list;
    const int used = list.count;
    std::vector<NamePair> pairs(std::size_t(used), NamePair{});
    kxBenchBesideFloor(
        state,
        [&list]() {
            list.sortID = 0;
            list.sortOrder = Qt::AscendingOrder;
            list.sort(nullptr);
            benchmark::DoNotOptimize(list.order[0]);
        },
        [&list, &pairs, used]() {
            for (int i = 0; i < used; ++i) {
                const _kxString8_allSize<50>& name = list.byListNo.pointers[i]->status.name;
                NamePair& pair = pairs[std::size_t(i)];
                pair.length = name.len();
                std::memcpy(pair.bytes, name.data(), std::size_t(pair.length));
                pair.position = qint16(i);
            }
            std::sort(pairs.begin(), pairs.end(), [](const NamePair& a, const NamePair& b) {
                const int byBytes = std::memcmp(a.bytes, b.bytes, std::size_t(std::min(a.length, b.length)));
                if (byBytes != 0)
                    return byBytes < 0;
                return a.length != b.length ? a.length < b.length : a.position < b.position;
            });
            benchmark::DoNotOptimize(pairs.data());
        },
        kxBenchSides{1, 1.5});
    if (list.sortID != 0 || list.visibleCount != used)
        state.SkipWithError("the view was not sorted by name");
}
BENCHMARK(BM_sortByName)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_importStatus(benchmark::State& state) {
    FullList& full = fullList();
    _ClientList& list = *full.list;
    const std::size_t statusBytes = sizeof(_ClientStatus) * _ClientList::clientCapacity +
                                    sizeof(_ClientStatus_ALL) * _ClientList::cloudCapacity;
    static_assert(sizeof(_ClientStatus) * 1500 + sizeof(_ClientStatus_ALL) * 30 == 4276800);
    std::vector<char> copy(statusBytes);
    // Each iteration imports the block whose order the list does not hold yet, and the floor copies the
    // statuses of that same block: whichever of the two runs first picks it, so both read one block
    // and the second finds it in the cache, whichever that is.
    const _ClientStatusMulti* block = nullptr;
    long sideCalls = 0;
    auto blockOfIteration = [&]() {
        if (sideCalls++ % 2 == 0) {
            const bool holdsA = list.byListNo.entryNumbers[0] == full.blockA->entryNumbers[0];
            block = holdsA ? full.blockB.get() : full.blockA.get();
        }
        return block;
    };
    bool allChanged = true;
    kxBenchBesideFloor(
        state, [&]() { allChanged = list.importStatus(blockOfIteration(), false) && allChanged; },
        [&]() {
            std::memcpy(copy.data(), blockOfIteration()->clients, statusBytes);
            benchmark::DoNotOptimize(copy.data());
        },
        kxBenchSides{1, 1.5});
    if (!allChanged)
        state.SkipWithError("an import did not take a new order");
}
BENCHMARK(BM_importStatus)->UseManualTime()->Unit(benchmark::kMicrosecond);

/// A list of `entries` random entries, kept until a benchmark asks for another size: each is 170 MB.
_ClientList& listOf(int entries) {
    static std::unique_ptr<_ClientList> list;
    static int listEntries = -1;
    if (!list || listEntries != entries) {
        list.reset();
        std::mt19937 random{std::mt19937::result_type(entries)};
        list = randomList(entries, random);
        listEntries = entries;
    }
    return *list;
}

/// Two view sorts of a list of `range(0)` random entries by the key `sortID`, ascending and then
/// descending, so that each sort starts from an order it has to change.
void sortSeriesPoint(benchmark::State& state, qint32 sortID) {
    _ClientList& list = listOf(int(state.range(0)));
    for (auto _ : state) {
        list.sortID = sortID;
        list.sortOrder = Qt::AscendingOrder;
        list.sort(nullptr);
        benchmark::DoNotOptimize(list.order[0]);
        list.sortOrder = Qt::DescendingOrder;
        list.sort(nullptr);
    }
    state.counters["n"] = benchmark::Counter(double(state.range(0)));
}

void BM_series_sortByCpuUsage(benchmark::State& state) {
    sortSeriesPoint(state, 4);
}
BENCHMARK(BM_series_sortByCpuUsage)
    ->Arg(15)
    ->Arg(50)
    ->Arg(150)
    ->Arg(500)
    ->Arg(1500)
    ->Arg(1530)
    ->Unit(benchmark::kMicrosecond);

void BM_series_sortByName(benchmark::State& state) {
    sortSeriesPoint(state, 0);
}
BENCHMARK(BM_series_sortByName)
    ->Arg(15)
    ->Arg(50)
    ->Arg(150)
    ->Arg(500)
    ->Arg(1500)
    ->Arg(1530)
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
