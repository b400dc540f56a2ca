// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// The kxfarm extension module is bound area by area; the module file calls each in turn, so a later
// area may take the classes of an earlier one as arguments (a filter matches a Job, a sample farm holds
// Jobs and Clients).
#include <pybind11/pybind11.h>

#include <QList>

struct kxSampleClient;

void bind_jobs(pybind11::module_& m);
void bind_config(pybind11::module_& m);
void bind_clients(pybind11::module_& m);
void bind_renderapps(pybind11::module_& m);
void bind_samplefarm(pybind11::module_& m);
/// The timing loops of the Python benchmark (the private submodule kxfarm._bench).
void bind_bench(pybind11::module_& m);

/// A Python list of kxfarm.Client objects for the stand-in server's sample clients, each filled as the
/// server holds it (name, pending message, hardware, threads, preset, render applications).
pybind11::object kxfarmClientsFromSample(const QList<kxSampleClient>& clients);
