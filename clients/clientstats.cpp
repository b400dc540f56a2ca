// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "clients/clientstats.h"

#include "kxpath.h"

#include <atomic>
#include <cmath>
#include <cstring>

namespace kxC {

static_assert(_server_clientInfo::recordSizeVersion2 == 20864);
static_assert(_server_clientInfo::recordSizeVersion1 == 20424);
static_assert(_server_clientInfo::recordSizeVersion2 > _server_clientInfo::recordSizeVersion1);

namespace {

constexpr int slotCount = _dayhours::slotCount;

// The hour count of the last query that named one, shared by every client of the process.
std::atomic<int> lastHoursQueried{slotCount};

int clampHours(int hours) {
    return hours < 0 ? 0 : (hours > slotCount ? slotCount : hours);
}

void count(_dayhours& day) {
    if (day.hours[0] < _Client_jobEfficiencyRate::counterLimit)
        ++day.hours[0];
}

int sum(const _dayhours& day, int hours) {
    int total = 0;
    for (int i = 0; i < clampHours(hours); ++i)
        total += day.hours[i];
    return total;
}

void age(_dayhours& day, int d) {
    std::memmove(day.hours + d, day.hours, sizeof(quint16) * size_t(slotCount - d));
    std::memset(day.hours, 0, sizeof(quint16) * size_t(d));
}

} // namespace

void _Client_jobEfficiencyRate::addSuccess() {
    getCurrentHourSlot();
    count(successJobs);
}

void _Client_jobEfficiencyRate::addCleanAbort() {
    getCurrentHourSlot();
    count(cleanAbortJobs);
}

void _Client_jobEfficiencyRate::addFail() {
    getCurrentHourSlot();
    count(failJobs);
}

quint32 _Client_jobEfficiencyRate::currentHourNumber() {
    return quint32(_kxTime(true).toLocalTime() / 3600);
}

int _Client_jobEfficiencyRate::getCurrentHourSlot() {
    const quint32 hour = currentHourNumber();
    clearOldHourSlots(hour);
    lastHour = hour;
    return int(hour % 24);
}

int _Client_jobEfficiencyRate::getLastHoursSuccessJobs(int hours) {
    lastHoursQueried = clampHours(hours);
    return getLastHoursSuccessJobs();
}

int _Client_jobEfficiencyRate::getLastHoursCleanAbortJobs(int hours) {
    lastHoursQueried = clampHours(hours);
    return getLastHoursCleanAbortJobs();
}

int _Client_jobEfficiencyRate::getLastHoursFailJobs(int hours) {
    lastHoursQueried = clampHours(hours);
    return getLastHoursFailJobs();
}

int _Client_jobEfficiencyRate::getLastHoursSuccessJobs() const {
    return sum(successJobs, lastHoursQueried);
}

int _Client_jobEfficiencyRate::getLastHoursCleanAbortJobs() const {
    return sum(cleanAbortJobs, lastHoursQueried);
}

int _Client_jobEfficiencyRate::getLastHoursFailJobs() const {
    return sum(failJobs, lastHoursQueried);
}

int _Client_jobEfficiencyRate::lastQueriedHours() {
    return lastHoursQueried;
}

void _Client_jobEfficiencyRate::clearHourSlot(int slot) {
    if (slot < 0 || slot >= slotCount)
        return;
    successJobs.hours[slot] = 0;
    cleanAbortJobs.hours[slot] = 0;
    failJobs.hours[slot] = 0;
}

void _Client_jobEfficiencyRate::clearAllHourSlots() {
    std::memset(&successJobs, 0, sizeof successJobs);
    std::memset(&cleanAbortJobs, 0, sizeof cleanAbortJobs);
    std::memset(&failJobs, 0, sizeof failJobs);
}

void _Client_jobEfficiencyRate::clearOldHourSlots(quint32 hourNow) {
    // The unsigned difference read as signed: a clock that went back gives a negative one.
    const auto d = static_cast<qint32>(hourNow - lastHour);
    if (d >= slotCount) {
        clearAllHourSlots();
        return;
    }
    if (d <= 0)
        return;
    age(successJobs, d);
    age(cleanAbortJobs, d);
    age(failJobs, d);
}

void _Client_jobEfficiencyRate::checkAndClearOldHourSlots() {
    const quint32 hour = currentHourNumber();
    if (lastHour != 0)
        clearOldHourSlots(hour);
    lastHour = hour;
}

void _Client_jobEfficiencyRate::calcSuccessRate(int hours) {
    if (lastHour == 0)
        return;
    hours = clampHours(hours);
    lastHoursQueried = hours;
    checkAndClearOldHourSlots();

    successRate = 0;
    const int s = sum(successJobs, hours);
    const int o = sum(cleanAbortJobs, hours) + sum(failJobs, hours);
    if (s + o == 0) {
        successRateValid = 0;
        return;
    }
    successRateValid = 1;
    const float r = float(s) / float(s + o);
    const auto rate = static_cast<int>(std::round(255.0f * r)); // halves away from zero
    successRate = quint8(rate == 0 && r > 0 ? 1 : rate);
}

void _Client_jobEfficiencyRate::calcSuccessRate() {
    calcSuccessRate(lastHoursQueried);
}

_server_clientInfo::_server_clientInfo() : version2(nullptr), version1(nullptr), recordCount(0) {}

void _server_clientInfo::clear() {
    version2 = nullptr;
    version1 = nullptr;
    recordCount = 0;
    _KX_DataBuffer().swap(data); // gives the memory back, not only the size
    error.clear();
}

bool _server_clientInfo::loadFromFile(const QString& path) {
    clear();
    const QString head = QStringLiteral("Unable to load '") + path + QStringLiteral("':");
    if (!kxFileExists(path, time)) {
        error = head + QStringLiteral(" File not found");
        return false;
    }
    // The path tested above is the path loaded, whatever its length or characters. The file holds
    // at most one record per entry of the client list, so a file that declares more data is refused
    // before its data is unpacked.
    if (!data.loadFromFileCompressed(path, maxDataSize)) {
        error = head + data.errorString();
        _KX_DataBuffer().swap(data);
        return false;
    }

    const qint64 size = data.size();
    if (data.typeTag() == typeTagVersion2 && size % recordSizeVersion2 == 0) {
        recordCount = qint32(size / recordSizeVersion2);
        version2 = reinterpret_cast<const _Client_Info_save*>(data.data());
        return true;
    }
    if (data.typeTag() == typeTagVersion1 && size % recordSizeVersion1 == 0) {
        recordCount = qint32(size / recordSizeVersion1);
        version1 = reinterpret_cast<const _Client_Info_save_v1*>(data.data());
        return true;
    }
    // The data goes, the report stays.
    const QString report = head + QStringLiteral(" data size does not match");
    clear();
    error = report;
    return false;
}

_Client_Info _server_clientInfo::info(int index) const {
    _Client_Info record;
    record.clearInfo();
    if (index < 0 || index >= recordCount)
        return record;
    if (version2 != nullptr)
        record = &version2[index];
    else if (version1 != nullptr)
        version1[index].toVersion2(record);
    return record;
}

} // namespace kxC
