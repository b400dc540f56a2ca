// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxrand.h"

#include <gtest/gtest.h>

TEST(KxRand, StableFnvOfTheUtf16Units) {
    EXPECT_EQ(kxRandFromString(QString()), 0x811c9dc5u);
    EXPECT_EQ(kxRandFromString(QStringLiteral("a")), 0x2b24d044u);
    EXPECT_EQ(kxRandFromString(QStringLiteral("\u20AC")), 0x8892cc71u);
    EXPECT_EQ(kxRandFromString(QStringLiteral("scene_v003.ma")),
              kxRandFromString(QStringLiteral("scene_v003.ma")));
    EXPECT_NE(kxRandFromString(QStringLiteral("scene_v003.ma")),
              kxRandFromString(QStringLiteral("scene_v004.ma")));
}
