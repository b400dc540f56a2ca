# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
import kxfarm


def test_module_has_a_docstring():
    assert "render farm" in kxfarm.__doc__
