// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "kxsharedexport.h"

#include <QString>

/// The form of a text that goes into a log file: the text unchanged except that
/// - a carriage return directly before a line feed is dropped (a Windows line end becomes one line feed),
/// - every other control character (U+0000..U+001F other than tab and line feed, U+007F and the C1
///   controls U+0080..U+009F) becomes '?', so a message cannot clear a terminal, hide text behind
///   escape sequences or end the log file early for tools that stop at a 0 byte,
/// - an unpaired UTF-16 surrogate becomes U+FFFD, so the file stays valid UTF-8;
/// - with `singleLine` set, tabs and line feeds become one blank each as well.
KXSHARED_EXPORT QString kxToKXUTF8(const QString& text, bool singleLine);
