// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "renderapps/renderapprecords.h"

#include <gtest/gtest.h>

#include <cstring>

using kxRA::_ClientRenderApp;
using kxRA::_RenderAppBasic;

TEST(RenderAppRecords, ClearBasicKeepsTheThirdText) {
    _RenderAppBasic app;
    EXPECT_EQ(app.appType.toQString(), QStringLiteral("3D"));
    EXPECT_TRUE(app.renderAppText3.isEmpty());

    app.appVersionMajor = 2024;
    app.value_2 = 5;
    app.byte_4 = 9;
    app.byte_5 = 9;
    app.renderApp.set("Maya");
    app.renderer.set("Arnold");
    app.renderAppText3.set("kept");
    app.appType.set("Comp");
    app.rendererVersion.set("7.1");
    app.appVersionMinor.set("2.300");
    app.clearBasic();
    EXPECT_EQ(app.appVersionMajor, 0);
    EXPECT_EQ(app.value_2, -1);
    EXPECT_EQ(app.byte_4, 0);
    EXPECT_EQ(app.byte_5, 1);
    EXPECT_TRUE(app.renderApp.isEmpty());
    EXPECT_TRUE(app.renderer.isEmpty());
    EXPECT_EQ(app.renderAppText3.toQString(), QStringLiteral("kept"));
    EXPECT_EQ(app.appType.toQString(), QStringLiteral("3D"));
    EXPECT_TRUE(app.rendererVersion.isEmpty());
    EXPECT_TRUE(app.appVersionMinor.isEmpty());
}

TEST(RenderAppRecords, ClientEntryClear) {
    _ClientRenderApp entries[3];
    std::memset(static_cast<void*>(entries), 0x4E, sizeof(entries));
    for (_ClientRenderApp& e : entries)
        e.clear();
    for (const _ClientRenderApp& e : entries) {
        EXPECT_TRUE(e.executable.isEmpty());
        EXPECT_TRUE(e.parameter.isEmpty());
        EXPECT_TRUE(e.name.isEmpty());
        EXPECT_EQ(e.versionMinor.toQString(), QStringLiteral("00000"));
        EXPECT_EQ(e.versionMajor, 0);
        EXPECT_EQ(e.value_256, -1);
    }
    // Entries sit 260 bytes apart in a client record.
    EXPECT_EQ(reinterpret_cast<const char*>(&entries[1]) - reinterpret_cast<const char*>(&entries[0]), 260);
}
