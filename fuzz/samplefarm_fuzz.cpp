// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
//
// Sample farm files are written by hand. Any text must either be read or refused with the file and
// line named, and a refused text must leave what was read before untouched. A client that is read
// fits the client record: its thread count and render applications within their capacities.
#include "samplefarm.h"

#include "clients/clientrecords.h"

#include <cstdint>

namespace {

/// Latin-1 text of at most `capacity` characters: what a text field of the client record holds whole.
bool fits(const QString& text, int capacity) {
    return text.size() <= capacity && QString::fromLatin1(text.toLatin1()) == text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));
    kxSampleFarm farm;
    kxSampleClient earlier;
    earlier.name = QStringLiteral("earlier");
    earlier.file = QStringLiteral("a.ini");
    earlier.line = 1;
    farm.clients.append(earlier);
    QString error;
    const bool ok = kxParseSampleFarm(content, QStringLiteral("fuzz.ini"), farm, error);
    if (ok != error.isEmpty())
        __builtin_trap();
    if (!ok &&
        (!error.startsWith(QLatin1String("fuzz.ini:")) || farm.clients.size() != 1 || !farm.jobs.isEmpty()))
        __builtin_trap();
    if (farm.clients.first().name != QLatin1String("earlier"))
        __builtin_trap();
    for (const kxSampleClient& client : farm.clients) {
        if (client.threads < 1 || client.threads > kxC::_ClientConfig::threadCapacity ||
            client.apps.size() > kxC::_Client_configPart::renderAppCapacity || client.osType > 3 ||
            !(client.ghz >= 0 && client.ghz <= 100))
            __builtin_trap();
        for (const kxSampleRenderApp& app : client.apps)
            if (app.name.isEmpty() || !fits(app.name, 25) || app.executable.isEmpty() ||
                !fits(app.executable, 150) || !fits(app.parameter, 50) || app.versionMinor.isEmpty() ||
                app.versionMinor.size() > 15 || app.versionMajor < 0)
                __builtin_trap();
    }
    for (const kxSampleJob& job : farm.jobs)
        if (job.line <= 0 || job.file != QLatin1String("fuzz.ini"))
            __builtin_trap();
    return 0;
}
