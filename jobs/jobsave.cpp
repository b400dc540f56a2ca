// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobrecords.h"

#include "jobconstants.h"
#include "jobid.h"
#include "jobvariables.h"

#include "runtime/kxnumber.h"

#include "kxcrc.h"
#include "kxpath.h"
#include "kxrand.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace kxJ {

namespace {

// Zeroes the members a level adds to its base: they start exactly at the base's size.
template <typename Level, typename Base>
void zeroLevel(Level& r) {
    std::memset(reinterpret_cast<char*>(static_cast<void*>(&r)) + sizeof(Base), 0,
                sizeof(Level) - sizeof(Base));
}

void setStamp(quint16* words, int level, quint16 id) {
    words[level * 2] = id;
    words[level * 2 + 1] = structureVersionCurrent;
}

} // namespace

// ---- submitter -------------------------------------------------------------------------------------

_JobSubmitter::_JobSubmitter() {
    kxClearSubmitter();
}

void _JobSubmitter::kxClearSubmitter() {
    zeroLevel<_JobSubmitter, _JobBasics>(*this);
    setStamp(structureIDs, 1, structureIDSubmitter);
    userName.set("none");
    jobFilesFolder.set("none");
    hasPreview = true;
    submitterTime.setCurrentTime();
}

quint32 _JobSubmitter::ID2ShortID() const {
    return _IDShort::fromID(ID).int32();
}

// ---- save ------------------------------------------------------------------------------------------

_JobSave::_JobSave() {
    kxClearSave();
}

void _JobSave::kxClearSave() {
    zeroLevel<_JobSave, _JobSubmitter>(*this);
    if (previewCount < 2)
        previewCount = 3;
    else if (previewCount > 20)
        previewCount = 20;
    if (seqStep == 0)
        seqStep = 1;
    previewStart = -1;
    previewStep = 1;
    setStamp(structureIDs, 2, structureIDSave);
    jobSave_infoChanged(nullptr);
}

void _JobSave::jobSave_infoChanged(_kxTime* t) {
    if (t)
        infoChangedTime = *t;
    else
        infoChangedTime.setCurrentTime();
}

quint64 _JobSave::calcCRC() const {
    return kxCRCCalc64(this, jobCRCSize);
}

// ---- send ------------------------------------------------------------------------------------------

_JobSend::_JobSend() {
    kxClearSend();
}

void _JobSend::kxClearSend() {
    zeroLevel<_JobSend, _JobSave>(*this);
    frameCount = kxTruncToInt32((seqEnd - seqStart) / frameStep() + 1.0);
    const qint64 total = imageMulti >= 1 ? qint64(frameCount) * imageMulti : qint64(frameCount);
    framesTotal = kxTruncToInt32(double(total));
    framesLeft = kxTruncToInt32(double(qint64(framesTotal) - framesDone));
    setStamp(structureIDs, 3, structureIDSend);
    markFlag = false;
    setNextCheckTime(10, true, nullptr);
}

void _JobSend::setNextCheckTime(int const& seconds, bool const& force, _kxTime* from) {
    if (seconds == 0) {
        nextCheckTime.clear();
        return;
    }
    _kxTime t = from ? *from : _kxTime(true);
    t.addSeconds(seconds);
    if (force || t.t < nextCheckTime.t)
        nextCheckTime = t;
}

bool _JobSend::isRightStructVersion() const {
    return structureIDs[0] == structureIDBasics && structureIDs[1] != 0 &&
           structureIDs[2] == structureIDSubmitter && structureIDs[3] != 0 &&
           structureIDs[4] == structureIDSave && structureIDs[5] != 0 && structureIDs[6] == structureIDSend &&
           structureIDs[7] != 0;
}

// ---- submitter: values, colour, folders, log texts -------------------------------------------------

qint64 _JobSubmitter::clientValue_Get(int const& client, int const& valueType) const {
    const _JobClientData& c =
        (client >= 0 && client < jobClientDataCount) ? clientData[client] : clientData[0];
    switch (valueType) {
    case 0:
        return c.smallValues[0];
    case 1:
        return c.smallValues[1];
    case 2:
        return c.smallValues[2];
    case 5:
        return c.smallValues[3];
    case 3:
    case 8:
        return c.value16;
    case 4:
    case 10:
        return c.value32;
    default:
        return 0;
    }
}

void _JobSubmitter::setRandomColor() {
    QString text;
    switch (colorMode) {
    case 11:
        text = sceneName.toQString();
        break;
    case 12:
        text = projectName.toQString();
        break;
    case 13:
        text = userName.toQString();
        break;
    case 14:
        text = (renderApp.toQString() + renderer.toQString() + QString::number(appVersionMajor)).left(250);
        break;
    default:
        if (colorMode > 10)
            colorMode = 0;
        return;
    }
    colorMode = kxRandFromString(text) % 7 + 1;
}

QString _JobSubmitter::companyProjectRootFolder_noKX(unsigned char const& mode,
                                                     unsigned char const& level) const {
    if (mode == 1)
        return QString();
    if (mode == 2)
        return sceneDatabaseDir.toQString();
    QString path = mode == 3 ? sceneName.toQString() : imageDir.toQString();
    path.replace(QLatin1String("<Database>"), sceneDatabaseDir.toQString(), Qt::CaseInsensitive);
    return getDirectoryUntilNo(kxConvertPDToOS(path), level);
}

QString _JobSubmitter::jobFilesFolderName_Resolved(__KXSDK const* /*sdk*/) const {
    return jobFilesFolder.toQString() + kxPathSeparatorOS();
}

QString _JobSubmitter::getJobLogStringShort(bool /*preview*/, int lowCpuMinutes) const {
    QString line = kxJ::ID2str(ID);
    if (lowCpuMinutes > 3)
        line += QStringLiteral(" LowCPU ") + QString::number(lowCpuMinutes) + QStringLiteral("min|");
    line += renderApp.toQString().left(4) + QLatin1Char('|') + projectName.toQString().left(10);
    return line;
}

namespace {

// The scene as the log line shows it: without extension and the usual render folders, every folder
// separator standing between blanks, a drive prefix keeping its separator.
QString logSceneText(const QString& scene) {
    const QChar sep = kxPathSeparatorOS();
    QString s = scene;
    const qsizetype dot = s.lastIndexOf(QLatin1Char('.'));
    if (dot > 3)
        s.truncate(dot);
    s.remove(sep + QStringLiteral("RENDER_PICTURES"), Qt::CaseInsensitive);
    s.remove(sep + QStringLiteral("Scenes"), Qt::CaseInsensitive);
    const QString doubled = QString(sep) + sep;
    while (s.contains(doubled))
        s.replace(doubled, QString(sep));
    s.replace(QLatin1Char(':') + QString(sep), QStringLiteral("))))"));
    s.replace(sep, QStringLiteral("(((("));
    s.replace(QStringLiteral("(((("), QLatin1Char(' ') + QString(sep) + QLatin1Char(' '));
    s.replace(QStringLiteral("))))"), QLatin1Char(':') + QString(sep));
    return s;
}

constexpr qsizetype jobLogLineWidth = 55;

} // namespace

QString _JobSubmitter::getJobLogString(bool preview, int lowCpuMinutes) const {
    QString line = kxJ::ID2str(ID);
    if (lowCpuMinutes > 3)
        line += QStringLiteral(" Low CPU ") + QString::number(lowCpuMinutes) + QStringLiteral("min  ");
    line += QLatin1Char(' ') + projectName.toQString() + QLatin1Char('|') + renderApp.toQString() +
            QLatin1Char('|');
    line += jobGroupTexts[0].toQString() + QLatin1Char('-') + jobGroupTexts[1].toQString() +
            QLatin1Char('-') + jobGroupTexts[2].toQString() + QLatin1Char('|');
    if (preview)
        line += QStringLiteral("PREVIEW|");

    QString scene;
    const QChar first = imageFileName.isEmpty() ? QChar() : QChar(imageFileName.at(0));
    const bool noAccess = !imageFileName.isEmpty() && (first == noAccessDescriptionShort.at(0) ||
                                                       first == noAccessDescriptionShort_noprojectroot.at(0));
    if (!noAccess)
        scene = logSceneText(sceneName.toQString());

    if (line.size() + scene.size() <= jobLogLineWidth) {
        line += scene;
        line = line.leftJustified(jobLogLineWidth, QLatin1Char(' '));
    } else if (line.size() < jobLogLineWidth) {
        line += scene.right(jobLogLineWidth - line.size());
    }
    return line;
}

// ---- save: records, ages, states, texts ------------------------------------------------------------

int _JobSave::errorCountClamped() const {
    return errorCount < 0 ? 0 : (errorCount > jobErrorsMax ? jobErrorsMax : errorCount);
}

int _JobSave::logCountClamped() const {
    return logCount < 0 ? 0 : (logCount > jobLogsMax ? jobLogsMax : logCount);
}

const _Error& _JobSave::getError(int const& i) const {
    return (i >= 0 && i < errorCountClamped()) ? errors[i] : errors[0];
}

const _Log& _JobSave::getLog(int const& i) const {
    return (i >= 0 && i < logCountClamped()) ? logs[i] : logs[0];
}

const _JobClientData& _JobSave::getClient(int const& i) const {
    return (i >= 0 && i < jobClientDataCount) ? clientData[i] : clientData[0];
}

qint64 _JobSave::getAgeDays() const {
    return infoChangedTime.daysDifference(_kxTime(true));
}

qint64 _JobSave::getAgeHours() const {
    const qint64 h = infoChangedTime.hoursTo(_kxTime(true));
    return h < 0 ? -h : h;
}

bool _JobSave::isDisabled(_kxTime now, bool const& ignoreFirstCheck, bool const& onlyFlags) const {
    if (disabled || (!ignoreFirstCheck && status == 20))
        return true;
    if (onlyFlags)
        return false;
    if (now.t < waitUntil.t)
        return true;
    return status == 40 || status == 100 || status == 110 || status == 160;
}

bool _JobSave::isWaitFor(_kxTime now) const {
    if (now.t > 0 && now.t < waitUntil.t)
        return true;
    return status == 40 || status == 100 || status == 110 || status == 130 || status == 160;
}

bool _JobSave::isJobMarkedAsError() const {
    return errorMarked > 0 || errorCount > 5;
}

_kxString8_allSize<250> _JobSave::statusAsStringStatic(unsigned char const& status) {
    const char* text = "First Check";
    if (status >= 200)
        text = "Finished";
    else
        switch (status) {
        case 180:
            text = "Script (Finished)";
            break;
        case 160:
            text = "Approval Wait (m)";
            break;
        case 140:
            text = "Script (Post-Render)";
            break;
        case 130:
            text = "Files Wait";
            break;
        case 120:
            text = "Render";
            break;
        case 115:
        case 50:
            text = "Sync Files";
            break;
        case 110:
            text = "Waiting for job(s)(p)";
            break;
        case 100:
            text = "Approval Wait (p)";
            break;
        case 90:
            text = "Script (Preview)";
            break;
        case 80:
            text = "Preview";
            break;
        case 60:
            text = "Script (Pre-Render)";
            break;
        case 40:
            text = "Waiting for job(s)";
            break;
        default:
            break;
        }
    return _kxString8_allSize<250>(text);
}

_kxString8_allSize<250> _JobSave::statusAsString(unsigned char const* statusIn) const {
    const quint8 s = statusIn ? *statusIn : status;
    QString text;
    if (!statusIn && disabled)
        text = QStringLiteral("Disabled - ");
    if (s == 40 || s == 110) {
        int unseen = 0;
        int waiting = 0;
        for (int i = 0; i < waitForJobIDsMax; ++i) {
            if (waitForJobIDs[i] == 0)
                continue;
            if (waitForStates[i] <= 0)
                ++unseen;
            else if (waitForStates[i] == 1)
                ++waiting;
        }
        if (unseen + waiting == 0)
            text += QStringLiteral("Wait ") + waitUntil.asStringWeekHourMin();
        else if (unseen + waiting == 1)
            text += QStringLiteral("Wait for 1 job");
        else
            text += QStringLiteral("Wait for %1+%2 jobs").arg(unseen).arg(waiting);
        if (s == 110)
            text += QStringLiteral("(p)");
    } else {
        text += statusAsStringStatic(s).toQString();
    }
    return _kxString8_allSize<250>(text);
}

// ---- send: frame slots -----------------------------------------------------------------------------

namespace {

// A double turned into a 64-bit number, cut toward zero or rounded half away from zero; held inside
// the range so that nonsense in a record never reaches an undefined conversion.
qint64 toInt64(double v, bool round) {
    if (std::isnan(v))
        return 0;
    if (round)
        v = std::round(v);
    if (v >= 9.2e18)
        return std::numeric_limits<qint64>::max();
    if (v <= -9.2e18)
        return std::numeric_limits<qint64>::min();
    return qint64(v);
}

} // namespace

double _JobSend::F2fnNoOffset(long long F, signed char* part) const {
    const qint64 n = frameSlotsPerPart();
    if (part)
        *part = static_cast<signed char>(F / n);
    // A step of 0 puts every slot on the first frame; only fn2F, which divides by the step, needs 1.
    return double(F % n) * seqStep + seqStart;
}

double _JobSend::F2fn(long long F, signed char* part) const {
    return F2fnNoOffset(F, part) + seqFileOffset;
}

qint64 _JobSend::fn2F(double fileNumber, signed char part) const {
    double v = fileNumber - seqFileOffset - seqStart;
    if (std::isnan(v) || v < 0)
        return -1;
    v /= frameStep();
    if (imageMulti != 0)
        v += double(part) * double(frameSlotsPerPart());
    // Rounding can lift a value just below framesTotal onto it: a file number past the last frame
    // still names the last slot, never one the job does not have.
    const qint64 lastSlot = qint64(framesTotal) - 1;
    if (v >= double(framesTotal))
        return lastSlot;
    const qint64 slot = toInt64(v, true);
    return slot > lastSlot ? lastSlot : slot;
}

qint64 _JobSend::previewID2FrameNr(int const& previewIndex) const {
    const qint64 i = previewIndex;
    const qint64 c = previewCount;
    const qint64 n = frameSlotsPerPart();
    if (previewStart >= 0 && hasPreview) {
        const qint64 base = imageMulti > 1 ? qint64(imageMulti / 2) * n : 0;
        if (i == 0)
            return base;
        if (i == c - 1)
            return base + n - 1;
        if (previewSpread) {
            qint64 k = c - 2;
            if (c > 7) {
                if (i == 1)
                    return base + n / 4;
                if (i == c - 2)
                    return base + n / 4 + n / 2;
                k = c - 4;
            }
            // The remaining previews are consecutive frames centred in the sequence; a multi-part
            // job takes them from its middle part like the first and last preview.
            return base + i + (n - k) / 2 - 1;
        }
        return base + previewStart + (i - 1) * previewStep;
    }
    if (imageMulti == 0)
        return i * previewStep;
    return (i / imageMulti) * previewStep + (i % imageMulti) * n;
}

QString _JobSend::previewFilename_Base_number(int previewIndex) const {
    // 64-bit arithmetic: a count from elsewhere may be anywhere in its range, and three quarters of
    // it, or the last index below it, must not overflow.
    const qint64 c = previewCount;
    qint64 i = previewIndex;
    if (i == -1)
        i = c / 4;
    else if (i == -3)
        i = 3 * c / 4;
    else if (i < 0)
        i = c / 2;
    if (i >= c)
        i = c - 1;
    if (i < 0)
        i = 0;
    const qint64 number = toInt64(F2fn(previewID2FrameNr(int(i)), nullptr), true);
    return QStringLiteral("p%1").arg(number, 5, 10, QLatin1Char('0'));
}

// ---- send: filter mask, exports, segments ----------------------------------------------------------

quint16 _JobSend::filterMask(_kxTime const& now) const {
    const bool waiting = isWaitFor(now);
    quint16 mask = 0;
    if (!markFlag && !disabled && !waiting && status < 200)
        mask |= 1;
    if (markFlag)
        mask |= 2;
    if (disabled)
        mask |= 4;
    if (waiting)
        mask |= 8;
    if (status >= 200)
        mask |= 16;
    // State flags 1, 3, 2, 4 in this bit order; bits 9 to 12 repeat them for the flag being clear.
    const int order[4] = {0, 2, 1, 3};
    for (int b = 0; b < 4; ++b)
        mask |= quint16(stateFlags[order[b]] ? (32 << b) : (512 << b));
    return mask;
}

bool _JobSend::filterMask_Fits(unsigned short const& mask, _kxTime const& now) const {
    if (status >= 200)
        return (mask & 16) != 0;
    if (((mask & 2) && markFlag) || ((mask & 4) && disabled))
        return true;
    if (!(mask & 8) && !(mask & 1))
        return false;
    if (isWaitFor(now))
        return (mask & 8) != 0;
    return (mask & 1) && !markFlag && !disabled;
}

void _JobSend::exportMinInfo(_JobMinInfo& mi, _kxTime const& now) const {
    std::memset(static_cast<void*>(&mi), 0, sizeof mi);
    mi.ID = ID;
    mi.infoChangedTime = infoChangedTime;
    mi.framesLeft = framesLeft;
    mi.filterMask = filterMask(now);
    mi.basicsFlag = basicsFlag;
    mi.markFlag = markFlag ? 1 : 0;
    mi.userName.set(userName);
    mi.projectName.set(projectName);
    mi.renderApp.set(renderApp);
    mi.renderer.set(renderer);
}

_JobMinInfo _JobSend::toMinInfo(_kxTime const& now) const {
    _JobMinInfo mi;
    exportMinInfo(mi, now);
    return mi;
}

_clientCurrentSegment _JobSend::getClientCurrentSegment() const {
    _clientCurrentSegment s;
    s.firstSlot = qint32(clientData[0].value32);
    s.lastSlot = qint32(clientData[1].value32);
    s.count = qint32(clientData[2].value32);
    s.value = quint16(clientData[3].value32);
    return s;
}

void _JobSend::setClientCurrentSegment(_clientCurrentSegment const& segment) {
    clientData[0].value32 = quint32(segment.firstSlot);
    clientData[1].value32 = quint32(segment.lastSlot);
    clientData[2].value32 = quint32(segment.count);
    clientData[3].value32 = segment.value;
}

void _JobSend::toTCP_NutShell(_KXN_TCP_InANutshell& n) const {
    const _clientCurrentSegment s = getClientCurrentSegment();
    n.jobID = ID;
    n.jobStatus = qint16(status);
    n.segmentFirstFileNumber = toInt64(F2fn(s.firstSlot, nullptr), false);
    n.segmentLastFileNumber = toInt64(F2fn(s.lastSlot, nullptr), false);
    n.segmentFrames = qint64(seqStep) * s.count;
}

} // namespace kxJ
