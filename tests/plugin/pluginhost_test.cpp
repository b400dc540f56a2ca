// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// The plug-in inside a server process that defines data-model functions of its own under the names
// the plug-in exports: the plug-in's calls stay with its own definitions.
#include "farmserver.h"

#include "jobs/jobid.h"
#include "jobs/jobrecords.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <dlfcn.h>
#include <memory>
#include <vector>

namespace {

/// Keeps every line the plug-in hands to the server's log operation.
class RecordingHost : public kxFarmHost {
public:
    using kxFarmHost::kxFarmHost;
    void writeLog(int level, int flags, const QString& text) override {
        lines.append(text);
        kxFarmHost::writeLog(level, flags, text);
    }
    QStringList lines;
};

TEST(PluginInAForeignHost, KeepsItsOwnDataModelWhenTheHostDefinesTheSameNames) {
    // The host's copy is loaded first and made global, as a server built from the same modules is.
    void* hostCopy = dlopen(KX_HOST_COPY_FILE, RTLD_NOW | RTLD_GLOBAL);
    ASSERT_NE(hostCopy, nullptr) << dlerror();
    using IdText = QString (*)(quint64);
    void* found = dlsym(RTLD_DEFAULT, "_ZN3kxJ6ID2strEy");
    ASSERT_NE(found, nullptr) << "the host's kxJ::ID2str is not visible in the process";
    IdText hostIdText;
    std::memcpy(&hostIdText, &found, sizeof(found));
    ASSERT_EQ(hostIdText(1), QStringLiteral("{HOST-COPY}"));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto recording = std::make_unique<RecordingHost>(dir.filePath(QStringLiteral("server.log")));
    RecordingHost* host = recording.get();
    kxFarmServer server(std::move(recording));
    QString error;
    ASSERT_TRUE(server.loadPlugin(QStringLiteral(KX_PLUGIN_FILE), error)) << error.toStdString();
    ASSERT_GE(host->addClient(QStringLiteral("nodeA")), 0);

    auto job = std::make_unique<kxJ::_JobSend>();
    job->ID = kxJ::_IDDecomp{0, 0, 0, 123456789, 0}.toID(); // "{KT9 }"
    job->status = 200;
    job->userName.set(QStringLiteral("anna"));
    job->messageClientNames.set(QStringLiteral("nodeA"));
    // The host's copy of the stamp check refuses every job: taken by the plug-in, the call gives 5.
    EXPECT_EQ(server.callNotify(*job), 1);

    ASSERT_EQ(host->lines.size(), 3) << host->lines.join(QLatin1Char('|')).toStdString();
    for (const QString& line : host->lines) {
        EXPECT_FALSE(line.contains(QStringLiteral("HOST-COPY"))) << line.toStdString();
        EXPECT_TRUE(line.contains(QStringLiteral("{KT9 }"))) << line.toStdString();
    }
    const QString message = host->userMessages(host->findClient(QStringLiteral("nodeA")));
    EXPECT_TRUE(message.contains(QStringLiteral("Job {KT9 } [anna] finished."))) << message.toStdString();
    EXPECT_FALSE(message.contains(QStringLiteral("HOST-COPY"))) << message.toStdString();

    server.plugin().unload();
    dlclose(hostCopy);
}

} // namespace
