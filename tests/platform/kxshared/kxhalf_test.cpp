// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxhalf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(KxHalf, InitGivesZero) {
    kxHalf h;
    h.bits = 0xABCD;
    h.init();
    EXPECT_EQ(h.bits, 0);
    EXPECT_EQ(h.toFloat(), 0.0f);
}

TEST(KxHalf, KnownValues) {
    struct Case {
        float value;
        quint16 bits;
    } cases[] = {
        {0.0f, 0x0000},
        {-0.0f, 0x8000},
        {1.0f, 0x3C00},
        {-2.0f, 0xC000},
        {0.5f, 0x3800},
        {65504.0f, 0x7BFF},                 // largest finite half
        {std::ldexp(1.0f, -14), 0x0400},    // smallest normal
        {std::ldexp(1.0f, -24), 0x0001},    // smallest subnormal
        {std::ldexp(1023.0f, -24), 0x03FF}, // largest subnormal
        {std::numeric_limits<float>::infinity(), 0x7C00},
        {-std::numeric_limits<float>::infinity(), 0xFC00},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(kxHalf::bitsFromFloat(c.value), c.bits) << c.value;
        EXPECT_EQ(kxHalf::floatFromBits(c.bits), c.value) << c.value;
    }
    EXPECT_TRUE(std::signbit(kxHalf::floatFromBits(0x8000)));
}

TEST(KxHalf, RoundsToNearestEven) {
    struct Case {
        float value;
        quint16 bits;
    } cases[] = {
        {1.0f + std::ldexp(1.0f, -11), 0x3C00},         // halfway, down to even
        {1.0f + 3 * std::ldexp(1.0f, -11), 0x3C02},     // halfway, up to even
        {1.0f + std::ldexp(1.0f, -11) * 1.01f, 0x3C01}, // above halfway
        {0.1f, 0x2E66},
        {65519.0f, 0x7BFF}, // below the halfway point to infinity
        {65520.0f, 0x7C00}, // halfway to infinity: to even, infinity
        {1e6f, 0x7C00},
        {std::ldexp(1.0f, -25), 0x0000}, // halfway to the smallest subnormal: to even
        {std::ldexp(1.5f, -25), 0x0001},
        {std::ldexp(3.0f, -25), 0x0002}, // 1.5 steps: to even
        {std::ldexp(1.0f, -30), 0x0000},
        {std::ldexp(2047.0f, -25), 0x0400}, // the largest subnormal rounds up into normals
    };
    for (const Case& c : cases)
        EXPECT_EQ(kxHalf::bitsFromFloat(c.value), c.bits) << c.value;
}

TEST(KxHalf, NaNStaysNaN) {
    const quint16 bits = kxHalf::bitsFromFloat(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(bits & 0x7C00, 0x7C00);
    EXPECT_NE(bits & 0x03FF, 0);
    EXPECT_TRUE(std::isnan(kxHalf::floatFromBits(bits)));
    kxHalf h;
    h.setFloat(-3.25f);
    EXPECT_EQ(h.toFloat(), -3.25f);
}
