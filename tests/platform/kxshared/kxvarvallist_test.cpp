// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxvarvallist.h"

#include <gtest/gtest.h>

TEST(KxVarValList, KeepsOrderAndFindsTheFirstMatchIgnoringCase) {
    _varValList list;
    EXPECT_TRUE(list.isEmpty());
    EXPECT_FALSE(list.flag);
    list.add(QStringLiteral("ImageDir"), QStringLiteral("/out/"));
    list.add(QStringLiteral("App"), QStringLiteral("Maya"));
    list.add(QStringLiteral("imagedir"), QStringLiteral("/second/"));
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.name(1), QStringLiteral("App"));
    EXPECT_EQ(list.value(2), QStringLiteral("/second/"));
    EXPECT_EQ(list.indexOf(QStringLiteral("IMAGEDIR")), 0);
    EXPECT_EQ(list.valueOf(QStringLiteral("imageDir")), QStringLiteral("/out/"));
    EXPECT_TRUE(list.contains(QStringLiteral("app")));
    EXPECT_FALSE(list.contains(QStringLiteral("Ap")));
    EXPECT_TRUE(list.valueOf(QStringLiteral("missing")).isEmpty());
    EXPECT_TRUE(list.name(3).isEmpty());
    EXPECT_TRUE(list.value(-1).isEmpty());

    list.flag = true;
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_FALSE(list.flag);
}
