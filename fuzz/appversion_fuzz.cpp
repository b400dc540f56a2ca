// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
//
// Executable paths and version texts come from clients and configuration files: any text. The version
// readers must give an answer for every text without reading outside it, and keep their promises: a
// failed read leaves major 0 or 1, the full minor version holds only digits, dots and underscores, and
// a stored minor version never passes five characters.
#include "renderapps/appversion.h"
#include "renderapps/renderapprecords.h"

#include <QString>

#include <cstdint>
#include <cstring>

namespace {

bool onlyVersionCharacters(const QString& text) {
    for (QChar c : text)
        if (!c.isNumber() && c != QLatin1Char('.') && c != QLatin1Char('_'))
            return false;
    return true;
}

bool onlyDigits(const QString& text) {
    for (QChar c : text)
        if (!c.isNumber())
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    // The first byte picks the text's encoding: raw UTF-16 units reach every character (unpaired
    // surrogates included), UTF-8 lets the fuzzer find the words the readers look for.
    const bool utf16 = (data[0] & 1) != 0;
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    const size_t length = size - 1;
    QString text;
    if (utf16) {
        text.resize(qsizetype(length / 2));
        std::memcpy(text.data(), bytes, (length / 2) * 2);
    } else {
        text = QString::fromUtf8(bytes, qsizetype(length));
    }

    int major = -1;
    QString minor, minorFull;
    const bool found = kxRA::kxGetAppVersionFromPath(text, major, minor, minorFull);
    if (!found && major != 0 && major != 1)
        __builtin_trap();
    int major2 = -1;
    QString minor2;
    if (kxRA::kxGetAppVersionFromPath(text, major2, minor2) != found || major2 != major || minor2 != minor)
        __builtin_trap();

    for (int flags = 0; flags < 8; ++flags) {
        const bool addFive = flags & 1, packed = flags & 2, dropFirstDot = flags & 4;
        major = -1;
        if (kxRA::kxGetAppVersionFromPath_sub(text, major, minor, minorFull, addFive, packed, dropFirstDot)) {
            if (major < 0 || !onlyVersionCharacters(minorFull) || !onlyDigits(minor))
                __builtin_trap();
        } else if (major != 0 && major != 1) {
            __builtin_trap();
        }
    }

    (void)kxRA::replaceVersionWithAsterisk(text);

    kxRA::_RenderAppBasic app;
    app.appVersionMinor.set("keep");
    app.setVersionBoth(text);
    if (app.appVersionMinor.len() != 5 && !app.appVersionMinor.isEqual("keep"))
        __builtin_trap();
    (void)app.getVersionMinor(true);
    (void)app.getVersionMinorAsNumber();
    return 0;
}
