#!/usr/bin/env python3
"""Disassembles a few forwarding entries of libfgl (x86-64, optimised build)
and checks what each costs: loads of its arguments, then one tail jump to its
OpenGL command; no call, no other branch, no stack frame. fglIsEnabledI4 is the
exception by design: it must widen the 8-bit result after the call, so it
calls the command and zero-extends the result before returning.

usage: check_tail_jumps.py libfgl.so
"""
import re
import subprocess
import sys

# entry -> the command its tail jump must reach
TAIL_JUMPS = {
    "fglVertex3f": "glVertex3f",
    "fglColor3ubI4": "glColor3ub",
    "fglRectf": "glRectf",
    "fglMap2d": "glMap2d",
    "fglTexGend": "glTexGend",
    "fglLineStippleI4": "glLineStipple",
    "fglVertex2sI4": "glVertex2s",
    "fglOrtho": "glOrtho",
    "fglGetFloatv": "glGetFloatv",
    "fglIsEnabled": "glIsEnabled",
    "fglGenLists": "glGenLists",
    "fglEnd": "glEnd",
}
# entries whose stack arguments are rewritten in place before the jump
# (more than six integer-class arguments): still no call and no frame
STACK_ARGUMENTS = {"fglTexImage2D": "glTexImage2D"}


def disassemble(library, symbol):
    out = subprocess.run(["objdump", "-d", "--no-show-raw-insn", f"--disassemble={symbol}", library],
                         check=True, capture_output=True, text=True).stdout
    body, inside = [], False
    for line in out.splitlines():
        if re.match(rf"^[0-9a-f]+ <{re.escape(symbol)}>:$", line):
            inside = True
            continue
        if inside:
            m = re.match(r"^\s+[0-9a-f]+:\s+(\S+)\s*(.*)$", line)
            if not m:
                if body:
                    break
                continue
            body.append((m.group(1), m.group(2)))
    return body


def target(operands):
    m = re.search(r"<([A-Za-z0-9_]+)@", operands)
    return m.group(1) if m else None


def check_tail(library, entry, command, allow_stores):
    body = disassemble(library, entry)
    if not body:
        return [f"{entry}: not found"]
    faults = []
    *moves, last = body
    if last[0] != "jmp" or target(last[1]) != command:
        faults.append(f"{entry}: ends in '{last[0]} {last[1]}', not a jump to {command}")
    for mnemonic, operands in moves:
        if not mnemonic.startswith("mov"):
            faults.append(f"{entry}: '{mnemonic} {operands}' is not a load")
        elif not allow_stores and re.search(r",\s*-?(0x[0-9a-f]+)?\(", operands):
            faults.append(f"{entry}: '{mnemonic} {operands}' writes memory")
    print(f"{entry}: {len(moves)} moves, then {last[0]} {last[1]}")
    return faults


def check_widened(library):
    entry = "fglIsEnabledI4"
    body = disassemble(library, entry)
    if not body:
        return [f"{entry}: not found"]
    faults = []
    mnemonics = [m for m, _ in body]
    calls = [(i, o) for i, (m, o) in enumerate(body) if m == "call"]
    if len(calls) != 1 or target(calls[0][1]) != "glIsEnabled":
        faults.append(f"{entry}: expected one call of glIsEnabled, got {calls}")
    else:
        after = body[calls[0][0] + 1:]
        if not any(m == "movzbl" and o.startswith("%al,%eax") for m, o in after):
            faults.append(f"{entry}: the result is not zero-extended after the call")
    if mnemonics[-1] != "ret":
        faults.append(f"{entry}: does not end in ret")
    branches = [m for m in mnemonics if m.startswith("j")]
    if branches:
        faults.append(f"{entry}: branches {branches}")
    print(f"{entry}: {' '.join(mnemonics)}")
    return faults


def main():
    library = sys.argv[1]
    faults = []
    for entry, command in TAIL_JUMPS.items():
        faults += check_tail(library, entry, command, allow_stores=False)
    for entry, command in STACK_ARGUMENTS.items():
        faults += check_tail(library, entry, command, allow_stores=True)
    faults += check_widened(library)
    for f in faults:
        print("FAULT:", f)
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
