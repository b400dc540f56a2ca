// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// The client records shared with the server and the client application. They are plain blocks copied
// whole between processes, so every offset below is part of the contract: the server and the plug-in
// read the client's user messages at 69848 and its name at 107738 of every client record. Members that
// the data model does not interpret are named for their place and carried along unchanged.

#include "clients/clientcommands.h"
#include "clients/kxlog.h"
#include "renderapps/renderapprecords.h"
#include "runtime/kxexport.h"

#include "kxhalf.h"
#include "kxstring.h"
#include "kxtime.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <type_traits>

namespace kxJ {
struct _JobSubmitter;
}

namespace kxC {

template <int N>
struct _ClientStatus_template;

/// Why a render thread is off or disabled. The reason travels in the thread's `jobID` (values 1 to
/// 1000), so any 32-bit value may arrive; values without a text read as an unknown status.
enum _ClientStatusJobs : qint32 {
    offReason_None = 0,
    offReason_HighCPU = 1, ///< detail: seconds until the thread is enabled again
    offReason_WorkingHoursOld = 2,
    offReason_Unknown3 = 3,
    offReason_Waiting = 4, ///< detail: seconds
    offReason_LowMemory = 5,
    offReason_WakeOnLan = 6,
    offReason_UserLoggedOff = 7, ///< detail: seconds until the thread is enabled again
    offReason_ClientShutdown = 8,
    offReason_WOLBroken = 9,
    offReason_DisableProcessFound = 10,
    offReason_ClientNotRunning = 11,
    offReason_ClientOffNotShutdown = 12,
    offReason_AppClientTookOver = 13,
    offReason_DeferMode = 14, ///< also the idle thread's defer-mode flag
    offReason_VMBooting = 15,
    offReason_VMCreating = 16,
    offReason_MachineRestarting = 17,
    offReason_MachineShutDown = 18,
    offReason_ClientAppRestarting = 19,
    offReason_ClientAppShutDown = 20,
    offReason_ShutDownByOS = 21,
    offReason_AppStarting = 22,
    offReason_AppStartingMounting = 23,
    offReason_VMInit = 24,
    offReason_VMInitWaitingForOSSetup = 25,
    offReason_VMInitMachineName = 26,
    offReason_VMInitTempFolder = 27,
    offReason_VMInitAddKxUser = 28,
    offReason_VMInitAddRemoteUser = 29,
    offReason_VMInitTimeZone = 30,
    offReason_VMInitFireWall = 31,
    offReason_VMInitDomain = 32,
    offReason_VMInitHostfile = 33,
    offReason_VMInitMountKxShare = 34,
    offReason_VMInitSSHLogin = 35,
    offReason_VMInitUMask = 36,
    offReason_VMInitAllowShutdown = 37,
    offReason_VMInitDoneRestarting = 38,
    offReason_VMInitDoneStartingClient = 39,
};
static_assert(sizeof(_ClientStatusJobs) == 4);

// Client records align their members to at most 4 bytes: 64-bit members sit on 4-byte boundaries as the
// clients send them, so that a status record can follow the configuration part directly. Padding is
// spelled out as reserved members, so no level of a record leaves tail padding a later level could reuse.
#pragma pack(push, 4)

/// What one render thread of a client is doing: the job it renders, or why it does not render.
struct KX_EXPORT _ClientStatusThread {
    /// Above 1000 a job ID; 1 to 1000 an off or disable reason (or an idle mode flag); 0 nothing.
    quint64 jobID;
    quint8 jobData[50]; ///< carried along unchanged
    /// Status detail: seconds or minutes depending on the status; two packed bytes while rendering.
    qint16 jobStatus;
    qint16 value_60; ///< cleared on construction
    qint16 value_62;
    qint16 value_64;
    qint8 clientStatus; ///< the thread status code: 0 off, 1 idle, 2 disabled, 3 rendering, ...
    quint8 jobCPU_Usage;
    qint32 value_68;
    qint32 availMemory; ///< the same value in every thread record of a client
    quint32 jobMemoryUsage;
    quint8 byte_80;
    quint8 byte_81; ///< cleared on construction
    quint8 byte_82;
    quint8 byte_83;
    kxHalf halfValue_84;
    quint8 reserved_86[2];
    qint32 value_88;
    quint8 byte_92;
    quint8 byte_93; ///< cleared on construction
    qint16 value_94;

    /// A thread that is off, with no job and every field zero (the half value initialised to 0).
    _ClientStatusThread();
    /// Every field zero.
    void clear();

    // The setters report through `log`; the thread number and info text only go into setJobID's line.
    /// Stores the low 16 bits of `value` as the status detail.
    void setJobStatus(__KXlog& log, long long value, int thread, const QString& info);
    void setClientStatus(__KXlog& log, signed char status, int thread, const QString& info);
    /// Stores a job ID (from 1000 on) or an off reason (below 1000) and logs the change, at level 3 when
    /// `important` or when an idle reset clears the ID, else at level 12. An unchanged value logs nothing.
    void setJobID(__KXlog& log, int thread, unsigned long long id, const QString& info, bool idleReset,
                  bool important);

    /// Text of an off or disable reason; `detail` is seconds for the reasons that count down.
    static QString clientOffStatusAsString(_ClientStatusJobs reason, short detail);
    /// Text of one thread's status. `job`, when given, is the job a rendering thread works on: its log
    /// line then stands in for the job identifier.
    static QString clientStatusAsStringSingle_static(signed char status, unsigned long long jobID,
                                                     short detail, const kxJ::_JobSubmitter* job);
    /// clientStatusAsStringSingle_static with this thread's status, job ID and detail.
    QString clientStatusAsStringSingle(const kxJ::_JobSubmitter* job) const;
};
static_assert(sizeof(_ClientStatusThread) == 96);
static_assert(offsetof(_ClientStatusThread, jobStatus) == 58);
static_assert(offsetof(_ClientStatusThread, clientStatus) == 66);
static_assert(offsetof(_ClientStatusThread, availMemory) == 72);
static_assert(offsetof(_ClientStatusThread, jobMemoryUsage) == 76);
static_assert(offsetof(_ClientStatusThread, value_88) == 88);
static_assert(alignof(_ClientStatusThread) == 4);
static_assert(std::is_trivially_copyable_v<_ClientStatusThread>);

/// The per-client part of a client's status, before its thread records.
struct KX_EXPORT _ClientStatusBasic_ALL_base {
    static constexpr quint32 structMark = 517;

    quint32 structID; ///< 517
    quint16 value_4;  ///< 2 after clear
    _kxString8_allSize<50> name;
    _kxString8_allSize<10> version;
    /// -1 for an ordinary client; 0 or more: the status of a cloud connector.
    qint8 cloudConnectorIndex;
    quint8 byte_75;
    quint8 byte_76;
    quint8 byte_77;
    _kxString<25> user;
    qint16 value_134; ///< -1 after clear
    qint16 value_136;
    qint16 value_138;
    quint8 cpuUsage;
    quint8 byte_141;
    qint8 temperature;
    quint8 reserved_143[1];
    quint16 threadCount; ///< number of thread records that are valid
    quint8 reserved_146[14];

    /// Zeroes the basic part, then sets its defaults: the mark, the name "kxNemo", one thread, no cloud
    /// connector.
    void clearStatusBasic();
    /// Empties the version text.
    void setVersion(__KXlog& log);
    /// Names keep the case the client gave them.
    void nameModifyUppercase() {}
    /// Copies the basic part into `target`; the target's thread records stay as they are.
    void copyAllButThreadsTo(_ClientStatus_template<1000>& target) const;
};
static_assert(sizeof(_ClientStatusBasic_ALL_base) == 160);
static_assert(offsetof(_ClientStatusBasic_ALL_base, name) == 6);
static_assert(offsetof(_ClientStatusBasic_ALL_base, version) == 60);
static_assert(offsetof(_ClientStatusBasic_ALL_base, cloudConnectorIndex) == 74);
static_assert(offsetof(_ClientStatusBasic_ALL_base, user) == 78);
static_assert(offsetof(_ClientStatusBasic_ALL_base, cpuUsage) == 140);
static_assert(offsetof(_ClientStatusBasic_ALL_base, temperature) == 142);
static_assert(offsetof(_ClientStatusBasic_ALL_base, threadCount) == 144);
static_assert(std::is_trivially_copyable_v<_ClientStatusBasic_ALL_base>);

/// A client's status: the basic part and N thread records, 8 for an ordinary client and 1000 for a
/// cloud connector (one per cloud virtual machine). Only the first `threadCount` threads are meaningful.
template <int N>
struct _ClientStatus_template : _ClientStatusBasic_ALL_base {
    static constexpr int threadCapacity = N;

    _ClientStatusThread threads[N];

    /// All threads off, the basic part at its defaults.
    _ClientStatus_template() {
        name.clear();
        version.clear();
        user.clear();
        clearStatus();
    }
    /// Zeroes all N thread records and sets the basic part's defaults.
    void clearStatus() {
        for (_ClientStatusThread& t : threads)
            t.clear();
        clearStatusBasic();
        cloudConnectorIndex = -1;
    }
    /// Zeroes the first `count` thread records (at most N) and sets the basic part's defaults; the
    /// other thread records stay as they are.
    void clearStatusThreads(int count) {
        count = kxC::usedCount(count, N);
        for (int i = 0; i < count; ++i)
            threads[i].clear();
        clearStatusBasic();
    }
    /// Thread record i; callers pass 0 to N-1.
    _ClientStatusThread& jThread(int i) { return threads[i]; }
    const _ClientStatusThread& jThread(int i) const { return threads[i]; }
    /// Valid thread records, `threadCount` cut to N.
    int usedThreadCount() const { return threadCount > N ? N : threadCount; }

    qint32 availMemory() const { return threads[0].availMemory; }
    void setAvailMemory(int value) {
        for (_ClientStatusThread& t : threads)
            t.availMemory = value;
    }
    /// CPU usage of all valid threads' jobs, saturating at 255.
    quint8 allThreads_jobCPU_Usage() const {
        int sum = 0;
        for (int i = 0; i < usedThreadCount(); ++i)
            sum += threads[i].jobCPU_Usage;
        return quint8(sum > 255 ? 255 : sum);
    }
    /// Memory used by all valid threads' jobs (wrapping, no saturation).
    quint32 allThreads_jobMemoryUsage() const {
        quint32 sum = 0;
        for (int i = 0; i < usedThreadCount(); ++i)
            sum += threads[i].jobMemoryUsage;
        return sum;
    }
    /// Copies the basic part and all N thread records into the first N thread records of `target`;
    /// the target's further thread records stay as they are.
    void copyTo(_ClientStatus_template<1000>& target) const;

    /// Text of the whole client: the cloud machine count of a cloud connector, the single thread's text,
    /// or "[threads]" followed by every thread's text. `job` is the job of thread 0 and may be null.
    KX_EXPORT QString clientStatusAsStringAll(const kxJ::_JobSubmitter* job) const;
};

using _ClientStatus = _ClientStatus_template<8>;
using _ClientStatus_ALL = _ClientStatus_template<1000>;

template <int N>
void _ClientStatus_template<N>::copyTo(_ClientStatus_template<1000>& target) const {
    static_assert(N <= 1000);
    static_cast<_ClientStatusBasic_ALL_base&>(target) = *this;
    for (int i = 0; i < N; ++i)
        target.threads[i] = threads[i];
}

#pragma GCC diagnostic push
// The records extend each other level by level without virtuals; GCC and Clang place a single
// non-virtual base first, so offsetof on the derived records is well defined in practice.
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(_ClientStatus) == 928);
static_assert(sizeof(_ClientStatus_ALL) == 96160);
static_assert(offsetof(_ClientStatus, threads) == 160);
static_assert(offsetof(_ClientStatus_ALL, threads) == 160);
#pragma GCC diagnostic pop
static_assert(std::is_trivially_copyable_v<_ClientStatus>);
static_assert(std::is_trivially_copyable_v<_ClientStatus_ALL>);

/// The letter of render thread `thread`: "A" for thread 0 up to "Z", which also stands for every thread
/// above 25. Thread 0 gives an empty text unless `showFirst` is set (a client with one thread names no
/// thread); a negative thread number is read as thread 0.
KX_EXPORT QString jThreadIDasString(int thread, bool showFirst);

/// The settings of one render thread: the GPUs it may use and the job types it accepts.
struct KX_EXPORT _ClientConfig_threadSettings {
    static constexpr int jobTypeCapacity = 10;

    qint16 gpuMask;   ///< bit g set: the thread may use GPU g (0 to 11)
    quint8 whDisable; ///< 1: disabled during working hours
    quint8 value_3;   ///< left alone by clear
    _kxString<50> jobTypes[jobTypeCapacity];
    qint32 jobTypeCount;
    quint8 jobTypesKeepCase; ///< 0: job type names are stored in lower case
    quint8 reserved_1069[3];

    /// The thread's default job types and settings: all GPUs, disabled in working hours.
    void clear(int thread);
    /// Job types in use, `jobTypeCount` cut to the capacity.
    int usedJobTypeCount() const;
    /// The default job types of a thread, lower-cased: "3d", "execute", "comp", "archive" for thread 0,
    /// "comp", "archive" for threads 1 to 3 (and negative numbers), "gpuonly" from thread 4 on.
    static QStringList getDefaultJobThreadApps(int thread);
};
static_assert(sizeof(_ClientConfig_threadSettings) == 1072);
static_assert(offsetof(_ClientConfig_threadSettings, jobTypes) == 4);
static_assert(offsetof(_ClientConfig_threadSettings, jobTypeCount) == 1064);
static_assert(offsetof(_ClientConfig_threadSettings, jobTypesKeepCase) == 1068);

/// A client's configuration: reservations, abort processes, render threads, schedules and numbered
/// switches and values.
struct KX_EXPORT _ClientConfig {
    static constexpr int nameListCapacity = 10;
    static constexpr int threadCapacity = 8;
    static constexpr int cfgBCapacity = 40;
    static constexpr int cfgBUsed = 29;
    static constexpr int cfgVCapacity = 40;
    static constexpr int cfgVUsed = 34;

    quint8 configPreset; ///< 0: own settings; otherwise the preset the client follows
    quint8 value_1;
    qint8 uncPreset; ///< UNC mapping preset, 0 to 5
    quint8 reserved_3[1];
    _kxString<50> reservedFor[nameListCapacity];
    qint32 reservedForCount;
    quint8 reservedForKeepCase; ///< 0: names compared and written in lower case
    quint8 reserved_1069[1];
    _kxString<50> acceptInWorkingHours[nameListCapacity];
    quint8 reserved_2130[2];
    qint32 acceptInWorkingHoursCount;
    quint8 acceptInWorkingHoursKeepCase;
    quint8 reserved_2137[1];
    _kxString<50> abortProcesses[nameListCapacity];
    quint8 reserved_3198[2];
    qint32 abortProcessCount;
    _kxString<50> fourthNameList[6]; ///< carried along
    quint8 fourthNameListFlag;
    quint8 reserved_3841[3];
    _ClientConfig_threadSettings threads[threadCapacity];
    quint8 configThreadCount; ///< render threads, 1 to 8
    quint8 wolFlags[5];       ///< written into the WOL key of the configuration file
    quint8 cfgB[cfgBCapacity];
    quint8 reserved_12466[2];
    qint32 cfgBCount;
    qint16 cfgV[cfgVCapacity]; ///< 11 to 14 shutdown, 15 to 18 working hours, 19 to 22 wake-on-LAN
    qint32 cfgVCount;
    _kxString8_allSize<50> gpuUser;
    _kxString8_allSize<25> noArtistLogin;
    quint8 reserved_12638[2];

    /// Sets the defaults: preset 2, empty name lists, one render thread, every thread's default job
    /// types, the default switches and values. `uncPreset` and the switches without a default stay.
    void clear();
};
static_assert(sizeof(_ClientConfig) == 12640);
static_assert(offsetof(_ClientConfig, reservedFor) == 4);
static_assert(offsetof(_ClientConfig, reservedForCount) == 1064);
static_assert(offsetof(_ClientConfig, acceptInWorkingHours) == 1070);
static_assert(offsetof(_ClientConfig, acceptInWorkingHoursCount) == 2132);
static_assert(offsetof(_ClientConfig, abortProcesses) == 2138);
static_assert(offsetof(_ClientConfig, abortProcessCount) == 3200);
static_assert(offsetof(_ClientConfig, fourthNameList) == 3204);
static_assert(offsetof(_ClientConfig, threads) == 3844);
static_assert(offsetof(_ClientConfig, configThreadCount) == 12420);
static_assert(offsetof(_ClientConfig, cfgB) == 12426);
static_assert(offsetof(_ClientConfig, cfgBCount) == 12468);
static_assert(offsetof(_ClientConfig, cfgV) == 12472);
static_assert(offsetof(_ClientConfig, cfgVCount) == 12552);
static_assert(offsetof(_ClientConfig, gpuUser) == 12556);
static_assert(offsetof(_ClientConfig, noArtistLogin) == 12610);
static_assert(std::is_trivially_copyable_v<_ClientConfig>);

/// A client machine's hardware: memory, CPU, operating system, GPUs, and its descriptive texts.
struct KX_EXPORT _ClientHardware {
    static constexpr int gpuSlotCount = 12;

    qint32 memory;
    float cpuGhz;
    quint16 cores;
    quint16 performanceScore;
    quint16 value_12;
    quint8 osVersion; ///< version times ten: 61 is 6.1
    quint8 osType;    ///< 1 Windows, 2 Linux, 3 macOS
    quint8 is64bit;
    qint8 gpuCount; ///< -1: no count reported yet
    quint8 flag_18; ///< 1 after clear; 0 for a cloud machine
    quint8 reserved_19[1];
    quint16 gpuSlotValues[gpuSlotCount];
    quint8 gpuSlotBytes[gpuSlotCount];
    quint8 isCloudVM;
    quint8 reserved_57[1];
    _kxString<100> customClientInfo;
    _kxString<10> location[2];
    _kxString<25> wolText1;
    _kxString<50> wolText2;
    quint8 reserved_478[2];
    float value_480;
    qint16 value_484;
    quint8 reserved_486[2];

    /// All zero, except no GPU count (-1) and the flag after it set.
    void clear();
};
static_assert(sizeof(_ClientHardware) == 488);
static_assert(offsetof(_ClientHardware, osVersion) == 14);
static_assert(offsetof(_ClientHardware, gpuCount) == 17);
static_assert(offsetof(_ClientHardware, gpuSlotValues) == 20);
static_assert(offsetof(_ClientHardware, isCloudVM) == 56);
static_assert(offsetof(_ClientHardware, customClientInfo) == 58);
static_assert(offsetof(_ClientHardware, wolText1) == 316);
static_assert(offsetof(_ClientHardware, value_480) == 480);
static_assert(std::is_trivially_copyable_v<_ClientHardware>);

/// 72 hourly counters; slot 0 is the current hour, slot k the hour k hours before.
struct _dayhours {
    static constexpr int slotCount = 72;
    quint16 hours[slotCount];
};
static_assert(sizeof(_dayhours) == 144);

/// A client's successful, cleanly aborted and failed jobs per hour over the last three days.
struct KX_EXPORT _Client_jobEfficiencyRate {
    _dayhours successJobs;
    _dayhours cleanAbortJobs;
    _dayhours failJobs;
    quint8 successRate;      ///< 0 to 255
    quint8 successRateValid; ///< 1 when `successRate` holds a computed value
    quint8 reserved_434[2];
    quint32 lastHour; ///< hour number when the counters were last aged

    /// Counters stop at this value.
    static constexpr quint16 counterLimit = 50000;

    /// No jobs counted, no rate.
    _Client_jobEfficiencyRate();
    void clear();

    // Slot 0 always holds the current hour: the counting operations age the counters to the current
    // hour first and then count into slot 0, so the sums and the rate see every count.
    /// Counts one job of its kind in the current hour, up to the counter limit.
    void addSuccess();
    void addCleanAbort();
    void addFail();
    /// Ages the counters to the current hour and returns the hour number modulo 24.
    int getCurrentHourSlot();

    // The sums over the last `hours` hours (slots 0 to hours-1; above 72 read as 72, below 0 as 0).
    // Each call that names an hour count makes it the process-wide last count, which the forms without
    // a count use (72 at start).
    int getLastHoursSuccessJobs(int hours);
    int getLastHoursCleanAbortJobs(int hours);
    int getLastHoursFailJobs(int hours);
    int getLastHoursSuccessJobs() const;
    int getLastHoursCleanAbortJobs() const;
    int getLastHoursFailJobs() const;
    /// The process-wide last queried hour count.
    static int lastQueriedHours();

    /// Empties one slot (0 to 71) of all three arrays; another slot changes nothing.
    void clearHourSlot(int slot);
    void clearAllHourSlots();
    /// Moves the counters as many slots older as hours passed since `lastHour`; 72 hours or more clear
    /// them all, and a clock that went back moves nothing.
    void clearOldHourSlots(quint32 hourNow);
    /// Ages the counters to the current hour (when they were aged before) and takes it as `lastHour`.
    void checkAndClearOldHourSlots();
    /// The current hour number: local time in seconds divided by 3600.
    static quint32 currentHourNumber();

    /// Computes `successRate` over the last `hours` hours: 255 times the share of successful jobs
    /// among all counted, rounded, and at least 1 when any job succeeded. Without any job counted the
    /// rate is not valid. Nothing happens before the counters were first aged (`lastHour` 0).
    void calcSuccessRate(int hours);
    /// calcSuccessRate over the last queried hour count.
    void calcSuccessRate();
};
static_assert(sizeof(_Client_jobEfficiencyRate) == 440);
static_assert(offsetof(_Client_jobEfficiencyRate, cleanAbortJobs) == 144);
static_assert(offsetof(_Client_jobEfficiencyRate, failJobs) == 288);
static_assert(offsetof(_Client_jobEfficiencyRate, successRate) == 432);
static_assert(offsetof(_Client_jobEfficiencyRate, successRateValid) == 433);
static_assert(offsetof(_Client_jobEfficiencyRate, lastHour) == 436);
static_assert(std::is_trivially_copyable_v<_Client_jobEfficiencyRate>);

/// One 12-byte entry of the saved statistics.
struct _Client_Info_entry {
    quint32 value_0;
    quint32 value_4;
    quint32 value_8;
};
static_assert(sizeof(_Client_Info_entry) == 12);

struct _Client_Info_save;

/// The saved statistics of a client, first layout (files of version 1).
struct KX_EXPORT _Client_Info_save_v1 {
    static constexpr int entryCount = 30;

    quint8 block_0[8000];
    quint8 block_8000[8000];
    quint8 block_16000[4000];
    quint32 values_20000[16];
    _Client_Info_entry entries[entryCount];

    /// Copies every field into `target` at the same places; the target's efficiency rate stays.
    void toVersion2(_Client_Info_save& target) const;
};
static_assert(sizeof(_Client_Info_save_v1) == 20424);
static_assert(offsetof(_Client_Info_save_v1, entries) == 20064);

/// The saved statistics of a client, current layout: the first layout unchanged, then the client's job
/// efficiency rate.
struct KX_EXPORT _Client_Info_save : _Client_Info_save_v1 {
    _Client_jobEfficiencyRate jobEfficiencyRate;

    /// All bytes zero.
    void clearSave();
};

/// A client's statistics: the saved part and run-time values that are never saved.
struct KX_EXPORT _Client_Info : _Client_Info_save {
    static constexpr int runtimeBlockCount = 8;

    quint64 runtimeValue;
    quint8 runtimeFlagA;
    quint8 runtimeFlagB;
    quint8 runtimeBlocks[runtimeBlockCount][1000];
    quint8 reserved_28874[2];

    /// The saved part and the run-time values all zero.
    void clearInfo();
    /// Takes the saved part of `saved`, field by field; a null pointer changes nothing.
    _Client_Info& operator=(const _Client_Info_save* saved);
};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(_Client_Info_save) == 20864);
static_assert(offsetof(_Client_Info_save, jobEfficiencyRate) == 20424);
static_assert(offsetof(_Client_Info, runtimeValue) == 20864);
static_assert(sizeof(_Client_Info) == 28876);
#pragma GCC diagnostic pop
static_assert(std::is_trivially_copyable_v<_Client_Info>);

/// The part of a client record that its configuration exchange carries: list number, configuration,
/// hardware and the installed render applications.
struct KX_EXPORT _Client_configPart {
    static constexpr int renderAppCapacity = 100;

    qint32 listNo; ///< the client's position in the farm's client list
    _ClientConfig config;
    _ClientHardware hardware;
    quint8 reserved_13132[230];
    qint16 renderAppCount;
    kxRA::_ClientRenderApp renderApps[renderAppCapacity];

    /// Render applications in use, `renderAppCount` cut to the capacity.
    int usedRenderAppCount() const;
};
static_assert(sizeof(_Client_configPart) == 39364);
static_assert(offsetof(_Client_configPart, config) == 4);
static_assert(offsetof(_Client_configPart, hardware) == 12644);
static_assert(offsetof(_Client_configPart, renderAppCount) == 13362);
static_assert(offsetof(_Client_configPart, renderApps) == 13364);
static_assert(std::is_trivially_copyable_v<_Client_configPart>);

/// A render client without its status: configuration part, command queue, user messages and statistics.
struct KX_EXPORT _Client_WithoutStatus : _Client_configPart {
    static constexpr int commandCapacity = 15;

    _KXCommands commands[commandCapacity]; ///< oldest first
    qint32 commandCount;                   ///< queued commands, 0 to 15
    _ClientUserMessage userMessage;
    quint8 reserved_74854[2];
    _Client_Info info;
    _kxTime times[4];
    quint8 addedToList; ///< set by the client list when it adds the client
    quint8 reserved_103765[3967];

    /// Empty render-application entries, no commands, no messages, zero statistics, no time set.
    _Client_WithoutStatus();

    /// Time stamp i (0 to 3); not set for another index.
    _kxTime time(int i) const { return (i >= 0 && i < 4) ? times[i] : _kxTime(); }
    void setTime(int i, const _kxTime& t) {
        if (i >= 0 && i < 4)
            times[i] = t;
    }

    /// Zeroes the whole record but its status, clears configuration and hardware, repairs the values and
    /// sets the list number to -1.
    void clear_wos();
    /// Brings every value into its range (hardware minima, numbered values, thread count, UNC preset,
    /// cloud-machine settings), makes sure some thread accepts "Execute" jobs and drops render
    /// applications without executable or name.
    void checkInvalidValues();
    /// Copies list number, configuration, hardware and render applications into `target`; the rest of
    /// the target stays.
    void copyCfgTo(_Client_WithoutStatus& target) const;

    /// Queues a command, normalising its numbering; a command already queued with the same kind, number,
    /// text and value takes the new targets instead. A full queue drops the command, or with
    /// `replaceLastIfFull` lets it take the last slot.
    void addCommand(_KXCommands cmd, bool const& replaceLastIfFull);
    /// Queues a command built from its parts; `target` 0 to 127 names one target, a negative low byte
    /// all of them.
    void addCommand(unsigned short command, short paramA, signed char paramB, long long target,
                    unsigned char value, int paramInt);
    /// Queues a server command for target 0 to 127.
    void addCommandServer(_ClientCommand const& cmd, signed char target, unsigned long long value);
    bool hasCommand() const { return usedCommandCount() > 0; }
    /// Empties the queue; every slot becomes a cleared slot.
    void clearCommands();
    /// Removes the command at `index`; an index outside the queue changes nothing.
    void deleteCommand(int const& index);
    /// Takes out the oldest command.
    _KXCommands getNextCommand();
    /// Queued commands, `commandCount` cut to 0..15.
    int usedCommandCount() const;
};

/// An ordinary client: the record without status, followed by an 8-thread status.
struct KX_EXPORT _Client : _Client_WithoutStatus {
    _ClientStatus status;

    /// The record cleared (`clear_wos`) and its status cleared.
    void clear();
};

/// A client record with room for 1000 thread records: the form of a cloud connector and of exports.
struct KX_EXPORT _Client_ALL : _Client_WithoutStatus {
    _ClientStatus_ALL status;

    /// `clear_wos`, then the status: 8 thread records for an ordinary client, all 1000 for a cloud
    /// connector, which stays a cloud connector.
    void clear();
    /// `clear_wos`, the whole status, and no cloud connector.
    void clearAllStruct();
};

/// A group of cloud virtual machines, one thread record per machine.
struct KX_EXPORT _Client_CloudConnector : _Client_ALL {};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(_Client_WithoutStatus, commands) == 39364);
static_assert(offsetof(_Client_WithoutStatus, commandCount) == 69844);
static_assert(offsetof(_Client_WithoutStatus, userMessage) == 69848); // read by the plug-in
static_assert(offsetof(_Client_WithoutStatus, info) == 74856);
static_assert(offsetof(_Client_WithoutStatus, addedToList) == 103764);
static_assert(sizeof(_Client_WithoutStatus) == 107732);
static_assert(offsetof(_Client, status) == 107732);
static_assert(offsetof(_Client, status) + offsetof(_ClientStatusBasic_ALL_base, name) ==
              107738); // read by the plug-in
static_assert(offsetof(_Client, userMessage) == 69848);
static_assert(sizeof(_Client) == 108660);
static_assert(offsetof(_Client_ALL, status) == 107732);
static_assert(sizeof(_Client_ALL) == 203892);
static_assert(sizeof(_Client_CloudConnector) == sizeof(_Client_ALL));
#pragma GCC diagnostic pop
static_assert(alignof(_Client) == 4 && alignof(_Client_CloudConnector) == 4);
static_assert(std::is_trivially_copyable_v<_Client>);
static_assert(std::is_trivially_copyable_v<_Client_CloudConnector>);

/// The status of the whole client list in one block, as the server sends it.
struct KX_EXPORT _ClientStatusMulti {
    static constexpr int clientCapacity = 1500;
    static constexpr int cloudCapacity = 30;

    qint16 count;
    quint16 clientCount;
    quint16 cloudCount;
    quint8 reserved_6[2];
    _ClientStatus clients[clientCapacity];
    _ClientStatus_ALL clouds[cloudCapacity];
    qint16 entryNumbers[clientCapacity + cloudCapacity]; ///< the list-number order
};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(_ClientStatusMulti, clientCount) == 2);
static_assert(offsetof(_ClientStatusMulti, cloudCount) == 4);
static_assert(offsetof(_ClientStatusMulti, clients) == 8);
static_assert(offsetof(_ClientStatusMulti, clouds) == 1392008);
static_assert(offsetof(_ClientStatusMulti, entryNumbers) == 4276808);
#pragma GCC diagnostic pop
static_assert(sizeof(_ClientStatusMulti) == 4279868);

/// One client's configuration as it travels over TCP between the server and the client application.
struct KX_EXPORT _Client_allConfig_TCP {
    static constexpr quint16 structMark = 4100;

    quint16 structID; ///< 4100
    _kxString8_allSize<50> name;
    qint8 cloudConnectorIndex;
    quint8 reserved_57[3];
    _Client_configPart cfg;
};
static_assert(offsetof(_Client_allConfig_TCP, name) == 2);
static_assert(offsetof(_Client_allConfig_TCP, cloudConnectorIndex) == 56);
static_assert(offsetof(_Client_allConfig_TCP, cfg) == 60);
static_assert(sizeof(_Client_allConfig_TCP) == 39424);
static_assert(std::is_trivially_copyable_v<_Client_allConfig_TCP>);

#pragma pack(pop)

} // namespace kxC
