// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "hostcontext.h"

#include "plugin/pluginrecords.h"

#include "clients/clientlist.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

class HostContext : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        logPath = dir.filePath(QStringLiteral("server.log"));
        host = std::make_unique<kxFarmHost>(logPath);
        ASSERT_TRUE(host->isLogOpen());
    }
    QString logOnDisk() {
        host->flushLog();
        QFile f(logPath);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    const unsigned char* bytes() const { return reinterpret_cast<const unsigned char*>(host.get()); }
    template <typename T>
    T at(std::size_t offset) const {
        T v;
        std::memcpy(&v, bytes() + offset, sizeof(T));
        return v;
    }

    QTemporaryDir dir;
    QString logPath;
    std::unique_ptr<kxFarmHost> host;
};

TEST_F(HostContext, SdkContextSitsSixteenBytesInWithTheMarks) {
    const auto* sdk = reinterpret_cast<const unsigned char*>(static_cast<__KXSDK*>(host.get()));
    EXPECT_EQ(sdk - bytes(), 16);
    EXPECT_EQ(host->pluginReference(), static_cast<const void*>(sdk));
    EXPECT_EQ(at<quint16>(28), 3844);
    EXPECT_EQ(at<quint16>(30), 24092);
    EXPECT_EQ(at<quint32>(24076), 3844u);
    EXPECT_EQ(at<quint32>(24188), 0x0A23D23Cu);
    EXPECT_EQ(at<kxC::_ClientList*>(24092), &host->clients());
    // The SDK keeps its pointers on 4-byte boundaries: copy before comparing, never bind a reference.
    _kxLogfile* const mainLog = host->mainLog;
    EXPECT_EQ(at<_kxLogfile*>(44), mainLog);
    EXPECT_NE(mainLog, nullptr);

    const kxHostContextView view(host->pluginReference());
    EXPECT_EQ(view.object(), static_cast<void*>(host.get()));
    EXPECT_TRUE(view.hasInterfaceVersion());
    EXPECT_TRUE(view.hasLayoutMarks());
    EXPECT_EQ(view.clientList(), &host->clients());
}

TEST_F(HostContext, EntryTwelveOfTheTableIsTheLogOperation) {
    // Called through the raw table, as a plug-in calls it.
    const unsigned char* table = at<const unsigned char*>(0);
    kxHostLogOperation operation;
    std::memcpy(&operation, table + 12 * sizeof(void*), sizeof(operation));
    operation(host.get(), 17, 0, QStringLiteral("through entry twelve"));
    operation(host.get(), 2, 0, QStringLiteral("a warning\nsecond line"));
    kxHostContextView(host->pluginReference()).log(17, QStringLiteral("through the view"));

    const QString log = logOnDisk();
    const QStringList lines = log.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << log.toStdString();
    // The SDK context's line: time, separator, tag or four blanks, text; continuation lines indented.
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("|     through entry twelve"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("| WRN a warning"))) << lines[1].toStdString();
    EXPECT_EQ(lines[2], QString(22, QLatin1Char(' ')) + QStringLiteral("second line"));
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral("|     through the view")));
}

TEST_F(HostContext, SwitchedOffLevelsAreNotWritten) {
    host->setLevelEnabled(17, false);
    host->writeLog(17, 0, QStringLiteral("quiet"));
    host->writeLog(2, 0, QStringLiteral("loud"));
    host->setLevelEnabled(17, true);
    host->writeLog(17, 0, QStringLiteral("again"));
    const QString log = logOnDisk();
    EXPECT_FALSE(log.contains(QStringLiteral("quiet")));
    EXPECT_TRUE(log.contains(QStringLiteral("loud")));
    EXPECT_TRUE(log.contains(QStringLiteral("again")));
}

TEST_F(HostContext, ServerOperationsOnTheClientList) {
    EXPECT_EQ(host->clientCount(), 0);
    const int b = host->addClient(QStringLiteral("nodeB"));
    const int a = host->addClient(QStringLiteral("nodeA"));
    EXPECT_GE(a, 0);
    EXPECT_GE(b, 0);
    EXPECT_EQ(host->addClient(QStringLiteral("nodeA")), -1) << "a name is taken once";
    EXPECT_EQ(host->clientCount(), 2);
    EXPECT_EQ(host->findClient(QStringLiteral("nodeA")),
              host->clients().findClient(QStringLiteral("nodeA"), -1));
    EXPECT_EQ(host->findClient(QStringLiteral("nodeC")), -1);

    const int position = host->findClient(QStringLiteral("nodeB"));
    EXPECT_TRUE(host->addUserMessage(position, QStringLiteral("one")));
    EXPECT_TRUE(host->addUserMessage(position, QStringLiteral("two")));
    EXPECT_EQ(host->userMessages(position), QStringLiteral("one\n\ntwo"));
    EXPECT_EQ(host->userMessages(host->findClient(QStringLiteral("nodeA"))), QString());
    host->clearUserMessages(position);
    EXPECT_EQ(host->userMessages(position), QString());
    for (int outside : {-1, 2, 1600}) {
        EXPECT_FALSE(host->addUserMessage(outside, QStringLiteral("x"))) << outside;
        EXPECT_EQ(host->userMessages(outside), QString()) << outside;
        host->clearUserMessages(outside);
    }
    EXPECT_EQ(host->logFilePath(), logPath);
    EXPECT_EQ(host->notifyCount(), 0u);
    host->countNotify();
    EXPECT_EQ(host->notifyCount(), 1u);
    EXPECT_TRUE(host->startTime().isSet());
}

TEST(HostContextLog, ALogThatCannotBeOpenedIsReported) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    kxFarmHost host(dir.filePath(QStringLiteral("no/such/folder/server.log")));
    EXPECT_FALSE(host.isLogOpen());
    host.writeLog(17, 0, QStringLiteral("dropped, not a crash"));
}

} // namespace
