// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "kxsharedexport.h"

#include <QtGlobal>

/// Bytes of the hash that kxCRC_ARG2_16B_fast writes.
constexpr int kxHash16Size = 16;

/// 16-byte hash of `size` bytes, written to `out` (16 bytes): bytes 0-7 hold the 64-bit FNV-1a hash of
/// the data, bytes 8-15 its CRC-64/XZ (kxCRCCalc64), both little-endian. Two independent 64-bit sums,
/// so that equal hashes mean equal data for every practical purpose; it is a fingerprint, not a
/// protection against someone who can read the hash. A null pointer or a size of 0 or less hashes
/// no bytes.
KXSHARED_EXPORT void kxCRC_ARG2_16B_fast(const void* data, qint64 size, quint8* out);
/// 64-bit FNV-1a of `size` bytes (offset basis 0xcbf29ce484222325, prime 0x100000001b3).
KXSHARED_EXPORT quint64 kxFNV1a64(const void* data, qint64 size);
