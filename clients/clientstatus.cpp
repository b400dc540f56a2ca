// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "clients/clientrecords.h"

#include "jobs/jobid.h"
#include "jobs/jobrecords.h"

#include <QStringView>

namespace kxC {

namespace {

// The status texts are the farm's vocabulary: user interfaces, logs and notifications show them word
// for word, spelling included.

// Off and disable reasons 0 to 39. Reasons whose text carries a number are completed in appendOffReason.
constexpr QStringView offReasonTexts[] = {
    u"",                                        // 0
    u"High CPU Usage",                          // 1
    u"(WH old)",                                // 2
    u"????",                                    // 3
    u"Waiting ",                                // 4: "Waiting %1s"
    u"Low Available Memory",                    // 5
    u"Wake On Lan",                             // 6
    u"User logged off (enable in ",             // 7: "... %1m)"
    u"Client Shutdown",                         // 8
    u"WOL Broken!",                             // 9
    u"Disable Process found",                   // 10
    u"kxClient not running on machine!",        // 11
    u"kxClient off but not shutdown properly!", // 12
    u"App-Client took over",                    // 13
    u"Unknown status df #14",                   // 14
    u"VM Booting",                              // 15
    u"VM Creating",                             // 16
    u"Machine is restarting (kxCommand)",       // 17
    u"Machine shut down (kxCommand)",           // 18
    u"Client app is restarting",                // 19
    u"Client app was shut down",                // 20
    u"Shut down by OS",                         // 21
    u"App is starting",                         // 22
    u"App is starting: Mounting drives",        // 23
    u"VM init",                                 // 24
    u"VM init: Waiting for OS setup",           // 25
    u"VM init: Machine Name",                   // 26
    u"VM init: Temp Folder",                    // 27
    u"VM init: Add kxUser",                     // 28
    u"VM init: Add remote user",                // 29
    u"VM init: Time Zone",                      // 30
    u"VM init: FireWall",                       // 31
    u"VM init: Domain",                         // 32
    u"VM init: Hostfile",                       // 33
    u"VM init: Mount kxShare",                  // 34
    u"VM init: SSH Login",                      // 35
    u"VM init: UMask",                          // 36
    u"VM init: Allow Shutdown",                 // 37
    u"VM init: Done, restarting",               // 38
    u"VM init: Done, starting client",          // 39
};
constexpr int offReasonCount = int(sizeof(offReasonTexts) / sizeof(offReasonTexts[0]));
static_assert(offReasonCount == 40);

// How a thread status text is made: the job text first, a fixed text alone, or a rule of its own.
enum class Form : quint8 { unknown, jobThenText, textOnly, off, idle, disabled, rendering, disabledAl };

struct StatusText {
    Form form;
    QStringView text;
};

// Thread status codes 0 to 33; the texts of the job forms are appended directly to the job text.
constexpr StatusText statusTexts[] = {
    {Form::off, u"Off"},                                                                 // 0
    {Form::idle, u"Idle"},                                                               // 1
    {Form::disabled, u"Disabled"},                                                       // 2
    {Form::rendering, u" Rendering Job"},                                                // 3
    {Form::jobThenText, u" Render Successfull"},                                         // 4
    {Form::jobThenText, u" Render Aborted"},                                             // 5
    {Form::jobThenText, u" Render Crashed"},                                             // 6
    {Form::disabledAl, u" (al)"},                                                        // 7
    {Form::jobThenText, u" Render Starting..."},                                         // 8
    {Form::jobThenText, u" No Render License"},                                          // 9
    {Form::jobThenText, u" Render Crashed Permanentely"},                                // 10
    {Form::textOnly, u"!!kxClient Froze!!"},                                             // 11
    {Form::jobThenText, u" Render Abort & Disable"},                                     // 12
    {Form::jobThenText, u" Render Aborted - Low sysMem"},                                // 13
    {Form::jobThenText, u" Render Aborted - Frozen"},                                    // 14
    {Form::jobThenText, u" Render Aborted - High user CPU"},                             // 15
    {Form::jobThenText, u" Render Abort - Frame Time"},                                  // 16
    {Form::jobThenText, u" Render Abort - Working hours"},                               // 17
    {Form::jobThenText, u" Render Abort - Reserved Client"},                             // 18
    {Form::jobThenText, u" Render Abort - High Priority Job"},                           // 19
    {Form::jobThenText, u" Render Abort - kxControl"},                                   // 20
    {Form::jobThenText, u" Render Abort - Averaging"},                                   // 21
    {Form::jobThenText, u" Render Abort - License Block"},                               // 22
    {Form::jobThenText, u" Render Abort - Local Artist"},                                // 23
    {Form::jobThenText, u" Render Abort - Process Found"},                               // 24
    {Form::jobThenText, u" Render Successfull"},                                         // 25
    {Form::textOnly, u"Working hours"},                                                  // 26
    {Form::textOnly, u"Working hours (al)"},                                             // 27
    {Form::textOnly, u" - deactivated - "},                                              // 28
    {Form::jobThenText, u" Render Abort - Error in render log"},                         // 29
    {Form::unknown, u""},                                                                // 30
    {Form::jobThenText, u" KSO - closing..."},                                           // 31
    {Form::jobThenText, u" 32bit kxClient not supported any more"},                      // 32
    {Form::textOnly, u"!!Abort Blocked!! Please execute cmd 'Restart Machine - Force'"}, // 33
};
constexpr int statusTextCount = int(sizeof(statusTexts) / sizeof(statusTexts[0]));
static_assert(statusTextCount == 34);

// Job IDs up to this value are reasons or flags in the texts; setJobID's log line draws the line one
// lower (below 1000).
constexpr quint64 lastReasonValue = 1000;

void appendText(QString& out, QStringView text) {
    out.append(text);
}

void appendNumber(QString& out, long long value) {
    char16_t digits[24];
    int at = 24;
    // Negative values are built as negative digits, so the lowest value needs no special case.
    long long rest = value;
    do {
        const int digit = int(rest % 10);
        digits[--at] = char16_t(u'0' + (digit < 0 ? -digit : digit));
        rest /= 10;
    } while (rest != 0);
    if (value < 0)
        digits[--at] = u'-';
    out.append(QStringView(digits + at, 24 - at));
}

// "|value|" for a reason or flag, the short identifier text for a job.
void appendJobText(QString& out, quint64 jobID) {
    if (jobID <= lastReasonValue) {
        out += QLatin1Char('|');
        appendNumber(out, static_cast<long long>(jobID));
        out += QLatin1Char('|');
    } else {
        out += kxJ::ID2str(jobID);
    }
}

// `reason` may be any 32-bit value; only 0 to 39 have texts.
void appendOffReason(QString& out, qint32 reason, short detail) {
    if (reason < 0 || reason >= offReasonCount) {
        appendText(out, u"Unknown status ");
        appendNumber(out, reason);
        return;
    }
    appendText(out, offReasonTexts[reason]);
    switch (reason) {
    case offReason_HighCPU:
        if (detail <= 360) {
            appendText(out, u" (enable in ");
            appendNumber(out, detail / 60);
            appendText(out, u"m)");
        }
        break;
    case offReason_Waiting:
        appendNumber(out, detail);
        out += QLatin1Char('s');
        break;
    case offReason_UserLoggedOff:
        appendNumber(out, detail / 60);
        appendText(out, u"m)");
        break;
    default:
        break;
    }
}

void appendDisabled(QString& out, quint64 jobID, short detail) {
    if (jobID > lastReasonValue) {
        appendText(out, u"Disabled - closed: ");
        appendJobText(out, jobID);
    } else if (jobID != 0) {
        // jobID is at most 1000 here, so it fits the reason's 32 bits.
        appendOffReason(out, static_cast<qint32>(jobID), detail);
    } else if (detail < 45) {
        appendText(out, u"Disabled (enable in ");
        appendNumber(out, detail);
        appendText(out, u"m)");
    } else {
        appendText(out, u"Disabled");
    }
}

void appendSingle(QString& out, signed char status, quint64 jobID, short detail,
                  const kxJ::_JobSubmitter* job) {
    if (status < 0 || status >= statusTextCount || statusTexts[status].form == Form::unknown) {
        appendText(out, u"Unknown status ");
        appendNumber(out, status);
        return;
    }
    const StatusText& entry = statusTexts[status];
    switch (entry.form) {
    case Form::off:
        if (jobID >= 1 && jobID <= lastReasonValue)
            appendOffReason(out, static_cast<qint32>(jobID), detail);
        else
            appendText(out, entry.text);
        break;
    case Form::idle:
        appendText(out, jobID == offReason_DeferMode ? QStringView(u"(*defer mode*)  Idle") : entry.text);
        if (detail > 600) {
            appendText(out, u" for ");
            appendNumber(out, detail / 60);
            out += QLatin1Char('m');
        }
        break;
    case Form::disabled:
        appendDisabled(out, jobID, detail);
        break;
    case Form::disabledAl:
        appendDisabled(out, jobID, detail);
        appendText(out, entry.text);
        break;
    case Form::rendering:
        if (job != nullptr) {
            // A rendering thread packs two bytes into its detail: the low one selects the preview form
            // (at most 80), the high one counts the minutes of low CPU usage.
            const auto packed = static_cast<quint16>(detail);
            const bool preview = (packed & 0xFF) <= 80;
            const int lowCpuMinutes = static_cast<qint8>(packed >> 8);
            out += job->getJobLogString(preview, lowCpuMinutes);
        } else {
            appendJobText(out, jobID);
            appendText(out, entry.text);
        }
        break;
    case Form::jobThenText:
        appendJobText(out, jobID);
        appendText(out, entry.text);
        break;
    case Form::textOnly:
        appendText(out, entry.text);
        break;
    case Form::unknown:
        break;
    }
}

} // namespace

void _ClientStatusThread::setJobStatus(__KXlog&, long long value, int, const QString&) {
    const auto detail =
        static_cast<qint16>(static_cast<quint16>(static_cast<unsigned long long>(value) & 0xFFFF));
    if (jobStatus != detail)
        jobStatus = detail;
}

void _ClientStatusThread::setClientStatus(__KXlog&, signed char status, int, const QString&) {
    if (clientStatus != status)
        clientStatus = status;
}

void _ClientStatusThread::setJobID(__KXlog& log, int thread, unsigned long long id, const QString& info,
                                   bool idleReset, bool important) {
    if (jobID == id)
        return;
    jobID = id;

    QString line;
    line.reserve(64 + info.size());
    if (id < lastReasonValue) {
        appendText(line, u"SetStatusB '");
        appendOffReason(line, static_cast<qint32>(id), 0);
        appendText(line, u"' for thread ");
    } else {
        appendText(line, u"SetJobID ");
        line += kxJ::ID2str(id);
        appendText(line, u" for thread ");
    }
    appendNumber(line, thread);
    appendText(line, u". ");
    line += info;

    // Clearing the ID when a thread goes idle is routine unless the caller marks it important.
    const bool routine = !important && (id != 0 || !idleReset);
    log.writeLog(routine ? 12 : 3, 0, line);
}

QString _ClientStatusThread::clientOffStatusAsString(_ClientStatusJobs reason, short detail) {
    QString out;
    appendOffReason(out, reason, detail);
    return out;
}

QString _ClientStatusThread::clientStatusAsStringSingle_static(signed char status, unsigned long long jobID,
                                                               short detail, const kxJ::_JobSubmitter* job) {
    QString out;
    out.reserve(40);
    appendSingle(out, status, jobID, detail, job);
    return out;
}

QString _ClientStatusThread::clientStatusAsStringSingle(const kxJ::_JobSubmitter* job) const {
    return clientStatusAsStringSingle_static(clientStatus, jobID, jobStatus, job);
}

template <int N>
QString _ClientStatus_template<N>::clientStatusAsStringAll(const kxJ::_JobSubmitter* job) const {
    // A record from elsewhere may claim more threads than it holds; only N are read.
    const int used = usedThreadCount();
    QString out;
    if (cloudConnectorIndex >= 0) {
        appendNumber(out, used);
        appendText(out, u" Cloud VMs");
        return out;
    }
    if (used == 1)
        return threads[0].clientStatusAsStringSingle(job);

    bool allRendering = true;
    for (int i = 0; i < used && allRendering; ++i)
        allRendering = threads[i].jobID > lastReasonValue && threads[i].clientStatus == 3;

    out.reserve(8 + used * (allRendering ? 7 : 40));
    out += QLatin1Char('[');
    appendNumber(out, used);
    appendText(out, u"] ");
    if (allRendering) {
        for (int i = 0; i < used; ++i)
            out += kxJ::ID2str(threads[i].jobID);
        appendText(out, u" Rendering");
        return out;
    }
    for (int i = 0; i < used; ++i) {
        const _ClientStatusThread& t = threads[i];
        appendSingle(out, t.clientStatus, t.jobID, t.jobStatus, i == 0 ? job : nullptr);
        appendText(out, u"| ");
    }
    return out;
}

template QString _ClientStatus_template<8>::clientStatusAsStringAll(const kxJ::_JobSubmitter*) const;
template QString _ClientStatus_template<1000>::clientStatusAsStringAll(const kxJ::_JobSubmitter*) const;

} // namespace kxC
