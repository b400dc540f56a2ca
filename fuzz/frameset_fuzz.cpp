// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
//
// Frame sets arrive as texts from job files and tools, as compressed bytes and as whole 8 KB blocks
// from other processes. Each reader must give a set within its 8000 flags, the writers must read back
// what they wrote, and merging must keep every frame that fits; nothing may read or write outside the
// set, and every call ends.
#include "jobs/frameset.h"

#include "kxdatabuffer.h"

#include <QByteArray>

#include <cstdint>
#include <cstring>
#include <memory>

using kxJ::_binaryFrameSet;

namespace {

void check(bool condition) {
    if (!condition)
        __builtin_trap();
}

/// The stored fields every reader must leave within their ranges.
void checkBounds(const _binaryFrameSet& set) {
    check(set.maxIndex >= -1 && set.maxIndex <= _binaryFrameSet::flagCount - 1);
}

void writersReadBack(const _binaryFrameSet& set) {
    // BitA85 keeps everything but the kind of start, which a reader always sets.
    auto back = std::make_unique<_binaryFrameSet>();
    back->fromString_BitA85(set.asString_BitA85());
    auto expected = std::make_unique<_binaryFrameSet>(set);
    expected->isFileNumber = 1;
    check(*back == *expected);

    // Bool: the flags that fit its 1000 characters.
    const _kxString8_allSize<1000> boolText = set.asString_Bool();
    auto fromBool = std::make_unique<_binaryFrameSet>();
    fromBool->fromString_Bool(boolText);
    checkBounds(*fromBool);
    check(fromBool->startFrame == set.startFrame);
    const int colon = boolText.indexOf(':');
    check(colon > 0);
    for (int i = 0; i < 1000 - colon - 1; ++i)
        check(fromBool->isSet(i) == set.isSet(i));

    // FrameSet: the indexes, relative to the first, when the text fits the reader's 1000 characters.
    const QString text = set.asString_FrameSet();
    if (text.size() <= 1000) {
        auto fromText = std::make_unique<_binaryFrameSet>();
        fromText->fromString_FrameSet(_kxString8_allSize<1000>(text));
        int first = 0;
        while (first < _binaryFrameSet::flagCount && !set.isSet(first))
            ++first;
        check(fromText->startFrame == (first < _binaryFrameSet::flagCount ? first : 0));
        for (int i = first; i < _binaryFrameSet::flagCount; ++i)
            check(fromText->isSet(i - first) == set.isSet(i));
    }
}

void mergeKeepsFrames(const _binaryFrameSet& a, const _binaryFrameSet& b) {
    auto merged = std::make_unique<_binaryFrameSet>(a);
    merged->mergeWith(b);
    // A stored maxIndex out of range is read as in range, and merging may leave it stored so.
    if (a.maxIndex == a.lastIndex())
        checkBounds(*merged);
    if (a.isFileNumber != b.isFileNumber) {
        check(std::memcmp(merged.get(), &a, sizeof(a)) == 0);
        return;
    }
    for (const _binaryFrameSet* part : {&a, &b})
        for (int i = 0; i <= part->lastIndex(); ++i) {
            if (!part->isSet(i))
                continue;
            const qint64 index = qint64(part->startFrame) + i - merged->startFrame;
            if (index >= 0 && index < _binaryFrameSet::flagCount)
                check(merged->isSet(int(index)));
        }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    _kxString8_allSize<1000> text;
    text.set(bytes);

    // The three readers on the bytes as they come, each over a set that already holds flags.
    auto fromBool = std::make_unique<_binaryFrameSet>();
    fromBool->fromString_Bool(_kxString8_allSize<1000>("0:1011"));
    fromBool->fromString_Bool(text);
    checkBounds(*fromBool);
    auto fromText = std::make_unique<_binaryFrameSet>();
    fromText->fromString_FrameSet(text);
    checkBounds(*fromText);
    auto fromBits = std::make_unique<_binaryFrameSet>();
    fromBits->fromString_BitA85(bytes);
    checkBounds(*fromBits);
    // The bytes as the data inside a well-formed compressed form, so the payload reader is reached.
    _KX_DataBuffer packed;
    check(packed.compressFrom(_KX_DataBuffer(bytes), _KX_DataBuffer::compressionZstd, 0));
    auto fromPayload = std::make_unique<_binaryFrameSet>(*fromText);
    fromPayload->fromString_BitA85(packed.toByteArray());
    checkBounds(*fromPayload);

    // The bytes as a raw block from another process, over an empty set where they end.
    auto raw = std::make_unique<_binaryFrameSet>();
    std::memcpy(static_cast<void*>(raw.get()), data,
                size < sizeof(_binaryFrameSet) ? size : sizeof(_binaryFrameSet));
    check(*raw == *raw);
    auto copy = std::make_unique<_binaryFrameSet>(*raw);
    check(!(*copy != *raw));

    writersReadBack(*raw);
    writersReadBack(*fromText);

    mergeKeepsFrames(*raw, *fromText);
    mergeKeepsFrames(*fromText, *raw);
    mergeKeepsFrames(*fromText, *fromPayload);
    mergeKeepsFrames(*raw, *raw);
    return 0;
}
