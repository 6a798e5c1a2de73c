#!/usr/bin/env python3
"""Rewrite a fixed-form program that INCLUDEs the layers' files into one that
USEs the modules, as the README tells a user to: every program unit USEs the
modules of the include files the program names, the INCLUDE lines go, and so
do the declarations of the entries (type and EXTERNAL lists lose their FGL...
names).

usage: use_modules.py IN.f OUT.f"""
import re
import sys

MODULES = {"fgl.inc": "FGL", "fglut.inc": "FGLUT", "fglu.inc": "FGLU"}
UNIT = re.compile(r"^      \s*((INTEGER|REAL|LOGICAL|DOUBLE PRECISION)\S*\s+)?"
                  r"(PROGRAM|SUBROUTINE|FUNCTION)\b", re.I)
DECL = re.compile(r"^(      \s*)(INTEGER\*\d|INTEGER|REAL\*\d|REAL|LOGICAL\*\d|LOGICAL|EXTERNAL)(\s+)(.*)$", re.I)


def split_names(text):
    names, depth, cur = [], 0, ""
    for ch in text:
        depth += {"(": 1, ")": -1}.get(ch, 0)
        if ch == "," and depth == 0:
            names.append(cur.strip())
            cur = ""
        else:
            cur += ch
    names.append(cur.strip())
    return names


def convert(lines):
    used = [m for inc, m in MODULES.items()
            if any(re.match(r"^\s+INCLUDE\s+'%s'" % re.escape(inc), l, re.I) for l in lines)]
    out, i = [], 0
    while i < len(lines):
        line = lines[i]
        if line[:1] in "Cc*!":
            out.append(line)
            i += 1
            continue
        if re.match(r"^\s+INCLUDE\s+'fgl", line, re.I):
            i += 1
            continue
        m = None if UNIT.match(line) else DECL.match(line)
        if m and not (i + 1 < len(lines) and lines[i + 1][5:6] not in (" ", "")):
            kept = [n for n in split_names(m.group(4)) if not re.match(r"FGL", n, re.I)]
            if kept:
                out.append("%s%s%s%s\n" % (m.group(1), m.group(2), m.group(3), ", ".join(kept)))
            i += 1
            continue
        out.append(line)
        i += 1
        if UNIT.match(line):
            while i < len(lines) and lines[i][5:6] not in (" ", "") and lines[i][:1] not in "Cc*!":
                out.append(lines[i])
                i += 1
            out += ["      USE %s\n" % m for m in used]
    return out


def main():
    with open(sys.argv[1]) as f:
        lines = f.readlines()
    with open(sys.argv[2], "w") as f:
        f.writelines(convert(lines))


if __name__ == "__main__":
    main()
