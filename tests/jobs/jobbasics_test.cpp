// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobs/jobconstants.h"
#include "jobs/jobid.h"
#include "jobs/jobrecords.h"

#include "kxhash.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>

using namespace kxJ;

// Record members sit on packed boundaries: tests compare copies of them, never references to them.
template <typename T>
T copyOf(T v) {
    return v;
}

namespace {

struct BasicsFixture : ::testing::Test {
    std::unique_ptr<_JobBasics> job = std::make_unique<_JobBasics>();

    int be16(int at) const { return (job->customData[at] << 8) | job->customData[at + 1]; }
};

_kxString<500> text500(const QString& s) {
    return _kxString<500>(s);
}
_kxString<25> text25(const QString& s) {
    return _kxString<25>(s);
}

} // namespace

// ---- wait-for list and command password ------------------------------------------------------------

using JobBasicsWaitFor = BasicsFixture;

TEST_F(JobBasicsWaitFor, AddStopsAt29AndSetClampsTheIndex) {
    for (int i = 0; i < 40; ++i)
        job->addWaitForPreID(quint8(i + 1));
    EXPECT_EQ(job->waitForPreIDCount, 29);
    EXPECT_EQ(job->waitForPreID[28], 29);

    job->setWaitForPreID(40, 77);
    EXPECT_EQ(job->waitForPreIDCount, 30);
    EXPECT_EQ(job->waitForPreID[29], 77);

    job->setWaitForPreID(-5, 9);
    EXPECT_EQ(job->waitForPreIDCount, 1);
    EXPECT_EQ(job->waitForPreID[0], 9);

    job->setWaitForPreID(3, 4);
    job->addWaitForPreID(5);
    EXPECT_EQ(job->waitForPreIDCount, 5);
    EXPECT_EQ(job->waitForPreID[4], 5);
}

TEST_F(JobBasicsWaitFor, CountFromElsewhereIsHeldToCapacity) {
    job->waitForPreIDCount = 250;
    EXPECT_EQ(job->waitForPreIDCountClamped(), 30);
    job->addWaitForPreID(1); // a full list takes nothing more, and nothing is written past it
    EXPECT_EQ(job->waitForPreIDCount, 250);
}

TEST_F(JobBasicsWaitFor, CommandPasswordOnlyMatchesItsOwnHash) {
    _passHash anyHash;
    anyHash.set("0123456789abcdef");
    EXPECT_TRUE(job->isRightCommandPW(anyHash)) << "a job without password lets every command pass";

    job->setCommandPassword(_kxString8_allSize<40>("secret"));
    EXPECT_EQ(job->commandPasswordHash.toByteArray().toHex(), QByteArray("0aefdfcfe8a062450c6fd5f3037a4a19"))
        << "the BLAKE2s-128 digest of the password's bytes";

    quint8 bytes[16];
    kxCRC_ARG2_16B_fast("secret", 6, bytes);
    _passHash right;
    right.set(reinterpret_cast<const char*>(bytes), 16);
    EXPECT_TRUE(job->isRightCommandPW(right));
    EXPECT_FALSE(job->isRightCommandPW(anyHash));
    EXPECT_FALSE(job->isRightCommandPW(_passHash())) << "an empty hash is no password";

    kxCRC_ARG2_16B_fast("Secret", 6, bytes);
    _passHash otherCase;
    otherCase.set(reinterpret_cast<const char*>(bytes), 16);
    EXPECT_FALSE(job->isRightCommandPW(otherCase));

    // A hash wrong in one byte only fails wherever that byte is, the last one included; so does the
    // right hash cut by a byte.
    for (int at : {0, 7, 15}) {
        _passHash oneByteOff = right;
        oneByteOff.text[at] = char(oneByteOff.text[at] ^ 0x01);
        EXPECT_FALSE(job->isRightCommandPW(oneByteOff)) << at;
    }
    _passHash shorter = right;
    shorter.setLength(15);
    EXPECT_FALSE(job->isRightCommandPW(shorter));

    job->kxClearBasics();
    EXPECT_TRUE(job->commandPasswordHash.isEmpty());
}

// ---- channel table ---------------------------------------------------------------------------------

using JobBasicsChannels = BasicsFixture;

TEST_F(JobBasicsChannels, AddRefusesEmptyNamesFullTableAndFullBuffer) {
    job->channelAdd(text500(QString()), text25(QStringLiteral(".exr")));
    EXPECT_EQ(job->channelCount, 0);
    job->channelAdd(text500(QStringLiteral("/img/diffuse.")), text25(QString()));
    ASSERT_EQ(job->channelCount, 1);
    EXPECT_EQ(job->channelFileName(0).toQString(), QStringLiteral("/img/diffuse."));
    EXPECT_TRUE(job->channelExtension(0).isEmpty());

    job->channelClear();
    for (int i = 0; i < 101; ++i)
        job->channelAdd(text500(QStringLiteral("c%1").arg(i)), text25(QStringLiteral(".x")));
    EXPECT_EQ(job->channelCount, 100);
    EXPECT_EQ(job->channelFileName(99).toQString(), QStringLiteral("c99"));
    EXPECT_TRUE(job->channelFileName(100).isEmpty());

    job->channelClear();
    const QString longName(500, QLatin1Char('n'));
    const QString longExt(25, QLatin1Char('e'));
    for (int i = 0; i < 16; ++i)
        job->channelAdd(text500(longName), text25(longExt));
    EXPECT_EQ(job->channelCount, 15) << "15 x 525 units fit in 7999, a 16th does not";
    EXPECT_EQ(job->channelBufferUsed, 15 * 525);
    job->channelAdd(text500(QString(124, QLatin1Char('s'))), text25(QString()));
    EXPECT_EQ(job->channelBufferUsed, 7999);
    job->channelAdd(text500(QStringLiteral("x")), text25(QString()));
    EXPECT_EQ(job->channelCount, 16);
}

TEST_F(JobBasicsChannels, GrowingAndShrinkingMovesLaterChannels) {
    job->channelAdd(text500(QStringLiteral("beauty.")), text25(QStringLiteral(".exr")));
    job->channelAdd(text500(QStringLiteral("diffuse.")), text25(QStringLiteral(".tif")));
    job->channelAdd(text500(QStringLiteral("gloss.")), text25(QStringLiteral(".png")));
    const int start1 = job->channelStart[1];
    const int start2 = job->channelStart[2];
    const int used = job->channelBufferUsed;

    job->channelSetExtension(0, text25(QStringLiteral(".exr.gz")));
    EXPECT_EQ(job->channelStart[1], start1 + 3);
    EXPECT_EQ(job->channelStart[2], start2 + 3);
    EXPECT_EQ(job->channelBufferUsed, used + 3);
    EXPECT_EQ(job->channelExtension(0).toQString(), QStringLiteral(".exr.gz"));
    EXPECT_EQ(job->channelFileName(1).toQString(), QStringLiteral("diffuse."));
    EXPECT_EQ(job->channelExtension(1).toQString(), QStringLiteral(".tif"));
    EXPECT_EQ(job->channelFileName(2).toQString(), QStringLiteral("gloss."));
    EXPECT_EQ(job->channelExtension(2).toQString(), QStringLiteral(".png"));

    job->channelSetFileName(1, text500(QStringLiteral("d.")));
    EXPECT_EQ(job->channelStart[2], start2 + 3 - 6);
    EXPECT_EQ(job->channelFileName(1).toQString(), QStringLiteral("d."));
    EXPECT_EQ(job->channelExtension(1).toQString(), QStringLiteral(".tif"));
    EXPECT_EQ(job->channelFileName(2).toQString(), QStringLiteral("gloss."));
    EXPECT_EQ(job->channelExtension(2).toQString(), QStringLiteral(".png"));
    EXPECT_EQ(job->channelBufferUsed, used - 3);

    job->channelSet(2, text500(QStringLiteral("specular_long.")), text25(QStringLiteral(".jpg")));
    EXPECT_EQ(job->channelFileName(2).toQString(), QStringLiteral("specular_long."));
    EXPECT_EQ(job->channelExtension(2).toQString(), QStringLiteral(".jpg"));
    EXPECT_EQ(job->channelFileName(0).toQString(), QStringLiteral("beauty."));
}

TEST_F(JobBasicsChannels, SettersIgnoreEmptyTextsMissingChannelsAndFullBuffer) {
    job->channelAdd(text500(QStringLiteral("a.")), text25(QStringLiteral(".exr")));
    job->channelSetFileName(0, text500(QString()));
    job->channelSetExtension(0, text25(QString()));
    job->channelSetFileName(1, text500(QStringLiteral("b.")));
    job->channelSetFileName(-1, text500(QStringLiteral("b.")));
    EXPECT_EQ(job->channelFileName(0).toQString(), QStringLiteral("a."));
    EXPECT_EQ(job->channelExtension(0).toQString(), QStringLiteral(".exr"));
    EXPECT_EQ(job->channelCount, 1);

    for (int i = 0; i < 15; ++i)
        job->channelAdd(text500(QString(500, QLatin1Char('n'))), text25(QString(25, QLatin1Char('e'))));
    const int used = job->channelBufferUsed;
    EXPECT_EQ(used, 6 + 15 * 525);
    job->channelSetFileName(0, text500(QString(500, QLatin1Char('z'))));
    EXPECT_EQ(job->channelBufferUsed, used) << "498 more units would pass 7999";
    EXPECT_EQ(job->channelFileName(0).toQString(), QStringLiteral("a."));
}

TEST_F(JobBasicsChannels, RemoveClosesTheGapAndKeepsEmptyExtensions) {
    job->channelAdd(text500(QStringLiteral("one.")), text25(QStringLiteral(".exr")));
    job->channelAdd(text500(QStringLiteral("two.")), text25(QStringLiteral(".tif")));
    job->channelAdd(text500(QStringLiteral("three.")), text25(QString()));
    job->channelRemove(1);
    ASSERT_EQ(job->channelCount, 2);
    EXPECT_EQ(job->channelFileName(0).toQString(), QStringLiteral("one."));
    EXPECT_EQ(job->channelExtension(0).toQString(), QStringLiteral(".exr"));
    EXPECT_EQ(job->channelFileName(1).toQString(), QStringLiteral("three."));
    EXPECT_TRUE(job->channelExtension(1).isEmpty()) << "the former third keeps its empty extension";
    EXPECT_EQ(job->channelBufferUsed, 4 + 4 + 6);

    job->channelRemove(5);
    job->channelRemove(-1);
    EXPECT_EQ(job->channelCount, 2);
    job->channelRemove(1);
    job->channelRemove(0);
    EXPECT_EQ(job->channelCount, 0);
    EXPECT_EQ(job->channelBufferUsed, 0);
}

TEST_F(JobBasicsChannels, TableFromElsewhereIsReadOnlyWithinItsBounds) {
    job->channelAdd(text500(QStringLiteral("good.")), text25(QStringLiteral(".exr")));
    job->channelCount = 200;
    job->channelStart[1] = 30000;
    job->channelFileNameLength[1] = 5;
    job->channelStart[2] = 0;
    job->channelFileNameLength[2] = 600;
    job->channelStart[3] = -4;
    job->channelFileNameLength[3] = 2;
    EXPECT_EQ(job->channelCountClamped(), 100);
    EXPECT_EQ(job->channelFileName(0).toQString(), QStringLiteral("good."));
    EXPECT_TRUE(job->channelFileName(1).isEmpty());
    EXPECT_TRUE(job->channelFileName(2).isEmpty());
    EXPECT_TRUE(job->channelFileName(3).isEmpty());
    job->channelSetFileName(1, text500(QStringLiteral("x")));
    job->channelRemove(2);
    EXPECT_EQ(job->channelFileName(0).toQString(), QStringLiteral("good."));

    job->channelBufferUsed = 60000;
    EXPECT_TRUE(job->channelFileName(0).isEmpty());
    job->channelAdd(text500(QStringLiteral("more")), text25(QString()));
    job->channelClearUnusedBuffer();
    EXPECT_EQ(job->channelBufferUsed, 60000);
}

// ---- custom data store -----------------------------------------------------------------------------

using JobBasicsCustomData = BasicsFixture;

TEST_F(JobBasicsCustomData, ByteFormatOfCharAndUnicodeValues) {
    const QString euro = QStringLiteral("a\u20AC");
    job->customDataSet_All(QStringList{QStringLiteral("Name"), QStringLiteral("Price")},
                           QStringList{QStringLiteral("abc"), euro});
    ASSERT_EQ(job->customData_maxIDs(), 2);
    // Index: 'c', start, length 3, "Name", 0 | 'u', start, length 2, "Price", 0.
    const int namesEnd = 5 + 4 + 1 + 5 + 5 + 1;
    EXPECT_EQ(job->customDataNamesEnd, namesEnd);
    EXPECT_EQ(job->customData[0], 'c');
    EXPECT_EQ(be16(1), namesEnd);
    EXPECT_EQ(be16(3), 3);
    EXPECT_EQ(std::memcmp(job->customData + 5, "Name\0", 5), 0);
    EXPECT_EQ(job->customData[10], 'u');
    EXPECT_EQ(be16(11), namesEnd + 3);
    EXPECT_EQ(be16(13), 2);
    EXPECT_EQ(std::memcmp(job->customData + 15, "Price\0", 6), 0);
    EXPECT_EQ(std::memcmp(job->customData + namesEnd, "abc", 3), 0);
    const quint8 wide[4] = {0x00, 0x61, 0x20, 0xAC};
    EXPECT_EQ(std::memcmp(job->customData + namesEnd + 3, wide, 4), 0) << "16-bit units, high byte first";
    EXPECT_EQ(job->customDataValuesEnd, namesEnd + 3 + 4);
    EXPECT_EQ(job->customData[job->customDataValuesEnd], 0);

    EXPECT_EQ(job->customData_Str(QStringLiteral("price")), euro);
    EXPECT_EQ(job->customData_Str(QStringLiteral("NAME")), QStringLiteral("abc"));
    EXPECT_EQ(job->customData_NameByID(1), QStringLiteral("Price"));
    EXPECT_EQ(job->customData_StrByID(1), euro);
    EXPECT_TRUE(job->customData_StrByID(2).isEmpty());
    EXPECT_TRUE(job->customData_NameByID(-1).isEmpty());
    EXPECT_TRUE(job->customData_Contains(QStringLiteral("pRiCe")));
    EXPECT_FALSE(job->customData_Contains(QStringLiteral("Pric")));

    // A Latin-1 value above 127 still takes one byte.
    job->customDataSet_Str(QStringLiteral("Name"), QStringLiteral("caf\u00E9"));
    EXPECT_EQ(job->customData[0], 'c');
    EXPECT_EQ(job->customData_Str(QStringLiteral("Name")), QStringLiteral("caf\u00E9"));
}

TEST_F(JobBasicsCustomData, SetStrPrefixReplaceDeleteAndAppend) {
    job->customDataSet_Str(QStringLiteral("CustomShot"), QStringLiteral("sh010"));
    EXPECT_EQ(job->customData_NameByID(0), QStringLiteral("Shot"));
    job->customDataSet_Str(QStringLiteral("customshot"), QStringLiteral("sh020"));
    EXPECT_EQ(job->customData_maxIDs(), 1);
    EXPECT_EQ(job->customData_Str(QStringLiteral("Shot")), QStringLiteral("sh020"));
    EXPECT_EQ(job->customData_NameByID(0), QStringLiteral("Shot")) << "the stored name keeps its case";

    job->customDataSet_UserInfo(QStringLiteral("from the submitter"));
    job->customDataSet_CommentInfo(QStringLiteral("first"));
    job->customDataAppend_Str(QStringLiteral("Comment"), QStringLiteral(" second"));
    job->customDataAppend_Str(QStringLiteral("Notes"), QStringLiteral("new"));
    EXPECT_EQ(job->customData_UserInfo(), QStringLiteral("from the submitter"));
    EXPECT_EQ(job->customData_CommentInfo(), QStringLiteral("first second"));
    EXPECT_TRUE(job->customData_ContainCommentInfo());
    EXPECT_EQ(job->customData_Str(QStringLiteral("Notes")), QStringLiteral("new"));

    job->customDataSet_Str(QStringLiteral("SHOT"), QString());
    EXPECT_FALSE(job->customData_Contains(QStringLiteral("Shot")));
    EXPECT_EQ(job->customData_maxIDs(), 3);
    job->customDataSet_Str(QStringLiteral("Missing"), QString());
    EXPECT_EQ(job->customData_maxIDs(), 3);

    job->customDataSet_StrByID(0, QStringLiteral("changed"));
    EXPECT_EQ(job->customData_UserInfo(), QStringLiteral("changed"));
    job->customDataSet_StrByID(7, QStringLiteral("ignored"));
    job->customDataSet_StrByID(0, QString());
    EXPECT_EQ(job->customData_maxIDs(), 2);
    EXPECT_FALSE(job->customData_Contains(CUSTOMUserInfoName));
}

TEST_F(JobBasicsCustomData, BudgetDropsFromTheFirstOffendingPair) {
    QStringList names, values;
    for (int i = 0; i < 10; ++i) {
        names << QStringLiteral("n%1").arg(i);
        values << QString(400, QLatin1Char('v')); // 2 + 400 + 5 = 407 per pair
    }
    names << QStringLiteral("small");
    values << QStringLiteral("x");
    job->customDataSet_All(names, values);
    EXPECT_EQ(job->customData_maxIDs(), 9) << "9 x 407 = 3663 fits, the 10th pair reaches 4070";
    EXPECT_FALSE(job->customData_Contains(QStringLiteral("small"))) << "later pairs go as well";
    EXPECT_EQ(job->customData_NameByID(8), QStringLiteral("n8"));

    // The budget's edge: a total of exactly 3990 is kept, one character more is not.
    const struct {
        int firstValue;
        int secondValue;
        int kept;
    } edges[] = {{3984, 0, 1}, {3985, 0, 0}, {3000, 978, 2}, {3000, 979, 1}};
    for (const auto& e : edges) {
        QStringList edgeNames{QStringLiteral("a")};
        QStringList edgeValues{QString(e.firstValue, QLatin1Char('v'))};
        if (e.secondValue > 0) {
            edgeNames << QStringLiteral("b");
            edgeValues << QString(e.secondValue, QLatin1Char('w'));
        }
        job->customDataSet_All(edgeNames, edgeValues);
        EXPECT_EQ(job->customData_maxIDs(), e.kept) << e.firstValue << " + " << e.secondValue;
    }

    // 16-bit values take two bytes per character: a pair within the character budget that would not
    // fit the 4000-byte buffer is dropped instead of written past it.
    job->customDataSet_All(QStringList{QStringLiteral("a"), QStringLiteral("wide")},
                           QStringList{QStringLiteral("short"), QString(2500, QChar(0x20AC))});
    EXPECT_EQ(job->customData_maxIDs(), 1);
    EXPECT_LE(job->customDataValuesEnd, customDataSize);
    job->customDataSet_All(QStringList{QStringLiteral("wide")}, QStringList{QString(1990, QChar(0x20AC))});
    EXPECT_EQ(job->customData_maxIDs(), 1);
    EXPECT_EQ(job->customData_Str(QStringLiteral("wide")).size(), 1990);

    // Many empty pairs: each index entry takes a byte more than the budget counts.
    job->customDataSet_All(QStringList(900, QString()), QStringList(900, QString()));
    EXPECT_LE(job->customDataNamesEnd, customDataSize);
    EXPECT_LE(job->customData_maxIDs(), customDataSize / 6);

    job->customDataSet_All(QStringList{QStringLiteral("a"), QStringLiteral("b")},
                           QStringList{QStringLiteral("1")});
    EXPECT_EQ(job->customData_maxIDs(), 1) << "the shorter list decides the count";
}

TEST_F(JobBasicsCustomData, AllAsStringHidesUserInfoAndCommentExactly) {
    job->customDataSet_All(QStringList{QStringLiteral("UserInfo"), QStringLiteral("Comment"),
                                       QStringLiteral("comment"), QStringLiteral("Lens")},
                           QStringList{QStringLiteral("u"), QStringLiteral("c"), QStringLiteral("lower"),
                                       QStringLiteral("35mm")});
    EXPECT_EQ(job->customData_AllAsString(), QStringLiteral("|comment: 'lower' |Lens: '35mm' "));

    QStringList names, values;
    job->customData_All(names, values);
    EXPECT_EQ(names.size(), 4);
    _varValList list;
    job->customData_All(list);
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.name(3), QStringLiteral("Lens"));
    EXPECT_EQ(list.value(3), QStringLiteral("35mm"));

    auto other = std::make_unique<_JobBasics>();
    other->customDataSet_All(list);
    EXPECT_TRUE(job->customData_isEqual(other.get()));
    other->customDataSet_Str(QStringLiteral("Lens"), QStringLiteral("50mm"));
    EXPECT_FALSE(job->customData_isEqual(other.get()));
    EXPECT_FALSE(job->customData_isEqual(nullptr));
}

TEST_F(JobBasicsCustomData, ValueBlockIsTheUpperCasedValueArea) {
    EXPECT_TRUE(job->customData_allValuesAsBlock_Uppercase().isEmpty());
    job->customDataSet_All(QStringList{QStringLiteral("a"), QStringLiteral("b")},
                           QStringList{QStringLiteral("Red"), QStringLiteral("caf\u00E9\u00FF\u00B5\u00DF")});
    // The y with diaeresis, the micro sign and the sharp s have no upper case in Latin-1: they stay.
    EXPECT_EQ(job->customData_allValuesAsBlock_Uppercase().toQString(),
              QStringLiteral("REDCAF\u00C9\u00FF\u00B5\u00DF"));
    job->customData_ClearAll();
    EXPECT_EQ(job->customData_maxIDs(), 0);
    EXPECT_TRUE(job->customData_allValuesAsBlock_Uppercase().isEmpty());
    EXPECT_TRUE(job->customData_Str(QStringLiteral("a")).isEmpty());
}

TEST_F(JobBasicsCustomData, StoreFromElsewhereIsReadInsideTheBuffer) {
    std::memset(job->customData, 'c', sizeof job->customData);
    job->customDataNamesEnd = 1 << 30;
    job->customDataValuesEnd = -7;
    job->customDataCount = 1 << 20;
    QStringList names, values;
    job->customData_All(names, values); // every type byte is 'c' and no name ends: must stop at 4000
    EXPECT_LE(names.size(), 1);
    // A caller walking entries by number is never sent through a million of them.
    EXPECT_EQ(job->customData_maxIDs(), customDataSize / 6);
    EXPECT_TRUE(job->customData_allValuesAsBlock_Uppercase().isEmpty());
    // A start near the end and a length far beyond it.
    job->customData[0] = 'u';
    job->customData[1] = 0x0F;
    job->customData[2] = 0x9F; // 3999
    job->customData[3] = 0xFF;
    job->customData[4] = 0xFF;
    job->customData[5] = 0;
    job->customDataNamesEnd = 6;
    EXPECT_EQ(job->customData_StrByID(0).size(), 0);
    job->customData[2] = 0x9C; // 3996: two units fit
    EXPECT_EQ(job->customData_StrByID(0).size(), 2);
}

// ---- texts -----------------------------------------------------------------------------------------

TEST(JobBasicsTexts, SceneDisplayName) {
    auto job = std::make_unique<_JobBasics>();
    const struct {
        const char* scene;
        const char* shown;
    } cases[] = {
        {"/prj/RENDER_PICTURES/sh010/light_v3.ma", ".../    sh010/    light_v3"},
        {"!special name", "!special name"},
        {"/prj/scenes/sh010/lgt.mb", ".../    sh010/    lgt"},
        {"C:/prj/sh010/lgt.max", ".../    sh010/    lgt"},
        {"C:/lgt.max", "C:/lgt"},
        {"/a/b/c/<FN4>.exr", ".../    b/    c"},
        {"scene.ma", "scene"},
        {"a.ma", "a.ma"},
        // Only whole folders are left out: a file or folder whose name merely starts so stays.
        {"/prj/sh010/scenesetup.ma", ".../    sh010/    scenesetup"},
        {"/prj/render_pictures_old/a.ma", ".../    render_pictures_old/    a"},
        {"/prj/Scenes/Scenes/sh010/a.ma", ".../    sh010/    a"},
        {"/prj/sh010/Scenes", ".../    sh010/    Scenes"},
    };
    for (const auto& c : cases) {
        job->sceneName.set(c.scene);
        EXPECT_EQ(job->getSceneDisplayName(), QString::fromLatin1(c.shown)) << c.scene;
    }
}

TEST(JobBasicsTexts, AuthStrAndIdentifierParts) {
    auto job = std::make_unique<_JobBasics>();
    job->ID = 0x00075BCD15000000ull | 3u; // idValue 123456789, preID 3
    // No scene: the checksum of no bytes is 0, so the identifier shows unchanged.
    EXPECT_EQ(job->authStr(), QStringLiteral("auth") + ID2strFull(job->ID) + QStringLiteral("auth"));
    job->sceneName.set("/prj/a.ma");
    const QString withScene = job->authStr();
    EXPECT_TRUE(withScene.startsWith(QStringLiteral("auth")) && withScene.endsWith(QStringLiteral("auth")));
    EXPECT_NE(withScene, QStringLiteral("auth") + ID2strFull(job->ID) + QStringLiteral("auth"));
    job->sceneName.set("/prj/b.ma");
    EXPECT_NE(job->authStr(), withScene);

    EXPECT_EQ(job->IDstr(), QStringLiteral("{KT9c}"));
    EXPECT_EQ(job->ID2str(), job->IDstr());
    EXPECT_EQ(job->IDstrFull(), ID2strFull(job->ID));
    EXPECT_EQ(job->IDpre(), 3);
    EXPECT_EQ(job->IDmain(), job->ID & ~quint64(0xFF));
}

// ---- clearing, large paths, array ------------------------------------------------------------------

TEST(JobBasicsClear, KeepsTheStampAndSetsDefaults) {
    auto job = std::make_unique<_JobBasics>();
    EXPECT_EQ(job->structureIDs[0], 1033);
    EXPECT_EQ(job->structureIDs[1], 1);
    for (int i = 2; i < 10; ++i)
        EXPECT_EQ(job->structureIDs[i], 0);
    job->structureIDs[2] = 1292;
    job->structureIDs[3] = 1;
    job->renderApp.set("Maya");
    job->seqStep = 9;
    job->customDataSet_Str(QStringLiteral("x"), QStringLiteral("y"));
    job->kxClearBasics();
    EXPECT_EQ(job->structureIDs[2], 1292);
    EXPECT_TRUE(job->renderApp.isEmpty());
    EXPECT_EQ(job->seqStep, 1);
    EXPECT_EQ(job->customData_maxIDs(), 0);
    EXPECT_EQ(job->customVersion.toQString(), QStringLiteral("<auto>"));

    auto large = std::make_unique<_JobBasics_largePath>();
    EXPECT_TRUE(large->customSeq.isEmpty());
    EXPECT_EQ(large->imagePadding, 4);
    EXPECT_EQ(copyOf(large->seqEnd), 1.0);
}

TEST(JobBasicsLargePath, ToJobsBasicCutsPathsAndAddsChannels) {
    auto large = std::make_unique<_JobBasics_largePath>();
    large->renderApp.set("Houdini");
    large->ID = 42;
    large->seqEnd = 250.0;
    large->customDataSet_Str(QStringLiteral("Lens"), QStringLiteral("35mm"));
    large->sceneName.set(QString(900, QLatin1Char('s')));
    large->imageFileName.set(QString(600, QLatin1Char('f')));
    large->imageExtension.set(".exr");
    large->channels[0].fileName.set(QStringLiteral("diffuse."));
    large->channels[0].extension.set(".exr");
    large->channels[2].fileName.set(QString(700, QLatin1Char('c')));
    large->channels[2].extension.set(".tif");
    large->channels[3].extension.set(".none"); // empty name: skipped

    auto target = std::make_unique<_JobSend>();
    target->channelAdd(text500(QStringLiteral("old.")), text25(QStringLiteral(".png")));
    large->toJobsBasic(*target);
    EXPECT_TRUE(target->isRightStructVersion()) << "the target keeps its own stamp";
    EXPECT_EQ(target->renderApp.toQString(), QStringLiteral("Houdini"));
    EXPECT_EQ(copyOf(target->ID), 42u);
    EXPECT_EQ(copyOf(target->seqEnd), 250.0);
    EXPECT_EQ(target->customData_Str(QStringLiteral("lens")), QStringLiteral("35mm"));
    EXPECT_EQ(target->sceneName.len(), 500);
    EXPECT_EQ(target->imageFileName.len(), 250);
    EXPECT_EQ(target->imageExtension.toQString(), QStringLiteral(".exr"));
    ASSERT_EQ(target->channelCount, 2);
    EXPECT_EQ(target->channelFileName(0).toQString(), QStringLiteral("diffuse."));
    EXPECT_EQ(target->channelFileName(1).len(), 500);
    EXPECT_EQ(target->channelExtension(1).toQString(), QStringLiteral(".tif"));
}

TEST(JobBasicsArray, GrowsHandsOutClearedRecordsAndChecksVersion) {
    _JobBasicsArray array;
    EXPECT_TRUE(array.isVersionSupported(1));
    EXPECT_FALSE(array.isVersionSupported(2));
    EXPECT_EQ(array.at(0), nullptr);

    _JobBasics_largePath* job = nullptr;
    ASSERT_TRUE(array.getNewJob(job));
    ASSERT_NE(job, nullptr);
    EXPECT_EQ(array.usedCount, 1);
    EXPECT_EQ(job->structureIDs[0], 1033);
    job->renderApp.set("Nuke");
    ASSERT_TRUE(array.getNewJob(job));
    EXPECT_EQ(array.usedCount, 2);
    EXPECT_EQ(array.at(0)->renderApp.toQString(), QStringLiteral("Nuke")) << "growing keeps the records";
    EXPECT_TRUE(array.at(1)->renderApp.isEmpty());
    EXPECT_EQ(array.at(2), nullptr);
    EXPECT_EQ(array.at(-1), nullptr);

    EXPECT_TRUE(array.setArraySize(1)) << "never shrinks";
    EXPECT_EQ(array.allocatedCount, 2);
    EXPECT_FALSE(array.setArraySize(std::numeric_limits<int>::max()));
    EXPECT_EQ(array.allocatedCount, 2);
    EXPECT_EQ(array.at(0)->renderApp.toQString(), QStringLiteral("Nuke"));

    array.name.set("farm jobs");
    array.clear();
    EXPECT_EQ(array.usedCount, 0);
    EXPECT_TRUE(array.name.isEmpty());
    EXPECT_NE(array.at(1), nullptr);

    array.recordSize = 12;
    EXPECT_FALSE(array.isVersionSupported(1));
    array.recordSize = qint32(sizeof(_JobBasics_largePath));
    array.structureID = 1034;
    EXPECT_FALSE(array.isVersionSupported(1));
}
