// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxfarm._bench: the C++ side of the Python benchmark. Each function runs the loop a Python caller runs
// through the module, on the same inputs, and answers the thread's processor time it took; the inputs
// are converted from Python objects before the clock starts, as a C++ tool would hold them already.
#include "bindings.h"
#include "kxpy.h"
#include "pyjob.h"

#include "jobs/frameset.h"
#include "jobs/jobfilter.h"

#include <pybind11/stl.h>

#include <time.h>

#include <memory>
#include <vector>

namespace py = pybind11;

namespace {

double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + 1e-9 * double(now.tv_nsec);
}

std::vector<kxJ::_JobSend*> records(const py::list& jobs) {
    std::vector<kxJ::_JobSend*> list;
    for (py::handle job : jobs)
        list.push_back(&job.cast<PyJob&>().record());
    return list;
}

} // namespace

void bind_bench(py::module_& m) {
    m.def(
        "parse_frame_sets",
        [](const std::vector<QString>& texts) {
            long long frames = 0;
            const double start = threadSeconds();
            for (const QString& text : texts) {
                // A set of its own for every text, as FrameSet.parse makes one.
                auto set = std::make_unique<kxJ::_binaryFrameSet>();
                set->fromString_FrameSet(_kxString8_allSize<kxJ::_binaryFrameSet::boolTextCapacity>(text));
                frames += set->lastIndex();
            }
            const double seconds = threadSeconds() - start;
            return py::make_tuple(seconds, frames);
        },
        py::arg("texts"),
        "Parses every text into a new frame set: (processor seconds, sum of last indexes).");
    m.def(
        "resolve",
        [](const py::list& jobs, const QString& text, bool keepAppVariables) {
            const std::vector<kxJ::_JobSend*> list = records(jobs);
            long long characters = 0;
            const double start = threadSeconds();
            for (kxJ::_JobSend* job : list)
                characters +=
                    job->replaceJobVariables(text, keepAppVariables, nullptr, nullptr, nullptr).size();
            const double seconds = threadSeconds() - start;
            return py::make_tuple(seconds, characters);
        },
        py::arg("jobs"), py::arg("template"), py::arg("keep_app_variables"),
        "Resolves the template for every job: (processor seconds, characters resolved).");
    m.def(
        "filter",
        [](const py::list& jobs, const QString& text) {
            const std::vector<kxJ::_JobSend*> list = records(jobs);
            const double start = threadSeconds();
            auto filter = std::make_unique<kxJ::_jobFilter_Contains>();
            filter->createFromString(text, false, true);
            long long passed = 0;
            for (kxJ::_JobSend* job : list)
                passed += job->filterJobList_Fits_Contains(*filter) ? 1 : 0;
            const double seconds = threadSeconds() - start;
            return py::make_tuple(seconds, passed);
        },
        py::arg("jobs"), py::arg("text"),
        "Parses the filter and tests every job: (processor seconds, jobs passed).");
}
