// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "envbatch.h"

#include <QFile>

namespace kxJ {

namespace {

bool isVariableName(const QString& name) {
    if (name.isEmpty())
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        const bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
        if (!letter && !(i > 0 && c >= u'0' && c <= u'9'))
            return false;
    }
    return true;
}

/// The value as it may stand inside double quotes of a sourced C-shell script: the characters the
/// shell would still act on there are given in single quotes, line breaks become blanks.
QByteArray quotedValue(const QString& value) {
    QByteArray out;
    out.reserve(value.size());
    for (QChar ch : value) {
        const char16_t c = ch.unicode();
        if (c == u'"' || c == u'$' || c == u'`' || c == u'\\' || c == u'!') {
            out += "\"'";
            out += char(c);
            out += "'\"";
        } else if (c == u'\r' || c == u'\n') {
            out += ' ';
        } else {
            out += c < 256 ? char(c) : '?';
        }
    }
    return out;
}

} // namespace

bool kxEnvFileWriteBatch(const QString& fileName, QStringList names, QStringList values) {
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray script = "/bin/echo \"__________kxEnvFile_start__________\" \n";
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString& name = names.at(i);
        if (!isVariableName(name))
            continue;
        const QByteArray n = name.toLatin1();
        const QByteArray v = quotedValue(i < values.size() ? values.at(i) : QString());
        script += "/bin/echo \"" + n + "= " + v + "\" \n";
        script += "setenv     " + n + " \"" + v + "\" \n";
    }
    script += "/bin/echo \"__________kxEnvFile_end__________\" \n";
    script += '\n';
    const bool written = file.write(script) == script.size();
    const bool flushed = file.flush();
    file.close();
    return written && flushed && file.error() == QFileDevice::NoError;
}

} // namespace kxJ
