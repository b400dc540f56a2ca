# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# kxfarm's configuration store, scrambled texts, VM identifiers, mount points and command-line flags,
# with the worked examples of the C++ tests and kxinspect's answers for the same inputs.
import copy
import pathlib
import struct

import pytest

import kxfarm


def f32(value):
    """The value as a 32-bit float holds it."""
    return struct.unpack("f", struct.pack("f", value))[0]


# ---- the store and its key table ----

def test_every_key_with_its_default_type_and_range():
    cfg = kxfarm.Config()
    assert len(cfg) == 234
    keys = cfg.keys()
    assert keys[0] == "jGetProjectNameBy" and keys[233] == "jScriptPriorityIncrease"
    assert list(cfg) == keys and len(set(keys)) == 234
    assert dict(cfg.items())["nKXServerPort"] == 7773
    cases = [
        ("nKXServerPort", "NetWork", "int", 7773, 10, 30000),
        ("jHistoryDBDeleteAfterDays", "Jobs", "int", 800, 14, 6000),
        ("clArmConnectorPort", "Cloud", "int", 55555, 20, 65535),
        ("jPreferedProjects10cl", "Jobs", "int", 1500, 0, 1500),
        ("jHistoryDBExport", "Jobs", "bool", True, None, None),
        ("sLocalJobDB_uncompressed", "Server", "bool", False, None, None),
        ("nKXServerAdapter", "NetWork", "string", "*ANY*", None, None),
        ("cfgCostDisplay", "Misc", "string", "\u20ac", None, None),
        ("cfgLocalDecimalMark", "Misc", "string", ".", None, None),
        ("jJobDataLocationExclude", "Jobs", "string", "kxCommand;Execute", None, None),
        ("cfgCostF", "Misc", "float", 0.05, 0.000001, 1000.0),
        ("cfgCost", "Misc", "float", 0.0, 0.0, 1000.0),
    ]
    for name, group, kind, default, low, high in cases:
        info = cfg.info(name)
        assert info == kxfarm.ConfigKey(name, group, kind, default, low, high), name
        assert cfg[name] == default and type(cfg[name]) is type(default), name
    assert cfg["cfgCostF"] == 0.05  # the float as Python writes it, not 0.0500000007
    assert cfg["ftAPIKey"] == "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx"


def test_assignment_is_clamped_as_the_store_clamps():
    cfg = kxfarm.Config()
    for key, given, stored in [
        ("nKXServerPort", 70000, 30000),
        ("nKXServerPort", 3, 10),
        ("sDailyExecuteTime", 24, 23),
        ("clArmConnectorPort", 70000, 65535),
        ("jPreferedProjects10cl", -1, 0),
        ("jHistoryDBDeleteAfterDays", 1, 14),
        ("nKXServerPort", 2**70, 30000),  # beyond 64 bits: the nearest end, then the key's range
        ("nKXServerPort", -(2**70), 10),
    ]:
        cfg[key] = given
        assert cfg[key] == stored, (key, given)
    assert cfg.set("cfgCostF", 0.0) == 0.000001  # shown as the 32-bit value's shortest form
    assert cfg.set("cfgCost", 5000) == 1000.0
    assert cfg.set("cfgCostF", float("nan")) == 0.000001
    assert cfg.set("nKXServerPort", 1234) == 1234
    # The default a key reports stays the key table's, whatever the store holds now.
    assert cfg.info("nKXServerPort").default == 7773


def test_keys_are_exact_and_values_keep_their_type():
    cfg = kxfarm.Config()
    for missing in ["jpreferedprojects10cl", "JPreferedProjects10cl", "", "nKXServerPort ", "n\u20ac"]:
        assert missing not in cfg
        with pytest.raises(KeyError) as raised:
            cfg[missing]
        assert raised.value.args == (missing,)
        with pytest.raises(KeyError):
            cfg[missing] = 1
    assert cfg.get("nope", 5) == 5 and cfg.get("nKXServerPort") == 7773
    assert 7773 not in cfg
    with pytest.raises(TypeError, match="key"):
        cfg[7773]
    for key, wrong in [("nKXServerPort", True), ("nKXServerPort", "7773"), ("nKXServerPort", 1.5),
                       ("nUseServerIP", 1), ("nServerName", 5), ("cfgCostF", "0.1"), ("cfgCostF", True)]:
        before = cfg[key]
        with pytest.raises(TypeError, match=key):
            cfg[key] = wrong
        assert cfg[key] == before
    cfg["nUseServerIP"] = False
    assert cfg["nUseServerIP"] is False


def test_texts_fit_their_field_or_are_refused():
    cfg = kxfarm.Config()
    cfg["nServerName"] = "\u5834\u666f-farm"  # a string setting holds UTF-16 text
    assert cfg["nServerName"] == "\u5834\u666f-farm"
    cfg["nServerName"] = "s" * 200
    assert cfg["nServerName"] == "s" * 200
    with pytest.raises(ValueError, match=r"nServerName: at most 200 characters \(UTF-16 units\) fit the field, got 201 "
                                         r"\(pass truncate=True to cut it as the farm does\)"):
        cfg["nServerName"] = "t" * 201
    assert cfg["nServerName"] == "s" * 200
    assert cfg.set("nServerName", "u" * 250, truncate=True) == "u" * 200


def test_stores_are_independent_and_compare_by_their_settings():
    a = kxfarm.Config()
    b = copy.deepcopy(a)
    assert a == b
    b["nKXServerPort"] = 8000
    assert a != b and a["nKXServerPort"] == 7773
    assert a == kxfarm.Config()


def test_the_config_agrees_with_kxinspect(kxinspect):
    cfg = kxfarm.Config()
    listed = kxinspect("config")["keys"]
    assert [k["name"] for k in listed] == cfg.keys()
    for entry in listed:
        info = cfg.info(entry["name"])
        assert (info.group, info.type) == (entry["group"], entry["type"])
        if info.type == "float":
            assert f32(info.default) == f32(entry["default"])
            assert (info.min, info.max) == (entry["min"], entry["max"])
        else:
            assert info.default == entry["default"], entry["name"]
            assert info.min == entry.get("min") and info.max == entry.get("max")


# ---- scrambled texts ----

SCRAMBLED = [
    ("", "kxCA4TFBLKXFApoM6aEteKXjFbwCVEN0xBN=NbGA6VIAAAAAA"),
    ("render-pass", "kxCAnwEx2LAtF/bN70H_pBqUHE3A_uK50FwCLMpKUFAiTJeaAAnIAxGysNeaK_hCy1MsXECZG"),
]


def test_scrambled_forms_worked_out_by_hand():
    for text, stored in SCRAMBLED:
        assert kxfarm.scramble(text) == stored
        assert kxfarm.unscramble(stored) == text


def test_scrambled_size_classes_round_trip_latin1():
    for length, stored_length in [(0, 49), (5, 49), (6, 73), (24, 100), (40, 124), (56, 148), (74, 151),
                                  (124, 199)]:
        text = "".join(chr((i * 37 + length) % 256) for i in range(length))
        if text.startswith("kxCA"):
            continue
        stored = kxfarm.scramble(text)
        assert len(stored) == stored_length and stored.startswith("kxCA")
        assert kxfarm.unscramble(stored) == text


def test_texts_that_cannot_be_scrambled_are_refused():
    with pytest.raises(ValueError, match="124"):
        kxfarm.scramble("p" * 125)  # the farm would store it in clear
    with pytest.raises(ValueError, match="kxCA"):
        kxfarm.scramble("kxCAsecret")
    with pytest.raises(ValueError) as raised:
        kxfarm.scramble("\u20ac")
    # scramble takes no truncate, so the message offers none.
    assert str(raised.value) == "text: character 1 '\u20ac' (U+20AC) is not Latin-1, and the field holds 8-bit text"
    with pytest.raises(TypeError, match="text"):
        kxfarm.scramble(b"bytes")


def test_malformed_scrambled_texts_come_back_as_they_are():
    good = SCRAMBLED[1][1]
    flipped = good[:10] + ("B" if good[10] == "A" else "A") + good[11:]
    for stored in ["kxCA", "kxCAAAA", "kxCAAAAAAAA", "kxCAA#AAAAAAA", "kxCA" + "A" * 45, flipped,
                   "KXCA" + good[4:], "p" * 125]:
        assert kxfarm.unscramble(stored) == stored
    with pytest.raises(ValueError, match="200"):
        kxfarm.unscramble("k" * 201)


def test_a_setting_stores_a_password_scrambled():
    cfg = kxfarm.Config()
    cfg.set_scrambled("eAuthPass", "render-pass")
    assert cfg["eAuthPass"] == SCRAMBLED[1][1]
    assert cfg.scrambled("eAuthPass") == "render-pass"
    with pytest.raises(TypeError):
        cfg.set_scrambled("nKXServerPort", "x")
    with pytest.raises(ValueError, match="124"):
        cfg.set_scrambled("eAuthPass", "p" * 125)


def test_scrambling_agrees_with_kxinspect(kxinspect):
    for text in ["render-pass", "s3cr\u00e9t with blanks"]:
        stored = kxinspect("config", "encode", text)["scrambled"]
        assert kxfarm.scramble(text) == stored
        assert kxinspect("config", "decode", stored)["text"] == kxfarm.unscramble(stored) == text


# ---- virtual-machine identifiers ----

VM_IDS = [
    (0, 3, "vm", "03_vm"),
    (255, 3, "vm", "03_00000000000000ff_vm"),
    (0x0123456789ABCDEF, 0x1A, "render-07", "1a_0123456789abcdef_render-07"),
    (2**64 - 1, 127, "", "7f_ffffffffffffffff_"),
    (16, 10, "a_b", "0a_0000000000000010_a_b"),
    (0, -1, "neg", "ff_neg"),
    (0, -128, "min", "80_min"),
    (0, 5, "caf\u00e9", "05_caf\u00e9"),
]


def test_vm_ids_both_ways():
    for vm_id, number, name, text in VM_IDS:
        assert kxfarm.join_vm_id(number, name, vm_id) == text
        assert kxfarm.split_vm_id(text) == kxfarm.VmId(number, vm_id, name)
    for text, parts in [("ab", (0, 0, "")), ("", (0, 0, "")), ("03x_vm", (0, 0, "")), ("10_vm", (16, 0, "vm")),
                        ("03_00000000000000ff", (3, 0, "00000000000000ff")), ("A1_vm", (-95, 0, "vm"))]:
        assert tuple(kxfarm.split_vm_id(text)) == parts, text
    assert kxfarm.split_vm_id("02_" + "n" * 100).name == "n" * 75


def test_vm_id_arguments_are_checked():
    with pytest.raises(ValueError, match="number"):
        kxfarm.join_vm_id(128, "vm")
    with pytest.raises(ValueError, match="id"):
        kxfarm.join_vm_id(1, "vm", -1)
    with pytest.raises(ValueError, match="id"):
        kxfarm.join_vm_id(1, "vm", 2**64)
    with pytest.raises(ValueError, match="name: at most 75 Latin-1 characters fit the field, got 76"):
        kxfarm.join_vm_id(1, "n" * 76)
    assert kxfarm.join_vm_id(1, "n" * 76, truncate=True) == "01_" + "n" * 75
    with pytest.raises(ValueError, match="Latin-1"):
        kxfarm.join_vm_id(1, "\u5834")
    with pytest.raises(TypeError, match="name"):
        kxfarm.join_vm_id(1, None)


def test_vm_ids_agree_with_kxinspect(kxinspect):
    for vm_id, number, name, text in VM_IDS[:3] + VM_IDS[5:]:
        assert kxinspect("vmid", "join", str(number), name, "--id", str(vm_id))["text"] == text
        split = kxinspect("vmid", "split", text)
        assert kxfarm.split_vm_id(text) == (split["number"], int(split["id"], 16), split["name"])


# ---- mount points ----

def test_mount_points_by_each_rule():
    cases = [
        ("\\\\server.local\\projects\\2019\\share", "/server/share", None),
        ("\\\\server\\share", "/server/share", None),
        ("\\\\server", "/server", None),
        ("server:/export/data/share", "/server:/share", "/server/share"),
        ("server:/share", "/server:/share", "/server/share"),
        ("nas.local:/vol/renders", "/nas:/renders", "/nas/renders"),
        # Nothing that would mount over the root or a system folder.
        ("\\\\server\\..", None, None),
        ("\\\\", None, None),
        ("server:/..", None, None),
    ]
    for path, share, nfs in cases:
        assert kxfarm.unc_mount_points(path) == kxfarm.MountPoints(share, nfs), path
    assert kxfarm.unc_mount_points(pathlib.PurePosixPath("server:/share")).nfs == "/server/share"


def test_mount_point_paths_are_checked():
    long_share = "\\\\" + "s" * 99
    with pytest.raises(ValueError, match="path: at most 100 Latin-1 characters fit the field, got 101"):
        kxfarm.unc_mount_points(long_share)
    assert kxfarm.unc_mount_points(long_share, truncate=True).share == "/" + "s" * 98
    with pytest.raises(TypeError, match="path: expected str, bytes or os.PathLike, got int"):
        kxfarm.unc_mount_points(42)


def test_mount_points_agree_with_kxinspect(kxinspect):
    for path, rule in [("\\\\server.local\\projects\\2019\\share", "share"), ("\\\\server", "share"),
                       ("server:/export/data/share", "nfs"), ("nas.local:/vol/renders", "nfs")]:
        answer = kxinspect("unc", path)
        assert answer["kind"] == rule
        assert getattr(kxfarm.unc_mount_points(path), rule) == answer["mountPoint"]


# ---- command-line flags ----

def test_flags_and_their_values():
    cases = [
        (["/opt/kx/server", "-Debug"], "-DEBUG", True, None),
        (["/opt/kx/server", "-Debug"], "-debug", True, None),
        (["/opt/kx/server", "-Debug"], "Debug", False, None),
        (["-debug"], "-debug", False, None),  # the program is never compared
        (["srv", "-port", "7773", "-x"], "-PORT", True, "7773"),
        (["srv", "-name", "Farm&amp;A"], "-name", True, "Farm&amp;A"),
        (["srv", "x", "-port"], "-port", True, None),
        (["srv", "-a&amp;b", "v&lt;1"], "-A&B", True, "v&lt;1"),
        (["srv", "&#45;&#x64;ebug", "1"], "-debug", True, "1"),
        (["srv", "-p", "1", "-P", "2"], "-p", True, "1"),
        (["srv", "", "next"], "", False, "next"),
        ([], "-x", False, None),
        ([b"srv", b"-Debug"], "-debug", True, None),
    ]
    for argv, flag, found, value in cases:
        assert kxfarm.has_flag(argv, flag) is found, (argv, flag)
        assert kxfarm.flag_value(argv, flag) == value, (argv, flag)


def test_flag_arguments_are_checked():
    with pytest.raises(TypeError, match="argv"):
        kxfarm.has_flag("-debug", "-debug")
    with pytest.raises(TypeError, match="argv"):
        kxfarm.has_flag(["srv", 5], "-debug")
    with pytest.raises(ValueError) as raised:
        kxfarm.has_flag(["srv"], "-" * 101)
    assert str(raised.value) == "flag: at most 100 Latin-1 characters fit the field, got 101"  # no truncate here
