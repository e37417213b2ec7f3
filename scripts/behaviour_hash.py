#!/usr/bin/env python3
"""Hashes what the marlix tool and Python module answer over a seeded random
corpus of calls, so that two builds can be compared: the same seed gives the
same corpus, and equal hashes mean equal answers (outputs, messages and exit
statuses).

usage: behaviour_hash.py MARLIX_TOOL PYTHON_PACKAGE_DIR [--seed N] [--count N] [--dump FILE]
"""
import argparse
import hashlib
import importlib
import random
import subprocess
import sys

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


def tool_calls(rng, tool, count):
    for _ in range(count):
        t = rng.choice(TYPES)
        p = rng.choice(PREFIXES)
        pre = ["-p", p] if p is not None else []
        kind = rng.randrange(9)
        json = ["--json"] if rng.random() < 0.2 else []
        if kind == 0:
            extra = rng.choice([[], ["--normalise"], ["--flags", str(rng.randint(0, 16))]])
            yield json + ["print", "-t", t] + pre + extra + ["--"] + [str(sample(rng)) for _ in range(3)]
        elif kind == 1:
            texts = [label_like(rng, tool, t, p) for _ in range(2)] + [junk(rng)]
            extra = ["--packed"] if rng.random() < 0.2 else []
            yield json + ["parse", "-t", t] + pre + extra + ["--"] + texts
        elif kind == 2:
            yield json + ["span", "-t", t, "--", label_like(rng, tool, t, p), label_like(rng, tool, t, p)]
        elif kind == 3:
            if rng.random() < 0.5:
                yield json + ["smpte", "-t", t, "--"] + [str(sample(rng)) for _ in range(2)]
            else:
                words = [hex(rng.getrandbits(32)), str(rng.getrandbits(31)), junk(rng)]
                yield json + ["smpte", "-t", t, "--decode", "--"] + words
        elif kind == 4:
            yield json + ["template", "-t", t]
        elif kind in (5, 6):
            a, b = rng.choice(TYPES + KEYCODE * 3), rng.choice(TYPES + KEYCODE * 3)
            texts = [label_like(rng, tool, a, p) for _ in range(2)] + [junk(rng)]
            yield json + ["convert", "--from", a, "--to", b] + pre + ["--"] + texts
        elif kind == 7:
            s = rng.choice(KEYCODE + TYPES)
            r = rng.choice(RATES)
            sync = label_like(rng, tool, s, "KU229012") + "=" + rng.choice(
                ["01:00:00:00", "01:00:00;00", "00:59:59:23", "bad"])
            frames = [rng.choice(["01:00:00:00", "01:00:00;00", "01:00:01:03", "00:59:59:29",
                                  "10:00:00:00", junk(rng)]) for _ in range(2)]
            yield json + ["pull", "--stock", s, "--rate", r, "--sync", sync, "--"] + frames
        else:
            yield json + ["types"] + [rng.choice(TYPES) for _ in range(3)]


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


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("tool")
    ap.add_argument("package")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--count", type=int, default=400)
    ap.add_argument("--dump")
    a = ap.parse_args()
    h = hashlib.sha256()
    dump = open(a.dump, "w") if a.dump else None
    rng = random.Random(a.seed)
    for args in tool_calls(rng, a.tool, a.count):
        r = subprocess.run([a.tool] + args, capture_output=True)
        record = repr((args, r.returncode, r.stdout, r.stderr)) + "\n"
        h.update(record.encode())
        if dump:
            dump.write(record)
    sys.path.insert(0, a.package)
    marlix = importlib.import_module("marlix")
    rng = random.Random(a.seed)
    for answer in python_calls(rng, marlix, a.count * 5):
        h.update(answer.encode())
        if dump:
            dump.write(answer + "\n")
    print(h.hexdigest())


if __name__ == "__main__":
    main()
