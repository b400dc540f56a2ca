// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxinspect clientcfg: one client of a sample farm written into a client configuration file as the
// server writes it, and what the file then holds.
#include "cli.h"

#include "farmserver.h"
#include "samplefarm.h"

#include "clients/clientrecords.h"

#include "kxinisettings.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

namespace {

/// The keys of the current group and, as nested objects, its sub-groups.
QJsonObject groupKeys(_iniSettings& ini) {
    QJsonObject keys;
    const QStringList childKeys = ini.childKeys();
    for (const QString& key : childKeys)
        keys.insert(key, ini.value(key));
    const QStringList childGroups = ini.childGroups();
    for (const QString& group : childGroups) {
        ini.beginGroup(group);
        keys.insert(group, groupKeys(ini));
        ini.endGroup(false);
    }
    return keys;
}

/// The minor version as the file writes it: without its dots, trailing zeros dropped down to one digit.
QString fileMinorVersion(QString minor) {
    minor.remove(QLatin1Char('.'));
    while (minor.size() > 1 && minor.endsWith(QLatin1Char('0')))
        minor.chop(1);
    return minor;
}

/// Two applications of one name and major version whose minor versions the file writes alike.
QStringList sameVersionWarnings(const kxSampleClient& client) {
    QStringList warnings;
    for (int i = 0; i < client.apps.size(); ++i)
        for (int j = i + 1; j < client.apps.size(); ++j) {
            const kxSampleRenderApp& a = client.apps[i];
            const kxSampleRenderApp& b = client.apps[j];
            if (a.name == b.name && a.versionMajor == b.versionMajor && a.versionMinor != b.versionMinor &&
                fileMinorVersion(a.versionMinor) == fileMinorVersion(b.versionMinor))
                warnings << QStringLiteral(
                                "render applications %1 (%2 %3 %4) and %5 (%2 %3 %6) are both written as "
                                "version %3 %7: the file cannot tell them apart")
                                .arg(i + 1)
                                .arg(a.name)
                                .arg(a.versionMajor)
                                .arg(a.versionMinor)
                                .arg(j + 1)
                                .arg(b.versionMinor, fileMinorVersion(a.versionMinor));
        }
    return warnings;
}

int runClientcfg(const kxInspectCall& call, kxInspectResult& result) {
    const QString farmFile = call.value("farm");
    const QString clientName = call.value("client");
    // "-": the file as the server would write it for this client alone, printed and written nowhere.
    const bool printOnly = call.value("out") == QLatin1String("-");
    QTemporaryDir scratch;
    if (printOnly && !scratch.isValid()) {
        result.fault = QStringLiteral("cannot make a temporary folder to write the file in");
        return kxInspectFault;
    }
    const QString outFile = printOnly ? scratch.filePath(QStringLiteral("clients.ini")) : call.value("out");

    kxSampleFarm farm;
    if (!kxReadSampleFarm(farmFile, farm, result.fault))
        return kxInspectFault;
    int listNo = -1;
    QStringList names;
    for (int i = 0; i < farm.clients.size(); ++i) {
        names << farm.clients[i].name;
        if (farm.clients[i].name == clientName)
            listNo = i;
    }
    if (listNo < 0) {
        result.fault =
            QStringLiteral("%1: no client '%2' (%3)")
                .arg(farmFile, clientName,
                     names.isEmpty() ? QStringLiteral("the farm has no clients")
                                     : QStringLiteral("clients: ") + names.join(QStringLiteral(", ")));
        return kxInspectFault;
    }

    // The file's own guards (its folder, a regular file, ini-style lines) are the writer's; this one is
    // the inspector's: the out file must not be the farm file it reads.
    const QFileInfo out(outFile);
    if (out.exists() && out.canonicalFilePath() == QFileInfo(farmFile).canonicalFilePath()) {
        result.fault =
            QStringLiteral("%1: the out file is the farm file itself; it is left as it is").arg(outFile);
        return kxInspectFault;
    }

    result.warnings << sameVersionWarnings(farm.clients[listNo]);
    // The record is about 200 KB: kept off the stack.
    auto client = std::make_unique<kxC::_Client_ALL>();
    kxFillSampleClient(*client, farm.clients[listNo], listNo);
    QString group;
    switch (kxWriteClientCfgFile(outFile, *client, call.has("force-listno"), call.has("compact"), group)) {
    case kxClientCfgWrite::written:
        break;
    case kxClientCfgWrite::noFolder:
        result.fault = QStringLiteral("%1: cannot write the file: its folder does not exist").arg(outFile);
        return kxInspectFault;
    case kxClientCfgWrite::notAFile:
        result.fault = QStringLiteral("%1: cannot write the file: it is not a regular file").arg(outFile);
        return kxInspectFault;
    case kxClientCfgWrite::notSettings:
        result.fault =
            QStringLiteral("%1: the file holds lines that are no ini-style settings; it is left as it is")
                .arg(outFile);
        return kxInspectFault;
    case kxClientCfgWrite::noGroup:
        result.fault = QStringLiteral("%1: the client name '%2' gives no group of its own in %3")
                           .arg(farmFile, clientName, outFile);
        return kxInspectFault;
    case kxClientCfgWrite::notWritten:
        result.fault = QStringLiteral("%1: cannot write the file").arg(outFile);
        return kxInspectFault;
    }

    QFile written(outFile);
    if (!written.open(QIODevice::ReadOnly)) {
        result.fault =
            QStringLiteral("%1: cannot read the written file: %2").arg(outFile, written.errorString());
        return kxInspectFault;
    }
    const QString content = QString::fromUtf8(written.readAll());
    result.text =
        printOnly ? content : QStringLiteral("group [%1] written to %2\n\n").arg(group, outFile) + content;

    _iniSettings readBack(outFile);
    readBack.beginGroup(group);
    result.json.insert(QStringLiteral("file"), printOnly ? QStringLiteral("-") : outFile);
    result.json.insert(QStringLiteral("group"), group);
    result.json.insert(QStringLiteral("keys"), groupKeys(readBack));
    return kxInspectOk;
}

} // namespace

const kxInspectCommand kxInspectClientcfgCommand = {
    "clientcfg",
    "--farm FILE --client NAME --out FILE",
    "a sample farm's client written into a client configuration file as the server writes it",
    "The client NAME of the sample farm FILE is written into its group of the client configuration\n"
    "file --out: list number (its place in the farm, from 0), configuration, hardware and one sub-group\n"
    "\"appNN\" per render application. An existing file is updated: other clients' groups stay, and a\n"
    "group already spelled in another letter case is written in that spelling. Shown: the group and\n"
    "the whole file as written. With --json: {\"file\", \"group\", \"keys\"}, the keys of the client's\n"
    "group as texts and each sub-group as a nested object of its own keys (\"app00\": {\"Name\": ...}).\n"
    "--out - prints the group as a new file would hold it and writes nothing. The folder of --out must\n"
    "exist. Two render applications whose minor versions the file writes alike (5.370 and 5.37 are\n"
    "both 537) are written, with a warning.\n"
    "Exit codes: 0 written (or printed), 2 a fault; the file is then left as it was.\n",
    {{"farm", "FILE", "the sample farm that holds the client", true},
     {"client", "NAME", "the client's name", true},
     {"out", "FILE", "the client configuration file to write or update; - to print only", true},
     {"compact", nullptr, "write each render application in the short \"AE\" form"},
     {"force-listno", nullptr, "write the list number even when the group already has one"}},
    0,
    0,
    runClientcfg,
};
