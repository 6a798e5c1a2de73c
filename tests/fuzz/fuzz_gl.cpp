// The commands of the fuzz stand-in for libGL that touch client memory. Each
// validates its enumerants and sizes as OpenGL does (an invalid call records
// an error and touches nothing), then reads or writes exactly the bytes a
// real implementation would.
#include "fuzz_gl.h"

#include <algorithm>
#include <cstring>

namespace fuzz_gl {

namespace {
State the_state;

void fail(GLenum error) {
  if (the_state.error == GL_NO_ERROR) the_state.error = error;
}

// Reads `bytes` bytes at `data` in one access, as an implementation that
// copies the client's data does.
void read_block(const char *command, const void *data, std::size_t bytes) {
  State &s = the_state;
  s.command = command;
  s.address = data;
  s.read.assign(bytes, 0);
  if (bytes > 0) std::memcpy(s.read.data(), data, bytes);
  ++s.calls;
}

std::uint8_t next_byte(std::uint32_t &x) {
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  return static_cast<std::uint8_t>(x >> 7);
}

// Writes the given byte offsets of `data`, each once, with pseudo-random
// values; everything else stays untouched.
void write_bytes(const char *command, void *data, std::size_t extent_bytes, const std::vector<std::size_t> &offsets) {
  State &s = the_state;
  s.command = command;
  s.address = data;
  s.written.assign(extent_bytes, 0);
  s.written_mask.assign(extent_bytes, false);
  std::uint32_t x = s.fill_seed | 1u;
  auto *out = static_cast<std::uint8_t *>(data);
  for (std::size_t o : offsets) {
    const std::uint8_t b = next_byte(x);
    out[o] = b;
    s.written[o] = b;
    s.written_mask[o] = true;
  }
  ++s.calls;
}

void write_all(const char *command, void *data, std::size_t bytes) {
  std::vector<std::size_t> offsets(bytes);
  for (std::size_t i = 0; i < bytes; ++i) offsets[i] = i;
  write_bytes(command, data, bytes, offsets);
}

bool is_index_format(GLenum format) { return format == GL_COLOR_INDEX || format == GL_STENCIL_INDEX; }

// A pixel-transfer format/type pair that a command accepts.
bool valid_pair(GLenum format, GLenum type) {
  if (components(format) == 0 || type_bytes(type) == 0) return false;
  if (const int packed = packed_bytes(type); packed > 0) {
    // 3_3_2 and 5_6_5 pack three components, the others four.
    const bool three = type == GL_UNSIGNED_BYTE_3_3_2 || type == GL_UNSIGNED_BYTE_2_3_3_REV ||
                       type == GL_UNSIGNED_SHORT_5_6_5 || type == GL_UNSIGNED_SHORT_5_6_5_REV;
    return components(format) == (three ? 3 : 4);
  }
  return type != GL_BITMAP || is_index_format(format);
}

bool valid_texture_format(GLenum format) {
  return format != GL_STENCIL_INDEX && format != GL_DEPTH_COMPONENT && format != GL_COLOR_INDEX &&
         components(format) != 0;
}

GLint *store_cell(GLenum pname) {
  State &s = the_state;
  switch (pname) {
    case GL_UNPACK_ALIGNMENT: return &s.unpack.alignment;
    case GL_UNPACK_ROW_LENGTH: return &s.unpack.row_length;
    case GL_UNPACK_SKIP_ROWS: return &s.unpack.skip_rows;
    case GL_UNPACK_SKIP_PIXELS: return &s.unpack.skip_pixels;
    case GL_UNPACK_IMAGE_HEIGHT: return &s.unpack.image_height;
    case GL_UNPACK_SKIP_IMAGES: return &s.unpack.skip_images;
    case GL_PACK_ALIGNMENT: return &s.pack.alignment;
    case GL_PACK_ROW_LENGTH: return &s.pack.row_length;
    case GL_PACK_SKIP_ROWS: return &s.pack.skip_rows;
    case GL_PACK_SKIP_PIXELS: return &s.pack.skip_pixels;
    default: return nullptr;
  }
}

int map_index(GLenum map) {
  return map >= GL_PIXEL_MAP_I_TO_I && map <= GL_PIXEL_MAP_A_TO_A ? static_cast<int>(map - GL_PIXEL_MAP_I_TO_I) : -1;
}
}  // namespace

State &state() { return the_state; }

void reset() {
  const std::uint32_t seed = the_state.fill_seed;
  the_state = State{};
  the_state.fill_seed = seed;
}

int components(GLenum format) {
  switch (format) {
    case GL_COLOR_INDEX:
    case GL_STENCIL_INDEX:
    case GL_DEPTH_COMPONENT:
    case GL_RED:
    case GL_GREEN:
    case GL_BLUE:
    case GL_ALPHA:
    case GL_LUMINANCE:
      return 1;
    case GL_LUMINANCE_ALPHA:
      return 2;
    case GL_RGB:
    case GL_BGR:
      return 3;
    case GL_RGBA:
    case GL_BGRA:
      return 4;
    default:
      return 0;
  }
}

int packed_bytes(GLenum type) {
  switch (type) {
    case GL_UNSIGNED_BYTE_3_3_2:
    case GL_UNSIGNED_BYTE_2_3_3_REV:
      return 1;
    case GL_UNSIGNED_SHORT_5_6_5:
    case GL_UNSIGNED_SHORT_5_6_5_REV:
    case GL_UNSIGNED_SHORT_4_4_4_4:
    case GL_UNSIGNED_SHORT_4_4_4_4_REV:
    case GL_UNSIGNED_SHORT_5_5_5_1:
    case GL_UNSIGNED_SHORT_1_5_5_5_REV:
      return 2;
    case GL_UNSIGNED_INT_8_8_8_8:
    case GL_UNSIGNED_INT_8_8_8_8_REV:
    case GL_UNSIGNED_INT_10_10_10_2:
    case GL_UNSIGNED_INT_2_10_10_10_REV:
      return 4;
    default:
      return 0;
  }
}

int type_bytes(GLenum type) {
  switch (type) {
    case GL_BITMAP:
    case GL_BYTE:
    case GL_UNSIGNED_BYTE:
      return 1;
    case GL_SHORT:
    case GL_UNSIGNED_SHORT:
      return 2;
    case GL_INT:
    case GL_UNSIGNED_INT:
    case GL_FLOAT:
      return 4;
    default:
      return packed_bytes(type);
  }
}

std::size_t extent(GLsizei width, GLsizei height, GLenum format, GLenum type, const Store &store,
                   std::vector<std::size_t> *pixels) {
  if (pixels) pixels->clear();
  if (width <= 0 || height <= 0 || !valid_pair(format, type)) return 0;
  const std::size_t w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
  const std::size_t a = static_cast<std::size_t>(store.alignment);
  const std::size_t l = store.row_length > 0 ? static_cast<std::size_t>(store.row_length) : w;
  const std::size_t skip_rows = static_cast<std::size_t>(store.skip_rows > 0 ? store.skip_rows : 0);
  const std::size_t skip_pixels = static_cast<std::size_t>(store.skip_pixels > 0 ? store.skip_pixels : 0);
  std::size_t stride, first, last;  // row stride; first and one-past-last byte within a row
  if (type == GL_BITMAP) {
    stride = a * ((l + 8 * a - 1) / (8 * a));
    first = skip_pixels / 8;
    last = (skip_pixels + w - 1) / 8 + 1;
  } else {
    // A packed pixel is one element of its packed size.
    const std::size_t n = packed_bytes(type) > 0 ? 1 : static_cast<std::size_t>(components(format));
    const std::size_t sz = static_cast<std::size_t>(type_bytes(type));
    const std::size_t k = sz >= a ? n * l : (a / sz) * ((sz * n * l + a - 1) / a);
    stride = k * sz;
    first = skip_pixels * n * sz;
    last = (skip_pixels + w) * n * sz;
  }
  if (pixels) {
    for (std::size_t r = 0; r < h; ++r) {
      for (std::size_t b = first; b < last; ++b) pixels->push_back((skip_rows + r) * stride + b);
    }
  }
  return (skip_rows + h - 1) * stride + last;
}

std::size_t extent3d(GLsizei width, GLsizei height, GLsizei depth, GLenum format, GLenum type, const Store &store,
                     std::vector<std::size_t> *pixels) {
  if (pixels) pixels->clear();
  if (depth <= 0) return 0;
  std::vector<std::size_t> one;
  const std::size_t first = extent(width, height, format, type, store, pixels ? &one : nullptr);
  if (first == 0) return 0;
  Store rows = store;
  rows.skip_rows = 0;
  const std::size_t row_stride = extent(width, 2, format, type, rows) - extent(width, 1, format, type, rows);
  const std::size_t image_rows = static_cast<std::size_t>(store.image_height > 0 ? store.image_height : height);
  const std::size_t image_stride = image_rows * row_stride;
  const std::size_t skip = static_cast<std::size_t>(store.skip_images > 0 ? store.skip_images : 0);
  if (pixels) {
    for (std::size_t z = 0; z < static_cast<std::size_t>(depth); ++z)
      for (std::size_t o : one) pixels->push_back((skip + z) * image_stride + o);
  }
  return (skip + static_cast<std::size_t>(depth) - 1) * image_stride + first;
}

int boolean_count(GLenum pname) {
  switch (pname) {
    case GL_MODELVIEW_MATRIX:
    case GL_PROJECTION_MATRIX:
    case GL_TEXTURE_MATRIX:
      return 16;
    case GL_CURRENT_COLOR:
    case GL_CURRENT_TEXTURE_COORDS:
    case GL_CURRENT_RASTER_POSITION:
    case GL_CURRENT_RASTER_COLOR:
    case GL_CURRENT_RASTER_TEXTURE_COORDS:
    case GL_VIEWPORT:
    case GL_SCISSOR_BOX:
    case GL_COLOR_CLEAR_VALUE:
    case GL_COLOR_WRITEMASK:
    case GL_LIGHT_MODEL_AMBIENT:
    case GL_FOG_COLOR:
    case GL_ACCUM_CLEAR_VALUE:
    case GL_MAP2_GRID_DOMAIN:
      return 4;
    case GL_CURRENT_NORMAL:
      return 3;
    case GL_DEPTH_RANGE:
    case GL_MAX_VIEWPORT_DIMS:
    case GL_POINT_SIZE_RANGE:
    case GL_LINE_WIDTH_RANGE:
    case GL_POLYGON_MODE:
    case GL_MAP1_GRID_DOMAIN:
    case GL_MAP2_GRID_SEGMENTS:
      return 2;
    case GL_LIGHTING:
    case GL_LIGHT0:
    case GL_DEPTH_TEST:
    case GL_DEPTH_WRITEMASK:
    case GL_CULL_FACE:
    case GL_BLEND:
    case GL_TEXTURE_1D:
    case GL_TEXTURE_2D:
    case GL_COLOR_MATERIAL:
    case GL_NORMALIZE:
    case GL_DITHER:
    case GL_EDGE_FLAG:
    case GL_RGBA_MODE:
    case GL_DOUBLEBUFFER:
    case GL_LIST_BASE:
    case GL_CURRENT_INDEX:
    case GL_UNPACK_ALIGNMENT:
    case GL_PACK_ALIGNMENT:
    case GL_MATRIX_MODE:
    case GL_MAX_LIST_NESTING:
      return 1;
    default:
      return 0;
  }
}

int list_name_bytes(GLenum type) {
  switch (type) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE:
      return 1;
    case GL_SHORT:
    case GL_UNSIGNED_SHORT:
    case GL_2_BYTES:
      return 2;
    case GL_3_BYTES:
      return 3;
    case GL_INT:
    case GL_UNSIGNED_INT:
    case GL_FLOAT:
    case GL_4_BYTES:
      return 4;
    default:
      return 0;
  }
}

}  // namespace fuzz_gl

using fuzz_gl::the_state;

extern "C" {

void glPixelStorei(GLenum pname, GLint param) {
  GLint *cell = fuzz_gl::store_cell(pname);
  if (cell == nullptr) return fuzz_gl::fail(GL_INVALID_ENUM);
  const bool alignment = pname == GL_PACK_ALIGNMENT || pname == GL_UNPACK_ALIGNMENT;
  if (alignment ? (param != 1 && param != 2 && param != 4 && param != 8) : param < 0)
    return fuzz_gl::fail(GL_INVALID_VALUE);
  *cell = param;
}
void glPixelStoref(GLenum pname, GLfloat param) { glPixelStorei(pname, static_cast<GLint>(param)); }

void glGetIntegerv(GLenum pname, GLint *params) {
  if (GLint *cell = fuzz_gl::store_cell(pname)) {
    *params = *cell;
  } else if (pname >= GL_PIXEL_MAP_I_TO_I_SIZE && pname <= GL_PIXEL_MAP_A_TO_A_SIZE) {
    *params = the_state.map_size[pname - GL_PIXEL_MAP_I_TO_I_SIZE];
  } else if (int n = fuzz_gl::boolean_count(pname); n > 0) {
    for (int i = 0; i < n; ++i) params[i] = 0;
  } else {
    fuzz_gl::fail(GL_INVALID_ENUM);
  }
}

void glGetTexLevelParameteriv(GLenum target, GLint level, GLenum pname, GLint *params) {
  if (target != GL_TEXTURE_1D && target != GL_TEXTURE_2D && target != GL_TEXTURE_3D)
    return fuzz_gl::fail(GL_INVALID_ENUM);
  if (level < 0 || level > 31) return fuzz_gl::fail(GL_INVALID_VALUE);
  switch (pname) {
    case GL_TEXTURE_COMPRESSED: *params = the_state.compressed_size >= 0; break;
    case GL_TEXTURE_COMPRESSED_IMAGE_SIZE:
      if (the_state.compressed_size < 0) return fuzz_gl::fail(GL_INVALID_OPERATION);
      *params = the_state.compressed_size;
      break;
    case GL_TEXTURE_WIDTH: *params = the_state.tex_width; break;
    case GL_TEXTURE_HEIGHT: *params = target == GL_TEXTURE_1D ? 1 : the_state.tex_height; break;
    case 0x8071 /* GL_TEXTURE_DEPTH */: *params = 1; break;
    default: fuzz_gl::fail(GL_INVALID_ENUM);
  }
}

void glDrawPixels(GLsizei width, GLsizei height, GLenum format, GLenum type, const void *pixels) {
  if (width < 0 || height < 0) return fuzz_gl::fail(GL_INVALID_VALUE);
  if (!fuzz_gl::valid_pair(format, type)) return fuzz_gl::fail(GL_INVALID_ENUM);
  fuzz_gl::read_block("glDrawPixels", pixels, fuzz_gl::extent(width, height, format, type, the_state.unpack));
}

void glBitmap(GLsizei width, GLsizei height, GLfloat, GLfloat, GLfloat, GLfloat, const GLubyte *bitmap) {
  if (width < 0 || height < 0) return fuzz_gl::fail(GL_INVALID_VALUE);
  fuzz_gl::read_block("glBitmap", bitmap, fuzz_gl::extent(width, height, GL_COLOR_INDEX, GL_BITMAP, the_state.unpack));
}

void glPolygonStipple(const GLubyte *mask) {
  fuzz_gl::read_block("glPolygonStipple", mask, fuzz_gl::extent(32, 32, GL_COLOR_INDEX, GL_BITMAP, the_state.unpack));
}

void glTexImage1D(GLenum target, GLint level, GLint, GLsizei width, GLint border, GLenum format, GLenum type,
                  const void *pixels) {
  if (target != GL_TEXTURE_1D || !fuzz_gl::valid_texture_format(format)) return fuzz_gl::fail(GL_INVALID_ENUM);
  if (!fuzz_gl::valid_pair(format, type)) return fuzz_gl::fail(GL_INVALID_ENUM);
  if (level < 0 || width < 0 || border < 0 || border > 1) return fuzz_gl::fail(GL_INVALID_VALUE);
  // No data (a null pointer): the image is allocated, nothing is read.
  fuzz_gl::read_block("glTexImage1D", pixels, pixels ? fuzz_gl::extent(width, 1, format, type, the_state.unpack) : 0);
}

void glTexImage2D(GLenum target, GLint level, GLint, GLsizei width, GLsizei height, GLint border, GLenum format,
                  GLenum type, const void *pixels) {
  if (target != GL_TEXTURE_2D || !fuzz_gl::valid_texture_format(format)) return fuzz_gl::fail(GL_INVALID_ENUM);
  if (!fuzz_gl::valid_pair(format, type)) return fuzz_gl::fail(GL_INVALID_ENUM);
  if (level < 0 || width < 0 || height < 0 || border < 0 || border > 1) return fuzz_gl::fail(GL_INVALID_VALUE);
  // No data (a null pointer): the image is allocated, nothing is read.
  fuzz_gl::read_block("glTexImage2D", pixels, pixels ? fuzz_gl::extent(width, height, format, type, the_state.unpack) : 0);
}

void glTexSubImage1D(GLenum target, GLint level, GLint, GLsizei width, GLenum format, GLenum type,
                     const void *pixels) {
  if (target != GL_TEXTURE_1D || !fuzz_gl::valid_texture_format(format)) return fuzz_gl::fail(GL_INVALID_ENUM);
  if (!fuzz_gl::valid_pair(format, type)) return fuzz_gl::fail(GL_INVALID_ENUM);
  if (level < 0 || width < 0) return fuzz_gl::fail(GL_INVALID_VALUE);
  fuzz_gl::read_block("glTexSubImage1D", pixels, fuzz_gl::extent(width, 1, format, type, the_state.unpack));
}

void glTexSubImage2D(GLenum target, GLint level, GLint, GLint, GLsizei width, GLsizei height, GLenum format,
                     GLenum type, const void *pixels) {
  if (target != GL_TEXTURE_2D || !fuzz_gl::valid_texture_format(format)) return fuzz_gl::fail(GL_INVALID_ENUM);
  if (!fuzz_gl::valid_pair(format, type)) return fuzz_gl::fail(GL_INVALID_ENUM);
  if (level < 0 || width < 0 || height < 0) return fuzz_gl::fail(GL_INVALID_VALUE);
  fuzz_gl::read_block("glTexSubImage2D", pixels, fuzz_gl::extent(width, height, format, type, the_state.unpack));
}

void glTexImage3D(GLenum target, GLint level, GLint, GLsizei width, GLsizei height, GLsizei depth, GLint border,
                  GLenum format, GLenum type, const void *pixels) {
  if (target != GL_TEXTURE_3D || !fuzz_gl::valid_texture_format(format)) return fuzz_gl::fail(GL_INVALID_ENUM);
  if (!fuzz_gl::valid_pair(format, type)) return fuzz_gl::fail(GL_INVALID_ENUM);
  if (level < 0 || width < 0 || height < 0 || depth < 0 || border < 0 || border > 1)
    return fuzz_gl::fail(GL_INVALID_VALUE);
  fuzz_gl::read_block("glTexImage3D", pixels,
                      pixels ? fuzz_gl::extent3d(width, height, depth, format, type, the_state.unpack) : 0);
}

void glTexSubImage3D(GLenum target, GLint level, GLint, GLint, GLint, GLsizei width, GLsizei height, GLsizei depth,
                     GLenum format, GLenum type, const void *pixels) {
  if (target != GL_TEXTURE_3D || !fuzz_gl::valid_texture_format(format)) return fuzz_gl::fail(GL_INVALID_ENUM);
  if (!fuzz_gl::valid_pair(format, type)) return fuzz_gl::fail(GL_INVALID_ENUM);
  if (level < 0 || width < 0 || height < 0 || depth < 0) return fuzz_gl::fail(GL_INVALID_VALUE);
  fuzz_gl::read_block("glTexSubImage3D", pixels,
                      fuzz_gl::extent3d(width, height, depth, format, type, the_state.unpack));
}

// Compressed images: OpenGL reads exactly imageSize bytes.
#define FUZZ_GL_COMPRESSED(command, params, image_size, data)                 \
  void command params {                                                       \
    if (image_size < 0) return fuzz_gl::fail(GL_INVALID_VALUE);               \
    fuzz_gl::read_block(#command, data, static_cast<std::size_t>(image_size)); \
  }
FUZZ_GL_COMPRESSED(glCompressedTexImage1D, (GLenum, GLint, GLenum, GLsizei, GLint, GLsizei size, const void *data),
                   size, data)
FUZZ_GL_COMPRESSED(glCompressedTexImage2D,
                   (GLenum, GLint, GLenum, GLsizei, GLsizei, GLint, GLsizei size, const void *data), size, data)
FUZZ_GL_COMPRESSED(glCompressedTexImage3D,
                   (GLenum, GLint, GLenum, GLsizei, GLsizei, GLsizei, GLint, GLsizei size, const void *data), size,
                   data)
FUZZ_GL_COMPRESSED(glCompressedTexSubImage1D, (GLenum, GLint, GLint, GLsizei, GLenum, GLsizei size, const void *data),
                   size, data)
FUZZ_GL_COMPRESSED(glCompressedTexSubImage2D,
                   (GLenum, GLint, GLint, GLint, GLsizei, GLsizei, GLenum, GLsizei size, const void *data), size, data)
FUZZ_GL_COMPRESSED(glCompressedTexSubImage3D,
                   (GLenum, GLint, GLint, GLint, GLint, GLsizei, GLsizei, GLsizei, GLenum, GLsizei size,
                    const void *data),
                   size, data)
FUZZ_GL_COMPRESSED(glCompressedTextureSubImage1D, (GLuint, GLint, GLint, GLsizei, GLenum, GLsizei size, const void *data),
                   size, data)
FUZZ_GL_COMPRESSED(glCompressedTextureSubImage2D,
                   (GLuint, GLint, GLint, GLint, GLsizei, GLsizei, GLenum, GLsizei size, const void *data), size, data)
FUZZ_GL_COMPRESSED(glCompressedTextureSubImage3D,
                   (GLuint, GLint, GLint, GLint, GLint, GLsizei, GLsizei, GLsizei, GLenum, GLsizei size,
                    const void *data),
                   size, data)
#undef FUZZ_GL_COMPRESSED

void glGetCompressedTexImage(GLenum target, GLint level, void *img) {
  if (target != GL_TEXTURE_1D && target != GL_TEXTURE_2D && target != GL_TEXTURE_3D)
    return fuzz_gl::fail(GL_INVALID_ENUM);
  if (level < 0 || level > 31) return fuzz_gl::fail(GL_INVALID_VALUE);
  if (the_state.compressed_size < 0) return fuzz_gl::fail(GL_INVALID_OPERATION);
  fuzz_gl::write_all("glGetCompressedTexImage", img, static_cast<std::size_t>(the_state.compressed_size));
}

// Indices: count of the width `type` names.
namespace fuzz_gl {
namespace {
int index_bytes(GLenum type) {
  return type == GL_UNSIGNED_BYTE ? 1 : type == GL_UNSIGNED_SHORT ? 2 : type == GL_UNSIGNED_INT ? 4 : 0;
}
}  // namespace
}  // namespace fuzz_gl

void glDrawElements(GLenum, GLsizei count, GLenum type, const void *indices) {
  if (count < 0) return fuzz_gl::fail(GL_INVALID_VALUE);
  const int size = fuzz_gl::index_bytes(type);
  if (size == 0) return fuzz_gl::fail(GL_INVALID_ENUM);
  if (the_state.element_buffer != 0) return fuzz_gl::read_block("glDrawElements", indices, 0);
  fuzz_gl::read_block("glDrawElements", indices, static_cast<std::size_t>(count) * static_cast<std::size_t>(size));
}

void glDrawRangeElements(GLenum, GLuint start, GLuint end, GLsizei count, GLenum type, const void *indices) {
  if (count < 0 || end < start) return fuzz_gl::fail(GL_INVALID_VALUE);
  const int size = fuzz_gl::index_bytes(type);
  if (size == 0) return fuzz_gl::fail(GL_INVALID_ENUM);
  fuzz_gl::read_block("glDrawRangeElements", indices,
                      static_cast<std::size_t>(count) * static_cast<std::size_t>(size));
}

void glReadPixels(GLint, GLint, GLsizei width, GLsizei height, GLenum format, GLenum type, void *pixels) {
  if (width < 0 || height < 0) return fuzz_gl::fail(GL_INVALID_VALUE);
  if (!fuzz_gl::valid_pair(format, type)) return fuzz_gl::fail(GL_INVALID_ENUM);
  std::vector<std::size_t> offsets;
  const std::size_t bytes = fuzz_gl::extent(width, height, format, type, the_state.pack, &offsets);
  fuzz_gl::write_bytes("glReadPixels", pixels, bytes, offsets);
}

void glGetTexImage(GLenum target, GLint level, GLenum format, GLenum type, void *pixels) {
  if ((target != GL_TEXTURE_1D && target != GL_TEXTURE_2D) || !fuzz_gl::valid_texture_format(format) ||
      !fuzz_gl::valid_pair(format, type))
    return fuzz_gl::fail(GL_INVALID_ENUM);
  if (level < 0 || level > 31) return fuzz_gl::fail(GL_INVALID_VALUE);
  const GLsizei h = target == GL_TEXTURE_1D ? 1 : the_state.tex_height;
  std::vector<std::size_t> offsets;
  const std::size_t bytes = fuzz_gl::extent(the_state.tex_width, h, format, type, the_state.pack, &offsets);
  fuzz_gl::write_bytes("glGetTexImage", pixels, bytes, offsets);
}

void glGetPolygonStipple(GLubyte *mask) {
  std::vector<std::size_t> offsets;
  const std::size_t bytes = fuzz_gl::extent(32, 32, GL_COLOR_INDEX, GL_BITMAP, the_state.pack, &offsets);
  fuzz_gl::write_bytes("glGetPolygonStipple", mask, bytes, offsets);
}

void glPixelMapusv(GLenum map, GLsizei mapsize, const GLushort *values) {
  const int i = fuzz_gl::map_index(map);
  if (i < 0) return fuzz_gl::fail(GL_INVALID_ENUM);
  // The index maps (I_TO_x, S_TO_S) need a power-of-two size.
  if (mapsize < 1 || mapsize > 256 || (i <= 5 && (mapsize & (mapsize - 1)) != 0))
    return fuzz_gl::fail(GL_INVALID_VALUE);
  fuzz_gl::read_block("glPixelMapusv", values, static_cast<std::size_t>(mapsize) * 2);
  the_state.map_size[i] = mapsize;
}

void glGetPixelMapusv(GLenum map, GLushort *values) {
  const int i = fuzz_gl::map_index(map);
  if (i < 0) return fuzz_gl::fail(GL_INVALID_ENUM);
  fuzz_gl::write_all("glGetPixelMapusv", values, static_cast<std::size_t>(the_state.map_size[i]) * 2);
}

void glCallLists(GLsizei n, GLenum type, const GLvoid *lists) {
  if (n < 0) return fuzz_gl::fail(GL_INVALID_VALUE);
  const int size = fuzz_gl::list_name_bytes(type);
  if (size == 0) return fuzz_gl::fail(GL_INVALID_ENUM);
  fuzz_gl::read_block("glCallLists", lists, static_cast<std::size_t>(n) * static_cast<std::size_t>(size));
}

void glGetBooleanv(GLenum pname, GLboolean *params) {
  const int n = fuzz_gl::boolean_count(pname);
  if (n == 0) return fuzz_gl::fail(GL_INVALID_ENUM);
  // Booleans are GL_TRUE or GL_FALSE, never other byte values.
  fuzz_gl::write_all("glGetBooleanv", params, static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    params[i] = the_state.written[static_cast<std::size_t>(i)] & 1;
    the_state.written[static_cast<std::size_t>(i)] = params[i];
  }
}

const GLubyte *glGetString(GLenum) {
  ++the_state.calls;
  return the_state.has_string ? reinterpret_cast<const GLubyte *>(the_state.string.c_str()) : nullptr;
}

GLenum glGetError(void) {
  const GLenum e = the_state.error;
  the_state.error = GL_NO_ERROR;
  return e;
}

void glEdgeFlagv(const GLboolean *flag) { fuzz_gl::read_block("glEdgeFlagv", flag, 1); }

void glRectsv(const GLshort *v1, const GLshort *v2) {
  // Both corners, kept one after the other in the record.
  GLshort both[4];
  std::memcpy(both, v1, 2 * sizeof(GLshort));
  std::memcpy(both + 2, v2, 2 * sizeof(GLshort));
  fuzz_gl::read_block("glRectsv", both, sizeof both);
  the_state.address = v1;
}

#define FUZZ_GL_VECTOR(command, Component, k) \
  void command(const Component *v) { fuzz_gl::read_block(#command, v, (k) * sizeof(Component)); }
FUZZ_GL_VECTOR(glColor3bv, GLbyte, 3)
FUZZ_GL_VECTOR(glColor3ubv, GLubyte, 3)
FUZZ_GL_VECTOR(glColor4bv, GLbyte, 4)
FUZZ_GL_VECTOR(glColor4ubv, GLubyte, 4)
FUZZ_GL_VECTOR(glNormal3bv, GLbyte, 3)
FUZZ_GL_VECTOR(glColor3sv, GLshort, 3)
FUZZ_GL_VECTOR(glColor3usv, GLushort, 3)
FUZZ_GL_VECTOR(glColor4sv, GLshort, 4)
FUZZ_GL_VECTOR(glColor4usv, GLushort, 4)
FUZZ_GL_VECTOR(glIndexsv, GLshort, 1)
FUZZ_GL_VECTOR(glNormal3sv, GLshort, 3)
FUZZ_GL_VECTOR(glRasterPos2sv, GLshort, 2)
FUZZ_GL_VECTOR(glRasterPos3sv, GLshort, 3)
FUZZ_GL_VECTOR(glRasterPos4sv, GLshort, 4)
FUZZ_GL_VECTOR(glTexCoord1sv, GLshort, 1)
FUZZ_GL_VECTOR(glTexCoord2sv, GLshort, 2)
FUZZ_GL_VECTOR(glTexCoord3sv, GLshort, 3)
FUZZ_GL_VECTOR(glTexCoord4sv, GLshort, 4)
FUZZ_GL_VECTOR(glVertex2sv, GLshort, 2)
FUZZ_GL_VECTOR(glVertex3sv, GLshort, 3)
FUZZ_GL_VECTOR(glVertex4sv, GLshort, 4)
#undef FUZZ_GL_VECTOR

// The text commands. A text in is read up to its NUL, as OpenGL reads it; a
// text out writes at most bufSize - 1 characters of the_state.string and a
// NUL, and reports the characters written, as OpenGL does.
void glBindBuffer(GLenum target, GLuint buffer) {
  if (target == GL_ELEMENT_ARRAY_BUFFER) the_state.element_buffer = buffer;
}

void glBufferData(GLenum, GLsizeiptr size, const void *data, GLenum) {
  if (size < 0) return fuzz_gl::fail(GL_INVALID_VALUE);
  fuzz_gl::read_block("glBufferData", data, data ? static_cast<std::size_t>(size) : 0);
}

void glBufferSubData(GLenum, GLintptr offset, GLsizeiptr size, const void *data) {
  if (size < 0 || offset < 0) return fuzz_gl::fail(GL_INVALID_VALUE);
  fuzz_gl::read_block("glBufferSubData", data, static_cast<std::size_t>(size));
}

GLint glGetUniformLocation(GLuint, const GLchar *name) {
  the_state.texts.assign(1, std::string(name));
  fuzz_gl::read_block("glGetUniformLocation", name, the_state.texts[0].size() + 1);
  return 7;
}

void glShaderSource(GLuint, GLsizei count, const GLchar *const *string, const GLint *length) {
  if (count < 0) return fuzz_gl::fail(GL_INVALID_VALUE);
  if (length != nullptr) return fuzz_gl::fail(GL_INVALID_OPERATION);  // the layer's lines end in a NUL
  the_state.texts.clear();
  for (GLsizei i = 0; i < count; ++i) the_state.texts.emplace_back(string[i]);
  the_state.command = "glShaderSource";
  ++the_state.calls;
}

namespace {
void text_out(const char *command, GLsizei bufSize, GLsizei *length, GLchar *out) {
  if (bufSize < 0) return fuzz_gl::fail(GL_INVALID_VALUE);
  const std::string &t = the_state.string;
  const std::size_t n = bufSize == 0 ? 0 : std::min(t.size(), static_cast<std::size_t>(bufSize) - 1);
  std::vector<std::size_t> offsets(bufSize == 0 ? 0 : n + 1);
  for (std::size_t i = 0; i < offsets.size(); ++i) offsets[i] = i;
  fuzz_gl::write_bytes(command, out, offsets.size(), offsets);
  if (bufSize > 0) {
    if (n > 0) std::memcpy(out, t.data(), n);
    out[n] = 0;
  }
  if (length != nullptr) *length = static_cast<GLsizei>(n);
}
}  // namespace

void glGetShaderInfoLog(GLuint, GLsizei bufSize, GLsizei *length, GLchar *infoLog) {
  text_out("glGetShaderInfoLog", bufSize, length, infoLog);
}

void glGetActiveUniform(GLuint, GLuint, GLsizei bufSize, GLsizei *length, GLint *size, GLenum *type, GLchar *name) {
  *size = 1;
  *type = GL_FLOAT_VEC3;
  text_out("glGetActiveUniform", bufSize, length, name);
}

const GLubyte *glGetStringi(GLenum, GLuint) {
  ++the_state.calls;
  return the_state.has_string ? reinterpret_cast<const GLubyte *>(the_state.string.c_str()) : nullptr;
}

}  // extern "C"
