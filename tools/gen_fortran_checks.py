#!/usr/bin/env python3
"""Generate what lets Fortran compilers check every call of the layers.

Reads the layers' own C declarations (fgl.h, fglut.h, fglu.h, after the C
preprocessor has expanded the generated entry lists) and the C declarations
of OpenGL, GLU and GLUT, and writes into --out:

  gfortran/fgl.f90, fglut.f90, fglu.f90
                modules with an explicit interface for every entry and every
                constant of the include files as a PARAMETER
  flang/fgl.f90, ...
                the same for LLVM Flang, which cannot express an untyped
                dummy argument: untyped data is declared through a generic
                name, one specific per type and rank
  fgl.P, fglut.P, fglu.P
                f2c prototype files: `f2c prog.f fgl.P` warns about a call
                whose argument count or types differ from the entry's
  entries.tsv   entry, Fortran name, layer, family, result, arguments

and, with --reference FILE, the reference page of every entry (Markdown).

How a C parameter becomes a Fortran argument:
  T *name, T name[N]     by reference, T's Fortran type (GLfloat REAL*4 ...)
  void *name             untyped data: any type and kind
  const char *name       CHARACTER*(*), its length a hidden value argument
  a routine              a routine; GLUT's callback types give its shape
A pointer argument whose OpenGL, GLU or GLUT counterpart is a value (glColor3f's
red) or a pointer to one value (gluProject's winX) is a scalar; one whose
counterpart is a pointer (glGetIntegerv's params) or that the API does not have
(counts, packed text) may be a scalar or an array, so the module offers both
through a generic name: one specific for a scalar (or an array element) and
one for each rank of array, since a generic name picks its specific by the
rank of the actual argument.

Standard library only.
"""
import argparse
import itertools
import os
import re
import subprocess
import sys
import tempfile

# The files of constants of each layer, as the include-file generator names them.
from gen_fortran_include import constant_files

# C scalar types and their Fortran storage.
FORTRAN_TYPE = {
    "GLfloat": "REAL*4", "GLclampf": "REAL*4", "float": "REAL*4",
    "GLdouble": "DOUBLE PRECISION", "GLclampd": "DOUBLE PRECISION", "double": "DOUBLE PRECISION",
    "GLint": "INTEGER*4", "GLuint": "INTEGER*4", "GLenum": "INTEGER*4", "GLsizei": "INTEGER*4",
    "GLbitfield": "INTEGER*4", "int": "INTEGER*4", "unsigned int": "INTEGER*4", "unsigned": "INTEGER*4",
    "long long": "INTEGER*8",
    "GLshort": "INTEGER*2", "GLushort": "INTEGER*2",
    "GLbyte": "INTEGER*1", "GLubyte": "INTEGER*1",
    "GLboolean": "LOGICAL*1",
    "GLint64": "INTEGER*8", "GLuint64": "INTEGER*8", "GLintptr": "INTEGER*8", "GLsizeiptr": "INTEGER*8",
    "GLhalf": "INTEGER*2",
}
# Text of OpenGL 2.0 on (GLchar) is CHARACTER like char; an array of texts is
# an array of addresses, as is the address a command hands back.
TEXT_TYPES = {"char", "GLchar"}
NARROW_TYPES = {"GLbyte", "GLubyte", "GLshort", "GLushort", "GLboolean"}
# Each Fortran type in the module (free form) and in f2c's prototype codes.
F90_TYPE = {"REAL*4": "REAL(4)", "DOUBLE PRECISION": "REAL(8)", "INTEGER*8": "INTEGER(8)", "INTEGER*4": "INTEGER(4)",
            "INTEGER*2": "INTEGER(2)", "INTEGER*1": "INTEGER(1)", "LOGICAL*1": "LOGICAL(1)"}
F2C_CODE = {"INTEGER*8": 5, "INTEGER*4": 4, "INTEGER*2": 3, "INTEGER*1": 2, "LOGICAL*1": 10, "REAL*4": 6,
            "DOUBLE PRECISION": 7, "CHARACTER": 13, "untyped": 0, "routine": 200}
F2C_SUBROUTINE, F2C_LENGTH = 14, 124
# API parameters that are pointers to an object, not to data: always one value.
HANDLE_TYPES = re.compile(r"\b(GLUquadric|GLUquadricObj|GLUtesselator|GLUtesselatorObj|GLUtriangulatorObj|"
                          r"GLUnurbs|GLUnurbsObj)\b")
HANDLE_NAMES = {"font"}
# Arguments of the layers that OpenGL, GLU and GLUT do not have and that are
# one value: the counts of the data that comes with them.
COUNT_NAMES = {"count", "countIn", "countOut", "maxCount"}
# Arguments that are one value where the API takes a pointer: the
# application's word of GLUT's user-data and Ucall entries.
VALUE_NAMES = {"word"}
# The byte offset into a bound buffer that an Offset entry takes where the
# command takes a pointer: one number (an array of them is "offsets").
OFFSET_NAMES = {"offset"}
LAYERS = ("fgl", "fglut", "fglu")
# GLU's arrays: knots, control points, matrices, viewports, a vertex.
GLU_ARRAYS = {"knots", "sKnots", "tKnots", "control", "model", "proj", "perspective", "view", "viewport",
              "location"}
# GLU's pointers to one value: the coordinates that gluProject and
# gluUnProject write.
GLU_ONE_VALUE = {"winX", "winY", "winZ", "objX", "objY", "objZ", "objW"}
# The highest rank of array that a generic name's specifics take: the limit
# of Fortran 77 to 2003. Fortran 2008's 15 would double the specifics and the
# time each USE of a module takes; an array of higher rank is passed as its
# first element.
MAX_RANK = 7
# A generic name has one specific for each combination of the ranks of its
# arguments that may be arrays; more than this many is a fault of the data.
# The most are the 512 of fglMultiDrawElementsBaseVertexOffset (counts,
# offsets and base vertices, each of any rank).
MAX_SPECIFICS = 512
# OpenGL commands whose vector has a fixed length of more than one value
# (glVertex3dv, glRectfv, glLoadMatrixd).
VECTOR_COMMAND = re.compile(r"^gl(\w*?[2-4](b|s|i|f|d|ub|us|ui)v|Rect[sifd]v|(Load|Mult)(Transpose)?Matrix[fd])$")
# Entries for C callers only, without a Fortran name: GLUT's argument count
# and vector after initialisation.
C_ONLY = {"fglutArgumentCount", "fglutArgumentVector"}


def layer_of(name):
    if name.startswith("fglut"):
        return "fglut"
    if name.startswith("fglu"):
        return "fglu"
    return "fgl"


def split_top(text, sep=","):
    """Split at separators outside parentheses."""
    parts, depth, cur = [], 0, ""
    for ch in text:
        if ch == "(":
            depth += 1
        elif ch == ")":
            depth -= 1
        if ch == sep and depth == 0:
            parts.append(cur)
            cur = ""
        else:
            cur += ch
    if cur.strip():
        parts.append(cur)
    return [p.strip() for p in parts]


def strip_attributes(text):
    while True:
        m = re.search(r"__attribute__\s*\(", text)
        if not m:
            return text
        depth, i = 0, m.end() - 1
        while True:
            depth += {"(": 1, ")": -1}.get(text[i], 0)
            i += 1
            if depth == 0:
                break
        text = text[:m.start()] + text[i:]


def statements(source):
    text = strip_attributes(source)
    text = re.sub(r'extern\s+"C"\s*\{', " ", text)
    text = re.sub(r"__extension__|\bextern\b", " ", text)
    depth, cur = 0, ""
    for ch in text:
        if ch in "{}" and depth == 0:
            cur = ""
            continue
        if ch == "(":
            depth += 1
        elif ch == ")":
            depth -= 1
        if ch == ";" and depth == 0:
            yield " ".join(cur.split())
            cur = ""
        else:
            cur += ch


class Param:
    def __init__(self, text):
        self.text = text
        self.routine = None  # None, or a list of argument types (or "unknown")
        m = re.match(r"(.*)\(\s*\*\s*(\w+)\s*\)\s*\((.*)\)$", text)
        if m:
            self.name, self.base, self.pointer = m.group(2), "routine", True
            self.routine = "unknown"
            return
        m = re.match(r"(.*?)(\w+)\s*(\[\s*\w*\s*\])?$", text)
        ctype, self.name, brackets = m.group(1), m.group(2), m.group(3)
        self.pointer = "*" in ctype or bool(brackets)
        self.double_pointer = ctype.count("*") > 1
        self.ctype = " ".join(ctype.replace("*", " ").replace("const", " ").split())
        self.base = self.ctype

    def __repr__(self):
        return self.text


def parse_declarations(source):
    """(functions, routine types): name -> (result, [Param]), typedef -> [Fortran types]."""
    functions, routines = {}, {}
    for st in statements(source):
        if st.startswith("typedef"):
            m = re.match(r"typedef\s+[\w\s]+\(\s*\*\s*(\w+)\s*\)\s*\((.*)\)$", st)
            if m and m.group(1).startswith("fgl"):
                args = [Param(p) for p in split_top(m.group(2)) if p != "void"]
                # A routine's text is CHARACTER, its length a value after the
                # other arguments (not a Fortran argument).
                routines[m.group(1)] = ["CHARACTER" if a.ctype in TEXT_TYPES else FORTRAN_TYPE[a.ctype]
                                        for a in args if a.pointer]
            continue
        m = re.match(r"^([\w\s\*]+?)\s*\b(\w+)\s*\((.*)\)$", st, re.S)
        if not m or "(" in m.group(1):
            continue
        result, name, params = m.groups()
        plist = [Param(p) for p in split_top(params) if p and p != "void"]
        functions[name] = (" ".join(result.split()), plist)
    return functions, routines


class Arg:
    """One Fortran argument: name, kind (type, CHARACTER, untyped, routine),
    shape (scalar, array or either) and, for a routine, its argument types."""
    def __init__(self, name, kind, shape="scalar", routine=None):
        self.name, self.kind, self.shape, self.routine = name, kind, shape, routine


class Entry:
    def __init__(self, name, result, args, family):
        self.name, self.result, self.args, self.family = name, result, args, family
        self.layer = layer_of(name)
        self.link = name.lower() + "_"

    @property
    def untyped(self):
        return any(a.kind == "untyped" for a in self.args)

    def left_out(self, compiler):
        """Flang 16 cannot declare untyped data as such (FLANG_DATA_TYPES):
        its module declares an entry with untyped data through a generic
        name, one specific per type and rank of the data, and leaves out only
        an entry whose specifics would be too many (two untyped arguments)
        or that a generic name cannot carry (text or routines)."""
        if compiler != "flang" or not self.untyped:
            return False
        if any(a.kind in ("CHARACTER", "routine") for a in self.args):
            return True
        return len(shape_choices(self, compiler)) > MAX_SPECIFICS


def api_counterpart(name, api):
    """The OpenGL, GLU or GLUT function an entry calls: fglFoo -> glFoo,
    with the storage, text and offset suffixes taken off when needed."""
    base = name[1:]
    while base:
        if base in api:
            return api[base]
        m = re.match(r"(.*?)(I4|I2|I1|P|C|N|Null|Offset)$", base)
        if not m:
            return None
        base = m.group(1)
    return None


def fortran_result(ctype, name):
    ctype = " ".join(ctype.replace("const", " ").split())
    if ctype == "void":
        return None
    if ctype.endswith("*"):
        return "INTEGER*8"
    if ctype in FORTRAN_TYPE:
        return FORTRAN_TYPE[ctype]
    raise SystemExit("gen_fortran_checks: %s: no Fortran type for result %r" % (name, ctype))


def make_entry(name, result, params, routines, api, family):
    counterpart = api_counterpart(name, api)
    counterpart_name = next((n for n, v in api.items() if v is counterpart), None) if counterpart else None
    api_params = {p.name: p for p in counterpart[1]} if counterpart else {}
    # Parameters named otherwise than the API's are matched by position when
    # the entry has as many as the API function (fglutGet's state, glutGet's
    # query). Leaving out the counts the API does not have, one that is a
    # value there is a scalar here too (fglutChangeToSubMenu's submenu,
    # glutChangeToSubMenu's value).
    by_position = counterpart and len(counterpart[1]) == len(params)
    uncounted = [p for p in params if p.name not in COUNT_NAMES and (p.pointer or p.routine)]
    by_value = counterpart and not by_position and len(counterpart[1]) == len(uncounted)
    # A storage suffix names the caller's storage of the narrow values that the
    # entry reads from the low bytes of each element (fglColor3ubI2).
    suffix = re.search(r"(I4|I2|I1)$", name)
    storage = {"I4": "INTEGER*4", "I2": "INTEGER*2", "I1": "INTEGER*1"}[suffix.group(1)] if suffix else None
    args = []
    for p in params:
        if p.routine == "unknown":
            args.append(Arg(p.name, "routine", routine=None))
        elif p.base in routines:
            args.append(Arg(p.name, "routine", routine=routines[p.base]))
        elif not p.pointer:
            if p.ctype not in ("int", "size_t", "long"):
                raise SystemExit("gen_fortran_checks: %s: value parameter %s" % (name, p.text))
            continue  # the hidden length of a CHARACTER argument
        elif p.ctype in TEXT_TYPES and p.double_pointer:
            args.append(Arg(p.name, "INTEGER*8", "array"))
        elif p.ctype in TEXT_TYPES:
            # Where the API takes an array of texts (glShaderSource's lines,
            # transform feedback varyings, uniform names), the entry takes a
            # CHARACTER array of any rank.
            text_array = p.name in api_params and api_params[p.name].double_pointer or p.name in CHARACTER_ARRAYS
            args.append(Arg(p.name, "CHARACTER", "array" if text_array else "scalar"))
        elif p.ctype in ("void", "GLvoid"):
            args.append(Arg(p.name, "untyped", "array"))
        elif p.ctype in FORTRAN_TYPE:
            ap = api_params.get(p.name)
            if ap is None and by_position:
                ap = counterpart[1][params.index(p)]
            if ap is None and by_value and p in uncounted and not counterpart[1][uncounted.index(p)].pointer:
                ap = counterpart[1][uncounted.index(p)]
            # (NAME_count: the word count of a packed text)
            scalar = p.name in VALUE_NAMES or p.name in OFFSET_NAMES or p.name.endswith("_count") or (ap is None and p.name in COUNT_NAMES) or ap is not None and (not ap.pointer or p.name in HANDLE_NAMES
                                         or HANDLE_TYPES.search(ap.text)
                                         or re.match(r"glu[A-Z]", counterpart_name) and ap.name in GLU_ONE_VALUE)
            # Always an array: item data that the API takes untyped and the
            # entry in one storage, and the vectors of fixed length of the
            # ...v commands. Any rank, or an array element, will do.
            always_array = ap is not None and ap.pointer and ap.ctype in ("void", "GLvoid") or \
                counterpart_name is not None and ap is not None and (
                    VECTOR_COMMAND.match(counterpart_name) or
                    counterpart_name.startswith("glu") and (ap.name in GLU_ARRAYS
                                                            or counterpart_name == "gluPwlCurve"))
            ftype = FORTRAN_TYPE[p.ctype]
            if storage and p.ctype in NARROW_TYPES:
                ftype = storage
            elif p.ctype == "GLboolean" and scalar:
                # A one-byte flag is read from the first byte of its storage,
                # so the INTEGER*4 GL_TRUE and GL_FALSE of the include files
                # are what a program passes.
                ftype = "INTEGER*4"
            args.append(Arg(p.name, ftype, "scalar" if scalar else "array" if always_array else "either"))
        else:
            raise SystemExit("gen_fortran_checks: %s: no Fortran type for %s" % (name, p.text))
    if any(a.kind == "CHARACTER" for a in args):
        # An entry with text has a hidden length, so it cannot be BIND(C) nor
        # a generic name. Its other pointers are the values OpenGL writes
        # back beside the text (length, size, type: one each), or one value
        # per name given (TEXT_ARRAYS).
        for a in args:
            if a.shape == "either":
                a.shape = "array" if a.name in TEXT_ARRAYS else "scalar"
    if any(a.kind in ("CHARACTER", "routine") for a in args) and any(a.shape == "either" for a in args):
        # Such an entry cannot be BIND(C), so it cannot be a generic name.
        raise SystemExit("gen_fortran_checks: %s: text or a routine with an argument that may be a scalar or "
                         "an array" % name)
    return Entry(name, fortran_result(result, name), args, family)


# The arguments of text entries that hold one value per name, or per message
# of the debug log.
TEXT_ARRAYS = {"uniformIndices", "sources", "types", "ids", "severities", "lengths"}
# Text that an entry takes as a CHARACTER array where the API takes one
# buffer: the debug log's messages, one per element.
CHARACTER_ARRAYS = {"messages"}


def header_families(paths):
    """Entry name -> the first sentence of the heading comment above it in the
    layer headers: the last comment block that follows a blank line (a
    comment right under a declaration is a note on the next ones)."""
    families = {}
    for path in paths:
        heading, buf, in_comment, blank = "", "", False, True
        with open(path) as f:
            for line in f:
                s = line.strip()
                if not in_comment and s.startswith("/*") and not line.startswith(" "):
                    buf, in_comment, is_heading = s[2:], True, blank
                if in_comment:
                    if buf != s[2:]:
                        buf += " " + s.lstrip("*").strip()
                    if "*/" in s:
                        in_comment = False
                        if is_heading:
                            heading = first_sentence(buf.split("*/")[0])
                    blank = False
                    continue
                blank = not s
                if s.startswith("#") and not s.startswith("#define"):
                    continue
                for m in re.finditer(r"\b(fgl\w+?)(##\w+)?\s*\(", line):
                    families.setdefault(m.group(1), heading)
    return families


def first_sentence(text):
    """Up to the first full stop or colon outside parentheses."""
    text, depth = " ".join(text.split()), 0
    for i, ch in enumerate(text):
        depth += {"(": 1, ")": -1}.get(ch, 0)
        if depth == 0 and ch in ".:" and (i + 1 == len(text) or text[i + 1] == " ") \
                and i > 0 and text[i - 1].isalnum() or depth == 0 and ch in ".:" and text[i - 1:i] == ")":
            return text[:i]
    return text.rstrip(":.")


def macro_families(paths):
    """Entries of the generated lists: family from the list's macro."""
    names = {"FGL_FORWARD": "OpenGL commands, forwarded", "FGL_TEXT": "OpenGL text as CHARACTER or packed words",
             "FGL_SYNC": "OpenGL sync objects as handles",
             "FGL_PIXELS": "Pixel, bitmap, stipple, pixel-map and image data in 4-byte, 2-byte or packed storage",
             "FGLU_PROJECTION": "Projection",
             "FGLU_IMAGE": "Images, passed through unchanged", "FGLU_QUADRIC": "Quadrics",
             "FGLU_TESS": "Tessellators", "FGLU_NURBS": "NURBS renderers"}
    families = {}
    for path in paths:
        with open(path) as f:
            for line in f:
                m = re.match(r"(\w+)\((\w+),", line)
                if m:
                    families[m.group(2)] = names.get(m.group(1), "Generated entries")
    return families


# ---------------------------------------------------------------- modules
def f90_lines(text, indent):
    """Free-form lines within 132 columns, continued with &."""
    out, line = [], " " * indent
    for word in text.split(" "):
        if len(line) + len(word) + 3 > 120:
            out.append(line.rstrip() + " &")
            line = " " * (indent + 4)
        line += word + " "
    out.append(line.rstrip())
    return out


def dimension(shape):
    """The DIMENSION of a dummy: a scalar (rank 0), an assumed-size array of
    any rank through sequence association ("array"), or an assumed-size
    array of exactly rank k for a specific of a generic name, (1,...,1,*)."""
    if shape in ("scalar", 0):
        return ""
    return ", DIMENSION(%s*)" % ("1," * (shape - 1) if isinstance(shape, int) else "")


def interface_body(entry, specific, shapes, compiler, bind):
    kind = "SUBROUTINE" if entry.result is None else "FUNCTION"
    names = ", ".join(a.name for a in entry.args)
    head = "%s%s %s(%s)" % ("" if entry.result is None else F90_TYPE[entry.result] + " ", kind, specific, names)
    if bind:
        head += " BIND(C,NAME='%s')" % entry.link
    lines = f90_lines(head, 4)
    for a, shape in zip(entry.args, shapes):
        if a.kind == "routine":
            if a.routine is None or compiler == "flang":
                lines.append("      EXTERNAL :: %s" % a.name)
            else:
                lines.append("      INTERFACE")
                dummies = ["a%d" % i for i in range(len(a.routine))]
                lines.append("        SUBROUTINE %s(%s)" % (a.name, ", ".join(dummies)))
                for d, t in zip(dummies, a.routine):
                    lines.append("          %s :: %s" % ("CHARACTER(*)" if t == "CHARACTER" else F90_TYPE[t], d))
                lines.append("        END SUBROUTINE %s" % a.name)
                lines.append("      END INTERFACE")
        elif a.kind == "CHARACTER":
            lines.append("      CHARACTER(*) :: %s%s" % (a.name, "(*)" if a.shape == "array" else ""))
        elif a.kind == "untyped" and isinstance(shape, tuple):
            lines.append("      %s%s :: %s" % (shape[0], dimension(shape[1]), a.name))
        elif a.kind == "untyped":
            lines.append("!GCC$ ATTRIBUTES NO_ARG_CHECK :: %s" % a.name)
            lines.append("      TYPE(*), DIMENSION(*) :: %s" % a.name)
        else:
            lines.append("      %s%s :: %s" % (F90_TYPE[a.kind], dimension(shape), a.name))
    lines.append("    END %s %s" % (kind, specific))
    return lines


# Flang 16 cannot declare untyped data: a TYPE(*), DIMENSION(*) dummy stops
# its lowering of every call ("not yet implemented: support for polymorphic
# types"), and it ignores !DIR$ IGNORE_TKR (an INTEGER(1) array passed for an
# INTEGER dummy: "Actual argument type 'INTEGER(1)' is not compatible with
# dummy argument type 'INTEGER(4)'"). A generic name with one BIND(C)
# specific per type and rank of the data compiles and passes the data's
# address unchanged, so Flang's module declares untyped data as each of these
# types, of every rank. LOGICAL data (stipples, flags) and text (list names
# for fglCallLists) are among them: a CHARACTER(1) dummy takes a text of any
# length, and an array of texts, by character sequence association, and
# passes the address of its first character.
FLANG_DATA_TYPES = ["INTEGER(1)", "INTEGER(2)", "INTEGER(4)", "INTEGER(8)", "REAL(4)", "REAL(8)",
                    "LOGICAL(1)", "LOGICAL(4)", "CHARACTER(1)"]
FLANG_DATA_CODES = {"INTEGER(1)": "I1", "INTEGER(2)": "I2", "INTEGER(4)": "I4", "INTEGER(8)": "I8",
                    "REAL(4)": "R4", "REAL(8)": "R8", "LOGICAL(1)": "L1", "LOGICAL(4)": "L4",
                    "CHARACTER(1)": "C1"}


def generic(entry, compiler=None):
    """Whether the entry's interface is a generic name: it has an argument
    that may be a scalar or an array (or, for Flang, untyped data). Its
    specifics are BIND(C), so that they share the entry's link name
    (make_entry sees to it that such an entry has no text or routine)."""
    return any(a.shape == "either" for a in entry.args) or (compiler == "flang" and entry.untyped)


def shape_choices(entry, compiler=None):
    """The shapes of the arguments of each specific. A generic name picks its
    specific by the kind, type and rank of each actual argument, and an
    array element is a scalar there: every argument that may be an array
    takes each rank from 0 (a scalar or an array element) to MAX_RANK, in
    every combination. A single specific takes arrays of any rank and array
    elements through assumed size."""
    if not generic(entry, compiler):
        return [tuple("scalar" if a.shape == "either" else a.shape for a in entry.args)]
    flang_data = [(t, r) for t in FLANG_DATA_TYPES for r in range(MAX_RANK + 1)]
    options = [flang_data if a.kind == "untyped" and compiler == "flang"
               else range(MAX_RANK + 1) if a.shape in ("either", "array") and a.kind != "untyped" else (a.shape,)
               for a in entry.args]
    choices = list(itertools.product(*options))
    if compiler == "flang" and entry.untyped:
        return choices  # left out beyond MAX_SPECIFICS (Entry.left_out)
    if len(choices) > MAX_SPECIFICS:
        raise SystemExit("gen_fortran_checks: %s: %d specifics for its ranks" % (entry.name, len(choices)))
    return choices


def interface_block(entry, compiler):
    choices = shape_choices(entry, compiler)
    if not generic(entry, compiler):
        # One specific under the entry's own name: its external name is the
        # entry's Fortran name, and it can be passed as a routine.
        return ["  INTERFACE"] + interface_body(entry, entry.name, choices[0], compiler, False) + ["  END INTERFACE"]
    lines = ["  INTERFACE %s" % entry.name]
    for shapes in choices:
        suffix = "_".join(str(s) if isinstance(s, int) else "%s%d" % (FLANG_DATA_CODES[s[0]], s[1])
                          for s in shapes if isinstance(s, (int, tuple)))
        lines += interface_body(entry, "%s_R%s" % (entry.name, suffix), shapes, compiler, True)
    lines.append("  END INTERFACE %s" % entry.name)
    return lines


def constants(inc_path):
    """(name, Fortran type, value) of every PARAMETER of an include file."""
    types, out = {}, []
    with open(inc_path) as f:
        lines = f.read().splitlines()
    # Join continuation lines (a long name's PARAMETER gives its value on one).
    joined = []
    for line in lines:
        if line[:1] not in "Cc*!" and len(line) > 5 and line[5] not in " 0" and joined:
            joined[-1] += line[6:]
        else:
            joined.append(line)
    for line in joined:
        if line[:1] in "Cc*!":
            continue
        m = re.match(r"\s+(INTEGER\*4|INTEGER\*8|DOUBLE PRECISION)\s+(\w+)\s*$", line)
        if m:
            types[m.group(2)] = m.group(1)
            continue
        m = re.match(r"\s+PARAMETER\s*\((\w+)\s*=\s*(.+)\)\s*$", line)
        if m:
            out.append((m.group(1), types[m.group(1)], m.group(2).strip()))
    return out


def gen_module(layer, entries, consts, compiler):
    lines = ["! %s.f90: generated by gen_fortran_checks.py; do not edit." % layer,
             "! The %s entries with explicit interfaces and the constants of" % layer,
             "! %s, for programs that say USE %s instead of INCLUDE."
             % (", ".join(constant_files()[layer]), layer.upper())]
    skipped = [e.name for e in entries if e.left_out(compiler)]
    if skipped:
        lines.append("! Left without interface: entries with untyped data that this compiler")
        lines.append("! cannot declare through one generic name.")
        for i in range(0, len(skipped), 6):
            lines.append("!   " + ", ".join(skipped[i:i + 6]))
    lines += ["MODULE %s" % layer.upper(), "  IMPLICIT NONE", "  PUBLIC"]
    for name, ftype, value in consts:
        t = {"INTEGER*4": "INTEGER(4)", "INTEGER*8": "INTEGER(8)"}.get(ftype, "REAL(8)")
        lines.append("  %s, PARAMETER :: %s = %s" % (t, name, value))
    for e in entries:
        if e.left_out(compiler):
            continue
        lines += interface_block(e, compiler)
    lines.append("END MODULE %s" % layer.upper())
    return "\n".join(lines) + "\n"


# ---------------------------------------------------------------- f2c
def prototype(entry):
    """The entry as f2c's prototype files record a called routine:
    /*:ref: name result-code argument-count argument-codes */"""
    codes = [F2C_CODE[a.kind] for a in entry.args]
    codes += [F2C_LENGTH for a in entry.args if a.kind == "CHARACTER"]
    result = F2C_SUBROUTINE if entry.result is None else F2C_CODE[entry.result]
    return "/*:ref: %s %d %d%s */\n" % (entry.link, result, len(codes), "".join(" %d" % c for c in codes))


# ---------------------------------------------------------------- reference
def describe(arg):
    if arg.kind == "routine":
        if arg.routine is None:
            return "EXTERNAL %s" % arg.name.upper()
        return "EXTERNAL %s(%s)" % (arg.name.upper(), ", ".join(
            "CHARACTER*(*)" if t == "CHARACTER" else t for t in arg.routine)) if arg.routine else \
            "EXTERNAL %s" % arg.name.upper()
    if arg.kind == "CHARACTER":
        return "CHARACTER*(*) %s%s" % (arg.name.upper(), "(*)" if arg.shape == "array" else "")
    if arg.kind == "untyped":
        return "any type %s(*)" % arg.name.upper()
    if arg.shape == "either":
        return "%s %s or %s(*)" % (arg.kind, arg.name.upper(), arg.name.upper())
    return "%s %s%s" % (arg.kind, arg.name.upper(), "(*)" if arg.shape == "array" else "")


def gen_reference(entries):
    titles = {"fgl": "OpenGL (libfgl, `USE FGL`, `fgl.P`)", "fglut": "GLUT (libfglut, `USE FGLUT`, `fglut.P`)",
              "fglu": "GLU (libfglu, `USE FGLU`, `fglu.P`)"}
    out = ["# Entry reference", "",
           "Every entry of the three libraries with the Fortran types of its arguments",
           "and of its result, generated from the libraries' declarations by",
           "`tools/gen_fortran_checks.py` (the modules and prototype files come from the",
           "same data). `NAME(*)`: an array of any rank or an array element; `NAME or",
           "NAME(*)`: a scalar, an array of rank 1 to %d or an array element (an array of" % MAX_RANK,
           "higher rank as its first element); `any type`: data of any type and kind;",
           "`EXTERNAL R(...)`: a routine that GLUT or OpenGL calls with those arguments.",
           "The Fortran name of each entry is its name in upper case.", ""]
    for layer in LAYERS:
        mine = [e for e in entries if e.layer == layer]
        out += ["## %s" % titles[layer], "", "%d entries." % len(mine), ""]
        families = []
        for e in mine:
            if e.family not in families:
                families.append(e.family)
        for fam in families:
            out += ["### %s" % fam, ""]
            for e in sorted((e for e in mine if e.family == fam), key=lambda e: e.name.lower()):
                sig = "%s(%s)" % (e.name.upper(), ", ".join(describe(a) for a in e.args))
                res = "%s FUNCTION " % e.result if e.result else "SUBROUTINE "
                out.append("- `%s%s`" % (res, sig))
            out.append("")
    return "\n".join(out)


def preprocess(cc, includes, extra):
    src = "".join('#include "%s"\n' % h for h in ("fgl.h", "fglut.h", "fglu.h"))
    src += "#include <GL/freeglut.h>\n"
    src += "#define GL_COMMAND(command, result, params, args) result command params;\n"
    src += '#include "gl_commands.inc"\n' + extra
    with tempfile.NamedTemporaryFile("w", suffix=".c", delete=False) as f:
        f.write(src)
    try:
        return subprocess.run([cc, "-E", "-P"] + ["-I" + d for d in includes] + [f.name],
                              check=True, capture_output=True, text=True).stdout
    finally:
        os.unlink(f.name)


def collect(a):
    source = preprocess(a.cc, a.include, "")
    functions, routines = parse_declarations(source)
    api = {n: v for n, v in functions.items() if re.match(r"glu?t?[A-Z]", n)}
    families = header_families(a.header)
    families.update(macro_families(a.generated_list))

    def family(name):
        stem = name
        while stem not in families and re.search(r"(I4|I2|I1|P)$", stem):
            stem = re.sub(r"(I4|I2|I1|P)$", "", stem)
        return families.get(stem, "Other entries")
    entries = []
    for name, (result, params) in functions.items():
        if not name.startswith("fgl") or name in C_ONLY:
            continue
        entries.append(make_entry(name, result, params, routines, api, family(name)))
    return entries


def write(path, text):
    os.makedirs(os.path.dirname(path) or ".", exist_ok=True)
    with open(path, "w") as f:
        f.write(text)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--cc", default="cc")
    ap.add_argument("--include", action="append", default=[], help="directory of the layer headers")
    ap.add_argument("--header", action="append", default=[], help="a layer header, for the families")
    ap.add_argument("--generated-list", action="append", default=[], help="a generated entry list")
    ap.add_argument("--inc-dir", required=True, help="directory of fgl.inc, fglut.inc, fglu.inc")
    ap.add_argument("--out", required=True)
    ap.add_argument("--reference", help="write the reference page here")
    a = ap.parse_args()
    entries = collect(a)
    order = {name: i for i, name in enumerate(e.name for e in entries)}
    entries.sort(key=lambda e: (LAYERS.index(e.layer), order[e.name]))
    for layer in LAYERS:
        mine = [e for e in entries if e.layer == layer]
        consts = [c for f in constant_files()[layer] for c in constants(os.path.join(a.inc_dir, f))]
        for compiler in ("gfortran", "flang"):
            write(os.path.join(a.out, compiler, layer + ".f90"), gen_module(layer, mine, consts, compiler))
        write(os.path.join(a.out, layer + ".P"), "".join(prototype(e) for e in mine))
    write(os.path.join(a.out, "entries.tsv"), "".join(
        "%s\t%s\t%s\t%s\t%s\t%s\n" % (e.name, e.link, e.layer, e.family, e.result or "",
                                      ",".join(describe(x) for x in e.args)) for e in entries))
    if a.reference:
        write(a.reference, gen_reference(entries))


if __name__ == "__main__":
    sys.exit(main())
