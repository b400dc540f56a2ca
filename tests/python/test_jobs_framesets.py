# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# Frame sets: the three text forms, iteration and merging, on the C++ tests' inputs.
import random

import pytest

from kxfarm import FrameSet

# (text, start, flag indexes) as the C++ reader tests expect them.
LIST_CASES = [
    ("1001-1010", 1001, list(range(10))),
    ("1-9+4", 1, [0, 4, 8]),
    ("1-10+4", 1, [0, 4, 8]),
    ("1001-1010,1020", 1001, list(range(10)) + [19]),
    ("1020,1001-1003", 1001, [0, 1, 2, 19]),
    (" 5 , , 7 ,", 5, [0, 2]),
    ("3-1", 3, []),
    ("1-4+0", 1, [0, 1, 2, 3]),
    ("abc", 0, [0]),
    ("", 0, []),
    ("10, 8010", 10, [0]),
    ("10, 8009", 10, [0, 7999]),
    ("1001 - 1003", 1001, [0, 1, 2]),
]


@pytest.mark.parametrize("text, start, indexes", LIST_CASES)
def test_parse(text, start, indexes):
    frames = FrameSet.parse(text)
    assert frames.start == start
    assert frames.is_file_number
    assert list(frames) == [start + i for i in indexes]
    assert frames.frames == list(frames)
    assert len(frames) == len(indexes)
    assert frames.last_index == (indexes[-1] if indexes else -1)
    for i in indexes:
        assert start + i in frames
    assert start - 1 not in frames


@pytest.mark.parametrize(
    "indexes, text",
    [
        ([0], "0 , "),
        (list(range(10)), "0-9 , "),
        ([0, 4, 8], "0-8+4 , "),
        ([0, 2, 4, 5], "0-4+2 , 5 , "),
        ([0, 1, 2, 5, 8, 11], "0-2 , 5-11+3 , "),
        ([0, 250, 500], "0 , 250 , 500 , "),
    ],
)
def test_list_text_names_indexes(indexes, text):
    frames = FrameSet.parse(",".join(str(1000 + i) for i in indexes))
    assert frames.to_list_text() == text


@pytest.mark.parametrize(
    "text, readable, start, indexes",
    [
        ("3E9:1011", True, 1001, [0, 2, 3]),
        ("3e9:1x01", True, 1001, [0, 3]),
        ("0:", True, 0, []),
        ("FFFFFFFF:01", True, -1, [1]),
        ("100000000:1", False, 0, []),
        ("", False, 0, []),
        ("G:1", False, 0, []),
    ],
)
def test_flags_form(text, readable, start, indexes):
    frames = FrameSet.from_flags(text)
    # An unreadable start gives the empty set, as the farm's reader gives it.
    assert frames.start == start
    assert list(frames) == [start + i for i in indexes]
    if readable:
        assert FrameSet.from_flags(frames.to_flags_text()) == frames


def test_flags_and_bita85_writers():
    frames = FrameSet.parse("1001-1003,1005")
    assert frames.to_flags_text() == "3E9:11101"
    # An offset moves only a set of frames, not one of file numbers; the set stays as it is.
    assert frames.to_flags_text(offset=10) == "3E9:11101"
    plain = FrameSet()
    assert plain.to_flags_text() == "0:"
    assert not plain.is_file_number
    assert plain.to_flags_text(offset=1001) == "3E9:"
    assert plain.start == 0
    packed = frames.to_bita85()
    assert isinstance(packed, bytes)
    back = FrameSet.from_bita85(packed)
    assert back == frames and list(back) == [1001, 1002, 1003, 1005]
    assert FrameSet.from_bita85(FrameSet().to_bita85()) == FrameSet.parse("")


@pytest.mark.parametrize("data", [b"", b"not a frame set", bytes(64)])
def test_bita85_refuses_data_the_reader_refuses(data):
    with pytest.raises(ValueError, match="data: not a frame set"):
        FrameSet.from_bita85(data)


def test_merge_equality_and_start():
    later = FrameSet.parse("110,112")
    later.merge(FrameSet.parse("100,105"))
    assert later.start == 100
    assert list(later) == [100, 105, 110, 112]
    # Frames beyond 7999 past the start are dropped.
    near = FrameSet.parse("0")
    near.merge(FrameSet.parse("7999-8005"))
    assert list(near) == [0, 7999]
    # Frames and file numbers neither compare equal nor merge.
    frames = FrameSet()
    numbers = FrameSet.parse("")
    assert frames != numbers
    frames.merge(FrameSet.parse("5"))
    assert len(frames) == 0
    a = FrameSet.parse("1-3")
    b = a.copy()
    b.start = 2
    assert a != b and list(b) == [2, 3, 4] and list(a) == [1, 2, 3]
    frames.convert_to_file_numbers(1000)
    assert frames.is_file_number and frames.start == 1000
    assert "1-3" not in a  # only frame numbers are in a set
    assert 10**30 not in a


def test_texts_too_long_or_not_latin1():
    long_text = ",".join(str(i) for i in range(400))
    assert len(long_text) > 1000
    with pytest.raises(ValueError, match=r"text: at most 1000 Latin-1 characters fit the field, got 1489 "
                                         r"\(pass truncate=True to cut it as the farm does\)"):
        FrameSet.parse(long_text)
    cut = FrameSet.parse(long_text, truncate=True)
    assert set(cut) == {int(part) for part in long_text[:1000].split(",")}
    with pytest.raises(ValueError, match=r"text: character 6 '€' \(U\+20AC\) is not Latin-1, and the field holds 8-bit text$"):
        FrameSet.parse("1-10 €", truncate=True)
    with pytest.raises(TypeError):
        FrameSet.parse(1001)
    with pytest.raises(ValueError, match="start: must be from -2147483648 to 2147483647, got 2147483648"):
        FrameSet().start = 1 << 31
    with pytest.raises(TypeError, match="start: expected int, got bool"):
        FrameSet().start = True


def test_bita85_of_damaged_data_is_refused_or_read_within_the_set():
    rng = random.Random(7)
    good = FrameSet.parse("1001-1100+3,2000-2100").to_bita85()
    for _ in range(300):
        data = bytearray(good)
        for _ in range(rng.randrange(1, 4)):
            data[rng.randrange(len(data))] = rng.randrange(256)
        try:
            frames = FrameSet.from_bita85(bytes(data))
        except ValueError:
            continue
        assert len(frames) <= 8000 and -1 <= frames.last_index <= 7999
