// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxintlist.h"

namespace {

constexpr quint32 defaultPalette[_intList_Colors::defaultPaletteSize] = {
    0x000000, 0xFFFFFF, 0x808080, 0xC0C0C0, 0x800000, 0xFF0000, 0x800080, 0xFF00FF,
    0xC04000, 0xB00000, 0x0000C0, 0xE00000, 0x008080, 0x00FFFF, 0x000080, 0x0000FF,
    0x808000, 0xC0A000, 0xFFFF00, 0x008000, 0x00FF00, 0xFF8000, 0x804000, 0x8080FF,
    0xFF8080, 0x80FF80, 0xFFC0FF, 0xFFFFC0, 0x404040, 0x006000, 0x00A000, 0x606060,
};

} // namespace

_intList_Colors::_intList_Colors() : count(0), values{} {
    setDefaultPalette();
}

void _intList_Colors::clear() {
    count = 0;
}

bool _intList_Colors::append(quint32 colour) {
    const int n = size();
    if (n >= capacity)
        return false;
    values[n] = colour;
    count = n + 1;
    return true;
}

void _intList_Colors::setDefaultPalette() {
    clear();
    for (quint32 colour : defaultPalette)
        append(colour);
}
