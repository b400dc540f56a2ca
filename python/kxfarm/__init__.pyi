# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# Types of every name of the kxfarm module, for editors and type checkers.
import os
from typing import Iterable, Iterator, NamedTuple, Optional, Sequence, Union

PathLike = Union[str, "os.PathLike[str]"]

# ---- jobs: identifiers, records, variables, image names, frame sets, filter, log texts ----



# ---- end of jobs ----


# ---- configuration, clients and render applications ----



# ---- end of configuration, clients and render applications ----


# ---- sample farms ----



# ---- end of sample farms ----
