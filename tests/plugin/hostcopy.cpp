// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// A server's own copy of two data-model functions, of another build than the plug-in's: loaded into
// the process before the plug-in, these are the first definitions of their names there.
#include "jobs/jobid.h"
#include "jobs/jobrecords.h"

namespace kxJ {

QString ID2str(quint64) {
    return QStringLiteral("{HOST-COPY}");
}

// A server of another data-model version refuses every job of this plug-in's layout.
bool _JobSend::isRightStructVersion() const {
    return false;
}

} // namespace kxJ
