// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// The kxfarm extension module: the farm's data model for pipeline tools written in Python.
#include "bindings.h"

namespace py = pybind11;

PYBIND11_MODULE(_kxfarm, m) {
    m.doc() = "The render farm's data model: job and client records, identifiers, the job variable "
              "language, image names, frame sets, the job filter, log texts, the configuration store, "
              "the client list and render-application versions.";
    // The package kxfarm exports every name of this extension module as its own, so classes and
    // functions are made under that module name: help(kxfarm) lists them, and their reprs and
    // signatures read kxfarm.Job rather than kxfarm._kxfarm.Job.
    const py::object extensionName = m.attr("__name__");
    m.attr("__name__") = "kxfarm";
    bind_jobs(m);
    bind_config(m);
    bind_clients(m);
    bind_renderapps(m);
    bind_samplefarm(m);
    m.attr("__name__") = extensionName;

    py::module_ bench = m.def_submodule("_bench", "Timing loops of the Python benchmark, in C++.");
    bind_bench(bench);
}
