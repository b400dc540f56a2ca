// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "farmserver.h"

#include "clients/clientlist.h"
#include "jobs/jobid.h"
#include "jobs/jobrecords.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(FarmServer, SampleJobsBecomeStampedRecordsWithFieldsCut) {
    kxSampleJob sample;
    sample.number = 123456789;
    sample.member = 26;
    sample.status = 180;
    sample.user = QString(30, QLatin1Char('u'));
    sample.scene = QStringLiteral("/p/s.ma");
    sample.imageDir = QStringLiteral("/r/");
    sample.imageFile = QStringLiteral("b.exr");
    sample.recipients = QString(60, QLatin1Char('n'));
    sample.app = QStringLiteral("Houdini");
    sample.appVersion = QStringLiteral("v20.5.332");
    sample.layer = QString(160, QLatin1Char('l'));
    sample.camera = QStringLiteral("cam1");
    sample.channel = QStringLiteral("diffuse");
    sample.database = QStringLiteral("/p/");
    auto job = std::make_unique<kxJ::_JobSend>();
    kxFillSampleJob(*job, sample);
    EXPECT_TRUE(job->isRightStructVersion());
    EXPECT_EQ(kxJ::ID2str(job->ID), QStringLiteral("{KT9bb}"));
    EXPECT_EQ(job->status, 180);
    EXPECT_EQ(job->userName.toQString(), QString(25, QLatin1Char('u')));
    EXPECT_EQ(job->messageClientNames.toQString(), QString(50, QLatin1Char('n')));
    EXPECT_EQ(job->sceneName.toQString(), sample.scene);
    EXPECT_EQ(job->renderApp.toQString(), QStringLiteral("Houdini"));
    EXPECT_EQ(job->appVersionMajor, 20);
    EXPECT_EQ(job->appVersionMinor.toQString(), QStringLiteral("5.332"));
    EXPECT_EQ(job->layer.toQString(), QString(150, QLatin1Char('l')));
    EXPECT_EQ(job->camera.toQString(), QStringLiteral("cam1"));
    EXPECT_EQ(job->channel.toQString(), QStringLiteral("diffuse"));
    EXPECT_EQ(job->sceneDatabaseDir.toQString(), QStringLiteral("/p/"));

    // Filling again leaves nothing of the earlier job behind.
    kxSampleJob plain;
    plain.number = 1;
    kxFillSampleJob(*job, plain);
    EXPECT_TRUE(job->isRightStructVersion());
    EXPECT_TRUE(job->sceneName.isEmpty());
    EXPECT_TRUE(job->messageClientNames.isEmpty());
    EXPECT_TRUE(job->renderApp.isEmpty());
    EXPECT_TRUE(job->layer.isEmpty());
    EXPECT_EQ(job->appVersionMajor, 0);
    EXPECT_EQ(job->status, 0);
}

TEST(FarmServer, ClientsAreAddedWithTheirPendingMessagesUntilTheListIsFull) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    kxFarmServer server(dir.filePath(QStringLiteral("server.log")));
    kxSampleFarm farm;
    for (int i = 0; i < 1501; ++i)
        farm.clients.append(kxSampleClient{QStringLiteral("c%1").arg(i, 4, 10, QLatin1Char('0')),
                                           i == 7 ? QStringLiteral("hello") : QString(),
                                           QStringLiteral("f.ini"), i + 1});
    QString error;
    EXPECT_FALSE(server.addClients(farm, error));
    EXPECT_EQ(error, QStringLiteral("f.ini:1501: the client 'c1500' cannot be added to the list"));
    EXPECT_EQ(server.host().clientCount(), 1500);
    EXPECT_EQ(server.host().userMessages(server.host().findClient(QStringLiteral("c0007"))),
              QStringLiteral("hello"));
    EXPECT_EQ(server.host().userMessages(server.host().findClient(QStringLiteral("c0008"))), QString());
}

TEST(FarmServer, AClientThatCannotBeAddedIsNamedLiterally) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    kxFarmServer server(dir.filePath(QStringLiteral("server.log")));
    kxSampleFarm farm;
    farm.clients.append(kxSampleClient{QStringLiteral("n%3"), QString(), QStringLiteral("f%2.ini"), 4});
    farm.clients.append(kxSampleClient{QStringLiteral("n%3"), QString(), QStringLiteral("f%2.ini"), 9});
    QString error;
    EXPECT_FALSE(server.addClients(farm, error));
    EXPECT_EQ(error, QStringLiteral("f%2.ini:9: the client 'n%3' cannot be added to the list"));
}

TEST(FarmServer, CallsReachThePluginWithThisServersContext) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    kxFarmServer server(dir.filePath(QStringLiteral("server.log")));
    QString error;
    ASSERT_TRUE(server.loadPlugin(QStringLiteral(KX_PLUGIN_FILE), error)) << error.toStdString();
    _kxPluginInfo info{};
    info.interfaceId = 0; // the server sets the identifier it speaks
    EXPECT_EQ(server.callInfo(info), 1);
    EXPECT_EQ(info.hostContext, server.host().pluginReference());
    ASSERT_GE(server.host().addClient(QStringLiteral("nodeA")), 0);
    kxSampleJob sample;
    sample.number = 42;
    sample.recipients = QStringLiteral("nodeA");
    auto job = std::make_unique<kxJ::_JobSend>();
    kxFillSampleJob(*job, sample);
    EXPECT_EQ(server.callNotify(*job), 1);
    EXPECT_EQ(server.host().notifyCount(), 1u);
    EXPECT_FALSE(server.host().userMessages(server.host().findClient(QStringLiteral("nodeA"))).isEmpty());
}

} // namespace
