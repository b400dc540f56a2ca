// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobconstants.h"

namespace kxJ {

const QString ID_letters = QStringLiteral("ABCDEFGHJKLMNOPQRSTUVWXYZ123456789+-");
const QString ID_letters_small = QStringLiteral("abcdefghjklnopqrstuvwxyz");

const QString NoOutputCheckname_new = QStringLiteral("no_check.file");
const QString NoOutputExecOnce_new = QStringLiteral("execOnce.file");
const QString NoOutputExecEachClient_new = QStringLiteral("execEachClient.file");
const QString ExecuteSoftName = QStringLiteral("Execute");
const QString PythonSoftName = QStringLiteral("Python");
const QString CommandJobName = QStringLiteral("CommandJob");
const QString CUSTOMEnvName = QStringLiteral("kxEnvFile");
const QString CUSTOMEnvLineName_deprecated = QStringLiteral("kxEnvLine");
const QString CUSTOMEnvLineName = QStringLiteral("kxEnvList");
const QString CUSTOMSubmitterParameter = QStringLiteral("kxSubmitterParameter");
const QString CUSTOMSubmitClientGroup = QStringLiteral("SubmitClientGroup");
const QString CUSTOMSubmitter_NoSceneExistCheck = QStringLiteral("NoSceneExistCheck");
const QString CUSTOMAdditionalCommandlineFlags = QStringLiteral("AddCmdFlags");

const QString CUSTOMUserInfoName = QStringLiteral("UserInfo");
const QString CUSTOMCommentInfoName = QStringLiteral("Comment");

const QString noAccessDescriptionShort = QStringLiteral("?update?");
const QString noAccessDescriptionShort_noprojectroot = QStringLiteral("!NoProjectRootAccess!");

_intList_Colors colors;

} // namespace kxJ
