#!/usr/bin/env python3
"""Every GLUT_ integer constant that freeglut's headers define is a PARAMETER
of fglut.inc with the header's value.

Usage: include_coverage.py FGLUT_INC HEADER...
The font handles (GLUT_STROKE_ROMAN ...) are addresses in the headers and
font codes in fglut.inc; they are not integer constants and are not read.
"""
import re
import sys

DEFINE = re.compile(r"^\s*#\s*define\s+(GLUT_\w+)\s+(0[xX][0-9A-Fa-f]+|\d+)\b")
PARAMETER = re.compile(r"^\s+PARAMETER\s*\((\w+)\s*=\s*(-?\d+)\)", re.IGNORECASE)


def main():
    include, headers = sys.argv[1], sys.argv[2:]
    fortran = {}
    with open(include) as f:
        for line in f:
            m = PARAMETER.match(line)
            if m:
                fortran[m.group(1).upper()] = int(m.group(2))
    expected = {}
    for header in headers:
        with open(header) as f:
            for line in f:
                m = DEFINE.match(line)
                if m:
                    expected[m.group(1)] = int(m.group(2), 0)
    if len(expected) < 200:
        sys.exit("only %d GLUT_ constants in %s: not the freeglut headers?" % (len(expected), headers))
    bad = 0
    for name, value in sorted(expected.items()):
        if name not in fortran:
            print("missing from fglut.inc: %s (%d)" % (name, value))
            bad += 1
        elif fortran[name] != value:
            print("%s: header %d, fglut.inc %d" % (name, value, fortran[name]))
            bad += 1
    if bad:
        sys.exit("%d of %d header constants missing or different" % (bad, len(expected)))
    print("%d GLUT_ integer constants of the headers are in fglut.inc" % len(expected))


if __name__ == "__main__":
    main()
