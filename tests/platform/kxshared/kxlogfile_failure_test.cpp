// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// A log file that cannot be written: a full disk, or a file removed while open. The lines that are
// lost are counted and the reason is kept for the process to show; a removed file is created anew.
#include "kxlogfile.h"

#include "tests/qstringprint.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

TEST(KxLogfileFailure, AFullDiskLosesTheLinesAndSaysSo) {
    _kxLogfile log;
    ASSERT_TRUE(log.open(QStringLiteral("/dev/full")));
    EXPECT_TRUE(log.errorString().isEmpty());
    for (int round = 1; round <= 2; ++round) {
        EXPECT_TRUE(log.addLog(QStringLiteral("one")));
        EXPECT_TRUE(log.addLog(QStringLiteral("two")));
        EXPECT_FALSE(log.flush()) << round;
        EXPECT_EQ(log.lastError(), ENOSPC);
        EXPECT_EQ(log.lostLines(), quint64(2 * round));
        // What could not be written is not kept, so a full disk does not grow the memory.
        EXPECT_EQ(log.pendingBytes(), 0);
    }
    EXPECT_EQ(log.errorString(),
              QStringLiteral("cannot write to the log file /dev/full: ") + qt_error_string(ENOSPC));
    EXPECT_EQ(log.linesWritten(), 4u);
    // A new open starts a new account.
    ASSERT_TRUE(log.open(QStringLiteral("/dev/null")));
    EXPECT_TRUE(log.addLog(QStringLiteral("three")));
    EXPECT_TRUE(log.flush());
    EXPECT_EQ(log.lostLines(), 0u);
    EXPECT_EQ(log.lastError(), 0);
    EXPECT_TRUE(log.errorString().isEmpty());
}

TEST(KxLogfileFailure, AFileRemovedWhileOpenIsCreatedAnew) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("server.log"));
    _kxLogfile log;
    ASSERT_TRUE(log.open(path));
    log.addLog(QStringLiteral("before"));
    ASSERT_TRUE(log.flush());
    ASSERT_TRUE(QFile::remove(path));
    log.addLog(QStringLiteral("after"));
    EXPECT_TRUE(log.flush());
    EXPECT_EQ(readFile(path), QByteArray("after\n"));
    log.addLog(QStringLiteral("later"));
    EXPECT_TRUE(log.flush());
    EXPECT_EQ(readFile(path), QByteArray("after\nlater\n"));
    EXPECT_EQ(log.lostLines(), 0u);
    EXPECT_EQ(log.lastError(), 0);
    EXPECT_EQ(log.errorString(),
              QStringLiteral("the log file %1 was removed while open; it was created anew").arg(path));
}

TEST(KxLogfileFailure, AFileRemovedWithItsFolderLosesTheLinesUntilTheFolderIsBack) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("logs"));
    const QString path = folder + QStringLiteral("/server.log");
    ASSERT_TRUE(QDir().mkpath(folder));
    _kxLogfile log;
    ASSERT_TRUE(log.open(path));
    ASSERT_TRUE(QDir(folder).removeRecursively());
    log.addLog(QStringLiteral("lost"));
    EXPECT_FALSE(log.flush());
    EXPECT_EQ(log.lostLines(), 1u);
    EXPECT_EQ(log.lastError(), ENOENT);
    EXPECT_EQ(
        log.errorString(),
        QStringLiteral("the log file %1 was removed while open and cannot be created anew: ").arg(path) +
            qt_error_string(ENOENT));
    ASSERT_TRUE(QDir().mkpath(folder));
    log.addLog(QStringLiteral("back"));
    EXPECT_TRUE(log.flush());
    EXPECT_EQ(readFile(path), QByteArray("back\n"));
    EXPECT_EQ(log.lostLines(), 1u);
}

} // namespace
