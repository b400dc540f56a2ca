// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxcrc.h"

#include <array>

namespace {

template <typename T, T Poly>
constexpr std::array<T, 256> makeTable() {
    std::array<T, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        T c = T(i);
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? T((c >> 1) ^ Poly) : T(c >> 1);
        table[i] = c;
    }
    return table;
}

constexpr auto crc64Table = makeTable<quint64, 0xC96C5795D7870F42ull>();
constexpr auto crc32Table = makeTable<quint32, 0xEDB88320u>();

} // namespace

quint64 kxCRCCalc64(const void* data, qint64 size) {
    if (!data || size <= 0)
        return 0;
    const auto* p = static_cast<const unsigned char*>(data);
    quint64 c = ~0ull;
    for (qint64 i = 0; i < size; ++i)
        c = crc64Table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    return ~c;
}

quint32 kxCRCCalc(const void* data, qint64 size) {
    if (!data || size <= 0)
        return 0;
    const auto* p = static_cast<const unsigned char*>(data);
    quint32 c = ~0u;
    for (qint64 i = 0; i < size; ++i)
        c = crc32Table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    return ~c;
}
