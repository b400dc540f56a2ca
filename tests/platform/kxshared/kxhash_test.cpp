// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxcrc.h"
#include "kxhash.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

quint64 half(const quint8* h, int which) {
    quint64 v = 0;
    for (int b = 0; b < 8; ++b)
        v |= quint64(h[which * 8 + b]) << (8 * b);
    return v;
}

} // namespace

TEST(KxHash, Fnv1a64KnownValues) {
    EXPECT_EQ(kxFNV1a64("", 0), 0xcbf29ce484222325ull);
    EXPECT_EQ(kxFNV1a64("a", 1), 0xaf63dc4c8601ec8cull);
    EXPECT_EQ(kxFNV1a64("foobar", 6), 0x85944171f73967e8ull);
    EXPECT_EQ(kxFNV1a64(nullptr, 5), 0xcbf29ce484222325ull);
}

TEST(KxHash, SixteenBytesAreFnvThenCrc) {
    quint8 h[16];
    kxCRC_ARG2_16B_fast("123456789", 9, h);
    EXPECT_EQ(half(h, 0), kxFNV1a64("123456789", 9));
    EXPECT_EQ(half(h, 1), 0x995DC9BBDF1939FAull);

    quint8 empty[16];
    kxCRC_ARG2_16B_fast(nullptr, 3, empty);
    EXPECT_EQ(half(empty, 0), 0xcbf29ce484222325ull);
    EXPECT_EQ(half(empty, 1), 0u);
    kxCRC_ARG2_16B_fast("x", 1, nullptr); // nowhere to write: nothing happens
}

TEST(KxHash, OneBitChangesBothHalves) {
    const char a[] = "password";
    char b[] = "password";
    b[7] ^= 1;
    quint8 ha[16], hb[16];
    kxCRC_ARG2_16B_fast(a, 8, ha);
    kxCRC_ARG2_16B_fast(b, 8, hb);
    EXPECT_NE(half(ha, 0), half(hb, 0));
    EXPECT_NE(half(ha, 1), half(hb, 1));
    kxCRC_ARG2_16B_fast(a, 8, hb);
    EXPECT_EQ(std::memcmp(ha, hb, 16), 0);
}
