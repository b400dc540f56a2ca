// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
//
// Output names come from scene files in any form. Every split must end, keep its results within the
// capacities of its form and give an 8-bit padding that did not wrap; the record splits must leave a
// channel table that reads back.
//
// Input: 2 control bytes (flags, padding), then UTF-8 fields separated by line feeds: file name,
// folder, extension, scene, project folder, then channel names.
#include "jobs/imagename.h"
#include "jobs/jobrecords.h"

#include <QStringList>

#include <cstdint>
#include <memory>

namespace {

template <int D, int F>
void split(bool printf, const QString& name, const QString& dir, const QString& ext, bool single,
           unsigned char padding, const QString& database, const QString& scene) {
    _kxString<F> n(name);
    _kxString<D> d(dir);
    _kxString<25> e(ext);
    kxJ::template_splitImageFileInto_DirFileExt<D, F>(printf, n, d, e, single, padding,
                                                      _kxString<D>(database), _kxString<D>(scene));
    if (n.length > F || d.length > D || e.length > 25)
        __builtin_trap();
    // A single file carries its extension in the name.
    if (single && !e.isEmpty())
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const bool printf = data[0] & 1;
    const bool single = data[0] & 2;
    const unsigned char padding = data[1];
    const QStringList f = QString::fromUtf8(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2))
                              .split(QLatin1Char('\n'));
    auto field = [&f](int i) { return i < f.size() ? f.at(i) : QString(); };

    split<500, 250>(printf, field(0), field(1), field(2), single, padding, field(4), field(3));
    split<500, 500>(printf, field(0), field(1), field(2), single, padding, field(4), field(3));
    split<1000, 1000>(printf, field(0), field(1), field(2), single, padding, field(4), field(3));

    // One record of each kind for every run, cleared at its start.
    static const auto job = std::make_unique<kxJ::_JobBasics>();
    static const auto large = std::make_unique<kxJ::_JobBasics_largePath>();
    job->kxClearBasics();
    large->kxClearBasics();
    job->imageFileName.set(field(0));
    job->imageDir.set(field(1));
    job->imageExtension.set(field(2));
    job->sceneName.set(field(3));
    job->sceneDatabaseDir.set(field(4));
    job->imageSingleOutputFile = single;
    large->imageFileName.set(field(0));
    large->imageDir.set(field(1));
    for (int i = 5; i < f.size() && i < 5 + kxJ::channelMaxCount; ++i) {
        job->channelAdd(_kxString<500>(f.at(i)), _kxString<25>(field(2)));
        large->channels[i - 5].fileName.set(f.at(i));
    }
    job->splitImageFileInto_DirFileExt(printf);
    large->splitImageFileInto_DirFileExt(printf);
    if (job->channelBufferUsed > kxJ::channelBufferMaxUsed)
        __builtin_trap();
    for (int i = 0; i < job->channelCountClamped(); ++i)
        (void)job->channelFileName(i);
    return 0;
}
