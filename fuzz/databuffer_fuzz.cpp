// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
//
// Compressed buffers are read back from files that may be cut short or damaged. Decompressing any
// bytes must give a clear answer without reading outside them; compressing any bytes and
// decompressing the result must give the same bytes back.
#include "kxdatabuffer.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    _KX_DataBuffer input;
    input.append(data, qint64(size));

    _KX_DataBuffer unpacked;
    (void)input.decompressTo(unpacked);

    _KX_DataBuffer packed, back;
    if (!packed.compressFrom(input))
        __builtin_trap();
    if (!packed.decompressTo(back) || back.size() != input.size() ||
        (size > 0 && std::memcmp(back.data(), data, size) != 0))
        __builtin_trap();
    return 0;
}
