// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "kxsharedexport.h"
#include "kxtime.h"

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

/// The folder of `path`, ending in `sep`: the path cut after its last separator. A path that ends in
/// the separator names a folder, and its folder is the one above it, so each call goes up one level:
/// "/a/b/c.exr" gives "/a/b/", "/a/b/" gives "/a/", "/a/" gives "/". A path without a separator (a bare
/// file name) and the root itself ("/") give an empty text, so repeated calls end.
KXSHARED_EXPORT QString kxGetDirName(const QString& path, QChar sep = QLatin1Char('/'));

/// True when `path` names an existing file (a folder is not a file; a link counts as what it points to).
/// `fileTime` receives the file's last modification time, or is cleared when there is no such file.
KXSHARED_EXPORT bool kxFileExists(const QString& path, _kxTime& fileTime);
