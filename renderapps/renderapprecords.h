// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "runtime/kxexport.h"

#include "kxstring.h"

#include <QString>

#include <cstddef>
#include <type_traits>

namespace kxRA {

/// The version of a render application and its renderer, as jobs and clients name them.
struct KX_EXPORT _RenderAppBasic {
    qint16 appVersionMajor;
    qint16 value_2; ///< -1 after clearBasic
    quint8 byte_4;  ///< 0 after clearBasic
    quint8 byte_5;  ///< 1 after clearBasic
    _kxString<25> renderApp;
    _kxString<25> renderer;
    _kxString<25> renderAppText3; ///< left alone by clearBasic
    _kxString<15> appType;
    _kxString<15> rendererVersion;
    /// Minor version as exactly five digits and dots once set, right-padded with "0" ("2.300").
    _kxString8_allSize<15> appVersionMinor;

    /// A fresh record: every field as after clearBasic, the third text empty too.
    _RenderAppBasic() { clearBasic(); }
    /// Major version 0, the type "3D", the other texts empty; `renderAppText3` stays as it is.
    void clearBasic();

    /// Sets major and minor version from a text such as "2016.5" or "v16.5.268": the number before the
    /// first dot is the major version (0 when it is no number that fits 16 bits), up to three parts
    /// after it make the minor text, cut or padded with "0" to five characters. A text without a dot
    /// sets only the major version.
    void setVersionBoth(QString version);
    /// The minor version text; `withoutDots` removes its dots and pads it with "0" to five characters.
    _kxString8_allSize<15> getVersionMinor(const bool& withoutDots) const;
    /// The leading digits of the minor version without its dots ("5.268" gives 5268); 0 when there
    /// are none or they do not fit an int.
    int getVersionMinorAsNumber() const;
};
static_assert(sizeof(_RenderAppBasic) == 264);
static_assert(offsetof(_RenderAppBasic, renderApp) == 6);
static_assert(offsetof(_RenderAppBasic, appType) == 174);
static_assert(offsetof(_RenderAppBasic, appVersionMinor) == 246);
static_assert(std::is_trivially_copyable_v<_RenderAppBasic>);

// Client records align their members to at most 4 bytes; this entry lives in them (100 in a row).
#pragma pack(push, 4)
/// One render application installed on a client: its executable, parameters, name and version.
struct KX_EXPORT _ClientRenderApp {
    _kxString8_allSize<150> executable;
    _kxString8_allSize<50> parameter;
    _kxString8_allSize<25> name;
    _kxString8_allSize<15> versionMinor; ///< "00000" after clear
    qint16 versionMajor;
    qint32 value_256; ///< -1 after clear

    _ClientRenderApp() { clear(); }
    /// Empty texts, the minor version "00000", major version 0.
    void clear();

    /// True when another of the first `count` entries of `list` (not the one at `ownIndex`) has this
    /// entry's name and the same executable, or one that differs only in its version digits. An entry
    /// without executable matches nothing; a null list or a count below 1 gives false. `pattern`, when
    /// given, receives this executable's version-free pattern. Callers pass the count cut to the
    /// list's capacity.
    bool appAlreadyExists(const int& ownIndex, const short& count, const _ClientRenderApp* list,
                          QString* pattern) const;
};
#pragma pack(pop)
static_assert(sizeof(_ClientRenderApp) == 260);
static_assert(sizeof(_ClientRenderApp[100]) == 26000);
static_assert(offsetof(_ClientRenderApp, parameter) == 154);
static_assert(offsetof(_ClientRenderApp, name) == 208);
static_assert(offsetof(_ClientRenderApp, versionMinor) == 236);
static_assert(offsetof(_ClientRenderApp, versionMajor) == 254);
static_assert(offsetof(_ClientRenderApp, value_256) == 256);
static_assert(alignof(_ClientRenderApp) == 4);
static_assert(std::is_trivially_copyable_v<_ClientRenderApp>);

} // namespace kxRA
