#!/usr/bin/env python3
"""Each checking library has the ordinary library's soname and exports exactly
its entries, and carries the checks (its report text).

Usage: same_entries.py ORDINARY CHECKING [ORDINARY CHECKING ...]"""
import subprocess
import sys


def entries(path):
    out = subprocess.run(["nm", "-D", "--defined-only", path], check=True, capture_output=True, text=True).stdout
    return {line.split()[-1] for line in out.splitlines() if line.split()[-1].startswith("fgl")}


def soname(path):
    out = subprocess.run(["readelf", "-d", path], check=True, capture_output=True, text=True).stdout
    return [line.split("[")[1].rstrip("]") for line in out.splitlines() if "(SONAME)" in line]


failures = 0
pairs = sys.argv[1:]
for ordinary, checking in zip(pairs[0::2], pairs[1::2]):
    a, b = entries(ordinary), entries(checking)
    problems = []
    if a != b:
        problems.append(f"only ordinary: {sorted(a - b)[:5]}, only checking: {sorted(b - a)[:5]}")
    if soname(ordinary) != soname(checking):
        problems.append(f"sonames {soname(ordinary)} and {soname(checking)}")
    with open(checking, "rb") as f:
        if b"fgl check: " not in f.read():
            problems.append("no checks in the checking library")
    with open(ordinary, "rb") as f:
        if b"fgl check: " in f.read():
            problems.append("checks in the ordinary library")
    print(f"{checking}: {len(b)} entries, " + ("; ".join(problems) if problems else "ok"))
    failures += bool(problems) or not a
sys.exit(1 if failures else 0)
