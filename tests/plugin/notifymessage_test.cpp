// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "plugin/notifymessage.h"

#include <gtest/gtest.h>

namespace {

TEST(NotifyMessage, TemplateFollowsStatus) {
    const QString preview = QStringLiteral("%1\nJob %2 [%3] preview frames done. \nScene:%4 \nImage:%5%6");
    const QString frames = QStringLiteral("%1\nJob %2 [%3] frames done. \nScene:%4 \nImage:%5%6");
    const QString finished = QStringLiteral("%1\nJob %2 [%3] finished. \nScene:%4 \nImage:%5%6");
    struct Case {
        quint8 status;
        const QString& expected;
    };
    const Case cases[] = {{0, preview},  {100, preview},  {120, preview},  {121, frames},  {150, frames},
                          {179, frames}, {180, finished}, {200, finished}, {255, finished}};
    for (const Case& c : cases)
        EXPECT_EQ(kxNotifyTemplate(c.status), c.expected) << int(c.status);
}

TEST(NotifyMessage, ValuesArePutInOnceAndLiterally) {
    EXPECT_EQ(kxComposeNotifyMessage(200, QStringLiteral("2026-12-09 22:42"), QStringLiteral("{KT9 }"),
                                     QStringLiteral("anna"), QStringLiteral("/p/shot.ma"),
                                     QStringLiteral("/r/"), QStringLiteral("beauty.exr")),
              QStringLiteral("2026-12-09 22:42\nJob {KT9 } [anna] finished. \nScene:/p/shot.ma \n"
                             "Image:/r/beauty.exr"));
    // Values that look like placeholders stay as they are; chained arg() calls would have replaced the
    // "%3" in the scene by the folder and the "%6" in the folder by the file name.
    EXPECT_EQ(kxComposeNotifyMessage(100, QStringLiteral("T"), QStringLiteral("J"), QStringLiteral("%6"),
                                     QStringLiteral("scene_%3_%1.ma"), QStringLiteral("out%6/"),
                                     QStringLiteral("f%5")),
              QStringLiteral("T\nJob J [%6] preview frames done. \nScene:scene_%3_%1.ma \nImage:out%6/f%5"));
    EXPECT_EQ(kxComposeNotifyMessage(150, QString(), QString(), QString(), QString(), QString(), QString()),
              QStringLiteral("\nJob  [] frames done. \nScene: \nImage:"));
}

TEST(NotifyMessage, Latin1RoundTripReplacesAndEndsAtZero) {
    EXPECT_EQ(kxLatin1RoundTrip(QString::fromUtf8("Sc\xC3\xA8ne")), QString::fromUtf8("Sc\xC3\xA8ne"));
    EXPECT_EQ(kxLatin1RoundTrip(QString::fromUtf8("\xE5\x9C\xBA\xE6\x99\xAF.ma")), QStringLiteral("??.ma"));
    EXPECT_EQ(kxLatin1RoundTrip(QString::fromUtf8("a\xE2\x82\xAC"
                                                  "b")),
              QStringLiteral("a?b"));
    QString withZero = QStringLiteral("front");
    withZero.append(QChar(0)).append(QStringLiteral("back"));
    EXPECT_EQ(kxLatin1RoundTrip(withZero), QStringLiteral("front"));
    EXPECT_EQ(kxLatin1RoundTrip(QString()), QString());
    // The edges of Latin-1, and the unit that decides standing last in a long text (where the first
    // pass reads many units at a time) or first.
    const QString long64(64, QLatin1Char('x'));
    struct Case {
        QString text;
        QString expected;
    };
    const Case cases[] = {
        {QString(QChar(0xFF)) + QChar(0x01), QString(QChar(0xFF)) + QChar(0x01)},
        {QString(QChar(0x100)), QStringLiteral("?")},
        {long64 + QChar(0x100), long64 + QLatin1Char('?')},
        {long64 + QChar(0), long64},
        {QChar(0) + long64, QString()},
        {QString(QChar(0xFFFF)) + long64, QLatin1Char('?') + long64},
        {long64 + QChar(0xD83D) + QChar(0xDE00), long64 + QStringLiteral("??")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kxLatin1RoundTrip(c.text), c.expected) << c.text.toStdString();
}

TEST(NotifyMessage, LogLinesAreJoinedExactly) {
    const QString j = QStringLiteral("{KT9 }");
    const QString n = QStringLiteral("nodeA;nodeB");
    EXPECT_EQ(kxNotifyStartLine(j), QStringLiteral("pNotify kxMessage started for job {KT9 }"));
    EXPECT_EQ(kxNotifyNoRecipientLine(), QStringLiteral("pNotify kxMessage: No Client Name specified"));
    EXPECT_EQ(kxNotifyComposedLine(j, n, QStringLiteral("M\nM2")),
              QStringLiteral("{KT9 } kxNotifyKXMessage send to 'nodeA;nodeB\nM\nM2"));
    EXPECT_EQ(kxNotifySentLine(j, n, 12),
              QStringLiteral("{KT9 } kxNotifyKXMessage send to 'nodeA;nodeB'. (  n:12|||\n)"));
    EXPECT_EQ(kxNotifyNotSentLine(j, n, 0),
              QStringLiteral("{KT9 } kxNotifyKXMessage NOT SEND. 'nodeA;nodeB' not found. (  n:0|||\n)"));
    EXPECT_EQ(kxNotifyNotSentLine(j, n, -3),
              QStringLiteral("{KT9 } kxNotifyKXMessage NOT SEND. 'nodeA;nodeB' not found. (  n:-3|||\n)"));
    EXPECT_EQ(kxNotifySentLine(j, n, -32768),
              QStringLiteral("{KT9 } kxNotifyKXMessage send to 'nodeA;nodeB'. (  n:-32768|||\n)"));
    EXPECT_EQ(kxNotifySentLine(j, QString(), 1500),
              QStringLiteral("{KT9 } kxNotifyKXMessage send to ''. (  n:1500|||\n)"));
}

} // namespace
