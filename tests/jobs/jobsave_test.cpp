// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobs/jobid.h"
#include "jobs/jobrecords.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace kxJ;

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
    EXPECT_EQ(id, job->ID);
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
    EXPECT_EQ(job->seqStart, 1.0);
    EXPECT_EQ(job->seqEnd, 1.0);
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
