// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxinisettings.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

/// A settings file in a temporary folder, and a way to read what reached the disk: the file is copied
/// and opened by a second object, so nothing can come from the first object's memory.
class IniFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const QString& name = QStringLiteral("clients.ini")) const { return dir.filePath(name); }

    std::unique_ptr<_iniSettings> readBack(const QString& name = QStringLiteral("clients.ini")) {
        const QString copy = dir.filePath(QStringLiteral("readback%1.ini").arg(++copies));
        EXPECT_TRUE(QFile::copy(path(name), copy));
        return std::make_unique<_iniSettings>(copy);
    }

    QByteArray fileText(const QString& name = QStringLiteral("clients.ini")) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    int copies = 0;
};

} // namespace

TEST_F(IniFile, ValuesReadBackFromTheFile) {
    {
        _iniSettings ini(path());
        EXPECT_TRUE(ini.value(QStringLiteral("missing")).isNull());
        ini.beginGroup(QStringLiteral("anna"));
        ini.setValue(QStringLiteral("empty"), QString());
        ini.setValue(QStringLiteral("Thr"), QStringLiteral("2:30"));
        ini.setValue(QStringLiteral("Reserved"), QStringLiteral("bob; carl"));
        ini.setValue(QStringLiteral("Hardware"), QStringLiteral("1;2,3;"));
        EXPECT_EQ(ini.group(), QStringLiteral("anna"));
        ini.endGroup(false);
        EXPECT_TRUE(ini.sync());
    }
    auto back = readBack();
    back->beginGroup(QStringLiteral("anna"));
    EXPECT_EQ(back->value(QStringLiteral("Thr")), QStringLiteral("2:30"));
    EXPECT_EQ(back->value(QStringLiteral("Reserved")), QStringLiteral("bob; carl"));
    EXPECT_EQ(back->value(QStringLiteral("Hardware")), QStringLiteral("1;2,3;"));
    // A key that is there with an empty value is not a missing key.
    EXPECT_FALSE(back->value(QStringLiteral("empty")).isNull());
    EXPECT_TRUE(back->value(QStringLiteral("empty")).isEmpty());
    EXPECT_TRUE(back->value(QStringLiteral("missing")).isNull());
}

TEST_F(IniFile, NoTextOpensAKeyOrGroupOfItsOwn) {
    const QString tricky[] = {
        QStringLiteral("a\nevil=1"),
        QStringLiteral("x\n[evil]\ny=2"),
        QStringLiteral("; comment"),
        QStringLiteral("=value"),
        QStringLiteral("  padded  "),
        QStringLiteral("@Variant(x)"),
        QStringLiteral("caf\u00e9 \u65e5\u672c"),
    };
    {
        _iniSettings ini(path());
        for (int i = 0; i < int(std::size(tricky)); ++i) {
            ini.beginGroup(tricky[i] + QStringLiteral(" group"));
            ini.setValue(QStringLiteral("v"), tricky[i]);
            ini.endGroup(false);
        }
        ASSERT_TRUE(ini.sync());
    }
    auto back = readBack();
    EXPECT_EQ(back->childGroups().size(), qsizetype(std::size(tricky)));
    EXPECT_EQ(back->allKeys().size(), qsizetype(std::size(tricky)));
    for (const QString& text : tricky) {
        back->beginGroup(text + QStringLiteral(" group"));
        EXPECT_EQ(back->value(QStringLiteral("v")), text);
        back->endGroup(false);
    }
}

TEST_F(IniFile, HandEditedListIsJoinedBack) {
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[anna]\nLocation=Berlin, floor 2\ncustomClientInfo=\"a, b\"\n");
    f.close();
    _iniSettings ini(path());
    ini.beginGroup(QStringLiteral("anna"));
    EXPECT_EQ(ini.value(QStringLiteral("Location")), QStringLiteral("Berlin, floor 2"));
    EXPECT_EQ(ini.value(QStringLiteral("customClientInfo")), QStringLiteral("a, b"));
}

TEST_F(IniFile, RemoveTakesKeysAndSubGroups) {
    {
        _iniSettings ini(path());
        ini.beginGroup(QStringLiteral("anna"));
        ini.setValue(QStringLiteral("app00/Name"), QStringLiteral("maya"));
        ini.setValue(QStringLiteral("app00/Exe"), QStringLiteral("/bin/maya"));
        ini.setValue(QStringLiteral("app01/Name"), QStringLiteral("nuke"));
        ini.setValue(QStringLiteral("Thr"), QStringLiteral("1"));
        ini.remove(QStringLiteral("app00"));
        ini.remove(QStringLiteral("absent"));
        EXPECT_EQ(ini.childGroups(), QStringList({QStringLiteral("app01")}));
        ini.remove(QStringLiteral("Thr"));
        EXPECT_FALSE(ini.contains(QStringLiteral("Thr")));
        ini.endGroup(true); // written now
        auto back = readBack();
        EXPECT_EQ(back->allKeys(), QStringList({QStringLiteral("anna/app01/Name")}));
    }
}

TEST_F(IniFile, FindNameSpellingGivesTheFilesSpelling) {
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Render-Node07]\nThr=1\n[cloud]\napp00\\Name=x\n");
    }
    _iniSettings ini(path());
    EXPECT_EQ(ini.findNameSpelling(QStringLiteral("render-node07")), QStringLiteral("Render-Node07"));
    EXPECT_EQ(ini.findNameSpelling(QStringLiteral("RENDER-NODE07")), QStringLiteral("Render-Node07"));
    EXPECT_EQ(ini.findNameSpelling(QStringLiteral("new-Node")), QStringLiteral("new-Node"));
    EXPECT_EQ(ini.findNameSpelling(QStringLiteral("Cloud")), QStringLiteral("cloud"));

    // A group written since is found in the spelling it was written with.
    ini.beginGroup(QStringLiteral("new-Node"));
    ini.setValue(QStringLiteral("Thr"), QStringLiteral("1"));
    ini.endGroup(false);
    EXPECT_EQ(ini.findNameSpelling(QStringLiteral("NEW-NODE")), QStringLiteral("new-Node"));

    // Once a group is gone, another spelling of the name that is in the file wins.
    ini.beginGroup(QStringLiteral("RENDER-NODE07"));
    ini.setValue(QStringLiteral("Thr"), QStringLiteral("2"));
    ini.endGroup(false);
    ini.remove(QStringLiteral("Render-Node07"));
    EXPECT_EQ(ini.findNameSpelling(QStringLiteral("render-node07")), QStringLiteral("RENDER-NODE07"));
    ini.remove(QStringLiteral("RENDER-NODE07"));
    EXPECT_EQ(ini.findNameSpelling(QStringLiteral("render-node07")), QStringLiteral("render-node07"));

    // Inside a group the sub-groups are searched.
    ini.beginGroup(QStringLiteral("cloud"));
    EXPECT_EQ(ini.findNameSpelling(QStringLiteral("APP00")), QStringLiteral("app00"));
    EXPECT_EQ(ini.findNameSpelling(QStringLiteral("app01")), QStringLiteral("app01"));
    ini.endGroup(false);
}

TEST(CommonDataReduction, EqualTextsShareOneBufferAndStayWhole) {
    _commonDataReduction reduction;
    QString first = QStringLiteral("/opt/autodesk/maya2024/bin/maya");
    QString second = QStringLiteral("/opt/autodesk/maya") + QStringLiteral("2024/bin/maya");
    EXPECT_NE(first.constData(), second.constData());
    EXPECT_FALSE(reduction.addnReplaceData(first));
    EXPECT_TRUE(reduction.addnReplaceData(second));
    EXPECT_EQ(second, QStringLiteral("/opt/autodesk/maya2024/bin/maya"));
    EXPECT_EQ(first.constData(), second.constData());
    QString other = QStringLiteral("/usr/bin/nuke");
    EXPECT_FALSE(reduction.addnReplaceData(other));
    EXPECT_EQ(other, QStringLiteral("/usr/bin/nuke"));
    EXPECT_EQ(reduction.count(), 2);

    // Past its capacity it holds no more texts, and every text still passes unchanged.
    for (int i = reduction.count(); i < _commonDataReduction::capacity + 10; ++i) {
        QString t = QString::number(i);
        reduction.addnReplaceData(t);
        ASSERT_EQ(t, QString::number(i));
    }
    EXPECT_EQ(reduction.count(), _commonDataReduction::capacity);
    reduction.clear();
    EXPECT_EQ(reduction.count(), 0);
}
