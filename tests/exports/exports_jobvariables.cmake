# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# Job variables and image file names: the data model's names in the product library, the runtime
# helpers they call in the runtime library.

if(TARGET kxNotifyKXMessage)
    kx_add_export_check(NAME exports_jobvariables TARGET kxNotifyKXMessage
        REQUIRE
            "^kxJ::_JobBasics::exportJobVarList_Basic\\(bool const&\\) const$"
            "^kxJ::_JobSubmitter::replaceJobVariables\\(QString, bool, QString\\*, QString\\*, QString\\*\\)$"
            "^kxJ::replaceSquareBracketVariablesSub\\("
            "^kxJ::_JobBasics_largePath::replaceSquareBracketVariables\\(\\)$"
            "^kxJ::getSSV\\("
            "^kxJ::getDirectoryNo\\(QString, int, int\\)$"
            "^kxJ::getDirectoryUntilNo\\(QString, int, int\\)$"
            "^kxJ::getDirectoryUntilNo\\(QString, int\\)$"
            "^kxJ::log_IsClientSegmentClosed\\("
            "^kxJ::log_hasFrameSegment\\("
            "^void kxJ::template_splitImageFileInto_DirFileExt<500, 250>\\("
            "^void kxJ::template_splitImageFileInto_DirFileExt<500, 500>\\("
            "^void kxJ::template_splitImageFileInto_DirFileExt<1000, 1000>\\("
            "^kxJ::_JobBasics::splitImageFileInto_DirFileExt\\(bool const&\\)$"
            "^kxJ::_JobBasics::splitImageFileInto_DirFileExt_Channel\\(bool const&\\)$"
            "^kxJ::_JobBasics_largePath::splitImageFileInto_DirFileExt\\(bool const&\\)$"
            "^kxJ::_JobBasics_largePath::splitImageFileInto_DirFileExt_Channel\\(bool const&\\)$"
        FORBID
            # The runtime helpers are linked from the runtime library, not copied in.
            "^kxPathResolve\\("
            "^kxGetFileNameBase\\("
            "^kxRemoveIllegalCharFrom"
            "^findNextVariable2Replace\\("
            "^LineReplaceWithBool2\\("
            "^addHexCode\\("
            "^toIntFromHex\\(")
endif()

kx_add_export_check(NAME exports_jobvariables_runtime TARGET kxShared
    REQUIRE
        "^kxGetFileNameBase\\(QString const&, QChar\\)$"
        "^kxPathResolve\\(QString const&\\)$"
        "^kxRemoveIllegalCharFromFile\\(QString const&, bool, bool const&\\)$"
        "^kxRemoveIllegalCharFromDir\\(QString const&, bool, bool const&, bool\\)$"
        "^kxRemoveIllegalCharFromHtmlFile\\(QString const&\\)$"
        "^findNextVariable2Replace\\(QString&, QString const&, int&, bool const&, QString\\*\\)$"
        "^LineReplaceWithBool2\\(QString&, QString const&, QString const&, bool const&, bool const&\\)$"
        "^bool2str\\(bool, bool\\)$"
        "^OS2String\\(int\\)$"
        "^addHexCode\\(QString&, long long\\)$"
        "^toIntFromHex\\(QString&, long long&\\)$"
        "^_kxTime::replaceDateVariable\\(QString&\\) const$")
