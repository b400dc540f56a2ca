// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxfarm's render applications: versions read from executable paths, version-free path patterns, the
// render-setting table and the texts of render-application and job script types.
#include "bindings.h"
#include "kxpy.h"

#include "renderapps/appversion.h"
#include "renderapps/rendersettings.h"

#include <climits>

namespace py = pybind11;
using kxpy::str;

void bind_renderapps(py::module_& m) {
    const py::object versionType = kxpy::namedTuple(
        m, "AppVersion", "major minor minor_full",
        "A render application's version read from its path: the major version, the minor version's\n"
        "leading digits and its digits and dots ('5.268').");
    m.def(
        "app_version",
        [versionType](kxpy::PathArg path) -> py::object {
            const QString p = kxpy::path(path, "path");
            int major = 0;
            QString minor;
            QString minorFull;
            if (!kxRA::kxGetAppVersionFromPath(p, major, minor, minorFull))
                return py::none();
            return versionType(major, str(minor), str(minorFull));
        },
        py::arg("path"),
        "The version of the render application at `path` (folders separated by '/'), read as the farm\n"
        "reads it: app_version('/apps/Houdini 16.5.268/bin/hython') == AppVersion(16, '5268', '5.268').\n"
        "After Effects CS and CC, Nuke, Houdini, Arnold, Redshift, vray and Softimage are recognised by\n"
        "their paths. None when the path holds no version.");
    m.def(
        "version_pattern",
        [](kxpy::PathArg path) { return str(kxRA::replaceVersionWithAsterisk(kxpy::path(path, "path"))); },
        py::arg("path"),
        "The path as a version-independent pattern, its version digits and service-pack texts replaced\n"
        "by '*' while words such as x64, win64 and 3dsmax stay: version_pattern(\n"
        "'/apps/maya2016.5/bin/maya.exe') == '/apps/maya*/bin/maya.exe'.");

    const py::object settingType = kxpy::namedTuple(
        m, "RenderSetting", "number name param_class kind flag_a flag_b default min max value_names",
        "One row of the render-setting table: its number (1 to 19), display name, class (1 to 3), kind\n"
        "(1 a plain number, 2 a choice), the two flags, default, range, and the names of values 0 to 5\n"
        "of a choice (empty where the row has none).");
    py::list rows;
    for (int i = 0; i < kxRS::kxParamArrayDefined; ++i) {
        const kxRS::_kxRenderParam& p = kxRS::kxParamArray[i];
        py::list names;
        for (int v = 0; v < kxRS::_kxRenderParam::valueNameCount; ++v)
            if (!p.valueName(v).isEmpty())
                names.append(str(p.valueName(v)));
        rows.append(settingType(i + 1, str(p.name.toQString()), p.paramClass, p.paramKind, bool(p.flagA),
                                bool(p.flagB), p.defaultValue, p.minValue, p.maxValue, py::tuple(names)));
    }
    // A tuple: the table is the farm's constant data, read-only from Python as in the farm.
    m.attr("render_settings") = py::tuple(rows);

    m.def(
        "render_type_text",
        [](kxpy::IntArg type, bool shortForm) {
            const auto code = static_cast<unsigned char>(kxpy::integer(type, "type", 0, 255));
            return str(kxRA::renderType2Str(code, shortForm).toQString());
        },
        py::arg("type"), py::kw_only(), py::arg("short") = false,
        "The text of a render-application type code: 1 '3Drender', 2 'FileExport', 3 'Archive', 4 'Comp',\n"
        "6 'AppScript', anything else 'Execute'; the short form names types 2 and 6 '3D' too.");
    m.def(
        "render_type_code",
        [](kxpy::TextArg text) {
            _kxString<15> t;
            kxpy::setText(t, kxpy::text(text, "text"), "text", true);
            return int(kxRA::renderType2Enum(t));
        },
        py::arg("text"),
        "The type code of a render-application type text, compared exactly; any other text gives 5\n"
        "(execute), as the farm reads it.");
    m.def(
        "job_script_type_text",
        [](kxpy::IntArg type) {
            const auto code = kxRS::_PrePostCommandType(kxpy::integer(type, "type", INT_MIN, INT_MAX));
            return str(kxRA::jobScriptType2String(code));
        },
        py::arg("type"), "'PRE', 'POST', 'FINISHED', 'PREVIEW' or 'NONE' for 0 to 4, else 'unknown'.");
    m.def(
        "render_option_names",
        []() {
            kxRS::set_KXOptionsnameFile();
            py::list names;
            for (int i = 0; i < kxRS::_KXOptionsnameFile.usedCount(); ++i)
                names.append(str(kxRS::_KXOptionsnameFile.at(i)));
            return names;
        },
        "The names of the on/off render options, by option number, each in its 32-character column.");
}
