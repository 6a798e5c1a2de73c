// Fuzzes the pixel and image entries (draw, read, texture images, sub-images
// and 3-D images, compressed images, bitmaps, stipples, pixel maps, GLU's
// image scaling and mipmap builders) and the vertex-array index entries with
// random sizes, formats, types, counts, element values and pixel-store
// states. The stand-in libGL reads or writes exactly
// what OpenGL would for the call; the caller's array holds exactly the
// elements the contract asks for. So AddressSanitizer reports any temporary
// that does not cover OpenGL's access and any access past the caller's
// elements, and the checks below compare every byte OpenGL received or wrote
// with the caller's elements; an element OpenGL does not write must keep its
// value. Counts below what OpenGL touches are chosen too, in every storage
// (as wide as the type included), so that a temporary sized by the count
// alone, a wrong reckoning of the pixel-store state, or the caller's own
// array handed to OpenGL with a short count, is reported.
#include "fgl.h"
#include "fglu.h"
#include "fuzz_common.h"
#include "fuzz_glu.h"

namespace {

using fuzz::check;
using fuzz_gl::state;

constexpr std::initializer_list<GLenum> kTypes = {GL_BYTE,         GL_UNSIGNED_BYTE, GL_SHORT, GL_UNSIGNED_SHORT,
                                                  GL_INT,          GL_UNSIGNED_INT,  GL_FLOAT, GL_BITMAP};
constexpr std::initializer_list<GLenum> kFormats = {
    GL_COLOR_INDEX, GL_STENCIL_INDEX, GL_DEPTH_COMPONENT, GL_RED,       GL_GREEN,          GL_BLUE,
    GL_ALPHA,       GL_RGB,           GL_RGBA,            GL_LUMINANCE, GL_LUMINANCE_ALPHA};

enum class Storage { I4, I2, P };

// Bytes of the OpenGL item each caller element stands for: a byte for packed
// words; otherwise one component (or one pixel of a packed type) whatever the
// widths. An unknown type counts as four bytes, as the entries take it.
int item_bytes(Storage storage, GLenum type) {
  if (storage == Storage::P) return 1;
  switch (type) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE:
    case GL_BITMAP:
      return 1;
    case GL_SHORT:
    case GL_UNSIGNED_SHORT:
      return 2;
    default:
      return fuzz_gl::packed_bytes(type) > 0 ? fuzz_gl::packed_bytes(type) : 4;
  }
}

std::uint32_t item_at(const std::vector<std::uint8_t> &bytes, std::size_t i, int width) {
  std::uint32_t v = 0;
  for (int b = 0; b < width; ++b) v |= std::uint32_t{bytes[i * width + b]} << (8 * b);
  return v;
}

// The caller's elements for `gl_bytes` bytes that OpenGL reads or writes: the
// items OpenGL touches plus a few spare, or now and then fewer than it
// touches, in every storage (the entry must then never touch the caller's
// array past the count). Count is what the entry is given; the caller's array
// holds exactly `elements`.
struct Sizing {
  GLint count;
  std::size_t elements;
};
Sizing size_for(FuzzedDataProvider &in, Storage, int item, std::size_t gl_bytes) {
  const GLint spare = in.ConsumeIntegralInRange(0, 3);
  const GLint needed = static_cast<GLint>((gl_bytes + static_cast<std::size_t>(item) - 1) / static_cast<std::size_t>(item));
  const GLint count = in.ConsumeBool() && needed > 0 ? in.ConsumeIntegralInRange<GLint>(0, needed - 1) : needed + spare;
  return {count, static_cast<std::size_t>(count)};
}

// The item OpenGL must receive for a caller element: its low bits for a
// narrower item, its bits for one as wide, its value for a 4-byte item from
// a 2-byte element (converted for GL_FLOAT, zero-extended for the unsigned
// types).
template <typename Elem>
std::uint32_t item_of(Elem e, int item, GLenum type) {
  if (item == 1) return static_cast<std::uint32_t>(e) & 0xffu;
  if (item == 2) return static_cast<std::uint32_t>(e) & 0xffffu;
  if constexpr (sizeof(Elem) == 4) {
    return static_cast<std::uint32_t>(e);
  } else {
    if (type == GL_FLOAT) {
      const float f = static_cast<float>(e);
      std::uint32_t bits;
      std::memcpy(&bits, &f, 4);
      return bits;
    }
    if (type == GL_INT) return static_cast<std::uint32_t>(static_cast<std::int32_t>(e));
    return static_cast<std::uint16_t>(e);
  }
}

// After a command that reads: OpenGL received item i = element i's item for
// each of the n elements, and zeros past them; it was handed the caller's
// array only where the elements are its items and cover all it read.
template <typename Elem>
void check_sent(const Elem *elems, std::size_t n, int item, GLenum type, std::size_t gl_bytes, const char *command) {
  auto &gl = state();
  if (gl.command != command) return;  // OpenGL refused the call: nothing read
  check(gl.read.size() == gl_bytes, "OpenGL read another extent");
  if (gl.address == elems && gl_bytes > 0) {
    check(static_cast<std::size_t>(item) == sizeof(Elem), "the caller's array was passed on a converting path");
    check(n * sizeof(Elem) >= gl_bytes, "the caller's array was passed with a count short of what OpenGL reads");
  }
  for (std::size_t i = 0; i < gl_bytes / static_cast<std::size_t>(item); ++i) {
    const std::uint32_t want = i < n ? item_of(elems[i], item, type) : 0;
    check(item_at(gl.read, i, item) == want, "an item is not its element's, or not 0 past the elements");
  }
}

// After a command that writes: element i = item i extended (signed for
// GL_BYTE/GL_SHORT, GL_FLOAT values saturated into 2-byte elements), for
// every item OpenGL wrote; every other element keeps its value (`before`).
// When OpenGL refused the call, an element in the image's place may also
// come back 0 (the entry's temporary was not written), or for GL_BITMAP as
// its own low byte (a bitmap's temporary starts from the caller's bytes).
template <typename Elem>
void check_received(const Elem *elems, const std::vector<Elem> &before, Storage storage, int item, GLenum type,
                    const char *command) {
  auto &gl = state();
  const std::size_t n = before.size();
  const bool called = gl.command == command;
  const bool is_signed = storage != Storage::P && (type == GL_BYTE || type == GL_SHORT);
  for (std::size_t i = 0; i < n; ++i) {
    int written = 0;
    for (int b = 0; b < item; ++b) {
      const std::size_t at = i * static_cast<std::size_t>(item) + static_cast<std::size_t>(b);
      written += called && at < gl.written_mask.size() && gl.written_mask[at];
    }
    if (written == 0) {
      const Elem own_byte = static_cast<Elem>(static_cast<std::uint8_t>(before[i]));
      check(elems[i] == before[i] || (!called && (elems[i] == 0 || (type == GL_BITMAP && elems[i] == own_byte))),
            "an element OpenGL did not write changed");
      continue;
    }
    check(written == item, "OpenGL wrote part of an item");
    const std::uint32_t v = item_at(gl.written, i, item);
    std::int64_t want = v;
    if (is_signed) want = item == 1 ? static_cast<std::int8_t>(v) : static_cast<std::int16_t>(v);
    if (storage == Storage::P) {
      check((static_cast<std::uint32_t>(elems[i]) & 0xffu) == v, "a packed word's low byte is not the pixel byte");
    } else if (storage == Storage::I2) {
      if (item == 4 && type == GL_FLOAT) {
        float f;
        std::memcpy(&f, &v, 4);
        want = f != f ? 0 : f <= -32768.0f ? -32768 : f >= 32767.0f ? 32767 : static_cast<std::int64_t>(f);
      }
      check(elems[i] == static_cast<GLshort>(want), "a 2-byte element is not its item");
    } else {
      check(static_cast<std::int64_t>(elems[i]) == static_cast<std::int64_t>(static_cast<GLint>(want)),
            "a 4-byte element is not its item extended");
    }
  }
}

template <typename Elem>
std::vector<Elem> copy_of(const fuzz::CallerArray<Elem> &a) {
  return std::vector<Elem>(a.data, a.data + a.n);
}

// check_sent for an image command; a full texture image (`full`) with a
// count of 0 has no data: OpenGL gets a null pointer and reads nothing.
template <typename Elem>
void check_sent_image(const Elem *elems, std::size_t n, int item, GLenum type, std::size_t gl_bytes,
                      const char *command, bool full) {
  if (full && n == 0) {
    if (state().command == command) check(state().address == nullptr && state().read.empty(), "no data was not null");
    return;
  }
  check_sent(elems, n, item, type, gl_bytes, command);
}

// glDrawPixels, glTexImage1D, glTexImage2D through their I4, I2 and P entries.
void fuzz_into(FuzzedDataProvider &in, int command, Storage storage) {
  const GLenum format = fuzz::pick(in, kFormats);
  const GLenum type = fuzz::pick(in, kTypes);
  GLsizei width = in.ConsumeIntegralInRange(-1, 40);
  GLsizei height = command == 1 ? 1 : in.ConsumeIntegralInRange(-1, 40);
  const GLenum target = command == 1 ? GL_TEXTURE_1D : GL_TEXTURE_2D;
  const GLint level = in.ConsumeIntegralInRange(0, 3), internal = 4, border = in.ConsumeIntegralInRange(0, 1);
  const int item = item_bytes(storage, type);
  std::size_t gl_bytes = fuzz_gl::extent(width, height, format, type, state().unpack);
  if (command != 0 && (format == GL_COLOR_INDEX || format == GL_STENCIL_INDEX || format == GL_DEPTH_COMPONENT))
    gl_bytes = 0;  // no texture of these formats: OpenGL reads nothing
  const Sizing sz = size_for(in, storage, item, gl_bytes);
  const char *name = command == 0 ? "glDrawPixels" : command == 1 ? "glTexImage1D" : "glTexImage2D";
  if (storage == Storage::I2) {
    fuzz::CallerArray<GLshort> a(in, sz.elements);
    if (command == 0) fglDrawPixelsI2(&width, &height, &format, &type, a.data, &sz.count);
    if (command == 1) fglTexImage1DI2(&target, &level, &internal, &width, &border, &format, &type, a.data, &sz.count);
    if (command == 2)
      fglTexImage2DI2(&target, &level, &internal, &width, &height, &border, &format, &type, a.data, &sz.count);
    check_sent_image(a.data, a.n, item, type, gl_bytes, name, command != 0);
  } else {
    fuzz::CallerArray<GLint> a(in, sz.elements);
    if (storage == Storage::I4) {
      if (command == 0) fglDrawPixelsI4(&width, &height, &format, &type, a.data, &sz.count);
      if (command == 1) fglTexImage1DI4(&target, &level, &internal, &width, &border, &format, &type, a.data, &sz.count);
      if (command == 2)
        fglTexImage2DI4(&target, &level, &internal, &width, &height, &border, &format, &type, a.data, &sz.count);
    } else {
      if (command == 0) fglDrawPixelsP(&width, &height, &format, &type, a.data, &sz.count);
      if (command == 1) fglTexImage1DP(&target, &level, &internal, &width, &border, &format, &type, a.data, &sz.count);
      if (command == 2)
        fglTexImage2DP(&target, &level, &internal, &width, &height, &border, &format, &type, a.data, &sz.count);
    }
    check_sent_image(a.data, a.n, item, type, gl_bytes, name, command != 0);
  }
}

// glReadPixels and glGetTexImage through their I4, I2 and P entries.
void fuzz_out(FuzzedDataProvider &in, int command, Storage storage) {
  const GLenum format = fuzz::pick(in, kFormats);
  const GLenum type = fuzz::pick(in, kTypes);
  const GLint x = 0, y = 0;
  GLsizei width = in.ConsumeIntegralInRange(-1, 40), height = in.ConsumeIntegralInRange(-1, 40);
  const GLenum target = in.ConsumeBool() ? GL_TEXTURE_2D : GL_TEXTURE_1D;
  const GLint level = in.ConsumeIntegralInRange(0, 3);
  std::size_t gl_bytes;
  if (command == 0) {
    gl_bytes = fuzz_gl::extent(width, height, format, type, state().pack);
  } else {
    state().tex_width = width < 0 ? 0 : width;
    state().tex_height = height < 0 ? 0 : height;
    const bool texture_format = format != GL_COLOR_INDEX && format != GL_STENCIL_INDEX && format != GL_DEPTH_COMPONENT;
    gl_bytes = texture_format ? fuzz_gl::extent(state().tex_width, target == GL_TEXTURE_1D ? 1 : state().tex_height,
                                                format, type, state().pack)
                              : 0;
  }
  const int item = item_bytes(storage, type);
  const Sizing sz = size_for(in, storage, item, gl_bytes);
  const char *name = command == 0 ? "glReadPixels" : "glGetTexImage";
  if (storage == Storage::I2) {
    fuzz::CallerArray<GLshort> a(in, sz.elements);
    const auto before = copy_of(a);
    if (command == 0) fglReadPixelsI2(&x, &y, &width, &height, &format, &type, a.data, &sz.count);
    if (command == 1) fglGetTexImageI2(&target, &level, &format, &type, a.data, &sz.count);
    check_received(a.data, before, storage, item, type, name);
  } else {
    fuzz::CallerArray<GLint> a(in, sz.elements);
    const auto before = copy_of(a);
    if (storage == Storage::I4) {
      if (command == 0) fglReadPixelsI4(&x, &y, &width, &height, &format, &type, a.data, &sz.count);
      if (command == 1) fglGetTexImageI4(&target, &level, &format, &type, a.data, &sz.count);
    } else {
      if (command == 0) fglReadPixelsP(&x, &y, &width, &height, &format, &type, a.data, &sz.count);
      if (command == 1) fglGetTexImageP(&target, &level, &format, &type, a.data, &sz.count);
    }
    check_received(a.data, before, storage, item, type, name);
  }
}

void fuzz_bitmap(FuzzedDataProvider &in, bool i2) {
  GLsizei width = in.ConsumeIntegralInRange(-1, 64), height = in.ConsumeIntegralInRange(-1, 64);
  const GLfloat origin = 0.5f, move = 1.0f;
  const std::size_t gl_bytes = fuzz_gl::extent(width, height, GL_COLOR_INDEX, GL_BITMAP, state().unpack);
  const Sizing sz = size_for(in, i2 ? Storage::I2 : Storage::I4, 1, gl_bytes);
  if (i2) {
    fuzz::CallerArray<GLshort> a(in, sz.elements);
    fglBitmapI2(&width, &height, &origin, &origin, &move, &move, a.data, &sz.count);
    check_sent(a.data, a.n, 1, GL_BITMAP, gl_bytes, "glBitmap");
  } else {
    fuzz::CallerArray<GLint> a(in, sz.elements);
    fglBitmapI4(&width, &height, &origin, &origin, &move, &move, a.data, &sz.count);
    check_sent(a.data, a.n, 1, GL_BITMAP, gl_bytes, "glBitmap");
  }
}

// The stipple setters read exactly 128 elements; OpenGL reads the 32 x 32
// bitmap through the unpack state, which may reach past 128 bytes: the
// temporary must cover that, and the first 128 bytes are the elements.
template <typename Elem, typename Entry>
void fuzz_stipple(FuzzedDataProvider &in, Entry entry) {
  fuzz::CallerArray<Elem> a(in, 128);
  entry(a.data);
  auto &gl = state();
  check(gl.command == "glPolygonStipple", "glPolygonStipple was not called");
  check(gl.read.size() == fuzz_gl::extent(32, 32, GL_COLOR_INDEX, GL_BITMAP, gl.unpack), "OpenGL read another extent");
  for (std::size_t i = 0; i < 128 && i < gl.read.size(); ++i) {
    check(gl.read[i] == static_cast<std::uint8_t>(a.data[i]), "a stipple byte is not its element's low byte");
  }
}

// The stipple getters deliver `count` elements (any count: fewer or more
// than the 128 bytes of the pattern).
template <typename Elem, typename Entry>
void fuzz_get_stipple(FuzzedDataProvider &in, Entry entry) {
  const GLint count = in.ConsumeIntegralInRange(-1, 300);
  fuzz::CallerArray<Elem> a(in, count > 0 ? static_cast<std::size_t>(count) : 0);
  const auto before = copy_of(a);
  entry(a.data, &count);
  check_received(a.data, before, Storage::I4, 1, GL_UNSIGNED_BYTE, "glGetPolygonStipple");
}

void fuzz_pixel_map(FuzzedDataProvider &in) {
  const GLenum map = static_cast<GLenum>(GL_PIXEL_MAP_I_TO_I + in.ConsumeIntegralInRange(-1, 10));
  GLsizei mapsize = in.ConsumeIntegralInRange(-2, 300);
  fuzz::CallerArray<GLint> a(in, mapsize > 0 ? static_cast<std::size_t>(mapsize) : 0);
  fglPixelMapusvI4(&map, &mapsize, a.data);
  auto &gl = state();
  if (gl.command != "glPixelMapusv") return;
  check(gl.read.size() == 2 * static_cast<std::size_t>(mapsize), "OpenGL read another map size");
  for (std::size_t i = 0; i < a.n; ++i) {
    check(item_at(gl.read, i, 2) == (static_cast<std::uint32_t>(a.data[i]) & 0xffffu), "a map value is not its element's low half");
  }
}

void fuzz_get_pixel_map(FuzzedDataProvider &in) {
  const int index = in.ConsumeIntegralInRange(-1, 10);
  const GLenum map = static_cast<GLenum>(GL_PIXEL_MAP_I_TO_I + index);
  if (index >= 0 && index < 10) state().map_size[index] = in.ConsumeIntegralInRange(1, 256);
  fuzz::CallerArray<GLint> a(in, 4);
  const auto before = copy_of(a);
  fglGetPixelMapusvI4(&map, a.data);
  check_received(a.data, before, Storage::I4, 2, GL_UNSIGNED_SHORT, "glGetPixelMapusv");
}

// ---------------------------------------------------------------------------
// Sub-images, 3-D images, compressed images and indices.

constexpr std::initializer_list<GLenum> kImageTypes = {
    GL_BYTE,  GL_UNSIGNED_BYTE, GL_SHORT, GL_UNSIGNED_SHORT, GL_INT, GL_FLOAT, GL_UNSIGNED_BYTE_3_3_2,
    GL_UNSIGNED_BYTE_2_3_3_REV, GL_UNSIGNED_SHORT_5_6_5, GL_UNSIGNED_SHORT_4_4_4_4, GL_UNSIGNED_SHORT_1_5_5_5_REV,
    GL_UNSIGNED_INT_8_8_8_8, GL_UNSIGNED_INT_2_10_10_10_REV};
constexpr std::initializer_list<GLenum> kImageFormats = {GL_RED, GL_ALPHA,     GL_RGB, GL_BGR, GL_RGBA,
                                                         GL_BGRA, GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_COLOR_INDEX};

// glTexSubImage1D (0), glTexSubImage2D (1), glTexImage3D (2) and
// glTexSubImage3D (3) through their I4, I2 and P entries, the 3-D ones under
// a random image height and number of skipped images.
void fuzz_image(FuzzedDataProvider &in, int command, Storage storage) {
  const GLenum format = fuzz::pick(in, kImageFormats);
  const GLenum type = fuzz::pick(in, kImageTypes);
  GLsizei width = in.ConsumeIntegralInRange(-1, 24);
  GLsizei height = command == 0 ? 1 : in.ConsumeIntegralInRange(-1, 12);
  GLsizei depth = command >= 2 ? in.ConsumeIntegralInRange(-1, 6) : 1;
  if (command >= 2) {
    state().unpack.image_height = in.ConsumeIntegralInRange(0, 16);
    state().unpack.skip_images = in.ConsumeIntegralInRange(0, 3);
  }
  const GLenum target = command == 0 ? GL_TEXTURE_1D : command == 1 ? GL_TEXTURE_2D : GL_TEXTURE_3D;
  const GLint level = in.ConsumeIntegralInRange(0, 3), internal = 4, border = 0, offset = in.ConsumeIntegralInRange(-2, 5);
  const int item = item_bytes(storage, type);
  std::size_t gl_bytes = fuzz_gl::extent3d(width, height, depth, format, type, state().unpack);
  if (format == GL_COLOR_INDEX) gl_bytes = 0;  // no texture of this format: OpenGL reads nothing
  const Sizing sz = size_for(in, storage, item, gl_bytes);
  const char *name = command == 0   ? "glTexSubImage1D"
                     : command == 1 ? "glTexSubImage2D"
                     : command == 2 ? "glTexImage3D"
                                    : "glTexSubImage3D";
  auto call = [&](auto i4, auto i2, auto p, auto *data) {
    if constexpr (std::is_same_v<std::remove_pointer_t<decltype(data)>, GLshort>) {
      i2(data);
    } else if (storage == Storage::I4) {
      i4(data);
    } else {
      p(data);
    }
  };
#define FUZZ_ENTRY(entry, ...)                                                             \
  call([&](GLint *d) { entry##I4(__VA_ARGS__, d, &sz.count); },                           \
       [&](GLshort *d) { entry##I2(__VA_ARGS__, d, &sz.count); },                         \
       [&](GLint *d) { entry##P(__VA_ARGS__, d, &sz.count); }, a.data)
  auto run = [&](auto &a) {
    if (command == 0) FUZZ_ENTRY(fglTexSubImage1D, &target, &level, &offset, &width, &format, &type);
    if (command == 1) FUZZ_ENTRY(fglTexSubImage2D, &target, &level, &offset, &offset, &width, &height, &format, &type);
    if (command == 2)
      FUZZ_ENTRY(fglTexImage3D, &target, &level, &internal, &width, &height, &depth, &border, &format, &type);
    if (command == 3)
      FUZZ_ENTRY(fglTexSubImage3D, &target, &level, &offset, &offset, &offset, &width, &height, &depth, &format,
                 &type);
    check_sent_image(a.data, a.n, item, type, gl_bytes, name, command == 2);
  };
#undef FUZZ_ENTRY
  if (storage == Storage::I2) {
    fuzz::CallerArray<GLshort> a(in, sz.elements);
    run(a);
  } else {
    fuzz::CallerArray<GLint> a(in, sz.elements);
    run(a);
  }
}

// The compressed-image P entries (of a bound target and of a named
// texture): OpenGL reads imageSize bytes, the low bytes of the caller's words
// and zeros past them.
void fuzz_compressed(FuzzedDataProvider &in, int command) {
  const GLsizei size = in.ConsumeIntegralInRange(-2, 80);
  const GLint count = in.ConsumeIntegralInRange(-1, 90);
  fuzz::CallerArray<GLint> a(in, count > 0 ? static_cast<std::size_t>(count) : 0);
  const GLenum target = GL_TEXTURE_2D, format = 0x83F0;
  const GLint level = 0, border = 0, offset = 0;
  const GLsizei w = 4, h = 4, d = 1;
  const GLuint texture = 1;
  const char *names[] = {"glCompressedTexImage1D",        "glCompressedTexImage2D",
                         "glCompressedTexImage3D",        "glCompressedTexSubImage1D",
                         "glCompressedTexSubImage2D",     "glCompressedTexSubImage3D",
                         "glCompressedTextureSubImage1D", "glCompressedTextureSubImage2D",
                         "glCompressedTextureSubImage3D"};
  switch (command) {
    case 0: fglCompressedTexImage1DP(&target, &level, &format, &w, &border, &size, a.data, &count); break;
    case 1: fglCompressedTexImage2DP(&target, &level, &format, &w, &h, &border, &size, a.data, &count); break;
    case 2: fglCompressedTexImage3DP(&target, &level, &format, &w, &h, &d, &border, &size, a.data, &count); break;
    case 3: fglCompressedTexSubImage1DP(&target, &level, &offset, &w, &format, &size, a.data, &count); break;
    case 4: fglCompressedTexSubImage2DP(&target, &level, &offset, &offset, &w, &h, &format, &size, a.data, &count); break;
    case 6: fglCompressedTextureSubImage1DP(&texture, &level, &offset, &w, &format, &size, a.data, &count); break;
    case 7:
      fglCompressedTextureSubImage2DP(&texture, &level, &offset, &offset, &w, &h, &format, &size, a.data, &count);
      break;
    case 8:
      fglCompressedTextureSubImage3DP(&texture, &level, &offset, &offset, &offset, &w, &h, &d, &format, &size, a.data,
                                      &count);
      break;
    default:
      fglCompressedTexSubImage3DP(&target, &level, &offset, &offset, &offset, &w, &h, &d, &format, &size, a.data,
                                  &count);
  }
  auto &gl = state();
  if (gl.command != names[command]) return;
  check(size >= 0 && gl.read.size() == static_cast<std::size_t>(size), "OpenGL read another image size");
  for (std::size_t i = 0; i < gl.read.size(); ++i) {
    const std::uint8_t want = i < a.n ? static_cast<std::uint8_t>(a.data[i]) : 0;
    check(gl.read[i] == want, "a compressed byte is not its word's low byte (or 0 past the words)");
  }
}

// fglGetCompressedTexImageP: the level's compressed bytes, then zeros.
void fuzz_get_compressed(FuzzedDataProvider &in) {
  state().compressed_size = in.ConsumeIntegralInRange(-1, 80);
  const GLint count = in.ConsumeIntegralInRange(-1, 90);
  fuzz::CallerArray<GLint> a(in, count > 0 ? static_cast<std::size_t>(count) : 0);
  const auto before = copy_of(a);
  const GLenum target = in.ConsumeBool() ? GL_TEXTURE_2D : GL_TEXTURE_3D;
  const GLint level = in.ConsumeIntegralInRange(0, 2);
  fglGetCompressedTexImageP(&target, &level, a.data, &count);
  // The image's bytes, and the words past it as they were.
  check_received(a.data, before, Storage::P, 1, GL_UNSIGNED_BYTE, "glGetCompressedTexImage");
}

// fglDrawElementsI4 and fglDrawRangeElementsI4: count elements narrowed to
// the index type.
void fuzz_indices(FuzzedDataProvider &in) {
  const GLenum type = fuzz::pick(in, {GL_UNSIGNED_BYTE, GL_UNSIGNED_SHORT, GL_UNSIGNED_INT});
  const GLsizei count = in.ConsumeIntegralInRange(-1, 64);
  const bool range = in.ConsumeBool();
  fuzz::CallerArray<GLint> a(in, count > 0 ? static_cast<std::size_t>(count) : 0);
  const GLenum mode = GL_TRIANGLES;
  const GLuint start = 0, end = in.ConsumeIntegralInRange(0u, 2u);
  if (range) {
    fglDrawRangeElementsI4(&mode, &start, &end, &count, &type, a.data);
  } else {
    fglDrawElementsI4(&mode, &count, &type, a.data);
  }
  const int item = type == GL_UNSIGNED_BYTE ? 1 : type == GL_UNSIGNED_SHORT ? 2 : 0;
  const int width = item > 0 ? item : type == GL_UNSIGNED_INT ? 4 : 0;
  const std::size_t gl_bytes = count > 0 ? static_cast<std::size_t>(count) * static_cast<std::size_t>(width) : 0;
  check_sent(a.data, a.n, item > 0 ? item : 4, type, gl_bytes, range ? "glDrawRangeElements" : "glDrawElements");
}

// The GLU mipmap builders through their I4, I2 and P entries: GLU reads the
// image as glDrawPixels would (one row per 1-D image, depth x height rows per
// 3-D one).
void fuzz_glu_build(FuzzedDataProvider &in, int dims, bool levels, Storage storage) {
  const GLenum format = fuzz::pick(in, kFormats);
  const GLenum type = fuzz::pick(in, kTypes);
  const GLenum target = GL_TEXTURE_2D;
  const GLint internal = 4, level = 0, base = 0, max = in.ConsumeIntegralInRange(0, 4);
  GLsizei width = in.ConsumeIntegralInRange(-1, 40);
  GLsizei height = dims == 1 ? 1 : in.ConsumeIntegralInRange(-1, 20);
  GLsizei depth = dims == 3 ? in.ConsumeIntegralInRange(-1, 4) : 1;
  const int item = item_bytes(storage, type);
  const std::size_t gl_bytes =
      depth < 0 ? 0 : fuzz_gl::extent(width, height < 0 ? -1 : height * depth, format, type, state().unpack);
  const Sizing sz = size_for(in, storage, item, gl_bytes);
  auto call = [&](const auto *data) {
    using Elem = std::remove_cv_t<std::remove_pointer_t<decltype(data)>>;
    if constexpr (std::is_same_v<Elem, GLshort>) {
      if (dims == 1 && !levels) fgluBuild1DMipmapsI2(&target, &internal, &width, &format, &type, data, &sz.count);
      if (dims == 2 && !levels) fgluBuild2DMipmapsI2(&target, &internal, &width, &height, &format, &type, data, &sz.count);
      if (dims == 3 && !levels)
        fgluBuild3DMipmapsI2(&target, &internal, &width, &height, &depth, &format, &type, data, &sz.count);
      if (dims == 1 && levels)
        fgluBuild1DMipmapLevelsI2(&target, &internal, &width, &format, &type, &level, &base, &max, data, &sz.count);
      if (dims == 2 && levels)
        fgluBuild2DMipmapLevelsI2(&target, &internal, &width, &height, &format, &type, &level, &base, &max, data,
                                  &sz.count);
      if (dims == 3 && levels)
        fgluBuild3DMipmapLevelsI2(&target, &internal, &width, &height, &depth, &format, &type, &level, &base, &max,
                                  data, &sz.count);
    } else if (storage == Storage::I4) {
      if (dims == 1 && !levels) fgluBuild1DMipmapsI4(&target, &internal, &width, &format, &type, data, &sz.count);
      if (dims == 2 && !levels) fgluBuild2DMipmapsI4(&target, &internal, &width, &height, &format, &type, data, &sz.count);
      if (dims == 3 && !levels)
        fgluBuild3DMipmapsI4(&target, &internal, &width, &height, &depth, &format, &type, data, &sz.count);
      if (dims == 1 && levels)
        fgluBuild1DMipmapLevelsI4(&target, &internal, &width, &format, &type, &level, &base, &max, data, &sz.count);
      if (dims == 2 && levels)
        fgluBuild2DMipmapLevelsI4(&target, &internal, &width, &height, &format, &type, &level, &base, &max, data,
                                  &sz.count);
      if (dims == 3 && levels)
        fgluBuild3DMipmapLevelsI4(&target, &internal, &width, &height, &depth, &format, &type, &level, &base, &max,
                                  data, &sz.count);
    } else {
      if (dims == 1 && !levels) fgluBuild1DMipmapsP(&target, &internal, &width, &format, &type, data, &sz.count);
      if (dims == 2 && !levels) fgluBuild2DMipmapsP(&target, &internal, &width, &height, &format, &type, data, &sz.count);
      if (dims == 3 && !levels)
        fgluBuild3DMipmapsP(&target, &internal, &width, &height, &depth, &format, &type, data, &sz.count);
      if (dims == 1 && levels)
        fgluBuild1DMipmapLevelsP(&target, &internal, &width, &format, &type, &level, &base, &max, data, &sz.count);
      if (dims == 2 && levels)
        fgluBuild2DMipmapLevelsP(&target, &internal, &width, &height, &format, &type, &level, &base, &max, data,
                                 &sz.count);
      if (dims == 3 && levels)
        fgluBuild3DMipmapLevelsP(&target, &internal, &width, &height, &depth, &format, &type, &level, &base, &max,
                                 data, &sz.count);
    }
    check_sent(data, sz.elements, item, type, gl_bytes, "glDrawPixels");
  };
  if (storage == Storage::I2) {
    fuzz::CallerArray<GLshort> a(in, sz.elements);
    call(a.data);
  } else {
    fuzz::CallerArray<GLint> a(in, sz.elements);
    call(a.data);
  }
}

// gluScaleImage through its I4, I2 and P entries: the input read as by
// glDrawPixels under the unpack state, the output written as by glReadPixels
// under the pack state, both through the caller's storage.
void fuzz_glu_scale(FuzzedDataProvider &in, Storage storage) {
  const GLenum format = fuzz::pick(in, kFormats);
  const GLenum type_in = fuzz::pick(in, kTypes), type_out = fuzz::pick(in, kTypes);
  GLsizei win = in.ConsumeIntegralInRange(-1, 30), hin = in.ConsumeIntegralInRange(-1, 30);
  GLsizei wout = in.ConsumeIntegralInRange(-1, 30), hout = in.ConsumeIntegralInRange(-1, 30);
  const int item_in = item_bytes(storage, type_in), item_out = item_bytes(storage, type_out);
  const std::size_t bytes_in = fuzz_gl::extent(win, hin, format, type_in, state().unpack);
  const std::size_t bytes_out = fuzz_gl::extent(wout, hout, format, type_out, state().pack);
  const Sizing sz_in = size_for(in, storage, item_in, bytes_in);
  const Sizing sz_out = size_for(in, storage, item_out, bytes_out);
  auto check_input = [&](const auto *elems, std::size_t n) {
    const fuzz_glu::Input &read = fuzz_glu::input();
    if (!read.called) return;
    check(read.read.size() == bytes_in, "GLU read another extent");
    using Elem = std::remove_cv_t<std::remove_pointer_t<decltype(elems)>>;
    if (read.address == elems && bytes_in > 0) {
      check(static_cast<std::size_t>(item_in) == sizeof(Elem), "the caller's input was passed on a converting path");
      check(n * sizeof(Elem) >= bytes_in, "the caller's input was passed with a count short of what GLU reads");
    }
    for (std::size_t i = 0; i < bytes_in / static_cast<std::size_t>(item_in); ++i) {
      const std::uint32_t want = i < n ? item_of(elems[i], item_in, type_in) : 0;
      check(item_at(read.read, i, item_in) == want, "an input item is not its element's, or not 0 past them");
    }
  };
  if (storage == Storage::I2) {
    fuzz::CallerArray<GLshort> a(in, sz_in.elements), b(in, sz_out.elements);
    const auto before = copy_of(b);
    fgluScaleImageI2(&format, &win, &hin, &type_in, a.data, &wout, &hout, &type_out, b.data, &sz_in.count, &sz_out.count);
    check_input(a.data, a.n);
    check_received(b.data, before, storage, item_out, type_out, "glReadPixels");
  } else {
    fuzz::CallerArray<GLint> a(in, sz_in.elements), b(in, sz_out.elements);
    const auto before = copy_of(b);
    if (storage == Storage::I4) {
      fgluScaleImageI4(&format, &win, &hin, &type_in, a.data, &wout, &hout, &type_out, b.data, &sz_in.count,
                       &sz_out.count);
    } else {
      fgluScaleImageP(&format, &win, &hin, &type_in, a.data, &wout, &hout, &type_out, b.data, &sz_in.count,
                      &sz_out.count);
    }
    check_input(a.data, a.n);
    check_received(b.data, before, storage, item_out, type_out, "glReadPixels");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  fuzz_gl::reset();
  fuzz_glu::reset();
  auto &gl = state();
  gl.fill_seed = in.ConsumeIntegral<std::uint32_t>();
  gl.unpack = fuzz::pick_store(in);
  gl.pack = fuzz::pick_store(in);
  const Storage storages[] = {Storage::I4, Storage::I2, Storage::P};
  switch (in.ConsumeIntegralInRange(0, 15)) {
    case 0: return fuzz_into(in, 0, storages[in.ConsumeIntegralInRange(0, 2)]), 0;
    case 1: return fuzz_into(in, 1, storages[in.ConsumeIntegralInRange(0, 2)]), 0;
    case 2: return fuzz_into(in, 2, storages[in.ConsumeIntegralInRange(0, 2)]), 0;
    case 3: return fuzz_out(in, 0, storages[in.ConsumeIntegralInRange(0, 2)]), 0;
    case 4: return fuzz_out(in, 1, storages[in.ConsumeIntegralInRange(0, 2)]), 0;
    case 5: return fuzz_bitmap(in, in.ConsumeBool()), 0;
    case 6:
      if (in.ConsumeBool()) return fuzz_stipple<GLint>(in, fglPolygonStippleI4), 0;
      return fuzz_stipple<GLshort>(in, fglPolygonStippleI2), 0;
    case 7:
      if (in.ConsumeBool()) return fuzz_get_stipple<GLint>(in, fglGetPolygonStippleI4), 0;
      return fuzz_get_stipple<GLshort>(in, fglGetPolygonStippleI2), 0;
    case 8: return fuzz_pixel_map(in), 0;
    case 9: return fuzz_get_pixel_map(in), 0;
    case 10: return fuzz_image(in, in.ConsumeIntegralInRange(0, 3), storages[in.ConsumeIntegralInRange(0, 2)]), 0;
    case 11: return fuzz_compressed(in, in.ConsumeIntegralInRange(0, 8)), 0;
    case 12: return fuzz_get_compressed(in), 0;
    case 13: return fuzz_glu_build(in, in.ConsumeIntegralInRange(1, 3), in.ConsumeBool(), storages[in.ConsumeIntegralInRange(0, 2)]), 0;
    case 14: return fuzz_glu_scale(in, storages[in.ConsumeIntegralInRange(0, 2)]), 0;
    default: return fuzz_indices(in), 0;
  }
}
