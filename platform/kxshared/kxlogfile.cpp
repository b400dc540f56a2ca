// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxlogfile.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <type_traits>
#include <unistd.h>

namespace {
int openForAppend(const QString& path);
} // namespace

// offsetof on the members is only defined for a standard-layout class.
static_assert(std::is_standard_layout_v<_kxLogfile>);

_kxLogfile::_kxLogfile()
    : fd(-1), openFlags(0), pending(nullptr), pendingSize(0), pendingCapacity(0), totalLines(0),
      failureErrno(0), failureKind(noFailure), pendingLines(0), droppedLines(0), reserved_96{},
      linesSinceCritical(0), reserved_516(0) {}

_kxLogfile::_kxLogfile(const QString& path) : _kxLogfile() {
    open(path);
}

_kxLogfile::~_kxLogfile() {
    close();
    std::free(pending);
}

bool _kxLogfile::open(const QString& path) {
    const QMutexLocker locker(&lock);
    closeLocked();
    filePath = path;
    totalLines = 0;
    linesSinceCritical = 0;
    failureErrno = 0;
    failureKind = noFailure;
    droppedLines = 0;
    fd = openForAppend(path);
    return fd >= 0;
}

void _kxLogfile::close() {
    const QMutexLocker locker(&lock);
    closeLocked();
}

void _kxLogfile::closeLocked() {
    if (fd < 0)
        return;
    flushLocked();
    ::close(fd);
    fd = -1;
}

bool _kxLogfile::reservePending(qint64 more) {
    if (pendingSize + more <= pendingCapacity)
        return true;
    qint64 capacity = pendingCapacity > 0 ? pendingCapacity : 4096;
    while (capacity < pendingSize + more)
        capacity *= 2;
    char* grown = static_cast<char*>(std::realloc(pending, size_t(capacity)));
    if (!grown)
        return false;
    pending = grown;
    pendingCapacity = capacity;
    return true;
}

namespace {

/// Opens (creating it when missing) `path` for appending; -1 with errno set when it cannot.
int openForAppend(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    if (native.isEmpty()) {
        errno = ENOENT;
        return -1;
    }
    int fd;
    do {
        fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool isAscii(const QString& line) {
    const char16_t* units = reinterpret_cast<const char16_t*>(line.utf16());
    char16_t any = 0;
    for (qsizetype i = 0; i < line.size(); ++i)
        any |= units[i];
    return any < 0x80;
}

} // namespace

bool _kxLogfile::addLog(const QString& line) {
    // Most lines are ASCII, which is its own UTF-8: those are narrowed straight into the pending
    // bytes, without a converted copy.
    const bool ascii = isAscii(line);
    const QByteArray bytes = ascii ? QByteArray() : line.toUtf8();
    const QMutexLocker locker(&lock);
    if (fd < 0)
        return false;
    const qint64 n = ascii ? line.size() : bytes.size();
    if (!reservePending(n + 1))
        return false;
    if (ascii) {
        const char16_t* units = reinterpret_cast<const char16_t*>(line.utf16());
        char* to = pending + pendingSize;
        for (qint64 i = 0; i < n; ++i)
            to[i] = char(units[i]);
    } else {
        std::memcpy(pending + pendingSize, bytes.constData(), size_t(n));
    }
    pending[pendingSize + n] = '\n';
    pendingSize += n + 1;
    ++pendingLines;
    ++totalLines;
    ++linesSinceCritical;
    if (pendingSize >= autoFlushBytes)
        return flushLocked();
    return true;
}

bool _kxLogfile::flush() {
    const QMutexLocker locker(&lock);
    return flushLocked();
}

void _kxLogfile::dropPending(Failure kind, int error) {
    failureKind = kind;
    failureErrno = error;
    droppedLines += pendingLines;
    pendingSize = 0;
    pendingLines = 0;
}

bool _kxLogfile::reopenIfRemoved() {
    // A file removed while open takes every later line with it out of sight: the lines go to its
    // path again, into a new file.
    struct stat info {};
    if (fstat(fd, &info) != 0 || info.st_nlink > 0)
        return true;
    const int created = openForAppend(filePath);
    if (created < 0) {
        dropPending(cannotRecreate, errno);
        return false;
    }
    ::close(fd);
    fd = created;
    failureKind = removedAndRecreated;
    failureErrno = 0;
    return true;
}

bool _kxLogfile::flushLocked() {
    if (fd < 0)
        return false;
    if (pendingSize == 0)
        return true;
    if (!reopenIfRemoved())
        return false;
    qint64 done = 0;
    while (done < pendingSize) {
        const ssize_t w = ::write(fd, pending + done, size_t(pendingSize - done));
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0) {
            dropPending(writeFailed, w < 0 ? errno : EIO);
            return false;
        }
        done += w;
    }
    pendingSize = 0;
    pendingLines = 0;
    return true;
}

QString _kxLogfile::errorString() const {
    const QMutexLocker locker(&lock);
    const QString reason = qt_error_string(failureErrno);
    switch (failureKind) {
    case writeFailed:
        return QStringLiteral("cannot write to the log file %1: %2").arg(filePath, reason);
    case removedAndRecreated:
        return QStringLiteral("the log file %1 was removed while open; it was created anew").arg(filePath);
    case cannotRecreate:
        return QStringLiteral("the log file %1 was removed while open and cannot be created anew: %2")
            .arg(filePath, reason);
    default:
        return QString();
    }
}

int _kxLogfile::lastError() const {
    const QMutexLocker locker(&lock);
    return failureErrno;
}

quint64 _kxLogfile::lostLines() const {
    const QMutexLocker locker(&lock);
    return droppedLines;
}

bool _kxLogfile::isOpen() const {
    const QMutexLocker locker(&lock);
    return fd >= 0;
}

QString _kxLogfile::path() const {
    const QMutexLocker locker(&lock);
    return filePath;
}

quint32 _kxLogfile::linesSinceCriticalReset() const {
    const QMutexLocker locker(&lock);
    return linesSinceCritical;
}

void _kxLogfile::resetCriticalCount() {
    const QMutexLocker locker(&lock);
    linesSinceCritical = 0;
}

quint64 _kxLogfile::linesWritten() const {
    const QMutexLocker locker(&lock);
    return totalLines;
}

qint64 _kxLogfile::pendingBytes() const {
    const QMutexLocker locker(&lock);
    return pendingSize;
}
