// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
//
// A filter text is typed by a user. Whatever it holds, the parsed filter stays within its lists and
// capacities, and testing jobs against it reads nothing outside them.
#include "jobs/jobfilter.h"
#include "jobs/jobrecords.h"

#include <cstdint>
#include <memory>

namespace {

struct SampleJobs {
    std::unique_ptr<kxJ::_JobSubmitter> a = std::make_unique<kxJ::_JobSubmitter>();
    std::unique_ptr<kxJ::_JobSubmitter> b = std::make_unique<kxJ::_JobSubmitter>();
    SampleJobs() {
        a->ID = quint64(123456789) << 24;
        a->userName.set("anna");
        a->renderer.set("Arnold");
        a->sceneName.set("/prj/shot010/light_v012.ma");
        a->customScene.set("Forest");
        a->division.set("VisFX");
        a->customDataSet_Str(QStringLiteral("Client"), QStringLiteral("Acme_Corp"));
        b->userName.set("bob");
        b->renderer.set("Redshift");
        b->sceneName.set(QStringLiteral("C:\\prj\\shot020\\comp_v003.hip \u00df\u65e5"));
        b->customDataSet_Str(QStringLiteral("Note"), QStringLiteral("\u00e9t\u00e9 OR x=y"));
    }
};

void check(const kxJ::_jobFilter_Contains& f) {
    const int counts[] = {f.includeCount, f.includeCount8, f.excludeCount, f.excludeCount8};
    for (int c : counts)
        if (c < 0 || c > kxJ::_jobFilter_Contains::termsMax)
            __builtin_trap();
    if (f.keywordValues.size() > size_t(kxJ::_jobFilter_Contains::termsMax))
        __builtin_trap();
    for (const auto& [key, value] : f.keywordValues)
        if (key.isEmpty() || value.isEmpty() || key.len() > 25 || value.len() > 50)
            __builtin_trap();
    for (int i = 0; i < f.includeCount; ++i)
        if (f.includeTerms[i].isEmpty())
            __builtin_trap();
    for (int i = 0; i < f.excludeCount; ++i)
        if (f.excludeTerms[i].isEmpty())
            __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static SampleJobs jobs;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    for (int flags = 0; flags < 4; ++flags) {
        kxJ::_jobFilter_Contains f;
        f.includeKeepCase = (size % 2) == 0;
        f.createFromString(text, (flags & 1) != 0, (flags & 2) != 0);
        check(f);
        (void)jobs.a->filterJobList_Fits_Contains(f);
        (void)jobs.b->filterJobList_Fits_Contains(f);
    }
    return 0;
}
