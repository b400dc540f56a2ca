// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// kxfarm.Client in C++: the client record a Python Client owns, deep-copied with the object.

#include "clients/clientrecords.h"

#include <memory>

/// A client record owned by its kxfarm.Client: the 1000-thread form the configuration file writer
/// takes, about 200 KB on the heap. Copies are deep.
struct PyClient {
    std::unique_ptr<kxC::_Client_ALL> record;

    /// A cleared record, as the server holds a client it has just added.
    PyClient() : record(std::make_unique<kxC::_Client_ALL>()) { record->clear(); }
    explicit PyClient(const kxC::_Client_ALL& from) : record(std::make_unique<kxC::_Client_ALL>(from)) {}
    PyClient(const PyClient& other) : record(std::make_unique<kxC::_Client_ALL>(*other.record)) {}
    PyClient& operator=(const PyClient& other) {
        *record = *other.record;
        return *this;
    }
};
