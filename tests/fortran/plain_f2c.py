#!/usr/bin/env python3
"""Programs that include only the files they use translate with plain f2c.

Usage:
  plain_f2c.py programs F2C INCLUDE_DIR SOURCE...
      Every SOURCE translates with `f2c SOURCE` (no -N option: f2c's default
      tables, 802 names) without an error, and each of its program units
      includes every file of constants whose names it uses and none whose
      names it does not use.
  plain_f2c.py headroom F2C INCLUDE_DIR
      Every file of constants translates alone with plain f2c; prints the
      names each file declares and how many more names a routine may
      declare beside the usual combinations. fglall.inc translates with the
      -Nn option its head gives.
"""
import os
import re
import subprocess
import sys
import tempfile

TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools")
sys.path.insert(0, TOOLS)
from gen_fortran_include import ALL_FILE, FUNCTION_FILES, constant_files  # noqa: E402

INCLUDE = re.compile(r"^\s+INCLUDE\s+'([^']+)'", re.I)
PARAMETER = re.compile(r"^\s+PARAMETER\s*\((\w+)\s*=", re.I)
NAME = re.compile(r"\bGLU?T?_\w+", re.I)


def translate(f2c, inc, source, options=()):
    """(ok, output) of f2c on source; ok when it exits 0 and prints no error."""
    with tempfile.TemporaryDirectory() as work:
        r = subprocess.run([f2c, *options, "-I" + inc, "-d" + work, source],
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    errors = [l for l in r.stdout.splitlines() if re.match(r"(Compiler )?[Ee]rror", l)]
    return r.returncode == 0 and not errors, r.stdout


def declared(inc):
    """The PARAMETER names of each file of constants, upper case."""
    names = {}
    for files in constant_files().values():
        for f in files:
            with open(os.path.join(inc, f)) as text:
                names[f] = {m.group(1).upper() for m in map(PARAMETER.match, text) if m}
    return names


def units(path):
    """(first line number, lines) of each program unit of a fixed-form file."""
    out, cur, start = [], [], 1
    with open(path) as f:
        for number, line in enumerate(f, 1):
            if line[:1] in "Cc*!" or not line.strip():
                continue
            if not cur:
                start = number
            cur.append(line)
            label = line[:5].strip()  # columns 1-5; the statement starts in 7
            if line[6:].strip().upper() == "END" and (not label or label.isdigit()):
                out.append((start, cur))
                cur = []
    return out


def check_includes(path, names):
    """What is wrong with the INCLUDE lines of each unit of path."""
    faults = []
    for start, lines in units(path):
        included = set()
        for l in lines:
            m = INCLUDE.match(l)
            if m:
                f = m.group(1)
                included |= set(constant_files()["fgl"] + constant_files()["fglut"]
                                + constant_files()["fglu"]) if f == ALL_FILE else {f}
        used = set()
        for l in lines:
            if INCLUDE.match(l):
                continue
            code = re.sub(r"'[^']*'", "", l[6:72])  # not text in quotes
            used |= {n.upper() for n in NAME.findall(code)}
        where = "%s, unit at line %d" % (os.path.basename(path), start)
        for f, declares in names.items():
            mine = used & declares
            if mine and f not in included:
                faults.append("%s uses %s of %s without including it"
                              % (where, ", ".join(sorted(mine)), f))
            if f in included and not mine:
                faults.append("%s includes %s and uses none of its names" % (where, f))
    return faults


def programs(f2c, inc, sources):
    names = declared(inc)
    faults = []
    for src in sources:
        ok, out = translate(f2c, inc, src)
        if not ok:
            faults.append("f2c %s failed:\n%s" % (os.path.basename(src), out))
        faults += check_includes(src, names)
    for f in faults:
        print(f)
    if faults:
        sys.exit("%d faults in %d programs" % (len(faults), len(sources)))
    print("%d programs translate with plain f2c and include only what they use" % len(sources))


def headroom(f2c, inc, files, options=()):
    """How many names a routine that includes files may declare besides
    under plain f2c: -1 if it cannot include them."""
    def fits(k):
        with tempfile.TemporaryDirectory() as work:
            path = os.path.join(work, "room.f")
            with open(path, "w") as f:
                f.write("      SUBROUTINE ROOM\n")
                f.writelines("      INCLUDE '%s'\n" % n for n in files)
                f.writelines("      INTEGER*4 N%d\n" % i for i in range(k))
                f.write("      END\n")
            return translate(f2c, inc, path, options)[0]
    if not fits(0):
        return -1
    low, high = 0, 2000
    while low < high:
        mid = (low + high + 1) // 2
        low, high = (mid, high) if fits(mid) else (low, mid - 1)
    return low


def report(f2c, inc):
    empty = headroom(f2c, inc, [])
    layers = constant_files()
    rows = [[f] for files in layers.values() for f in files] + [[f] for f in FUNCTION_FILES]
    rows += [["fgl.inc", "fglut.inc"], ["fgl.inc", "fglut.inc", "fglfn.inc", "fglutfn.inc"],
             ["fgl.inc", "fglu.inc", "fglfn.inc", "fglufn.inc"], layers["fgl"][:4],
             layers["fgl"][:4] + ["fglut.inc", "fglfn.inc", "fglutfn.inc"],
             # routines of a shader program: shaders, buffers, framebuffers
             ["fgl.inc", "fgl15.inc", "fgl20.inc", "fglfn.inc", "fglfn33.inc"],
             ["fgl.inc", "fgl30.inc", "fgl31.inc", "fglfn.inc", "fglfn33.inc"],
             # compute: shader storage, images and barriers, named buffers
             ["fgl.inc", "fgl43.inc", "fgl45.inc", "fglfn.inc", "fglfn33.inc", "fglfn46.inc"],
             layers["fgl"]]
    bad = 0
    print("%-58s %6s %8s" % ("files included by one routine", "names", "headroom"))
    for files in rows:
        room = headroom(f2c, inc, files)
        print("%-58s %6s %8s" % (" + ".join(files), empty - room if room >= 0 else "-",
                                 room if room >= 0 else "over"))
        if len(files) == 1 and room < 0:
            bad += 1
            print("  %s alone does not translate with plain f2c" % files[0])
    with open(os.path.join(inc, ALL_FILE)) as f:
        option = re.search(r"f2c (-Nn\d+)", f.read())
    if not option:
        bad += 1
        print("%s does not say which -Nn option f2c needs" % ALL_FILE)
    else:
        room = headroom(f2c, inc, [ALL_FILE], [option.group(1)])
        print("%s with f2c %s: headroom %d" % (ALL_FILE, option.group(1), room))
        if room < 0:
            bad += 1
    print("(an empty routine under plain f2c: %d names free of 802)" % empty)
    if bad:
        sys.exit("%d faults" % bad)


def main():
    if len(sys.argv) < 4 or sys.argv[1] not in ("programs", "headroom"):
        sys.exit(__doc__)
    mode, f2c, inc = sys.argv[1:4]
    if mode == "programs":
        programs(f2c, inc, sys.argv[4:])
    else:
        report(f2c, inc)


if __name__ == "__main__":
    main()
