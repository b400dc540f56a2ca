// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "runtime/kxexport.h"

#include "kxstring.h"
#include "kxtime.h"

#include <cstddef>
#include <type_traits>

/// The running farm application: start time, host and user name, application name and command line.
/// Members sit at their natural alignment in this order, as the server's compiler lays the record out
/// (the start time on its 8-byte boundary); the reserved ones are stored for the server with their
/// starting values and not interpreted here. The gaps between members are the compiler's alignment
/// padding, zero after construction.
struct KX_EXPORT _kxgApplication {
    quint8 reserved_0[3]; ///< 1, 0, 0 after construction
    _kxTime startTime;    ///< the time of construction
    qint32 reserved_16;   ///< 2 after construction
    quint8 reserved_20;   ///< 1 after construction
    qint32 reserved_24[16];
    _kxString8_allSize<75> hostName; ///< "NoHostNameSet" after construction
    _kxString<100> userName;         ///< "UnknownUser" after construction
    _kxString8_allSize<12> reserved_372[16];
    quint8 reserved_628;
    _kxString8_allSize<75> reserved_630;
    _kxString8_allSize<10> reserved_708;
    _kxString8_allSize<10> reserved_722;
    _kxString8_allSize<100> reserved_736;
    _kxString8_allSize<50> reserved_840;
    quint8 reserved_894[2]; ///< 1, 0 after construction
    _kxString<50> appName;  ///< "kxApp" after construction
    /// Number of command-line arguments, the program path included; set by the owner.
    qint32 argc;
    /// The `argc` arguments as the process got them, element 0 the program; set by the owner, who
    /// keeps the texts alive. Not copied.
    char** argv;
    _kxString<25> reserved_1016; ///< "--" after construction
    quint8 reserved_1072[3];
    qint64 reserved_1080;
    _kxTime reserved_1088;
    _kxString8_allSize<75> reserved_1096;
    _kxString8_allSize<75> reserved_1174;

    /// Every member at its starting value, no command line (argc 0, argv null).
    _kxgApplication();

    /// True when one of the arguments after the program equals `flag`, written as it stands on the
    /// command line (leading sign included) and compared whole without regard to letter case. Each
    /// argument is read as Latin-1 like the flag, and compared after its XML character references are
    /// decoded and cut to 100 characters.
    /// An empty flag, fewer than two arguments or a null `argv` give false; a null argument counts as
    /// an empty one.
    bool hasCommandlineFlag(_kxString8_allSize<100> flag) const;
    /// As hasCommandlineFlag, and `value` receives the argument after the flag exactly as given (not
    /// decoded, letter case kept, cut to 100 bytes; a null argument gives an empty value). An empty flag
    /// is searched like any other. A flag that is missing or the last argument gives false and leaves
    /// `value` unchanged.
    bool hasCommandlineFlagValue(_kxString8_allSize<100> flag, _kxString8_allSize<100>& value) const;

private:
    /// Index of the first argument after the program that matches `flag`, or -1.
    int findFlag(const _kxString8_allSize<100>& flag) const;
};

static_assert(offsetof(_kxgApplication, startTime) == 8);
static_assert(offsetof(_kxgApplication, reserved_16) == 16);
static_assert(offsetof(_kxgApplication, reserved_20) == 20);
static_assert(offsetof(_kxgApplication, reserved_24) == 24);
static_assert(offsetof(_kxgApplication, hostName) == 88);
static_assert(offsetof(_kxgApplication, userName) == 166);
static_assert(offsetof(_kxgApplication, reserved_372) == 372);
static_assert(offsetof(_kxgApplication, reserved_628) == 628);
static_assert(offsetof(_kxgApplication, reserved_630) == 630);
static_assert(offsetof(_kxgApplication, reserved_708) == 708);
static_assert(offsetof(_kxgApplication, reserved_722) == 722);
static_assert(offsetof(_kxgApplication, reserved_736) == 736);
static_assert(offsetof(_kxgApplication, reserved_840) == 840);
static_assert(offsetof(_kxgApplication, reserved_894) == 894);
static_assert(offsetof(_kxgApplication, appName) == 896);
static_assert(offsetof(_kxgApplication, argc) == 1004);
static_assert(offsetof(_kxgApplication, argv) == 1008);
static_assert(offsetof(_kxgApplication, reserved_1016) == 1016);
static_assert(offsetof(_kxgApplication, reserved_1072) == 1072);
static_assert(offsetof(_kxgApplication, reserved_1080) == 1080);
static_assert(offsetof(_kxgApplication, reserved_1088) == 1088);
static_assert(offsetof(_kxgApplication, reserved_1096) == 1096);
static_assert(offsetof(_kxgApplication, reserved_1174) == 1174);
static_assert(sizeof(_kxgApplication) == 1256 && alignof(_kxgApplication) == 8);
static_assert(std::is_trivially_copyable_v<_kxgApplication>);
