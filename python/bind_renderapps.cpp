// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "bindings.h"

namespace py = pybind11;

void bind_renderapps(py::module_ &m)
{
    (void)m;
}
