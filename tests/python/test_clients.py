# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# kxfarm's client records, time windows, status texts and client list, with the worked examples of the
# C++ tests and kxinspect's answers for the same inputs.
import copy
import pathlib

import pytest

import kxfarm


def job_id(number, member=0):
    """The 64-bit job identifier of a main number and family member."""
    return (number << 24) | member


JOB1 = job_id(123450000)
JOB2 = job_id(98760000, 3)


# ---- client records ----

def test_a_client_holds_its_fields():
    c = kxfarm.Client("render01", memory=131072, cores=32, ghz=3.5, os_type=2, os_version=6.1, thread_count=2,
                      preset=0, custom_info="rack 3; row \u00e9", location=("B2", "Berlin"),
                      reserved_for=["anna", "bob"], gpu_count=2)
    assert (c.name, c.memory, c.cores, c.ghz, c.os_type, c.os_version) == ("render01", 131072, 32, 3.5, 2, 6.1)
    assert (c.thread_count, c.preset, c.gpu_count, c.is_64bit) == (2, 0, 2, True)
    assert c.custom_info == "rack 3; row \u00e9" and c.location == ("B2", "Berlin")
    assert c.reserved_for == ["anna", "bob"]
    assert c.os_text == "l6.1"
    assert c.list_no == -1 and c.cloud_connector_index == -1
    assert repr(c) == "Client('render01', memory=131072, cores=32, ghz=3.5, os='l6.1', threads=2, preset=0)"
    # A cleared record's defaults: one thread taking every default job type, all GPUs.
    fresh = kxfarm.Client("n")
    assert fresh.thread_count == 1 and fresh.preset == 2 and fresh.gpu_count == -1
    assert fresh.thread_jobs(0) == ["3d", "execute", "comp", "archive"]
    assert fresh.thread_jobs(5) == ["gpuonly"]
    assert fresh.thread_jobs(9) == fresh.thread_jobs(0)  # the farm reads thread 0 for another number
    assert fresh.gpu_mask(0) == -1 and fresh.is_gpu_assigned(0, 11) and not fresh.is_gpu_assigned(0, 12)
    assert not fresh.is_gpu_assigned(9, 0)
    assert not fresh.has_gpu(0)  # no GPU count reported
    fresh.gpu_count = 2
    fresh.set_gpu_mask(0, 0b100)
    assert not fresh.has_gpu(0)
    fresh.set_gpu_mask(0, 0b10)
    assert fresh.has_gpu(0)


def test_operating_system_texts():
    cases = [(2, 3.1, True, "l3.1"), (2, 4.0, True, "l4"), (2, 0, False, "l0-32"), (3, 10.9, True, "m10.9"),
             (3, 11.0, False, "m11-32"), (1, 10.0, True, "w10"), (1, 11.0, True, "w11"), (1, 8.1, True, "w8.1"),
             (1, 6.9, True, "wV.9"), (1, 6.1, True, "wV.1"), (1, 5.1, False, "wXP.1-32"), (1, 4.5, True, "w2k.5"),
             (1, 3.9, True, "w.9"), (1, 25.5, True, "w25.5"), (0, 6.1, False, ""), (4, 6.1, False, "")]
    for os_type, version, bits64, text in cases:
        c = kxfarm.Client("n", os_type=os_type, os_version=version, is_64bit=bits64)
        assert c.os_text == text, (os_type, version, bits64)


def test_bad_fields_are_refused_naming_them():
    with pytest.raises(TypeError, match="unexpected keyword argument 'colour'"):
        kxfarm.Client("n", colour="red")
    with pytest.raises(ValueError) as raised:
        kxfarm.Client("n" * 51)
    assert str(raised.value) == (
        "name: at most 50 Latin-1 characters fit the field, got 51 (pass truncate=True to cut it as the farm does)")
    assert kxfarm.Client("n" * 51, truncate=True).name == "n" * 50
    with pytest.raises(ValueError) as raised:
        kxfarm.Client("\u5834")
    assert str(raised.value) == ("name: character 1 '\u5834' (U+5834) is not Latin-1, and the field holds 8-bit "
                                 "text (pass truncate=True for the farm's '?')")
    assert kxfarm.Client("\u5834x", truncate=True).name == "?x"  # the farm's conversion
    assert kxfarm.Client("r\u00e9nder").name == "r\u00e9nder"
    with pytest.raises(ValueError, match="cores: must be from 0 to 65535, got 70000"):
        kxfarm.Client("n", cores=70000)
    with pytest.raises(TypeError, match="memory: expected int, got str"):
        kxfarm.Client("n", memory="lots")
    with pytest.raises(TypeError, match="is_64bit: expected bool, got int"):
        kxfarm.Client("n", is_64bit=1)
    with pytest.raises(ValueError, match="os_version: must be from 0 to 25.5, got 26"):
        kxfarm.Client("n", os_version=26)
    with pytest.raises(ValueError, match="reserved_for: at most 10"):
        kxfarm.Client("n", reserved_for=["u"] * 11)
    with pytest.raises(TypeError, match="reserved_for: expected a sequence of str, got str"):
        kxfarm.Client("n", reserved_for="anna")
    with pytest.raises(ValueError, match=r"custom_info: at most 100 characters \(UTF-16 units\) fit the field, got 101 "):
        kxfarm.Client("n", custom_info="i" * 101)
    c = kxfarm.Client("n", reserved_for=["keep"])
    with pytest.raises(ValueError):
        c.reserved_for = ["ok", "x" * 51]
    assert c.reserved_for == ["keep"]  # nothing stored from a refused list
    with pytest.raises(ValueError, match="thread"):
        c.set_thread_jobs(8, ["maya"])
    with pytest.raises(TypeError, match="apps: expected RenderApp items, got str"):
        c.apps = ["maya"]


def test_clients_own_their_records_and_compare_by_them():
    a = kxfarm.Client("render01", memory=1024)
    b = copy.copy(a)
    assert a == b and a is not b
    b.memory = 2048
    assert a != b and a.memory == 1024
    assert a == copy.deepcopy(a) == a.copy()
    assert a != "render01"
    apps = a.apps
    apps.append(kxfarm.RenderApp("maya", 2024, "2", "/usr/bin/maya"))
    assert a.apps == []  # a copy of the list, not a view into the record


def test_render_applications_of_a_client():
    maya = kxfarm.RenderApp("Maya", 2024, "2", pathlib.PurePosixPath("/usr/autodesk/maya2024/bin/Render"))
    blender = kxfarm.RenderApp("Blender", 4, "1.0", "/usr/bin/blender", "-b")
    c = kxfarm.Client("render01", apps=[maya, blender])
    assert c.apps == [maya, blender]
    assert c.apps[1].parameter == "-b" and c.apps[0].executable == "/usr/autodesk/maya2024/bin/Render"
    assert maya.pattern == "/usr/autodesk/maya*/bin/Render"
    assert repr(blender) == "RenderApp('Blender', 4, '1.0', '/usr/bin/blender', '-b')"
    assert maya != blender and maya == kxfarm.RenderApp("Maya", 2024, "2", "/usr/autodesk/maya2024/bin/Render")
    with pytest.raises(ValueError, match="executable: at most 150"):
        kxfarm.RenderApp("x", 1, "1", "/" + "e" * 150)
    with pytest.raises(ValueError, match="major"):
        kxfarm.RenderApp("x", 40000, "1", "/e")
    with pytest.raises(ValueError, match="apps: at most 100"):
        c.apps = [maya] * 101
    # The farm's repair drops applications without executable or name.
    c.apps = [maya, kxfarm.RenderApp("", 1, "1", "/e")]
    c.repair()
    assert c.apps == [maya]


def test_numbered_options_and_values():
    c = kxfarm.Client("n")
    assert c.cfg_switches == tuple(bool(int(b)) for b in "01111111100100010100000000010")
    assert c.cfg_values[:11] == (45, 0, 1, 75, 300, 25, 45, 3, 140, 25, 1) and len(c.cfg_values) == 34
    assert c.cfg_values[15:19] == c.working_hours
    values = list(c.cfg_values)
    values[8] = 5
    c.cfg_values = values
    c.thread_count = 12
    c.repair()  # the farm's repair: 12 threads become 8, value 8 of 5 becomes 20
    assert c.thread_count == 8 and c.cfg_values[8] == 20
    with pytest.raises(ValueError, match="cfg_values: at most 40"):
        c.cfg_values = [0] * 41
    with pytest.raises(TypeError, match="cfg_switches"):
        c.cfg_switches = [1] * 29
    assert c.cfg_values[8] == 20


def test_the_share_of_the_machine_a_thread_gets():
    c = kxfarm.Client("n", performance_score=5, ghz=3.0)
    cases = [([0], 0, 0.0, 1.0, 5), ([5000, 0], 1, 0.0, 0.5, 3), ([5000, 6000, 7000, 8000], 2, 0.0, 0.25, 1),
             ([5000, 6000, 7000, 8000], 2, 0.25, 0.5, 3), ([5000, 6000], 0, 0.75, 1.0, 5),
             ([5000, 1000, 999], 1, 0.0, 0.5, 3), ([5000, 6000], 5, 0.0, 1 / 3, 2), ([5000, 6000], 0, -2.0, 0.0, 0)]
    for jobs, thread, extra, share, score in cases:
        c.status_thread_count = len(jobs)
        for i, job in enumerate(jobs):
            c.set_thread_status(i, 0, job)
        assert c.thread_share(thread, extra) == pytest.approx(share, rel=1e-6), (jobs, thread)
        assert c.thread_performance_score(thread, extra) == score, (jobs, thread)
        assert c.thread_ghz(thread, extra) == pytest.approx(3.0 * share, rel=1e-6)


def test_installed_applications_of_another_version_are_the_same_entry():
    c = kxfarm.Client("n", apps=[kxfarm.RenderApp("maya", 2018, "0", "C:/Prog/Maya2018/bin/maya.exe"),
                                 kxfarm.RenderApp("maya", 2019, "0", "C:/Prog/Maya2019/bin/maya.exe"),
                                 kxfarm.RenderApp("nuke", 12, "0", "C:/Prog/Maya2020/bin/maya.exe")])
    assert c.app_already_exists(0) and c.app_already_exists(1) and not c.app_already_exists(2)
    with pytest.raises(ValueError, match="index"):
        c.app_already_exists(3)


# ---- time windows ----

def test_working_hours_and_the_other_windows():
    c = kxfarm.Client("n")
    assert c.working_hours == (0, 6, 9, 17)
    assert c.in_working_hours(3, 17) and not c.in_working_hours(3, 18) and not c.in_working_hours(3, 8)
    # Wake-on-LAN and shutdown are switched off by default: hour from one above hour to.
    assert c.wol_schedule == (1, 1, 1, 0) and c.shutdown_schedule == (1, 1, 1, 0)
    assert not any(c.in_wol_window(d, h) or c.in_shutdown_window(d, h) for d in range(7) for h in range(24))
    cases = [
        ((5, 1, 0, 23), [(5, 12), (6, 12), (0, 12), (1, 12)], [(2, 12), (3, 12), (4, 12)]),
        ((0, 6, 22, 6), [(1, 22), (1, 23), (1, 0), (1, 3), (1, 6)], [(1, 7), (1, 12), (1, 21)]),
        ((0, 6, 1, 0), [], [(1, 0), (1, 1), (1, 23)]),
        ((4, 4, 5, 5), [(4, 5)], [(4, 6), (3, 5)]),
    ]
    for window, inside, outside in cases:
        c.working_hours = window
        c.wol_schedule = window
        c.shutdown_schedule = window
        for day, hour in inside:
            assert c.in_working_hours(day, hour) and c.in_wol_window(day, hour), (window, day, hour)
            assert c.in_shutdown_window(day, hour)
        for day, hour in outside:
            assert not c.in_working_hours(day, hour) and not c.in_wol_window(day, hour), (window, day, hour)
    with pytest.raises(TypeError, match="working_hours"):
        c.working_hours = (1, 2, 3)
    with pytest.raises(ValueError, match="working_hours"):
        c.working_hours = (0, 6, 9, 40000)


# ---- status texts ----

def test_thread_status_texts():
    cases = [
        (0, 0, 0, "Off"), (0, 6, 0, "Wake On Lan"), (0, 1, 360, "High CPU Usage (enable in 6m)"),
        (0, 1000, 0, "Unknown status 1000"), (0, 1001, 0, "Off"), (1, 0, 600, "Idle"), (1, 0, 601, "Idle for 10m"),
        (1, 14, 0, "(*defer mode*)  Idle"), (1, 14, 3600, "(*defer mode*)  Idle for 60m"),
        (2, 0, 44, "Disabled (enable in 44m)"), (2, 0, 45, "Disabled"), (2, 0, -3, "Disabled (enable in -3m)"),
        (2, 4, 30, "Waiting 30s"), (5, 1000, 0, "|1000| Render Aborted"), (3, 7, 0, "|7| Rendering Job"),
        (7, 0, 45, "Disabled (al)"), (7, 7, 125, "User logged off (enable in 2m) (al)"),
        (11, JOB1, 0, "!!kxClient Froze!!"), (24, 0, 0, "|0| Render Abort - Process Found"),
        (28, JOB1, 0, " - deactivated - "), (30, JOB1, 0, "Unknown status 30"), (-128, 0, 0, "Unknown status -128"),
    ]
    for status, job, detail, text in cases:
        assert kxfarm.client_status_text(status, job, detail) == text, (status, job, detail)
    assert kxfarm.off_reason_text(1, 361) == "High CPU Usage"
    assert kxfarm.off_reason_text(14) == "Unknown status df #14"
    assert kxfarm.off_reason_text(40) == "Unknown status 40"
    for arguments, named in [(dict(status=128), "status"), (dict(status=0, job_id=-1), "job_id"),
                             (dict(status=0, job_id=2**64), "job_id"), (dict(status=0, detail=40000), "detail")]:
        with pytest.raises(ValueError, match=named):
            kxfarm.client_status_text(**arguments)


def test_status_texts_agree_with_kxinspect(kxinspect):
    for status, job, detail in [(3, JOB1, 0), (5, JOB2, 0), (2, JOB1, 10), (0, 6, 0), (1, 0, 601), (33, 0, 0)]:
        answer = kxinspect("status", str(status), "--job", str(job), "--detail", str(detail))
        assert kxfarm.client_status_text(status, job, detail) == answer["status"]


def test_the_whole_client_status_text(kxinspect):
    j1 = kxinspect("status", "3", "--job", str(JOB1))["status"][: -len(" Rendering Job")]
    j2 = kxinspect("status", "3", "--job", str(JOB2))["status"][: -len(" Rendering Job")]
    c = kxfarm.Client("n")
    c.set_thread_status(0, 1, 0, 601)
    assert c.status_text == "Idle for 10m"
    c.status_thread_count = 3
    c.set_thread_status(0, 3, JOB1)
    c.set_thread_status(1, 1)
    c.set_thread_status(2, 3, JOB2)
    assert c.status_text == f"[3] {j1} Rendering Job| Idle| {j2} Rendering Job| "
    assert c.thread_status_text(1) == "Idle"
    c.set_thread_status(1, 3, JOB2)
    assert c.status_text == f"[3] {j1}{j2}{j2} Rendering"
    cloud = kxfarm.Client("cloud-a-1", cloud_connector_index=0, status_thread_count=12)
    assert cloud.status_text == "12 Cloud VMs"
    with pytest.raises(ValueError, match="thread"):
        c.set_thread_status(1000, 3)


def test_user_messages_are_queued_as_the_server_queues_them():
    c = kxfarm.Client("n")
    c.add_message("A")
    c.add_message("B")
    assert c.pending_message == "A\n\nB"
    wrapped = kxfarm.Client("n")
    wrapped.add_message("x" * 600)
    assert wrapped.pending_message == "x" * 250 + "\n" + "x" * 251 + "\n" + "x" * 99
    full = kxfarm.Client("n", pending_message="p" * 2450)
    full.add_message("m" * 100)
    assert full.pending_message == "p" * 2397 + "\n\n" + "m" * 100
    with pytest.raises(ValueError, match=r"message: at most 2500 characters \(UTF-16 units\) fit the field, got 2501"):
        c.add_message("m" * 2501)


# ---- the client list ----

def test_a_list_adds_finds_and_removes_clients():
    clients = kxfarm.ClientList()
    assert len(clients) == 0 and list(clients) == []
    assert clients.add(kxfarm.Client("render01", memory=1024, pending_message="hi")) == 0
    assert clients.add(kxfarm.Client("render02", thread_count=2, os_type=1)) == 1
    assert len(clients) == 2 and "render01" in clients and "render03" not in clients and 5 not in clients
    found = clients.find("render01")
    assert found.memory == 1024 and found.list_no == 0 and found.pending_message == "hi"
    found.memory = 1  # a copy: the list keeps its own record
    assert clients.find("render01").memory == 1024
    assert clients.find("Render01") is None and clients.find("\u5834") is None
    assert [c.name for c in clients] == ["render01", "render02"]
    assert clients[-1].name == "render02"
    with pytest.raises(IndexError):
        clients[2]
    assert clients.thread_count == 2  # one status thread record each
    clients.remove("render01")
    assert [c.name for c in clients] == ["render02"]
    with pytest.raises(KeyError):
        clients.remove("render01")


SORT_CASES = [
    ("name", lambda c, i: setattr(c, "name", ["abc", "ab", "\u00e9t\u00e9", "Zed", "ab"][i]), [3, 1, 4, 0, 2]),
    ("status", lambda c, i: c.set_thread_status(0, [3, -1, 0, 3, 127][i]), [1, 2, 0, 3, 4]),
    ("cpu_usage", lambda c, i: setattr(c, "cpu_usage", [200, 10, 10, 0, 255][i]), [3, 1, 2, 0, 4]),
    ("available_memory", lambda c, i: setattr(c, "available_memory", [5, -5, 2000000000, 5, -(2**31)][i]),
     [4, 1, 0, 3, 2]),
    ("os", lambda c, i: setattr(c, "os_type", [3, 1, 2, 1, 200][i]), [1, 3, 2, 0, 4]),
    ("user", lambda c, i: (setattr(c, "user", ["a", "\u0100", "a", "ab", "a"][i]),
                           c.set_thread_status(0, [3, 0, 1, 0, 3][i])), [1, 2, 0, 4, 3]),
    ("version", lambda c, i: setattr(c, "version", ["9.1", "10.0", "9", "", "\u00ff"][i]), [3, 1, 2, 0, 4]),
    ("temperature", lambda c, i: setattr(c, "temperature", [40, -20, 90, 40, -128][i]), [4, 1, 0, 3, 2]),
    ("memory", lambda c, i: setattr(c, "memory", [16000, -1, 64000, 8, 16000][i]), [1, 3, 0, 4, 2]),
    ("cores", lambda c, i: setattr(c, "cores", [40000, 8, 64, 8, 1][i]), [4, 1, 3, 2, 0]),
    ("performance_score", lambda c, i: setattr(c, "performance_score", [65000, 8, 300, 300, 0][i]),
     [4, 1, 2, 3, 0]),
    ("info", lambda c, i: (setattr(c, "custom_info", ["rack 2", "rack 10", "\u0100", "", "rack 2"][i]),
                           c.set_thread_status(0, [3, 0, 0, 0, 1][i])), [3, 2, 1, 0, 4]),
]


def test_every_sort_column_both_ways():
    for column, set_key, ascending in SORT_CASES:
        clients = kxfarm.ClientList()
        for i in range(5):
            c = kxfarm.Client(f"c{i}")
            set_key(c, i)
            clients.add(c)
        order = [c.list_no for c in clients.view()]
        assert order == [0, 1, 2, 3, 4]  # list-number order before any sort
        clients.sort(column)
        assert (clients.sort_column, clients.descending) == (column, False)
        assert [c.list_no for c in clients.view()] == ascending, column
        clients.sort(column, descending=True)
        assert [c.list_no for c in clients.view()] == ascending[::-1], column
    clients.sort("list_no", descending=True)
    assert [c.list_no for c in clients.view()] == [4, 3, 2, 1, 0]
    with pytest.raises(ValueError, match="unknown column 'colour'"):
        clients.sort("colour")


def test_the_filter_hides_clients_from_the_view_only():
    clients = kxfarm.ClientList()
    for name, os_type, memory in [("w1", 1, 8000), ("l1", 2, 64000), ("m1", 3, 32000), ("l2", 2, 4000)]:
        clients.add(kxfarm.Client(name, os_type=os_type, memory=memory))
    clients.set_filter(linux=False)
    assert [c.name for c in clients.view()] == ["w1", "m1"] and len(clients) == 4
    clients.set_filter(min_memory=10000)
    assert [c.name for c in clients.view()] == ["l1", "m1"]
    clients.set_filter(bit64=False)
    assert clients.view() == []
    clients.set_filter()
    assert [c.name for c in clients.view()] == ["w1", "l1", "m1", "l2"]


def test_cloud_connectors_take_their_own_slots():
    clients = kxfarm.ClientList()
    clients.add(kxfarm.Client("render01"))
    clients.add(kxfarm.Client("aws-gpu-1", cloud_connector_index=0, status_thread_count=12))
    connector = clients.find("aws-gpu-1")
    assert connector.cloud_connector_index == 0 and connector.status_text == "12 Cloud VMs"
    assert clients.thread_count == 13


def test_a_full_list_refuses_the_next_client():
    clients = kxfarm.ClientList()
    client = kxfarm.Client("c")
    for i in range(1500):
        client.name = f"c{i}"
        clients.add(client)
    with pytest.raises(ValueError, match="1500 clients"):
        clients.add(kxfarm.Client("one-too-many"))
    assert len(clients) == 1500 and "one-too-many" not in clients
    clients.add(kxfarm.Client("aws-1", cloud_connector_index=0))  # a cloud connector still fits
    assert len(clients) == 1501
