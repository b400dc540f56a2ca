# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# Job log and error texts, the job filter and the environment batch file.
if(TARGET kxNotifyKXMessage)
    kx_add_export_check(NAME exports_joblog TARGET kxNotifyKXMessage
        REQUIRE
            "^kxJ::Err2Str\\(kxJ::_Error const&\\)"
            "^kxJ::Log2StrID\\(unsigned int const&\\)"
            "^kxJ::Log2Str\\(kxJ::_Log const&, kxJ::_JobSend\\*\\)"
            "^kxJ::LogColorID\\(unsigned int const&\\)"
            "^kxJ::Log2Username\\(kxJ::_Log const&, __KX&\\)"
            "^kxJ::Who2Str\\(int, __KX&\\)"
            "^kxJ::colors$"
            "^kxJ::_jobFilter_Contains::createFromString\\(QString const&, bool const&, bool const&\\)"
            "^kxJ::_jobFilter_Contains::_jobFilter_Contains\\(\\)"
            "^kxJ::_JobSubmitter::filterJobList_Fits_Contains\\(kxJ::_jobFilter_Contains const&\\) const"
            "^kxJ::kxEnvFileWriteBatch\\(QString const&, QList<QString>, QList<QString>\\)"
        FORBID
            # The colour list type belongs to the runtime library.
            "^_intList_Colors::")
endif()
kx_add_export_check(NAME exports_joblog_runtime TARGET kxShared
    REQUIRE
        "^_intList_Colors::_intList_Colors\\(\\)"
        "^_intList_Colors::append\\("
        "^_intList_Colors::setDefaultPalette\\(\\)")
