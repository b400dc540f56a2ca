// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxpath.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

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

TEST(KxPath, GetDirNameGoesUpOneLevelPerCall) {
    struct Case {
        const char* path;
        char sep;
        const char* folder;
    };
    const Case cases[] = {
        {"/a/b/c.exr", '/', "/a/b/"},
        {"/a/b/", '/', "/a/"},
        {"/a/", '/', "/"},
        {"/", '/', ""},
        {"", '/', ""},
        {"c.exr", '/', ""},
        {"rel/c.exr", '/', "rel/"},
        {"C:\\prj\\scenes\\a.ma", '\\', "C:\\prj\\scenes\\"},
        {"C:\\prj\\scenes\\a.ma", '/', ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kxGetDirName(QString::fromLatin1(c.path), QLatin1Char(c.sep)),
                  QString::fromLatin1(c.folder))
            << c.path;
    // Repeated calls end at an empty text.
    QString p = QStringLiteral("/x/y/z/f.ma");
    int steps = 0;
    while (!p.isEmpty() && steps < 10) {
        p = kxGetDirName(p);
        ++steps;
    }
    EXPECT_EQ(steps, 5); // /x/y/z/, /x/y/, /x/, /, ""
}

TEST(KxPath, FileExistsGivesTheFileTime) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("stats.kxdb"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.close();
    const QDateTime stamp = QDateTime::fromSecsSinceEpoch(1700000000);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(stamp, QFileDevice::FileModificationTime));
    f.close();

    _kxTime t = _kxTime::fromSeconds(5);
    EXPECT_TRUE(kxFileExists(file, t));
    EXPECT_EQ(t.t, 1700000000);

    // A folder, a missing file and an empty path are no files, and their time is not set.
    const QString missing[] = {dir.path(), dir.filePath(QStringLiteral("none.kxdb")), QString()};
    for (const QString& path : missing) {
        t = _kxTime::fromSeconds(5);
        EXPECT_FALSE(kxFileExists(path, t)) << path.toStdString();
        EXPECT_FALSE(t.isSet());
    }
}
