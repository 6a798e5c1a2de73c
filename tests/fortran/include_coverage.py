#!/usr/bin/env python3
"""Each GLUT include file holds exactly the constants of its header: every
GLUT_ integer constant the header defines is a PARAMETER of the file with the
header's value, and the file defines no GLUT_ name the header lacks.

Usage: include_coverage.py FGLUT_INC STD_HEADER FGLUTX_INC EXT_HEADER
fglut.inc pairs with freeglut_std.h (classic GLUT's constants), fglutx.inc
with freeglut_ext.h (freeglut's additions). The font handles (GLUT_STROKE_ROMAN
...) are addresses in the headers and font codes in fglut.inc; they are
matched by name only. The interface version macros that freeglut_std.h
defines carry freeglut's values, not classic GLUT's, so they belong to
fglutx.inc.
"""
import os
import re
import sys

DEFINE = re.compile(r"^\s*#\s*define\s+(GLUT_\w+)(?:\s+(\S+))?")
INTEGER = re.compile(r"0[xX][0-9A-Fa-f]+|\d+")
PARAMETER = re.compile(r"^\s+PARAMETER\s*\((\w+)\s*=\s*(-?\d+)\)", re.IGNORECASE)
VERSION_MACROS = ("GLUT_API_VERSION", "GLUT_XLIB_IMPLEMENTATION")


def parameters(path):
    with open(path) as f:
        return {m.group(1).upper(): int(m.group(2)) for m in map(PARAMETER.match, f) if m}


def header_constants(path):
    """(integer constants, every GLUT_ name defined) of a header."""
    ints, names = {}, set()
    with open(path) as f:
        for line in f:
            m = DEFINE.match(line)
            if m:
                names.add(m.group(1))
                if m.group(2) and INTEGER.fullmatch(m.group(2)):
                    ints[m.group(1)] = int(m.group(2), 0)
    return ints, names


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    (std_inc, std_h), (ext_inc, ext_h) = sys.argv[1:3], sys.argv[3:5]
    std_ints, std_names = header_constants(std_h)
    ext_ints, ext_names = header_constants(ext_h)
    for n in VERSION_MACROS:
        ext_ints[n] = std_ints.pop(n)
        ext_names.add(n)
        std_names.discard(n)
    if len(std_ints) < 150 or len(ext_ints) < 40:
        sys.exit("only %d and %d GLUT_ constants in %s and %s: not freeglut's headers?"
                 % (len(std_ints), len(ext_ints), std_h, ext_h))
    bad = 0
    for inc, ints, names in ((std_inc, std_ints, std_names), (ext_inc, ext_ints, ext_names)):
        fortran = parameters(inc)
        file = os.path.basename(inc)
        for name, value in sorted(ints.items()):
            if name not in fortran:
                print("missing from %s: %s (%d)" % (file, name, value))
                bad += 1
            elif fortran[name] != value:
                print("%s: header %d, %s %d" % (name, value, file, fortran[name]))
                bad += 1
        for name in sorted(set(fortran) - names):
            print("%s holds %s, which its header does not define" % (file, name))
            bad += 1
        print("%s: %d PARAMETERs, %d integer constants of its header" % (file, len(fortran), len(ints)))
    if bad:
        sys.exit("%d constants missing, different or out of place" % bad)


if __name__ == "__main__":
    main()
