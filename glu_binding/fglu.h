/* fglu.h: GLU 1.3 for callers that pass every argument by address.
 *
 * Every entry is fglu followed by the GLU name without its glu prefix
 * (fgluPerspective calls gluPerspective). Scalars are read at the width of
 * their GLU type (GLdouble 8 bytes, GLfloat and GLint 4, GLboolean 1); arrays
 * are passed to GLU unchanged unless the entry repacks them. Each entry also
 * has a Fortran name: lower case with one trailing underscore
 * (fgluperspective_).
 *
 * Quadric, tessellator and NURBS objects are GLint handles (1, 2, ...; one
 * numbering for the three kinds, never reissued; 0 when GLU could not make
 * the object). An entry given a handle that was never issued, was deleted or
 * is of another kind does nothing.
 *
 * Usable from C and C++. */
#ifndef FGLU_H
#define FGLU_H

#include <GL/glu.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The 52 forwarding entries (projection, images passed through unchanged,
 * quadric, tessellator and NURBS entries), generated from <GL/glu.h>. The
 * object of a GLU function arrives as the address of its handle. */
#define FGLU_DECLARE_(entry, fortran_name, command, result, params, args) result entry params;
#define FGLU_PROJECTION FGLU_DECLARE_
#define FGLU_IMAGE FGLU_DECLARE_
#define FGLU_QUADRIC FGLU_DECLARE_
#define FGLU_TESS FGLU_DECLARE_
#define FGLU_NURBS FGLU_DECLARE_
#include "fglu_forward.inc"
#undef FGLU_PROJECTION
#undef FGLU_IMAGE
#undef FGLU_QUADRIC
#undef FGLU_TESS
#undef FGLU_NURBS
#undef FGLU_DECLARE_

/* Objects. */
GLint fgluNewQuadric(void);
GLint fgluNewTess(void);
GLint fgluNewNurbsRenderer(void);
void fgluDeleteQuadric(const GLint *quad);
void fgluDeleteTess(const GLint *tess);
void fgluDeleteNurbsRenderer(const GLint *nurb);

/* The end of a polygon, which also frees the OUTDATA arrays of the combine
 * routine. */
void fgluTessEndPolygon(const GLint *tess);
void fgluEndPolygon(const GLint *tess);

/* Callbacks: routines taking every argument by address. Enumerants and
 * flags arrive as GLint copies; data as the address GLU passes (the
 * caller's own arrays), or an array of 16 zero doubles where GLU has none.
 * A combine routine is called as
 *   combine(coords[3] double, d1, d2, d3, d4, weights[4] float, outdata
 *           [, polygon data])
 * with outdata an array of 16 zero doubles that it fills; outdata becomes
 * the new vertex's data and is freed when the polygon ends. */
void fgluQuadricCallback(const GLint *quad, const GLenum *which, void (*routine)(void));
void fgluTessCallback(const GLint *tess, const GLenum *which, void (*routine)(void));
void fgluNurbsCallback(const GLint *nurb, const GLenum *which, void (*routine)(void));
void fgluQuadricCallbackNull(const GLint *quad, const GLenum *which);
void fgluTessCallbackNull(const GLint *tess, const GLenum *which);
void fgluNurbsCallbackNull(const GLint *nurb, const GLenum *which);

/* Text, as an address plus its length (Fortran CHARACTER with the hidden
 * length). The text entries fill `text` (blank-padded, truncated when short)
 * and return the whole text's length, 0 when GLU has none. */
GLint fgluErrorStringC(const GLenum *error, char *text, int length);
GLint fgluGetStringC(const GLenum *name, char *text, int length);
/* 1 when `name` (trailing blanks ignored) is a word of the blank-separated
 * `list`, else 0. */
GLint fgluCheckExtensionC(const char *name, const char *list, int name_length, int list_length);

/* Images in 4-byte (I4), 2-byte (I2) or packed character (P) storage, with
 * the number of data items last (for fgluScaleImage: of the input, then of
 * the output). The I1 entries, declared above, take INTEGER*1 data as the
 * unsuffixed ones do. */
#define FGLU_IMAGE_STORAGES_(MAKE) MAKE(I4, GLint) MAKE(I2, GLshort) MAKE(P, GLint)
#define FGLU_SCALE_IMAGE_(suffix, T)                                                                       \
  GLint fgluScaleImage##suffix(const GLenum *format, const GLsizei *wIn, const GLsizei *hIn,                \
                               const GLenum *typeIn, const T *dataIn, const GLsizei *wOut,                  \
                               const GLsizei *hOut, const GLenum *typeOut, T *dataOut, const GLint *countIn, \
                               const GLint *countOut);
#define FGLU_BUILD_1D_(suffix, T)                                                                          \
  GLint fgluBuild1DMipmaps##suffix(const GLenum *target, const GLint *internalFormat, const GLsizei *width, \
                                   const GLenum *format, const GLenum *type, const T *data, const GLint *count);
#define FGLU_BUILD_2D_(suffix, T)                                                                          \
  GLint fgluBuild2DMipmaps##suffix(const GLenum *target, const GLint *internalFormat, const GLsizei *width, \
                                   const GLsizei *height, const GLenum *format, const GLenum *type,         \
                                   const T *data, const GLint *count);
#define FGLU_BUILD_3D_(suffix, T)                                                                          \
  GLint fgluBuild3DMipmaps##suffix(const GLenum *target, const GLint *internalFormat, const GLsizei *width, \
                                   const GLsizei *height, const GLsizei *depth, const GLenum *format,       \
                                   const GLenum *type, const T *data, const GLint *count);
#define FGLU_BUILD_1D_LEVELS_(suffix, T)                                                                   \
  GLint fgluBuild1DMipmapLevels##suffix(const GLenum *target, const GLint *internalFormat,                 \
                                        const GLsizei *width, const GLenum *format, const GLenum *type,     \
                                        const GLint *level, const GLint *base, const GLint *max,            \
                                        const T *data, const GLint *count);
#define FGLU_BUILD_2D_LEVELS_(suffix, T)                                                                   \
  GLint fgluBuild2DMipmapLevels##suffix(const GLenum *target, const GLint *internalFormat,                 \
                                        const GLsizei *width, const GLsizei *height, const GLenum *format,  \
                                        const GLenum *type, const GLint *level, const GLint *base,          \
                                        const GLint *max, const T *data, const GLint *count);
#define FGLU_BUILD_3D_LEVELS_(suffix, T)                                                                   \
  GLint fgluBuild3DMipmapLevels##suffix(const GLenum *target, const GLint *internalFormat,                 \
                                        const GLsizei *width, const GLsizei *height, const GLsizei *depth,  \
                                        const GLenum *format, const GLenum *type, const GLint *level,       \
                                        const GLint *base, const GLint *max, const T *data,                 \
                                        const GLint *count);
FGLU_IMAGE_STORAGES_(FGLU_SCALE_IMAGE_)
FGLU_IMAGE_STORAGES_(FGLU_BUILD_1D_)
FGLU_IMAGE_STORAGES_(FGLU_BUILD_2D_)
FGLU_IMAGE_STORAGES_(FGLU_BUILD_3D_)
FGLU_IMAGE_STORAGES_(FGLU_BUILD_1D_LEVELS_)
FGLU_IMAGE_STORAGES_(FGLU_BUILD_2D_LEVELS_)
FGLU_IMAGE_STORAGES_(FGLU_BUILD_3D_LEVELS_)
#undef FGLU_IMAGE_STORAGES_
#undef FGLU_SCALE_IMAGE_
#undef FGLU_BUILD_1D_
#undef FGLU_BUILD_2D_
#undef FGLU_BUILD_3D_
#undef FGLU_BUILD_1D_LEVELS_
#undef FGLU_BUILD_2D_LEVELS_
#undef FGLU_BUILD_3D_LEVELS_

#ifdef __cplusplus
}
#endif

#endif /* FGLU_H */
