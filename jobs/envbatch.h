// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "runtime/kxexport.h"

#include <QString>
#include <QStringList>

namespace kxJ {

/// Writes the environment variables `names` = `values` as a C-shell script that the render process
/// sources: a marker line, then per variable a /bin/echo line and a setenv line, then an end marker
/// and an empty line, all Latin-1. An existing file is replaced.
///
/// The script is sourced by a shell, so nothing in it may run a command: an entry whose name is not a
/// variable name (an ASCII letter or "_", then letters, digits or "_") is left out with its value,
/// and in a value every '"', '$', '`', '\' and '!' is written as "'c'" (the quote closed, the
/// character in single quotes, the quote reopened) and every CR or LF as a blank. A missing value (a
/// shorter `values` list) is empty.
///
/// False when the file cannot be opened for writing or a write fails.
KX_EXPORT bool kxEnvFileWriteBatch(const QString& fileName, QStringList names, QStringList values);

} // namespace kxJ
