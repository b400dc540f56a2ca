// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
//
// History entries, errors and a job's frame fields arrive in records from other processes and may
// hold anything. Every text function gives at most 50 characters and reads nothing outside a record.
//
// Input: a _Log record (16 bytes), an _Error record (16 bytes), a flags byte (bit 0: with a job), then
// the job's seqStart (8 bytes), seqStep (2), imageMulti (1), frameCount (4) and a farm actor (4).
// Missing bytes are zero.
#include "jobs/joblogtext.h"
#include "jobs/jobrecords.h"

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

struct Reader {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    template <typename T>
    T take() {
        T v{};
        const size_t n = at < size ? (size - at < sizeof v ? size - at : sizeof v) : 0;
        if (n > 0)
            std::memcpy(&v, data + at, n);
        at += sizeof v;
        return v;
    }
};

template <int N>
void check(const _kxString<N>& s) {
    if (s.len() > 50 || s.length > 50)
        __builtin_trap();
}

__KX& someFarm() {
    alignas(8) static char farm[8];
    return *reinterpret_cast<__KX*>(farm);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::unique_ptr<kxJ::_JobSend> job = std::make_unique<kxJ::_JobSend>();
    Reader in{data, size};
    const auto entry = in.take<kxJ::_Log>();
    const auto error = in.take<kxJ::_Error>();
    const auto flags = in.take<quint8>();
    job->seqStart = in.take<double>();
    job->seqStep = in.take<quint16>();
    job->imageMulti = in.take<qint8>();
    job->frameCount = in.take<qint32>();
    const auto who = in.take<qint32>();

    check(kxJ::Err2Str(error));
    check(kxJ::Log2StrID(entry.message));
    check(kxJ::Log2StrID(kxJ::_LogMessage(error.code) << 24 | entry.message));
    check(kxJ::Log2Str(entry, (flags & 1) ? job.get() : nullptr));
    check(kxJ::Log2Username(entry, someFarm()));
    (void)kxJ::LogColorID(entry.message);
    const _kxString8_allSize<50> actor = kxJ::Who2Str(who, someFarm());
    if (actor.len() > 50)
        __builtin_trap();
    (void)entry.segmentLength();
    return 0;
}
