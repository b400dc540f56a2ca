// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxfarm's sample farms: the jobs and clients of a sample file, read by the stand-in server's reader.
#include "bindings.h"
#include "kxpy.h"
#include "pyjob.h"

#include "samplefarm.h"

#include <pybind11/stl.h>

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <string>
#include <vector>

namespace py = pybind11;

namespace {

/// kxfarm.SampleFarm: what one sample file holds.
struct PySampleFarm {
    QString path;
    std::vector<QString> labels;
    py::list jobs;
    py::object clients;
};

/// Reads `path` and parses it as the stand-in server does. OSError with the path when the file cannot
/// be read, ValueError with file and line when it is malformed.
PySampleFarm loadSampleFarm(kxpy::PathArg pathArg) {
    const QString path = kxpy::path(pathArg, "path");
    kxSampleFarm farm;
    QString error;
    bool readable = false;
    bool parsed = false;
    {
        py::gil_scoped_release release;
        QFile file(path);
        readable = file.open(QIODevice::ReadOnly);
        if (readable) {
            const QByteArray content = file.readAll();
            readable = file.error() == QFileDevice::NoError;
            if (readable)
                parsed = kxParseSampleFarm(content, path, farm, error);
        }
        if (!readable)
            error = file.errorString();
    }
    if (!readable) {
        // The same errno-style error as open(): FileNotFoundError for a missing file.
        const QFileInfo info(path);
        const int code = !info.exists() ? ENOENT : (info.isDir() ? EISDIR : EACCES);
        kxpy::osError(code, error, path);
    }
    if (!parsed)
        throw py::value_error(error.toStdString());

    PySampleFarm result;
    result.path = path;
    for (const kxSampleJob& sample : std::as_const(farm.jobs)) {
        result.labels.push_back(sample.label);
        result.jobs.append(py::cast(PyJob(sample)));
    }
    result.clients = kxfarmClientsFromSample(farm.clients);
    return result;
}

} // namespace

void bind_samplefarm(py::module_& m) {
    py::class_<PySampleFarm>(
        m, "SampleFarm",
        R"doc(The clients and job events of a sample farm file, as the stand-in farm server reads them.

jobs holds one Job per [job LABEL] section, filled as the server fills the records it hands to the
plug-in; labels holds their labels in the same order, and job(label) finds one. clients holds a Client per
[client NAME] section.)doc")
        .def_property_readonly(
            "path", [](const PySampleFarm& f) { return f.path; }, "The file the farm was read from.")
        .def_property_readonly(
            "jobs",
            [](const PySampleFarm& f) {
                return py::reinterpret_steal<py::list>(PySequence_List(f.jobs.ptr()));
            },
            "The jobs (Job), in file order: a new list of the farm's Job objects at each call.")
        .def_property_readonly(
            "labels", [](const PySampleFarm& f) { return py::cast(f.labels); },
            "The label of each job's section, in the order of jobs.")
        .def_readonly("clients", &PySampleFarm::clients, "The clients, in file order.")
        .def(
            "job",
            [](const PySampleFarm& f, const QString& label) -> py::object {
                for (size_t i = 0; i < f.labels.size(); ++i)
                    if (f.labels[i] == label)
                        return f.jobs[i];
                throw py::key_error(label.toStdString());
            },
            py::arg("label"), "The first job whose section is [job LABEL]; KeyError when there is none.")
        .def("__repr__", [](const PySampleFarm& f) {
            return "<kxfarm.SampleFarm " + std::string(py::repr(py::cast(f.path))) + ": " +
                   std::to_string(f.jobs.size()) + " jobs, " + std::to_string(py::len(f.clients)) +
                   " clients>";
        });
    m.def("load_sample_farm", &loadSampleFarm, py::arg("path"),
          "Reads a sample farm file (str or os.PathLike) with the stand-in server's reader: OSError with "
          "the path when it cannot be read, ValueError naming the file and line of a malformed entry.");
}
