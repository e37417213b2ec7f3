#!/usr/bin/env python3
"""Every command of the marlix tool under --json, fed hostile input: each line
of standard output must be strict UTF-8 holding one JSON object, an item's
"input" must give back the bytes it was given, and members keep their JSON
types. usage: json_test.py MARLIX_BINARY"""
import json
import random
import subprocess
import sys

tool = sys.argv[1]
rng = random.Random(7)
HOSTILE = [b"ab\xffcd", b"\xef\xbb\xbf01:00:00:00", b"\x01\x1b[0m\x7f\xc2\x85", b'q"uo\\te\\',
           b"\xed\xa0\x80", b"\xc0\xaf", b"\xe2\x82", b"\xf4\x90\x80\x80", b"\xe2\x80\xa8\xc3\xa9",
           bytes(rng.randint(1, 255) for _ in range(64)), b"7" * 100000]

KEEP = b"LABEL_REV:1 pal_label  10:00:00.00 250 0.0400000000 1"
SYNC = b"KU2290121234+00=01:00:00:00"
# Each command form: its arguments before the items.
FORMS = [
    [b"types"], [b"types", b"--stdin"], [b"print", b"-t", b"P"], [b"parse", b"-t", b"F35"],
    [b"smpte", b"-t", b"ND"], [b"smpte", b"-t", b"ND", b"--decode"], [b"span", b"-t", b"P"],
    [b"convert", b"--from", b"F35", b"--to", b"foot_35_label"], [b"label", b"read"],
    [b"label", b"at", KEEP], [b"label", b"at", KEEP, b"--position"], [b"medium", b"parse"],
    [b"medium", b"fits", b"13,1"], [b"roll", b"read"], [b"legacy", b"timecode", b"-t", b"1"],
    [b"legacy", b"frames", b"-t", b"8"], [b"legacy", b"plus", b"-t", b"1"],
    [b"xlate", b"--from", b"Film", b"--to", b"Audio"], [b"tc", b"text", b"--rate", b"25"],
    [b"tc", b"frames", b"--rate", b"25"], [b"tc", b"check", b"--rate", b"29.97df"],
    [b"tc", b"add", b"--rate", b"25"], [b"tc", b"duration", b"--rate", b"25"],
    [b"tc", b"convert", b"--from", b"24", b"--to", b"25"],
    [b"pull", b"--stock", b"F35", b"--rate", b"29.97", b"--sync", SYNC],
]
PAIRED = {b"span", b"add", b"duration", b"plus"}
# Commands that answer once, with hostile option values.
SINGLE = [[b"types", b"--default"], [b"template", b"-t", b"P"], [b"medium", b"list"],
          [b"medium", b"from-format", b"--scan", b"p", b"--rate", b"25"], [b"cadence", b"24:30i"]]
SINGLE += [[b"label", b"write", b"-t", b"F35", b"--start", b"0", b"-p", h] for h in HOSTILE]
SINGLE += [[b"roll", b"write", b"2,1", b"--reel", h] for h in HOSTILE]
SINGLE += [[b"label", b"write", b"-t", b"P", b"--start", h] for h in HOSTILE]

failures = []


def run(args, stdin=b""):
    """The JSON objects marlix --json ARGS writes; a failure noted per bad line."""
    r = subprocess.run([tool, "--json"] + args, input=stdin, capture_output=True)
    name = b" ".join(args)[:80]
    if r.returncode not in (0, 1, 2):
        failures.append(f"{name}: status {r.returncode}")
    if r.stdout and not r.stdout.endswith(b"\n"):
        failures.append(f"{name}: output does not end a line")
    objects = []
    for line in r.stdout.split(b"\n")[:-1]:
        try:
            obj = json.loads(line.decode("utf-8", "strict"))
        except ValueError as e:
            failures.append(f"{name}: {line[:80]!r}: {e}")
            continue
        if not isinstance(obj, dict):
            failures.append(f"{name}: not an object: {line[:80]!r}")
        objects.append(obj)
    return objects


def restored(text):
    return text.encode("utf-8", "surrogateescape")


for form in FORMS:
    paired = bool(PAIRED.intersection(form[:2]))
    operands = HOSTILE[:2] if paired else HOSTILE
    # Each item's input comes back byte for byte.
    objects = run(form + operands)  # no item starts with "-"
    got = [[restored(x) for x in o.get("input", [])] if paired else restored(o.get("input", ""))
           for o in objects]
    want = [operands] if paired else operands
    if got != want:
        failures.append(f"{b' '.join(form)}: inputs {got!r:.200} for {want!r:.200}")
    lines = b"\n".join(b" ".join(rng.sample(HOSTILE, 2)) if paired else h for h in HOSTILE)
    run(form, lines + b"\r\n" + lines.replace(b"\n", b"\r"))
for args in SINGLE:
    run(args)
# Lists of hostile lines (reels, comments, clip names): each finding and
# edit is one strict object, and the edits' reels come back as the
# ISO-8859-1 text such a list is read as.
reels = [bytes(b"_"[0] if c in b" \t\r\n\v\f" else c for c in h) for h in HOSTILE[:-1]
         if not h[:1].isdigit()]
edl_list = b"\n".join(b"%03d %s V C 01:00:00:00 01:00:01:00 01:00:%02d:00 01:00:%02d:00\n* FROM CLIP NAME: %s\n%s"
                       % (n + 1, r, n, n + 1, r, r) for n, r in enumerate(reels))
run([b"edl", b"check", b"--rate", b"25", b"-"], edl_list)
shown = [restored(o["reel"]) for o in run([b"edl", b"show", b"--rate", b"25", b"-"], edl_list)]
if shown != [r.decode("latin-1").encode("utf-8") for r in reels]:
    failures.append(f"edl show: reels {shown!r:.200}")

# Telecine logs of hostile names, tapes and key numbers, and a list cut
# from them: each finding, clip and list row is one strict object.
import os
import tempfile
with tempfile.NamedTemporaryFile(suffix=".ale", delete=False) as ale:
    ale.write(b"Heading\nFILM_FORMAT\t35mm\nFPS\t25\nColumn\nName\tTape\tStart\tEnd\tKN Start\tCamroll\n"
              b"Data\n" + b"".join(b"%s\t%s\t0%d:00:00:00\t0%d:00:10:00\t%s\t%s\n" % (h[:200], r[:200], n, n, h[:40], h[:200])
                                  for n, (h, r) in enumerate(zip(HOSTILE, reels))))
try:
    run([b"log", b"check", ale.name.encode()])
    run([b"log", b"show", ale.name.encode()])
    run([b"cutlist", b"--rate", b"25", b"--list", b"all", b"--edl", b"-", b"--log", ale.name.encode()], edl_list)
finally:
    os.unlink(ale.name)

# JSON types: (arguments, member, type).
TYPES = [
    ([b"parse", b"-t", b"P", b"01:00:00.00"], "sample", int),
    ([b"span", b"-t", b"P", b"00:00:00.00", b"00:00:01.00"], "sample", int),
    ([b"smpte", b"-t", b"ND", b"--decode", b"0x00010042"], "drop", bool),
    ([b"smpte", b"-t", b"ND", b"--decode", b"0x00010042"], "count", int),
    ([b"tc", b"frames", b"--rate", b"25", b"01:00:00:00"], "frames", int),
    ([b"tc", b"check", b"--rate", b"25", b"01:00:00:00"], "ok", bool),
    ([b"tc", b"check", b"--rate", b"25", b"01:00:00;00"], "ok", bool),
    ([b"types", b"P"], "value", int),
    ([b"types"], "tv_drop", bool),
    ([b"medium", b"list"], "progressive", bool),
    ([b"medium", b"list"], "sample_duration", (int, float)),
    ([b"medium", b"fits", b"13,1", b"15,2"], "fits", bool),
    ([b"label", b"read", KEEP], "bounded", bool),
    ([b"label", b"read", KEEP], "pitch", float),
    ([b"xlate", b"--from", b"Film", b"--to", b"Audio", b"1"], "position", (int, float)),
    ([b"pull", b"--stock", b"F35", b"--rate", b"29.97", b"--sync", SYNC, b"01:00:00:02"], "split",
     bool),
    ([b"legacy", b"frames", b"-t", b"8", b"001203"], "frame", int),
]
for args, key, kind in TYPES:
    for obj in run(args):
        if not isinstance(obj.get(key), kind) or (kind is int and isinstance(obj[key], bool)):
            failures.append(f"{b' '.join(args)}: {key} is {obj.get(key)!r}")

for f in failures:
    print("FAIL", f)
print(f"{len(failures)} failures")
sys.exit(1 if failures else 0)
