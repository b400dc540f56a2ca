// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "kxsharedexport.h"

#include <QtGlobal>

/// Bytes of the hash that kxCRC_ARG2_16B_fast writes.
constexpr int kxHash16Size = 16;

/// 16-byte hash of `size` bytes, written to `out` (16 bytes): the unkeyed BLAKE2s-128 digest of the
/// data (RFC 7693, digest length 16), a cryptographic hash. Job records carry the hash of their command
/// password and are copied whole between processes, so whoever reads a record must not be able to find
/// any password that gives the same 16 bytes. A null pointer or a size of 0 or less hashes no bytes.
KXSHARED_EXPORT void kxCRC_ARG2_16B_fast(const void* data, qint64 size, quint8* out);
/// 64-bit FNV-1a of `size` bytes (offset basis 0xcbf29ce484222325, prime 0x100000001b3).
KXSHARED_EXPORT quint64 kxFNV1a64(const void* data, qint64 size);
