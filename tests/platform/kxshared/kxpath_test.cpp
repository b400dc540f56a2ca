// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxpath.h"

#include <gtest/gtest.h>

TEST(KxPath, ConvertPDToOS) {
    EXPECT_EQ(kxConvertPDToOS(QStringLiteral("//server/prj/a.ma"), kxOS_Windows),
              QStringLiteral("\\\\server\\prj\\a.ma"));
    EXPECT_EQ(kxConvertPDToOS(QStringLiteral("\\\\server\\prj\\a.ma"), kxOS_Linux),
              QStringLiteral("//server/prj/a.ma"));
    EXPECT_EQ(kxConvertPDToOS(QStringLiteral("C:\\prj/a.ma"), kxOS_Mac), QStringLiteral("C:/prj/a.ma"));
    EXPECT_EQ(kxConvertPDToOS(QStringLiteral("/mnt/prj/"), kxOS_Linux), QStringLiteral("/mnt/prj/"));
    EXPECT_EQ(kxConvertPDToOS(QString(), kxOS_Windows), QString());
}

TEST(KxPath, ThisSystem) {
    EXPECT_EQ(kxThisOS(), kxOS_Linux);
    EXPECT_EQ(kxPathSeparatorOS(), QLatin1Char('/'));
    EXPECT_EQ(kxPathSeparatorOS(kxOS_Windows), QLatin1Char('\\'));
    EXPECT_EQ(kxConvertPDToOS(QStringLiteral("a\\b/c")), QStringLiteral("a/b/c"));
}
