// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "config/kxguncmap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <new>

TEST(KxgUncMap, ClearSetsEachEntryAndLeavesItsOneByte) {
    // Built on dirty memory: every byte of a fresh map is defined, the one clear() skips included.
    alignas(_kxgUNC_map) unsigned char memory[sizeof(_kxgUNC_map)];
    std::memset(memory, 0xAB, sizeof memory);
    auto* map = new (memory) _kxgUNC_map;
    const quint8 five[5] = {0, 0, 0, 1, 0};
    const quint8 three[3] = {0, 1, 0};
    for (const _kxgUNC_map::Entry& e : map->entries) {
        EXPECT_TRUE(e.reserved_0.isEmpty() && e.reserved_104.isEmpty());
        EXPECT_EQ(e.reserved_208, 'A');
        EXPECT_EQ(std::memcmp(e.reserved_209, five, 5), 0);
        EXPECT_EQ(e.reserved_268, 0);
        EXPECT_EQ(std::memcmp(e.reserved_269, three, 3), 0);
        EXPECT_TRUE(e.reserved_214.isEmpty() && e.reserved_272.isEmpty());
    }
    EXPECT_EQ(map->reserved_6402, 1);
    _kxgUNC_map zeroed;
    EXPECT_EQ(std::memcmp(map, &zeroed, sizeof zeroed), 0);

    for (_kxgUNC_map::Entry& e : map->entries) {
        e.reserved_0.set("\\\\server\\share");
        e.reserved_208 = 'Z';
        e.reserved_209[3] = 0;
        e.reserved_268 = 7;
        e.reserved_272.set("x");
    }
    map->reserved_6194.set("kept");
    map->reserved_6402 = 0;
    map->clear();
    for (const _kxgUNC_map::Entry& e : map->entries) {
        EXPECT_TRUE(e.reserved_0.isEmpty() && e.reserved_272.isEmpty());
        EXPECT_EQ(e.reserved_208, 'A');
        EXPECT_EQ(e.reserved_209[3], 1);
        EXPECT_EQ(e.reserved_268, 7);
    }
    EXPECT_TRUE(map->reserved_6194.isEqual("kept"));
    EXPECT_EQ(map->reserved_6402, 1);
}

TEST(KxgUncMap, MountPoints) {
    struct Case {
        const char* in;
        const char* unc;
        const char* nfs;
    };
    const Case cases[] = {
        // A share's own form, and an export's; each read by the other rule as well.
        {"\\\\server.local\\projects\\2019\\share", "/server/share", ""},
        {"\\\\server\\share", "/server/share", ""},
        {"\\\\server\\share\\", "/server/share", ""},
        {"\\\\server", "/server", ""},
        {"\\\\Server.LOCAL\\Share", "/Server.LOCAL/Share", ""},
        {"\\\\my.server\\v1.2", "/my.server/v1.2", ""},
        {"//fs01/projects", "/fs01/projects", ""},
        {"server:/export/data/share", "/server:/share", "/server/share"},
        {"server:/share", "/server:/share", "/server/share"},
        {"nas.local:/vol/renders", "/nas:/renders", "/nas/renders"},
        {"server", "/server", "/server"},
        // Nothing that would mount over the root or a system folder.
        {"", "", ""},
        {"\\\\", "", ""},
        {"\\\\server\\..", "", ""},
        {"\\\\..\\share", "", ""},
        {"\\\\.\\share", "", ""},
        {"\\\\\\share", "", ""},
        {"\\\\server\\\\", "", ""},
        {"..:/etc", "/..:/etc", ""},
        {"server:/..", "", ""},
        {":/", "/:", ""},
    };
    _kxgUNC_map map;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(map.calcAutoMountPointUNC(c.in).toQString(), QString::fromLatin1(c.unc));
        EXPECT_EQ(map.calcAutoMountPointNFS(c.in).toQString(), QString::fromLatin1(c.nfs));
    }
}

TEST(KxgUncMap, LongSharesAreCutAndStillChecked) {
    _kxgUNC_map map;
    // Without leading back-slashes nothing is dropped: "/" + 98 letters + "/x" passes 100, and the cut
    // would leave a closing "/", an empty share.
    const QString server(98, QLatin1Char('s'));
    EXPECT_TRUE(map.calcAutoMountPointUNC(server + QStringLiteral("\\x")).isEmpty());
    const QString shorter(97, QLatin1Char('s'));
    EXPECT_EQ(map.calcAutoMountPointUNC(shorter + QStringLiteral("\\x")).toQString(),
              QLatin1Char('/') + shorter + QStringLiteral("/x"));
}
