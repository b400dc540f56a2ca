// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "kxsharedexport.h"

#include <QMutex>
#include <QString>
#include <QtGlobal>

#include <cstddef>

/// A log file that lines are appended to. `addLog` collects lines in memory; `flush` hands every
/// pending line to the operating system before it returns, so the lines survive a crash of the
/// process that wrote them (the file is not synced to the disk on every flush: that is the operating
/// system's job, and a server that flushes on every notification cannot afford it).
///
/// The object is shared with code that knows it only by its layout: the 32-bit count of lines
/// written since the last critical line sits at byte 512, and the SDK context resets it when it logs
/// a critical failure. Keep the members in this order.
///
/// A server logs from several threads, so every operation takes the object's lock.
class KXSHARED_EXPORT _kxLogfile {
public:
    /// Byte offset of the count of lines since the last critical reset.
    static constexpr std::size_t criticalResetCountOffset = 512;
    /// Pending bytes beyond which `addLog` flushes by itself, so a process that never flushes does not
    /// keep its whole log in memory.
    static constexpr qint64 autoFlushBytes = 64 * 1024;

    /// A log file that is not open; lines given to it are dropped.
    _kxLogfile();
    /// Opens `path` for appending (see `open`).
    explicit _kxLogfile(const QString& path);
    /// Flushes and closes.
    ~_kxLogfile();

    _kxLogfile(const _kxLogfile&) = delete;
    _kxLogfile& operator=(const _kxLogfile&) = delete;

    /// Opens (creating it when missing) `path` for appending; a file that was open is flushed and
    /// closed first. Returns false, and leaves the object closed, when the file cannot be opened.
    bool open(const QString& path);
    /// Flushes and closes; the path is kept for `path()`.
    void close();
    bool isOpen() const;
    /// The path given to the last `open`, empty before the first.
    QString path() const;

    /// Appends `line` and a line feed (UTF-8). Returns false, dropping the line, when the file is not
    /// open or an automatic flush failed.
    bool addLog(const QString& line);
    /// Hands every pending line to the operating system. Returns false when the file is not open or a
    /// write failed; what could not be written is dropped, so one bad write does not grow the memory.
    /// A file that was removed while open is created anew at its path first, so the lines stay where
    /// the log's reader looks for them.
    bool flush();

    /// What went wrong with the file last, for the process to show: a write that failed (a full disk),
    /// a file removed under it, or one that could not be created anew; empty while nothing went wrong.
    QString errorString() const;
    /// The system error number of the last failure; 0 when there was none or the removed file was
    /// created anew.
    int lastError() const;
    /// Lines accepted by `addLog` and then lost because they could not be written, since the last
    /// `open`.
    quint64 lostLines() const;

    /// Lines accepted by `addLog` since the last critical reset or the last `open`.
    quint32 linesSinceCriticalReset() const;
    /// Sets the count of lines since the last critical reset back to 0.
    void resetCriticalCount();
    /// Lines accepted by `addLog` since the file was opened.
    quint64 linesWritten() const;
    /// Bytes collected and not yet handed to the operating system.
    qint64 pendingBytes() const;

private:
    friend struct _kxLogfileLayout;

    /// What `failureKind` says.
    enum Failure : quint32 { noFailure = 0, writeFailed = 1, removedAndRecreated = 2, cannotRecreate = 3 };

    __attribute__((visibility("hidden"))) bool reservePending(qint64 more);
    __attribute__((visibility("hidden"))) bool flushLocked();
    __attribute__((visibility("hidden"))) void closeLocked();
    __attribute__((visibility("hidden"))) bool reopenIfRemoved();
    __attribute__((visibility("hidden"))) void dropPending(Failure kind, int error);

    int fd; ///< -1 while closed
    // Reserved members only keep the layout that code outside this library relies on.
    [[maybe_unused]] quint32 openFlags; ///< reserved for the runtime library's open mode, 0
    char* pending;                      ///< lines not yet written, UTF-8
    qint64 pendingSize;
    qint64 pendingCapacity;
    quint64 totalLines;
    QString filePath;
    mutable QMutex lock;
    qint32 failureErrno;  ///< errno of the last failure, 0 for none
    quint32 failureKind;  ///< a Failure
    quint64 pendingLines; ///< lines in `pending`
    quint64 droppedLines; ///< lines lost since the last open
    [[maybe_unused]] quint8 reserved_96[416];
    quint32 linesSinceCritical; ///< reset to 0 by the SDK context on a critical line
    [[maybe_unused]] quint32 reserved_516;
};

/// Checks the layout of `_kxLogfile` where the private members can be named.
struct _kxLogfileLayout {
    static_assert(offsetof(_kxLogfile, filePath) == 40);
    static_assert(offsetof(_kxLogfile, lock) == 64 && sizeof(QMutex) == 8);
    static_assert(offsetof(_kxLogfile, failureErrno) == 72 && offsetof(_kxLogfile, reserved_96) == 96);
    static_assert(offsetof(_kxLogfile, linesSinceCritical) == _kxLogfile::criticalResetCountOffset);
    static_assert(sizeof(_kxLogfile) == 520);
};
