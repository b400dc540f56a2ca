// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobs/jobvariables.h"

#include "jobs/jobid.h"
#include "jobs/jobrecords.h"

#include <gtest/gtest.h>

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
