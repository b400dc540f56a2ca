// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// replaceJobVariables in full mode on a seven-variable output template for 10,000 jobs, beside a floor:
// one case-insensitive QString::replace per variable with the values the resolution gives, the least
// a resolution has to do. Both run in the same iteration; the "ratio" counter is resolution / floor.
// Then the series: one resolution of templates of 1 to 30 variables.

#include "jobs/jobrecords.h"

#include <QString>
#include <QStringList>

#include "besidefloor.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int jobCount = 10000;
// Distinct records, reused in turn: 10,000 whole records would take half a gigabyte.
constexpr int recordCount = 256;

const QString outputTemplate = QStringLiteral(
    "<Database>renders/<SceneFile>/<Layer>/<Camera>_<Channel>/<CustomShot>_<CustomVersion>.<FN4>");

struct Jobs {
    Jobs() {
        for (int i = 0; i < recordCount; ++i) {
            auto job = std::make_unique<kxJ::_JobSubmitter>();
            const QString n = QString::number(i);
            job->sceneName.set(QStringLiteral("/projects/feature/sq01/sh") + n +
                               QStringLiteral("/scenes/light_v") + n + QStringLiteral(".ma"));
            job->sceneDatabaseDir.set(QStringLiteral("/projects/feature/"));
            job->layer.set(QStringLiteral("beauty") + n);
            job->camera.set(QStringLiteral("shotCam") + n);
            job->channel.set(QStringLiteral("diffuse"));
            job->customShot.set(QStringLiteral("sh") + n);
            job->customVersion.set(QStringLiteral("v") + n);
            values.append(QStringList{QStringLiteral("/projects/feature/"), QStringLiteral("light_v") + n,
                                      QStringLiteral("beauty") + n, QStringLiteral("shotCam") + n,
                                      QStringLiteral("diffuse"), QStringLiteral("sh") + n,
                                      QStringLiteral("v") + n});
            records.push_back(std::move(job));
        }
    }
    std::vector<std::unique_ptr<kxJ::_JobSubmitter>> records;
    QList<QStringList> values;
};

const QLatin1String variables[] = {
    QLatin1String("<Database>"),      QLatin1String("<SceneFile>"), QLatin1String("<Layer>"),
    QLatin1String("<Camera>"),        QLatin1String("<Channel>"),   QLatin1String("<CustomShot>"),
    QLatin1String("<CustomVersion>"),
};

QString floorReplace(const QStringList& values) {
    QString text = outputTemplate;
    for (int v = 0; v < 7; ++v)
        text.replace(variables[v], values.at(v), Qt::CaseInsensitive);
    return text;
}

void BM_replaceJobVariables_vsFloor(benchmark::State& state) {
    static Jobs jobs;
    // The two must agree, or the floor measures something else.
    for (int i = 0; i < recordCount; ++i)
        if (jobs.records[size_t(i)]->replaceJobVariables(outputTemplate, false, nullptr, nullptr, nullptr) !=
            floorReplace(jobs.values.at(i)))
            state.SkipWithError("the resolution and the floor differ");
    kxBenchBesideFloor(
        state,
        [&] {
            for (int j = 0; j < jobCount; ++j)
                benchmark::DoNotOptimize(jobs.records[size_t(j % recordCount)]->replaceJobVariables(
                    outputTemplate, false, nullptr, nullptr, nullptr));
        },
        [&] {
            for (int j = 0; j < jobCount; ++j)
                benchmark::DoNotOptimize(floorReplace(jobs.values.at(j % recordCount)));
        },
        kxBenchSides{1, 3.0});
    state.SetLabel("10000 jobs, full mode, 7 variables");
}
BENCHMARK(BM_replaceJobVariables_vsFloor)->UseManualTime()->Unit(benchmark::kMillisecond);

/// A template of `count` variables, the seven of the output template in turn, each after a part of
/// plain text.
QString templateOf(int count) {
    QString text;
    for (int v = 0; v < count; ++v)
        text += QStringLiteral("/part") + QString::number(v) + QLatin1Char('_') + variables[v % 7];
    return text;
}

void BM_series_replaceJobVariables(benchmark::State& state) {
    static Jobs jobs;
    const QString text = templateOf(int(state.range(0)));
    int j = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            jobs.records[size_t(j)]->replaceJobVariables(text, false, nullptr, nullptr, nullptr));
        j = (j + 1) % recordCount;
    }
    state.counters["n"] = benchmark::Counter(double(state.range(0)));
}
BENCHMARK(BM_series_replaceJobVariables)
    ->Arg(1)
    ->Arg(2)
    ->Arg(5)
    ->Arg(10)
    ->Arg(20)
    ->Arg(30)
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
