# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# Sample farms from Python, and kxinspect's answers on the bundled sample farm beside the module's.
import os
import pathlib
import threading

import pytest

import kxfarm
from kxfarm import FrameSet, Job, JobFilter, load_sample_farm, split_image_path


def test_bundled_sample_farm(sample_farm_path):
    farm = load_sample_farm(sample_farm_path)
    assert farm.path == str(sample_farm_path)
    assert len(farm.jobs) == 7 and len(farm.labels) == 7 and len(farm.clients) == 4
    assert all(isinstance(job, Job) for job in farm.jobs)
    assert all(isinstance(client, kxfarm.Client) for client in farm.clients)
    assert [client.name for client in farm.clients] == ["render01", "render02", "render03", "comp-ws07"]
    job = farm.job("shot020 layer finished")
    assert job is farm.jobs[3]
    assert (job.id.short_text, job.id.member, job.user, job.status, job.status_text) == (
        "{EHSb}", 2, "björn", 180, "Script (Finished)")
    assert job.scene == "/projects/feature/shot020/場景_100%3.hip"
    first = farm.job("shot010 preview")
    assert (first.app, first.app_version_major, first.layer, first.camera, first.project_folder) == (
        "Maya", 2024, "beauty", "shotCam", "/projects/feature/")
    assert first.recipients == "render01;comp-ws07"
    with pytest.raises(KeyError):
        farm.job("no such job")
    # The lists handed out are the caller's: changing one leaves the farm as it was read.
    farm.jobs.clear()
    assert len(farm.jobs) == 7 and farm.job("shot050 frames done").user == "eve"
    assert "7 jobs, 4 clients" in repr(farm)
    # Jobs are the caller's to keep: they outlive the farm.
    kept = farm.jobs[0]
    del farm
    assert kept.user == "anna"


def test_paths_and_errors(tmp_path, sample_farm_path):
    assert len(load_sample_farm(str(sample_farm_path)).jobs) == 7
    assert len(load_sample_farm(os.fsencode(sample_farm_path)).jobs) == 7
    missing = tmp_path / "missing.ini"
    with pytest.raises(FileNotFoundError) as raised:
        load_sample_farm(missing)
    assert raised.value.filename == str(missing)
    with pytest.raises(IsADirectoryError) as raised:
        load_sample_farm(tmp_path)
    assert raised.value.filename == str(tmp_path)
    broken = tmp_path / "broken.ini"
    broken.write_text("[job a]\nnumber = 1\nstatus = 300\n", encoding="utf-8")
    with pytest.raises(ValueError, match=r"broken\.ini:3"):
        load_sample_farm(broken)
    with pytest.raises(TypeError, match="path"):
        load_sample_farm(7)


def test_threads_read_farms_at_once(tmp_path):
    # The file is read and parsed without the interpreter lock: threads that do so at once each get
    # their whole farm.
    text = "".join(f"[job j{i}]\nnumber = {i}\nstatus = 100\nuser = u{i}\n" for i in range(200))
    path = tmp_path / "big.ini"
    path.write_text(text, encoding="utf-8")
    counts = []
    threads = [threading.Thread(target=lambda: counts.append(len(load_sample_farm(path).jobs))) for _ in range(4)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert counts == [200] * 4


@pytest.mark.parametrize("text", ["anna", "anna -fx", "OR shot020 shot030", "user=chen", "feature -shot010", "feature"])
def test_filter_agrees_with_kxinspect(kxinspect, sample_farm_path, text):
    shown = kxinspect("filter", text, "--farm", str(sample_farm_path))
    farm = load_sample_farm(sample_farm_path)
    job_filter = JobFilter(text)
    assert job_filter.terms == shown["terms"]
    assert job_filter.excluded == shown["excludeTerms"]
    assert job_filter.keywords == shown["keywords"]
    assert job_filter.match_all == shown["matchAll"]
    assert [(label, job.id.short_text, job_filter.matches(job)) for label, job in zip(farm.labels, farm.jobs)] == [
        (entry["label"], entry["id"], entry["passes"]) for entry in shown["jobs"]]


@pytest.mark.parametrize("text", ["1001-1010,1020,1-9+4", "1-100+7", " 5 , , 7 ,", "2147483640-2147483647"])
def test_frames_agree_with_kxinspect(kxinspect, text):
    shown = kxinspect("frames", text)
    frames = FrameSet.parse(text)
    assert frames.frames == shown["frames"]
    assert (frames.start, frames.last_index, frames.is_file_number) == (shown["start"], shown["lastIndex"], shown["fileNumbers"])
    assert frames.to_list_text() == shown["list"]
    assert frames.to_flags_text() == shown["flags"]
    assert frames.to_bita85().hex().upper() == shown["bita85"]


def test_variables_and_resolve_agree_with_kxinspect(kxinspect, sample_farm_path):
    farm = load_sample_farm(sample_farm_path)
    template = "<SceneFolder><Layer>/<Camera>_<Channel-removeVar>.<FN4>"
    for label, job in zip(farm.labels, farm.jobs):
        shown = kxinspect("vars", "--farm", str(sample_farm_path), "--job", label)
        assert shown["id"] == job.id.short_text
        # kxinspect shows each name as a template writes it; the module gives the export list's form,
        # without the outer brackets.
        assert all(entry["name"].startswith("<") and entry["name"].endswith(">") for entry in shown["variables"])
        assert job.variables() == [(entry["name"][1:-1], entry["value"]) for entry in shown["variables"]]
        resolved = kxinspect("resolve", template, "--farm", str(sample_farm_path), "--job", label)["resolved"]
        assert {"farm": job.resolve(template), "app": job.resolve(template, "app")} == resolved


@pytest.mark.parametrize("path", ["/out/x.%04d.exr", "/renders/feature/shot010/beauty.####.exr", "/projects/feature/shot010/out/clip.mov"])
def test_image_names_agree_with_kxinspect(kxinspect, sample_farm_path, path):
    farm = load_sample_farm(sample_farm_path)
    shown = kxinspect("image", path, "--farm", str(sample_farm_path), "--job", "shot010 preview")
    split = split_image_path(path, farm.job("shot010 preview"))
    assert split == (shown["folder"], shown["name"], shown.get("frameDigits"), shown["extension"], shown["singleFile"])
