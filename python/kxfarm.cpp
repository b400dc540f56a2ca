// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// The kxfarm extension module: the farm's data model for pipeline tools written in Python.
#include "bindings.h"

PYBIND11_MODULE(_kxfarm, m)
{
    m.doc() = "The render farm's data model: job and client records, identifiers, the job variable "
              "language, image names, frame sets, the job filter, log texts, the configuration store, "
              "the client list and render-application versions.";
    bind_jobs(m);
    bind_config(m);
    bind_clients(m);
    bind_renderapps(m);
    bind_samplefarm(m);
}
