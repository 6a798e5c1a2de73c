// Pixel, bitmap, stipple, pixel-map and image entries for data held in
// 4-byte, 2-byte or packed character storage.
//
// Data going into OpenGL is narrowed (or widened) into a temporary; data
// coming out is written by OpenGL into a temporary and then delivered into
// the caller's elements where OpenGL wrote. Every temporary is sized to hold
// both the caller's `count` items and everything OpenGL will touch for the
// image's dimensions, format, type and pixel-store state, so OpenGL never
// reads or writes past it; the caller's own array goes to OpenGL only when
// its elements are OpenGL's items and its count covers all of that.
#include "fgl.h"
#include "fgl_conventions.h"
#include "pixel_storage.h"
#include "repack.h"

namespace {

using namespace fgl::repack;

template <typename Storage>
void draw_pixels(const GLsizei *width, const GLsizei *height, const GLenum *format, const GLenum *type,
                 const DataOf<Storage> *pixels, const GLint *count) {
  const GLsizei w = *width, h = *height;
  const GLenum f = *format, t = *type;
  into_gl<Storage>(
      t, pixels, *count, [&] { return image_bytes(w, h, 1, f, t, unpack_store()); },
      [&](const void *p) { glDrawPixels(w, h, f, t, p); });
}

// The data of a full texture image (glTexImage1D, 2D, 3D). A count of 0
// passes no data, as C's NULL does: OpenGL then allocates the image with its
// texels undefined and reads nothing. For a proxy target OpenGL reads no
// data whatever the count, so nothing past the count is needed.
bool is_proxy(GLenum target) {
  return target == GL_PROXY_TEXTURE_1D || target == GL_PROXY_TEXTURE_2D || target == 0x8070 /* 3D */ ||
         target == 0x851B /* cube map */;
}

template <typename Storage, typename Size, typename Command>
void tex_image_data(GLenum target, GLenum type, const DataOf<Storage> *pixels, GLint count, Size gl_bytes,
                    Command command) {
  if (count == 0) return command(nullptr);
  into_gl<Storage>(type, pixels, count, [&] { return is_proxy(target) ? std::size_t{0} : gl_bytes(); }, command);
}

template <typename Storage>
void tex_image_1d(const GLenum *target, const GLint *level, const GLint *internalformat, const GLsizei *width,
                  const GLint *border, const GLenum *format, const GLenum *type, const DataOf<Storage> *pixels,
                  const GLint *count) {
  const GLenum tg = *target, f = *format, t = *type;
  const GLint l = *level, ifmt = *internalformat, b = *border;
  const GLsizei w = *width;
  tex_image_data<Storage>(
      tg, t, pixels, *count, [&] { return image_bytes(w, 1, 1, f, t, unpack_store()); },
      [&](const void *p) { glTexImage1D(tg, l, ifmt, w, b, f, t, p); });
}

template <typename Storage>
void tex_image_2d(const GLenum *target, const GLint *level, const GLint *internalformat, const GLsizei *width,
                  const GLsizei *height, const GLint *border, const GLenum *format, const GLenum *type,
                  const DataOf<Storage> *pixels, const GLint *count) {
  const GLenum tg = *target, f = *format, t = *type;
  const GLint l = *level, ifmt = *internalformat, b = *border;
  const GLsizei w = *width, h = *height;
  tex_image_data<Storage>(
      tg, t, pixels, *count, [&] { return image_bytes(w, h, 1, f, t, unpack_store()); },
      [&](const void *p) { glTexImage2D(tg, l, ifmt, w, h, b, f, t, p); });
}

template <typename Storage>
void tex_sub_image_1d(const GLenum *target, const GLint *level, const GLint *xoffset, const GLsizei *width,
                      const GLenum *format, const GLenum *type, const DataOf<Storage> *pixels, const GLint *count) {
  const GLenum tg = *target, f = *format, t = *type;
  const GLint l = *level, x = *xoffset;
  const GLsizei w = *width;
  into_gl<Storage>(
      t, pixels, *count, [&] { return image_bytes(w, 1, 1, f, t, unpack_store()); },
      [&](const void *p) { glTexSubImage1D(tg, l, x, w, f, t, p); });
}

template <typename Storage>
void tex_sub_image_2d(const GLenum *target, const GLint *level, const GLint *xoffset, const GLint *yoffset,
                      const GLsizei *width, const GLsizei *height, const GLenum *format, const GLenum *type,
                      const DataOf<Storage> *pixels, const GLint *count) {
  const GLenum tg = *target, f = *format, t = *type;
  const GLint l = *level, x = *xoffset, y = *yoffset;
  const GLsizei w = *width, h = *height;
  into_gl<Storage>(
      t, pixels, *count, [&] { return image_bytes(w, h, 1, f, t, unpack_store()); },
      [&](const void *p) { glTexSubImage2D(tg, l, x, y, w, h, f, t, p); });
}

// 3-D images are read under the image height and skipped images of the
// unpack state as well.
template <typename Storage>
void tex_image_3d(const GLenum *target, const GLint *level, const GLint *internalformat, const GLsizei *width,
                  const GLsizei *height, const GLsizei *depth, const GLint *border, const GLenum *format,
                  const GLenum *type, const DataOf<Storage> *pixels, const GLint *count) {
  const GLenum tg = *target, f = *format, t = *type;
  const GLint l = *level, ifmt = *internalformat, b = *border;
  const GLsizei w = *width, h = *height, d = *depth;
  tex_image_data<Storage>(
      tg, t, pixels, *count, [&] { return image_bytes(w, h, d, f, t, unpack_store_3d()); },
      [&](const void *p) { glTexImage3D(tg, l, ifmt, w, h, d, b, f, t, p); });
}

template <typename Storage>
void tex_sub_image_3d(const GLenum *target, const GLint *level, const GLint *xoffset, const GLint *yoffset,
                      const GLint *zoffset, const GLsizei *width, const GLsizei *height, const GLsizei *depth,
                      const GLenum *format, const GLenum *type, const DataOf<Storage> *pixels, const GLint *count) {
  const GLenum tg = *target, f = *format, t = *type;
  const GLint l = *level, x = *xoffset, y = *yoffset, z = *zoffset;
  const GLsizei w = *width, h = *height, d = *depth;
  into_gl<Storage>(
      t, pixels, *count, [&] { return image_bytes(w, h, d, f, t, unpack_store_3d()); },
      [&](const void *p) { glTexSubImage3D(tg, l, x, y, z, w, h, d, f, t, p); });
}

template <typename Storage>
void read_pixels(const GLint *x, const GLint *y, const GLsizei *width, const GLsizei *height, const GLenum *format,
                 const GLenum *type, DataOf<Storage> *pixels, const GLint *count) {
  const GLint x0 = *x, y0 = *y;
  const GLsizei w = *width, h = *height;
  const GLenum f = *format, t = *type;
  out_of_gl<Storage>(
      t, pixels, *count, [&] { return written_image({w, h, 1, f, t, pack_store()}); },
      [&](void *p) { glReadPixels(x0, y0, w, h, f, t, p); });
}

// What glGetTexImage writes: the level's own dimensions, queried from
// OpenGL. Targets beyond OpenGL 1.0's two (3-D and array textures, cube
// faces) also have a depth and the image spacing of the pack state; those
// are queried only for them, so a 1.0 caller's error flag is never touched.
Written tex_image_written(GLenum target, GLint level, GLenum format, GLenum type) {
  GLint w = 0, h = 0, d = 1;
  glGetTexLevelParameteriv(target, level, GL_TEXTURE_WIDTH, &w);
  glGetTexLevelParameteriv(target, level, GL_TEXTURE_HEIGHT, &h);
  PixelStore store = pack_store();
  if (target != GL_TEXTURE_1D && target != GL_TEXTURE_2D) {
    glGetTexLevelParameteriv(target, level, 0x8071 /* GL_TEXTURE_DEPTH */, &d);
    glGetIntegerv(0x806C /* GL_PACK_IMAGE_HEIGHT */, &store.image_height);
    glGetIntegerv(0x806B /* GL_PACK_SKIP_IMAGES */, &store.skip_images);
  }
  return written_image({w, h, d, format, type, store});
}

template <typename Storage>
void get_tex_image(const GLenum *target, const GLint *level, const GLenum *format, const GLenum *type,
                   DataOf<Storage> *pixels, const GLint *count) {
  const GLenum tg = *target, f = *format, t = *type;
  const GLint l = *level;
  out_of_gl<Storage>(
      t, pixels, *count, [&] { return tex_image_written(tg, l, f, t); },
      [&](void *p) { glGetTexImage(tg, l, f, t, p); });
}

template <typename Elem>
void bitmap(const GLsizei *width, const GLsizei *height, const GLfloat *xorig, const GLfloat *yorig,
            const GLfloat *xmove, const GLfloat *ymove, const Elem *data, const GLint *count) {
  const GLsizei w = *width, h = *height;
  const GLfloat xo = *xorig, yo = *yorig, xm = *xmove, ym = *ymove;
  send<GLubyte>(
      data, non_negative(*count), [&] { return image_bytes(w, h, 1, GL_COLOR_INDEX, GL_BITMAP, unpack_store()); },
      [&](const void *p) { glBitmap(w, h, xo, yo, xm, ym, static_cast<const GLubyte *>(p)); });
}

// The stipple is a 32 x 32 bitmap moved through the pixel-store state: 128
// bytes under the default state, more with a row length or skips.
constexpr std::size_t kStippleBytes = 128;

template <typename Elem>
void polygon_stipple(const Elem *mask) {
  send<GLubyte, kStippleBytes>(
      mask, kStippleBytes, [] { return image_bytes(32, 32, 1, GL_COLOR_INDEX, GL_BITMAP, unpack_store()); },
      [](const void *p) { glPolygonStipple(static_cast<const GLubyte *>(p)); });
}

template <typename Elem>
void get_polygon_stipple(Elem *mask, const GLint *count) {
  receive_written<GLubyte, kStippleBytes>(
      mask, non_negative(*count), [] { return written_image({32, 32, 1, GL_COLOR_INDEX, GL_BITMAP, pack_store()}); },
      [](void *p) { glGetPolygonStipple(static_cast<GLubyte *>(p)); });
}

// The size query of a pixel map: each GL_PIXEL_MAP_x_TO_y has its
// GL_PIXEL_MAP_x_TO_y_SIZE 0x40 above it. Zero for anything else, which
// OpenGL rejects without writing.
std::size_t pixel_map_size(GLenum map) {
  if (map < GL_PIXEL_MAP_I_TO_I || map > GL_PIXEL_MAP_A_TO_A) return 0;
  GLint size = 0;
  glGetIntegerv(map - GL_PIXEL_MAP_I_TO_I + GL_PIXEL_MAP_I_TO_I_SIZE, &size);
  return non_negative(size);
}

// The four values the caller receives; a map of up to 256 entries (the usual
// maximum) stays off the heap.
constexpr std::size_t kMapValues = 4;
constexpr std::size_t kInlineMapBytes = 256 * sizeof(GLushort);

}  // namespace

extern "C" FGL_API void fglBitmapI4(const GLsizei *width, const GLsizei *height, const GLfloat *xorig,
                                    const GLfloat *yorig, const GLfloat *xmove, const GLfloat *ymove,
                                    const GLint *data, const GLint *count) {
  FGL_CHECK_ENTRY("fglBitmapI4", 8, count);
  bitmap(width, height, xorig, yorig, xmove, ymove, data, count);
}
FGL_FORTRAN_ALIAS(fglBitmapI4, fglbitmapi4_)

extern "C" FGL_API void fglBitmapI2(const GLsizei *width, const GLsizei *height, const GLfloat *xorig,
                                    const GLfloat *yorig, const GLfloat *xmove, const GLfloat *ymove,
                                    const GLshort *data, const GLint *count) {
  FGL_CHECK_ENTRY("fglBitmapI2", 8, count);
  bitmap(width, height, xorig, yorig, xmove, ymove, data, count);
}
FGL_FORTRAN_ALIAS(fglBitmapI2, fglbitmapi2_)

#define FGL_DRAW_PIXELS(entry, fortran_name, Storage)                                                   \
  extern "C" FGL_API void entry(const GLsizei *width, const GLsizei *height, const GLenum *format,     \
                                const GLenum *type, const DataOf<Storage> *pixels, const GLint *count) { \
    FGL_CHECK_ENTRY(#entry, 6, count);                                                                  \
    draw_pixels<Storage>(width, height, format, type, pixels, count);                                   \
  }                                                                                                     \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
FGL_DRAW_PIXELS(fglDrawPixelsI4, fgldrawpixelsi4_, GLint)
FGL_DRAW_PIXELS(fglDrawPixelsP, fgldrawpixelsp_, Packed)
FGL_DRAW_PIXELS(fglDrawPixelsI2, fgldrawpixelsi2_, GLshort)

#define FGL_TEX_IMAGE_1D(entry, fortran_name, Storage)                                                      \
  extern "C" FGL_API void entry(const GLenum *target, const GLint *level, const GLint *internalformat,     \
                                const GLsizei *width, const GLint *border, const GLenum *format,           \
                                const GLenum *type, const DataOf<Storage> *pixels, const GLint *count) {   \
    FGL_CHECK_ENTRY(#entry, 9, count);                                                                     \
    tex_image_1d<Storage>(target, level, internalformat, width, border, format, type, pixels, count);      \
  }                                                                                                         \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
FGL_TEX_IMAGE_1D(fglTexImage1DI4, fglteximage1di4_, GLint)
FGL_TEX_IMAGE_1D(fglTexImage1DP, fglteximage1dp_, Packed)
FGL_TEX_IMAGE_1D(fglTexImage1DI2, fglteximage1di2_, GLshort)

#define FGL_TEX_IMAGE_2D(entry, fortran_name, Storage)                                                       \
  extern "C" FGL_API void entry(const GLenum *target, const GLint *level, const GLint *internalformat,      \
                                const GLsizei *width, const GLsizei *height, const GLint *border,           \
                                const GLenum *format, const GLenum *type, const DataOf<Storage> *pixels,    \
                                const GLint *count) {                                                       \
    FGL_CHECK_ENTRY(#entry, 10, count);                                                                       \
    tex_image_2d<Storage>(target, level, internalformat, width, height, border, format, type, pixels, count); \
  }                                                                                                          \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
FGL_TEX_IMAGE_2D(fglTexImage2DI4, fglteximage2di4_, GLint)
FGL_TEX_IMAGE_2D(fglTexImage2DP, fglteximage2dp_, Packed)
FGL_TEX_IMAGE_2D(fglTexImage2DI2, fglteximage2di2_, GLshort)

#define FGL_TEX_SUB_IMAGE_1D(entry, fortran_name, Storage)                                                  \
  extern "C" FGL_API void entry(const GLenum *target, const GLint *level, const GLint *xoffset,              \
                                const GLsizei *width, const GLenum *format, const GLenum *type,             \
                                const DataOf<Storage> *pixels, const GLint *count) {                        \
    FGL_CHECK_ENTRY(#entry, 8, count);                                                                      \
    tex_sub_image_1d<Storage>(target, level, xoffset, width, format, type, pixels, count);                  \
  }                                                                                                          \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
FGL_TEX_SUB_IMAGE_1D(fglTexSubImage1DI4, fgltexsubimage1di4_, GLint)
FGL_TEX_SUB_IMAGE_1D(fglTexSubImage1DP, fgltexsubimage1dp_, Packed)
FGL_TEX_SUB_IMAGE_1D(fglTexSubImage1DI2, fgltexsubimage1di2_, GLshort)

#define FGL_TEX_SUB_IMAGE_2D(entry, fortran_name, Storage)                                                    \
  extern "C" FGL_API void entry(const GLenum *target, const GLint *level, const GLint *xoffset,                \
                                const GLint *yoffset, const GLsizei *width, const GLsizei *height,            \
                                const GLenum *format, const GLenum *type, const DataOf<Storage> *pixels,      \
                                const GLint *count) {                                                         \
    FGL_CHECK_ENTRY(#entry, 10, count);                                                                       \
    tex_sub_image_2d<Storage>(target, level, xoffset, yoffset, width, height, format, type, pixels, count);   \
  }                                                                                                            \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
FGL_TEX_SUB_IMAGE_2D(fglTexSubImage2DI4, fgltexsubimage2di4_, GLint)
FGL_TEX_SUB_IMAGE_2D(fglTexSubImage2DP, fgltexsubimage2dp_, Packed)
FGL_TEX_SUB_IMAGE_2D(fglTexSubImage2DI2, fgltexsubimage2di2_, GLshort)

#define FGL_TEX_IMAGE_3D(entry, fortran_name, Storage)                                                           \
  extern "C" FGL_API void entry(const GLenum *target, const GLint *level, const GLint *internalformat,          \
                                const GLsizei *width, const GLsizei *height, const GLsizei *depth,              \
                                const GLint *border, const GLenum *format, const GLenum *type,                  \
                                const DataOf<Storage> *pixels, const GLint *count) {                            \
    FGL_CHECK_ENTRY(#entry, 11, count);                                                                         \
    tex_image_3d<Storage>(target, level, internalformat, width, height, depth, border, format, type, pixels,    \
                          count);                                                                               \
  }                                                                                                              \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
FGL_TEX_IMAGE_3D(fglTexImage3DI4, fglteximage3di4_, GLint)
FGL_TEX_IMAGE_3D(fglTexImage3DP, fglteximage3dp_, Packed)
FGL_TEX_IMAGE_3D(fglTexImage3DI2, fglteximage3di2_, GLshort)

#define FGL_TEX_SUB_IMAGE_3D(entry, fortran_name, Storage)                                                       \
  extern "C" FGL_API void entry(const GLenum *target, const GLint *level, const GLint *xoffset,                   \
                                const GLint *yoffset, const GLint *zoffset, const GLsizei *width,                \
                                const GLsizei *height, const GLsizei *depth, const GLenum *format,               \
                                const GLenum *type, const DataOf<Storage> *pixels, const GLint *count) {         \
    FGL_CHECK_ENTRY(#entry, 12, count);                                                                          \
    tex_sub_image_3d<Storage>(target, level, xoffset, yoffset, zoffset, width, height, depth, format, type,      \
                              pixels, count);                                                                    \
  }                                                                                                               \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
FGL_TEX_SUB_IMAGE_3D(fglTexSubImage3DI4, fgltexsubimage3di4_, GLint)
FGL_TEX_SUB_IMAGE_3D(fglTexSubImage3DP, fgltexsubimage3dp_, Packed)
FGL_TEX_SUB_IMAGE_3D(fglTexSubImage3DI2, fgltexsubimage3di2_, GLshort)

#define FGL_READ_PIXELS(entry, fortran_name, Storage)                                                        \
  extern "C" FGL_API void entry(const GLint *x, const GLint *y, const GLsizei *width, const GLsizei *height, \
                                const GLenum *format, const GLenum *type, DataOf<Storage> *pixels,          \
                                const GLint *count) {                                                       \
    FGL_CHECK_ENTRY(#entry, 8, count);                                                                      \
    read_pixels<Storage>(x, y, width, height, format, type, pixels, count);                                 \
  }                                                                                                          \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
FGL_READ_PIXELS(fglReadPixelsI4, fglreadpixelsi4_, GLint)
FGL_READ_PIXELS(fglReadPixelsP, fglreadpixelsp_, Packed)
FGL_READ_PIXELS(fglReadPixelsI2, fglreadpixelsi2_, GLshort)

#define FGL_GET_TEX_IMAGE(entry, fortran_name, Storage)                                                   \
  extern "C" FGL_API void entry(const GLenum *target, const GLint *level, const GLenum *format,          \
                                const GLenum *type, DataOf<Storage> *pixels, const GLint *count) {       \
    FGL_CHECK_ENTRY(#entry, 6, count);                                                                    \
    get_tex_image<Storage>(target, level, format, type, pixels, count);                                   \
  }                                                                                                       \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
FGL_GET_TEX_IMAGE(fglGetTexImageI4, fglgetteximagei4_, GLint)
FGL_GET_TEX_IMAGE(fglGetTexImageP, fglgetteximagep_, Packed)
FGL_GET_TEX_IMAGE(fglGetTexImageI2, fglgetteximagei2_, GLshort)

extern "C" FGL_API void fglPolygonStippleI4(const GLint *mask) {
  FGL_CHECK_ENTRY("fglPolygonStippleI4", 0, nullptr); polygon_stipple(mask); }
FGL_FORTRAN_ALIAS(fglPolygonStippleI4, fglpolygonstipplei4_)

extern "C" FGL_API void fglPolygonStippleI2(const GLshort *mask) {
  FGL_CHECK_ENTRY("fglPolygonStippleI2", 0, nullptr); polygon_stipple(mask); }
FGL_FORTRAN_ALIAS(fglPolygonStippleI2, fglpolygonstipplei2_)

extern "C" FGL_API void fglGetPolygonStippleI4(GLint *mask, const GLint *count) {
  FGL_CHECK_ENTRY("fglGetPolygonStippleI4", 2, count); get_polygon_stipple(mask, count); }
FGL_FORTRAN_ALIAS(fglGetPolygonStippleI4, fglgetpolygonstipplei4_)

extern "C" FGL_API void fglGetPolygonStippleI2(GLshort *mask, const GLint *count) {
  FGL_CHECK_ENTRY("fglGetPolygonStippleI2", 2, count); get_polygon_stipple(mask, count); }
FGL_FORTRAN_ALIAS(fglGetPolygonStippleI2, fglgetpolygonstipplei2_)

// OpenGL reads mapsize values; a negative mapsize reads none (and is passed
// on for OpenGL to reject).
extern "C" FGL_API void fglPixelMapusvI4(const GLenum *map, const GLsizei *mapsize, const GLint *values) {
  FGL_CHECK_ENTRY("fglPixelMapusvI4", 0, nullptr);
  const GLenum m = *map;
  const GLsizei size = *mapsize;
  send<GLushort>(
      values, non_negative(size), [] { return std::size_t{0}; },
      [&](const void *p) { glPixelMapusv(m, size, static_cast<const GLushort *>(p)); });
}
FGL_FORTRAN_ALIAS(fglPixelMapusvI4, fglpixelmapusvi4_)

// OpenGL writes the whole map; the caller receives its first four values
// (elements past the end of a shorter map keep theirs).
extern "C" FGL_API void fglGetPixelMapusvI4(const GLenum *map, GLint *values) {
  FGL_CHECK_ENTRY("fglGetPixelMapusvI4", 0, nullptr);
  const GLenum m = *map;
  receive_written<GLushort, kInlineMapBytes>(
      values, kMapValues, [&] { return written_block(mul(pixel_map_size(m), sizeof(GLushort))); },
      [&](void *p) { glGetPixelMapusv(m, static_cast<GLushort *>(p)); });
}
FGL_FORTRAN_ALIAS(fglGetPixelMapusvI4, fglgetpixelmapusvi4_)
