# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# Shared fixtures of the kxfarm tests: the source and build trees the test CMake names, the bundled
# sample farm and the kxinspect program built beside the module, whose answers the module's must
# agree with.
import json
import os
import pathlib
import subprocess

import pytest

SOURCE_DIR = pathlib.Path(os.environ.get("KX_SOURCE_DIR", pathlib.Path(__file__).resolve().parents[2]))
BUILD_DIR = pathlib.Path(os.environ.get("KX_BUILD_DIR", SOURCE_DIR / "build" / "default"))
SAMPLE_FARM = SOURCE_DIR / "examples" / "samplefarm.ini"


@pytest.fixture
def sample_farm_path():
    return SAMPLE_FARM


@pytest.fixture(scope="session")
def kxinspect():
    """Runs build/<preset>/tools/farmview/kxinspect with --json. Gives its parsed output, or its
    messages when it wrote no output (a refused call); `expect` is the exit code, or a tuple of them."""
    program = BUILD_DIR / "tools" / "farmview" / "kxinspect"
    assert program.is_file(), f"kxinspect is not built at {program}"

    def run(*args, expect=0):
        done = subprocess.run([str(program), *args, "--json"], capture_output=True, text=True)
        assert done.returncode in (expect if isinstance(expect, tuple) else (expect,)), done.stderr
        return json.loads(done.stdout) if done.stdout.strip() else done.stderr

    return run
