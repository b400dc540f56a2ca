// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxtext.h"

#include <gtest/gtest.h>

TEST(KxText, LogFormOfTexts) {
    struct Case {
        QString text;
        bool singleLine;
        QString expected;
    };
    const QChar high(0xD83D), low(0xDE00); // one emoji as a surrogate pair
    const Case cases[] = {
        {QStringLiteral("plain text"), false, QStringLiteral("plain text")},
        {QString(), false, QString()},
        {QStringLiteral("tab\tand\nline"), false, QStringLiteral("tab\tand\nline")},
        {QStringLiteral("tab\tand\nline"), true, QStringLiteral("tab and line")},
        {QStringLiteral("windows\r\nline"), false, QStringLiteral("windows\nline")},
        {QStringLiteral("windows\r\nline"), true, QStringLiteral("windows line")},
        {QStringLiteral("lone\rreturn"), false, QStringLiteral("lone?return")},
        {QStringLiteral("end\r"), false, QStringLiteral("end?")},
        {QStringLiteral("\x1b[31mred\x1b[0m"), false, QStringLiteral("?[31mred?[0m")},
        {QString(QStringLiteral("nul")) + QChar(0) + QStringLiteral("byte"), false,
         QStringLiteral("nul?byte")},
        {QString(QStringLiteral("del")) + QChar(0x7F) + QChar(0x85) + QChar(0x9F), false,
         QStringLiteral("del???")},
        // Printable text beyond ASCII is kept.
        {QStringLiteral("caf\u00e9 \u00a0\u4e2d"), false, QStringLiteral("caf\u00e9 \u00a0\u4e2d")},
        {QString(high) + low, false, QString(high) + low},
        {QStringLiteral("x") + high, false, QStringLiteral("x\ufffd")},
        {QString(low) + high + QStringLiteral("y"), false, QStringLiteral("\ufffd\ufffdy")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kxToKXUTF8(c.text, c.singleLine), c.expected) << c.expected.toStdString();
}

TEST(KxText, ResultIsValidUtf8) {
    QString broken = QStringLiteral("a");
    broken += QChar(0xDC00);
    broken += QChar(0xD800);
    const QByteArray utf8 = kxToKXUTF8(broken, false).toUtf8();
    EXPECT_EQ(QString::fromUtf8(utf8), QStringLiteral("a\ufffd\ufffd"));
}
