/* fgl.h: OpenGL 1.0 for callers that pass every argument by address.
 *
 * Every entry is fgl followed by the OpenGL name without its gl prefix
 * (fglRectf calls glRectf), plus a storage suffix where a command has several
 * entries: I4 for data in 4-byte integers, I2 for 2-byte integers, I1 for
 * 1-byte elements, P for a packed character array (one character in the low
 * byte of each 4-byte word, followed by its count). Scalars are read at the
 * width of their OpenGL type; arrays are passed to OpenGL unchanged unless the
 * entry repacks them. Each entry also has a Fortran name: lower case with one
 * trailing underscore (fglrectf_).
 *
 * Usable from C and C++. */
#ifndef FGL_H
#define FGL_H

#include <GL/gl.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The 343 forwarding entries, generated from the Khronos registry. */
#define FGL_FORWARD(entry, fortran_name, command, result, params, args) result entry params;
#include "fgl_forward.inc"
#undef FGL_FORWARD

/* Narrow-integer vectors, repacked into OpenGL's component width. */

/* Pixel, bitmap, stipple, pixel-map and image data in 4-byte, 2-byte or packed storage. */

/* Display lists called by names in integer or packed storage; error and string queries. */

#ifdef __cplusplus
}
#endif

#endif /* FGL_H */
