// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
//
// Sample farm files are written by hand. Any text must either be read or refused with the file and
// line named, and a refused text must leave what was read before untouched.
#include "samplefarm.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));
    kxSampleFarm farm;
    farm.clients.append(kxSampleClient{QStringLiteral("earlier"), QString(), QStringLiteral("a.ini"), 1});
    QString error;
    const bool ok = kxParseSampleFarm(content, QStringLiteral("fuzz.ini"), farm, error);
    if (ok != error.isEmpty())
        __builtin_trap();
    if (!ok &&
        (!error.startsWith(QLatin1String("fuzz.ini:")) || farm.clients.size() != 1 || !farm.jobs.isEmpty()))
        __builtin_trap();
    if (farm.clients.first().name != QLatin1String("earlier"))
        __builtin_trap();
    for (const kxSampleJob& job : farm.jobs)
        if (job.line <= 0 || job.file != QLatin1String("fuzz.ini"))
            __builtin_trap();
    return 0;
}
