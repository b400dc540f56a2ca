// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobs/jobconstants.h"
#include "jobs/joblogtext.h"
#include "jobs/jobrecords.h"

#include "tests/qstringprint.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>
#include <set>

using namespace kxJ;

namespace {

// The text functions take the farm object and never read it.
__KX& someFarm() {
    alignas(8) static char farm[8];
    return *reinterpret_cast<__KX*>(farm);
}

_Error error(quint8 code) {
    _Error e{};
    e.code = code;
    return e;
}

_Log entry(quint8 message, quint8 step, quint16 start, quint16 end, quint16 userRef = 65535) {
    _Log e{};
    e.message = message;
    e.step = step;
    e.frameStart = start;
    e.frameEnd = end;
    e.userRef = userRef;
    return e;
}

QString q(const _kxString<50>& s) {
    return s.toQString();
}

// A job whose frames run from `start` in steps of `step`, 50 frames per pass.
std::unique_ptr<_JobSend> jobWithFrames(double start, quint16 step, qint8 multi) {
    auto job = std::make_unique<_JobSend>();
    job->seqStart = start;
    job->seqEnd = start + 49.0 * step;
    job->seqStep = step;
    job->imageMulti = multi;
    job->seqFileOffset = 7000; // never shown: the history counts frames, not file numbers
    job->kxClearSend();
    return job;
}

// One history line: the entry's code, step and frames, and the line it gives.
struct LineCase {
    quint8 code, step;
    quint16 start, end;
    const char* text;
};

template <size_t N>
void expectLines(const LineCase (&cases)[N], _JobSend* job) {
    for (const LineCase& c : cases)
        EXPECT_EQ(q(Log2Str(entry(c.code, c.step, c.start, c.end), job)), QString::fromLatin1(c.text))
            << "code " << int(c.code) << " step " << int(c.step);
}

} // namespace

TEST(JobErrorText, EveryCode) {
    const char* texts[] = {
        "none",
        "failed",
        "Output directory not found",
        "No drive space left in output folder",
        "Fileserver time difference",
        "Job started multiple times, but no frame found",
        "Warning - Sequence divide was adjusted",
        "Too many fails/crashes",
        "Scene file not found",
        "Render application not found",
        "Execute Error",
        "No drive space left on client",
        "User login failed",
        "No render license (licenses tempor. reduced)",
        "Render failed",
        "Job send 3 times more than frames to render.",
        "Aborted because system memory was low.",
        "Render failed - Permanently",
        "Render froze",
        "No right version of render application found.",
        "Client got job multiple times, but no render time ",
        "Unknown error 21",
        "Post-script executed twice!",
        "Aborted because max render time reached!",
        "Log file contains error message!",
        "Thresholds have been reached too many times (sys m",
        "Aborted because an error was found in the render l",
        "Cache output directory not found",
        "Job aborted too many times.",
        "A frame was send more than 25 times. Frame removed",
        "No GPU assigned for job thread.",
        "Broken frame error found.",
        "Unknown error 32",
    };
    for (int code = 0; code <= 32; ++code)
        EXPECT_EQ(q(Err2Str(error(quint8(code)))), QString::fromLatin1(texts[code])) << "code " << code;
    EXPECT_EQ(q(Err2Str(error(255))), QStringLiteral("Unknown error 255"));
    _Error e = error(29);
    std::memset(&e, 0xFF, sizeof e); // only the code byte counts
    e.code = 14;
    EXPECT_EQ(q(Err2Str(e)), QStringLiteral("Render failed"));
}

TEST(JobLogText, EveryCodeName) {
    const char* names[] = {
        "none",
        "Abort reserved clients",
        "Enable",
        "Disable",
        "Disable & Abort",
        "Approve Preview",
        "DisApprove Preview",
        "Delete",
        "Abort",
        "Check",
        "Reset",
        "Reset & Delete",
        "Unknown command 12",
        "Change Client Assignment",
        "Render successful",
        "Render aborted",
        "Unknown command 16",
        "Auto delete after days",
        "Placeholder frames deleted",
        "All frames assigned",
        "Sequence Divide adjusted",
        "Receives Job ",
        "Settings Changed",
        "Unknown command 23",
        "Unknown command 24",
        "Clear error messages",
        "Restrict render app to x32",
        "Restrict render app to X64",
        "Restrict render app to xAll",
        "moved in queue",
        "User set job state to Finished",
        "Unknown command 31",
        "Unknown command 32",
        "Export Debug Info",
        "Low SysMemory, Aborted",
        "Frozen + Aborted",
        "Error",
        "Client Waits",
        "Abort (High CPU usage of Artist)",
        "Aborted because frame time was to high",
        "Abort by high priority job",
        "Client rendered less than 60s.",
        "Clear error messages & enable",
        "First check done",
        "Working hours, Aborted",
        "Process Found, Aborted",
        "Reserved Client, Aborted",
        "High Priority Job, Aborted",
        "kxControl, Aborted",
        "Client Averaging, Aborted",
        "Free License, Aborted",
        "Local Artist, Aborted",
        "Disable - too many fails/crashes",
        "Disable - no frames found",
        "Disable - output dir not found",
        "Disable - UNC map failed",
        "Disable - fileserver share full",
        "Revert frame assignment A",
        "Return frame assignment B",
        "Unknown command 59",
        "Closing KSO scene",
        "Aborted, Client Disabled",
        "Sequence Changed",
        "WaitFor-Job Finished",
        "Disable - too many limits reached (memory, time)",
        "Deleted, max job setting reached",
        "Error in log, Aborted",
        "DevDebug",
        "User set job state to Post-Render",
        "User set job state to Finished Script",
        "Reassign Deassigned",
        "Render successful (NO FRAMES?)",
        "A frame was send more than 25 times. Frame removed",
        "Disable - send 3 times more than frames to render",
        "Status change",
        "Status change Request",
        "Set framelist of parent job to missing frames",
        "Approve for Cloud",
        "DisApprove for Cloud",
        "Approve Frames",
        "DisApprove Frames",
        "Approve Custom",
        "DisApprove Custom",
        "Ignore Wait For",
        "Set custom variables",
        "Change Comment",
        "Unknown command 86",
    };
    for (quint32 code = 0; code <= 86; ++code)
        EXPECT_EQ(q(Log2StrID(code)), QString::fromLatin1(names[code])) << "code " << code;
    EXPECT_EQ(q(Log2StrID(255)), QStringLiteral("Unknown command 255"));
    EXPECT_EQ(q(Log2StrID(4294967295u)), QStringLiteral("Unknown command 4294967295"));
}

TEST(JobLogText, LinesWithoutJob) {
    const LineCase cases[] = {
        {1, 3, 4, 6, "Aborted 4 reserved clients (max required: 6)"},
        {1, 0, 14593, 48, "Reserved clients aborted by {KT9a}"},
        {9, 0, 1, 0, "Check end"},
        {9, 0, 0, 0, "Check start"},
        {9, 5, 2, 1, "Check start"},
        {13, 2, 3, 0, "Assigned 3, De-assigned 2 clients"},
        {13, 0, 3, 0, "Assigned 3 clients"},
        {13, 2, 0, 0, "De-assigned 2 clients"},
        {13, 0, 0, 9, "Change Client Assignment"},
        {14, 1, 10, 20, "Successful  10-20"},
        {14, 0, 10, 20, "Successful  10-20"},
        {14, 2, 10, 20, "Successful  10-20,2"},
        {15, 1, 0, 65535, "Aborted      0-65535"},
        {15, 3, 7, 9, "Aborted      7-9,3"},
        {18, 0, 9999, 0, "all frames deleted"},
        {18, 0, 12, 0, "12 (placeholder) frames deleted"},
        {20, 1, 5, 8, "Sequence Divide adjusted 5 8"},
        {21, 1, 1, 4, "Receives     1-4"},
        {21, 4, 1, 9, "Receives     1-9,4"},
        // The long forms keep the step even when it is 1.
        {34, 1, 2, 3, "Low SysMemory, Aborted 2-3,1"},
        {35, 1, 2, 3, "Frozen + aborted 2-3,1"},
        {36, 0, 2, 3, "Error 2-3,0"},
        {38, 1, 2, 3, "High artist CPU usage, Aborted 2-3,1"},
        {39, 1, 2, 3, "Max Frame Time, Aborted 2-3,1"},
        {40, 1, 6, 0, "Abort other low-prio jobs (6 clients)"},
        {40, 0, 14593, 48, "Abort by high-prio job {KT9a}"},
        {41, 1, 42, 0, "rendered 42s only, Seq. Div. to low?"},
        {44, 1, 2, 3, "Working hours, Aborted 2-3,1"},
        {45, 1, 2, 3, "Process Found, Aborted 2-3,1"},
        {46, 1, 2, 3, "Reserved Client, Aborted 2-3,1"},
        {47, 1, 2, 3, "High Priority Job, Aborted 2-3,1"},
        {48, 1, 2, 3, "kxControl, Aborted 2-3,1"},
        {49, 1, 2, 3, "Client Averaging, Aborted 2-3,1"},
        {50, 1, 2, 3, "Free License, Aborted 2-3,1"},
        {51, 1, 2, 3, "Local Artist, Aborted 2-3,1"},
        {57, 4, 10, 3, "Revert 3+4 frame assignments, frame #10"},
        {58, 4, 10, 3, "Return frame assignments (3+4), frame #10"},
        {61, 1, 2, 3, "Aborted (Client Disabled) 2-3"},
        {61, 2, 2, 3, "Aborted (Client Disabled) 2-3,2"},
        {63, 0, 14593, 48, "Wait-for job {KT9a} finished"},
        {63, 1, 0, 0, "Wait-for job {AAA } finished"},
        {66, 1, 2, 3, "Error in log, Aborted 2-3,1"},
        {71, 1, 2, 3, "Successful, but NO new frames?  2-3"},
        {71, 9, 2, 3, "Successful, but NO new frames?  2-3,9"},
        {72, 0, 1010, 0, "Frame 1010 was send more than 25 times! Frame remo"},
        {74, 0, 120, 120, "Status set: Render"},
        {74, 0, 120, 80, "Status change: Render"},
        {74, 0, 0x0150, 0, "Status change: Preview"}, // the low byte of frameStart
        {74, 0, 110, 110, "Status set: Waiting for job(s)(p)"},
        {75, 0, 200, 0, "Status request to Finished"},
        {75, 0, 7, 0, "Status request to First Check"},
        // Codes without a line of their own, and the codes from 76 on, show their name.
        {2, 1, 5, 9, "Enable"},
        {12, 1, 5, 9, "Unknown command 12"},
        {76, 1, 5, 9, "Set framelist of parent job to missing frames"},
        {85, 1, 5, 9, "Change Comment"},
        {86, 1, 5, 9, "Unknown command 86"},
        {255, 1, 5, 9, "Unknown command 255"},
    };
    expectLines(cases, nullptr);
}

TEST(JobLogText, LinesWithJob) {
    // Frames 1001, 1003, ... 1099: slot F shows as 1001 + 2F; slots beyond the 50 of a pass wrap.
    auto job = jobWithFrames(1001, 2, 0);
    ASSERT_EQ(job->frameCount, 50);
    const LineCase cases[] = {
        {14, 1, 3, 5, "Successful  1007-1011"},
        {14, 2, 3, 5, "Successful  1007-1011,2"},
        {15, 1, 0, 49, "Aborted      1001-1099"},
        {21, 1, 53, 54, "Receives     1007-1009"}, // slots of the second pass
        {36, 1, 3, 5, "Error 1007-1011,1"},
        {61, 1, 3, 5, "Aborted (Client Disabled) 1007-1011"},
        {71, 3, 3, 5, "Successful, but NO new frames?  1007-1011,3"},
        {57, 4, 3, 9, "Revert 9+4 frame assignments, frame #1007"}, // frameEnd stays as stored
        {58, 4, 3, 9, "Return frame assignments (9+4), frame #1007"},
        {72, 0, 3, 0, "Frame 1007 was send more than 25 times! Frame remo"},
        // Counts, statuses and job texts are read as stored.
        {1, 3, 4, 6, "Aborted 4 reserved clients (max required: 6)"},
        {13, 2, 3, 0, "Assigned 3, De-assigned 2 clients"},
        {18, 0, 12, 0, "12 (placeholder) frames deleted"},
        {20, 1, 5, 8, "Sequence Divide adjusted 5 8"},
        {40, 1, 6, 0, "Abort other low-prio jobs (6 clients)"},
        {41, 1, 42, 0, "rendered 42s only, Seq. Div. to low?"},
        {63, 0, 14593, 48, "Wait-for job {KT9a} finished"},
        {74, 0, 120, 120, "Status set: Render"},
    };
    expectLines(cases, job.get());

    // A job of several images per frame shows parts counted from 1, whatever the sequence.
    auto tiled = jobWithFrames(1001, 2, 4);
    EXPECT_EQ(q(Log2Str(entry(14, 1, 0, 3), tiled.get())), QStringLiteral("Successful  1-4"));
    EXPECT_EQ(q(Log2Str(entry(57, 2, 0, 3), tiled.get())),
              QStringLiteral("Revert 3+2 frame assignments, frame #1"));
    auto two = jobWithFrames(1001, 2, 2);
    EXPECT_EQ(q(Log2Str(entry(15, 2, 9, 65535), two.get())), QStringLiteral("Aborted      10-65536,2"));
    // imageMulti 1 is one image per frame.
    auto single = jobWithFrames(1001, 2, 1);
    EXPECT_EQ(q(Log2Str(entry(14, 1, 3, 5), single.get())), QStringLiteral("Successful  1007-1011"));
}

TEST(JobLogText, FrameNumbersRoundHalfAwayFromZeroAndStayInRange) {
    struct Case {
        double seqStart;
        const char* text;
    };
    const Case cases[] = {
        {1000.5, "Successful  1001-1002"},
        {1000.4, "Successful  1000-1001"},
        {-2.5, "Successful  -3--2"},
        {std::numeric_limits<double>::quiet_NaN(), "Successful  0-0"},
        {1e30, "Successful  9200000000000000000-9200000000000000000"},
        {-1e30, "Successful  -9200000000000000000--9200000000000000000"},
        {std::numeric_limits<double>::infinity(), "Successful  9200000000000000000-9200000000000000000"},
    };
    for (const Case& c : cases) {
        auto job = jobWithFrames(0, 1, 0);
        job->seqStart = c.seqStart; // as a record from elsewhere may hold it; frameCount stays 50
        const QString expect = QString::fromLatin1(c.text);
        const _kxString<50> line = Log2Str(entry(14, 1, 0, 1), job.get());
        EXPECT_EQ(q(line), expect.left(50)) << c.seqStart;
        EXPECT_LE(line.len(), 50);
    }
}

TEST(JobLogText, UserOfAnEntry) {
    const std::set<int> userCommands = {2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 13, 22, 25, 29,
                                        30, 33, 42, 62, 76, 77, 78, 79, 80, 81, 82, 83, 84, 85};
    for (int code = 0; code <= 255; ++code) {
        const bool user = userCommands.count(code) > 0;
        EXPECT_EQ(q(Log2Username(entry(quint8(code), 1, 5, 1234, 7), someFarm())),
                  user ? QStringLiteral("1234") : QStringLiteral("-"))
            << "code " << code;
        EXPECT_EQ(q(Log2Username(entry(quint8(code), 1, 5, 1234, 65535), someFarm())), QStringLiteral("-"))
            << "code " << code;
    }
    EXPECT_EQ(q(Log2Username(entry(2, 0, 0, 0, 0), someFarm())), QStringLiteral("0"));
    EXPECT_EQ(q(Log2Username(entry(85, 0, 0, 65535, 65534), someFarm())), QStringLiteral("65535"));
}

TEST(JobLogText, FarmActors) {
    const struct {
        int who;
        const char* text;
    } cases[] = {
        {-1, "*kxServer*"},
        {-2, "-kxControl-"},
        {-3, "-kxWebsite-"},
        {-4, "-Unknown--"},
        {-5, "-Remote-"},
        {-6, "-jobAuth-"},
        {-7, "unknown #-7"},
        {0, "unknown #0"},
        {7, "unknown #7"},
        {std::numeric_limits<int>::min(), "unknown #-2147483648"},
        {std::numeric_limits<int>::max(), "unknown #2147483647"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Who2Str(c.who, someFarm()).toQString(), QString::fromLatin1(c.text)) << c.who;
}

namespace {

// Every test sees the colour list as it was, whatever it sets.
struct LogColours : ::testing::Test {
    _intList_Colors saved = colors;
    ~LogColours() override { colors = saved; }

    // The colour index of each code, written out as groups.
    static int expectedIndex(int code) {
        const std::set<int> i8 = {1, 3, 4, 8, 15, 37, 38, 39, 40, 44, 45, 46, 47, 48, 49, 50, 51, 61};
        const std::set<int> i29 = {2, 21, 63, 83};
        const std::set<int> i10 = {5,  6,  9,  13, 19, 20, 22, 25, 26, 27, 28, 29, 30, 31, 33,
                                   42, 57, 58, 62, 68, 69, 70, 74, 75, 77, 78, 79, 80, 81, 82};
        const std::set<int> i6 = {7, 16, 17, 23, 24, 32, 59, 65, 67, 85};
        const std::set<int> i11 = {34, 35, 36, 41, 66, 72};
        const std::set<int> i9 = {52, 53, 54, 55, 56, 64, 73};
        const std::pair<const std::set<int>*, int> groups[] = {{&i8, 8}, {&i29, 29}, {&i10, 10},
                                                               {&i6, 6}, {&i11, 11}, {&i9, 9}};
        for (const auto& g : groups)
            if (g.first->count(code))
                return g.second;
        if (code == 14)
            return 30;
        if (code == 60)
            return 2;
        if (code == 71)
            return 17;
        return 0;
    }
};

} // namespace

TEST_F(LogColours, EveryCodeWithAFullAShortAndAnEmptyList) {
    colors.clear();
    for (int i = 0; i < 31; ++i)
        colors.append(quint32(1000 + i));
    for (quint32 code = 0; code <= 300; ++code)
        EXPECT_EQ(LogColorID(code), quint32(1000 + expectedIndex(int(code)))) << "code " << code;

    colors.clear();
    for (int i = 0; i < 10; ++i) // indexes 0 to 9: codes of colour 10, 11, 17, 29 or 30 get 0
        colors.append(quint32(1000 + i));
    for (quint32 code = 0; code <= 90; ++code) {
        const int index = expectedIndex(int(code));
        EXPECT_EQ(LogColorID(code), index < 10 ? quint32(1000 + index) : 0u) << "code " << code;
    }

    colors.clear();
    for (quint32 code = 0; code <= 90; ++code)
        EXPECT_EQ(LogColorID(code), 0u) << "code " << code;

    colors.count = -5; // a list damaged in memory holds nothing
    EXPECT_EQ(LogColorID(14), 0u);
    colors.count = 100000;
    EXPECT_EQ(LogColorID(14), colors.values[30]);
}

TEST_F(LogColours, DefaultPaletteTellsTheEventsApart) {
    colors.setDefaultPalette();
    EXPECT_EQ(LogColorID(0), 0x000000u);
    EXPECT_EQ(LogColorID(14), 0x00A000u); // finished: green
    EXPECT_EQ(LogColorID(36), 0xE00000u); // error: red
    EXPECT_NE(LogColorID(14), LogColorID(15));
    EXPECT_NE(LogColorID(52), LogColorID(36));
}
