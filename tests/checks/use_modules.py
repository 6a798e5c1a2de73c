#!/usr/bin/env python3
"""Rewrite a fixed-form program that INCLUDEs the layers' files into one that
USEs the modules, as docs/checking.md tells a user to: every program unit USEs the
modules of the include files the program names, the INCLUDE lines go, and so
do the declarations of the entries (type and EXTERNAL lists lose their FGL...
names).

usage: use_modules.py IN.f OUT.f"""
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from gen_fortran_include import ALL_FILE, constant_files  # noqa: E402

# The modules that replace each include file of constants: its layer's, and
# all three for the file that includes every other.
MODULES = {f: [layer.upper()] for layer, files in constant_files().items() for f in files}
MODULES[ALL_FILE] = [layer.upper() for layer in constant_files()]
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
    used = []
    for inc, mods in MODULES.items():
        if any(re.match(r"^\s+INCLUDE\s+'%s'" % re.escape(inc), l, re.I) for l in lines):
            used += [m for m in mods if m not in used]
    used.sort(key=list(MODULES[ALL_FILE]).index)
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
