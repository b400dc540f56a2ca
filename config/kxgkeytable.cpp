// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// The farm's configuration vocabulary: every setting with its group, type, default and range, in the
// order the store registers them (which is also their slot order).
#include "config/kxgconfig.h"

#include <iterator>

namespace {

struct KeyRow {
    enum Kind : quint8 {
        typeBool,
        typeInt,
        typeFloat,
        typeString,     ///< registered from 8-bit text
        typeWideString, ///< registered from a UTF-16 text
    };
    Kind kind;
    const char* group;
    const char* name;
    int value; ///< int default, or 1/0 for a bool
    int min, max;
    float valueF, minF, maxF;
    const char* text;
};

constexpr KeyRow boolKey(const char* group, const char* name, bool value) {
    return {KeyRow::typeBool, group, name, value ? 1 : 0, 0, 0, 0, 0, 0, nullptr};
}
constexpr KeyRow intKey(const char* group, const char* name, int value, int min, int max) {
    return {KeyRow::typeInt, group, name, value, min, max, 0, 0, 0, nullptr};
}
constexpr KeyRow floatKey(const char* group, const char* name, float value, float min, float max) {
    return {KeyRow::typeFloat, group, name, 0, 0, 0, value, min, max, nullptr};
}
constexpr KeyRow stringKey(const char* group, const char* name, const char* text) {
    return {KeyRow::typeString, group, name, 0, 0, 0, 0, 0, 0, text};
}
constexpr KeyRow wideStringKey(const char* group, const char* name, const char* text) {
    return {KeyRow::typeWideString, group, name, 0, 0, 0, 0, 0, 0, text};
}

// Placeholders until an admin enters the studio's own tracking sites and key.
constexpr char exampleShotGunUrl[] = "https://example-studio.shotgunstudio.com";
constexpr char exampleFTrackUrl[] = "https://example-studio.ftrackapp.com";
constexpr char placeholderApiKey[] = "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx";

constexpr KeyRow keys[] = {
    intKey("Jobs", "jGetProjectNameBy", 4, 0, 4),
    intKey("Jobs", "jGetProjectNameByDirStart", 4, 1, 10),
    intKey("Jobs", "jGetProjectNameByDirCount", 1, 1, 5),
    intKey("Jobs", "jGetProjectNameByDirStart1", 4, 1, 10),
    intKey("Jobs", "jGetProjectNameByDirCount1", 1, 1, 5),
    intKey("Jobs", "jGetProjectNameByDirStart2", 4, 1, 10),
    intKey("Jobs", "jGetProjectNameByDirCount2", 1, 1, 5),
    intKey("Jobs", "jGetProjectNameByDirStart3", 4, 1, 10),
    intKey("Jobs", "jGetProjectNameByDirCount3", 1, 1, 5),
    boolKey("Jobs", "jHistoryDBExport", true),
    intKey("Jobs", "jHistoryDBDeleteAfterDays", 800, 14, 6000),
    intKey("Jobs", "jHistoryDBExportName", 0, 0, 3),
    intKey("Jobs", "jDeleteFinishedAfterDays", 30, 1, 60),
    intKey("Jobs", "jDeleteFinishedAfterDaysComp", 21, 1, 60),
    intKey("Jobs", "jDeleteUnFinishedAfterDays", 90, 30, 120),
    intKey("Jobs", "jDeleteIfNumber", 2000, 100, 50000),
    intKey("Jobs", "jm_maxCrashesClientDeassign", 5, 1, 40),
    intKey("Jobs", "jMaxLimitsClientDeassign", 5, 1, 50),
    boolKey("Jobs", "jWaitForApprovedMain", false),
    boolKey("Jobs", "jWaitForApprovedDone", false),
    boolKey("Jobs", "jDoNotCheckOverwrite", true),
    intKey("Jobs", "jGetSSVbySetting", 1, 0, 2),
    intKey("Jobs", "jGetSSVbyFile", 0, 0, 3),
    stringKey("Jobs", "jGetSSVScene", "s"),
    stringKey("Jobs", "jGetSSVShot", "_sh"),
    stringKey("Jobs", "jGetSSVVersion", "_v"),
    stringKey("Jobs", "jGetSSVSceneEnd", ""),
    stringKey("Jobs", "jGetSSVShotEnd", ""),
    stringKey("Jobs", "jGetSSVVersionEnd", ""),
    intKey("Jobs", "jGetSSVSceneLength", 0, 0, 9),
    intKey("Jobs", "jGetSSVShotLength", 0, 0, 9),
    intKey("Jobs", "jChunkSize", 0, 0, 1),
    intKey("Jobs", "jJobDataLocation", 0, 0, 1),
    stringKey("Jobs", "jJobDataLocationExclude", "kxCommand;Execute"),
    intKey("Jobs", "jDeferMode", 10, 2, 99),
    boolKey("Jobs", "jPostscriptOSRestriction", true),
    intKey("Clients", "cLocTex_LeaveFreeSpaceMB", 4000, 200, 100000),
    intKey("Clients", "cLocTex_maxDaysToKeep", 30, 2, 150),
    intKey("Clients", "cLocScenes_maxDaysToKeep", 3, 1, 30),
    intKey("Clients", "cfgcMaxClientsInFileCached", 1, 1, 999),
    boolKey("Clients", "cfgcDisableKXEnv", false),
    boolKey("Clients", "cWinUseDeprecatesCoreReduction", false),
    intKey("Clients", "cPresetNewConfig", 2, 0, 4),
    intKey("Clients", "cPresetNewUNC", 0, 0, 4),
    intKey("Clients", "cShellType", 1, 0, 1),
    boolKey("Website", "wCreateWebsite", false),
    boolKey("Website", "wCreateStats", true),
    boolKey("Website", "wCreateJpegs", true),
    boolKey("Website", "wCreateGlobalIndex", false),
    boolKey("Website", "wCreateUserIndex", false),
    boolKey("Website", "wCreateProjectIndex", false),
    boolKey("Website", "wCreateHtAccess", false),
    stringKey("Website", "wCreateHtAccessPath", ""),
    boolKey("Website", "wJpegsMultiplyAlpha", false),
    intKey("Website", "wCacheFrameLimit", 2500, 0, 5000),
    boolKey("Website", "wCacheApp3D", true),
    boolKey("Website", "wCacheAppArchive", true),
    boolKey("Website", "wCacheAppComp", false),
    boolKey("Email", "eSendEmails", false),
    intKey("Email", "eStatusMinuteDelay", 180, 30, 10080),
    intKey("Email", "eErrorMinuteDelay", 30, 10, 10080),
    boolKey("Email", "eSendStatus", true),
    boolKey("Email", "eSendError", true),
    stringKey("Email", "eSmtpServer", ""),
    intKey("Email", "eSmtpServerPort", 25, 1, 20000),
    intKey("Email", "eAuthType", 1, 0, 10),
    intKey("Email", "eSecurityType", 0, 0, 2),
    stringKey("Email", "eAuthAccount", ""),
    stringKey("Email", "eAuthPass", ""),
    boolKey("Email", "eEmailFromDomain", false),
    boolKey("Email", "eDomainEmailStatus", false),
    boolKey("Email", "eDomainEmailError", true),
    stringKey("Email", "eDomainEmail", ""),
    boolKey("FTP", "fFtpUpload", false),
    stringKey("FTP", "fServer", ""),
    intKey("FTP", "fServerPort", 21, 1, 20000),
    stringKey("FTP", "fUser", ""),
    stringKey("FTP", "fPass", ""),
    intKey("FTP", "fProxyType", 0, 0, 1),
    boolKey("FTP", "fProxyHttp", false),
    stringKey("FTP", "fProxyServer", ""),
    stringKey("FTP", "fProxyUser", ""),
    stringKey("FTP", "fProxyPass", ""),
    intKey("FTP", "fProxyPort", 21, 1, 20000),
    stringKey("FTP", "fPath", ""),
    boolKey("FTP", "fUploadGlobalTables", true),
    boolKey("FTP", "fUploadProjectTables", true),
    boolKey("FTP", "fUploadUserTables", true),
    boolKey("FTP", "fUploadJobSites", true),
    boolKey("FTP", "fUploadImgStats", true),
    boolKey("FTP", "fUploadImgRGBsmall", true),
    boolKey("FTP", "fUploadImgRGB", false),
    boolKey("FTP", "fUploadImgAlpha", false),
    boolKey("FTP", "fUploadQuicktimes", false),
    boolKey("FTP", "fNoHtDelete", false),
    boolKey("Server", "sMultiUserFileServerLogin", false),
    boolKey("Server", "sMultiUserFileServerLoginProject", false),
    boolKey("Server", "sMultiUserFileServerLoginDriveOnly", false),
    intKey("Server", "sDailyExecuteTime", 7, 0, 23),
    intKey("Server", "sJobSendDelayNew", 0, 0, 300),
    intKey("Server", "sWOL_ClientNeedLimit", 3, 1, 50),
    intKey("Server", "sWOL_WaitBetweenWOLTime", 10, 1, 180),
    intKey("Server", "nServerOS", 0, 0, 6),
    intKey("Server", "nServerOS9", 0, 0, 3),
    stringKey("Server", "nServerOSInfo", ""),
    intKey("Server", "sFrameCheckmode", 0, 0, 1),
    intKey("Server", "snewJobWaitRender", 0, 0, 180),
    intKey("Server", "snewFrameWaitCheck", 0, 0, 180),
    boolKey("Server", "sLocalLogFiles", true),
    boolKey("Server", "sLocalJobDB", true),
    boolKey("Server", "sLocalJobDB_uncompressed", false),
    stringKey("NetWork", "nServerName", ""),
    stringKey("NetWork", "nServerMACAddress", ""),
    stringKey("NetWork", "nServerIP1", ""),
    stringKey("NetWork", "nServerIP2", ""),
    stringKey("NetWork", "nServerIP3", ""),
    stringKey("NetWork", "nBackupServerName", ""),
    stringKey("NetWork", "nBackupServerIP1", ""),
    stringKey("NetWork", "nBackupServerIP2", ""),
    stringKey("NetWork", "nBackupServerIP3", ""),
    stringKey("NetWork", "nKXServerAdapter", "*ANY*"),
    intKey("NetWork", "nClientConnectPSec", 30, 5, 120),
    intKey("NetWork", "nKXServerPort", 7773, 10, 30000),
    boolKey("NetWork", "nUseServerIP", true),
    intKey("NetWork", "sWOL_Port", 9, 5, 32000),
    stringKey("NetWork", "sWOL_Subnet", "255.255.255.0"),
    boolKey("NetWork", "sWOL_TypeBroadCast", false),
    boolKey("NetWork", "sWOL_TypeIP", false),
    boolKey("NetWork", "sWOL_TypeDirectedSubnet", true),
    stringKey("NetWork", "nAuthWhiteList", ""),
    boolKey("NetWork", "nTCPRequiresAuth", false),
    boolKey("User", "lockClientClose", true),
    boolKey("User", "lockKXConfig", false),
    boolKey("User", "encodePreview", false),
    boolKey("User", "hideJobsIfNoFolderAccess", false),
    floatKey("Misc", "cfgCost", 0.0f, 0.0f, 1000.0f),
    floatKey("Misc", "cfgCostF", 0.05f, 0.000001f, 1000.0f),
    stringKey("Misc", "cfgCostDisplay", "<UNIhex20ac>"),
    stringKey("Misc", "cfgKwhLabel", "W"),
    intKey("Misc", "VideoPreview", 0, 0, 3),
    intKey("Misc", "VideoFull", 0, 0, 3),
    intKey("Misc", "UIcolor", 0, 0, 3),
    intKey("Misc", "FontWin", 8, 5, 20),
    intKey("Misc", "FontLx", 8, 5, 20),
    intKey("Misc", "FontOsx", 11, 5, 20),
    intKey("Misc", "FontWinSmall", 7, 5, 20),
    intKey("Misc", "FontLxSmall", 7, 5, 20),
    intKey("Misc", "FontOsxSmall", 10, 5, 20),
    intKey("Misc", "FontWinSmall_9", 8, 5, 20),
    intKey("Misc", "FontLxSmall_9", 8, 5, 20),
    intKey("Misc", "FontOsxSmall_9", 11, 5, 20),
    intKey("Misc", "ConfigVersionMajor", 8, 0, 99),
    intKey("Misc", "ConfigVersionMinor", 0, 0, 99),
    boolKey("Misc", "Exr20", true),
    boolKey("ShotGun", "sgEnable", false),
    stringKey("ShotGun", "sgPythonPathWin", "<KX_ROOT>\\plugins\\python_modules\\shotgun_api3\\"),
    stringKey("ShotGun", "sgPythonPathLx", "<KX_ROOT>/plugins/python_modules/shotgun_api3/"),
    stringKey("ShotGun", "sgPythonPathMac", "<KX_ROOT>/plugins/python_modules/shotgun_api3/"),
    stringKey("ShotGun", "sgAuthKey", ""),
    stringKey("ShotGun", "sgKXName", "kexofluxViewer"),
    stringKey("ShotGun", "sgEntityJob", "CustomEntity01"),
    stringKey("ShotGun", "sgEntitySubmit", "CustomEntity02"),
    stringKey("ShotGun", "sgUrl", exampleShotGunUrl),
    stringKey("ShotGun", "sgProxy", ""),
    intKey("ShotGun", "sgProxyPort", 3128, 1, 20000),
    stringKey("ShotGun", "sgProxyUser", ""),
    stringKey("ShotGun", "sgProxyPass", ""),
    boolKey("ShotGun", "sgProxyNoKXServer", false),
    boolKey("FTrack", "ftEnable", false),
    stringKey("FTrack", "ftUrl", exampleFTrackUrl),
    stringKey("FTrack", "ftUser", "MyUser"),
    stringKey("FTrack", "ftAPIKey", placeholderApiKey),
    stringKey("FTrack", "ftPythonPathWin", "<KX_ROOT>\\plugins\\python_modules\\ftrack_api\\"),
    stringKey("FTrack", "ftPythonPathLx", "<KX_ROOT>/plugins/python_modules/ftrack_api/"),
    stringKey("FTrack", "ftPythonPathMac", "<KX_ROOT>/plugins/python_modules/ftrack_api/"),
    intKey("Cloud", "clArmConnectorPort", 55555, 20, 65535),
    boolKey("Cloud", "clDisableClearPasswords", false),
    wideStringKey("Misc", "cfgLocalDecimalMark", "."),
    stringKey("UNC", "uUsername", ""),
    stringKey("UNC", "uPass", ""),
    boolKey("UNC", "UNCToPath", false),
    boolKey("UNC", "NoDriveToUNC", false),
    stringKey("UNC", "UNCuserB", ""),
    stringKey("UNC", "UNCpassB", ""),
    stringKey("UNC", "UNCdomainB", ""),
    stringKey("UNC", "UNCMountLX",
              "noperm,file_mode=<rights>,dir_mode=<rights><user ,user=<user>,password=<pass><domain "
              ",domain=<domain>>>,uid=<ClientUser>,gid=wheel"),
    stringKey("UNC", "UNCMountOSX",
              "noperm,file_mode=<rights>,dir_mode=<rights><user ,user=<user>,password=<pass><domain "
              ",domain=<domain>>>,uid=<ClientUser>,gid=wheel"),
    intKey("UNC", "UNCMountLXRight", 0, 0, 2),
    intKey("UNC", "UNCMountOSXRight", 0, 0, 2),
    stringKey("UNC", "UNCMountNFSLX", "soft,timeo=20,intr,tcp,wsize=1048576,rsize=1048576,vers=3,async,rw"),
    stringKey("UNC", "UNCMountNFSOSX", "soft,timeo=20,intr,tcp,wsize=1048576,rsize=1048576,vers=3,async,rw"),
    boolKey("Misc", "FolderRightsOutfolder", false),
    boolKey("Misc", "FolderRightsJobdata", true),
    boolKey("Misc", "FolderRightsStats", true),
    boolKey("Misc", "FolderRightsDebug", true),
    boolKey("Misc", "FolderSubmitterCreateOut", true),
};

/// The last block, registered through prioAddInit.
constexpr KeyRow prioKeys[] = {
    boolKey("Jobs", "jEqualExclusivePrio", true),
    stringKey("Jobs", "jPreferedProjects1", ""),
    stringKey("Jobs", "jPreferedProjects2", ""),
    stringKey("Jobs", "jPreferedProjects3", ""),
    stringKey("Jobs", "jPreferedProjects4", ""),
    stringKey("Jobs", "jPreferedProjects5", ""),
    stringKey("Jobs", "jPreferedProjects6", ""),
    stringKey("Jobs", "jPreferedProjects7", ""),
    stringKey("Jobs", "jPreferedProjects8", ""),
    stringKey("Jobs", "jPreferedProjects9", ""),
    stringKey("Jobs", "jPreferedProjects10", ""),
    intKey("Jobs", "jPreferedProjects1cl", 1500, 0, 1500),
    intKey("Jobs", "jPreferedProjects2cl", 1500, 0, 1500),
    intKey("Jobs", "jPreferedProjects3cl", 1500, 0, 1500),
    intKey("Jobs", "jPreferedProjects4cl", 1500, 0, 1500),
    intKey("Jobs", "jPreferedProjects5cl", 1500, 0, 1500),
    intKey("Jobs", "jPreferedProjects6cl", 1500, 0, 1500),
    intKey("Jobs", "jPreferedProjects7cl", 1500, 0, 1500),
    intKey("Jobs", "jPreferedProjects8cl", 1500, 0, 1500),
    intKey("Jobs", "jPreferedProjects9cl", 1500, 0, 1500),
    intKey("Jobs", "jPreferedProjects10cl", 1500, 0, 1500),
    boolKey("Jobs", "jAbortReservedClientsOnJobReceive", true),
    boolKey("Jobs", "jPrivilegLoggedIn", true),
    intKey("Jobs", "jPrioLvlAmode", 2, 0, 4),
    intKey("Jobs", "jPrioLvlBmode", 0, 0, 4),
    intKey("Jobs", "jPrioLvlCmode", 0, 0, 2),
    intKey("Jobs", "jPrioLvlApmin", 16, 1, 99),
    intKey("Jobs", "jPrioLvlApmax", 85, 1, 99),
    intKey("Jobs", "jPrioLvlBpmin", 16, 1, 99),
    intKey("Jobs", "jPrioLvlBpmax", 85, 1, 99),
    intKey("Jobs", "jPrioReduceCrash", 1, 0, 20),
    intKey("Jobs", "jPrioReduceCrashClient", 1, 0, 20),
    boolKey("Jobs", "jAverageAbortOnReceive", true),
    boolKey("Jobs", "jAverageAbortAfterFrame2", true),
    boolKey("Jobs", "jAverageAbort", true),
    intKey("Jobs", "jAverageAbortHourDelay", 6, 1, 24),
    intKey("Jobs", "jPreviewPriorityIncrease", 30, 10, 100),
    intKey("Jobs", "jScriptPriorityIncrease", 10, 0, 100),
};

static_assert(std::size(keys) + std::size(prioKeys) == 234);
static_assert(std::size(keys) + std::size(prioKeys) < _kxgConfig::registrationLimit);

} // namespace

void _kxgConfig::initialize(__KXSDK* context) {
    sdk = context;
    // Each row through the registration overload of its type; `add` and `addF` name the family.
    const auto registerRows = [](const auto& rows, auto add, auto addF) {
        for (const KeyRow& k : rows) {
            switch (k.kind) {
            case KeyRow::typeBool:
                add(k.value != 0, k.group, k.name);
                break;
            case KeyRow::typeInt:
                add(k.value, k.min, k.max, k.group, k.name);
                break;
            case KeyRow::typeFloat:
                addF(k.valueF, k.minF, k.maxF, k.group, k.name);
                break;
            case KeyRow::typeString:
                add(k.text, k.group, k.name);
                break;
            case KeyRow::typeWideString:
                add(_kxString<200>(k.text), k.group, k.name);
                break;
            }
        }
    };
    registerRows(
        keys, [this](auto... a) { addInit(a...); }, [this](auto... a) { addInitF(a...); });
    registerRows(
        prioKeys, [this](auto... a) { prioAddInit(a...); }, [this](auto... a) { prioAddInitF(a...); });
}
