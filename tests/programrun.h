// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// Runs one of the built programs as an admin would, for the tests of the programs themselves.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

/// What a program run gave: its exit code (-1 when it did not end normally within a minute) and its
/// standard output and error as UTF-8 texts.
struct kxProgramOutcome {
    int exitCode = -1;
    QString out;
    QString err;
};

/// Runs `program` with `arguments`, `input` on its standard input, in `workingDirectory` (or this
/// process's own when empty).
inline kxProgramOutcome kxRunProgram(const QString& program, const QStringList& arguments,
                                     const QString& workingDirectory = QString(),
                                     const QByteArray& input = QByteArray()) {
    QProcess process;
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    kxProgramOutcome run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
