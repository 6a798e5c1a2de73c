#!/usr/bin/env python3
"""Checks that the GLU layer exports exactly the expected entries, each with
its Fortran alias (lower case plus one underscore) at the same address.

The expected set is derived here from the function names of <GL/glu.h>:
fgluX for each gluX (fgluXC for the three text functions), the three
...CallbackNull entries, and I4, I2, I1 and P variants of the image
functions (gluScaleImage and the gluBuild...Mipmap... builders).
"""
import argparse
import re
import subprocess
import sys

TEXT = {"gluErrorString", "gluGetString", "gluCheckExtension"}


def expected(header):
    with open(header) as f:
        names = sorted(set(re.findall(r"^GLAPI\b[^;]*?\b(glu\w+)\s*\(", f.read(), re.M)))
    entries = {"fglu" + n[3:] + ("C" if n in TEXT else "") for n in names}
    nulls = {"fglu%sCallbackNull" % k for k in ("Quadric", "Tess", "Nurbs")}
    images = [n for n in names if n == "gluScaleImage" or re.fullmatch(r"gluBuild[123]DMipmap(s|Levels)", n)]
    variants = {"fglu" + n[3:] + s for n in images for s in ("I4", "I2", "I1", "P")}
    return names, entries, nulls, variants


def exported(library):
    out = subprocess.run(["nm", "-D", "--defined-only", library], check=True, capture_output=True, text=True).stdout
    symbols = {}
    for line in out.splitlines():
        parts = line.split()
        if len(parts) == 3 and parts[1] in "TtWi":
            symbols[parts[2]] = parts[0]
    return symbols


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--header", required=True)
    ap.add_argument("--library", required=True)
    a = ap.parse_args()
    names, entries, nulls, variants = expected(a.header)
    failures = []
    for what, got, want in (("GLU functions", len(names), 59), ("entries", len(entries), 59),
                            ("callback removals", len(nulls), 3), ("image variants", len(variants), 28)):
        if got != want:
            failures.append("%s: %d, expected %d" % (what, got, want))
    want = entries | nulls | variants
    symbols = exported(a.library)
    for e in sorted(want):
        if e not in symbols:
            failures.append("missing entry " + e)
        elif symbols.get(e.lower() + "_") != symbols[e]:
            failures.append("%s: alias %s_ missing or at another address" % (e, e.lower()))
    extra = set(symbols) - want - {e.lower() + "_" for e in want}
    extra = {s for s in extra if s.startswith("fglu")}
    for s in sorted(extra):
        failures.append("unexpected export " + s)
    for f in failures:
        print("FAIL:", f)
    print("%d entries checked, each with its alias" % len(want))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
