// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// The texts of one job notification: the user message the named clients receive and the lines the
// plug-in writes to the server's log.

#include <QString>
#include <QStringView>

/// Log levels the plug-in writes at.
constexpr int kxNotifyInfoLevel = 17;
constexpr int kxNotifyWarningLevel = 2;

/// The message template for a job status: preview frames done up to 120, frames done from 121 to 179,
/// finished from 180. Placeholders %1 time, %2 job, %3 user, %4 scene, %5 image folder, %6 image file.
QString kxNotifyTemplate(quint8 status);

/// The template for `status` with all six values put in at once: a value is never searched for
/// placeholders, so a scene or folder named like "%3" stays as it is.
QString kxComposeNotifyMessage(quint8 status, QStringView time, QStringView jobText, QStringView user,
                               QStringView scene, QStringView imageDir, QStringView imageFile);

/// The text as Latin-1 can carry it: characters outside Latin-1 replaced as QString::toLatin1 replaces
/// them, and the text ending at its first zero character.
QString kxLatin1RoundTrip(QString text);

/// "pNotify kxMessage started for job " followed by the job text.
QString kxNotifyStartLine(QStringView jobText);
/// The warning for a job that names no recipient.
QString kxNotifyNoRecipientLine();
/// The job, the recipient text, a line feed and the message.
QString kxNotifyComposedLine(QStringView jobText, QStringView recipients, QStringView message);
/// The line for a call that reached at least one client; `clientCount` is the list's count.
QString kxNotifySentLine(QStringView jobText, QStringView recipients, int clientCount);
/// The warning for a call that reached no client.
QString kxNotifyNotSentLine(QStringView jobText, QStringView recipients, int clientCount);
