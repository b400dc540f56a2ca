// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobs/jobconstants.h"
#include "jobs/jobid.h"
#include "jobs/jobrecords.h"

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

quint16 word16(const unsigned char* p, size_t at) {
    return quint16(p[at] | (p[at + 1] << 8));
}

// Reads a UTF-16 text field the way the server does: length word at the offset, units 4 bytes on.
QString textAt(const unsigned char* p, size_t at) {
    const quint16 n = word16(p, at);
    QString s;
    for (quint16 i = 0; i < n; ++i)
        s += QChar(word16(p, at + 4 + 2 * i));
    return s;
}

} // namespace

TEST(JobSendLayout, ServerOffsetsThroughRawBytes) {
    auto job = std::make_unique<_JobSend>();
    job->ID = 0x0102030405060708ull;
    job->sceneName.set("/prj/scene.ma");
    job->imageDir.set("/prj/images/");
    job->imageFileName.set("beauty.");
    job->userName.set("artist");
    job->messageClientNames.set("nodeA;nodeB");
    job->status = 180;

    unsigned char raw[sizeof(_JobSend)];
    std::memcpy(raw, job.get(), sizeof raw);

    const quint16 stamp[8] = {1033, 1, 1292, 1, 1555, 1, 1804, 1};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(word16(raw, size_t(2 * i)), stamp[i]) << "stamp word " << i;
    EXPECT_EQ(word16(raw, 16), 0);
    EXPECT_EQ(word16(raw, 18), 0);
    quint64 id;
    std::memcpy(&id, raw + 3460, 8);
    EXPECT_EQ(id, copyOf(job->ID));
    EXPECT_EQ(textAt(raw, 3692), QStringLiteral("/prj/scene.ma"));
    EXPECT_EQ(textAt(raw, 6710), QStringLiteral("/prj/images/"));
    EXPECT_EQ(textAt(raw, 7716), QStringLiteral("beauty."));
    EXPECT_EQ(textAt(raw, 30380), QStringLiteral("artist"));
    EXPECT_EQ(textAt(raw, 30598), QStringLiteral("nodeA;nodeB"));
    EXPECT_EQ(raw[76329], 180);
    EXPECT_GE(sizeof(_JobSend), size_t(77776));
    EXPECT_EQ(sizeof(_JobMinInfo), size_t(298));
}

TEST(JobSendLayout, ClearedRecordDefaults) {
    auto job = std::make_unique<_JobSend>();
    EXPECT_TRUE(job->isRightStructVersion());
    EXPECT_EQ(job->userName.toQString(), QStringLiteral("none"));
    EXPECT_EQ(job->jobFilesFolder.toQString(), QStringLiteral("none"));
    EXPECT_TRUE(job->messageClientNames.isEmpty());
    EXPECT_EQ(job->basicsFlag, 2);
    EXPECT_EQ(job->imagePadding, 4);
    EXPECT_EQ(copyOf(job->seqStart), 1.0);
    EXPECT_EQ(copyOf(job->seqEnd), 1.0);
    EXPECT_EQ(job->seqStep, 1);
    EXPECT_EQ(job->customSeq.toQString(), QStringLiteral("<auto>"));
    EXPECT_EQ(job->previewCount, 3);
    EXPECT_EQ(job->previewStart, -1);
    EXPECT_EQ(job->previewStep, 1);
    EXPECT_TRUE(job->hasPreview);
    EXPECT_EQ(job->frameCount, 1);
    EXPECT_EQ(job->framesTotal, 1);
    EXPECT_TRUE(job->infoChangedTime.isSet());
    EXPECT_TRUE(job->nextCheckTime.isSet());
    EXPECT_FALSE(job->markFlag);
}

TEST(JobSendLayout, EachClearResetsItsOwnLevelOnly) {
    auto job = std::make_unique<_JobSend>();
    job->renderApp.set("Maya");
    job->userName.set("artist");
    job->jobFilesFolder.set("/farm/jobs");
    job->hasPreview = false;
    job->disabled = true;
    job->waitUntil.t = 99;
    job->submitterTime.t = 5;
    job->waitForJobIDs[3] = 7;
    job->clientData[9].value32 = 1;
    job->status = 120;
    job->previewStart = 4;
    job->previewStep = 9;
    job->framesDone = 3;
    job->infoChangedTime.t = 5;
    job->markFlag = true;
    job->nextCheckTime.t = 5;

    job->kxClearSend();
    EXPECT_FALSE(job->markFlag);
    EXPECT_GT(job->nextCheckTime.t, 5);
    EXPECT_EQ(job->status, 120) << "the save level is not the send level's";
    EXPECT_EQ(job->framesLeft, 1 - 3);

    job->kxClearSave();
    EXPECT_EQ(job->status, 0);
    EXPECT_EQ(job->framesDone, 0);
    EXPECT_EQ(job->previewStart, -1);
    EXPECT_EQ(job->previewStep, 1);
    EXPECT_GT(job->infoChangedTime.t, 5);
    EXPECT_EQ(job->userName.toQString(), QStringLiteral("artist")) << "the submitter level stays";

    job->kxClearSubmitter();
    EXPECT_EQ(job->userName.toQString(), QStringLiteral("none"));
    EXPECT_EQ(job->jobFilesFolder.toQString(), QStringLiteral("none"));
    EXPECT_TRUE(job->hasPreview);
    EXPECT_FALSE(job->disabled);
    EXPECT_EQ(job->waitUntil.t, 0);
    EXPECT_GT(job->submitterTime.t, 5);
    EXPECT_EQ(copyOf(job->waitForJobIDs[3]), 0u);
    EXPECT_EQ(job->clientData[9].value32, 0u);
    EXPECT_EQ(job->renderApp.toQString(), QStringLiteral("Maya")) << "the basics level stays";
    EXPECT_TRUE(job->isRightStructVersion());

    job->kxClearBasics();
    EXPECT_TRUE(job->renderApp.isEmpty());
    EXPECT_EQ(job->userName.toQString(), QStringLiteral("none"));
    EXPECT_TRUE(job->isRightStructVersion()) << "the basics clear keeps all four stamp pairs";
}

TEST(JobSendLayout, EveryStampWordIsTested) {
    const size_t words[] = {0, 1, 2, 3, 4, 5, 6, 7};
    for (size_t w : words) {
        auto job = std::make_unique<_JobSend>();
        job->structureIDs[w] = (w % 2 == 0) ? quint16(job->structureIDs[w] - 1) : 0;
        EXPECT_FALSE(job->isRightStructVersion()) << "word " << w;
    }
    auto job = std::make_unique<_JobSend>();
    job->structureIDs[6] = 1803;
    EXPECT_FALSE(job->isRightStructVersion());
    job->structureIDs[6] = 1804;
    job->structureIDs[7] = 2; // a later version of a level is still this layout's family
    EXPECT_TRUE(job->isRightStructVersion());
}

// ---- status texts and states -----------------------------------------------------------------------

namespace {

struct SendFixture : ::testing::Test {
    std::unique_ptr<_JobSend> job = std::make_unique<_JobSend>();

    // A sequence from `start` to `end` with `step`, frame counts recomputed as the server does.
    void sequence(double start, double end, quint16 step, qint8 multi = 0, double offset = 0) {
        job->seqStart = start;
        job->seqEnd = end;
        job->seqStep = step;
        job->imageMulti = multi;
        job->seqFileOffset = offset;
        job->kxClearSend();
    }
};

QString statusText(quint8 s) {
    return _JobSave::statusAsStringStatic(s).toQString();
}

} // namespace

TEST(JobSaveStatus, StaticTexts) {
    const struct {
        int status;
        const char* text;
    } cases[] = {
        {255, "Finished"},
        {200, "Finished"},
        {199, "First Check"},
        {180, "Script (Finished)"},
        {160, "Approval Wait (m)"},
        {140, "Script (Post-Render)"},
        {130, "Files Wait"},
        {120, "Render"},
        {115, "Sync Files"},
        {110, "Waiting for job(s)(p)"},
        {100, "Approval Wait (p)"},
        {90, "Script (Preview)"},
        {80, "Preview"},
        {60, "Script (Pre-Render)"},
        {50, "Sync Files"},
        {40, "Waiting for job(s)"},
        {20, "First Check"},
        {0, "First Check"},
        {121, "First Check"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(statusText(quint8(c.status)), QString::fromLatin1(c.text)) << c.status;
}

using JobSaveStates = SendFixture;

TEST_F(JobSaveStates, WaitTextsCountTheWaitedForJobs) {
    job->status = 110;
    job->waitForJobIDs[0] = 1001;
    job->waitForStates[0] = 0; // not yet seen
    job->waitForJobIDs[4] = 1002;
    job->waitForStates[4] = 1; // waiting for it
    job->waitForJobIDs[5] = 0;
    job->waitForStates[5] = 1; // empty slot: not counted
    job->waitForJobIDs[6] = 1003;
    job->waitForStates[6] = 2; // finished: not counted
    EXPECT_EQ(job->statusAsString(nullptr).toQString(), QStringLiteral("Wait for 1+1 jobs(p)"));
    const quint8 forty = 40;
    EXPECT_EQ(job->statusAsString(&forty).toQString(), QStringLiteral("Wait for 1+1 jobs"));
    job->waitForStates[0] = -3;
    job->waitForStates[4] = -1;
    EXPECT_EQ(job->statusAsString(&forty).toQString(), QStringLiteral("Wait for 2+0 jobs"));

    job->waitForJobIDs[4] = 0;
    EXPECT_EQ(job->statusAsString(&forty).toQString(), QStringLiteral("Wait for 1 job"));

    job->waitForJobIDs[0] = 0;
    job->waitUntil.t = 1765000000;
    const QString untilText = job->statusAsString(&forty).toQString();
    EXPECT_TRUE(untilText.startsWith(QStringLiteral("Wait "))) << qPrintable(untilText);
    EXPECT_EQ(untilText.size(), 5 + 9) << "day of the week, hour and minute";
    EXPECT_TRUE(job->statusAsString(nullptr).toQString().endsWith(QStringLiteral("(p)")));
}

TEST_F(JobSaveStates, DisabledPrefixOnlyForTheJobsOwnStatus) {
    job->status = 120;
    job->disabled = true;
    EXPECT_EQ(job->statusAsString(nullptr).toQString(), QStringLiteral("Disabled - Render"));
    const quint8 s = 80;
    EXPECT_EQ(job->statusAsString(&s).toQString(), QStringLiteral("Preview"));
}

TEST_F(JobSaveStates, DisabledWaitingAndErrorTests) {
    const _kxTime now = _kxTime::fromSeconds(1000000);
    job->status = 20;
    EXPECT_EQ(statusText(20), QStringLiteral("First Check"));
    EXPECT_TRUE(job->isDisabled(now, false, true));
    EXPECT_FALSE(job->isDisabled(now, true, true));
    EXPECT_FALSE(job->isDisabled(now, true, false));

    const struct {
        int status;
        bool disabledFull;
        bool waiting;
    } cases[] = {{40, true, true},   {100, true, true},   {110, true, true},  {160, true, true},
                 {130, false, true}, {120, false, false}, {200, false, false}};
    for (const auto& c : cases) {
        job->status = quint8(c.status);
        EXPECT_EQ(job->isDisabled(now, true, false), c.disabledFull) << c.status;
        EXPECT_FALSE(job->isDisabled(now, true, true)) << c.status;
        EXPECT_EQ(job->isWaitFor(now), c.waiting) << c.status;
    }

    job->status = 120;
    job->waitUntil = _kxTime::fromSeconds(now.t + 60);
    EXPECT_TRUE(job->isDisabled(now, true, false));
    EXPECT_TRUE(job->isWaitFor(now));
    EXPECT_FALSE(job->isWaitFor(_kxTime())) << "a time not set never waits for waitUntil";
    EXPECT_FALSE(job->isWaitFor(_kxTime::fromSeconds(now.t + 60)));
    job->waitUntil.clear();
    job->disabled = true;
    EXPECT_TRUE(job->isDisabled(now, true, true));

    EXPECT_FALSE(job->isJobMarkedAsError());
    job->errorCount = 5;
    EXPECT_FALSE(job->isJobMarkedAsError());
    job->errorCount = 6;
    EXPECT_TRUE(job->isJobMarkedAsError());
    job->errorCount = 0;
    job->errorMarked = 1;
    EXPECT_TRUE(job->isJobMarkedAsError());
}

TEST_F(JobSaveStates, StoredRecordsFallBackToTheFirst) {
    job->errors[0].code = 7;
    job->errors[2].code = 9;
    job->errorCount = 3;
    EXPECT_EQ(job->getError(2).code, 9);
    EXPECT_EQ(job->getError(3).code, 7);
    EXPECT_EQ(job->getError(-1).code, 7);
    job->errorCount = 127; // more than the array holds
    EXPECT_EQ(job->errorCountClamped(), jobErrorsMax);
    EXPECT_EQ(&job->getError(jobErrorsMax), &job->errors[0]);
    EXPECT_EQ(&job->getError(jobErrorsMax - 1), &job->errors[jobErrorsMax - 1]);

    job->logs[1].message = 14;
    job->logCount = 2;
    EXPECT_EQ(job->getLog(1).message, 14);
    EXPECT_EQ(&job->getLog(2), &job->logs[0]);
    job->logCount = 32000;
    EXPECT_EQ(&job->getLog(jobLogsMax), &job->logs[0]);

    EXPECT_EQ(&job->getClient(1499), &job->clientData[1499]);
    EXPECT_EQ(&job->getClient(1500), &job->clientData[0]);
}

TEST_F(JobSaveStates, ClientValuesByType) {
    _JobClientData& c = job->clientData[12];
    c.smallValues[0] = 1;
    c.smallValues[1] = 2;
    c.smallValues[2] = 3;
    c.smallValues[3] = 4;
    c.value16 = 0xBEEF;
    c.value32 = 0xDEADBEEF;
    const struct {
        int type;
        qint64 value;
    } cases[] = {{0, 1},           {1, 2}, {2, 3}, {5, 4}, {3, 0xBEEF}, {8, 0xBEEF}, {4, 0xDEADBEEF},
                 {10, 0xDEADBEEF}, {6, 0}, {7, 0}, {9, 0}, {-1, 0},     {11, 0}};
    for (const auto& t : cases)
        EXPECT_EQ(job->clientValue_Get(12, t.type), t.value) << t.type;
    job->clientData[0].smallValues[0] = 42;
    EXPECT_EQ(job->clientValue_Get(5000, 0), 42);
}

TEST_F(JobSaveStates, AgesAndCrc) {
    _kxTime t(true);
    t.addSeconds(-(3 * 86400 + 3600 + 5));
    job->jobSave_infoChanged(&t);
    EXPECT_EQ(job->infoChangedTime, t);
    EXPECT_EQ(job->getAgeDays(), 3);
    EXPECT_EQ(job->getAgeHours(), 73);
    t.addSeconds(2 * (3 * 86400 + 3600 + 5)); // in the future
    job->jobSave_infoChanged(&t);
    EXPECT_EQ(job->getAgeHours(), 73);

    const quint64 crc = job->calcCRC();
    EXPECT_EQ(crc, job->calcCRC());
    job->framesLeft += 5; // the send level lies behind the checked bytes
    EXPECT_EQ(job->calcCRC(), crc);
    job->status ^= 1;
    EXPECT_NE(job->calcCRC(), crc);
    job->status ^= 1;
    job->reserved_76374[sizeof job->reserved_76374 - 1] = 1; // the last checked byte
    EXPECT_NE(job->calcCRC(), crc);
}

TEST_F(JobSaveStates, ClearSaveAppliesPreviewRules) {
    const struct {
        int in;
        int out;
    } cases[] = {{-4, 3}, {0, 3}, {1, 3}, {2, 2}, {7, 7}, {20, 20}, {21, 20}, {1000, 20}};
    for (const auto& c : cases) {
        job->previewCount = c.in;
        job->kxClearSave();
        EXPECT_EQ(job->previewCount, c.out) << c.in;
    }
    job->seqStep = 0;
    job->errorCount = 3;
    job->status = 120;
    job->kxClearSave();
    EXPECT_EQ(job->seqStep, 1);
    EXPECT_EQ(job->errorCount, 0);
    EXPECT_EQ(job->status, 0);
    EXPECT_EQ(job->structureIDs[4], 1555);
    EXPECT_TRUE(job->isRightStructVersion());
}

// ---- frame slots -----------------------------------------------------------------------------------

using JobSendFrames = SendFixture;

TEST_F(JobSendFrames, FileNumbersAndSlots) {
    sequence(1001, 1099, 2); // 50 frames
    ASSERT_EQ(job->frameCount, 50);
    EXPECT_EQ(job->framesTotal, 50);
    EXPECT_EQ(job->framesLeft, 50);
    EXPECT_EQ(job->F2fn(3, nullptr), 1007.0);
    EXPECT_EQ(job->fn2F(1007.0, 0), 3);
    EXPECT_EQ(job->fn2F(1008.0, 0), 4) << "3.5 rounds half away from zero";
    EXPECT_EQ(job->fn2F(1007.9, 0), 3);
    EXPECT_EQ(job->fn2F(1000.0, 0), -1);
    EXPECT_EQ(job->fn2F(1001.0, 0), 0);
    EXPECT_EQ(job->fn2F(1099.0, 0), 49);
    EXPECT_EQ(job->fn2F(5000.0, 0), 49) << "beyond the last frame: framesTotal - 1";
    EXPECT_EQ(job->fn2F(1100.0, 0), 49) << "49.5 rounds up, yet slot 50 does not exist";

    sequence(1001, 1099, 2, 0, 100);
    EXPECT_EQ(job->F2fn(3, nullptr), 1107.0);
    EXPECT_EQ(job->F2fnNoOffset(3, nullptr), 1007.0);
    EXPECT_EQ(job->fn2F(1107.0, 0), 3);
    EXPECT_EQ(job->fn2F(1100.0, 0), -1);

    // A record from elsewhere may hold a step of 0: every slot then names the first file number.
    job->seqStep = 0;
    EXPECT_EQ(job->F2fn(3, nullptr), 1101.0);
    EXPECT_EQ(job->F2fnNoOffset(3, nullptr), 1001.0);
    EXPECT_EQ(job->fn2F(1101.0, 0), 0);
}

TEST_F(JobSendFrames, MultiPartSlots) {
    sequence(1, 10, 1, 4); // 10 frames, 4 parts
    EXPECT_EQ(job->frameCount, 10);
    EXPECT_EQ(job->framesTotal, 40);
    signed char part = -1;
    EXPECT_EQ(job->F2fn(23, &part), 4.0);
    EXPECT_EQ(part, 2);
    EXPECT_EQ(job->fn2F(4.0, 2), 23);
    EXPECT_EQ(job->fn2F(10.0, 3), 39);
    EXPECT_EQ(job->fn2F(10.0, 7), 39);
    EXPECT_EQ(job->fn2F(10.6, 3), 39) << "39.6 would round to 40, one past the last slot";

    sequence(1, 10, 1, 1);
    EXPECT_EQ(job->framesTotal, 10);
    job->imageMulti = 0;
    job->framesDone = 4;
    job->kxClearSend();
    EXPECT_EQ(job->framesLeft, 6);
}

TEST_F(JobSendFrames, NoFramesOrStepZeroDoNotDivideByZero) {
    sequence(1, 10, 1);
    job->frameCount = 0; // as a record from elsewhere may hold
    job->seqStep = 0;
    signed char part = 5;
    EXPECT_EQ(job->F2fn(7, &part), 1.0) << "one frame slot per part: every slot is the first frame";
    EXPECT_EQ(part, 7);
    EXPECT_EQ(job->fn2F(4.0, 0), 3);
    job->imageMulti = 3;
    EXPECT_EQ(job->fn2F(1.0, 2), 2);
    job->frameCount = -20;
    EXPECT_FALSE(job->previewFilename_Base_number(2).isEmpty());
    EXPECT_EQ(job->previewID2FrameNr(4), 1 * 1 + 1 * 1);

    job->seqStep = 0;
    job->seqEnd = 100;
    job->kxClearSend();
    EXPECT_EQ(job->frameCount, 100);
    job->seqEnd = std::numeric_limits<double>::quiet_NaN();
    job->kxClearSend();
    EXPECT_EQ(job->frameCount, 0);
    job->seqEnd = 1e300;
    job->kxClearSend();
    EXPECT_EQ(job->frameCount, std::numeric_limits<qint32>::max());
    EXPECT_EQ(job->fn2F(std::numeric_limits<double>::quiet_NaN(), 0), -1);
}

TEST_F(JobSendFrames, NextCheckTime) {
    _kxTime from = _kxTime::fromSeconds(5000);
    job->setNextCheckTime(0, true, &from);
    EXPECT_EQ(job->nextCheckTime.t, 0);
    job->setNextCheckTime(30, false, &from);
    EXPECT_EQ(job->nextCheckTime.t, 0) << "0 is due at once: an unforced call never moves it";
    job->setNextCheckTime(30, true, &from);
    EXPECT_EQ(job->nextCheckTime.t, 5030);
    job->setNextCheckTime(60, false, &from);
    EXPECT_EQ(job->nextCheckTime.t, 5030);
    job->setNextCheckTime(10, false, &from);
    EXPECT_EQ(job->nextCheckTime.t, 5010);
    job->setNextCheckTime(100, true, &from);
    EXPECT_EQ(job->nextCheckTime.t, 5100);
    const _kxTime before(true);
    job->setNextCheckTime(10, true, nullptr);
    EXPECT_GE(job->nextCheckTime.t, before.t + 10);
    EXPECT_LE(job->nextCheckTime.t, before.t + 12);
}

// ---- previews --------------------------------------------------------------------------------------

using JobSendPreviews = SendFixture;

TEST_F(JobSendPreviews, InARow) {
    sequence(1, 100, 1);
    job->previewCount = 5;
    job->previewStart = 10;
    job->previewStep = 5;
    const qint64 expect[5] = {0, 10, 15, 20, 99};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(job->previewID2FrameNr(i), expect[i]) << i;
    job->imageMulti = 4; // previews from the middle part
    EXPECT_EQ(job->previewID2FrameNr(0), 200);
    EXPECT_EQ(job->previewID2FrameNr(2), 215);
    EXPECT_EQ(job->previewID2FrameNr(4), 299);
}

TEST_F(JobSendPreviews, Spread) {
    sequence(1, 100, 1);
    job->previewSpread = true;
    job->previewStart = 0;
    job->previewCount = 5; // k = 3: three centred frames
    const qint64 five[5] = {0, 48, 49, 50, 99};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(job->previewID2FrameNr(i), five[i]) << i;
    job->previewCount = 9; // quarter, three quarters and k = 5 centred frames
    const qint64 nine[9] = {0, 25, 48, 49, 50, 51, 52, 75, 99};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(job->previewID2FrameNr(i), nine[i]) << i;
}

TEST_F(JobSendPreviews, WithoutPreviewStart) {
    sequence(1, 10, 1);
    job->previewStep = 3;
    job->previewCount = 6;
    EXPECT_EQ(job->previewStart, -1);
    EXPECT_EQ(job->previewID2FrameNr(4), 12);
    job->imageMulti = 3;
    EXPECT_EQ(job->previewID2FrameNr(4), 1 * 3 + 1 * 10);
    job->previewStart = 2;
    job->hasPreview = false;
    EXPECT_EQ(job->previewID2FrameNr(5), 1 * 3 + 2 * 10);
}

TEST_F(JobSendPreviews, FileNames) {
    sequence(1, 100, 1);
    job->previewCount = 8;
    job->previewStart = 0;
    job->previewStep = 4; // preview i (0 < i < 7) is frame slot 4(i-1), file number 4(i-1)+1
    EXPECT_EQ(job->previewFilename_Base_number(0), QStringLiteral("p00001"));
    EXPECT_EQ(job->previewFilename_Base_number(7), QStringLiteral("p00100"));
    EXPECT_EQ(job->previewFilename_Base_number(8), QStringLiteral("p00100")) << "C and beyond name the last";
    EXPECT_EQ(job->previewFilename_Base_number(1000), QStringLiteral("p00100"));
    EXPECT_EQ(job->previewFilename_Base_number(-1), QStringLiteral("p00005")) << "C/4 = 2";
    EXPECT_EQ(job->previewFilename_Base_number(-3), QStringLiteral("p00021")) << "3C/4 = 6";
    EXPECT_EQ(job->previewFilename_Base_number(-2), QStringLiteral("p00013")) << "C/2 = 4";
    sequence(100000, 100099, 1);
    job->previewCount = 3;
    EXPECT_EQ(job->previewFilename_Base_number(0), QStringLiteral("p100000"));
    sequence(0.6, 99.6, 1);
    EXPECT_EQ(job->previewFilename_Base_number(0), QStringLiteral("p00001")) << "0.6 rounds to 1";
}

TEST_F(JobSendPreviews, FileNamesOfAnyCountFromElsewhere) {
    sequence(1, 100, 1);
    job->previewStep = 1; // previews taken from the start: preview i is frame slot i
    job->previewCount = std::numeric_limits<qint32>::max();
    const int threeQuarters = int(3 * qint64(job->previewCount) / 4);
    EXPECT_EQ(job->previewFilename_Base_number(-3), job->previewFilename_Base_number(threeQuarters));
    EXPECT_EQ(job->previewFilename_Base_number(-3), QStringLiteral("p00036")) << "slot 1610612735 mod 100";
    job->previewCount = std::numeric_limits<qint32>::min();
    EXPECT_EQ(job->previewFilename_Base_number(5), QStringLiteral("p00001")) << "no previews: the first";
    job->previewCount = 0;
    EXPECT_EQ(job->previewFilename_Base_number(-1), QStringLiteral("p00001"));
}

// ---- filter mask -----------------------------------------------------------------------------------

using JobSendFilter = SendFixture;

TEST_F(JobSendFilter, MaskBits) {
    const _kxTime now = _kxTime::fromSeconds(1000000);
    job->status = 120;
    EXPECT_EQ(job->filterMask(now), 1 | 512 | 1024 | 2048 | 4096);
    job->stateFlags[0] = true; // bit 5
    job->stateFlags[1] = true; // bit 7
    EXPECT_EQ(job->filterMask(now), 1 | 32 | 128 | 1024 | 4096);
    job->stateFlags[2] = true; // bit 6
    job->stateFlags[3] = true; // bit 8
    EXPECT_EQ(job->filterMask(now), 1 | 32 | 64 | 128 | 256);

    job->markFlag = true;
    EXPECT_EQ(job->filterMask(now) & 0x1F, 2);
    job->markFlag = false;
    job->disabled = true;
    EXPECT_EQ(job->filterMask(now) & 0x1F, 4);
    job->disabled = false;
    job->status = 130;
    EXPECT_EQ(job->filterMask(now) & 0x1F, 8);
    job->status = 200;
    EXPECT_EQ(job->filterMask(now) & 0x1F, 16);
}

TEST_F(JobSendFilter, Fits) {
    const _kxTime now = _kxTime::fromSeconds(1000000);
    job->status = 200;
    EXPECT_TRUE(job->filterMask_Fits(16, now));
    EXPECT_FALSE(job->filterMask_Fits(1 | 2 | 4 | 8, now));
    job->markFlag = true;
    EXPECT_FALSE(job->filterMask_Fits(2, now)) << "a finished job shows only with bit 4";

    job->status = 120;
    EXPECT_TRUE(job->filterMask_Fits(2, now));
    EXPECT_FALSE(job->filterMask_Fits(1, now)) << "a marked job is kept out of bit 0";
    job->markFlag = false;
    EXPECT_TRUE(job->filterMask_Fits(1, now));
    EXPECT_FALSE(job->filterMask_Fits(8, now));
    EXPECT_FALSE(job->filterMask_Fits(16 | 2 | 4, now));

    job->disabled = true;
    EXPECT_TRUE(job->filterMask_Fits(4, now));
    EXPECT_FALSE(job->filterMask_Fits(1, now));
    job->disabled = false;

    job->status = 40; // waiting
    EXPECT_TRUE(job->filterMask_Fits(8, now));
    EXPECT_FALSE(job->filterMask_Fits(1, now));
    job->status = 80;
    job->waitUntil = _kxTime::fromSeconds(now.t + 1);
    EXPECT_TRUE(job->filterMask_Fits(8, now));
    EXPECT_FALSE(job->filterMask_Fits(8, _kxTime::fromSeconds(now.t + 1)));
    EXPECT_TRUE(job->filterMask_Fits(1, _kxTime::fromSeconds(now.t + 1)));
}

// ---- exports ---------------------------------------------------------------------------------------

using JobSendExports = SendFixture;

TEST_F(JobSendExports, MinInfo) {
    const _kxTime now = _kxTime::fromSeconds(1000000);
    job->ID = 0x1122334455667788ull;
    job->userName.set("artist");
    job->projectName.set("Commercial");
    job->renderApp.set("Maya");
    job->renderer.set("Arnold");
    job->framesLeft = 17;
    job->markFlag = true;
    job->userName.length = 9000; // from elsewhere: read as the capacity
    const _JobMinInfo mi = job->toMinInfo(now);
    EXPECT_EQ(copyOf(mi.ID), copyOf(job->ID));
    EXPECT_EQ(mi.infoChangedTime, job->infoChangedTime);
    EXPECT_EQ(mi.framesLeft, 17);
    EXPECT_EQ(mi.filterMask, job->filterMask(now));
    EXPECT_EQ(mi.basicsFlag, 2);
    EXPECT_EQ(mi.markFlag, 1);
    EXPECT_EQ(mi.userName.length, 25);
    EXPECT_EQ(mi.projectName.toQString(), QStringLiteral("Commercial"));
    EXPECT_EQ(mi.renderApp.toQString(), QStringLiteral("Maya"));
    EXPECT_EQ(mi.renderer.toQString(), QStringLiteral("Arnold"));
}

TEST_F(JobSendExports, SegmentAndServerStatusRecord) {
    sequence(1001, 1099, 2);
    job->ID = 0xA1B2C3D4E5F60718ull;
    job->status = 120;
    _clientCurrentSegment seg{3, 7, 5, 0xABCD};
    job->setClientCurrentSegment(seg);
    EXPECT_EQ(job->clientData[0].value32, 3u);
    EXPECT_EQ(job->clientData[3].value32, 0xABCDu);
    const _clientCurrentSegment back = job->getClientCurrentSegment();
    EXPECT_EQ(back.firstSlot, 3);
    EXPECT_EQ(back.lastSlot, 7);
    EXPECT_EQ(back.count, 5);
    EXPECT_EQ(back.value, 0xABCD);

    job->seqFileOffset = 0.75; // file numbers are cut toward zero
    _KXN_TCP_InANutshell n;
    std::memset(&n, 0x5A, sizeof n);
    job->toTCP_NutShell(n);
    unsigned char raw[sizeof n];
    std::memcpy(raw, &n, sizeof n);
    quint64 id;
    qint16 status;
    qint64 first, last, frames;
    std::memcpy(&id, raw + 96, 8);
    std::memcpy(&status, raw + 104, 2);
    std::memcpy(&first, raw + 112, 8);
    std::memcpy(&last, raw + 120, 8);
    std::memcpy(&frames, raw + 128, 8);
    EXPECT_EQ(id, copyOf(job->ID));
    EXPECT_EQ(status, 120);
    EXPECT_EQ(first, 1007);
    EXPECT_EQ(last, 1015);
    EXPECT_EQ(frames, 10);
    EXPECT_EQ(raw[0], 0x5A) << "the rest of the server's record is left alone";
}

// ---- submitter -------------------------------------------------------------------------------------

using JobSubmitterTexts = SendFixture;

TEST_F(JobSubmitterTexts, RandomColour) {
    job->userName.set("artist");
    job->colorMode = 13;
    job->setRandomColor();
    const quint32 colour = job->colorMode;
    EXPECT_GE(colour, 1u);
    EXPECT_LE(colour, 7u);
    auto other = std::make_unique<_JobSend>();
    other->userName.set("artist");
    other->colorMode = 13;
    other->setRandomColor();
    EXPECT_EQ(other->colorMode, colour) << "the same user gives the same colour";

    const quint32 modes[] = {11, 12, 14};
    for (quint32 m : modes) {
        job->colorMode = m;
        job->setRandomColor();
        EXPECT_GE(job->colorMode, 1u);
        EXPECT_LE(job->colorMode, 7u);
    }
    job->colorMode = 15;
    job->setRandomColor();
    EXPECT_EQ(job->colorMode, 0u);
    job->colorMode = 10;
    job->setRandomColor();
    EXPECT_EQ(job->colorMode, 10u);
}

TEST_F(JobSubmitterTexts, ProjectRootAndJobFilesFolder) {
    job->sceneDatabaseDir.set("/mnt/projects/commercial/");
    job->sceneName.set("<database>scenes/sh010/lgt.ma");
    job->imageDir.set("/render/out/commercial/sh010/");
    EXPECT_TRUE(job->companyProjectRootFolder_noKX(1, 2).isEmpty());
    EXPECT_EQ(job->companyProjectRootFolder_noKX(2, 1), QStringLiteral("/mnt/projects/commercial/"));
    EXPECT_EQ(job->companyProjectRootFolder_noKX(3, 2), QStringLiteral("/mnt/projects/"));
    EXPECT_EQ(job->companyProjectRootFolder_noKX(3, 4), QStringLiteral("/mnt/projects/commercial/scenes/"));
    EXPECT_EQ(job->companyProjectRootFolder_noKX(0, 3), QStringLiteral("/render/out/commercial/"));
    job->imageDir.set("\\\\server\\share\\out\\x.exr");
    EXPECT_EQ(job->companyProjectRootFolder_noKX(9, 2), QStringLiteral("//server/share/"));

    EXPECT_EQ(job->jobFilesFolderName_Resolved(nullptr), QStringLiteral("none/"));
    job->jobFilesFolder.set("/farm/jobs/123");
    job->jobFilesFolderMode = 3;
    EXPECT_EQ(job->jobFilesFolderName_Resolved(nullptr), QStringLiteral("/farm/jobs/123/"));
}

TEST_F(JobSubmitterTexts, JobLogLineIsCompletedTo55Columns) {
    job->ID = 0; // "{AAA }"
    job->projectName.set("Prj");
    job->renderApp.set("Maya");
    job->jobGroupTexts[0].set("a");
    job->jobGroupTexts[2].set("c");
    job->sceneName.set("/p/Scenes/sh/l.ma");
    const QString head = QStringLiteral("{AAA } Prj|Maya|a--c|");
    const QString scene = QStringLiteral(" / p / sh / l");
    EXPECT_EQ(job->getJobLogString(false, 0), (head + scene).leftJustified(55));
    EXPECT_EQ(job->getJobLogString(true, 0), (head + QStringLiteral("PREVIEW|") + scene).leftJustified(55));
    EXPECT_EQ(job->getJobLogString(false, 0).size(), 55);

    // A long scene: only its last characters fill the line up to 55.
    job->sceneName.set("/projects/RENDER_PICTURES/a_very_long_sequence_name/shot_0100_lighting_v012.ma");
    const QString line = job->getJobLogString(false, 12);
    const QString longHead = QStringLiteral("{AAA } Low CPU 12min   Prj|Maya|a--c|");
    EXPECT_EQ(line.size(), 55);
    EXPECT_TRUE(line.startsWith(longHead)) << qPrintable(line);
    EXPECT_TRUE(line.endsWith(QStringLiteral(" / 0100_lighting_v012").right(55 - longHead.size())))
        << qPrintable(line);

    // A drive prefix keeps its separator; doubled separators are closed up.
    job->sceneName.set("C://prj/sh.ma");
    job->jobGroupTexts[0].clear();
    job->jobGroupTexts[2].clear();
    EXPECT_EQ(job->getJobLogString(false, 3),
              QStringLiteral("{AAA } Prj|Maya|--|C:/prj / sh").leftJustified(55));

    // No access to the output: no scene text.
    job->imageFileName.set(noAccessDescriptionShort);
    EXPECT_EQ(job->getJobLogString(false, 0), QStringLiteral("{AAA } Prj|Maya|--|").leftJustified(55));
    job->imageFileName.set(noAccessDescriptionShort_noprojectroot);
    EXPECT_EQ(job->getJobLogString(false, 0), QStringLiteral("{AAA } Prj|Maya|--|").leftJustified(55));

    // A head of 55 characters or more takes no scene text at all.
    job->imageFileName.clear();
    job->projectName.set(QString(50, QLatin1Char('P')));
    EXPECT_EQ(job->getJobLogString(false, 0),
              QStringLiteral("{AAA } ") + QString(50, QLatin1Char('P')) + QStringLiteral("|Maya|--|"));
}

TEST_F(JobSubmitterTexts, ShortLogLineAndShortID) {
    job->ID = 0;
    job->renderApp.set("Houdini");
    job->projectName.set("Commercial2026");
    EXPECT_EQ(job->getJobLogStringShort(false, 3), QStringLiteral("{AAA }Houd|Commercial"));
    EXPECT_EQ(job->getJobLogStringShort(true, 4), QStringLiteral("{AAA } LowCPU 4min|Houd|Commercial"));
    job->ID = (quint64(123456789) << 24) | 26;
    EXPECT_EQ(job->ID2ShortID(), 3160346u);
}

TEST_F(JobSubmitterTexts, LengthWordsFromElsewhereReadAsTheCapacity) {
    job->sceneName.set(QString(500, QLatin1Char('s')));
    job->imageFileName.set("img");
    const QString authAtCapacity = job->authStr();
    // A record from another process may carry any length word; every text is read as at most its
    // capacity, so nothing is read past a field (the sanitizer run checks that).
    job->sceneName.length = 0xFFFF;
    job->imageFileName.length = 0xFFFF;
    job->projectName.length = 0xFFFF;
    job->userName.length = 0xFFFF;
    job->renderApp.length = 0xFFFF;
    job->renderer.length = 0xFFFF;
    job->jobGroupTexts[2].length = 0xFFFF;
    job->sceneDatabaseDir.length = 0xFFFF;
    job->imageDir.length = 0xFFFF;
    job->jobFilesFolder.length = 0xFFFF;
    EXPECT_EQ(job->authStr(), authAtCapacity);
    EXPECT_EQ(job->sceneName.toQString().size(), 500);
    EXPECT_TRUE(job->getJobLogString(true, 9).startsWith(job->IDstr()));
    EXPECT_EQ(job->getSceneDisplayName(), QString(500, QLatin1Char('s')));
    EXPECT_FALSE(job->getJobLogStringShort(false, 0).isEmpty());
    EXPECT_EQ(job->jobFilesFolderName_Resolved(nullptr).size(), 501);
    EXPECT_FALSE(job->companyProjectRootFolder_noKX(3, 1).isEmpty());
    job->colorMode = 14;
    job->setRandomColor();
    EXPECT_GE(job->colorMode, 1u);
    const _JobMinInfo mi = job->toMinInfo(_kxTime(true));
    EXPECT_EQ(mi.projectName.len(), 50);
    EXPECT_EQ(mi.projectName.length, 50);
}
