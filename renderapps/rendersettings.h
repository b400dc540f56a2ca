// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// The render settings a job carries: the table of numeric and choice settings, the names of the on/off
// render options, and the texts of render-application and job script types.

#include "runtime/kxexport.h"

#include "kxstring.h"

#include <QString>

#include <cstddef>
#include <type_traits>

/// A list of up to N names held behind a pointer: N `_kxString<50>` entries allocated and emptied when
/// the list is built, released with it, and the count of entries in use.
template <int N>
struct _cfgStrList_Pointer {
    static constexpr int capacity = N;

    _kxString<50>* list;
    qint32 count;

    _cfgStrList_Pointer() : list(new _kxString<50>[N]), count(0) {}
    ~_cfgStrList_Pointer() { delete[] list; }
    _cfgStrList_Pointer(const _cfgStrList_Pointer&) = delete;
    _cfgStrList_Pointer& operator=(const _cfgStrList_Pointer&) = delete;

    /// Entries in use, the count cut into 0..N.
    int usedCount() const { return count < 0 ? 0 : (count > N ? N : count); }
    /// Entry i; an index outside the entries in use gives an empty text.
    QString at(int i) const { return (i >= 0 && i < usedCount()) ? list[i].toQString() : QString(); }
};
static_assert(offsetof(_cfgStrList_Pointer<44>, count) == 8);
static_assert(sizeof(_cfgStrList_Pointer<44>) == 16);

namespace kxRS {

/// One numeric or choice setting of a job's render settings.
struct KX_EXPORT _kxRenderParam {
    static constexpr int valueNameCount = 6;

    quint32 paramClass; ///< 1, 2 or 3
    quint32 paramKind;  ///< 1 a plain number, 2 a choice (named values or a colour)
    quint8 flagA;
    quint8 flagB;
    quint8 reserved_10[2];
    qint32 defaultValue;
    qint32 minValue;
    qint32 maxValue;
    _kxString8_allSize<50> name;
    _kxString8_allSize<100> valueNames[valueNameCount]; ///< names of the values 0 to 5 of a choice
    quint8 reserved_702[2];

    /// The name of value `value` of a choice setting; empty for a value without a name (only 0 to 5
    /// have one, even where a setting allows more).
    QString valueName(int value) const;
};
static_assert(offsetof(_kxRenderParam, flagA) == 8);
static_assert(offsetof(_kxRenderParam, flagB) == 9);
static_assert(offsetof(_kxRenderParam, defaultValue) == 12);
static_assert(offsetof(_kxRenderParam, minValue) == 16);
static_assert(offsetof(_kxRenderParam, maxValue) == 20);
static_assert(offsetof(_kxRenderParam, name) == 24);
static_assert(offsetof(_kxRenderParam, valueNames) == 78);
static_assert(offsetof(_kxRenderParam, reserved_702) == 702);
static_assert(sizeof(_kxRenderParam) == 704);
static_assert(std::is_trivially_copyable_v<_kxRenderParam>);

/// Slots of `kxParamArray`; slot k holds setting k + 1, settings 1 to 19 are defined.
constexpr int kxParamArraySize = 28;
constexpr int kxParamArrayDefined = 19;

/// The render-setting table, built when the library loads; slots 19 to 27 are zero with empty texts.
extern KX_EXPORT const _kxRenderParam kxParamArray[kxParamArraySize];

/// The names of the on/off render options; the position is the option's number. Allocated and empty
/// when the library loads, filled by `set_KXOptionsnameFile`.
extern KX_EXPORT _cfgStrList_Pointer<44> _KXOptionsnameFile;

/// Fills `_KXOptionsnameFile` with the 31 option names, each exactly 32 characters long (blank-filled,
/// the one longer name cut). The list is filled once: a list that holds entries is left as it is.
KX_EXPORT void set_KXOptionsnameFile();

/// When a job script runs.
enum _PrePostCommandType : qint32 {
    PrePost_pre = 0,
    PrePost_post = 1,
    PrePost_finished = 2,
    PrePost_preview = 3,
    PrePost_none = 4,
};

} // namespace kxRS

namespace kxRA {

/// The text of a render-application type: "3Drender", "FileExport", "Archive", "Comp", "AppScript", and
/// "Execute" for 5 and every code without a name; the short form names file exports and application
/// scripts "3D" too.
KX_EXPORT _kxString<15> renderType2Str(const unsigned char& type, const bool& shortForm);
/// The type code of a text of `renderType2Str`, compared exactly; any other text gives 5 (execute).
KX_EXPORT unsigned char renderType2Enum(const _kxString<15>& text);
/// "PRE", "POST", "FINISHED", "PREVIEW", "NONE", or "unknown".
KX_EXPORT QString jobScriptType2String(const kxRS::_PrePostCommandType& type);

} // namespace kxRA
