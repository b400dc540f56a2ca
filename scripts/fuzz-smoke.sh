#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
#
# Builds the libFuzzer targets (the "fuzz" preset: clang with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a short, fixed time from its seeds. A crash or a
# sanitizer report fails the run and leaves the input in build/fuzz/findings/.
# Usage: scripts/fuzz-smoke.sh [seconds per target, default 20]
set -euo pipefail
seconds="${1:-20}"
cd "$(dirname "$0")/.."
scripts/install-deps.sh clang libclang-rt-14-dev
cmake --preset fuzz
cmake --build --preset fuzz -j "$(nproc)"
out=build/fuzz
mkdir -p "$out/findings"
for target in "$out"/fuzz/*_fuzz; do
    name=$(basename "$target")
    corpus="$out/corpus/$name"
    mkdir -p "$corpus"
    seeds=()
    # The bundled sample farm is the seed of the sample-file reader.
    [ "$name" = samplefarm_fuzz ] && seeds+=(examples)
    # Hand-made seeds of a target, where it has any: fuzz/seeds/<target>/.
    [ -d "fuzz/seeds/$name" ] && seeds+=("fuzz/seeds/$name")
    echo "== $name: ${seconds}s"
    "$target" -seed=1 -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$out/findings/$name-" "$corpus" "${seeds[@]}" 2>&1 | tail -n 12
done
echo "fuzz smoke: every target ran ${seconds}s without a finding"
