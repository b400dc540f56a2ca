// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "config/kxguncmap.h"

#include "kxpath.h"

#include <QStringList>

#include <cstring>

namespace {

/// The steps both mount points share, on a path with "/" between its parts: drop a closing "/" and
/// `leadingSlashes` opening ones, keep only the first and the last part, and put "/" in front. The
/// result must name a folder directly under the root or one below it: "/server" or "/server/share",
/// with no empty, "." or ".." part; anything else gives an empty text.
_kxString8_allSize<100> mountPointOf(QString path, int leadingSlashes) {
    if (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    for (int i = 0; i < leadingSlashes && path.startsWith(QLatin1Char('/')); ++i)
        path.remove(0, 1);
    const qsizetype first = path.indexOf(QLatin1Char('/'));
    const qsizetype last = path.lastIndexOf(QLatin1Char('/'));
    if (first != last)
        path.remove(first, last - first);
    // Checked after the cut to 100 characters, which could otherwise leave a closing "/".
    const QString mountPoint = (QLatin1Char('/') + path).left(100);
    const QStringList parts = mountPoint.mid(1).split(QLatin1Char('/'));
    for (const QString& part : parts)
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return {};
    return _kxString8_allSize<100>(mountPoint);
}

} // namespace

_kxgUNC_map::_kxgUNC_map() {
    std::memset(static_cast<void*>(this), 0, sizeof(*this));
    clear();
}

void _kxgUNC_map::clear() {
    for (Entry& e : entries) {
        e.reserved_0.clear();
        e.reserved_104.clear();
        e.reserved_208 = 'A';
        static constexpr quint8 five[5] = {0, 0, 0, 1, 0};
        std::memcpy(e.reserved_209, five, sizeof five);
        e.reserved_214.clear();
        static constexpr quint8 three[3] = {0, 1, 0};
        std::memcpy(e.reserved_269, three, sizeof three);
        e.reserved_272.clear();
    }
    reserved_6402 = 1;
}

_kxString8_allSize<100> _kxgUNC_map::calcAutoMountPointUNC(_kxString8_allSize<100> share) {
    QString path = kxConvertPDToOS(share.toQString(), kxOS_Linux);
    path.remove(QLatin1String(".local"));
    return mountPointOf(path, 2);
}

_kxString8_allSize<100> _kxgUNC_map::calcAutoMountPointNFS(_kxString8_allSize<100> nfsExport) {
    QString path = kxConvertPDToOS(nfsExport.toQString(), kxOS_Linux);
    path.remove(QLatin1String(".local"));
    path.remove(QLatin1Char(':'));
    return mountPointOf(path, 1);
}
