// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "cli.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QString out;
    QString err;
    const int code = kxInspectMain(arguments, out, err);
    const QByteArray outBytes = out.toUtf8();
    const QByteArray errBytes = err.toUtf8();
    std::fwrite(outBytes.constData(), 1, size_t(outBytes.size()), stdout);
    std::fwrite(errBytes.constData(), 1, size_t(errBytes.size()), stderr);
    return code;
}
