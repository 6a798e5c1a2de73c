// Shared by the repacking entries: the heap temporary of one call, the
// narrowing and widening of caller elements, and the size of the memory that
// OpenGL reads or writes for a pixel command, so that a temporary always
// covers it.
//
// Temporaries are zero-filled: whatever OpenGL reads past the caller's items
// is 0, and whatever it leaves unwritten reaches the caller as 0.
#pragma once

#include <GL/gl.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

#ifdef FGL_CHECKING
#include "gl_checks.h"
#endif

namespace fgl::repack {

// A size that cannot be allocated: the result of any size arithmetic that
// overflows. A temporary of this size is never requested from the heap.
inline constexpr std::size_t kTooLarge = std::numeric_limits<std::size_t>::max();

inline std::size_t add(std::size_t a, std::size_t b) {
  std::size_t r;
  return __builtin_add_overflow(a, b, &r) ? kTooLarge : r;
}
inline std::size_t mul(std::size_t a, std::size_t b) {
  std::size_t r;
  return __builtin_mul_overflow(a, b, &r) ? kTooLarge : r;
}

// A count, size or dimension read from the caller or from OpenGL; a negative
// one is taken as 0, so that nothing is read, written or allocated for it.
inline std::size_t non_negative(GLint v) { return v > 0 ? static_cast<std::size_t>(v) : 0; }

// A zero-filled buffer of at least `bytes` bytes for the length of one call.
// Sizes up to Inline bytes live in the object itself; larger ones come from
// the heap (at least one byte, so that a null pointer always means the heap
// refused). data is null when the buffer could not be obtained.
template <std::size_t Inline = 0>
struct Temporary {
  explicit Temporary(std::size_t bytes) {
    if (bytes <= Inline) {
      std::memset(local, 0, sizeof local);
      data = local;
    } else if (bytes != kTooLarge) {
      heap = std::calloc(bytes, 1);
      data = heap;
    }
  }
  ~Temporary() { std::free(heap); }
  Temporary(const Temporary &) = delete;
  Temporary &operator=(const Temporary &) = delete;

  explicit operator bool() const { return data != nullptr; }
  template <typename T>
  T *as() const { return static_cast<T *>(data); }

  alignas(std::max_align_t) unsigned char local[Inline > 0 ? Inline : 1];
  void *heap = nullptr;
  void *data = nullptr;
};

#ifdef FGL_CHECKING
// The checking build counts an image's last row without its padding (see
// image_bytes), which is exactly what OpenGL touches; its temporaries keep the
// largest padding (8 bytes) beyond that.
inline constexpr std::size_t kCheckSlack = 8;
#endif

// Item i of `to` is the least significant bits of element i of `from` that
// fit in To: truncation, no range check, no saturation. Elements are read in
// ascending order, exactly n of them.
template <typename To, typename From>
void narrow(const From *from, std::size_t n, To *to) {
  for (std::size_t i = 0; i < n; ++i) to[i] = static_cast<To>(from[i]);
}

// Element i of `to` is item i of `from`, sign-extended when From is a signed
// type and zero-extended when it is unsigned.
template <typename To, typename From>
void widen(const From *from, std::size_t n, To *to) {
  for (std::size_t i = 0; i < n; ++i) to[i] = static_cast<To>(from[i]);
}

// Sends `count` caller elements to OpenGL as items of type Item. `gl_bytes` is
// how much OpenGL will read from the data (computed only on this path);
// `command` is called once with the temporary unless it cannot be obtained.
template <typename Item, std::size_t Inline = 0, typename Elem, typename Size, typename Command>
void send(const Elem *from, std::size_t count, Size gl_bytes, Command command) {
#ifdef FGL_CHECKING
  const std::size_t touched = gl_bytes();
  fgl::check::count_needed(count, touched / sizeof(Item) + (touched % sizeof(Item) != 0));
  Temporary<Inline> tmp(std::max(mul(count, sizeof(Item)), add(touched, kCheckSlack)));
#else
  Temporary<Inline> tmp(std::max(mul(count, sizeof(Item)), gl_bytes()));
#endif
  if (!tmp) return;
  narrow(from, count, tmp.template as<Item>());
  command(tmp.data);
}

// Lets OpenGL write up to `gl_bytes` into a temporary, then delivers its first
// `count` items of type Item into the caller's elements. Nothing happens when
// the temporary cannot be obtained.
template <typename Item, std::size_t Inline = 0, typename Elem, typename Size, typename Command>
void receive(Elem *to, std::size_t count, Size gl_bytes, Command command) {
#ifdef FGL_CHECKING
  const std::size_t touched = gl_bytes();
  fgl::check::count_needed(count, touched / sizeof(Item) + (touched % sizeof(Item) != 0));
  Temporary<Inline> tmp(std::max(mul(count, sizeof(Item)), add(touched, kCheckSlack)));
#else
  Temporary<Inline> tmp(std::max(mul(count, sizeof(Item)), gl_bytes()));
#endif
  if (!tmp) return;
  command(tmp.data);
  widen(tmp.template as<const Item>(), count, to);
}

// The pixel-store state that shapes an image in client memory.
struct PixelStore {
  GLint alignment = 8;  // the largest legal value, should a query leave it unset
  GLint row_length = 0;
  GLint skip_rows = 0;
  GLint skip_pixels = 0;
  GLint image_height = 0;
  GLint skip_images = 0;
};

inline PixelStore unpack_store() {
  PixelStore s;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &s.alignment);
  glGetIntegerv(GL_UNPACK_ROW_LENGTH, &s.row_length);
  glGetIntegerv(GL_UNPACK_SKIP_ROWS, &s.skip_rows);
  glGetIntegerv(GL_UNPACK_SKIP_PIXELS, &s.skip_pixels);
  return s;
}

// The unpack state of a 3-D image: the 2-D state plus the height of each
// image and the images skipped before the first.
inline PixelStore unpack_store_3d() {
  PixelStore s = unpack_store();
  glGetIntegerv(GL_UNPACK_IMAGE_HEIGHT, &s.image_height);
  glGetIntegerv(GL_UNPACK_SKIP_IMAGES, &s.skip_images);
  return s;
}

inline PixelStore pack_store() {
  PixelStore s;
  glGetIntegerv(GL_PACK_ALIGNMENT, &s.alignment);
  glGetIntegerv(GL_PACK_ROW_LENGTH, &s.row_length);
  glGetIntegerv(GL_PACK_SKIP_ROWS, &s.skip_rows);
  glGetIntegerv(GL_PACK_SKIP_PIXELS, &s.skip_pixels);
  return s;
}

// Components per pixel of a format; an unknown format counts as four, the
// most any format has.
inline std::size_t components(GLenum format) {
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
    case 0x80E0:  // GL_BGR
      return 3;
    default:
      return 4;
  }
}

// Bytes of a whole pixel of a packed type (all components in one byte,
// short or int); 0 for a type that is not packed.
inline std::size_t packed_pixel_bytes(GLenum type) {
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

// Bytes per component of a type; an unknown type (a half-float type of a
// later OpenGL) counts as four, which covers every such pixel.
inline std::size_t component_bytes(GLenum type) {
  switch (type) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE:
      return 1;
    case GL_SHORT:
    case GL_UNSIGNED_SHORT:
      return 2;
    default:
      return 4;
  }
}

// The number of bytes of client memory, counted from the data address, that
// OpenGL reads or writes for a width x height (x depth) image of the given
// format and type under the pixel-store state: rows are padded to the
// alignment and spaced by the row length; skipped rows, pixels and images
// come first; GL_BITMAP rows hold 8 pixels per byte. The last row is counted
// whole, which can only overstate (in the checking build it is counted as far
// as its last pixel, so that the count check asks for no more than OpenGL
// touches).
inline std::size_t image_bytes(GLint width, GLint height, GLint depth, GLenum format, GLenum type,
                               const PixelStore &store) {
  const std::size_t w = non_negative(width), h = non_negative(height), d = non_negative(depth);
  if (w == 0 || h == 0 || d == 0) return 0;
  std::size_t a = non_negative(store.alignment);
  if (a != 1 && a != 2 && a != 4) a = 8;
  const std::size_t row_pixels = store.row_length > 0 ? non_negative(store.row_length) : w;
  const std::size_t skip_pixels = non_negative(store.skip_pixels);
  std::size_t row, last_row;
  if (type == GL_BITMAP) {
    row = add(row_pixels, 7) / 8;
    last_row = add(add(skip_pixels, w), 7) / 8;
  } else {
    const std::size_t packed = packed_pixel_bytes(type);
    const std::size_t group = packed ? packed : components(format) * component_bytes(type);
    row = mul(row_pixels, group);
    last_row = mul(add(skip_pixels, w), group);
  }
  if (row != kTooLarge) row = add(row, a - 1) / a * a;
  if (row == kTooLarge) return kTooLarge;
  const std::size_t image_rows = store.image_height > 0 ? non_negative(store.image_height) : h;
  const std::size_t rows_before_last =
      add(mul(add(non_negative(store.skip_images), d - 1), image_rows), add(non_negative(store.skip_rows), h - 1));
#ifdef FGL_CHECKING
  return add(mul(rows_before_last, row), last_row);
#else
  return add(mul(rows_before_last, row), std::max(row, last_row));
#endif
}

}  // namespace fgl::repack
