// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxinspect image: an output image path split as a submitted job keeps it, folder, name up to the frame
// number, frame digits and extension, with the job's scene and project folders as variables.
#include "cli.h"

#include "samplefarm.h"

#include "jobs/jobrecords.h"

#include <algorithm>
#include <memory>

namespace {

/// What the split keeps from the job rather than from the path: the frame digits when the path names
/// none (no "#", no printf form, a name parsed only when no extension is given apart), and an
/// extension given without its dot.
QStringList paddingWarnings(const QString& path, const QString& extension, bool acceptPrintf, bool singleFile,
                            int padding) {
    QStringList warnings;
    if (!extension.isEmpty() && !extension.startsWith(QLatin1Char('.')))
        warnings << QStringLiteral(
                        "--ext '%1' does not begin with '.': the farm puts it after the frame number as "
                        "it stands")
                        .arg(extension);
    if (singleFile)
        return warnings;
    const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const QString name = path.mid(slash + 1);
    const qsizetype percent = name.lastIndexOf(QLatin1Char('%'));
    const bool printfForm = acceptPrintf && percent >= 0 && name.lastIndexOf(QLatin1Char('d')) > percent;
    if (extension.isEmpty() && (name.contains(QLatin1Char('#')) || printfForm))
        return warnings;
    // The sample-number form: the digits before the extension are dropped, the frame digits kept.
    const qsizetype dot = extension.isEmpty() ? name.lastIndexOf(QLatin1Char('.')) : name.size();
    const QString stem = name.left(dot < 0 ? name.size() : dot);
    qsizetype digits = 0;
    while (digits < stem.size() - 1 && stem[stem.size() - 1 - digits].isDigit())
        ++digits;
    if (digits == 0)
        warnings << QStringLiteral("the path shows no frame number: the frame digits stay the job's %1")
                        .arg(padding);
    else if (digits != padding)
        warnings << QStringLiteral(
                        "the sample frame number '%1' has %2 digits, but the farm keeps the job's %3")
                        .arg(stem.right(digits))
                        .arg(digits)
                        .arg(padding);
    return warnings;
}

int runImage(const kxInspectCall& call, kxInspectResult& result) {
    // The large-path record a submitter fills (about 220 KB, so off the stack): its fields are the
    // widest the farm splits.
    auto job = std::make_unique<kxJ::_JobBasics_largePath>();
    job->initialize();
    const QString path = call.arguments.first();
    const QString extension = call.value("ext");
    if (!kxInspectTextFits(path, QStringLiteral("PATH"), job->imageFileName.capacity, result.fault) ||
        !kxInspectTextFits(extension, QStringLiteral("--ext"), job->imageExtension.capacity, result.fault))
        return kxInspectFault;

    QString label;
    if (call.has("farm") || call.has("job")) {
        kxSampleJob sample;
        if (!kxInspectFarmJob(call, sample, result.fault))
            return kxInspectFault;
        label = sample.label;
        job->sceneName.set(sample.scene);
        job->sceneDatabaseDir.set(sample.database);
    }
    job->imageFileName.set(path);
    job->imageExtension.set(extension);
    const bool acceptPrintf = !call.has("no-printf");
    job->splitImageFileInto_DirFileExt(acceptPrintf);

    result.warnings << paddingWarnings(path, extension, acceptPrintf, job->imageSingleOutputFile,
                                       job->imagePadding);
    const QString folder = job->imageDir.toQString();
    const QString name = job->imageFileName.toQString();
    const QString ext = job->imageExtension.toQString();
    const bool singleFile = job->imageSingleOutputFile;
    QString& text = result.text;
    kxInspectLine(text, QStringLiteral("path"), path);
    if (!label.isEmpty()) {
        kxInspectLine(text, QStringLiteral("job"), label);
        kxInspectLine(text, QStringLiteral("scene"), job->sceneName.toQString());
        kxInspectLine(text, QStringLiteral("project"), job->sceneDatabaseDir.toQString());
    }
    kxInspectLine(text, QStringLiteral("folder"), folder);
    kxInspectLine(text, QStringLiteral("name"), name);
    kxInspectLine(text, QStringLiteral("frame digits"),
                  singleFile ? QStringLiteral("(one file for all frames)")
                             : QString::number(job->imagePadding));
    kxInspectLine(text, QStringLiteral("extension"), ext);
    kxInspectLine(text, QStringLiteral("single file"),
                  singleFile ? QStringLiteral("yes") : QStringLiteral("no"));

    QJsonObject& json = result.json;
    json.insert(QStringLiteral("path"), path);
    if (!label.isEmpty()) {
        json.insert(QStringLiteral("job"), label);
        json.insert(QStringLiteral("scene"), job->sceneName.toQString());
        json.insert(QStringLiteral("project"), job->sceneDatabaseDir.toQString());
    }
    json.insert(QStringLiteral("folder"), folder);
    json.insert(QStringLiteral("name"), name);
    if (!singleFile)
        json.insert(QStringLiteral("frameDigits"), int(job->imagePadding));
    json.insert(QStringLiteral("extension"), ext);
    json.insert(QStringLiteral("singleFile"), singleFile);
    return kxInspectOk;
}

} // namespace

const kxInspectCommand kxInspectImageCommand = {
    "image",
    "PATH [--farm FILE --job LABEL]",
    "an output image path split into folder, name, frame digits and extension",
    "PATH is an output image path as a render application gives it: frame digits as \"####\", in the\n"
    "printf form \"%04d\" or as a sample frame number (\"beauty.0001.exr\"); a movie file is one file\n"
    "for all frames. With a job of a sample farm, the start of the folder that is the scene's folder\n"
    "(or one up to three levels above it) or the job's project folder becomes <SceneFolder> or\n"
    "<Database>.\n"
    "A path that shows no frame number (or a sample number of another length) keeps the job's frame\n"
    "digits, 4, and an extension given apart without its '.' stays so: a warning says each.\n"
    "Exit codes: 0 success, 2 a fault.\n",
    {{"farm", "FILE", "the sample farm that holds the job"},
     {"job", "LABEL", "the job whose scene and project folders are used"},
     {"ext", "EXT", "the extension, when it is given apart from the name"},
     {"no-printf", nullptr, "read \"%04d\" as part of the name"}},
    1,
    1,
    runImage,
};
