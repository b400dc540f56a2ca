// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "plugin/plugininfo.h"

#include <QtGlobal>

int kxFillPluginInfo(_kxPluginInfo* info) {
    if (info == nullptr)
        return kxPluginInterfaceMismatch;

    // The identifier is written back in every case, so the server sees which interface answered.
    const quint16 incoming = info->interfaceId;
    info->interfaceId = kxPluginInterfaceId;
    if (incoming != kxPluginInterfaceId)
        return kxPluginInterfaceMismatch;

    kxWriteInfoText(info->frameworkVersion, kxFrameworkVersion);
    kxWriteInfoText(info->qtVersion, qVersion());
    info->pluginKind = 1;
    kxWriteInfoText(info->name, kxPluginName);
    kxWriteInfoText(info->credit, kxPluginCredit);
    kxWriteInfoText(info->pluginVersion, kxPluginVersion);

    if (info->hostContext == nullptr)
        return kxPluginInterfaceMismatch;
    if (!kxHostContextView(info->hostContext).hasInterfaceVersion())
        return kxPluginInterfaceMismatch;

    info->flag = 0;
    info->value = 0;
    return kxPluginOk;
}
