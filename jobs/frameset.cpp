// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobs/frameset.h"

#include "kxdatabuffer.h"

#include <QStringList>
#include <QtEndian>

#include <algorithm>
#include <climits>
#include <cstring>

namespace kxJ {

namespace {

constexpr int lastFlag = _binaryFrameSet::flagCount - 1;

/// Bytes of the BitA85 payload before the flags: the start (4) and `maxIndex` (2).
constexpr int bitHeaderSize = 6;
/// The largest BitA85 payload a set can have: the head and (7999 + 1) / 8 + 1 flag bytes.
constexpr int bitMaxPayload = bitHeaderSize + _binaryFrameSet::flagCount / 8 + 1;
static_assert(bitMaxPayload == 1007);

/// Eight flags as one byte of the BitA85 form, flag i in bit i; any flag byte other than 0 counts as
/// set. The eight bytes are handled as one 64-bit word: the top bit of each byte is set when the byte
/// is not 0, and the multiplication gathers byte i's bit into bit 56 + i.
quint8 packEight(const quint8* eight) {
    const quint64 x = qFromLittleEndian<quint64>(eight);
    const quint64 low7 = 0x7F7F7F7F7F7F7F7FULL;
    const quint64 nonZero = ((((x & low7) + low7) | x) & ~low7) >> 7;
    return quint8((nonZero * 0x0102040810204080ULL) >> 56);
}

/// The reverse: bit i of `packed` becomes flag byte i (0 or 1).
void unpackEight(quint8 packed, quint8* eight) {
    // Byte i of the copies keeps only bit i; adding 0x7F carries it into the byte's top bit.
    const quint64 isolated = (quint64(packed) * 0x0101010101010101ULL) & 0x8040201008040201ULL;
    const quint64 ones = ((isolated + 0x7F7F7F7F7F7F7F7FULL) >> 7) & 0x0101010101010101ULL;
    qToLittleEndian(ones, eight);
}

/// The hexadecimal start of the Bool form ends in this character, so the "0" and "1" flags behind it
/// are not read as further digits.
constexpr char hexStartEnd = ':';
/// The most digits a hexadecimal start may have (leading zeros included).
constexpr int hexStartMaxDigits = 32;

qint32 clampToInt32(qint64 v) {
    return qint32(v < INT_MIN ? INT_MIN : (v > INT_MAX ? INT_MAX : v));
}

/// The start a writer puts down: with an offset and a start that is not yet a file number, the start
/// of a copy that convertStartFrame2Filenumber(offset) has turned into one.
qint32 writtenStart(const _binaryFrameSet& set, int const* offset) {
    if (offset != nullptr && set.isFileNumber == 0)
        return clampToInt32(qint64(set.startFrame) + *offset);
    return set.startFrame;
}

/// Writes the 32-bit pattern of `value` as upper-case hexadecimal digits without leading zeros and
/// the closing ":"; returns the characters written (2 to 9).
int writeHexStart(char* out, qint32 value) {
    static const char digits[] = "0123456789ABCDEF";
    char reversed[8];
    int n = 0;
    quint32 v = quint32(value);
    do {
        reversed[n++] = digits[v & 15u];
        v >>= 4;
    } while (v != 0);
    for (int i = 0; i < n; ++i)
        out[i] = reversed[n - 1 - i];
    out[n] = hexStartEnd;
    return n + 1;
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

/// Reads the hexadecimal start at the beginning of `text`. Gives the characters it takes (the digits
/// and the ":"), or -1 when there is no digit, no ":" after at most 32 digits, another character
/// before it, or a value beyond 32 bits.
int readHexStart(const char* text, int length, qint32& value) {
    quint64 v = 0;
    int digits = 0;
    int significant = 0;
    for (int i = 0; i < length; ++i) {
        if (text[i] == hexStartEnd) {
            if (digits == 0)
                return -1;
            value = qint32(quint32(v));
            return i + 1;
        }
        const int d = hexDigitValue(text[i]);
        if (d < 0 || ++digits > hexStartMaxDigits)
            return -1;
        if (significant > 0 || d != 0) {
            if (++significant > 8)
                return -1;
            v = (v << 4) | quint64(d);
        }
    }
    return -1;
}

/// Numbers of the FrameSet form are kept within ±2^62, so index arithmetic with a 32-bit start and a
/// step cannot overflow 64 bits; such a frame lies far outside any set anyway.
constexpr qint64 frameNumberLimit = qint64(1) << 62;

/// A decimal number of the FrameSet form; unreadable text counts as 0.
qint64 readFrameNumber(const QString& text) {
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok, 10);
    if (!ok)
        return 0;
    return v < -frameNumberLimit ? -frameNumberLimit : (v > frameNumberLimit ? frameNumberLimit : v);
}

/// One part of the FrameSet form: "a", "a-b", "a+s" or "a-b+s".
struct FramePart {
    qint64 first = 0;
    qint64 last = 0;
    qint64 step = 1;
};

FramePart readFramePart(const QString& part) {
    FramePart p;
    const qsizetype plus = part.indexOf(QLatin1Char('+'));
    const QString range = plus < 0 ? part : part.left(plus);
    if (plus >= 0)
        p.step = std::max<qint64>(1, readFrameNumber(part.mid(plus + 1)));
    const qsizetype dash = range.indexOf(QLatin1Char('-'));
    p.first = readFrameNumber(dash < 0 ? range : range.left(dash));
    p.last = dash < 0 ? p.first : readFrameNumber(range.mid(dash + 1));
    return p;
}

/// Appends the decimal digits of a flag index (0..7999) to `out`.
char16_t* writeIndex(char16_t* out, int value) {
    char16_t reversed[6];
    int n = 0;
    do {
        reversed[n++] = char16_t(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n > 0)
        *out++ = reversed[--n];
    return out;
}

char16_t* writeEntryEnd(char16_t* out) {
    *out++ = u' ';
    *out++ = u',';
    *out++ = u' ';
    return out;
}

/// Sets flag `index` (0..7999) of `set`, raising `maxIndex` to it; the flags newly covered are
/// cleared first, since flags above `maxIndex` count as unset whatever their bytes hold.
void setFlag(_binaryFrameSet& set, int index) {
    const int last = set.lastIndex();
    if (index > last) {
        std::memset(set.flags + (last + 1), 0, size_t(index - last));
        set.maxIndex = qint16(index);
    } else if (set.maxIndex != last) {
        set.maxIndex = qint16(last);
    }
    set.flags[index] = 1;
}

} // namespace

_binaryFrameSet::_binaryFrameSet() {
    clear(0);
}

void _binaryFrameSet::clear(quint8 fileNumber) {
    structID = structIDFrameSet;
    structVersion = structVersionFrameSet;
    reserved4 = 0;
    reserved8 = 0;
    std::memset(flags, 0, sizeof(flags));
    startFrame = 0;
    isFileNumber = fileNumber;
    reserved_8021 = 0;
    maxIndex = -1;
}

void _binaryFrameSet::convertStartFrame2Filenumber(int const& offset) {
    if (isFileNumber != 0)
        return;
    startFrame = clampToInt32(qint64(startFrame) + offset);
    isFileNumber = 1;
}

bool _binaryFrameSet::operator==(const _binaryFrameSet& other) const {
    const int last = lastIndex();
    if (last != other.lastIndex() || startFrame != other.startFrame || isFileNumber != other.isFileNumber)
        return false;
    for (int i = 0; i <= last; ++i)
        if ((flags[i] != 0) != (other.flags[i] != 0))
            return false;
    return true;
}

_kxString8_allSize<1000> _binaryFrameSet::asString_Bool(int const* offset) const {
    char text[boolTextCapacity];
    int n = writeHexStart(text, writtenStart(*this, offset));
    const int last = lastIndex();
    for (int i = 0; i <= last && n < boolTextCapacity; ++i)
        text[n++] = flags[i] != 0 ? '1' : '0';
    _kxString8_allSize<1000> result;
    result.set(text, n);
    return result;
}

void _binaryFrameSet::fromString_Bool(_kxString8_allSize<1000> text) {
    isFileNumber = 1;
    qint32 start = 0;
    const int taken = readHexStart(text.data(), text.len(), start);
    if (taken < 0) {
        clear(1);
        return;
    }
    startFrame = start;
    const int length = text.len();
    for (int i = 0; taken + i < length && i <= lastFlag; ++i)
        if (text.data()[taken + i] == '1')
            setFlag(*this, i);
}

QByteArray _binaryFrameSet::asString_BitA85(int const* offset) const {
    const qint32 start = writtenStart(*this, offset);
    const int last = lastIndex();
    unsigned char payload[bitMaxPayload];
    const quint32 s = quint32(start);
    payload[0] = quint8(s);
    payload[1] = quint8(s >> 8);
    payload[2] = quint8(s >> 16);
    payload[3] = quint8(s >> 24);
    payload[4] = quint8(quint16(last));
    payload[5] = quint8(quint16(last) >> 8);
    // Flags 0 to last, eight to a byte, and one more byte after the last full one (it may hold none).
    const int fullBytes = (last + 1) / 8;
    for (int b = 0; b < fullBytes; ++b)
        payload[bitHeaderSize + b] = packEight(flags + 8 * b);
    quint8 tail = 0;
    for (int i = fullBytes * 8; i <= last; ++i)
        tail |= quint8((flags[i] != 0 ? 1u : 0u) << (i % 8));
    payload[bitHeaderSize + fullBytes] = tail;
    const int flagBytes = fullBytes + 1;
    _KX_DataBuffer plain;
    if (!plain.append(payload, bitHeaderSize + flagBytes))
        return QByteArray();
    _KX_DataBuffer packed;
    if (!packed.compressFrom(plain, _KX_DataBuffer::compressionZstd, 0))
        return QByteArray();
    return packed.toByteArray();
}

void _binaryFrameSet::fromString_BitA85(QByteArray const& data) {
    // The compressed form's header gives the size of the data at byte 16 (64-bit little-endian). A
    // payload larger than any set's is refused before it is decompressed.
    if (data.size() < _KX_DataBuffer::headerSize) {
        clear(1);
        return;
    }
    quint64 declared = 0;
    for (int i = 7; i >= 0; --i)
        declared = (declared << 8) | quint8(data.constData()[16 + i]);
    if (declared > quint64(bitMaxPayload)) {
        clear(1);
        return;
    }
    const _KX_DataBuffer packed(data);
    _KX_DataBuffer plain;
    if (!packed.decompressTo(plain) || plain.size() < bitHeaderSize) {
        clear(1);
        return;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(plain.data());
    const qint32 start = qint32(quint32(bytes[0]) | (quint32(bytes[1]) << 8) | (quint32(bytes[2]) << 16) |
                                (quint32(bytes[3]) << 24));
    const int last = qint16(quint16(bytes[4] | (bytes[5] << 8)));
    // The reader takes a new byte at every eighth flag: (last + 8) / 8 bytes; the writer's extra last
    // byte may be missing.
    if (last < -1 || last > lastFlag || plain.size() - bitHeaderSize < (last + 8) / 8) {
        clear(1);
        return;
    }
    isFileNumber = 1;
    startFrame = start;
    maxIndex = qint16(last);
    const unsigned char* packedFlags = bytes + bitHeaderSize;
    const int fullBytes = (last + 1) / 8;
    for (int b = 0; b < fullBytes; ++b)
        unpackEight(packedFlags[b], flags + 8 * b);
    for (int i = fullBytes * 8; i <= last; ++i)
        flags[i] = quint8((packedFlags[i / 8] >> (i % 8)) & 1u);
}

QString _binaryFrameSet::asString_FrameSet() const {
    const int last = lastIndex();
    // An index alone takes at most 7 characters ("7999 , "), a run of three or more at most 16.
    QString result(qsizetype(7) * (last + 1), Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(result.data());
    char16_t* out = begin;
    const auto nextSet = [this, last](int from) {
        while (from <= last && flags[from] == 0)
            ++from;
        return from;
    };
    int a = nextSet(0);
    while (a <= last) {
        // Nothing may be set between a and a + s, so the only step that can qualify is the gap to the
        // next set index; it must stay below min(remaining / 2 + 1, 250) and a + 2s must be the next
        // set index after a + s.
        const int next = nextSet(a + 1);
        const int step = next - a;
        const int stepLimit = std::min((last - a) / 2 + 1, 250);
        int runEnd = a;
        if (next <= last && step < stepLimit && nextSet(next + 1) == next + step) {
            runEnd = next + step;
            while (runEnd + step <= last && nextSet(runEnd + 1) == runEnd + step)
                runEnd += step;
        }
        out = writeIndex(out, a);
        if (runEnd != a) {
            *out++ = u'-';
            out = writeIndex(out, runEnd);
            if (step != 1) {
                *out++ = u'+';
                out = writeIndex(out, step);
            }
        }
        out = writeEntryEnd(out);
        a = runEnd == a ? next : nextSet(runEnd + 1);
    }
    result.truncate(out - begin);
    return result;
}

void _binaryFrameSet::fromString_FrameSet(_kxString8_allSize<1000> text) {
    clear(1);
    QList<FramePart> parts;
    const QStringList pieces = text.toQString().split(QLatin1Char(','));
    for (const QString& piece : pieces) {
        const QString part = piece.trimmed();
        if (!part.isEmpty())
            parts.append(readFramePart(part));
    }
    if (parts.isEmpty())
        return;
    // The smallest start, so that every listed frame from it on fits.
    qint64 start = parts.first().first;
    for (const FramePart& p : parts)
        start = std::min(start, p.first);
    startFrame = clampToInt32(start);

    for (const FramePart& p : parts) {
        if (p.last < p.first)
            continue;
        // Index space, clipped to 0..7999 before walking.
        const qint64 firstIndex = p.first - startFrame;
        const qint64 lastIndexOfPart = std::min<qint64>(p.last - startFrame, lastFlag);
        qint64 i = firstIndex;
        if (i < 0)
            i += (-i + p.step - 1) / p.step * p.step;
        for (; i <= lastIndexOfPart; i += p.step)
            setFlag(*this, int(i));
    }
}

void _binaryFrameSet::mergeWith(kxJ::_binaryFrameSet const& other) {
    if (isFileNumber != other.isFileNumber)
        return;
    if (other.startFrame < startFrame) {
        _binaryFrameSet rebuilt;
        rebuilt.startFrame = other.startFrame;
        rebuilt.isFileNumber = isFileNumber;
        rebuilt.mergeWith(*this);
        rebuilt.mergeWith(other);
        *this = rebuilt;
        return;
    }
    const qint64 shift = qint64(other.startFrame) - startFrame;
    const int otherLast = other.lastIndex();
    for (int i = 0; i <= otherLast; ++i) {
        if (other.flags[i] == 0)
            continue;
        const qint64 index = shift + i;
        if (index > lastFlag)
            break;
        setFlag(*this, int(index));
    }
}

} // namespace kxJ
