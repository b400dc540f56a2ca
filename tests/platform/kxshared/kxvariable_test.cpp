// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxhexcode.h"
#include "kxpath.h"
#include "kxvariable.h"

#include "tests/qstringprint.h"

#include <gtest/gtest.h>

#include <limits>

TEST(KxVariable, FindNextVariable) {
    const struct {
        const char* text;
        const char* prefix;
        bool ignoreCase;
        bool found;
        const char* rest;
        int position;
        const char* inner;
    } cases[] = {
        {"a<removeVar xy>b", "<removeVar ", false, true, "ab", 1, "xy"},
        {"<removeVar x<Layer>y>z", "<removeVar ", false, true, "z", 0, "x<Layer>y"},
        {"<removeVar <a<b>>>", "<removeVar ", false, true, "", 0, "<a<b>>"},
        {"<removeVar a<b>", "<removeVar ", false, false, "<removeVar a<b>", -1, ""}, // not closed
        {"<removeVar abc", "<removeVar ", false, false, "<removeVar abc", -1, ""},
        {"<REMOVEVAR x>", "<removeVar ", false, false, "<REMOVEVAR x>", -1, ""},
        {"<REMOVEVAR x>", "<removeVar ", true, true, "", 0, "x"},
        {"<ValueVar a@b><ValueVar c>", "<ValueVar ", false, true, "<ValueVar c>", 0, "a@b"},
        {"", "<x ", false, false, "", -1, ""},
    };
    for (const auto& c : cases) {
        QString text = QString::fromLatin1(c.text);
        QString inner;
        int position = -1;
        const bool ignoreCase = c.ignoreCase;
        EXPECT_EQ(findNextVariable2Replace(text, QString::fromLatin1(c.prefix), position, ignoreCase, &inner),
                  c.found)
            << c.text;
        EXPECT_EQ(text, QString::fromLatin1(c.rest)) << c.text;
        EXPECT_EQ(position, c.position) << c.text;
        EXPECT_EQ(inner, QString::fromLatin1(c.inner)) << c.text;
    }
    QString text = QStringLiteral("<x a>");
    int position = 0;
    EXPECT_TRUE(findNextVariable2Replace(text, QStringLiteral("<x "), position, false, nullptr));
    EXPECT_TRUE(text.isEmpty());
}

TEST(KxVariable, LineReplace) {
    const bool no = false, yes = true;
    QString text = QStringLiteral("<Channel>_<CHANNEL>");
    EXPECT_TRUE(LineReplaceWithBool2(text, QStringLiteral("<channel>"), QStringLiteral("d"), no, yes));
    EXPECT_EQ(text, QStringLiteral("d_d"));
    text = QStringLiteral("<Channel>_<CHANNEL>");
    EXPECT_TRUE(LineReplaceWithBool2(text, QStringLiteral("<CHANNEL>"), QStringLiteral("d"), yes, yes));
    EXPECT_EQ(text, QStringLiteral("<Channel>_d"));
    text = QStringLiteral("<a><a>");
    EXPECT_TRUE(LineReplaceWithBool2(text, QStringLiteral("<A>"), QString(), no, no));
    EXPECT_EQ(text, QStringLiteral("<a>"));
    EXPECT_FALSE(LineReplaceWithBool2(text, QStringLiteral("<b>"), QStringLiteral("x"), no, yes));
    EXPECT_FALSE(LineReplaceWithBool2(text, QString(), QStringLiteral("x"), no, yes));
    EXPECT_EQ(text, QStringLiteral("<a>"));
}

TEST(KxVariable, SmallTexts) {
    EXPECT_EQ(bool2str(true, false), QStringLiteral("true"));
    EXPECT_EQ(bool2str(false, false), QStringLiteral("false"));
    EXPECT_EQ(bool2str(true, true), QStringLiteral("1"));
    EXPECT_EQ(bool2str(false, true), QStringLiteral("0"));
    EXPECT_EQ(OS2String(kxOS_Windows), QStringLiteral("win"));
    EXPECT_EQ(OS2String(kxOS_Linux), QStringLiteral("lx"));
    EXPECT_EQ(OS2String(kxOS_Mac), QStringLiteral("osx"));
    EXPECT_EQ(OS2String(0), QString());
    EXPECT_EQ(OS2String(255), QString());
    EXPECT_EQ(OS2String(kxThisOS()), QStringLiteral("lx"));
}

TEST(KxHexCode, RoundTrip) {
    const qint64 values[] = {0,
                             1,
                             255,
                             -16,
                             1000000,
                             std::numeric_limits<qint32>::max(),
                             std::numeric_limits<qint64>::max(),
                             std::numeric_limits<qint64>::min()};
    for (qint64 v : values) {
        QString text = QStringLiteral("x");
        addHexCode(text, v);
        text.remove(0, 1);
        text += QStringLiteral("0110");
        qint64 back = 7;
        ASSERT_TRUE(toIntFromHex(text, back)) << v;
        EXPECT_EQ(back, v);
        EXPECT_EQ(text, QStringLiteral("0110")); // the digits that follow are not read
    }
    QString text;
    addHexCode(text, 255);
    EXPECT_EQ(text, QStringLiteral("FF:"));
    text.clear();
    addHexCode(text, -16);
    EXPECT_EQ(text, QStringLiteral("-10:"));
}

TEST(KxHexCode, RefusesWhatItDidNotWrite) {
    const char* bad[] = {"",
                         ":",
                         "-:",
                         "FF",
                         "FG:",
                         "10000000000000000:",                 // 65 bits
                         "8000000000000000:",                  // above the highest positive value
                         "-8000000000000001:",                 // below the lowest
                         "000000000000000000000000000000001:", // 33 digits
                         " 1:"};
    for (const char* b : bad) {
        QString text = QString::fromLatin1(b);
        qint64 value = 42;
        EXPECT_FALSE(toIntFromHex(text, value)) << b;
        EXPECT_EQ(value, 42) << b;
        EXPECT_EQ(text, QString::fromLatin1(b)) << b;
    }
    QString padded = QStringLiteral("00000000000000000000000000000ff:1");
    qint64 value = 0;
    EXPECT_TRUE(toIntFromHex(padded, value)); // 32 digits, leading zeros
    EXPECT_EQ(value, 255);
    EXPECT_EQ(padded, QStringLiteral("1"));
}
