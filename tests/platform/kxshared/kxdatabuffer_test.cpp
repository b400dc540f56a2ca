// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxdatabuffer.h"

#include "kxcrc.h"

#include "tests/qstringprint.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

QByteArray randomBytes(int n, quint32 seed) {
    QRandomGenerator gen(seed);
    QByteArray b(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i)
        b[i] = char(gen.generate() & 0xFF);
    return b;
}

void putLE(QByteArray& b, int at, quint64 value, int width) {
    for (int i = 0; i < width; ++i)
        b[at + i] = char((value >> (8 * i)) & 0xFF);
}

QByteArray compressed(const QByteArray& data, quint32 tag, int type) {
    _KX_DataBuffer source(data, tag), packed;
    EXPECT_TRUE(packed.compressFrom(source, type, 0)) << packed.errorString().toStdString();
    return packed.toByteArray();
}

} // namespace

TEST(KxDataBuffer, AppendReadResize) {
    _KX_DataBuffer b;
    EXPECT_TRUE(b.isEmpty());
    const quint32 start = 0x01020304;
    const quint16 maxIndex = 7;
    ASSERT_TRUE(b.append(&start, 4));
    ASSERT_TRUE(b.append(&maxIndex, 2));
    ASSERT_TRUE(b.append(QByteArray("xyz")));
    EXPECT_EQ(b.size(), 9);
    EXPECT_EQ(b.toByteArray(), QByteArray("\x04\x03\x02\x01\x07\x00xyz", 9));

    quint32 s = 0;
    quint16 m = 0;
    char rest[3];
    ASSERT_TRUE(b.read(&s, 4));
    ASSERT_TRUE(b.read(&m, 2));
    EXPECT_EQ(s, start);
    EXPECT_EQ(m, maxIndex);
    // Reading more than is left copies nothing and keeps the position.
    char tooMuch[4] = {'-', '-', '-', '-'};
    EXPECT_FALSE(b.read(tooMuch, 4));
    EXPECT_FALSE(b.errorString().isEmpty());
    EXPECT_EQ(tooMuch[0], '-');
    EXPECT_EQ(b.readPosition(), 6);
    EXPECT_FALSE(b.read(rest, -1));
    ASSERT_TRUE(b.read(rest, 3));
    EXPECT_EQ(std::memcmp(rest, "xyz", 3), 0);
    EXPECT_EQ(b.bytesLeft(), 0);

    // Growing fills with zeros; shrinking keeps the read position within the data.
    ASSERT_TRUE(b.resize(12));
    EXPECT_EQ(b.toByteArray().right(3), QByteArray(3, '\0'));
    ASSERT_TRUE(b.resize(2));
    EXPECT_EQ(b.readPosition(), 2);
    EXPECT_FALSE(b.resize(-1));
    EXPECT_EQ(b.size(), 2);
    b.setReadPosition(-5);
    EXPECT_EQ(b.readPosition(), 0);
    b.setReadPosition(50);
    EXPECT_EQ(b.readPosition(), 2);

    EXPECT_FALSE(b.append(nullptr, 3));
    EXPECT_FALSE(b.append("abc", -1));
    EXPECT_TRUE(b.append(nullptr, 0));
    EXPECT_FALSE(b.resize(_KX_DataBuffer::maxSize + 1));
    EXPECT_EQ(b.size(), 2);
}

TEST(KxDataBuffer, AppendingItsOwnBytesWhileGrowing) {
    _KX_DataBuffer b(QByteArray("abcd"));
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(b.append(b.data(), b.size())); // the source moves when the buffer grows
    EXPECT_EQ(b.size(), 4 << 10);
    EXPECT_EQ(b.toByteArray(), QByteArray("abcd").repeated(1 << 10));
}

TEST(KxDataBuffer, CopiesAreIndependent) {
    _KX_DataBuffer a(QByteArray("hello"), 77);
    _KX_DataBuffer b(a);
    b.data()[0] = 'j';
    EXPECT_EQ(a.toByteArray(), QByteArray("hello"));
    EXPECT_EQ(b.toByteArray(), QByteArray("jello"));
    EXPECT_EQ(b.typeTag(), 77u);
    a = b;
    EXPECT_EQ(a.toByteArray(), QByteArray("jello"));
    _KX_DataBuffer c(static_cast<_KX_DataBuffer&&>(a));
    EXPECT_EQ(c.toByteArray(), QByteArray("jello"));
    c = c;
    EXPECT_EQ(c.toByteArray(), QByteArray("jello"));
    c.clear();
    EXPECT_TRUE(c.isEmpty());
    EXPECT_EQ(c.typeTag(), 0u);
}

TEST(KxDataBuffer, CompressedRoundTrips) {
    struct Case {
        const char* name;
        QByteArray data;
        quint32 tag;
        int type;
        int level;
    };
    const Case cases[] = {
        {"empty zstd", QByteArray(), 0, 3, 0},
        {"empty stored", QByteArray(), 5, 0, 0},
        {"one byte", QByteArray("x"), 3074, 3, 0},
        {"random", randomBytes(1000, 1), 0xFFFFFFFFu, 3, 0},
        {"random large", randomBytes(300000, 2), 1, 3, 1},
        {"zeros", QByteArray(1 << 20, '\0'), 2, 3, 19},
        {"text stored", QByteArray("frame flags").repeated(100), 3, 0, 0},
        {"level clamped high", QByteArray("abc").repeated(1000), 4, 3, 1000},
        {"level clamped low", QByteArray("abc").repeated(1000), 4, 3, -1000000},
    };
    for (const Case& c : cases) {
        _KX_DataBuffer source(c.data, c.tag), packed, back;
        ASSERT_TRUE(packed.compressFrom(source, c.type, c.level)) << c.name;
        const QByteArray form = packed.toByteArray();
        ASSERT_GE(form.size(), _KX_DataBuffer::headerSize) << c.name;
        EXPECT_EQ(form.left(4), QByteArray("KXDB")) << c.name;
        EXPECT_EQ(int(form[5]), c.type) << c.name;
        quint32 tag = 0;
        quint64 size = 0;
        std::memcpy(&tag, form.constData() + 8, 4);
        std::memcpy(&size, form.constData() + 16, 8);
        EXPECT_EQ(tag, c.tag) << c.name;
        EXPECT_EQ(size, quint64(c.data.size())) << c.name;
        ASSERT_TRUE(packed.decompressTo(back)) << c.name << ": " << back.errorString().toStdString();
        EXPECT_EQ(back.toByteArray(), c.data) << c.name;
        EXPECT_EQ(back.typeTag(), c.tag) << c.name;
        EXPECT_EQ(back.readPosition(), 0) << c.name;
        EXPECT_TRUE(back.errorString().isEmpty()) << c.name;
    }
    // Compression does shrink what repeats.
    EXPECT_LT(compressed(QByteArray(1 << 20, '\0'), 0, 3).size(), 1000);
}

TEST(KxDataBuffer, CompressingAndDecompressingInPlace) {
    _KX_DataBuffer b(QByteArray("in place").repeated(50), 9);
    ASSERT_TRUE(b.compressFrom(b));
    EXPECT_EQ(b.toByteArray().left(4), QByteArray("KXDB"));
    ASSERT_TRUE(b.decompressTo(b));
    EXPECT_EQ(b.toByteArray(), QByteArray("in place").repeated(50));
    EXPECT_EQ(b.typeTag(), 9u);
}

TEST(KxDataBuffer, UnknownCompressionTypeLeavesTheBufferAlone) {
    _KX_DataBuffer source(QByteArray("data")), packed(QByteArray("before"));
    EXPECT_FALSE(packed.compressFrom(source, 7, 0));
    EXPECT_EQ(packed.toByteArray(), QByteArray("before"));
    EXPECT_TRUE(packed.errorString().contains(QStringLiteral("7")));
}

TEST(KxDataBuffer, BadCompressedInputIsRefusedCleanly) {
    const QByteArray data = randomBytes(5000, 3) + QByteArray(5000, 'a');
    const QByteArray good = compressed(data, 3074, 3);
    const QByteArray stored = compressed(data, 3074, 0);
    using Edit = std::function<QByteArray(QByteArray)>;
    struct Case {
        const char* name;
        QByteArray base;
        Edit edit;
    };
    const Case cases[] = {
        {"empty", good, [](QByteArray) { return QByteArray(); }},
        {"header cut", good, [](QByteArray b) { return b.left(31); }},
        {"wrong magic", good, [](QByteArray b) { return b[0] = 'Q', b; }},
        {"wrong version", good, [](QByteArray b) { return b[4] = 2, b; }},
        {"unknown type", good, [](QByteArray b) { return b[5] = 9, b; }},
        {"frame cut short", good, [](QByteArray b) { return b.left(b.size() - 10); }},
        {"frame missing", good, [](QByteArray b) { return b.left(32); }},
        {"bytes after the frame", good, [](QByteArray b) { return b + QByteArray("junk"); }},
        {"frame byte flipped", good,
         [](QByteArray b) { return b[b.size() / 2] = char(b[b.size() / 2] ^ 0x55), b; }},
        {"declared smaller", good, [](QByteArray b) { return putLE(b, 16, 9999, 8), b; }},
        {"declared larger", good, [](QByteArray b) { return putLE(b, 16, 10001, 8), b; }},
        {"declared huge", good, [](QByteArray b) { return putLE(b, 16, ~quint64(0), 8), b; }},
        {"declared at the limit", good,
         [](QByteArray b) { return putLE(b, 16, _KX_DataBuffer::maxSize, 8), b; }},
        {"checksum changed", good, [](QByteArray b) { return b[24] = char(b[24] ^ 1), b; }},
        {"stored size mismatch", stored, [](QByteArray b) { return b.left(b.size() - 1); }},
        {"stored byte changed", stored, [](QByteArray b) { return b[100] = char(b[100] ^ 1), b; }},
        {"stored as zstd", stored, [](QByteArray b) { return b[5] = 3, b; }},
    };
    for (const Case& c : cases) {
        // Each bad input is copied to a buffer of its exact size, so a read past it is seen.
        const _KX_DataBuffer bad(c.edit(c.base));
        _KX_DataBuffer target(QByteArray("previous"), 12);
        EXPECT_FALSE(bad.decompressTo(target)) << c.name;
        EXPECT_TRUE(target.isEmpty()) << c.name;
        EXPECT_EQ(target.typeTag(), 0u) << c.name;
        EXPECT_FALSE(target.errorString().isEmpty()) << c.name;
    }
    // The unchanged forms still decompress.
    _KX_DataBuffer ok;
    EXPECT_TRUE(_KX_DataBuffer(good).decompressTo(ok));
    EXPECT_EQ(ok.toByteArray(), data);
    EXPECT_TRUE(_KX_DataBuffer(stored).decompressTo(ok));
    EXPECT_EQ(ok.toByteArray(), data);
}

TEST(KxDataBuffer, CompressedFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("stats.kxdb"));
    const QByteArray records = randomBytes(20864, 4).repeated(2);
    _KX_DataBuffer out(records, 3074);
    ASSERT_TRUE(out.saveToFileCompressed(path)) << out.errorString().toStdString();

    _KX_DataBuffer in(QByteArray("old"));
    ASSERT_TRUE(in.loadFromFileCompressed(path)) << in.errorString().toStdString();
    EXPECT_EQ(in.toByteArray(), records);
    EXPECT_EQ(in.typeTag(), 3074u);

    EXPECT_FALSE(in.loadFromFileCompressed(dir.filePath(QStringLiteral("missing"))));
    EXPECT_TRUE(in.isEmpty());
    EXPECT_FALSE(in.errorString().isEmpty());

    QFile junk(dir.filePath(QStringLiteral("junk")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("KXDB and then nothing useful");
    junk.close();
    EXPECT_FALSE(in.loadFromFileCompressed(junk.fileName()));
    EXPECT_TRUE(in.isEmpty());

    EXPECT_FALSE(out.saveToFileCompressed(dir.filePath(QStringLiteral("no/such/dir/f"))));
    EXPECT_FALSE(out.errorString().isEmpty());
}

TEST(KxDataBuffer, DecompressionStopsAtTheSizeTheCallerExpects) {
    _KX_DataBuffer source(QByteArray(100, 'x'), 7);
    _KX_DataBuffer packed;
    ASSERT_TRUE(packed.compressFrom(source));
    struct Case {
        qint64 maxDataSize;
        bool unpacks;
    };
    // A limit outside 0 to maxSize is maxSize.
    for (const Case& c : {Case{100, true}, Case{99, false}, Case{0, false}, Case{-1, true},
                          Case{_KX_DataBuffer::maxSize + 1, true}}) {
        _KX_DataBuffer target(QByteArray("old"));
        EXPECT_EQ(packed.decompressTo(target, c.maxDataSize), c.unpacks) << c.maxDataSize;
        EXPECT_EQ(target.size(), c.unpacks ? 100 : 0) << c.maxDataSize;
        if (!c.unpacks) {
            EXPECT_EQ(target.errorString(),
                      QStringLiteral("declared size 100 is beyond the %1 bytes expected").arg(c.maxDataSize));
        }
    }
}

TEST(KxDataBuffer, AFileLargerThanAnyFormOfTheExpectedDataIsNotRead) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("stored.kxdb"));
    _KX_DataBuffer out(QByteArray(4096, 'a'), 1);
    ASSERT_TRUE(out.saveToFileCompressed(path, _KX_DataBuffer::compressionStored));
    _KX_DataBuffer in;
    EXPECT_TRUE(in.loadFromFileCompressed(path, 4096)) << in.errorString().toStdString();
    EXPECT_EQ(in.size(), 4096);
    EXPECT_FALSE(in.loadFromFileCompressed(path, 1000));
    EXPECT_EQ(in.errorString(), QStringLiteral("file too large"));
    EXPECT_EQ(in.size(), 0);
}
