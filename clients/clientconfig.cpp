// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "clients/clientrecords.h"

#include <cmath>

namespace kxC {

QString jThreadIDasString(int thread, bool showFirst) {
    if (thread < 0)
        thread = 0;
    if (thread < 1 && !showFirst)
        return QString();
    if (thread > 25)
        thread = 25;
    return QString(QLatin1Char(char('A' + thread)));
}

bool isInTime(int day, int hour, int dayFrom, int dayTo, int hourFrom, int hourTo) {
    if (dayFrom <= dayTo) {
        if (day < dayFrom || day > dayTo)
            return false;
    } else if (day < dayFrom && day > dayTo) {
        return false;
    }
    // Widened so that the lowest hour number has a predecessor.
    if (qint64(hourFrom) - 1 == hourTo)
        return false;
    if (hourFrom <= hourTo)
        return hourFrom <= hour && hour <= hourTo;
    return hour >= hourFrom || hour <= hourTo;
}

QString machineType2Str(_ClientConfig_machineType type) {
    switch (type) {
    case _ClientConfig_machineType::Default:
        return QStringLiteral("Default");
    case _ClientConfig_machineType::Workstation:
        return QStringLiteral("Workstation");
    case _ClientConfig_machineType::Renderfarm:
        return QStringLiteral("Renderfarm");
    case _ClientConfig_machineType::Cloud:
        return QStringLiteral("Cloud");
    case _ClientConfig_machineType::WorkRenderMix:
        return QStringLiteral("WorkRenderMix");
    case _ClientConfig_machineType::Count:
        return QStringLiteral("Count");
    }
    return QString();
}

namespace {

bool isConfigThread(int thread) {
    return thread >= 0 && thread < _ClientConfig::threadCapacity;
}

} // namespace

bool _ClientConfig::threadWHDisable(int thread) const {
    return threads[isConfigThread(thread) ? thread : 0].whDisable != 0;
}

QStringList _ClientConfig::threadJobs(int thread) const {
    const _ClientConfig_threadSettings& settings = threads[isConfigThread(thread) ? thread : 0];
    QStringList types;
    for (int i = 0; i < settings.usedJobTypeCount(); ++i)
        types << settings.jobTypes[i].toQString();
    return types;
}

bool _ClientConfig::isGPUAssigned(int thread, int gpu) const {
    if (!isConfigThread(thread) || gpu < 0 || gpu >= _ClientHardware::gpuSlotCount)
        return false;
    return (quint16(threads[thread].gpuMask) >> gpu) & 1u;
}

bool _ClientConfig::isTimeWorkhours(int day, int hour) const {
    return isInTime(day, hour, cfgV[15], cfgV[16], cfgV[17], cfgV[18]);
}

bool _ClientConfig::isTimeWOL(int day, int hour) const {
    return isInTime(day, hour, cfgV[19], cfgV[20], cfgV[21], cfgV[22]);
}

bool _ClientConfig::isTimeShutdown(int day, int hour) const {
    return isInTime(day, hour, cfgV[11], cfgV[12], cfgV[13], cfgV[14]);
}

void _ClientConfig::copyFrom_nopreset_withThreads(const _ClientConfig& other) {
    if (&other == this)
        return;
    const quint8 keptPreset = configPreset;
    const quint8 keptValue = value_1;
    const qint8 keptUncPreset = uncPreset;
    *this = other;
    configPreset = keptPreset;
    value_1 = keptValue;
    uncPreset = keptUncPreset;
}

void _ClientConfig::copyFrom_nopreset(const _ClientConfig& other) {
    if (&other == this)
        return;
    // The thread part is large; set it aside only as far as it must be kept.
    const quint8 keptThreadCount = configThreadCount;
    _ClientConfig_threadSettings keptThreads[threadCapacity];
    for (int t = 0; t < threadCapacity; ++t)
        keptThreads[t] = threads[t];
    copyFrom_nopreset_withThreads(other);
    configThreadCount = keptThreadCount;
    for (int t = 0; t < threadCapacity; ++t)
        threads[t] = keptThreads[t];
}

QString _ClientHardware::OSasString() const {
    QString text;
    switch (osType) {
    case 1:
        text = QStringLiteral("w");
        if (osVersion >= 70)
            text += QString::number(osVersion / 10);
        else if (osVersion >= 60)
            text += QStringLiteral("V");
        else if (osVersion >= 50)
            text += QStringLiteral("XP");
        else if (osVersion >= 40)
            text += QStringLiteral("2k");
        break;
    case 2:
        text = QStringLiteral("l") + QString::number(osVersion / 10);
        break;
    case 3:
        text = QStringLiteral("m") + QString::number(osVersion / 10);
        break;
    default:
        return QString();
    }
    if (osVersion % 10 != 0)
        text += QLatin1Char('.') + QString::number(osVersion % 10);
    if (is64bit == 0)
        text += QStringLiteral("-32");
    return text;
}

float _Client_ALL::currentThreadPS_percentage(int thread, float extra) const {
    const int valid = status.usedThreadCount();
    int rendering = 0;
    for (int i = 0; i < valid; ++i)
        if (status.threads[i].jobID > 1000)
            ++rendering;
    const bool threadRendering = thread >= 0 && thread < valid && status.threads[thread].jobID > 1000;
    if (!threadRendering)
        ++rendering;
    float share = extra + 1.0f / float(rendering);
    if (share > 1.0f)
        share = 1.0f;
    // A negative or undefined extra would give a negative or undefined share of the machine.
    if (!(share > 0.0f))
        share = 0.0f;
    return share;
}

int _Client_ALL::currentThreadPS(int thread, float extra) const {
    return int(
        std::lround(double(hardware.performanceScore) * double(currentThreadPS_percentage(thread, extra))));
}

float _Client_ALL::currentThreadGhz(int thread, float extra) const {
    return hardware.cpuGhz * currentThreadPS_percentage(thread, extra);
}

} // namespace kxC
