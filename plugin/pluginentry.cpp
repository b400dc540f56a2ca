// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "plugin/pluginentry.h"

#include "plugin/jobnotify.h"
#include "plugin/plugininfo.h"

int pInfo(void* info) {
    try {
        return kxFillPluginInfo(static_cast<_kxPluginInfo*>(info));
    } catch (...) {
        return kxPluginException;
    }
}

int pInit(void*) {
    return kxPluginOk;
}

int pNotify(void* notify) {
    return kxNotifyJob(static_cast<const _kxPluginNotify*>(notify));
}

int pExit(void*) {
    return kxPluginOk;
}
