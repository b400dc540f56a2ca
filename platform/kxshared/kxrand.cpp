// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxrand.h"

quint32 kxRandFromString(const QString& text) {
    quint32 h = 2166136261u;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        h = (h ^ quint32(u & 0xFF)) * 16777619u;
        h = (h ^ quint32(u >> 8)) * 16777619u;
    }
    return h;
}
