# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# The README's example for pipeline developers runs as written and prints what the README says it prints.
import contextlib
import io
import re

from conftest import SOURCE_DIR


def readme_blocks():
    text = (SOURCE_DIR / "README.md").read_text(encoding="utf-8")
    section = text.split("## Python module for pipeline developers", 1)[1].split("\n## ", 1)[0]
    return re.findall(r"```(\w+)\n(.*?)```", section, re.S)


def test_readme_example_prints_what_the_readme_shows():
    blocks = readme_blocks()
    kinds = [kind for kind, _ in blocks]
    assert kinds == ["python", "text"]
    code, shown = blocks[0][1], blocks[1][1]
    output = io.StringIO()
    with contextlib.redirect_stdout(output):
        exec(compile(code, "README.md", "exec"), {"__name__": "readme"})
    assert output.getvalue() == shown
