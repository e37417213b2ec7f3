#!/usr/bin/env python3
"""The tool, the C interface and the Python module reach labels only through
the front door: no converter call, label point or prefix copy of their own."""
import pathlib
import re
import sys

FRONT_ENDS = ["tools", "python", "marlix/capi"]
# What only the library's own layers do.
FORBIDDEN = re.compile(
    r"\blabel_point\b|\bprefix_text\b|\bget_static_label_cvt\b|\bmake_(?:any_)?label_cvt\b"
    r"|\bmake_timecode_label_cvt\b|\blabel_cvt\b|->\s*get_abs_\w+|\bget_abs_\w+\s*\("
    r"|\bnormalise_sample_unit\b|\bget_samples_from_SMPTETc\b|\btemplates\s*\[")


def code_lines(text):
    """Lines without their // comments and string literals."""
    for number, line in enumerate(text.splitlines(), 1):
        line = re.sub(r'"(?:[^"\\]|\\.)*"', '""', line)
        yield number, line.split("//", 1)[0]


def main(root):
    root = pathlib.Path(root)
    faults = []
    for folder in FRONT_ENDS:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp", ".c"):
                continue
            for number, line in code_lines(path.read_text(errors="replace")):
                if FORBIDDEN.search(line):
                    faults.append(f"{path.relative_to(root)}:{number}: {line.strip()}")
    for f in faults:
        print(f)
    print(f"{len(faults)} places where a front end works a converter itself")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
