#!/usr/bin/env python3
"""The expected forwarding entries of libfgl, derived from the Khronos registry
and the family table below, without any use of tools/gen_gl.py.

  expected_entries.py --registry gl.xml --write-inc OUT
      writes one FGL_EXPECTED(entry, command, "result", "type1", ...) line per
      expected forwarding entry, for the conformance test.
  expected_entries.py --registry gl.xml --check-exports libfgl.so
      reads the dynamic symbol table of the library (nm -D --defined-only) and
      checks that its forwarding entries are exactly the expected ones, that
      every command of OpenGL 1.0 to 4.6 (but the query-only ones, those of
      sync handles and those left to hand-written entries) has its entry, and
      that every entry has its Fortran alias (lower case, one trailing
      underscore) at the same address.

A parameter type in the written lines may carry the storage the entry reads
it from, when that is not the address of the type itself:
  T@W      a value (or a byte offset, for T = const void *) read from a
           W-byte integer and sign-extended
  T@WxN    a vector of N narrow values, each the low bits of a W-byte integer
  T@W#K    an array of byte offsets in W-byte integers, as many as parameter K
  T@W<     an array OpenGL fills, received into W-byte elements, as many as
           the entry's extra last argument ("+count") says
      Exits non-zero with one line per fault.
"""
import argparse
import re
import subprocess
import sys
import xml.etree.ElementTree as ET

# Commands that are reached only through the query entries.
QUERY_ONLY = ["glGetError", "glGetString", "glGetStringi"]
# Commands of sync objects: the layer holds their handles in a table.
SYNC_COMMANDS = ["glFenceSync", "glIsSync", "glDeleteSync", "glClientWaitSync", "glWaitSync", "glGetSynciv"]
# Commands of OpenGL 4.3 without a generated entry: a Fortran routine, a log of
# several texts, a sync handle together with text.
OWN_ENTRIES = ["glDebugMessageCallback", "glGetDebugMessageLog", "glObjectPtrLabel", "glGetObjectPtrLabel"]
# The entries written by hand for the debug-output commands (a routine
# through a trampoline, a log of texts).
DEBUG_ENTRIES = {"fglDebugMessageCallback", "fglDebugMessageCallbackI4", "fglDebugMessageCallbackNull",
                 "fglGetDebugMessageLogC"}

# Commands whose pointer OpenGL reads as a byte offset when a buffer is
# bound: the array pointers and the indices of the draw-elements commands.
OFFSET_COMMANDS = {
    "glVertexPointer": "pointer", "glNormalPointer": "pointer", "glColorPointer": "pointer",
    "glIndexPointer": "pointer", "glTexCoordPointer": "pointer", "glEdgeFlagPointer": "pointer",
    "glInterleavedArrays": "pointer", "glFogCoordPointer": "pointer",
    "glSecondaryColorPointer": "pointer", "glVertexAttribPointer": "pointer",
    "glVertexAttribIPointer": "pointer",
    "glDrawElements": "indices", "glDrawRangeElements": "indices", "glDrawElementsInstanced": "indices",
    "glDrawElementsBaseVertex": "indices", "glDrawRangeElementsBaseVertex": "indices",
    "glDrawElementsInstancedBaseVertex": "indices",
    "glMultiDrawElements": "indices", "glMultiDrawElementsBaseVertex": "indices",
    # the image data of the pixel commands, under a bound pixel unpack or pack buffer
    "glDrawPixels": "pixels", "glReadPixels": "pixels", "glGetTexImage": "pixels",
    "glTexImage1D": "pixels", "glTexImage2D": "pixels", "glTexImage3D": "pixels",
    "glTexSubImage1D": "pixels", "glTexSubImage2D": "pixels", "glTexSubImage3D": "pixels",
    "glCompressedTexImage1D": "data", "glCompressedTexImage2D": "data", "glCompressedTexImage3D": "data",
    "glCompressedTexSubImage1D": "data", "glCompressedTexSubImage2D": "data",
    "glCompressedTexSubImage3D": "data", "glGetCompressedTexImage": "img",
    # the same for the images of the direct-state-access texture commands
    "glTextureSubImage1D": "pixels", "glTextureSubImage2D": "pixels", "glTextureSubImage3D": "pixels",
    "glGetTextureImage": "pixels", "glGetTextureSubImage": "pixels",
    "glCompressedTextureSubImage1D": "data", "glCompressedTextureSubImage2D": "data",
    "glCompressedTextureSubImage3D": "data", "glGetCompressedTextureImage": "pixels",
    "glVertexAttribLPointer": "pointer", "glDrawElementsInstancedBaseInstance": "indices",
    "glDrawElementsInstancedBaseVertexBaseInstance": "indices",
    # the commands of an indirect draw, or an offset into the bound indirect buffer
    "glDrawArraysIndirect": "indirect", "glDrawElementsIndirect": "indirect",
    "glMultiDrawArraysIndirect": "indirect", "glMultiDrawElementsIndirect": "indirect",
    "glMultiDrawArraysIndirectCount": "indirect", "glMultiDrawElementsIndirectCount": "indirect",
}
# Image commands whose repacking entries must be exported: the storages of
# each. Images typed by format and type come in 4-byte,
# 2-byte and packed storage, compressed images in packed storage only.
TYPED_IMAGES = ["glTexImage3D", "glTexSubImage3D", "glTextureSubImage1D", "glTextureSubImage2D",
                "glTextureSubImage3D", "glGetTextureImage", "glGetTextureSubImage"]
COMPRESSED_IMAGES = ["glCompressedTexImage1D", "glCompressedTexImage2D", "glCompressedTexImage3D",
                     "glCompressedTexSubImage1D", "glCompressedTexSubImage2D", "glCompressedTexSubImage3D",
                     "glGetCompressedTexImage", "glCompressedTextureSubImage1D",
                     "glCompressedTextureSubImage2D", "glCompressedTextureSubImage3D",
                     "glGetCompressedTextureImage"]
REPACKED_IMAGES = {**{c: ["I4", "I2", "P"] for c in TYPED_IMAGES}, **{c: ["P"] for c in COMPRESSED_IMAGES}}
BYTES = {"GLbyte", "GLubyte"}
NARROW = BYTES | {"GLshort", "GLushort", "GLboolean"}

# Every command with more than one forwarding entry, with its entries in their
# fixed order. Every other forwarded command has one entry, fgl + its name
# without the gl prefix.
FAMILIES = {
    # byte-valued scalars
    "glColor3b": ["fglColor3b", "fglColor3bI4", "fglColor3bI2"],
    "glColor3ub": ["fglColor3ub", "fglColor3ubI4", "fglColor3ubI2"],
    "glColor4b": ["fglColor4b", "fglColor4bI4", "fglColor4bI2"],
    "glColor4ub": ["fglColor4ub", "fglColor4ubI4", "fglColor4ubI2"],
    "glNormal3b": ["fglNormal3b", "fglNormal3bI4", "fglNormal3bI2"],
    "glIndexub": ["fglIndexub", "fglIndexubI4", "fglIndexubI2"],
    # short-valued scalars
    "glColor3s": ["fglColor3s", "fglColor3sI4"],
    "glColor3us": ["fglColor3us", "fglColor3usI4"],
    "glColor4s": ["fglColor4s", "fglColor4sI4"],
    "glColor4us": ["fglColor4us", "fglColor4usI4"],
    "glIndexs": ["fglIndexs", "fglIndexsI4"],
    "glNormal3s": ["fglNormal3s", "fglNormal3sI4"],
    "glRasterPos2s": ["fglRasterPos2s", "fglRasterPos2sI4"],
    "glRasterPos3s": ["fglRasterPos3s", "fglRasterPos3sI4"],
    "glRasterPos4s": ["fglRasterPos4s", "fglRasterPos4sI4"],
    "glRects": ["fglRects", "fglRectsI4"],
    "glTexCoord1s": ["fglTexCoord1s", "fglTexCoord1sI4"],
    "glTexCoord2s": ["fglTexCoord2s", "fglTexCoord2sI4"],
    "glTexCoord3s": ["fglTexCoord3s", "fglTexCoord3sI4"],
    "glTexCoord4s": ["fglTexCoord4s", "fglTexCoord4sI4"],
    "glVertex2s": ["fglVertex2s", "fglVertex2sI4"],
    "glVertex3s": ["fglVertex3s", "fglVertex3sI4"],
    "glVertex4s": ["fglVertex4s", "fglVertex4sI4"],
    "glLineStipple": ["fglLineStipple", "fglLineStippleI4"],
    "glMultiTexCoord1s": ["fglMultiTexCoord1s", "fglMultiTexCoord1sI4"],
    "glMultiTexCoord2s": ["fglMultiTexCoord2s", "fglMultiTexCoord2sI4"],
    "glMultiTexCoord3s": ["fglMultiTexCoord3s", "fglMultiTexCoord3sI4"],
    "glMultiTexCoord4s": ["fglMultiTexCoord4s", "fglMultiTexCoord4sI4"],
    # boolean scalars
    "glColorMask": ["fglColorMask", "fglColorMaskI4"],
    "glDepthMask": ["fglDepthMask", "fglDepthMaskI4"],
    "glEdgeFlag": ["fglEdgeFlag", "fglEdgeFlagI4"],
    "glSampleCoverage": ["fglSampleCoverage", "fglSampleCoverageI4"],
    # boolean results
    "glIsEnabled": ["fglIsEnabled", "fglIsEnabledI4"],
    "glIsList": ["fglIsList", "fglIsListI4"],
    "glIsTexture": ["fglIsTexture", "fglIsTextureI4"],
    # untyped data: the two pass-through entries
    "glCallLists": ["fglCallLists", "fglCallListsI1"],
    "glDrawPixels": ["fglDrawPixels", "fglDrawPixelsI1"],
    "glGetTexImage": ["fglGetTexImage", "fglGetTexImageI1"],
    "glReadPixels": ["fglReadPixels", "fglReadPixelsI1"],
    "glTexImage1D": ["fglTexImage1D", "fglTexImage1DI1"],
    "glTexImage2D": ["fglTexImage2D", "fglTexImage2DI1"],
    "glTexSubImage1D": ["fglTexSubImage1D", "fglTexSubImage1DI1"],
    "glTexSubImage2D": ["fglTexSubImage2D", "fglTexSubImage2DI1"],
    "glTexImage3D": ["fglTexImage3D", "fglTexImage3DI1"],
    "glTexSubImage3D": ["fglTexSubImage3D", "fglTexSubImage3DI1"],
}

# The commands that OpenGL 1.1 added, as a cross-check of the registry.
GL_1_1 = [
    "glAreTexturesResident", "glArrayElement", "glBindTexture", "glColorPointer",
    "glCopyTexImage1D", "glCopyTexImage2D", "glCopyTexSubImage1D", "glCopyTexSubImage2D",
    "glDeleteTextures", "glDisableClientState", "glDrawArrays", "glDrawElements",
    "glEdgeFlagPointer", "glEnableClientState", "glGenTextures", "glGetPointerv",
    "glIndexPointer", "glIndexub", "glIndexubv", "glInterleavedArrays", "glIsTexture",
    "glNormalPointer", "glPolygonOffset", "glPopClientAttrib", "glPrioritizeTextures",
    "glPushClientAttrib", "glTexCoordPointer", "glTexSubImage1D", "glTexSubImage2D",
    "glVertexPointer",
]

# Suffixes that the repacking entries (another part of the library) carry.
REPACKING_SUFFIXES = ("I4", "I2", "P")


def squash(text):
    return re.sub(r"\s+", " ", text).replace(" *", "*").replace("*", " *").strip()


def type_before(elem, name):
    """The C type that precedes <name> inside a <proto> or <param> element."""
    text = elem.text or ""
    for child in elem:
        if child.tag == "name":
            break
        text += (child.text or "") + (child.tail or "")
    return squash(text)


# Per command: (name, len) of each parameter.
DETAILS = {}


def registry(path):
    root = ET.parse(path).getroot()
    protos = {}
    for cmd in root.find("commands").findall("command"):
        proto = cmd.find("proto")
        name = proto.find("name").text
        params = [type_before(p, p.find("name").text) for p in cmd.findall("param")]
        protos[name] = (type_before(proto, name), params)
        DETAILS[name] = [(p.find("name").text, p.get("len")) for p in cmd.findall("param")]

    def feature(fname):
        f = [x for x in root.iter("feature") if x.get("name") == fname]
        if len(f) != 1:
            sys.exit(f"registry has no single feature {fname}")
        return [c.get("name") for r in f[0].findall("require") for c in r.findall("command")]

    carried = []
    for v in ("1_0", "1_1", "1_2", "1_3"):
        carried += [c for c in feature("GL_VERSION_" + v) if c not in carried]
    modern = []
    for v in ("1_4", "1_5", "2_0", "2_1", "3_0", "3_1", "3_2", "3_3",
              "4_0", "4_1", "4_2", "4_3", "4_4", "4_5", "4_6"):
        for c in feature("GL_VERSION_" + v):  # (a feature may list a command twice)
            if c not in modern and c not in carried:
                modern.append(c)
    return protos, carried, modern, feature("GL_VERSION_1_1")


def base(t):
    return " ".join(t.replace("const", " ").replace("*", " ").split())


def modern_variants(c, protos):
    """The storage entries of an OpenGL 1.4 to 4.6 command: (suffix, result,
    [param types with their storage])."""
    result, types = protos[c]
    details = DETAILS[c]
    out = []
    fixed = [i for i, t in enumerate(types) if t.startswith("const") and t.count("*") == 1
             and base(t) in NARROW and (details[i][1] or "").isdigit()]
    bytes_scalar = any(t in BYTES for t in types)
    boolean_array = any(base(t) == "GLboolean" and t.startswith("const") and "*" in t for t in types)
    wide = [i for i, t in enumerate(types) if t in ("GLintptr", "GLsizeiptr", "GLint64", "GLuint64")]
    # 64-bit and boolean query results, received into INTEGER*4 elements
    # (not an array whose length a parameter gives: it has 32-bit twins)
    names = [n for n, _ in details]
    filled = [i for i, t in enumerate(types) if t in ("GLint64 *", "GLuint64 *", "GLboolean *")
              and not (t != "GLboolean *" and details[i][1] in names)]
    if not boolean_array and (fixed or wide or filled or result == "GLboolean" or any(t in NARROW for t in types)):
        i4 = [f"{t}@4" if i in wide else f"{t}@4x{details[i][1]}" if i in fixed else f"{t}@4<" if i in filled
              else t for i, t in enumerate(types)]
        out.append(("I4", result, i4 + (["+count"] if filled else [])))
    byte_vectors = [i for i in fixed if base(types[i]) in BYTES]
    if bytes_scalar or byte_vectors:
        out.append(("I2", result, [f"{t}@2x{details[i][1]}" if i in byte_vectors else t
                                   for i, t in enumerate(types)]))
    # data sized by a format and a type: the same entry under the name of bytes
    if c in TYPED_IMAGES or any(base(t) == "void" and re.search(r"format.*type", details[i][1] or "")
                                for i, t in enumerate(types)):
        out.append(("I1", result, types))
    return out


def offset_variants(c, protos):
    """The offset entries of a command whose pointer may be a byte offset."""
    if c not in OFFSET_COMMANDS:
        return []
    result, types = protos[c]
    names = [n for n, _ in DETAILS[c]]
    out = []
    for width in (8, 4):
        params = []
        for i, (t, n) in enumerate(zip(types, names)):
            if n != OFFSET_COMMANDS[c]:
                params.append(t)
            elif t.count("*") == 2:
                params.append(f"{t}@{width}#{names.index('drawcount')}")
            else:
                params.append(f"{t}@{width}")
        out.append(("Offset" if width == 8 else "OffsetI4", result, params))
    return out


def expected(protos, carried, modern):
    """[(entry, command, result, [param types])] for the forwarding entries."""
    out = []
    for c in carried:
        if c in QUERY_ONLY:
            continue
        for entry in FAMILIES.get(c, ["fgl" + c[2:]]):
            out.append((entry, c, protos[c][0], protos[c][1]))
        out += [("fgl" + c[2:] + s, c, r, p) for s, r, p in offset_variants(c, protos)]
    for c in modern:
        if c in QUERY_ONLY or c in SYNC_COMMANDS or c in OWN_ENTRIES:
            continue
        out.append(("fgl" + c[2:], c, protos[c][0], protos[c][1]))
        out += [("fgl" + c[2:] + s, c, r, p) for s, r, p in modern_variants(c, protos) + offset_variants(c, protos)]
    return out


def check_counts(carried, modern, gl11, entries):
    faults = []
    if len(carried) != 386:
        faults.append(f"GL_VERSION_1_0 to 1_3 list {len(carried)} commands, not 306 + 30 + 4 + 46")
    if len(modern) != 338 + 324:
        faults.append(f"GL_VERSION_1_4 to 4_6 list {len(modern)} commands, not 338 + 324")
    gone = [c for c in SYNC_COMMANDS + list(OFFSET_COMMANDS) + OWN_ENTRIES + list(REPACKED_IMAGES)
            if c not in carried + modern]
    if gone:
        faults.append(f"commands not in OpenGL 1.0 to 4.6: {gone}")
    if sorted(gl11) != sorted(GL_1_1):
        faults.append(f"GL_VERSION_1_1 differs from the 30 listed: {sorted(set(gl11) ^ set(GL_1_1))}")
    missing = [c for c in list(FAMILIES) + QUERY_ONLY[:2] if c not in carried]
    if missing:
        faults.append(f"family commands not in OpenGL 1.0 to 1.3: {missing}")
    sizes = {}
    for _, c, _, _ in entries:
        if c in carried:
            sizes[c] = sizes.get(c, 0) + 1
    shape = (len(sizes), sorted(list(sizes.values())).count(1),
             list(sizes.values()).count(2), list(sizes.values()).count(3), list(sizes.values()).count(4))
    # 1.0 to 1.3: 323 commands with one entry, 30 with two (a storage
    # variant), 6 with three (byte scalars), 16 with three (offsets) and 9
    # with four (the pixel commands: I1 and offsets).
    if shape != (384, 323, 30, 22, 9):
        faults.append(f"commands/one/two/three/four entries = {shape}, not (384, 323, 30, 22, 9)")
    return faults


def write_inc(path, entries):
    lines = ["/* Expected forwarding entries, from gl.xml and the family table of expected_entries.py. */\n"]
    for entry, command, result, params in entries:
        types = "".join(f', "{t}"' for t in params)
        lines.append(f'FGL_EXPECTED({entry}, {command}, "{result}"{types})\n')
    with open(path, "w") as f:
        f.writelines(lines)


def exports(library):
    out = subprocess.run(["nm", "-D", "--defined-only", library], check=True,
                         capture_output=True, text=True).stdout
    symbols = {}
    for line in out.splitlines():
        parts = line.split()
        if len(parts) == 3 and parts[2].startswith("fgl"):
            symbols[parts[2]] = (parts[0], parts[1])
    return symbols


def is_alias(name):
    return name.endswith("_") and name == name.lower()


def repacked_images():
    """The repacking entries of the image commands."""
    return {"fgl" + c[2:] + s for c, storages in REPACKED_IMAGES.items() for s in storages}


def repacking_entry(name, protos, carried):
    """True if name is of the repacking kinds: an I4, I2 or P entry of an
    OpenGL 1.0 to 1.3 command with an array parameter or of an image command,
    or an error or string query entry."""
    if name == "fglGetError" or re.fullmatch(r"fglGetString[A-Za-z0-9]*", name) or name in repacked_images():
        return True
    for suffix in REPACKING_SUFFIXES:
        if name.endswith(suffix):
            command = "gl" + name[3:-len(suffix)]
            if command in carried and any("*" in t for t in protos[command][1]):
                return True
    return False


def text_entries(protos, modern):
    """The C entries: every command of OpenGL 1.4 to 4.6 with text (GLchar)
    among its parameters, or a text result; the P entries: those whose only
    texts are texts in (const GLchar)."""
    texts = [c for c in modern if c not in OWN_ENTRIES
             and (any("GLchar" in t for t in protos[c][1]) or protos[c][0].endswith("GLubyte *"))]
    packed = [c for c in texts if not protos[c][0].endswith("GLubyte *")
              and all(t.startswith("const") for t in protos[c][1] if "GLchar" in t)]
    return {"fgl" + c[2:] + "C" for c in texts} | {"fgl" + c[2:] + "P" for c in packed}


def sync_entries(protos):
    """The sync commands' entries: each unsuffixed, and I4 for a 64-bit
    timeout or a boolean result."""
    out = set()
    for c in SYNC_COMMANDS:
        out.add("fgl" + c[2:])
        if "GLuint64" in protos[c][1] or protos[c][0] == "GLboolean":
            out.add("fgl" + c[2:] + "I4")
    return out


def check_exports(library, protos, carried, modern, entries):
    faults = []
    symbols = exports(library)
    names = [n for n in symbols if not is_alias(n)]
    aliases = {n for n in symbols if is_alias(n)}
    for n in names:
        alias = n.lower() + "_"
        if alias not in symbols:
            faults.append(f"{n}: no Fortran alias {alias}")
        elif symbols[alias][0] != symbols[n][0]:
            faults.append(f"{n}: alias {alias} at {symbols[alias][0]}, entry at {symbols[n][0]}")
        if symbols[n][1] not in "TW":
            faults.append(f"{n}: symbol kind {symbols[n][1]}, not code")
    lowered = {n.lower() + "_" for n in names}
    for a in sorted(aliases - lowered):
        faults.append(f"{a}: alias without an entry")

    want = {e[0] for e in entries}
    have = set(names)
    for n in sorted(want - have):
        faults.append(f"{n}: forwarding entry not exported")
    texts = text_entries(protos, modern) | sync_entries(protos) | DEBUG_ENTRIES
    for n in sorted(texts - have):
        faults.append(f"{n}: text entry not exported")
    for n in sorted(repacked_images() - have):
        faults.append(f"{n}: image entry not exported")
    for n in sorted(have - want - texts):
        if not repacking_entry(n, protos, carried):
            faults.append(f"{n}: exported, but neither a forwarding nor a repacking entry")

    return faults, len(have & want), len(have - want - texts), len(have & texts)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--registry", default="/usr/share/khronos-api/gl.xml")
    ap.add_argument("--write-inc")
    ap.add_argument("--check-exports")
    args = ap.parse_args()
    protos, carried, modern, gl11 = registry(args.registry)
    entries = expected(protos, carried, modern)
    faults = check_counts(carried, modern, gl11, entries)
    if args.write_inc:
        if faults:
            sys.exit("\n".join(faults))
        write_inc(args.write_inc, entries)
    if args.check_exports:
        more, forwarding, others, texts = check_exports(args.check_exports, protos, carried, modern, entries)
        faults += more
        for f in faults:
            print("FAULT:", f)
        print(f"{forwarding} forwarding entries exported of {len(entries)} expected; "
              f"{texts} text and sync entries; {others} repacking and query entries; {len(faults)} faults")
        sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
