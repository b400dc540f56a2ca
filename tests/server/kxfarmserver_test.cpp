// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// Runs the built kxfarmserver as an admin does, on sample farms of the test's making, and reads what it
// prints: the answer on standard output, warnings and faults on standard error, and the exit code.
#include "tests/programrun.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Outcome = kxProgramOutcome;

Outcome runServer(const QStringList& arguments, const QByteArray& input = QByteArray()) {
    return kxRunProgram(QStringLiteral(KX_FARMSERVER_PROGRAM), arguments, QString(), input);
}

/// A sample farm file of the test's own, in `dir`.
QString farmFile(const QTemporaryDir& dir, const char* name, const QByteArray& content) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

} // namespace

TEST(KxFarmServer, AnEmptyFarmFileRunsWithAWarning) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString empty = farmFile(dir, "empty.ini", "# nothing here yet\n");
    const Outcome run = runServer({empty});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains(QStringLiteral("Clients:     0, jobs: 0\n"))) << run.out.toStdString();
    EXPECT_EQ(run.err.toStdString(),
              "kxfarmserver: warning: " + empty.toStdString() + " holds no [client] or [job] section\n");
}

TEST(KxFarmServer, TheServerLogIsNamedTruthfully) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A log that cannot be opened: the reason follows the path.
    const QString missing = dir.filePath(QStringLiteral("no/dir/x.log"));
    const Outcome noFolder = runServer({QStringLiteral("--log"), missing});
    EXPECT_EQ(noFolder.exitCode, 1);
    EXPECT_EQ(noFolder.out.toStdString(), "");
    EXPECT_EQ(noFolder.err.toStdString(),
              "kxfarmserver: cannot open the server log " + missing.toStdString() + ": its folder " +
                  dir.filePath(QStringLiteral("no/dir")).toStdString() + " does not exist\n");
    const Outcome folder = runServer({QStringLiteral("--log"), dir.path()});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_EQ(folder.err.toStdString(),
              "kxfarmserver: cannot open the server log " + dir.path().toStdString() + ": it is a folder\n");

    // The temporary log is gone after the run: the output says so instead of naming it.
    const Outcome temporary = runServer({});
    EXPECT_EQ(temporary.exitCode, 0);
    EXPECT_TRUE(temporary.out.contains(
        QStringLiteral("Server log (a temporary file, removed when the run ends; --log FILE keeps it)\n")))
        << temporary.out.toStdString();
    const QString kept = dir.filePath(QStringLiteral("kept.log"));
    const Outcome named = runServer({QStringLiteral("--log"), kept});
    EXPECT_TRUE(named.out.contains(QStringLiteral("Server log (") + kept + QStringLiteral(")\n")));
    EXPECT_TRUE(QFile::exists(kept));
}

namespace {

const char recipientFarm[] = "[client render01]\n"
                             "[client render02]\n"
                             "[job blanks]\nnumber = 1\nstatus = 200\nrecipients = render01 ; render02\n"
                             "[job letter case]\nnumber = 2\nstatus = 200\nrecipients = RENDER01\n"
                             "[job one unknown]\nnumber = 3\nstatus = 200\nrecipients = render99;render02\n"
                             "[job long]\nnumber = 4\nstatus = 200\n"
                             "recipients = render01;aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa;render02\n"
                             "[job nobody]\nnumber = 5\nstatus = 200\nrecipients =\n";

} // namespace

TEST(KxFarmServer, EachRecipientIsShownWithTheClientItReached) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString farm = farmFile(dir, "recipients.ini", recipientFarm);
    const Outcome run = runServer({farm});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const char* expected[] = {
        "recipients \"render01 ; render02\"\n"
        "              \"render01 \" -> no such client (the blanks are part of the name; render01 exists)\n"
        "              \" render02\" -> no such client (the blanks are part of the name; render02 exists)\n",
        "recipients \"RENDER01\"\n"
        "              \"RENDER01\" -> no such client (render01 differs only in letter case)\n",
        "recipients \"render99;render02\"\n"
        "              \"render99\" -> no such client\n"
        "              \"render02\" -> render02\n",
        // The record holds 50 characters: the last name is cut, and its rest never compared.
        "recipients \"render01;aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa;r\"\n"
        "              \"render01\" -> render01\n"
        "              \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\" -> no such client\n"
        "              \"r\" -> no such client\n"
        "              cut off at 50 characters, not compared: \"ender02\"\n",
        "pNotify -> 14  job {AAA } \"nobody\", status 200, recipients \"\"\n  pExit",
    };
    for (const char* e : expected)
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(e))) << e << "\n---\n" << run.out.toStdString();

    // With --strict the same run fails, after the whole report: four jobs named an unknown client or
    // nobody.
    const Outcome strict = runServer({QStringLiteral("--strict"), farm});
    EXPECT_EQ(strict.exitCode, 3);
    EXPECT_EQ(strict.out, run.out.section(QStringLiteral("Server log"), 0, 0) +
                              strict.out.mid(strict.out.indexOf(QStringLiteral("Server log"))));
    EXPECT_EQ(strict.err.toStdString(),
              "kxfarmserver: --strict: 5 jobs reached nobody, named nobody or named a "
              "client the farm does not have\n");

    // The document holds each job's outcome.
    const Outcome json = runServer({QStringLiteral("--json"), QStringLiteral("--strict"), farm});
    EXPECT_EQ(json.exitCode, 3);
    const QJsonArray jobs =
        QJsonDocument::fromJson(json.out.toUtf8()).object().value(QStringLiteral("jobs")).toArray();
    ASSERT_EQ(jobs.size(), 5);
    const QJsonObject unknown = jobs[2].toObject();
    EXPECT_EQ(unknown.value(QStringLiteral("result")).toInt(), 1);
    EXPECT_EQ(unknown.value(QStringLiteral("reached")), QJsonValue(true));
    EXPECT_EQ(unknown.value(QStringLiteral("recipientParts")).toArray(),
              (QJsonArray{QJsonObject{{QStringLiteral("name"), QStringLiteral("render99")},
                                      {QStringLiteral("client"), QJsonValue()},
                                      {QStringLiteral("note"), QStringLiteral("no such client")}},
                          QJsonObject{{QStringLiteral("name"), QStringLiteral("render02")},
                                      {QStringLiteral("client"), QStringLiteral("render02")}}}));
    EXPECT_EQ(jobs[3].toObject().value(QStringLiteral("recipientsCutOff")).toString(),
              QStringLiteral("ender02"));
    EXPECT_EQ(jobs[4].toObject().value(QStringLiteral("result")).toInt(), 14);

    // The bundled farm stays a clean run without --strict.
    EXPECT_EQ(runServer({}).exitCode, 0);
}

TEST(KxFarmServer, TextTheClientsCannotBeShownIsNamedPerJobAndField) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString farm =
        farmFile(dir, "names.ini",
                 "[client render01]\n"
                 "[job cyrillic]\nnumber = 1\nstatus = 200\nuser = \xD0\x94\xD0\xBC\xD0\xB8\xD1\x82"
                 "\xD1\x80\xD0\xB8\xD0\xB9\nimageDir = /renders/\xE2\x82\xACuro/\nimageFile = "
                 "b\xC3\xB6rk.####.exr\nrecipients = render01\n");
    const char* warnings =
        "kxfarmserver: warning: job \"cyrillic\": the user holds '\xD0\x94', '\xD0\xBC', "
        "'\xD0\xB8', '\xD1\x82', '\xD1\x80', '\xD0\xB9', which the clients see as '?'\n"
        "kxfarmserver: warning: job \"cyrillic\": the imageDir holds '\xE2\x82\xAC', which the "
        "clients see as '?'\n";
    for (const bool json : {false, true}) {
        SCOPED_TRACE(json ? "--json" : "text");
        const Outcome run = runServer(json ? QStringList{QStringLiteral("--json"), farm} : QStringList{farm});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err.toStdString(), warnings);
        // The message stays as the plug-in builds it: '?' for each character Latin-1 cannot hold.
        EXPECT_TRUE(run.out.contains(QStringLiteral("[???????] finished."))) << run.out.toStdString();
        if (json) {
            const QJsonObject job = QJsonDocument::fromJson(run.out.toUtf8())
                                        .object()
                                        .value(QStringLiteral("jobs"))
                                        .toArray()
                                        .first()
                                        .toObject();
            EXPECT_EQ(
                job.value(QStringLiteral("unseenCharacters")).toObject(),
                (QJsonObject{{QStringLiteral("user"), QString::fromUtf8("\xD0\x94\xD0\xBC\xD0\xB8\xD1\x82"
                                                                        "\xD1\x80\xD0\xB9")},
                             {QStringLiteral("imageDir"), QString::fromUtf8("\xE2\x82\xAC")}}));
        }
    }
}

TEST(KxFarmServer, ExitCodesAreTheDocumentedOnes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString bad = farmFile(dir, "bad.ini", "[job x]\nnumber = 1\nstatus = high\n");
    struct Case {
        QStringList arguments;
        int exitCode;
    };
    const Case cases[] = {
        {{QStringLiteral("--help")}, 0},
        {{QStringLiteral("--version")}, 0},
        {{bad}, 1},
        {{QStringLiteral("--plugin"), dir.filePath(QStringLiteral("none.so"))}, 1},
        {{QStringLiteral("--verbose")}, 2},
        {{QStringLiteral("--log")}, 2},
        {{QStringLiteral("--strict")}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        EXPECT_EQ(runServer(c.arguments).exitCode, c.exitCode);
    }
    const Outcome help = runServer({QStringLiteral("--help")});
    EXPECT_TRUE(
        help.out.contains(QStringLiteral("Exit codes: 0 the farm ran; 1 a sample file, the plug-in or the "
                                         "log could not be used; 2 an\nunknown option")));
    // Under --json a fault is a document too, with the same exit code.
    const Outcome json = runServer({QStringLiteral("--json"), bad});
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_EQ(
        QJsonDocument::fromJson(json.out.toUtf8()).object(),
        (QJsonObject{{QStringLiteral("error"),
                      bad + QStringLiteral(":3: status must be a whole number from 0 to 255, not 'high'")},
                     {QStringLiteral("file"), bad},
                     {QStringLiteral("line"), 3}}));

    // "-" reads the farm from standard input.
    const Outcome input = runServer({QStringLiteral("-")}, "[client stdin01]\n");
    EXPECT_EQ(input.exitCode, 0);
    EXPECT_TRUE(input.out.contains(QStringLiteral("Sample farm: -\nClients:     1, jobs: 0\n")))
        << input.out.toStdString();
}
