// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxintlist.h"

#include <gtest/gtest.h>

TEST(KxIntListColors, DefaultPaletteAndBounds) {
    _intList_Colors list;
    ASSERT_EQ(list.size(), _intList_Colors::defaultPaletteSize);
    EXPECT_EQ(list.value(0), 0x000000u);
    EXPECT_EQ(list.value(1), 0xFFFFFFu);
    EXPECT_EQ(list.value(30), 0x00A000u);
    EXPECT_EQ(list.value(-1), 0u);
    EXPECT_EQ(list.value(_intList_Colors::defaultPaletteSize), 0u);

    list.clear();
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(list.value(0), 0u);
    for (int i = 0; i < _intList_Colors::capacity; ++i)
        EXPECT_TRUE(list.append(quint32(i + 1)));
    EXPECT_FALSE(list.append(99)) << "a full list takes nothing more";
    EXPECT_EQ(list.value(_intList_Colors::capacity - 1), quint32(_intList_Colors::capacity));

    list.setDefaultPalette();
    EXPECT_EQ(list.size(), _intList_Colors::defaultPaletteSize);
    list.count = -3; // a list damaged in memory reads as empty, never outside its entries
    EXPECT_EQ(list.size(), 0);
    list.count = 1 << 20;
    EXPECT_EQ(list.size(), _intList_Colors::capacity);
    EXPECT_FALSE(list.append(1));
}
