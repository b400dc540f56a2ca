// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "renderapps/appversion.h"
#include "renderapps/renderapprecords.h"

#include <gtest/gtest.h>

using namespace kxRA;

namespace {

const char* const untouched = "untouched";

struct VersionCase {
    const char* path;
    bool found;
    int major;
    const char* minor;
    const char* minorFull;
};

void expectVersion(const VersionCase& c) {
    int major = -99;
    QString minor = QString::fromLatin1(untouched);
    QString minorFull = QString::fromLatin1(untouched);
    const QString path = QString::fromUtf8(c.path);
    EXPECT_EQ(kxGetAppVersionFromPath(path, major, minor, minorFull), c.found) << c.path;
    EXPECT_EQ(major, c.major) << c.path;
    EXPECT_EQ(minor, QString::fromLatin1(c.minor)) << c.path;
    EXPECT_EQ(minorFull, QString::fromLatin1(c.minorFull)) << c.path;

    // The short form gives the same.
    int major2 = -99;
    QString minor2 = QString::fromLatin1(untouched);
    EXPECT_EQ(kxGetAppVersionFromPath(path, major2, minor2), c.found) << c.path;
    EXPECT_EQ(major2, c.major);
    EXPECT_EQ(minor2, QString::fromLatin1(c.minor));
}

} // namespace

TEST(AppVersionFromPath, Applications) {
    const VersionCase cases[] = {
        {"/apps/Houdini 16.5.268/bin/hython", true, 16, "5268", "5.268"},
        {"/opt/hfs/16.5.268/bin/mantra", true, 16, "5268", "5.268"},
        {"/apps/maya2016.5/bin/maya.exe", true, 2016, "5", "5"},
        {"/apps/maya2016.5.1/bin/maya.exe", true, 2016, "5", "5.1"},
        {"C:/Program Files/Autodesk/3ds Max 2016/3dsmax.exe", true, 2016, "0", "0"},
        // After Effects: CS numbers are five behind, CC before the yearly names is 12.
        {"C:/Program Files/Adobe/Adobe After Effects CS6/Support Files/AfterFX.exe", true, 11, "0", "0"},
        {"C:/Program Files/Adobe/Adobe After Effects CS5.5/Support Files/AfterFX.exe", true, 10, "5", "5"},
        {"C:/Program Files/Adobe/Adobe After Effects CC/Support Files/AfterFX.exe", true, 12, untouched,
         untouched},
        {"C:/Program Files/Adobe/Adobe After Effects CC 2015/Support Files/AfterFX.exe", true, 2015, "0",
         "0"},
        {"C:/Program Files/Adobe/Adobe After Effects CC 2019.1/Support Files/AfterFX.exe", true, 2019, "1",
         "1"},
        // Nuke: the release folder decides, its "v" joins the digits.
        {"C:/Program Files/Nuke10.5v4/Nuke10.5.exe", true, 10, "54", "54"},
        {"/opt/Nuke11.3/Nuke11.3", true, 11, "3", "3"},
        // vray writes packed digits.
        {"C:/Chaos Group/V-Ray/vray_36001/bin/vray.exe", true, 3, "6001", "6001"},
        {"/opt/vray/361001/bin/vray.exe", true, 36, "1001", "1001"},
        {"/opt/vray/vray_adv_3_60_01/bin/vray.exe", true, 3, "01", "01"},
        // Arnold and Redshift drop the first dot of the minor version.
        {"C:/solidangle/Arnold-5.0.1.0/bin/kick.exe", true, 5, "01", "0.1.0"},
        {"/opt/redshift/Redshift 2.6.41/bin/redshiftCmdLine", true, 2, "641", "6.41"},
        // The folder names the version more fully than the executable.
        {"/apps/maya2016.5.2/bin/maya2016.exe", true, 2016, "5", "5.2"},
        {"/apps/maya2016.5/bin/maya2016.exe", true, 2016, "5", "5"},
        {"/apps/maya2016/bin/maya2016.5.exe", true, 2016, "5", "5"},
        {"/apps/maya2017.5/bin/maya2016.exe", true, 2016, "0", "0"}, // another major: not taken
        // Service packs, subscription packs, betas and fixes become minor versions.
        {"C:/Autodesk/Softimage 2014 SP2/Application/bin/XSI.exe", true, 2014, "2", "2"},
        {"C:/Autodesk/Softimage 2011 Subscription Advantage Pack SP1/Application/bin/XSI.exe", true, 2011,
         "6", "6"},
        {"C:/Autodesk/Softimage 2011 Subscription Advantage Pack SP2/bin/XSI.exe", true, 2011, "7", "7"},
        {"C:/Autodesk/Softimage 2011 Subscription Advantage Pack/bin/XSI.exe", true, 2011, "5", "5"},
        {"C:/Autodesk/Maya2011_SAP/bin/maya.exe", true, 2011, "5", "5"},
        {"C:/Autodesk/Maya2011_subscription_advantage_pack_sp2/bin/maya.exe", true, 2011, "7", "7"},
        {"/Softimage/XSI_7.01 R2/bin/XSI.bat", true, 7, "01", "01"},
        {"/apps/maya2017_beta/bin/maya", true, 2017, "00", "00"},
        {"/apps/maya2017 BETA/bin/maya", true, 2017, "00", "00"},
        {"/apps/tool2016_qfe3/x", true, 2016, "3", "3"},
        {"/apps/tool2016_QFE3/x", true, 3, "0", "0"}, // only the lower-case fix is known
        {"/apps/maya2012-sp1/bin/maya", true, 2012, "1", "1"},
        {"C:/Program Files/Rhinoceros 5.0/System/Rhino4.exe", true, 5, "0", "0"},
        // Platform words are no versions.
        {"C:/Program Files (x86)/tool 3.2 x64/win64/tool_64.exe", true, 3, "2", "2"},
        {"/opt/Cinema 4D R19/a4D", true, 19, "0", "0"},
        // No version.
        {"/usr/bin/blender", false, 0, "0", "0"},
        {"/1/x", false, 0, "0", "0"}, // the first two characters are not searched
        {"", false, 0, "0", "0"},
        // Digits that are no number: the major version 1 and false, never a wrapped value.
        {"/apps/tool99999999999/x", false, 1, "0", "0"},
        {"/apps/tool\xc2\xb2\xc2\xb3/x", false, 1, "0", "0"},
        {"/Adobe After Effects CS/2147483643/x", false, 1, "0", "0"},
        {"/Adobe After Effects CS/2147483642/x", true, 2147483647, "0", "0"},
    };
    for (const VersionCase& c : cases)
        expectVersion(c);
}

TEST(AppVersionFromPath, DigitReaderFlags) {
    struct Case {
        const char* text;
        bool addFive, packed, dropFirstDot;
        bool found;
        int major;
        const char* minor;
        const char* minorFull;
    };
    const Case cases[] = {
        {"/a/b/v16.5.268", false, false, false, true, 16, "5", "5.268"},
        {"/a/b/v16.5.268", false, false, true, true, 16, "5268", "5.268"},
        {"/a/b/v16.5.268", true, false, false, true, 21, "5", "5.268"},
        {"/a/b/v16.5.268", true, true, true, true, 21, "5268", "5.268"},
        {"/a/b/v16.5.268", false, true, false, true, 16, "5", "5.268"},
        {"/x/vray_36001", false, true, false, true, 3, "6001", "6001"},
        {"/x/vray_36001", false, false, false, true, 36001, "0", "0"},
        {"/x/1234", false, true, false, true, 1, "234", "234"},
        {"/x/123", false, true, false, true, 123, "0", "0"},
        {"/x/12345678_9", false, true, false, true, 12, "345678", "345678.9"},
        {"/x/1234_56_78", false, true, false, true, 1, "234", "234.78"},
        // Single separators join, two non-digits end the run.
        {"ab 1-2-3", false, false, false, true, 1, "2", "2"},
        {"ab 1..2", false, false, false, true, 2, "0", "0"},
        {"1v2v3", false, false, false, true, 123, "0", "0"},
        {"12 4_5", false, false, false, true, 12, "4", "4_5"},
        {"12 4_5", false, false, true, true, 12, "4", "4_5"},
        {"no digits here", true, true, true, false, 0, "0", "0"},
        {"/x/99999999999", false, false, false, false, 1, "0", "0"},
    };
    for (const Case& c : cases) {
        int major = -99;
        QString minor, minorFull;
        EXPECT_EQ(kxGetAppVersionFromPath_sub(QString::fromLatin1(c.text), major, minor, minorFull, c.addFive,
                                              c.packed, c.dropFirstDot),
                  c.found)
            << c.text;
        EXPECT_EQ(major, c.major) << c.text << c.addFive << c.packed << c.dropFirstDot;
        EXPECT_EQ(minor, QString::fromLatin1(c.minor)) << c.text << c.packed << c.dropFirstDot;
        EXPECT_EQ(minorFull, QString::fromLatin1(c.minorFull)) << c.text << c.packed;
    }
}

TEST(AppVersionPattern, ReplaceVersionWithAsterisk) {
    const struct {
        const char* path;
        const char* pattern;
    } cases[] = {
        {"/apps/maya2016.5/bin/maya.exe", "/apps/maya*/bin/maya.exe"},
        {"C:/Program Files/Autodesk/3ds Max 2019/3dsmax.exe",
         "C:/Program Files/Autodesk/3ds Max */3dsmax.exe"},
        {"C:/apps/win64/x64/Tool 64 Bit 2019/app.exe", "C:/apps/win64/x64/Tool 64 Bit */app.exe"},
        {"/a/x86/x32/32bit/64bit/64Bit/64 bit/app_64/b2", "/a/x86/x32/32bit/64bit/64Bit/64 bit/app_64/b*"},
        {"/opt/Cinema 4D R19/a4D", "/opt/Cinema 4D R*/a4D"},
        {"/a/X64/win32/b", "/a/X*/win*/b"}, // protection is case-sensitive
        {"/x/mywin64", "/x/mywin*"},        // "win64" only after "/"
        // "*.*" is replaced exactly twice over.
        {"/app/tool1.2.3.4/x", "/app/tool*/x"},
        {"/app/tool1.2.3.4.5/x", "/app/tool*.*/x"},
        {"/app/123456789/x", "/app/*/x"},
        {"/app/1234567/x", "/app/*/x"},
        {"/app/1 2", "/app/* *"},
        {"/nuke/Nuke10.5v4/Nuke10.5", "/nuke/Nuke*/Nuke*"},
        {"/apps/Maya2012 SP1/bin/maya", "/apps/Maya*/bin/maya"},
        {"/apps/tool_SP3/sp4/x.qfe", "/apps/tool*/*/x*"},
        {"/apps/tool_beta/X_QFE", "/apps/tool*/X*"},
        {"C:/Program Files/Luxology/modo/601sp5/modo.exe", "C:/Program Files/Luxology/modo/*/modo.exe"},
        {"C:/Program Files/Luxology/MODO/601SP5/spool.exe", "C:/Program Files/Luxology/MODO/*/*ool.exe"},
        {"C:/Program Files/other/modo/601sp5/modo.exe", "C:/Program Files/other/modo/*sp*/modo.exe"},
        {"/Softimage/XSI_7.01 R2/bin/XSI.bat", "/Softimage/XSI_*/bin/XSI.bat"},
        {"/Softimage/XSIR3/bin", "/Softimage/XSI/bin"},
        {"/softimage/XSI R3/bin", "/softimage/XSI R*/bin"}, // "/Softimage" is case-sensitive
        {"C:/Autodesk/Softimage 2011 Subscription Advantage Pack/bin/XSI.exe",
         "C:/Autodesk/Softimage */bin/XSI.exe"},
        {"/a/Maya2011_SAP/b", "/a/Maya*/b"},
        {"/Adobe After Effects CC 2015/AfterFX", "/Adobe After Effects* */AfterFX"},
        {"/Adobe After Effects CS6/AfterFX", "/Adobe After Effects*/AfterFX"},
        {"/apps/blender/blender", "/apps/blender/blender"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(replaceVersionWithAsterisk(QString::fromLatin1(c.path)), QString::fromLatin1(c.pattern))
            << c.path;
}

TEST(RenderAppBasic, SetVersionBoth) {
    struct Case {
        const char* version;
        qint16 major;
        const char* minor; // nullptr: left as it was
    };
    const Case cases[] = {
        {"2016.5", 2016, "50000"},
        {"16.5.268", 16, "5.268"},
        {"v16.5.268", 16, "5.268"},
        {"2.3", 2, "30000"},
        {"1.2.3.4.5", 1, "2.3.4"},
        {"2018.123456", 2018, "12345"},
        {"7", 7, nullptr},
        {"v7", 7, nullptr},
        {"abc", 0, nullptr},
        {"", 0, nullptr},
        {"V7", 0, nullptr}, // only a lower-case "v" is dropped
        {"-5.2", -5, "20000"},
        {"32767.1", 32767, "10000"},
        // A major version that does not fit 16 bits is no number.
        {"40000.1", 0, "10000"},
        {"-32769", 0, nullptr},
        {"70000", 0, nullptr},
        {"x.", 0, "00000"},
    };
    for (const Case& c : cases) {
        _RenderAppBasic app;
        app.appVersionMajor = 99;
        app.appVersionMinor.set("keep");
        app.setVersionBoth(QString::fromLatin1(c.version));
        EXPECT_EQ(app.appVersionMajor, c.major) << c.version;
        EXPECT_EQ(app.appVersionMinor.toQString(), QString::fromLatin1(c.minor ? c.minor : "keep"))
            << c.version;
    }
}

TEST(RenderAppBasic, MinorVersionForms) {
    _RenderAppBasic app;
    app.setVersionBoth(QStringLiteral("2.3"));
    EXPECT_EQ(app.getVersionMinorAsNumber(), 30000);
    EXPECT_EQ(app.getVersionMinor(true).toQString(), QStringLiteral("30000"));
    EXPECT_EQ(app.getVersionMinor(false).toQString(), QStringLiteral("30000"));

    app.setVersionBoth(QStringLiteral("16.5.268"));
    EXPECT_EQ(app.getVersionMinorAsNumber(), 5268);
    EXPECT_EQ(app.getVersionMinor(true).toQString(), QStringLiteral("52680"));
    EXPECT_EQ(app.getVersionMinor(false).toQString(), QStringLiteral("5.268"));

    const struct {
        const char* stored;
        int number;
        const char* withoutDots;
    } cases[] = {
        {"", 0, "00000"},
        {"...", 0, "00000"},
        {"1.2", 12, "12000"},
        {"12a4", 12, "12a40"},
        {"abc", 0, "abc00"},
        {"123456789012345", 0, "123456789012345"}, // too large for an int: no number
        {"2147483647", 2147483647, "2147483647"},
    };
    for (const auto& c : cases) {
        app.appVersionMinor.set(c.stored);
        EXPECT_EQ(app.getVersionMinorAsNumber(), c.number) << c.stored;
        EXPECT_EQ(app.getVersionMinor(true).toQString(), QString::fromLatin1(c.withoutDots)) << c.stored;
    }
    // A length word from elsewhere is read as the capacity.
    app.appVersionMinor.set("123456789012345");
    app.appVersionMinor.length = 0xFFFF;
    EXPECT_EQ(app.getVersionMinorAsNumber(), 0);
    EXPECT_EQ(app.getVersionMinor(true).len(), 15);
}

namespace {

_ClientRenderApp entry(const char* name, const char* executable) {
    _ClientRenderApp app;
    app.name.set(name);
    app.executable.set(executable);
    return app;
}

} // namespace

TEST(ClientRenderApp, AppAlreadyExists) {
    _ClientRenderApp list[] = {
        entry("maya", "C:/Prog/Maya2018/bin/maya.exe"),
        entry("maya", "C:/Prog/Maya2019/bin/maya.exe"),
        entry("Maya", "C:/Prog/Maya2017/bin/maya.exe"),
        entry("nuke", "C:/Prog/Nuke11/nuke.exe"),
        entry("nuke", ""),
        entry("nuke", ""),
        entry("houdini", "/opt/hfs/bin/hython"),
        entry("houdini", "/opt/hfs/bin/hython"),
    };
    QString pattern;
    EXPECT_TRUE(list[1].appAlreadyExists(1, 8, list, &pattern));
    EXPECT_EQ(pattern, QStringLiteral("C:/Prog/Maya*/bin/maya.exe"));
    EXPECT_TRUE(list[0].appAlreadyExists(0, 8, list, nullptr));
    // The entry is never compared with itself; names are compared exactly.
    EXPECT_FALSE(list[0].appAlreadyExists(0, 1, list, nullptr));
    EXPECT_FALSE(list[2].appAlreadyExists(2, 8, list, nullptr));
    EXPECT_TRUE(list[2].appAlreadyExists(-1, 8, list, nullptr)); // not at ownIndex: finds itself
    EXPECT_FALSE(list[3].appAlreadyExists(3, 8, list, nullptr));
    // Without executable nothing matches, not even another entry without one.
    EXPECT_FALSE(list[4].appAlreadyExists(4, 8, list, &pattern));
    EXPECT_TRUE(pattern.isEmpty());
    // Equal executables match, whatever their pattern.
    EXPECT_TRUE(list[6].appAlreadyExists(6, 8, list, nullptr));
    EXPECT_FALSE(list[6].appAlreadyExists(6, 7, list, nullptr)); // the count limits the search

    // No list or no entries: false, and the pattern is still given.
    pattern.clear();
    EXPECT_FALSE(list[1].appAlreadyExists(1, 8, nullptr, &pattern));
    EXPECT_EQ(pattern, QStringLiteral("C:/Prog/Maya*/bin/maya.exe"));
    for (short count : {0, -1, -32768})
        EXPECT_FALSE(list[1].appAlreadyExists(5, count, list, nullptr)) << count;
}
