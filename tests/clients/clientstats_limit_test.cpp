// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// The statistics loader against files that declare more data than a server's statistics can need: a
// small file that unpacks to gigabytes is refused before it is unpacked.
#include "clients/clientstats.h"

#include "tests/qstringprint.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

namespace {

using kxC::_server_clientInfo;

void putLE(QByteArray& bytes, int at, quint64 value, int width) {
    for (int i = 0; i < width; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

/// A compressed data buffer, as the runtime library writes one, whose zstd frame unpacks to `size`
/// zero bytes: one run-length block per 128 KB, so 2 GB take 65 KB. The checksum is not that of the
/// data; a loader that unpacks the frame before it looks at the size finds that out only at the end.
QByteArray zeroBomb(quint64 size, quint32 typeTag) {
    QByteArray file(32, '\0');
    file.replace(0, 4, "KXDB");
    putLE(file, 4, 1, 1);       // format version
    putLE(file, 5, 3, 1);       // zstd
    putLE(file, 8, typeTag, 4); // what the data holds
    putLE(file, 16, size, 8);   // declared size
    // The frame: magic, a header with an 8-byte content size and a 1 MB window, then the blocks.
    QByteArray frame(4 + 1 + 1 + 8, '\0');
    putLE(frame, 0, 0xFD2FB528u, 4);
    putLE(frame, 4, 0xC0, 1); // content size in 8 bytes, not a single segment, no checksum
    putLE(frame, 5, 0x50, 1); // window 1 << 20
    putLE(frame, 6, size, 8);
    constexpr quint64 block = 128 * 1024;
    for (quint64 done = 0; done < size; done += block) {
        const quint64 n = size - done < block ? size - done : block;
        const bool last = done + n == size;
        QByteArray header(4, '\0');
        putLE(header, 0, (n << 3) | (1u << 1) | (last ? 1u : 0u), 3); // run-length block of n bytes
        header[3] = 0;                                                // of zeros
        frame += header;
    }
    return file + frame;
}

/// The process's peak resident size in bytes so far.
qint64 peakResident() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_maxrss) * 1024;
}

TEST(StatisticsFileLimit, ASmallFileThatDeclaresGigabytesIsRefusedWithoutUnpackingIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("clientstats.bomb"));
    const quint64 declared = quint64(2) << 30; // 2 GB of zeros
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_GT(file.write(zeroBomb(declared, _server_clientInfo::typeTagVersion2)), 0);
    }
    EXPECT_LT(QFile(path).size(), 70 * 1024);

    _server_clientInfo stats;
    const qint64 before = peakResident();
    EXPECT_FALSE(stats.loadFromFile(path));
    const qint64 grown = peakResident() - before;
    EXPECT_EQ(stats.count(), 0);
    EXPECT_EQ(stats.clientInfos(), nullptr);
    EXPECT_EQ(stats.errorText(),
              QStringLiteral("Unable to load '") + path +
                  QStringLiteral("':declared size 2147483648 is beyond the %1 bytes expected")
                      .arg(_server_clientInfo::maxDataSize));
    // The file itself and the loader's work, nothing of the 2 GB it declares.
    EXPECT_LT(grown, 8 * 1024 * 1024) << "peak resident size grew by " << grown << " bytes";
}

TEST(StatisticsFileLimit, AFileOfOneRecordPerListEntryLoadsAndOneMoreIsRefused) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Case {
        quint32 tag;
        qint64 recordSize;
        int records;
        bool loads;
    };
    const int entries = kxC::_ClientList::entryCapacity;
    const Case cases[] = {
        {_server_clientInfo::typeTagVersion2, _server_clientInfo::recordSizeVersion2, entries, true},
        {_server_clientInfo::typeTagVersion2, _server_clientInfo::recordSizeVersion2, entries + 1, false},
        // Version-1 records are smaller: more of them fit the same data, as many as a list can need.
        {_server_clientInfo::typeTagVersion1, _server_clientInfo::recordSizeVersion1, entries, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.records);
        const QString path = dir.filePath(QStringLiteral("clientstats.%1.%2").arg(c.tag).arg(c.records));
        QByteArray data(qsizetype(c.recordSize * c.records), '\0');
        data[0] = 1;
        _KX_DataBuffer buffer(data, c.tag);
        ASSERT_TRUE(buffer.saveToFileCompressed(path)) << buffer.errorString().toStdString();
        _server_clientInfo stats;
        EXPECT_EQ(stats.loadFromFile(path), c.loads) << stats.errorText().toStdString();
        EXPECT_EQ(stats.count(), c.loads ? c.records : 0);
        if (!c.loads) {
            EXPECT_TRUE(stats.errorText().endsWith(
                QStringLiteral("is beyond the %1 bytes expected").arg(_server_clientInfo::maxDataSize)))
                << stats.errorText().toStdString();
        }
    }
}

} // namespace
