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
            "^kxC::_ClientStatus_template<1000>::clientStatusAsStringAll\\(")
endif()

kx_add_export_check(NAME exports_clientstatus_kxShared TARGET kxShared
    REQUIRE
        "^kxFileExists\\(QString const&, _kxTime&\\)")
