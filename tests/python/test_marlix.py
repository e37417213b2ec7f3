"""The Python module against the command-line tool's known answers, its
batch calls against the single ones, and its failures."""

import array
import decimal
import logging
import threading
from fractions import Fraction

import pytest

import marlix


@pytest.mark.parametrize(
    "type_, sample, prefix, text",
    [
        *[(name, 93079, None, " 01:02:03.04") for name in ("P", 25, 25.0)],
        (29.97, 1800, None, " 00:01:00.00"),
        ("F35", 1000, "KJ 12 3456", "KJ1234560015+10"),
    ],
)
def test_label_text_and_sample(type_, sample, prefix, text):
    assert marlix.label_text(type_, sample, prefix=prefix) == text
    assert marlix.label_sample(type_, text, prefix=prefix) == sample


@pytest.mark.parametrize(
    "call, reason",
    [
        (lambda: marlix.label_text("Q", 0), "'Q' is not a label type"),
        (lambda: marlix.label_text("#9", 0), "has no converter of its own"),
        (lambda: marlix.label_text(None, 0), "a label type is a name, a frame rate or \"#N\""),
        (lambda: marlix.label_text("P", 2**31), "does not fit 32 bits"),
        (lambda: marlix.label_text("F35", 0, prefix="KJ 12 34"), "expected 2 letters, 6 digits"),
        (lambda: marlix.label_sample("P", "01:00:00:00\0"), "'01:00:00:00\\x00': not a label"),
        (lambda: marlix.label_texts("P", [1, "2"]), "sample 1 is not an int"),
        (lambda: marlix.label_texts("P", range(2**31 - 1, 2**31 + 1)), "does not fit 32 bits"),
        (lambda: marlix.label_texts("P", array.array("d", [0.5])), "is not whole"),
        (lambda: marlix.label_samples("P", ["01:00:00:00", "x", "y"]), "text 1: 'x': not a label"),
        (lambda: marlix.tc_frames("00:01:00;00", "29.97df"), "dropped label"),
        (lambda: marlix.tc_frames("00:00:00:00", "59.94df", strict=False), "no label converter"),
        (lambda: marlix.xlate(1, "Nothing", "Film"), "from_medium: 'Nothing' is not a medium"),
        (lambda: marlix.xlate(1, "Film", "30i", transfer="sideways"), "transfer: 'sideways'"),
        (lambda: marlix.xlate(1, "Film", "30i", project_rate="31"), "project_rate: '31'"),
        (lambda: marlix.xlate(1, "Film", "30i", output_scan="x"), "output_scan"),
        (lambda: marlix.xlate(1, "Film", "25i", project_rate="29.97"),
         "no translation of 1.0 from Film to 25i: this project does not take film to that video medium"),
        (lambda: marlix.tc_text(0, Fraction(1, 3)), "Fraction(1, 3) is not a frame rate"),
        (lambda: marlix.tc_texts([0, 2**40], 25), "frame count 1099511627776 does not fit 32 bits"),
        (lambda: marlix.tc_frames_batch(["00:00:01:00", "x", 5], 25), "text 1: 'x': not a timecode"),
        (lambda: marlix.label_texts("P", [], errors="ignore"), "errors: 'ignore' is neither"),
        (lambda: marlix.tc_add("00:00:00:00", 1.5, 25), "frames_or_tc is a frame count (int) or a timecode"),
        (lambda: marlix.tc_add("00:00:00:00", 2**40, 25, wrap=False), "out of the 32-bit frame range"),
        (lambda: marlix.tc_convert("00:00:00:00", 23.976, 29.97, method="pulldown", sync="00:00:00:24=00:00:00:00"),
         "the sync point's film timecode is invalid: field out of range"),
        (lambda: marlix.tc_convert("00:00:00:00", 23.976, 29.97, sync="00:00:00:00=00:00:00:00"), "sync goes with"),
        (lambda: marlix.tc_convert("00:00:00:00", 25, 29.97, method="pulldown"), "no 2:3 pulldown from 25 to 29.97"),
        (lambda: marlix.pull("00:59:59;29", "F35", "29.97df", "KU2290120000+00=01:00:00;00"),
         "'00:59:59;29': the film frame lies outside the sync point's roll: before its first frame, KU2290120000+00"),
        (lambda: marlix.pull("01:00:00;00", "F35", "29.97df", "KU2290120000+16=01:00:00;00"),
         "the sync point's keycode is not a label of type keycode_35_label: frames 16 is not below 16"),
        (lambda: marlix.pull("01:00:00:00", "F35", 25, "KU2290120000+00=01:00:00:00", footage="1+16"),
         "footage '1+16': not a label of type foot_35_label: frames 16 is not below 16"),
        (lambda: marlix.pull("01:00:00:00", "F353", 24, "KU2290120000+00.1=01:00:00:00", ink="0123 0000+00"),
         "ink '0123 0000+00': keycode_353_label has no ink number type of its gauge"),
        (lambda: marlix.cadence("24:29i"), "is not a cadence"),
        (lambda: marlix.cadence("24:30i", 5), "phase 5 of 24:30i: 0..4"),
    ],
)
def test_failures_are_value_errors(call, reason):
    with pytest.raises(ValueError, match=None) as caught:
        call()
    assert reason in str(caught.value)


def test_batches_match_single_calls_for_every_input_kind():
    samples = list(range(-30, 3000, 7))
    expected = [marlix.label_text("ND", s) for s in samples]
    assert marlix.label_texts("ND", samples) == expected
    assert marlix.label_texts("ND", range(-30, 3000, 7)) == expected
    assert marlix.label_texts("ND", array.array("q", samples)) == expected
    assert marlix.label_texts("ND", memoryview(array.array("i", samples))) == expected
    assert marlix.label_texts("ND", range(5, -5, -3)) == [marlix.label_text("ND", s) for s in range(5, -5, -3)]
    assert marlix.label_samples("ND", expected) == [marlix.label_sample("ND", t) for t in expected]
    assert marlix.label_texts("P", []) == [] and marlix.label_samples("P", []) == []
    with_prefix = marlix.label_texts("F35", [0, 64], prefix="KJ 12 3456")
    assert with_prefix == [marlix.label_text("F35", s, prefix="KJ 12 3456") for s in (0, 64)]
    assert marlix.label_samples("F35", with_prefix, prefix="KJ 12 3456") == [0, 64]
    # The converter's own reading, one switch away.
    assert marlix.label_sample("P", "10:00:00:99", strict=False) == 900099
    assert marlix.label_samples("P", ["25:00:00:00"], strict=False) == [2250000]
    assert marlix.label_text("F35", 0, prefix="KJ 12 34", strict=False) == "KJ 12 340000+00"


def test_batches_from_many_threads_are_exact():
    day = range(0, 25 * 3600, 13)
    expected = marlix.label_texts("P", day)
    results = [None] * 4

    def work(i):
        results[i] = marlix.label_samples("P", marlix.label_texts("P", day))

    threads = [threading.Thread(target=work, args=(i,)) for i in range(4)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert all(r == list(day) for r in results)
    assert marlix.label_texts("P", day) == expected


def test_timecode():
    for frames, rate, text in [(1800, "29.97df", "00:01:00;02"), (-1, "24", "-00:00:00:01")]:
        assert marlix.tc_text(frames, rate) == text and marlix.tc_frames(text, rate) == frames
    assert marlix.tc_text(24 * 3600 * 25, "25") == "00:00:00:00"
    # Loose texts read as the converters read them, and only when asked.
    assert marlix.tc_frames("0:1:0:2", "29.97df", strict=False) == 1800


def test_rates_as_numbers_of_every_kind():
    for rates, text in [
        ((25, 25.0, "25", Fraction(25), decimal.Decimal(25)), "00:02:24:00"),
        ((23.976, 24000 / 1001, Fraction(24000, 1001), decimal.Decimal("23.976")), "00:02:30:00"),
    ]:
        assert [marlix.tc_text(3600, r) for r in rates] == [text] * len(rates)
    assert marlix.xlate(1.0, "Audio", "Playout25p", project_rate=25.0) == 0.96
    assert marlix.xlate(1, "TOVCel", "Audio", project_rate=Fraction(24000, 1001)) == 1.001


@pytest.mark.parametrize(
    "call, answer",
    [
        # The clock of a day: additions wrap both ways, an out before the in
        # runs across midnight; the signed answers on request.
        (lambda: marlix.tc_add("23:59:59;29", 1, "29.97df", wrap=False), "24:00:00;00"),
        (lambda: marlix.tc_add("00:00:02:00", -125, 25), "23:59:57:00"),
        (lambda: marlix.tc_add("00:00:02:00", 10**30 * 2160000 - 1, 25), "00:00:01:24"),
        (lambda: marlix.tc_add("01:00:00:00", "00:00:01:00", 25), "01:00:01:00"),
        (lambda: marlix.tc_duration("23:59:50;00", "00:00:05;00", "29.97df"), 450),
        (lambda: marlix.tc_duration("23:59:50;00", "00:00:05;00", "29.97df", signed=True), -2588958),
        (lambda: marlix.tc_convert("01:00:00:00", 25, 24, method="frame"), "01:02:30:00"),
        (lambda: marlix.tc_convert("00:00:01:02", 23.976, "29.97df", method="pulldown", sync="00:00:01:00=00:01:00;02"),
         "00:01:00;05"),
        (lambda: marlix.pull("01:00:00;02", "F35", "29.97df", "KU 22 9012 1234+00=01:00:00;00"), ("KU2290121234+01", True)),
        (lambda: marlix.pull("01:00:00;02", "F35", "29.97df", "KU2290121234+00=01:00:00;00", footage="12+00"),
         ("KU2290121234+01", True, "0012.01", None)),
        (lambda: marlix.pull("00:59:59;29", "F35", "29.97df", "KU2290121234+00=01:00:00;00", ink="0123 0001+00"),
         ("KU2290121233+15", False, None, "01230000+15")),
    ],
)
def test_what_the_tool_does(call, answer):
    assert call() == answer


def test_batches_answer_none_for_failing_items():
    assert marlix.tc_texts([25, 2**40, "x", 30], 25, errors="none") == ["00:00:01:00", None, None, "00:00:01:05"]
    assert marlix.tc_texts([2160000], 25, wrap=False) == ["24:00:00:00"]
    texts = ["00:00:01:00", "x", 5, " 00:00:02:00", "00:00:00:25"]
    assert marlix.tc_frames_batch(texts, 25, errors="none") == [25, None, None, 50, None]
    assert marlix.tc_frames_batch(["0:0:1:0"], 25, False) == [25]
    samples = [0, "x", 2**31, 2**70, 25]
    assert marlix.label_texts("P", samples, errors="none") == [" 00:00:00.00", None, None, None, " 00:00:01.00"]
    assert marlix.label_texts("P", array.array("d", [0.5, 25]), errors="none") == [None, " 00:00:01.00"]
    assert marlix.label_texts("P", range(2**31 - 1, 2**31 + 1), errors="none") == [" 04:55:45.22", None]
    assert marlix.label_samples("P", ["01:00:00:00", "x", None], errors="none") == [90000, None, None]


def test_translation_failures_keep_the_host_message_off_the_screen(capfd, caplog):
    with caplog.at_level(logging.DEBUG, logger="marlix"), pytest.raises(ValueError) as caught:
        marlix.xlate(1, "Film", "25i", project_rate="29.97")
    assert "cookie" not in str(caught.value) and "mPosn_Xlate" not in str(caught.value)
    out, err = capfd.readouterr()
    assert "mPosn_Xlate" not in out + err
    assert "mPosn_Xlate(): Invalid film->vid conversion for project - cookie<invalid>" in caplog.messages


def test_xlate_with_settings_for_one_call():
    assert marlix.xlate(1, "Film", "30i") == 0.8
    assert marlix.xlate(1, "TOVCel", "Audio", project_rate="25") == 1.0416666666666667
    # The settings held for that call only.
    assert marlix.xlate(1, "TOVCel", "Audio") == 1.0
    assert marlix.xlate(1, 2, "30i") == marlix.xlate(1, "film", "30I")


def test_cadence_pictures():
    assert "".join(marlix.cadence("24:30i")) + "".join(marlix.cadence("24:30i", phase=1)) == "AABBBCCDDDAAABBCCCDD"
    assert len(marlix.cadence("24:25p")) == 25 and marlix.__version__.count(".") == 2


def test_readme_session_runs_as_shown():
    import doctest
    import pathlib
    import re

    readme = (pathlib.Path(__file__).parents[2] / "README.md").read_text()
    session = re.search(r"```python\n(.*?)```", readme, re.S).group(1)
    test = doctest.DocTestParser().get_doctest(session, {}, "README", "README.md", 0)
    runner = doctest.DocTestRunner(optionflags=doctest.ELLIPSIS)
    runner.run(test)
    assert runner.summarize(verbose=False).failed == 0


EDL = (
    "TITLE: PY\r\n"
    "FCM: DROP FRAME\r\n"
    "001 A001 AA/V C 01:49:40:00 01:49:41:00 01:49:40:00 01:49:41:00\r\n"
    "AUD 3\r\n"
    "* FROM CLIP NAME: caf\u00e9\r\n"
    "002 A001 V C 01:00:00:00 01:00:00:20 01:49:41:00 01:49:42:00\r\n"
    "M2   A001       -015.0 01:00:00:00\r\n"
)


def test_edl_read_gives_typed_edits_and_findings():
    import marlix.edl

    doc = marlix.edl.read(EDL, "29.97")
    assert (doc.title, doc.rate, doc.ok) == ("PY", "29.97", False)
    first, second = doc.edits
    assert (first.event, first.line, first.reel) == (1, 3, "A001")
    assert first.channels == ["V", "A1", "A2", "A3"] and first.channel_field == "AA/V"
    assert (first.record_in, first.record_frames, first.speed) == ("01:49:40;00", 30, None)
    assert (first.clip, first.comments) == ("caf\u00e9", ["* FROM CLIP NAME: caf\u00e9"])
    assert second.speed == -15.0
    [finding] = doc.findings
    assert (finding.line, finding.event, finding.kind, finding.severity) == (6, 2, "speed_mismatch", "error")
    text = marlix.edl.write(doc)
    assert text.splitlines()[2] == "001  A001     AA/V  C        01:49:40;00 01:49:41;00 01:49:40;00 01:49:41;00"
    assert marlix.edl.read(text, "29.97").write() == text


def test_edl_convert_reports_rounding_and_refusals():
    import marlix.edl

    cuts = (
        "001 AX V C 01:00:00:00 01:00:00:10 01:00:00:00 01:00:00:10\n"
        "002 BX V C 01:00:00:10 01:00:01:00 01:00:00:10 01:00:01:00\n"
    )
    out = marlix.edl.convert(marlix.edl.read(cuts, 25), "24", method="realtime")
    assert out.document.rate == "24" and out.document.ok
    assert [e.record_in for e in out.document.edits] == ["01:00:00:00", "01:00:00:09"]
    assert [(r.event, r.before, r.after, r.exact) for r in out.changed] == [(1, 10, 9, 9.6), (2, 15, 15, 14.4)]
    film = marlix.edl.read(cuts, "23.976")
    syncs = {"AX": "00:00:00:00=00:00:00:00", "BX": "01:00:00:00=01:00:00:00"}
    video = marlix.edl.convert(film, "29.97", method="pulldown", reel_syncs=syncs)
    assert [e.source_in for e in video.document.edits] == ["01:00:00:00", "01:00:00:13"]
    with pytest.raises(ValueError, match="line 2: event 002: reel BX has no pulldown sync"):
        marlix.edl.convert(film, "29.97", method="pulldown", reel_syncs={"AX": syncs["AX"]})
    with pytest.raises(ValueError, match="a method is needed"):
        marlix.edl.convert(film, "29.97")


def test_edl_read_file_bytes_and_failures(tmp_path):
    import marlix.edl

    path = tmp_path / "list.edl"
    path.write_bytes(EDL.encode("latin-1"))
    doc = marlix.edl.read_file(str(path), 29.97, strict=True)
    assert doc.latin1 and doc.findings[0].kind == "latin1_text"
    assert marlix.edl.read(EDL.encode("utf-8"), "29.97").edits[0].clip == "caf\u00e9"
    with pytest.raises(OSError):
        marlix.edl.read_file(str(tmp_path / "missing.edl"), 25)
    with pytest.raises(ValueError, match="not a frame rate"):
        marlix.edl.read(EDL, "31")
    with pytest.raises(ValueError, match="str or bytes"):
        marlix.edl.read(3, 25)


FILM_LOG = (
    "Heading\nFILM_FORMAT\t35mm, 4 perf\nFPS\t29.97\nColumn\n"
    "Name\tTape\tStart\tEnd\tKN Start\tPullin\tCamroll\tLabroll\nData\n"
    "a\tTAPE0001\t01:00:00:00\t01:00:20:00\tKU2290121000+00\tA\tA001\tL01\n"
)


def test_film_lists_give_typed_rows():
    edl = (
        "001 TAPE0001 V C 01:00:01:00 01:00:04:00 01:00:00:00 01:00:03:00\n"
        "002 T2 V C 01:00:01:00 01:00:01:02 01:00:03:00 01:00:03:02\n"
    )
    lists = marlix.film_lists(edl, [FILM_LOG], rate="29.97", leader="12+00")
    first = lists.cuts[0]
    assert (first.key_in, first.key_out, first.frames) == ("KU2290121001+08", "KU2290121005+15", 72)
    assert (first.camroll, first.running_frames, first.adjust) == ("A001", 192 + 72, 0)
    assert first.record_out == "01:00:03:00"
    # Two video frames are 1.6 film frames: the running total gives 74.
    assert (lists.cuts[1].frames, lists.cuts[1].adjust, lists.cuts[1].matched) == (2, 0, False)
    assert [(m.event, m.kind, m.reel) for m in lists.missing] == [(2, "no_clip", "T2")]
    assert [(p.labroll, p.key_in, p.events) for p in lists.pulls] == [("L01", "KU2290121001+08", [1])]
    assert (lists.totals.events, lists.totals.frames) == (2, 74)
    # The logs' findings with their log, then the list run's with their event.
    bad_log = "Heading\nFPS\t29.97\nColumn\nName\tTape\tStart\tEnd\tPullin\nData\nb\tT3\t01:00:00:00\t01:00:20:00\tQ\n"
    lists = marlix.film_lists("001 TAPE V C 01:00:01:00 01:00:04:00 01:00:00:00 01:00:03:00\n",
                              [FILM_LOG, bad_log], rate="29.97")
    assert [(f.log, f.event, f.line, f.kind, f.severity) for f in lists.findings] == [
        (1, -1, 6, "bad_pullin", "error"),
        (1, -1, 0, "missing_key_number", "warning"),
        (-1, 1, 1, "reel_by_prefix", "warning"),
    ]
    assert lists.findings[0].message == "Pullin 'Q' is none of A, B, X, C, D"


def test_film_lists_dupes_opticals_sound_and_changes():
    log = ("Heading\nFILM_FORMAT\t35mm\nFPS\t24\nColumn\nName\tTape\tStart\tEnd\tKN Start\tSoundroll\tSound TC\n"
           "Data\na\tT1\t01:00:00:00\t01:00:20:00\tKU2290121000+00\tS1\t10:00:00:00\n")
    before = "001 T1 V C 01:00:01:00 01:00:02:00 01:00:00:00 01:00:01:00\n"
    after = (
        "001 T1 V C 01:00:01:00 01:00:02:00 01:00:00:00 01:00:01:00\n"
        "002 T1 V C 01:00:02:00 01:00:02:00 01:00:01:00 01:00:01:00\n"
        "002 T1 V D 020 01:00:01:12 01:00:02:12 01:00:01:00 01:00:02:00\n"
    )
    lists = marlix.film_lists(after, [log], rate="24", handles=0, dissolve_lengths=[20], previous=before)
    # Source frames 36-47 come twice: event 1 takes 24-47, event 2 36-59.
    assert [(d.key_in, d.key_out, d.frames, d.events) for d in lists.dupes] == [
        ("KU2290121002+04", "KU2290121002+15", 12, [1, 2])]
    (dissolve,) = lists.opticals
    assert (dissolve.kind, dissolve.lab, dissolve.length, dissolve.centre) == ("dissolve", True, 20, "01:00:01:10")
    assert (dissolve.outgoing.key_in, dissolve.outgoing.key_out) == ("KU2290121003+00", "KU2290121004+03")
    assert dissolve.incoming.key_in == lists.cuts[1].key_in
    assert [(s.soundroll, s.sound_in, s.sound_out) for s in lists.sounds] == [
        ("S1", "10:00:01:00", "10:00:02:00"), ("S1", "10:00:01:12", "10:00:02:12")]
    assert "002  S1       AA    C        10:00:01:12 10:00:02:12" in lists.audio_edl("SOUND")
    assert [(c.kind, c.at, c.frames, c.key_in) for c in lists.changes] == [("add", 24, 24, "KU2290121002+04")]
    assert [c.kind for c in lists.changes_by_reel] == ["add"]
    assert marlix.film_lists(after, [log], rate="24").changes == []
    with pytest.raises(ValueError, match="handles"):
        marlix.film_lists(after, [log], rate="24", handles=-1)
    with pytest.raises(ValueError, match="dissolve length"):
        marlix.film_lists(after, [log], rate="24", dissolve_lengths=[0])


@pytest.mark.parametrize(
    "kwargs, message",
    [
        ({"rate": "29"}, "not a frame rate"),
        ({"rate": "25", "stock": "P"}, "no keycode stock"),
        ({"rate": "25", "transfer": "3:2"}, "no transfer"),
        ({"rate": "25", "leader": "x"}, "no footage"),
    ],
)
def test_film_lists_refusals(kwargs, message):
    with pytest.raises(ValueError, match=message):
        marlix.film_lists("", [FILM_LOG], **kwargs)
