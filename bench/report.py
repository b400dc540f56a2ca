#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
"""Reads the benchmarks' JSON output of one or more runs and writes the ratio table and the series data.

    report.py RESULTS [--readme README.md]

RESULTS holds run-1/, run-2/, ... with one JSON file per benchmark program and repetition (a program's
repetitions within a run are taken as a median). Every benchmark with a "ratio" counter is a row of the
table: the median of its per-run values, and the spread, the largest distance of a run's value from
that median in per cent. Every BM_series_* benchmark is a point of a
growth series, written to RESULTS/series.dat for bench/growth.gp with the growth expected of it drawn
through its smallest point and its floor series (BM_series_floor_*), where it has one, beside it; a
step that grows faster than expected is printed as a finding, with the floor's growth over the step.
"""
import glob
import json
import math
import os
import re
import statistics
import sys

# Row texts: benchmark name (without "/manual_time") -> (subject, floor).
ROWS = {
    "BM_pNotify/1": ("`pNotify`, 1 recipient, 1500 clients", "names read in place, compared with 1; one `write` of the log bytes"),
    "BM_pNotify/10": ("`pNotify`, 10 recipients", "names read in place, compared with 10; one `write`"),
    "BM_pNotify/50": ("`pNotify`, 50 parts", "names read in place, compared with 2 (the parts kept once); one `write`"),
    "BM_pNotify_logOff/1": ("`pNotify`, 1 recipient, log levels off", "names read in place, compared with 1"),
    "BM_pNotify_logOff/10": ("`pNotify`, 10 recipients, log levels off", "names read in place, compared with 10"),
    "BM_pNotify_logOff/50": ("`pNotify`, 50 parts, log levels off", "names read in place, compared with 2"),
    "BM_getI_lastSlot": ("`getI` of the last key", "the same slot walk over the store's slots"),
    "BM_getB": ("`getB(\"nUseServerIP\")`", "the same slot walk over the store's slots"),
    "BM_exists_missing": ("`exists` of a missing key", "the same slot walk over the store's slots"),
    "BM_writeClientCfg_1500clients": ("`writeClientCfg`, 1500 clients x 4 applications, synced", "the same keys by bare `setValue`, synced"),
    "BM_clientStatusAsStringAll": ("`clientStatusAsStringAll`, 1500 clients x 8 threads", "`kxJ::ID2str` of the rendering threads"),
    "BM_statisticsLoadAndInfo": ("statistics `loadFromFile` + `info(i)`, 1500 records", "`loadFromFileCompressed` + one `memcpy` per record"),
    "BM_sortByCpuUsage": ("view sort by CPU usage, 1530 entries", "keys copied out and `std::sort`ed"),
    "BM_sortByName": ("view sort by name, 1530 entries", "keys copied out and `std::sort`ed"),
    "BM_importStatus": ("`importStatus`, full block, new order", "`memcpy` of the 4,276,800 status bytes"),
    "BM_cleanExport_cloudConnector": ("`cleanExport` of a cloud connector", "`memcpy` of the record"),
    "BM_replaceJobVariables_vsFloor": ("`replaceJobVariables`, 7 variables, 10,000 jobs", "one case-blind `QString::replace` per variable"),
    "BM_BitA85_writeRead": ("BitA85 write + read, 8000 flags", "`_KX_DataBuffer` compress + decompress of the payload"),
    "BM_asString_FrameSet": ("`asString_FrameSet`, half-full set", "`QString::number` per set index"),
    "BM_filterJobList_Fits_Contains/0": ("job filter, 200 jobs, two terms, one exclusion, one pair", "case-blind `contains` over the same 16 texts"),
    "BM_filterJobList_Fits_Contains/1": ("job filter, 200 jobs, without the pair", "case-blind `contains` over the same 16 texts"),
    "BM_Log2Str_history1500": ("`Log2Str` over a 1500-entry history", "`QString::asprintf` of the same numbers"),
}

# Series: benchmark function -> (title, x axis, expected growth, the series of its floor or None). A
# floor series is drawn in the same panel; a step of the subject that grows faster than expected is
# printed with the floor's growth over the same step, which tells the machine's share from the code's.
SERIES = {
    "BM_series_pNotify_clients": ("pNotify by clients (1 recipient, log off)", "clients", "linear",
                                  "BM_series_floor_clients"),
    "BM_series_pNotify_parts": ("pNotify by recipient names (1500 clients, log off)", "names", "linear", None),
    "BM_series_filter_jobs": ("job filter by jobs", "jobs", "linear", "BM_series_floor_jobs"),
    "BM_series_replaceJobVariables": ("replaceJobVariables by variables", "variables", "linear", None),
    "BM_series_sortByCpuUsage": ("view sort by CPU usage", "entries", "nlogn", None),
    "BM_series_sortByName": ("view sort by name", "entries", "nlogn", None),
}

TIME_UNITS = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}


def medians(path):
    """Each benchmark's median row of one JSON file, by name without the "/manual_time" suffix."""
    with open(path, encoding="utf-8") as f:
        doc = json.load(f)
    rows = {}
    plain = {}
    for b in doc.get("benchmarks", []):
        name = re.sub(r"/(manual_time|iterations:\d+|repeats:\d+)", "", b.get("run_name", b["name"]))
        if b.get("error_occurred"):
            print(f"{name}: {b.get('error_message', 'error')}", file=sys.stderr)
            continue
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") == "median":
                rows[name] = b
        else:
            plain.setdefault(name, b)
    for name, b in plain.items():
        rows.setdefault(name, b)
    return rows


def run_rows(run):
    """Each benchmark's row of one run. A run holds a file per program and repetition (the repetitions
    spread over the run); a benchmark's row takes the median of its ratios and of its times."""
    collected = {}
    for path in sorted(glob.glob(os.path.join(run, "*.json"))):
        for name, b in medians(path).items():
            collected.setdefault(name, []).append(b)
    rows = {}
    for name, found in collected.items():
        row = dict(found[0])
        for key in ("ratio", "real_time", "cpu_time"):
            if all(key in b for b in found):
                row[key] = statistics.median(b[key] for b in found)
        rows[name] = row
    return rows


def microseconds(b):
    # Series points are timed in CPU time, ratio rows in their manual (CPU) time.
    key = "real_time" if "manual_time" in b["name"] else "cpu_time"
    return b[key] * TIME_UNITS[b.get("time_unit", "ns")]


def gnuplot_script(results, plotted):
    """The chart: a panel per series, the measured time per call beside the expected growth."""
    out = [
        'set terminal pngcairo size 1500,900 font ",10"',
        f'set output "{os.path.join(results, "growth.png")}"',
        'set multiplot layout 2,3 title "Cost as the work grows: median CPU time per call; '
        'dashed, the expected growth drawn through the smallest point"',
        "set logscale xy",
        "set grid",
        "set key top left",
        'set ylabel "µs"',
    ]
    data = os.path.join(results, "series.dat")
    for i, (title, axis, growth, floor) in enumerate(plotted):
        plots = [f'"{data}" index {i} using 1:2 with linespoints pt 7 lw 2 title "measured"',
                 f'"{data}" index {i} using 1:3 with lines dt 2 lw 2 title "{growth}"']
        if floor:
            plots.append(f'"{data}" index {i} using 1:4 with linespoints pt 6 lw 1 title "floor"')
        out += [f'set title "{title}"', f'set xlabel "{axis}"', "plot " + ", ".join(plots)]
    out.append("unset multiplot")
    return "\n".join(out) + "\n"


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    results = argv[1]
    readme = argv[argv.index("--readme") + 1] if "--readme" in argv else None
    runs = sorted(glob.glob(os.path.join(results, "run-*")), key=lambda p: int(p.rsplit("-", 1)[1]))
    if not runs:
        print(f"report.py: no run-*/ in {results}", file=sys.stderr)
        return 2
    per_run = [run_rows(run) for run in runs]

    names = [n for n in per_run[0] if "ratio" in per_run[0][n]]
    lines = [
        f"| Benchmark | Subject | Floor | Ratio (median of {len(runs)} runs) | Spread | Target |",
        "|---|---|---|---|---|---|",
    ]
    for name in names:
        values = [rows[name]["ratio"] for rows in per_run if name in rows]
        med = statistics.median(values)
        spread = max(abs(v - med) for v in values) / med * 100 if med > 0 else 0
        target = per_run[0][name].get("target", 0)
        subject, floor = ROWS.get(name, (name, ""))
        program = name.split("/")[0]
        verdict = "none" if not target else (f"≤ {target:g}: met" if max(values) <= target else
                                             f"≤ {target:g}: met by the median" if med <= target else
                                             f"≤ {target:g}: **missed**")
        lines.append(f"| `{program}` | {subject} | {floor} | {med:.2f} | ±{spread:.0f} % | {verdict} |")
    table = "\n".join(lines) + "\n"
    with open(os.path.join(results, "ratios.md"), "w", encoding="utf-8") as f:
        f.write(table)
    print(table)

    blocks = []
    plotted = []
    findings = []
    def series_points(function):
        points = {}
        for rows in per_run:
            for name, b in rows.items():
                if name.split("/")[0] == function and "n" in b:
                    points.setdefault(b["n"], []).append(microseconds(b))
        return {x: statistics.median(v) for x, v in points.items()}

    for function, (title, axis, growth, floor_function) in SERIES.items():
        points = series_points(function)
        if not points:
            continue
        floor = series_points(floor_function) if floor_function else {}
        xs = sorted(points)
        ys = [points[x] for x in xs]
        cost = (lambda n: n) if growth == "linear" else (lambda n: n * math.log2(max(n, 2)))
        expected = [ys[0] * cost(x) / cost(xs[0]) for x in xs]
        block = [f"# {title}", f"# {axis} time_us expected_us ({growth}) floor_us"]
        block += [f"{x:g} {y:.4f} {e:.4f} {floor[x]:.4f}" if x in floor else f"{x:g} {y:.4f} {e:.4f} NaN"
                  for x, y, e in zip(xs, ys, expected)]
        blocks.append("\n".join(block))
        plotted.append((title, axis, "n log n" if growth == "nlogn" else growth, bool(floor)))
        for i in range(1, len(xs)):
            grew = ys[i] / ys[i - 1]
            allowed = cost(xs[i]) / cost(xs[i - 1])
            if grew > 1.25 * allowed:
                finding = (f"{title}: from {xs[i - 1]:g} to {xs[i]:g} {axis} the time grew "
                           f"{grew:.2f}x where {growth} growth is {allowed:.2f}x")
                if xs[i - 1] in floor and xs[i] in floor:
                    finding += f"; its floor grew {floor[xs[i]] / floor[xs[i - 1]]:.2f}x"
                findings.append(finding)
    with open(os.path.join(results, "series.dat"), "w", encoding="utf-8") as f:
        f.write("\n\n\n".join(blocks) + "\n")
    with open(os.path.join(results, "growth.gp"), "w", encoding="utf-8") as f:
        f.write(gnuplot_script(results, plotted))
    for finding in findings:
        print("finding:", finding)
    if not findings:
        print("every series step grows no faster than expected (within 25 %)")

    if readme:
        with open(readme, encoding="utf-8") as f:
            text = f.read()
        marked = re.compile(r"(<!-- bench-table begin -->\n).*?(<!-- bench-table end -->)", re.S)
        if not marked.search(text):
            print(f"report.py: {readme} has no benchmark-table marks", file=sys.stderr)
            return 1
        text = marked.sub(lambda m: m.group(1) + table + m.group(2), text)
        with open(readme, "w", encoding="utf-8") as f:
            f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
