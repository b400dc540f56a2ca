// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobs/frameset.h"

#include "kxdatabuffer.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

using namespace kxJ;

namespace {

// Sets are 8 KB: tests keep them on the heap.
using SetPtr = std::unique_ptr<_binaryFrameSet>;

SetPtr makeSet(qint32 start, const std::vector<int>& indexes, int maxIndex = -2, quint8 fileNumber = 0) {
    SetPtr set = std::make_unique<_binaryFrameSet>();
    set->startFrame = start;
    set->isFileNumber = fileNumber;
    int highest = -1;
    for (int i : indexes) {
        set->flags[i] = 1;
        highest = std::max(highest, i);
    }
    set->maxIndex = qint16(maxIndex == -2 ? highest : maxIndex);
    return set;
}

std::vector<int> setIndexes(const _binaryFrameSet& set) {
    std::vector<int> out;
    for (int i = 0; i < _binaryFrameSet::flagCount; ++i)
        if (set.isSet(i))
            out.push_back(i);
    return out;
}

SetPtr fromFrameSetText(const char* text) {
    SetPtr set = std::make_unique<_binaryFrameSet>();
    set->fromString_FrameSet(_kxString8_allSize<1000>(text));
    return set;
}

/// The data inside a BitA85 form.
QByteArray bitPayload(const QByteArray& form) {
    _KX_DataBuffer plain;
    EXPECT_TRUE(_KX_DataBuffer(form).decompressTo(plain)) << plain.errorString().toStdString();
    return plain.toByteArray();
}

/// A BitA85 form around any payload.
QByteArray bitForm(const QByteArray& payload) {
    _KX_DataBuffer packed;
    EXPECT_TRUE(packed.compressFrom(_KX_DataBuffer(payload), _KX_DataBuffer::compressionZstd, 0));
    return packed.toByteArray();
}

QByteArray bitHead(qint32 start, qint16 maxIndex) {
    QByteArray head(6, '\0');
    qToLittleEndian(start, head.data());
    qToLittleEndian(maxIndex, head.data() + 4);
    return head;
}

bool isEmptyFileNumberSet(const _binaryFrameSet& set) {
    return set.structID == 2817 && set.structVersion == 1 && set.maxIndex == -1 && set.startFrame == 0 &&
           set.isFileNumber == 1 && setIndexes(set).empty();
}

} // namespace

TEST(FrameSet, EmptySetAndLayout) {
    const SetPtr set = std::make_unique<_binaryFrameSet>();
    EXPECT_EQ(set->structID, 2817);
    EXPECT_EQ(set->structVersion, 1);
    EXPECT_EQ(set->reserved4, 0u);
    EXPECT_EQ(set->reserved8, 0u);
    EXPECT_EQ(set->startFrame, 0);
    EXPECT_EQ(set->isFileNumber, 0);
    EXPECT_EQ(set->maxIndex, -1);
    const quint8 zeros[_binaryFrameSet::flagCount] = {};
    EXPECT_EQ(std::memcmp(set->flags, zeros, sizeof(zeros)), 0);
    // The block as another process reads it.
    const auto* bytes = reinterpret_cast<const unsigned char*>(set.get());
    EXPECT_EQ(bytes[0] | (bytes[1] << 8), 2817);
    EXPECT_EQ(bytes[8022] | (bytes[8023] << 8), 0xFFFF);
}

TEST(FrameSet, StoredMaxIndexIsClampedOnRead) {
    SetPtr set = makeSet(0, {0, 7999}, 9000);
    EXPECT_EQ(set->lastIndex(), 7999);
    EXPECT_TRUE(set->isSet(7999));
    set->maxIndex = -300;
    EXPECT_EQ(set->lastIndex(), -1);
    EXPECT_FALSE(set->isSet(0));
    EXPECT_EQ(set->asString_FrameSet(), QString());
}

TEST(FrameSet, ConvertStartFrameOnce) {
    SetPtr set = makeSet(1001, {0});
    set->convertStartFrame2Filenumber(-1000);
    EXPECT_EQ(set->startFrame, 1);
    EXPECT_EQ(set->isFileNumber, 1);
    set->convertStartFrame2Filenumber(50);
    EXPECT_EQ(set->startFrame, 1);

    SetPtr high = makeSet(INT_MAX - 1, {0});
    high->convertStartFrame2Filenumber(10);
    EXPECT_EQ(high->startFrame, INT_MAX);
}

TEST(FrameSet, Equality) {
    struct Case {
        const char* name;
        void (*change)(_binaryFrameSet&);
        bool equal;
    };
    const Case cases[] = {
        {"same", [](_binaryFrameSet&) {}, true},
        {"other maxIndex", [](_binaryFrameSet& s) { s.maxIndex = 11; }, false},
        {"other start", [](_binaryFrameSet& s) { s.startFrame = 11; }, false},
        {"other isFileNumber", [](_binaryFrameSet& s) { s.isFileNumber = 1; }, false},
        {"flag inside", [](_binaryFrameSet& s) { s.flags[5] = 0; }, false},
        {"flag at maxIndex", [](_binaryFrameSet& s) { s.flags[10] = 0; }, false},
        {"flag above maxIndex", [](_binaryFrameSet& s) { s.flags[11] = 1; }, true},
        {"flag byte 2 is set like 1", [](_binaryFrameSet& s) { s.flags[5] = 2; }, true},
        {"structure words",
         [](_binaryFrameSet& s) {
             s.structVersion = 7;
             s.reserved8 = 3;
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SetPtr a = makeSet(10, {0, 5, 10});
        SetPtr b = makeSet(10, {0, 5, 10});
        c.change(*b);
        EXPECT_EQ(*a == *b, c.equal);
        EXPECT_EQ(*a != *b, !c.equal);
        EXPECT_EQ(*b == *a, c.equal);
    }

    // Empty sets with the same start are equal whatever their flags hold; stored maxIndex values are
    // compared as read.
    EXPECT_EQ(*makeSet(3, {4, 9}, -1), *makeSet(3, {}));
    EXPECT_EQ(*makeSet(3, {4}, -9), *makeSet(3, {}));
    EXPECT_NE(*makeSet(3, {}), *makeSet(4, {}));
    EXPECT_EQ(*makeSet(3, {7999}, 12000), *makeSet(3, {7999}, 7999));
}

TEST(FrameSet, BoolFormWriter) {
    struct Case {
        qint32 start;
        std::vector<int> indexes;
        int maxIndex;
        const char* text;
    };
    const Case cases[] = {
        {1001, {0, 2, 3}, -2, "3E9:1011"},
        {0, {}, -2, "0:"},
        {0, {2}, 4, "0:00100"},
        {-1, {0}, -2, "FFFFFFFF:1"},
        {INT_MIN, {1}, -2, "80000000:01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_STREQ(makeSet(c.start, c.indexes, c.maxIndex)->asString_Bool().data(), c.text);
    }

    // At most 1000 characters in all.
    SetPtr full = makeSet(0x10, {}, 7999);
    std::memset(full->flags, 1, sizeof(full->flags));
    const _kxString8_allSize<1000> text = full->asString_Bool();
    EXPECT_EQ(text.len(), 1000);
    EXPECT_EQ(text.toQString(), QStringLiteral("10:") + QString(997, QLatin1Char('1')));
}

TEST(FrameSet, WritersTakeTheOffsetOnlyForFrames) {
    const int offset = -1000;
    SetPtr frames = makeSet(1001, {0, 1}, -2, 0);
    const SetPtr before = std::make_unique<_binaryFrameSet>(*frames);
    EXPECT_STREQ(frames->asString_Bool(&offset).data(), "1:11");
    EXPECT_EQ(bitPayload(frames->asString_BitA85(&offset)).left(4), bitHead(1, 0).left(4));
    EXPECT_EQ(std::memcmp(frames.get(), before.get(), sizeof(_binaryFrameSet)), 0);

    SetPtr numbers = makeSet(1001, {0, 1}, -2, 1);
    EXPECT_STREQ(numbers->asString_Bool(&offset).data(), "3E9:11");
    EXPECT_EQ(bitPayload(numbers->asString_BitA85(&offset)).left(4), bitHead(1001, 0).left(4));
    EXPECT_STREQ(frames->asString_Bool(nullptr).data(), "3E9:11");
}

TEST(FrameSet, BoolFormReader) {
    struct Case {
        const char* text;
        bool readable;
        qint32 start;
        std::vector<int> indexes;
    };
    const Case cases[] = {
        {"3E9:1011", true, 1001, {0, 2, 3}},
        {"3e9:1x01", true, 1001, {0, 3}},
        {"0:", true, 0, {}},
        {"FFFFFFFF:01", true, -1, {1}},
        {"000000000000000000000000000003E9:1", true, 1001, {0}}, // 32 digits
        {"0000000000000000000000000000003E9:1", false, 0, {}},   // 33 digits
        {"100000000:1", false, 0, {}},                           // beyond 32 bits
        {"", false, 0, {}},
        {":111", false, 0, {}},
        {"3E9", false, 0, {}},
        {"3E9 :1", false, 0, {}},
        {"G:1", false, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SetPtr set = makeSet(5, {1}, -2, 0);
        set->fromString_Bool(_kxString8_allSize<1000>(c.text));
        EXPECT_EQ(set->isFileNumber, 1);
        if (!c.readable) {
            EXPECT_TRUE(isEmptyFileNumberSet(*set));
            continue;
        }
        EXPECT_EQ(set->startFrame, c.start);
        // The flag set before stays set.
        std::vector<int> expected = c.indexes;
        if (std::find(expected.begin(), expected.end(), 1) == expected.end())
            expected.push_back(1);
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(setIndexes(*set), expected);
        EXPECT_EQ(set->maxIndex, expected.back());
    }
}

TEST(FrameSet, BoolFormRoundTrip) {
    const SetPtr set = makeSet(-77, {0, 3, 4, 500, 990});
    SetPtr back = std::make_unique<_binaryFrameSet>();
    back->isFileNumber = 1;
    back->fromString_Bool(set->asString_Bool());
    set->isFileNumber = 1;
    EXPECT_EQ(*back, *set);
}

TEST(FrameSet, StaleFlagsAboveMaxIndexStayUnset) {
    // Bytes left above maxIndex by an earlier, longer set.
    SetPtr set = makeSet(0, {0, 3, 6, 9}, 0, 1);
    set->fromString_Bool(_kxString8_allSize<1000>("0:0000001"));
    EXPECT_EQ(setIndexes(*set), (std::vector<int>{0, 6}));
    EXPECT_EQ(set->flags[3], 0);

    SetPtr merged = makeSet(0, {0, 3, 6, 9}, 0, 1);
    merged->mergeWith(*makeSet(0, {8}, -2, 1));
    EXPECT_EQ(setIndexes(*merged), (std::vector<int>{0, 8}));
    EXPECT_EQ(merged->asString_FrameSet(), QStringLiteral("0 , 8 , "));
}

TEST(FrameSet, BitA85Packing) {
    struct Case {
        int maxIndex;
        std::vector<int> indexes;
        QByteArray flagBytes;
    };
    const Case cases[] = {
        {-1, {}, QByteArray(1, '\0')},
        {7, {0, 7}, QByteArray("\x81\x00", 2)},
        {8, {1, 8}, QByteArray("\x02\x01", 2)},
        {15, {15}, QByteArray("\x00\x80\x00", 3)},
        // Bits above maxIndex are not written even when their bytes hold a flag.
        {2, {0, 2, 5}, QByteArray("\x05", 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.maxIndex);
        const SetPtr set = makeSet(0x01020304, c.indexes, c.maxIndex);
        const QByteArray form = set->asString_BitA85();
        EXPECT_EQ(quint8(form.at(5)), 3) << "compression type";
        EXPECT_EQ(bitPayload(form), bitHead(0x01020304, qint16(c.maxIndex)) + c.flagBytes);
    }

    // Any flag byte other than 0 is a set flag.
    SetPtr odd = makeSet(0, {}, 9);
    odd->flags[0] = 0x80;
    odd->flags[1] = 2;
    odd->flags[3] = 0xFF;
    odd->flags[9] = 0x7F;
    EXPECT_EQ(bitPayload(odd->asString_BitA85()).mid(6), QByteArray("\x0B\x02", 2));

    SetPtr full = makeSet(1, {}, 7999);
    std::memset(full->flags, 1, sizeof(full->flags));
    EXPECT_EQ(bitPayload(full->asString_BitA85()), bitHead(1, 7999) + QByteArray(1000, '\xFF') + '\0');
}

TEST(FrameSet, BitA85RoundTrip) {
    std::mt19937 random(7);
    for (int maxIndex : {-1, 0, 7, 8, 9, 4000, 7999}) {
        SCOPED_TRACE(maxIndex);
        SetPtr set = makeSet(-123456, {}, maxIndex, 1);
        for (int i = 0; i <= maxIndex; ++i)
            set->flags[i] = quint8(random() & 1u);
        SetPtr back = makeSet(99, {0, 1, 2}, -2, 0);
        back->structVersion = 9;
        back->fromString_BitA85(set->asString_BitA85());
        EXPECT_EQ(*back, *set);
        // The structure words are not touched.
        EXPECT_EQ(back->structVersion, 9);
    }
}

TEST(FrameSet, BitA85ReaderRefusesBadData) {
    struct Case {
        const char* name;
        QByteArray data;
    };
    QByteArray corrupt = bitForm(bitHead(1, 7) + QByteArray(2, '\xFF'));
    corrupt[corrupt.size() - 1] = char(corrupt.at(corrupt.size() - 1) ^ 0x5A);
    const Case cases[] = {
        {"empty", QByteArray()},
        {"not compressed", QByteArray("1001-1010")},
        {"corrupt", corrupt},
        {"cut", bitForm(bitHead(1, 7) + QByteArray(2, '\xFF')).chopped(3)},
        {"no head", bitForm(QByteArray(5, '\0'))},
        {"maxIndex 8000", bitForm(bitHead(1, 8000) + QByteArray(1001, '\xFF'))},
        {"maxIndex -2", bitForm(bitHead(1, -2) + QByteArray(1, '\xFF'))},
        {"maxIndex -32768", bitForm(bitHead(1, -32768) + QByteArray(1, '\xFF'))},
        {"short flags", bitForm(bitHead(1, 16) + QByteArray(2, '\xFF'))},
        {"larger than any set", bitForm(bitHead(1, 7) + QByteArray(2000, '\xFF'))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetPtr set = makeSet(42, {0, 1}, -2, 0);
        set->fromString_BitA85(c.data);
        EXPECT_TRUE(isEmptyFileNumberSet(*set));
    }

    // Without the writer's last byte the flags are still all there.
    SetPtr set = std::make_unique<_binaryFrameSet>();
    set->fromString_BitA85(bitForm(bitHead(5, 15) + QByteArray("\x01\x80", 2)));
    EXPECT_EQ(set->startFrame, 5);
    EXPECT_EQ(setIndexes(*set), (std::vector<int>{0, 15}));
}

TEST(FrameSet, FrameSetReader) {
    struct Case {
        const char* text;
        qint32 start;
        std::vector<int> indexes;
    };
    const Case cases[] = {
        {"1001-1010", 1001, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"1-9+4", 1, {0, 4, 8}},
        {"1-10+4", 1, {0, 4, 8}},
        // Every listed frame, whatever the order of the parts.
        {"1001-1010,1020", 1001, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 19}},
        {"1020,1001-1003", 1001, {0, 1, 2, 19}},
        {" 5 , , 7 ,", 5, {0, 2}},
        {"5+3", 5, {0}},
        {"3-1", 3, {}},
        {"1-4+0", 1, {0, 1, 2, 3}},
        {"1-4+-2", 1, {0, 1, 2, 3}},
        {"x-2", 0, {0, 1, 2}},
        {"-2", 0, {0, 1, 2}},
        {"abc", 0, {0}},
        {"99999999999999999999", 0, {0}},
        {"", 0, {}},
        {" , ", 0, {}},
        {"10, 8010", 10, {0}},
        {"10, 8009", 10, {0, 7999}},
        {"1001 - 1003", 1001, {0, 1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const SetPtr set = fromFrameSetText(c.text);
        EXPECT_EQ(set->isFileNumber, 1);
        EXPECT_EQ(set->startFrame, c.start);
        EXPECT_EQ(setIndexes(*set), c.indexes);
        EXPECT_EQ(set->maxIndex, c.indexes.empty() ? -1 : c.indexes.back());
    }
}

TEST(FrameSet, FrameSetReaderClipsLongAndFarRanges) {
    // Two billion frames are not walked: the range is clipped to the set's 8000 indexes first.
    const SetPtr huge = fromFrameSetText("1-2000000000");
    EXPECT_EQ(huge->startFrame, 1);
    EXPECT_EQ(huge->maxIndex, 7999);
    EXPECT_EQ(setIndexes(*huge).size(), 8000u);

    // Frames at the top of 32 bits neither wrap nor leave the set.
    const SetPtr top = fromFrameSetText("2147483640-2147483647");
    EXPECT_EQ(top->startFrame, 2147483640);
    EXPECT_EQ(setIndexes(*top), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));

    const SetPtr stepped = fromFrameSetText("0-9000000000000000000+3000000000000000000");
    EXPECT_EQ(setIndexes(*stepped), (std::vector<int>{0}));

    // A start beyond 32 bits is kept at the highest one; frames far from it fall outside.
    const SetPtr high = fromFrameSetText("5000000000, 6000000000");
    EXPECT_EQ(high->startFrame, INT_MAX);
    EXPECT_TRUE(setIndexes(*high).empty());
}

TEST(FrameSet, FrameSetReaderStartsEmpty) {
    SetPtr set = makeSet(50, {0, 1, 2, 3}, -2, 0);
    set->fromString_FrameSet(_kxString8_allSize<1000>("52"));
    EXPECT_EQ(set->startFrame, 52);
    EXPECT_EQ(set->isFileNumber, 1);
    EXPECT_EQ(setIndexes(*set), (std::vector<int>{0}));
}

TEST(FrameSet, FrameSetWriter) {
    struct Case {
        std::vector<int> indexes;
        int maxIndex;
        const char* text;
    };
    const Case cases[] = {
        {{}, -2, ""},
        {{0}, -2, "0 , "},
        {{7}, -2, "7 , "},
        {{0, 1}, -2, "0 , 1 , "},
        {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, -2, "0-9 , "},
        {{0, 4, 8}, -2, "0-8+4 , "},
        {{0, 2, 4, 5}, -2, "0-4+2 , 5 , "},
        {{0, 1, 2, 10}, -2, "0-2 , 10 , "},
        {{0, 1, 2, 3, 5}, -2, "0-3 , 5 , "},
        {{0, 3, 6, 7}, -2, "0-6+3 , 7 , "},
        {{1, 2, 3, 6, 9, 12}, -2, "1-3 , 6-12+3 , "},
        // Three of a step need room: the step stays below (maxIndex - a) / 2 + 1 and below 250.
        {{0, 3, 6}, -2, "0-6+3 , "},
        {{0, 249, 498}, -2, "0-498+249 , "},
        {{0, 250, 500}, -2, "0 , 250 , 500 , "},
        // An unset flag at maxIndex changes nothing.
        {{0, 4, 8}, 9, "0-8+4 , "},
        {{7997, 7998, 7999}, -2, "7997-7999 , "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(makeSet(1000, c.indexes, c.maxIndex)->asString_FrameSet(), QLatin1String(c.text));
    }
}

TEST(FrameSet, FrameSetFormRoundTrip) {
    std::mt19937 random(11);
    for (int density : {2, 3, 8, 40}) {
        SCOPED_TRACE(density);
        SetPtr set = makeSet(0, {}, 199);
        for (int i = 0; i <= 199; ++i)
            set->flags[i] = random() % unsigned(density) == 0 ? 1 : 0;
        set->flags[0] = 1;
        const QString text = set->asString_FrameSet();
        ASSERT_LE(text.size(), 1000);
        const SetPtr back = fromFrameSetText(text.toLatin1().constData());
        EXPECT_EQ(back->startFrame, 0);
        EXPECT_EQ(setIndexes(*back), setIndexes(*set));
    }
}

TEST(FrameSet, Merge) {
    // Other starts earlier: the result is rebuilt on its start.
    SetPtr set = makeSet(110, {0, 2}, -2, 1);
    set->mergeWith(*makeSet(100, {0, 5}, -2, 1));
    EXPECT_EQ(set->startFrame, 100);
    EXPECT_EQ(set->isFileNumber, 1);
    EXPECT_EQ(setIndexes(*set), (std::vector<int>{0, 5, 10, 12}));
    EXPECT_EQ(set->maxIndex, 12);

    // Other starts later.
    SetPtr later = makeSet(100, {0}, -2, 0);
    later->mergeWith(*makeSet(103, {0, 1}, -2, 0));
    EXPECT_EQ(later->startFrame, 100);
    EXPECT_EQ(setIndexes(*later), (std::vector<int>{0, 3, 4}));

    // Different kinds of start do not merge.
    SetPtr frames = makeSet(100, {0}, -2, 0);
    const SetPtr numbers = makeSet(90, {0}, -2, 1);
    EXPECT_NE(*frames, *makeSet(100, {0}, -2, 1));
    frames->mergeWith(*numbers);
    EXPECT_EQ(*frames, *makeSet(100, {0}, -2, 0));

    // Flags that land beyond 7999 are dropped.
    SetPtr edge = makeSet(0, {0}, -2, 0);
    edge->mergeWith(*makeSet(7990, {0, 9, 10, 500}, -2, 0));
    EXPECT_EQ(setIndexes(*edge), (std::vector<int>{0, 7990, 7999}));
    EXPECT_EQ(edge->maxIndex, 7999);

    // A distance beyond 32 bits does not wrap into the set.
    SetPtr far = makeSet(INT_MIN, {0}, -2, 0);
    far->mergeWith(*makeSet(INT_MAX, {0, 1}, -2, 0));
    EXPECT_EQ(setIndexes(*far), (std::vector<int>{0}));
    SetPtr farBack = makeSet(INT_MAX, {0}, -2, 0);
    farBack->mergeWith(*makeSet(INT_MIN, {0}, -2, 0));
    EXPECT_EQ(farBack->startFrame, INT_MIN);
    EXPECT_EQ(setIndexes(*farBack), (std::vector<int>{0}));

    // Merging a set into itself changes nothing.
    SetPtr self = makeSet(5, {1, 2, 9}, -2, 0);
    self->mergeWith(*self);
    EXPECT_EQ(*self, *makeSet(5, {1, 2, 9}, -2, 0));

    // A stored maxIndex beyond the flags is read as 7999.
    SetPtr wide = makeSet(0, {7999}, 30000, 0);
    wide->mergeWith(*makeSet(1, {0}, -2, 0));
    EXPECT_EQ(wide->maxIndex, 7999);
    EXPECT_EQ(setIndexes(*wide), (std::vector<int>{1, 7999}));
}
