#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
#
# Installs the Debian 12 packages the build needs, only those that are missing.
# Usage: scripts/install-deps.sh [further packages...]
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev libzstd-dev
          python3-dev pybind11-dev python3-pytest "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages and not root: install ${missing[*]} first" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
