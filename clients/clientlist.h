// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "clients/clientrecords.h"
#include "clients/kxlog.h"
#include "runtime/kxexport.h"

#include "kxstring.h"

#include <QMutex>
#include <QString>
#include <Qt>

#include <cstddef>

namespace kxJ {
/// The server's job list, handed to the view sort; the data model does not read it.
class _JobList;
} // namespace kxJ

namespace kxC {

/// Record pointers with the entry number of each: 0 to 1499 a client slot, 10000 + j cloud connector
/// slot j. Entries that name a cloud connector point at its `_Client_CloudConnector` record, whose
/// leading part (record without status, basic status, first eight threads) is laid out as a `_Client`.
class KX_EXPORT _ClientConstPointerArray_subclass {
public:
    static constexpr int capacity = 1535;

    _Client* pointers[capacity];
    qint16 entryNumbers[capacity];
    quint8 reserved_15350[2];

    /// Exchanges the pointers and entry numbers of positions i and j.
    void swap(int i, int j);
};
static_assert(offsetof(_ClientConstPointerArray_subclass, entryNumbers) == 12280);
static_assert(sizeof(_ClientConstPointerArray_subclass) == 15352);

/// The farm's render clients: up to 1500 ordinary clients and 30 cloud connectors held inline, with
/// pointer arrays in list-number order and in the order of the current view. The list is one block of
/// about 170 MB that never allocates after construction: build it on the heap. It takes no lock; whoever
/// owns it holds `lock` around every use.
class KX_EXPORT _ClientList {
public:
    static constexpr int clientCapacity = 1500;
    static constexpr int cloudCapacity = 30;
    static constexpr int entryCapacity = clientCapacity + cloudCapacity; // 1530
    static constexpr int presetCount = 5;
    static constexpr int appFilterCapacity = 400;
    /// Entry numbers from here on name cloud connector slots.
    static constexpr qint16 cloudEntryBase = 10000;

    /// All slots cleared, no entries, sorted by list number, every filter switch on.
    explicit _ClientList(__KX& farm);
    _ClientList(const _ClientList&) = delete;
    _ClientList& operator=(const _ClientList&) = delete;

    /// Forgets all entries and rebuilds `byListNo`; the slots keep their contents.
    void clear();
    /// Fills `byListNo`: used clients, used cloud connectors, free clients, free cloud connectors, then
    /// preset records 0 to 4 at positions 1530 to 1534.
    void fillArray_mc_load();
    /// Sorts the slots and `byListNo` by list number (then name, then position) and updates `maxListNo`;
    /// with `renumber` every position then writes itself into its record's list number.
    void sort_ID_Load(bool renumber);
    /// Sorts positions `from` to `to` of `byListNo` by list number, name and position.
    void QSort_ID_Load(int from, int to);
    /// Sorts client slots `from` to `to` by list number, name and slot, moving whole records through
    /// `scratch`.
    void QSort_ID_Load_clients(int from, int to, _Client& scratch);
    /// Sorts cloud connector slots `from` to `to` likewise.
    void QSort_ID_Load_cloud(int from, int to, _Client_ALL& scratch);

    /// Adds a client (`cloudConnectorIndex` below 0) or a cloud connector named `name` with the
    /// configuration of `config`. Returns the new entry's position, with `newListNo` its new list number
    /// instead, or -1 when the list or that kind of slot is full. `byListNo` is not rebuilt: call
    /// sort_ID_Load.
    int addClient(const _kxString8_allSize<50>& name, qint8 cloudConnectorIndex,
                  const _Client_WithoutStatus& config, bool newListNo);
    /// Removes the entry at `byListNo` position `position`; later slots of its kind move down. A
    /// position outside the used entries, or one that names no used slot, changes nothing.
    void removeClient(int position, bool resort);
    /// Position in `byListNo` of the first used entry whose name is exactly `name`, else `notFound`.
    qint16 findClient(const _kxString8_allSize<50>& name, qint16 notFound) const;
    qint16 findClient(const QString& name, qint16 notFound) const;
    /// Render threads of all used client and cloud connector slots.
    int countClientThreads() const;

    /// Rebuilds the view: `order` and `sorted` in the order of `sortID` and `sortOrder`, all entries
    /// visible. Equal keys keep list-number order ascending and the reverse descending. A `sortID`
    /// outside the columns becomes 1. `jobs` may be null.
    void sort(const kxJ::_JobList* jobs);
    /// Drops from the view the entries that the operating-system, bitness, memory and application filter
    /// switches hide.
    void filter();
    /// Sorts the view by another column or order; false, and nothing done, when both are the current ones.
    bool setSortID(int id, Qt::SortOrder newOrder, const kxJ::_JobList* jobs);
    /// Stores the filter and rebuilds the view; either list pointer null means no application filter.
    bool setFilter(bool windowsOn, bool macOn, bool linuxOn, bool on64bit, bool on32bit, int memoryMinimum,
                   int appCount, const qint16* appIDs, const bool* appFlags, quint8 value);

    /// The key sorts of the view, one per column: each sorts the first `count` positions of `order` by
    /// its key, equal keys by position in `byListNo` (lower first); descending is the exact reverse.
    /// Each record's key is read once per sort. The `_sub` worker sorts positions `from` to `to` of
    /// `order` (cut to the used entries) by the key of the entries they name.
    void kxQuicksortClient_2_byName(bool descending);
    void kxQuicksortClient_2_byName_sub(int from, int to, bool descending);
    void kxQuicksortClient_2_byStatus(bool descending);
    void kxQuicksortClient_2_byStatus_sub(int from, int to, bool descending);
    void kxQuicksortClient_2_byCpuUsage(bool descending);
    void kxQuicksortClient_2_byCpuUsage_sub(int from, int to, bool descending);
    void kxQuicksortClient_2_byAvMemory(bool descending);
    void kxQuicksortClient_2_byAvMemory_sub(int from, int to, bool descending);
    void kxQuicksortClient_2_byOS(bool descending);
    void kxQuicksortClient_2_byOS_sub(int from, int to, bool descending);
    /// By the user's stored UTF-16 units, byte by byte in memory order, then thread 0's status.
    void kxQuicksortClient_3_byUser(bool descending);
    void kxQuicksortClient_3_byUser_sub(int from, int to, bool descending);
    void kxQuicksortClient_2_byVersion(bool descending);
    void kxQuicksortClient_2_byVersion_sub(int from, int to, bool descending);
    void kxQuicksortClient_2_byTemp(bool descending);
    void kxQuicksortClient_2_byTemp_sub(int from, int to, bool descending);
    void kxQuicksortClient_2_byMemory(bool descending);
    void kxQuicksortClient_2_byMemory_sub(int from, int to, bool descending);
    void kxQuicksortClient_2_byCores(bool descending);
    void kxQuicksortClient_2_byCores_sub(int from, int to, bool descending);
    void kxQuicksortClient_2_byPS(bool descending);
    void kxQuicksortClient_2_byPS_sub(int from, int to, bool descending);
    /// By the custom client info text, compared like the user.
    void kxQuicksortClient_2_byInfo(bool descending);
    void kxQuicksortClient_2_byInfo_sub(int from, int to, bool descending);
    /// Sorts positions `from` to `to` of `order` (cut to the used entries) by `values`, one per
    /// `byListNo` position, in `sortOrder`: ascending puts NaN after every number, descending is the
    /// exact reverse; equal values go by position. A null array changes nothing.
    void QSort_Assigned(int from, int to, const float* values);

    /// Takes the status of every slot from the server's block (the configuration part stays), with
    /// `takeCounts` its counts too, and its list-number order when that differs. The order is taken
    /// only when its 1530 entry numbers name every slot once. Returns whether the list changed shape:
    /// other counts, or another order taken. A null block changes nothing.
    bool importStatus(const _ClientStatusMulti* multi, bool takeCounts);
    /// Whether a name in the block's used client or cloud connector slots differs from the list's.
    bool importStatus_NameChanged(const _ClientStatusMulti* multi) const;
    /// Gives every used entry that follows preset 1 to 4 that preset's configuration (its own preset
    /// numbers, thread count and thread settings stay). Other preset numbers change nothing.
    void applyConfigPresets();
    /// Kept for the interface; writes nothing.
    static void logClientListInfo(__KXlog& log, const _ClientList& list, const QString& textA,
                                  const QString& textB, const QString& textC, const _Client* client,
                                  int number, bool flag);

    /// Entries, clients and cloud connectors in use, each stored count cut to its capacity.
    int usedCount() const;
    int usedClientCount() const;
    int usedCloudCount() const;
    /// The slot an entry number names, clients first (0 to 1499) and then cloud connectors (1500 to
    /// 1529), or -1.
    static int slotOfEntry(qint16 entryNumber);
    /// The record of an entry number, or null for a number that names no slot.
    _Client* recordOfEntry(qint16 entryNumber);

    __KX& farm;
    qint32 sortID;           ///< column of the view; 1 is list-number order
    Qt::SortOrder sortOrder; ///< ascending after construction
    bool showWindows;
    bool showMac;
    bool showLinux;
    bool show64bit;
    bool show32bit;
    quint8 reserved_21[3];
    qint32 minMemory;
    qint16 appFilterCount;
    qint16 appFilterIDs[appFilterCapacity];
    bool appFilterFlags[appFilterCapacity];
    quint8 filterValue;
    quint8 reserved_1231[1];
    qint16 visibleCount; ///< entries of the view that pass the filter
    qint16 count;        ///< entries in use: clients plus cloud connectors
    qint16 changeCount;
    qint16 clientCount; ///< client slots in use, the first ones; read by the plug-in
    qint16 cloudCount;
    quint8 reserved_1242[2];
    _Client_CloudConnector clouds[cloudCapacity];
    _Client clients[clientCapacity];
    quint8 flag_169108004;
    quint8 reserved_169108005[1];
    qint16 importedCount;
    qint16 maxListNo;       ///< highest list number in use; -1 for an empty list
    qint16 value_169108010; ///< 4 after construction
    quint8 reserved_169108012[4];
    _ClientConstPointerArray_subclass byListNo; ///< all entries in list-number order; read by the plug-in
    qint16 order[entryCapacity];                ///< positions into `byListNo` in the order of the view
    quint8 reserved_169126428[4];
    _ClientConstPointerArray_subclass sorted; ///< `byListNo` in the order of the view
    _Client presets[presetCount];             ///< preset p is record p
    QMutex lock;
    QString text;

private:
    // Work records for the list-number sort of the slots, kept here so that sorting never allocates.
    _Client scratchClient;
    _Client_ALL scratchCloud;

    // One entry of a view sort: the key as an unsigned number (for a text its first eight bytes), a
    // second key, the `byListNo` position, and where the whole text key lies.
    struct SortEntry {
        quint64 key;
        qint32 secondary;
        qint16 position;
        qint16 text;
    };
    // A text key copied out of its record, compared where the first eight bytes tie.
    struct SortText {
        qint32 length;
        quint8 bytes[200];
    };
    // The keys of the running sort, read once from the records; kept here so that sorting never
    // allocates.
    SortEntry sortEntries[entryCapacity];
    SortText sortTexts[entryCapacity];
    // A number key and its position packed into one value (key above the 16-bit position).
    quint64 sortNumbers[entryCapacity];

    // Sorts positions from..to of `order` by the key `keyOf` reads from each record (defined where the
    // key sorts are).
    template <typename KeyOf>
    void sortByKey(int from, int to, bool descending, KeyOf keyOf);
};

} // namespace kxC

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
// The server and the plug-in read these at fixed offsets.
static_assert(offsetof(kxC::_ClientList, sortID) == 8);
static_assert(offsetof(kxC::_ClientList, minMemory) == 24);
static_assert(offsetof(kxC::_ClientList, appFilterIDs) == 30);
static_assert(offsetof(kxC::_ClientList, filterValue) == 1230);
static_assert(offsetof(kxC::_ClientList, visibleCount) == 1232);
static_assert(offsetof(kxC::_ClientList, clientCount) == 1238);
static_assert(offsetof(kxC::_ClientList, clouds) == 1244);
static_assert(offsetof(kxC::_ClientList, clients) == 6118004);
static_assert(offsetof(kxC::_ClientList, maxListNo) == 169108008);
static_assert(offsetof(kxC::_ClientList, byListNo) == 169108016);
static_assert(offsetof(kxC::_ClientList, sorted) == 169126432);
static_assert(offsetof(kxC::_ClientList, presets) == 169141784);
#pragma GCC diagnostic pop
