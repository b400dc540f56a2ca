// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// GoogleTest prints a QString it cannot format as its code units; with this, a failing assertion shows
// the text itself in quotes. It stands in the global namespace, QString's own, so that the printer
// finds it by argument-dependent lookup.

#include <QString>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
