#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
#
# Installs whatever build dependency is missing (Debian 12, as root), then configures, builds and runs
# the whole test suite through CTest.  Usage: scripts/test.sh [preset]   (default: "default"; "asan")
set -euo pipefail
preset="${1:-default}"
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset "$preset"
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset"
