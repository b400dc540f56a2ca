// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// The job filter over 200 jobs with realistic texts (two terms, one exclusion, one pair), beside a
// floor in the same iterations: the same three terms searched case-insensitively with
// QStringView::contains in the same 16 texts of every job, the plain scan a filter cannot do without.
// Then the series: the filter over 200 to 20,000 jobs.
//
// The ratio is taken over 200 jobs because the texts both sides read of them (about 250 kB) stay in the
// core's own level-2 cache. Over 2000 jobs they do not: both sides then wait on the level-3 cache and
// memory, which this machine shares with other machines' work, the filter (which reads a few texts of
// most jobs) far more than the floor (which compares every text), and the ratio moved by half from
// one run to the next. The series shows what more jobs cost.

#include "jobs/jobfilter.h"
#include "jobs/jobrecords.h"

#include <QStringView>

#include "besidefloor.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int jobCount = 200;
// The largest farm of the series: 20,000 records of 50 kB.
constexpr int seriesJobCount = 20000;
// The filter of the case; the second has no pair, so no job is decided by its user alone and every
// job's texts are searched for the terms.
const QString filterTexts[] = {QStringLiteral("light sh01 -comp user=anna"),
                               QStringLiteral("light sh01 -comp")};

/// Jobs of a few shows, users and renderers; about half of them pass the filter's pair.
struct Jobs {
    explicit Jobs(int count) {
        const char* users[] = {"anna", "bob", "chen", "anna", "dmitri", "anna", "eve", "anna"};
        const char* renderers[] = {"Arnold", "Redshift", "RenderMan", "V-Ray"};
        const char* tasks[] = {"lighting", "comp", "fx", "lookdev", "layout"};
        for (int i = 0; i < count; ++i) {
            auto job = std::make_unique<kxJ::_JobSubmitter>();
            const QString shot = QStringLiteral("sh%1").arg(i % 40, 3, 10, QLatin1Char('0'));
            const QString seq = QStringLiteral("sq%1").arg(i % 7, 2, 10, QLatin1Char('0'));
            const QString task = QString::fromLatin1(tasks[i % 5]);
            job->ID = quint64(100000 + i) << 24;
            job->userName.set(users[i % 8]);
            job->renderer.set(renderers[i % 4]);
            job->customVersion.set(QStringLiteral("v%1").arg(i % 30, 3, 10, QLatin1Char('0')));
            job->customSeq.set(seq);
            job->customShot.set(shot);
            job->customScene.set("feature_nightfall");
            job->customJobType.set(task);
            job->division.set("Lighting & Rendering");
            job->camera.set("renderCam_main");
            job->layer.set(i % 3 ? "beauty_fg" : "beauty_bg");
            job->channel.set("rgba");
            job->sceneName.set(QStringLiteral("/mnt/projects/nightfall/%1/%2/%3/%2_%3_v%4.ma")
                                   .arg(seq, shot, task)
                                   .arg(i % 30, 3, 10, QLatin1Char('0')));
            job->imageDir.set(QStringLiteral("/mnt/renders/nightfall/%1/%2/%3/").arg(seq, shot, task));
            job->imageFileName.set(QStringLiteral("%1_%2_beauty.").arg(shot, task));
            job->imageExtension.set(".exr");
            job->customDataSet_Str(QStringLiteral("Client"), QStringLiteral("Northern Pictures"));
            job->customDataSet_Str(QStringLiteral("Ticket"), QStringLiteral("NF-%1").arg(4000 + i));
            jobs.push_back(std::move(job));
        }
    }
    std::vector<std::unique_ptr<kxJ::_JobSubmitter>> jobs;
};

Jobs& sampleJobs() {
    static Jobs jobs(jobCount);
    return jobs;
}

template <int N>
QStringView view(const _kxString<N>& s) {
    return QStringView(s.data(), s.len());
}

/// The floor: how many of the three terms each of the first `count` jobs holds in any of its 16 texts.
int containsCaseInsensitive16Texts(const Jobs& jobs, std::size_t count) {
    static const QString terms[] = {QStringLiteral("light"), QStringLiteral("sh01"), QStringLiteral("comp")};
    int found = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const kxJ::_JobSubmitter& job = *jobs.jobs[i];
        const QString id = job.IDstr();
        const QStringView texts[] = {id,
                                     view(job.renderer),
                                     view(job.customVersion),
                                     view(job.customSeq),
                                     view(job.customShot),
                                     view(job.customScene),
                                     view(job.customJobType),
                                     view(job.division),
                                     view(job.camera),
                                     view(job.layer),
                                     view(job.channel),
                                     view(job.userName),
                                     view(job.sceneName),
                                     view(job.imageDir),
                                     view(job.imageFileName),
                                     view(job.imageExtension)};
        for (const QString& term : terms)
            for (QStringView text : texts)
                if (text.contains(term, Qt::CaseInsensitive)) {
                    ++found;
                    break;
                }
    }
    return found;
}

/// How many of the first `count` jobs pass `filter`.
int passing(const Jobs& jobs, const kxJ::_jobFilter_Contains& filter, std::size_t count) {
    int passed = 0;
    for (std::size_t i = 0; i < count; ++i)
        passed += jobs.jobs[i]->filterJobList_Fits_Contains(filter) ? 1 : 0;
    return passed;
}

void BM_filterJobList_Fits_Contains(benchmark::State& state) {
    const Jobs& jobs = sampleJobs();
    kxJ::_jobFilter_Contains filter;
    filter.createFromString(filterTexts[state.range(0)], false, true);
    int passed = 0;
    kxBenchBesideFloor(
        state,
        [&] {
            passed = passing(jobs, filter, jobs.jobs.size());
            benchmark::DoNotOptimize(passed);
        },
        [&] { benchmark::DoNotOptimize(containsCaseInsensitive16Texts(jobs, jobs.jobs.size())); }, kxBenchSides{1, 2.0});
    state.SetLabel(filterTexts[state.range(0)].toStdString() + ": " + std::to_string(passed) +
                   " of " + std::to_string(jobs.jobs.size()) + " pass");
}
BENCHMARK(BM_filterJobList_Fits_Contains)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond);

/// The farm of the series, one for the filter and its floor: 1 GB of records.
const Jobs& seriesJobs() {
    static const Jobs jobs(seriesJobCount);
    return jobs;
}

void BM_series_filter_jobs(benchmark::State& state) {
    const Jobs& jobs = seriesJobs();
    kxJ::_jobFilter_Contains filter;
    filter.createFromString(filterTexts[0], false, true);
    const std::size_t count = std::size_t(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(passing(jobs, filter, count));
    state.counters["n"] = benchmark::Counter(double(count));
}
/// The farm sizes of the series, for the filter and its floor alike.
void jobSeriesSizes(benchmark::internal::Benchmark* series) {
    for (const int jobs : {200, 600, 2000, 6000, 20000})
        series->Arg(jobs);
    series->Unit(benchmark::kMicrosecond);
}
BENCHMARK(BM_series_filter_jobs)->Apply(jobSeriesSizes);

/// The floor of the series: the plain scan of the same jobs' 16 texts, which reads far more of every
/// job than the filter does.
void BM_series_floor_jobs(benchmark::State& state) {
    const Jobs& jobs = seriesJobs();
    const std::size_t count = std::size_t(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(containsCaseInsensitive16Texts(jobs, count));
    state.counters["n"] = benchmark::Counter(double(count));
}
BENCHMARK(BM_series_floor_jobs)->Apply(jobSeriesSizes);

} // namespace

BENCHMARK_MAIN();
