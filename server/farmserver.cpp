// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "farmserver.h"

#include "clients/clientlist.h"
#include "jobs/jobid.h"
#include "jobs/jobrecords.h"
#include "renderapps/renderapprecords.h"

#include "kxinisettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

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

void kxFillSampleClient(kxC::_Client_ALL& client, const kxSampleClient& sample, int listNo) {
    client.clear();
    client.status.name.set(sample.name);
    client.listNo = listNo;
    client.config.configPreset = sample.preset;
    client.config.configThreadCount = sample.threads;
    kxC::_ClientHardware& hw = client.hardware;
    hw.memory = sample.memory;
    hw.cores = sample.cores;
    hw.cpuGhz = sample.ghz;
    hw.osType = sample.osType;
    hw.osVersion = sample.osVersion;
    hw.is64bit = 1;
    // The reader refuses more applications than the record holds; the cut only guards the record.
    const int appCount = kxC::usedCount(int(sample.apps.size()), kxC::_Client_configPart::renderAppCapacity);
    for (int i = 0; i < appCount; ++i) {
        const kxSampleRenderApp& from = sample.apps[i];
        kxRA::_ClientRenderApp& app = client.renderApps[i];
        app.clear();
        app.name.set(from.name);
        app.versionMajor = from.versionMajor;
        app.versionMinor.set(from.versionMinor);
        app.executable.set(from.executable);
        app.parameter.set(from.parameter);
    }
    client.renderAppCount = qint16(appCount);
    if (!sample.pending.isEmpty())
        client.userMessage.add(_kxString<kxC::_ClientUserMessage::capacity>(sample.pending));
}

kxClientCfgWrite kxWriteClientCfgFile(const QString& path, kxC::_Client_ALL& client, bool forceListNo,
                                      bool compactApps, QString& group) {
    // The settings object would create a missing folder and replace whatever stands at the path; a
    // typing slip should neither grow folders nor overwrite a device or a folder.
    const QFileInfo out(path);
    if (!out.absoluteDir().exists())
        return kxClientCfgWrite::noFolder;
    if (out.exists() && !out.isFile())
        return kxClientCfgWrite::notAFile;
    // The settings object drops the lines it cannot read when it writes the file back: such a file is
    // refused and left as it is, rather than losing an admin's hand edits.
    if (out.exists()) {
        QSettings existing(path, QSettings::IniFormat);
        // Reading every key makes the reader look at every line; a line that holds no key only shows
        // in the status then.
        existing.allKeys();
        if (existing.status() != QSettings::NoError)
            return kxClientCfgWrite::notSettings;
    }
    _iniSettings ini(path);
    group = ini.findNameSpelling(client.status.name.toQString());
    if (!client.writeClientCfg(ini, forceListNo, compactApps))
        return kxClientCfgWrite::noGroup;
    // The settings object replaces the file as a whole or not at all.
    return ini.sync() ? kxClientCfgWrite::written : kxClientCfgWrite::notWritten;
}
