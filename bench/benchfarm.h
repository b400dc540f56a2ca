// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// The farm the notification benchmarks run: clients named by number and one finished job.

#include "samplefarm.h"

#include <QString>

/// `count` clients named "0", "1", ...: short enough that ten of them fit a job's 50-character recipient
/// field.
inline kxSampleFarm kxBenchNumberedClients(int count) {
    kxSampleFarm farm;
    for (int i = 0; i < count; ++i)
        farm.clients.append(kxSampleClient{QString::number(i), QString(), QStringLiteral("bench"), i + 1});
    return farm;
}

/// A finished job with the texts of a typical lighting shot; its recipients are the caller's.
inline kxSampleJob kxBenchFinishedJob() {
    kxSampleJob sample;
    sample.number = 123456789;
    sample.status = 200;
    sample.user = QStringLiteral("anna");
    sample.scene = QStringLiteral("/projects/feature/shot010/shot010_lighting_v012.ma");
    sample.imageDir = QStringLiteral("/renders/feature/shot010/");
    sample.imageFile = QStringLiteral("shot010_beauty.####.exr");
    return sample;
}
