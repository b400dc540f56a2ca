# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
"""The render farm's data model for pipeline tools.

The same C++ code the farm server and its plug-in run: job and client records, job identifiers, the job
variable language, image names, frame sets, the job filter, log and error texts, the configuration store,
the client list and render-application versions.

A text too long for its record field raises ValueError naming the field and its capacity, unless the
call is given truncate=True (then the farm's own cutting applies); bad arguments raise TypeError or
ValueError naming the argument, and files that cannot be read or written raise OSError with their path.

>>> import kxfarm
>>> job = kxfarm.Job(user="anna", scene="/projects/shot010/shot010.ma", frame_start=1001, frame_end=1100)
>>> kxfarm.FrameSet.parse("1001-1100").frames[-1]
1100
"""
import sys as _sys

from ._kxfarm import *  # noqa: F401,F403
from . import _kxfarm

__all__ = [name for name in dir(_kxfarm) if not name.startswith("_")]

# The C++ timing loops of the benchmark, importable as kxfarm._bench.
_bench = _kxfarm._bench
_sys.modules[__name__ + "._bench"] = _bench
