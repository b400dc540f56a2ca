// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "clients/clientrecords.h"

#include "kxinisettings.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

using namespace kxC;

namespace {

/// A cleared ordinary client named `name`, with its own settings (preset 0).
std::unique_ptr<_Client_ALL> ownClient(const char* name = "node07") {
    auto client = std::make_unique<_Client_ALL>();
    client->clearAllStruct();
    client->status.name.set(name);
    client->config.configPreset = 0;
    client->listNo = 7;
    return client;
}

void addApp(_Client_ALL& client, const char* name, const char* exe, qint16 major, const char* minor,
            const char* param = "") {
    kxRA::_ClientRenderApp& app = client.renderApps[client.usedRenderAppCount()];
    app.name.set(name);
    app.executable.set(exe);
    app.versionMajor = major;
    app.versionMinor.set(minor);
    app.parameter.set(param);
    ++client.renderAppCount;
}

/// The client configuration file in a temporary folder. What a write left is read through a copy of
/// the file opened by a second settings object, so it comes from the disk.
class ClientCfgFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path() const { return dir.filePath(QStringLiteral("clients.ini")); }

    void writeFile(const QByteArray& text) {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    /// Writes `client` into the file and gives what the file holds afterwards.
    std::unique_ptr<_iniSettings> write(_Client_ALL& client, bool forceListNo = false,
                                        bool compactApps = false, bool* written = nullptr) {
        {
            _iniSettings ini(path());
            const bool ok = client.writeClientCfg(ini, forceListNo, compactApps);
            if (written)
                *written = ok;
            EXPECT_TRUE(ini.sync());
        }
        return readBack();
    }

    std::unique_ptr<_iniSettings> readBack() {
        const QString copy = dir.filePath(QStringLiteral("readback%1.ini").arg(++copies));
        if (QFile::exists(path())) {
            EXPECT_TRUE(QFile::copy(path(), copy));
        }
        return std::make_unique<_iniSettings>(copy);
    }

    /// The value of `key` in group `group` after writing `client`.
    QString keyAfterWrite(_Client_ALL& client, const QString& key) {
        auto back = write(client);
        back->beginGroup(client.status.name.toQString());
        return back->value(key);
    }

    QTemporaryDir dir;
    int copies = 0;
};

const QString defaultCfgB = QStringLiteral("01111111100100010100000000010");
const QString defaultCfgV =
    QStringLiteral("45;0;1;75;300;25;45;3;140;25;1;1;1;1;0;0;6;9;17;1;1;1;0;20;10;0;0;0;0;0;0;0;0;15;");

} // namespace

TEST_F(ClientCfgFile, OwnSettingsWriteEveryKey) {
    auto client = ownClient();
    _ClientConfig& cfg = client->config;
    cfg.uncPreset = 3;
    cfg.configThreadCount = 2;
    cfg.threads[0].gpuMask = 1;
    cfg.threads[0].whDisable = 0;
    cfg.threads[1].gpuMask = 2;
    cfg.threads[1].jobTypes[0].set("maya");
    cfg.threads[1].jobTypeCount = 1;
    cfg.reservedFor[0].set("Anna");
    cfg.reservedFor[1].set("Bob");
    cfg.reservedForCount = 2;
    cfg.acceptInWorkingHours[0].set("Carl");
    cfg.acceptInWorkingHoursCount = 1;
    cfg.acceptInWorkingHoursKeepCase = 1;
    cfg.abortProcesses[0].set("game.exe");
    cfg.abortProcesses[5].set("vr.exe");
    cfg.abortProcessCount = 2;
    cfg.cfgB[18] = 1;
    cfg.wolFlags[1] = 1;
    cfg.gpuUser.set("lena");
    cfg.noArtistLogin.set("yes");
    _ClientHardware& hw = client->hardware;
    hw.memory = 65536;
    hw.cores = 32;
    hw.osType = 2;
    hw.is64bit = 1;
    hw.performanceScore = 450;
    hw.osVersion = 61;
    hw.cpuGhz = 3.2f;
    hw.gpuCount = 2;
    hw.gpuSlotBytes[0] = 1;
    hw.gpuSlotValues[0] = 24;
    hw.gpuSlotBytes[1] = 2;
    hw.gpuSlotValues[1] = 12;
    hw.value_480 = -0.0625f; // exactly -62.5 thousandths: halves go away from zero
    hw.value_12 = 7;
    hw.value_484 = -5;
    hw.customClientInfo.set(QStringLiteral("rack 3; row \u00e9"));
    hw.location[1].set("Berlin");
    hw.wolText1.set("00:11:22:33:44:55");
    hw.wolText2.set("10.0.0.255");
    addApp(*client, "maya", "/opt/maya/bin/maya", 2024, "2.300", "-r redshift");

    auto back = write(*client);
    EXPECT_EQ(back->childGroups(), QStringList({QStringLiteral("node07")}));
    back->beginGroup(QStringLiteral("node07"));
    const struct {
        const char* key;
        QString value;
    } expected[] = {
        {"listNo", QStringLiteral("7")},
        {"CPreset", QStringLiteral("0")},
        {"UNCP", QStringLiteral("3")},
        {"Thr", QStringLiteral("2:10;21")},
        {"JobsB", QStringLiteral("maya")},
        {"cfgB", defaultCfgB},
        {"cfgV", defaultCfgV},
        {"WOL", QStringLiteral("00:11:22:33:44:55;10.0.0.255;101000")},
        {"Reserved", QStringLiteral("anna; bob")},
        {"AcceptWH", QStringLiteral("Carl")},
        {"AbortProcess00", QStringLiteral("game.exe")},
        {"AbortProcess05", QStringLiteral("vr.exe")},
        {"GPUUser", QStringLiteral("lena")},
        {"NoArtistLogin", QStringLiteral("yes")},
        {"Hardware",
         QStringLiteral("65536;32;2;1;450;61;3200;2;1-24;2-12;0-0;0-0;0-0;0-0;0-0;0-0;d;-63;7;-5;")},
        {"customClientInfo", QStringLiteral("rack 3; row \u00e9")},
        {"Location", QStringLiteral(";Berlin")},
    };
    QStringList keys;
    for (const auto& e : expected) {
        EXPECT_EQ(back->value(QLatin1String(e.key)), e.value) << e.key;
        keys << QLatin1String(e.key);
    }
    keys.sort();
    QStringList written = back->childKeys();
    written.sort();
    EXPECT_EQ(written, keys); // and nothing else: default job types, empty slots and texts are left out
    EXPECT_EQ(back->childGroups(), QStringList({QStringLiteral("app00")}));
    back->beginGroup(QStringLiteral("app00"));
    EXPECT_EQ(back->value(QStringLiteral("Name")), QStringLiteral("maya_-2024_-23_-_-_-64"));
    EXPECT_EQ(back->value(QStringLiteral("Exe")), QStringLiteral("/opt/maya/bin/maya"));
    EXPECT_EQ(back->value(QStringLiteral("Param")), QStringLiteral("-r redshift"));
    EXPECT_EQ(back->childKeys().size(), 3);

    // What the writer changed in the record.
    EXPECT_EQ(cfg.cfgB[18], 0);
    EXPECT_EQ(cfg.abortProcessCount, 10);
}

TEST_F(ClientCfgFile, PresetClientRemovesItsOwnSettings) {
    writeFile(
        "[node07]\ncfgB=1\ncfgV=1;\nReserved=x\nAcceptWH=y\nAbortProcess03=z\nGPUUser=u\nNoArtistLogin=n\n"
        "WOLSchedule=1\nWorkingHours=2\nReserved04=r\nAcceptWH09=a\ncfg.acceptThreadJobsA=1\n"
        "cfg.acceptThreadJobsF=1\nJobsC=old\nExecutable=e\n"
        "[node08]\ncfgB=1\n");
    auto client = ownClient();
    client->config.configPreset = 2;
    client->hardware.wolText1.set("aa");
    auto back = write(*client);
    back->beginGroup(QStringLiteral("node07"));
    QStringList keys = back->childKeys();
    keys.sort();
    EXPECT_EQ(keys, QStringList({"CPreset", "Executable", "Hardware", "Thr", "UNCP", "WOL", "listNo"}));
    EXPECT_EQ(back->value(QStringLiteral("CPreset")), QStringLiteral("2"));
    EXPECT_EQ(back->value(QStringLiteral("WOL")), QStringLiteral("aa;;1")); // a single flag
    back->endGroup(false);
    back->beginGroup(QStringLiteral("node08"));
    EXPECT_EQ(back->value(QStringLiteral("cfgB")), QStringLiteral("1")); // other clients stay
}

TEST_F(ClientCfgFile, ThreadCodes) {
    struct Case {
        int threads;
        qint16 masks[8];
        quint8 whDisable[8];
        const char* thr;
    } cases[] = {
        {1, {-1}, {1}, "655351"}, // a cleared client
        {2, {3, 255}, {0, 1}, "2:30"},
        {1, {255}, {0}, "2550"},
        {1, {255}, {1}, ""},
        {3, {4, 255, 4}, {1, 1, 0}, "3:41;;40"},
        {2, {-2, 0}, {0, 0}, "2:655340;0"},
        {8, {1, 2, 3, 4, 5, 6, 7, 8}, {0, 0, 0, 0, 0, 0, 0, 1}, "8:10;20;30;40;50;60;70;81"},
        {12, {1, 2, 3, 4, 5, 6, 7, 8}, {1, 1, 1, 1, 1, 1, 1, 1}, "8:11;21;31;41;51;61;71;81"}, // repaired
    };
    for (const Case& c : cases) {
        auto client = ownClient();
        client->config.configThreadCount = quint8(c.threads);
        for (int t = 0; t < 8 && t < c.threads; ++t) {
            client->config.threads[t].gpuMask = c.masks[t];
            client->config.threads[t].whDisable = c.whDisable[t];
        }
        EXPECT_EQ(keyAfterWrite(*client, QStringLiteral("Thr")), QLatin1String(c.thr)) << c.thr;
    }
}

TEST_F(ClientCfgFile, ThreadsBeyondTheCountAreReset) {
    auto client = ownClient();
    client->config.configThreadCount = 2;
    for (auto& t : client->config.threads) {
        t.gpuMask = 5;
        t.whDisable = 0;
        t.jobTypes[0].set("houdini");
        t.jobTypeCount = 1;
    }
    auto back = write(*client);
    EXPECT_EQ(client->config.threads[1].gpuMask, 5);
    for (int t = 2; t < 8; ++t) {
        EXPECT_EQ(client->config.threads[t].gpuMask, -1) << t;
        EXPECT_EQ(client->config.threads[t].jobTypeCount,
                  _ClientConfig_threadSettings::getDefaultJobThreadApps(t).size())
            << t;
    }
    back->beginGroup(QStringLiteral("node07"));
    EXPECT_EQ(back->value(QStringLiteral("JobsB")), QStringLiteral("houdini"));
    EXPECT_TRUE(back->value(QStringLiteral("JobsC")).isNull());
}

TEST_F(ClientCfgFile, JobTypes) {
    struct Case {
        int thread;
        int count;
        const char* types[3];
        quint8 keepCase;
        const char* expected; // nullptr: the key is removed
    } cases[] = {
        {1, 2, {"comp", "archive"}, 0, nullptr},     // the defaults
        {1, 2, {"archive", "comp"}, 0, nullptr},     // in another order
        {1, 3, {"archive", "", "comp"}, 0, nullptr}, // with an empty entry
        {1, 3, {"archive", "comp", "comp"}, 0, nullptr},
        {1, 1, {"comp"}, 0, "comp"},
        {1, 0, {"maya"}, 0, nullptr},                  // no job types
        {1, -4, {"maya"}, 0, ""},                      // a negative count: an empty list
        {2, 3, {"Maya", "", "Nuke"}, 0, "maya; nuke"}, // lower-cased unless kept
        {2, 2, {"Maya", "Nuke"}, 1, "Maya; Nuke"},
        {2, 2, {"Comp", "Archive"}, 1, "Comp; Archive"}, // kept case differs from the defaults
        {5, 1, {"gpuonly"}, 0, nullptr},
        {7, 1, {"comp"}, 0, "comp"},
        {0, 3, {"3d", "execute", "comp"}, 0, "3d; execute; comp"},
    };
    const char* letters = "ABCDEFGH";
    for (const Case& c : cases) {
        auto client = ownClient();
        client->config.configThreadCount = 8;
        _ClientConfig_threadSettings& thread = client->config.threads[c.thread];
        for (int i = 0; i < 3; ++i)
            thread.jobTypes[i].set(c.types[i] ? c.types[i] : "");
        thread.jobTypeCount = c.count;
        thread.jobTypesKeepCase = c.keepCase;
        const QString key = QStringLiteral("Jobs") + QLatin1Char(letters[c.thread]);
        const QString value = keyAfterWrite(*client, key);
        if (c.expected)
            EXPECT_EQ(value, QLatin1String(c.expected)) << c.thread << " " << c.count;
        else
            EXPECT_TRUE(value.isNull()) << c.thread << " " << c.count << " " << value.toStdString();
    }

    // A stored count beyond the capacity reads the ten entries.
    auto client = ownClient();
    client->config.configThreadCount = 2;
    for (auto& type : client->config.threads[1].jobTypes)
        type.set("maya");
    client->config.threads[1].jobTypes[9].set("nuke");
    client->config.threads[1].jobTypeCount = 30000;
    EXPECT_EQ(keyAfterWrite(*client, QStringLiteral("JobsB")),
              QStringLiteral("maya; maya; maya; maya; maya; maya; maya; maya; maya; nuke"));
}

TEST_F(ClientCfgFile, OptionsValuesAndNameListsWithCountsFromElsewhere) {
    auto client = ownClient();
    client->config.cfgBCount = 500;
    client->config.cfgVCount = 41;
    client->config.reservedForCount = -3;
    client->config.reservedFor[0].set("anna");
    client->config.acceptInWorkingHoursCount = 0;
    client->config.acceptInWorkingHours[0].set("carl");
    auto back = write(*client);
    back->beginGroup(QStringLiteral("node07"));
    EXPECT_EQ(back->value(QStringLiteral("cfgB")).size(), 40);
    EXPECT_EQ(back->value(QStringLiteral("cfgV")).count(QLatin1Char(';')), 40);
    EXPECT_EQ(back->value(QStringLiteral("Reserved")), QStringLiteral(""));
    EXPECT_TRUE(back->value(QStringLiteral("AcceptWH")).isNull()); // count 0: removed
    back->endGroup(false);

    client->config.cfgBCount = -1;
    client->config.cfgVCount = -1;
    client->config.reservedForCount = 11;
    back = write(*client);
    back->beginGroup(QStringLiteral("node07"));
    EXPECT_EQ(back->value(QStringLiteral("cfgB")), QStringLiteral(""));
    EXPECT_EQ(back->value(QStringLiteral("cfgV")), QStringLiteral(""));
    EXPECT_EQ(back->value(QStringLiteral("Reserved")), QStringLiteral("anna"));
}

TEST_F(ClientCfgFile, AbortProcessSlots) {
    writeFile("[node07]\nAbortProcess02=old\nAbortProcess09=old\n");
    auto client = ownClient();
    client->config.abortProcesses[9].set("late.exe");
    client->config.abortProcessCount = 0; // the slots decide, not the count
    auto back = write(*client);
    back->beginGroup(QStringLiteral("node07"));
    EXPECT_TRUE(back->value(QStringLiteral("AbortProcess02")).isNull());
    EXPECT_EQ(back->value(QStringLiteral("AbortProcess09")), QStringLiteral("late.exe"));
    EXPECT_EQ(client->config.abortProcessCount, 10);
}

TEST_F(ClientCfgFile, HardwareNumbers) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float cpuGhz;
        float endValue;
        const char* cpuText;
        const char* endText;
    } cases[] = {
        {2.5f, 0.0625f, "2500", "63"},
        {0.0f, -0.0625f, "0", "-63"},
        {-1.0f, 1.0f, "0", "1000"}, // a negative speed is repaired to 0
        {nan, nan, "0", "0"},
        {inf, -inf, "2147483647", "-2147483648"},
        {3.0e6f, -3.0e6f, "2147483647", "-2147483648"}, // beyond 32 bits
        {2147483.5f, -2147483.5f, "2147483500", "-2147483500"},
        {2147484.0f, -2147484.0f, "2147483647", "-2147483648"},
    };
    for (const Case& c : cases) {
        auto client = ownClient();
        client->hardware.cpuGhz = c.cpuGhz;
        client->hardware.value_480 = c.endValue;
        const QStringList fields = keyAfterWrite(*client, QStringLiteral("Hardware")).split(QLatin1Char(';'));
        ASSERT_EQ(fields.size(), 21); // 20 fields, each ending with ";"
        EXPECT_EQ(fields[6], QLatin1String(c.cpuText)) << c.cpuGhz;
        EXPECT_EQ(fields[17], QLatin1String(c.endText)) << c.endValue;
    }
}

TEST_F(ClientCfgFile, GpuSlots) {
    struct Case {
        int slot; // -1: none used
        quint8 byte;
        quint16 value;
        int slotsWritten;
    } cases[] = {
        {-1, 0, 0, 8}, {3, 1, 0, 8}, {8, 0, 1, 9}, {10, 0, 8192, 11}, {10, 4, 0, 11}, {11, 255, 65535, 12},
    };
    for (const Case& c : cases) {
        auto client = ownClient();
        if (c.slot >= 0) {
            client->hardware.gpuSlotBytes[c.slot] = c.byte;
            client->hardware.gpuSlotValues[c.slot] = c.value;
        }
        const QString hw = keyAfterWrite(*client, QStringLiteral("Hardware"));
        const QStringList fields = hw.split(QLatin1Char(';'));
        ASSERT_EQ(fields.size(), 13 + c.slotsWritten) << hw.toStdString();
        EXPECT_EQ(fields[8 + c.slotsWritten], QStringLiteral("d"));
        if (c.slot >= 0) {
            EXPECT_EQ(fields[8 + c.slot], QStringLiteral("%1-%2").arg(c.byte).arg(c.value));
        }
    }
    auto client = ownClient();
    client->hardware.gpuSlotValues[10] = 16;
    EXPECT_EQ(keyAfterWrite(*client, QStringLiteral("Hardware")),
              QStringLiteral("1;1;0;0;1;0;0;-1;0-0;0-0;0-0;0-0;0-0;0-0;0-0;0-0;0-0;0-0;0-16;d;0;0;0;"));
}

TEST_F(ClientCfgFile, GroupChoice) {
    writeFile("[NODE07]\nlistNo=3\nCPreset=1\n[aws-east]\nlistNo=10001\n");
    struct Case {
        const char* name;
        qint8 cloudIndex;
        const char* group; // nullptr: nothing written
    } cases[] = {
        {"node07", -1, "NODE07"}, // the spelling the file has
        {"Node07", -1, "NODE07"},
        {"render-a-1", -1, "render-a-1"}, // an ordinary client keeps its whole name
        {"render-a-1", 2, "render-a"},    // a cloud connector: the part before the last "-"
        {"AWS-EAST-7", 0, "aws-east"},
        {"gcp", 1, "gcp"},
        {"-x", 3, nullptr}, // empty: the keys would land in the general section
        {"", -1, nullptr},
        {"a/b", -1, nullptr}, // a group below another one
        {"a\\b", -1, nullptr},
        {"a/b-1", 0, nullptr},
    };
    for (const Case& c : cases) {
        auto client = ownClient(c.name);
        client->status.cloudConnectorIndex = c.cloudIndex;
        auto before = std::make_unique<_Client_ALL>(*client);
        const QStringList groupsBefore = readBack()->childGroups();
        bool written = false;
        auto back = write(*client, false, false, &written);
        if (!c.group) {
            EXPECT_FALSE(written) << c.name;
            EXPECT_EQ(back->childGroups(), groupsBefore) << c.name;
            EXPECT_TRUE(back->childKeys().isEmpty()) << c.name;
            EXPECT_EQ(std::memcmp(before.get(), client.get(), sizeof(_Client_ALL)), 0) << c.name;
            continue;
        }
        EXPECT_TRUE(written) << c.name;
        EXPECT_TRUE(back->childGroups().contains(QLatin1String(c.group))) << c.name;
        back->beginGroup(QLatin1String(c.group));
        EXPECT_EQ(back->value(QStringLiteral("CPreset")), QStringLiteral("0")) << c.name;
        back->endGroup(false);
    }
    auto back = readBack();
    QStringList groups = back->childGroups();
    groups.sort();
    EXPECT_EQ(groups, QStringList({"NODE07", "aws-east", "gcp", "render-a", "render-a-1"}));
    back->beginGroup(QStringLiteral("NODE07"));
    EXPECT_EQ(back->value(QStringLiteral("listNo")), QStringLiteral("3")); // kept unless forced
}

TEST_F(ClientCfgFile, ListNumberWrittenWhenMissingOrForced) {
    auto client = ownClient();
    EXPECT_EQ(keyAfterWrite(*client, QStringLiteral("listNo")), QStringLiteral("7"));
    client->listNo = 8;
    EXPECT_EQ(keyAfterWrite(*client, QStringLiteral("listNo")), QStringLiteral("7"));
    write(*client, true);
    auto back = readBack();
    back->beginGroup(QStringLiteral("node07"));
    EXPECT_EQ(back->value(QStringLiteral("listNo")), QStringLiteral("8"));
}

TEST_F(ClientCfgFile, CloudConnectorRecordChanges) {
    auto client = ownClient("aws-1");
    client->status.cloudConnectorIndex = 0;
    client->hardware.wolText2.set("w2");
    ASSERT_EQ(client->hardware.flag_18, 1);
    auto back = write(*client);
    EXPECT_EQ(client->hardware.isCloudVM, 1);
    EXPECT_EQ(client->hardware.flag_18, 0);
    back->beginGroup(QStringLiteral("aws"));
    EXPECT_EQ(back->value(QStringLiteral("WOL")), QStringLiteral(";w2;000000"));
    EXPECT_TRUE(back->value(QStringLiteral("Hardware")).contains(QStringLiteral(";c;")));
}

TEST_F(ClientCfgFile, RenderApplications) {
    writeFile("[node07]\napp00\\Executable=old\napp00\\Parameter=old\napp00\\Param=old\napp01\\AE=old\n"
              "app02\\Name=old\napp99\\Name=old\nrenderapp00\\Name=old\nrenderapp42\\Exe=old\n"
              // Plain keys of the numbered names go too; names that only resemble them stay.
              "app50=old\nrenderapp07=old\napp5=keep\nappx1=keep\nrenderapp100=keep\nApp05\\Name=keep\n");
    struct Case {
        const char* minor;
        qint16 major;
        const char* version;
        const char* majorAligned;
    } versions[] = {
        {"2.300", 2024, "23", "2024"},
        {"00000", 5, "0", "   5"},
        {"1.050", 12, "105", "  12"},
    };
    for (bool compact : {false, true}) {
        auto client = ownClient();
        for (const Case& v : versions)
            addApp(*client, "maya", "/opt/maya/bin/maya", v.major, v.minor);
        client->renderApps[1].parameter.set("-x");
        auto back = write(*client, false, compact);
        back->beginGroup(QStringLiteral("node07"));
        EXPECT_EQ(back->childGroups(), QStringList({"App05", "app00", "app01", "app02"}));
        const QStringList plainKeys = back->childKeys();
        for (const char* gone : {"app50", "renderapp07"})
            EXPECT_FALSE(plainKeys.contains(QLatin1String(gone))) << gone << compact;
        for (const char* kept : {"app5", "appx1", "renderapp100"})
            EXPECT_TRUE(plainKeys.contains(QLatin1String(kept))) << kept << compact;
        for (int i = 0; i < 3; ++i) {
            const Case& v = versions[i];
            back->beginGroup(QStringLiteral("app0%1").arg(i));
            QStringList keys = back->childKeys();
            keys.sort();
            QStringList expectedKeys = compact ? QStringList({"AE"}) : QStringList({"Exe", "Name"});
            if (i == 1)
                expectedKeys << QStringLiteral("Param");
            if (i == 1 && !compact)
                expectedKeys << QStringLiteral("AE"); // the plain form leaves a short one of before
            expectedKeys.sort();
            EXPECT_EQ(keys, expectedKeys) << compact << i;
            if (compact) {
                EXPECT_EQ(back->value(QStringLiteral("AE")),
                          QStringLiteral("maya~~%1~~%2~~/opt/maya/bin/maya")
                              .arg(QLatin1String(v.majorAligned),
                                   QString(QLatin1String(v.version)).rightJustified(4)));
            } else {
                EXPECT_EQ(back->value(QStringLiteral("Name")),
                          QStringLiteral("maya_-%1_-%2_-_-_-64").arg(v.major).arg(QLatin1String(v.version)));
                EXPECT_EQ(back->value(QStringLiteral("Exe")), QStringLiteral("/opt/maya/bin/maya"));
            }
            back->endGroup(false);
        }
    }
}

TEST_F(ClientCfgFile, ApplicationCountsFromElsewhere) {
    for (qint16 count : {qint16(-5), qint16(100), qint16(30000)}) {
        auto client = ownClient();
        for (int i = 0; i < 100; ++i) {
            client->renderApps[i].name.set("nuke");
            client->renderApps[i].executable.set("/opt/nuke");
        }
        client->renderAppCount = count;
        {
            _iniSettings ini(path());
            ini.beginGroup(QStringLiteral("node07"));
            client->writeClientCfg_renderapps(ini, false);
            ini.endGroup(false);
            ASSERT_TRUE(ini.sync());
        }
        auto back = readBack();
        back->beginGroup(QStringLiteral("node07"));
        EXPECT_EQ(back->childGroups().size(), count < 0 ? 0 : 100) << count;
    }
}

TEST_F(ClientCfgFile, ExecutablesGoThroughTheCommonDataReduction) {
    _iniSettings ini(path());
    for (const char* name : {"node01", "node02", "node03"}) {
        auto client = ownClient(name);
        addApp(*client, "maya", "/opt/maya/bin/maya", 2024, "2.300");
        addApp(*client, "nuke", "/opt/nuke/Nuke14", 14, "0.500");
        ASSERT_TRUE(client->writeClientCfg(ini, false, false));
    }
    EXPECT_EQ(ini.commonDataReduction().count(), 2); // each executable held once
    auto client = ownClient("node04");
    addApp(*client, "maya", "/opt/maya/bin/maya", 2024, "2.300");
    ASSERT_TRUE(client->writeClientCfg(ini, false, true));
    EXPECT_EQ(ini.commonDataReduction().count(), 3); // the compact form's text after the name
    ini.beginGroup(QStringLiteral("node04/app00"));
    EXPECT_EQ(ini.value(QStringLiteral("AE")), QStringLiteral("maya~~2024~~  23~~/opt/maya/bin/maya"));
}
