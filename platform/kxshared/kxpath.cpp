// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxpath.h"

#include <QDateTime>
#include <QFileInfo>

int kxThisOS() {
#if defined(_WIN32)
    return kxOS_Windows;
#elif defined(__APPLE__)
    return kxOS_Mac;
#else
    return kxOS_Linux;
#endif
}

QChar kxPathSeparatorOS(int os) {
    return os == kxOS_Windows ? QLatin1Char('\\') : QLatin1Char('/');
}

QString kxConvertPDToOS(const QString& path, int os) {
    QString out = path;
    if (os == kxOS_Windows)
        out.replace(QLatin1Char('/'), QLatin1Char('\\'));
    else
        out.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return out;
}

QString kxConvertPDToOS(const QString& path) {
    return kxConvertPDToOS(path, kxThisOS());
}

QString kxGetDirName(const QString& path, QChar sep) {
    qsizetype end = path.size();
    if (end > 0 && path.at(end - 1) == sep)
        --end; // a folder: look above it
    if (end == 0)
        return QString();
    const qsizetype at = path.lastIndexOf(sep, end - 1);
    if (at < 0)
        return QString();
    return path.left(at + 1);
}

bool kxFileExists(const QString& path, _kxTime& fileTime) {
    fileTime.clear();
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    fileTime.setCurrentTime(info.lastModified().toSecsSinceEpoch());
    return true;
}
