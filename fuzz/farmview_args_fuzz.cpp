// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
//
// kxinspect's command line: any arguments must end in a result or a fault with its message, never in
// a crash, and an answer asked for with --json must be one JSON document (a fault too). Warnings go to
// standard error beside an answer. The input is the argument list, one argument per NUL-separated part.
// Commands that read or write files named on the command line, or standard input, are left out, so the
// fuzzer never touches the file system; their readers have fuzzers of their own.
#include "cli.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>

namespace {

bool touchesFiles(const QStringList& arguments) {
    static const QStringList fileCommands = {QStringLiteral("stats"), QStringLiteral("clientcfg"),
                                             QStringLiteral("filter"), QStringLiteral("vars"),
                                             QStringLiteral("resolve")};
    if (!arguments.isEmpty() && fileCommands.contains(arguments.first()))
        return true;
    for (const QString& argument : arguments)
        if (argument.startsWith(QLatin1String("--farm")) || argument.startsWith(QLatin1String("--out")))
            return true;
    // "config encode" without a text reads standard input.
    return arguments.size() >= 2 && arguments[0] == QLatin1String("config") &&
           arguments.contains(QStringLiteral("encode"));
}

/// True when the call asks a command for its JSON answer: "--json" among the options, no help asked.
bool asksForJson(const QStringList& arguments) {
    if (arguments.isEmpty() || arguments.first().startsWith(QLatin1Char('-')) ||
        arguments.first() == QLatin1String("help"))
        return false;
    bool json = false;
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QLatin1String("--"))
            break;
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return false;
        json = json || argument == QLatin1String("--json");
    }
    return json;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QStringList arguments;
    for (const QByteArray& part : bytes.split('\0'))
        arguments << QString::fromUtf8(part);
    if (bytes.isEmpty())
        arguments.clear();
    if (touchesFiles(arguments))
        return 0;

    QString out;
    QString err;
    const int code = kxInspectMain(arguments, out, err);
    if (code < 0 || code > 2)
        __builtin_trap();
    // A fault says why on standard error, and under --json is a document on standard output as well; an
    // answer prints nothing on standard error but warnings.
    const bool json = asksForJson(arguments);
    if (code == 2 && err.isEmpty())
        __builtin_trap();
    if (code != 2)
        for (const QString& line : err.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            if (!line.contains(QLatin1String(": warning: ")))
                __builtin_trap();
    if (code == 2 && !out.isEmpty()) {
        const QJsonDocument document = QJsonDocument::fromJson(out.toUtf8());
        if (!document.isObject() || !document.object().contains(QStringLiteral("error")))
            __builtin_trap();
    }
    if (code != 2 && json) {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(out.toUtf8(), &error);
        if (error.error != QJsonParseError::NoError || !document.isObject())
            __builtin_trap();
    }
    return 0;
}
