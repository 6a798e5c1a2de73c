#!/usr/bin/env python3
"""The Fortran house viewer calls the same fgl and fglut entries, in the same
order, as the C++ viewer, from start-up through its first reshape and its
first complete repaint.

Each program runs under ltrace, which logs every call into libfgl and
libfglut by entry name; the trace is read as it grows until the first
repaint has ended (three fglPopMatrix in a row, then fglFlush: the ends of
drawOpenings, drawHouse and display). Run under tests/with-xvfb.

Usage: call_order_test.py <ltrace> <C++ house> <Fortran house> [...]
"""
import os
import re
import signal
import subprocess
import sys
import tempfile
import time

END_OF_REPAINT = ["fglPopMatrix", "fglPopMatrix", "fglPopMatrix", "fglFlush"]
CALL = re.compile(r"^\d+\s+(fgl\w*)@libfglu?t?\.so")


def calls_until_first_repaint(ltrace, program, timeout=60.0):
    with tempfile.TemporaryDirectory() as tmp:
        log = os.path.join(tmp, "trace")
        proc = subprocess.Popen(
            [ltrace, "-f", "-L", "-x", "fgl*@libfgl.so.1", "-x", "fgl*@libfglut.so.1",
             "-o", log, program],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        names = []
        deadline = time.monotonic() + timeout
        try:
            while time.monotonic() < deadline:
                names = []
                if os.path.exists(log):
                    with open(log) as f:
                        for line in f:
                            m = CALL.match(line)
                            if m:
                                names.append(m.group(1))
                for i in range(len(names) - len(END_OF_REPAINT) + 1):
                    if names[i:i + len(END_OF_REPAINT)] == END_OF_REPAINT:
                        return names[:i + len(END_OF_REPAINT)]
                if proc.poll() is not None:
                    break
                time.sleep(0.05)  # the trace file is polled as ltrace writes it
        finally:
            if proc.poll() is None:
                os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
        raise SystemExit("%s: no complete first repaint in its trace (%d calls seen)"
                         % (program, len(names)))


def main():
    ltrace, reference, others = sys.argv[1], sys.argv[2], sys.argv[3:]
    expected = calls_until_first_repaint(ltrace, reference)
    # The sequence must be the viewer's: start-up, reshape, then a repaint.
    if expected[:3] != ["fglutInit", "fglutInitDisplayMode", "fglutCreateWindowC"] \
            or "fglViewport" not in expected or "fglRectf" not in expected:
        raise SystemExit("unexpected C++ viewer trace: %s" % expected[:12])
    failed = False
    for program in others:
        got = calls_until_first_repaint(ltrace, program)
        if got == expected:
            print("%s: the same %d calls in the same order" % (program, len(got)))
            continue
        failed = True
        first = next((i for i, (a, b) in enumerate(zip(expected, got)) if a != b),
                     min(len(expected), len(got)))
        print("%s: calls differ from call %d on (C++ %d calls, Fortran %d)"
              % (program, first + 1, len(expected), len(got)))
        print("  C++:     %s" % expected[first:first + 6])
        print("  Fortran: %s" % got[first:first + 6])
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
