# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# The configuration store, key table, command line and mount points, exported by the product library.
if(TARGET kxNotifyKXMessage)
    kx_add_export_check(NAME exports_config TARGET kxNotifyKXMessage
        REQUIRE
            "^_kxgApplication::_kxgApplication\\(\\)"
            "^_kxgApplication::hasCommandlineFlag\\(_kxString8_allSize<100>\\) const"
            "^_kxgApplication::hasCommandlineFlagValue\\(_kxString8_allSize<100>, _kxString8_allSize<100>&\\) const"
            "^_kxgUNC_map::_kxgUNC_map\\(\\)"
            "^_kxgUNC_map::clear\\(\\)"
            "^_kxgUNC_map::calcAutoMountPointUNC\\("
            "^_kxgUNC_map::calcAutoMountPointNFS\\("
            "^_kxgCfg_param::_kxgCfg_param\\(\\)"
            "^_kxgCfg_param::init\\(bool, "
            "^_kxgCfg_param::init\\(_kxString<200>, "
            "^_kxgCfg_param::init\\(char const\\*, "
            "^_kxgCfg_param::init\\(int, int, int, "
            "^_kxgCfg_param::initF\\("
            "^_kxgCfg_param::setI\\(int\\)"
            "^_kxgCfg_param::setF\\(float\\)"
            "^_kxgConfig::_kxgConfig\\(\\)"
            "^_kxgConfig::initialize\\(__KXSDK\\*\\)"
            "^_kxgConfig::addInit\\(bool, "
            "^_kxgConfig::addInit\\(_kxString<200>, "
            "^_kxgConfig::addInit\\(char const\\*, "
            "^_kxgConfig::addInit\\(int, int, int, "
            "^_kxgConfig::addInitF\\("
            "^_kxgConfig::prioAddInit\\(bool, "
            "^_kxgConfig::prioAddInit\\(_kxString<200>, "
            "^_kxgConfig::prioAddInit\\(char const\\*, "
            "^_kxgConfig::prioAddInit\\(int, int, int, "
            "^_kxgConfig::prioAddInitF\\("
            "^_kxgConfig::setB\\("
            "^_kxgConfig::setI\\("
            "^_kxgConfig::setF\\("
            "^_kxgConfig::setS\\("
            "^_kxgConfig::setS_coded\\("
            "^_kxgConfig::getB\\(_kxString8_allSize<100>\\) const"
            "^_kxgConfig::getB\\(_kxString8_allSize<100>\\)$"
            "^_kxgConfig::getI\\(char const\\*\\) const"
            "^_kxgConfig::getI\\(char const\\*\\)$"
            "^_kxgConfig::getF\\(char const\\*\\) const"
            "^_kxgConfig::getF\\(char const\\*\\)$"
            "^_kxgConfig::getS\\(char const\\*\\) const"
            "^_kxgConfig::getS\\(char const\\*\\)$"
            "^_kxgConfig::getS_decoded\\(char const\\*\\) const"
            "^_kxgConfig::exists\\(char const\\*\\) const"
            "^_kxgConfig::removeSetting\\("
            "^_kxgConfig::importCfg\\(_kxgConfig const&\\)"
            "^_kxgConfig::joinVM_ID\\("
            "^_kxgConfig::splitVM_ID\\("
            "^kxLetters$"
        FORBID
            # The runtime's decoders are linked, not copied in.
            "^kxFromKXUnihex\\("
            "^fromXmlString\\(")
endif()

kx_add_export_check(NAME exports_config_kxShared TARGET kxShared
    REQUIRE
        "^kxFromKXUnihex\\(QString const&\\)"
        "^fromXmlString\\(QString const&\\)"
        "^kxConvertPDToOS\\(QString const&, int\\)")
