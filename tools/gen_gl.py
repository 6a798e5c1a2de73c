#!/usr/bin/env python3
"""Generate the OpenGL 1.0 to 4.6 forwarding entries and the recording libGL
stand-in from the Khronos registry (gl.xml).

Every parameter of every command is classified into the binding's kinds (see
classify); each family of entries is a rule over kinds (FAMILIES) that is
applied to every command it fits. Outputs, all into --out:
  fgl_forward.inc   one FGL_FORWARD(entry, fortran_name, command, result, (params), (args))
                    line per forwarding entry; included with different macro
                    definitions for the definitions, the header and the tests.
                    args are the arguments as fgl::read takes them (a vector
                    copied into OpenGL's width is wrapped in fgl::fixed<N>).
                    A comment lists the commands without an entry, and why.
  gl_commands.inc   one GL_COMMAND(command, result, (params), (args)) line per
                    OpenGL 1.0 to 4.6 command (all 1048, glGetError and glGetString
                    included).
  fgl_check.inc     one FGL_CHECK_ARGS(entry, {kind, count, "name"}, ...) line per
                    forwarding entry: how the checking build inspects each argument.
  gl_recorder.cpp   a stand-in libGL: one definition per OpenGL 1.0 to 4.6 command that
                    records the command's name and each argument's raw bits and width.
  fgl_late.inc      one FGL_LATE(command, result, (params), (args)) line per command
                    that drivers need not export (LOOKED_UP): its entries call it
                    through a pointer looked up at run time (late.h).
  gl_kinds.tsv      the kind of every parameter and result.
  fgl_text.inc      one FGL_TEXT(entry, fortran_name, command, result, (params), (body))
                    line per entry of the C and P text families (text.h).
  fgl_sync.inc      one FGL_SYNC(entry, fortran_name, command, result, (params), (body))
                    line per entry of the sync kind (sync.h).
  fgl_pixels.inc    one FGL_PIXELS(entry, fortran_name, command, Storage, rule, target,
                    type, data, count_position, (params), (args), (size)) line per entry of
                    image data in 4-byte, 2-byte or packed storage (pixels.cpp).

With --summary, prints the number of entries per family and the commands
without an entry.

Standard library only, so it runs wherever CMake finds a Python 3.
"""
import argparse
import os
import re
import xml.etree.ElementTree as ET

# Commands without an unsuffixed forwarding entry, each with the reason: a
# parameter or result of a kind with behaviour of its own.
HAND_WRITTEN = {
    "glGetError": "hand-written query entry (errors held by the layer come first)",
    "glGetString": "text result: hand-written query entries",
    "glDebugMessageCallback": "routine: the trampoline of debug.cpp",
    "glGetDebugMessageLog": "text log: debug.cpp",
    "glObjectPtrLabel": "sync handle and text in one command: neither the sync nor the C family takes both",
    "glGetObjectPtrLabel": "sync handle and text in one command: neither the sync nor the C family takes both",
}

# The features whose commands the layer carries, oldest first.
FEATURES = ["GL_VERSION_1_0", "GL_VERSION_1_1", "GL_VERSION_1_2", "GL_VERSION_1_3",
            "GL_VERSION_1_4", "GL_VERSION_1_5", "GL_VERSION_2_0", "GL_VERSION_2_1",
            "GL_VERSION_3_0", "GL_VERSION_3_1", "GL_VERSION_3_2", "GL_VERSION_3_3",
            "GL_VERSION_4_0", "GL_VERSION_4_1", "GL_VERSION_4_2", "GL_VERSION_4_3",
            "GL_VERSION_4_4", "GL_VERSION_4_5", "GL_VERSION_4_6"]
# 1.0-1.3, 1.4-3.3, and 4.0-4.6 (46 + 88 + 12 + 43 + 9 + 122 + 4).
COMMAND_COUNT = 386 + 338 + 324
# The features whose commands not every driver's libGL exports: their entries
# call them through a pointer looked up by glXGetProcAddress (late.h).
LOOKED_UP = ["GL_VERSION_4_6"]
# The commands of 1.0 to 1.3, whose narrow vectors have the hand-written
# repacking entries of vectors.cpp.
FIRST_FEATURES = 4

# The direct-state-access image commands, whose data the registry gives no
# length: each is sized as the command on a bound target whose format, type
# and dimension parameters (or imageSize) it shares, its texture standing
# for the target. glGetTextureSubImage reads back the region glTexSubImage3D
# writes. glGetCompressedTextureSubImage has no such twin: the compressed
# size of a region depends on the format's block size, which no level query
# gives, so it keeps its unsuffixed and offset-free entry only.
IMAGE_TWINS = {
    "glTextureSubImage1D": "glTexSubImage1D",
    "glTextureSubImage2D": "glTexSubImage2D",
    "glTextureSubImage3D": "glTexSubImage3D",
    "glGetTextureImage": "glGetTexImage",
    "glGetTextureSubImage": "glTexSubImage3D",
    "glCompressedTextureSubImage1D": "glCompressedTexSubImage1D",
    "glCompressedTextureSubImage2D": "glCompressedTexSubImage2D",
    "glCompressedTextureSubImage3D": "glCompressedTexSubImage3D",
    "glGetCompressedTextureImage": "glGetCompressedTexImage",
}

# Result type of an entry whose result is delivered in 4-byte storage.
WIDENED_RESULT = "GLint"

NARROW_BYTES = {"GLbyte", "GLubyte"}
NARROW_SHORTS = {"GLshort", "GLushort"}
WIDE_64 = {"GLint64", "GLuint64", "GLint64EXT", "GLuint64EXT"}
POINTER_SIZED = {"GLintptr", "GLsizeiptr"}


def text_of(elem):
    return "".join(elem.itertext())


class Param:
    """One parameter as the registry describes it, with its kind."""
    def __init__(self, command, ptype, name, length, group, cls, siblings=()):
        self.command, self.type, self.name = command, ptype, name
        self.len, self.group, self.cls = length, group, cls
        self.siblings = siblings  # the names of the command's parameters
        self.kind = classify(self)

    @property
    def base(self):
        return " ".join(self.type.replace("const", " ").replace("*", " ").split())


# The binding's kinds of parameters:
#   scalar     a value of a 32-bit, narrow or floating type, read by address
#   narrow     a byte, short or boolean value (read from the first bytes)
#   int64      GLint64/GLuint64 value
#   intptr     GLintptr/GLsizeiptr value (sizes and offsets in bytes)
#   sync       GLsync value: a handle of the layer's table
#   array      array of the command's own type (fixed or counted length)
#   vector     a read array of narrow integers of fixed length
#   data       untyped data (void *) sized by pixel state or a byte count
#   kept       caller array kept by OpenGL (the *Pointer commands), or a
#              byte offset into the bound array buffer
#   indices    draw-elements indices, or a byte offset into the bound element buffer
#   indirect   the commands of an indirect draw (INTEGER*4 words), or a byte
#              offset into the bound indirect buffer
#   offsets    an array of indices pointers (glMultiDrawElements*)
#   text_in    const GLchar *           texts_in  const GLchar *const*
#   text_out   GLchar * with a bufSize and a length out
#   address_out  void ** (glGetPointerv): the address OpenGL keeps
#   received   an array OpenGL fills with 64-bit integers or booleans
def classify(p):
    t, base = p.type, p.base
    if "*" not in t:
        if base in WIDE_64:
            return "int64"
        if base in POINTER_SIZED:
            return "intptr"
        if base == "GLsync":
            return "sync"
        if base in NARROW_BYTES | NARROW_SHORTS | {"GLboolean"}:
            return "narrow"
        return "scalar"
    if base in ("void", "GLvoid"):
        if t.count("*") == 2 and t.startswith("const"):
            return "offsets"
        if t.count("*") == 2:
            return "address_out"
        if p.command.endswith("Pointer") or p.command == "glInterleavedArrays":
            return "kept"
        if p.name == "indices" and re.match(r"gl(Multi)?Draw", p.command):
            return "indices"
        if p.name == "indirect" and re.match(r"gl(Multi)?Draw\w*Indirect", p.command):
            return "indirect"
        return "data"
    if base == "GLchar":
        if t.count("*") == 2:
            return "texts_in"
        return "text_in" if t.startswith("const") else "text_out"
    if t.startswith("const") and base in NARROW_BYTES | NARROW_SHORTS and p.len and p.len.isdigit():
        return "vector"
    if not t.startswith("const") and t.count("*") == 1 and base in WIDE_64 | {"GLboolean"}:
        # An array whose length a parameter gives needs no count of its own;
        # such a query has 32-bit twins (glGetInternalformativ).
        return "array" if base in WIDE_64 and p.len in p.siblings else "received"
    return "array"


# Result kinds: void, scalar, boolean, int64, address (void *), text, sync.
def result_kind(result):
    if result == "GLboolean":
        return "boolean"
    if result == "GLsync":
        return "sync"
    if result.endswith("GLubyte *"):
        return "text"
    if result.endswith("*"):
        return "address"
    return "void" if result == "void" else "scalar"


class Command:
    def __init__(self, name, result, params, feature):
        self.name, self.result, self.params, self.feature = name, result, params, feature
        self.kinds = {p.kind for p in params}
        self.result_kind = result_kind(result)

    def own_behaviour(self):
        """Why the command has no unsuffixed forwarding entry, or None."""
        if self.name in HAND_WRITTEN:
            return HAND_WRITTEN[self.name]
        if "sync" in self.kinds or self.result_kind == "sync":
            return "sync handle: a handle of the layer's table, not the driver's pointer"
        if self.result_kind == "text":
            return "text result: the C text entry"
        return None


def parse(registry):
    root = ET.parse(registry).getroot()
    protos = {}
    for cmd in root.find("commands"):
        proto = cmd.find("proto")
        name = proto.find("name").text
        result = text_of(proto).rsplit(name, 1)[0].strip()
        params = []
        for p in cmd.findall("param"):
            pname = p.find("name").text
            ptype = text_of(p).rsplit(pname, 1)[0].strip()
            params.append((ptype, pname, p.get("len"), p.get("group"), p.get("class")))
        protos[name] = (result, params)
    names, feature_of = [], {}
    for i, fname in enumerate(FEATURES):
        feature = next(f for f in root.iter("feature") if f.get("name") == fname)
        for c in (c.get("name") for req in feature.iter("require") for c in req.iter("command")):
            if c not in feature_of:
                names.append(c)
                feature_of[c] = i
    def params(n):
        siblings = tuple(p[1] for p in protos[n][1])
        return [Param(n, *p, siblings) for p in protos[n][1]]
    commands = [Command(n, protos[n][0], params(n), feature_of[n]) for n in names]
    borrow_image_lengths(commands)
    return commands


def borrow_image_lengths(commands):
    """Gives the data of each command of IMAGE_TWINS its twin's length, the
    target named as the texture."""
    by_name = commands_by_name(commands)
    for name, twin in IMAGE_TWINS.items():
        own = next(p for p in by_name[name].params if p.kind == "data")
        theirs = next(p for p in by_name[twin].params if p.kind == "data")
        if own.len is not None:
            raise SystemExit(f"{name}: the registry now gives {own.name} a length ({own.len})")
        own.len = theirs.len.replace("target", "texture")


def by_address(ptype):
    """The entry's parameter type: a scalar arrives as the address of a variable."""
    return ptype if "*" in ptype else f"const {ptype} *"


def c_decl(ptype, pname):
    return f"{ptype} {pname}" if not ptype.endswith("*") else f"{ptype}{pname}"


class Entry:
    """One forwarding entry: its name, command, result and, per parameter,
    the entry's parameter type, name and the argument expression handed to
    the reading template (forward.cpp)."""
    def __init__(self, name, command, family, result, params):
        self.name, self.command, self.family, self.result = name, command, family, result
        self.params = params  # [(entry type, name, argument expression, registry Param)]


def plain(c):
    return [(by_address(p.type), p.name, p.name, p) for p in c.params]


# The families: each a rule over kinds, applied to every command it fits.
def family_i4(c):
    """Narrow values and vectors, booleans and GLintptr/GLsizeiptr from
    4-byte storage; a boolean result widened to 4 bytes; 64-bit and boolean
    query results received into 4-byte elements, their count last."""
    modern = c.feature >= FIRST_FEATURES
    if any(p.kind in ("array", "received") and p.base == "GLboolean" for p in c.params) and not modern:
        return None  # 1.0-1.3 arrays of booleans in 4-byte storage are repacked (textures.cpp, lists_queries.cpp)
    received = modern and "received" in c.kinds
    if not (c.kinds & {"narrow", "intptr", "int64"} or (modern and "vector" in c.kinds)
            or c.result_kind == "boolean" or received):
        return None
    pname = ", pname" if any(p.name == "pname" for p in c.params) else ""
    params = []
    for p in c.params:
        if p.kind == "received" and modern:
            params.append(("GLint *", p.name, f"fgl::received({p.name}, count{pname})", p))
        elif p.kind == "intptr" or p.kind == "int64":
            params.append(("const GLint *", p.name, p.name, p))
        elif p.kind == "vector" and c.feature >= FIRST_FEATURES:
            params.append(("const GLint *", p.name, f"fgl::fixed<{p.len}>({p.name})", p))
        else:
            params.append((by_address(p.type), p.name, p.name, p))
    if received:
        params.append(("const GLint *", "count", None, None))
    result = WIDENED_RESULT if c.result_kind == "boolean" else c.result
    return params, result


def family_i2(c):
    """Byte values and (beyond 1.3) byte vectors from 2-byte storage."""
    vectors = [p for p in c.params if p.kind == "vector" and p.base in NARROW_BYTES] \
        if c.feature >= FIRST_FEATURES else []
    if not (vectors or any(p.kind == "narrow" and p.base in NARROW_BYTES for p in c.params)):
        return None
    params = [("const GLshort *", p.name, f"fgl::fixed<{p.len}>({p.name})", p) if p in vectors
              else (by_address(p.type), p.name, p.name, p) for p in c.params]
    return params, c.result


def family_i1(c):
    """Untyped data sized by pixel state: the unsuffixed entry under the name
    of 1-byte elements."""
    if not any(p.kind == "data" and p.len and "COMPSIZE" in p.len and "type" in p.len for p in c.params):
        return None
    return plain(c), c.result


def compsize(p):
    """The parameters a COMPSIZE(...) length names, [] for any other length."""
    m = re.fullmatch(r"COMPSIZE\(([\w,]*)\)", p.len or "")
    return m.group(1).split(",") if m else []


def image_data(c):
    """The image data of a pixel command, or None: untyped data sized by the
    pixel state (COMPSIZE over format and type with the image's dimensions,
    or over a texture level's), or a compressed image (imageSize bytes, or
    the level's compressed size). When a pixel buffer is bound, OpenGL reads
    the pointer as a byte offset into it."""
    for p in c.params:
        if p.kind != "data":
            continue
        sized_by = compsize(p)
        if {"format", "type"} <= set(sized_by) and set(sized_by) & {"width", "level"} \
                or p.len == "imageSize" or sized_by[1:2] == ["level"]:
            return p
    return None


def offset_family(width):
    def rule(c):
        image = image_data(c)
        if not (c.kinds & {"kept", "indices", "indirect", "offsets"} or image):
            return None
        storage = "const GLint64 *" if width == 8 else "const GLint *"
        params = []
        for p in c.params:
            if p.kind in ("kept", "indices", "indirect") or p is image:
                params.append((storage, "offset", "offset", p))
            elif p.kind == "offsets":
                count = next(q.name for q in c.params if q.name == p.len)
                arg = "offsets" if width == 8 else f"fgl::widened(offsets, {count})"
                params.append((storage, "offsets", arg, p))
            else:
                params.append((by_address(p.type), p.name, p.name, p))
        return params, c.result
    rule.__doc__ = (f"The pointer as a byte offset into the bound buffer (array, element or pixel "
                    f"buffer), from {width}-byte storage.")
    return rule


FAMILIES = [("I4", family_i4), ("I2", family_i2), ("I1", family_i1),
            ("Offset", offset_family(8)), ("OffsetI4", offset_family(4))]


class TextEntry:
    """One entry of the C text family: its parameters as C declarations and
    the expression of its body (a wrapper of text.h per text argument)."""
    def __init__(self, name, command, result, params, body):
        self.name, self.command, self.result, self.params, self.body = name, command, result, params, body


def counted_by(c, p):
    """The parameter that counts the texts of an array of texts."""
    names = [q.name for q in c.params]
    m = re.match(r"(?:COMPSIZE\()?(\w+)\)?$", p.len or "")
    if not m or m.group(1) not in names:
        raise SystemExit(f"{c.name}: no count for {p.name} ({p.len})")
    return m.group(1)


def shader_lines(c):
    """Whether the command takes a shader's source (glShaderSource's string,
    glCreateShaderProgramv's strings): its lines each end in a newline; a
    length array beside them is left to OpenGL's NUL."""
    return any(p.kind == "texts_in" and p.name in ("string", "strings") for p in c.params)


def nul_ended_lengths(c):
    """The length parameters of texts in (COMPSIZE(text,length)): the copy
    ends in a NUL, so the entry takes no length and OpenGL is told -1."""
    return {m.group(1) for p in c.params if p.kind == "text_in"
            for m in [re.match(r"COMPSIZE\(\w+,(\w+)\)$", p.len or "")] if m}


def family_c(c):
    """Text as CHARACTER: each text in without its trailing blanks, arrays of
    texts (a shader's lines each ended by a newline, the length array then
    left to OpenGL's NUL), a text out blank-padded and truncated with its full
    length returned; the hidden lengths last."""
    outs = [p for p in c.params if p.kind == "text_out"]
    if not (outs or c.result_kind == "text" or c.kinds & {"text_in", "texts_in"}):
        return None
    if len(outs) > 1:
        raise SystemExit(f"{c.name}: more than one text out")
    lines = shader_lines(c)
    nul_ended = nul_ended_lengths(c)
    filled = {}
    if outs:
        out = outs[0]
        filled = {out.len: "buffer", "length": "length", out.name: "text"}
        for role in ("buffer", "length"):
            if not any(p.name == n for p in c.params for n, r in filled.items() if r == role):
                raise SystemExit(f"{c.name}: text out without its {role} parameter")
    params, args, hidden = [], [], []
    for p in c.params:
        if p.kind == "text_in":
            params.append(("const char *", p.name))
            args.append(f"fgl::text::In{{{p.name}, {p.name}_length}}")
            hidden.append(p.name)
        elif p.kind == "texts_in":
            params.append(("const char *", p.name))
            newline = "true" if lines else "false"
            args.append(f"fgl::text::Texts{{{p.name}, {counted_by(c, p)}, {p.name}_length, {newline}}}")
            hidden.append(p.name)
        elif lines and p.name == "length" and p.type == "const GLint *":
            args.append("fgl::text::NoLengths{}")
        elif p.name in nul_ended:
            args.append("fgl::text::NulEnded{}")
        elif p.name in filled:
            if filled[p.name] == "text":
                params.append(("char *", p.name))
                hidden.append(p.name)
            args.append("fgl::text::slot")
        else:
            params.append((by_address(p.type), p.name))
            args.append(p.name)
    if c.result_kind == "text":
        params.append(("char *", "text"))
        hidden.append("text")
    params += [("int", f"{h}_length") for h in hidden]
    if outs:
        index = {r: [q.name for q in c.params].index(n) for n, r in filled.items()}
        body = (f"fgl::text::Out<&{c.name}, {index['buffer']}, {index['length']}, {index['text']}>"
                f"::call({outs[0].name}, {outs[0].name}_length, {', '.join(args)})")
        result = "GLint"
    elif c.result_kind == "text":
        body = f"fgl::text::Result<&{c.name}>::call(text, text_length{''.join(', ' + a for a in args)})"
        result = "GLint"
    else:
        body = f"fgl::Forward<&{c.name}>::call({', '.join(args)})"
        result = c.result
    return TextEntry("fgl" + c.name[2:] + "C", c.name, result, params, body)


def family_p(c):
    """Text in as packed words, one character in the low byte of each 4-byte
    word, as the GLUT entries take it: a text as its words and the address of
    their count; an array of texts as its words, packed one after another,
    and their count+1 start positions (1-based; in place of a shader's line
    lengths, each line then ended by a newline). Commands with text out keep
    their C entry only."""
    if not c.kinds & {"text_in", "texts_in"} or "text_out" in c.kinds or c.result_kind == "text":
        return None
    lines = shader_lines(c)
    nul_ended = nul_ended_lengths(c)
    params, args = [], []
    for p in c.params:
        if p.kind == "text_in":
            params += [("const GLint *", p.name), ("const GLint *", f"{p.name}_count")]
            args.append(f"fgl::text::PackedIn{{{p.name}, {p.name}_count}}")
        elif p.kind == "texts_in":
            params += [("const GLint *", p.name), ("const GLint *", "starts")]
            newline = "true" if lines else "false"
            args.append(f"fgl::text::PackedTexts{{{p.name}, starts, {counted_by(c, p)}, {newline}}}")
        elif lines and p.name == "length" and p.type == "const GLint *":
            args.append("fgl::text::NoLengths{}")
        elif p.name in nul_ended:
            args.append("fgl::text::NulEnded{}")
        else:
            params.append((by_address(p.type), p.name))
            args.append(p.name)
    body = f"fgl::Forward<&{c.name}>::call({', '.join(args)})"
    return TextEntry("fgl" + c.name[2:] + "P", c.name, c.result, params, body)


def sync_entries(commands):
    """The sync kind: every GLsync parameter as the address of an INTEGER*4
    handle of the layer's table and a GLsync result as a new handle
    (sync.h); the I4 form reads a 64-bit timeout from 4 bytes, sign-extended
    (so -1 is GL_TIMEOUT_IGNORED), and widens a boolean result."""
    for c in commands:
        if not ("sync" in c.kinds or c.result_kind == "sync"):
            continue
        forms = [("", False)]
        if "int64" in c.kinds or c.result_kind == "boolean":
            forms.append(("I4", True))
        for suffix, narrow in forms:
            params = []
            for p in c.params:
                if p.kind == "sync" or (narrow and p.kind == "int64"):
                    params.append(("const GLint *", p.name))
                else:
                    params.append((by_address(p.type), p.name))
            if c.result_kind == "sync":
                result = "GLint"
            elif narrow and c.result_kind == "boolean":
                result = WIDENED_RESULT
            else:
                result = c.result
            body = f"fgl::sync::Call<&{c.name}>::call({', '.join(n for _, n in params)})"
            yield TextEntry("fgl" + c.name[2:] + suffix, c.name, result, params, body)


# The storage families of image data: suffix, the Storage of repack.h and
# the type of the caller's elements. A compressed image is bytes, held as a
# packed character array only.
PIXEL_STORAGE = [("I4", "GLint", "GLint"), ("P", "Packed", "GLint"), ("I2", "GLshort", "GLshort")]
COMPRESSED_STORAGE = [s for s in PIXEL_STORAGE if s[0] == "P"]


class PixelEntry:
    """One entry of image data held in wider or packed storage: the rule of
    pixels.cpp that moves the data (in: into OpenGL; image: into OpenGL, a
    count of 0 passing no data and a proxy target reading none; out: out of
    OpenGL), the target the image rule looks at, the pixel type (none for a
    compressed image), the data parameter's name, the C parameters, the command's arguments (p: the
    data as OpenGL sees it) and the expression of the bytes OpenGL reads (in,
    image) or of where it writes (out)."""
    def __init__(self, name, command, suffix, storage, rule, target, ptype, data, params, args, size):
        self.name, self.command, self.suffix, self.storage, self.rule = name, command, suffix, storage, rule
        self.target, self.type, self.data = target, ptype, data
        self.params, self.args, self.size = params, args, size


def pixel_rule(c):
    """How a command's image data is sized and moved, or None: typed data
    sized by format, type and the image's width (height, depth) or by the
    texture level named by target (or texture) and level; a compressed image
    of imageSize bytes, or the level's compressed size read back. Returns the
    data parameter, the rule, the size expression and the storages."""
    image = image_data(c)
    if not image:
        return None
    sized_by = compsize(image)
    out = not image.type.startswith("const")
    level = sized_by[:2] in (["target", "level"], ["texture", "level"])
    if not {"format", "type"} <= set(sized_by):
        if image.len == "imageSize" and not out:
            return image, "in", "non_negative(*imageSize)", COMPRESSED_STORAGE
        if out and level:
            query = "compressed_image_bytes" if sized_by[0] == "target" else "texture_compressed_bytes"
            return image, "out", f"written_block({query}(*{sized_by[0]}, *level))", COMPRESSED_STORAGE
        return None
    dims = [d for d in ("width", "height", "depth") if d in sized_by]
    names = [p.name for p in c.params]
    if dims:
        extent = ", ".join([f"*{d}" for d in dims] + ["1"] * (3 - len(dims)))
        if out and "depth" in dims:
            size = f"texture_region_written(*texture, *level, {extent}, *format, *type)"
        elif out:
            size = f"written_image({{{extent}, *format, *type, pack_store()}})"
        else:
            store = "unpack_store_3d()" if "depth" in dims else "unpack_store()"
            size = f"image_bytes({extent}, *format, *type, {store})"
    elif out and level:
        query = "tex_image_written" if sized_by[0] == "target" else "texture_image_written"
        size = f"{query}(*{sized_by[0]}, *level, *format, *type)"
    else:
        return None
    rule = "out" if out else "image" if "internalformat" in names and "target" in names else "in"
    return image, rule, size, PIXEL_STORAGE


# The data parameter's name where an entry had another before it was
# generated: the modules match it against the command's own parameter, and a
# name of its own keeps the entry taking a scalar or an array, as it did.
DATA_NAMES = {"glGetCompressedTexImage": "data"}


def pixel_entries(commands):
    """The image entries: the command's parameters with the data in the
    entry's storage, then the count. A read-back with a bufSize takes no
    bufSize of its own: OpenGL is told the bytes of the caller's count, so it
    never writes past the caller's elements."""
    for c in commands:
        fitted = pixel_rule(c)
        if not fitted:
            continue
        image, rule, size, storages = fitted
        target = "*target" if rule == "image" else "GLenum{0}"
        ptype = "*type" if any(p.name == "type" for p in c.params) else "GLenum{0}"
        data = DATA_NAMES.get(c.name, image.name)
        for suffix, storage, element in storages:
            params = [c_decl(f"{'' if rule == 'out' else 'const '}{element} *", data) if p is image
                      else c_decl(by_address(p.type), p.name) for p in c.params if p.name != "bufSize"]
            params.append("const GLint *count")
            args = ", ".join("p" if p is image else f"buffer_bytes<{storage}>({ptype}, *count)"
                             if p.name == "bufSize" else f"*{p.name}" for p in c.params)
            yield PixelEntry("fgl" + c.name[2:] + suffix, c.name, suffix, storage, rule, target, ptype,
                             data, params, args, size)


def gen_pixels(commands):
    lines = [HEADER]
    for e in pixel_entries(commands):
        lines.append(f"FGL_PIXELS({e.name}, {e.name.lower()}_, {e.command}, {e.storage}, {e.rule}, {e.target}, "
                     f"{e.type}, {e.data}, {len(e.params)}, ({', '.join(e.params)}), ({e.args}), ({e.size}))\n")
    return "".join(lines)


def text_entries(commands):
    # (the C entry of glGetString is hand-written with the query entries)
    for c in commands:
        if c.name in HAND_WRITTEN:
            continue
        for rule in (family_c, family_p):
            entry = rule(c)
            if entry:
                yield entry


def forwarding_entries(commands):
    for c in commands:
        if c.own_behaviour():
            continue
        yield Entry("fgl" + c.name[2:], c.name, "", c.result, plain(c))
        for suffix, rule in FAMILIES:
            fitted = rule(c)
            if fitted:
                params, result = fitted
                yield Entry("fgl" + c.name[2:] + suffix, c.name, suffix, result, params)


def write(path, text):
    # Leave an unchanged file alone so that nothing downstream rebuilds.
    if os.path.exists(path):
        with open(path) as f:
            if f.read() == text:
                return
    with open(path, "w") as f:
        f.write(text)


HEADER = "/* Generated by tools/gen_gl.py from the Khronos registry; do not edit. */\n"


def gen_forward(commands):
    lines = [HEADER, "/* Commands without an unsuffixed entry, and why:\n"]
    lines += [f" *   {c.name}: {c.own_behaviour()}\n" for c in commands if c.own_behaviour()]
    lines.append(" */\n")
    for e in forwarding_entries(commands):
        plist = ", ".join(c_decl(t, n) for t, n, _, _ in e.params) or "void"
        alist = ", ".join(a for _, _, a, _ in e.params if a is not None)
        lines.append(f"FGL_FORWARD({e.name}, {e.name.lower()}_, {e.command}, {e.result}, ({plist}), ({alist}))\n")
    return "".join(lines)


def gen_bodies(macro, entries):
    """One MACRO(entry, alias, command, result, (params), (body)) line per entry
    whose body the generator wrote (the text and sync families)."""
    lines = [HEADER]
    for e in entries:
        plist = ", ".join(c_decl(t, n) for t, n in e.params)
        lines.append(f"{macro}({e.name}, {e.name.lower()}_, {e.command}, {e.result}, ({plist}), ({e.body}))\n")
    return "".join(lines)


def gen_kinds(commands):
    """The classification as a table: command, parameter (or "result"), C type, kind."""
    lines = ["# command\tparameter\ttype\tkind\n"]
    for c in commands:
        lines.append(f"{c.name}\tresult\t{c.result}\t{c.result_kind}\n")
        lines += [f"{c.name}\t{p.name}\t{p.type}\t{p.kind}\n" for p in c.params]
    return "".join(lines)


# Argument kinds for the checking build (see checking/gl_checks.h).
SCALAR_KINDS = {"GLbyte": "b", "GLubyte": "b", "GLboolean": "b", "GLshort": "s", "GLushort": "s",
                "GLint": "i", "GLsizei": "i", "GLuint": "u", "GLbitfield": "u", "GLenum": "e",
                "GLfloat": "f", "GLclampf": "f", "GLdouble": "d", "GLclampd": "d",
                "GLint64": "l", "GLuint64": "l", "GLintptr": "l", "GLsizeiptr": "l"}
VECTOR_KINDS = {"const GLfloat *": "F", "const GLdouble *": "D"}


def arg_kind(entry_type, param):
    """Kind and element count of one argument as the entry takes it: a value
    (or offset) by the storage the entry reads, a read vector of singles or
    doubles by its elements (one if its length depends on another argument),
    anything else as data that is not inspected."""
    if param is None:  # the count of received values
        return "i", 1
    if "*" not in param.type and param.base in ("GLsizei", "GLsizeiptr"):
        return ("Z" if entry_type == "const GLsizeiptr *" else "z"), 1
    if "*" not in param.type or param.kind in ("kept", "indices", "indirect") \
            or param.kind == "data" and entry_type in OFFSET_STORAGE:
        return SCALAR_KINDS.get(entry_type.removeprefix("const ").removesuffix(" *"), "p"), 1
    if entry_type in VECTOR_KINDS:
        length = param.len
        return VECTOR_KINDS[entry_type], int(length) if length and length.isdigit() else 1
    return "p", 1


# The entry types of a byte offset in place of a pointer (the Offset families).
OFFSET_STORAGE = {"const GLint64 *", "const GLint *"}
NO_ARGUMENTS = "{'p', 0, \"\"}"


def gen_check(commands):
    lines = [HEADER]
    for e in forwarding_entries(commands):
        kinds = [(arg_kind(t, p), n) for t, n, _, p in e.params]
        args = ", ".join(f"{{'{k}', {c}, \"{n}\"}}" for (k, c), n in kinds)
        lines.append(f"FGL_CHECK_ARGS({e.name}, {args or NO_ARGUMENTS})\n")
    return "".join(lines)


def gen_commands(commands):
    lines = [HEADER]
    for c in commands:
        plist = ", ".join(c_decl(p.type, p.name) for p in c.params) or "void"
        alist = ", ".join(p.name for p in c.params)
        lines.append(f"GL_COMMAND({c.name}, {c.result}, ({plist}), ({alist}))\n")
    return "".join(lines)


def looked_up(commands):
    return [c for c in commands if FEATURES[c.feature] in LOOKED_UP]


def gen_late(commands):
    """FGL_LATE lines for the commands looked up at run time, then the names
    under which the entries' code reaches them."""
    lines = [HEADER, "#ifdef FGL_LATE\n"]
    for c in looked_up(commands):
        plist = ", ".join(c_decl(p.type, p.name) for p in c.params) or "void"
        alist = ", ".join(p.name for p in c.params)
        lines.append(f"FGL_LATE({c.name}, {c.result}, ({plist}), ({alist}))\n")
    lines.append("#else\n")
    lines += [f"#define {c.name} fgl_late_{c.name}\n" for c in looked_up(commands)]
    lines.append("#endif\n")
    return "".join(lines)


def gen_recorder(commands):
    out = [HEADER, '#include "gl_recorder.h"\n\n', 'extern "C" {\n']
    for c in commands:
        plist = ", ".join(c_decl(p.type, p.name) for p in c.params) or "void"
        args = ", ".join(f'gl_recorder::argument("{p.type}", {p.name})' for p in c.params)
        call = f'gl_recorder::record("{c.name}", {{{args}}})'
        if c.result == "void":
            body = f"{call};"
        else:
            body = f"return gl_recorder::result<{c.result}>({call});"
        out.append(f"{c.result} {c.name}({plist}) {{ {body} }}\n")
    out.append("}\n\n")
    # The commands a program may look up by name (glXGetProcAddress).
    out.append("const gl_recorder::Named gl_recorder::kLookedUp[] = {\n")
    out += [f'    {{"{c.name}", reinterpret_cast<void (*)()>(&{c.name})}},\n' for c in looked_up(commands)]
    out.append("    {nullptr, nullptr}};\n")
    return "".join(out)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--registry", default="/usr/share/khronos-api/gl.xml")
    ap.add_argument("--out", help="the directory of the outputs")
    ap.add_argument("--summary", action="store_true", help="print the entries by family")
    ap.add_argument("--coverage", action="store_true", help="print the coverage table (markdown)")
    ap.add_argument("--check-coverage", metavar="PAGE", help="check the table in a page")
    args = ap.parse_args()
    commands = parse(args.registry)
    if len(commands) != COMMAND_COUNT:
        raise SystemExit(f"expected the {COMMAND_COUNT} commands of OpenGL 1.0 to 4.6, "
                         f"the registry lists {len(commands)}")
    if args.coverage:
        print(coverage_table(commands), end="")
        return
    if args.check_coverage:
        check_coverage(commands, args.check_coverage)
        return
    if not args.out:
        ap.error("--out is required")
    os.makedirs(args.out, exist_ok=True)
    write(os.path.join(args.out, "fgl_forward.inc"), gen_forward(commands))
    write(os.path.join(args.out, "gl_commands.inc"), gen_commands(commands))
    write(os.path.join(args.out, "fgl_check.inc"), gen_check(commands))
    write(os.path.join(args.out, "gl_recorder.cpp"), gen_recorder(commands))
    write(os.path.join(args.out, "gl_kinds.tsv"), gen_kinds(commands))
    write(os.path.join(args.out, "fgl_text.inc"), gen_bodies("FGL_TEXT", text_entries(commands)))
    write(os.path.join(args.out, "fgl_sync.inc"), gen_bodies("FGL_SYNC", sync_entries(commands)))
    write(os.path.join(args.out, "fgl_pixels.inc"), gen_pixels(commands))
    write(os.path.join(args.out, "fgl_late.inc"), gen_late(commands))
    if args.summary:
        by_name = commands_by_name(commands)

        def span(command):
            f = by_name[command].feature
            return "1.0-1.3" if f < FIRST_FEATURES else "1.4-3.3" if FEATURES[f] <= "GL_VERSION_3_3" else "4.0-4.6"
        counts = {}
        for family, entries in (("", forwarding_entries(commands)), ("text", text_entries(commands)),
                                ("sync", sync_entries(commands)), ("pixels", pixel_entries(commands))):
            for e in entries:
                if family == "text":
                    name = e.name[-1]  # C or P
                elif family == "pixels":
                    name = "pixels " + e.suffix
                else:
                    name = family or e.family or "unsuffixed"
                key = (name, span(e.command))
                counts[key] = counts.get(key, 0) + 1
        for key in sorted(counts):
            print(*key, counts[key])
        for c in commands:
            if c.own_behaviour():
                print("not forwarded:", c.name, "-", c.own_behaviour())


COVERAGE_BEGIN = "<!-- OpenGL table: tools/gen_gl.py --coverage -->"
COVERAGE_END = "<!-- end of OpenGL table -->"
COVERED_FAMILIES = ["unsuffixed", "I4", "I2", "I1", "Offset", "OffsetI4", "C", "P", "sync", "pixels"]


def coverage_table(commands):
    """Per OpenGL version: the registry's commands, those with generated
    entries, and the entries of each family (markdown)."""
    rows = {f: {"commands": 0, "covered": set(), **{k: 0 for k in COVERED_FAMILIES}} for f in FEATURES}
    by_name = commands_by_name(commands)
    for c in commands:
        rows[FEATURES[c.feature]]["commands"] += 1
    for family, entries in (("", forwarding_entries(commands)), ("text", text_entries(commands)),
                            ("sync", sync_entries(commands)), ("pixels", pixel_entries(commands))):
        for e in entries:
            row = rows[FEATURES[by_name[e.command].feature]]
            row[e.name[-1] if family == "text" else family or e.family or "unsuffixed"] += 1
            row["covered"].add(e.command)
    head = ["OpenGL", "registry commands", "with generated entries"] + COVERED_FAMILIES
    lines = ["| " + " | ".join(head) + " |", "|" + "---|" * len(head)]
    total = {k: 0 for k in ["commands", "covered"] + COVERED_FAMILIES}
    for f in FEATURES:
        r = rows[f]
        values = [r["commands"], len(r["covered"])] + [r[k] for k in COVERED_FAMILIES]
        for k, v in zip(total, values):
            total[k] += v
        lines.append("| " + " | ".join([f.removeprefix("GL_VERSION_").replace("_", ".")] + [str(v) for v in values]) + " |")
    lines.append("| **1.0-4.6** | " + " | ".join(f"**{v}**" for v in total.values()) + " |")
    lines.append("")
    lines.append("Commands without a generated entry, and why:")
    lines.append("")
    lines += [f"- `{c.name}` ({FEATURES[c.feature].removeprefix('GL_VERSION_').replace('_', '.')}): "
              f"{c.own_behaviour()}" for c in commands if c.own_behaviour() and not rows[FEATURES[c.feature]]
              ["covered"].intersection({c.name})]
    return "\n".join([COVERAGE_BEGIN] + lines + [COVERAGE_END]) + "\n"


def check_coverage(commands, path):
    """Exits non-zero unless the page at path holds the table as generated."""
    with open(path) as f:
        page = f.read()
    if coverage_table(commands) not in page:
        raise SystemExit(f"{path}: the OpenGL table differs from the registry's counts; "
                         "regenerate it with tools/gen_gl.py --coverage")


def commands_by_name(commands):
    return {c.name: c for c in commands}


if __name__ == "__main__":
    main()
