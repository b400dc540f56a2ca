// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
//
// The view of the client list: sorting `order` by a column's key. Every key sort reads each record's key
// once into a compact entry and sorts the entries, so that a comparison never reaches into the records
// (they lie about 100 KB apart). Key, then position, orders every pair strictly, so descending is the
// exact reverse of ascending, ties included.
#include "clients/clientlist.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kxC {

namespace {

// Orders a number of up to 32 bits, signed or not, as an unsigned 64-bit key.
quint64 numberKey(qint64 value) {
    return quint64(value + 0x80000000LL);
}

// Orders a float as an unsigned key: -0 as 0, NaN after +infinity.
quint64 floatKey(float value) {
    if (std::isnan(value))
        return 0xFFFFFFFFu;
    value += 0.0f;
    quint32 bits;
    std::memcpy(&bits, &value, sizeof(bits));
    return (bits & 0x80000000u) != 0 ? ~bits : (bits | 0x80000000u);
}

// The first eight bytes of a text, big-endian and zero-padded: where two of these differ they order the
// texts as a byte comparison with the shorter text first on a common prefix does.
quint64 prefixKey(const quint8* bytes, int length) {
    quint64 prefix = 0;
    for (int i = 0; i < 8; ++i)
        prefix = (prefix << 8) | (i < length ? bytes[i] : 0u);
    return prefix;
}

// Quicksort with the middle element as pivot and a Lomuto partition. It recurses into the smaller half
// only, so the depth stays logarithmic whatever the keys.
template <typename Entry, typename Less>
void lomutoSort(Entry* entries, int from, int to, const Less& less) {
    while (from < to) {
        std::swap(entries[from + (to - from) / 2], entries[to]);
        const Entry pivot = entries[to];
        int boundary = from;
        for (int i = from; i < to; ++i)
            if (less(entries[i], pivot))
                std::swap(entries[i], entries[boundary++]);
        std::swap(entries[boundary], entries[to]);
        if (boundary - from < to - boundary) {
            lomutoSort(entries, from, boundary - 1, less);
            from = boundary + 1;
        } else {
            lomutoSort(entries, boundary + 1, to, less);
            to = boundary - 1;
        }
    }
}

// Reads one record's key: a number, or a text with its second key.
struct KeyWriter {
    quint64& key;
    qint32& secondary;
    qint32& textLength;
    quint8* textBytes;
    int textCapacity;
    bool& byText;

    void number(qint64 value) { key = numberKey(value); }
    void text(const void* bytes, int length, qint32 second = 0) {
        length = std::clamp(length, 0, textCapacity);
        std::memcpy(textBytes, bytes, size_t(length));
        textLength = length;
        key = prefixKey(textBytes, length);
        secondary = second;
        byText = true;
    }
    template <int N>
    void units(const _kxString<N>& s, qint32 second = 0) {
        // The stored UTF-16 units byte by byte, in memory order.
        text(s.data(), 2 * s.len(), second);
    }
    template <int N>
    void bytes(const _kxString8_allSize<N>& s) {
        text(s.data(), s.len());
    }
};

} // namespace

template <typename KeyOf>
void _ClientList::sortByKey(int from, int to, bool descending, KeyOf keyOf) {
    from = std::max(from, 0);
    to = std::min(to, usedCount() - 1);
    if (from >= to)
        return;
    const int n = to - from + 1;
    bool byText = false;
    for (int i = 0; i < n; ++i) {
        SortEntry& entry = sortEntries[i];
        SortText& text = sortTexts[i];
        const int position = order[from + i];
        entry.key = 0;
        entry.secondary = 0;
        entry.position = qint16(position);
        entry.text = qint16(i);
        // A position outside the pointer array (never one that sort wrote) has no record. A record's
        // text key is written with its text only: a number sort leaves the texts alone.
        const bool named = position >= 0 && position < _ClientConstPointerArray_subclass::capacity;
        const _Client* record = named ? byListNo.pointers[position] : nullptr;
        if (record == nullptr)
            text.length = 0;
        KeyWriter writer{entry.key,  entry.secondary,         text.length,
                         text.bytes, int(sizeof(text.bytes)), byText};
        keyOf(record, position, writer);
    }

    if (!byText) {
        // A number key has at most 33 bits: packed above the position, one comparison orders both.
        for (int i = 0; i < n; ++i)
            sortNumbers[i] = (sortEntries[i].key << 16) | quint16(sortEntries[i].position);
        if (descending)
            lomutoSort(sortNumbers, 0, n - 1, [](quint64 a, quint64 b) { return a > b; });
        else
            lomutoSort(sortNumbers, 0, n - 1, [](quint64 a, quint64 b) { return a < b; });
        for (int i = 0; i < n; ++i)
            order[from + i] = qint16(quint16(sortNumbers[i]));
        return;
    }

    const SortText* texts = sortTexts;
    auto less = [texts](const SortEntry& a, const SortEntry& b) {
        if (a.key != b.key)
            return a.key < b.key;
        const SortText& ta = texts[a.text];
        const SortText& tb = texts[b.text];
        const int common = std::min(ta.length, tb.length);
        const int byBytes = std::memcmp(ta.bytes, tb.bytes, size_t(common));
        if (byBytes != 0)
            return byBytes < 0;
        if (ta.length != tb.length)
            return ta.length < tb.length;
        if (a.secondary != b.secondary)
            return a.secondary < b.secondary;
        return a.position < b.position;
    };
    if (descending)
        lomutoSort(sortEntries, 0, n - 1,
                   [&less](const SortEntry& a, const SortEntry& b) { return less(b, a); });
    else
        lomutoSort(sortEntries, 0, n - 1, less);
    for (int i = 0; i < n; ++i)
        order[from + i] = sortEntries[i].position;
}

// Each column's key sort: the worker over a range of the view, and the whole used view. `key` reads
// the key of `record` into `keys`.
#define KX_CLIENT_KEY_SORT(name, key)                                                                        \
    void _ClientList::name##_sub(int from, int to, bool descending) {                                        \
        sortByKey(from, to, descending, [](const _Client* record, int, KeyWriter& keys) {                    \
            if (record != nullptr)                                                                           \
                keys.key;                                                                                    \
        });                                                                                                  \
    }                                                                                                        \
    void _ClientList::name(bool descending) {                                                                \
        name##_sub(0, usedCount() - 1, descending);                                                          \
    }

KX_CLIENT_KEY_SORT(kxQuicksortClient_2_byName, bytes(record->status.name))
KX_CLIENT_KEY_SORT(kxQuicksortClient_2_byStatus, number(record->status.threads[0].clientStatus))
KX_CLIENT_KEY_SORT(kxQuicksortClient_2_byCpuUsage, number(record->status.cpuUsage))
KX_CLIENT_KEY_SORT(kxQuicksortClient_2_byAvMemory, number(record->status.threads[0].availMemory))
KX_CLIENT_KEY_SORT(kxQuicksortClient_2_byOS, number(record->hardware.osType))
KX_CLIENT_KEY_SORT(kxQuicksortClient_3_byUser,
                   units(record->status.user, record->status.threads[0].clientStatus))
KX_CLIENT_KEY_SORT(kxQuicksortClient_2_byVersion, bytes(record->status.version))
KX_CLIENT_KEY_SORT(kxQuicksortClient_2_byTemp, number(record->status.temperature))
KX_CLIENT_KEY_SORT(kxQuicksortClient_2_byMemory, number(record->hardware.memory))
KX_CLIENT_KEY_SORT(kxQuicksortClient_2_byCores, number(record->hardware.cores))
KX_CLIENT_KEY_SORT(kxQuicksortClient_2_byPS, number(record->hardware.performanceScore))
KX_CLIENT_KEY_SORT(kxQuicksortClient_2_byInfo, units(record->hardware.customClientInfo))

#undef KX_CLIENT_KEY_SORT

void _ClientList::QSort_Assigned(int from, int to, const float* values) {
    if (values == nullptr)
        return;
    const int used = usedCount();
    // Every number before NaN, -0 equal to 0; NaNs among themselves, and positions without a value,
    // go by position.
    sortByKey(from, to, sortOrder != Qt::AscendingOrder,
              [values, used](const _Client*, int position, KeyWriter& writer) {
                  writer.key = position >= 0 && position < used ? floatKey(values[position]) : floatKey(NAN);
              });
}

void _ClientList::sort(const kxJ::_JobList*) {
    const int used = usedCount();
    visibleCount = qint16(used);
    const bool descending = sortOrder != Qt::AscendingOrder;
    using KeySort = void (_ClientList::*)(bool);
    static constexpr KeySort keySorts[] = {
        &_ClientList::kxQuicksortClient_2_byName,     nullptr,
        &_ClientList::kxQuicksortClient_2_byStatus,   nullptr,
        &_ClientList::kxQuicksortClient_2_byCpuUsage, &_ClientList::kxQuicksortClient_2_byAvMemory,
        &_ClientList::kxQuicksortClient_2_byOS,       &_ClientList::kxQuicksortClient_3_byUser,
        &_ClientList::kxQuicksortClient_2_byVersion,  &_ClientList::kxQuicksortClient_2_byTemp,
        &_ClientList::kxQuicksortClient_2_byMemory,   &_ClientList::kxQuicksortClient_2_byCores,
        &_ClientList::kxQuicksortClient_2_byPS,       &_ClientList::kxQuicksortClient_2_byInfo,
    };
    const int columns = int(sizeof(keySorts) / sizeof(keySorts[0]));
    // Column 1 is list-number order; 3 and columns outside the table become 1.
    const KeySort keySort = sortID >= 0 && sortID < columns ? keySorts[sortID] : nullptr;
    if (keySort == nullptr)
        sortID = 1;
    for (int i = 0; i < used; ++i)
        order[i] = qint16(keySort == nullptr && descending ? used - 1 - i : i);
    if (keySort != nullptr)
        (this->*keySort)(descending);
    for (int i = 0; i < used; ++i) {
        sorted.pointers[i] = byListNo.pointers[order[i]];
        sorted.entryNumbers[i] = byListNo.entryNumbers[order[i]];
    }
}

} // namespace kxC
