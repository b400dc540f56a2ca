// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobrecords.h"

#include "jobid.h"

#include "kxcrc.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace kxJ {

namespace {

// Zeroes the members a level adds to its base: they start exactly at the base's size.
template <typename Level, typename Base> void zeroLevel(Level& r) {
    std::memset(reinterpret_cast<char*>(static_cast<void*>(&r)) + sizeof(Base), 0,
                sizeof(Level) - sizeof(Base));
}

void setStamp(quint16* words, int level, quint16 id) {
    words[level * 2] = id;
    words[level * 2 + 1] = structureVersionCurrent;
}

// A double turned into a 32-bit count, cut toward zero; values outside the range (or not a number,
// from a record with nonsense in its frame range) are held at the range's ends.
qint32 truncToInt32(double v) {
    if (std::isnan(v))
        return 0;
    if (v >= double(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (v <= double(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return qint32(v);
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
    frameCount = truncToInt32((seqEnd - seqStart) / frameStep() + 1.0);
    const qint64 total = imageMulti >= 1 ? qint64(frameCount) * imageMulti : qint64(frameCount);
    framesTotal = truncToInt32(double(total));
    framesLeft = truncToInt32(double(qint64(framesTotal) - framesDone));
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

} // namespace kxJ
