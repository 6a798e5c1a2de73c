#!/usr/bin/env python3
"""The debug-output example (badcall.f), by each compiler: Mesa's message for
the bad call reaches the Fortran routine inside the call, with OpenGL's
numbers, the word, and the text at its exact length (no NUL, no trailing
characters), the same under every compiler.

Usage: debug_output_test.py PROGRAM...   (with DISPLAY set to a running X server)
"""
import re
import subprocess
import sys

# GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_ERROR, GL_DEBUG_SEVERITY_HIGH.
NUMBERS = re.compile(r"source +33350 type +33356 id +\d+ severity +37190 length +(\d+) word +42$")
TEXT = re.compile(r"\[(GL_INVALID_ENUM in glBindTexture\(.*)\]$")


def report(program):
    run = subprocess.run([program], capture_output=True, text=True, timeout=120)
    lines = run.stdout.splitlines()
    if run.returncode != 0 or len(lines) != 4 or lines[0] != "binding a texture" or lines[3] != "done":
        return None, "status %d, output %r, stderr %r" % (run.returncode, run.stdout, run.stderr)
    numbers, text = NUMBERS.match(lines[1]), TEXT.match(lines[2])
    if not numbers or not text:
        return None, "unexpected message lines %r" % lines[1:3]
    if not text.group(1).isprintable():
        return None, "a character that is not text in %r" % text.group(1)
    if int(numbers.group(1)) != len(text.group(1)):
        return None, "LEN(MESSAGE) %s for a text of %d characters: %r" % (
            numbers.group(1), len(text.group(1)), text.group(1))
    return lines, None


def main():
    seen = {}
    for program in sys.argv[1:]:
        lines, fault = report(program)
        if fault:
            print("%s: %s" % (program, fault))
            return 1
        seen[program] = lines
    if len(set(map(tuple, seen.values()))) != 1:
        print("the compilers' programs differ: %r" % seen)
        return 1
    print("debug output OK: %s" % seen[sys.argv[1]][2])
    return 0


if __name__ == "__main__":
    sys.exit(main())
