// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "config/kxgapplication.h"

#include "kxcodec.h"

#include <cstring>

_kxgApplication::_kxgApplication() {
    std::memset(static_cast<void*>(this), 0, sizeof(*this));
    reserved_0[0] = 1;
    startTime.setCurrentTime();
    reserved_16 = 2;
    reserved_20 = 1;
    hostName.set("NoHostNameSet");
    userName.set("UnknownUser");
    reserved_894[0] = 1;
    appName.set("kxApp");
    reserved_1016.set("--");
}

int _kxgApplication::findFlag(const _kxString8_allSize<100>& flag) const {
    if (argv == nullptr || argc < 2)
        return -1;
    const QString wanted = flag.toQString().toUpper();
    for (int i = 1; i < argc; ++i) {
        // Arguments are 8-bit texts like the flag, both read as Latin-1: read as UTF-8, an argument of
        // Latin-1 letters would never match its own flag.
        const QString decoded = fromXmlString(QString::fromLatin1(argv[i] ? argv[i] : ""));
        const _kxString8_allSize<100> argument(decoded.left(100));
        if (argument.toQString().toUpper() == wanted)
            return i;
    }
    return -1;
}

bool _kxgApplication::hasCommandlineFlag(_kxString8_allSize<100> flag) const {
    return !flag.isEmpty() && findFlag(flag) >= 0;
}

bool _kxgApplication::hasCommandlineFlagValue(_kxString8_allSize<100> flag,
                                              _kxString8_allSize<100>& value) const {
    const int at = findFlag(flag);
    if (at < 0 || at + 1 >= argc)
        return false;
    value.set(argv[at + 1]); // a null argument sets an empty value
    return true;
}
