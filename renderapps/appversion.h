// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// Versions of render applications read from their executable paths. Paths use "/" between folders.

#include "runtime/kxexport.h"

#include <QString>

namespace kxRA {

/// The path as a version-independent pattern: version digits, service-pack and subscription texts
/// become "*", while words that hold digits without being a version (x64, win64, 3dsmax, 64 Bit, ...)
/// stay. "/apps/maya2016.5/bin/maya.exe" gives "/apps/maya*/bin/maya.exe".
KX_EXPORT QString replaceVersionWithAsterisk(QString path);

/// Reads the major and minor version of the application at `path`. `minor` holds the minor version's
/// leading digits, `minorFull` its digits and dots ("5.268"). Applications that write their versions
/// differently (After Effects CS and CC, Nuke, Houdini, Arnold, Redshift, vray, Softimage) are
/// recognised by their paths. The application's folder may give a longer minor version than the file
/// name. False when the path holds no version.
KX_EXPORT bool kxGetAppVersionFromPath(QString path, int& major, QString& minor, QString& minorFull);
/// kxGetAppVersionFromPath without the full minor version.
KX_EXPORT bool kxGetAppVersionFromPath(QString path, int& major, QString& minor);

/// The digit reader of kxGetAppVersionFromPath: the version in the last run of digits of `text`, after
/// the last "/". `addFive` adds 5 to the major version (After Effects CS numbers), `packedDigits` reads
/// digits written without dots ("36001"), `dropFirstDot` joins the first two parts of the minor version.
/// False with major 0 when there is no digit past the first two characters; false with major 1 when
/// the leading digits are no number that fits an int.
KX_EXPORT bool kxGetAppVersionFromPath_sub(QString text, int& major, QString& minor, QString& minorFull,
                                           const bool& addFive, const bool& packedDigits,
                                           const bool& dropFirstDot);

} // namespace kxRA
