// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxinspect version: the version numbers of a render application's path and its version-free pattern.
#include "cli.h"

#include "renderapps/appversion.h"

namespace {

int runVersion(const kxInspectCall& call, kxInspectResult& result) {
    const QString path = call.arguments.first();
    int major = 0;
    QString minor;
    QString minorFull;
    const bool found = kxRA::kxGetAppVersionFromPath(path, major, minor, minorFull);
    const QString pattern = kxRA::replaceVersionWithAsterisk(path);

    QString& text = result.text;
    kxInspectLine(text, QStringLiteral("path"), path);
    if (found) {
        kxInspectLine(text, QStringLiteral("major"), QString::number(major));
        kxInspectLine(text, QStringLiteral("minor"), minor);
        kxInspectLine(text, QStringLiteral("minor full"), minorFull);
    } else {
        kxInspectLine(text, QStringLiteral("version"), QStringLiteral("(none found)"));
    }
    kxInspectLine(text, QStringLiteral("pattern"), pattern);

    QJsonObject& json = result.json;
    json.insert(QStringLiteral("path"), path);
    json.insert(QStringLiteral("found"), found);
    if (found) {
        json.insert(QStringLiteral("major"), major);
        json.insert(QStringLiteral("minor"), minor);
        json.insert(QStringLiteral("minorFull"), minorFull);
    }
    json.insert(QStringLiteral("pattern"), pattern);
    // A path without a version answers "no".
    return found ? kxInspectOk : kxInspectNo;
}

} // namespace

const kxInspectCommand kxInspectVersionCommand = {
    "version",
    "PATH",
    "the render application's version numbers and its version-free pattern",
    "PATH is the path of a render application. Shown: the major and minor version read from it (the\n"
    "application's folder may give a longer minor version than the file name) and the path with its\n"
    "version replaced by '*'.\n"
    "Exit codes: 0 a version was found, 1 the path holds none, 2 a fault.\n",
    {},
    1,
    1,
    runVersion,
};
