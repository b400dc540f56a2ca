// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "joblogtext.h"

#include "jobconstants.h"
#include "jobid.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kxJ {

namespace {

constexpr int textCapacity = 50;

// ---- the code tables -------------------------------------------------------------------------------

// Error texts by code; null for a code without a name. "%1" stands for the resend limit.
constexpr const char* errorTexts[] = {
    /*  0 */ "none",
    /*  1 */ "failed",
    /*  2 */ "Output directory not found",
    /*  3 */ "No drive space left in output folder",
    /*  4 */ "Fileserver time difference",
    /*  5 */ "Job started multiple times, but no frame found",
    /*  6 */ "Warning - Sequence divide was adjusted",
    /*  7 */ "Too many fails/crashes",
    /*  8 */ "Scene file not found",
    /*  9 */ "Render application not found",
    /* 10 */ "Execute Error",
    /* 11 */ "No drive space left on client",
    /* 12 */ "User login failed",
    /* 13 */ "No render license (licenses tempor. reduced)",
    /* 14 */ "Render failed",
    /* 15 */ "Job send 3 times more than frames to render.",
    /* 16 */ "Aborted because system memory was low.",
    /* 17 */ "Render failed - Permanently",
    /* 18 */ "Render froze",
    /* 19 */ "No right version of render application found.",
    /* 20 */ "Client got job multiple times, but no render time measured.",
    /* 21 */ nullptr,
    /* 22 */ "Post-script executed twice!",
    /* 23 */ "Aborted because max render time reached!",
    /* 24 */ "Log file contains error message!",
    /* 25 */ "Thresholds have been reached too many times (sys memory, render time)",
    /* 26 */ "Aborted because an error was found in the render log!",
    /* 27 */ "Cache output directory not found",
    /* 28 */ "Job aborted too many times.",
    /* 29 */ "A frame was send more than %1 times. Frame removed from job.",
    /* 30 */ "No GPU assigned for job thread.",
    /* 31 */ "Broken frame error found.",
};
constexpr int errorCodeCount = int(sizeof(errorTexts) / sizeof(errorTexts[0]));

/// One history event code: its name (null: unnamed; "%1" stands for the resend limit), the index of
/// its colour in kxJ::colors, and whether a user gave it (its entry then stores the user number).
struct LogCode {
    const char* name;
    quint8 colourIndex;
    bool userCommand;
};

constexpr LogCode logCodes[] = {
    /*  0 */ {"none", 0, false},
    /*  1 */ {"Abort reserved clients", 8, false},
    /*  2 */ {"Enable", 29, true},
    /*  3 */ {"Disable", 8, true},
    /*  4 */ {"Disable & Abort", 8, true},
    /*  5 */ {"Approve Preview", 10, true},
    /*  6 */ {"DisApprove Preview", 10, true},
    /*  7 */ {"Delete", 6, true},
    /*  8 */ {"Abort", 8, true},
    /*  9 */ {"Check", 10, true},
    /* 10 */ {"Reset", 0, true},
    /* 11 */ {"Reset & Delete", 0, true},
    /* 12 */ {nullptr, 0, false},
    /* 13 */ {"Change Client Assignment", 10, true},
    /* 14 */ {"Render successful", 30, false},
    /* 15 */ {"Render aborted", 8, false},
    /* 16 */ {nullptr, 6, false},
    /* 17 */ {"Auto delete after days", 6, false},
    /* 18 */ {"Placeholder frames deleted", 0, false},
    /* 19 */ {"All frames assigned", 10, false},
    /* 20 */ {"Sequence Divide adjusted", 10, false},
    /* 21 */ {"Receives Job ", 29, false},
    /* 22 */ {"Settings Changed", 10, true},
    /* 23 */ {nullptr, 6, false},
    /* 24 */ {nullptr, 6, false},
    /* 25 */ {"Clear error messages", 10, true},
    /* 26 */ {"Restrict render app to x32", 10, false},
    /* 27 */ {"Restrict render app to X64", 10, false},
    /* 28 */ {"Restrict render app to xAll", 10, false},
    /* 29 */ {"moved in queue", 10, true},
    /* 30 */ {"User set job state to Finished", 10, true},
    /* 31 */ {nullptr, 10, false},
    /* 32 */ {nullptr, 6, false},
    /* 33 */ {"Export Debug Info", 10, true},
    /* 34 */ {"Low SysMemory, Aborted", 11, false},
    /* 35 */ {"Frozen + Aborted", 11, false},
    /* 36 */ {"Error", 11, false},
    /* 37 */ {"Client Waits", 8, false},
    /* 38 */ {"Abort (High CPU usage of Artist)", 8, false},
    /* 39 */ {"Aborted because frame time was to high", 8, false},
    /* 40 */ {"Abort by high priority job", 8, false},
    /* 41 */ {"Client rendered less than 60s.", 11, false},
    /* 42 */ {"Clear error messages & enable", 10, true},
    /* 43 */ {"First check done", 0, false},
    /* 44 */ {"Working hours, Aborted", 8, false},
    /* 45 */ {"Process Found, Aborted", 8, false},
    /* 46 */ {"Reserved Client, Aborted", 8, false},
    /* 47 */ {"High Priority Job, Aborted", 8, false},
    /* 48 */ {"kxControl, Aborted", 8, false},
    /* 49 */ {"Client Averaging, Aborted", 8, false},
    /* 50 */ {"Free License, Aborted", 8, false},
    /* 51 */ {"Local Artist, Aborted", 8, false},
    /* 52 */ {"Disable - too many fails/crashes", 9, false},
    /* 53 */ {"Disable - no frames found", 9, false},
    /* 54 */ {"Disable - output dir not found", 9, false},
    /* 55 */ {"Disable - UNC map failed", 9, false},
    /* 56 */ {"Disable - fileserver share full", 9, false},
    /* 57 */ {"Revert frame assignment A", 10, false},
    /* 58 */ {"Return frame assignment B", 10, false},
    /* 59 */ {nullptr, 6, false},
    /* 60 */ {"Closing KSO scene", 2, false},
    /* 61 */ {"Aborted, Client Disabled", 8, false},
    /* 62 */ {"Sequence Changed", 10, true},
    /* 63 */ {"WaitFor-Job Finished", 29, false},
    /* 64 */ {"Disable - too many limits reached (memory, time)", 9, false},
    /* 65 */ {"Deleted, max job setting reached", 6, false},
    /* 66 */ {"Error in log, Aborted", 11, false},
    /* 67 */ {"DevDebug", 6, false},
    /* 68 */ {"User set job state to Post-Render", 10, false},
    /* 69 */ {"User set job state to Finished Script", 10, false},
    /* 70 */ {"Reassign Deassigned", 10, false},
    /* 71 */ {"Render successful (NO FRAMES?)", 17, false},
    /* 72 */ {"A frame was send more than %1 times. Frame removed from job.", 11, false},
    /* 73 */ {"Disable - send 3 times more than frames to render", 9, false},
    /* 74 */ {"Status change", 10, false},
    /* 75 */ {"Status change Request", 10, false},
    /* 76 */ {"Set framelist of parent job to missing frames", 0, true},
    /* 77 */ {"Approve for Cloud", 10, true},
    /* 78 */ {"DisApprove for Cloud", 10, true},
    /* 79 */ {"Approve Frames", 10, true},
    /* 80 */ {"DisApprove Frames", 10, true},
    /* 81 */ {"Approve Custom", 10, true},
    /* 82 */ {"DisApprove Custom", 10, true},
    /* 83 */ {"Ignore Wait For", 29, true},
    /* 84 */ {"Set custom variables", 0, true},
    /* 85 */ {"Change Comment", 6, true},
};
constexpr int logCodeCount = int(sizeof(logCodes) / sizeof(logCodes[0]));
static_assert(logCodeCount == 86);

/// When a history line applies to an entry; the first line of a code whose condition holds is used.
enum class When : quint8 {
    Always,
    StepBelow2,     // the short range form
    StepZero,       // the entry names a job, not a frame segment
    StartIs1,       // frameStart 1
    StartIs9999,    // frameStart 9999
    StartEqualsEnd, // frameStart equals frameEnd
    StartAndStep,   // frameStart and step both not 0
    StartSet,       // frameStart not 0
    StepSet,        // step not 0
};

/// One history line. `args` names what fills %1, %2, ... in turn: 's' and 'e' the first and last
/// frame as shown (through the job when there is one), 'n' the step, 'a' and 'b' the stored frameStart
/// and frameEnd, 'J' the short text of the job the entry names, 'T' the status text of frameStart's
/// low byte, 'L' the resend limit.
struct LogLine {
    quint8 code;
    When when;
    const char* text;
    const char* args;
};

constexpr LogLine logLines[] = {
    {1, When::StepZero, "Reserved clients aborted by %1", "J"},
    {1, When::Always, "Aborted %1 reserved clients (max required: %2)", "ab"},
    {9, When::StartIs1, "Check end", ""},
    {9, When::Always, "Check start", ""},
    {13, When::StartAndStep, "Assigned %1, De-assigned %2 clients", "an"},
    {13, When::StartSet, "Assigned %1 clients", "a"},
    {13, When::StepSet, "De-assigned %1 clients", "n"},
    {13, When::Always, "Change Client Assignment", ""},
    {14, When::StepBelow2, "Successful  %1-%2", "se"},
    {14, When::Always, "Successful  %1-%2,%3", "sen"},
    {15, When::StepBelow2, "Aborted      %1-%2", "se"},
    {15, When::Always, "Aborted      %1-%2,%3", "sen"},
    {18, When::StartIs9999, "all frames deleted", ""},
    {18, When::Always, "%1 (placeholder) frames deleted", "a"},
    {20, When::Always, "Sequence Divide adjusted %1 %2", "ab"},
    {21, When::StepBelow2, "Receives     %1-%2", "se"},
    {21, When::Always, "Receives     %1-%2,%3", "sen"},
    {34, When::Always, "Low SysMemory, Aborted %1-%2,%3", "sen"},
    {35, When::Always, "Frozen + aborted %1-%2,%3", "sen"},
    {36, When::Always, "Error %1-%2,%3", "sen"},
    {38, When::Always, "High artist CPU usage, Aborted %1-%2,%3", "sen"},
    {39, When::Always, "Max Frame Time, Aborted %1-%2,%3", "sen"},
    {40, When::StepZero, "Abort by high-prio job %1", "J"},
    {40, When::Always, "Abort other low-prio jobs (%1 clients)", "a"},
    {41, When::Always, "rendered %1s only, Seq. Div. to low?", "a"},
    {44, When::Always, "Working hours, Aborted %1-%2,%3", "sen"},
    {45, When::Always, "Process Found, Aborted %1-%2,%3", "sen"},
    {46, When::Always, "Reserved Client, Aborted %1-%2,%3", "sen"},
    {47, When::Always, "High Priority Job, Aborted %1-%2,%3", "sen"},
    {48, When::Always, "kxControl, Aborted %1-%2,%3", "sen"},
    {49, When::Always, "Client Averaging, Aborted %1-%2,%3", "sen"},
    {50, When::Always, "Free License, Aborted %1-%2,%3", "sen"},
    {51, When::Always, "Local Artist, Aborted %1-%2,%3", "sen"},
    {57, When::Always, "Revert %2+%3 frame assignments, frame #%1", "sbn"},
    {58, When::Always, "Return frame assignments (%2+%3), frame #%1", "sbn"},
    {61, When::StepBelow2, "Aborted (Client Disabled) %1-%2", "se"},
    {61, When::Always, "Aborted (Client Disabled) %1-%2,%3", "sen"},
    {63, When::Always, "Wait-for job %1 finished", "J"},
    {66, When::Always, "Error in log, Aborted %1-%2,%3", "sen"},
    {71, When::StepBelow2, "Successful, but NO new frames?  %1-%2", "se"},
    {71, When::Always, "Successful, but NO new frames?  %1-%2,%3", "sen"},
    {72, When::Always, "Frame %1 was send more than %2 times! Frame removed from job.", "sL"},
    {74, When::StartEqualsEnd, "Status set: %1", "T"},
    {74, When::Always, "Status change: %1", "T"},
    {75, When::Always, "Status request to %1", "T"},
};

bool applies(When when, const _Log& e) {
    switch (when) {
    case When::Always:
        return true;
    case When::StepBelow2:
        return e.step < 2;
    case When::StepZero:
        return e.step == 0;
    case When::StartIs1:
        return e.frameStart == 1;
    case When::StartIs9999:
        return e.frameStart == 9999;
    case When::StartEqualsEnd:
        return e.frameStart == e.frameEnd;
    case When::StartAndStep:
        return e.frameStart != 0 && e.step != 0;
    case When::StartSet:
        return e.frameStart != 0;
    case When::StepSet:
        return e.step != 0;
    }
    return false;
}

// ---- composing a line --------------------------------------------------------------------------------

/// Collects the units of a line into a 50-unit text; whatever passes 50 units is cut.
class LineWriter {
public:
    void latin1(const char* s, int count) {
        for (int i = 0; i < count && n < textCapacity; ++i)
            units[n++] = char16_t(static_cast<unsigned char>(s[i]));
    }
    void latin1(const char* s) { latin1(s, int(std::strlen(s))); }
    void utf16(const QString& s) {
        for (qsizetype i = 0; i < s.size() && n < textCapacity; ++i)
            units[n++] = s.at(i).unicode();
    }
    void number(qint64 v) {
        char digits[24];
        int d = 0;
        // Counted in the negative range, so the lowest value needs no special case.
        qint64 rest = v < 0 ? v : -v;
        do {
            digits[d++] = char('0' - rest % 10);
            rest /= 10;
        } while (rest != 0);
        if (v < 0)
            latin1("-", 1);
        while (d > 0 && n < textCapacity)
            units[n++] = char16_t(digits[--d]);
    }
    _kxString<textCapacity> result() const {
        _kxString<textCapacity> r;
        r.set(units, n);
        return r;
    }
    template <int N>
    _kxString8_allSize<N> result8() const {
        char bytes[textCapacity];
        for (int i = 0; i < n; ++i)
            bytes[i] = char(units[i]);
        _kxString8_allSize<N> r;
        r.set(bytes, n);
        return r;
    }

private:
    char16_t units[textCapacity];
    int n = 0;
};

/// Writes `text`, each "%<d>" (d from 1 to 9) replaced through `fill(d - 1, writer)`.
template <typename Fill>
void compose(LineWriter& w, const char* text, Fill fill) {
    const char* plain = text;
    for (const char* p = text; *p; ++p) {
        if (p[0] == '%' && p[1] >= '1' && p[1] <= '9') {
            w.latin1(plain, int(p - plain));
            fill(p[1] - '1', w);
            plain = p + 2;
            ++p;
        }
    }
    w.latin1(plain);
}

/// A named text with the resend limit for "%1".
_kxString<textCapacity> namedText(const char* text) {
    LineWriter w;
    compose(w, text, [](int, LineWriter& out) { out.number(frameResendLimit); });
    return w.result();
}

/// "<prefix><number>" for a code without a name.
_kxString<textCapacity> unnamed(const char* prefix, qint64 code) {
    LineWriter w;
    w.latin1(prefix);
    w.number(code);
    return w.result();
}

/// A frame number of the job rounded half away from zero. Records from elsewhere may hold anything in
/// their frame range, so the value is held inside +-9.2e18 first and not-a-number gives 0.
qint64 roundedFrame(double v) {
    return std::isnan(v) ? 0 : std::llround(std::clamp(v, -9.2e18, 9.2e18));
}

} // namespace

_kxString<50> Err2Str(const _Error& error) {
    const int code = error.code;
    if (code < errorCodeCount && errorTexts[code])
        return namedText(errorTexts[code]);
    return unnamed("Unknown error ", code);
}

_kxString<50> Log2StrID(const _LogMessage& code) {
    if (code < _LogMessage(logCodeCount) && logCodes[code].name)
        return namedText(logCodes[code].name);
    return unnamed("Unknown command ", code);
}

_kxString<50> Log2Str(const _Log& entry, _JobSend* job) {
    const LogLine* line = nullptr;
    for (const LogLine& l : logLines) {
        if (l.code == entry.message && applies(l.when, entry)) {
            line = &l;
            break;
        }
    }
    if (!line)
        return Log2StrID(entry.message);

    qint64 first = entry.frameStart;
    qint64 last = entry.frameEnd;
    if (job) {
        if (job->imageMulti < 2) {
            first = roundedFrame(job->F2fnNoOffset(entry.frameStart, nullptr));
            last = roundedFrame(job->F2fnNoOffset(entry.frameEnd, nullptr));
        } else {
            // Parts of a multi-image job are counted from 1.
            ++first;
            ++last;
        }
    }
    const char* args = line->args;
    const int argCount = int(std::strlen(args));
    LineWriter w;
    compose(w, line->text, [&](int i, LineWriter& out) {
        switch (i < argCount ? args[i] : 0) {
        case 's':
            out.number(first);
            break;
        case 'e':
            out.number(last);
            break;
        case 'n':
            out.number(entry.step);
            break;
        case 'a':
            out.number(entry.frameStart);
            break;
        case 'b':
            out.number(entry.frameEnd);
            break;
        case 'L':
            out.number(frameResendLimit);
            break;
        case 'J':
            out.utf16(_IDShort::fromInt32(quint32(entry.frameStart) | quint32(entry.frameEnd) << 16).str());
            break;
        case 'T': {
            const _kxString8_allSize<250> status =
                _JobSave::statusAsStringStatic(static_cast<unsigned char>(entry.frameStart & 0xFF));
            out.latin1(status.data(), status.len());
            break;
        }
        default:
            break;
        }
    });
    return w.result();
}

quint32 LogColorID(const _LogMessage& code) {
    const int index = code < _LogMessage(logCodeCount) ? logCodes[code].colourIndex : 0;
    return colors.value(index);
}

_kxString<50> Log2Username(const _Log& entry, __KX&) {
    const bool userCommand = entry.message < logCodeCount && logCodes[entry.message].userCommand;
    if (!userCommand || entry.userRef == 65535)
        return _kxString<50>("-");
    LineWriter w;
    w.number(entry.frameEnd);
    return w.result();
}

_kxString8_allSize<50> Who2Str(int who, __KX&) {
    static constexpr const char* actors[] = {"*kxServer*", "-kxControl-", "-kxWebsite-",
                                             "-Unknown--", "-Remote-",    "-jobAuth-"};
    constexpr int actorCount = int(sizeof(actors) / sizeof(actors[0]));
    if (who < 0 && who >= -actorCount)
        return _kxString8_allSize<50>(actors[-who - 1]);
    LineWriter w;
    w.latin1("unknown #");
    w.number(who);
    return w.result8<50>();
}

} // namespace kxJ
