// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// A number written at the front of a text that goes on with other characters, hexadecimal digits
// included: the digits are closed by a ":" so the reader knows where the number ends.

#include "kxsharedexport.h"

#include <QString>

/// Appends `value` to `text` as an optional "-", its hexadecimal digits (upper case) and a ":":
/// 255 gives "FF:", -16 gives "-10:".
KXSHARED_EXPORT void addHexCode(QString& text, qint64 value);

/// Reads a number that addHexCode wrote at the start of `text` (an optional "-", 1 to 32 hexadecimal
/// digits in either case, then ":") into `value` and removes it from `text`. False, with `text` and
/// `value` unchanged, when the form is not there or the number does not fit 64 bits.
KXSHARED_EXPORT bool toIntFromHex(QString& text, qint64& value);
