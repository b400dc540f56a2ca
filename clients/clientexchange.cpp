// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "clients/clientrecords.h"

#include <cstring>

namespace kxC {

void _Client_WithoutStatus::export_Client_allConfig_TCP(const _kxString8_allSize<50>& name,
                                                        qint8 cloudConnectorIndex,
                                                        _Client_allConfig_TCP& out) const {
    out.structID = _Client_allConfig_TCP::structMark;
    out.name.set(name);
    out.name.clearUnused();
    out.cloudConnectorIndex = cloudConnectorIndex;
    std::memset(out.reserved_57, 0, sizeof(out.reserved_57));
    // The whole configuration part travels, the carried bytes before the application count included.
    out.cfg = static_cast<const _Client_configPart&>(*this);
}

bool _Client_WithoutStatus::import_Client_allConfig_TCP(const _Client_allConfig_TCP& in) {
    // A record of another kind would replace the whole configuration with whatever it holds.
    if (in.structID != _Client_allConfig_TCP::structMark)
        return false;
    if (&in.cfg == static_cast<_Client_configPart*>(this))
        return true;
    const qint32 keptListNo = listNo;
    static_cast<_Client_configPart&>(*this) = in.cfg;
    listNo = keptListNo;
    return true;
}

quint32 _Client_WithoutStatus::threadGpuActiveFlags_capped(int thread) const {
    const int count = hardware.gpuCount;
    if (count < 1)
        return 0;
    // gpuCount is a signed byte: a count of 32 or more takes every bit rather than shifting past them.
    quint32 bits = count >= 32 ? ~quint32(0) : (quint32(1) << count) - 1;
    if (thread >= 0 && thread < _ClientConfig::threadCapacity)
        bits &= quint16(config.threads[thread].gpuMask);
    return bits;
}

bool _Client_WithoutStatus::hasGPU(int thread) const {
    if (thread < 0 || thread >= _ClientConfig::threadCapacity)
        return false;
    return threadGpuActiveFlags_capped(thread) != 0;
}

namespace {

// The C library's memset. Left to itself the compiler zeroes the short runs behind the texts with a
// string instruction whose start-up cost is many times that of the few hundred bytes it writes.
void* (*volatile const zeroFill)(void*, int, size_t) = std::memset;

/// A text as its clean copy holds it: the length cut to the capacity, zero units behind the text.
template <typename Text>
void cleanText(Text& text) {
    const int n = text.len();
    text.length = quint16(n);
    zeroFill(text.text + n, 0, sizeof(text.text[0]) * size_t(Text::capacity + 1 - n));
}

template <typename Text, size_t N>
void cleanTexts(Text (&texts)[N]) {
    for (Text& t : texts)
        cleanText(t);
}

/// Makes every text of `record` a clean text; every other member stays as it is.
void cleanAllTexts(_Client_ALL& record) {
    _ClientConfig& config = record.config;
    cleanTexts(config.reservedFor);
    cleanTexts(config.acceptInWorkingHours);
    cleanTexts(config.abortProcesses);
    cleanTexts(config.fourthNameList);
    for (_ClientConfig_threadSettings& thread : config.threads)
        cleanTexts(thread.jobTypes);
    cleanText(config.gpuUser);
    cleanText(config.noArtistLogin);

    _ClientHardware& hardware = record.hardware;
    cleanText(hardware.customClientInfo);
    cleanTexts(hardware.location);
    cleanText(hardware.wolText1);
    cleanText(hardware.wolText2);

    for (kxRA::_ClientRenderApp& app : record.renderApps) {
        cleanText(app.executable);
        cleanText(app.parameter);
        cleanText(app.name);
        cleanText(app.versionMinor);
    }
    for (_KXCommands& command : record.commands)
        cleanText(command.paramText);
    cleanText(record.userMessage.text);

    cleanText(record.status.name);
    cleanText(record.status.version);
    cleanText(record.status.user);
}

} // namespace

// Every byte of a clean copy comes from the source or is a zero behind a text, so a cleared copy to fill
// would be overwritten whole: the copy starts as the source's bytes, the carried and reserved members
// included, and its texts are then cut to their capacity and cleaned behind their ends.
_Client_ALL _Client_ALL::cleanExportC() const {
    _Client_ALL copy(*this);
    cleanAllTexts(copy);
    return copy;
}

_Client_ALL _Client_ALL::cleanExport() const {
    return cleanExportC();
}

_Client_ALL _Client_ALL::cleanExportCC() const {
    return cleanExportC();
}

} // namespace kxC
