// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxfarmserver: runs a sample farm through the notification plug-in, as the farm server would.

#include "samplerun.h"

#include <QStringList>
#include <QTextStream>

#include <cstdio>

namespace {

const char usage[] =
    "Usage: kxfarmserver [--plugin FILE] [--log FILE] [SAMPLE.ini ...]\n"
    "\n"
    "Runs a sample farm the way the farm server drives its notification plug-in: loads the plug-in,\n"
    "calls pInfo and pInit, fills the client list from the sample files, hands every job event to\n"
    "pNotify and calls pExit. Then prints the return codes, the server log as the plug-in wrote it and\n"
    "each client's pending user messages.\n"
    "\n"
    "  --plugin FILE  the plug-in library to load (default: the one built with this program,\n"
    "                 " KX_DEFAULT_PLUGIN ")\n"
    "  --log FILE     append the server log to FILE and keep it (default: a temporary file)\n"
    "  SAMPLE.ini     sample farm files, read in order (default: " KX_DEFAULT_SAMPLE_FARM ");\n"
    "                 the format is described at the top of that file\n"
    "  --help         this text\n";

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
            return 0;
        }
        if (arg == QLatin1String("--plugin") || arg == QLatin1String("--log")) {
            if (i + 1 >= argc) {
                err << "kxfarmserver: " << arg << " needs a file name\n\n" << usage;
                return 2;
            }
            (arg == QLatin1String("--plugin") ? options.pluginPath : options.logPath) =
                QString::fromLocal8Bit(argv[++i]);
            continue;
        }
        if (arg.startsWith(QLatin1String("--"))) {
            err << "kxfarmserver: unknown option " << arg << "\n\n" << usage;
            return 2;
        }
        options.farmFiles.append(arg);
    }
    if (options.farmFiles.isEmpty())
        options.farmFiles.append(QString::fromLocal8Bit(KX_DEFAULT_SAMPLE_FARM));
    return kxRunSampleFarm(options, out, err);
}
