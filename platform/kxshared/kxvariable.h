// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// Text helpers of the runtime for variables in angle brackets ("<Layer>", "<removeVar x>") and the
// small value texts that go into them.

#include "kxsharedexport.h"

#include <QString>

/// Finds the next variable that begins with `prefix` (letter case counts unless `ignoreCase` is set),
/// removes it from `text` up to its closing ">" and reports where it stood in `position` and the text
/// between the prefix and that ">" in `inner` (when not null). Angle brackets inside pair up, so
/// "<removeVar <Layer>_x>" is one variable with the inner text "<Layer>_x". False, with `text`
/// unchanged, when no such variable is left or the first one found has no closing ">".
KXSHARED_EXPORT bool findNextVariable2Replace(QString& text, const QString& prefix, int& position,
                                              const bool& ignoreCase, QString* inner);

/// Replaces `variable` by `value` in `text`: letter case counts only with `caseSensitive` set; every
/// occurrence with `all` set, else the first. True when anything was replaced.
KXSHARED_EXPORT bool LineReplaceWithBool2(QString& text, const QString& variable, const QString& value,
                                          const bool& caseSensitive, const bool& all);

/// "true" or "false"; "1" or "0" with `asDigit` set.
KXSHARED_EXPORT QString bool2str(bool value, bool asDigit);

/// The short name of an operating-system code as job variables write it: "win", "lx", "osx"; an
/// empty text for any other code.
KXSHARED_EXPORT QString OS2String(int os);
