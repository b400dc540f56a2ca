// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "clients/clientlist.h"

#include <algorithm>
#include <cstring>

namespace kxC {

void _ClientConstPointerArray_subclass::swap(int i, int j) {
    if (i == j)
        return;
    std::swap(pointers[i], pointers[j]);
    std::swap(entryNumbers[i], entryNumbers[j]);
}

namespace {

// A cloud connector record begins with the layout of an ordinary client record; the pointer arrays hold
// both through the ordinary type.
_Client* asClient(_Client_CloudConnector& cloud) {
    return reinterpret_cast<_Client*>(&cloud);
}

// The list-number order of the records and of byListNo: list number, then name byte by byte with the
// shorter name first on a common prefix, then the position the entry held when the sort began.
bool listNoLess(const _Client_WithoutStatus& a, const _kxString8_allSize<50>& nameA, int positionA,
                const _Client_WithoutStatus& b, const _kxString8_allSize<50>& nameB, int positionB) {
    if (a.listNo != b.listNo)
        return a.listNo < b.listNo;
    const int lengthA = nameA.len();
    const int lengthB = nameB.len();
    const int common = lengthA < lengthB ? lengthA : lengthB;
    const int byBytes = std::memcmp(nameA.data(), nameB.data(), size_t(common));
    if (byBytes != 0)
        return byBytes < 0;
    if (lengthA != lengthB)
        return lengthA < lengthB;
    return positionA < positionB;
}

// Sorts records from..to of `records` by list number, moving each record at most once plus once per cycle
// through `scratch`. The key orders every pair strictly (the starting position breaks ties), so the
// result is the one a quicksort over the same key gives.
template <typename Record, typename Scratch>
void sortSlotsByListNo(Record* records, int from, int to, Scratch& scratch) {
    if (from >= to)
        return;
    qint16 positions[_ClientList::entryCapacity];
    const int n = to - from + 1;
    for (int i = 0; i < n; ++i)
        positions[i] = qint16(from + i);
    std::sort(positions, positions + n, [records](qint16 a, qint16 b) {
        return listNoLess(records[a], records[a].status.name, a, records[b], records[b].status.name, b);
    });
    // positions[i] is the slot whose record belongs at from + i: follow each cycle once.
    bool placed[_ClientList::entryCapacity] = {};
    for (int start = 0; start < n; ++start) {
        if (placed[start] || positions[start] == from + start) {
            placed[start] = true;
            continue;
        }
        scratch = records[from + start];
        int at = start;
        while (true) {
            const int source = positions[at] - from;
            placed[at] = true;
            if (source == start) {
                static_cast<Scratch&>(records[from + at]) = scratch;
                break;
            }
            static_cast<Scratch&>(records[from + at]) = records[from + source];
            at = source;
        }
    }
}

} // namespace

_ClientList::_ClientList(__KX& farmObject) : farm(farmObject) {
    sortID = 1;
    sortOrder = Qt::AscendingOrder;
    showWindows = showMac = showLinux = show64bit = show32bit = true;
    std::memset(reserved_21, 0, sizeof(reserved_21));
    minMemory = 0;
    appFilterCount = 0;
    std::memset(appFilterIDs, 0, sizeof(appFilterIDs));
    std::memset(appFilterFlags, 0, sizeof(appFilterFlags));
    filterValue = 0;
    reserved_1231[0] = 0;
    visibleCount = count = changeCount = clientCount = cloudCount = 0;
    std::memset(reserved_1242, 0, sizeof(reserved_1242));
    for (_Client_CloudConnector& cloud : clouds)
        cloud.clearAllStruct();
    for (_Client& client : clients)
        client.clear();
    flag_169108004 = 0;
    reserved_169108005[0] = 0;
    importedCount = 0;
    maxListNo = -1;
    value_169108010 = 4;
    std::memset(reserved_169108012, 0, sizeof(reserved_169108012));
    std::memset(static_cast<void*>(&byListNo), 0, sizeof(byListNo));
    std::memset(order, 0, sizeof(order));
    std::memset(reserved_169126428, 0, sizeof(reserved_169126428));
    std::memset(static_cast<void*>(&sorted), 0, sizeof(sorted));
    for (_Client& preset : presets)
        preset.clear();
    scratchClient.clear();
    scratchCloud.clearAllStruct();
    sort_ID_Load(false);
}

int _ClientList::usedClientCount() const {
    return kxC::usedCount(clientCount, clientCapacity);
}

int _ClientList::usedCloudCount() const {
    return kxC::usedCount(cloudCount, cloudCapacity);
}

int _ClientList::usedCount() const {
    return kxC::usedCount(count, entryCapacity);
}

_Client* _ClientList::recordOfEntry(qint16 entryNumber) {
    const int slot = slotOfEntry(entryNumber);
    if (slot < 0)
        return nullptr;
    return slot < clientCapacity ? &clients[slot] : asClient(clouds[slot - clientCapacity]);
}

int _ClientList::slotOfEntry(qint16 entryNumber) {
    if (entryNumber >= 0 && entryNumber < clientCapacity)
        return entryNumber;
    if (entryNumber >= cloudEntryBase && entryNumber < cloudEntryBase + cloudCapacity)
        return clientCapacity + (entryNumber - cloudEntryBase);
    return -1;
}

void _ClientList::clear() {
    visibleCount = count = changeCount = clientCount = cloudCount = 0;
    fillArray_mc_load();
}

void _ClientList::fillArray_mc_load() {
    const int usedClients = usedClientCount();
    const int usedClouds = usedCloudCount();
    int position = 0;
    auto put = [this, &position](int entry) {
        byListNo.pointers[position] = recordOfEntry(qint16(entry));
        byListNo.entryNumbers[position] = qint16(entry);
        ++position;
    };
    for (int i = 0; i < usedClients; ++i)
        put(i);
    for (int j = 0; j < usedClouds; ++j)
        put(cloudEntryBase + j);
    for (int i = usedClients; i < clientCapacity; ++i)
        put(i);
    for (int j = usedClouds; j < cloudCapacity; ++j)
        put(cloudEntryBase + j);
    for (int p = 0; p < presetCount; ++p) {
        byListNo.pointers[entryCapacity + p] = &presets[p];
        byListNo.entryNumbers[entryCapacity + p] = 0;
    }
}

void _ClientList::QSort_ID_Load_clients(int from, int to, _Client& scratch) {
    from = std::max(from, 0);
    to = std::min(to, clientCapacity - 1);
    sortSlotsByListNo(clients, from, to, scratch);
}

void _ClientList::QSort_ID_Load_cloud(int from, int to, _Client_ALL& scratch) {
    from = std::max(from, 0);
    to = std::min(to, cloudCapacity - 1);
    // The cloud connector adds nothing to the record it extends, so it moves as a _Client_ALL.
    sortSlotsByListNo(clouds, from, to, scratch);
}

void _ClientList::QSort_ID_Load(int from, int to) {
    from = std::max(from, 0);
    to = std::min(to, entryCapacity - 1);
    if (from >= to)
        return;
    // Sort a copy of the positions, then lay pointers and entry numbers out in that order.
    qint16 positions[entryCapacity];
    const int n = to - from + 1;
    for (int i = 0; i < n; ++i)
        positions[i] = qint16(from + i);
    std::sort(positions, positions + n, [this](qint16 a, qint16 b) {
        const _Client& ra = *byListNo.pointers[a];
        const _Client& rb = *byListNo.pointers[b];
        return listNoLess(ra, ra.status.name, a, rb, rb.status.name, b);
    });
    _Client* pointers[entryCapacity];
    qint16 entries[entryCapacity];
    for (int i = 0; i < n; ++i) {
        pointers[i] = byListNo.pointers[positions[i]];
        entries[i] = byListNo.entryNumbers[positions[i]];
    }
    std::copy(pointers, pointers + n, byListNo.pointers + from);
    std::copy(entries, entries + n, byListNo.entryNumbers + from);
}

void _ClientList::sort_ID_Load(bool renumber) {
    scratchClient.clear();
    scratchCloud.clearAllStruct();
    fillArray_mc_load();
    const int usedClients = usedClientCount();
    const int usedClouds = usedCloudCount();
    if (usedClients > 1)
        QSort_ID_Load_clients(0, usedClients - 1, scratchClient);
    if (usedClouds > 1)
        QSort_ID_Load_cloud(0, usedClouds - 1, scratchCloud);
    const int used = usedCount();
    if (used > 1)
        QSort_ID_Load(0, used - 1);

    if (used == 0) {
        maxListNo = -1;
    } else {
        const qint32 last = byListNo.pointers[used - 1]->listNo;
        maxListNo = qint16(last >= 0 && last < entryCapacity ? last : used);
    }
    if (renumber)
        for (int i = 0; i < entryCapacity; ++i)
            byListNo.pointers[i]->listNo = i;
}

int _ClientList::addClient(const _kxString8_allSize<50>& name, qint8 cloudConnectorIndex,
                           const _Client_WithoutStatus& config, bool newListNo) {
    if (usedCount() >= entryCapacity)
        return -1;
    _Client_WithoutStatus* record = nullptr;
    _ClientStatusBasic_ALL_base* status = nullptr;
    if (cloudConnectorIndex < 0) {
        if (usedClientCount() >= clientCapacity)
            return -1;
        _Client& slot = clients[usedClientCount()];
        slot.clear();
        record = &slot;
        status = &slot.status;
        clientCount = qint16(usedClientCount() + 1);
    } else {
        if (usedCloudCount() >= cloudCapacity)
            return -1;
        _Client_CloudConnector& slot = clouds[usedCloudCount()];
        slot.clearAllStruct();
        record = &slot;
        status = &slot.status;
        cloudCount = qint16(usedCloudCount() + 1);
    }
    status->name.set(name);
    status->cloudConnectorIndex = cloudConnectorIndex;
    config.copyCfgTo(*record);
    record->addedToList = 1;

    count = qint16(usedCount() + 1);
    ++changeCount;
    const int position = count - 1;
    if (!newListNo)
        return position;
    const int listNumber = position > maxListNo ? position : maxListNo + 1;
    maxListNo = qint16(listNumber);
    record->listNo = listNumber;
    return listNumber;
}

void _ClientList::removeClient(int position, bool resort) {
    if (position < 0 || position >= usedCount())
        return;
    const _Client* target = byListNo.pointers[position];
    const int usedClients = usedClientCount();
    const int usedClouds = usedCloudCount();
    int clientSlot = -1;
    int cloudSlot = -1;
    for (int i = 0; i < usedClients && clientSlot < 0; ++i)
        if (&clients[i] == target)
            clientSlot = i;
    for (int j = 0; j < usedClouds && clientSlot < 0 && cloudSlot < 0; ++j)
        if (asClient(clouds[j]) == target)
            cloudSlot = j;
    // A position whose pointer names no used slot (the arrays not rebuilt since) is left alone.
    if (clientSlot < 0 && cloudSlot < 0)
        return;

    count = qint16(usedCount() - 1);
    --changeCount;
    if (clientSlot >= 0) {
        for (int i = clientSlot + 1; i < usedClients; ++i)
            clients[i - 1] = clients[i];
        clients[usedClients - 1].clear();
        clientCount = qint16(usedClients - 1);
    } else {
        for (int j = cloudSlot + 1; j < usedClouds; ++j)
            clouds[j - 1] = clouds[j];
        clouds[usedClouds - 1].clearAllStruct();
        cloudCount = qint16(usedClouds - 1);
    }
    sort_ID_Load(false);
    if (resort) {
        sort(nullptr);
        filter();
    }
}

qint16 _ClientList::findClient(const _kxString8_allSize<50>& name, qint16 notFound) const {
    const int used = usedCount();
    for (int i = 0; i < used; ++i) {
        const _Client* record = byListNo.pointers[i];
        if (record != nullptr && record->status.name.isEqual(name))
            return qint16(i);
    }
    return notFound;
}

qint16 _ClientList::findClient(const QString& name, qint16 notFound) const {
    // A name a record cannot hold (too long, or not Latin-1) matches no record, rather than its cut or
    // '?'-substituted form.
    if (name.size() > _kxString8_allSize<50>::capacity)
        return notFound;
    for (const QChar c : name)
        if (c.unicode() > 0xFF)
            return notFound;
    return findClient(_kxString8_allSize<50>(name), notFound);
}

int _ClientList::countClientThreads() const {
    int threads = 0;
    for (int i = 0; i < usedClientCount(); ++i)
        threads += clients[i].status.threadCount;
    for (int j = 0; j < usedCloudCount(); ++j)
        threads += clouds[j].status.threadCount;
    return threads;
}

void _ClientList::filter() {
    const int appFilters = kxC::usedCount(appFilterCount, appFilterCapacity);
    if (showWindows && showMac && showLinux && show64bit && show32bit && minMemory == 0 && appFilters == 0)
        return;
    bool allAppFlags = true;
    for (int i = 0; i < appFilters; ++i)
        allAppFlags = allAppFlags && appFilterFlags[i];

    const int used = usedCount();
    int visible = std::clamp<int>(visibleCount, 0, used);
    for (int i = visible - 1; i >= 0; --i) {
        const _ClientHardware& hw = byListNo.pointers[order[i]]->hardware;
        bool hidden = (hw.osType == 1 && !showWindows) || (hw.osType == 3 && !showMac) ||
                      (hw.osType == 2 && !showLinux) || (hw.is64bit != 0 && !show64bit) ||
                      (hw.is64bit == 0 && !show32bit) || hw.memory < minMemory;
        if (!hidden && appFilters > 0 && allAppFlags)
            hidden = true;
        if (!hidden)
            continue;
        std::copy(order + i + 1, order + visible, order + i);
        --visible;
    }
    visibleCount = qint16(visible);
    for (int i = 0; i < used; ++i) {
        sorted.pointers[i] = byListNo.pointers[order[i]];
        sorted.entryNumbers[i] = byListNo.entryNumbers[order[i]];
    }
}

bool _ClientList::setSortID(int id, Qt::SortOrder newOrder, const kxJ::_JobList* jobs) {
    if (id == sortID && newOrder == sortOrder)
        return false;
    sortID = id;
    sortOrder = newOrder;
    sort(jobs);
    filter();
    return true;
}

bool _ClientList::setFilter(bool windowsOn, bool macOn, bool linuxOn, bool on64bit, bool on32bit,
                            int memoryMinimum, int appCount, const qint16* appIDs, const bool* appFlags,
                            quint8 value) {
    showWindows = windowsOn;
    showMac = macOn;
    showLinux = linuxOn;
    show64bit = on64bit;
    show32bit = on32bit;
    minMemory = memoryMinimum;
    if (appIDs == nullptr || appFlags == nullptr) {
        appFilterCount = 0;
    } else {
        // The caller's count is cut to what the list holds.
        const int n = std::clamp(appCount, 0, int(appFilterCapacity));
        std::copy(appIDs, appIDs + n, appFilterIDs);
        std::copy(appFlags, appFlags + n, appFilterFlags);
        appFilterCount = qint16(n);
    }
    filterValue = value;
    sort(nullptr);
    filter();
    return true;
}

namespace {

/// Asks for every cache line of `bytes` bytes at `at`, to be written: a status lands in a record of its
/// own about 100 kB from the last, where the processor's own prefetching has to start afresh.
void prefetchForWrite(const void* at, std::size_t bytes) {
    const char* line = static_cast<const char*>(at);
    for (std::size_t offset = 0; offset < bytes; offset += 64)
        __builtin_prefetch(line + offset, 1);
}

} // namespace

bool _ClientList::importStatus(const _ClientStatusMulti* multi, bool takeCounts) {
    if (multi == nullptr)
        return false;
    bool changed = false;
    if (takeCounts) {
        // The block's counts are cut to what the list holds.
        const qint16 blockCount = qint16(kxC::usedCount(multi->count, entryCapacity));
        const qint16 blockClients = qint16(kxC::usedCount(multi->clientCount, clientCapacity));
        const qint16 blockClouds = qint16(kxC::usedCount(multi->cloudCount, cloudCapacity));
        changed = clientCount != blockClients || count != blockCount;
        count = blockCount;
        clientCount = blockClients;
        cloudCount = blockClouds;
        importedCount = blockCount;
        visibleCount = 0;
    }

    // A new order is taken only when it names every slot once; otherwise byListNo keeps the order it
    // has and still points at every slot.
    const qint16* entries = multi->entryNumbers;
    bool takeOrder = false;
    qint16 positionOfSlot[entryCapacity];
    if (changed || !std::equal(entries, entries + entryCapacity, byListNo.entryNumbers)) {
        bool named[entryCapacity] = {};
        takeOrder = true;
        for (int i = 0; i < entryCapacity && takeOrder; ++i) {
            const int slot = slotOfEntry(entries[i]);
            takeOrder = slot >= 0 && !named[slot];
            if (takeOrder) {
                named[slot] = true;
                positionOfSlot[slot] = qint16(i);
            }
        }
    }

    // Statuses, and with a new order each record's list number, slot by slot: the records lie about
    // 100 KB apart, and going through them in memory order once is far cheaper than twice or at random.
    // A record's status is its last member and its list number its first, so the list number of the
    // next record lies right behind this record's status: it is written there, in the same stretch of
    // memory, rather than 100 kB before it.
    if (takeOrder)
        clients[0].listNo = positionOfSlot[0];
    for (int i = 0; i < clientCapacity; ++i) {
        if (i + 1 < clientCapacity)
            prefetchForWrite(&clients[i + 1].status, sizeof(clients[i + 1].status));
        clients[i].status = multi->clients[i];
        if (takeOrder && i + 1 < clientCapacity)
            clients[i + 1].listNo = positionOfSlot[i + 1];
    }
    for (int j = 0; j < cloudCapacity; ++j) {
        clouds[j].status = multi->clouds[j];
        if (takeOrder)
            clouds[j].listNo = positionOfSlot[clientCapacity + j];
    }
    if (takeOrder) {
        for (int i = 0; i < entryCapacity; ++i) {
            byListNo.pointers[i] = recordOfEntry(entries[i]);
            byListNo.entryNumbers[i] = entries[i];
        }
        changed = true;
    }

    if (takeCounts)
        sort(nullptr);
    return changed;
}

bool _ClientList::importStatus_NameChanged(const _ClientStatusMulti* multi) const {
    if (multi == nullptr)
        return false;
    const int blockClients = kxC::usedCount(multi->clientCount, clientCapacity);
    const int blockClouds = kxC::usedCount(multi->cloudCount, cloudCapacity);
    for (int i = 0; i < blockClients; ++i)
        if (!multi->clients[i].name.isEqual(clients[i].status.name))
            return true;
    for (int j = 0; j < blockClouds; ++j)
        if (!multi->clouds[j].name.isEqual(clouds[j].status.name))
            return true;
    return false;
}

void _ClientList::applyConfigPresets() {
    const int used = usedCount();
    for (int i = 0; i < used; ++i) {
        _Client* record = byListNo.pointers[i];
        if (record == nullptr)
            continue;
        // Preset records 1 to 4 are the ones a client can follow; another number names no record.
        const int preset = record->config.configPreset;
        if (preset >= 1 && preset < presetCount && record != &presets[preset])
            record->config.copyFrom_nopreset(presets[preset].config);
    }
}

void _ClientList::logClientListInfo(__KXlog&, const _ClientList&, const QString&, const QString&,
                                    const QString&, const _Client*, int, bool) {}

} // namespace kxC
