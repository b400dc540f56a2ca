// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include <QtGlobal>

#include <cmath>
#include <limits>

/// A double as a 32-bit integer, cut toward zero. Not a number gives 0; values beyond the range
/// (infinities included) give the range's nearest end, where a plain conversion is undefined.
inline qint32 kxTruncToInt32(double v) {
    if (std::isnan(v))
        return 0;
    if (v >= double(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (v <= double(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return qint32(v);
}
