// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "farmserver.h"

#include "clients/clientlist.h"
#include "jobs/jobid.h"
#include "jobs/jobrecords.h"
#include "renderapps/renderapprecords.h"

kxFarmServer::kxFarmServer(const QString& logPath) : context(std::make_unique<kxFarmHost>(logPath)) {}

kxFarmServer::kxFarmServer(std::unique_ptr<kxFarmHost> host) : context(std::move(host)) {}

kxFarmServer::~kxFarmServer() {
    // The plug-in goes first: nothing of it may run once the context is gone.
    library.unload();
}

int kxFarmServer::callInfo(_kxPluginInfo& info) {
    info.interfaceId = kxPluginInterfaceId;
    info.hostContext = context->pluginReference();
    return library.info(info);
}

int kxFarmServer::callNotify(kxJ::_JobSend& job) {
    _kxPluginNotify record;
    record.hostContext = context->pluginReference();
    record.job = &job;
    context->countNotify();
    return library.notify(record);
}

bool kxFarmServer::addClients(const kxSampleFarm& farm, QString& error) {
    for (const kxSampleClient& client : farm.clients) {
        const int position = context->addClient(client.name);
        if (position < 0) {
            error = QStringLiteral("%1:%2: the client '%3' cannot be added to the list")
                        .arg(client.file, QString::number(client.line), client.name);
            return false;
        }
        if (!client.pending.isEmpty())
            context->addUserMessage(position, client.pending);
    }
    return true;
}

void kxFillSampleJob(kxJ::_JobSend& job, const kxSampleJob& sample) {
    job.initialize();
    job.kxClearSubmitter();
    job.kxClearSave();
    job.kxClearSend();
    kxJ::_IDDecomp id = kxJ::_IDDecomp::fromID(0);
    id.preID = sample.member;
    id.idValue = sample.number;
    job.ID = id.toID();
    job.status = sample.status;
    job.userName.set(sample.user);
    job.sceneName.set(sample.scene);
    job.imageDir.set(sample.imageDir);
    job.imageFileName.set(sample.imageFile);
    job.messageClientNames.set(sample.recipients);
    job.renderApp.set(sample.app);
    if (!sample.appVersion.isEmpty()) {
        kxRA::_RenderAppBasic version;
        version.setVersionBoth(sample.appVersion);
        job.appVersionMajor = version.appVersionMajor;
        job.appVersionMinor = version.appVersionMinor;
    }
    job.layer.set(sample.layer);
    job.camera.set(sample.camera);
    job.channel.set(sample.channel);
    job.sceneDatabaseDir.set(sample.database);
}
