#!/usr/bin/env python3
"""Compile-only tests of call checking, table-driven.

  check_calls.py mistakes  ...  the common mistakes and a correct program,
                                each compiled with and without the checks by
                                gfortran, f2c and Flang: the checks report
                                the mistakes, nothing reports the correct one
  check_calls.py examples  ...  the example programs: f2c with the prototype
                                files, and gfortran and Flang with the modules
                                (each program rewritten to USE them), are silent
  check_calls.py coverage  ...  every export with a Fortran name (nm) has a
                                prototype and, by name, an interface in the
                                modules, and nothing else has one

Prints one line per case and closes with "N passed, N failed"."""
import argparse
import os
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import use_modules  # noqa: E402

# The mistakes, each as a fixed-form unit with the include files and as a
# free-form unit with the modules.
MISTAKES = [
    ("integer literal for REAL",
     "      SUBROUTINE DRAW\n      INCLUDE 'fgl.inc'\n      CALL FGLCOLOR3F(1, 0, 0)\n      END\n",
     "subroutine draw\n  use fgl\n  call fglColor3f(1, 0, 0)\nend subroutine\n"),
    ("REAL for DOUBLE PRECISION",
     "      SUBROUTINE PROJ\n      INCLUDE 'fgl.inc'\n"
     "      CALL FGLORTHO(-1.0, 1.0, -1.0, 1.0, -1.0, 1.0)\n      END\n",
     "subroutine proj\n  use fgl\n  call fglOrtho(-1.0, 1.0, -1.0, 1.0, -1.0, 1.0)\nend subroutine\n"),
    ("function result undeclared",
     "      SUBROUTINE SIZE(W)\n      INCLUDE 'fglut.inc'\n"
     "      W = FGLUTGET(GLUT_WINDOW_WIDTH)\n      END\n",
     "subroutine size(w)\n  use fglut\n  w = fglutGet(GLUT_WINDOW_WIDTH)\nend subroutine\n"),
    ("function result declared REAL",
     "      SUBROUTINE SIZE(W)\n      INCLUDE 'fglut.inc'\n      REAL FGLUTGET\n"
     "      W = FGLUTGET(GLUT_WINDOW_WIDTH)\n      END\n",
     "subroutine size(w)\n  use fglut\n  real fglutGet\n  w = fglutGet(GLUT_WINDOW_WIDTH)\nend subroutine\n"),
    ("argument missing",
     "      SUBROUTINE DRAW\n      INCLUDE 'fgl.inc'\n      CALL FGLVERTEX3F(1.0, 2.0)\n      END\n",
     "subroutine draw\n  use fgl\n  call fglVertex3f(1.0, 2.0)\nend subroutine\n"),
    ("correct calls",
     "      SUBROUTINE DRAW(W)\n      INCLUDE 'fgl.inc'\n      INCLUDE 'fglut.inc'\n"
     "      INTEGER*4 FGLUTGET, FGLGETERROR, W, IV(4)\n"
     "      INTEGER*2 S(4)\n      CALL FGLCOLOR3F(1.0, 0.0, 0.0)\n"
     "      CALL FGLORTHO(-1D0, 1D0, -1D0, 1D0, -1D0, 1D0)\n"
     "      W = FGLUTGET(GLUT_WINDOW_WIDTH) + FGLGETERROR()\n"
     "      CALL FGLGETINTEGERV(GL_VIEWPORT, IV)\n"
     "      CALL FGLDRAWPIXELS(2, 2, GL_RGBA, GL_SHORT, S)\n"
     "      CALL FGLUTSOLIDTORUS(0.5D0, 1D0, 8, 8)\n      END\n",
     "subroutine draw(w)\n  use fgl\n  use fglut\n  integer(4) :: w, iv(4)\n  integer(2) :: s(4)\n"
     "  real(4) :: f(4)\n  call fglColor3f(1.0, 0.0, 0.0)\n"
     "  call fglOrtho(-1d0, 1d0, -1d0, 1d0, -1d0, 1d0)\n"
     "  w = fglutGet(GLUT_WINDOW_WIDTH) + fglGetError()\n"
     "  call fglGetIntegerv(GL_VIEWPORT, iv)\n  call fglGetIntegerv(GL_MATRIX_MODE, w)\n"
     "  call fglDrawPixels(2, 2, GL_RGBA, GL_SHORT, s)\n  call fglDrawPixels(2, 2, GL_RGBA, GL_FLOAT, f)\n"
     "  call fglutSolidTorus(0.5d0, 1d0, 8, 8)\nend subroutine\n"
     # Item data of any rank, an entry passed as a routine, INTEGER*4 flags.
     "subroutine shapes(q, t)\n  use fgl\n  use fglu\n  integer(4) :: q, t, img(3, 4, 4), ierr\n"
     "  real(8) :: m(4, 4)\n  call fglTexImage2DI4(GL_TEXTURE_2D, 0, GL_RGB, 4, 4, 0, GL_RGB,"
     " GL_UNSIGNED_BYTE, img, 48)\n"
     "  ierr = fgluBuild2DMipmapsI4(GL_TEXTURE_2D, 3, 4, 4, GL_RGB, GL_UNSIGNED_BYTE, img, 48)\n"
     "  call fglLoadMatrixd(m)\n  call fglVertex3dv(m(1, 2))\n"
     "  call fgluTessCallback(t, GLU_TESS_VERTEX, fglVertex3dv)\n"
     "  call fgluQuadricTexture(q, GL_TRUE)\n  call fglDepthMask(GL_FALSE)\nend subroutine\n"),
]
# What each compiler, with its checks, is to report for each case; without
# them every compiler accepts every case (the mistakes go unnoticed).
EXPECTED = {
    "integer literal for REAL": ("error", "error", "warning"),
    "REAL for DOUBLE PRECISION": ("error", "error", "warning"),
    "function result undeclared": ("clean", "clean", "warning"),
    "function result declared REAL": ("error", "error", "warning"),
    "argument missing": ("error", "error", "warning"),
    "correct calls": ("clean", "clean", "clean"),
}
# gfortran and f2c print "Error"/"Warning"; Flang "error:"/"warning:".
DIAGNOSTIC = re.compile(r"\b(Error|Warning|error|warning)\b")


class Tools:
    def __init__(self, a):
        self.a = a
        self.tmp = tempfile.mkdtemp(prefix="fgl_checks_")

    def run(self, cmd, cwd=None):
        p = subprocess.run(cmd, capture_output=True, text=True, cwd=cwd or self.tmp)
        return p.returncode, p.stdout + p.stderr

    def write(self, name, text):
        path = os.path.join(self.tmp, name)
        with open(path, "w") as f:
            f.write(text)
        return path

    def gfortran(self, src, modules):
        work = tempfile.mkdtemp(dir=self.tmp)
        flags = ["-I" + os.path.join(self.a.modules, "gfortran"), "-J" + work] if modules else \
            ["-std=legacy", "-I" + self.a.inc]
        return self.run([self.a.gfortran, "-c"] + flags + [src, "-o", os.path.join(work, "x.o")], cwd=work)

    def flang(self, src, modules):
        work = tempfile.mkdtemp(dir=self.tmp)
        flags = ["-I" + os.path.join(self.a.modules, "flang")] if modules else ["-I" + self.a.inc]
        return self.run([self.a.flang, "-c"] + flags + ["-module-dir", work, src, "-o",
                                                         os.path.join(work, "x.o")], cwd=work)

    def f2c(self, src, prototypes):
        work = tempfile.mkdtemp(dir=self.tmp)
        pfiles = [os.path.join(self.a.prototypes, l + ".P") for l in ("fgl", "fglut", "fglu")] \
            if prototypes else []
        return self.run([self.a.f2c, "-Nn1604", "-Nx2000", "-I" + self.a.inc, "-d" + work, src] + pfiles)


def outcome(rc, out, compiler):
    if rc != 0:
        return "error"
    lines = [l for l in out.splitlines() if DIAGNOSTIC.search(l)]
    if compiler == "f2c":
        lines = [l for l in lines if l.startswith("Warning")]
    return "warning" if lines else "clean"


def report(results):
    failed = [r for r in results if not r[0]]
    for ok, what, got, out in results:
        print("%s  %s: %s" % ("ok  " if ok else "FAIL", what, got))
        if not ok:
            print("      " + "\n      ".join(out.strip().splitlines()[:8]))
    print("%d passed, %d failed" % (len(results) - len(failed), len(failed)))
    return 1 if failed else 0


def mistakes(t):
    results = []
    for i, (what, fixed, free) in enumerate(MISTAKES):
        f77 = t.write("case%d.f" % i, fixed)
        f90 = t.write("case%d.f90" % i, free)
        want = EXPECTED[what]
        runs = [("gfortran", t.gfortran), ("flang", t.flang), ("f2c", t.f2c)]
        for (name, fn), expect in zip(runs, want):
            if name == "flang" and not t.a.flang:
                continue
            rc, out = fn(f77, False)
            got = outcome(rc, out, name)
            results.append((got == "clean", "%s, %s without checks" % (what, name), got, out))
            rc, out = fn(f77 if name == "f2c" else f90, True)
            got = outcome(rc, out, name)
            ok = got == expect or (expect == "warning" and got == "warning")
            results.append((ok, "%s, %s with checks (want %s)" % (what, name, expect),
                            got + ": " + first_diagnostic(out), out))
    return report(results)


def first_diagnostic(out):
    for l in out.splitlines():
        if re.search(r"Error|error:|inconsistent|mismatch|not compatible", l) and "Semantic errors" not in l:
            return l.strip()[:110]
    return ""


def examples(t):
    results = []
    for src in t.a.sources + t.a.module_sources:
        base = os.path.basename(src)
        if src.endswith(".f") and src in t.a.sources:
            rc, out = t.f2c(src, True)
            got = outcome(rc, out, "f2c")
            results.append((got == "clean", "%s, f2c with prototypes" % base, got, out))
        if src.endswith(".f"):
            converted = os.path.join(t.tmp, "use_" + base)
            with open(src) as f:
                lines = use_modules.convert(f.readlines())
            with open(converted, "w") as f:
                f.writelines(lines)
            src = converted
        for name, fn in (("gfortran", t.gfortran), ("flang", t.flang)):
            if name == "flang" and not t.a.flang:
                continue
            rc, out = fn(src, True)
            got = outcome(rc, out, name)
            results.append((got == "clean", "%s, %s with modules" % (base, name), got, out))
    return report(results)


def exported(libs):
    """Fortran names (fgl..._) exported by each library, by the library's
    layer (libfgl.so: fgl)."""
    names = {}
    for lib in libs:
        layer = re.match(r"lib(\w+)\.so", os.path.basename(lib)).group(1)
        out = subprocess.run(["nm", "-D", "--defined-only", lib], capture_output=True, text=True,
                             check=True).stdout
        names[layer] = {l.split()[-1] for l in out.splitlines() if re.search(r"\bfgl\w*_$", l)}
    return names


def within_columns(names, width):
    """The names in groups whose list fits in `width` columns (free form
    allows 132; the longest names of OpenGL 3.3 do not fit three to a line)."""
    groups, current = [], []
    for n in names:
        if current and len(", ".join(current + [n])) > width:
            groups.append(current)
            current = []
        current.append(n)
    return groups + [current] if current else groups


def coverage(t):
    results = []
    per_library = exported(t.a.libs)
    exports = set().union(*per_library.values())
    refs = set()
    for layer in ("fgl", "fglut", "fglu"):
        with open(os.path.join(t.a.prototypes, layer + ".P")) as f:
            refs |= set(re.findall(r"/\*:ref: (\w+) ", f.read()))
    results.append((refs == exports, "prototypes against exports",
                    "%d prototypes, %d exports; missing %s, extra %s"
                    % (len(refs), len(exports), sorted(exports - refs)[:5], sorted(refs - exports)[:5]), ""))
    # Each export by its Fortran name in USE ..., ONLY: the compiler itself
    # says whether the module has it.
    by_layer = {layer: sorted(e[:-1] for e in names) for layer, names in per_library.items()}
    untyped = left_out(os.path.join(t.a.sources_dir, "flang"))
    for name, fn in (("gfortran", t.gfortran), ("flang", t.flang)):
        if name == "flang" and not t.a.flang:
            continue
        expected = by_layer if name == "gfortran" else \
            {l: [n for n in v if n not in untyped] for l, v in by_layer.items()}
        text = "".join("subroutine only_%s\n%s\nend subroutine\n"
                       % (l, "\n".join("  use %s, only: %s" % (l, ", ".join(group))
                                       for group in within_columns(names, 100)))
                       for l, names in expected.items())
        rc, out = fn(t.write("only_%s.f90" % name, text), True)
        count = sum(len(v) for v in expected.values())
        results.append((rc == 0, "%s module: interfaces of exports by name" % name,
                        "%d of %d exports%s" % (count, len(exports),
                                                "" if name == "gfortran" else
                                                ", %d left out as its heading says" % len(untyped)), out))
        # And nothing more: every interface in the module source is an export.
        declared = interface_links(os.path.join(t.a.sources_dir, name))
        results.append((declared == {n + "_" for v in expected.values() for n in v},
                        "%s module: no interface without an export" % name,
                        "%d interfaces" % len(declared), str(sorted(declared ^ exports)[:5])))
    return report(results)


def module_sources(d):
    for layer in ("fgl", "fglut", "fglu"):
        with open(os.path.join(d, layer + ".f90")) as f:
            yield f.read()


def interface_links(d):
    links = set()
    for text in module_sources(d):
        links |= {n.lower() for n in re.findall(r"BIND\(C, ?NAME='(\w+)'\)", text)}
        for block in re.findall(r"^  INTERFACE\n(.*?)^  END INTERFACE$", text, re.M | re.S):
            m = re.search(r"(?:SUBROUTINE|FUNCTION) (\w+)\(", block)
            links.add(m.group(1).lower() + "_")
    return links


def left_out(d):
    """The entries a module names in its heading as left out."""
    names = set()
    for text in module_sources(d):
        for line in re.findall(r"^!   (.*)$", text, re.M):
            names |= {n.strip().lower() for n in line.split(",")}
    return names


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("what", choices=["mistakes", "examples", "coverage"])
    ap.add_argument("--gfortran", required=True)
    ap.add_argument("--flang", default="")
    ap.add_argument("--f2c", required=True)
    ap.add_argument("--modules", required=True, help="directory with gfortran/ and flang/ .mod files")
    ap.add_argument("--prototypes", required=True, help="directory of fgl.P, fglut.P, fglu.P")
    ap.add_argument("--sources-dir", help="directory with gfortran/ and flang/ module sources")
    ap.add_argument("--inc", required=True, help="directory of the include files")
    ap.add_argument("--lib", dest="libs", action="append", default=[])
    ap.add_argument("--source", dest="sources", action="append", default=[],
                    help="a program for f2c with the prototype files and for the modules")
    ap.add_argument("--module-source", dest="module_sources", action="append", default=[],
                    help="a program for the modules only (f2c takes the storage of untyped data"
                         " from its first call in a file)")
    a = ap.parse_args()
    for key in ("modules", "prototypes", "sources_dir", "inc"):
        setattr(a, key, os.path.abspath(getattr(a, key)) if getattr(a, key) else None)
    a.sources = [os.path.abspath(s) for s in a.sources]
    a.module_sources = [os.path.abspath(s) for s in a.module_sources]
    a.libs = [os.path.abspath(s) for s in a.libs]
    t = Tools(a)
    return {"mistakes": mistakes, "examples": examples, "coverage": coverage}[a.what](t)


if __name__ == "__main__":
    sys.exit(main())
