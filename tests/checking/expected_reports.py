#!/usr/bin/env python3
"""Runs each program (under the environment given, e.g. LD_LIBRARY_PATH set to
the checking libraries) and requires exit status 0 and, on standard error,
exactly the expected reports: every --expect text in a report, every report
matching one.

Usage: expected_reports.py [--expect TEXT]... -- PROGRAM..."""
import subprocess
import sys

args = sys.argv[1:]
split = args.index("--")
expected = [args[i + 1] for i in range(0, split, 2) if args[i] == "--expect"]
failures = 0
for program in args[split + 1:]:
    p = subprocess.run([program], capture_output=True, text=True, timeout=120)
    reports = [l for l in p.stderr.splitlines()
               if l.startswith("fgl check: ") and not l.startswith("fgl check:   ") and "distinct problem" not in l]
    unexpected = [r for r in reports if not any(e in r for e in expected)]
    missing = [e for e in expected if not any(e in r for r in reports)]
    ok = p.returncode == 0 and not unexpected and not missing
    print(f"{program}: status {p.returncode}, {len(reports)} reports" + ("" if ok else
          f"; unexpected {unexpected}, missing {missing}\n{p.stdout}{p.stderr}"))
    failures += not ok
sys.exit(1 if failures else 0)
