// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// The four entry points the farm server finds by their plain names. They keep no state: each call
// works only on the record it is given, so they may be called in any order, any number of times.

/// Exported whatever the build's default visibility: the server resolves these names with dlsym.
#define KX_PLUGIN_ENTRY extern "C" __attribute__((visibility("default")))

/// Fills the server's info record (a _kxPluginInfo). 1 accepted, 5 interface mismatch.
KX_PLUGIN_ENTRY int pInfo(void* info);
/// Nothing to prepare; always 1.
KX_PLUGIN_ENTRY int pInit(void* unused);
/// Handles one job event (a _kxPluginNotify). 1 handled, 5 mismatch, 6 exception caught, 14 no recipient.
KX_PLUGIN_ENTRY int pNotify(void* notify);
/// Nothing to release; always 1.
KX_PLUGIN_ENTRY int pExit(void* unused);
