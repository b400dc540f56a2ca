// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "renderapps/rendersettings.h"

#include <initializer_list>

namespace kxRS {

namespace {

_kxRenderParam param(quint32 paramClass, quint32 paramKind, quint8 flagA, quint8 flagB, qint32 defaultValue,
                     qint32 minValue, qint32 maxValue, const char* name,
                     std::initializer_list<const char*> valueNames = {}) {
    _kxRenderParam p{};
    p.paramClass = paramClass;
    p.paramKind = paramKind;
    p.flagA = flagA;
    p.flagB = flagB;
    p.defaultValue = defaultValue;
    p.minValue = minValue;
    p.maxValue = maxValue;
    p.name.set(name);
    int i = 0;
    for (const char* valueName : valueNames)
        if (i < _kxRenderParam::valueNameCount)
            p.valueNames[i++].set(valueName);
    return p;
}

constexpr qint32 noLimit = 2147483647;

} // namespace

QString _kxRenderParam::valueName(int value) const {
    return (value >= 0 && value < valueNameCount) ? valueNames[value].toQString() : QString();
}

// Slots without a row are value-initialised: zero numbers, empty texts.
const _kxRenderParam kxParamArray[kxParamArraySize] = {
    param(1, 1, 0, 0, 7, 1, 18, "Number of Preview frames"),
    param(1, 1, 0, 1, 1500, 1, 1500, "Max Clients At A Time"),
    param(1, 1, 0, 1, 0, 0, 500, "Required Memory (GB)"),
    param(1, 1, 0, 1, 0, 0, 7200, "Max Frame Time (minutes)"),
    param(1, 1, 0, 1, 0, 0, noLimit, "Min File Size Kb"),
    param(1, 1, 0, 1, 30, 0, noLimit, "Max Crashes"),
    param(1, 1, 0, 1, 30, 0, noLimit, "Max Thresholds"),
    param(3, 2, 0, 1, 0, 0, 6, "Render Verbose",
          {"Default", "No Verbose", "Errors & Warnings", "Information", "Progress", "Debug"}),
    param(3, 2, 0, 1, 0, 0, noLimit, "Render Quality",
          {"Default", "Preview", "Normal", "Production", "Best"}),
    param(2, 2, 1, 1, 13, 0, noLimit, "Color"),
    param(2, 2, 0, 1, 0, 0, noLimit, "Approve Job",
          {"-", "After Preview", "After frames done", "After both"}),
    param(2, 1, 0, 1, 0, 0, noLimit, "Re-Execute Job After Hours"),
    param(1, 1, 0, 1, 1, 1, 10, "Start Multiple Instances"),
    param(3, 1, 1, 0, 0, 0, 100000, "Override Image Width"),
    param(3, 1, 1, 0, 0, 0, 100000, "Override Image Height"),
    param(3, 1, 1, 1, 0, 0, 256, "Restrict Core Count"),
    param(3, 1, 1, 1, 0, 0, 1000, "Restrict Memory (GB)"),
    param(1, 1, 0, 1, 0, 0, 500, "Required GPU Memory (GB)"),
    param(1, 1, 0, 0, 0, 0, 256, "Required Core Count"),
};

_cfgStrList_Pointer<44> _KXOptionsnameFile;

void set_KXOptionsnameFile() {
    static const char* const names[] = {
        "Abort Jobs with Lower Priority",
        "Ignore Crashes",
        "Auto Approve Job",
        "Ignore Wait For",
        "Render Preview First",
        "Do Not Show Preview Jpegs",
        "Do Not Check For Frames",
        "Little Job",
        "unused",
        "Keep Scene Open",
        "Allow to Delete Crashed Frames",
        "Allow Local Scene Copy",
        "Allow Texture Replacement",
        "Allow Local Render Out",
        "Preview Gamma 2.2",
        "Crop EXR",
        "Multi OS Scenes",
        "No Process Tree Check",
        "Overwrite existing files",
        "No Freeze Detection",
        "GPU required",
        "Distribute Start To End",
        "Preview- Contiguous Frames",
        "Auto-get Required Memory",
        "Override Image Size Deprecated",
        "Override Image Type Deprecated",
        "No Frame by Frame Loop",
        "Override Image Size",
        "Log Render Workload",
        "Approve after preview required",
        "Approve after all frames required",
    };
    constexpr int nameCount = int(sizeof(names) / sizeof(names[0]));
    constexpr int columnWidth = 32;
    _cfgStrList_Pointer<44>& options = _KXOptionsnameFile;
    // An option's number is its position, so names appended behind a filled list would carry the
    // wrong numbers: the list is filled once.
    if (options.count != 0)
        return;
    for (const char* name : names)
        if (options.count < options.capacity)
            options.list[options.count++].set(name);
    for (int i = 0; i < nameCount && i < options.capacity; ++i) {
        if (options.count < i + 1)
            options.count = i + 1;
        options.list[i].setLength(columnWidth);
    }
}

} // namespace kxRS

namespace kxRA {

_kxString<15> renderType2Str(const unsigned char& type, const bool& shortForm) {
    switch (type) {
    case 1:
        return shortForm ? "3D" : "3Drender";
    case 2:
        return shortForm ? "3D" : "FileExport";
    case 3:
        return "Archive";
    case 4:
        return "Comp";
    case 6:
        return shortForm ? "3D" : "AppScript";
    default:
        return "Execute";
    }
}

unsigned char renderType2Enum(const _kxString<15>& text) {
    static const struct {
        const char* text;
        unsigned char type;
    } types[] = {
        {"3D", 1},      {"3Drender", 1},   {"Comp", 4},      {"Archive", 3},
        {"Execute", 5}, {"FileExport", 2}, {"AppScript", 6},
    };
    const QString t = text.toQString();
    for (const auto& entry : types)
        if (t == QLatin1String(entry.text))
            return entry.type;
    return 5;
}

QString jobScriptType2String(const kxRS::_PrePostCommandType& type) {
    switch (type) {
    case kxRS::PrePost_pre:
        return QStringLiteral("PRE");
    case kxRS::PrePost_post:
        return QStringLiteral("POST");
    case kxRS::PrePost_finished:
        return QStringLiteral("FINISHED");
    case kxRS::PrePost_preview:
        return QStringLiteral("PREVIEW");
    case kxRS::PrePost_none:
        return QStringLiteral("NONE");
    }
    return QStringLiteral("unknown");
}

} // namespace kxRA
