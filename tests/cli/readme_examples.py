#!/usr/bin/env python3
"""Runs every `$ marlix ...` example of the README's shell blocks and
compares what it prints with the lines shown under it: standard output, and
the lines beginning "marlix: " as standard error. An example shown without
output must still succeed or fail item by item (exit status 0 or 1).

usage: readme_examples.py MARLIX_BINARY README"""

import os
import re
import subprocess
import sys


def examples(text):
    """(line number, command, expected lines) of each example."""
    in_block = False
    lines = text.split("\n")
    i = 0
    while i < len(lines):
        line = lines[i]
        if line.startswith("```"):
            in_block = line == "```sh" and not in_block
            i += 1
            continue
        if not (in_block and line.startswith("$ ")):
            i += 1
            continue
        start = i + 1
        command = re.sub(r"\s{2,}# .*$", "", line[2:])
        while command.endswith("\\") or command.endswith("|"):
            i += 1
            command += "\n" + lines[i]
        i += 1
        expected = []
        while i < len(lines) and not lines[i].startswith("$ ") and lines[i] != "```":
            expected.append(lines[i])
            i += 1
        if re.match(r"(marlix |printf .*\| *\n? *marlix )", command, re.S):
            yield start, command, expected


def main():
    marlix, readme = sys.argv[1], sys.argv[2]
    env = dict(os.environ, PATH=os.path.dirname(os.path.abspath(marlix)) + ":" + os.environ["PATH"])
    with open(readme, encoding="utf-8") as f:
        found = list(examples(f.read()))
    failed = 0
    for line, command, expected in found:
        # Examples name files of the repository (examples/...) from its root.
        run = subprocess.run(["bash", "-c", command], env=env, capture_output=True, text=True,
                             cwd=os.path.dirname(os.path.abspath(readme)))
        out, err = run.stdout.splitlines(), run.stderr.splitlines()
        shown_out = [e for e in expected if not e.startswith("marlix: ")]
        shown_err = [e for e in expected if e.startswith("marlix: ")]
        if expected:
            good = out == shown_out and err == shown_err
        else:
            good = run.returncode in (0, 1) and not err
        if not good:
            failed += 1
            print(f"README line {line}: {command}")
            print("  shown:  " + repr(expected))
            print(f"  status {run.returncode}, printed: {out!r}, on standard error: {err!r}")
    print(f"{len(found) - failed} of {len(found)} README examples agree")
    return 1 if failed or not found else 0


if __name__ == "__main__":
    sys.exit(main())
