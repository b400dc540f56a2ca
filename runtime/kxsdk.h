// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "runtime/kxexport.h"

#include "kxstring.h"

#include <QFile>
#include <QString>

#include <cstddef>

class _kxLogfile;
namespace kxC {
class _ClientList;
}

/// One enable byte per log level; a level outside the table is disabled.
struct _kxLogLevels {
    static constexpr int levelCount = 64;
    quint8 enabled[levelCount];

    bool isEnabled(int level) const { return level >= 0 && level < levelCount && enabled[level] != 0; }
};

/// The farm server places its SDK context 16 bytes into its host context object and hands that
/// address to the plug-in, which subtracts 16 to reach the host object.
constexpr std::size_t kxHostContextSdkOffset = 16;

/// Marks the server writes into its context and the plug-in checks before trusting anything else.
constexpr quint16 kxHostInterfaceVersion = 3844;
constexpr quint16 kxHostLayoutMark = 24092;
constexpr quint32 kxHostEndMark = 0x0A23D23C;

/// The framework version shown in error-log entries and in the plug-in's info record.
extern KX_EXPORT const char kxFrameworkVersion[]; // " 8.4.03"

// The context is shared with the server in memory, so its members keep fixed offsets: pointers sit on
// 4-byte boundaries (the server's layout), and reserved members hold the places of what the server
// keeps there. Do not reorder.
#pragma pack(push, 4)
/// The context through which the farm's shared code reaches its environment: log files, the level
/// switches and the identity texts used in log lines.
class KX_EXPORT __KXSDK {
public:
    /// A plain context, not a server's: marks 0, no log files, no log settings (nothing is logged),
    /// no secondary log (-1), empty identity texts, and '|' as the separator character. A blank would
    /// not do as separator: every text whose second character is a blank ("A job ...") would then be
    /// taken for a two-character prefix.
    __KXSDK();
    virtual void writeLog(int level, int flags, QString const& text);
    virtual ~__KXSDK();

    /// Flag bits of the `flags` argument.
    enum LogFlags : int {
        flagNoProcessSeparator = 0x4, ///< 8-bit form only: no ";;   " before the process label
        flagPlain = 0x10,             ///< no time, no indentation, no prefix handling
        flagBlankStart = 0x200,       ///< 17 blanks in place of the time
    };

    void logFileWrite(int level, int flags, QString const& text);
    void logFileWriteError(int level, int flags, QString const& text);
    void formatLogMessage(int level, int flags, QString text, QString& out);

    void writeLog_noQT(int level, int flags, _kxString<250> const& text);
    /// Hands a line to the process's user interface; the shared code does nothing here. Not virtual:
    /// a process's context finds only writeLog and the destructor in its table before its own entries.
    void logNoUIExecute_noQT(int level, int flags, _kxString<250> const& text);
    void formatLogMessage_noQT(int level, int flags, _kxString<250> const& text, _kxString<250>& out);

    /// True when `level` is switched on in the log settings; false for a level outside the table.
    bool isLevelEnabled(int level) const { return logLevels != nullptr && logLevels->isEnabled(level); }
    /// What every critical line does to the context: marks it, and lifts a suppression of the logs.
    void noteCritical() {
        criticalSeen = 1;
        logSuppressed = 0;
    }

    __KXSDK(const __KXSDK&) = delete;
    __KXSDK& operator=(const __KXSDK&) = delete;

    quint8 criticalSeen;
    quint8 reserved_9[3];
    quint16 interfaceVersion; ///< 3844 in a server's context
    quint16 layoutMark;       ///< 24092 in a server's context
    quint8 reserved_16[12];
    _kxLogfile* mainLog;
    _kxLogfile* errorLog;
    _kxLogLevels* logLevels;
    quint8 forwardToUI;
    _kxString8_allSize<100> processName;
    quint8 logSuppressed;
    char16_t processLabel[256]; ///< zero-terminated
    char logSeparatorChar;
    qint8 secondaryLogLevel; ///< -1: no secondary log
    _kxLogfile* secondaryLog;
    quint8 reserved_684[23376];
    quint32 interfaceVersion2; ///< second copy of the interface version, 3844 in a server's context
    quint8 reserved_24064[12];
    kxC::_ClientList* clientList; ///< the server's client list
    quint8 reserved_24084[88];
    quint32 endMark; ///< 0x0A23D23C in a server's context
};
#pragma pack(pop)

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
// Offsets from the start of the server's host context object.
static_assert(kxHostContextSdkOffset + offsetof(__KXSDK, interfaceVersion) == 28);
static_assert(kxHostContextSdkOffset + offsetof(__KXSDK, layoutMark) == 30);
static_assert(kxHostContextSdkOffset + offsetof(__KXSDK, mainLog) == 44);
static_assert(kxHostContextSdkOffset + offsetof(__KXSDK, interfaceVersion2) == 24076);
static_assert(kxHostContextSdkOffset + offsetof(__KXSDK, clientList) == 24092);
static_assert(kxHostContextSdkOffset + offsetof(__KXSDK, endMark) == 24188);
static_assert(offsetof(__KXSDK, secondaryLog) == 676);
static_assert(sizeof(__KXSDK) == 24176);
#pragma GCC diagnostic pop

/// Text of a file error, "Unknown Error %1" with the value for codes outside the table.
KX_EXPORT QString kxConvertFileError_localSDK(QFile::FileError error);
