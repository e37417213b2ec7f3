#!/usr/bin/env python3
"""Every #include between the library's folders runs down the layer order,
and the front ends (the tool, the C interface, the Python module, the
JavaScript binding) reach labels only through the front door: no converter
call, label point or prefix copy of their own.

A file may include what sits in its own folder or in a lower layer; folders
of one layer (the converters and the label values, which use each other)
may include each other. Private headers (detail/) are the library's own:
nothing outside marlix/ may include them, nor anything under internal/.
"""
import pathlib
import re
import sys

# Lowest first. Folders on one line form one layer.
LAYERS = [
    ["base", "export.h", "version.h"],
    ["internal"],
    ["host"],
    ["types"],
    ["medium"],
    ["legacy"],
    ["cvt", "values"],
    ["xlate"],
    ["smpte"],
    ["front"],
    ["edl"],
    ["film"],
    ["entry", "marlix.h"],
    ["capi", "marlix_c.h"],
    ["tools", "python", "web", "fuzz", "bench", "examples", "tests"],
]
LEVEL = {name: i for i, layer in enumerate(LAYERS) for name in layer}
INCLUDE = re.compile(r'^\s*#\s*include\s+"(marlix/[^"]+)"', re.M)

FRONT_ENDS = ("tools", "python", "web", "capi")
# What only the library's own layers do.
WORKS_A_CONVERTER = re.compile(
    r"\blabel_point\b|\bprefix_text\b|\bget_static_label_cvt\b|\bmake_(?:any_)?label_cvt\b"
    r"|\bmake_timecode_label_cvt\b|\blabel_cvt\b|->\s*get_abs_\w+|\bget_abs_\w+\s*\("
    r"|\bnormalise_sample_unit\b|\bget_samples_from_SMPTETc\b|\btemplates\s*\[")


def code_lines(text):
    """Lines without their // comments and string literals."""
    for number, line in enumerate(text.splitlines(), 1):
        line = re.sub(r'"(?:[^"\\]|\\.)*"', '""', line)
        yield number, line.split("//", 1)[0]


def unit(rel):
    """The layer name of a path relative to the repository root."""
    parts = rel.parts
    if parts[0] == "marlix":
        return parts[1]
    return parts[0]


def main(root):
    root = pathlib.Path(root)
    faults = []
    sources = [p for p in root.rglob("*") if p.suffix in (".h", ".cpp", ".c")
               and not any(part.startswith("build") or part == ".git" for part in p.parts)]
    for path in sorted(sources):
        rel = path.relative_to(root)
        src = unit(rel)
        if src in FRONT_ENDS:
            for number, line in code_lines(path.read_text(errors="replace")):
                if WORKS_A_CONVERTER.search(line):
                    faults.append(f"{rel}:{number}: a front end works a converter: {line.strip()}")
        if src not in LEVEL:
            faults.append(f"{rel}: folder '{src}' has no place in the layer order")
            continue
        for target in INCLUDE.findall(path.read_text(errors="replace")):
            dst = unit(pathlib.Path(target))
            if dst not in LEVEL:
                faults.append(f"{rel}: includes {target}, whose folder has no layer")
                continue
            if "/detail/" in target and rel.parts[0] != "marlix":
                faults.append(f"{rel}: includes the library's private {target}")
            if src == "internal" and dst != "internal" and LEVEL[dst] > LEVEL["base"]:
                faults.append(f"{rel}: internal headers include nothing above them: {target}")
            if LEVEL[dst] > LEVEL[src]:
                faults.append(f"{rel}: includes {target}, a higher layer")
            elif LEVEL[dst] == LEVEL[src] and dst != src and len(LAYERS[LEVEL[src]]) == 1:
                faults.append(f"{rel}: includes {target} beside it")
    for f in faults:
        print(f)
    print(f"{len(sources)} files, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
