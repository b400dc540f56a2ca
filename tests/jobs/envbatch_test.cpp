// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobs/envbatch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kxJ;

namespace {

const QByteArray startLine = "/bin/echo \"__________kxEnvFile_start__________\" \n";
const QByteArray endLines = "/bin/echo \"__________kxEnvFile_end__________\" \n\n";

// The two lines of one variable as the script holds them.
QByteArray variable(const QByteArray& name, const QByteArray& value) {
    return "/bin/echo \"" + name + "= " + value + "\" \n" + "setenv     " + name + " \"" + value + "\" \n";
}

struct EnvBatch : ::testing::Test {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("env.csh"));

    QByteArray written() {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

} // namespace

TEST_F(EnvBatch, ExactScripts) {
    ASSERT_TRUE(dir.isValid());
    const struct Case {
        const char* what;
        QStringList names, values;
        QByteArray body;
    } cases[] = {
        {"empty lists", {}, {}, ""},
        {"plain values keep their bytes",
         {QStringLiteral("PATH_A"), QStringLiteral("_x1")},
         {QStringLiteral("/opt/app/bin:/usr/bin"), QStringLiteral("a b  'c' %1 %2 ~ * ; & | < > ( )")},
         variable("PATH_A", "/opt/app/bin:/usr/bin") + variable("_x1", "a b  'c' %1 %2 ~ * ; & | < > ( )")},
        {"an empty name is skipped with its value; the rest keep their order",
         {QStringLiteral("B"), QString(), QStringLiteral("A")},
         {QStringLiteral("2"), QStringLiteral("lost"), QStringLiteral("1")},
         variable("B", "2") + variable("A", "1")},
        {"an empty value", {QStringLiteral("EMPTY")}, {QString()}, variable("EMPTY", "")},
        {"Latin-1", {QStringLiteral("L")}, {QStringLiteral("caf\u00e9 \u65e5")}, variable("L", "caf\xe9 ?")},
        // What the shell would act on inside double quotes is given in single quotes.
        {"a double quote",
         {QStringLiteral("Q")},
         {QStringLiteral("say \"hi\"")},
         variable("Q", "say \"'\"'\"hi\"'\"'\"")},
        {"variables, commands and history",
         {QStringLiteral("V")},
         {QStringLiteral("$HOME `id` \\n !!")},
         variable("V", "\"'$'\"HOME \"'`'\"id\"'`'\" \"'\\'\"n \"'!'\"\"'!'\"")},
        {"line breaks become blanks",
         {QStringLiteral("N")},
         {QStringLiteral("a\nrm -rf x\r\nb")},
         variable("N", "a rm -rf x  b")},
        // A name that is not a variable name would be a command of its own.
        {"names that are not variable names",
         {QStringLiteral("A B"), QStringLiteral("X;rm"), QStringLiteral("1ST"), QStringLiteral("a-b"),
          QStringLiteral("\u00e9t\u00e9"), QStringLiteral("OK_2")},
         {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
          QStringLiteral("5"), QStringLiteral("6")},
         variable("OK_2", "6")},
        {"a values list shorter than the names",
         {QStringLiteral("ONE"), QStringLiteral("TWO")},
         {QStringLiteral("1")},
         variable("ONE", "1") + variable("TWO", "")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(kxEnvFileWriteBatch(path, c.names, c.values));
        EXPECT_EQ(written(), startLine + c.body + endLines);
    }
}

TEST_F(EnvBatch, ReplacesAnExistingFile) {
    ASSERT_TRUE(dir.isValid());
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(4096, 'x'));
    }
    EXPECT_TRUE(kxEnvFileWriteBatch(path, {QStringLiteral("A")}, {QStringLiteral("1")}));
    EXPECT_EQ(written(), startLine + variable("A", "1") + endLines);
}

TEST_F(EnvBatch, FailuresAreReported) {
    ASSERT_TRUE(dir.isValid());
    const QString noFolder = dir.filePath(QStringLiteral("missing/env.csh"));
    EXPECT_FALSE(kxEnvFileWriteBatch(noFolder, {QStringLiteral("A")}, {QStringLiteral("1")}));
    EXPECT_FALSE(QFile::exists(noFolder));
    EXPECT_FALSE(kxEnvFileWriteBatch(dir.path(), {}, {})) << "a folder is not a file";
    // A device that takes no data: opening works, writing does not.
    if (QFile::exists(QStringLiteral("/dev/full"))) {
        EXPECT_FALSE(
            kxEnvFileWriteBatch(QStringLiteral("/dev/full"), {QStringLiteral("A")}, {QStringLiteral("1")}));
    }
}
