// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "plugin/notifymessage.h"

#include <QByteArray>

QString kxNotifyTemplate(quint8 status) {
    // The blanks before the line feeds are part of the texts clients have always shown.
    if (status >= 180)
        return QStringLiteral("%1\nJob %2 [%3] finished. \nScene:%4 \nImage:%5%6");
    if (status >= 121)
        return QStringLiteral("%1\nJob %2 [%3] frames done. \nScene:%4 \nImage:%5%6");
    return QStringLiteral("%1\nJob %2 [%3] preview frames done. \nScene:%4 \nImage:%5%6");
}

QString kxComposeNotifyMessage(quint8 status, const QString& time, const QString& jobText,
                               const QString& user, const QString& scene, const QString& imageDir,
                               const QString& imageFile) {
    // The multi-argument arg() replaces every placeholder in one pass over the template; chained arg()
    // calls would search each value already put in for the next placeholder.
    return kxNotifyTemplate(status).arg(time, jobText, user, scene, imageDir, imageFile);
}

QString kxLatin1RoundTrip(const QString& text) {
    const QByteArray latin1 = text.toLatin1();
    const qsizetype zero = latin1.indexOf('\0');
    return QString::fromLatin1(latin1.constData(), zero < 0 ? latin1.size() : zero);
}

QString kxNotifyStartLine(const QString& jobText) {
    return QStringLiteral("pNotify kxMessage started for job ") + jobText;
}

QString kxNotifyNoRecipientLine() {
    return QStringLiteral("pNotify kxMessage: No Client Name specified");
}

QString kxNotifyComposedLine(const QString& jobText, const QString& recipients, const QString& message) {
    return jobText + QStringLiteral(" kxNotifyKXMessage send to '") + recipients + QLatin1Char('\n') +
           message;
}

static QString countText(int clientCount) {
    return QStringLiteral("  n:") + QString::number(clientCount) + QStringLiteral("|||\n");
}

QString kxNotifySentLine(const QString& jobText, const QString& recipients, int clientCount) {
    return jobText + QStringLiteral(" kxNotifyKXMessage send to '") + recipients + QStringLiteral("'. (") +
           countText(clientCount) + QLatin1Char(')');
}

QString kxNotifyNotSentLine(const QString& jobText, const QString& recipients, int clientCount) {
    return jobText + QStringLiteral(" kxNotifyKXMessage NOT SEND. '") + recipients +
           QStringLiteral("' not found. (") + countText(clientCount) + QLatin1Char(')');
}
