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
  check_calls.py ranks     ...  a program generated from the entry list
                                calls every entry that takes an array with
                                arrays of rank 2 and 3, array elements and,
                                where it may be one, a scalar: each module
                                accepts all of it; a second one passes each
                                such array with a wrong type: each module
                                rejects every one of those calls

Prints one line per case and closes with "N passed, N failed"."""
import argparse
import concurrent.futures
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
    ("REAL array for DOUBLE PRECISION matrix",
     "      SUBROUTINE MATRIX(X, Y, Z)\n      INCLUDE 'fgl.inc'\n      INCLUDE 'fglu.inc'\n"
     "      INTEGER*4 VP(4), IOK, FGLUUNPROJECT\n      REAL*4 MV(4, 4)\n"
     "      DOUBLE PRECISION PJ(4, 4), X, Y, Z\n"
     "      CALL FGLGETDOUBLEV(GL_MODELVIEW_MATRIX, MV)\n"
     "      IOK = FGLUUNPROJECT(1D0, 1D0, 0D0, MV, PJ, VP, X, Y, Z)\n      END\n",
     "subroutine matrix(x, y, z)\n  use fgl\n  use fglu\n  integer(4) :: vp(4), iok\n  real(4) :: mv(4, 4)\n"
     "  real(8) :: pj(4, 4), x, y, z\n  call fglGetDoublev(GL_MODELVIEW_MATRIX, mv)\n"
     "  iok = fgluUnProject(1d0, 1d0, 0d0, mv, pj, vp, x, y, z)\nend subroutine\n"),
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
    "REAL array for DOUBLE PRECISION matrix": ("error", "error", "warning"),
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
        # -Nx2000: room for every entry of the prototype files in f2c's table
        # of external names; the table of names keeps its default size.
        return self.run([self.a.f2c, "-Nx2000", "-I" + self.a.inc, "-d" + work, src] + pfiles)


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


def module_names(d):
    """{NAME: MODULE} of everything the modules hold: entries, generic
    names and constants."""
    names = {}
    for layer, text in zip(("FGL", "FGLUT", "FGLU"), module_sources(d)):
        for n in re.findall(r"(?:SUBROUTINE|FUNCTION|INTERFACE) (\w+)|PARAMETER :: (\w+)", text):
            names.setdefault((n[0] or n[1]).upper(), layer)
    return names


IDENT = re.compile(r"[A-Za-z]\w*")


def only_uses(module, said, names, free):
    """USE MODULE, ONLY: the names of MODULE among SAID, as lines within 72
    columns (none when the unit mentions none of them)."""
    wanted = sorted(n for n in said if names.get(n) == module.upper())
    if not wanted:
        return []
    lines = [("  use %s, only: " if free else "      USE %s, ONLY: ") % module]
    for i, n in enumerate(wanted):
        if len(lines[-1]) + len(n) > 66:
            lines[-1] += " &" if free else ""
            lines.append("      " if free else "     &  ")
        lines[-1] += n + ("," if i < len(wanted) - 1 else "")
    return lines


def mentioned(code):
    """The names a piece of source mentions, outside its texts (upper case)."""
    return {w.upper() for l in code for w in IDENT.findall(re.sub(r"'[^']*'", "", l))}


def narrow_uses(lines, names):
    """The fixed-form program with each unit's USE of a module narrowed to
    the names of that module the unit mentions (USE M, ONLY: ...). gfortran
    reads a whole module again for every unit that USEs it (seconds for the
    whole of OpenGL); with ONLY it reads what the unit needs, and checks
    each call against the same interface. Flang reads a module once per
    compile, so it keeps the plain USE and with it the check that no name of
    a program collides with one of the modules'."""
    use = re.compile(r"^\s*USE (FGL\w*)\s*$", re.I)
    bounds = [i for i, l in enumerate(lines) if l[:1] not in "Cc*!" and use_modules.UNIT.match(l)]
    bounds = [0] + bounds[1:] + [len(lines)] if bounds else [0, len(lines)]
    out = []
    for a, b in zip(bounds, bounds[1:]):
        unit = lines[a:b]
        said = mentioned(l[6:72] for l in unit if l[:1] not in "Cc*!")
        for line in unit:
            m = use.match(line)
            out += [u + "\n" for u in only_uses(m.group(1), said, names, False)] if m else [line]
    return out


def examples(t):
    # (what, compiler name, compile function, source, with checks); each
    # compile is a process of its own, so they run side by side, one per
    # processor (Flang takes seconds to read the whole modules).
    jobs = []
    names = module_names(t.a.sources_dir + "/gfortran")
    for src in t.a.sources + t.a.module_sources:
        base = os.path.basename(src)
        if src.endswith(".f") and src in t.a.sources:
            jobs.append(("%s, f2c with prototypes" % base, "f2c", t.f2c, src))
        per_compiler = {"gfortran": src, "flang": src}
        if src.endswith(".f"):
            with open(src) as f:
                lines = use_modules.convert(f.readlines())
            for name, text in (("flang", lines), ("gfortran", narrow_uses(lines, names))):
                per_compiler[name] = os.path.join(t.tmp, "%s_%s" % (name, base))
                with open(per_compiler[name], "w") as f:
                    f.writelines(text)
        for name, fn in (("gfortran", t.gfortran), ("flang", t.flang)):
            if name == "flang" and not t.a.flang:
                continue
            jobs.append(("%s, %s with modules" % (base, name), name, fn, per_compiler[name]))

    def run(job):
        what, name, fn, src = job
        rc, out = fn(src, True)
        got = outcome(rc, out, name)
        return got == "clean", what, got, out
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 1) as pool:
        return report(list(pool.map(run, jobs)))


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


# Fortran storage of each type of the entry list, a wrong one for it, and
# the declarations of variables of each shape: _0 a scalar, _2 and _3 arrays
# of rank 2 and 3 (an element of _2 stands for an array element).
STORAGE = {"REAL*4": "real(4)", "DOUBLE PRECISION": "real(8)", "INTEGER*4": "integer(4)",
           "INTEGER*2": "integer(2)", "INTEGER*1": "integer(1)", "LOGICAL*1": "logical(1)",
           "INTEGER*8": "integer(8)"}
WRONG = {"REAL*4": "DOUBLE PRECISION", "DOUBLE PRECISION": "REAL*4", "INTEGER*4": "REAL*4",
         "INTEGER*8": "INTEGER*4",
         "INTEGER*2": "INTEGER*4", "INTEGER*1": "INTEGER*2", "LOGICAL*1": "INTEGER*4"}
# Data of any type: each shape in its own storage.
UNTYPED = {2: "INTEGER*2", 3: "REAL*4", "element": "DOUBLE PRECISION", "scalar": "DOUBLE PRECISION"}


def variable(kind):
    return "v_" + re.sub(r"\W", "", STORAGE[kind].replace("(", ""))


def entry_list(d):
    """(name, result, [(kind, shape)]) of every entry in entries.tsv: kind a
    type, CHARACTER, untyped or routine; shape scalar, array or either."""
    entries = []
    with open(os.path.join(d, "entries.tsv")) as f:
        for line in f:
            name, _, _, _, result, args = line.rstrip("\n").split("\t")
            parsed = []
            # A routine's argument types may hold parentheses themselves
            # (CHARACTER*(*)).
            for a in re.findall(r"(?:[^,(]|\((?:[^()]|\([^)]*\))*\))+", args):
                if a.startswith("EXTERNAL"):
                    parsed.append(("routine", "scalar"))
                elif a.startswith("CHARACTER"):
                    parsed.append(("CHARACTER", "scalar"))
                elif a.startswith("any type"):
                    parsed.append(("untyped", "array"))
                else:
                    m = re.match(r"(.*?) (\w+)( or \w+\(\*\)|\(\*\))?$", a)
                    parsed.append((m.group(1), {None: "scalar", "(*)": "array"}.get(m.group(3), "either")))
            entries.append((name, result, parsed))
    return entries


def actual(kind, shape, form, wrong=False):
    """The actual argument of one kind and shape in one form (2, 3, element,
    scalar)."""
    if kind == "CHARACTER":
        return "'text'"
    if kind == "untyped":
        kind = UNTYPED[form]
    elif wrong:
        kind = WRONG[kind]
    if shape == "scalar" or form == "scalar" and shape == "either":
        return variable(kind) + "_0"
    if form in ("element", "scalar"):
        return variable(kind) + "_2(2, 3)"
    return "%s_%d" % (variable(kind), form)


def units(prefix, head, calls, names=None):
    """Free-form source of the calls, a hundred to a subroutine, each call
    continued over lines of a few arguments; and the number of the call on
    each line of it. With the modules' names, each subroutine's USEs are
    narrowed to the names its calls mention."""
    lines, call_of = [], {}
    for n in range(0, len(calls), 100):
        unit_head = head
        if names:
            said = mentioned(calls[n:n + 100] + head)
            unit_head = [u for h in head for u in (only_uses(h.split()[1], said, names, True)
                                                    if h.startswith("  use ") else [h])]
        lines += ["subroutine %s_%d" % (prefix, n // 100)] + unit_head
        for i, c in enumerate(calls[n:n + 100], n):
            words = c.split(", ")
            for k in range(0, len(words), 4):
                last = k + 4 >= len(words)
                lines.append(("  " if k == 0 else "      ") + ", ".join(words[k:k + 4]) + ("" if last else ", &"))
                call_of[len(lines)] = i
        lines.append("end subroutine")
    return "\n".join(lines) + "\n", call_of


def rank_programs(entries, skip):
    """Two lists of calls: every array-taking entry called with each form of
    array (the right types: all to be accepted), and each typed array
    argument given a rank-2 array of a wrong type (each to be rejected)."""
    head = ["  use fgl", "  use fglut", "  use fglu"]
    for kind, storage in STORAGE.items():
        v = variable(kind)
        head.append("  %s :: %s_0, %s_2(4, 16), %s_3(4, 4, 4)" % (storage, v, v, v))
    good, bad = [], []
    for name, result, args in entries:
        arrays = [i for i, (k, shape) in enumerate(args) if shape != "scalar"]
        if name.lower() in skip or not arrays or any(k == "routine" for k, _ in args):
            continue
        assign = "  %s_0 = " % variable(result) if result else "  call "
        forms = [2, 3, "element"] + (["scalar"] if any(args[i][1] == "either" for i in arrays) else [])
        for form in forms:
            good.append("%s%s(%s)" % (assign, name, ", ".join(actual(k, sh, form) for k, sh in args)))
        for i in arrays:
            if args[i][0] == "untyped":
                continue
            bad.append("%s%s(%s)" % (assign, name, ", ".join(
                actual(k, sh, 2, wrong=(j == i)) for j, (k, sh) in enumerate(args))))
    return head, good, bad


def ranks(t):
    results = []
    entries = entry_list(t.a.sources_dir)
    names = module_names(t.a.sources_dir + "/gfortran")
    for name, fn in (("gfortran", t.gfortran), ("flang", t.flang)):
        if name == "flang" and not t.a.flang:
            continue
        skip = left_out(os.path.join(t.a.sources_dir, name))
        head, good, bad = rank_programs(entries, skip)
        narrow = names if name == "gfortran" else None
        text, _ = units("ranks", head, good, narrow)
        rc, out = fn(t.write("ranks_%s.f90" % name, text), True)
        got = outcome(rc, out, name)
        results.append((got == "clean", "%s module: %d calls with arrays of rank 2 and 3, elements and scalars"
                        % (name, len(good)), got + ": " + first_diagnostic(out), out))
        text, call_of = units("wrong", head, bad, narrow)
        rc, out = fn(t.write("wrong_%s.f90" % name, text), True)
        # gfortran: "file:LINE:COL:" above "Error:"; Flang: "file:LINE:COL: error:".
        flagged, where = set(), None
        for line in out.splitlines():
            m = re.match(r"\S*wrong_%s\.f90:(\d+):\d+:" % name, line)
            if m:
                where = call_of.get(int(m.group(1)), "outside a call")
            if where is not None and re.search(r"\b[Ee]rror\b", line) and "Semantic errors" not in line:
                flagged.add(where)
        missed = [bad[i] for i in range(len(bad)) if i not in flagged]
        results.append((rc != 0 and not missed and flagged == set(range(len(bad))),
                        "%s module: %d calls with an array of a wrong type, each rejected" % (name, len(bad)),
                        "%d rejected; accepted: %s" % (len(flagged), missed[:3]), out))
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
    ap.add_argument("what", choices=["mistakes", "examples", "coverage", "ranks"])
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
    return {"mistakes": mistakes, "examples": examples, "coverage": coverage, "ranks": ranks}[a.what](t)


if __name__ == "__main__":
    sys.exit(main())
