// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "samplefarm.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

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
                            "app = Maya\n"
                            "appVersion = 2024.2\n"
                            "layer = beauty\n"
                            "camera = |cams|shotCam\n"
                            "channel = diffuse\n"
                            "database = /p/\n"
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
    EXPECT_EQ(j.app, QStringLiteral("Maya"));
    EXPECT_EQ(j.appVersion, QStringLiteral("2024.2"));
    EXPECT_EQ(j.layer, QStringLiteral("beauty"));
    EXPECT_EQ(j.camera, QStringLiteral("|cams|shotCam"));
    EXPECT_EQ(j.channel, QStringLiteral("diffuse"));
    EXPECT_EQ(j.database, QStringLiteral("/p/"));
    EXPECT_EQ(j.file, QStringLiteral("farm.ini"));
    EXPECT_EQ(j.line, 7);
    EXPECT_EQ(farm.jobs[1].status, 180);
    EXPECT_EQ(farm.jobs[1].number, 7u);
    EXPECT_EQ(farm.jobs[1].member, 0);
    EXPECT_TRUE(farm.jobs[1].recipients.isEmpty());
    EXPECT_TRUE(farm.jobs[1].app.isEmpty());
    EXPECT_TRUE(farm.jobs[1].appVersion.isEmpty());
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
        {"[client a]\ncolour = red\n",
         "f.ini:2: unknown client key 'colour' (known: pending, memory, cores, ghz, os, threads, "
         "preset, apps)"},
        {"[client a]\nmemroy = 1\n", "f.ini:2: unknown client key 'memroy': did you mean 'memory'? (known: "
                                     "pending, memory, cores, ghz, os, "
                                     "threads, preset, apps)"},
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
         "f.ini:3: unknown job key 'sceen': did you mean 'scene'? (known: number, member, status, user, "
         "scene, imageDir, imageFile, recipients, app, appVersion, layer, camera, channel, database)"},
        {"\n[job x]\nnumber = 1\n[client a]\n", "f.ini:2: the job needs a 'status' line"},
        {"[job x]\nstatus = 1\n", "f.ini:1: the job needs a 'number' line"},
        {"[client abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijK]\n",
         "f.ini:1: the client name 'abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijK' is longer than 50 "
         "characters"},
        {"[client \xE2\x82\xAC]\n", "f.ini:1: the client name '\xE2\x82\xAC' is not Latin-1 text"},
        {"[client \xFF]\n",
         "f.ini:1: the line is not UTF-8 text (byte 0xFF at column 9); save the file as UTF-8"},
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

TEST(SampleFarm, ReadsClientHardwareThreadsPresetAndRenderApps) {
    // Each text of an application at its record's capacity: name 25, executable 150, parameter 50.
    const QByteArray name25(25, 'n');
    const QByteArray exe150 = "/" + QByteArray(149, 'e');
    const QByteArray param50(50, 'p');
    const QByteArray text = "[client big]\n"
                            "memory = 2147483647\n"
                            "cores = 65535\n"
                            "ghz = 100\n"
                            "os = windows 25.5\n"
                            "threads = 8\n"
                            "preset = 0\n"
                            "apps = Maya , 2024 , 5.5 , /usr/bin/maya render , -r arnold ;; " +
                            name25 + ",32767,0," + exe150 + "," + param50 +
                            "; \xC3\xA9t\xC3\xA9,0,1.2.3,/b ;\n"
                            "[client small]\n"
                            "memory = 1\n"
                            "cores = 1\n"
                            "ghz = 0.001\n"
                            "os = macos\n"
                            "threads = 1\n"
                            "preset = 255\n"
                            "apps =\n"
                            "[client plain]\n"
                            "os = linux 6.1\n";
    kxSampleFarm farm;
    QString error;
    ASSERT_TRUE(kxParseSampleFarm(text, QStringLiteral("farm.ini"), farm, error)) << error.toStdString();
    ASSERT_EQ(farm.clients.size(), 3);

    const kxSampleClient& big = farm.clients[0];
    EXPECT_EQ(big.memory, 2147483647);
    EXPECT_EQ(big.cores, 65535);
    EXPECT_FLOAT_EQ(big.ghz, 100.0f);
    EXPECT_EQ(big.osType, 1);
    EXPECT_EQ(big.osVersion, 255);
    EXPECT_EQ(big.threads, 8);
    EXPECT_EQ(big.preset, 0);
    ASSERT_EQ(big.apps.size(), 3); // the empty entry between ";;" and the one at the end are skipped
    EXPECT_EQ(big.apps[0].name, QStringLiteral("Maya"));
    EXPECT_EQ(big.apps[0].versionMajor, 2024);
    EXPECT_EQ(big.apps[0].versionMinor, QStringLiteral("5.5"));
    EXPECT_EQ(big.apps[0].executable, QStringLiteral("/usr/bin/maya render"));
    EXPECT_EQ(big.apps[0].parameter, QStringLiteral("-r arnold"));
    EXPECT_EQ(big.apps[1].name, QString::fromLatin1(name25));
    EXPECT_EQ(big.apps[1].versionMajor, 32767);
    EXPECT_EQ(big.apps[1].executable, QString::fromLatin1(exe150));
    EXPECT_EQ(big.apps[1].parameter, QString::fromLatin1(param50));
    EXPECT_EQ(big.apps[2].name, QString::fromUtf8("\xC3\xA9t\xC3\xA9"));
    EXPECT_EQ(big.apps[2].versionMinor, QStringLiteral("1.2.3"));
    EXPECT_EQ(big.apps[2].parameter, QString());

    const kxSampleClient& small = farm.clients[1];
    EXPECT_EQ(small.memory, 1);
    EXPECT_EQ(small.cores, 1);
    EXPECT_FLOAT_EQ(small.ghz, 0.001f);
    EXPECT_EQ(small.osType, 3);
    EXPECT_EQ(small.osVersion, 0);
    EXPECT_EQ(small.threads, 1);
    EXPECT_EQ(small.preset, 255);
    EXPECT_TRUE(small.apps.isEmpty());

    // Keys left out keep the values of a client that reported nothing.
    const kxSampleClient& plain = farm.clients[2];
    EXPECT_EQ(plain.osType, 2);
    EXPECT_EQ(plain.osVersion, 61);
    EXPECT_EQ(plain.memory, 0);
    EXPECT_EQ(plain.cores, 0);
    EXPECT_EQ(plain.ghz, 0.0f);
    EXPECT_EQ(plain.threads, 1);
    EXPECT_EQ(plain.preset, 2);
}

TEST(SampleFarm, ClientValuesOutOfRangeOrTooLongForTheRecordAreRefused) {
    struct Case {
        std::string value; // the text after "[client a]\n" on line 2
        std::string expectedError;
    };
    const std::string oneApp = "A,1,0,/x;";
    std::string hundredApps;
    for (int i = 0; i < 100; ++i)
        hundredApps += oneApp;
    const Case cases[] = {
        {"memory = 0", "f.ini:2: memory must be a whole number from 1 to 2147483647, not '0'"},
        {"memory = 2147483648",
         "f.ini:2: memory must be a whole number from 1 to 2147483647, not '2147483648'"},
        {"memory = 64GB", "f.ini:2: memory must be a whole number from 1 to 2147483647, not '64GB'"},
        {"cores = 65536", "f.ini:2: cores must be a whole number from 1 to 65535, not '65536'"},
        {"cores = 0", "f.ini:2: cores must be a whole number from 1 to 65535, not '0'"},
        {"threads = 0", "f.ini:2: threads must be a whole number from 1 to 8, not '0'"},
        {"threads = 9", "f.ini:2: threads must be a whole number from 1 to 8, not '9'"},
        {"preset = 256", "f.ini:2: preset must be a whole number from 0 to 255, not '256'"},
        {"preset = -1", "f.ini:2: preset must be a whole number from 0 to 255, not '-1'"},
        {"ghz = 100.001",
         "f.ini:2: ghz must be a number from 0 to 100 with at most three decimals, not '100.001'"},
        {"ghz = 3.1415",
         "f.ini:2: ghz must be a number from 0 to 100 with at most three decimals, not '3.1415'"},
        {"ghz = 3,5", "f.ini:2: ghz must be a number from 0 to 100 with at most three decimals, not '3,5'"},
        {"ghz = -1", "f.ini:2: ghz must be a number from 0 to 100 with at most three decimals, not '-1'"},
        {"os = solaris",
         "f.ini:2: os must be windows, linux or macos with an optional version from 0 to 25.5 "
         "(\"linux 6.1\"), not 'solaris'"},
        {"os = linux 25.6", "f.ini:2: os must be windows, linux or macos with an optional version from 0 to "
                            "25.5 (\"linux 6.1\"), not 'linux 25.6'"},
        {"os = linux 6.12", "f.ini:2: os must be windows, linux or macos with an optional version from 0 to "
                            "25.5 (\"linux 6.1\"), not 'linux 6.12'"},
        {"os = Linux", "f.ini:2: os must be windows, linux or macos with an optional version from 0 to 25.5 "
                       "(\"linux 6.1\"), not 'Linux'"},
        {"apps = Maya,2024,5", "f.ini:2: render application 1: 'Maya,2024,5' is not "
                               "NAME,MAJOR,MINOR,EXECUTABLE[,PARAMETER]"},
        {"apps = A,1,0,/a; B,1,0,/b,-x,extra", "f.ini:2: render application 2: 'B,1,0,/b,-x,extra' is not "
                                               "NAME,MAJOR,MINOR,EXECUTABLE[,PARAMETER]"},
        {"apps = ,1,0,/a", "f.ini:2: render application 1: the name is empty"},
        {"apps = A,1,0, ", "f.ini:2: render application 1: the executable is empty"},
        {"apps = " + std::string(26, 'n') + ",1,0,/a", "f.ini:2: render application 1: the name '" +
                                                           std::string(26, 'n') +
                                                           "' is longer than 25 characters"},
        {"apps = A,1,0,/" + std::string(150, 'e'), "f.ini:2: render application 1: the executable '/" +
                                                       std::string(150, 'e') +
                                                       "' is longer than 150 characters"},
        {"apps = A,1,0,/a," + std::string(51, 'p'), "f.ini:2: render application 1: the parameter '" +
                                                        std::string(51, 'p') +
                                                        "' is longer than 50 characters"},
        {"apps = A,1,0,/\xE2\x82\xAC", "f.ini:2: render application 1: the executable '/\xE2\x82\xAC' is not "
                                       "Latin-1 text"},
        {"apps = A,32768,0,/a",
         "f.ini:2: render application 1: the major version must be a whole number from "
         "0 to 32767, not '32768'"},
        {"apps = A,1,5a,/a", "f.ini:2: render application 1: the minor version must be 1 to 15 digits and "
                             "dots, not '5a'"},
        {"apps = A,1,,/a", "f.ini:2: render application 1: the minor version must be 1 to 15 digits and "
                           "dots, not ''"},
        {"apps = A,1,1234567890123456,/a", "f.ini:2: render application 1: the minor version must be 1 to 15 "
                                           "digits and dots, not '1234567890123456'"},
        {"apps = " + hundredApps + oneApp,
         "f.ini:2: apps names more than the 100 render applications a client holds"},
        // A key of a job is no key of a client.
        {"status = 1", "f.ini:2: unknown client key 'status' (known: pending, memory, cores, ghz, os, "
                       "threads, preset, apps)"},
    };
    for (const Case& c : cases) {
        kxSampleFarm farm;
        QString error;
        const QByteArray text = "[client a]\n" + QByteArray::fromStdString(c.value) + "\n";
        EXPECT_FALSE(kxParseSampleFarm(text, QStringLiteral("f.ini"), farm, error)) << c.value;
        EXPECT_EQ(error.toStdString(), c.expectedError);
        EXPECT_TRUE(farm.clients.isEmpty()) << c.value;
    }
    // One hundred applications are what the record holds.
    kxSampleFarm farm;
    QString error;
    ASSERT_TRUE(kxParseSampleFarm("[client a]\napps = " + QByteArray::fromStdString(hundredApps) + "\n",
                                  QStringLiteral("f.ini"), farm, error))
        << error.toStdString();
    EXPECT_EQ(farm.clients[0].apps.size(), 100);
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
        {"[client \xFF]\n", "f%1.ini",
         "f%1.ini:1: the line is not UTF-8 text (byte 0xFF at column 9); save the file as UTF-8"},
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
