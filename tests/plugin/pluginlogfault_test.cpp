// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// The plug-in with a server log that cannot be written: on a full disk, or removed while the server
// runs. Delivery does not depend on the log; the log file keeps the failure for the server to show.
#include "farmserver.h"

#include "jobs/jobid.h"
#include "jobs/jobrecords.h"

#include "tests/qstringprint.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>

namespace {

class PluginLogFault : public ::testing::Test {
protected:
    void start(const QString& logPath) {
        server = std::make_unique<kxFarmServer>(logPath);
        QString error;
        ASSERT_TRUE(server->loadPlugin(QStringLiteral(KX_PLUGIN_FILE), error)) << error.toStdString();
        for (const char* name : {"nodeA", "nodeB", "nodeC"})
            ASSERT_GE(server->host().addClient(QString::fromLatin1(name)), 0);
        job = std::make_unique<kxJ::_JobSend>();
        job->ID = kxJ::_IDDecomp{0, 0, 0, 123456789, 0}.toID(); // "{KT9 }"
        job->status = 200;
        job->userName.set(QStringLiteral("anna"));
        job->messageClientNames.set(QStringLiteral("nodeA;nodeC"));
    }
    QString pending(const char* name) {
        return server->host().userMessages(server->host().findClient(QString::fromLatin1(name)));
    }
    _kxLogfile& log() { return *server->host().mainLog; }

    std::unique_ptr<kxFarmServer> server;
    std::unique_ptr<kxJ::_JobSend> job;
};

TEST_F(PluginLogFault, AFullDiskStillDeliversToEveryNamedClient) {
    ASSERT_NO_FATAL_FAILURE(start(QStringLiteral("/dev/full")));
    ASSERT_TRUE(server->host().isLogOpen());
    for (int call = 1; call <= 3; ++call) {
        EXPECT_EQ(server->callNotify(*job), 1) << call;
        EXPECT_EQ(pending("nodeA").count(QStringLiteral("Job {KT9 } [anna] finished.")), call);
        EXPECT_EQ(pending("nodeC").count(QStringLiteral("Job {KT9 } [anna] finished.")), call);
        EXPECT_TRUE(pending("nodeB").isEmpty());
    }
    // The plug-in flushes the log after the message line of each call: the start and message lines of
    // each call are lost there, the closing line of one call with the lines of the next.
    EXPECT_EQ(log().lastError(), ENOSPC);
    EXPECT_EQ(log().lostLines(), 2u + 3u + 3u);
    EXPECT_EQ(log().errorString(),
              QStringLiteral("cannot write to the log file /dev/full: ") + qt_error_string(ENOSPC));
}

TEST_F(PluginLogFault, ALogRemovedUnderTheServerIsWrittenAnew) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("server.log"));
    ASSERT_NO_FATAL_FAILURE(start(path));
    EXPECT_EQ(server->callNotify(*job), 1);
    ASSERT_TRUE(QFile::remove(path));
    job->ID = kxJ::_IDDecomp{0, 0, 0, 42, 0}.toID();
    const QString second = kxJ::ID2str(job->ID);
    EXPECT_EQ(server->callNotify(*job), 1);
    EXPECT_EQ(pending("nodeA").count(QStringLiteral("] finished.")), 2);
    EXPECT_EQ(pending("nodeC").count(QStringLiteral("] finished.")), 2);
    ASSERT_TRUE(server->host().flushLog());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "the log was not created anew";
    const QString text = QString::fromUtf8(file.readAll());
    // The first call's closing line was still pending when the file went: the new file starts with it.
    EXPECT_TRUE(text.contains(QStringLiteral("{KT9 } kxNotifyKXMessage send to 'nodeA;nodeC'. (")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("pNotify kxMessage started for job ") + second));
    EXPECT_TRUE(text.contains(second + QStringLiteral(" kxNotifyKXMessage send to 'nodeA;nodeC'. (")));
    EXPECT_EQ(log().lostLines(), 0u);
    EXPECT_EQ(log().errorString(),
              QStringLiteral("the log file %1 was removed while open; it was created anew").arg(path));
}

} // namespace
