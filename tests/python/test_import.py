# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# The package as an editor and help() see it: its docstring, the stub file typing every public name and
# member, and the names reported under the package.
import ast
import pathlib
import pydoc

import kxfarm


def test_module_has_a_docstring():
    assert "render farm" in kxfarm.__doc__


def stub_names():
    """Top-level names of the stub, and the member names of each class in it."""
    stub = pathlib.Path(kxfarm.__file__).with_name("__init__.pyi")
    tree = ast.parse(stub.read_text(encoding="utf-8"))
    names, members = set(), {}
    for node in tree.body:
        if isinstance(node, (ast.FunctionDef, ast.ClassDef)):
            names.add(node.name)
        if isinstance(node, ast.AnnAssign):  # a module attribute such as the render-setting table
            names.add(node.target.id)
        if isinstance(node, ast.ClassDef):
            members[node.name] = {item.name for item in node.body if isinstance(item, ast.FunctionDef)} | {
                item.target.id for item in node.body if isinstance(item, ast.AnnAssign)}
    return names, members


def test_stub_types_every_public_name_and_member():
    names, members = stub_names()
    assert (set(kxfarm.__all__) - names) == set()
    assert (names - set(kxfarm.__all__) - {"PathLike"}) == set()
    for name, stubbed in members.items():
        item = getattr(kxfarm, name)
        public = {member for member in vars(item) if not member.startswith("_")}
        if issubclass(item, tuple):  # a named tuple: its fields
            public = set(item._fields)
        assert public - stubbed == set(), name


def test_help_lists_the_classes_under_the_package():
    text = pydoc.render_doc(kxfarm, renderer=pydoc.plaintext)
    for name in ("Job", "JobId", "FrameSet", "JobFilter", "SampleFarm", "load_sample_farm", "split_image_path"):
        assert f"class {name}" in text or f"\n    {name}(" in text, name
    assert "kxfarm._kxfarm." not in text
    assert "kxfarm.Job" in kxfarm.JobFilter.matches.__doc__
