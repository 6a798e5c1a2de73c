#!/usr/bin/env python3
"""Disassembles every generated forwarding entry of libfgl (x86-64, optimised
build) and checks what each costs, by what the generated list says of it:

  - an entry whose arguments are read where they lie (at their own width or
    from integer storage of another width, an offset as an address): loads
    of its arguments, then one tail jump to its OpenGL command; no call, no
    other branch, no stack frame. When the command takes arguments on the
    stack (more than six integer or eight floating-point ones) the entry
    rewrites them in place before the jump: still no call and no frame.
  - an entry whose boolean result is widened to 4 bytes (an I4 result):
    one call of the command, the result zero-extended, return; no branch.
  - an entry that copies a vector or an array of offsets into the width
    OpenGL reads (fgl::fixed, fgl::widened), or receives values into
    narrower elements (fgl::received): one call of the command.

usage: check_tail_jumps.py libfgl.so fgl_forward.inc gl_commands.inc
"""
import re
import subprocess
import sys

FLOATING = {"GLfloat", "GLclampf", "GLdouble", "GLclampd"}


def generated(forward_inc, commands_inc):
    """[(entry, command, entry result, command result, copies, stack)]"""
    commands = {}
    with open(commands_inc) as f:
        for line in f:
            m = re.match(r"GL_COMMAND\((\w+), ([^,]+), \((.*?)\), \(", line)
            if m:
                params = [p.strip() for p in m.group(3).split(",") if p.strip() != "void"]
                floats = sum(1 for p in params if "*" not in p and p.rsplit(" ", 1)[0] in FLOATING)
                commands[m.group(1)] = (m.group(2).strip(), len(params) - floats > 6 or floats > 8)
    out = []
    with open(forward_inc) as f:
        for line in f:
            m = re.match(r"FGL_FORWARD\((\w+), \w+, (\w+), ([^,]+), \(.*\), \((.*)\)\)$", line)
            if m:
                entry, command, result, args = m.groups()
                copies = any(f"fgl::{w}" in args for w in ("fixed", "widened", "received"))
                out.append((entry, command, result.strip(), commands[command][0], copies, commands[command][1]))
    return out


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
    """The command a jump or call reaches: through its GOT slot, or through
    the looked-up stand-in of a command not every driver exports
    (fgl_late_glX, a C++ function of the library)."""
    m = re.search(r"<([A-Za-z0-9_]+)@", operands)
    if m:
        return m.group(1)
    m = re.search(r"<_Z(\d+)(fgl_late_gl\w+)>", operands)  # _Z<length><name><parameter codes>
    if m:
        return m.group(2)[:int(m.group(1))].removeprefix("fgl_late_")
    return None


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
    return faults


def check_widened(library, entry, command):
    body = disassemble(library, entry)
    if not body:
        return [f"{entry}: not found"]
    faults = []
    mnemonics = [m for m, _ in body]
    calls = [(i, o) for i, (m, o) in enumerate(body) if m == "call"]
    if len(calls) != 1 or target(calls[0][1]) != command:
        faults.append(f"{entry}: expected one call of {command}, got {calls}")
    else:
        after = body[calls[0][0] + 1:]
        if not any(m == "movzbl" and o.startswith("%al,%eax") for m, o in after):
            faults.append(f"{entry}: the result is not zero-extended after the call")
    if mnemonics[-1] != "ret":
        faults.append(f"{entry}: does not end in ret")
    branches = [m for m in mnemonics if m.startswith("j")]
    if branches:
        faults.append(f"{entry}: branches {branches}")
    return faults


def check_copying(library, entry, command):
    body = disassemble(library, entry)
    if not body:
        return [f"{entry}: not found"]
    calls = [target(o) for m, o in body if m == "call" and target(o) == command]
    return [] if len(calls) == 1 else [f"{entry}: {len(calls)} calls of {command}, not one"]


def main():
    library, forward_inc, commands_inc = sys.argv[1:4]
    faults = []
    counts = {"tail jump": 0, "tail jump, stack arguments": 0, "widened result": 0, "copy": 0}
    for entry, command, result, command_result, copies, stack in generated(forward_inc, commands_inc):
        if copies:
            faults += check_copying(library, entry, command)
            counts["copy"] += 1
        elif result != command_result:
            faults += check_widened(library, entry, command)
            counts["widened result"] += 1
        else:
            faults += check_tail(library, entry, command, allow_stores=stack)
            counts["tail jump, stack arguments" if stack else "tail jump"] += 1
    for kind, n in counts.items():
        print(f"{n} entries: {kind}")
    for f in faults:
        print("FAULT:", f)
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
