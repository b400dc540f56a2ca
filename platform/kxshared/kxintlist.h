// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "kxsharedexport.h"

#include <QtGlobal>

#include <type_traits>

/// A list of display colours (0xRRGGBB), addressed by index. The farm's tools look up the colour of a
/// job's history entry, a client state and the like by index into such a list, and may replace its
/// entries with their own scheme. A fresh list holds the default palette:
///
/// | Index | Colour   | Use                                   |
/// |-------|----------|---------------------------------------|
/// | 0     | 0x000000 | plain text                            |
/// | 1     | 0xFFFFFF | background                            |
/// | 2     | 0x808080 | grey: secondary events                |
/// | 3     | 0xC0C0C0 | light grey                            |
/// | 4     | 0x800000 | maroon                                |
/// | 5     | 0xFF0000 | red                                   |
/// | 6     | 0x800080 | purple: deletions, debug events       |
/// | 7     | 0xFF00FF | magenta                               |
/// | 8     | 0xC04000 | dark orange: aborts                   |
/// | 9     | 0xB00000 | dark red: jobs disabled by the farm   |
/// | 10    | 0x0000C0 | blue: user changes, checks            |
/// | 11    | 0xE00000 | bright red: errors                    |
/// | 12    | 0x008080 | teal                                  |
/// | 13    | 0x00FFFF | cyan                                  |
/// | 14    | 0x000080 | navy                                  |
/// | 15    | 0x0000FF | pure blue                             |
/// | 16    | 0x808000 | olive                                 |
/// | 17    | 0xC0A000 | dark yellow: warnings                 |
/// | 18    | 0xFFFF00 | yellow                                |
/// | 19    | 0x008000 | green                                 |
/// | 20    | 0x00FF00 | lime                                  |
/// | 21    | 0xFF8000 | orange                                |
/// | 22    | 0x804000 | brown                                 |
/// | 23    | 0x8080FF | light blue                            |
/// | 24    | 0xFF8080 | light red                             |
/// | 25    | 0x80FF80 | light green                           |
/// | 26    | 0xFFC0FF | pink                                  |
/// | 27    | 0xFFFFC0 | cream                                 |
/// | 28    | 0x404040 | dark grey                             |
/// | 29    | 0x006000 | dark green: enabled, received         |
/// | 30    | 0x00A000 | green: finished successfully          |
/// | 31    | 0x606060 | mid grey                              |
struct KXSHARED_EXPORT _intList_Colors {
    static constexpr int capacity = 64;
    static constexpr int defaultPaletteSize = 32;

    qint32 count; ///< entries in use; read through size(), which keeps it within 0..capacity
    quint32 values[capacity];

    /// A list holding the default palette.
    _intList_Colors();

    /// Entries in use, never more than the capacity whatever `count` holds.
    int size() const { return count < 0 ? 0 : (count > capacity ? capacity : count); }
    bool isEmpty() const { return size() == 0; }
    /// The colour at `index`; 0 for an index the list does not hold.
    quint32 value(int index) const { return (index >= 0 && index < size()) ? values[index] : 0u; }

    void clear();
    /// Appends a colour; false (and nothing added) when the list is full.
    bool append(quint32 colour);
    /// Replaces the entries with the default palette.
    void setDefaultPalette();
};
static_assert(std::is_trivially_copyable_v<_intList_Colors>);
static_assert(sizeof(_intList_Colors) == 4 + 4 * _intList_Colors::capacity);
