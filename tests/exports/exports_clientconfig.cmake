# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# The client configuration queries, time windows and hardware texts, and the client list's sorts,
# status import and presets.
if(TARGET kxNotifyKXMessage)
    kx_add_export_check(NAME exports_clientconfig TARGET kxNotifyKXMessage
        REQUIRE
            "^kxC::isInTime\\(int, int, int, int, int, int\\)"
            "^kxC::jThreadIDasString\\(int, bool\\)"
            "^kxC::machineType2Str\\(kxC::_ClientConfig_machineType\\)"
            "^kxC::_ClientConfig::threadWHDisable\\(int\\) const"
            "^kxC::_ClientConfig::threadJobs\\(int\\) const"
            "^kxC::_ClientConfig::isGPUAssigned\\(int, int\\) const"
            "^kxC::_ClientConfig::isTimeWorkhours\\(int, int\\) const"
            "^kxC::_ClientConfig::isTimeWOL\\(int, int\\) const"
            "^kxC::_ClientConfig::isTimeShutdown\\(int, int\\) const"
            "^kxC::_ClientConfig::copyFrom_nopreset\\(kxC::_ClientConfig const&\\)"
            "^kxC::_ClientConfig::copyFrom_nopreset_withThreads\\(kxC::_ClientConfig const&\\)"
            "^kxC::_ClientHardware::OSasString\\(\\) const"
            "^kxC::_Client_ALL::currentThreadPS\\(int, float\\) const"
            "^kxC::_Client_ALL::currentThreadGhz\\(int, float\\) const"
            "^kxC::_Client_ALL::currentThreadPS_percentage\\(int, float\\) const")
endif()
