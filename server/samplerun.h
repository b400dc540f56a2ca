// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

/// What one run of the sample farm uses.
struct kxSampleRunOptions {
    QStringList farmFiles; ///< sample farm files, read in order
    QString pluginPath;    ///< the plug-in library to load
    QString logPath;       ///< where the server log goes; empty for a temporary file removed afterwards
    bool strict = false;   ///< a job that reached nobody, named nobody or an unknown client fails the run
    bool json = false;     ///< one JSON document in place of the text
};

/// Exit codes of kxfarmserver.
enum kxSampleRunExit : int {
    kxSampleRunOk = 0,     ///< the farm ran
    kxSampleRunFault = 1,  ///< a sample file, the plug-in or the log could not be used
    kxSampleRunUsage = 2,  ///< an unknown option or a missing value
    kxSampleRunStrict = 3, ///< with --strict: a job reached nobody, named nobody or an unknown client
};

/// Runs a sample farm as the server would: loads the plug-in, calls pInfo and pInit, fills the client
/// list, hands every job event to pNotify, calls pExit; then prints the return codes, the server log as
/// the plug-in wrote it and each client's pending user messages to `out`. Faults (a malformed sample
/// file, a plug-in that cannot be loaded, a log that cannot be opened) and warnings (text the clients
/// cannot be shown) go to `err`. Returns the process exit code, a kxSampleRunExit.
int kxRunSampleFarm(const kxSampleRunOptions& options, QTextStream& out, QTextStream& err);
