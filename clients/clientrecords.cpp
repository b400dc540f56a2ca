// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "clients/clientrecords.h"

#include <cstring>

namespace kxC {

namespace {

// Zeroes a record of the client family; they are plain blocks without virtuals, so all zero bytes is a
// valid state from which each clear sets its defaults.
template <typename T>
void zeroRecord(T& record) {
    static_assert(std::is_trivially_copyable_v<T>);
    std::memset(static_cast<void*>(&record), 0, sizeof(T));
}

} // namespace

_ClientStatusThread::_ClientStatusThread() {
    clear();
    halfValue_84.init();
}

void _ClientStatusThread::clear() {
    zeroRecord(*this);
}

void _ClientStatusBasic_ALL_base::clearStatusBasic() {
    zeroRecord(*this);
    structID = structMark;
    value_4 = 2;
    name.set("kxNemo");
    cloudConnectorIndex = -1;
    value_134 = -1;
    threadCount = 1;
}

void _ClientStatusBasic_ALL_base::setVersion(__KXlog&) {
    version.clear();
}

void _ClientStatusBasic_ALL_base::copyAllButThreadsTo(_ClientStatus_template<1000>& target) const {
    static_cast<_ClientStatusBasic_ALL_base&>(target) = *this;
}

QStringList _ClientConfig_threadSettings::getDefaultJobThreadApps(int thread) {
    QStringList apps;
    if (thread == 0)
        apps = {QStringLiteral("3D"), QStringLiteral("Execute"), QStringLiteral("Comp"),
                QStringLiteral("Archive")};
    else if (thread < 4)
        apps = {QStringLiteral("Comp"), QStringLiteral("Archive")};
    else
        apps = {QStringLiteral("GPUonly")};
    for (QString& app : apps)
        app = app.toLower();
    return apps;
}

int _ClientConfig_threadSettings::usedJobTypeCount() const {
    return kxC::usedCount(jobTypeCount, jobTypeCapacity);
}

void _ClientConfig_threadSettings::clear(int thread) {
    for (_kxString<50>& type : jobTypes)
        type.clear();
    const QStringList defaults = getDefaultJobThreadApps(thread);
    int n = 0;
    for (const QString& app : defaults) {
        if (n >= jobTypeCapacity)
            break;
        jobTypes[n++].set(app);
    }
    jobTypeCount = n;
    gpuMask = -1;
    whDisable = 1;
    jobTypesKeepCase = 0;
}

void _ClientConfig::clear() {
    configPreset = 2;
    value_1 = 0;
    for (_kxString<50>& n : reservedFor)
        n.clear();
    reservedForCount = 0;
    reservedForKeepCase = 0;
    for (_kxString<50>& n : acceptInWorkingHours)
        n.clear();
    acceptInWorkingHoursCount = 0;
    acceptInWorkingHoursKeepCase = 0;
    for (_kxString<50>& n : abortProcesses)
        n.clear();
    abortProcessCount = 0;
    for (_kxString<50>& n : fourthNameList)
        n.clear();
    fourthNameListFlag = 0;
    for (int t = 0; t < threadCapacity; ++t)
        threads[t].clear(t);
    configThreadCount = 1;
    wolFlags[0] = 0;
    wolFlags[2] = 0;

    // Switches without a default keep what they hold.
    for (int i = 1; i <= 8; ++i)
        cfgB[i] = 1;
    cfgB[11] = 1;
    cfgB[15] = 1;
    cfgB[17] = 1;
    for (int i = 19; i <= 24; ++i)
        cfgB[i] = 0;
    cfgB[27] = 1;
    cfgB[28] = 0;
    cfgBCount = cfgBUsed;

    static const qint16 valueDefaults[cfgVUsed] = {
        45, 0,  1, 75, 300, 25, 45, 3, 140, 25, 1,  // 0 to 10
        1,  1,  1, 0,                               // shutdown: day from, day to, hour from, hour to
        0,  6,  9, 17,                              // working hours
        1,  1,  1, 0,                               // wake-on-LAN
        20, 10, 0, 0,  0,   0,  0,  0, 0,   0,  15, // 23 to 33
    };
    for (qint16& v : cfgV)
        v = 1;
    std::memcpy(cfgV, valueDefaults, sizeof(valueDefaults));
    cfgVCount = cfgVUsed;

    gpuUser.clear();
    noArtistLogin.clear();
}

void _ClientHardware::clear() {
    zeroRecord(*this);
    gpuCount = -1;
    flag_18 = 1;
}

_Client_jobEfficiencyRate::_Client_jobEfficiencyRate() {
    clear();
}

void _Client_jobEfficiencyRate::clear() {
    zeroRecord(*this);
}

void _Client_Info_save_v1::toVersion2(_Client_Info_save& target) const {
    static_cast<_Client_Info_save_v1&>(target) = *this;
}

void _Client_Info_save::clearSave() {
    zeroRecord(*this);
}

void _Client_Info::clearInfo() {
    zeroRecord(*this);
}

_Client_Info& _Client_Info::operator=(const _Client_Info_save* saved) {
    if (saved != nullptr && saved != this)
        static_cast<_Client_Info_save&>(*this) = *saved;
    return *this;
}

int _Client_configPart::usedRenderAppCount() const {
    return kxC::usedCount(renderAppCount, renderAppCapacity);
}

_Client_WithoutStatus::_Client_WithoutStatus() {
    // Nothing of a fresh record is left undefined: everything the members do not set is zero.
    zeroRecord(*this);
    for (kxRA::_ClientRenderApp& app : renderApps)
        app.clear();
    for (_KXCommands& slot : commands)
        slot.setEmpty();
    info.clearInfo();
}

void _Client_WithoutStatus::clear_wos() {
    zeroRecord(*this);
    config.clear();
    hardware.clear();
    checkInvalidValues();
    listNo = -1;
}

namespace {

void clampValue(qint16& v, int low, int high) {
    if (v < low)
        v = qint16(low);
    else if (v > high)
        v = qint16(high);
}

bool acceptsExecuteJobs(const _ClientConfig_threadSettings& thread) {
    const QString execute = QStringLiteral("Execute");
    for (int i = 0; i < thread.usedJobTypeCount(); ++i) {
        const QString type = thread.jobTypes[i].toQString();
        // Stored names are lower-cased unless the thread keeps case, so the test ignores case.
        if (type == QLatin1String("*") || type.compare(execute, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

void _Client_WithoutStatus::checkInvalidValues() {
    if (hardware.performanceScore < 1)
        hardware.performanceScore = 1;
    if (hardware.cores < 1)
        hardware.cores = 1;
    // A clock that is no number (bytes from elsewhere) is repaired like a negative one.
    if (!(hardware.cpuGhz >= 0))
        hardware.cpuGhz = 0;
    if (hardware.memory < 1)
        hardware.memory = 1;

    qint16* v = config.cfgV;
    if (v[0] <= 15)
        v[0] = 15;
    v[2] = 1;
    clampValue(v[3], 15, 95);
    clampValue(v[4], 100, 1000);
    if (v[5] < 5)
        v[5] = 5;
    if (v[6] < 15)
        v[6] = 15;
    if (v[7] <= 0)
        v[7] = 2;
    clampValue(v[8], 20, 600);
    clampValue(v[9], 0, 300);

    if (config.configThreadCount > _ClientConfig::threadCapacity)
        config.configThreadCount = _ClientConfig::threadCapacity;
    else if (config.configThreadCount == 0)
        config.configThreadCount = 1;
    if (config.uncPreset < 0)
        config.uncPreset = 0;
    else if (config.uncPreset > 4)
        config.uncPreset = 5;

    if (hardware.isCloudVM != 0) {
        hardware.flag_18 = 0;
        hardware.wolText1.clear();
        config.wolFlags[1] = 0;
        config.wolFlags[3] = 1;
        config.wolFlags[4] = 1;
    }

    bool executeAccepted = false;
    for (int t = 0; t < config.configThreadCount && !executeAccepted; ++t)
        executeAccepted = acceptsExecuteJobs(config.threads[t]);
    _ClientConfig_threadSettings& first = config.threads[0];
    if (!executeAccepted && first.usedJobTypeCount() < _ClientConfig_threadSettings::jobTypeCapacity) {
        const QString execute = QStringLiteral("Execute");
        first.jobTypes[first.usedJobTypeCount()].set(first.jobTypesKeepCase != 0 ? execute
                                                                                 : execute.toLower());
        first.jobTypeCount = first.usedJobTypeCount() + 1;
    }

    // Entries without executable or name are dropped; the ones behind move down.
    const int apps = usedRenderAppCount();
    int kept = 0;
    for (int i = 0; i < apps; ++i) {
        const kxRA::_ClientRenderApp& app = renderApps[i];
        if (app.executable.isEmpty() || app.name.isEmpty())
            continue;
        if (kept != i)
            renderApps[kept] = app;
        ++kept;
    }
    for (int i = kept; i < apps; ++i)
        renderApps[i].clear();
    renderAppCount = qint16(kept);
}

void _Client_WithoutStatus::copyCfgTo(_Client_WithoutStatus& target) const {
    if (&target == this)
        return;
    target.listNo = listNo;
    target.config = config;
    target.hardware = hardware;
    target.renderAppCount = renderAppCount;
    for (int i = 0; i < renderAppCapacity; ++i)
        target.renderApps[i] = renderApps[i];
}

void _Client::clear() {
    clear_wos();
    status.clearStatus();
}

void _Client_ALL::clear() {
    const qint8 cloudIndex = status.cloudConnectorIndex;
    clear_wos();
    if (cloudIndex < 0) {
        status.clearStatusThreads(8);
        status.cloudConnectorIndex = -1;
    } else {
        status.clearStatusThreads(_ClientStatus_ALL::threadCapacity);
        status.cloudConnectorIndex = cloudIndex;
    }
}

void _Client_ALL::clearAllStruct() {
    clear_wos();
    status.clearStatus();
}

} // namespace kxC
