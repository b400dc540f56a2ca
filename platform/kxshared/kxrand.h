// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "kxsharedexport.h"

#include <QString>

/// A number picked by a text: the 32-bit FNV-1a hash of its UTF-16 code units (low byte first).
/// The same text gives the same number in every process and on every run, so a colour chosen from a
/// scene or user name stays the same everywhere.
KXSHARED_EXPORT quint32 kxRandFromString(const QString& text);
