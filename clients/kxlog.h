// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "runtime/kxexport.h"

#include <QString>

/// The server's farm object. The data model only passes it along by reference and never reads it.
class __KX;

/// The log interface of the process that owns the client records: status setters report their changes
/// through it. The farm process implements it; levels are those of the SDK context (3 and above are
/// information and detail).
class KX_EXPORT __KXlog {
public:
    virtual ~__KXlog() = default;
    /// Writes one message at `level`; `flags` as for the SDK context's writeLog.
    virtual void writeLog(int level, int flags, const QString& text) = 0;
};
