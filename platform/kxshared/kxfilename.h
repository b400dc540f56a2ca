// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// File-name helpers of the runtime: the base of a file name, normalising a path, and cleaning a
// value before it becomes part of a file or folder name. Values come from job records and may hold
// job variables ("<FN4>", "<auto>"), so the angle brackets of variables always pass the cleaners:
// whoever resolves the variables later decides what they become.

#include "kxsharedexport.h"

#include <QString>

/// The file name of `name` without its folder and without its extension: the text after the last
/// `sep`, cut at its last "." when that stands above index 0 ("/a/b/shot.v2.ma" gives "shot.v2",
/// ".hidden" stays ".hidden").
KXSHARED_EXPORT QString kxGetFileNameBase(const QString& name, QChar sep = QLatin1Char('/'));

/// `path` with its "." and ".." folder steps resolved. "/" and "\" both separate folders and every
/// separator keeps the form it was written in. A root (a leading UNC pair with its server name, a
/// leading separator, a drive "C:") is never left: ".." directly under it is dropped. A relative
/// path stays relative: its leading "." and the ".." steps that climb above its start are kept. A ".."
/// never removes a folder that holds a variable ("<", ">"), an empty step or another "..". Nothing
/// else changes: doubled separators, blanks and variables stay as they are.
KXSHARED_EXPORT QString kxPathResolve(const QString& path);

/// `text` made fit for a file name. Control characters, ":", "*", "?" and '"' are removed always;
/// with `noFolders` set, "/" and "\" as well, and a result made of dots only ("." or "..", a folder
/// step) becomes "_". With `blanksToUnderscore` set every blank becomes "_". "<", ">" and "|" pass.
KXSHARED_EXPORT QString kxRemoveIllegalCharFromFile(const QString& text, bool noFolders,
                                                    const bool& blanksToUnderscore);

/// `text` made fit for a folder path: folder separators pass; control characters, "*", "?", '"' and
/// "|" are removed. With `strict` set a ":" passes only as the drive colon at index 1. With
/// `blanksToUnderscore` set every blank becomes "_". With `collapseDoubled` set a doubled separator
/// behind index 1 becomes single, so a leading UNC pair survives. "<" and ">" pass.
KXSHARED_EXPORT QString kxRemoveIllegalCharFromDir(const QString& text, bool strict,
                                                   const bool& blanksToUnderscore, bool collapseDoubled);

/// `text` made fit for a file name on a web page: only letters, digits, "_", "-", "." and the folder
/// separators "/" and "\" pass; everything else is removed.
KXSHARED_EXPORT QString kxRemoveIllegalCharFromHtmlFile(const QString& text);
