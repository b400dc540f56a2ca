// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxlogfile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return f.readAll();
}

class KxLogfile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

} // namespace

TEST_F(KxLogfile, FlushHandsEveryPendingLineToTheFile) {
    ASSERT_TRUE(dir.isValid());
    _kxLogfile log;
    ASSERT_TRUE(log.open(path("main.log")));
    EXPECT_EQ(log.path(), path("main.log"));
    EXPECT_TRUE(log.addLog(QStringLiteral("first")));
    EXPECT_TRUE(log.addLog(QStringLiteral("second \u00e9\nwith a continuation")));
    EXPECT_TRUE(log.addLog(QString()));
    // Before the flush nothing need be on disk; after it everything must be, while the object lives.
    EXPECT_TRUE(log.flush());
    EXPECT_EQ(log.pendingBytes(), 0);
    EXPECT_EQ(readFile(path("main.log")), QByteArray("first\nsecond \xc3\xa9\nwith a continuation\n\n"));
    EXPECT_EQ(log.linesWritten(), 3u);
}

TEST_F(KxLogfile, OpeningAppendsToAnExistingFile) {
    {
        _kxLogfile log(path("a.log"));
        ASSERT_TRUE(log.isOpen());
        log.addLog(QStringLiteral("one"));
    } // the destructor flushes
    _kxLogfile log(path("a.log"));
    log.addLog(QStringLiteral("two"));
    log.flush();
    EXPECT_EQ(readFile(path("a.log")), QByteArray("one\ntwo\n"));
}

TEST_F(KxLogfile, ClosedOrUnopenableFileDropsLines) {
    _kxLogfile never;
    EXPECT_FALSE(never.isOpen());
    EXPECT_FALSE(never.addLog(QStringLiteral("lost")));
    EXPECT_FALSE(never.flush());
    EXPECT_EQ(never.linesSinceCriticalReset(), 0u);

    _kxLogfile bad;
    EXPECT_FALSE(bad.open(path("no/such/folder/x.log")));
    EXPECT_FALSE(bad.isOpen());
    EXPECT_EQ(bad.path(), path("no/such/folder/x.log"));
    EXPECT_FALSE(bad.addLog(QStringLiteral("lost")));
    EXPECT_FALSE(bad.open(QString()));
}

TEST_F(KxLogfile, CountAtByte512CountsLinesUntilReset) {
    _kxLogfile log(path("c.log"));
    for (int i = 0; i < 5; ++i)
        log.addLog(QStringLiteral("line %1").arg(i));
    EXPECT_EQ(log.linesSinceCriticalReset(), 5u);
    // Code that knows the object only by its layout reads and resets the count at byte 512.
    quint32 raw = 0;
    std::memcpy(&raw, reinterpret_cast<const char*>(&log) + _kxLogfile::criticalResetCountOffset, 4);
    EXPECT_EQ(raw, 5u);
    const quint32 zero = 0;
    std::memcpy(reinterpret_cast<char*>(&log) + _kxLogfile::criticalResetCountOffset, &zero, 4);
    EXPECT_EQ(log.linesSinceCriticalReset(), 0u);
    log.addLog(QStringLiteral("after"));
    EXPECT_EQ(log.linesSinceCriticalReset(), 1u);
    log.resetCriticalCount();
    EXPECT_EQ(log.linesSinceCriticalReset(), 0u);
    EXPECT_EQ(log.linesWritten(), 6u);
}

TEST_F(KxLogfile, LargeOutputIsFlushedWithoutWaitingForFlush) {
    _kxLogfile log(path("big.log"));
    const QString line(1000, QLatin1Char('x'));
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(log.addLog(line));
    // 200 lines of 1001 bytes pass the automatic flush size, so most of them are already written.
    EXPECT_LT(log.pendingBytes(), _kxLogfile::autoFlushBytes);
    EXPECT_GE(readFile(path("big.log")).size(), 200 * 1001 - _kxLogfile::autoFlushBytes);
    log.flush();
    EXPECT_EQ(readFile(path("big.log")).size(), 200 * 1001);
}

TEST_F(KxLogfile, ReopeningSwitchesFilesAndFlushesTheOldOne) {
    _kxLogfile log(path("old.log"));
    log.addLog(QStringLiteral("to old"));
    ASSERT_TRUE(log.open(path("new.log")));
    log.addLog(QStringLiteral("to new"));
    log.close();
    EXPECT_FALSE(log.isOpen());
    EXPECT_EQ(readFile(path("old.log")), QByteArray("to old\n"));
    EXPECT_EQ(readFile(path("new.log")), QByteArray("to new\n"));
}

TEST_F(KxLogfile, LinesFromSeveralThreadsStayWhole) {
    _kxLogfile log(path("threads.log"));
    const int threads = 8, perThread = 5000;
    std::atomic<bool> go{false};
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&log, &go, t] {
            const QString line = QStringLiteral("thread %1 ").arg(t) + QString(100, QLatin1Char('a' + t));
            while (!go.load())
                std::this_thread::yield();
            for (int i = 0; i < perThread; ++i) {
                log.addLog(line);
                if (i % 50 == 0)
                    log.flush();
            }
        });
    go.store(true);
    for (std::thread& w : workers)
        w.join();
    log.flush();
    const QList<QByteArray> lines = readFile(path("threads.log")).split('\n');
    ASSERT_EQ(lines.size(), threads * perThread + 1);
    for (int i = 0; i < threads * perThread; ++i) {
        const QByteArray& l = lines[i];
        ASSERT_EQ(l.size(), 109) << i;
        const char c = l.at(108);
        ASSERT_EQ(l, QByteArray("thread ") + QByteArray::number(c - 'a') + ' ' + QByteArray(100, c)) << i;
    }
    EXPECT_EQ(log.linesWritten(), quint64(threads * perThread));
}
