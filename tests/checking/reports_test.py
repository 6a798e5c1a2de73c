#!/usr/bin/env python3
"""Runs mistakes.f (gfortran and f2c builds) under the checking libraries, one
mistake per run, and compares standard error with what must be reported.

Usage: reports_test.py FGLCHECK GFORTRAN_PROGRAM F2C_PROGRAM"""
import os
import subprocess
import sys

INTEGER = "looks like an INTEGER passed for a REAL"
DOUBLE = "looks like a REAL or INTEGER passed for a DOUBLE PRECISION"

# Mistake number, and the lines stderr must contain in warn mode.
CASES = [
    (1, ["fglClearColor argument 1 (RED) = 1.40129846e-45 (bits 0x00000001): " + INTEGER,
         "fglClearColor argument 4 (ALPHA)", "5 x fglClearColor argument 1 (RED)"]),
    (2, ["fglRotated argument 1 (ANGLE)", DOUBLE]),
    (3, ["fglTranslated argument 1 (X)", "fglTranslated argument 3 (Z)", DOUBLE]),
    (4, ["fglDrawPixelsI4 argument 6 (N) = 16, needs 48: item count smaller than what OpenGL uses"]),
    (5, ["fglEnable: raised GL_INVALID_ENUM (argument 1 CAP = 12345 (0x3039))"]),
    (6, ["fglutBitmapCharacter argument 1 (FONT) = 12 (0xC): font code outside 1 to 9"]),
    (7, ["fgluSphere argument 1 (QUAD) = 1 (0x1): handle already deleted"]),
    (8, ["fgluQuadricDrawStyle: GLU error with no error routine registered"]),
    (9, ["fglutBitmapLength argument 2 (WORDS(1)) = 1684234849 (0x64636261): packed word outside 0 to 255"]),
    (10, ["fglutDisplayFunc: registration with no current window"]),
    (11, ["fglutSetWindow argument 1 (WINDOW) = 8 (0x8): no window has this number"]),
    (12, ["fglEnd: raised GL_INVALID_OPERATION (by fglEnd, or by fglBegin or a call between them)"]),
    (13, ["fglDrawPixelsI4 argument 6 (N) = -1 (0xFFFFFFFF): negative item count"]),
    # Which of the six arguments show the pattern depends on what the
    # compiler puts after each constant; at least one does.
    (14, ["fglOrtho argument ", DOUBLE]),
    (15, ["fgluPerspective argument 1 (FOVY) = ", DOUBLE]),
    (16, ["fglReadPixelsI2 argument 8 (N) = 2, needs 3: item count smaller than what OpenGL uses"]),
    (17, ["fglVertexAttrib2f argument 2 (X) = 1.40129846e-45 (bits 0x00000001): " + INTEGER,
          "fglVertexAttrib2f argument 3 (Y)"]),
    (18, ["fglBufferDataI4 argument 2 (SIZE) = -4 (0xFFFFFFFC): negative size"]),
    (19, ["fglDeleteSync argument 1 (SYNC) = 1 (0x1): sync handle never issued or already deleted"]),
]
# A substring with its end before its start: f2c hands on its negative
# length, gfortran a length of 0 (not a mistake the layer can see).
NEGATIVE_LENGTH = "fglBindAttribLocationC: negative hidden length of a CHARACTER argument"
F2C_CASES = [(20, [NEGATIVE_LENGTH, "-2 (0xFFFFFFFE)"])]


def run(fglcheck, program, case, mode=None):
    env = dict(os.environ)
    env.pop("FGL_CHECK", None)
    if mode is not None:
        env["FGL_CHECK"] = mode
    p = subprocess.run([fglcheck, program], input=f"{case}\n", capture_output=True, text=True, env=env, timeout=60)
    # freeglut's own messages are not the layer's.
    lines = [l for l in p.stderr.splitlines() if l.strip() and not l.startswith("freeglut")]
    return p.returncode, lines


def main():
    fglcheck, programs = sys.argv[1], sys.argv[2:]
    failures = []
    for program in programs:
        name = os.path.basename(program)
        f2c = name.endswith("f2c")
        for case, expected in CASES + (F2C_CASES if f2c else []):
            status, lines = run(fglcheck, program, case)
            text = "\n".join(lines)
            missing = [e for e in expected if e not in text]
            firsts = [l for l in lines if not l.startswith("fgl check:   ") and "distinct problem" not in l]
            if case == 14:
                print(f"{name}: FGLORTHO with REAL constants: {len(firsts)} of 6 arguments flagged")
            if missing or status != 0 or len(firsts) != len(set(firsts)):
                failures.append(f"{name} case {case}: status {status}, missing {missing}\n{text}")
        if not f2c:
            status, lines = run(fglcheck, program, 20)
            if status != 0 or any(NEGATIVE_LENGTH in l for l in lines):
                failures.append(f"{name} substring of length 0: status {status}, {lines}")
        # Nothing wrong: nothing printed, in every mode.
        for mode in [None, "warn", "abort", "quiet"]:
            status, lines = run(fglcheck, program, 0, mode)
            if status != 0 or lines:
                failures.append(f"{name} without mistakes, FGL_CHECK={mode}: status {status}, {lines}")
        # abort: the first problem, its place, a backtrace, status 3, no summary.
        status, lines = run(fglcheck, program, 4, "abort")
        text = "\n".join(lines)
        if (status != 3 or "needs 48" not in text or "called from " + program not in text
                or "backtrace" not in text or "distinct problem" in text):
            failures.append(f"{name} abort: status {status}\n{text}")
        if name.endswith("gfortran") and "in MAIN__ at " not in text:
            failures.append(f"{name} abort: no source line\n{text}")
        # quiet: the summary alone.
        status, lines = run(fglcheck, program, 1, "quiet")
        if status != 0 or len(lines) != 3 or "2 distinct problems, 10 calls" not in lines[0]:
            failures.append(f"{name} quiet: status {status}, {lines}")
    for f in failures:
        print("FAIL:", f)
    print(f"{len(programs)} programs, {len(CASES)} mistakes, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
