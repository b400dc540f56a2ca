# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# Client record exchange, the client configuration file writer and the render-setting table; the ini
# settings they write through belong to the runtime library.
if(TARGET kxNotifyKXMessage)
    kx_add_export_check(NAME exports_clientexchange TARGET kxNotifyKXMessage
        REQUIRE
            "^kxC::_Client_WithoutStatus::export_Client_allConfig_TCP\\("
            "^kxC::_Client_WithoutStatus::import_Client_allConfig_TCP\\("
            "^kxC::_Client_WithoutStatus::threadGpuActiveFlags_capped\\(int\\) const"
            "^kxC::_Client_WithoutStatus::hasGPU\\(int\\) const"
            "^kxC::_Client_ALL::cleanExport\\(\\) const"
            "^kxC::_Client_ALL::cleanExportCC\\(\\) const"
            "^kxC::_Client_ALL::cleanExportC\\(\\) const"
            "^kxC::_Client_ALL::writeClientCfg\\(_iniSettings&, bool, bool\\)"
            "^kxC::_Client_ALL::writeClientCfg_cfg\\(_iniSettings&, bool\\)"
            "^kxC::_Client_ALL::writeClientCfg_hw\\(_iniSettings&\\)"
            "^kxC::_Client_ALL::writeClientCfg_renderapps\\(_iniSettings&, bool\\)"
            "^kxRS::kxParamArray$"
            "^kxRS::_KXOptionsnameFile$"
            "^kxRS::set_KXOptionsnameFile\\(\\)"
            "^kxRS::_kxRenderParam::valueName\\(int\\) const"
            "^kxRA::renderType2Str\\(unsigned char const&, bool const&\\)"
            "^kxRA::renderType2Enum\\(_kxString<15> const&\\)"
            "^kxRA::jobScriptType2String\\(kxRS::_PrePostCommandType const&\\)"
        FORBID
            # The runtime library is linked, not copied in.
            "^_iniSettings::"
            "^_commonDataReduction::")
endif()

kx_add_export_check(NAME exports_clientexchange_runtime TARGET kxShared
    REQUIRE
        "^_iniSettings::_iniSettings\\(QString const&\\)"
        "^_iniSettings::beginGroup\\(QString const&\\)"
        "^_iniSettings::endGroup\\(bool\\)"
        "^_iniSettings::value\\(QString const&\\) const"
        "^_iniSettings::setValue\\(QString const&, QString const&\\)"
        "^_iniSettings::remove\\(QString const&\\)"
        "^_iniSettings::findNameSpelling\\(QString const&\\)"
        "^_iniSettings::sync\\(\\)"
        "^_iniSettings::commonDataReduction\\(\\)"
        "^_commonDataReduction::addnReplaceData\\(QString&\\)")
