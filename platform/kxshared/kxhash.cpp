// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxhash.h"

#include "kxcrc.h"

quint64 kxFNV1a64(const void* data, qint64 size) {
    quint64 h = 0xcbf29ce484222325ull;
    if (!data || size <= 0)
        return h;
    const auto* p = static_cast<const unsigned char*>(data);
    for (qint64 i = 0; i < size; ++i) {
        h ^= p[i];
        h *= 0x100000001b3ull;
    }
    return h;
}

void kxCRC_ARG2_16B_fast(const void* data, qint64 size, quint8* out) {
    if (!out)
        return;
    if (!data || size < 0)
        size = 0;
    const quint64 halves[2] = {kxFNV1a64(data, size), kxCRCCalc64(data, size)};
    for (int h = 0; h < 2; ++h)
        for (int b = 0; b < 8; ++b)
            out[h * 8 + b] = quint8(halves[h] >> (8 * b));
}
