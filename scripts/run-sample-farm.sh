#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
#
# The main job: installs whatever build dependency is missing (Debian 12, as root), configures and builds
# the stand-in farm server with the plug-in (default preset), then runs the bundled sample farm through
# the plug-in. Arguments go to kxfarmserver: scripts/run-sample-farm.sh --help lists them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default
cmake --build --preset default -j "$(nproc)" --target kxfarmserver
exec build/default/platform/farmserver/kxfarmserver "$@"
