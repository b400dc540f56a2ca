// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobs/jobvariables.h"

#include "jobs/jobid.h"
#include "jobs/jobrecords.h"

#include "tests/qstringprint.h"

#include <gtest/gtest.h>

#include <QDate>

#include <algorithm>
#include <iterator>
#include <memory>

TEST(JobVariables, DirectoryUntilLevel) {
    const struct {
        const char* path;
        int level;
        const char* result;
    } cases[] = {
        {"/mnt/prj/shot/x.ma", 2, "/mnt/prj/"},
        {"/mnt/prj/shot/x.ma", 1, "/mnt/"},
        {"/mnt/prj/shot/x.ma", 0, "/mnt/"},
        {"/mnt/prj/shot/x.ma", 3, "/mnt/prj/shot/"},
        {"/mnt/prj/shot/x.ma", 4, "/mnt/prj/shot/x.ma"},
        {"C:/a/b/c.ma", 1, "C:/a/"},
        {"C:/a/b/c.ma", 2, "C:/a/b/"},
        {"//server/share/prj/x", 1, "//server/"},
        {"//server/share/prj/x", 2, "//server/share/"},
        {"a/b/", 1, "a/b/"},
        {"prj/shot/x", 1, "prj/"},
        {"", 3, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kxJ::getDirectoryUntilNo(QString::fromLatin1(c.path), c.level),
                  QString::fromLatin1(c.result))
            << c.path << " level " << c.level;
}

// ---- folder cuts -----------------------------------------------------------------------------------

TEST(JobVariables, DirectoryCuts) {
    const struct {
        const char* path;
        int level;
        int count;
        const char* number; // getDirectoryNo
        const char* until;  // getDirectoryUntilNo with a count
    } cases[] = {
        {"/mnt/prj/shot/x.ma", 2, 1, "prj", "/mnt/prj/"},
        {"/mnt/prj/shot/x.ma", 2, 2, "prj_shot", "/mnt/prj/shot/"},
        {"/mnt/prj/shot/x.ma", 1, 1, "mnt", "/mnt/"},
        {"/mnt/prj/shot/x.ma", 0, 1, "mnt", "/mnt/"},
        {"/mnt/prj/shot/x.ma", -5, 1, "mnt", "/mnt/"},
        {"/mnt/prj/shot/x.ma", 3, 3, "shot_x.ma", "/mnt/prj/shot/x.ma"}, // runs out of folders
        {"/mnt/prj/shot/x.ma", 9, 1, "x.ma", "/mnt/prj/shot/x.ma"},
        {"C:/a/b/c.ma", 1, 1, "a", "C:/a/"},
        {"C:/a/b/c.ma", 2, 1, "b", "C:/a/b/"},
        // UNC: the number counts the server as level 1; the cut with a count does not.
        {"//srv/share/prj/x.ma", 1, 1, "srv", "//srv/share/"},
        {"//srv/share/prj/x.ma", 2, 1, "share", "//srv/share/"},
        {"//srv/share/prj/x.ma", 3, 1, "prj", "//srv/share/prj/"},
        {"//srv", 1, 1, "srv", "//srv"},
        {"//srvname", 2, 1, "srvname", "//srvname"},
        {"a/b/", 1, 1, "a/b/", "a/b/"}, // 4 characters
        {"prj/shot/x", 1, 1, "prj", "prj/"},
        {"", 1, 1, "", ""},
    };
    for (const auto& c : cases) {
        const QString path = QString::fromLatin1(c.path);
        EXPECT_EQ(kxJ::getDirectoryNo(path, c.level, c.count), QString::fromLatin1(c.number))
            << c.path << " " << c.level << "," << c.count;
        EXPECT_EQ(kxJ::getDirectoryUntilNo(path, c.level, c.count), QString::fromLatin1(c.until))
            << c.path << " " << c.level << "," << c.count;
    }
    // Huge levels and counts end as soon as the slashes run out.
    EXPECT_EQ(kxJ::getDirectoryNo(QStringLiteral("/a/b/c/d"), 2000000000, 2000000000), QStringLiteral("d"));
    EXPECT_EQ(kxJ::getDirectoryUntilNo(QStringLiteral("/a/b/c/d"), 1, 2000000000),
              QStringLiteral("/a/b/c/d"));
}

// ---- sequence, shot and version ------------------------------------------------------------------------

TEST(JobVariables, SequenceShotVersion) {
    const struct {
        const char* name;
        const char* markers[6]; // start seq, shot, version; end seq, shot, version
        int seqLength;
        int shotLength;
        const char* seq;
        const char* shot;
        const char* version;
    } cases[] = {
        {"sh010_lgt_v003.ma", {"none", "", "_", "", "", ""}, 0, 0, "keep", "sh010", "lgt"},
        {"sh010_lgt_v003.ma", {"none", "", "", "", "", ""}, 0, 0, "keep", "sh010", "_lgt_v003"},
        {"sq01_sh010_v003.ma", {"", "_", "_v", "", "", ""}, 0, 0, "sq01", "sh010", "003"},
        {"SQ01-SH010-V3.ma", {"sq", "-sh", "-v", "-", "-", ""}, 0, 0, "01", "010", "3"},
        {"abcdefgh.ma", {"", "", "none", "", "", ""}, 3, 2, "abc", "de", "keep"},
        {"sh010<FN4>.ma", {"none", "", "none", "", "", ""}, 0, 0, "keep", "sh010", "keep"},
        {"sh010.ma", {"X", "Y", "Z", "", "", ""}, 0, 0, "", "", ""}, // markers absent
        {"plain", {"", "", "", "", "", ""}, 0, 0, "plain", "", ""},
        {"", {"", "", "", "", "", ""}, 0, 0, "", "", ""},
        {"seq_shot_v1.ma", {"NONE", "", "", "", "", ""}, 0, 0, "", "seq", "_shot_v1"}, // only "none" skips
    };
    for (const auto& c : cases) {
        _kxString<50> seq("keep"), shot("keep"), version("keep");
        kxJ::getSSV(QString::fromLatin1(c.name), seq, shot, version, QString::fromLatin1(c.markers[0]),
                    QString::fromLatin1(c.markers[1]), QString::fromLatin1(c.markers[2]),
                    QString::fromLatin1(c.markers[3]), QString::fromLatin1(c.markers[4]),
                    QString::fromLatin1(c.markers[5]), c.seqLength, c.shotLength);
        EXPECT_EQ(seq.toQString(), QString::fromLatin1(c.seq)) << c.name;
        EXPECT_EQ(shot.toQString(), QString::fromLatin1(c.shot)) << c.name;
        EXPECT_EQ(version.toQString(), QString::fromLatin1(c.version)) << c.name;
    }
    // Outputs keep 50 characters; the next part goes on behind them.
    _kxString<50> seq, shot, version;
    kxJ::getSSV(QString(60, QLatin1Char('a')) + QStringLiteral("_b"), seq, shot, version, QString(),
                QString(), QStringLiteral("none"), QString(), QString(), QString(), 0, 0);
    EXPECT_EQ(seq.toQString(), QString(50, QLatin1Char('a')));
    EXPECT_EQ(shot.toQString(), QString(10, QLatin1Char('a')));
}

// ---- square brackets and log codes -----------------------------------------------------------------

TEST(JobVariables, SquareBracketNames) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"[Database]/[SCENE]/[Layer]_[camera_no.].[Channel]",
         "<Database>/<Scene>/<Layer>_<Camera_no.>.<Channel>"},
        {"[User]@[LocalHost]:[CompanyProject]/[SceneFolder][DatabaseName][Camera]",
         "<User>@<LocalHost>:<CompanyProject>/<SceneFolder><DatabaseName><Camera>"},
        {"]Layer[", "]Layer["}, // no "]" behind the "["
        {"[Unknown] [Layer", "[Unknown] [Layer"},
    };
    for (const auto& c : cases) {
        _kxString<1000> text(c.in);
        kxJ::replaceSquareBracketVariablesSub(text);
        EXPECT_EQ(text.toQString(), QString::fromLatin1(c.out));
    }
    // A full text stays full.
    _kxString<1000> full(QString(993, QLatin1Char('x')) + QStringLiteral("[Layer]"));
    kxJ::replaceSquareBracketVariablesSub(full);
    EXPECT_EQ(full.len(), 1000);
    EXPECT_TRUE(full.toQString().endsWith(QStringLiteral("x<Layer>")));

    auto job = std::make_unique<kxJ::_JobBasics_largePath>();
    job->imageDir.set("/out/[Layer]/");
    job->imageFileName.set("[Scene]_[Channel].");
    job->channels[99].fileName.set("[Camera]/x");
    job->replaceSquareBracketVariables();
    EXPECT_EQ(job->imageDir.toQString(), QStringLiteral("/out/<Layer>/"));
    EXPECT_EQ(job->imageFileName.toQString(), QStringLiteral("<Scene>_<Channel>."));
    EXPECT_EQ(job->channels[99].fileName.toQString(), QStringLiteral("<Camera>/x"));
}

TEST(JobVariables, LogSegmentCodes) {
    const kxJ::_LogMessage closing[] = {14, 15, 34, 35, 36, 38, 39, 44, 45,
                                        46, 47, 48, 49, 50, 51, 61, 66, 71};
    for (kxJ::_LogMessage code = 0; code < 300; ++code) {
        const bool closes = std::find(std::begin(closing), std::end(closing), code) != std::end(closing);
        EXPECT_EQ(kxJ::log_IsClientSegmentClosed(code), closes) << code;
        EXPECT_EQ(kxJ::log_hasFrameSegment(code), closes || code == 21 || code == 41 || code == 72) << code;
    }
    EXPECT_FALSE(kxJ::log_hasFrameSegment(0xFFFFFFFFu));
}

// ---- the exported list -------------------------------------------------------------------------------

namespace {

QStringList namesOf(const _varValList& list) {
    QStringList names;
    for (int i = 0; i < list.count(); ++i)
        names << list.name(i);
    return names;
}

} // namespace

TEST(JobVariables, ExportedListOfAClearedJob) {
    auto job = std::make_unique<kxJ::_JobBasics>();
    const _varValList list = job->exportJobVarList_Basic(true);
    EXPECT_FALSE(list.flag);
    const char* const expected[] = {"SceneFolder><../><../",
                                    "SceneFolder><../",
                                    "SceneFolder",
                                    "SceneFileNameBase",
                                    "DatabaseName",
                                    "App",
                                    "AppRenderer",
                                    "AppLow",
                                    "AppRendererLow",
                                    "AppVer",
                                    "AppVerMinor",
                                    "AppVerMinorFull",
                                    "AppRendererVersion",
                                    "renderLicenses",
                                    "requiredLicenses",
                                    "kxJobVersion",
                                    "kxJobVersionMajor",
                                    "kxJobVersionMinor",
                                    "kxJobVersionMinorFull",
                                    "kxJobVersionMinorTwoDigits",
                                    "kxJobRendererVersion",
                                    "kxJobRendererVersionMajor",
                                    "kxJobRendererLcase",
                                    "kxJobRendererUcase",
                                    "kxJobRenderer",
                                    "kxJobApp",
                                    "kxJobAppLcase",
                                    "AppType",
                                    "OS",
                                    "Layer",
                                    "LayerAsFileName",
                                    "Pass",
                                    "P",
                                    "Camera",
                                    "Camera_no.",
                                    "Channel",
                                    "AOVChannel",
                                    "AOV",
                                    "State",
                                    "SceneState",
                                    "JobType",
                                    "Division",
                                    "MainImageExtension",
                                    "PNL",
                                    "ImageFormatOverride",
                                    "OverrideImageFormat",
                                    "ImageSingleOutputFile",
                                    "TotalStep",
                                    "TotalEnd",
                                    "TotalStart",
                                    "TotalSeqStep",
                                    "TotalSeqEnd",
                                    "TotalSeqStart",
                                    "SeqFrameSet",
                                    "FrameSet",
                                    "sceneOS",
                                    "sceneOSstr",
                                    "ShutgunID",
                                    "ShotgunID",
                                    "Padding",
                                    "TotalTiles",
                                    "ImageMulti",
                                    "ImageHeight",
                                    "ImageWidth",
                                    "Height",
                                    "Width",
                                    "AdditionalCommandlineParam",
                                    "CustomSeq",
                                    "CustomShot",
                                    "CustomVersion",
                                    "CustomScene",
                                    "CustomJobType",
                                    "CustomSeQName",
                                    "CustomSHotName",
                                    "CustomVersionName",
                                    "CSequence",
                                    "CScene",
                                    "CShot",
                                    "CVersion"};
    ASSERT_EQ(list.count(), 79);
    QStringList names = namesOf(list);
    for (int i = 0; i < 79; ++i)
        EXPECT_EQ(names[i], QString::fromLatin1(expected[i])) << i;
    // Values of a cleared job: the defaults, written as the list writes them.
    EXPECT_EQ(list.valueOf(QStringLiteral("kxJobVersion")), QStringLiteral("0."));
    EXPECT_EQ(list.valueOf(QStringLiteral("PNL")), QStringLiteral(" "));
    EXPECT_EQ(list.valueOf(QStringLiteral("TotalStart")), QStringLiteral("1"));
    EXPECT_EQ(list.valueOf(QStringLiteral("Padding")), QStringLiteral("4"));
    EXPECT_EQ(list.valueOf(QStringLiteral("OS")), QStringLiteral("lx"));
    EXPECT_EQ(list.valueOf(QStringLiteral("CScene")), QStringLiteral("<auto>"));
    EXPECT_EQ(list.valueOf(QStringLiteral("ImageSingleOutputFile")), QStringLiteral("false"));
}

TEST(JobVariables, ExportedListOfAFullJob) {
    auto job = std::make_unique<kxJ::_JobBasics>();
    job->imageDir.set("/out/shot/");
    job->imageFileName.set("beauty/img.");
    job->imageStereoL.set("left");
    job->imageStereoR.set("right");
    job->imageStereoM.set("mid");
    job->colorSpace.set("ACEScg");
    job->sceneName.set("/prj/seq/sh010/scenes/light<FN4>_v003.ma");
    job->sceneDatabaseDir.set("/prj/seq/");
    job->renderApp.set("Maya");
    job->renderer.set("Arnold");
    job->appVersionMajor = 2024;
    job->appVersionMinor.set("1.500");
    job->rendererVersion.set("7.2.1");
    job->requiredLicenses.set("arnold;maya");
    job->appType.set("MayaBatch");
    job->layer.set("beauty pass");
    job->camera.set("|cam|shot.cam1");
    job->channel.set("diffuse");
    job->sceneState.set("lit");
    job->customJobType.set("lighting");
    job->division.set("fx");
    job->imageExtension.set(".exr");
    job->imagePreNumberLetter = '.';
    job->imageFormatOverride.set("png");
    job->imageSingleOutputFile = true;
    job->seqStep = 2;
    job->seqEnd = 100.5;
    job->seqStart = -2.5;
    job->seqFrameSet.set("1-10,20");
    job->sceneOS = 1;
    job->shotgunID.set("SG42");
    job->imagePadding = 5;
    job->imageMulti = -3;
    job->imageHeight = 1080;
    job->imageWidth = 1920;
    job->customDataSet_Str(QStringLiteral("AddCmdFlags"), QStringLiteral("-v 2"));
    job->customSeq.set("sq01");
    job->customShot.set("sh010");
    job->customVersion.set("v003");

    const struct {
        const char* name;
        const char* value;
    } expected[] = {
        {"ImageDirComplete", "/out/shot/beauty/"},
        {"ImageDirComplete><../", "/out/shot/"},
        {"ImageDirComplete><../><../", "/out/"},
        {"ImageDir", "/out/shot/"},
        {"ImageDir><../", "/out/"},
        {"ImageDir><../><../", "/"},
        {"MainImageDir", "/out/shot/"},
        {"ImageStereoL", "left"},
        {"ImageStereoR", "right"},
        {"ImageStereoM", "mid"},
        {"ColorSpace", "ACEScg"},
        {"SceneFolder><../><../", "/prj/seq/"},
        {"SceneFolder><../", "/prj/seq/sh010/"},
        {"SceneFolder", "/prj/seq/sh010/scenes/"},
        {"SceneFileNameBase", "light_v003"},
        {"Database", "/prj/seq/"},
        {"SceneDatabaseDir", "/prj/seq/"},
        {"D", "/prj/seq/"},
        {"DatabaseName", "seq"},
        {"App", "Maya"},
        {"AppRenderer", "Arnold"},
        {"AppLow", "maya"},
        {"AppRendererLow", "arnold"},
        {"AppVer", "2024"},
        {"AppVerMinor", "15"},
        {"AppVerMinorFull", "1.5"},
        {"AppRendererVersion", "7.2.1"},
        {"renderLicenses", "arnold;maya"},
        {"requiredLicenses", "arnold;maya"},
        {"kxJobVersion", "2024.1.5"},
        {"kxJobVersionMajor", "2024"},
        {"kxJobVersionMinor", "15"},
        {"kxJobVersionMinorFull", "1.5"},
        {"kxJobVersionMinorTwoDigits", "1.5"},
        {"kxJobRendererVersion", "7.2.1"},
        {"kxJobRendererVersionMajor", "7"},
        {"kxJobRendererLcase", "arnold"},
        {"kxJobRendererUcase", "ARNOLD"},
        {"kxJobRenderer", "Arnold"},
        {"kxJobApp", "Maya"},
        {"kxJobAppLcase", "maya"},
        {"AppType", "mayabatch"},
        {"OS", "lx"},
        {"Layer", "beauty pass"},
        {"LayerAsFileName", "beautypass"},
        {"Pass", "beauty pass"},
        {"P", "beauty pass"},
        {"Camera", "|cam|shot.cam1"},
        {"Camera_no.", "|cam|shot.cam1"},
        {"Channel", "diffuse"},
        {"AOVChannel", "diffuse"},
        {"AOV", "diffuse"},
        {"State", "lit"},
        {"SceneState", "lit"},
        {"JobType", "lighting"},
        {"Division", "fx"},
        {"MainImageExtension", ".exr"},
        {"PNL", "."},
        {"ImageFormatOverride", "png"},
        {"OverrideImageFormat", "png"},
        {"ImageSingleOutputFile", "true"},
        {"TotalStep", "2"},
        {"TotalEnd", "101"},
        {"TotalStart", "-2.5"},
        {"TotalSeqStep", "2"},
        {"TotalSeqEnd", "101"},
        {"TotalSeqStart", "-3"},
        {"SeqFrameSet", "1-10,20"},
        {"FrameSet", "1-10,20"},
        {"sceneOS", "1"},
        {"sceneOSstr", "win"},
        {"ShutgunID", "SG42"},
        {"ShotgunID", "SG42"},
        {"Padding", "5"},
        {"TotalTiles", "-3"},
        {"ImageMulti", "-3"},
        {"ImageHeight", "1080"},
        {"ImageWidth", "1920"},
        {"Height", "1080"},
        {"Width", "1920"},
        {"AdditionalCommandlineParam", "-v 2"},
        {"CustomSeq", "sq01"},
        {"CustomShot", "sh010"},
        {"CustomVersion", "v003"},
        {"CustomScene", "sq01"},
        {"CustomJobType", "lighting"},
        {"CustomSeQName", "sq01"},
        {"CustomSHotName", "sh010"},
        {"CustomVersionName", "v003"},
        {"CSequence", "sq01"},
        {"CScene", "sq01"},
        {"CShot", "sh010"},
        {"CVersion", "v003"},
    };
    const _varValList list = job->exportJobVarList_Basic(false);
    ASSERT_EQ(list.count(), 93);
    for (int i = 0; i < 93; ++i) {
        EXPECT_EQ(list.name(i), QString::fromLatin1(expected[i].name)) << i;
        EXPECT_EQ(list.value(i), QString::fromLatin1(expected[i].value)) << expected[i].name;
    }
}

TEST(JobVariables, ExportedFrameNumbers) {
    const struct {
        double start;
        double end;
        const char* totalStart;
        const char* totalSeqStart;
        const char* totalEnd;
    } cases[] = {
        {0.5, 2.5, "0.5", "1", "3"},
        {-0.5, -0.4, "-0.5", "-1", "0"}, // never "-0"
        {1234567.0, 1e6, "1.23457e+06", "1234567", "1000000"},
        {0.0001, -2.5, "0.0001", "0", "-3"},
        {1001.0, 1100.49, "1001", "1001", "1100"},
    };
    auto job = std::make_unique<kxJ::_JobBasics>();
    for (const auto& c : cases) {
        job->seqStart = c.start;
        job->seqEnd = c.end;
        const _varValList list = job->exportJobVarList_Basic(false);
        EXPECT_EQ(list.valueOf(QStringLiteral("TotalStart")), QString::fromLatin1(c.totalStart)) << c.start;
        EXPECT_EQ(list.valueOf(QStringLiteral("TotalSeqStart")), QString::fromLatin1(c.totalSeqStart))
            << c.start;
        EXPECT_EQ(list.valueOf(QStringLiteral("TotalEnd")), QString::fromLatin1(c.totalEnd)) << c.end;
        EXPECT_EQ(list.valueOf(QStringLiteral("TotalSeqEnd")), QString::fromLatin1(c.totalEnd)) << c.end;
    }
}

TEST(JobVariables, ExportedDatabaseNameAndVersions) {
    const struct {
        const char* database;
        const char* name;
    } cases[] = {
        {"/prj/seq/", "seq"}, {"/prj/seq", "seq"}, {"/prj", "/prj"}, {"prj/", "prj"}, {"C:/a/b", "b"}};
    auto job = std::make_unique<kxJ::_JobBasics>();
    for (const auto& c : cases) {
        job->sceneDatabaseDir.set(c.database);
        EXPECT_EQ(job->exportJobVarList_Basic(false).valueOf(QStringLiteral("DatabaseName")),
                  QString::fromLatin1(c.name))
            << c.database;
    }
    const struct {
        const char* minor;
        const char* noDots;
        const char* full;
        const char* twoDigits;
    } versions[] = {
        {"0", "0", "0", "0"}, {"000", "0", "0", "00"}, {"10", "1", "1", "10"}, {"2.0", "2", "2.", "2."}};
    for (const auto& v : versions) {
        job->appVersionMinor.set(v.minor);
        const _varValList list = job->exportJobVarList_Basic(false);
        EXPECT_EQ(list.valueOf(QStringLiteral("AppVerMinor")), QString::fromLatin1(v.noDots)) << v.minor;
        EXPECT_EQ(list.valueOf(QStringLiteral("AppVerMinorFull")), QString::fromLatin1(v.full)) << v.minor;
        EXPECT_EQ(list.valueOf(QStringLiteral("kxJobVersionMinorTwoDigits")),
                  QString::fromLatin1(v.twoDigits))
            << v.minor;
    }
}

// ---- resolving a template ----------------------------------------------------------------------------

namespace {

struct ResolveFixture : ::testing::Test {
    std::unique_ptr<kxJ::_JobSubmitter> job = std::make_unique<kxJ::_JobSubmitter>();

    ResolveFixture() {
        job->sceneName.set("/prj/scenes/shotA.ma");
        job->sceneDatabaseDir.set("/prj");
        job->layer.set("beauty");
        job->channel.set("diffuse");
        job->camera.set("|grp|cam1 MultiCam");
        job->imageDir.set("/out/<Layer>/");
        job->imageFileName.set("img.");
        job->renderApp.set("Houdini");
        job->ID = 0x0000123456789A00ull;
    }
    QString full(const char* text) {
        return job->replaceJobVariables(QString::fromUtf8(text), false, nullptr, nullptr, nullptr);
    }
    QString app(const char* text) {
        return job->replaceJobVariables(QString::fromUtf8(text), true, nullptr, nullptr, nullptr);
    }
};

struct ResolveCase {
    const char* text;
    const char* full; // keepAppVariables false
    const char* app;  // keepAppVariables true
};

void expectBothModes(ResolveFixture& f, const ResolveCase* cases, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        EXPECT_EQ(f.full(cases[i].text), QString::fromUtf8(cases[i].full)) << "full: " << cases[i].text;
        EXPECT_EQ(f.app(cases[i].text), QString::fromUtf8(cases[i].app)) << "app: " << cases[i].text;
    }
}

} // namespace

TEST_F(ResolveFixture, BothModes) {
    const ResolveCase cases[] = {
        {"<IMAGEDIR>x", "/out/beauty/x", "/out/beauty/x"},
        {"<LAYER>", "beauty", "<LAYER>"},
        {"a<IMS>b", "ab", "ab"},
        {"<SceneFile>_<Layer>.<FN4>", "shotA_beauty.<FN4>", "shotA_<Layer>.<FN4>"},
        {"<FN8>x<FN><FN7><auto><Stereo>", "FN8x<FN><FN7><auto><Stereo>", "<FN8>x<FN><FN7><auto><Stereo>"},
        {"<fn4>", "fn4", "<fn4>"}, // protection is case-sensitive
        {"<ValueVar abc@def>", "abc", "def"},
        {"<ValueVar abc>", "abc", ""},
        {"<AOV-replaceVar beauty>", "beauty", "<AOV>"},
        {"<Layer-replaceVar L1>_<Channel-replaceVar C1>", "L1_C1", "<Layer>_<Channel>"},
        {"image_<Channel-removeVar>.exr", "image_diffuse.exr", "image.exr"},
        {"<Channel-removeVar>/img.exr", "diffuse/img.exr", "img.exr"},
        {"x/<AOV-removeVar>/.<AOV-removeVar>_<AOV-removeVar>", "x/diffuse/.diffuse_diffuse", "x//"},
        {"a -default- b** All **c", "abc", "abc"},
        {"a-default-b", "a-default-b", "a-default-b"},
        {"<removeVar x<Layer>y>", "xbeautyy", ""},
        {"<removeVar a><removeVar b>", "ab", ""},
        {"<NetworkShare>", "scenes", "scenes"},
        {"<SceneFolder>../x", "/prj/x", "/prj/x"},
        {"<Database>x", "/prj/x", "/prj/x"},
        {"<CustomSeQName>/<CShot>/<cversion>", "<auto>/<auto>/<auto>", "<auto>/<auto>/<auto>"},
        {"<Camera>,<CameraKeepVBar>,<Camera_no.>", "|grp|cam1,_grp_cam1,|grp|cam1",
         "<Camera>,<CameraKeepVBar>,<Camera_no.>"},
        {"<camerakeepvbar>", "camerakeepvbar", "<camerakeepvbar>"}, // case-sensitive
        {"<StereoLR><stereorl>", "LR", "<StereoLR><stereorl>"},
        {"<Channel .<Channel>.>", "Channel .diffuse.", "<Channel .<Channel>.>"},
        {"<Channel _x_>", "Channel _x_", "<Channel>"},
        {"<AOV <AOV>-x>", "AOV diffuse-x", "<AOV>-x>"},
        {"<UnknownVar>/x", "UnknownVar/x", "<UnknownVar>/x"},
        {"a>b<c", "abc", "a>b<c"},
        {"a>b", "ab", "a>b"},
        {"<Scene>/<SceneName>/<SceneFileNameBase>", "shotA/shotA/shotA", "shotA/shotA/shotA"},
        {"plain text", "plain text", "plain text"},
        {"", "", ""},
    };
    expectBothModes(*this, cases, std::size(cases));
}

TEST_F(ResolveFixture, IdentifierIsCaseSensitive) {
    QString id = kxJ::ID2str(job->ID);
    id.remove(QLatin1Char('{')).remove(QLatin1Char('}')).remove(QLatin1Char(' '));
    ASSERT_FALSE(id.isEmpty());
    EXPECT_EQ(full("<IDstr>/<idstr>"), id + QStringLiteral("/idstr"));
    EXPECT_EQ(app("<IDstr>/<idstr>"), id + QStringLiteral("/<idstr>"));
}

TEST_F(ResolveFixture, TilesKeepTheirVariable) {
    job->imageMulti = 4;
    EXPECT_EQ(full("a<IMS>b"), QStringLiteral("a<IMS>b"));
    EXPECT_EQ(app("a<IMS>b"), QStringLiteral("a<IMS>b"));
    EXPECT_EQ(full("a<ims>b"), QStringLiteral("aimsb"));
}

TEST_F(ResolveFixture, ApplicationFormsWithoutChannel) {
    job->channel.clear();
    const ResolveCase cases[] = {
        {"<Channel >y", "Channel y", "y"},
        {"a<Channel x", "aChannel x", "a x"},
        // A form the application does not know and that cannot be reduced stays; the loop ends.
        {"<Channel x>", "Channel x", "<Channel x>"},
        {"<AOV x>/<aov >", "AOV x/aov ", "<AOV x>/"},
        {"<removeVar abc", "removeVar abc", "<removeVar abc"},
        {"<ValueVar a@b", "ValueVar a@b", "<ValueVar a@b"},
        {"<Layer-replaceVar L1", "Layer-replaceVar L1", "<Layer-replaceVar L1"},
        {"img_<Channel>.exr", "img_.exr", "img_<Channel>.exr"},
    };
    expectBothModes(*this, cases, std::size(cases));
}

TEST_F(ResolveFixture, MayaNamesItsPasses) {
    job->renderApp.set("Maya");
    EXPECT_EQ(app("<Channel>/<aov>"), QStringLiteral("<RenderPass>/<RenderPass>"));
    EXPECT_EQ(full("<Channel>/<aov>"), QStringLiteral("diffuse/diffuse"));
    job->renderApp.set("maya"); // the application name compares exactly
    EXPECT_EQ(app("<Channel>"), QStringLiteral("<Channel>"));
}

TEST_F(ResolveFixture, OutputFolderNamingItselfEnds) {
    job->imageDir.set("<ImageDir>/x/");
    EXPECT_EQ(full("<ImageDir>"), QStringLiteral("ImageDir/x/"));
    EXPECT_EQ(app("<ImageDir>"), QStringLiteral("ImageDir/x/"));
    // Each names the other: inside its own value a variable is unknown, the other still resolves.
    job->imageDir.set("/d/<ImageFilename>/");
    job->imageFileName.set("<ImageDir>img");
    EXPECT_EQ(full("<ImageDir>"), QStringLiteral("/d/ImageDirimg/"));
    EXPECT_EQ(full("<ImageFilename>"), QStringLiteral("/d/ImageFilename/img"));
    EXPECT_EQ(full("<ImageDir><ImageFilename>"), QStringLiteral("/d/ImageDirimg//d/ImageFilename/img"));
}

TEST_F(ResolveFixture, CustomNamesAndScene) {
    QString seq = QStringLiteral("sq:01/a"), shot = QStringLiteral("sh 010"), version = QStringLiteral("v3");
    EXPECT_EQ(job->replaceJobVariables(QStringLiteral("<CustomScene>_<CustomShot>_<CustomVersionName>"),
                                       false, &seq, &shot, &version),
              QStringLiteral("sq01a_sh 010_v3"));
    job->customSeq.set("own");
    EXPECT_EQ(full("<CSequence><CScene>"), QStringLiteral("CSequenceown"));

    job->sceneName.clear();
    EXPECT_EQ(full("<SceneFolder>"), QStringLiteral("sf"));
    const struct {
        const char* scene;
        const char* resolved; // "<Scene>|<SceneFileNameBase>|<NetworkShare>"
    } scenes[] = {
        {"C:/prj/a.b.c.ma", "a.b.c|a.b|prj"},
        {"/p/ab.ma", "ab.ma|ab|ab.ma"},
        {"//srv/share/x<FN4>y<FN8>.ma", "xy|xy|srv"},
        {"shot", "shot|shot|hot"},
    };
    for (const auto& s : scenes) {
        job->sceneName.set(s.scene);
        EXPECT_EQ(full("<Scene>|<SceneFileNameBase>|<NetworkShare>"), QString::fromLatin1(s.resolved))
            << s.scene;
    }
    job->sceneDatabaseDir.set("/prj/seq/");
    EXPECT_EQ(full("<Database>x/<DatabaseName>"), QStringLiteral("/prj/seq/x/seq"));
    job->sceneDatabaseDir.set("rel/prj");
    EXPECT_EQ(full("<Database>|<DatabaseName>"), QStringLiteral("rel/prj|prj"));
}

TEST_F(ResolveFixture, DatesAndValuesAreCleaned) {
    EXPECT_EQ(full("<YEAR>"), QString::number(QDate::currentDate().year()));
    job->layer.set("a/b:c* -default- ");
    EXPECT_EQ(full("<Layer>"), QStringLiteral("abc"));
    job->layer.set("..");
    EXPECT_EQ(full("/out/<Layer>/x"), QStringLiteral("/out/_/x")); // a layer never climbs a folder
    job->camera.set("ClearAtSubmit rig.cam2 ");
    EXPECT_EQ(full("<Camera>|<Camera_no.>"), QStringLiteral("rig.cam2|cam2"));
}

TEST_F(ResolveFixture, VariablesFormedByResolution) {
    // A variable completed by a replacement resolves in a later step, as its name is searched again.
    job->layer.set("era");
    EXPECT_EQ(full("<Cam<Layer>>"), QStringLiteral("|grp|cam1"));
    job->layer.set("<SceneFile>");
    EXPECT_EQ(full("<Layer>"), QStringLiteral("shotA"));
    job->layer.set("x");
    EXPECT_EQ(full("<Lay<IMS>er>/<LAYER>"), QStringLiteral("x/x"));
    job->channel.set("<Camera_no.>");
    EXPECT_EQ(full("<Channel>"), QStringLiteral("|grp|cam1"));
    EXPECT_EQ(full("<Sc\u00e9ne>/<Scene>"),
              QStringLiteral("Sc\u00e9ne/shotA")); // beyond ASCII inside brackets
}
