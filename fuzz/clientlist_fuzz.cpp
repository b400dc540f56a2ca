// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
//
// The server's status block arrives whole: its counts, its 1530 entry numbers and every status may hold
// anything. Importing it and then using the list (names, every sort column, the filter, lookups, thread
// count, presets) must keep the counts within capacity and every byListNo pointer on the slot its entry
// number names. The list (about 170 MB) is built once and emptied between inputs.
//
// Input: a flags byte; count, client count and cloud connector count (16-bit each); a number of swaps
// of two entry numbers (16-bit positions) applied to the list's own order; a number of raw entry
// numbers (16-bit position, 16-bit value); 16 configuration preset numbers; the rest is copied over the
// first client statuses.
#include "clients/clientlist.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

using namespace kxC;

namespace {

struct Input {
    const uint8_t* data;
    size_t size;

    template <typename T>
    T take() {
        T value{};
        const size_t n = std::min(size, sizeof(T));
        std::memcpy(&value, data, n);
        data += n;
        size -= n;
        return value;
    }
};

__KX& someFarm() {
    alignas(8) static char farm[8];
    return *reinterpret_cast<__KX*>(farm);
}

struct Fixture {
    Fixture() : list(std::make_unique<_ClientList>(someFarm())) {
        block = std::make_unique<_ClientStatusMulti>();
        pristine = std::make_unique<_ClientStatusMulti>();
        std::copy(list->byListNo.entryNumbers, list->byListNo.entryNumbers + _ClientList::entryCapacity,
                  pristine->entryNumbers);
        for (int i = 0; i < 8; ++i)
            pristine->clients[i].name.set(QByteArray("client").append(char('0' + i)).constData());
        std::memcpy(static_cast<void*>(block.get()), pristine.get(), sizeof(_ClientStatusMulti));
    }
    std::unique_ptr<_ClientList> list;
    std::unique_ptr<_ClientStatusMulti> block;
    std::unique_ptr<_ClientStatusMulti> pristine;
};

constexpr int rawStatuses = 4;

// The counts and the view.
void checkView(const _ClientList& list) {
    if (list.count < 0 || list.count > _ClientList::entryCapacity || list.clientCount < 0 ||
        list.clientCount > _ClientList::clientCapacity || list.cloudCount < 0 ||
        list.cloudCount > _ClientList::cloudCapacity || list.visibleCount < 0 ||
        list.visibleCount > list.count)
        __builtin_trap();
    for (int i = 0; i < list.visibleCount; ++i)
        if (list.order[i] < 0 || list.order[i] >= list.count)
            __builtin_trap();
}

// Every byListNo pointer on the slot its entry number names.
void checkSlots(_ClientList& list) {
    checkView(list);
    for (int i = 0; i < _ClientList::entryCapacity; ++i) {
        const qint16 entry = list.byListNo.entryNumbers[i];
        if (list.byListNo.pointers[i] == nullptr || list.byListNo.pointers[i] != list.recordOfEntry(entry))
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Fixture fixture;
    _ClientList& list = *fixture.list;
    _ClientStatusMulti& block = *fixture.block;
    list.clear();
    list.sort_ID_Load(false);

    Input in{data, size};
    const quint8 flags = in.take<quint8>();
    block.count = in.take<qint16>();
    block.clientCount = in.take<quint16>();
    block.cloudCount = in.take<quint16>();
    for (int swaps = in.take<quint8>(); swaps > 0; --swaps) {
        const int a = in.take<quint16>() % _ClientList::entryCapacity;
        const int b = in.take<quint16>() % _ClientList::entryCapacity;
        std::swap(block.entryNumbers[a], block.entryNumbers[b]);
    }
    for (int raw = in.take<quint8>() % 8; raw > 0; --raw) {
        const int at = in.take<quint16>() % _ClientList::entryCapacity;
        block.entryNumbers[at] = in.take<qint16>();
    }
    for (int i = 0; i < 16; ++i)
        list.byListNo.pointers[i]->config.configPreset = in.take<quint8>();
    const size_t statusBytes = std::min(in.size, sizeof(_ClientStatus) * rawStatuses);
    std::memcpy(static_cast<void*>(block.clients), in.data, statusBytes);

    const bool takeCounts = (flags & 1) != 0;
    (void)list.importStatus_NameChanged(&block);
    (void)list.importStatus(&block, takeCounts);
    checkSlots(list);
    (void)list.importStatus_NameChanged(&block);

    // Every column once, in the order the input asks for; the list is large, so not both ways.
    list.sortOrder = (flags & 64) != 0 ? Qt::DescendingOrder : Qt::AscendingOrder;
    for (int id = -1; id <= 14; ++id) {
        list.sortID = id;
        list.sort(nullptr);
        checkView(list);
    }
    list.setFilter((flags & 2) != 0, (flags & 4) != 0, (flags & 8) != 0, (flags & 16) != 0, (flags & 32) != 0,
                   int(block.count) * 8, 0, nullptr, nullptr, 0);
    checkView(list);
    float values[_ClientList::entryCapacity];
    for (int i = 0; i < _ClientList::entryCapacity; ++i)
        values[i] =
            i % 3 == 0 ? std::nanf("") : float(list.byListNo.entryNumbers[i] % 7) * float((i % 5) - 2);
    list.QSort_Assigned(-5, 2000, values);
    checkView(list);

    (void)list.findClient(block.clients[0].name, -1);
    (void)list.findClient(QStringLiteral("client3"), -1);
    (void)list.countClientThreads();
    list.applyConfigPresets();
    checkSlots(list);

    // The next input starts from the same block.
    std::memcpy(static_cast<void*>(block.clients), fixture.pristine->clients,
                sizeof(_ClientStatus) * rawStatuses);
    std::copy(fixture.pristine->entryNumbers, fixture.pristine->entryNumbers + _ClientList::entryCapacity,
              block.entryNumbers);
    return 0;
}
