// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "kxsharedexport.h"

#include <QString>

/// Operating-system codes as records carry them.
enum _kxOSCode : int {
    kxOS_Windows = 1,
    kxOS_Linux = 2,
    kxOS_Mac = 3,
};

/// The code of the system this library was built for.
KXSHARED_EXPORT int kxThisOS();

/// The path separator of operating system `os`: "\" for Windows, "/" for every other code.
KXSHARED_EXPORT QChar kxPathSeparatorOS(int os);
/// The path separator of this system.
inline QChar kxPathSeparatorOS() {
    return kxPathSeparatorOS(kxThisOS());
}

/// A path from the records' internal form ("/" between folders) in the form of operating system `os`:
/// for Windows every "/" becomes "\"; for every other code every "\" becomes "/", so a Windows path
/// arriving on Linux or macOS is usable there. Nothing else changes.
KXSHARED_EXPORT QString kxConvertPDToOS(const QString& path, int os);
/// kxConvertPDToOS for this system.
KXSHARED_EXPORT QString kxConvertPDToOS(const QString& path);
