#!/usr/bin/env python3
"""Generate the Fortran 77 include files of the binding layers.

Outputs, all into --out:
  fgl.inc       OpenGL 1.0's enumerants (the enums required by feature
                GL_VERSION_1_0 of the Khronos registry) as INTEGER*4 PARAMETERs
  fgl11.inc ... the enumerants each later version adds (GL_FILES below)
  fglut.inc     classic GLUT's constants and the nine font codes, as INTEGER*4
                PARAMETERs
  fglutx.inc    the constants freeglut adds
  fglu.inc      every GLU_ constant of <GL/glu.h> (--glu-header): INTEGER*4
                PARAMETERs, GLU_TESS_MAX_COORD a DOUBLE PRECISION PARAMETER
  fglall.inc    INCLUDEs every file of constants (gfortran and Flang)
  fglfn.inc     result types of the OpenGL 1.0-1.3 entries that return a value
  fglfn33.inc   the same for the OpenGL 1.4-3.3 entries
  fglfn46.inc   the same for the OpenGL 4.0-4.6 entries
  fglutfn.inc   result types of the GLUT entries that return a value
  fglufn.inc    result types of the GLU entries that return a value

Each file of constants fits f2c's default table of 802 names, so a routine
that includes only the files it uses translates with plain f2c.

With --check DIR it also writes three programs built from the same name
lists: check_fortran.f (prints NAME VALUE per line, each routine including
the one file its names come from), check_all.f (the same through fglall.inc)
and check_c.c (the same lines from <GL/gl.h>, <GL/freeglut.h> and
<GL/glu.h>), so a test can compare what each Fortran compiler sees with the
C headers. --list prints the names of the include files.

Everything is fixed-form Fortran 77 within 72 columns, accepted by gfortran
-std=legacy and by f2c. Standard library only.
"""
import argparse
import os
import re
import textwrap
import xml.etree.ElementTree as ET

# Classic GLUT's constants (those of GLUT 3.7's <GL/glut.h>, which freeglut
# repeats in <GL/freeglut_std.h>), grouped as the entries that use them; a test
# compares them with that header.
GLUT_CONSTANTS = [
    ("Display mode bits (fglutInitDisplayMode)", [
        ("GLUT_RGB", 0), ("GLUT_RGBA", 0), ("GLUT_INDEX", 1), ("GLUT_SINGLE", 0),
        ("GLUT_DOUBLE", 2), ("GLUT_ACCUM", 4), ("GLUT_ALPHA", 8), ("GLUT_DEPTH", 16),
        ("GLUT_STENCIL", 32), ("GLUT_MULTISAMPLE", 128), ("GLUT_STEREO", 256),
        ("GLUT_LUMINANCE", 512)]),
    ("Special keys (fglutSpecialFunc, fglutSpecialUpFunc)", [
        ("GLUT_KEY_F1", 1), ("GLUT_KEY_F2", 2), ("GLUT_KEY_F3", 3), ("GLUT_KEY_F4", 4),
        ("GLUT_KEY_F5", 5), ("GLUT_KEY_F6", 6), ("GLUT_KEY_F7", 7), ("GLUT_KEY_F8", 8),
        ("GLUT_KEY_F9", 9), ("GLUT_KEY_F10", 10), ("GLUT_KEY_F11", 11),
        ("GLUT_KEY_F12", 12), ("GLUT_KEY_LEFT", 100), ("GLUT_KEY_UP", 101),
        ("GLUT_KEY_RIGHT", 102), ("GLUT_KEY_DOWN", 103), ("GLUT_KEY_PAGE_UP", 104),
        ("GLUT_KEY_PAGE_DOWN", 105), ("GLUT_KEY_HOME", 106), ("GLUT_KEY_END", 107),
        ("GLUT_KEY_INSERT", 108)]),
    ("Mouse buttons and button states (fglutMouseFunc, fglutAttachMenu)", [
        ("GLUT_LEFT_BUTTON", 0), ("GLUT_MIDDLE_BUTTON", 1), ("GLUT_RIGHT_BUTTON", 2),
        ("GLUT_DOWN", 0), ("GLUT_UP", 1)]),
    ("Entry states (fglutEntryFunc)", [("GLUT_LEFT", 0), ("GLUT_ENTERED", 1)]),
    ("Menu usage (fglutMenuStateFunc, fglutMenuStatusFunc)", [
        ("GLUT_MENU_NOT_IN_USE", 0), ("GLUT_MENU_IN_USE", 1)]),
    ("Visibility states (fglutVisibilityFunc)", [
        ("GLUT_NOT_VISIBLE", 0), ("GLUT_VISIBLE", 1)]),
    ("Window status states (fglutWindowStatusFunc)", [
        ("GLUT_HIDDEN", 0), ("GLUT_FULLY_RETAINED", 1), ("GLUT_PARTIALLY_RETAINED", 2),
        ("GLUT_FULLY_COVERED", 3)]),
    ("State queries (fglutGet)", [
        ("GLUT_WINDOW_X", 100), ("GLUT_WINDOW_Y", 101), ("GLUT_WINDOW_WIDTH", 102),
        ("GLUT_WINDOW_HEIGHT", 103), ("GLUT_WINDOW_BUFFER_SIZE", 104),
        ("GLUT_WINDOW_STENCIL_SIZE", 105), ("GLUT_WINDOW_DEPTH_SIZE", 106),
        ("GLUT_WINDOW_RED_SIZE", 107), ("GLUT_WINDOW_GREEN_SIZE", 108),
        ("GLUT_WINDOW_BLUE_SIZE", 109), ("GLUT_WINDOW_ALPHA_SIZE", 110),
        ("GLUT_WINDOW_ACCUM_RED_SIZE", 111), ("GLUT_WINDOW_ACCUM_GREEN_SIZE", 112),
        ("GLUT_WINDOW_ACCUM_BLUE_SIZE", 113), ("GLUT_WINDOW_ACCUM_ALPHA_SIZE", 114),
        ("GLUT_WINDOW_DOUBLEBUFFER", 115), ("GLUT_WINDOW_RGBA", 116),
        ("GLUT_WINDOW_PARENT", 117), ("GLUT_WINDOW_NUM_CHILDREN", 118),
        ("GLUT_WINDOW_COLORMAP_SIZE", 119), ("GLUT_WINDOW_NUM_SAMPLES", 120),
        ("GLUT_WINDOW_STEREO", 121), ("GLUT_WINDOW_CURSOR", 122),
        ("GLUT_WINDOW_FORMAT_ID", 123),
        ("GLUT_SCREEN_WIDTH", 200), ("GLUT_SCREEN_HEIGHT", 201),
        ("GLUT_SCREEN_WIDTH_MM", 202), ("GLUT_SCREEN_HEIGHT_MM", 203),
        ("GLUT_MENU_NUM_ITEMS", 300), ("GLUT_DISPLAY_MODE_POSSIBLE", 400),
        ("GLUT_INIT_WINDOW_X", 500), ("GLUT_INIT_WINDOW_Y", 501),
        ("GLUT_INIT_WINDOW_WIDTH", 502), ("GLUT_INIT_WINDOW_HEIGHT", 503),
        ("GLUT_INIT_DISPLAY_MODE", 504), ("GLUT_ELAPSED_TIME", 700)]),
    ("Device queries (fglutDeviceGet)", [
        ("GLUT_HAS_KEYBOARD", 600), ("GLUT_HAS_MOUSE", 601), ("GLUT_HAS_SPACEBALL", 602),
        ("GLUT_HAS_DIAL_AND_BUTTON_BOX", 603), ("GLUT_HAS_TABLET", 604),
        ("GLUT_NUM_MOUSE_BUTTONS", 605), ("GLUT_NUM_SPACEBALL_BUTTONS", 606),
        ("GLUT_NUM_BUTTON_BOX_BUTTONS", 607), ("GLUT_NUM_DIALS", 608),
        ("GLUT_NUM_TABLET_BUTTONS", 609), ("GLUT_DEVICE_IGNORE_KEY_REPEAT", 610),
        ("GLUT_DEVICE_KEY_REPEAT", 611), ("GLUT_HAS_JOYSTICK", 612),
        ("GLUT_OWNS_JOYSTICK", 613), ("GLUT_JOYSTICK_BUTTONS", 614),
        ("GLUT_JOYSTICK_AXES", 615), ("GLUT_JOYSTICK_POLL_RATE", 616)]),
    ("Layer queries (fglutLayerGet) and layers (fglutUseLayer)", [
        ("GLUT_OVERLAY_POSSIBLE", 800), ("GLUT_LAYER_IN_USE", 801),
        ("GLUT_HAS_OVERLAY", 802), ("GLUT_TRANSPARENT_INDEX", 803),
        ("GLUT_NORMAL_DAMAGED", 804), ("GLUT_OVERLAY_DAMAGED", 805),
        ("GLUT_NORMAL", 0), ("GLUT_OVERLAY", 1)]),
    ("Video resize queries (fglutVideoResizeGet)", [
        ("GLUT_VIDEO_RESIZE_POSSIBLE", 900), ("GLUT_VIDEO_RESIZE_IN_USE", 901),
        ("GLUT_VIDEO_RESIZE_X_DELTA", 902), ("GLUT_VIDEO_RESIZE_Y_DELTA", 903),
        ("GLUT_VIDEO_RESIZE_WIDTH_DELTA", 904), ("GLUT_VIDEO_RESIZE_HEIGHT_DELTA", 905),
        ("GLUT_VIDEO_RESIZE_X", 906), ("GLUT_VIDEO_RESIZE_Y", 907),
        ("GLUT_VIDEO_RESIZE_WIDTH", 908), ("GLUT_VIDEO_RESIZE_HEIGHT", 909)]),
    ("Game mode queries (fglutGameModeGet)", [
        ("GLUT_GAME_MODE_ACTIVE", 0), ("GLUT_GAME_MODE_POSSIBLE", 1),
        ("GLUT_GAME_MODE_WIDTH", 2), ("GLUT_GAME_MODE_HEIGHT", 3),
        ("GLUT_GAME_MODE_PIXEL_DEPTH", 4), ("GLUT_GAME_MODE_REFRESH_RATE", 5),
        ("GLUT_GAME_MODE_DISPLAY_CHANGED", 6)]),
    ("Modifier bits (fglutGetModifiers)", [
        ("GLUT_ACTIVE_SHIFT", 1), ("GLUT_ACTIVE_CTRL", 2), ("GLUT_ACTIVE_ALT", 4)]),
    ("Cursor shapes (fglutSetCursor)", [
        ("GLUT_CURSOR_RIGHT_ARROW", 0), ("GLUT_CURSOR_LEFT_ARROW", 1),
        ("GLUT_CURSOR_INFO", 2), ("GLUT_CURSOR_DESTROY", 3), ("GLUT_CURSOR_HELP", 4),
        ("GLUT_CURSOR_CYCLE", 5), ("GLUT_CURSOR_SPRAY", 6), ("GLUT_CURSOR_WAIT", 7),
        ("GLUT_CURSOR_TEXT", 8), ("GLUT_CURSOR_CROSSHAIR", 9),
        ("GLUT_CURSOR_UP_DOWN", 10), ("GLUT_CURSOR_LEFT_RIGHT", 11),
        ("GLUT_CURSOR_TOP_SIDE", 12), ("GLUT_CURSOR_BOTTOM_SIDE", 13),
        ("GLUT_CURSOR_LEFT_SIDE", 14), ("GLUT_CURSOR_RIGHT_SIDE", 15),
        ("GLUT_CURSOR_TOP_LEFT_CORNER", 16), ("GLUT_CURSOR_TOP_RIGHT_CORNER", 17),
        ("GLUT_CURSOR_BOTTOM_RIGHT_CORNER", 18), ("GLUT_CURSOR_BOTTOM_LEFT_CORNER", 19),
        ("GLUT_CURSOR_INHERIT", 100), ("GLUT_CURSOR_NONE", 101),
        ("GLUT_CURSOR_FULL_CROSSHAIR", 102)]),
    ("Colour map components (fglutGetColor)", [
        ("GLUT_RED", 0), ("GLUT_GREEN", 1), ("GLUT_BLUE", 2)]),
    ("Key repeat modes (fglutSetKeyRepeat)", [
        ("GLUT_KEY_REPEAT_OFF", 0), ("GLUT_KEY_REPEAT_ON", 1),
        ("GLUT_KEY_REPEAT_DEFAULT", 2)]),
    ("Joystick button bits (fglutJoystickFunc)", [
        ("GLUT_JOYSTICK_BUTTON_A", 1), ("GLUT_JOYSTICK_BUTTON_B", 2),
        ("GLUT_JOYSTICK_BUTTON_C", 4), ("GLUT_JOYSTICK_BUTTON_D", 8)]),
]

# The constants freeglut adds (<GL/freeglut_ext.h>, and freeglut's API
# version macros), grouped as the entries that use them.
FREEGLUT_CONSTANTS = [
    ("Display mode bits (fglutInitDisplayMode)", [
        ("GLUT_CAPTIONLESS", 1024), ("GLUT_BORDERLESS", 2048), ("GLUT_SRGB", 4096),
        ("GLUT_AUX", 4096), ("GLUT_AUX1", 4096), ("GLUT_AUX2", 8192),
        ("GLUT_AUX3", 16384), ("GLUT_AUX4", 32768)]),
    ("Special keys (fglutSpecialFunc, fglutSpecialUpFunc)", [
        ("GLUT_KEY_NUM_LOCK", 109), ("GLUT_KEY_BEGIN", 110), ("GLUT_KEY_DELETE", 111),
        ("GLUT_KEY_SHIFT_L", 112), ("GLUT_KEY_SHIFT_R", 113), ("GLUT_KEY_CTRL_L", 114),
        ("GLUT_KEY_CTRL_R", 115), ("GLUT_KEY_ALT_L", 116), ("GLUT_KEY_ALT_R", 117),
        ("GLUT_KEY_SUPER_L", 118), ("GLUT_KEY_SUPER_R", 119)]),
    ("State queries (fglutGet)", [
        ("GLUT_INIT_STATE", 124), ("GLUT_WINDOW_SRGB", 125),
        ("GLUT_WINDOW_BORDER_WIDTH", 506), ("GLUT_WINDOW_BORDER_HEIGHT", 507),
        ("GLUT_WINDOW_HEADER_HEIGHT", 507), ("GLUT_VERSION", 508)]),
    ("Options (fglutSetOption; fglutGet reads them back)", [
        ("GLUT_ACTION_ON_WINDOW_CLOSE", 505), ("GLUT_RENDERING_CONTEXT", 509),
        ("GLUT_DIRECT_RENDERING", 510), ("GLUT_FULL_SCREEN", 511),
        ("GLUT_INIT_MAJOR_VERSION", 512), ("GLUT_INIT_MINOR_VERSION", 513),
        ("GLUT_INIT_FLAGS", 514), ("GLUT_INIT_PROFILE", 515),
        ("GLUT_SKIP_STALE_MOTION_EVENTS", 516),
        ("GLUT_GEOMETRY_VISUALIZE_NORMALS", 517),
        ("GLUT_STROKE_FONT_DRAW_JOIN_DOTS", 518),
        ("GLUT_ALLOW_NEGATIVE_WINDOW_POSITION", 519)]),
    ("What closing a window does (GLUT_ACTION_ON_WINDOW_CLOSE)", [
        ("GLUT_ACTION_EXIT", 0), ("GLUT_ACTION_GLUTMAINLOOP_RETURNS", 1),
        ("GLUT_ACTION_CONTINUE_EXECUTION", 2)]),
    ("Contexts (GLUT_RENDERING_CONTEXT, GLUT_DIRECT_RENDERING)", [
        ("GLUT_CREATE_NEW_CONTEXT", 0), ("GLUT_USE_CURRENT_CONTEXT", 1),
        ("GLUT_FORCE_INDIRECT_CONTEXT", 0), ("GLUT_ALLOW_DIRECT_CONTEXT", 1),
        ("GLUT_TRY_DIRECT_CONTEXT", 2), ("GLUT_FORCE_DIRECT_CONTEXT", 3)]),
    ("Context flags and profiles (fglutInitContextFlags, ...Profile)", [
        ("GLUT_DEBUG", 1), ("GLUT_FORWARD_COMPATIBLE", 2),
        ("GLUT_CORE_PROFILE", 1), ("GLUT_COMPATIBILITY_PROFILE", 2)]),
    ("Modifier bits (fglutGetModifiers)", [("GLUT_ACTIVE_SUPER", 8)]),
    ("Spaceball button bits", [
        ("GLUT_SPACEBALL_BUTTON_A", 1), ("GLUT_SPACEBALL_BUTTON_B", 2),
        ("GLUT_SPACEBALL_BUTTON_C", 4), ("GLUT_SPACEBALL_BUTTON_D", 8),
        ("GLUT_SPACEBALL_BUTTON_E", 16)]),
    ("Application states of mobile platforms", [
        ("GLUT_APPSTATUS_PAUSE", 1), ("GLUT_APPSTATUS_RESUME", 2)]),
    ("The GLUT interface that freeglut implements", [
        ("GLUT_API_VERSION", 4), ("GLUT_XLIB_IMPLEMENTATION", 13),
        ("GLUT_HAS_MULTI", 1)]),
]

# The binding's font codes (not GLUT's own font handles): the font entries
# map code k to the k-th font of this list.
FONT_CODES = [
    ("GLUT_STROKE_ROMAN", 1), ("GLUT_STROKE_MONO_ROMAN", 2),
    ("GLUT_BITMAP_9_BY_15", 3), ("GLUT_BITMAP_8_BY_13", 4),
    ("GLUT_BITMAP_TIMES_ROMAN_10", 5), ("GLUT_BITMAP_TIMES_ROMAN_24", 6),
    ("GLUT_BITMAP_HELVETICA_10", 7), ("GLUT_BITMAP_HELVETICA_12", 8),
    ("GLUT_BITMAP_HELVETICA_18", 9),
]

# Entries that return a value, with the Fortran type of the result. Without
# these declarations Fortran's implicit typing would make every fgl... name a
# REAL function.
GL_FUNCTIONS = [
    ("INTEGER*4", ["fglGetError", "fglGetString", "fglGetStringC", "fglGenLists", "fglRenderMode",
                   "fglIsEnabledI4", "fglIsListI4", "fglIsTextureI4",
                   "fglAreTexturesResidentI4"]),
    ("LOGICAL*1", ["fglIsEnabled", "fglIsList", "fglIsTexture",
                   "fglAreTexturesResident"]),
]
# The same for the entries of OpenGL 1.4 to 3.3, in a file of their own so
# that a routine of an OpenGL 1.x program keeps the room it had under f2c:
# names and handles, locations, lengths of the text written (the C entries),
# statuses, sync handles and waits.
GL33_FUNCTIONS = [
    ("INTEGER*4", ["fglCreateProgram", "fglCreateShader", "fglGetAttribLocation",
                   "fglGetUniformLocation", "fglGetFragDataLocation", "fglGetFragDataIndex",
                   "fglGetUniformBlockIndex", "fglCheckFramebufferStatus",
                   "fglGetAttribLocationC", "fglGetUniformLocationC",
                   "fglGetFragDataLocationC", "fglGetFragDataIndexC",
                   "fglGetUniformBlockIndexC", "fglGetShaderInfoLogC",
                   "fglGetProgramInfoLogC", "fglGetShaderSourceC", "fglGetActiveAttribC",
                   "fglGetActiveUniformC", "fglGetActiveUniformNameC",
                   "fglGetActiveUniformBlockNameC", "fglGetTransformFeedbackVaryingC",
                   "fglGetStringiC", "fglFenceSync", "fglClientWaitSync",
                   "fglClientWaitSyncI4", "fglIsEnablediI4", "fglIsBufferI4",
                   "fglIsQueryI4", "fglIsProgramI4", "fglIsShaderI4", "fglIsFramebufferI4",
                   "fglIsRenderbufferI4", "fglIsVertexArrayI4", "fglIsSamplerI4",
                   "fglIsSyncI4", "fglUnmapBufferI4"]),
    ("LOGICAL*1", ["fglIsEnabledi", "fglIsBuffer", "fglIsQuery", "fglIsProgram",
                   "fglIsShader", "fglIsFramebuffer", "fglIsRenderbuffer",
                   "fglIsVertexArray", "fglIsSampler", "fglIsSync", "fglUnmapBuffer"]),
    ("INTEGER*8", ["fglMapBuffer", "fglMapBufferRange", "fglMapBufferRangeI4"]),
]
# The same for the entries of OpenGL 4.0 to 4.6: locations and indices,
# pipeline and program names, lengths of the text written, statuses.
GL46_FUNCTIONS = [
    ("INTEGER*4", ["fglGetSubroutineUniformLocation", "fglGetSubroutineIndex",
                   "fglIsTransformFeedbackI4", "fglCreateShaderProgramv",
                   "fglIsProgramPipelineI4", "fglGetProgramResourceIndex",
                   "fglGetProgramResourceLocation", "fglGetProgramResourceLocationIndex",
                   "fglUnmapNamedBufferI4", "fglCheckNamedFramebufferStatus",
                   "fglGetGraphicsResetStatus", "fglGetSubroutineUniformLocationC",
                   "fglGetSubroutineIndexC", "fglGetActiveSubroutineUniformNameC",
                   "fglGetActiveSubroutineNameC", "fglCreateShaderProgramvC",
                   "fglGetProgramPipelineInfoLogC", "fglGetProgramResourceIndexC",
                   "fglGetProgramResourceNameC", "fglGetProgramResourceLocationC",
                   "fglGetProgramResourceLocationIndexC", "fglGetObjectLabelC"]),
    ("LOGICAL*1", ["fglIsTransformFeedback", "fglIsProgramPipeline", "fglUnmapNamedBuffer"]),
    ("INTEGER*8", ["fglMapNamedBuffer", "fglMapNamedBufferRange", "fglMapNamedBufferRangeI4"]),
]
GLUT_FUNCTIONS = [
    ("INTEGER*4", ["fglutCreateWindow", "fglutCreateWindowC", "fglutCreateSubWindow",
                   "fglutCreateMenu", "fglutGetWindow", "fglutGetMenu",
                   "fglutGetModifiers", "fglutEnterGameMode", "fglutGet",
                   "fglutDeviceGet", "fglutLayerGet", "fglutVideoResizeGet",
                   "fglutGameModeGet", "fglutExtensionSupported", "fglutBitmapWidth",
                   "fglutBitmapLength", "fglutStrokeWidth", "fglutStrokeLength",
                   "fglutBitmapHeight", "fglutGetModeValues",
                   "fglutExtensionSupportedC", "fglutBitmapLengthC", "fglutStrokeLengthC",
                   "fglutCreateMenuUcall", "fglutCreateMenuUcallI4", "fglutGetWindowDataI4",
                   "fglutGetMenuDataI4"]),
    ("INTEGER*8", ["fglutGetWindowData", "fglutGetMenuData", "fglutGetProcAddress",
                   "fglutGetProcAddressC"]),
    ("REAL*4", ["fglutGetColor", "fglutStrokeHeight", "fglutStrokeLengthf",
                "fglutStrokeWidthf", "fglutStrokeLengthfC"]),
]
GLU_IMAGE_ENTRIES = ["fgluScaleImage", "fgluBuild1DMipmaps", "fgluBuild2DMipmaps",
                     "fgluBuild3DMipmaps", "fgluBuild1DMipmapLevels",
                     "fgluBuild2DMipmapLevels", "fgluBuild3DMipmapLevels"]
GLU_FUNCTIONS = [
    ("INTEGER*4", ["fgluNewQuadric", "fgluNewTess", "fgluNewNurbsRenderer",
                   "fgluProject", "fgluUnProject", "fgluUnProject4",
                   "fgluErrorStringC", "fgluGetStringC", "fgluCheckExtensionC"]
                  + [e + s for e in GLU_IMAGE_ENTRIES for s in ("", "I4", "I2", "I1", "P")]),
]


# The include files of OpenGL enumerants, oldest first: (file, what it holds,
# the registry features whose enums it carries). Each file holds the enums
# its features require that no earlier file holds, in the registry's order.
# A later version is one more line (("fgl14.inc", "what OpenGL 1.4 adds",
# ["GL_VERSION_1_4"])); a file for a group of versions names each of them.
# One file per version keeps every file, and a routine that includes only
# the files it uses, within f2c's default table of 802 names.
GL_FILES = [
    ("fgl.inc", "OpenGL 1.0", ["GL_VERSION_1_0"]),
    ("fgl11.inc", "what OpenGL 1.1 adds", ["GL_VERSION_1_1"]),
    ("fgl12.inc", "what OpenGL 1.2 adds", ["GL_VERSION_1_2"]),
    ("fgl13.inc", "what OpenGL 1.3 adds", ["GL_VERSION_1_3"]),
    ("fgl14.inc", "what OpenGL 1.4 adds", ["GL_VERSION_1_4"]),
    ("fgl15.inc", "what OpenGL 1.5 adds", ["GL_VERSION_1_5"]),
    ("fgl20.inc", "what OpenGL 2.0 adds", ["GL_VERSION_2_0"]),
    ("fgl21.inc", "what OpenGL 2.1 adds", ["GL_VERSION_2_1"]),
    ("fgl30.inc", "what OpenGL 3.0 adds", ["GL_VERSION_3_0"]),
    ("fgl31.inc", "what OpenGL 3.1 adds", ["GL_VERSION_3_1"]),
    ("fgl32.inc", "what OpenGL 3.2 adds", ["GL_VERSION_3_2"]),
    ("fgl33.inc", "what OpenGL 3.3 adds", ["GL_VERSION_3_3"]),
    ("fgl40.inc", "what OpenGL 4.0 adds", ["GL_VERSION_4_0"]),
    ("fgl41.inc", "what OpenGL 4.1 adds", ["GL_VERSION_4_1"]),
    ("fgl42.inc", "what OpenGL 4.2 adds", ["GL_VERSION_4_2"]),
    ("fgl43.inc", "what OpenGL 4.3 adds", ["GL_VERSION_4_3"]),
    ("fgl44.inc", "what OpenGL 4.4 adds", ["GL_VERSION_4_4"]),
    ("fgl45.inc", "what OpenGL 4.5 adds", ["GL_VERSION_4_5"]),
    ("fgl46.inc", "what OpenGL 4.6 adds", ["GL_VERSION_4_6"]),
]
# Enums whose value needs 64 bits (the registry's type "ull"): INTEGER*8
# PARAMETERs, given as the signed value with the same bits. f2c reads them;
# a routine that uses one declares an INTEGER*8, whose C (longint) needs
# -Dlongint=long with Debian's f2c.h. An unused one costs f2c nothing.
WIDE_TYPES = ("ull",)
# f2c reads names of at most 50 characters: a longer enum (eight of OpenGL
# 4.0-4.3, GL_ATOMIC_COUNTER_BUFFER_REFERENCED_BY_...) is not declared; its
# file names it with its value in a comment, for the program to write.
LONGEST_NAME = 50
# The include files of GLUT constants: (file, what it holds, constant groups).
GLUT_FILES = [
    ("fglut.inc", "classic GLUT (3.7)", GLUT_CONSTANTS),
    ("fglutx.inc", "what freeglut adds", FREEGLUT_CONSTANTS),
]
GLU_FILE = "fglu.inc"
# The file that includes every file of constants, for compilers without
# f2c's table limits.
ALL_FILE = "fglall.inc"
FUNCTION_FILES = ["fglfn.inc", "fglfn33.inc", "fglfn46.inc", "fglutfn.inc", "fglufn.inc"]


def constant_files():
    """The files of constants of each layer, in the order they are included."""
    return {"fgl": [f for f, _, _ in GL_FILES],
            "fglut": [f for f, _, _ in GLUT_FILES],
            "fglu": [GLU_FILE]}


def all_files():
    """Every include file the script writes."""
    return ([f for f, _, _ in GL_FILES] + [f for f, _, _ in GLUT_FILES]
            + [GLU_FILE, ALL_FILE] + FUNCTION_FILES)


# The names of the enums read as INTEGER*8 (filled by gl_enums).
WIDE = set()


def gl_enums(registry):
    """For each file of GL_FILES, the names and values of its enums."""
    root = ET.parse(registry).getroot()
    values = {}
    for group in root.iter("enums"):
        for e in group.iter("enum"):
            if e.get("api") not in (None, "gl"):
                continue
            values.setdefault(e.get("name"), e.get("value"))
            if e.get("type") in WIDE_TYPES:
                WIDE.add(e.get("name"))
    features = {f.get("name"): f for f in root.iter("feature") if f.get("api") == "gl"}
    placed = set()
    out = []
    for fname, _, wanted in GL_FILES:
        enums = []
        for feature in wanted:
            if feature not in features:
                raise SystemExit("gen_fortran_include: no feature %s in %s" % (feature, registry))
            for req in features[feature].iter("require"):
                for e in req.iter("enum"):
                    n = e.get("name")
                    if n in placed:
                        continue
                    placed.add(n)
                    v = int(values[n], 0)
                    if n in WIDE:
                        if v > 0xFFFFFFFFFFFFFFFF:
                            raise SystemExit("gen_fortran_include: %s (%s) does not fit in "
                                             "INTEGER*8" % (n, values[n]))
                        if v > 0x7FFFFFFFFFFFFFFF:
                            v -= 1 << 64
                        enums.append((n, v))
                        continue
                    if v > 0xFFFFFFFF:
                        raise SystemExit("gen_fortran_include: %s (%s) does not fit in "
                                         "INTEGER*4" % (n, values[n]))
                    if v > 0x7FFFFFFF:  # a 32-bit mask: the INTEGER*4 with the same bits
                        v -= 1 << 32
                    enums.append((n, v))
        if not enums:
            raise SystemExit("gen_fortran_include: no enums for %s in %s" % (fname, registry))
        out.append((fname, enums))
    return out


def glu_constants(header):
    """Names and values of the GLU_ constants of <GL/glu.h>, in its order:
    (integers, doubles)."""
    ints, doubles = [], []
    with open(header) as f:
        for line in f:
            m = re.match(r"\s*#\s*define\s+(GLU_\w+)\s+(\S+)", line)
            if not m:
                continue
            name, value = m.groups()
            if re.fullmatch(r"-?\d+", value):
                ints.append((name, int(value)))
            else:
                doubles.append((name, float(value)))
    if not ints:
        raise SystemExit("gen_fortran_include: no GLU_ constants in " + header)
    return ints, doubles


def fortran_double(value):
    """A DOUBLE PRECISION literal of this value (the shortest decimal that
    reads back as the same double)."""
    mantissa, _, exponent = repr(value).partition("e")
    if "." not in mantissa:
        mantissa += ".0"
    return "%sD%d" % (mantissa, int(exponent or "0"))


def fixed(line):
    if len(line) > 72:
        raise SystemExit("gen_fortran_include: line longer than 72 columns: " + line)
    return line + "\n"


def comment(text):
    return fixed("C     " + text if text else "C")


def parameter(name, value, ftype="INTEGER*4"):
    line = "      PARAMETER (%s = %d)" % (name, value)
    if len(line) > 72:  # a long name: the value on a continuation line
        line = "      PARAMETER (%s\n     &  = %d)" % (name, value)
    if len(line.split("\n")[0]) > 72:  # a longer one: the name on its own
        line = "      PARAMETER (\n     &  %s\n     &  = %d)" % (name, value)
    declaration = "      %s %s" % (ftype, name)
    if len(declaration) > 72:
        declaration = "      %s\n     &  %s" % (ftype, name)
    return "".join(fixed(l) for l in (declaration + "\n" + line).split("\n"))


def all_option(names):
    """The -Nn option with which f2c reads fglall.inc: f2c's own suggestion
    (twice the table, as often as needed) with room for 400 names of the
    routine's own beside the names of every file."""
    size = 802
    while size < names + 400:
        size *= 2
    return "-Nn%d" % size


def guide(option):
    """The comment every file ends its head with: which file holds what;
    option is the -Nn option f2c needs for fglall.inc."""
    rows = [(f, what) for f, what, _ in GL_FILES] + [(f, what) for f, what, _ in GLUT_FILES]
    rows += [(GLU_FILE, "GLU"), (ALL_FILE, "every file above")]
    lines = ["Include in each routine the files whose constants it uses:"]
    lines += ["  %-12s %s" % row for row in rows]
    lines += ["f2c's default table holds 802 names: it reads every file",
              "but %s (translate that with f2c %s); gfortran" % (ALL_FILE, option),
              "and Flang read them all. %s," % ", ".join(FUNCTION_FILES[:3]),
              "%s declare the result types" % ", ".join(FUNCTION_FILES[3:]),
              "of the entries."]
    return lines


def header(fname, lines):
    text = comment("%s: generated by gen_fortran_include.py; do not edit." % fname)
    for l in lines:
        text += comment(l)
    return text + comment("")


def same_bits_note(consts):
    """Says which constants are 32-bit values above 2**31-1, kept as the
    negative INTEGER*4 with the same bits."""
    lines = []
    for n, v in consts:
        if n in WIDE:
            lines += ["%s is an INTEGER*8 PARAMETER, %d (all" % (n, v),
                      "64 bits set); with f2c, a routine that uses it",
                      "is compiled with -Dlongint=long. The I4 entries",
                      "that take a timeout read -1 as the same value."]
        elif v < 0:
            lines += ["%s (hex %08X) is the INTEGER*4" % (n, v + (1 << 32)),
                      "with the same bits, %d." % v]
    return lines


def gen_gl(fname, what, features, enums, guide_lines):
    longer = [(n, v) for n, v in enums if len(n) > LONGEST_NAME]
    note = []
    if longer:
        note = ["Not declared: names longer than the %d characters f2c" % LONGEST_NAME,
                "reads (write the value instead):"]
        for n, v in longer:
            note += ["  %s" % n, "      = %d" % v] if len(n) > 56 else ["  %s = %d" % (n, v)]
    text = header(fname, textwrap.wrap(
        "OpenGL enumerants for the fgl entries, as INTEGER*4 PARAMETERs: "
        "%s (the enums the Khronos registry lists for %s that no earlier "
        "file holds)." % (what, ", ".join(features)), 66) + same_bits_note(enums) + note + guide_lines)
    for name, value in enums:
        if len(name) <= LONGEST_NAME:
            text += parameter(name, value, "INTEGER*8" if name in WIDE else "INTEGER*4")
    return text


def gen_glut(fname, what, groups, guide_lines, fonts=()):
    text = header(fname, textwrap.wrap(
        "GLUT constants for the fglut entries, as INTEGER*4 PARAMETERs: "
        "%s%s." % (what, ", and the binding's font codes" if fonts else ""), 66) + guide_lines)
    for title, consts in groups:
        text += comment(title)
        for name, value in consts:
            text += parameter(name, value)
    if fonts:
        text += comment("Font codes for fglutBitmapCharacter, fglutStrokeCharacter")
        text += comment("and the other font entries. Any other code selects")
        text += comment("GLUT_STROKE_ROMAN.")
        for name, value in fonts:
            text += parameter(name, value)
    return text


def gen_fglu(ints, doubles, guide_lines):
    text = header(GLU_FILE, [
        "GLU constants for the fglu entries: every GLU_ constant of",
        "<GL/glu.h> as an INTEGER*4 PARAMETER, and GLU_TESS_MAX_COORD",
        "as a DOUBLE PRECISION PARAMETER. fgluTessProperty and",
        "fgluNurbsProperty read DOUBLE PRECISION and REAL values: pass",
        "an INTEGER*4 constant as DBLE(...) or REAL(...)."] + guide_lines)
    for name, value in ints:
        text += parameter(name, value)
    for name, value in doubles:
        text += fixed("      DOUBLE PRECISION %s" % name)
        text += fixed("      PARAMETER (%s = %s)" % (name, fortran_double(value)))
    return text


def gen_all(guide_lines):
    text = header(ALL_FILE, [
        "Every file of constants, for gfortran and Flang, which have",
        "no table limits; f2c's default table holds 802 names, too",
        "few for all of them. Include the result types as well"]
        + textwrap.wrap("(%s) where they are used." % ", ".join(FUNCTION_FILES), 60)
        + guide_lines)
    for layer in ("fgl", "fglut", "fglu"):
        for f in constant_files()[layer]:
            text += fixed("      INCLUDE '%s'" % f)
    return text


def gen_functions(fname, what, table):
    text = header(fname, [
        "Result types of the %s entries that return a value." % what,
        "Without them Fortran's implicit typing would take every",
        "name that starts with F as a REAL function. EXTERNAL keeps",
        "compilers from taking an unused name as a local variable."])
    for ftype, names in table:
        for n in names:
            text += fixed("      %s %s" % (ftype, n))
            text += fixed("      EXTERNAL %s" % n)
    return text


def gen_check_f(groups, doubles=(), include=None, wides=()):
    """A program that prints NAME VALUE for every constant of groups, a list
    of (file, names), each routine including only the file its names come
    from (or include, when given), so that f2c reads it with its default
    table of names; a DOUBLE PRECISION constant of fglu.inc prints as its two
    4-byte words."""
    # The writes are spread over subroutines of 100 names each, each
    # including one file; f2c still needs -NL for the literal constants of
    # the whole file (its default table holds 200).
    chunks = [(include or fname, names[i:i + 100])
              for fname, names in groups for i in range(0, len(names), 100)]
    text = comment("Prints NAME VALUE for every constant of the include files;")
    text += comment("a DOUBLE PRECISION one as its two 4-byte words.")
    text += fixed("      PROGRAM CHKVAL")
    for k in range(len(chunks)):
        text += fixed("      CALL CHK%d" % k)
    if doubles:
        text += fixed("      CALL CHKD")
    for k in range(len(wides)):
        text += fixed("      CALL CHKW%d" % k)
    text += fixed("      END")
    # An INTEGER*8 constant prints as its two 4-byte words, as a double does.
    for k, (fname, n) in enumerate(wides):
        text += fixed("      SUBROUTINE CHKW%d" % k)
        text += fixed("      INCLUDE '%s'" % (include or fname))
        text += fixed("      INTEGER*8 L")
        text += fixed("      INTEGER*4 W(2)")
        text += fixed("      EQUIVALENCE (L, W)")
        text += fixed("      L = %s" % n)
        text += fixed("      WRITE (*, 20) '%s', W(1), W(2)" % n)
        text += fixed(" 20   FORMAT (A, 1X, I11, 1X, I11)")
        text += fixed("      END")
    if doubles:
        text += fixed("      SUBROUTINE CHKD")
        text += fixed("      INCLUDE '%s'" % (include or GLU_FILE))
        text += fixed("      DOUBLE PRECISION D")
        text += fixed("      INTEGER*4 W(2)")
        text += fixed("      EQUIVALENCE (D, W)")
        for n in doubles:
            text += fixed("      D = %s" % n)
            text += fixed("      WRITE (*, 20) '%s', W(1), W(2)" % n)
        text += fixed(" 20   FORMAT (A, 1X, I11, 1X, I11)")
        text += fixed("      END")
    for k, (fname, chunk) in enumerate(chunks):
        text += fixed("      SUBROUTINE CHK%d" % k)
        text += fixed("      INCLUDE '%s'" % fname)
        for n in chunk:
            if len("      WRITE (*, 10) '%s'," % n) > 72:  # a long name: its text on a line of its own
                text += fixed("      WRITE (*, 10)") + fixed("     &  '%s'," % n) + fixed("     &  %s" % n)
            else:
                text += fixed("      WRITE (*, 10) '%s'," % n) + fixed("     &  %s" % n)
        text += fixed(" 10   FORMAT (A, 1X, I11)")
        text += fixed("      END")
    return text


def gen_check_c(names, glu_doubles=(), wides=()):
    text = "/* Prints NAME VALUE for every constant, from the C headers. */\n"
    text += "#include <GL/gl.h>\n#include <GL/freeglut.h>\n#include <GL/glu.h>\n"
    text += "#include <stdio.h>\n#include <string.h>\n\n"
    text += "int main(void) {\n"
    for n in names:
        text += '  printf("%%s %%11d\\n", "%s", (int)%s);\n' % (n, n)
    for n in glu_doubles:
        text += "  { double d = %s; int w[2]; memcpy(w, &d, sizeof w);\n" % n
        text += '    printf("%%s %%11d %%11d\\n", "%s", w[0], w[1]); }\n' % n
    for n in wides:
        text += "  { GLuint64 l = %s; int w[2]; memcpy(w, &l, sizeof w);\n" % n
        text += '    printf("%%s %%11d %%11d\\n", "%s", w[0], w[1]); }\n' % n
    text += "  return 0;\n}\n"
    return text


def write(path, text):
    with open(path, "w") as f:
        f.write(text)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--registry", default="/usr/share/khronos-api/gl.xml")
    ap.add_argument("--out")
    ap.add_argument("--glu-header", default="/usr/include/GL/glu.h")
    ap.add_argument("--check", help="also write check_fortran.f, check_all.f and check_c.c here")
    ap.add_argument("--list", action="store_true",
                    help="print the names of the include files, one a line, and stop")
    a = ap.parse_args()
    if a.list:
        print("\n".join(all_files()))
        return
    if not a.out:
        ap.error("--out is required")
    glu_ints, glu_doubles = glu_constants(a.glu_header)

    gl_files = gl_enums(a.registry)
    glut_files = [(f, [c for _, consts in groups for c in consts]) for f, _, groups in GLUT_FILES]
    seen = {}
    every = [c for _, consts in gl_files + glut_files for c in consts]
    for name, _ in every + FONT_CODES + glu_ints + glu_doubles:
        key = name.upper()  # Fortran names are not case-sensitive
        if key in seen:
            raise SystemExit("gen_fortran_include: %s defined twice" % name)
        seen[key] = True

    lines = guide(all_option(len(seen)))
    os.makedirs(a.out, exist_ok=True)
    for (fname, what, features), (_, enums) in zip(GL_FILES, gl_files):
        write(os.path.join(a.out, fname), gen_gl(fname, what, features, enums, lines))
    for k, (fname, what, groups) in enumerate(GLUT_FILES):
        write(os.path.join(a.out, fname),
              gen_glut(fname, what, groups, lines, FONT_CODES if k == 0 else ()))
    write(os.path.join(a.out, GLU_FILE), gen_fglu(glu_ints, glu_doubles, lines))
    write(os.path.join(a.out, ALL_FILE), gen_all(lines))
    write(os.path.join(a.out, "fglfn.inc"), gen_functions("fglfn.inc", "OpenGL", GL_FUNCTIONS))
    write(os.path.join(a.out, "fglfn33.inc"),
          gen_functions("fglfn33.inc", "OpenGL 1.4 to 3.3", GL33_FUNCTIONS))
    write(os.path.join(a.out, "fglfn46.inc"),
          gen_functions("fglfn46.inc", "OpenGL 4.0 to 4.6", GL46_FUNCTIONS))
    write(os.path.join(a.out, "fglutfn.inc"), gen_functions("fglutfn.inc", "GLUT", GLUT_FUNCTIONS))
    write(os.path.join(a.out, "fglufn.inc"), gen_functions("fglufn.inc", "GLU", GLU_FUNCTIONS))
    if a.check:
        os.makedirs(a.check, exist_ok=True)
        groups = [(f, [n for n, _ in consts if n not in WIDE and len(n) <= LONGEST_NAME])
                  for f, consts in gl_files + glut_files]
        groups.append((GLU_FILE, [n for n, _ in glu_ints]))
        doubles = [n for n, _ in glu_doubles]
        wides = [(f, n) for f, consts in gl_files for n, _ in consts if n in WIDE]
        write(os.path.join(a.check, "check_fortran.f"),
              gen_check_f(groups, doubles, wides=wides))
        write(os.path.join(a.check, "check_all.f"),
              gen_check_f(groups, doubles, ALL_FILE, wides))
        write(os.path.join(a.check, "check_c.c"),
              gen_check_c([n for _, names in groups for n in names]
                         , doubles, [n for _, n in wides]))


if __name__ == "__main__":
    main()
