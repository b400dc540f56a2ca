// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxdatabuffer.h"

#include "kxcrc.h"

#include <QFile>
#include <QSaveFile>

#include <cstdlib>
#include <cstring>
#include <zstd.h>

namespace {

const char magic[4] = {'K', 'X', 'D', 'B'};
constexpr quint8 formatVersion = 1;
// Output grows in steps while a frame is decompressed, so a header that declares a huge size costs
// only as much memory as the frame really produces.
constexpr qint64 firstOutputStep = 64 * 1024;

void putLE(char* at, quint64 value, int width) {
    for (int i = 0; i < width; ++i)
        at[i] = char((value >> (8 * i)) & 0xFF);
}

quint64 getLE(const char* at, int width) {
    quint64 value = 0;
    for (int i = 0; i < width; ++i)
        value |= quint64(static_cast<unsigned char>(at[i])) << (8 * i);
    return value;
}

qint64 smaller(qint64 a, qint64 b) {
    return a < b ? a : b;
}

} // namespace

_KX_DataBuffer::_KX_DataBuffer() : bytes(nullptr), used(0), capacity(0), readPos(0), tag(0) {}

_KX_DataBuffer::_KX_DataBuffer(const QByteArray& source, quint32 typeTag) : _KX_DataBuffer() {
    append(source);
    tag = typeTag;
}

_KX_DataBuffer::_KX_DataBuffer(const _KX_DataBuffer& other) : _KX_DataBuffer() {
    if (!append(other.bytes, other.used))
        return;
    readPos = other.readPos;
    tag = other.tag;
    error = other.error;
}

_KX_DataBuffer::_KX_DataBuffer(_KX_DataBuffer&& other) noexcept : _KX_DataBuffer() {
    swap(other);
}

_KX_DataBuffer& _KX_DataBuffer::operator=(const _KX_DataBuffer& other) {
    if (this != &other) {
        _KX_DataBuffer copy(other);
        swap(copy);
    }
    return *this;
}

_KX_DataBuffer& _KX_DataBuffer::operator=(_KX_DataBuffer&& other) noexcept {
    if (this != &other) {
        _KX_DataBuffer taken(static_cast<_KX_DataBuffer&&>(other));
        swap(taken);
    }
    return *this;
}

_KX_DataBuffer::~_KX_DataBuffer() {
    std::free(bytes);
}

void _KX_DataBuffer::swap(_KX_DataBuffer& other) noexcept {
    char* b = bytes;
    bytes = other.bytes;
    other.bytes = b;
    qint64 v = used;
    used = other.used;
    other.used = v;
    v = capacity;
    capacity = other.capacity;
    other.capacity = v;
    v = readPos;
    readPos = other.readPos;
    other.readPos = v;
    const quint32 t = tag;
    tag = other.tag;
    other.tag = t;
    error.swap(other.error);
}

bool _KX_DataBuffer::fail(const QString& why) {
    error = why;
    return false;
}

void _KX_DataBuffer::clear() {
    used = 0;
    readPos = 0;
    tag = 0;
    error.clear();
}

bool _KX_DataBuffer::reserve(qint64 capacityNeeded) {
    if (capacityNeeded <= capacity)
        return true;
    if (capacityNeeded > maxSize)
        return fail(QStringLiteral("buffer size %1 is beyond the limit").arg(capacityNeeded));
    qint64 grown = capacity > 0 ? capacity : 256;
    while (grown < capacityNeeded)
        grown *= 2;
    grown = smaller(grown, maxSize);
    char* moved = static_cast<char*>(std::realloc(bytes, size_t(grown)));
    if (!moved)
        return fail(QStringLiteral("out of memory for %1 bytes").arg(grown));
    bytes = moved;
    capacity = grown;
    return true;
}

bool _KX_DataBuffer::append(const void* source, qint64 count) {
    if (count < 0 || (count > 0 && !source))
        return fail(QStringLiteral("invalid append"));
    if (count == 0)
        return true;
    if (count > maxSize - used)
        return fail(QStringLiteral("buffer size is beyond the limit"));
    // The source may lie inside this buffer, which reserve() can move.
    const qint64 inside =
        (source >= bytes && source < bytes + used) ? static_cast<const char*>(source) - bytes : -1;
    if (!reserve(used + count))
        return false;
    std::memmove(bytes + used, inside >= 0 ? bytes + inside : source, size_t(count));
    used += count;
    return true;
}

bool _KX_DataBuffer::resize(qint64 newSize) {
    if (newSize < 0)
        return fail(QStringLiteral("negative size"));
    if (newSize > used) {
        if (!reserve(newSize))
            return false;
        std::memset(bytes + used, 0, size_t(newSize - used));
    }
    used = newSize;
    if (readPos > used)
        readPos = used;
    return true;
}

bool _KX_DataBuffer::read(void* target, qint64 count) {
    if (count < 0 || count > used - readPos || (count > 0 && !target))
        return fail(QStringLiteral("read of %1 bytes with %2 left").arg(count).arg(used - readPos));
    if (count > 0)
        std::memcpy(target, bytes + readPos, size_t(count));
    readPos += count;
    return true;
}

void _KX_DataBuffer::setReadPosition(qint64 position) {
    readPos = position < 0 ? 0 : (position > used ? used : position);
}

bool _KX_DataBuffer::compressFrom(const _KX_DataBuffer& source, int compressionType, int level) {
    _KX_DataBuffer packed;
    qint64 payloadCapacity = 0;
    if (compressionType == compressionStored)
        payloadCapacity = source.used;
    else if (compressionType == compressionZstd)
        payloadCapacity = qint64(ZSTD_compressBound(size_t(source.used)));
    else
        return fail(QStringLiteral("unknown compression type %1").arg(compressionType));
    if (!packed.resize(headerSize + payloadCapacity))
        return fail(packed.error);

    char* header = packed.bytes;
    std::memcpy(header, magic, 4);
    putLE(header + 4, formatVersion, 1);
    putLE(header + 5, quint64(compressionType), 1);
    putLE(header + 8, source.tag, 4);
    putLE(header + 16, quint64(source.used), 8);
    putLE(header + 24, kxCRCCalc64(source.bytes, source.used), 8);

    qint64 payloadSize = source.used;
    if (compressionType == compressionStored) {
        if (source.used > 0)
            std::memcpy(packed.bytes + headerSize, source.bytes, size_t(source.used));
    } else {
        if (level != 0)
            level = level < ZSTD_minCLevel() ? ZSTD_minCLevel()
                                             : (level > ZSTD_maxCLevel() ? ZSTD_maxCLevel() : level);
        const size_t n = ZSTD_compress(packed.bytes + headerSize, size_t(payloadCapacity),
                                       source.used > 0 ? source.bytes : "", size_t(source.used), level);
        if (ZSTD_isError(n))
            return fail(QStringLiteral("compression failed: %1").arg(QLatin1String(ZSTD_getErrorName(n))));
        payloadSize = qint64(n);
    }
    packed.resize(headerSize + payloadSize);
    packed.tag = source.tag;
    swap(packed);
    error.clear();
    return true;
}

bool _KX_DataBuffer::decompressTo(_KX_DataBuffer& target) const {
    return decompressTo(target, maxSize);
}

bool _KX_DataBuffer::decompressTo(_KX_DataBuffer& target, qint64 maxDataSize) const {
    if (maxDataSize < 0 || maxDataSize > maxSize)
        maxDataSize = maxSize;
    _KX_DataBuffer out;
    const auto reject = [&target](const QString& why) {
        target.clear();
        target.error = why;
        return false;
    };
    if (used < headerSize)
        return reject(QStringLiteral("compressed data too short (%1 bytes)").arg(used));
    if (std::memcmp(bytes, magic, 4) != 0)
        return reject(QStringLiteral("not a compressed data buffer"));
    const quint64 version = getLE(bytes + 4, 1);
    if (version != formatVersion)
        return reject(QStringLiteral("unsupported format version %1").arg(version));
    const int type = int(getLE(bytes + 5, 1));
    const quint32 dataTag = quint32(getLE(bytes + 8, 4));
    const quint64 declared = getLE(bytes + 16, 8);
    const quint64 checksum = getLE(bytes + 24, 8);
    if (declared > quint64(maxSize))
        return reject(QStringLiteral("declared size %1 is beyond the limit").arg(declared));
    if (declared > quint64(maxDataSize))
        return reject(QStringLiteral("declared size %1 is beyond the %2 bytes expected")
                          .arg(declared)
                          .arg(maxDataSize));
    const qint64 dataSize = qint64(declared);
    const char* payload = bytes + headerSize;
    const qint64 payloadSize = used - headerSize;

    if (type == compressionStored) {
        if (payloadSize != dataSize)
            return reject(
                QStringLiteral("stored data of %1 bytes, %2 declared").arg(payloadSize).arg(dataSize));
        if (!out.append(payload, payloadSize))
            return reject(out.error);
    } else if (type == compressionZstd) {
        ZSTD_DCtx* dctx = ZSTD_createDCtx();
        if (!dctx)
            return reject(QStringLiteral("out of memory for the decompressor"));
        ZSTD_inBuffer in{payload, size_t(payloadSize), 0};
        // One byte more than declared, so output beyond the declared size shows.
        const qint64 limit = dataSize + 1;
        qint64 step = smaller(limit, firstOutputStep > 4 * payloadSize ? firstOutputStep : 4 * payloadSize);
        QString why;
        qint64 produced = 0;
        size_t ret = 1;
        while (why.isEmpty()) {
            if (!out.resize(step)) {
                why = out.error;
                break;
            }
            ZSTD_outBuffer ob{out.bytes, size_t(out.used), size_t(produced)};
            ret = ZSTD_decompressStream(dctx, &ob, &in);
            produced = qint64(ob.pos);
            if (ZSTD_isError(ret))
                why =
                    QStringLiteral("corrupt compressed data: %1").arg(QLatin1String(ZSTD_getErrorName(ret)));
            else if (produced > dataSize)
                why = QStringLiteral("data larger than the declared %1 bytes").arg(dataSize);
            else if (ret == 0)
                break;
            else if (ob.pos < ob.size && in.pos == in.size)
                why = QStringLiteral("compressed data is cut short");
            else if (ob.pos == ob.size)
                step = smaller(limit, step * 2);
        }
        ZSTD_freeDCtx(dctx);
        if (!why.isEmpty())
            return reject(why);
        if (in.pos != in.size)
            return reject(QStringLiteral("%1 bytes after the compressed data").arg(in.size - in.pos));
        out.resize(produced);
        if (out.used != dataSize)
            return reject(QStringLiteral("data of %1 bytes, %2 declared").arg(out.used).arg(dataSize));
    } else {
        return reject(QStringLiteral("unknown compression type %1").arg(type));
    }
    if (kxCRCCalc64(out.bytes, out.used) != checksum)
        return reject(QStringLiteral("checksum mismatch"));
    out.tag = dataTag;
    target.swap(out);
    target.error.clear();
    return true;
}

bool _KX_DataBuffer::saveToFileCompressed(const QString& path, int compressionType, int level) {
    _KX_DataBuffer packed;
    if (!packed.compressFrom(*this, compressionType, level))
        return fail(packed.error);
    // Written beside and renamed over, so a reader never sees half a file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (file.write(packed.bytes, packed.used) != packed.used || !file.commit())
        return fail(file.errorString());
    error.clear();
    return true;
}

bool _KX_DataBuffer::loadFromFileCompressed(const QString& path) {
    return loadFromFileCompressed(path, maxSize);
}

bool _KX_DataBuffer::loadFromFileCompressed(const QString& path, qint64 maxDataSize) {
    if (maxDataSize < 0 || maxDataSize > maxSize)
        maxDataSize = maxSize;
    QFile file(path);
    _KX_DataBuffer packed;
    if (!file.open(QIODevice::ReadOnly)) {
        clear();
        return fail(file.errorString());
    }
    // The largest compressed form of that much data: stored, or zstd's bound, whichever is more.
    const qint64 zstdBound = qint64(ZSTD_compressBound(size_t(maxDataSize)));
    const qint64 largestFile = headerSize + (zstdBound > maxDataSize ? zstdBound : maxDataSize);
    if (file.size() > largestFile) {
        clear();
        return fail(QStringLiteral("file too large"));
    }
    if (!packed.append(file.readAll())) {
        clear();
        return fail(packed.error);
    }
    return packed.decompressTo(*this, maxDataSize);
}
