#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
#
# Builds the benchmarks in release mode, runs every one of them, and writes the ratio table and the
# growth chart from their JSON output.
#   scripts/bench.sh [--runs N] [--repetitions R] [--readme] [--filter REGEX]
#     --runs N          whole runs of every benchmark (default 1); the table gives each ratio's median
#                       over the runs and its spread (the largest distance from the median, in %)
#     --repetitions R   repetitions of each benchmark within a run (default 3), spread over the run: every
#                       program runs once, then every program again, so a stretch of seconds in which
#                       the shared machine is slow falls on one of them; their median is the run's
#     --readme          also put the table into README.md between its benchmark-table marks
#     --filter REGEX    only the benchmarks whose name matches (Google Benchmark's filter)
# Output: build/bench/results/ (run-K/<program>.<repetition>.json, ratios.md, series.dat, growth.png);
# the chart is also copied to bench/growth.png, which the README shows.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=1
repetitions=3
readme=()
filter=.
while [ $# -gt 0 ]; do
    case "$1" in
    --runs) runs="$2"; shift 2 ;;
    --repetitions) repetitions="$2"; shift 2 ;;
    --readme) readme=(--readme README.md); shift ;;
    --filter) filter="$2"; shift 2 ;;
    -h | --help) sed -n '5,16p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "bench.sh: unknown argument '$1' (see --help)" >&2; exit 2 ;;
    esac
done

scripts/install-deps.sh gnuplot-nox
build=build/bench
launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKX_BUILD_TESTS=OFF -DKX_BUILD_BENCHMARKS=ON \
    "${launcher[@]}" > /dev/null
# The long run (notify_longrun_bench) is a check of its own, run by hand: it takes minutes.
mapfile -t programs < <(sed -n 's/^kx_add_bench(\([a-z_]*\).*/\1/p' bench/CMakeLists.txt | grep -v longrun)
cmake --build "$build" -j "$(nproc)" --target "${programs[@]}"

results="$build/results"
rm -rf "$results"
mkdir -p "$results"
for ((run = 1; run <= runs; ++run)); do
    mkdir -p "$results/run-$run"
    for ((repetition = 1; repetition <= repetitions; ++repetition)); do
        for program in "${programs[@]}"; do
            echo "run $run/$runs, repetition $repetition/$repetitions: $program" >&2
            "$build/bench/$program" --benchmark_filter="$filter" \
                --benchmark_out="$results/run-$run/$program.$repetition.json" --benchmark_out_format=json \
                > /dev/null
        done
    done
done
/usr/bin/python3 bench/report.py "$results" "${readme[@]}"
gnuplot "$results/growth.gp"
cp "$results/growth.png" bench/growth.png
echo "table: $results/ratios.md, chart: bench/growth.png" >&2
