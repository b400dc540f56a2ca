// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "runtime/kxexport.h"

#include "kxintlist.h"

#include <QString>

// The job module's constant texts. They are built when the library loads and released when it
// unloads, so they may be read from any entry point but not from another library's static
// initialisation.
namespace kxJ {

/// "ABCDEFGHJKLMNOPQRSTUVWXYZ123456789+-": the letters of identifier texts (no I, no 0).
extern KX_EXPORT const QString ID_letters;
/// "abcdefghjklnopqrstuvwxyz": the family letters of identifier texts (no i, no m).
extern KX_EXPORT const QString ID_letters_small;

extern KX_EXPORT const QString NoOutputCheckname_new;             ///< "no_check.file"
extern KX_EXPORT const QString NoOutputExecOnce_new;              ///< "execOnce.file"
extern KX_EXPORT const QString NoOutputExecEachClient_new;        ///< "execEachClient.file"
extern KX_EXPORT const QString ExecuteSoftName;                   ///< "Execute"
extern KX_EXPORT const QString PythonSoftName;                    ///< "Python"
extern KX_EXPORT const QString CommandJobName;                    ///< "CommandJob"
extern KX_EXPORT const QString CUSTOMEnvName;                     ///< "kxEnvFile"
extern KX_EXPORT const QString CUSTOMEnvLineName_deprecated;      ///< "kxEnvLine"
extern KX_EXPORT const QString CUSTOMEnvLineName;                 ///< "kxEnvList"
extern KX_EXPORT const QString CUSTOMSubmitterParameter;          ///< "kxSubmitterParameter"
extern KX_EXPORT const QString CUSTOMSubmitClientGroup;           ///< "SubmitClientGroup"
extern KX_EXPORT const QString CUSTOMSubmitter_NoSceneExistCheck; ///< "NoSceneExistCheck"
extern KX_EXPORT const QString CUSTOMAdditionalCommandlineFlags;  ///< "AddCmdFlags"

/// Custom data entry names with accessors of their own.
extern KX_EXPORT const QString CUSTOMUserInfoName;    ///< "UserInfo"
extern KX_EXPORT const QString CUSTOMCommentInfoName; ///< "Comment"

/// Placed in an image file name when the output folder could not be reached ("?update?").
extern KX_EXPORT const QString noAccessDescriptionShort;
/// Placed in an image file name when the project root could not be reached ("!NoProjectRootAccess!").
extern KX_EXPORT const QString noAccessDescriptionShort_noprojectroot;

/// The display colours that job history entries are shown in (LogColorID indexes it). It starts with
/// the runtime's default palette; the farm's tools may replace the entries with their own scheme.
extern KX_EXPORT _intList_Colors colors;

} // namespace kxJ
