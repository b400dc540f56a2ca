# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# kxfarm's client files: the client configuration file the server writes and the statistics file it
# reads, with the C++ tests' worked examples, the faults that matter and kxinspect's answers.
import concurrent.futures
import copy
import os
import pathlib
import struct

import pytest

import kxfarm

SOURCE = pathlib.Path(os.environ.get("KX_SOURCE_DIR", pathlib.Path(__file__).resolve().parents[2]))
SAMPLE_FARM = SOURCE / "examples" / "samplefarm.ini"


def read_groups(path):
    """The groups of a client configuration file as {group: {key: value}}, sub-group keys as
    "app00/Name", values without the quotes the settings file puts around texts with ';' or ','."""
    groups, current = {}, None
    for line in pathlib.Path(path).read_text(encoding="utf-8").splitlines():
        if line.startswith("[") and line.endswith("]"):
            current = groups.setdefault(line[1:-1], {})
        elif "=" in line:
            key, value = line.split("=", 1)
            if len(value) >= 2 and value[0] == value[-1] == '"':
                value = value[1:-1]
            current[key.replace("\\", "/")] = value
    return groups


# ---- the client configuration file ----

def own_client():
    """The C++ writer test's client with settings of its own, as far as kxfarm names its fields."""
    c = kxfarm.Client("node07", preset=0, list_no=7, unc_preset=3, thread_count=2, memory=65536, cores=32,
                      os_type=2, performance_score=450, os_version=6.1, ghz=3.2, gpu_count=2,
                      reserved_for=["Anna", "Bob"], abort_processes=["game.exe"], gpu_user="lena",
                      no_artist_login="yes", custom_info="rack 3; row \u00e9", location=("", "Berlin"))
    c.set_gpu_mask(0, 1)
    c.set_thread_wh_disabled(0, False)
    c.set_gpu_mask(1, 2)
    c.set_thread_jobs(1, ["maya"])
    c.wol_texts = ("00:11:22:33:44:55", "10.0.0.255")
    c.accept_in_working_hours = ["Carl"]
    c.accept_in_working_hours_keep_case = True
    switches = list(c.cfg_switches)
    switches[18] = True  # the writer clears option 18 in what it writes
    c.cfg_switches = switches
    c.apps = [kxfarm.RenderApp("maya", 2024, "2.300", "/opt/maya/bin/maya", "-r redshift")]
    return c


def test_a_client_with_settings_of_its_own_writes_every_key(tmp_path):
    path = tmp_path / "clients.ini"
    client = own_client()
    before = copy.copy(client)
    assert kxfarm.write_client_config(path, client) == "node07"
    assert client == before  # the farm repairs and changes the copy it writes, not the caller's client
    assert read_groups(path) == {"node07": {
        "listNo": "7", "CPreset": "0", "UNCP": "3", "Thr": "2:10;21", "JobsB": "maya",
        "cfgB": "01111111100100010100000000010",
        "cfgV": "45;0;1;75;300;25;45;3;140;25;1;1;1;1;0;0;6;9;17;1;1;1;0;20;10;0;0;0;0;0;0;0;0;15;",
        "WOL": "00:11:22:33:44:55;10.0.0.255;100000", "Reserved": "anna; bob", "AcceptWH": "Carl", "AbortProcess00": "game.exe", "GPUUser": "lena",
        "NoArtistLogin": "yes", "Hardware": "65536;32;2;1;450;61;3200;2;" + "0-0;" * 8 + "d;0;0;0;",
        "customClientInfo": "rack 3; row \u00e9", "Location": ";Berlin",
        "app00/Name": "maya_-2024_-23_-_-_-64", "app00/Exe": "/opt/maya/bin/maya", "app00/Param": "-r redshift",
    }}


def test_an_existing_file_keeps_its_groups_and_spelling(tmp_path):
    path = tmp_path / "clients.ini"
    path.write_text("[NODE07]\nlistNo=3\n[node08]\ncfgB=1\n", encoding="utf-8")
    preset_client = kxfarm.Client("node07", list_no=7)
    assert kxfarm.write_client_config(str(path), preset_client, compact_apps=True) == "NODE07"
    groups = read_groups(path)
    assert groups["node08"] == {"cfgB": "1"}
    assert groups["NODE07"]["listNo"] == "3"  # written only when missing
    assert "cfgB" not in groups["NODE07"] and groups["NODE07"]["WOL"] == ";;1"  # a preset client
    kxfarm.write_client_config(path, preset_client, force_list_no=True)
    assert read_groups(path)["NODE07"]["listNo"] == "7"


def test_a_file_that_cannot_be_written_is_named_and_left_whole(tmp_path):
    client = kxfarm.Client("node07")
    with pytest.raises(FileNotFoundError, match="folder does not exist") as raised:
        kxfarm.write_client_config(tmp_path / "missing" / "clients.ini", client)
    assert raised.value.filename == str(tmp_path / "missing" / "clients.ini")
    assert not (tmp_path / "missing").exists()
    with pytest.raises(IsADirectoryError) as raised:
        kxfarm.write_client_config(tmp_path, client)
    assert raised.value.filename == str(tmp_path)
    hand_edited = tmp_path / "hand.ini"
    for text in [b"[render01\nlistNo=3\n", b"[node07]\nthis line is no setting\n"]:
        hand_edited.write_bytes(text)
        with pytest.raises(OSError) as raised:
            kxfarm.write_client_config(hand_edited, client)
        assert raised.value.filename == str(hand_edited)
        assert hand_edited.read_bytes() == text
    hand_edited.write_bytes(b"[render01\nlistNo=3\n")
    with pytest.raises(OSError, match="no ini-style settings"):
        kxfarm.write_client_config(hand_edited, client)
    with pytest.raises(OSError) as raised:
        kxfarm.write_client_config("/proc/kxfarm-clients.ini", client)
    assert raised.value.filename == "/proc/kxfarm-clients.ini"
    with pytest.raises(ValueError, match="client: the name 'racks/r1' gives no group"):
        kxfarm.write_client_config(tmp_path / "clients.ini", kxfarm.Client("racks/r1"))
    assert not (tmp_path / "clients.ini").exists()
    with pytest.raises(TypeError, match="path"):
        kxfarm.write_client_config(7, client)


def test_files_are_written_and_read_from_several_threads(tmp_path):
    # The lock is let go around the file work: each thread writes its own copy of its client.
    clients = [kxfarm.Client(f"node{i:02}", list_no=i, memory=1024 * (i + 1)) for i in range(8)]
    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        groups = list(pool.map(lambda c: kxfarm.write_client_config(tmp_path / f"{c.name}.ini", c), clients))
    assert groups == [c.name for c in clients]
    for c in clients:
        keys = read_groups(tmp_path / f"{c.name}.ini")[c.name]
        assert keys["listNo"] == str(c.list_no) and keys["Hardware"].startswith(f"{c.memory};")


SAMPLE_CLIENTS = {
    "render01": dict(list_no=0, memory=131072, cores=32, ghz=3.5, os_type=2, os_version=6.1, thread_count=2,
                     apps=[kxfarm.RenderApp("Maya", 2024, "2", "/usr/autodesk/maya2024/bin/Render"),
                           kxfarm.RenderApp("Blender", 4, "1.0", "/usr/bin/blender", "-b")]),
    "render02": dict(list_no=1, memory=65536, cores=16, ghz=2.95, os_type=1, os_version=11, preset=0,
                     pending_message="Maintenance tonight at 23:00, please save your work.",
                     apps=[kxfarm.RenderApp("Houdini", 20, "5.370",
                                            "C:/Program Files/Side Effects Software/Houdini 20.5.370/bin/husk.exe")]),
    "render03": dict(list_no=2),
}


def test_client_files_agree_with_kxinspect(tmp_path, kxinspect):
    for name, fields in SAMPLE_CLIENTS.items():
        theirs = tmp_path / f"{name}-kxinspect.ini"
        ours = tmp_path / f"{name}-kxfarm.ini"
        answer = kxinspect("clientcfg", "--farm", str(SAMPLE_FARM), "--client", name, "--out", str(theirs))
        assert kxfarm.write_client_config(ours, kxfarm.Client(name, **fields)) == answer["group"]
        assert ours.read_bytes() == theirs.read_bytes(), name


@pytest.mark.skipif(not hasattr(kxfarm, "load_sample_farm"), reason="the sample-farm reader is bound elsewhere")
def test_the_sample_farms_clients_write_what_kxinspect_writes(tmp_path, kxinspect):
    clients = kxfarm.load_sample_farm(SAMPLE_FARM).clients
    assert [c.name for c in clients] == ["render01", "render02", "render03", "comp-ws07"]
    for client in clients:
        theirs = tmp_path / f"{client.name}-kxinspect.ini"
        ours = tmp_path / f"{client.name}-kxfarm.ini"
        kxinspect("clientcfg", "--farm", str(SAMPLE_FARM), "--client", client.name, "--out", str(theirs))
        kxfarm.write_client_config(ours, client)
        assert ours.read_bytes() == theirs.read_bytes(), client.name
    assert clients[1].pending_message == SAMPLE_CLIENTS["render02"]["pending_message"]
    built = kxfarm.Client("render02", **SAMPLE_CLIENTS["render02"])
    for field in SAMPLE_CLIENTS["render02"]:
        assert getattr(clients[1], field) == getattr(built, field), field


# ---- the statistics file ----

def _crc64_table():
    table = []
    for i in range(256):
        c = i
        for _ in range(8):
            c = (c >> 1) ^ 0xC96C5795D7870F42 if c & 1 else c >> 1
        table.append(c)
    return table


CRC64_TABLE = _crc64_table()


def crc64(data):
    """CRC-64/XZ, the runtime library's data-buffer checksum (0 for no data)."""
    if not data:
        return 0
    c = 0xFFFFFFFFFFFFFFFF
    for b in data:
        c = CRC64_TABLE[(c ^ b) & 0xFF] ^ (c >> 8)
    return c ^ 0xFFFFFFFFFFFFFFFF


def data_buffer_file(path, tag, data, magic=b"KXDB"):
    """A data buffer saved in the runtime library's form, stored without compression."""
    header = magic + struct.pack("<BBHIIQQ", 1, 0, 0, tag, 0, len(data), crc64(data))
    path.write_bytes(header + data)
    return path


V1_SIZE, V2_SIZE, V2_TAG = 20424, 20864, 0xC02


def v2_record(success=(), aborted=(), failed=(), rate=None):
    """A version-2 statistics record whose efficiency rate counts jobs per hour slot."""
    record = bytearray(V2_SIZE)
    for offset, counts in [(20424, success), (20568, aborted), (20712, failed)]:
        for slot, count in counts:
            struct.pack_into("<H", record, offset + 2 * slot, count)
    if rate is not None:
        struct.pack_into("<BB", record, 20856, rate, 1)
    struct.pack_into("<I", record, 20860, 490000)
    return bytes(record)


def test_statistics_records_and_their_counts(tmp_path):
    records = v2_record(success=[(0, 3), (10, 2)], aborted=[(1, 1)], failed=[(70, 4)], rate=191) + v2_record()
    path = data_buffer_file(tmp_path / "stats.kxdb", V2_TAG, records)
    stats = kxfarm.read_client_statistics(path)
    assert stats == kxfarm.ClientStatistics(str(path), 2, 72, (kxfarm.ClientJobCounts(5, 1, 4, 191),
                                                               kxfarm.ClientJobCounts(0, 0, 0, None)))
    assert kxfarm.read_client_statistics(str(path), hours=5).records[0] == (3, 1, 0, 191)
    # A first-layout file: its records converted, with an empty efficiency rate.
    old = data_buffer_file(tmp_path / "stats_v1.kxdb", 0, b"\x07" * (2 * V1_SIZE))
    stats = kxfarm.read_client_statistics(old)
    assert (stats.layout, len(stats.records)) == (1, 2) and stats.records[1] == (0, 0, 0, None)
    assert kxfarm.read_client_statistics(data_buffer_file(tmp_path / "empty.kxdb", V2_TAG, b"")).records == ()
    with pytest.raises(ValueError, match="hours"):
        kxfarm.read_client_statistics(path, hours=73)


def test_a_bad_statistics_file_raises_the_loaders_message(tmp_path):
    missing = tmp_path / "none.kxdb"
    with pytest.raises(FileNotFoundError, match="Unable to load '.*none.kxdb': File not found") as raised:
        kxfarm.read_client_statistics(missing)
    assert raised.value.filename == str(missing)
    cut = data_buffer_file(tmp_path / "cut.kxdb", 0, b"\x00" * (2 * V1_SIZE + 1))
    with pytest.raises(ValueError, match="data size does not match"):
        kxfarm.read_client_statistics(cut)
    wrong_layout = data_buffer_file(tmp_path / "tag.kxdb", V2_TAG, b"\x00" * V1_SIZE)
    with pytest.raises(ValueError, match="data size does not match"):
        kxfarm.read_client_statistics(wrong_layout)
    not_a_buffer = data_buffer_file(tmp_path / "magic.kxdb", V2_TAG, v2_record(), magic=b"NOPE")
    with pytest.raises(ValueError, match="not a compressed data buffer"):
        kxfarm.read_client_statistics(not_a_buffer)
    damaged = bytearray((tmp_path / "tag.kxdb").read_bytes())
    damaged[40] ^= 0xFF  # the checksum no longer matches
    (tmp_path / "damaged.kxdb").write_bytes(bytes(damaged))
    with pytest.raises(ValueError, match="Unable to load"):
        kxfarm.read_client_statistics(tmp_path / "damaged.kxdb")
    with pytest.raises(IsADirectoryError):
        kxfarm.read_client_statistics(tmp_path)


def test_statistics_agree_with_kxinspect(tmp_path, kxinspect):
    records = v2_record(success=[(0, 3)], failed=[(0, 1)], rate=191) + v2_record(aborted=[(71, 2)])
    path = data_buffer_file(tmp_path / "stats.kxdb", V2_TAG, records)
    answer = kxinspect("stats", str(path))
    stats = kxfarm.read_client_statistics(path)
    assert (stats.layout, stats.hours) == (answer["layout"], answer["hours"])
    assert [tuple(r) for r in stats.records] == [(r["success"], r["aborted"], r["failed"], r["rate"])
                                                 for r in answer["records"]]
    cut = data_buffer_file(tmp_path / "cut.kxdb", 0, b"\x00" * (V1_SIZE + 1))
    message = kxinspect("stats", str(cut), expect=2)
    with pytest.raises(ValueError) as raised:
        kxfarm.read_client_statistics(cut)
    # Both name the file and give the loader's reason.
    assert str(cut) in str(raised.value) and message["file"] == str(cut)
    assert str(raised.value).endswith(": data size does not match")
    assert message["error"].endswith(": data size does not match")
