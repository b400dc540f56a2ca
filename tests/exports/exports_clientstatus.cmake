# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# Client status texts, render-application versions, the efficiency rate and the statistics file.

if(TARGET kxNotifyKXMessage)
    kx_add_export_check(NAME exports_clientstatus TARGET kxNotifyKXMessage
        REQUIRE
            "^kxC::_ClientStatusThread::setJobStatus\\("
            "^kxC::_ClientStatusThread::setClientStatus\\("
            "^kxC::_ClientStatusThread::setJobID\\("
            "^kxC::_ClientStatusThread::clientOffStatusAsString\\("
            "^kxC::_ClientStatusThread::clientStatusAsStringSingle_static\\("
            "^kxC::_ClientStatusThread::clientStatusAsStringSingle\\("
            "^kxC::_ClientStatus_template<8>::clientStatusAsStringAll\\("
            "^kxC::_ClientStatus_template<1000>::clientStatusAsStringAll\\("
            "^kxC::_Client_jobEfficiencyRate::addSuccess\\(\\)"
            "^kxC::_Client_jobEfficiencyRate::addCleanAbort\\(\\)"
            "^kxC::_Client_jobEfficiencyRate::addFail\\(\\)"
            "^kxC::_Client_jobEfficiencyRate::getCurrentHourSlot\\(\\)"
            "^kxC::_Client_jobEfficiencyRate::getLastHoursSuccessJobs\\(int\\)"
            "^kxC::_Client_jobEfficiencyRate::getLastHoursSuccessJobs\\(\\) const"
            "^kxC::_Client_jobEfficiencyRate::getLastHoursCleanAbortJobs\\(int\\)"
            "^kxC::_Client_jobEfficiencyRate::getLastHoursCleanAbortJobs\\(\\) const"
            "^kxC::_Client_jobEfficiencyRate::getLastHoursFailJobs\\(int\\)"
            "^kxC::_Client_jobEfficiencyRate::getLastHoursFailJobs\\(\\) const"
            "^kxC::_Client_jobEfficiencyRate::clearHourSlot\\("
            "^kxC::_Client_jobEfficiencyRate::clearAllHourSlots\\("
            "^kxC::_Client_jobEfficiencyRate::clearOldHourSlots\\("
            "^kxC::_Client_jobEfficiencyRate::checkAndClearOldHourSlots\\("
            "^kxC::_Client_jobEfficiencyRate::calcSuccessRate\\(int\\)"
            "^kxC::_Client_jobEfficiencyRate::calcSuccessRate\\(\\)"
            "^kxC::_server_clientInfo::_server_clientInfo\\(\\)"
            "^kxC::_server_clientInfo::clear\\(\\)"
            "^kxC::_server_clientInfo::loadFromFile\\(QString const&\\)"
            "^kxC::_server_clientInfo::info\\(int\\) const"
            "^kxRA::_RenderAppBasic::setVersionBoth\\(QString\\)"
            "^kxRA::_RenderAppBasic::getVersionMinor\\(bool const&\\) const"
            "^kxRA::_RenderAppBasic::getVersionMinorAsNumber\\(\\) const"
            "^kxRA::_ClientRenderApp::appAlreadyExists\\("
            "^kxRA::replaceVersionWithAsterisk\\(QString\\)"
            "^kxRA::kxGetAppVersionFromPath\\(QString, int&, QString&, QString&\\)"
            "^kxRA::kxGetAppVersionFromPath\\(QString, int&, QString&\\)"
            "^kxRA::kxGetAppVersionFromPath_sub\\(")
endif()

kx_add_export_check(NAME exports_clientstatus_kxShared TARGET kxShared
    REQUIRE
        "^kxFileExists\\(QString const&, _kxTime&\\)")
