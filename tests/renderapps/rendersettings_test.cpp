// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "renderapps/rendersettings.h"

#include "jobs/jobconstants.h"
#include "runtime/kxconstants.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace kxRS;

TEST(RenderParams, TableRows) {
    struct Row {
        const char* name;
        quint32 paramClass, paramKind;
        quint8 flagA, flagB;
        qint32 def, min, max;
        QStringList valueNames;
    } rows[] = {
        {"Number of Preview frames", 1, 1, 0, 0, 7, 1, 18, {}},
        {"Max Clients At A Time", 1, 1, 0, 1, 1500, 1, 1500, {}},
        {"Required Memory (GB)", 1, 1, 0, 1, 0, 0, 500, {}},
        {"Max Frame Time (minutes)", 1, 1, 0, 1, 0, 0, 7200, {}},
        {"Min File Size Kb", 1, 1, 0, 1, 0, 0, 2147483647, {}},
        {"Max Crashes", 1, 1, 0, 1, 30, 0, 2147483647, {}},
        {"Max Thresholds", 1, 1, 0, 1, 30, 0, 2147483647, {}},
        {"Render Verbose",
         3,
         2,
         0,
         1,
         0,
         0,
         6,
         {"Default", "No Verbose", "Errors & Warnings", "Information", "Progress", "Debug"}},
        {"Render Quality",
         3,
         2,
         0,
         1,
         0,
         0,
         2147483647,
         {"Default", "Preview", "Normal", "Production", "Best"}},
        {"Color", 2, 2, 1, 1, 13, 0, 2147483647, {}},
        {"Approve Job",
         2,
         2,
         0,
         1,
         0,
         0,
         2147483647,
         {"-", "After Preview", "After frames done", "After both"}},
        {"Re-Execute Job After Hours", 2, 1, 0, 1, 0, 0, 2147483647, {}},
        {"Start Multiple Instances", 1, 1, 0, 1, 1, 1, 10, {}},
        {"Override Image Width", 3, 1, 1, 0, 0, 0, 100000, {}},
        {"Override Image Height", 3, 1, 1, 0, 0, 0, 100000, {}},
        {"Restrict Core Count", 3, 1, 1, 1, 0, 0, 256, {}},
        {"Restrict Memory (GB)", 3, 1, 1, 1, 0, 0, 1000, {}},
        {"Required GPU Memory (GB)", 1, 1, 0, 1, 0, 0, 500, {}},
        {"Required Core Count", 1, 1, 0, 0, 0, 0, 256, {}},
    };
    static_assert(std::size(rows) == kxParamArrayDefined);
    for (int i = 0; i < kxParamArrayDefined; ++i) {
        const Row& r = rows[i];
        const _kxRenderParam& p = kxParamArray[i];
        SCOPED_TRACE(r.name);
        EXPECT_EQ(p.name.toQString(), QLatin1String(r.name));
        EXPECT_EQ(p.paramClass, r.paramClass);
        EXPECT_EQ(p.paramKind, r.paramKind);
        EXPECT_EQ(p.flagA, r.flagA);
        EXPECT_EQ(p.flagB, r.flagB);
        EXPECT_EQ(p.defaultValue, r.def);
        EXPECT_EQ(p.minValue, r.min);
        EXPECT_EQ(p.maxValue, r.max);
        for (int v = 0; v < _kxRenderParam::valueNameCount; ++v)
            EXPECT_EQ(p.valueNames[v].toQString(), r.valueNames.value(v)) << v;
    }
    for (int i = kxParamArrayDefined; i < kxParamArraySize; ++i) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&kxParamArray[i]);
        for (size_t b = 0; b < sizeof(_kxRenderParam); ++b)
            ASSERT_EQ(bytes[b], 0) << "slot " << i + 1 << " byte " << b;
    }
}

TEST(RenderParams, ValueNamesOnlyForValuesThatHaveOne) {
    const _kxRenderParam& verbose = kxParamArray[7];
    EXPECT_EQ(verbose.valueName(5), QStringLiteral("Debug"));
    EXPECT_EQ(verbose.maxValue, 6);
    EXPECT_TRUE(verbose.valueName(6).isEmpty()); // allowed, but without a name
    EXPECT_TRUE(verbose.valueName(-1).isEmpty());
    EXPECT_TRUE(verbose.valueName(2147483647).isEmpty());
    EXPECT_EQ(kxParamArray[10].valueName(0), QStringLiteral("-"));
}

TEST(RenderOptions, NamesFillAColumnOf32OnceOnly) {
    ASSERT_NE(_KXOptionsnameFile.list, nullptr);
    ASSERT_EQ(_KXOptionsnameFile.count, 0); // empty until filled
    EXPECT_TRUE(_KXOptionsnameFile.at(0).isEmpty());
    set_KXOptionsnameFile();
    ASSERT_EQ(_KXOptionsnameFile.count, 31);
    for (int i = 0; i < 31; ++i)
        EXPECT_EQ(_KXOptionsnameFile.list[i].len(), 32) << i;
    EXPECT_EQ(_KXOptionsnameFile.at(0), QStringLiteral("Abort Jobs with Lower Priority  "));
    EXPECT_EQ(_KXOptionsnameFile.at(8), QStringLiteral("unused").leftJustified(32, QLatin1Char(' ')));
    EXPECT_EQ(_KXOptionsnameFile.at(22), QStringLiteral("Preview- Contiguous Frames      "));
    EXPECT_EQ(_KXOptionsnameFile.at(29), QStringLiteral("Approve after preview required  "));
    EXPECT_EQ(_KXOptionsnameFile.at(30), QStringLiteral("Approve after all frames require"));
    EXPECT_EQ(_KXOptionsnameFile.at(31), QString());

    // Filled once: a second call appends nothing and keeps the numbers.
    set_KXOptionsnameFile();
    EXPECT_EQ(_KXOptionsnameFile.count, 31);
    EXPECT_TRUE(_KXOptionsnameFile.list[31].isEmpty());
    EXPECT_EQ(_KXOptionsnameFile.at(1), QStringLiteral("Ignore Crashes").leftJustified(32, QLatin1Char(' ')));
}

TEST(RenderTypes, TextsBothWays) {
    struct Case {
        unsigned char type;
        const char* longForm;
        const char* shortForm;
        unsigned char backFromLong;
    } cases[] = {
        {0, "Execute", "Execute", 5}, {1, "3Drender", "3D", 1},     {2, "FileExport", "3D", 2},
        {3, "Archive", "Archive", 3}, {4, "Comp", "Comp", 4},       {5, "Execute", "Execute", 5},
        {6, "AppScript", "3D", 6},    {7, "Execute", "Execute", 5}, {255, "Execute", "Execute", 5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(kxRA::renderType2Str(c.type, false).toQString(), QLatin1String(c.longForm)) << int(c.type);
        EXPECT_EQ(kxRA::renderType2Str(c.type, true).toQString(), QLatin1String(c.shortForm)) << int(c.type);
        EXPECT_EQ(kxRA::renderType2Enum(kxRA::renderType2Str(c.type, false)), c.backFromLong) << int(c.type);
    }
    // The short forms do not come back for file exports and application scripts; the comparison is exact.
    EXPECT_EQ(kxRA::renderType2Enum(kxRA::renderType2Str(2, true)), 1);
    EXPECT_EQ(kxRA::renderType2Enum(kxRA::renderType2Str(6, true)), 1);
    EXPECT_EQ(kxRA::renderType2Enum(_kxString<15>("comp")), 5);
    EXPECT_EQ(kxRA::renderType2Enum(_kxString<15>("Comp ")), 5);
    EXPECT_EQ(kxRA::renderType2Enum(_kxString<15>("")), 5);
}

TEST(RenderTypes, JobScriptTypes) {
    const char* names[] = {"PRE", "POST", "FINISHED", "PREVIEW", "NONE"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(kxRA::jobScriptType2String(_PrePostCommandType(i)), QLatin1String(names[i]));
    EXPECT_EQ(kxRA::jobScriptType2String(_PrePostCommandType(5)), QStringLiteral("unknown"));
    EXPECT_EQ(kxRA::jobScriptType2String(_PrePostCommandType(-1)), QStringLiteral("unknown"));
}

TEST(SharedConstants, Texts) {
    EXPECT_EQ(LineEnd, QStringLiteral("\n"));
    EXPECT_EQ(LineEndB, QByteArray("\n"));
    EXPECT_EQ(PD, QStringLiteral("/"));
    EXPECT_EQ(mapTypeLetters.toQString(), QStringLiteral("C"));
    const struct {
        const QString& value;
        const char* text;
    } texts[] = {
        {kxJ::NoOutputCheckname_new, "no_check.file"},
        {kxJ::NoOutputExecOnce_new, "execOnce.file"},
        {kxJ::NoOutputExecEachClient_new, "execEachClient.file"},
        {kxJ::ExecuteSoftName, "Execute"},
        {kxJ::PythonSoftName, "Python"},
        {kxJ::CommandJobName, "CommandJob"},
        {kxJ::CUSTOMEnvName, "kxEnvFile"},
        {kxJ::CUSTOMEnvLineName_deprecated, "kxEnvLine"},
        {kxJ::CUSTOMEnvLineName, "kxEnvList"},
        {kxJ::CUSTOMSubmitterParameter, "kxSubmitterParameter"},
        {kxJ::CUSTOMSubmitClientGroup, "SubmitClientGroup"},
        {kxJ::CUSTOMSubmitter_NoSceneExistCheck, "NoSceneExistCheck"},
        {kxJ::CUSTOMAdditionalCommandlineFlags, "AddCmdFlags"},
        {kxJ::ID_letters, "ABCDEFGHJKLMNOPQRSTUVWXYZ123456789+-"},
        {kxJ::ID_letters_small, "abcdefghjklnopqrstuvwxyz"},
        {kxJ::noAccessDescriptionShort, "?update?"},
        {kxJ::noAccessDescriptionShort_noprojectroot, "!NoProjectRootAccess!"},
    };
    for (const auto& t : texts)
        EXPECT_EQ(t.value, QLatin1String(t.text));
}
