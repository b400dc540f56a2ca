// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxinspect image: an output image path split as a submitted job keeps it, folder, name up to the frame
// number, frame digits and extension, with the job's scene and project folders as variables.
#include "cli.h"

#include "samplefarm.h"

#include "jobs/jobrecords.h"

#include <memory>

namespace {

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
    "<Database>.\n",
    {{"farm", "FILE", "the sample farm that holds the job"},
     {"job", "LABEL", "the job whose scene and project folders are used"},
     {"ext", "EXT", "the extension, when it is given apart from the name"},
     {"no-printf", nullptr, "read \"%04d\" as part of the name"}},
    1,
    1,
    runImage,
};
