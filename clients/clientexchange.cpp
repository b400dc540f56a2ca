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

/// A text as its clean copy holds it: the length cut to the capacity, zero units behind the text.
template <typename Text>
void cleanText(Text& text) {
    text.clearUnused();
    text.length = quint16(text.len());
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

/// Fills `copy` from `source`: every member as it is, each text as a clean text.
void fillCleanCopy(const _Client_ALL& source, _Client_ALL& copy) {
    // The block copy takes every member, the carried and reserved ones included, so none can be
    // missed; the texts are then cut and cleaned behind their ends in place.
    std::memcpy(static_cast<void*>(&copy), &source, sizeof(_Client_ALL));
    cleanAllTexts(copy);
}

} // namespace

_Client_ALL _Client_ALL::cleanExportC() const {
    _Client_ALL copy;
    fillCleanCopy(*this, copy);
    return copy;
}

_Client_ALL _Client_ALL::cleanExport() const {
    // A constructed record is a cleared one, so the cleared copy to fill is the one cleanExportC builds.
    return cleanExportC();
}

_Client_ALL _Client_ALL::cleanExportCC() const {
    _Client_ALL copy;
    copy.status.clearStatus();
    fillCleanCopy(*this, copy);
    return copy;
}

} // namespace kxC
