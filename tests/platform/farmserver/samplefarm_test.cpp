// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "samplefarm.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(SampleFarm, ReadsClientsAndJobsInOrder) {
    const QByteArray text = "# farm\r\n"
                            "; another comment\n"
                            "[client render01]\n"
                            "pending = Welcome back\n"
                            "\n"
                            "[client  r\xC3\xA9nder 02 ]\n"
                            "[job shot010 preview]\n"
                            "number = 4294967295\n"
                            "member = 255\n"
                            "status = 0\n"
                            "user = anna\n"
                            "scene = /p/sc=ene %3.ma\n"
                            "imageDir =   /r/  \n"
                            "imageFile = a.exr\n"
                            "recipients = render01;;x\n"
                            "[job]\n"
                            "status=180\n"
                            "number=7\n"
                            "recipients =\n";
    kxSampleFarm farm;
    QString error;
    ASSERT_TRUE(kxParseSampleFarm(text, QStringLiteral("farm.ini"), farm, error)) << error.toStdString();
    ASSERT_EQ(farm.clients.size(), 2);
    EXPECT_EQ(farm.clients[0].name, QStringLiteral("render01"));
    EXPECT_EQ(farm.clients[0].pending, QStringLiteral("Welcome back"));
    EXPECT_EQ(farm.clients[0].line, 3);
    EXPECT_EQ(farm.clients[1].name, QString::fromUtf8("r\xC3\xA9nder 02"));
    EXPECT_EQ(farm.clients[1].pending, QString());
    ASSERT_EQ(farm.jobs.size(), 2);
    const kxSampleJob& j = farm.jobs[0];
    EXPECT_EQ(j.label, QStringLiteral("shot010 preview"));
    EXPECT_EQ(j.number, 4294967295u);
    EXPECT_EQ(j.member, 255);
    EXPECT_EQ(j.status, 0);
    EXPECT_EQ(j.user, QStringLiteral("anna"));
    EXPECT_EQ(j.scene, QStringLiteral("/p/sc=ene %3.ma"));
    EXPECT_EQ(j.imageDir, QStringLiteral("/r/"));
    EXPECT_EQ(j.imageFile, QStringLiteral("a.exr"));
    EXPECT_EQ(j.recipients, QStringLiteral("render01;;x"));
    EXPECT_EQ(j.file, QStringLiteral("farm.ini"));
    EXPECT_EQ(j.line, 7);
    EXPECT_EQ(farm.jobs[1].status, 180);
    EXPECT_EQ(farm.jobs[1].number, 7u);
    EXPECT_EQ(farm.jobs[1].member, 0);
    EXPECT_TRUE(farm.jobs[1].recipients.isEmpty());
}

TEST(SampleFarm, MalformedInputNamesFileAndLineAndChangesNothing) {
    struct Case {
        const char* text;
        const char* expectedError;
    };
    const Case cases[] = {
        {"number = 1\n", "f.ini:1: 'number' stands before any [client] or [job] section"},
        {"[client a]\n\nrubbish\n", "f.ini:3: expected a [section] or 'key = value', found 'rubbish'"},
        {"[client a\n", "f.ini:1: a section header must end with ']'"},
        {"[client]\n", "f.ini:1: a client needs a name: [client NAME]"},
        {"[clients a]\n", "f.ini:1: unknown section '[clients a]': expected [client NAME] or [job LABEL]"},
        {"[client a]\n[client a]\n", "f.ini:2: the client 'a' is already defined at f.ini:1"},
        {"[client a]\ncolour = red\n", "f.ini:2: unknown client key 'colour' (known: pending, memory, cores, ghz, os, threads, "
         "preset, apps)"},
        {"[client a]\n= x\n", "f.ini:2: a key is missing before '='"},
        {"[job]\nnumber = 1\nstatus = 256\n",
         "f.ini:3: status must be a whole number from 0 to 255, not '256'"},
        {"[job]\nnumber = -1\n", "f.ini:2: number must be a whole number from 0 to 4294967295, not '-1'"},
        {"[job]\nnumber = 4294967296\n",
         "f.ini:2: number must be a whole number from 0 to 4294967295, not '4294967296'"},
        {"[job]\nnumber = 0x10\n", "f.ini:2: number must be a whole number from 0 to 4294967295, not '0x10'"},
        {"[job]\nmember = 1 2\n", "f.ini:2: member must be a whole number from 0 to 255, not '1 2'"},
        {"[job]\nstatus = \n", "f.ini:2: status must be a whole number from 0 to 255, not ''"},
        {"[job]\nnumber = 1\nnumber = 2\n", "f.ini:3: 'number' is given twice in this section"},
        {"[job]\nnumber = 1\nsceen = x\n",
         "f.ini:3: unknown job key 'sceen' (known: number, member, status, user, "
         "scene, imageDir, imageFile, recipients)"},
        {"\n[job x]\nnumber = 1\n[client a]\n", "f.ini:2: the job needs a 'status' line"},
        {"[job x]\nstatus = 1\n", "f.ini:1: the job needs a 'number' line"},
        {"[client abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijK]\n",
         "f.ini:1: the client name 'abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijK' is longer than 50 "
         "characters"},
        {"[client \xE2\x82\xAC]\n", "f.ini:1: the client name '\xE2\x82\xAC' is not Latin-1 text"},
        {"[client \xFF]\n", "f.ini: the file is not UTF-8 text"},
    };
    for (const Case& c : cases) {
        kxSampleFarm farm;
        kxSampleClient kept;
        kept.name = QStringLiteral("kept");
        kept.file = QStringLiteral("other.ini");
        kept.line = 1;
        farm.clients.append(kept);
        QString error;
        EXPECT_FALSE(kxParseSampleFarm(QByteArray(c.text), QStringLiteral("f.ini"), farm, error)) << c.text;
        EXPECT_EQ(error, QString::fromUtf8(c.expectedError)) << c.text;
        EXPECT_EQ(farm.clients.size(), 1) << c.text;
        EXPECT_TRUE(farm.jobs.isEmpty()) << c.text;
    }
}

TEST(SampleFarm, FileAndClientNamesThatLookLikePlaceholdersAreNamedLiterally) {
    // A user's file or client may be called like a placeholder ("%1"); the message must still name it.
    struct Case {
        const char* text;
        const char* fileName;
        const char* expectedError;
    };
    const Case cases[] = {
        {"[client a]\nrubbish\n", "farm%1.ini",
         "farm%1.ini:2: expected a [section] or 'key = value', found 'rubbish'"},
        {"rubbish\n", "farm%2%3.ini",
         "farm%2%3.ini:1: expected a [section] or 'key = value', found 'rubbish'"},
        {"[client n%3]\n[client n%3]\n", "f%3.ini",
         "f%3.ini:2: the client 'n%3' is already defined at f%3.ini:1"},
        {"[client abcdefghijabcdefghijabcdefghijabcdefghijabcdefghij%2]\n", "f.ini",
         "f.ini:1: the client name 'abcdefghijabcdefghijabcdefghijabcdefghijabcdefghij%2' is longer than 50 "
         "characters"},
        {"[client \xFF]\n", "f%1.ini", "f%1.ini: the file is not UTF-8 text"},
    };
    for (const Case& c : cases) {
        kxSampleFarm farm;
        QString error;
        EXPECT_FALSE(kxParseSampleFarm(QByteArray(c.text), QString::fromLatin1(c.fileName), farm, error))
            << c.text;
        EXPECT_EQ(error, QString::fromUtf8(c.expectedError)) << c.text;
    }
}

TEST(SampleFarm, ClientNamesMustBeUniqueAcrossFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString first = dir.filePath(QStringLiteral("a.ini"));
    const QString second = dir.filePath(QStringLiteral("b.ini"));
    for (const QString& path : {first, second}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[client node]\n");
    }
    kxSampleFarm farm;
    QString error;
    ASSERT_TRUE(kxReadSampleFarm(first, farm, error)) << error.toStdString();
    EXPECT_FALSE(kxReadSampleFarm(second, farm, error));
    EXPECT_EQ(error, second + QStringLiteral(":1: the client 'node' is already defined at ") + first +
                         QStringLiteral(":1"));
    EXPECT_EQ(farm.clients.size(), 1);

    const QString missing = dir.filePath(QStringLiteral("missing.ini"));
    EXPECT_FALSE(kxReadSampleFarm(missing, farm, error));
    EXPECT_TRUE(error.startsWith(missing + QStringLiteral(": cannot read the file: ")))
        << error.toStdString();
}

} // namespace
