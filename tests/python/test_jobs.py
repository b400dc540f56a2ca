# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# Job identifiers and job records: the worked examples of the C++ tests, fields with their capacities,
# the record block and its stamps.
import copy
import random
import pickle

import pytest

import kxfarm
from kxfarm import Job, JobFilter, JobId, log_text, split_image_path

# (member, byte1, byte2, short text, full text, short form) of the main number 123456789.
ID_EXAMPLES = [
    (0, 0, 0, "{KT9 }", "KT9_29AA", 3160320),
    (1, 0, 0, "{KT9a}", "KT9a_29AA", 3160321),
    (26, 3, 40, "{KT9bb}", "KT9bb_29ED", 3160346),
    (255, 0, 0, "{KT9lq}", "KT9lq_29AA", 3160575),
]


@pytest.mark.parametrize("member, byte1, byte2, short, full, short_form", ID_EXAMPLES)
def test_job_id_worked_examples(member, byte1, byte2, short, full, short_form):
    job_id = JobId(123456789, member=member, byte1=byte1, byte2=byte2)
    assert job_id.short_text == short
    assert str(job_id) == short
    assert job_id.full_text == full
    assert job_id.short_form == short_form
    assert (job_id.main_number, job_id.member, job_id.byte1, job_id.byte2) == (123456789, member, byte1, byte2)
    # The short form names the identifier with the same short text.
    assert JobId.from_short_form(short_form).short_text == short
    assert eval(repr(job_id), {"kxfarm": kxfarm}) == job_id


def test_job_id_values_and_edges():
    assert JobId(0).short_text == "{AAA }"
    assert JobId(0).full_text == "AAA_AAAA"
    # T = 36^3 wraps to the letters of 0.
    assert JobId(46656 * 10000).short_text == "{AAA }"
    job_id = JobId(987654321, member=3)
    assert int(job_id) == 3 | (987654321 << 24)
    assert JobId.from_int(int(job_id)) == job_id
    assert job_id.main_job == JobId(987654321)
    assert hash(job_id) == hash(JobId(987654321, member=3))
    assert {job_id: 1}[JobId(987654321, member=3)] == 1
    assert job_id != JobId(987654321)
    assert job_id != int(job_id)  # an identifier is not a number
    assert pickle.loads(pickle.dumps(job_id)) == job_id
    # Byte 7 is kept, and the repr still reads back.
    high = JobId.from_int(0x5E << 56 | 7)
    assert eval(repr(high), {"kxfarm": kxfarm}) == high


@pytest.mark.parametrize(
    "call, error, words",
    [
        (lambda: JobId(-1), ValueError, "number"),
        (lambda: JobId(1 << 32), ValueError, "number"),
        (lambda: JobId(1, member=256), ValueError, "member"),
        (lambda: JobId(1, byte2=-1), ValueError, "byte2"),
        (lambda: JobId("1"), TypeError, "number: expected int, got str"),
        # A bool is no number, and an int beyond 64 bits is out of range like any other.
        (lambda: JobId(True), TypeError, "number: expected int, got bool"),
        (lambda: JobId(1 << 70), ValueError, "number: must be from 0 to 4294967295, got 1180591620717411303424"),
        (lambda: JobId(1, member=False), TypeError, "member: expected int, got bool"),
        (lambda: JobId.from_int(1 << 64), ValueError, "value: must be from 0 to 18446744073709551615, got"),
        (lambda: JobId.from_int(-1), ValueError, "value"),
        # The short form 0xFFFFFF00 stands for a main number beyond 32 bits.
        (lambda: JobId.from_short_form(0xFFFFFF00), ValueError, "value"),
    ],
)
def test_job_id_refuses_bad_arguments(call, error, words):
    with pytest.raises(error, match=words):
        call()


def test_job_fields_round_trip_through_properties():
    job = Job(
        id=JobId(123456789, member=1),
        user="anna",
        project="feature",
        scene="/projects/feature/shot010/shot010.ma",
        project_folder="/projects/feature/",
        image_dir="/renders/shot010/",
        image_file="beauty.",
        image_extension=".exr",
        recipients="render01;render02",
        status=120,
        app="Maya",
        app_version="2024.2",
        layer="beauty",
        camera="shotCam",
        channel="diffuse",
        frame_start=1001,
        frame_end=1099,
        frame_step=2,
        frame_set="1001-1010",
        disabled=False,
    )
    assert job.id.short_text == "{KT9a}"
    assert (job.user, job.scene, job.layer, job.camera) == ("anna", "/projects/feature/shot010/shot010.ma", "beauty", "shotCam")
    # The farm keeps the minor version padded to five digits, as it reads a version text.
    assert (job.app, job.app_version_major, job.app_version_minor, job.app_version) == ("Maya", 2024, "20000", "2024.20000")
    assert job.status_text == "Render"
    # The send level's frame counts follow the sequence: (1099 - 1001) / 2 + 1.
    assert (job.frame_start, job.frame_end, job.frame_step, job.frame_count, job.frames_total) == (1001.0, 1099.0, 2, 50, 50)
    job.image_multi = 4
    assert job.frames_total == 200
    job.frame_end = 1001
    assert job.frame_count == 1
    assert "user='anna'" in repr(job)
    # The cleared record's defaults are the server's.
    fresh = Job()
    assert (fresh.user, fresh.custom_seq, fresh.image_padding, fresh.frame_step) == ("none", "<auto>", 4, 1)
    assert fresh.status_text == "First Check"
    assert set(Job.fields()) >= {"user", "scene", "image_dir", "recipients", "status", "frame_start", "app"}


@pytest.mark.parametrize(
    "status, text",
    [(200, "Finished"), (255, "Finished"), (180, "Script (Finished)"), (120, "Render"), (100, "Approval Wait (p)"), (20, "First Check"), (7, "First Check")],
)
def test_status_texts(status, text):
    assert Job(status=status).status_text == text
    assert Job(status=status, disabled=True).status_text == "Disabled - " + text


def test_too_long_texts_are_refused_unless_cut():
    with pytest.raises(ValueError) as raised:
        Job(user="x" * 26)
    assert str(raised.value) == (
        "user: at most 25 characters (UTF-16 units) fit the field, got 26 "
        "(pass truncate=True to cut it as the farm does)")
    job = Job(user="x" * 25)
    assert job.user == "x" * 25
    with pytest.raises(ValueError, match="recipients.*50"):
        job.recipients = "r" * 51
    assert job.recipients == ""  # nothing half-written
    cut = Job(user="x" * 30, scene="s" * 600, truncate=True)
    assert (cut.user, cut.scene) == ("x" * 25, "s" * 500)
    # Non-Latin-1 text is fine in UTF-16 fields, refused in 8-bit ones, whatever truncate says.
    assert Job(user="björn", scene="/p/場景.hip").scene == "/p/場景.hip"
    with pytest.raises(ValueError) as raised:
        Job(frame_set="1-€", truncate=True)
    assert str(raised.value) == "frame_set: character 3 '€' (U+20AC) is not Latin-1, and the field holds 8-bit text"
    # A character beyond U+FFFF is named whole, not by the first half of its pair.
    with pytest.raises(ValueError, match=r"app_version_minor: character 2 '😀' \(U\+1F600\) is not Latin-1"):
        Job(app_version_minor="1😀")
    # A character beyond U+FFFF takes two UTF-16 units of a field and comes back whole; the farm's
    # cutting may keep only its first half, which comes back as the lone surrogate it stores.
    with pytest.raises(ValueError, match=r"user: at most 25 characters \(UTF-16 units\) fit the field, got 26 "):
        Job(user="a" * 24 + "😀")
    assert Job(user="a" * 23 + "😀").user == "a" * 23 + "😀"
    assert Job(user="a" * 24 + "😀", truncate=True).user == "a" * 24 + "\ud83d"
    assert Job(user="\udc00x").user == "\udc00x"


def test_update_is_all_or_nothing():
    job = Job(user="anna", status=100)
    with pytest.raises(ValueError, match="status"):
        job.update(user="bob", status=256)
    assert (job.user, job.status) == ("anna", 100)
    job.update(user="bob", status=120)
    assert (job.user, job.status) == ("bob", 120)


@pytest.mark.parametrize(
    "fields, error, words",
    [
        ({"status": 256}, ValueError, "status: must be from 0 to 255, got 256"),
        ({"status": 1 << 70}, ValueError, "status: must be from 0 to 255, got 1180591620717411303424"),
        ({"status": "120"}, TypeError, "status: expected int, got str"),
        ({"status": True}, TypeError, "status: expected int, got bool"),
        ({"frame_start": "1"}, TypeError, "frame_start: expected int or float, got str"),
        ({"frame_step": -1}, ValueError, "frame_step"),
        ({"image_single_file": 1}, TypeError, "image_single_file: expected bool, got int"),
        ({"user": 5}, TypeError, "user: expected str, got int"),
        ({"id": 1.5}, TypeError, "id: expected JobId or int, got float"),
        ({"id": -1}, ValueError, "id: must be from 0 to 18446744073709551615, got -1"),
        ({"usr": "anna"}, TypeError, "unexpected keyword argument 'usr'"),
    ],
)
def test_job_refuses_bad_fields(fields, error, words):
    with pytest.raises(error, match=words):
        Job(**fields)


def test_bytes_round_trip_and_stamps():
    job = Job(user="anna", scene="/p/s.ma", status=150, frame_start=1, frame_end=10, id=JobId(42, member=2))
    job.set_custom_data("Ticket", "NF-4001")
    block = bytes(job)
    assert len(block) == 77800
    # The stamps of the four levels at the start of the block, as the server tests them.
    words = [int.from_bytes(block[i : i + 2], "little") for i in range(0, 16, 2)]
    assert words == [1033, 1, 1292, 1, 1555, 1, 1804, 1]
    # The user name sits where the server reads it: length word at 30380, UTF-16 text 4 bytes on.
    assert int.from_bytes(block[30380:30382], "little") == 4
    assert block[30384:30392].decode("utf-16-le") == "anna"
    back = Job.from_bytes(block)
    assert back == job and back is not job
    assert bytes(back) == block
    assert back.custom_data() == {"Ticket": "NF-4001"}
    assert Job.from_bytes(bytearray(block)) == job
    assert Job.from_bytes(memoryview(block)) == job
    assert pickle.loads(pickle.dumps(job)) == job
    assert copy.deepcopy(job) == job

    # A copy owns its record: changing one leaves the other.
    other = job.copy()
    other.user = "bob"
    assert job.user == "anna"

    broken = bytearray(block)
    broken[12:14] = (1803).to_bytes(2, "little")
    with pytest.raises(ValueError, match="structure stamps are 1033, 1, 1292, 1, 1555, 1, 1803, 1"):
        Job.from_bytes(bytes(broken))
    version_zero = bytearray(block)
    version_zero[2:4] = b"\0\0"
    with pytest.raises(ValueError, match="stamps"):
        Job.from_bytes(bytes(version_zero))
    with pytest.raises(ValueError, match="data: 100 bytes, a job record is 77800"):
        Job.from_bytes(b"\0" * 100)
    with pytest.raises(TypeError):
        Job.from_bytes("text")


def test_record_from_elsewhere_with_oversized_lengths_stays_within_its_fields():
    block = bytearray(bytes(Job(user="anna")))
    block[30380:30382] = (60000).to_bytes(2, "little")  # length word beyond the 25 of the field
    job = Job.from_bytes(bytes(block))
    assert len(job.user) == 25
    assert job.user.startswith("anna")


def test_custom_data():
    job = Job()
    job.set_custom_data("CustomTicket", "NF-1")  # "Custom" in front is dropped, as the farm drops it
    job.set_custom_data("Client", "Nördlich €")
    assert job.custom_data() == {"Ticket": "NF-1", "Client": "Nördlich €"}
    job.set_custom_data("ticket", "")
    assert job.custom_data() == {"Client": "Nördlich €"}
    with pytest.raises(ValueError) as raised:
        job.set_custom_data("€", "x")
    # set_custom_data takes no truncate, so the message offers none.
    assert str(raised.value) == "name: character 1 '€' (U+20AC) is not Latin-1, and the field holds 8-bit text"
    with pytest.raises(ValueError, match="does not fit"):
        job.set_custom_data("Big", "x" * 4000)
    assert job.custom_data() == {"Client": "Nördlich €"}


def test_any_record_with_the_right_stamps_is_safe_to_use():
    # A block from elsewhere may hold anything behind its stamps: every length, count and code is read
    # within its field, so each operation answers (the sanitizer build checks every access).
    rng = random.Random(20)
    stamps = b"".join(value.to_bytes(2, "little") for value in (1033, 1, 1292, 1, 1555, 1, 1804, 1))
    job_filter = JobFilter("OR sh010 -comp user=anna customticket=x")
    for _ in range(30):
        block = stamps + rng.randbytes(77800 - len(stamps))
        job = Job.from_bytes(block)
        # Only the flags change: each is read as a flag, so a block read back is the same block.
        assert bytes(Job.from_bytes(bytes(job))) == bytes(job)
        assert sum(a != b for a, b in zip(bytes(job), block)) <= 10
        texts = [job.status_text, job.user, job.scene, job.frame_set, job.app_version, repr(job)]
        assert all(isinstance(text, str) for text in texts)
        job.variables()
        job.resolve("<SceneFolder><Layer>/<Camera>_<Channel-removeVar>.<FN4><ImageDir><CustomShot>")
        job.resolve("<Layer>", "app")
        job.custom_data()
        job_filter.matches(job)
        for message in (14, 21, 57, 72, 74):
            log_text(message, rng.randrange(65536), rng.randrange(65536), rng.randrange(256), job)
        split_image_path("/out/<Layer>/img.####.exr", job)
        job.split_image()
        job.copy().update(status=100, frame_end=50.0)


def test_flags_of_a_record_from_elsewhere_are_read_as_flags():
    block = bytearray(bytes(Job(status=120)))
    disabled = 32292  # the submitter level's disabled flag
    assert block[disabled] == 0
    block[disabled] = 0x76
    job = Job.from_bytes(bytes(block))
    assert job.disabled is True
    assert bytes(job)[disabled] == 1
    assert job.status_text == "Disabled - Render"
