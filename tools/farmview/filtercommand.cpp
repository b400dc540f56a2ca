// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxinspect filter: which jobs of a sample farm a job filter text lets pass, and how the text was read.
#include "cli.h"

#include "farmserver.h"
#include "samplefarm.h"

#include "jobs/jobfilter.h"
#include "jobs/jobid.h"
#include "jobs/jobrecords.h"

#include <QJsonArray>

#include <memory>

namespace {

template <typename Text>
QJsonArray termList(const Text* terms, int count, QStringList& shown) {
    QJsonArray list;
    for (int i = 0; i < count; ++i) {
        list.append(terms[i].toQString());
        shown << terms[i].toQString();
    }
    return list;
}

int runFilter(const kxInspectCall& call, kxInspectResult& result) {
    kxSampleFarm farm;
    if (!kxInspectReadFarm(call, farm, result.fault))
        return kxInspectFault;

    // The filter holds a map and texts of several KB: kept off the stack like the job.
    auto filter = std::make_unique<kxJ::_jobFilter_Contains>();
    filter->createFromString(call.arguments.first(), call.has("invert"), true);

    QStringList include;
    QStringList exclude;
    const QJsonArray includeList = termList(filter->includeTerms, filter->includeCountClamped(), include);
    const QJsonArray excludeList = termList(filter->excludeTerms, filter->excludeCountClamped(), exclude);
    QJsonObject keywords;
    QStringList keywordTexts;
    for (const auto& [key, value] : filter->keywordValues) {
        keywords.insert(key.toQString(), value.toQString());
        keywordTexts << key.toQString() + QLatin1Char('=') + value.toQString();
    }
    kxInspectLine(result.text, QStringLiteral("filter"), filter->filterText);
    kxInspectLine(result.text, QStringLiteral("match"),
                  filter->isEmpty    ? QStringLiteral("every job (empty filter)")
                  : filter->matchAll ? QStringLiteral("all terms")
                                     : QStringLiteral("one term"));
    kxInspectLine(result.text, QStringLiteral("terms"), include.join(QStringLiteral(", ")));
    kxInspectLine(result.text, QStringLiteral("exclude terms"), exclude.join(QStringLiteral(", ")));
    kxInspectLine(result.text, QStringLiteral("keywords"), keywordTexts.join(QStringLiteral(", ")));

    auto job = std::make_unique<kxJ::_JobSend>();
    QJsonArray jobs;
    int passed = 0;
    for (const kxSampleJob& sample : std::as_const(farm.jobs)) {
        kxFillSampleJob(*job, sample);
        const bool passes = job->filterJobList_Fits_Contains(*filter);
        passed += passes ? 1 : 0;
        const QString id = kxJ::ID2str(job->ID);
        result.text += QStringLiteral("%1 %2 %3\n")
                           .arg(passes ? QStringLiteral("pass") : QStringLiteral("fail"), id, sample.label);
        jobs.append(QJsonObject{{QStringLiteral("label"), sample.label},
                                {QStringLiteral("id"), id},
                                {QStringLiteral("passes"), passes}});
    }

    QJsonObject& json = result.json;
    json.insert(QStringLiteral("filter"), filter->filterText);
    json.insert(QStringLiteral("empty"), filter->isEmpty);
    json.insert(QStringLiteral("matchAll"), filter->matchAll);
    json.insert(QStringLiteral("terms"), includeList);
    json.insert(QStringLiteral("excludeTerms"), excludeList);
    json.insert(QStringLiteral("keywords"), keywords);
    json.insert(QStringLiteral("jobs"), jobs);
    // A filter that lets no job pass answers "no".
    return passed > 0 ? kxInspectOk : kxInspectNo;
}

} // namespace

const kxInspectCommand kxInspectFilterCommand = {
    "filter",
    "TEXT --farm FILE",
    "each job of a sample farm with pass or fail, and the terms and keywords read from TEXT",
    "TEXT is a job filter: terms separated by blanks or ';', \"-term\" to exclude, \"key=value\" pairs,\n"
    "\"OR \" in front to let one match suffice. --farm - reads the farm from standard input.\n"
    "Exit codes: 0 a job passes, 1 no job passes, 2 a fault.\n",
    {{"farm", "FILE", "the sample farm whose jobs are tested", true},
     {"invert", nullptr, "swap plain and '-' terms"}},
    1,
    1,
    runFilter,
};
