// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// The records the farm server hands to the plug-in's entry points, and the parts of the server's host
// context object the plug-in relies on. The server owns all of them; both sides read them at fixed byte
// offsets, so this header is the whole of the contract between the two and is shared by the plug-in and
// the stand-in server.

#include "runtime/kxsdk.h"

#include "kxstring.h"

#include <QString>

#include <cstddef>
#include <cstring>
#include <type_traits>

/// Interface identifier the server places at the start of the info record.
constexpr quint16 kxPluginInterfaceId = 49156; // 0xC004

/// Status codes of the four entry points.
enum kxPluginResult : int {
    kxPluginOk = 1,
    kxPluginInterfaceMismatch = 5,
    kxPluginException = 6,
    kxPluginNoRecipient = 14,
};

/// The info record the server passes to `pInfo`, which fills it.
struct _kxPluginInfo {
    quint16 interfaceId; ///< 49156; written back as 49156 whatever the server put there
    quint16 pluginKind;  ///< 1
    quint8 reserved_4[14];
    _kxString<50> name;             ///< "kxMessage"
    _kxString<100> credit;          ///< the author line
    _kxString<25> pluginVersion;    ///< "1.0"
    _kxString<25> frameworkVersion; ///< " 8.4.03"
    _kxString<25> qtVersion;        ///< the text of qVersion()
    quint8 flag;                    ///< 0
    quint8 reserved_499[5];
    void* hostContext;      ///< points 16 bytes into the server's host context object
    quint32 value;          ///< 0
    quint8 reserved_516[4]; ///< tail of the 8-byte alignment; nothing reads or writes it
};
static_assert(offsetof(_kxPluginInfo, interfaceId) == 0);
static_assert(offsetof(_kxPluginInfo, pluginKind) == 2);
static_assert(offsetof(_kxPluginInfo, name) == 18);
static_assert(offsetof(_kxPluginInfo, credit) == 124);
static_assert(offsetof(_kxPluginInfo, pluginVersion) == 330);
static_assert(offsetof(_kxPluginInfo, frameworkVersion) == 386);
static_assert(offsetof(_kxPluginInfo, qtVersion) == 442);
static_assert(offsetof(_kxPluginInfo, flag) == 498);
static_assert(offsetof(_kxPluginInfo, hostContext) == 504);
static_assert(offsetof(_kxPluginInfo, value) == 512);
static_assert(sizeof(_kxPluginInfo) == 520);
static_assert(std::is_trivially_copyable_v<_kxPluginInfo>);

/// The notify record the server passes to `pNotify`: the host context reference and the job
/// (a `kxJ::_JobSend`), both owned by the server for the duration of the call.
struct _kxPluginNotify {
    void* hostContext; ///< points 16 bytes into the server's host context object
    void* job;         ///< the job, a kxJ::_JobSend record
};
static_assert(offsetof(_kxPluginNotify, hostContext) == 0);
static_assert(offsetof(_kxPluginNotify, job) == 8);
static_assert(sizeof(_kxPluginNotify) == 16);

/// Signature of all four entry points as the server calls them.
using kxPluginEntry = int (*)(void* record);

/// The server's log operation: entry 12 of the host context object's table of virtual operations,
/// called with the host object as its first argument.
using kxHostLogOperation = void (*)(void* hostObject, int level, int flags, const QString& text);

/// Byte offsets into the server's host context object. The server places its `__KXSDK` context 16 bytes
/// in, so these are that context's members seen from the start of the host object.
namespace kxHostOffsets {
constexpr std::size_t interfaceVersion = 28;
constexpr std::size_t layoutMark = 30;
constexpr std::size_t mainLog = 44;
constexpr std::size_t interfaceVersion2 = 24076;
constexpr std::size_t clientList = 24092;
constexpr std::size_t endMark = 24188;
constexpr int logOperationSlot = 12;
} // namespace kxHostOffsets

/// Byte offsets into the server's client list and its client records, the only places of them the
/// plug-in reads or writes.
namespace kxClientListOffsets {
constexpr std::size_t clientCount = 1238;   ///< signed 16-bit
constexpr std::size_t byListNo = 169108016; ///< one client record pointer per list position
constexpr int clientCapacity = 1500;        ///< client slots; the count is never read beyond it
constexpr std::size_t userMessage = 69848;  ///< kxC::_ClientUserMessage in a client record
constexpr std::size_t clientName = 107738;  ///< _kxString8_allSize<50> in a client record
} // namespace kxClientListOffsets

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(kxHostOffsets::interfaceVersion ==
              kxHostContextSdkOffset + offsetof(__KXSDK, interfaceVersion));
static_assert(kxHostOffsets::layoutMark == kxHostContextSdkOffset + offsetof(__KXSDK, layoutMark));
static_assert(kxHostOffsets::mainLog == kxHostContextSdkOffset + offsetof(__KXSDK, mainLog));
static_assert(kxHostOffsets::interfaceVersion2 ==
              kxHostContextSdkOffset + offsetof(__KXSDK, interfaceVersion2));
static_assert(kxHostOffsets::clientList == kxHostContextSdkOffset + offsetof(__KXSDK, clientList));
static_assert(kxHostOffsets::endMark == kxHostContextSdkOffset + offsetof(__KXSDK, endMark));
#pragma GCC diagnostic pop

/// Read-only view of the server's host context object through the byte offsets above. The plug-in uses
/// nothing of the server's own types: the object may be any server's, as long as these places hold.
class kxHostContextView {
public:
    /// `reference` is the pointer the server put in a record (16 bytes into the host object).
    explicit kxHostContextView(void* reference)
        : host(static_cast<unsigned char*>(reference) - kxHostContextSdkOffset) {}

    void* object() const { return host; }
    quint16 interfaceVersion() const { return read<quint16>(kxHostOffsets::interfaceVersion); }
    quint16 layoutMark() const { return read<quint16>(kxHostOffsets::layoutMark); }
    quint32 interfaceVersion2() const { return read<quint32>(kxHostOffsets::interfaceVersion2); }
    quint32 endMark() const { return read<quint32>(kxHostOffsets::endMark); }
    /// The pointer members sit on 4-byte boundaries only, hence the byte copies.
    _kxLogfile* mainLog() const { return read<_kxLogfile*>(kxHostOffsets::mainLog); }
    kxC::_ClientList* clientList() const { return read<kxC::_ClientList*>(kxHostOffsets::clientList); }

    /// True when both copies of the interface version are those of a server this plug-in fits.
    bool hasInterfaceVersion() const {
        return interfaceVersion() == kxHostInterfaceVersion && interfaceVersion2() == kxHostInterfaceVersion;
    }
    /// True when the layout and end marks are where this plug-in expects them.
    bool hasLayoutMarks() const { return layoutMark() == kxHostLayoutMark && endMark() == kxHostEndMark; }

    /// Calls the server's log operation, entry 12 of the object's table of virtual operations.
    void log(int level, const QString& text) const {
        const unsigned char* table = read<const unsigned char*>(0);
        kxHostLogOperation operation;
        std::memcpy(&operation, table + sizeof(void*) * kxHostOffsets::logOperationSlot, sizeof(operation));
        operation(host, level, 0, text);
    }

private:
    template <typename T>
    T read(std::size_t offset) const {
        T value;
        std::memcpy(&value, host + offset, sizeof(T));
        return value;
    }

    unsigned char* host;
};
