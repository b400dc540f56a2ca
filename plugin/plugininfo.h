// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "plugin/pluginrecords.h"

#include "kxstring.h"

/// Texts the plug-in reports about itself in the info record.
constexpr const char kxPluginName[] = "kxMessage";
constexpr const char kxPluginVersion[] = "1.0";
constexpr const char kxPluginCredit[] = "kxNotifyKXMessage authors - job notification plug-in (Apache-2.0)";

/// Writes 8-bit text into an info-record field: the length word, each byte widened to one UTF-16 unit,
/// then a 0 unit. The text is cut to the field's capacity; the field's second header word is the
/// server's and stays as it is. A null text leaves the field untouched.
template <int N>
void kxWriteInfoText(_kxString<N>& field, const char* text) {
    if (text == nullptr)
        return;
    int count = 0;
    while (count < N && text[count] != 0) {
        field.text[count] = static_cast<unsigned char>(text[count]);
        ++count;
    }
    field.text[count] = 0;
    field.length = static_cast<quint16>(count);
}

/// What `pInfo` does: checks the interface identifier and the host's interface version, and fills the
/// record. Returns 1, or 5 on a mismatch (see kxPluginResult).
int kxFillPluginInfo(_kxPluginInfo* info);
