// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxfarmserver: runs a sample farm through the notification plug-in, as the farm server would.

#include "samplerun.h"

#include <QStringList>
#include <QTextStream>

#include <cstdio>

namespace {

const char usage[] =
    "Usage: kxfarmserver [--plugin FILE] [--log FILE] [--strict] [--json] [SAMPLE.ini ...]\n"
    "\n"
    "Runs a sample farm the way the farm server drives its notification plug-in: loads the plug-in,\n"
    "calls pInfo and pInit, fills the client list from the sample files, hands every job event to\n"
    "pNotify and calls pExit. Then prints the return codes with each recipient the job names and the\n"
    "client it reached (or why none), the server log as the plug-in wrote it and each client's pending\n"
    "user messages. Text the clients cannot be shown (characters Latin-1 cannot hold) is named on\n"
    "standard error, per job and field.\n"
    "\n"
    "  --plugin FILE  the plug-in library to load (default: the one built with this program,\n"
    "                 " KX_DEFAULT_PLUGIN ")\n"
    "  --log FILE     append the server log to FILE and keep it (default: a temporary file, removed\n"
    "                 when the run ends); the folder must exist\n"
    "  --strict       fail the run (exit code 3) when a job reached no client, named nobody (14) or\n"
    "                 named a client the farm does not have\n"
    "  --json         one JSON document in place of the text: each job's result, recipients and the\n"
    "                 clients they reached; a fault is a document {\"error\": ...} too\n"
    "  SAMPLE.ini     sample farm files, read in order (default: " KX_DEFAULT_SAMPLE_FARM ");\n"
    "                 '-' reads standard input; the format is described at the top of that file\n"
    "  --version      the program's version\n"
    "  --help         this text\n"
    "\n"
    "Exit codes: 0 the farm ran; 1 a sample file, the plug-in or the log could not be used; 2 an\n"
    "unknown option or a missing value; 3 with --strict, a job that reached nobody, named nobody or\n"
    "named an unknown client.\n";

} // namespace

int main(int argc, char** argv) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    kxSampleRunOptions options;
    options.pluginPath = QString::fromLocal8Bit(KX_DEFAULT_PLUGIN);
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            out << usage;
            return kxSampleRunOk;
        }
        if (arg == QLatin1String("--version")) {
            out << "kxfarmserver " KX_VERSION "\n";
            return kxSampleRunOk;
        }
        if (arg == QLatin1String("--strict") || arg == QLatin1String("--json")) {
            (arg == QLatin1String("--strict") ? options.strict : options.json) = true;
            continue;
        }
        if (arg == QLatin1String("--plugin") || arg == QLatin1String("--log")) {
            if (i + 1 >= argc) {
                err << "kxfarmserver: " << arg << " needs a file name\n\n" << usage;
                return kxSampleRunUsage;
            }
            (arg == QLatin1String("--plugin") ? options.pluginPath : options.logPath) =
                QString::fromLocal8Bit(argv[++i]);
            continue;
        }
        if (arg.startsWith(QLatin1String("--"))) {
            err << "kxfarmserver: unknown option " << arg << "\n\n" << usage;
            return kxSampleRunUsage;
        }
        options.farmFiles.append(arg);
    }
    if (options.farmFiles.isEmpty())
        options.farmFiles.append(QString::fromLocal8Bit(KX_DEFAULT_SAMPLE_FARM));
    return kxRunSampleFarm(options, out, err);
}
