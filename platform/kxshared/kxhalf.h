// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include <QtGlobal>

#include <cmath>
#include <cstring>
#include <type_traits>

/// A 16-bit IEEE 754 half-precision float (1 sign, 5 exponent, 10 mantissa bits) held inline in records.
/// Records embed it as two plain bytes and copy it whole; init() gives it the value 0.
struct kxHalf {
    quint16 bits;

    /// Sets the value 0.
    void init() { bits = 0; }

    /// The nearest half to `value`, ties to even; beyond 65504 it becomes infinity, NaN stays NaN.
    static quint16 bitsFromFloat(float value) {
        quint32 x;
        std::memcpy(&x, &value, sizeof(x));
        const quint32 sign = (x >> 16) & 0x8000u;
        const int exponent = int((x >> 23) & 0xFFu);
        quint32 mantissa = x & 0x7FFFFFu;
        if (exponent == 0xFF)
            return quint16(sign | 0x7C00u | (mantissa != 0 ? 0x200u | (mantissa >> 13) : 0u));
        const int e = exponent - 127 + 15;
        if (e >= 31)
            return quint16(sign | 0x7C00u);
        if (e <= 0) {
            // Subnormal halves count in steps of 2^-24.
            if (e < -10)
                return quint16(sign);
            mantissa |= 0x800000u;
            const int shift = 14 - e;
            quint32 half = mantissa >> shift;
            const quint32 rest = mantissa & ((1u << shift) - 1u);
            const quint32 halfway = 1u << (shift - 1);
            if (rest > halfway || (rest == halfway && (half & 1u) != 0))
                ++half;
            return quint16(sign | half);
        }
        quint32 half = (quint32(e) << 10) | (mantissa >> 13);
        const quint32 rest = mantissa & 0x1FFFu;
        // A carry out of the mantissa raises the exponent, up to infinity: still the nearest value.
        if (rest > 0x1000u || (rest == 0x1000u && (half & 1u) != 0))
            ++half;
        return quint16(sign | half);
    }

    static float floatFromBits(quint16 bits) {
        const quint32 sign = quint32(bits & 0x8000u) << 16;
        const int exponent = (bits >> 10) & 0x1F;
        const quint32 mantissa = bits & 0x3FFu;
        if (exponent == 0) {
            const float magnitude = std::ldexp(float(mantissa), -24);
            return sign != 0 ? -magnitude : magnitude;
        }
        quint32 x;
        if (exponent == 31)
            x = sign | 0x7F800000u | (mantissa << 13);
        else
            x = sign | (quint32(exponent - 15 + 127) << 23) | (mantissa << 13);
        float value;
        std::memcpy(&value, &x, sizeof(value));
        return value;
    }

    void setFloat(float value) { bits = bitsFromFloat(value); }
    float toFloat() const { return floatFromBits(bits); }
};
static_assert(sizeof(kxHalf) == 2 && alignof(kxHalf) == 2);
static_assert(std::is_trivially_copyable_v<kxHalf>);
