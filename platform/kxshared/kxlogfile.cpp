// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxlogfile.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <type_traits>
#include <unistd.h>

// offsetof on the members is only defined for a standard-layout class.
static_assert(std::is_standard_layout_v<_kxLogfile>);

_kxLogfile::_kxLogfile()
    : fd(-1), openFlags(0), pending(nullptr), pendingSize(0), pendingCapacity(0),
      totalLines(0), reserved_72{}, linesSinceCritical(0), reserved_516(0) {}

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
    const QByteArray native = QFile::encodeName(path);
    if (native.isEmpty())
        return false;
    do {
        fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
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

bool _kxLogfile::flushLocked() {
    if (fd < 0)
        return false;
    qint64 done = 0;
    bool ok = true;
    while (done < pendingSize) {
        const ssize_t w = ::write(fd, pending + done, size_t(pendingSize - done));
        if (w < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        if (w == 0) {
            ok = false;
            break;
        }
        done += w;
    }
    pendingSize = 0;
    return ok;
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
