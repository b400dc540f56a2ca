// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "runtime/kxexport.h"

#include "kxstring.h"

#include <QByteArray>
#include <QString>

// Constant texts shared by the data-model modules. They are built when the library loads and released
// when it unloads.

/// A single line feed.
extern KX_EXPORT const QString LineEnd;
/// A single line feed, as bytes.
extern KX_EXPORT const QByteArray LineEndB;
/// "/": the path delimiter inside records, whatever the operating system.
extern KX_EXPORT const QString PD;
/// "C": the letters of the mapping types.
extern KX_EXPORT const _kxString8_allSize<10> mapTypeLetters;
