# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# kxfarm's render applications: versions from paths, version-free patterns, the render-setting table
# and the type texts, with the worked examples of the C++ tests and kxinspect's answers.
import pathlib

import pytest

import kxfarm

VERSIONS = [
    ("/apps/Houdini 16.5.268/bin/hython", 16, "5268", "5.268"),
    ("/opt/hfs/16.5.268/bin/mantra", 16, "5268", "5.268"),
    ("/apps/maya2016.5/bin/maya.exe", 2016, "5", "5"),
    ("/apps/maya2016.5.1/bin/maya.exe", 2016, "5", "5.1"),
    ("C:/Program Files/Autodesk/3ds Max 2016/3dsmax.exe", 2016, "0", "0"),
    ("C:/Program Files/Adobe/Adobe After Effects CS6/Support Files/AfterFX.exe", 11, "0", "0"),
    ("C:/Program Files/Adobe/Adobe After Effects CC 2015/Support Files/AfterFX.exe", 2015, "0", "0"),
    ("C:/Program Files/Nuke10.5v4/Nuke10.5.exe", 10, "54", "54"),
    ("C:/Chaos Group/V-Ray/vray_36001/bin/vray.exe", 3, "6001", "6001"),
    ("C:/solidangle/Arnold-5.0.1.0/bin/kick.exe", 5, "01", "0.1.0"),
    ("/opt/redshift/Redshift 2.6.41/bin/redshiftCmdLine", 2, "641", "6.41"),
    ("/apps/maya2016.5.2/bin/maya2016.exe", 2016, "5", "5.2"),
    ("C:/Autodesk/Softimage 2011 Subscription Advantage Pack SP1/Application/bin/XSI.exe", 2011, "6", "6"),
    ("/apps/maya2017_beta/bin/maya", 2017, "00", "00"),
    ("C:/Program Files (x86)/tool 3.2 x64/win64/tool_64.exe", 3, "2", "2"),
    ("/Adobe After Effects CS/2147483642/x", 2147483647, "0", "0"),
]

PATTERNS = [
    ("/apps/maya2016.5/bin/maya.exe", "/apps/maya*/bin/maya.exe"),
    ("C:/Program Files/Autodesk/3ds Max 2019/3dsmax.exe", "C:/Program Files/Autodesk/3ds Max */3dsmax.exe"),
    ("C:/apps/win64/x64/Tool 64 Bit 2019/app.exe", "C:/apps/win64/x64/Tool 64 Bit */app.exe"),
    ("/a/X64/win32/b", "/a/X*/win*/b"),
    ("/app/tool1.2.3.4.5/x", "/app/tool*.*/x"),
    ("C:/Program Files/Luxology/modo/601sp5/modo.exe", "C:/Program Files/Luxology/modo/*/modo.exe"),
    ("/Softimage/XSI_7.01 R2/bin/XSI.bat", "/Softimage/XSI_*/bin/XSI.bat"),
    ("/apps/blender/blender", "/apps/blender/blender"),
    ("", ""),
]


def test_versions_read_from_paths():
    for path, major, minor, minor_full in VERSIONS:
        assert kxfarm.app_version(path) == kxfarm.AppVersion(major, minor, minor_full), path
    # After Effects CC before the yearly names is 12, whatever its digits; no minor version is read.
    cc = kxfarm.app_version("C:/Program Files/Adobe/Adobe After Effects CC/Support Files/AfterFX.exe")
    assert cc.major == 12
    assert kxfarm.app_version(pathlib.PurePosixPath("/apps/maya2016.5/bin/maya.exe")).major == 2016


def test_paths_without_a_version_give_none():
    for path in ["/usr/bin/blender", "/1/x", "", "/apps/tool99999999999/x", "/apps/tool\u00b2\u00b3/x"]:
        assert kxfarm.app_version(path) is None, path
    with pytest.raises(TypeError, match="path: expected str, bytes or os.PathLike, got int"):
        kxfarm.app_version(2016)


def test_paths_are_taken_as_the_file_system_names_them():
    assert kxfarm.app_version(b"/apps/maya2016.5/bin/maya.exe").major == 2016

    class Unreadable:
        def __fspath__(self):
            raise RuntimeError("no path today")

    # The object's own error comes through, not a TypeError that hides it.
    with pytest.raises(RuntimeError, match="no path today"):
        kxfarm.app_version(Unreadable())


def test_version_free_patterns():
    for path, pattern in PATTERNS:
        assert kxfarm.version_pattern(path) == pattern, path
    assert kxfarm.RenderApp("Maya", 2016, "5", PATTERNS[0][0]).pattern == PATTERNS[0][1]


def test_versions_agree_with_kxinspect(kxinspect):
    for path in [v[0] for v in VERSIONS[:8]] + ["/usr/bin/blender", PATTERNS[2][0]]:
        answer = kxinspect("version", path, expect=(0, 1))
        ours = kxfarm.app_version(path)
        assert (ours is not None) == answer["found"], path
        if ours:
            assert ours == (answer["major"], answer["minor"], answer["minorFull"]), path
        assert kxfarm.version_pattern(path) == answer["pattern"], path


def test_the_render_setting_table():
    table = kxfarm.render_settings
    assert len(table) == 19 and [row.number for row in table] == list(range(1, 20))
    assert table[0] == kxfarm.RenderSetting(1, "Number of Preview frames", 1, 1, False, False, 7, 1, 18, ())
    assert table[1] == (2, "Max Clients At A Time", 1, 1, False, True, 1500, 1, 1500, ())
    assert table[7].value_names == ("Default", "No Verbose", "Errors & Warnings", "Information", "Progress",
                                    "Debug")
    assert table[8].value_names == ("Default", "Preview", "Normal", "Production", "Best")
    assert table[9][1:9] == ("Color", 2, 2, True, True, 13, 0, 2147483647)
    assert table[10].value_names == ("-", "After Preview", "After frames done", "After both")
    assert table[18] == (19, "Required Core Count", 1, 1, False, False, 0, 0, 256, ())
    # Read-only, as the farm's constant data.
    with pytest.raises(TypeError):
        table[0] = None
    with pytest.raises(AttributeError):
        table[0].default = 3


def test_type_texts():
    for code, long_text, short_text in [(1, "3Drender", "3D"), (2, "FileExport", "3D"), (3, "Archive", "Archive"),
                                        (4, "Comp", "Comp"), (6, "AppScript", "3D"), (0, "Execute", "Execute"),
                                        (5, "Execute", "Execute"), (7, "Execute", "Execute")]:
        assert kxfarm.render_type_text(code) == long_text
        assert kxfarm.render_type_text(code, short=True) == short_text
    for text, code in [("3D", 1), ("3Drender", 1), ("Comp", 4), ("Archive", 3), ("Execute", 5),
                       ("FileExport", 2), ("AppScript", 6), ("comp", 5), ("x" * 40, 5)]:
        assert kxfarm.render_type_code(text) == code, text
    assert [kxfarm.job_script_type_text(t) for t in range(6)] == ["PRE", "POST", "FINISHED", "PREVIEW", "NONE",
                                                                  "unknown"]
    with pytest.raises(ValueError, match="type"):
        kxfarm.render_type_text(256)
    names = kxfarm.render_option_names()
    assert len(names) == 31 and all(len(n) == 32 for n in names)
    assert names[8] == "unused".ljust(32) and names[0] == "Abort Jobs with Lower Priority".ljust(32)
    assert kxfarm.render_option_names() == names  # filled once


def test_the_stub_types_the_configuration_client_and_render_application_names():
    import ast

    stub = (pathlib.Path(kxfarm.__file__).parent / "__init__.pyi").read_text(encoding="utf-8")
    begin = stub.index("# ---- configuration, clients and render applications ----")
    end = stub.index("# ---- end of configuration, clients and render applications ----")
    region = ast.parse(stub[begin:end])
    typed = {}
    for node in region.body:
        if isinstance(node, (ast.ClassDef, ast.FunctionDef)):
            typed[node.name] = node
        elif isinstance(node, (ast.AnnAssign, ast.Assign)):
            target = node.target if isinstance(node, ast.AnnAssign) else node.targets[0]
            typed[target.id] = node
    aliases = {"ConfigValue", "Schedule"}  # names of the stub only
    assert set(typed) - aliases <= set(dir(kxfarm))
    for name, node in typed.items():
        if not isinstance(node, ast.ClassDef) or issubclass(getattr(kxfarm, name), tuple):
            continue
        members = {n.name for n in node.body if isinstance(n, ast.FunctionDef)}
        members |= {n.target.id for n in node.body if isinstance(n, ast.AnnAssign)}
        public = {m for m in dir(getattr(kxfarm, name)) if not m.startswith("_")}
        assert public == members - {m for m in members if m.startswith("_")}, name
        assert getattr(kxfarm, name).__doc__, name
    for name in typed.keys() - aliases:
        assert getattr(kxfarm, name).__doc__, name
