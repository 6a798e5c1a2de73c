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

#include <limits>
#include <type_traits>

namespace {

using namespace fgl::repack;

// The three rules of the generated image entries (fgl_pixels.inc), one per
// direction: `size` gives the bytes OpenGL reads (in, image) or where it
// writes (out), computed only when a temporary is needed; `command` calls
// OpenGL once with the data as OpenGL sees it.
template <typename Storage, typename Size, typename Command>
void pixels_in(GLenum, GLenum type, const DataOf<Storage> *pixels, GLint count, Size size, Command command) {
  into_gl<Storage>(type, pixels, count, size, command);
}

template <typename Storage, typename Where, typename Command>
void pixels_out(GLenum, GLenum type, DataOf<Storage> *pixels, GLint count, Where written, Command command) {
  out_of_gl<Storage>(type, pixels, count, written, command);
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
void pixels_image(GLenum target, GLenum type, const DataOf<Storage> *pixels, GLint count, Size size,
                  Command command) {
  if (count == 0) return command(nullptr);
  into_gl<Storage>(type, pixels, count, [&] { return is_proxy(target) ? std::size_t{0} : size(); }, command);
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

// What glGetTextureImage writes: the level's own dimensions, as
// tex_image_written, for a texture named by its object. OpenGL lays out the
// images of 3-D and array textures with the 3-D pack state (image height,
// skipped images) and those of 1-D and 2-D textures without it. The
// texture's target cannot be asked in every context (a compatibility
// profile may reject GL_TEXTURE_TARGET, and an error would reach the
// caller), so a level of more than one image stands for the former. OpenGL
// is told the caller's bufSize besides, so whatever it writes lies within
// the count.
Written texture_image_written(GLuint texture, GLint level, GLenum format, GLenum type) {
  GLint w = 0, h = 0, d = 1;
  glGetTextureLevelParameteriv(texture, level, GL_TEXTURE_WIDTH, &w);
  glGetTextureLevelParameteriv(texture, level, GL_TEXTURE_HEIGHT, &h);
  glGetTextureLevelParameteriv(texture, level, GL_TEXTURE_DEPTH, &d);
  return written_image({w, h, d, format, type, d > 1 ? pack_store_3d() : pack_store()});
}

// What glGetTextureSubImage writes: the region's rows, with the 3-D pack
// state for a region of more than one image or a texture of more than one.
Written texture_region_written(GLuint texture, GLint level, GLsizei w, GLsizei h, GLsizei d, GLenum format,
                               GLenum type) {
  GLint depth = 1;
  if (d <= 1) glGetTextureLevelParameteriv(texture, level, GL_TEXTURE_DEPTH, &depth);
  return written_image({w, h, d, format, type, d > 1 || depth > 1 ? pack_store_3d() : pack_store()});
}

// The bytes a compressed read-back writes: the level's compressed size, or
// nothing for an image that is not compressed (which OpenGL rejects without
// writing). The compressed flag is asked first because the size query of an
// uncompressed image is itself an error. `level_parameter(pname, &value)`
// asks the level of a bound target or of a named texture.
std::size_t compressed_bytes(auto level_parameter) {
  GLint compressed = GL_FALSE, size = 0;
  level_parameter(GL_TEXTURE_COMPRESSED, &compressed);
  if (compressed == GL_FALSE) return 0;
  level_parameter(GL_TEXTURE_COMPRESSED_IMAGE_SIZE, &size);
  return non_negative(size);
}

// What glGetCompressedTexImage writes.
std::size_t compressed_image_bytes(GLenum target, GLint level) {
  return compressed_bytes([&](GLenum pname, GLint *v) { glGetTexLevelParameteriv(target, level, pname, v); });
}

// What glGetCompressedTextureImage writes, for a texture named by its object.
std::size_t texture_compressed_bytes(GLuint texture, GLint level) {
  return compressed_bytes([&](GLenum pname, GLint *v) { glGetTextureLevelParameteriv(texture, level, pname, v); });
}

// The bufSize a read-back tells OpenGL: the bytes of the caller's `count`
// items (one byte per packed word), so that OpenGL rejects an image larger
// than the caller's array rather than writing past it.
template <typename Storage>
GLsizei buffer_bytes(GLenum type, GLint count) {
  const std::size_t item = std::is_same_v<Storage, Packed> ? 1 : item_bytes(type);
  return static_cast<GLsizei>(
      std::min(mul(non_negative(count), item), static_cast<std::size_t>(std::numeric_limits<GLsizei>::max())));
}

// The bitmap, the stipple and the pixel maps below are written by hand: their
// data has a fixed type (bits, or 16-bit map values) rather than the
// format and type the generated rule sizes by, and the stipple and maps have
// a fixed or queried extent of their own.
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

// The image entries in 4-byte, 2-byte and packed storage, generated from the
// registry: one per command whose data is sized by format, type and the
// image's dimensions (or its texture level) and per storage, and a packed
// one per compressed image (imageSize bytes, or the level's compressed size
// read back). `data` is the command's data parameter, whatever its name.
#define FGL_PIXELS(entry, fortran_name, command, Storage, rule, target, type, data, count_position, params, args, size) \
  extern "C" FGL_API void entry params {                                                                     \
    FGL_CHECK_ENTRY(#entry, count_position, count);                                                          \
    pixels_##rule<Storage>(target, type, data, *count, [&] { return size; }, [&](auto p) { command args; });   \
  }                                                                                                          \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
#include "fgl_pixels.inc"
#undef FGL_PIXELS

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
