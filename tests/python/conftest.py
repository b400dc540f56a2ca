# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# Shared fixtures of the kxfarm tests: the source and build trees the test CMake names, the bundled
# sample farm and the kxinspect program built beside the module.
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


@pytest.fixture
def kxinspect():
    """Runs kxinspect with the given arguments and --json; answers its JSON document."""
    program = BUILD_DIR / "tools" / "farmview" / "kxinspect"
    if not program.exists():
        pytest.fail(f"kxinspect is not built: {program}")

    def run(*arguments):
        done = subprocess.run([str(program), *arguments, "--json"], capture_output=True, text=True)
        assert done.returncode in (0, 1), done.stderr
        return json.loads(done.stdout)

    return run
