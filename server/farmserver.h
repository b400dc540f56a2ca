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
namespace kxC {
struct _Client_ALL;
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

/// The client record the server would hold for a sample client: cleared, then named and given the
/// sample's list number, hardware, render threads, preset, render applications and pending message.
void kxFillSampleClient(kxC::_Client_ALL& client, const kxSampleClient& sample, int listNo);

/// What became of writing a client into a client configuration file.
enum class kxClientCfgWrite {
    written,
    noFolder,    ///< the file's folder does not exist (it is not created)
    notAFile,    ///< something other than a regular file stands at the path
    notSettings, ///< the file holds lines that are no ini-style settings; it is left as it is
    noGroup,     ///< the client's name gives no group of its own; nothing is written
    notWritten,  ///< the file could not be written; what was there stays whole
};

/// Writes `client` into its group of the client configuration file `path`, as the server writes it
/// (the record is repaired and changed as writeClientCfg changes it); an existing file keeps its other
/// groups. `group` receives the group's spelling in the file. The file is replaced whole or not at all.
kxClientCfgWrite kxWriteClientCfgFile(const QString& path, kxC::_Client_ALL& client, bool forceListNo,
                                      bool compactApps, QString& group);
