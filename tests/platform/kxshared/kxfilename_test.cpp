// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxfilename.h"

#include "tests/qstringprint.h"

#include <gtest/gtest.h>

TEST(KxFileName, FileNameBase) {
    const struct {
        const char* name;
        char sep;
        const char* base;
    } cases[] = {
        {"/a/b/shot.v2.ma", '/', "shot.v2"},
        {"shot.ma", '/', "shot"},
        {".hidden", '/', ".hidden"},
        {"/a/b/", '/', ""},
        {"C:\\a\\b.ma", '\\', "b"},
        {"C:\\a\\b.ma", '/', "C:\\a\\b"},
        {"noext", '/', "noext"},
        {"", '/', ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kxGetFileNameBase(QString::fromLatin1(c.name), QLatin1Char(c.sep)),
                  QString::fromLatin1(c.base))
            << c.name;
}

TEST(KxFileName, PathResolve) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"/a/b/../c", "/a/c"},
        {"/a/./b/.", "/a/b/"},
        {"/a/b/..", "/a/"},
        {"/../a", "/a"},                         // the root is never left
        {"//srv/share/../../x", "//srv/x"},      // nor the server of a UNC path
        {"\\\\srv\\share\\..\\x", "\\\\srv\\x"}, // separators keep their form
        {"C:\\a\\..\\b", "C:\\b"},
        {"C:/..", "C:/"},
        {"a/../../b", "../b"}, // relative stays relative
        {"./a/b/../c", "./a/c"},
        {"a/..", "."},
        {"../x", "../x"},
        {"/out/<Layer>/../x", "/out/<Layer>/../x"}, // a variable may stand for several folders
        {"/a//../b", "/a//../b"},
        {"<SceneFolder>../x", "<SceneFolder>../x"},
        {"a/.../b", "a/.../b"},
        {"img.####.exr", "img.####.exr"},
        {"render -o /a/b/../c -x 1", "render -o /a/c -x 1"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kxPathResolve(QString::fromLatin1(c.in)), QString::fromLatin1(c.out)) << c.in;
}

TEST(KxFileName, Cleaning) {
    const QString nasty = QStringLiteral("a/b\\c:d*e?f\"g<h>i|j k\x01l\x7Fm");
    EXPECT_EQ(kxRemoveIllegalCharFromFile(nasty, true, false), QStringLiteral("abcdefg<h>i|j klm"));
    EXPECT_EQ(kxRemoveIllegalCharFromFile(nasty, false, true), QStringLiteral("a/b\\cdefg<h>i|j_klm"));
    EXPECT_EQ(kxRemoveIllegalCharFromFile(QStringLiteral(".."), true, false), QStringLiteral("_"));
    EXPECT_EQ(kxRemoveIllegalCharFromFile(QStringLiteral("."), true, false), QStringLiteral("_"));
    EXPECT_EQ(kxRemoveIllegalCharFromFile(QStringLiteral(".."), false, false), QStringLiteral(".."));
    EXPECT_EQ(kxRemoveIllegalCharFromFile(QStringLiteral("<auto>"), true, false), QStringLiteral("<auto>"));

    EXPECT_EQ(kxRemoveIllegalCharFromDir(QStringLiteral("C:/a:b/c*?\"|d e/"), true, false, false),
              QStringLiteral("C:/ab/cd e/"));
    EXPECT_EQ(kxRemoveIllegalCharFromDir(QStringLiteral("C:/a:b/"), false, true, false),
              QStringLiteral("C:/a:b/"));
    EXPECT_EQ(kxRemoveIllegalCharFromDir(QStringLiteral("//srv//a///b\\\\c/"), true, false, true),
              QStringLiteral("//srv/a/b\\c/"));
    EXPECT_EQ(kxRemoveIllegalCharFromDir(QStringLiteral("/a b/<Layer>/"), false, true, false),
              QStringLiteral("/a_b/<Layer>/"));

    EXPECT_EQ(kxRemoveIllegalCharFromHtmlFile(QStringLiteral("beauty pass/v1_2-x.y\\z<>:|?&%é")),
              QStringLiteral("beautypass/v1_2-x.y\\zé"));
}
