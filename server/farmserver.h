// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "hostcontext.h"
#include "pluginloader.h"
#include "samplefarm.h"

#include <QString>

#include <memory>

namespace kxJ {
struct _JobSend;
}

/// The stand-in farm server around a notification plug-in: its host context, the plug-in loaded by
/// file name, and the calls a server makes (info, init, one notify per job event, exit).
class kxFarmServer {
public:
    /// A server whose main log is appended to `logPath`.
    explicit kxFarmServer(const QString& logPath);
    /// A server around a host context of the caller's making (a server variant, or a test's).
    explicit kxFarmServer(std::unique_ptr<kxFarmHost> host);
    ~kxFarmServer();

    kxFarmHost& host() { return *context; }
    kxPluginLibrary& plugin() { return library; }

    /// Loads the plug-in; see kxPluginLibrary::load.
    bool loadPlugin(const QString& path, QString& error) { return library.load(path, error); }
    /// Calls pInfo with `info`, its identifier set to the interface the server speaks and its host
    /// reference set to this server's context.
    int callInfo(_kxPluginInfo& info);
    int callInit() { return library.init(); }
    /// Hands the job event to pNotify with this server's context.
    int callNotify(kxJ::_JobSend& job);
    int callExit() { return library.exit(); }

    /// Adds the sample's clients (and their pending messages) to the list. Returns false with the file
    /// and line of the first client that could not be added.
    bool addClients(const kxSampleFarm& farm, QString& error);

private:
    std::unique_ptr<kxFarmHost> context;
    kxPluginLibrary library;
};

/// A job record as the server sends it, stamped and cleared, with the sample's identifier, status, user,
/// scene, output, recipients, application and version, layer, camera, channel and project folder (each
/// cut to its field).
void kxFillSampleJob(kxJ::_JobSend& job, const kxSampleJob& sample);
