// Fuzzes the pixel and image entries (draw, read, texture images, bitmaps,
// stipples, pixel maps) with random sizes, formats, types, counts, element
// values and pixel-store states. The stand-in libGL reads or writes exactly
// what OpenGL would for the call; the caller's array holds exactly the
// elements the contract asks for. So AddressSanitizer reports any temporary
// that does not cover OpenGL's access and any access past the caller's
// elements, and the checks below compare every byte OpenGL received or wrote
// with the caller's elements. Counts below what OpenGL touches are chosen
// too, so that a temporary sized by the count alone, or by a wrong reckoning
// of the pixel-store state, is reported.
#include "fgl.h"
#include "fuzz_common.h"

namespace {

using fuzz::check;
using fuzz_gl::state;

constexpr std::initializer_list<GLenum> kTypes = {GL_BYTE,         GL_UNSIGNED_BYTE, GL_SHORT, GL_UNSIGNED_SHORT,
                                                  GL_INT,          GL_UNSIGNED_INT,  GL_FLOAT, GL_BITMAP};
constexpr std::initializer_list<GLenum> kFormats = {
    GL_COLOR_INDEX, GL_STENCIL_INDEX, GL_DEPTH_COMPONENT, GL_RED,       GL_GREEN,          GL_BLUE,
    GL_ALPHA,       GL_RGB,           GL_RGBA,            GL_LUMINANCE, GL_LUMINANCE_ALPHA};

enum class Storage { I4, I2, P };

// Bytes per converted item on the entry's converting path, or 0 where the
// caller's array goes to OpenGL unchanged.
int item_bytes(Storage storage, GLenum type) {
  if (storage == Storage::P) return 1;
  switch (type) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE:
    case GL_BITMAP:
      return 1;
    case GL_SHORT:
    case GL_UNSIGNED_SHORT:
      return storage == Storage::I4 ? 2 : 0;
    default:
      return 0;
  }
}

std::size_t element_bytes(Storage storage) { return storage == Storage::I2 ? 2 : 4; }

std::uint32_t item_at(const std::vector<std::uint8_t> &bytes, std::size_t i, int width) {
  std::uint32_t v = bytes[i * width];
  if (width == 2) v |= std::uint32_t{bytes[i * width + 1]} << 8;
  return v;
}

// The caller's elements for `gl_bytes` bytes that OpenGL reads or writes.
// On a converting path: the items OpenGL touches plus a few spare, or now and
// then fewer than it touches (the temporary must still cover all of it). On
// the unchanged path: enough elements to hold the bytes. Count is what the
// entry is given; the caller's array holds exactly `elements`.
struct Sizing {
  GLint count;
  std::size_t elements;
};
Sizing size_for(FuzzedDataProvider &in, Storage storage, int item, std::size_t gl_bytes) {
  const GLint spare = in.ConsumeIntegralInRange(0, 3);
  if (item > 0) {
    const GLint needed = static_cast<GLint>(gl_bytes / static_cast<std::size_t>(item));
    const GLint count = in.ConsumeBool() && needed > 0 ? in.ConsumeIntegralInRange<GLint>(0, needed - 1) : needed + spare;
    return {count, static_cast<std::size_t>(count)};
  }
  const std::size_t e = element_bytes(storage);
  return {spare, (gl_bytes + e - 1) / e + static_cast<std::size_t>(spare)};
}

// After a command that reads: OpenGL received item i = low bits of element i
// for each of the n elements, and zeros past them.
template <typename Elem>
void check_sent(const Elem *elems, std::size_t n, int item, std::size_t gl_bytes, const char *command) {
  auto &gl = state();
  if (gl.command != command) return;  // OpenGL refused the call: nothing read
  check(gl.read.size() == gl_bytes, "OpenGL read another extent");
  if (item == 0) {
    check(gl.address == elems, "the unchanged path did not pass the caller's array");
    return;
  }
  const std::uint32_t mask = item == 1 ? 0xffu : 0xffffu;
  for (std::size_t i = 0; i < gl_bytes / static_cast<std::size_t>(item); ++i) {
    const std::uint32_t want = i < n ? static_cast<std::uint32_t>(elems[i]) & mask : 0;
    check(item_at(gl.read, i, item) == want, "an item is not its element's low bits, or not 0 past the elements");
  }
}

// After a command that writes: element i = item i extended (signed for
// GL_BYTE/GL_SHORT), for every item OpenGL wrote whole.
template <typename Elem>
void check_received(const Elem *elems, std::size_t n, Storage storage, int item, GLenum type, const char *command) {
  auto &gl = state();
  if (gl.command != command) return;
  if (item == 0) {
    check(gl.address == elems, "the unchanged path did not hand OpenGL the caller's array");
    return;
  }
  const bool is_signed = storage != Storage::P && (type == GL_BYTE || type == GL_SHORT);
  for (std::size_t i = 0; i < n && (i + 1) * item <= gl.written.size(); ++i) {
    bool whole = true;
    for (int b = 0; b < item; ++b) whole = whole && gl.written_mask[i * item + b];
    if (!whole) continue;
    std::uint32_t v = item_at(gl.written, i, item);
    std::int64_t want = v;
    if (is_signed) want = item == 1 ? static_cast<std::int8_t>(v) : static_cast<std::int16_t>(v);
    if (storage == Storage::P) {
      check((static_cast<std::uint32_t>(elems[i]) & 0xffu) == v, "a packed word's low byte is not the pixel byte");
    } else if (storage == Storage::I2) {
      check(elems[i] == static_cast<GLshort>(want), "a 2-byte element is not its item extended");
    } else {
      check(static_cast<std::int64_t>(elems[i]) == static_cast<std::int64_t>(static_cast<GLint>(want)),
            "a 4-byte element is not its item extended");
    }
  }
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
    check_sent(a.data, a.n, item, gl_bytes, name);
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
    check_sent(a.data, a.n, item, gl_bytes, name);
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
    if (command == 0) fglReadPixelsI2(&x, &y, &width, &height, &format, &type, a.data, &sz.count);
    if (command == 1) fglGetTexImageI2(&target, &level, &format, &type, a.data, &sz.count);
    check_received(a.data, a.n, storage, item, type, name);
  } else {
    fuzz::CallerArray<GLint> a(in, sz.elements);
    if (storage == Storage::I4) {
      if (command == 0) fglReadPixelsI4(&x, &y, &width, &height, &format, &type, a.data, &sz.count);
      if (command == 1) fglGetTexImageI4(&target, &level, &format, &type, a.data, &sz.count);
    } else {
      if (command == 0) fglReadPixelsP(&x, &y, &width, &height, &format, &type, a.data, &sz.count);
      if (command == 1) fglGetTexImageP(&target, &level, &format, &type, a.data, &sz.count);
    }
    check_received(a.data, a.n, storage, item, type, name);
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
    check_sent(a.data, a.n, 1, gl_bytes, "glBitmap");
  } else {
    fuzz::CallerArray<GLint> a(in, sz.elements);
    fglBitmapI4(&width, &height, &origin, &origin, &move, &move, a.data, &sz.count);
    check_sent(a.data, a.n, 1, gl_bytes, "glBitmap");
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
  entry(a.data, &count);
  check_received(a.data, a.n, Storage::I4, 1, GL_UNSIGNED_BYTE, "glGetPolygonStipple");
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
  fglGetPixelMapusvI4(&map, a.data);
  check_received(a.data, a.n, Storage::I4, 2, GL_UNSIGNED_SHORT, "glGetPixelMapusv");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  fuzz_gl::reset();
  auto &gl = state();
  gl.fill_seed = in.ConsumeIntegral<std::uint32_t>();
  gl.unpack = fuzz::pick_store(in);
  gl.pack = fuzz::pick_store(in);
  const Storage storages[] = {Storage::I4, Storage::I2, Storage::P};
  switch (in.ConsumeIntegralInRange(0, 10)) {
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
    default: return fuzz_get_pixel_map(in), 0;
  }
}
