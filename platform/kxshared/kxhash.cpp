// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxhash.h"

#include <QCryptographicHash>

#include <cstring>

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
    QCryptographicHash hash(QCryptographicHash::Blake2s_128);
    hash.addData(QByteArrayView(static_cast<const char*>(data), size));
    const QByteArrayView digest = hash.resultView();
    static_assert(kxHash16Size == 16, "BLAKE2s-128 gives 16 bytes");
    std::memcpy(out, digest.data(), kxHash16Size);
}
