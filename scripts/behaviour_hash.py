#!/usr/bin/env python3
"""Hashes what the marlix tool, the Python module and the C interface answer
over a seeded random corpus of calls, so that two builds can be compared: the
same seed gives the same corpus, and equal hashes mean equal answers
(outputs, messages and exit statuses). The corpus runs every command of the
tool, half of the calls with --json, over operands and lines of standard
input that include bytes that are not UTF-8, control characters and quotes,
and over random edit lists and telecine logs. --dump writes one record a
line: for the tool (arguments, standard input, status, standard output,
standard error), for the module and the C interface the answer's text.
--check FILE compares each answer with an approved dump and shows where the
first that differ part: the tests hold the library to its approved answers
this way.

usage: behaviour_hash.py MARLIX_TOOL PYTHON_PACKAGE_DIR [--seed N] [--count N]
                         [--dump FILE] [--check FILE]
"""
import argparse
import ctypes
import gzip
import hashlib
import importlib
import pathlib
import random
import subprocess
import sys
import tempfile

TYPES = ["P", "N", "ND", "nd", "24", "25", "29.97df", "30000/1001", "48", "50", "60",
         "59.94df", "F35", "F16", "F353", "F35_4", "F35_6", "F16_5", "F353_4", "F655_80",
         "I35", "I16", "foot_35_label", "foot_16_label", "foot_353_label", "FR",
         "pal_label", "#0", "#3", "#7", "#9", "#17", "#30", "#42", "#-1", "29", "xx", ""]
KEYCODE = ["F35", "F16", "F353", "F35_4", "F35_5", "F16_6", "F353_6"]
RATES = ["23.976", "24", "25", "29.97", "29.97df", "30", "50", "59.94df", "29"]
PREFIXES = [None, "KU229012", "AB123456", "AB12", "EASTMAN", "", "ab 12", "KU22901212345678901234"]


def junk(rng):
    alphabet = "0123456789:;.+-_ abKU\t#"
    return "".join(rng.choice(alphabet) for _ in range(rng.randint(0, 18)))


def sample(rng):
    return rng.choice([rng.randint(-200, 200), rng.randint(-10**7, 10**7),
                       rng.randint(-2**31, 2**31 - 1), rng.randint(0, 2160000)])


def label_like(rng, tool, type_name, prefix):
    args = [tool, "print", "-t", type_name]
    if prefix:
        args += ["-p", prefix]
    out = subprocess.run(args + ["--", str(sample(rng))], capture_output=True, text=True,
                         errors="replace").stdout.rstrip("\n")
    if rng.random() < 0.3 and out:
        i = rng.randrange(len(out))
        out = out[:i] + rng.choice("0123456789:;.+x ") + out[i + 1:]
    return out


MEDIA = ["Film", "Audio", "Video", "TOVClock", "TOVCel", "PlayoutVideo", "24p", "24pM", "25p",
         "25i", "30i", "30iM", "50p", "60pM", "Playout30iM", "Playout25p", "3", "19", "0", "41",
         "Tape", ""]
IDENTS = ["2,1", "3,2", "15,0", "13,1", "17,3", "24,5", "41,1", "1", "6", "0,0", "x", "3,9", ""]
CLASSES = ["pal_label", "ntsc_label", "ntsc_drop_label", "keycode_35_label", "tc_24_label",
           "foot_35_label", "ink_16_label", "keycode_label", "bogus_label"]
GLOBALS = [[], ["--project-rate", "25"], ["--project-rate", "29.97df"], ["--drop-frame"],
           ["--project-rate", "30", "--output-rate", "25"], ["--camera-speed", "25"],
           ["--output-scan", "i"], ["--output-pulled-down"], ["--audio-sync-pulled-down"],
           ["--set", "use_25fps_timecode_for_50P=0"], ["--project-rate", "99"]]
HOSTILE = ["ab\udcffcd", "\ufeff01:00:00:00", "\ufeff", "q\"uo\\te", "\x01\x1b[31m\x7f",
           "\udcc3(", "\udced\udca0\udc80", "\udcf4\udc90\udc80\udc80", "\u0085\u2028é",
           "0x\udcff", "\t 25 \t", "-", "--", "#", "KU22\udcfe9012"]


def hostile(rng):
    """Text that is no label: invalid UTF-8 (as surrogate escapes), controls, quotes."""
    if rng.random() < 0.5:
        return rng.choice(HOSTILE)
    return "".join(chr(0xDC00 + b) if b >= 0x80 else chr(b)
                   for b in (rng.randint(1, 255) for _ in range(rng.randint(1, 12))))


def item(rng, good):
    r = rng.random()
    return good() if r < 0.6 else hostile(rng) if r < 0.8 else junk(rng)


def tc_text(rng):
    return rng.choice(["01:00:00:00", "01:00:00;00", "00:01:00;02", "00:01:00;00", "23:59:59:29",
                       "24:00:00:00", "00:00:00:25", "-00:00:01:00", "00;01;00;02",
                       "01:00:00.00", "%02d:%02d:%02d:%02d" % (rng.randint(0, 25), rng.randint(0, 60),
                                                               rng.randint(0, 60), rng.randint(0, 60))])


def keep_string(rng):
    rev = rng.choice(["1", "1", "2", "3"])
    start = rng.choice(["10:00:00.00", "0", "AB1234561234+15", str(sample(rng)), hostile(rng)])
    pitch = rng.choice(["0.04", "0.0416666667", "nan", "inf", "-1", "1e-300", "x"])
    keep = "LABEL_REV:%s %s %s %d %s %d" % (rev, rng.choice(CLASSES), start,
                                             rng.randint(-5, 10**8), pitch, rng.choice([0, 1, 5, -3]))
    if rng.random() < 0.4:
        keep += " MediumRollId " + rng.choice(IDENTS)
    return keep


def stdin_of(rng, items):
    ends = ["\n", "\r\n", "\r"]
    data = "".join(x + rng.choice(ends) for x in items)
    if rng.random() < 0.3:
        data = data.rstrip("\r\n")  # no end on the last line
    return data.encode("utf-8", "surrogateescape")


def converter_call(rng, tool, kind, t, p, pre):
    if kind == 0:
        extra = rng.choice([[], ["--normalise"], ["--flags", str(rng.randint(0, 16))]])
        return ["print", "-t", t] + pre + extra + ["--"] + [str(sample(rng)) for _ in range(3)]
    if kind == 1:
        texts = [label_like(rng, tool, t, p) for _ in range(2)] + [junk(rng)]
        extra = ["--packed"] if rng.random() < 0.2 else []
        return ["parse", "-t", t] + pre + extra + ["--"] + texts
    if kind == 2:
        return ["span", "-t", t, "--", label_like(rng, tool, t, p), label_like(rng, tool, t, p)]
    if kind == 3:
        if rng.random() < 0.5:
            return ["smpte", "-t", t, "--"] + [str(sample(rng)) for _ in range(2)]
        words = [hex(rng.getrandbits(32)), str(rng.getrandbits(31)), junk(rng)]
        return ["smpte", "-t", t, "--decode", "--"] + words
    if kind == 4:
        return ["template", "-t", t]
    a, b = rng.choice(TYPES + KEYCODE * 3), rng.choice(TYPES + KEYCODE * 3)
    texts = [label_like(rng, tool, a, p) for _ in range(2)] + [junk(rng)]
    return ["convert", "--from", a, "--to", b] + pre + ["--"] + texts


def more_calls(rng, tool, t, p, pre):
    """The commands past the converter ones: (args, stdin bytes or None)."""
    kind = rng.randrange(16)
    if kind == 0 and rng.random() < 0.2:
        name = rng.choice(["types", "print", "tc", "pull", "label", "nosuch"])
        return rng.choice([["help", name], [name, "--help"], ["--help"], ["--version"]]), None
    if kind == 0:
        form = rng.randrange(4)
        if form == 0:
            return rng.choice(GLOBALS) + ["types"], None
        if form == 1:
            return rng.choice(GLOBALS) + ["types", "--default"], None
        if form == 2:
            return ["types", "--stdin"], stdin_of(rng, [item(rng, lambda: rng.choice(TYPES))
                                                         for _ in range(3)])
        return ["types", "--"] + [item(rng, lambda: rng.choice(TYPES)) for _ in range(3)], None
    if kind == 1:
        args = ["label", "write", "-t", t]
        start = rng.choice([label_like(rng, tool, t, p), str(sample(rng)), hostile(rng)])
        args += ["--start", start] if rng.random() < 0.8 else []
        args += ["--length", str(rng.randint(-10, 10**6))] if rng.random() < 0.5 else []
        args += ["--bounded"] if rng.random() < 0.4 else []
        args += ["--pitch", rng.choice(["0.04", "nan", "-1", "1e-3", "x"])] if rng.random() < 0.3 else []
        args += pre
        args += ["--medium", rng.choice(IDENTS)] if rng.random() < 0.3 else []
        return args, None
    if kind == 2:
        keeps = [item(rng, lambda: keep_string(rng)) for _ in range(3)]
        if rng.random() < 0.5:
            return ["label", "read", "--"] + keeps, None
        return ["label", "read"], stdin_of(rng, keeps)
    if kind == 3:
        keep = rng.choice([keep_string(rng), "LABEL_REV:1 pal_label  10:00:00.00 250 0.0400000000 1",
                           "LABEL_REV:1 keycode_35_label AB1234561234+15 0 0.0416666667 0"])
        if rng.random() < 0.5:
            return ["label", "at", keep, "--position"] + [
                item(rng, lambda: str(rng.uniform(-100, 40000))) for _ in range(3)], None
        return ["label", "at", keep, "--"] + [item(rng, lambda: str(sample(rng))) for _ in range(3)], None
    if kind == 4:
        form = rng.randrange(4)
        if form == 0:
            return rng.choice(GLOBALS) + ["medium", "list"], None
        if form == 1:
            fam = ["--family", str(rng.randint(-1, 8))] if rng.random() < 0.4 else []
            return ["medium", "parse"] + fam + ["--"] + [item(rng, lambda: rng.choice(IDENTS))
                                                         for _ in range(3)], None
        if form == 2:
            return ["medium", "fits", rng.choice(IDENTS)] + [item(rng, lambda: rng.choice(IDENTS))
                                                             for _ in range(3)], None
        args = ["medium", "from-format", "--scan", rng.choice(["p", "i", "x"]), "--rate",
                rng.choice(RATES + ["48", "#3"])]
        return args + (["--output"] if rng.random() < 0.5 else []), None
    if kind == 5:
        if rng.random() < 0.5:
            reel = rng.choice(["A001", "A:1", "a b", "é" * 16, hostile(rng), "R" * 40])
            return ["roll", "write", rng.choice(IDENTS), "--reel", reel], None
        keeps = [item(rng, lambda: "REV:%d MediumRollId:%s reelid:%s" % (
            rng.randint(0, 2), rng.choice(IDENTS), rng.choice(["A001", "", hostile(rng)])))
            for _ in range(3)]
        return ["roll", "read", "--"] + keeps, None
    if kind in (6, 7):
        lt = str(rng.choice([1, 2, 3, 4, 5, 8, 11, 21, 22, 26, 27, 36, 37, 38, 42, 43, 44, 0]))
        opts = ["-t", lt] + (["--drop"] if rng.random() < 0.3 else [])
        for name, low, high in [("--transfer", 0, 4), ("--edit", 0, 2), ("--phase", -2, 5),
                                ("--foot-phase", 0, 5), ("--frames-per-foot", 15, 17)]:
            if rng.random() < 0.2:
                opts += [name, str(rng.randint(low, high))]
        labels = lambda: rng.choice(["00000000", "001203", "  1203", "01000000", "23595929",
                                     "%08d" % rng.randint(0, 99999999), "123456789"])
        form = rng.randrange(3)
        if form == 0:
            return ["legacy", "timecode"] + opts + ["--"] + [item(rng, lambda: str(sample(rng)))
                                                             for _ in range(2)], None
        if form == 1:
            return ["legacy", "frames"] + opts + ["--"] + [item(rng, labels) for _ in range(2)], None
        opts += ["--digit-flags", str(rng.randint(0, 256))] if rng.random() < 0.2 else []
        if rng.random() < 0.5:
            return ["legacy", "plus"] + opts + ["--", item(rng, labels), str(rng.randint(-5000, 5000))], None
        rows = [item(rng, lambda: labels() + " " + str(rng.randint(-5000, 5000))) for _ in range(3)]
        return ["legacy", "plus"] + opts, stdin_of(rng, rows)
    if kind == 8:
        args = rng.choice(GLOBALS) + ["xlate", "--from", rng.choice(MEDIA), "--to", rng.choice(MEDIA)]
        for name, values in [("--transfer", ["none", "frame", "pulldown", "3", "x"]),
                             ("--sequence", ["0", "2", "-1", "300"]),
                             ("--transfer-rate", RATES), ("--video-medium", MEDIA),
                             ("--precision", ["1", "6", "17", "0"])]:
            if rng.random() < 0.2:
                args += [name, rng.choice(values)]
        args += [f for f in ["--24p-source", "--round-to-frame"] if rng.random() < 0.2]
        positions = [item(rng, lambda: rng.choice([str(rng.uniform(-10, 1000)), str(rng.randint(0, 99)),
                                                   "1e300", "nan", "inf", "1e-320"])) for _ in range(3)]
        return args + ["--"] + positions, None
    if kind == 9:
        args = ["cadence", rng.choice(["24:30i", "24:30p", "24:25i", "24:25p", "48:30i", "48:60p",
                                       "24:29i", "x"])]
        args += ["--sequence", str(rng.randint(-1, 12))] if rng.random() < 0.4 else []
        args += ["--count", str(rng.choice([1, 5, 40, 1001, 0]))] if rng.random() < 0.4 else []
        return args, None
    rate = rng.choice(RATES + ["59.94", "48", "47.952"])
    if kind == 10:
        extra = [f for f in ["--no-wrap", "--native"] if rng.random() < 0.3]
        return ["tc", "text", "--rate", rate] + extra + ["--"] + [
            item(rng, lambda: str(sample(rng))) for _ in range(3)], None
    if kind == 11:
        sub = rng.choice(["frames", "check"])
        extra = ["--any-hours"] if rng.random() < 0.3 else []
        items = [item(rng, lambda: tc_text(rng)) for _ in range(3)]
        if rng.random() < 0.3:
            return ["tc", sub, "--rate", rate] + extra, stdin_of(rng, items)
        return ["tc", sub, "--rate", rate] + extra + ["--"] + items, None
    if kind in (12, 13):
        sub = rng.choice(["add", "duration"])
        other = (lambda: str(rng.randint(-100000, 100000))) if sub == "add" and rng.random() < 0.5 else (
            lambda: tc_text(rng))
        if rng.random() < 0.5:
            return ["tc", sub, "--rate", rate, "--", item(rng, lambda: tc_text(rng)), item(rng, other)], None
        rows = [item(rng, lambda: tc_text(rng) + rng.choice([" ", "\t", "  "]) + other()) for _ in range(3)]
        return ["tc", sub, "--rate", rate], stdin_of(rng, rows)
    if kind == 14:
        args = ["tc", "convert", "--from", rate, "--to", rng.choice(RATES)]
        method = rng.choice([None, "realtime", "frame", "pulldown", "pulldown", "x"])
        args += ["--method", method] if method else []
        if rng.random() < 0.3:
            args += ["--sync", rng.choice(["00:00:00:00=00:00:00:00", "01:00:00:00=01:00:00;00",
                                           "01:00:00:00=01:00:00:00", "x"])]
        return args + ["--"] + [item(rng, lambda: tc_text(rng)) for _ in range(3)], None
    # Any command over hostile lines of standard input.
    base = rng.choice([["print", "-t", t], ["parse", "-t", t], ["span", "-t", t],
                       ["smpte", "-t", t, "--decode"], ["convert", "--from", t, "--to", t],
                       ["types", "--stdin"], ["label", "read"], ["medium", "parse"],
                       ["medium", "fits", "2,1"], ["roll", "read"], ["legacy", "frames", "-t", "8"],
                       ["legacy", "plus", "-t", "1"], ["xlate", "--from", "Film", "--to", "Audio"],
                       ["tc", "check", "--rate", "25"], ["tc", "add", "--rate", "25"],
                       ["pull", "--stock", "F35", "--rate", "29.97", "--sync",
                        "KU2290121234+00=01:00:00:00"]])
    rows = [hostile(rng) for _ in range(3)]
    if rng.random() < 0.2:
        rows.append("0" * rng.randint(1000, 70000))  # a line longer than a read block
    return base, stdin_of(rng, rows)


def tool_calls(rng, tool, count):
    for _ in range(count):
        t = rng.choice(TYPES)
        p = rng.choice(PREFIXES)
        pre = ["-p", p] if p is not None else []
        kind = rng.randrange(10)
        json = ["--json"] if rng.random() < 0.5 else []
        if kind < 6:
            yield json + converter_call(rng, tool, kind, t, p, pre), None
        elif kind == 6:
            s = rng.choice(KEYCODE + TYPES)
            r = rng.choice(RATES)
            sync = label_like(rng, tool, s, "KU229012") + "=" + rng.choice(
                ["01:00:00:00", "01:00:00;00", "00:59:59:23", "bad"])
            frames = [rng.choice(["01:00:00:00", "01:00:00;00", "01:00:01:03", "00:59:59:29",
                                  "10:00:00:00", junk(rng), hostile(rng)]) for _ in range(2)]
            yield json + ["pull", "--stock", s, "--rate", r, "--sync", sync, "--"] + frames, None
        else:
            args, stdin = more_calls(rng, tool, t, p, pre)
            yield json + args, stdin


def python_calls(rng, marlix, count):
    for _ in range(count):
        t = rng.choice(TYPES + [0, 3, 5, 9, 30, 41, 42, -1])
        p = rng.choice(PREFIXES)
        kind = rng.randrange(4)
        try:
            if kind == 0:
                yield repr(marlix.label_text(t, sample(rng), prefix=p))
            elif kind == 1:
                text = rng.choice([junk(rng), "KU2290121234+01", " 01:00:00.00", "01:00:00;02"])
                yield repr(marlix.label_sample(t, text, prefix=p))
            elif kind == 2:
                yield repr(marlix.label_texts(t, [sample(rng) for _ in range(4)], prefix=p))
            else:
                texts = [rng.choice([junk(rng), " 1234+05", " 00:00:01:00"]) for _ in range(3)]
                yield repr(marlix.label_samples(t, texts, prefix=p))
        except Exception as e:  # the refusal is part of the answer
            yield type(e).__name__ + ": " + str(e)


# Documents: edit lists and telecine logs made at random (a share of them
# damaged a character at a time), read, checked, rewritten, converted and
# matched back to film by the tool.
TAPES = ["DAY01", "DAY02", "T3", "LONGTAPE_A", "LONGTAPE_B"]
DOC_RATES = ["23.976", "24", "25", "29.97", "29.97df", "30", "59.94df", "60"]


def tc_of(frames, fps):
    frames = max(0, frames)
    return "%02d:%02d:%02d:%02d" % (frames // (3600 * fps) % 24, frames // (60 * fps) % 60,
                                     frames // fps % 60, frames % fps)


def damaged(rng, text):
    lines = text.split("\n")
    for _ in range(rng.choice([0, 0, 1, 3])):
        k = rng.randrange(len(lines))
        if lines[k]:
            i = rng.randrange(len(lines[k]))
            lines[k] = lines[k][:i] + rng.choice("0123456789:; +-ABCDKMW*\t") + lines[k][i + 1:]
    return "\n".join(lines)


def edl_doc(rng, fps):
    out = ["TITLE: REEL %d" % rng.randint(1, 9)]
    if rng.random() < 0.6:
        out.append(rng.choice(["FCM: NON-DROP FRAME", "FCM: DROP FRAME"]))
    record = 3600 * fps
    for e in range(1, rng.randint(2, 30)):
        reel = rng.choice(TAPES + ["BL", "AX", "DAY0"])
        track = rng.choice(["V", "V", "V", "A", "A2", "AA/V", "B", "A4"])
        start = 3600 * fps * (1 + TAPES.index(reel) if reel in TAPES else 1) + rng.randint(0, 2000)
        length = rng.randint(0, 120)
        how = rng.random()
        if how < 0.15 and e > 1:  # a dissolve or wipe from the tape before
            n = rng.choice([0, 12, 24, 30, 48])
            kind = rng.choice(["D", "W001", "K B"])
            out.append("%03d  %-8s %-5s C        %s %s %s %s" % (
                e, reel, track, tc_of(start, fps), tc_of(start, fps), tc_of(record, fps),
                tc_of(record, fps)))
            out.append("%03d  %-8s %-5s %-4s %03d %s %s %s %s" % (
                e, rng.choice(TAPES), track, kind, n, tc_of(start + 500, fps),
                tc_of(start + 500 + length, fps), tc_of(record, fps), tc_of(record + length, fps)))
        else:
            out.append("%03d  %-8s %-5s C        %s %s %s %s" % (
                e, reel, track, tc_of(start, fps), tc_of(start + length, fps), tc_of(record, fps),
                tc_of(record + length, fps)))
        if rng.random() < 0.1:
            out.append("M2   %-8s %05.1f    %s" % (reel, rng.choice([-24.0, 12.0, 48.0, 0.0, 7.5]),
                                                   tc_of(start, fps)))
        if rng.random() < 0.2:
            out.append(rng.choice(["* FROM CLIP NAME: clip%d" % rng.randint(0, 9),
                                   "* a comment", "AUD  3 4", "SPLIT: AUDIO DELAY= 00:00:00:05"]))
        record += length
    return "\n".join(out) + "\n"


def log_doc(rng, fps, rate):
    film = rng.choice(["35mm, 4 perf"] * 5 + ["35mm, 3 perf", "16mm", "65mm, 5 perf", ""])
    out = ["Heading", "FIELD_DELIM\tTABS", "FILM_FORMAT\t" + film,
           "FPS\t" + rng.choice([rate.replace("df", ""), rate.replace("df", ""), str(fps)]), "",
           "Column", "Name\tTape\tStart\tEnd\tKN Start\tKN End\tPullin\tCamroll\tLabroll\t"
           "Ink Number\tSoundroll\tSound TC", "", "Data"]
    k, keys, broken = 0, [], rng.random() < 0.1
    for tape in rng.sample(TAPES, rng.randint(1, len(TAPES))):
        at = 3600 * fps * (1 + TAPES.index(tape)) - rng.randint(0, 100)
        while at < 3600 * fps * (1 + TAPES.index(tape)) + 2200:
            length = rng.randint(20, 700)
            feet = rng.randint(0, 9000)
            roll = rng.randint(9010, 9013)
            key = "KU 22 %04d %04d+%02d" % (roll, feet, rng.randint(0, 15))
            end = "KU 22 %04d %04d+%02d" % (roll, feet + length * 24 // (16 * fps), rng.randint(0, 15))
            keys.append(key.replace(" ", ""))
            ink = "AB12 %04d+%02d" % (rng.randint(0, 9000), rng.randint(0, 15))
            out.append("\t".join(["clip%d" % k, tape, tc_of(at, fps), tc_of(at + length, fps),
                                  rng.choice([key] * 9 + ["", "KU 22"][:1 + broken]), rng.choice([end, ""]),
                                  rng.choice("AAABXCD "), "A%03d" % rng.randint(1, 4),
                                  "L%02d" % rng.randint(1, 2), rng.choice([ink, ""]),
                                  "S%02d" % rng.randint(1, 3), tc_of(rng.randint(0, 10**6), fps)]))
            at += length + rng.choice([0, 0, 0, 0, 5, -5])
            k += 1
    return "\n".join(out) + "\n", keys


def document_calls(rng, count, folder):
    for _ in range(count):
        rate = rng.choice(DOC_RATES)
        fps = {"23.976": 24, "29.97": 30, "29.97df": 30, "59.94df": 60}.get(rate) or int(rate)
        edl, (log, keys) = edl_doc(rng, fps), log_doc(rng, fps, rate)
        if rng.random() < 0.3:
            edl, log = damaged(rng, edl), damaged(rng, log)
        (folder / "a.edl").write_text(edl)
        (folder / "b.edl").write_text(damaged(rng, edl) if rng.random() < 0.5 else edl_doc(rng, fps))
        (folder / "day.ale").write_text(log)
        (folder / "reels.map").write_text("# reel tape\nAX LONGTAPE_A\nDAY0 DAY01\n")
        json = ["--json"] if rng.random() < 0.3 else []
        kind = rng.randrange(8)
        if kind == 0:
            yield ["edl", "check", "--rate", rate] + json + ["a.edl", "b.edl"]
        elif kind == 1:
            yield ["edl", "show", "--rate", rate] + json + ["a.edl"]
        elif kind == 2:
            yield ["edl", "format", "--rate", rate] + (["--tolerant"] if rng.random() < 0.5 else []) + ["a.edl"]
        elif kind == 3:
            method = rng.choice([None, "frame", "realtime", "pulldown", "pulldown"])
            pairs = {"23.976": "29.97", "29.97": "23.976", "29.97df": "23.976", "24": "30", "30": "24"}
            to = pairs.get(rate, "29.97") if method == "pulldown" and rng.random() < 0.8 else rng.choice(DOC_RATES)
            args = ["edl", "convert", "--rate", rate, "--to", to] + (["--method", method] if method else [])
            if method == "pulldown":
                args += ["--sync", rng.choice(["01:00:00:00=01:00:00:00", "00:59:59:00=01:00:00;00"])]
                if rng.random() < 0.5:
                    args += ["--sources", "keep"]
                else:
                    for reel in TAPES + ["BL", "AX", "DAY0"]:
                        args += ["--reel-sync", reel + "=01:00:00:00=01:00:00:00"]
            yield args + ["a.edl"]
        elif kind == 4:
            sub = rng.choice(["check", "show", "find"])
            stock = ["--stock", rng.choice(["F35", "F16", "F353", "F655_80"])] if rng.random() < 0.3 else []
            if sub == "find":
                key = rng.choice(keys + ["KU229012%04d+%02d" % (rng.randint(0, 2000), rng.randint(0, 15))])
                yield ["log", "find", key, "--log", "day.ale"] + stock + json
            else:
                fmt = rng.choice([[], ["--csv"]] if sub == "show" else [[]])
                yield ["log", sub] + stock + (fmt or json) + ["day.ale"]
        else:
            chosen = rng.choice(["cut", "pull", "missing", "dupe", "optical", "change", "sound",
                                 "audio", "all"])
            args = ["cutlist", "--rate", rate, "--edl", "a.edl", "--log", "day.ale", "--list", chosen]
            for name, values in [("--stock", ["F35", "F16", "F353", "F35_4", "F655_80"]),
                                 ("--transfer", ["24:25"]), ("--reel-map", ["reels.map"]),
                                 ("--leader", ["12+00", "0+08"]), ("--handles", ["0", "3"]),
                                 ("--previous", ["b.edl"]), ("--dissolve-lengths", ["24,48"])]:
                if rng.random() < 0.3 or (name == "--previous" and chosen == "change"):
                    args += [name, rng.choice(values)]
            yield args + rng.choice([[], ["--csv"], ["--json"]])


# The C interface's label-type calls, under their names before and after
# the renames of the type functions.
C_NAMES = {"text": ("marlix_type_text", "marlix_label_text"),
           "sample": ("marlix_type_sample", "marlix_label_sample"),
           "find": ("marlix_type_find", "marlix_label_type_find")}


def c_function(lib, key):
    for name in C_NAMES[key]:
        if hasattr(lib, name):
            return getattr(lib, name)
    raise AttributeError(key)


def c_calls(rng, lib, count):
    lib.marlix_status_text.restype = ctypes.c_char_p
    type_text, type_sample, type_find = (c_function(lib, k) for k in ("text", "sample", "find"))
    out = ctypes.create_string_buffer(64)
    n = ctypes.c_int32()
    drop = ctypes.c_int32()
    for _ in range(count):
        kind = rng.randrange(7)
        t = rng.choice([0, 3, 5, 7, 9, 11, 21, 30, 41, 42, -1, 2**31 - 1])
        p = rng.choice(PREFIXES)
        prefix = p.encode() if p is not None else None
        if kind == 0:
            st = type_text(t, sample(rng), prefix, rng.choice([0, 0, 1]), out, rng.choice([64, 8, 1]))
            yield f"text {st} {out.value!r}"
        elif kind == 1:
            words = rng.choice([junk(rng), "KU2290121234+01", " 01:00:00.00", "01:00:00;02"])
            st = type_sample(t, words.encode(), prefix, rng.choice([0, 0, 1]), ctypes.byref(n))
            yield f"sample {st} {n.value if st == 0 else ''}"
        elif kind == 2:
            st = type_find(rng.choice(TYPES).encode(), ctypes.byref(n))
            yield f"find {st} {n.value if st == 0 else ''}"
        elif kind == 3:
            st = lib.marlix_rate_find(rng.choice(RATES + ["#9", "#31", "#0", "x"]).encode(),
                                      ctypes.byref(n), ctypes.byref(drop))
            yield f"rate {st} {(n.value, drop.value) if st == 0 else ''}"
        elif kind == 4:
            st = lib.marlix_medium_find(rng.choice(["film", "30i", "Audio", "9", "x", ""]).encode(),
                                        ctypes.byref(n))
            yield f"medium {st} {n.value if st == 0 else ''}"
        elif kind == 5:
            st = lib.marlix_cadence_find(rng.choice(["24:30i", "48:25p", "24:29i", ""]).encode(),
                                         ctypes.byref(n))
            yield f"cadence {st} {n.value if st == 0 else ''}"
        else:
            yield "status " + repr(lib.marlix_status_text(rng.choice([0, 3, 8, 33, 41, 99, -5])))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("tool")
    ap.add_argument("package")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--count", type=int, default=400)
    ap.add_argument("--dump")
    ap.add_argument("--check")
    a = ap.parse_args()
    a.tool = str(pathlib.Path(a.tool).resolve())
    records = []
    rng = random.Random(a.seed)
    for args, stdin in tool_calls(rng, a.tool, a.count):
        r = subprocess.run([a.tool] + args, input=stdin or b"", capture_output=True)
        records.append(repr((args, stdin, r.returncode, r.stdout, r.stderr)))
    with tempfile.TemporaryDirectory() as folder:
        rng = random.Random(a.seed)
        for args in document_calls(rng, a.count // 2, pathlib.Path(folder)):
            r = subprocess.run([a.tool] + args, cwd=folder, capture_output=True)
            records.append(repr((args, None, r.returncode, r.stdout, r.stderr)))
    sys.path.insert(0, a.package)
    marlix = importlib.import_module("marlix")
    rng = random.Random(a.seed)
    records += python_calls(rng, marlix, a.count * 5)
    # The C interface of the library beside the tool.
    lib = ctypes.CDLL(str(pathlib.Path(a.tool).resolve().parents[2] / "libmarlix.so"))
    rng = random.Random(a.seed)
    records += c_calls(rng, lib, a.count * 5)
    h = hashlib.sha256()
    for record in records:
        h.update((record + "\n").encode())
    if a.dump:
        text = "".join(r + "\n" for r in records).encode()
        with open(a.dump, "wb") as f:
            if a.dump.endswith(".gz"):  # no time or name in the header: the same answers, the same bytes
                with gzip.GzipFile(filename="", mode="wb", fileobj=f, mtime=0) as z:
                    z.write(text)
            else:
                f.write(text)
    if a.check:
        data = pathlib.Path(a.check).read_bytes()
        text = (gzip.decompress(data) if a.check.endswith(".gz") else data).decode()
        return check(records, text.split("\n")[:-1], a)
    print(h.hexdigest())
    return 0


def check(records, approved, a):
    """Each answer against the approved one; where the first few part."""
    wrong = [k for k in range(max(len(records), len(approved)))
             if k >= len(records) or k >= len(approved) or records[k] != approved[k]]
    for k in wrong[:3]:
        was = approved[k] if k < len(approved) else ""
        now = records[k] if k < len(records) else ""
        at = next((i for i, (x, y) in enumerate(zip(was, now)) if x != y), min(len(was), len(now)))
        start = max(0, at - 60)
        print(f"answer {k + 1} ({now[:80] or was[:80]}...) parts at character {at + 1}:\n"
              f"  approved: ...{was[start:at + 60]}\n  now:      ...{now[start:at + 60]}")
    if wrong:
        print(f"{len(wrong)} of {len(approved)} answers differ from {a.check}. If every change is "
              f"meant, approve them: make approve BUILD=<this build's folder>")
        return 1
    print(f"all {len(records)} answers as approved")
    return 0


if __name__ == "__main__":
    sys.exit(main())
