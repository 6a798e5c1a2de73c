#!/usr/bin/env python3
"""Every Fortran and C code block of the README and of the manual (docs/*.md)
compiles, or is what it says it is.

A block is a fence whose info string is `fortran` (fixed form), `f90` (free
form) or `c`. The line right before the fence may say what the block is:

  <!-- file: PATH -->          the block is the whole file PATH (a tested program)
  <!-- excerpt: PATH -->       every line of the block is a line of PATH, in order
  <!-- statements: DECL; ... -->
                               the block is statements: compiled inside a
                               routine with IMPLICIT NONE and the given lines
  <!-- not compiled: REASON -->  left out, for the reason given

Any other block is compiled as it stands: Fortran by gfortran (fixed form
also translated by f2c), C by cc, against the build's include files, modules
and headers. PATH is relative to the top of the tree. The indentation of a
block inside a list item is removed first.

Usage: code_blocks.py --source DIR --fortran-include DIR --modules DIR
                      --c-include DIR[:DIR...] --gfortran CMD --f2c CMD --cc CMD
                      [PAGE...]   (default: README.md and docs/*.md)
"""
import argparse
import glob
import os
import re
import subprocess
import sys
import tempfile

FENCE = re.compile(r"^( *)```(\w*)\s*$")
MARK = re.compile(r"^\s*<!--\s*(file|excerpt|statements|not compiled):\s*(.*?)\s*-->\s*$")
LANGUAGES = {"fortran", "f90", "c"}


def blocks(path):
    """(line number, language, marker or None, lines) of each code block."""
    lines = open(path, encoding="utf-8").read().split("\n")
    i = 0
    while i < len(lines):
        m = FENCE.match(lines[i])
        if not m:
            i += 1
            continue
        indent, language, start = m.group(1), m.group(2), i
        i += 1
        body = []
        while i < len(lines) and lines[i].strip() != "```":
            body.append(lines[i][len(indent):] if lines[i].startswith(indent) else lines[i].lstrip())
            i += 1
        i += 1
        if language not in LANGUAGES:
            continue
        mark = MARK.match(lines[start - 1]) if start > 0 else None
        yield start + 1, language, (mark.group(1), mark.group(2)) if mark else None, body


def run(command, cwd):
    done = subprocess.run(command, cwd=cwd, capture_output=True, text=True)
    return done.returncode, done.stdout + done.stderr


def compile_block(language, body, args, work):
    """None when the block compiles, else the compiler's complaint."""
    text = "\n".join(body) + "\n"
    if language == "c":
        name = os.path.join(work, "block.c")
        open(name, "w").write(text)
        includes = [f"-I{d}" for d in args.c_include.split(":") if d]
        status, out = run([*args.cc.split(), "-c", "-Wall", "-Werror", *includes, name, "-o", "block.o"], work)
        return None if status == 0 else out
    name = os.path.join(work, "block.f" if language == "fortran" else "block.f90")
    open(name, "w").write(text)
    form = ["-std=legacy"] if language == "fortran" else []
    status, out = run([*args.gfortran.split(), *form, "-c", f"-I{args.fortran_include}",
                       f"-I{args.modules}", name, "-o", "block.o"], work)
    if status != 0:
        return out
    if language == "fortran":
        status, out = run([*args.f2c.split(), f"-I{args.fortran_include}", "-Nn1604", name], work)
        if status != 0:
            return out
    return None


def check(page, number, language, mark, body, args, work):
    """None when the block is right, else what is wrong."""
    if mark is None:
        return compile_block(language, body, args, work)
    kind, value = mark
    if kind == "not compiled":
        return None if value else "no reason given for leaving the block out"
    if kind == "statements":
        if language != "fortran":
            return "statements: only for fixed-form Fortran"
        head = ["      SUBROUTINE BLOCK", "      IMPLICIT NONE"]
        head += ["      " + d.strip() for d in value.split(";") if d.strip()]
        return compile_block(language, head + body + ["      END"], args, work)
    path = os.path.join(args.source, value)
    if not os.path.isfile(path):
        return f"{value} does not exist"
    source = open(path, encoding="utf-8").read()
    if kind == "file":
        return None if source == "\n".join(body) + "\n" else f"the block differs from {value}"
    rest = source.split("\n")
    for line in body:
        if not line.strip():
            continue
        try:
            rest = rest[rest.index(line) + 1:]
        except ValueError:
            return f"not a line of {value}, in order: {line!r}"
    return None


def main():
    parser = argparse.ArgumentParser()
    for option in ("--source", "--fortran-include", "--modules", "--c-include", "--gfortran", "--f2c", "--cc"):
        parser.add_argument(option, required=True)
    parser.add_argument("pages", nargs="*")
    args = parser.parse_args()
    # The blocks are compiled in a scratch directory.
    args.source, args.fortran_include, args.modules = (
        os.path.abspath(d) for d in (args.source, args.fortran_include, args.modules))
    args.c_include = ":".join(os.path.abspath(d) for d in args.c_include.split(":") if d)
    pages = args.pages or [os.path.join(args.source, "README.md"),
                           *sorted(glob.glob(os.path.join(args.source, "docs", "*.md")))]
    failures = checked = 0
    with tempfile.TemporaryDirectory() as work:
        for page in pages:
            for number, language, mark, body in blocks(page):
                checked += 1
                problem = check(page, number, language, mark, body, args, work)
                where = f"{os.path.relpath(page, args.source)}:{number}"
                if problem:
                    failures += 1
                    print(f"FAIL {where} ({language}): {problem.strip()}")
                else:
                    print(f"ok   {where} ({language}{', ' + mark[0] if mark else ''})")
    print(f"{checked} blocks, {failures} failing")
    return 1 if failures or not checked else 0


if __name__ == "__main__":
    sys.exit(main())
