// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxcrc.h"

#include <gtest/gtest.h>

TEST(KxCrc, KnownCheckValues) {
    // The standard check input "123456789" of both algorithms.
    const char check[] = "123456789";
    EXPECT_EQ(kxCRCCalc64(check, 9), 0x995DC9BBDF1939FAull);
    EXPECT_EQ(kxCRCCalc(check, 9), 0xCBF43926u);
}

TEST(KxCrc, NoBytesAndNullGiveZero) {
    EXPECT_EQ(kxCRCCalc64(nullptr, 10), 0u);
    EXPECT_EQ(kxCRCCalc64("abc", 0), 0u);
    EXPECT_EQ(kxCRCCalc(nullptr, 10), 0u);
    EXPECT_EQ(kxCRCCalc("abc", -1), 0u);
}

TEST(KxCrc, EqualBytesEqualSumsOneBitDiffers) {
    unsigned char a[64] = {}, b[64] = {};
    EXPECT_EQ(kxCRCCalc64(a, 64), kxCRCCalc64(b, 64));
    b[63] ^= 1;
    EXPECT_NE(kxCRCCalc64(a, 64), kxCRCCalc64(b, 64));
    EXPECT_NE(kxCRCCalc(a, 64), kxCRCCalc(b, 64));
}
