/* fgl.h: OpenGL 1.0 to 4.6 for callers that pass every argument by address.
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
#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The forwarding entries of OpenGL 1.0 to 4.6, generated from the Khronos registry:
 * every command (but glGetError, glGetString, glGetStringi, the six of sync
 * objects, and glDebugMessageCallback, glGetDebugMessageLog, glObjectPtrLabel
 * and glGetObjectPtrLabel) unsuffixed; I4 for narrow and boolean values, narrow vectors,
 * GLintptr/GLsizeiptr sizes and offsets read from 4-byte integers and boolean
 * results widened to 4 bytes; I2 for bytes in 2-byte integers; I1 for pixel
 * data; Offset and OffsetI4 for the array pointers, draw-elements indices and
 * indirect draw commands and the image data of the pixel commands given as a
 * byte offset into the bound buffer (an 8-byte or a 4-byte integer;
 * glMultiDrawElements takes an array of them).
 * The commands of OpenGL 4.6 are looked up at run time: where the driver
 * lacks one, its entry records GL_INVALID_OPERATION for fglGetError and
 * makes no call. */
#define FGL_FORWARD(entry, fortran_name, command, result, params, args) result entry params;
#include "fgl_forward.inc"
#undef FGL_FORWARD

/* Text as CHARACTER, generated from the registry's text parameters: the
 * address of each text, and its length as an int after all the other
 * arguments (the hidden length Fortran compilers pass). Text in without its
 * trailing blanks (fglGetUniformLocationC(PROGRAM, NAME)); an array of COUNT
 * texts (fglShaderSourceC(SHADER, COUNT, LINES): each line without its
 * trailing blanks and ended by a newline; fglTransformFeedbackVaryingsC,
 * fglGetUniformIndicesC: names); text out truncated or blank-padded, the full
 * length returned (fglGetShaderInfoLogC(SHADER, LOG), fglGetActiveUniformC(
 * PROGRAM, INDEX, SIZE, TYPE, NAME), fglGetStringiC(NAME, INDEX, TEXT)), the
 * buffer size and length arguments of the command left out. */
#define FGL_TEXT(entry, fortran_name, command, result, params, body) result entry params;
#include "fgl_text.inc"
#undef FGL_TEXT

/* Sync objects as INTEGER*4 handles of the layer's table: fglFenceSync
 * returns one (from 1 up, never reused; 0 for none), the other entries take
 * one in GLsync's place. A handle never issued or deleted reaches no OpenGL
 * call: the entry records GL_INVALID_VALUE for the next fglGetError and
 * returns GL_WAIT_FAILED from a client wait (fglIsSync: GL_FALSE, no error;
 * fglDeleteSync of 0: nothing). Timeouts are GLuint64 (INTEGER*8); the I4
 * entries read them from INTEGER*4, sign-extended, so -1 is
 * GL_TIMEOUT_IGNORED. */
#define FGL_SYNC(entry, fortran_name, command, result, params, body) result entry params;
#include "fgl_sync.inc"
#undef FGL_SYNC

/* Narrow-integer vectors, repacked into OpenGL's component width. */
/* The least significant 8 bits of each element (bytes), or 16 bits (shorts). */
void fglColor3bvI4(const GLint *v);
void fglColor3bvI2(const GLshort *v);
void fglColor3ubvI4(const GLint *v);
void fglColor3ubvI2(const GLshort *v);
void fglColor4bvI4(const GLint *v);
void fglColor4bvI2(const GLshort *v);
void fglColor4ubvI4(const GLint *v);
void fglColor4ubvI2(const GLshort *v);
void fglNormal3bvI4(const GLint *v);
void fglNormal3bvI2(const GLshort *v);
void fglIndexubvI4(const GLint *c);
void fglIndexubvI2(const GLshort *c);
void fglEdgeFlagvI4(const GLint *flag, const GLint *count);
void fglColor3svI4(const GLint *v);
void fglColor3usvI4(const GLint *v);
void fglColor4svI4(const GLint *v);
void fglColor4usvI4(const GLint *v);
void fglIndexsvI4(const GLint *c);
void fglNormal3svI4(const GLint *v);
void fglRasterPos2svI4(const GLint *v);
void fglRasterPos3svI4(const GLint *v);
void fglRasterPos4svI4(const GLint *v);
void fglRectsvI4(const GLint *v1, const GLint *v2);
void fglTexCoord1svI4(const GLint *v);
void fglTexCoord2svI4(const GLint *v);
void fglTexCoord3svI4(const GLint *v);
void fglTexCoord4svI4(const GLint *v);
void fglVertex2svI4(const GLint *v);
void fglVertex3svI4(const GLint *v);
void fglVertex4svI4(const GLint *v);
void fglMultiTexCoord1svI4(const GLenum *target, const GLint *v);
void fglMultiTexCoord2svI4(const GLenum *target, const GLint *v);
void fglMultiTexCoord3svI4(const GLenum *target, const GLint *v);
void fglMultiTexCoord4svI4(const GLenum *target, const GLint *v);

/* Pixel, bitmap, stipple, pixel-map and image data in 4-byte, 2-byte or packed storage. */
/* count: the number of data items (bytes, or 16-bit values for the short
 * types) held one per element; a negative count is taken as 0. */
void fglBitmapI4(const GLsizei *width, const GLsizei *height, const GLfloat *xorig, const GLfloat *yorig,
                 const GLfloat *xmove, const GLfloat *ymove, const GLint *bitmap, const GLint *count);
void fglBitmapI2(const GLsizei *width, const GLsizei *height, const GLfloat *xorig, const GLfloat *yorig,
                 const GLfloat *xmove, const GLfloat *ymove, const GLshort *bitmap, const GLint *count);
/* Images sized by format, type and dimensions (fglDrawPixelsI4, fglTexImage2DP,
 * fglReadPixelsI2, fglTextureSubImage2DI4, ...), generated from the registry:
 * the command's arguments, the data in the entry's storage, then count. 3-D
 * images are sized with GL_UNPACK_IMAGE_HEIGHT and GL_UNPACK_SKIP_IMAGES as
 * well; a full texture image with a count of 0 passes no data (C's NULL).
 * Compressed images as packed character arrays (fglCompressedTexImage2DP,
 * fglGetCompressedTexImageP, ...; count: the number of words). A read-back
 * with a bufSize (fglGetTextureImageI4, ...) takes none: OpenGL is told the
 * bytes of count items. */
#define FGL_PIXELS(entry, fortran_name, command, Storage, rule, target, type, data, count_position, params, args, size) \
  void entry params;
#include "fgl_pixels.inc"
#undef FGL_PIXELS
void fglPolygonStippleI4(const GLint *mask);   /* 128 elements */
void fglPolygonStippleI2(const GLshort *mask); /* 128 elements */
void fglGetPolygonStippleI4(GLint *mask, const GLint *count);
void fglGetPolygonStippleI2(GLshort *mask, const GLint *count);
void fglPixelMapusvI4(const GLenum *map, const GLsizei *mapsize, const GLint *values);
void fglGetPixelMapusvI4(const GLenum *map, GLint *values); /* 4 elements */

/* Display lists called by names in integer or packed storage; error and string queries. */
void fglCallListsI4(const GLsizei *n, const GLenum *type, const GLint *lists);
void fglCallListsP(const GLsizei *n, const GLenum *type, const GLint *lists, const GLint *count);
void fglCallListsI2(const GLsizei *n, const GLenum *type, const GLshort *lists);
void fglGetBooleanvI4(const GLenum *pname, GLint *params, const GLint *count);

/* Vertex-array indices in INTEGER*4, narrowed to the width `type` names. */
void fglDrawElementsI4(const GLenum *mode, const GLsizei *count, const GLenum *type, const GLint *indices);
void fglDrawRangeElementsI4(const GLenum *mode, const GLuint *start, const GLuint *end, const GLsizei *count,
                            const GLenum *type, const GLint *indices);

/* Texture residency as INTEGER*4 flags. */
GLint fglAreTexturesResidentI4(const GLsizei *n, const GLuint *textures, GLint *residences);

/* Error and string queries. */
GLenum fglGetError(void);
/* A string in three steps: fglGetString returns its length and keeps the
 * text, one character per 4-byte word; fglGetStringCopy copies that many
 * words, fglGetStringCopyN at most *maxCount of them; fglGetStringRelease
 * frees them. */
GLint fglGetString(const GLenum *name);
void fglGetStringCopy(GLint *words);
void fglGetStringCopyN(GLint *words, const GLint *maxCount);
void fglGetStringRelease(void);
/* The string in one step, into a CHARACTER variable (address, and its length
 * by value): truncated to the variable's length or padded with blanks.
 * Returns the whole string's length, 0 (all blanks) when OpenGL has none. */
GLint fglGetStringC(const GLenum *name, char *text, int length);

/* Debug messages to a routine of the program's:
 * ROUTINE(SOURCE, TYPE, ID, SEVERITY, MESSAGE, WORD), the four numbers as
 * INTEGER*4, MESSAGE as CHARACTER*(*) (OpenGL's text without its NUL; the
 * length follows the arguments as a size_t value, read by gfortran and Flang
 * as it is and by f2c as its ftnlen), WORD by address. The word is copied at
 * registration (an INTEGER*8, or an INTEGER*4 with the I4 entry); each call
 * receives a copy of it, and of the text, that the routine may change.
 * fglDebugMessageCallbackNull removes the routine: messages then go to
 * OpenGL's log. */
typedef int (*fgl_debug_routine_w8)(GLint *source, GLint *type, GLint *id, GLint *severity, char *message,
                                    long long *word, size_t length);
typedef int (*fgl_debug_routine_w4)(GLint *source, GLint *type, GLint *id, GLint *severity, char *message,
                                    int *word, size_t length);
void fglDebugMessageCallback(fgl_debug_routine_w8 routine, const long long *word);
void fglDebugMessageCallbackI4(fgl_debug_routine_w4 routine, const int *word);
void fglDebugMessageCallbackNull(void);
/* Takes at most *count messages from OpenGL's log (oldest first) and returns
 * how many it took: message i's numbers into element i of each array, its
 * text into messages(i), truncated or blank-padded to the elements' length
 * (the hidden length), its full length (without the NUL) into lengths(i).
 * Nothing is written past element *count, nor past the messages taken. */
GLint fglGetDebugMessageLogC(const GLint *count, GLint *sources, GLint *types, GLint *ids, GLint *severities,
                             GLint *lengths, char *messages, int length);

#ifdef __cplusplus
}
#endif

#endif /* FGL_H */
