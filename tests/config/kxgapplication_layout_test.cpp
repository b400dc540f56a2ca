// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// The application record as the server lays it out: its field list declared with plain types, a
// signed 64-bit value for each time, and compared member by member with the shared record.
#include "config/kxgapplication.h"
#include "config/kxgconfig.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace {

template <int N>
struct Text8 {
    quint16 length;
    char text[N + 1];
};
template <int N>
struct Text16 {
    quint16 length;
    quint16 second;
    char16_t text[N + 1];
};

/// The field list of the application record, in order, as any compiler lays it out.
struct ServerApplication {
    quint8 flags[3];
    qint64 startTime;
    qint32 value;
    quint8 flag;
    qint32 counters[16];
    Text8<75> hostName;
    Text16<100> userName;
    Text8<12> shortTexts[16];
    quint8 byte;
    Text8<75> text75;
    Text8<10> text10a;
    Text8<10> text10b;
    Text8<100> text100;
    Text8<50> text50;
    quint8 twoBytes[2];
    Text16<50> appName;
    qint32 argc;
    char** argv;
    Text16<25> dashes;
    quint8 threeBytes[3];
    qint64 value64;
    qint64 secondTime;
    Text8<75> text75a;
    Text8<75> text75b;
};

struct TimeAfterAByte {
    quint8 byte;
    _kxTime time;
};

TEST(KxgApplicationLayout, TimeValuesSitWhereACompilerPutsA64BitValue) {
    EXPECT_EQ(alignof(_kxTime), alignof(qint64));
    EXPECT_EQ(offsetof(TimeAfterAByte, time), alignof(qint64));
    // The configuration store's second time value, too, is where the server's compiler puts it.
    EXPECT_EQ(offsetof(_kxgConfig, reserved_339616) % alignof(qint64), 0u);
    EXPECT_EQ(offsetof(_kxgConfig, sdk), 339624u);
    EXPECT_EQ(sizeof(_kxgConfig), 339632u);
}

TEST(KxgApplicationLayout, EveryMemberIsWhereTheServerHasIt) {
    struct Member {
        const char* name;
        std::size_t shared;
        std::size_t server;
    };
#define KX_MEMBER(shared, server)                                                                            \
    Member {                                                                                                 \
#shared, offsetof(_kxgApplication, shared), offsetof(ServerApplication, server)                      \
    }
    const Member members[] = {
        KX_MEMBER(reserved_0, flags),
        KX_MEMBER(startTime, startTime),
        KX_MEMBER(reserved_16, value),
        KX_MEMBER(reserved_20, flag),
        KX_MEMBER(reserved_24, counters),
        KX_MEMBER(hostName, hostName),
        KX_MEMBER(userName, userName),
        KX_MEMBER(reserved_372, shortTexts),
        KX_MEMBER(reserved_628, byte),
        KX_MEMBER(reserved_630, text75),
        KX_MEMBER(reserved_708, text10a),
        KX_MEMBER(reserved_722, text10b),
        KX_MEMBER(reserved_736, text100),
        KX_MEMBER(reserved_840, text50),
        KX_MEMBER(reserved_894, twoBytes),
        KX_MEMBER(appName, appName),
        KX_MEMBER(argc, argc),
        KX_MEMBER(argv, argv),
        KX_MEMBER(reserved_1016, dashes),
        KX_MEMBER(reserved_1072, threeBytes),
        KX_MEMBER(reserved_1080, value64),
        KX_MEMBER(reserved_1088, secondTime),
        KX_MEMBER(reserved_1096, text75a),
        KX_MEMBER(reserved_1174, text75b),
    };
#undef KX_MEMBER
    for (const Member& m : members)
        EXPECT_EQ(m.shared, m.server) << m.name;
    EXPECT_EQ(sizeof(_kxgApplication), sizeof(ServerApplication));
    EXPECT_EQ(alignof(_kxgApplication), alignof(ServerApplication));
}

} // namespace
