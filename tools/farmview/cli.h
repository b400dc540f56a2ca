// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// The frame of kxinspect: a table of git-style subcommands, their options, and the one place that
// turns a command's result into plain text or a JSON document, and its fault into a message on
// standard error.
//
// Exit codes: 0 success, 1 a check that answers "no", 2 a fault (unknown command or option, a missing
// or malformed argument or file, a value out of range).

#include <QHash>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <vector>

/// Exit codes of kxinspect.
enum kxInspectExit : int { kxInspectOk = 0, kxInspectNo = 1, kxInspectFault = 2 };

/// One option of a subcommand: "--name VALUE" (or "--name=VALUE"), or a flag without a value when
/// `valueName` is null.
struct kxInspectOption {
    const char* name;      ///< without the leading "--"
    const char* valueName; ///< shown in the help; null for a flag
    const char* help;
    bool required = false; ///< a call without it is a fault: "missing --name VALUE"
};

/// The parsed command line of one subcommand call.
struct kxInspectCall {
    QString command;
    QStringList arguments;           ///< the positional arguments, in order
    QHash<QString, QString> options; ///< option name (without "--") to value; "" for a flag
    bool json = false;

    bool has(const char* name) const { return options.contains(QLatin1String(name)); }
    QString value(const char* name) const { return options.value(QLatin1String(name)); }
};

/// What a subcommand produced: the text for a person, the document for scripts, or the fault.
struct kxInspectResult {
    QString text;     ///< printed as it stands (lines end with '\n')
    QJsonObject json; ///< printed with --json
    QString fault;    ///< set together with the exit code kxInspectFault
    /// What the farm would do differently from what the input seems to ask (a text it cuts, a name it
    /// does not know): printed on standard error, one line each, and never part of the answer.
    QStringList warnings;
};

/// One subcommand.
struct kxInspectCommand {
    const char* name;
    const char* usage;   ///< the arguments after the name, "NUMBER"
    const char* summary; ///< one line for the command list
    const char* details; ///< the rest of the help text, lines ending with '\n'
    std::vector<kxInspectOption> options;
    int minArguments;
    int maxArguments;
    int (*run)(const kxInspectCall& call, kxInspectResult& result);
};

/// Runs kxinspect with `arguments` (without the program name): the output for standard output goes
/// to `out`, messages to `err`. Returns the exit code. Throws nothing.
int kxInspectMain(const QStringList& arguments, QString& out, QString& err);

/// Adds "label  value" to `text`, the value starting at a fixed column so the lines line up.
void kxInspectLine(QString& text, const QString& label, const QString& value);

/// Reads a whole number for `what` (used in the fault message): decimal, or hexadecimal after "0x".
/// False with `fault` set when the text is not such a number or lies outside min..max.
bool kxInspectInteger(const QString& text, const QString& what, qint64 min, qint64 max, qint64& value,
                      QString& fault);

/// Reads codes for `what`: each text a code or a range "A-B" (min..max, decimal or 0x...), or every code
/// from min to max when `all` is set (then no text may be given). False with `fault` set otherwise.
bool kxInspectCodes(const QStringList& texts, bool all, const QString& what, qint64 min, qint64 max,
                    QList<qint64>& codes, QString& fault);

/// Reads a 64-bit job identifier for `what`: decimal, or hexadecimal after "0x", 0 to 2^64 - 1.
bool kxInspectIdentifier(const QString& text, const QString& what, quint64& id, QString& fault);

/// Refuses, with `fault` set, a text for `what` that a fixed-capacity field of `capacity` characters
/// would cut.
bool kxInspectTextFits(const QString& text, const QString& what, int capacity, QString& fault);

/// As kxInspectTextFits, and refuses a text that holds a character Latin-1 cannot hold.
bool kxInspectLatin1Text(const QString& text, const QString& what, int capacity, QString& fault);

struct kxSampleFarm;
struct kxSampleJob;

/// Reads the sample farm named by "--farm". False with `fault` set when the option is missing or the
/// file cannot be read or is malformed (the file and line named).
bool kxInspectReadFarm(const kxInspectCall& call, kxSampleFarm& farm, QString& fault);

/// The job labelled by "--job" in the sample farm named by "--farm". False with `fault` set when an
/// option is missing, the farm cannot be read or holds no job of that label (the labels it has are
/// named). The first job of a label that appears twice.
bool kxInspectFarmJob(const kxInspectCall& call, kxSampleJob& job, QString& fault);

// The subcommands, each in a module of its own.
extern const kxInspectCommand kxInspectIdCommand;
extern const kxInspectCommand kxInspectFramesCommand;
extern const kxInspectCommand kxInspectVersionCommand;
extern const kxInspectCommand kxInspectUncCommand;
extern const kxInspectCommand kxInspectVmidCommand;
extern const kxInspectCommand kxInspectLogCommand;
extern const kxInspectCommand kxInspectErrorCommand;
extern const kxInspectCommand kxInspectStatsCommand;
extern const kxInspectCommand kxInspectConfigCommand;
extern const kxInspectCommand kxInspectFilterCommand;
extern const kxInspectCommand kxInspectStatusCommand;
extern const kxInspectCommand kxInspectVarsCommand;
extern const kxInspectCommand kxInspectResolveCommand;
extern const kxInspectCommand kxInspectImageCommand;
extern const kxInspectCommand kxInspectClientcfgCommand;
