// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// The job variable language: names in angle brackets ("<Layer>", "<SceneFile>") that stand for fields
// of a job record in output paths and commands. The resolution itself is a member of the records
// (_JobSubmitter::replaceJobVariables, _JobBasics::exportJobVarList_Basic); here are the free helpers
// around it: square-bracket names, sequence/shot/version names of a scene and folder-level cuts.

#include "runtime/kxexport.h"

#include "jobrecords.h"
#include "kxstring.h"

#include <QString>

namespace kxJ {

/// The leading part of `path` up to and including its `level`-th "/" (at least the first), counted
/// after a UNC prefix, a leading "/" and a drive prefix ("C:/"); the path unchanged when it has fewer
/// or is 4 characters or shorter. "/mnt/prj/shot/x.ma" at level 2 gives "/mnt/prj/".
KX_EXPORT QString getDirectoryUntilNo(QString path, int level);

/// The leading part of `path` up to and including folder `level` + `count` - 1, with its "/". For a
/// UNC path the server name is not a level. The path unchanged when it is 4 characters or shorter or
/// a needed "/" is missing. "/mnt/prj/shot/x.ma" at level 2, count 1 gives "/mnt/prj/"; count 2 gives
/// "/mnt/prj/shot/".
KX_EXPORT QString getDirectoryUntilNo(QString path, int level, int count);

/// The folder at `level` of `path` (counted as getDirectoryUntilNo counts), joined by "_" with the
/// `count` - 1 folders below it: level 2 of "/mnt/prj/shot/x.ma" is "prj", with count 2 "prj_shot".
/// When the path runs out of folders, what is left of it. Paths of 4 characters or fewer come back
/// unchanged.
KX_EXPORT QString getDirectoryNo(QString path, int level, int count);

/// Cuts sequence, shot and version names out of a scene name, each part in turn from what the earlier
/// parts left: a start marker (ignoring case) is skipped to, then the name runs for the part's length,
/// up to its end marker, or up to the first "_" (for the shot also "<") or "." above index 0. A start
/// marker "none" leaves its output untouched; a start marker not found leaves the output empty (and
/// for the version ends the call). Each output keeps at most 50 characters.
KX_EXPORT void getSSV(QString name, _kxString<50>& seq, _kxString<50>& shot, _kxString<50>& version,
                      QString seqStartMarker, QString shotStartMarker, QString versionStartMarker,
                      QString seqEndMarker, QString shotEndMarker, QString versionEndMarker, int seqLength,
                      int shotLength);

/// Turns the square-bracket names of large-path records ("[Layer]", "[Scene]", "[User]" and others)
/// into their angle-bracket form, in place and within the capacity, when the text holds a "[" with a
/// "]" after it.
KX_EXPORT void replaceSquareBracketVariablesSub(_kxString<1000>& text);

/// True for the history events that close a client's frame segment.
KX_EXPORT bool log_IsClientSegmentClosed(const _LogMessage& message);
/// True for the history events whose entry carries a frame segment.
KX_EXPORT bool log_hasFrameSegment(const _LogMessage& message);

} // namespace kxJ
