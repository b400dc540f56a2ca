// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "config/kxgconfig.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>

#include <memory>

namespace {

std::unique_ptr<_kxgConfig> farmStore(__KXSDK* sdk = nullptr) {
    auto cfg = std::make_unique<_kxgConfig>();
    cfg->initialize(sdk);
    return cfg;
}

} // namespace

TEST(KxgKeyTable, CountOrderAndContext) {
    int contextStandIn = 0;
    auto* context = reinterpret_cast<__KXSDK*>(&contextStandIn);
    auto cfg = farmStore(context);
    EXPECT_EQ(cfg->sdk, context);
    ASSERT_EQ(cfg->count, 234);
    // The first key of each block, at its slot.
    struct Block {
        int slot;
        const char* group;
        const char* first;
    };
    const Block blocks[] = {
        {0, "Jobs", "jGetProjectNameBy"},
        {36, "Clients", "cLocTex_LeaveFreeSpaceMB"},
        {45, "Website", "wCreateWebsite"},
        {58, "Email", "eSendEmails"},
        {73, "FTP", "fFtpUpload"},
        {95, "Server", "sMultiUserFileServerLogin"},
        {111, "NetWork", "nServerName"},
        {131, "User", "lockClientClose"},
        {135, "Misc", "cfgCost"},
        {154, "ShotGun", "sgEnable"},
        {168, "FTrack", "ftEnable"},
        {175, "Cloud", "clArmConnectorPort"},
        {177, "Misc", "cfgLocalDecimalMark"},
        {178, "UNC", "uUsername"},
        {191, "Misc", "FolderRightsOutfolder"},
        {196, "Jobs", "jEqualExclusivePrio"},
        {233, "Jobs", "jScriptPriorityIncrease"},
    };
    for (const Block& b : blocks) {
        SCOPED_TRACE(b.first);
        EXPECT_TRUE(cfg->params[b.slot].name.isEqual(b.first));
        EXPECT_TRUE(cfg->params[b.slot].group.isEqual(b.group));
    }
    // Each name once, so no key hides behind an earlier one; every slot in a block shares its group.
    QSet<QString> names;
    for (int i = 0; i < cfg->count; ++i) {
        names.insert(cfg->params[i].name.toQString());
        int block = 0;
        while (block + 1 < int(std::size(blocks)) && blocks[block + 1].slot <= i)
            ++block;
        EXPECT_TRUE(cfg->params[i].group.isEqual(blocks[block].group)) << i;
    }
    EXPECT_EQ(names.size(), 234);
}

TEST(KxgKeyTable, ARowOfEachBlock) {
    auto cfg = farmStore();
    struct Row {
        const char* name;
        quint8 type;
        int value; ///< bool or int default
        qint64 min, max;
    };
    using P = _kxgCfg_param;
    const Row rows[] = {
        {"jHistoryDBDeleteAfterDays", P::typeInt, 800, 14, 6000},
        {"jHistoryDBExport", P::typeBool, 1, 0, 0},
        {"jDeleteIfNumber", P::typeInt, 2000, 100, 50000},
        {"cLocTex_LeaveFreeSpaceMB", P::typeInt, 4000, 200, 100000},
        {"cfgcDisableKXEnv", P::typeBool, 0, 0, 0},
        {"wCacheFrameLimit", P::typeInt, 2500, 0, 5000},
        {"eStatusMinuteDelay", P::typeInt, 180, 30, 10080},
        {"eDomainEmailError", P::typeBool, 1, 0, 0},
        {"fProxyPort", P::typeInt, 21, 1, 20000},
        {"fUploadImgRGBsmall", P::typeBool, 1, 0, 0},
        {"sDailyExecuteTime", P::typeInt, 7, 0, 23},
        {"sLocalJobDB_uncompressed", P::typeBool, 0, 0, 0},
        {"nKXServerPort", P::typeInt, 7773, 10, 30000},
        {"nUseServerIP", P::typeBool, 1, 0, 0},
        {"sWOL_Port", P::typeInt, 9, 5, 32000},
        {"lockClientClose", P::typeBool, 1, 0, 0},
        {"FontOsxSmall", P::typeInt, 10, 5, 20},
        {"ConfigVersionMajor", P::typeInt, 8, 0, 99},
        {"sgProxyPort", P::typeInt, 3128, 1, 20000},
        {"ftEnable", P::typeBool, 0, 0, 0},
        {"clArmConnectorPort", P::typeInt, 55555, 20, 65535},
        {"UNCMountOSXRight", P::typeInt, 0, 0, 2},
        {"FolderRightsJobdata", P::typeBool, 1, 0, 0},
        {"jPreferedProjects10cl", P::typeInt, 1500, 0, 1500},
        {"jPrioLvlCmode", P::typeInt, 0, 0, 2},
        {"jScriptPriorityIncrease", P::typeInt, 10, 0, 100},
        {"jAverageAbort", P::typeBool, 1, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ASSERT_TRUE(cfg->exists(r.name));
        int slot = 0;
        while (!cfg->params[slot].name.isEqual(r.name))
            ++slot;
        const P& p = cfg->params[slot];
        EXPECT_EQ(p.type, r.type);
        if (r.type == P::typeBool) {
            EXPECT_EQ(cfg->getB(r.name), r.value != 0);
        } else {
            EXPECT_EQ(cfg->getI(r.name), r.value);
            EXPECT_EQ(p.valueMin, r.min);
            EXPECT_EQ(p.valueMax, r.max);
        }
    }
    struct Text {
        const char* name;
        const char16_t* value;
    };
    const Text texts[] = {
        {"jGetSSVShot", u"_sh"},
        {"jJobDataLocationExclude", u"kxCommand;Execute"},
        {"eSmtpServer", u""},
        {"nKXServerAdapter", u"*ANY*"},
        {"sWOL_Subnet", u"255.255.255.0"},
        {"cfgCostDisplay", u"\u20ac"},
        {"cfgKwhLabel", u"W"},
        {"cfgLocalDecimalMark", u"."},
        {"sgKXName", u"kexofluxViewer"},
        {"sgPythonPathWin", u"<KX_ROOT>\\plugins\\python_modules\\shotgun_api3\\"},
        {"ftPythonPathLx", u"<KX_ROOT>/plugins/python_modules/ftrack_api/"},
        {"ftUser", u"MyUser"},
        {"UNCMountLX",
         u"noperm,file_mode=<rights>,dir_mode=<rights><user ,user=<user>,password=<pass><domain "
         u",domain=<domain>>>,uid=<ClientUser>,gid=wheel"},
        {"UNCMountNFSOSX", u"soft,timeo=20,intr,tcp,wsize=1048576,rsize=1048576,vers=3,async,rw"},
        {"jPreferedProjects10", u""},
    };
    for (const Text& t : texts) {
        SCOPED_TRACE(t.name);
        ASSERT_TRUE(cfg->exists(t.name));
        EXPECT_EQ(cfg->getS(t.name).toQString(), QString::fromUtf16(t.value));
    }
    EXPECT_EQ(cfg->getF("cfgCostF"), 0.05f);
    EXPECT_EQ(cfg->getF("cfgCost"), 0.0f);
}

TEST(KxgKeyTable, PlaceholderDefaults) {
    auto cfg = farmStore();
    for (const char* key : {"sgUrl", "ftUrl"}) {
        const QString url = cfg->getS(key).toQString();
        EXPECT_TRUE(url.startsWith(QStringLiteral("https://")) && url.size() > 8) << key;
    }
    const QRegularExpression apiKey(QStringLiteral("^x{8}-x{4}-x{4}-x{4}-x{12}$"));
    EXPECT_TRUE(apiKey.match(cfg->getS("ftAPIKey").toQString()).hasMatch());
    EXPECT_EQ(cfg->getS("ftAPIKey").len(), 36);
}

TEST(KxgKeyTable, ClampingAndExactKeys) {
    auto cfg = farmStore();
    struct Case {
        const char* key;
        int in, stored;
    };
    const Case cases[] = {
        {"sDailyExecuteTime", 24, 23},    {"clArmConnectorPort", 70000, 65535},
        {"nKXServerPort", 70000, 30000},  {"nKXServerPort", 3, 10},
        {"jPreferedProjects10cl", -1, 0}, {"jHistoryDBDeleteAfterDays", 1, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_TRUE(cfg->setI(c.key, c.in));
        EXPECT_EQ(cfg->getI(c.key), c.stored);
    }
    EXPECT_TRUE(cfg->setF("cfgCostF", 0.0f));
    EXPECT_EQ(cfg->getF("cfgCostF"), 0.000001f);
    EXPECT_TRUE(cfg->setF("cfgCost", 5000.0f));
    EXPECT_EQ(cfg->getF("cfgCost"), 1000.0f);
    EXPECT_TRUE(cfg->exists("jPreferedProjects10cl"));
    EXPECT_FALSE(cfg->exists("jpreferedprojects10cl"));
    EXPECT_FALSE(cfg->exists("JPreferedProjects10cl"));
    EXPECT_FALSE(cfg->setB("nKXServerPort", true));
    EXPECT_EQ(cfg->getI("nKXServerPort"), 10);
}
