// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "plugin/plugininfo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

TEST(InfoTextWriter, CutsToCapacityWidensAndKeepsSecondWord) {
    struct Case {
        const char* text;
        int expectedLength;
    };
    const Case cases[] = {
        {"123456789012345678901234567890", 25}, // 30 characters: the first 25 are stored
        {"", 0},
        {" 8.4.03", 7},
        {"1234567890123456789012345", 25},
    };
    for (const Case& c : cases) {
        _kxString<25> field;
        std::memset(static_cast<void*>(&field), 0x5A, sizeof(field));
        field.secondWord = 0xBEEF;
        kxWriteInfoText(field, c.text);
        EXPECT_EQ(field.length, c.expectedLength) << c.text;
        EXPECT_EQ(field.secondWord, 0xBEEF) << "the second header word is the server's";
        for (int i = 0; i < c.expectedLength; ++i)
            EXPECT_EQ(field.text[i], char16_t(static_cast<unsigned char>(c.text[i])))
                << c.text << " at " << i;
        EXPECT_EQ(field.text[c.expectedLength], 0) << c.text;
    }
}

TEST(InfoTextWriter, WidensBytesAboveAsciiAsLatin1AndLeavesFieldForNull) {
    _kxString<50> field(QStringLiteral("old"));
    kxWriteInfoText(field, "\xE9t\xE9");
    EXPECT_EQ(field.toQString(), QString::fromLatin1("\xE9t\xE9"));
    kxWriteInfoText(field, nullptr);
    EXPECT_EQ(field.toQString(), QString::fromLatin1("\xE9t\xE9"));
}

/// A host context object as raw bytes, so the checks are seen to read the contract's offsets.
struct RawHost {
    std::vector<unsigned char> bytes = std::vector<unsigned char>(24200, 0);
    void put16(std::size_t offset, quint16 v) { std::memcpy(bytes.data() + offset, &v, sizeof(v)); }
    void put32(std::size_t offset, quint32 v) { std::memcpy(bytes.data() + offset, &v, sizeof(v)); }
    void* reference() { return bytes.data() + 16; }
};

TEST(FillPluginInfo, InterfaceVersionMustBeAtBothPlaces) {
    struct Case {
        quint16 version;
        quint32 version2;
        int expected;
    };
    const Case cases[] = {{3844, 3844, 1}, {3843, 3844, 5}, {3844, 3845, 5}, {0, 0, 5}};
    for (const Case& c : cases) {
        RawHost host;
        host.put16(28, c.version);
        host.put32(24076, c.version2);
        _kxPluginInfo info;
        std::memset(static_cast<void*>(&info), 0x77, sizeof(info));
        info.interfaceId = kxPluginInterfaceId;
        info.hostContext = host.reference();
        EXPECT_EQ(kxFillPluginInfo(&info), c.expected) << c.version << "/" << c.version2;
        // The texts are written before the host is checked, so they stand in either case.
        EXPECT_EQ(info.name.toQString(), QStringLiteral("kxMessage"));
        EXPECT_EQ(info.pluginVersion.toQString(), QStringLiteral("1.0"));
        EXPECT_EQ(info.flag, c.expected == 1 ? 0 : 0x77);
        EXPECT_EQ(info.value, c.expected == 1 ? 0u : 0x77777777u);
    }
}

TEST(FillPluginInfo, WrongIdentifierWritesOnlyTheIdentifier) {
    RawHost host;
    host.put16(28, 3844);
    host.put32(24076, 3844);
    _kxPluginInfo info;
    std::memset(static_cast<void*>(&info), 0x33, sizeof(info));
    info.interfaceId = 49155;
    info.hostContext = host.reference();
    _kxPluginInfo before = info;
    EXPECT_EQ(kxFillPluginInfo(&info), 5);
    EXPECT_EQ(info.interfaceId, kxPluginInterfaceId);
    before.interfaceId = kxPluginInterfaceId;
    EXPECT_EQ(std::memcmp(&info, &before, sizeof(info)), 0);
}

TEST(FillPluginInfo, NullRecordOrHostIsAMismatch) {
    EXPECT_EQ(kxFillPluginInfo(nullptr), 5);
    _kxPluginInfo info{};
    info.interfaceId = kxPluginInterfaceId;
    info.hostContext = nullptr;
    EXPECT_EQ(kxFillPluginInfo(&info), 5);
}

} // namespace
