// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
//
// Prints the short text of a family member's identifier and a job status text, both computed by the
// installed product library.
#include "jobs/jobid.h"
#include "jobs/jobrecords.h"

#include <cstdio>

int main() {
    // Main number 123456789, family member 1.
    const quint64 id = (quint64(123456789) << 24) | 1;
    const QString idText = kxJ::ID2str(id);
    const auto status = kxJ::_JobSave::statusAsStringStatic(200);
    std::printf("%s %s\n", idText.toLatin1().constData(), status.data());
    return 0;
}
