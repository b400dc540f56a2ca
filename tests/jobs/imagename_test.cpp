// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobs/imagename.h"

#include "jobs/jobrecords.h"

#include "tests/qstringprint.h"

#include <gtest/gtest.h>

#include <iterator>
#include <memory>

using namespace kxJ;

namespace {

struct SplitCase {
    const char* name;
    const char* dir;
    const char* ext;
    bool single;
    int padding;
    bool printf;
    const char* database;
    const char* scene;
    // results
    const char* outName;
    const char* outDir;
    const char* outExt;
    bool outSingle;
    int outPadding;
};

template <int D, int F>
void runSplitCases(const SplitCase* cases, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const SplitCase& c = cases[i];
        _kxString<F> name(QString::fromUtf8(c.name));
        _kxString<D> dir(QString::fromUtf8(c.dir));
        _kxString<25> ext(QString::fromUtf8(c.ext));
        bool single = c.single;
        unsigned char padding = static_cast<unsigned char>(c.padding);
        template_splitImageFileInto_DirFileExt<D, F>(c.printf, name, dir, ext, single, padding,
                                                     _kxString<D>(QString::fromUtf8(c.database)),
                                                     _kxString<D>(QString::fromUtf8(c.scene)));
        const QString label = QString::fromUtf8(c.name) + QLatin1Char('|') + QString::fromUtf8(c.dir);
        EXPECT_EQ(name.toQString(), QString::fromUtf8(c.outName)) << label.toStdString();
        EXPECT_EQ(dir.toQString(), QString::fromUtf8(c.outDir)) << label.toStdString();
        EXPECT_EQ(ext.toQString(), QString::fromUtf8(c.outExt)) << label.toStdString();
        EXPECT_EQ(single, c.outSingle) << label.toStdString();
        EXPECT_EQ(int(padding), c.outPadding) << label.toStdString();
    }
}

} // namespace

TEST(ImageName, Forms) {
    const SplitCase cases[] = {
        // name, dir, ext, single, padding, printf, database, scene -> name, dir, ext, single, padding
        {"/out/shot/img.####.exr", "", "", false, 9, true, "", "", "img.", "/out/shot/", ".exr", false, 4},
        {"img.%04d.exr", "/o/", "", false, 9, true, "", "", "img.", "/o/", ".exr", false, 4},
        {"img.%04d.exr", "/o/", "", false, 9, false, "", "", "img.%04d", "/o/", ".exr", false, 9},
        {"img.%d.exr", "", "", false, 9, true, "", "", "img.", "", ".exr", false, 1},
        {"img.%xd#.exr", "", "", false, 9, true, "", "", "img.", "", ".exr", false, 1},
        {"img.[####].exr", "", "", false, 9, true, "", "", "img.", "", ".exr", false, 4},
        {"img.####", "", "", false, 9, true, "", "", "img.", "", "", false, 4},
        {"img.0010.exr", "", "", false, 9, true, "", "", "img.", "", ".exr", false, 9},
        {"0010.exr", "", "", false, 9, true, "", "", "0", "", ".exr", false, 9},
        {"image", "", "", false, 9, true, "", "", "image", "", "", false, 9},
        {"out.file", "", "", false, 9, true, "", "", "out.file", "", "", false, 9},
        {"img.exr", "", ".exr", false, 9, true, "", "", "img", "", ".exr", false, 9},
        {"img.", "", ".EXR", false, 9, true, "", "", "img.", "", ".EXR", false, 9},
        // movies and single files
        {"clip.mov", "", "", false, 4, true, "", "", "clip.mov", "", "", true, 4},
        {"CLIP.MP4", "", "", false, 4, true, "", "", "CLIP.MP4", "", "", true, 4},
        {"clip", "", ".Mov", false, 4, true, "", "", "clip.Mov", "", "", true, 4},
        {"clip.####.mov", "", "", false, 4, true, "", "", "clip.####.mov", "", "", true, 4},
        {"movie", "", ".abc", true, 4, true, "", "", "movie.abc", "", "", true, 4},
        {"scene.vrscene", "", "", false, 4, true, "", "", "scene.vrscene", "", "", true, 4},
        {"scene.VRSCENE", "", "", false, 4, true, "", "", "scene.VRSCENE", "", "", true, 4},
        {"scene.####.vrscene", "", "", false, 4, true, "", "", "scene.", "", ".vrscene", false, 4},
        {"scene", "", ".vrscene", false, 4, true, "", "", "scene", "", ".vrscene", false, 4},
        // folders
        {"/out/<Layer>/beauty.####.exr", "", "", false, 4, true, "", "", "<Layer>/beauty.", "/out/", ".exr",
         false, 4},
        {"/out/a/<removeVar x/>/<Camera>/b.#.exr", "", "", false, 4, true, "", "",
         "<removeVar x/>/<Camera>/b.", "/out/a/", ".exr", false, 1},
        {"<Layer>/beauty.#.exr", "", "", false, 4, true, "", "", "<Layer>/beauty.", "", ".exr", false, 1},
        {"sub/img.#.exr", "/o/", "", false, 4, true, "", "", "sub/img.", "/o/", ".exr", false, 1},
        {"/out/a/../img.#.exr", "", "", false, 4, true, "", "", "img.", "/out/", ".exr", false, 1},
        {"//srv//share///img.#.exr", "", "", false, 4, true, "", "", "img.", "//srv/share/", ".exr", false,
         1},
        {"////srv/img.#.exr", "", "", false, 4, true, "", "", "img.", "//srv/", ".exr", false, 1},
        {"img.#.exr", "C:out/", "", false, 4, true, "", "", "img.", "C:/out/", ".exr", false, 1},
        {"img.#.exr", "/a//b", "", false, 4, true, "", "", "img.", "/a/b/", ".exr", false, 1},
        {"img.#.exr", "\\\\\\\\srv\\\\\\\\x", "", false, 4, true, "", "", "img.", "///srv/x/", ".exr", false,
         1},
        // drive letters and the Windows separator
        {"C:\\out\\img.####.exr", "", "", false, 4, true, "", "", "img.", "C:\\out\\", ".exr", false, 4},
        {"C:\\out/sub/img.#.exr", "", "", false, 4, true, "", "", "img.", "C:\\out\\sub\\", ".exr", false, 1},
        {"C:/out\\img.#.exr", "", "", false, 4, true, "", "", "img.", "C:/out/", ".exr", false, 1},
        {"C:\\prj\\scenes\\render\\img.#.exr", "", "", false, 4, true, "C:/prj", "C:/prj/scenes/a.ma", "img.",
         "<SceneFolder>render\\", ".exr", false, 1},
        {"C:\\prjx\\out\\img.#.exr", "", "", false, 4, true, "C:/prjx", "", "img.", "<Database>\\out\\",
         ".exr", false, 1},
    };
    runSplitCases<500, 250>(cases, std::size(cases));
}

TEST(ImageName, SceneAndProjectFolders) {
    const SplitCase cases[] = {
        {"img.#.exr", "/projects/sh010/", "", false, 4, true, "", "/projects/sh010/a.ma", "img.",
         "<SceneFolder>/", ".exr", false, 1},
        {"img.#.exr", "/projects/sh010/out/", "", false, 4, true, "", "/projects/sh010/a.ma", "img.",
         "<SceneFolder>out/", ".exr", false, 1},
        {"img.#.exr", "/Projects/sh010/out/", "", false, 4, true, "", "/projects/sh010/a.ma", "img.",
         "/Projects/sh010/out/", ".exr", false, 1}, // case-sensitive
        {"img.#.exr", "/p/s/out/", "", false, 4, true, "", "/p/s/a.ma", "img.", "/p/s/out/", ".exr", false,
         1},
        {"img.#.exr", "/projects/s/", "", false, 4, true, "", "/projects/s/a.ma", "img.", "<SceneFolder>/",
         ".exr", false, 1}, // 12 characters
        {"img.#.exr", "/projects1/", "", false, 4, true, "", "/projects1/a.ma", "img.", "<SceneFolder>/",
         ".exr", false, 1}, // 11 characters
        {"img.#.exr", "/prj/abcde/", "", false, 4, true, "", "/prj/abcde/a.ma", "img.", "<SceneFolder>/",
         ".exr", false, 1},
        {"img.#.exr", "/prj/abcd/", "", false, 4, true, "", "/prj/abcd/a.ma", "img.", "/prj/abcd/", ".exr",
         false, 1}, // 10 characters are never replaced
        {"img.#.exr", "/projects/sh010/renders/", "", false, 4, true, "", "/projects/sh010/scenes/a.ma",
         "img.", "<SceneFolder>../renders/", ".exr", false, 1},
        {"img.#.exr", "/projects/feature/out/", "", false, 4, true, "", "/projects/feature/sh010/scenes/a.ma",
         "img.", "<SceneFolder>../../out/", ".exr", false, 1},
        {"img.#.exr", "/projects/feature/out/", "", false, 4, true, "",
         "/projects/feature/sq/sh010/scenes/a.ma", "img.", "<SceneFolder>../../../out/", ".exr", false, 1},
        {"img.#.exr", "/projects/feature/out/", "", false, 4, true, "",
         "/projects/feature/a/sq/sh010/scenes/a.ma", "img.", "/projects/feature/out/", ".exr", false,
         1}, // four levels up is too far
        {"img.#.exr", "/mnt/prj/out/", "", false, 4, true, "/mnt/prj", "", "img.", "<Database>/out/", ".exr",
         false, 1},
        {"img.#.exr", "/mnt/prj/out/", "", false, 4, true, "/mnt/prj/", "", "img.", "<Database>out/", ".exr",
         false, 1},
        {"img.#.exr", "/mnt/prjX/out/", "", false, 4, true, "/mnt/prj", "", "img.", "/mnt/prjX/out/", ".exr",
         false, 1},
        // the scene folder wins over the project folder
        {"img.#.exr", "/mnt/prj/scenes/out/", "", false, 4, true, "/mnt/prj", "/mnt/prj/scenes/a.ma", "img.",
         "<SceneFolder>out/", ".exr", false, 1},
    };
    runSplitCases<500, 250>(cases, std::size(cases));
}

TEST(ImageName, ResultsStayWithinCapacity) {
    // A printf width or "#" run above 255 would wrap the 8-bit padding (300 gives 44).
    const SplitCase cases[] = {
        {"img.%300d.exr", "", "", false, 4, true, "", "", "img.", "", ".exr", false, 255},
        {"img.%99999999999999999999d.exr", "", "", false, 4, true, "", "", "img.", "", ".exr", false, 255},
        {"img.%0256d.exr", "", "", false, 4, true, "", "", "img.", "", ".exr", false, 255},
    };
    runSplitCases<500, 250>(cases, std::size(cases));
    {
        _kxString<250> name(QStringLiteral("img.") + QString(300, QLatin1Char('#')));
        _kxString<500> dir;
        _kxString<25> ext;
        bool single = false;
        unsigned char padding = 4;
        template_splitImageFileInto_DirFileExt<500, 250>(true, name, dir, ext, single, padding, {}, {});
        EXPECT_EQ(int(padding), 246); // the name was cut to 250 first
        _kxString<1000> wide(QStringLiteral("img.") + QString(300, QLatin1Char('#')) +
                             QStringLiteral(".exr"));
        _kxString<1000> wideDir;
        template_splitImageFileInto_DirFileExt<1000, 1000>(true, wide, wideDir, ext, single, padding, {}, {});
        EXPECT_EQ(int(padding), 255);
        EXPECT_EQ(ext.toQString(), QStringLiteral(".exr"));
    }
    // "<SceneFolder>" and its parent forms may be longer than the folder they replace: a replacement
    // that would push the folder past its capacity is skipped, so its end is not cut off.
    const QString scene = QStringLiteral("/abcdefghi/x.ma"); // folder of 11 characters
    const QString longDir = QStringLiteral("/abcdefghi/") + QString(487, QLatin1Char('y')) + QLatin1Char('/');
    ASSERT_EQ(longDir.size(), 499);
    for (const QString& dirText :
         {longDir, QStringLiteral("/abcdefghi/") + QString(400, QLatin1Char('y')) + QLatin1Char('/')}) {
        _kxString<250> name("img.#.exr");
        _kxString<500> dir(dirText);
        _kxString<25> ext;
        bool single = false;
        unsigned char padding = 4;
        template_splitImageFileInto_DirFileExt<500, 250>(true, name, dir, ext, single, padding, {}, scene);
        if (dirText.size() == 499)
            EXPECT_EQ(dir.toQString(), dirText);
        else
            EXPECT_EQ(dir.toQString(), QStringLiteral("<SceneFolder>") + dirText.mid(11));
    }
    {
        const QString deepScene = QStringLiteral("/abcdefghij/a/b/c/x.ma");
        const QString dirText = QStringLiteral("/abcdefghij/") + QString(487, QLatin1Char('z'));
        _kxString<250> name("img.#.exr");
        _kxString<500> dir(dirText);
        _kxString<25> ext;
        bool single = false;
        unsigned char padding = 4;
        template_splitImageFileInto_DirFileExt<500, 250>(true, name, dir, ext, single, padding, {},
                                                         deepScene);
        EXPECT_EQ(dir.toQString(),
                  dirText.left(499) + QLatin1Char('/')); // "<SceneFolder>../../../" did not fit
    }
}

TEST(ImageName, JobOutputAndChannels) {
    auto job = std::make_unique<_JobBasics>();
    job->imageFileName.set("/out/img.0001.exr");
    job->imagePadding = 4;
    job->channelAdd(_kxString<500>("diff.####.exr"), _kxString<25>());
    job->channelAdd(_kxString<500>("C:/abs/plate.######.exr"), _kxString<25>());
    job->channelAdd(_kxString<500>("/out/clip"), _kxString<25>(".mov"));
    job->channelAdd(_kxString<500>("<Layer>/x.#.exr"), _kxString<25>());
    job->channelAdd(_kxString<500>("n"), _kxString<25>(".tif"));
    job->splitImageFileInto_DirFileExt(true);

    EXPECT_EQ(job->imageDir.toQString(), QStringLiteral("/out/"));
    EXPECT_EQ(job->imageFileName.toQString(), QStringLiteral("img."));
    EXPECT_EQ(job->imageExtension.toQString(), QStringLiteral(".exr"));
    EXPECT_EQ(int(job->imagePadding), 4); // the channels' paddings are not written back
    EXPECT_FALSE(job->imageSingleOutputFile);

    // The channels were split before the main output, with the folder the job held then (none).
    const struct {
        const char* name;
        const char* ext;
    } channels[] = {
        {"diff.", ".exr"}, {"C:/abs/plate.", ".exr"}, {"/out/clip.mov", ""}, {"<Layer>/x.", ".exr"},
        {"n", ".tif"},
    };
    ASSERT_EQ(job->channelCountClamped(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(job->channelFileName(i).toQString(), QString::fromLatin1(channels[i].name)) << i;
        EXPECT_EQ(job->channelExtension(i).toQString(), QString::fromLatin1(channels[i].ext)) << i;
    }

    // With a folder set, relative channel names are put inside it.
    job->channelClear();
    job->imageDir.set("/render/");
    job->channelAdd(_kxString<500>("diff.####.exr"), _kxString<25>());
    job->channelAdd(_kxString<500>("\\\\srv\\x.#.exr"), _kxString<25>());
    job->splitImageFileInto_DirFileExt_Channel(true);
    EXPECT_EQ(job->channelFileName(0).toQString(), QStringLiteral("/render/diff."));
    EXPECT_EQ(job->channelFileName(1).toQString(), QStringLiteral("\\\\srv\\x."));
    EXPECT_EQ(job->channelExtension(1).toQString(), QStringLiteral(".exr"));
}

TEST(ImageName, LargePathRecord) {
    auto job = std::make_unique<_JobBasics_largePath>();
    const QString deep = QStringLiteral("/") + QString(700, QLatin1Char('d')) + QStringLiteral("/");
    job->imageFileName.set(deep + QStringLiteral("img.%05d.exr"));
    job->channels[0].fileName.set("plate.#.exr");
    job->channels[2].fileName.set("clip");
    job->channels[2].extension.set(".avi");
    job->splitImageFileInto_DirFileExt(true);
    EXPECT_EQ(job->imageDir.toQString(), deep);
    EXPECT_EQ(job->imageFileName.toQString(), QStringLiteral("img."));
    EXPECT_EQ(int(job->imagePadding), 5);
    EXPECT_EQ(job->channels[0].fileName.toQString(), QStringLiteral("plate."));
    EXPECT_EQ(job->channels[0].extension.toQString(), QStringLiteral(".exr"));
    EXPECT_TRUE(job->channels[1].fileName.isEmpty()); // unused slots stay unused
    EXPECT_TRUE(job->channels[1].extension.isEmpty());
    EXPECT_EQ(job->channels[2].fileName.toQString(), QStringLiteral("clip.avi"));
    EXPECT_TRUE(job->channels[2].extension.isEmpty());
}

TEST(ImageName, ChannelThatNoLongerFitsStaysWhole) {
    auto job = std::make_unique<_JobBasics>();
    job->imageDir.set(QStringLiteral("/") + QString(400, QLatin1Char('r')) + QStringLiteral("/"));
    // Fill the buffer to just below its limit with absolute names, then one short relative name that
    // the output folder would make 400 units longer.
    const QString big = QStringLiteral("/") + QString(480, QLatin1Char('b')) + QStringLiteral("/n.#.exr");
    while (job->channelBufferUsed + big.size() <= channelBufferMaxUsed - 20)
        job->channelAdd(_kxString<500>(big), _kxString<25>());
    const int last = job->channelCountClamped();
    job->channelAdd(_kxString<500>("rel.#.exr"), _kxString<25>());
    ASSERT_EQ(job->channelCountClamped(), last + 1);
    job->splitImageFileInto_DirFileExt_Channel(true);
    EXPECT_EQ(job->channelFileName(last).toQString(), QStringLiteral("rel.#.exr"));
    EXPECT_TRUE(job->channelExtension(last).isEmpty()); // not ".exr" behind the unsplit name
    EXPECT_TRUE(job->channelFileName(0).toQString().endsWith(QStringLiteral("/n.")));
}
