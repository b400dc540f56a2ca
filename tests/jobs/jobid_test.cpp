// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobs/jobconstants.h"
#include "jobs/jobid.h"

#include <gtest/gtest.h>

using namespace kxJ;

// Record members sit on packed boundaries: tests compare copies of them, never references to them.
template <typename T>
T copyOf(T v) {
    return v;
}

namespace {

quint64 makeID(quint8 preID, quint8 b1, quint8 b2, quint32 value, quint8 top = 0) {
    return quint64(preID) | (quint64(b1) << 8) | (quint64(b2) << 16) | (quint64(value) << 24) |
           (quint64(top) << 56);
}

} // namespace

TEST(JobId, WorkedExampleTable) {
    struct Case {
        quint8 preID, b1, b2;
        const char* shortText;
        const char* fullText;
        quint32 shortValue;
    };
    const Case cases[] = {
        {0, 0, 0, "{KT9 }", "KT9_29AA", 3160320},
        {1, 0, 0, "{KT9a}", "KT9a_29AA", 3160321},
        {26, 3, 40, "{KT9bb}", "KT9bb_29ED", 3160346},
        {255, 0, 0, "{KT9lq}", "KT9lq_29AA", 3160575},
    };
    for (const Case& c : cases) {
        const quint64 id = makeID(c.preID, c.b1, c.b2, 123456789);
        SCOPED_TRACE(c.shortText);
        EXPECT_EQ(ID2str(id), QString::fromLatin1(c.shortText));
        EXPECT_EQ(ID2strFull(id), QString::fromLatin1(c.fullText));
        EXPECT_EQ(_IDShort::fromID(id).int32(), c.shortValue);
        EXPECT_EQ(_IDShort::fromID(id).str(), ID2str(id));
    }
}

TEST(JobId, DecompositionIsMemoryOrder) {
    const quint64 id = makeID(7, 0x11, 0x22, 0xA1B2C3D4, 0x5E);
    const _IDDecomp d = _IDDecomp::fromID(id);
    EXPECT_EQ(d.preID, 7);
    EXPECT_EQ(d.idByte1, 0x11);
    EXPECT_EQ(d.idByte2, 0x22);
    EXPECT_EQ(copyOf(d.idValue), 0xA1B2C3D4u);
    EXPECT_EQ(d.reserved_7, 0x5E);
    EXPECT_EQ(d.toID(), id);
    EXPECT_EQ(IDmain(id), makeID(0, 0x11, 0x22, 0xA1B2C3D4, 0x5E));
    EXPECT_EQ(IDpre(id), 7);
}

TEST(JobId, ZeroAndWrapping) {
    EXPECT_EQ(ID2str(0), QStringLiteral("{AAA }"));
    EXPECT_EQ(ID2strFull(0), QStringLiteral("AAA_AAAA"));
    // T = 46656 = 36^3 shows the same three letters as T = 0.
    EXPECT_EQ(ID2str(makeID(0, 0, 0, 46656u * 10000u)), QStringLiteral("{AAA }"));
    // Family letters: 24 is z, 25 is b followed by a.
    EXPECT_EQ(ID2str(makeID(24, 0, 0, 0)), QStringLiteral("{AAAz}"));
    EXPECT_EQ(ID2str(makeID(25, 0, 0, 0)), QStringLiteral("{AAAba}"));
    // The last letters of the table: T = 35 is "-", T = 34 is "+".
    EXPECT_EQ(ID2str(makeID(0, 0, 0, 350000)), QStringLiteral("{AA- }"));
    EXPECT_EQ(ID2str(makeID(0, 0, 0, 340000)), QStringLiteral("{AA+ }"));
}

TEST(JobId, ExtraBytesChangeOnlyTheFullText) {
    const quint64 a = makeID(3, 0, 0, 987654321);
    const quint64 b = makeID(3, 9, 200, 987659999);
    EXPECT_EQ(ID2str(a), ID2str(b));
    EXPECT_EQ(_IDShort::fromID(a).int32(), _IDShort::fromID(b).int32());
    EXPECT_NE(ID2strFull(a), ID2strFull(b));
}

TEST(JobId, ShortFormRoundTripsEvery32BitPattern) {
    const quint32 values[] = {0u, 1u, 0xFFu, 0x100u, 0x12345678u, 0xFFFFFFFFu, 0x80000001u, 0x00FFFF00u};
    for (quint32 v : values) {
        const _IDShort s = _IDShort::fromInt32(v);
        EXPECT_EQ(s.int32(), v);
        EXPECT_EQ(s.preID, v & 0xFF);
        EXPECT_EQ(copyOf(s.idMid), (v >> 8) & 0xFFFF);
        EXPECT_EQ(s.idTop, v >> 24);
    }
}

// The short form stands for the identifier with main number X * 10000 in 32 bits: for a value no real
// identifier gives, that number wraps, and the text is the wrapped identifier's.
TEST(JobId, ShortFormTextIsThatOfTheIdentifierItStandsFor) {
    struct Case {
        quint32 value;
        const char* text;
    };
    const Case cases[] = {
        {0x12345678u, "{F3Jez}"}, // X = 0x123456: X * 10000 wraps past 2^32
        {0xFFFFFF00u, "{V1X }"},
        {0x00000000u, "{AAA }"},
        {0x00303901u, "{KT9a}"}, // X = 12345, the worked example's T: no wrap
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(_IDShort::fromInt32(c.value).str(), QString::fromLatin1(c.text));
    }
}

TEST(JobId, LetterTables) {
    EXPECT_EQ(ID_letters.size(), 36);
    EXPECT_EQ(ID_letters_small.size(), 24);
    EXPECT_FALSE(ID_letters.contains(QLatin1Char('I')));
    EXPECT_FALSE(ID_letters.contains(QLatin1Char('0')));
    EXPECT_FALSE(ID_letters_small.contains(QLatin1Char('i')));
    EXPECT_FALSE(ID_letters_small.contains(QLatin1Char('m')));
}
