// Images: gluScaleImage and the mipmap builders. The unsuffixed and I1
// entries pass the caller's bytes through unchanged (forwarded, the list is
// generated from <GL/glu.h>); the I4, I2 and P entries take the data in 4-byte,
// 2-byte or packed character storage plus the item count, through the same
// storage helpers as the OpenGL layer's pixel entries: a temporary sized from
// the dimensions, type and pixel-store state, a negative count taken as 0.
// When a temporary cannot be had, GLU is not called and the entry returns
// GLU_OUT_OF_MEMORY.
#include "fglu.h"
#include "glu_conventions.h"
#include "pixel_storage.h"
#include "repack.h"

#define FGLU_IMAGE FGLU_DEFINE_FORWARD
#include "forward_list.h"

namespace {

using namespace fgl::repack;

// The unpack state of a 3-D image: also the image height and skipped images.
PixelStore unpack_store_3d() {
  PixelStore s = unpack_store();
  glGetIntegerv(GL_UNPACK_IMAGE_HEIGHT, &s.image_height);
  glGetIntegerv(GL_UNPACK_SKIP_IMAGES, &s.skip_images);
  return s;
}

// Calls `build(data)` with the caller's image as GLU must read it, for a
// width x height x depth image (3-D images, and only they, are shaped by the
// image height and skipped images too); returns build's result.
template <typename Storage, typename Build>
GLint build_from(GLsizei w, GLsizei h, GLsizei d, GLenum format, GLenum type, const DataOf<Storage> *data,
                 GLint count, Build build, bool three_d = false) {
  GLint result = GLU_OUT_OF_MEMORY;
  into_gl<Storage>(
      type, data, count,
      [&] { return image_bytes(w, h, d, format, type, three_d ? unpack_store_3d() : unpack_store()); },
      [&](const void *p) { result = build(p); });
  return result;
}

template <typename Storage>
GLint scale_image(const GLenum *format, const GLsizei *wIn, const GLsizei *hIn, const GLenum *typeIn,
                  const DataOf<Storage> *dataIn, const GLsizei *wOut, const GLsizei *hOut, const GLenum *typeOut,
                  DataOf<Storage> *dataOut, const GLint *countIn, const GLint *countOut) {
  const GLenum f = *format, ti = *typeIn, to = *typeOut;
  const GLsizei wi = *wIn, hi = *hIn, wo = *wOut, ho = *hOut;
  const GLint nout = *countOut;
  return build_from<Storage>(wi, hi, 1, f, ti, dataIn, *countIn, [&](const void *in) {
    GLint result = GLU_OUT_OF_MEMORY;
    out_of_gl<Storage>(
        to, dataOut, nout, [&] { return written_image({wo, ho, 1, f, to, pack_store()}); },
        [&](void *out) { result = gluScaleImage(f, wi, hi, ti, in, wo, ho, to, out); });
    return result;
  });
}

template <typename Storage>
GLint build_1d(const GLenum *target, const GLint *internalFormat, const GLsizei *width, const GLenum *format,
               const GLenum *type, const DataOf<Storage> *data, const GLint *count) {
  const GLenum tg = *target, f = *format, t = *type;
  const GLint ifmt = *internalFormat;
  const GLsizei w = *width;
  return build_from<Storage>(w, 1, 1, f, t, data, *count,
                             [&](const void *p) { return gluBuild1DMipmaps(tg, ifmt, w, f, t, p); });
}

template <typename Storage>
GLint build_2d(const GLenum *target, const GLint *internalFormat, const GLsizei *width, const GLsizei *height,
               const GLenum *format, const GLenum *type, const DataOf<Storage> *data, const GLint *count) {
  const GLenum tg = *target, f = *format, t = *type;
  const GLint ifmt = *internalFormat;
  const GLsizei w = *width, h = *height;
  return build_from<Storage>(w, h, 1, f, t, data, *count,
                             [&](const void *p) { return gluBuild2DMipmaps(tg, ifmt, w, h, f, t, p); });
}

template <typename Storage>
GLint build_3d(const GLenum *target, const GLint *internalFormat, const GLsizei *width, const GLsizei *height,
               const GLsizei *depth, const GLenum *format, const GLenum *type, const DataOf<Storage> *data,
               const GLint *count) {
  const GLenum tg = *target, f = *format, t = *type;
  const GLint ifmt = *internalFormat;
  const GLsizei w = *width, h = *height, d = *depth;
  return build_from<Storage>(w, h, d, f, t, data, *count,
                             [&](const void *p) { return gluBuild3DMipmaps(tg, ifmt, w, h, d, f, t, p); }, true);
}

template <typename Storage>
GLint build_1d_levels(const GLenum *target, const GLint *internalFormat, const GLsizei *width, const GLenum *format,
                      const GLenum *type, const GLint *level, const GLint *base, const GLint *max,
                      const DataOf<Storage> *data, const GLint *count) {
  const GLenum tg = *target, f = *format, t = *type;
  const GLint ifmt = *internalFormat, l = *level, b = *base, m = *max;
  const GLsizei w = *width;
  return build_from<Storage>(w, 1, 1, f, t, data, *count, [&](const void *p) {
    return gluBuild1DMipmapLevels(tg, ifmt, w, f, t, l, b, m, p);
  });
}

template <typename Storage>
GLint build_2d_levels(const GLenum *target, const GLint *internalFormat, const GLsizei *width, const GLsizei *height,
                      const GLenum *format, const GLenum *type, const GLint *level, const GLint *base,
                      const GLint *max, const DataOf<Storage> *data, const GLint *count) {
  const GLenum tg = *target, f = *format, t = *type;
  const GLint ifmt = *internalFormat, l = *level, b = *base, m = *max;
  const GLsizei w = *width, h = *height;
  return build_from<Storage>(w, h, 1, f, t, data, *count, [&](const void *p) {
    return gluBuild2DMipmapLevels(tg, ifmt, w, h, f, t, l, b, m, p);
  });
}

template <typename Storage>
GLint build_3d_levels(const GLenum *target, const GLint *internalFormat, const GLsizei *width, const GLsizei *height,
                      const GLsizei *depth, const GLenum *format, const GLenum *type, const GLint *level,
                      const GLint *base, const GLint *max, const DataOf<Storage> *data, const GLint *count) {
  const GLenum tg = *target, f = *format, t = *type;
  const GLint ifmt = *internalFormat, l = *level, b = *base, m = *max;
  const GLsizei w = *width, h = *height, d = *depth;
  return build_from<Storage>(w, h, d, f, t, data, *count, [&](const void *p) {
    return gluBuild3DMipmapLevels(tg, ifmt, w, h, d, f, t, l, b, m, p);
  }, true);
}

}  // namespace

// The three storages of each image function.
#define FGLU_STORAGES(MAKE, entry, fortran)  \
  MAKE(entry##I4, fortran##i4_, GLint)       \
  MAKE(entry##I2, fortran##i2_, GLshort)     \
  MAKE(entry##P, fortran##p_, Packed)

#define FGLU_SCALE_IMAGE(entry, fortran_name, Storage)                                                          \
  extern "C" FGL_API GLint entry(const GLenum *format, const GLsizei *wIn, const GLsizei *hIn,                 \
                                 const GLenum *typeIn, const DataOf<Storage> *dataIn, const GLsizei *wOut,     \
                                 const GLsizei *hOut, const GLenum *typeOut, DataOf<Storage> *dataOut,         \
                                 const GLint *countIn, const GLint *countOut) {                                \
    FGL_CHECK_SIZES(#entry, 0, nullptr);                                                                       \
    return scale_image<Storage>(format, wIn, hIn, typeIn, dataIn, wOut, hOut, typeOut, dataOut, countIn,       \
                                countOut);                                                                     \
  }                                                                                                             \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
FGLU_STORAGES(FGLU_SCALE_IMAGE, fgluScaleImage, fgluscaleimage)

#define FGLU_BUILD_1D(entry, fortran_name, Storage)                                                           \
  extern "C" FGL_API GLint entry(const GLenum *target, const GLint *internalFormat, const GLsizei *width,     \
                                 const GLenum *format, const GLenum *type, const DataOf<Storage> *data,      \
                                 const GLint *count) {                                                       \
    FGL_CHECK_SIZES(#entry, 7, count);                                                                        \
    return build_1d<Storage>(target, internalFormat, width, format, type, data, count);                       \
  }                                                                                                           \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
FGLU_STORAGES(FGLU_BUILD_1D, fgluBuild1DMipmaps, fglubuild1dmipmaps)

#define FGLU_BUILD_2D(entry, fortran_name, Storage)                                                           \
  extern "C" FGL_API GLint entry(const GLenum *target, const GLint *internalFormat, const GLsizei *width,     \
                                 const GLsizei *height, const GLenum *format, const GLenum *type,            \
                                 const DataOf<Storage> *data, const GLint *count) {                          \
    FGL_CHECK_SIZES(#entry, 8, count);                                                                        \
    return build_2d<Storage>(target, internalFormat, width, height, format, type, data, count);               \
  }                                                                                                           \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
FGLU_STORAGES(FGLU_BUILD_2D, fgluBuild2DMipmaps, fglubuild2dmipmaps)

#define FGLU_BUILD_3D(entry, fortran_name, Storage)                                                           \
  extern "C" FGL_API GLint entry(const GLenum *target, const GLint *internalFormat, const GLsizei *width,     \
                                 const GLsizei *height, const GLsizei *depth, const GLenum *format,          \
                                 const GLenum *type, const DataOf<Storage> *data, const GLint *count) {      \
    FGL_CHECK_SIZES(#entry, 9, count);                                                                        \
    return build_3d<Storage>(target, internalFormat, width, height, depth, format, type, data, count);        \
  }                                                                                                           \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
FGLU_STORAGES(FGLU_BUILD_3D, fgluBuild3DMipmaps, fglubuild3dmipmaps)

#define FGLU_BUILD_1D_LEVELS(entry, fortran_name, Storage)                                                    \
  extern "C" FGL_API GLint entry(const GLenum *target, const GLint *internalFormat, const GLsizei *width,     \
                                 const GLenum *format, const GLenum *type, const GLint *level,               \
                                 const GLint *base, const GLint *max, const DataOf<Storage> *data,           \
                                 const GLint *count) {                                                       \
    FGL_CHECK_SIZES(#entry, 10, count);                                                                          \
    return build_1d_levels<Storage>(target, internalFormat, width, format, type, level, base, max, data, count); \
  }                                                                                                           \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
FGLU_STORAGES(FGLU_BUILD_1D_LEVELS, fgluBuild1DMipmapLevels, fglubuild1dmipmaplevels)

#define FGLU_BUILD_2D_LEVELS(entry, fortran_name, Storage)                                                    \
  extern "C" FGL_API GLint entry(const GLenum *target, const GLint *internalFormat, const GLsizei *width,     \
                                 const GLsizei *height, const GLenum *format, const GLenum *type,            \
                                 const GLint *level, const GLint *base, const GLint *max,                    \
                                 const DataOf<Storage> *data, const GLint *count) {                          \
    FGL_CHECK_SIZES(#entry, 11, count);                                                                       \
    return build_2d_levels<Storage>(target, internalFormat, width, height, format, type, level, base, max,    \
                                    data, count);                                                            \
  }                                                                                                           \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
FGLU_STORAGES(FGLU_BUILD_2D_LEVELS, fgluBuild2DMipmapLevels, fglubuild2dmipmaplevels)

#define FGLU_BUILD_3D_LEVELS(entry, fortran_name, Storage)                                                    \
  extern "C" FGL_API GLint entry(const GLenum *target, const GLint *internalFormat, const GLsizei *width,     \
                                 const GLsizei *height, const GLsizei *depth, const GLenum *format,          \
                                 const GLenum *type, const GLint *level, const GLint *base, const GLint *max, \
                                 const DataOf<Storage> *data, const GLint *count) {                          \
    FGL_CHECK_SIZES(#entry, 12, count);                                                                       \
    return build_3d_levels<Storage>(target, internalFormat, width, height, depth, format, type, level, base,  \
                                    max, data, count);                                                       \
  }                                                                                                           \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
FGLU_STORAGES(FGLU_BUILD_3D_LEVELS, fgluBuild3DMipmapLevels, fglubuild3dmipmaplevels)
