// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxhash.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <cstring>

TEST(KxHash, Fnv1a64KnownValues) {
    EXPECT_EQ(kxFNV1a64("", 0), 0xcbf29ce484222325ull);
    EXPECT_EQ(kxFNV1a64("a", 1), 0xaf63dc4c8601ec8cull);
    EXPECT_EQ(kxFNV1a64("foobar", 6), 0x85944171f73967e8ull);
    EXPECT_EQ(kxFNV1a64(nullptr, 5), 0xcbf29ce484222325ull);
}

// Digests of an independent BLAKE2s implementation with a digest length of 16 (the first row is the
// published empty-input vector of BLAKE2s-128).
TEST(KxHash, SixteenBytesAreBlake2s128) {
    struct Case {
        const char* data;
        qint64 size;
        const char* hex;
    };
    const Case cases[] = {
        {"", 0, "64550d6ffe2c0a01a14aba1eade0200c"},
        {"abc", 3, "aa4938119b1dc7b87cbad0ffd200d0ae"},
        {"secret", 6, "0aefdfcfe8a062450c6fd5f3037a4a19"},
        {"123456789", 9, "dce1c41568c6aa166e2f8eafce34e617"},
        {nullptr, 3, "64550d6ffe2c0a01a14aba1eade0200c"}, // no data: no bytes
        {"abc", -1, "64550d6ffe2c0a01a14aba1eade0200c"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hex);
        quint8 h[kxHash16Size];
        std::memset(h, 0xEE, sizeof h);
        kxCRC_ARG2_16B_fast(c.data, c.size, h);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(h), sizeof h).toHex(), QByteArray(c.hex));
    }
    kxCRC_ARG2_16B_fast("x", 1, nullptr); // nowhere to write: nothing happens
}

TEST(KxHash, OneBitChangesTheHash) {
    const char a[] = "password";
    char b[] = "password";
    b[7] ^= 1;
    quint8 ha[16], hb[16];
    kxCRC_ARG2_16B_fast(a, 8, ha);
    kxCRC_ARG2_16B_fast(b, 8, hb);
    EXPECT_NE(std::memcmp(ha, hb, 16), 0);
    kxCRC_ARG2_16B_fast(a, 8, hb);
    EXPECT_EQ(std::memcmp(ha, hb, 16), 0);
}
