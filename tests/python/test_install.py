# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# The installed module: `cmake --install` into a fresh prefix, then the system's interpreter imports
# kxfarm from there through its own site handling, with no search path of ours in the environment.
import os
import pathlib
import subprocess
import sys

from conftest import BUILD_DIR, SAMPLE_FARM

CHECK = """
import site, sys
site.addsitedir(sys.argv[1])
import kxfarm
print(kxfarm.__file__)
print(kxfarm.JobId(123456789, member=1).short_text)
print(len(kxfarm.load_sample_farm(sys.argv[2]).jobs))
"""


def test_installed_module_imports_from_a_fresh_prefix(tmp_path):
    prefix = tmp_path / "prefix"
    install = subprocess.run([os.environ.get("KX_CMAKE", "cmake"), "--install", str(BUILD_DIR), "--prefix", str(prefix)], capture_output=True, text=True)
    assert install.returncode == 0, install.stdout + install.stderr
    site_dir = prefix / os.environ.get("KX_PYTHON_INSTALL_DIR", f"lib/python3.{sys.version_info.minor}/dist-packages")
    package = site_dir / "kxfarm"
    assert sorted(p.name for p in package.iterdir() if not p.name.startswith("_kxfarm")) == ["__init__.py", "__init__.pyi", "py.typed"]

    # The module finds the libraries through a path relative to itself: the prefix works where it is
    # moved to.
    moved = tmp_path / "moved"
    prefix.rename(moved)
    prefix = moved
    site_dir = prefix / site_dir.relative_to(tmp_path / "prefix")

    # Only what the sanitizer build needs to load an instrumented module passes; no PYTHONPATH and no
    # library path.
    environment = {key: value for key, value in os.environ.items()
                   if key in ("PATH", "HOME", "LANG", "LD_PRELOAD", "ASAN_OPTIONS", "UBSAN_OPTIONS")}
    done = subprocess.run([sys.executable, "-c", CHECK, str(site_dir), str(SAMPLE_FARM)], capture_output=True,
                          text=True, env=environment, cwd=tmp_path)
    assert done.returncode == 0, done.stderr
    location, short_text, jobs = done.stdout.split("\n")[:3]
    assert pathlib.Path(location).resolve().is_relative_to(prefix.resolve())
    assert (short_text, jobs) == ("{KT9a}", "7")
