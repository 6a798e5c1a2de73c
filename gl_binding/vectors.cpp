// Narrow-integer vector entries: repack 4- or 2-byte caller elements into
// the byte or short components OpenGL reads.
#include "fgl.h"
#include "fgl_conventions.h"
