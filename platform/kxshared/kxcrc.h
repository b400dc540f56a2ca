// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "kxsharedexport.h"

#include <QtGlobal>

/// CRC-64/XZ (ECMA-182 polynomial, reflected, init and final xor all ones) of `size` bytes.
/// Equal bytes give equal sums; a null pointer or a size of 0 or less gives the sum of no bytes, 0.
KXSHARED_EXPORT quint64 kxCRCCalc64(const void* data, qint64 size);
/// CRC-32/ISO-HDLC (the zlib CRC) of `size` bytes; 0 for no bytes.
KXSHARED_EXPORT quint32 kxCRCCalc(const void* data, qint64 size);
