// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "plugin/pluginrecords.h"

/// What `pNotify` does with one job event: logs through the host, checks the job's structure stamps
/// and the host's marks, composes the message for the job's status and queues it once on every client
/// of the server's list that the job's recipient text names. Returns 1 handled, 5 layout mismatch,
/// 14 no recipient, 6 when an exception ended the work (messages queued by then stay queued).
/// Keeps no state between calls.
int kxNotifyJob(const _kxPluginNotify* record);
