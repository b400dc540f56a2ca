// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// kxfarm.Job in C++: one job record as the server sends it (kxJ::_JobSend, about 76 KB), owned by the
// Python object. Other binding files take a `const PyJob&` (or `PyJob&`) argument to reach the record;
// a Python caller may keep a Job as long as it likes, nothing else points into it.

#include "jobs/jobrecords.h"

#include <memory>

struct kxSampleJob;

struct PyJob {
    /// A job stamped and cleared at every level, as the server clears a new record.
    PyJob();
    /// The job of a sample farm, filled by the stand-in server's own reader (kxFillSampleJob).
    explicit PyJob(const kxSampleJob& sample);
    /// A copy of the record `job`, byte for byte.
    explicit PyJob(const kxJ::_JobSend& job);
    PyJob(const PyJob& other);
    /// The job of a record block from elsewhere (`bytes` holds sizeof(kxJ::_JobSend) bytes). The block
    /// is taken as it is, except that its flags are read as flags: a byte other than 0 or 1 in a bool
    /// member becomes true, so no operation ever loads a bool that holds another value.
    static PyJob fromBlock(const char* bytes);
    PyJob& operator=(const PyJob& other);

    kxJ::_JobSend& record() { return *job; }
    const kxJ::_JobSend& record() const { return *job; }

    /// Recomputes the frame counts of the send level (frameCount, framesTotal, framesLeft) after the
    /// sequence or the image parts changed, with the farm's clear of that level; the level's other
    /// values (next check time, mark flag) are kept.
    void recountFrames();

private:
    std::unique_ptr<kxJ::_JobSend> job;
};
