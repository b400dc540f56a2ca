#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
#
# The main job: installs whatever build dependency is missing (Debian 12, as root), configures and builds
# the stand-in farm server with the plug-in (default preset), then runs the bundled sample farm through
# the plug-in. Arguments go to kxfarmserver (sample files, --plugin FILE, --log FILE, --help); relative
# file names are taken from the folder the script is run in.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
(
    cd "$root"
    cmake --preset default
    cmake --build --preset default -j "$(nproc)" --target kxfarmserver
)
exec "$root/build/default/server/kxfarmserver" "$@"
