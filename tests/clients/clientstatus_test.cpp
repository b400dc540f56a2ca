// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "clients/clientrecords.h"
#include "jobs/jobid.h"
#include "jobs/jobrecords.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace kxC;

namespace {

// A job ID with main number `idValue` and family member `preID` (the main number sits at byte 3).
constexpr quint64 jobId(quint32 idValue, quint8 preID = 0) {
    return (quint64(idValue) << 24) | preID;
}

constexpr quint64 job1 = jobId(123450000);
constexpr quint64 job2 = jobId(98760000, 3);

// "%J" in an expected text stands for the job text of the case's job ID.
QString expand(const char* text, quint64 id) {
    QString s = QString::fromLatin1(text);
    const QString j = id <= 1000 ? QStringLiteral("|%1|").arg(id) : kxJ::ID2str(id);
    return s.replace(QStringLiteral("%J"), j);
}

struct RecordingLog : __KXlog {
    struct Line {
        int level;
        int flags;
        QString text;
    };
    std::vector<Line> lines;
    void writeLog(int level, int flags, const QString& text) override {
        lines.push_back({level, flags, text});
    }
};

QString single(signed char status, quint64 id, short detail) {
    return _ClientStatusThread::clientStatusAsStringSingle_static(status, id, detail, nullptr);
}

} // namespace

TEST(ClientStatusTexts, JobIdentifierAnchors) {
    // The expected job texts below come from ID2str; one literal keeps them honest.
    EXPECT_EQ(kxJ::ID2str(job1), QStringLiteral("{KT9 }"));
    EXPECT_EQ(single(5, job1, 0), QStringLiteral("{KT9 } Render Aborted"));
}

TEST(ClientStatusTexts, EveryThreadStatus) {
    struct Case {
        signed char status;
        quint64 jobID;
        short detail;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, 0, "Off"},
        {0, 6, 0, "Wake On Lan"},
        {0, 1, 360, "High CPU Usage (enable in 6m)"},
        {0, 1000, 0, "Unknown status 1000"},
        {0, 1001, 0, "Off"}, // a job, not a reason
        {0, job1, 0, "Off"},
        {1, 0, 0, "Idle"},
        {1, 0, 600, "Idle"},
        {1, 0, 601, "Idle for 10m"},
        {1, 0, 659, "Idle for 10m"},
        {1, 0, 660, "Idle for 11m"},
        {1, 14, 0, "(*defer mode*)  Idle"},
        {1, 14, 3600, "(*defer mode*)  Idle for 60m"},
        {1, 13, 0, "Idle"},
        {2, 0, 44, "Disabled (enable in 44m)"},
        {2, 0, 45, "Disabled"},
        {2, 0, -3, "Disabled (enable in -3m)"},
        {2, 5, 0, "Low Available Memory"},
        {2, 4, 30, "Waiting 30s"},
        {2, 1000, 0, "Unknown status 1000"},
        {2, 1001, 0, "Disabled - closed: %J"},
        {2, job1, 10, "Disabled - closed: %J"},
        {3, job1, 0, "%J Rendering Job"},
        {3, 7, 0, "%J Rendering Job"},
        {4, job1, 0, "%J Render Successfull"},
        {5, 1000, 0, "%J Render Aborted"},
        {5, job2, 0, "%J Render Aborted"},
        {6, job1, 0, "%J Render Crashed"},
        {7, 0, 45, "Disabled (al)"},
        {7, 0, 10, "Disabled (enable in 10m) (al)"},
        {7, 7, 125, "User logged off (enable in 2m) (al)"},
        {7, job1, 0, "Disabled - closed: %J (al)"},
        {8, job1, 0, "%J Render Starting..."},
        {9, job1, 0, "%J No Render License"},
        {10, job1, 0, "%J Render Crashed Permanentely"},
        {11, job1, 0, "!!kxClient Froze!!"},
        {12, job1, 0, "%J Render Abort & Disable"},
        {13, job1, 0, "%J Render Aborted - Low sysMem"},
        {14, job1, 0, "%J Render Aborted - Frozen"},
        {15, job1, 0, "%J Render Aborted - High user CPU"},
        {16, job1, 0, "%J Render Abort - Frame Time"},
        {17, job1, 0, "%J Render Abort - Working hours"},
        {18, job1, 0, "%J Render Abort - Reserved Client"},
        {19, job1, 0, "%J Render Abort - High Priority Job"},
        {20, job1, 0, "%J Render Abort - kxControl"},
        {21, job1, 0, "%J Render Abort - Averaging"},
        {22, job1, 0, "%J Render Abort - License Block"},
        {23, job1, 0, "%J Render Abort - Local Artist"},
        {24, 0, 0, "%J Render Abort - Process Found"},
        {25, job1, 0, "%J Render Successfull"},
        {26, job1, 0, "Working hours"},
        {27, job1, 0, "Working hours (al)"},
        {28, job1, 0, " - deactivated - "},
        {29, job1, 0, "%J Render Abort - Error in render log"},
        {30, job1, 0, "Unknown status 30"},
        {31, job1, 0, "%J KSO - closing..."},
        {32, job1, 0, "%J 32bit kxClient not supported any more"},
        {33, job1, 0, "!!Abort Blocked!! Please execute cmd 'Restart Machine - Force'"},
        {34, job1, 0, "Unknown status 34"},
        {-1, 0, 0, "Unknown status -1"},
        {-128, 0, 0, "Unknown status -128"},
        {127, 0, 0, "Unknown status 127"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(single(c.status, c.jobID, c.detail), expand(c.text, c.jobID))
            << int(c.status) << " " << c.jobID << " " << c.detail;
}

TEST(ClientStatusTexts, EveryOffReason) {
    const char* const texts[] = {
        "",
        "High CPU Usage (enable in 0m)",
        "(WH old)",
        "????",
        "Waiting 0s",
        "Low Available Memory",
        "Wake On Lan",
        "User logged off (enable in 0m)",
        "Client Shutdown",
        "WOL Broken!",
        "Disable Process found",
        "kxClient not running on machine!",
        "kxClient off but not shutdown properly!",
        "App-Client took over",
        "Unknown status df #14",
        "VM Booting",
        "VM Creating",
        "Machine is restarting (kxCommand)",
        "Machine shut down (kxCommand)",
        "Client app is restarting",
        "Client app was shut down",
        "Shut down by OS",
        "App is starting",
        "App is starting: Mounting drives",
        "VM init",
        "VM init: Waiting for OS setup",
        "VM init: Machine Name",
        "VM init: Temp Folder",
        "VM init: Add kxUser",
        "VM init: Add remote user",
        "VM init: Time Zone",
        "VM init: FireWall",
        "VM init: Domain",
        "VM init: Hostfile",
        "VM init: Mount kxShare",
        "VM init: SSH Login",
        "VM init: UMask",
        "VM init: Allow Shutdown",
        "VM init: Done, restarting",
        "VM init: Done, starting client",
    };
    static_assert(sizeof(texts) / sizeof(texts[0]) == 40);
    for (int r = 0; r < 40; ++r)
        EXPECT_EQ(_ClientStatusThread::clientOffStatusAsString(_ClientStatusJobs(r), 0),
                  QLatin1String(texts[r]))
            << r;
}

TEST(ClientStatusTexts, OffReasonDetails) {
    struct Case {
        qint32 reason;
        short detail;
        const char* text;
    };
    const Case cases[] = {
        {1, 360, "High CPU Usage (enable in 6m)"},
        {1, 361, "High CPU Usage"},
        {1, 119, "High CPU Usage (enable in 1m)"},
        {1, -119, "High CPU Usage (enable in -1m)"}, // the division truncates toward zero
        {1, -32768, "High CPU Usage (enable in -546m)"},
        {4, -5, "Waiting -5s"},
        {4, 32767, "Waiting 32767s"},
        {7, 59, "User logged off (enable in 0m)"},
        {7, 3600, "User logged off (enable in 60m)"},
        {6, 999, "Wake On Lan"}, // reasons without a number ignore the detail
        // Outside the table, negative included, nothing is looked up.
        {40, 0, "Unknown status 40"},
        {1000, 0, "Unknown status 1000"},
        {-1, 0, "Unknown status -1"},
        {-2147483647 - 1, 0, "Unknown status -2147483648"},
        {2147483647, 0, "Unknown status 2147483647"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(_ClientStatusThread::clientOffStatusAsString(_ClientStatusJobs(c.reason), c.detail),
                  QLatin1String(c.text))
            << c.reason << " " << c.detail;
}

TEST(ClientStatusTexts, RenderingThreadWithItsJobShowsTheJobLine) {
    auto job = std::make_unique<kxJ::_JobSend>();
    job->ID = job1;
    job->projectName.set("Prj");
    job->renderApp.set("Maya");
    job->sceneName.set("/p/Scenes/sh/l.ma");

    struct Case {
        quint16 detail; // high byte: low-CPU minutes (signed), low byte: preview when at most 80
        bool preview;
        int lowCpuMinutes;
    };
    const Case cases[] = {
        {0x0000, true, 0},  {0x0050, true, 0},     {0x0051, false, 0},
        {0x00FF, false, 0}, {0x0C00, true, 12},    {0x0C51, false, 12},
        {0xFF10, true, -1}, {0x8090, false, -128}, {0x7F50, true, 127},
    };
    for (const Case& c : cases) {
        const QString expected = job->getJobLogString(c.preview, c.lowCpuMinutes);
        EXPECT_EQ(
            _ClientStatusThread::clientStatusAsStringSingle_static(3, job1, qint16(c.detail), job.get()),
            expected)
            << c.detail;
    }
    // Sanity of the forms compared above: the preview and the low-CPU texts differ.
    EXPECT_NE(job->getJobLogString(true, 0), job->getJobLogString(false, 0));
    EXPECT_TRUE(job->getJobLogString(false, 12).contains(QStringLiteral("Low CPU 12min")));

    // Only the rendering status uses the job record.
    EXPECT_EQ(_ClientStatusThread::clientStatusAsStringSingle_static(4, job1, 0, job.get()),
              kxJ::ID2str(job1) + QStringLiteral(" Render Successfull"));

    // The member form reads the record's own fields.
    _ClientStatusThread t;
    t.clientStatus = 3;
    t.jobID = job1;
    t.jobStatus = 0x0C51;
    EXPECT_EQ(t.clientStatusAsStringSingle(job.get()), job->getJobLogString(false, 12));
    EXPECT_EQ(t.clientStatusAsStringSingle(nullptr), kxJ::ID2str(job1) + QStringLiteral(" Rendering Job"));
}

namespace {

template <int N>
void setThread(_ClientStatus_template<N>& s, int i, signed char status, quint64 id, short detail = 0) {
    s.threads[i].clientStatus = status;
    s.threads[i].jobID = id;
    s.threads[i].jobStatus = detail;
}

} // namespace

TEST(ClientStatusTexts, WholeClient) {
    auto s = std::make_unique<_ClientStatus>();
    const QString j1 = kxJ::ID2str(job1);
    const QString j2 = kxJ::ID2str(job2);

    // One thread: its own text, with the job.
    setThread(*s, 0, 1, 0, 601);
    EXPECT_EQ(s->clientStatusAsStringAll(nullptr), QStringLiteral("Idle for 10m"));

    // Three threads, two rendering and one idle: every single text followed by "| ".
    s->threadCount = 3;
    setThread(*s, 0, 3, job1);
    setThread(*s, 1, 1, 0);
    setThread(*s, 2, 3, job2);
    EXPECT_EQ(s->clientStatusAsStringAll(nullptr), QStringLiteral("[3] ") + j1 +
                                                       QStringLiteral(" Rendering Job| Idle| ") + j2 +
                                                       QStringLiteral(" Rendering Job| "));

    // All rendering: the identifiers one after the other.
    setThread(*s, 1, 3, job2);
    EXPECT_EQ(s->clientStatusAsStringAll(nullptr),
              QStringLiteral("[3] ") + j1 + j2 + j2 + QStringLiteral(" Rendering"));
    // Rendering with a reason in the ID is not a job.
    setThread(*s, 2, 3, 1000);
    EXPECT_EQ(s->clientStatusAsStringAll(nullptr),
              QStringLiteral("[3] ") + j1 + QStringLiteral(" Rendering Job| ") + j2 +
                  QStringLiteral(" Rendering Job| |1000| Rendering Job| "));

    // No threads count as all rendering with nothing to list.
    s->threadCount = 0;
    EXPECT_EQ(s->clientStatusAsStringAll(nullptr), QStringLiteral("[0]  Rendering"));

    // A thread count beyond the record's 8 threads reads as 8.
    s->clearStatus();
    s->threadCount = 60000;
    EXPECT_EQ(s->clientStatusAsStringAll(nullptr),
              QStringLiteral("[8] ") + QStringLiteral("Off| ").repeated(8));
    s->threadCount = 9;
    for (int i = 0; i < 8; ++i)
        setThread(*s, i, 3, job1);
    EXPECT_EQ(s->clientStatusAsStringAll(nullptr),
              QStringLiteral("[8] ") + j1.repeated(8) + QStringLiteral(" Rendering"));

    // A cloud connector shows its machine count whatever the threads do, cut to the record's capacity.
    auto cloud = std::make_unique<_ClientStatus_ALL>();
    cloud->cloudConnectorIndex = 0;
    cloud->threadCount = 12;
    setThread(*cloud, 0, 5, job1);
    EXPECT_EQ(cloud->clientStatusAsStringAll(nullptr), QStringLiteral("12 Cloud VMs"));
    cloud->threadCount = 1;
    EXPECT_EQ(cloud->clientStatusAsStringAll(nullptr), QStringLiteral("1 Cloud VMs"));
    cloud->threadCount = 1001;
    EXPECT_EQ(cloud->clientStatusAsStringAll(nullptr), QStringLiteral("1000 Cloud VMs"));
    s->cloudConnectorIndex = 3;
    s->threadCount = 60000;
    EXPECT_EQ(s->clientStatusAsStringAll(nullptr), QStringLiteral("8 Cloud VMs"));
    // The 1000-thread form of an ordinary client lists its threads.
    cloud->cloudConnectorIndex = -1;
    cloud->threadCount = 2;
    EXPECT_EQ(cloud->clientStatusAsStringAll(nullptr),
              QStringLiteral("[2] ") + j1 + QStringLiteral(" Render Aborted| Off| "));
}

TEST(ClientStatusTexts, WholeClientGivesTheJobToThreadZeroOnly) {
    auto job = std::make_unique<kxJ::_JobSend>();
    job->ID = job1;
    job->projectName.set("Prj");
    job->renderApp.set("Nuke");
    auto s = std::make_unique<_ClientStatus>();
    s->threadCount = 2;
    setThread(*s, 0, 3, job1, 0x0051);
    setThread(*s, 1, 3, job2, 0x0010);
    s->threads[1].jobID = 5; // not all rendering
    EXPECT_EQ(s->clientStatusAsStringAll(job.get()), QStringLiteral("[2] ") + job->getJobLogString(false, 0) +
                                                         QStringLiteral("| |5| Rendering Job| "));

    s->threadCount = 1;
    EXPECT_EQ(s->clientStatusAsStringAll(job.get()), job->getJobLogString(false, 0));
}

TEST(ClientStatusSetters, JobIdLinesAndLevels) {
    struct Case {
        quint64 from;
        quint64 to;
        bool idleReset;
        bool important;
        int level; // -1: no line
        const char* text;
    };
    const Case cases[] = {
        {0, 6, false, false, 12, "SetStatusB 'Wake On Lan' for thread 2. wol"},
        {0, 6, true, false, 12, "SetStatusB 'Wake On Lan' for thread 2. wol"},
        {0, 6, false, true, 3, "SetStatusB 'Wake On Lan' for thread 2. wol"},
        {0, 1, false, false, 12, "SetStatusB 'High CPU Usage (enable in 0m)' for thread 2. wol"},
        {6, 0, false, false, 12, "SetStatusB '' for thread 2. wol"},
        {6, 0, true, false, 3, "SetStatusB '' for thread 2. wol"},
        {6, 0, true, true, 3, "SetStatusB '' for thread 2. wol"},
        {0, 999, false, false, 12, "SetStatusB 'Unknown status 999' for thread 2. wol"},
        {0, 1000, false, false, 12, "SetJobID {AAAkr} for thread 2. wol"},
        {0, job1, false, false, 12, "SetJobID {KT9 } for thread 2. wol"},
        {0, job1, true, false, 12, "SetJobID {KT9 } for thread 2. wol"},
        {0, job1, false, true, 3, "SetJobID {KT9 } for thread 2. wol"},
        {job1, job1, false, true, -1, ""},
        {0, 0, true, true, -1, ""},
    };
    for (const Case& c : cases) {
        RecordingLog log;
        _ClientStatusThread t;
        t.jobID = c.from;
        t.setJobID(log, 2, c.to, QStringLiteral("wol"), c.idleReset, c.important);
        EXPECT_EQ(t.jobID, c.to);
        if (c.level < 0) {
            EXPECT_TRUE(log.lines.empty()) << c.from << " " << c.to;
            continue;
        }
        ASSERT_EQ(log.lines.size(), 1u) << c.to;
        EXPECT_EQ(log.lines[0].level, c.level) << c.to << c.idleReset << c.important;
        EXPECT_EQ(log.lines[0].flags, 0);
        EXPECT_EQ(log.lines[0].text, QLatin1String(c.text));
    }
}

TEST(ClientStatusSetters, StatusAndDetailWriteNoLine) {
    RecordingLog log;
    _ClientStatusThread t;
    t.setClientStatus(log, 3, 0, QStringLiteral("x"));
    EXPECT_EQ(t.clientStatus, 3);
    t.setClientStatus(log, -7, 0, QString());
    EXPECT_EQ(t.clientStatus, -7);

    // The low 16 bits of the value, read as signed.
    const struct {
        long long value;
        qint16 stored;
    } cases[] = {{601, 601}, {0x12345, 0x2345}, {0xFFFF, -1}, {-1, -1}, {-32769, 32767}, {0x10000, 0}};
    for (const auto& c : cases) {
        t.setJobStatus(log, c.value, 1, QString());
        EXPECT_EQ(t.jobStatus, c.stored) << c.value;
    }
    EXPECT_TRUE(log.lines.empty());
}

TEST(ClientStatusTexts, CloudConnectorSumsReadOnlyItsThreads) {
    auto cloud = std::make_unique<_ClientStatus_ALL>();
    for (_ClientStatusThread& t : cloud->threads) {
        t.jobCPU_Usage = 1;
        t.jobMemoryUsage = 3;
    }
    cloud->threadCount = 65535; // as a record from elsewhere may claim
    EXPECT_EQ(cloud->allThreads_jobCPU_Usage(), 255);
    EXPECT_EQ(cloud->allThreads_jobMemoryUsage(), 3000u);
    cloud->threadCount = 100;
    EXPECT_EQ(cloud->allThreads_jobCPU_Usage(), 100);
    EXPECT_EQ(cloud->allThreads_jobMemoryUsage(), 300u);
}
