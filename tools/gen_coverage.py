#!/usr/bin/env python3
"""Print or check the GLU and GLUT tables of docs/coverage.md.

The tables count the functions each header declares against the entries
each library exports (`nm -D`; the lower-case Fortran aliases not counted).
An entry belongs to the function whose name it carries, with a storage or
form suffix or none: fgluScaleImageI4 to gluScaleImage, fglutMouseFuncUcall
to glutMouseFunc. With --check PAGE the page must hold the tables as derived
now, and the OpenGL table as tools/gen_gl.py makes it (one check of the whole
page).

Standard library only.
"""
import argparse
import os
import re
import subprocess
import sys

# GLU: <GL/glu.h> declares each function as GLAPI ... GLAPIENTRY gluX(...);
# freeglut's headers as FGAPI ... FGAPIENTRY glutX(...); or, for the joystick
# functions, without either word. The inline helpers of the Windows build
# (static ..._ATEXIT_HACK(...) { ... }) have bodies and are not functions of
# the library.
PROTOTYPE = re.compile(r"^(?:GLAPI\s+|FGAPI\s+)?(?!static\b)[A-Za-z_][\w\s*]*?\b((?:glu|glut)[A-Z]\w*)\s*\([^;{]*\)\s*;",
                       re.M)
GLU_SUFFIXES = ["C", "Null", "I4", "I2", "I1", "P"]
GLUT_SUFFIXES = ["C", "I4", "Null", "Ucall", "UcallI4"]
GLU_BEGIN, GLU_END = "<!-- GLU table: tools/gen_coverage.py -->", "<!-- end of GLU table -->"
GLUT_BEGIN, GLUT_END = "<!-- GLUT table: tools/gen_coverage.py -->", "<!-- end of GLUT table -->"


def functions(header):
    with open(header) as f:
        return sorted(set(PROTOTYPE.findall(f.read())))


def entries(library, prefix):
    """The entries (not the aliases) a library exports whose names start with prefix."""
    out = subprocess.run(["nm", "-D", "--defined-only", library], check=True, capture_output=True, text=True).stdout
    names = {p[2] for p in map(str.split, out.splitlines()) if len(p) == 3 and p[1] in "TtWi"}
    return sorted(n for n in names if n.startswith(prefix) and not n.endswith("_"))


def classify(entry_names, names, prefix, suffixes):
    """{entry: (function, suffix)}; function None for an entry of its own."""
    result = {}
    for e in entry_names:
        base = e[len(prefix):]
        result[e] = (None, None)
        for s in [""] + sorted(suffixes, key=len, reverse=True):
            if base.endswith(s) and prefix[1:] + base[:len(base) - len(s)] in names:
                result[e] = (prefix[1:] + base[:len(base) - len(s)], s or "unsuffixed")
                break
    return result


def table(title, rows, suffixes):
    """rows: [(label, functions, entries by function and suffix)] as markdown lines."""
    head = [title, "functions", "with entries", "entries", "unsuffixed"] + suffixes
    lines = ["| " + " | ".join(head) + " |", "|" + "---|" * len(head)]
    for label, names, classified in rows:
        mine = [fs for fs in classified.values() if fs[0] in names]
        counts = [len(names), len({f for f, _ in mine}), len(mine)]
        counts += [sum(1 for _, s in mine if s == k) for k in ["unsuffixed"] + suffixes]
        lines.append("| " + " | ".join([label] + [str(c) for c in counts]) + " |")
    return lines


def glu_table(header, library):
    names = set(functions(header))
    classified = classify(entries(library, "fglu"), names, "fglu", GLU_SUFFIXES)
    lines = table("header", [("`<GL/glu.h>` (GLU 1.3)", names, classified)], GLU_SUFFIXES)
    return lines + tail(names, classified)


def glut_table(std_header, ext_header, library):
    std, ext = set(functions(std_header)), set(functions(ext_header))
    classified = classify(entries(library, "fglut"), std | ext, "fglut", GLUT_SUFFIXES)
    lines = table("header", [("`<GL/freeglut_std.h>` (classic GLUT 3.7)", std, classified),
                             ("`<GL/freeglut_ext.h>` (what freeglut adds)", ext, classified)], GLUT_SUFFIXES)
    return lines + tail(std | ext, classified)


def tail(names, classified):
    """The totals, the entries of no function and the functions without entries."""
    own = sorted(e for e, (f, _) in classified.items() if f is None)
    missing = sorted(names - {f for f, _ in classified.values()})
    lines = ["", f"{len(classified)} entries in all."]
    if own:
        lines.append("Entries of no function of the headers: " + ", ".join(f"`{e}`" for e in own) + ".")
    if missing:
        lines.append("Functions without an entry: " + ", ".join(f"`{n}`" for n in missing) + ".")
    return lines


def wrap(begin, lines, end):
    return "\n".join([begin] + lines + [end]) + "\n"


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--glu-header", default="/usr/include/GL/glu.h")
    ap.add_argument("--glut-headers", nargs=2, default=["/usr/include/GL/freeglut_std.h",
                                                        "/usr/include/GL/freeglut_ext.h"])
    ap.add_argument("--fglu", required=True, help="libfglu")
    ap.add_argument("--fglut", required=True, help="libfglut")
    ap.add_argument("--registry", default="/usr/share/khronos-api/gl.xml")
    ap.add_argument("--check", metavar="PAGE", help="check the page instead of printing the tables")
    args = ap.parse_args()
    tables = [wrap(GLU_BEGIN, glu_table(args.glu_header, args.fglu), GLU_END),
              wrap(GLUT_BEGIN, glut_table(*args.glut_headers, args.fglut), GLUT_END)]
    if not args.check:
        print("\n".join(tables), end="")
        return 0
    with open(args.check) as f:
        page = f.read()
    status = 0
    for t, what in zip(tables, ("GLU", "GLUT")):
        if t not in page:
            print(f"{args.check}: the {what} table differs from what the headers and the library give now; "
                  f"regenerate it with tools/gen_coverage.py:\n{t}", file=sys.stderr)
            status = 1
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    import gen_gl
    gen_gl.check_coverage(gen_gl.parse(args.registry), args.check)
    return status


if __name__ == "__main__":
    sys.exit(main())
