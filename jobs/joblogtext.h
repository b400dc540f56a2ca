// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// Texts of a job's history entries and errors, as the farm's tools show them in a job's log.

#include "runtime/kxexport.h"

#include "jobrecords.h"

#include "kxstring.h"

class __KX;

namespace kxJ {

/// How often a frame may be sent to clients before the server removes it from the job; the error and
/// history texts of that event name it.
constexpr int frameResendLimit = 25;

/// The text of a job error code; "Unknown error %1" for a code without a name. Cut to 50 characters.
KX_EXPORT _kxString<50> Err2Str(const _Error& error);
/// The name of a history event code; "Unknown command %1" for a code without a name.
KX_EXPORT _kxString<50> Log2StrID(const _LogMessage& code);
/// The line of a history entry with its frame range, count, status or job. With a job, the frame
/// slots of the entry are shown as the job's frame numbers (or as 1-based part numbers for a job of
/// several images per frame); without one, as stored. Codes without a line of their own give
/// Log2StrID.
KX_EXPORT _kxString<50> Log2Str(const _Log& entry, _JobSend* job);
/// The colour of a history event code: an entry of kxJ::colors, 0 when the list does not hold the
/// code's colour index.
KX_EXPORT quint32 LogColorID(const _LogMessage& code);
/// Who gave a user command: the user number stored in the entry, or "-" when no user was recorded or
/// the code is not a user command. `farm` is not read.
KX_EXPORT _kxString<50> Log2Username(const _Log& entry, __KX& farm);
/// The name of a farm-side actor (-1 the server to -6 job authorisation), else "unknown #<who>".
/// `farm` is not read.
KX_EXPORT _kxString8_allSize<50> Who2Str(int who, __KX& farm);

} // namespace kxJ
