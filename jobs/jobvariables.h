// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "runtime/kxexport.h"

#include <QString>

namespace kxJ {

/// The leading part of `path` up to and including its `level`-th "/" (at least the first), counted
/// after a UNC prefix, a leading "/" and a drive prefix ("C:/"); the path unchanged when it has fewer
/// or is 4 characters or shorter. "/mnt/prj/shot/x.ma" at level 2 gives "/mnt/prj/".
KX_EXPORT QString getDirectoryUntilNo(QString path, int level);

} // namespace kxJ
