// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "cli.h"

#include "samplefarm.h"

#include <QJsonDocument>
#include <QRegularExpression>

#include <exception>

namespace {

/// The subcommands in the order the command list shows them.
const std::vector<const kxInspectCommand*>& commandTable() {
    static const std::vector<const kxInspectCommand*> table = {
        &kxInspectIdCommand,      &kxInspectFramesCommand, &kxInspectUncCommand,      &kxInspectVmidCommand,
        &kxInspectVersionCommand, &kxInspectLogCommand,    &kxInspectErrorCommand,    &kxInspectStatsCommand,
        &kxInspectConfigCommand,  &kxInspectFilterCommand, &kxInspectStatusCommand,   &kxInspectVarsCommand,
        &kxInspectResolveCommand, &kxInspectImageCommand,  &kxInspectClientcfgCommand};
    return table;
}

const kxInspectCommand* findCommand(const QString& name) {
    for (const kxInspectCommand* command : commandTable())
        if (name == QLatin1String(command->name))
            return command;
    return nullptr;
}

QString programUsage() {
    QString text = QStringLiteral("Usage: kxinspect COMMAND [ARGUMENTS] [--json] [--help] | --version\n"
                                  "Shows what the farm's data model makes of its input.\n\nCommands:\n");
    for (const kxInspectCommand* command : commandTable())
        text +=
            QStringLiteral("  %1%2\n")
                .arg(QString::fromLatin1(command->name).leftJustified(11), QLatin1String(command->summary));
    text += QStringLiteral("\nExit codes: 0 success, 1 a check answered no, 2 a fault.\n"
                           "Warnings (what the farm would do differently) go to standard error; with --json\n"
                           "a fault is also a document on standard output: {\"error\", \"file\", \"line\"}.\n"
                           "'kxinspect COMMAND --help' describes one command.\n");
    return text;
}

QString commandHelp(const kxInspectCommand& command) {
    QString text =
        QStringLiteral("Usage: kxinspect %1 %2\n%3\n")
            .arg(QLatin1String(command.name), QLatin1String(command.usage), QLatin1String(command.summary));
    text += QLatin1String(command.details);
    text += QStringLiteral("\nOptions:\n");
    auto optionLine = [&text](const QString& left, const char* help) {
        text += QStringLiteral("  %1%2\n").arg(left.leftJustified(22), QLatin1String(help));
    };
    for (const kxInspectOption& option : command.options)
        optionLine(QStringLiteral("--%1%2").arg(
                       QLatin1String(option.name),
                       option.valueName ? QStringLiteral(" ") + QLatin1String(option.valueName) : QString()),
                   option.help);
    optionLine(QStringLiteral("--json"), "one JSON document in place of the text");
    optionLine(QStringLiteral("--help"), "this text");
    return text;
}

const kxInspectOption* findOption(const kxInspectCommand& command, const QString& name) {
    for (const kxInspectOption& option : command.options)
        if (name == QLatin1String(option.name))
            return &option;
    return nullptr;
}

/// Splits the arguments after the command name into positional arguments and options. Everything
/// after "--" is positional, so a value may begin with "-". False with `fault` set on a fault.
bool parseCall(const kxInspectCommand& command, const QStringList& arguments, kxInspectCall& call,
               bool& wantsHelp, QString& fault) {
    call.command = QLatin1String(command.name);
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-")) {
            call.arguments << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            wantsHelp = true;
            continue;
        }
        if (argument == QLatin1String("--json")) {
            call.json = true;
            continue;
        }
        // A negative number is a positional argument, not an option.
        static const QRegularExpression negativeNumber(QStringLiteral("^-[0-9]"));
        if (negativeNumber.match(argument).hasMatch()) {
            call.arguments << argument;
            continue;
        }
        if (!argument.startsWith(QLatin1String("--"))) {
            fault = QStringLiteral("unknown option '%1'").arg(argument);
            return false;
        }
        QString name = argument.mid(2);
        QString value;
        bool hasValue = false;
        const qsizetype equals = name.indexOf(QLatin1Char('='));
        if (equals >= 0) {
            value = name.mid(equals + 1);
            name.truncate(equals);
            hasValue = true;
        }
        const kxInspectOption* option = findOption(command, name);
        if (!option) {
            fault = QStringLiteral("unknown option '--%1'").arg(name);
            return false;
        }
        if (!option->valueName) {
            if (hasValue) {
                fault = QStringLiteral("option '--%1' takes no value").arg(name);
                return false;
            }
        } else if (!hasValue) {
            if (i + 1 >= arguments.size()) {
                fault = QStringLiteral("option '--%1' needs a value %2")
                            .arg(name, QLatin1String(option->valueName));
                return false;
            }
            value = arguments[++i];
        }
        if (call.options.contains(name)) {
            fault = QStringLiteral("option '--%1' given twice").arg(name);
            return false;
        }
        call.options.insert(name, value);
    }
    if (wantsHelp)
        return true;
    if (call.arguments.size() < command.minArguments) {
        // Name the missing argument when the usage starts with one ("NUMBER"), not with a word ("join").
        const QString first = QString::fromLatin1(command.usage).section(QLatin1Char(' '), 0, 0);
        fault = QStringLiteral("missing %1 (usage: kxinspect %2 %3)")
                    .arg(first == first.toUpper() ? first : QStringLiteral("arguments"),
                         QLatin1String(command.name), QLatin1String(command.usage));
        return false;
    }
    if (call.arguments.size() > command.maxArguments) {
        fault = QStringLiteral("unexpected argument '%1'").arg(call.arguments[command.maxArguments]);
        return false;
    }
    for (const kxInspectOption& option : command.options)
        if (option.required && !call.options.contains(QLatin1String(option.name))) {
            fault = QStringLiteral("missing --%1 %2")
                        .arg(QLatin1String(option.name), QLatin1String(option.valueName));
            return false;
        }
    return true;
}

/// The fault as a script reads it under --json: {"error": text}, with "file" and "line" when the text
/// names a file of the call ("FILE:LINE: what" or "FILE: what"), and "argument" when it quotes one.
QString faultDocument(const QString& fault, const QStringList& arguments) {
    QJsonObject document{{QStringLiteral("error"), fault}};
    for (const QString& argument : arguments) {
        if (argument.isEmpty() || argument.startsWith(QLatin1String("--")))
            continue;
        if (fault.startsWith(argument + QLatin1Char(':'))) {
            document.insert(QStringLiteral("file"), argument);
            static const QRegularExpression line(QStringLiteral("^([0-9]+):"));
            const QRegularExpressionMatch match = line.match(fault.mid(argument.size() + 1));
            if (match.hasMatch())
                document.insert(QStringLiteral("line"), match.captured(1).toInt());
            break;
        }
        if (fault.contains(QLatin1Char('\'') + argument + QLatin1Char('\''))) {
            document.insert(QStringLiteral("argument"), argument);
            break;
        }
    }
    return QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented));
}

int runCommand(const QStringList& arguments, QString& out, QString& err) {
    if (arguments.isEmpty()) {
        err = programUsage();
        return kxInspectFault;
    }
    const QString& name = arguments.first();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        if (arguments.size() > 1) {
            const kxInspectCommand* command = findCommand(arguments[1]);
            if (!command) {
                err = QStringLiteral("kxinspect: unknown command '%1' (see kxinspect --help)\n")
                          .arg(arguments[1]);
                return kxInspectFault;
            }
            out = commandHelp(*command);
            return kxInspectOk;
        }
        out = programUsage();
        return kxInspectOk;
    }
    if (name == QLatin1String("--version")) {
        out = QStringLiteral("kxinspect %1\n").arg(QLatin1String(KX_VERSION));
        return kxInspectOk;
    }
    const kxInspectCommand* command = findCommand(name);
    if (!command) {
        err = QStringLiteral("kxinspect: unknown command '%1' (see kxinspect --help)\n").arg(name);
        return kxInspectFault;
    }
    kxInspectCall call;
    bool wantsHelp = false;
    QString fault;
    // A fault found before --json was read is still a document when --json is given.
    const QStringList options = arguments.mid(1);
    const bool json =
        options.mid(0, options.indexOf(QStringLiteral("--"))).contains(QStringLiteral("--json"));
    if (!parseCall(*command, arguments.mid(1), call, wantsHelp, fault)) {
        err = QStringLiteral("kxinspect %1: %2\n").arg(name, fault);
        if (json)
            out = faultDocument(fault, arguments.mid(1));
        return kxInspectFault;
    }
    if (wantsHelp) {
        out = commandHelp(*command);
        return kxInspectOk;
    }
    kxInspectResult result;
    const int code = command->run(call, result);
    for (const QString& warning : std::as_const(result.warnings))
        err += QStringLiteral("kxinspect %1: warning: %2\n").arg(name, warning);
    if (code == kxInspectFault) {
        err += QStringLiteral("kxinspect %1: %2\n").arg(name, result.fault);
        if (json)
            out = faultDocument(result.fault, arguments.mid(1));
        return code;
    }
    out = call.json ? QString::fromUtf8(QJsonDocument(result.json).toJson(QJsonDocument::Indented))
                    : result.text;
    return code;
}

} // namespace

int kxInspectMain(const QStringList& arguments, QString& out, QString& err) {
    out.clear();
    err.clear();
    try {
        return runCommand(arguments, out, err);
    } catch (const std::exception& e) {
        out.clear();
        err = QStringLiteral("kxinspect: %1\n").arg(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        out.clear();
        err = QStringLiteral("kxinspect: unexpected failure\n");
    }
    return kxInspectFault;
}

void kxInspectLine(QString& text, const QString& label, const QString& value) {
    text += label.leftJustified(16) + value + QLatin1Char('\n');
}

bool kxInspectInteger(const QString& text, const QString& what, qint64 min, qint64 max, qint64& value,
                      QString& fault) {
    static const QRegularExpression decimal(QStringLiteral("^-?[0-9]+$"));
    static const QRegularExpression hexadecimal(QStringLiteral("^0[xX][0-9A-Fa-f]+$"));
    bool ok = false;
    qint64 read = 0;
    if (decimal.match(text).hasMatch())
        read = text.toLongLong(&ok, 10);
    else if (hexadecimal.match(text).hasMatch())
        read = text.mid(2).toLongLong(&ok, 16);
    else {
        fault = QStringLiteral("%1 '%2' is not a number").arg(what, text);
        return false;
    }
    if (!ok || read < min || read > max) {
        fault = QStringLiteral("%1 '%2' is out of range (%3 to %4)").arg(what, text).arg(min).arg(max);
        return false;
    }
    value = read;
    return true;
}

bool kxInspectCodes(const QStringList& texts, bool all, const QString& what, qint64 min, qint64 max,
                    QList<qint64>& codes, QString& fault) {
    if (all) {
        if (!texts.isEmpty()) {
            fault = QStringLiteral("give %1 or --all, not both").arg(what);
            return false;
        }
        for (qint64 code = min; code <= max; ++code)
            codes << code;
        return true;
    }
    if (texts.isEmpty()) {
        fault = QStringLiteral("missing %1 (or --all)").arg(what);
        return false;
    }
    // "A-B" is a range; a leading '-' belongs to a negative first code.
    static const QRegularExpression range(QStringLiteral("^(-?[^-]+)-(-?[^-]+)$"));
    for (const QString& text : texts) {
        const QRegularExpressionMatch match = range.match(text);
        qint64 first = 0;
        qint64 last = 0;
        if (match.hasMatch()) {
            if (!kxInspectInteger(match.captured(1), what, min, max, first, fault) ||
                !kxInspectInteger(match.captured(2), what, min, max, last, fault))
                return false;
            if (last < first) {
                fault = QStringLiteral("%1 range '%2' ends before it starts").arg(what, text);
                return false;
            }
        } else {
            if (!kxInspectInteger(text, what, min, max, first, fault))
                return false;
            last = first;
        }
        for (qint64 code = first; code <= last; ++code)
            codes << code;
    }
    return true;
}

bool kxInspectIdentifier(const QString& text, const QString& what, quint64& id, QString& fault) {
    static const QRegularExpression decimal(QStringLiteral("^[0-9]+$"));
    static const QRegularExpression hexadecimal(QStringLiteral("^0[xX][0-9A-Fa-f]+$"));
    bool ok = false;
    if (decimal.match(text).hasMatch())
        id = text.toULongLong(&ok, 10);
    else if (hexadecimal.match(text).hasMatch())
        id = text.mid(2).toULongLong(&ok, 16);
    else {
        fault = QStringLiteral("%1 '%2' is not a decimal or 0x hexadecimal number").arg(what, text);
        return false;
    }
    if (!ok) {
        fault = QStringLiteral("%1 '%2' is out of range (0 to 18446744073709551615)").arg(what, text);
        return false;
    }
    return true;
}

bool kxInspectTextFits(const QString& text, const QString& what, int capacity, QString& fault) {
    if (text.size() > capacity) {
        fault = QStringLiteral("%1 is %2 characters long, more than the %3 it may hold")
                    .arg(what)
                    .arg(text.size())
                    .arg(capacity);
        return false;
    }
    return true;
}

bool kxInspectLatin1Text(const QString& text, const QString& what, int capacity, QString& fault) {
    if (!kxInspectTextFits(text, what, capacity, fault))
        return false;
    for (const QChar c : text)
        if (c.unicode() > 0xFF) {
            fault = QStringLiteral("%1 holds '%2', which is not a Latin-1 character").arg(what, c);
            return false;
        }
    return true;
}

bool kxInspectReadFarm(const kxInspectCall& call, kxSampleFarm& farm, QString& fault) {
    if (!call.has("farm")) {
        fault = QStringLiteral("missing --farm FILE");
        return false;
    }
    return kxReadSampleFarm(call.value("farm"), farm, fault);
}

bool kxInspectFarmJob(const kxInspectCall& call, kxSampleJob& job, QString& fault) {
    kxSampleFarm farm;
    if (!kxInspectReadFarm(call, farm, fault))
        return false;
    if (!call.has("job")) {
        fault = QStringLiteral("missing --job LABEL");
        return false;
    }
    const QString label = call.value("job");
    QStringList labels;
    for (const kxSampleJob& candidate : std::as_const(farm.jobs)) {
        if (candidate.label == label) {
            job = candidate;
            return true;
        }
        labels << QLatin1Char('\'') + candidate.label + QLatin1Char('\'');
    }
    fault = QStringLiteral("%1 holds no job '%2' (its jobs: %3)")
                .arg(call.value("farm"), label,
                     labels.isEmpty() ? QStringLiteral("none") : labels.join(QStringLiteral(", ")));
    return false;
}
