// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "samplerun.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct RunResult {
    int exitCode;
    QString out;
    QString err;
};

RunResult run(const kxSampleRunOptions& options) {
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const int code = kxRunSampleFarm(options, outStream, errStream);
    outStream.flush();
    errStream.flush();
    return {code, out, err};
}

kxSampleRunOptions bundled() {
    kxSampleRunOptions options;
    options.farmFiles = QStringList{QStringLiteral(KX_SAMPLE_FARM_FILE)};
    options.pluginPath = QStringLiteral(KX_PLUGIN_FILE);
    return options;
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

TEST(SampleRun, TheBundledFarmRunsThroughThePlugin) {
    const RunResult r = run(bundled());
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    // The one warning: shot020's scene holds characters the clients see as '?'.
    EXPECT_EQ(r.err.toStdString(), "kxfarmserver: warning: job \"shot020 layer finished\": the scene holds "
                                   "'\xE5\xA0\xB4', '\xE6\x99\xAF', which the clients see as '?'\n");
    const char* expected[] = {
        "  pInfo   -> 1   kxMessage 1.0, framework \" 8.4.03\", QtCore ",
        "  pInit   -> 1\n",
        "  pNotify -> 1   job {KT9 } \"shot010 preview\", status 100, recipients \"render01;comp-ws07\"\n",
        "  pNotify -> 14  job ",
        "  pExit   -> 1\n",
        // The server log as the plug-in wrote it.
        "| WRN {7UW } kxNotifyKXMessage NOT SEND. 'render42' not found. (  n:4|||\n",
        "| WRN pNotify kxMessage: No Client Name specified\n",
        "kxNotifyKXMessage send to 'render99;render02'. (  n:4|||\n",
        // The pending messages: render02 had one waiting, then the preview of shot030.
        "  [render02]\n    Maintenance tonight at 23:00, please save your work.\n\n    ",
        "    Job {YV2 } [chen] preview frames done. \n",
        "    Job {EHSb} [bj\xC3\xB6rn] finished. \n    Scene:/projects/feature/shot020/??_100%3.hip \n",
    };
    for (const char* e : expected)
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(e))) << e << "\n---\n" << r.out.toStdString();
    // render03 is named twice in one job and receives it once.
    const qsizetype render03 = r.out.indexOf(QStringLiteral("  [render03]\n"));
    const qsizetype next = r.out.indexOf(QStringLiteral("  [comp-ws07]\n"));
    ASSERT_GT(render03, 0);
    ASSERT_GT(next, render03);
    EXPECT_EQ(r.out.mid(render03, next - render03).count(QStringLiteral("Job {EHSb}")), 1);
}

TEST(SampleRun, AKeptLogShowsOnlyWhatThisRunWrote) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    kxSampleRunOptions options = bundled();
    options.logPath = dir.filePath(QStringLiteral("kept.log"));
    writeFile(options.logPath, "an older line\n");
    const RunResult r = run(options);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_FALSE(r.out.contains(QStringLiteral("an older line")));
    QFile log(options.logPath);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString onDisk = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(onDisk.startsWith(QStringLiteral("an older line\n")));
    EXPECT_EQ(onDisk.count(QStringLiteral("pNotify kxMessage started for job")), 7);
}

TEST(SampleRun, FaultsGoToTheErrorStreamWithExitOne) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString bad = dir.filePath(QStringLiteral("bad.ini"));
    writeFile(bad, "[client a]\n[job x]\nnumber = 1\nstatus = high\n");
    const QString second = dir.filePath(QStringLiteral("second.ini"));
    writeFile(second, "[client render01]\n");

    struct Case {
        kxSampleRunOptions options;
        QString expectedError;
    };
    kxSampleRunOptions malformed = bundled();
    malformed.farmFiles = QStringList{bad};
    kxSampleRunOptions duplicate = bundled();
    duplicate.farmFiles.append(second);
    kxSampleRunOptions noPlugin = bundled();
    noPlugin.pluginPath = dir.filePath(QStringLiteral("none.so"));
    kxSampleRunOptions noLog = bundled();
    noLog.logPath = dir.filePath(QStringLiteral("missing/folder/x.log"));
    const Case cases[] = {
        {malformed, bad + QStringLiteral(":4: status must be a whole number from 0 to 255, not 'high'")},
        {duplicate, second + QStringLiteral(":1: the client 'render01' is already defined at ") +
                        QStringLiteral(KX_SAMPLE_FARM_FILE)},
        {noPlugin, QStringLiteral("cannot load the plug-in ") + noPlugin.pluginPath},
        {noLog, QStringLiteral("cannot open the server log ") + noLog.logPath},
    };
    for (const Case& c : cases) {
        const RunResult r = run(c.options);
        EXPECT_EQ(r.exitCode, 1) << c.expectedError.toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("kxfarmserver: ") + c.expectedError))
            << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
}

} // namespace
