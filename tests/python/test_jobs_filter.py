# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# The job filter: how a text is read (the C++ tests' cases) and which jobs pass.
import pytest

from kxfarm import Job, JobFilter

PARSE_CASES = [
    # text, invert, parse_terms, match_all, terms, excluded, keywords
    ("foo bar", False, True, True, ["FOO", "BAR"], [], {}),
    ("OR foo bar", False, True, False, ["FOO", "BAR"], [], {}),
    ("ORfoo", False, True, True, ["ORFOO"], [], {}),
    ("a,b", False, True, True, ["A", "B"], [], {}),
    ("a b,c", False, True, True, ["A", "B,C"], [], {}),
    ("one two three four five six seven eight nine ten eleven", False, True, True,
     ["ONE", "TWO", "THREE", "FOUR", "FIVE", "SIX", "SEVEN", "EIGHT", "NINE", "TEN"], [], {}),
    ("foo -bar -", False, True, True, ["FOO"], ["BAR"], {}),
    ("foo -bar", True, True, True, ["BAR"], ["FOO"], {}),
    ("user=anna", False, True, True, [], [], {"USER": "ANNA"}),
    ("=anna", False, True, True, ["=ANNA"], [], {}),
    ("user=a user=b", False, True, True, [], [], {"USER": "B"}),
    ("abcdefghijklmnopqrstuvwxyz=1", False, True, True, ["ABCDEFGHIJKLMNOPQRSTUVWXYZ=1"], [], {}),
    ("foo -bar user=x", False, False, True, ["FOO -BAR USER=X"], [], {}),
]


@pytest.mark.parametrize("text, invert, parse_terms, match_all, terms, excluded, keywords", PARSE_CASES)
def test_parse(text, invert, parse_terms, match_all, terms, excluded, keywords):
    job_filter = JobFilter(text, invert=invert, parse_terms=parse_terms)
    assert job_filter.text == text
    assert job_filter.invert == invert
    assert not job_filter.is_empty
    assert job_filter.match_all == match_all
    assert job_filter.terms == terms
    assert job_filter.excluded == excluded
    assert job_filter.keywords == keywords


def test_keywords_are_in_the_farms_order():
    assert list(JobFilter("b=1 aa=2 a=3 ab=4").keywords.items()) == [("A", "3"), ("AA", "2"), ("AB", "4"), ("B", "1")]


@pytest.fixture
def jobs():
    anna = Job(user="anna", scene="/prj/sh010/light_v003.ma", layer="beauty", renderer="Arnold")
    bob = Job(user="bob", scene="/prj/sh020/comp_v001.nk", layer="fg", renderer="Redshift")
    chen = Job(user="chen", scene="/prj/sh030/fx_smoke.hip", layer="smoke", renderer="Mantra")
    chen.set_custom_data("Ticket", "NF-4001")
    return [anna, bob, chen]


@pytest.mark.parametrize(
    "text, passing",
    [
        ("", ["anna", "bob", "chen"]),
        ("sh010", ["anna"]),
        ("sh010 beauty", ["anna"]),
        ("sh010 smoke", []),
        ("OR sh010 smoke", ["anna", "chen"]),
        ("-comp", ["anna", "chen"]),
        ("user=anna", ["anna"]),
        ("USER=ANNA", ["anna"]),
        ("renderer=redshift", ["bob"]),
        ("customticket=nf-4001", ["chen"]),
        ("nf-4001", ["chen"]),
        ("sceneFile=comp_v001.nk", ["bob"]),
        ("unknownkey=x", []),
    ],
)
def test_matches_and_filter(jobs, text, passing):
    job_filter = JobFilter(text)
    assert [job.user for job in job_filter.filter(jobs)] == passing
    assert [job.user for job in jobs if job_filter.matches(job)] == passing


def test_filter_keeps_the_callers_objects_and_refuses_other_items(jobs):
    passed = JobFilter("sh010").filter(iter(jobs))
    assert passed[0] is jobs[0]
    with pytest.raises(TypeError, match="jobs: item 1 is str, not Job"):
        JobFilter("x").filter([jobs[0], "job"])
    with pytest.raises(TypeError):
        JobFilter("x").matches("job")
    assert repr(JobFilter("a -b", invert=True)) == "kxfarm.JobFilter('a -b', invert=True)"
