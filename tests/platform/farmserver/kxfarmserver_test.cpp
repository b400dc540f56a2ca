// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// Runs the built kxfarmserver as an admin does, on sample farms of the test's making, and reads what it
// prints: the answer on standard output, warnings and faults on standard error, and the exit code.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome runServer(const QStringList& arguments, const QByteArray& input = QByteArray()) {
    QProcess process;
    process.start(QStringLiteral(KX_FARMSERVER_PROGRAM), arguments);
    process.write(input);
    process.closeWriteChannel();
    Outcome run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
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
