# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# Job variables and template resolution, on the jobs and expected values of the C++ tests.
import pytest

from kxfarm import Job


@pytest.fixture
def resolve_job():
    # The C++ tests' resolve fixture.
    return Job(
        scene="/prj/scenes/shotA.ma",
        project_folder="/prj",
        layer="beauty",
        channel="diffuse",
        camera="|grp|cam1 MultiCam",
        image_dir="/out/<Layer>/",
        image_file="img.",
        app="Houdini",
        id=0x0000123456789A00,
    )


RESOLVE_CASES = [
    ("<IMAGEDIR>x", "/out/beauty/x", "/out/beauty/x"),
    ("<LAYER>", "beauty", "<LAYER>"),
    ("a<IMS>b", "ab", "ab"),
    ("<SceneFile>_<Layer>.<FN4>", "shotA_beauty.<FN4>", "shotA_<Layer>.<FN4>"),
    ("<FN8>x<FN><FN7><auto><Stereo>", "FN8x<FN><FN7><auto><Stereo>", "<FN8>x<FN><FN7><auto><Stereo>"),
    ("<fn4>", "fn4", "<fn4>"),
    ("<ValueVar abc@def>", "abc", "def"),
    ("<ValueVar abc>", "abc", ""),
    ("<AOV-replaceVar beauty>", "beauty", "<AOV>"),
    ("image_<Channel-removeVar>.exr", "image_diffuse.exr", "image.exr"),
    ("<Channel-removeVar>/img.exr", "diffuse/img.exr", "img.exr"),
    ("<SceneFolder>../x", "/prj/x", "/prj/x"),
    ("<Database>x", "/prj/x", "/prj/x"),
    ("<CustomSeQName>/<CShot>/<cversion>", "<auto>/<auto>/<auto>", "<auto>/<auto>/<auto>"),
    ("<Camera>,<CameraKeepVBar>,<Camera_no.>", "|grp|cam1,_grp_cam1,|grp|cam1", "<Camera>,<CameraKeepVBar>,<Camera_no.>"),
    ("<UnknownVar>/x", "UnknownVar/x", "<UnknownVar>/x"),
    ("plain text", "plain text", "plain text"),
    ("", "", ""),
]


@pytest.mark.parametrize("template, farm, app", RESOLVE_CASES)
def test_resolve_in_both_modes(resolve_job, template, farm, app):
    assert resolve_job.resolve(template) == farm
    assert resolve_job.resolve(template, mode="farm") == farm
    assert resolve_job.resolve(template, "app") == app


def test_resolve_identifier_tiles_and_names(resolve_job):
    short = resolve_job.id.short_text.strip("{} ")
    assert resolve_job.resolve("<IDstr>/<idstr>") == short + "/idstr"
    resolve_job.image_multi = 4
    assert resolve_job.resolve("a<IMS>b") == "a<IMS>b"
    assert resolve_job.resolve("<CustomScene>_<CustomShot>_<CustomVersionName>", seq="sq:01/a", shot="sh 010", version="v3") == "sq01a_sh 010_v3"
    resolve_job.custom_seq = "own"
    assert resolve_job.resolve("<CSequence><CScene>") == "CSequenceown"


def test_resolve_refuses_unknown_modes(resolve_job):
    with pytest.raises(ValueError, match="mode: 'render' is neither 'farm' nor 'app'"):
        resolve_job.resolve("<Layer>", mode="render")
    with pytest.raises(TypeError):
        resolve_job.resolve(42)


def test_variables_of_a_full_job():
    # The full job of the C++ tests' exported-list case, as far as a Job's fields reach.
    job = Job(
        image_dir="/out/shot/",
        image_file="beauty/img.",
        color_space="ACEScg",
        scene="/prj/seq/sh010/scenes/light<FN4>_v003.ma",
        project_folder="/prj/seq/",
        app="Maya",
        renderer="Arnold",
        app_version_major=2024,
        app_version_minor="1.500",
        renderer_version="7.2.1",
        required_licenses="arnold;maya",
        app_type="MayaBatch",
        layer="beauty pass",
        camera="|cam|shot.cam1",
        channel="diffuse",
        scene_state="lit",
        custom_job_type="lighting",
        division="fx",
        image_extension=".exr",
        image_format_override="png",
        image_single_file=True,
        frame_step=2,
        frame_end=100.5,
        frame_start=-2.5,
        frame_set="1-10,20",
        custom_seq="sq01",
        custom_shot="sh010",
        custom_version="v003",
    )
    variables = job.variables()
    assert all(isinstance(pair, tuple) and len(pair) == 2 for pair in variables)
    assert variables[:8] == [
        ("ImageDirComplete", "/out/shot/beauty/"),
        ("ImageDirComplete><../", "/out/shot/"),
        ("ImageDirComplete><../><../", "/out/"),
        ("ImageDir", "/out/shot/"),
        ("ImageDir><../", "/out/"),
        ("ImageDir><../><../", "/"),
        ("MainImageDir", "/out/shot/"),
        ("ColorSpace", "ACEScg"),
    ]
    values = dict(variables)
    expected = {
        "SceneFolder><../><../": "/prj/seq/",
        "SceneFolder": "/prj/seq/sh010/scenes/",
        "SceneFileNameBase": "light_v003",
        "DatabaseName": "seq",
        "AppVerMinor": "15",
        "AppVerMinorFull": "1.5",
        "kxJobVersion": "2024.1.5",
        "kxJobRendererVersionMajor": "7",
        "AppType": "mayabatch",
        "OS": "lx",
        "LayerAsFileName": "beautypass",
        "ImageSingleOutputFile": "true",
        "TotalEnd": "101",
        "TotalStart": "-2.5",
        "TotalSeqStart": "-3",
        "FrameSet": "1-10,20",
        "CustomScene": "sq01",
        "CVersion": "v003",
    }
    assert {name: values[name] for name in expected} == expected


def test_variables_of_a_cleared_job_start_with_the_scene_folders():
    names = [name for name, _ in Job().variables()]
    assert names[:5] == ["SceneFolder><../><../", "SceneFolder><../", "SceneFolder", "SceneFileNameBase", "DatabaseName"]
