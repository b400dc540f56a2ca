// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxinspect vars and resolve: the variables a job of a sample farm exports, and a template with them
// replaced as the farm replaces them, and as a render application is handed it.
#include "cli.h"

#include "farmserver.h"
#include "samplefarm.h"

#include "jobs/jobid.h"
#include "jobs/jobrecords.h"

#include "kxvarvallist.h"

#include <QJsonArray>

#include <memory>

namespace {

/// The sample's job as the server holds it. The record is large (about 60 KB): kept off the stack.
std::unique_ptr<kxJ::_JobSend> sampleJobRecord(const kxSampleJob& sample) {
    auto job = std::make_unique<kxJ::_JobSend>();
    kxFillSampleJob(*job, sample);
    return job;
}

void addJobHeader(kxInspectResult& result, const kxSampleJob& sample, const kxJ::_JobSend& job) {
    const QString id = kxJ::ID2str(job.ID);
    kxInspectLine(result.text, QStringLiteral("job"), sample.label);
    kxInspectLine(result.text, QStringLiteral("id"), id);
    result.json.insert(QStringLiteral("job"), sample.label);
    result.json.insert(QStringLiteral("id"), id);
}

int runVars(const kxInspectCall& call, kxInspectResult& result) {
    kxSampleJob sample;
    if (!kxInspectFarmJob(call, sample, result.fault))
        return kxInspectFault;
    const std::unique_ptr<kxJ::_JobSend> job = sampleJobRecord(sample);
    addJobHeader(result, sample, *job);

    const _varValList list = job->exportJobVarList_Basic(false);
    result.text += QLatin1Char('\n');
    QJsonArray variables;
    for (int i = 0; i < list.count(); ++i) {
        // The list holds names without their outer brackets; "ImageDir><../" is only whole as
        // "<ImageDir><../>", so both forms show each variable as a template writes it.
        const QString variable = QLatin1Char('<') + list.name(i) + QLatin1Char('>');
        result.text += QStringLiteral("%1 = %2\n").arg(variable, list.value(i));
        variables.append(
            QJsonObject{{QStringLiteral("name"), variable}, {QStringLiteral("value"), list.value(i)}});
    }
    result.json.insert(QStringLiteral("variables"), variables);
    return kxInspectOk;
}

/// The two ways a template is resolved: for the farm every variable it knows is replaced and what is
/// left in angle brackets goes; for the render application the names it fills itself stay.
struct ResolveMode {
    const char* name;
    bool keepAppVariables;
};
constexpr ResolveMode resolveModes[] = {{"farm", false}, {"app", true}};

/// The variables the farm's resolution replaces (letter case aside), the date and time, the per-frame
/// names it keeps, and the modifier forms; a name is what stands after "<" up to a blank, "@", "<" or ">".
bool resolvedName(const QString& name) {
    static const QStringList names = {QStringLiteral("ImageDir"),
                                      QStringLiteral("ImageFilename"),
                                      QStringLiteral("NetworkShare"),
                                      QStringLiteral("IDstr"),
                                      QStringLiteral("IMS"),
                                      QStringLiteral("StereoLR"),
                                      QStringLiteral("StereoRL"),
                                      QStringLiteral("Stereo"),
                                      QStringLiteral("Layer"),
                                      QStringLiteral("Layer-replaceVar"),
                                      QStringLiteral("Channel"),
                                      QStringLiteral("Channel-removeVar"),
                                      QStringLiteral("Channel-replaceVar"),
                                      QStringLiteral("AOV"),
                                      QStringLiteral("AOV-removeVar"),
                                      QStringLiteral("AOV-replaceVar"),
                                      QStringLiteral("RenderPass"),
                                      QStringLiteral("Camera"),
                                      QStringLiteral("CameraKeepVBar"),
                                      QStringLiteral("Camera_no."),
                                      QStringLiteral("removeVar"),
                                      QStringLiteral("ValueVar"),
                                      QStringLiteral("CustomSeQName"),
                                      QStringLiteral("CustomScene"),
                                      QStringLiteral("CScene"),
                                      QStringLiteral("CustomSHotName"),
                                      QStringLiteral("CustomShot"),
                                      QStringLiteral("CShot"),
                                      QStringLiteral("CustomVersionName"),
                                      QStringLiteral("CustomVersion"),
                                      QStringLiteral("CVersion"),
                                      QStringLiteral("SceneFolder"),
                                      QStringLiteral("SceneName"),
                                      QStringLiteral("Scene"),
                                      QStringLiteral("SceneFile"),
                                      QStringLiteral("SceneFileNameBase"),
                                      QStringLiteral("Database"),
                                      QStringLiteral("DatabaseName"),
                                      QStringLiteral("Date"),
                                      QStringLiteral("Time"),
                                      QStringLiteral("Year"),
                                      QStringLiteral("Month"),
                                      QStringLiteral("Day"),
                                      QStringLiteral("Hour"),
                                      QStringLiteral("Minute"),
                                      QStringLiteral("Second"),
                                      QStringLiteral("FN"),
                                      QStringLiteral("FN1"),
                                      QStringLiteral("FN2"),
                                      QStringLiteral("FN3"),
                                      QStringLiteral("FN4"),
                                      QStringLiteral("FN5"),
                                      QStringLiteral("FN6"),
                                      QStringLiteral("FN7"),
                                      QStringLiteral("FN8"),
                                      QStringLiteral("auto"),
                                      QStringLiteral("..")};
    return names.contains(name, Qt::CaseInsensitive);
}

/// A warning for each variable of `text` the resolution does not replace: the farm drops its brackets.
QStringList unknownVariableWarnings(const QString& text, const _varValList& exported) {
    QStringList warnings;
    QStringList seen;
    for (qsizetype at = text.indexOf(QLatin1Char('<')); at >= 0;
         at = text.indexOf(QLatin1Char('<'), at + 1)) {
        qsizetype end = at + 1;
        while (end < text.size() && !QStringLiteral(" @<>/").contains(text[end]))
            ++end;
        const QString name = text.mid(at + 1, end - at - 1);
        // "<../>" is a parent step; a lone "<" is no variable.
        if (name.isEmpty() || name == QLatin1String("..") || resolvedName(name) ||
            seen.contains(name, Qt::CaseInsensitive))
            continue;
        seen << name;
        bool listed = false;
        for (int i = 0; i < exported.count() && !listed; ++i)
            listed = exported.name(i).compare(name, Qt::CaseInsensitive) == 0;
        warnings << QStringLiteral(
                        "'<%1>' is no variable the farm resolves here%2: mode farm drops its brackets")
                        .arg(name, listed
                                       ? QStringLiteral(" (it is in the job's exported list, kxinspect vars)")
                                       : QString());
    }
    return warnings;
}

int runResolve(const kxInspectCall& call, kxInspectResult& result) {
    QList<ResolveMode> modes;
    if (call.has("mode")) {
        const QString wanted = call.value("mode");
        for (const ResolveMode& mode : resolveModes)
            if (wanted == QLatin1String(mode.name))
                modes << mode;
        if (modes.isEmpty()) {
            result.fault = QStringLiteral("unknown mode '%1' (known: farm, app)").arg(wanted);
            return kxInspectFault;
        }
    } else {
        modes = {std::begin(resolveModes), std::end(resolveModes)};
    }
    kxSampleJob sample;
    if (!kxInspectFarmJob(call, sample, result.fault))
        return kxInspectFault;
    const std::unique_ptr<kxJ::_JobSend> job = sampleJobRecord(sample);
    const QString text = call.arguments.first();

    result.warnings << unknownVariableWarnings(text, job->exportJobVarList_Basic(false));
    addJobHeader(result, sample, *job);
    kxInspectLine(result.text, QStringLiteral("template"), text);
    result.json.insert(QStringLiteral("template"), text);
    QJsonObject resolved;
    for (const ResolveMode& mode : std::as_const(modes)) {
        // The sequence, shot and version names come from the job itself.
        const QString value =
            job->replaceJobVariables(text, mode.keepAppVariables, nullptr, nullptr, nullptr);
        kxInspectLine(result.text, QLatin1String(mode.name), value);
        resolved.insert(QLatin1String(mode.name), value);
    }
    result.json.insert(QStringLiteral("resolved"), resolved);
    return kxInspectOk;
}

} // namespace

const kxInspectCommand kxInspectVarsCommand = {
    "vars",
    "--farm FILE --job LABEL",
    "the variables a job of a sample farm exports to its render commands, name and value",
    "The job is the first one of the sample farm FILE whose section is [job LABEL]. Shown: its\n"
    "identifier, then each variable as \"<Name> = value\" in the order the farm exports them; with\n"
    "--json each as {\"name\": \"<Name>\", \"value\"}, the name as a template writes it.\n"
    "Exit codes: 0 success, 2 a fault.\n",
    {{"farm", "FILE", "the sample farm that holds the job", true},
     {"job", "LABEL", "the job's label in FILE", true}},
    0,
    0,
    runVars,
};

const kxInspectCommand kxInspectResolveCommand = {
    "resolve",
    "TEMPLATE --farm FILE --job LABEL [--mode farm|app]",
    "a template with a job's variables replaced, in each mode",
    "TEMPLATE is an output path or command holding job variables (\"<SceneFolder><Layer>/<Camera>\").\n"
    "Mode farm replaces every variable the farm knows and drops what is left in angle brackets, as\n"
    "the farm resolves a job's paths; mode app keeps what the render application fills itself (the\n"
    "channel and per-frame names), as a render command is handed it. Date and time variables take the\n"
    "time of the call. A variable the farm does not resolve gives a warning: mode farm drops its\n"
    "brackets and keeps the name.\n"
    "Exit codes: 0 success, 2 a fault.\n",
    {{"farm", "FILE", "the sample farm that holds the job", true},
     {"job", "LABEL", "the job's label in FILE", true},
     {"mode", "farm|app", "only this mode (default: both)"}},
    1,
    1,
    runResolve,
};
