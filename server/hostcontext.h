// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// The stand-in farm server's host context object: what a plug-in reaches through the reference in its
// records. The server's own operations come first (the log operation is entry 12 of the object's table),
// its SDK context 16 bytes in, so the plug-in finds the marks, the main log file and the client list at
// the offsets it was built for.

#include "runtime/kxsdk.h"

#include "kxlogfile.h"
#include "kxtime.h"

#include <QString>

#include <memory>

namespace kxC {
class _ClientList;
}

/// The server's farm object, which the client list keeps a reference to and never reads.
class __KX {
public:
    QString farmName;
};

/// The server's part in front of its SDK context: its table of operations and 8 bytes of its own.
/// Entries 0 and 1 are the destructor, 2 to 11 the operations below, 12 the log operation; keep the
/// order, plug-ins call entry 12 by its place.
class _kxHostBase {
public:
    virtual ~_kxHostBase();
    virtual QString serverName() const = 0;
    /// The main log file's path.
    virtual QString logFilePath() const = 0;
    /// Hands the main log's pending lines to the operating system.
    virtual bool flushLog() = 0;
    /// Clients in the list.
    virtual int clientCount() const = 0;
    /// Position of the named client in the list, or -1.
    virtual int findClient(const QString& name) const = 0;
    /// Adds a client and rebuilds the list order; returns its position, or -1 when the list is full or
    /// the name is taken.
    virtual int addClient(const QString& name) = 0;
    /// The pending user messages of the client at `position`, empty for a position outside the list.
    virtual QString userMessages(int position) const = 0;
    /// Queues a user message on the client at `position`, as a notification would.
    virtual bool addUserMessage(int position, const QString& text) = 0;
    /// Job events handed to the plug-in so far.
    virtual quint64 notifyCount() const = 0;
    /// When the server started.
    virtual _kxTime startTime() const = 0;
    /// The log operation: entry 12.
    virtual void writeLog(int level, int flags, const QString& text) = 0;

protected:
    _kxHostBase() : started(true) {}
    _kxTime started;
};

// The SDK context follows this part directly, so its size is where plug-ins find the SDK context.
static_assert(sizeof(_kxHostBase) == kxHostContextSdkOffset);

/// The whole host context: the server's part, then its SDK context with the marks set, the main log
/// file open at `logPath`, every log level switched on and a client list of its own (built on the heap,
/// it is about 170 MB).
class kxFarmHost : public _kxHostBase, public __KXSDK {
public:
    explicit kxFarmHost(const QString& logPath);
    ~kxFarmHost() override;

    /// The reference a plug-in gets in its records: the SDK context, 16 bytes into this object.
    void* pluginReference() { return static_cast<__KXSDK*>(this); }
    bool isLogOpen() const { return logFile.isOpen(); }
    kxC::_ClientList& clients() { return *list; }
    const kxC::_ClientList& clients() const { return *list; }
    /// Switches one log level on or off (all are on after construction).
    void setLevelEnabled(int level, bool enabled);
    /// Empties the pending user messages of the client at `position`.
    void clearUserMessages(int position);
    /// Counts a job event handed to the plug-in.
    void countNotify() { ++notifies; }

    QString serverName() const override;
    QString logFilePath() const override;
    bool flushLog() override;
    int clientCount() const override;
    int findClient(const QString& name) const override;
    int addClient(const QString& name) override;
    QString userMessages(int position) const override;
    bool addUserMessage(int position, const QString& text) override;
    quint64 notifyCount() const override { return notifies; }
    _kxTime startTime() const override { return started; }
    /// Routes the line through the SDK context to the main log file.
    void writeLog(int level, int flags, const QString& text) override;

private:
    _kxLogfile logFile;
    _kxLogLevels levels;
    __KX farm;
    std::unique_ptr<kxC::_ClientList> list;
    quint64 notifies = 0;
};
