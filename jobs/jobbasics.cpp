// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobrecords.h"

#include "jobid.h"

#include "kxcrc.h"
#include "kxhash.h"

#include <cstring>

namespace kxJ {

// ---- level 1 ---------------------------------------------------------------------------------------

void _JobBasics_noSettings_noPaths::setStructureIDs() {
    std::memset(structureIDs, 0, sizeof structureIDs);
    structureIDs[0] = structureIDBasics;
    structureIDs[1] = structureVersionCurrent;
}

void _JobBasics_noSettings_noPaths::addWaitForPreID(const unsigned char& id) {
    if (waitForPreIDCount < waitForPreIDMax - 1)
        waitForPreID[waitForPreIDCount++] = id;
}

void _JobBasics_noSettings_noPaths::setWaitForPreID(int index, const unsigned char& id) {
    index = index < 0 ? 0 : (index > waitForPreIDMax - 1 ? waitForPreIDMax - 1 : index);
    waitForPreID[index] = id;
    waitForPreIDCount = quint8(index + 1);
}

void _JobBasics_noSettings_noPaths::setCommandPassword(const _kxString8_allSize<40>& password) {
    commandPasswordHash.clear();
    quint8 hash[kxHash16Size];
    kxCRC_ARG2_16B_fast(password.data(), password.len(), hash);
    commandPasswordHash.set(reinterpret_cast<const char*>(hash), kxHash16Size);
}

bool _JobBasics_noSettings_noPaths::isRightCommandPW(const _passHash& hash) const {
    return commandPasswordHash.isEmpty() || commandPasswordHash.isEqual(hash);
}

// ---- level 3 ---------------------------------------------------------------------------------------

_JobBasics::_JobBasics() {
    initialize();
}

void _JobBasics::initialize() {
    setStructureIDs();
    kxClearBasics();
}

namespace {

// Zeroes a basics record but its ten stamp words and sets the defaults both basics records share.
template <typename Record> void clearBasicsRecord(Record& r) {
    quint16 stamp[10];
    std::memcpy(stamp, r.structureIDs, sizeof stamp);
    std::memset(static_cast<void*>(&r), 0, sizeof(Record));
    std::memcpy(r.structureIDs, stamp, sizeof stamp);
    r.basicsFlag = 2;
    r.imagePadding = 4;
    r.seqStart = 1.0;
    r.seqEnd = 1.0;
    r.seqStep = 1;
}

} // namespace

void _JobBasics::kxClearBasics() {
    clearBasicsRecord(*this);
    // "<auto>" asks the variable resolution to derive the names from the scene.
    customSeq.set("<auto>");
    customShot.set("<auto>");
    customVersion.set("<auto>");
}

QString _JobBasics::IDstr() const {
    return kxJ::ID2str(ID);
}
QString _JobBasics::IDstrFull() const {
    return kxJ::ID2strFull(ID);
}
quint64 _JobBasics::IDmain() const {
    return kxJ::IDmain(ID);
}
quint8 _JobBasics::IDpre() const {
    return kxJ::IDpre(ID);
}

QString _JobBasics::authStr() const {
    const quint64 crc = kxCRCCalc64(sceneName.data(), qint64(sceneName.len()) * 2);
    return QStringLiteral("auth") + kxJ::ID2strFull(crc ^ ID) + QStringLiteral("auth");
}

// ---- large-path record -----------------------------------------------------------------------------

_JobBasics_largePath::_JobBasics_largePath() {
    initialize();
}

void _JobBasics_largePath::initialize() {
    setStructureIDs();
    kxClearBasics();
}

void _JobBasics_largePath::kxClearBasics() {
    clearBasicsRecord(*this);
}

} // namespace kxJ
