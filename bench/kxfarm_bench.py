#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
"""kxfarm from Python beside the same loops in C++, measured in the same run.

Each case runs its loop through the Python module and then through kxfarm._bench, the same data-model
calls in a C++ loop over the same inputs (converted to C++ values before its clock starts), in turns, and
prints the ratio of the two as the C++ benchmarks do. Times are the thread's processor time, the least of
the rounds, so waiting for a core on the shared machine falls on neither side.

    PYTHONPATH=build/default/python /usr/bin/python3 bench/kxfarm_bench.py [--rounds N]
or  cmake --build build/default --target kxfarm_bench
"""
import argparse
import time

import kxfarm
import kxfarm._bench as cpp

FRAME_TEXTS = 10_000
RESOLVES = 10_000
# Distinct records, reused in turn as the C++ variables benchmark does: 10,000 whole records would take
# three quarters of a gigabyte.
RESOLVE_RECORDS = 256
FILTER_JOBS = 2000
TEMPLATE = "<Database>renders/<SceneFile>/<Layer>/<Camera>_<Channel>/<CustomShot>_<CustomVersion>.<FN4>"
FILTER_TEXTS = ["light sh01 -comp user=anna", "light sh01 -comp"]


def frame_texts():
    """Small frame-set texts as submitters write them: a range, a stepped range, a list."""
    texts = []
    for i in range(FRAME_TEXTS):
        start = 1001 + i % 97
        kind = i % 3
        if kind == 0:
            texts.append(f"{start}-{start + 10 + i % 90}")
        elif kind == 1:
            texts.append(f"{start}-{start + 200}+{1 + i % 5}")
        else:
            texts.append(f"{start},{start + 4}-{start + 9},{start + 20}")
    return texts


def resolve_jobs():
    jobs = []
    for i in range(RESOLVE_RECORDS):
        n = str(i)
        jobs.append(kxfarm.Job(scene=f"/projects/feature/sq01/sh{n}/scenes/light_v{n}.ma",
                               project_folder="/projects/feature/", layer="beauty" + n, camera="shotCam" + n,
                               channel="diffuse", custom_shot="sh" + n, custom_version="v" + n))
    return [jobs[i % RESOLVE_RECORDS] for i in range(RESOLVES)]


def filter_jobs():
    """The 2000 jobs of the C++ filter benchmark."""
    users = ["anna", "bob", "chen", "anna", "dmitri", "anna", "eve", "anna"]
    renderers = ["Arnold", "Redshift", "RenderMan", "V-Ray"]
    tasks = ["lighting", "comp", "fx", "lookdev", "layout"]
    jobs = []
    for i in range(FILTER_JOBS):
        shot, seq, task, version = f"sh{i % 40:03}", f"sq{i % 7:02}", tasks[i % 5], f"{i % 30:03}"
        job = kxfarm.Job(id=(100000 + i) << 24, user=users[i % 8], renderer=renderers[i % 4],
                         custom_version="v" + version, custom_seq=seq, custom_shot=shot,
                         custom_scene="feature_nightfall", custom_job_type=task, division="Lighting & Rendering",
                         camera="renderCam_main", layer="beauty_fg" if i % 3 else "beauty_bg", channel="rgba",
                         scene=f"/mnt/projects/nightfall/{seq}/{shot}/{task}/{shot}_{task}_v{version}.ma",
                         image_dir=f"/mnt/renders/nightfall/{seq}/{shot}/{task}/",
                         image_file=f"{shot}_{task}_beauty.", image_extension=".exr")
        job.set_custom_data("Client", "Northern Pictures")
        job.set_custom_data("Ticket", f"NF-{4000 + i}")
        jobs.append(job)
    return jobs


def matches_in_a_loop(text, jobs):
    job_filter = kxfarm.JobFilter(text)
    return sum(1 for job in jobs if job_filter.matches(job))


def timed(loop):
    start = time.thread_time()
    result = loop()
    return time.thread_time() - start, result


def measure(rounds, python_loop, cpp_loop):
    """The least processor time of each side over the rounds, the two run in turns."""
    python_best = cpp_best = float("inf")
    for _ in range(rounds):
        seconds, python_result = timed(python_loop)
        python_best = min(python_best, seconds)
        seconds, cpp_result = cpp_loop()
        cpp_best = min(cpp_best, seconds)
        assert python_result == cpp_result, (python_result, cpp_result)
    return python_best, cpp_best


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rounds", type=int, default=7, help="rounds of each case (default 7)")
    rounds = parser.parse_args().rounds

    texts = frame_texts()
    resolve_list = resolve_jobs()
    filter_list = filter_jobs()
    cases = [
        ("FrameSet.parse, 10,000 texts", 3.0,
         lambda: sum(kxfarm.FrameSet.parse(text).last_index for text in texts),
         lambda: cpp.parse_frame_sets(texts)),
        ("Job.resolve, farm mode, 10,000 jobs", 1.5,
         lambda: sum(len(job.resolve(TEMPLATE)) for job in resolve_list),
         lambda: cpp.resolve(resolve_list, TEMPLATE, False)),
        ("Job.resolve, app mode, 10,000 jobs", 1.5,
         lambda: sum(len(job.resolve(TEMPLATE, "app")) for job in resolve_list),
         lambda: cpp.resolve(resolve_list, TEMPLATE, True)),
    ]
    for text in FILTER_TEXTS:
        cases.append((f"JobFilter.filter, 2000 jobs, '{text}'", 1.5,
                      lambda text=text: len(kxfarm.JobFilter(text).filter(filter_list)),
                      lambda text=text: cpp.filter(filter_list, text)))
        cases.append((f"JobFilter.matches in a Python loop, 2000 jobs, '{text}'", None,
                      lambda text=text: matches_in_a_loop(text, filter_list),
                      lambda text=text: cpp.filter(filter_list, text)))

    print(f"{'case':<74} {'Python ms':>10} {'C++ ms':>10} {'ratio':>7}  target")
    for name, target, python_loop, cpp_loop in cases:
        python_seconds, cpp_seconds = measure(rounds, python_loop, cpp_loop)
        ratio = python_seconds / cpp_seconds if cpp_seconds > 0 else float("inf")
        verdict = "none" if target is None else f"<= {target:g}: {'met' if ratio <= target else 'NOT MET'}"
        print(f"{name:<74} {1e3 * python_seconds:>10.2f} {1e3 * cpp_seconds:>10.2f} {ratio:>7.2f}  {verdict}")


if __name__ == "__main__":
    main()
