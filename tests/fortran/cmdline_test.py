#!/usr/bin/env python3
"""The manual's command-line example (cmdline.f, shown in docs/loop.md), by each compiler: GLUT reads
its own options from the real command line, the program gets the rest, and
GLUT's messages name the program.

Usage: cmdline_test.py PROGRAM   (with DISPLAY set to a running X server)
"""
import subprocess
import sys


def main():
    program = sys.argv[1]
    run = subprocess.run([program, "-geometry", "160x90+3+4", "-v", "data file.txt"],
                         capture_output=True, text=True, timeout=60)
    want = "LEFT -v\nLEFT data file.txt\nSIZE   160    90\n"
    if run.returncode != 0 or run.stdout != want:
        print("status %d, output %r, wanted %r; stderr %r" % (run.returncode, run.stdout, want, run.stderr))
        return 1
    # A display that cannot exist: freeglut's fatal message names the program.
    run = subprocess.run([program, "-display", ":9999"], capture_output=True, text=True, timeout=60)
    want = "freeglut (%s): failed to open display ':9999'" % program
    if run.returncode != 1 or want not in run.stderr:
        print("status %d, stderr %r, wanted %r" % (run.returncode, run.stderr, want))
        return 1
    print("cmdline OK")
    return 0


if __name__ == "__main__":
    sys.exit(main())
