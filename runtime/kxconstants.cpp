// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxconstants.h"

const QString LineEnd = QStringLiteral("\n");
const QByteArray LineEndB = QByteArrayLiteral("\n");
const QString PD = QStringLiteral("/");
const _kxString8_allSize<10> mapTypeLetters("C");
