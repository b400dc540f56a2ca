# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
"""The render farm's data model for pipeline tools.

The same C++ code the farm server and its plug-in run: job and client records, job identifiers, the job
variable language, image names, frame sets, the job filter, log and error texts, the configuration store,
the client list and render-application versions.
"""
from ._kxfarm import *  # noqa: F401,F403
from . import _kxfarm

__all__ = [name for name in dir(_kxfarm) if not name.startswith("_")]
