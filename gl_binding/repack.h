// Shared by the repacking entries: the heap temporary of one call, the
// narrowing and widening of caller elements, and the size of the memory that
// OpenGL reads or writes for a pixel command, so that a temporary always
// covers it.
//
// Temporaries are zero-filled: whatever OpenGL reads past the caller's items
// is 0. Read-backs of images and other exactly known extents deliver only
// what OpenGL wrote, so that every other element keeps its value.
#pragma once

#include <GL/gl.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <type_traits>

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

// The count check of the checking build: `count` items of `item` bytes
// against the `touched` bytes OpenGL reads or writes.
inline void check_count([[maybe_unused]] std::size_t count, [[maybe_unused]] std::size_t item,
                        [[maybe_unused]] std::size_t touched) {
#ifdef FGL_CHECKING
  fgl::check::count_needed(count, touched / item + (touched % item != 0));
#endif
}

// Bytes of a temporary of `count` items of `item` bytes that also covers the
// `touched` bytes OpenGL reads or writes.
inline std::size_t temporary_bytes(std::size_t count, std::size_t item, std::size_t touched) {
#ifdef FGL_CHECKING
  return std::max(mul(count, item), add(touched, kCheckSlack));
#else
  return std::max(mul(count, item), touched);
#endif
}

// Sends `count` caller elements to OpenGL as items of type Item, in a
// temporary that also covers the `touched` bytes OpenGL reads (zeros past the
// caller's items). `command` is called once with the temporary unless it
// cannot be obtained.
template <typename Item, std::size_t Inline = 0, typename Elem, typename Command>
void send_items(const Elem *from, std::size_t count, std::size_t touched, Command command) {
  Temporary<Inline> tmp(temporary_bytes(count, sizeof(Item), touched));
  if (!tmp) return;
  narrow(from, count, tmp.template as<Item>());
  command(tmp.data);
}

// Sends `count` caller elements to OpenGL as items of type Item. `gl_bytes` is
// how much OpenGL will read from the data (computed only on this path);
// `command` is called once with the temporary unless it cannot be obtained.
template <typename Item, std::size_t Inline = 0, typename Elem, typename Size, typename Command>
void send(const Elem *from, std::size_t count, Size gl_bytes, Command command) {
  const std::size_t touched = gl_bytes();
  check_count(count, sizeof(Item), touched);
  send_items<Item, Inline>(from, count, touched, command);
}

// Sends caller elements that are already OpenGL's items: the caller's array
// itself when its `count` elements cover everything OpenGL reads, otherwise a
// temporary holding the `count` elements and zeros past them, so that OpenGL
// never reads past the count.
template <typename Elem, typename Size, typename Command>
void send_same(const Elem *from, std::size_t count, Size gl_bytes, Command command) {
  const std::size_t touched = gl_bytes();
  check_count(count, sizeof(Elem), touched);
  if (mul(count, sizeof(Elem)) >= touched) return command(from);
  send_items<Elem>(from, count, touched, command);
}

// Receives booleans from OpenGL, which writes as many as its query has
// values (known only as a bound, `gl_bytes`): since OpenGL writes only
// GL_TRUE (1) and GL_FALSE (0), the temporary starts with another value in
// each of the caller's `count` bytes, and only the bytes OpenGL wrote reach
// the caller's elements, zero-extended; the others keep their values.
template <typename Elem, typename Size, typename Command>
void receive_booleans(Elem *to, std::size_t count, Size gl_bytes, Command command) {
  constexpr unsigned char kUnwritten = 0xA5;
  Temporary<> tmp(temporary_bytes(count, 1, gl_bytes()));
  if (!tmp) return;
  auto *flags = tmp.template as<GLboolean>();
  std::memset(flags, kUnwritten, count);
  command(tmp.data);
  for (std::size_t i = 0; i < count; ++i)
    if (flags[i] != kUnwritten) to[i] = static_cast<Elem>(flags[i]);
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

// The pack state of a 3-D image (or of the layers of an array texture).
inline PixelStore pack_store_3d() {
  PixelStore s = pack_store();
  glGetIntegerv(GL_PACK_IMAGE_HEIGHT, &s.image_height);
  glGetIntegerv(GL_PACK_SKIP_IMAGES, &s.skip_images);
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

// An image in client memory: its dimensions, format and type, and the
// pixel-store state that lays it out.
struct Image {
  GLint width = 0, height = 0, depth = 1;
  GLenum format = 0, type = 0;
  PixelStore store;
};

// Where the rows of an image lie in client memory: row r of image k begins
// at ((skip_images + k) * image_rows + skip_rows + r) * stride bytes, and
// OpenGL touches bytes `first` to `last` (exclusive) of it. Rows are padded
// to the alignment and spaced by the row length; GL_BITMAP rows hold 8
// pixels per byte, and their first and last bytes may be shared with pixels
// OpenGL skips. `empty` when the image has no pixel; stride is kTooLarge when
// the arithmetic overflows.
struct Rows {
  bool empty = true;
  std::size_t w = 0, h = 0, d = 0;
  std::size_t stride = 0, first = 0, last = 0;
  std::size_t image_rows = 0, skip_rows = 0, skip_images = 0;
};

inline Rows rows_of(const Image &im) {
  Rows r;
  r.w = non_negative(im.width);
  r.h = non_negative(im.height);
  r.d = non_negative(im.depth);
  if (r.w == 0 || r.h == 0 || r.d == 0) return r;
  r.empty = false;
  const PixelStore &store = im.store;
  std::size_t a = non_negative(store.alignment);
  if (a != 1 && a != 2 && a != 4) a = 8;
  const std::size_t row_pixels = store.row_length > 0 ? non_negative(store.row_length) : r.w;
  const std::size_t skip_pixels = non_negative(store.skip_pixels);
  if (im.type == GL_BITMAP) {
    r.stride = add(row_pixels, 7) / 8;
    r.first = skip_pixels / 8;
    r.last = add(add(skip_pixels, r.w), 7) / 8;
  } else {
    const std::size_t packed = packed_pixel_bytes(im.type);
    const std::size_t group = packed ? packed : components(im.format) * component_bytes(im.type);
    r.stride = mul(row_pixels, group);
    r.first = mul(skip_pixels, group);
    r.last = mul(add(skip_pixels, r.w), group);
  }
  if (r.stride != kTooLarge) r.stride = add(r.stride, a - 1) / a * a;
  r.image_rows = store.image_height > 0 ? non_negative(store.image_height) : r.h;
  r.skip_rows = non_negative(store.skip_rows);
  r.skip_images = non_negative(store.skip_images);
  return r;
}

// The number of bytes of client memory, counted from the data address, that
// OpenGL reads or writes for the image. The last row is counted whole, which
// can only overstate (in the checking build it is counted as far as its last
// pixel, so that the count check asks for no more than OpenGL touches).
inline std::size_t image_bytes(const Image &im) {
  const Rows r = rows_of(im);
  if (r.empty) return 0;
  if (r.stride == kTooLarge || r.last == kTooLarge) return kTooLarge;
  const std::size_t rows_before_last =
      add(mul(add(r.skip_images, r.d - 1), r.image_rows), add(r.skip_rows, r.h - 1));
#ifdef FGL_CHECKING
  return add(mul(rows_before_last, r.stride), r.last);
#else
  return add(mul(rows_before_last, r.stride), std::max(r.stride, r.last));
#endif
}

inline std::size_t image_bytes(GLint width, GLint height, GLint depth, GLenum format, GLenum type,
                               const PixelStore &store) {
  return image_bytes(Image{width, height, depth, format, type, store});
}

// Calls run(begin, end) for each stretch of bytes, from the data address,
// that OpenGL writes for the image: the pixels of each row, adjacent rows
// joined into one stretch. Only for an image whose image_bytes is not
// kTooLarge (every offset then fits).
template <typename Run>
void written_runs(const Image &im, Run run) {
  const Rows r = rows_of(im);
  if (r.empty) return;
  if (r.first == 0 && r.last == r.stride && (r.d == 1 || r.image_rows == r.h)) {
    // Rows that fill their stride, images that follow one another: one
    // stretch (the usual case, with no row length, skips or padding).
    const std::size_t first_row = r.skip_images * r.image_rows + r.skip_rows;
    return run(first_row * r.stride, (first_row + r.d * r.h) * r.stride);
  }
  std::size_t begin = 0, end = 0;
  for (std::size_t k = 0; k < r.d; ++k) {
    const std::size_t image_row = (r.skip_images + k) * r.image_rows + r.skip_rows;
    for (std::size_t row = 0; row < r.h; ++row) {
      const std::size_t at = (image_row + row) * r.stride;
      if (at + r.first != end) {
        if (end > begin) run(begin, end);
        begin = at + r.first;
      }
      end = at + r.last;
    }
  }
  if (end > begin) run(begin, end);
}

// What a read-back command writes in client memory: `bytes` from the data
// address at most, all of them for a plain block, or the rows of `image`.
struct Written {
  std::size_t bytes = 0;
  bool shaped = false;
  Image image;
};

inline Written written_block(std::size_t bytes) { return Written{bytes, false, {}}; }
inline Written written_image(const Image &im) { return Written{image_bytes(im), true, im}; }

// Element i of `to` receives item i of `from`: extended as in widen, or
// for a GLfloat item into integer elements its value rounded toward zero
// and saturated to the element's range (a NaN gives 0).
template <typename Item, typename Elem>
void deliver(const Item *from, std::size_t n, Elem *to) {
  if constexpr (std::is_floating_point_v<Item> && std::is_integral_v<Elem>) {
    constexpr auto lo = static_cast<Item>(std::numeric_limits<Elem>::min());
    constexpr auto hi = static_cast<Item>(std::numeric_limits<Elem>::max());
    for (std::size_t i = 0; i < n; ++i) {
      const Item v = from[i];
      to[i] = v != v ? Elem{0} : v <= lo ? std::numeric_limits<Elem>::min()
                             : v >= hi ? std::numeric_limits<Elem>::max() : static_cast<Elem>(v);
    }
  } else {
    widen(from, n, to);
  }
}

// Lets OpenGL write what `gl_written` says into a temporary of at least
// `count` items of type Item, then delivers into the caller's elements only
// the items OpenGL wrote, among the first `count`: every other element keeps
// its value (skipped rows and pixels, the gap up to the row length, padding,
// skipped images, whatever lies past the image). A GL_BITMAP image starts as
// the caller's own bytes, since its rows may begin and end inside bytes whose
// other bits OpenGL keeps; other temporaries start zeroed (filling them from
// the caller's elements would double the cost of every read-back), so after
// a call OpenGL rejects, the elements in the image's place receive 0.
// Nothing happens when the temporary cannot be obtained.
template <typename Item, std::size_t Inline = 0, typename Elem, typename Where, typename Command>
void receive_written(Elem *to, std::size_t count, Where gl_written, Command command) {
  const Written w = gl_written();
  check_count(count, sizeof(Item), w.bytes);
  Temporary<Inline> tmp(temporary_bytes(count, sizeof(Item), w.bytes));
  if (!tmp) return;
  Item *items = tmp.template as<Item>();
  if (w.shaped && w.image.type == GL_BITMAP) narrow(to, count, items);
  command(tmp.data);
  auto run = [&](std::size_t begin, std::size_t end) {
    const std::size_t first = begin / sizeof(Item);
    const std::size_t last = std::min(count, (end + sizeof(Item) - 1) / sizeof(Item));
    if (first < last) deliver(items + first, last - first, to + first);
  };
  if (w.shaped) {
    written_runs(w.image, run);
  } else {
    run(0, w.bytes);
  }
}

// Receives items that are already the caller's elements: OpenGL writes into
// the caller's array itself when its `count` elements cover everything
// OpenGL may write, otherwise into a temporary of which only what OpenGL
// wrote within the count reaches the caller.
template <typename Elem, typename Where, typename Command>
void receive_same(Elem *to, std::size_t count, Where gl_written, Command command) {
  const Written w = gl_written();
  if (mul(count, sizeof(Elem)) >= w.bytes) {
    check_count(count, sizeof(Elem), w.bytes);
    return command(to);
  }
  receive_written<Elem>(to, count, [&] { return w; }, command);
}

}  // namespace fgl::repack
