// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// replaceJobVariables in full mode on a seven-variable output template for 10,000 jobs, beside a floor:
// one case-insensitive QString::replace per variable with the values the resolution gives, the least
// a resolution has to do. Both run in the same iteration; the "ratio" counter is resolution / floor.

#include "jobs/jobrecords.h"

#include <QString>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <chrono>
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
    using clock = std::chrono::steady_clock;
    clock::duration floorTime{}, resolveTime{};
    for (auto _ : state) {
        const auto t0 = clock::now();
        for (int j = 0; j < jobCount; ++j)
            benchmark::DoNotOptimize(floorReplace(jobs.values.at(j % recordCount)));
        const auto t1 = clock::now();
        for (int j = 0; j < jobCount; ++j)
            benchmark::DoNotOptimize(jobs.records[size_t(j % recordCount)]->replaceJobVariables(
                outputTemplate, false, nullptr, nullptr, nullptr));
        const auto t2 = clock::now();
        floorTime += t1 - t0;
        resolveTime += t2 - t1;
    }
    const double floorMs = std::chrono::duration<double, std::milli>(floorTime).count();
    const double resolveMs = std::chrono::duration<double, std::milli>(resolveTime).count();
    state.counters["floor_ms"] = benchmark::Counter(floorMs / double(state.iterations()));
    state.counters["resolve_ms"] = benchmark::Counter(resolveMs / double(state.iterations()));
    state.counters["ratio"] = benchmark::Counter(floorMs > 0 ? resolveMs / floorMs : 0);
    state.SetLabel("10000 jobs, full mode, 7 variables");
}
BENCHMARK(BM_replaceJobVariables_vsFloor)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
