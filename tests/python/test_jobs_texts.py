# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# Image names and the job log and error texts, on the C++ tests' cases.
import pathlib

import pytest

import kxfarm
from kxfarm import ImageName, Job, error_text, log_name, log_text, log_user_text, split_image_path, who_text

SPLIT_CASES = [
    # path, printf -> folder, name, frame digits, extension, single file
    ("/out/shot/img.####.exr", True, "/out/shot/", "img.", 4, ".exr", False),
    ("img.%04d.exr", True, "", "img.", 4, ".exr", False),
    ("img.%04d.exr", False, "", "img.%04d", 4, ".exr", False),
    ("img.[####].exr", True, "", "img.", 4, ".exr", False),
    ("img.0010.exr", True, "", "img.", 4, ".exr", False),
    ("clip.mov", True, "", "clip.mov", None, "", True),
    ("CLIP.MP4", True, "", "CLIP.MP4", None, "", True),
    ("/out/<Layer>/beauty.####.exr", True, "/out/", "<Layer>/beauty.", 4, ".exr", False),
    ("C:\\out\\img.####.exr", True, "C:\\out\\", "img.", 4, ".exr", False),
]


@pytest.mark.parametrize("path, printf, folder, name, digits, extension, single", SPLIT_CASES)
def test_split_image_path(path, printf, folder, name, digits, extension, single):
    split = split_image_path(path, printf=printf)
    assert isinstance(split, ImageName) and isinstance(split, tuple)
    assert split == (folder, name, digits, extension, single)
    assert (split.folder, split.name, split.frame_digits, split.extension, split.single_file) == tuple(split)


def test_split_image_path_with_a_job_and_limits():
    job = Job(scene="C:/prj/scenes/a.ma", project_folder="C:/prj")
    assert split_image_path("C:\\prj\\scenes\\render\\img.#.exr", job).folder == "<SceneFolder>render\\"
    assert split_image_path("C:\\prj\\out\\img.#.exr", Job(project_folder="C:/prj")).folder == "<Database>\\out\\"
    assert split_image_path("clip", extension=".Mov") == ("", "clip.Mov", None, "", True)
    with pytest.raises(ValueError, match=r"path: at most 1000 characters \(UTF-16 units\) fit the field, got 1001 "
                                         r"\(pass truncate=True to cut it as the farm does\)"):
        split_image_path("/" + "a" * 1000)
    assert len(split_image_path("/" + "a" * 1000, truncate=True).folder) == 1
    assert split_image_path(pathlib.PurePosixPath("/out/img.#.exr")) == ("/out/", "img.", 1, ".exr", False)
    with pytest.raises(TypeError, match="path: expected str, bytes or os.PathLike, got int"):
        split_image_path(42)
    assert ImageName.__module__ == "kxfarm"


def test_job_split_image_in_place():
    job = Job(scene="/projects/feature/shot010/shot010.ma", image_file="/projects/feature/shot010/out/beauty.%04d.exr")
    job.split_image()
    assert (job.image_dir, job.image_file, job.image_padding, job.image_extension) == ("<SceneFolder>out/", "beauty.", 4, ".exr")


@pytest.mark.parametrize(
    "message, step, start, end, text",
    [
        (1, 3, 4, 6, "Aborted 4 reserved clients (max required: 6)"),
        (1, 0, 14593, 48, "Reserved clients aborted by {KT9a}"),
        (9, 0, 1, 0, "Check end"),
        (13, 2, 3, 0, "Assigned 3, De-assigned 2 clients"),
        (14, 1, 10, 20, "Successful  10-20"),
        (14, 2, 10, 20, "Successful  10-20,2"),
        (15, 1, 0, 65535, "Aborted      0-65535"),
        (18, 0, 9999, 0, "all frames deleted"),
        (72, 0, 1010, 0, "Frame 1010 was send more than 25 times! Frame remo"),
        (74, 0, 120, 80, "Status change: Render"),
        (75, 0, 200, 0, "Status request to Finished"),
        (12, 1, 5, 9, "Unknown command 12"),
        (76, 1, 5, 9, "Set framelist of parent job to missing frames"),
        (255, 1, 5, 9, "Unknown command 255"),
    ],
)
def test_log_text_without_job(message, step, start, end, text):
    assert log_text(message, start, end, step) == text
    assert log_text(message, frame_start=start, frame_end=end, step=step, job=None) == text


def test_log_text_with_job():
    # Frames 1001, 1003, ... 1099: slot F shows as 1001 + 2F.
    job = Job(frame_start=1001, frame_end=1099, frame_step=2)
    assert job.frame_count == 50
    assert log_text(14, 3, 5, 1, job) == "Successful  1007-1011"
    assert log_text(21, 53, 54, 1, job) == "Receives     1007-1009"
    tiled = Job(frame_start=1001, frame_end=1099, frame_step=2, image_multi=4)
    assert log_text(14, 0, 3, 1, tiled) == "Successful  1-4"


def test_error_names_and_actors():
    assert error_text(0) == "none"
    assert error_text(2) == "Output directory not found"
    assert error_text(21) == "Unknown error 21"
    assert error_text(29).endswith("Frame removed") and len(error_text(29)) == 50
    assert log_name(14) == "Render successful"
    assert log_name(12) == "Unknown command 12"
    assert log_name(72) == error_text(29)
    assert who_text(-1) == "*kxServer*"
    assert who_text(-4) == "-Unknown--"
    assert who_text(7) == "unknown #7"
    assert log_user_text(2, frame_end=17, user_ref=3) == "17"
    assert log_user_text(2, frame_end=17) == "-"
    assert log_user_text(14, frame_end=17, user_ref=3) == "-"


@pytest.mark.parametrize(
    "call, words",
    [
        (lambda: log_text(256), "message: must be from 0 to 255, got 256"),
        (lambda: log_text(14, step=1 << 64), "step: must be from 0 to 255, got 18446744073709551616"),
        (lambda: log_text(14, frame_start=70000), "frame_start"),
        (lambda: log_text(14, frame_end=-1), "frame_end"),
        (lambda: log_text(14, step=300), "step"),
        (lambda: error_text(-1), "code"),
        (lambda: log_name(1 << 32), "code"),
    ],
)
def test_texts_refuse_out_of_range_arguments(call, words):
    with pytest.raises(ValueError, match=words):
        call()


def test_every_public_name_is_documented_and_reports_the_package():
    for name in kxfarm.__all__:
        item = getattr(kxfarm, name)
        if callable(item):
            assert item.__doc__, name
            assert item.__module__ == "kxfarm", name
