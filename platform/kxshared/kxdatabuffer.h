// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "kxsharedexport.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

/// A growable byte buffer with a read position and a 32-bit type tag that says what the bytes hold.
///
/// Its compressed form is a 32-byte header followed by the payload, all numbers little-endian:
///
/// | Offset | Width | Meaning |
/// |---|---|---|
/// | 0 | 4 | "KXDB" |
/// | 4 | 1 | format version, 1 |
/// | 5 | 1 | compression type: 0 stored, 3 zstd |
/// | 6 | 2 | reserved, 0 |
/// | 8 | 4 | type tag of the data |
/// | 12 | 4 | reserved, 0 |
/// | 16 | 8 | size of the data |
/// | 24 | 8 | CRC-64 (`kxCRCCalc64`) of the data |
/// | 32 | ... | the data, stored or as one zstd frame |
///
/// Compressed input comes from files and other processes, so `decompressTo` trusts none of it: the
/// header, the declared size, the zstd frame and the checksum are all checked, and a bad input gives
/// false with an `errorString()`, never a read outside the input.
class KXSHARED_EXPORT _KX_DataBuffer {
public:
    /// Compression types of the compressed form.
    enum CompressionType : int { compressionStored = 0, compressionZstd = 3 };
    static constexpr qint64 headerSize = 32;
    /// The largest buffer: appends and resizes beyond it fail, and a compressed form that declares
    /// more is refused before anything is allocated.
    static constexpr qint64 maxSize = qint64(1) << 32;

    _KX_DataBuffer();
    explicit _KX_DataBuffer(const QByteArray& bytes, quint32 typeTag = 0);
    _KX_DataBuffer(const _KX_DataBuffer& other);
    _KX_DataBuffer(_KX_DataBuffer&& other) noexcept;
    _KX_DataBuffer& operator=(const _KX_DataBuffer& other);
    _KX_DataBuffer& operator=(_KX_DataBuffer&& other) noexcept;
    ~_KX_DataBuffer();

    const char* data() const { return bytes; }
    char* data() { return bytes; }
    qint64 size() const { return used; }
    bool isEmpty() const { return used == 0; }
    QByteArray toByteArray() const { return QByteArray(bytes, qsizetype(used)); }

    quint32 typeTag() const { return tag; }
    void setTypeTag(quint32 t) { tag = t; }

    /// Empties the buffer: size, read position and type tag 0.
    void clear();
    /// Appends `count` bytes. False (nothing appended) for a negative count, a null pointer with a
    /// positive count, or a size beyond `maxSize`.
    bool append(const void* source, qint64 count);
    bool append(const QByteArray& source) { return append(source.constData(), source.size()); }
    /// Sets the size; new bytes are 0, and the read position is kept within the data.
    bool resize(qint64 newSize);

    /// Copies the next `count` bytes to `target` and moves the read position past them. False, with
    /// nothing copied and the position unchanged, when fewer bytes are left.
    bool read(void* target, qint64 count);
    qint64 readPosition() const { return readPos; }
    /// Sets the read position, clamped into 0..size().
    void setReadPosition(qint64 position);
    qint64 bytesLeft() const { return used - readPos; }

    /// Makes this buffer the compressed form of `source` (its bytes and its type tag). `level` 0 is
    /// zstd's default; other levels are clamped into zstd's range. False, with this buffer unchanged,
    /// for an unknown compression type or a failure of the compressor.
    bool compressFrom(const _KX_DataBuffer& source, int compressionType = compressionZstd, int level = 0);
    /// Makes `target` the data held by this compressed form, with its type tag. On failure `target` is
    /// emptied and its `errorString()` says why.
    bool decompressTo(_KX_DataBuffer& target) const;
    /// As decompressTo(target), for a caller that expects at most `maxDataSize` bytes of data: a
    /// compressed form that declares more is refused before anything is allocated, so a small input
    /// that declares gigabytes costs no more memory than the caller expects. A limit outside 0 to
    /// `maxSize` is taken as `maxSize`.
    bool decompressTo(_KX_DataBuffer& target, qint64 maxDataSize) const;

    /// Writes the compressed form of this buffer to `path`.
    bool saveToFileCompressed(const QString& path, int compressionType = compressionZstd, int level = 0);
    /// Replaces this buffer with the data of the compressed file at `path`; on failure the buffer is
    /// empty and `errorString()` says why.
    bool loadFromFileCompressed(const QString& path);
    /// As loadFromFileCompressed(path), for at most `maxDataSize` bytes of data (see decompressTo); a
    /// file larger than any compressed form of that much data is refused before it is read.
    bool loadFromFileCompressed(const QString& path, qint64 maxDataSize);

    /// Why the last failing operation on this buffer failed; empty after a success.
    QString errorString() const { return error; }

    /// Makes room for `capacityNeeded` bytes without changing the data.
    bool reserve(qint64 capacityNeeded);
    void swap(_KX_DataBuffer& other) noexcept;

private:
    __attribute__((visibility("hidden"))) bool fail(const QString& why);

    char* bytes;
    qint64 used;
    qint64 capacity;
    qint64 readPos;
    quint32 tag;
    QString error;
};
