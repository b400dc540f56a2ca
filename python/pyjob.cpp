// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "pyjob.h"

#include "farmserver.h"
#include "samplefarm.h"

#include <cstring>

PyJob::PyJob() : job(std::make_unique<kxJ::_JobSend>()) {
    // The constructors clear every level; the server's own new records are cleared level by level once
    // more, so the submitter, save and send defaults are those of a record it would send.
    job->initialize();
    job->kxClearSubmitter();
    job->kxClearSave();
    job->kxClearSend();
}

PyJob::PyJob(const kxSampleJob& sample) : job(std::make_unique<kxJ::_JobSend>()) {
    kxFillSampleJob(*job, sample);
}

PyJob::PyJob(const kxJ::_JobSend& record) : job(std::make_unique<kxJ::_JobSend>()) {
    std::memcpy(static_cast<void*>(job.get()), &record, sizeof(kxJ::_JobSend));
}

PyJob::PyJob(const PyJob& other) : PyJob(other.record()) {}

namespace {

/// Stores the byte behind `flag` back as a bool: 0 stays false, any other value becomes true.
void normaliseFlag(bool& flag) {
    unsigned char byte = 0;
    std::memcpy(&byte, &flag, 1);
    flag = byte != 0;
}

} // namespace

PyJob PyJob::fromBlock(const char* bytes) {
    PyJob job;
    kxJ::_JobSend& r = *job.job;
    std::memcpy(static_cast<void*>(&r), bytes, sizeof(kxJ::_JobSend));
    normaliseFlag(r.imageSingleOutputFile);
    normaliseFlag(r.previewSpread);
    normaliseFlag(r.hasPreview);
    normaliseFlag(r.disabled);
    for (bool& flag : r.stateFlags)
        normaliseFlag(flag);
    normaliseFlag(r.markFlag);
    return job;
}

PyJob& PyJob::operator=(const PyJob& other) {
    if (this != &other)
        std::memcpy(static_cast<void*>(job.get()), other.job.get(), sizeof(kxJ::_JobSend));
    return *this;
}

void PyJob::recountFrames() {
    const _kxTime nextCheck = job->nextCheckTime;
    const bool mark = job->markFlag;
    job->kxClearSend();
    job->nextCheckTime = nextCheck;
    job->markFlag = mark;
}
