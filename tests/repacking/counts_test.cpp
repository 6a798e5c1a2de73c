// Item counts and read-backs in every storage and every pixel type, against
// the recording libGL, as one table of entries crossed with storages and
// types:
// - with a count one item short of what OpenGL touches, OpenGL never reads or
//   writes the caller's elements past the count: guard elements after them
//   keep their values, OpenGL reads zeros past the count's items, and what it
//   touches lies within the caller's count or within a temporary allocated
//   large enough for it;
// - a read-back under a pack state with skipped rows and pixels, a row length
//   and padding leaves every element OpenGL does not write with its value;
// - a read-back with a bufSize tells OpenGL the bytes of the count's items.
#include "recorder_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace repacking_test {
namespace {

enum class Storage { I4, I2, P };
const char *storage_name(Storage s) { return s == Storage::I4 ? "I4" : s == Storage::I2 ? "I2" : "P"; }
std::size_t element_bytes(Storage s) { return s == Storage::I2 ? 2 : 4; }

struct Type {
  const char *name;
  GLenum format, type;
  std::size_t pixel_bytes;  // bytes of one pixel in OpenGL's layout
  std::size_t item_bytes;   // bytes of one OpenGL item (one caller element in I4 and I2)
};

const Type kTypes[] = {
    {"unsigned byte", GL_LUMINANCE, GL_UNSIGNED_BYTE, 1, 1},
    {"byte", GL_LUMINANCE, GL_BYTE, 1, 1},
    {"unsigned short", GL_LUMINANCE, GL_UNSIGNED_SHORT, 2, 2},
    {"short", GL_LUMINANCE, GL_SHORT, 2, 2},
    {"unsigned int", GL_LUMINANCE, GL_UNSIGNED_INT, 4, 4},
    {"int", GL_LUMINANCE, GL_INT, 4, 4},
    {"float", GL_LUMINANCE, GL_FLOAT, 4, 4},
    {"RGB shorts", GL_RGB, GL_UNSIGNED_SHORT, 6, 2},
    {"packed byte", GL_RGB, GL_UNSIGNED_BYTE_3_3_2, 1, 1},
    {"packed short", GL_RGB, GL_UNSIGNED_SHORT_5_6_5, 2, 2},
    {"packed int", GL_RGBA, GL_UNSIGNED_INT_8_8_8_8, 4, 4},
};

// Bytes of one item as the caller's storage holds it: packed words hold bytes.
std::size_t item_of(Storage s, const Type &t) { return s == Storage::P ? 1 : t.item_bytes; }

const GLenum kTex1D = GL_TEXTURE_1D, kTex2D = GL_TEXTURE_2D, kTex3D = GL_TEXTURE_3D;
const GLint kLevel = 0, kInternal = GL_RGBA, kBorder = 0, kZero = 0;
const GLuint kTexture = 5;
const GLsizei kOne = 1;

// One entry of each image command: width x height pixels (depth 1).
struct Entry {
  const char *command;
  std::size_t data_index;
  bool out;  // OpenGL writes the data
  void (*call)(Storage, GLsizei w, GLsizei h, GLenum format, GLenum type, void *data, GLint count);
  std::size_t bufsize_index = 0;  // the command's bufSize, if it has one
};

template <typename F4, typename F2, typename FP>
void by_storage(Storage s, void *data, F4 i4, F2 i2, FP p) {
  if (s == Storage::I4) i4(static_cast<GLint *>(data));
  if (s == Storage::I2) i2(static_cast<GLshort *>(data));
  if (s == Storage::P) p(static_cast<GLint *>(data));
}
#define FGL_ENTRY(entry, ...)                                                \
  by_storage(                                                                \
      s, d, [&](GLint *p) { entry##I4(__VA_ARGS__, p, &n); },                \
      [&](GLshort *p) { entry##I2(__VA_ARGS__, p, &n); }, [&](GLint *p) { entry##P(__VA_ARGS__, p, &n); })

const Entry kEntries[] = {
    {"glDrawPixels", 4, false,
     [](Storage s, GLsizei w, GLsizei h, GLenum f, GLenum t, void *d, GLint n) { FGL_ENTRY(fglDrawPixels, &w, &h, &f, &t); }},
    {"glTexImage1D", 7, false,
     [](Storage s, GLsizei w, GLsizei, GLenum f, GLenum t, void *d, GLint n) {
       FGL_ENTRY(fglTexImage1D, &kTex1D, &kLevel, &kInternal, &w, &kBorder, &f, &t);
     }},
    {"glTexImage2D", 8, false,
     [](Storage s, GLsizei w, GLsizei h, GLenum f, GLenum t, void *d, GLint n) {
       FGL_ENTRY(fglTexImage2D, &kTex2D, &kLevel, &kInternal, &w, &h, &kBorder, &f, &t);
     }},
    {"glTexSubImage1D", 6, false,
     [](Storage s, GLsizei w, GLsizei, GLenum f, GLenum t, void *d, GLint n) {
       FGL_ENTRY(fglTexSubImage1D, &kTex1D, &kLevel, &kZero, &w, &f, &t);
     }},
    {"glTexSubImage2D", 8, false,
     [](Storage s, GLsizei w, GLsizei h, GLenum f, GLenum t, void *d, GLint n) {
       FGL_ENTRY(fglTexSubImage2D, &kTex2D, &kLevel, &kZero, &kZero, &w, &h, &f, &t);
     }},
    {"glTexImage3D", 9, false,
     [](Storage s, GLsizei w, GLsizei h, GLenum f, GLenum t, void *d, GLint n) {
       FGL_ENTRY(fglTexImage3D, &kTex3D, &kLevel, &kInternal, &w, &h, &kOne, &kBorder, &f, &t);
     }},
    {"glTexSubImage3D", 10, false,
     [](Storage s, GLsizei w, GLsizei h, GLenum f, GLenum t, void *d, GLint n) {
       FGL_ENTRY(fglTexSubImage3D, &kTex3D, &kLevel, &kZero, &kZero, &kZero, &w, &h, &kOne, &f, &t);
     }},
    {"glReadPixels", 6, true,
     [](Storage s, GLsizei w, GLsizei h, GLenum f, GLenum t, void *d, GLint n) {
       FGL_ENTRY(fglReadPixels, &kZero, &kZero, &w, &h, &f, &t);
     }},
    {"glGetTexImage", 4, true,
     [](Storage s, GLsizei, GLsizei, GLenum f, GLenum t, void *d, GLint n) {
       FGL_ENTRY(fglGetTexImage, &kTex2D, &kLevel, &f, &t);
     }},
    // The direct-state-access twins: a named texture in place of the target.
    {"glTextureSubImage1D", 6, false,
     [](Storage s, GLsizei w, GLsizei, GLenum f, GLenum t, void *d, GLint n) {
       FGL_ENTRY(fglTextureSubImage1D, &kTexture, &kLevel, &kZero, &w, &f, &t);
     }},
    {"glTextureSubImage2D", 8, false,
     [](Storage s, GLsizei w, GLsizei h, GLenum f, GLenum t, void *d, GLint n) {
       FGL_ENTRY(fglTextureSubImage2D, &kTexture, &kLevel, &kZero, &kZero, &w, &h, &f, &t);
     }},
    {"glTextureSubImage3D", 10, false,
     [](Storage s, GLsizei w, GLsizei h, GLenum f, GLenum t, void *d, GLint n) {
       FGL_ENTRY(fglTextureSubImage3D, &kTexture, &kLevel, &kZero, &kZero, &kZero, &w, &h, &kOne, &f, &t);
     }},
    {"glGetTextureImage", 5, true,
     [](Storage s, GLsizei, GLsizei, GLenum f, GLenum t, void *d, GLint n) {
       FGL_ENTRY(fglGetTextureImage, &kTexture, &kLevel, &f, &t);
     },
     4},
    {"glGetTextureSubImage", 11, true,
     [](Storage s, GLsizei w, GLsizei h, GLenum f, GLenum t, void *d, GLint n) {
       FGL_ENTRY(fglGetTextureSubImage, &kTexture, &kLevel, &kZero, &kZero, &kZero, &w, &h, &kOne, &f, &t);
     },
     10},
};
#undef FGL_ENTRY

// The caller's array: `count` elements, then kGuard guard elements.
constexpr std::size_t kGuard = 4;
constexpr std::int32_t kGuardValue = 0x7A7A, kOwnValue = -5;

struct Caller {
  Caller(Storage s, std::size_t elements, std::int32_t value) : storage(s), n(elements) {
    wide = filled<GLint>(std::max<std::size_t>(n, 1), value);
    narrow = filled<GLshort>(std::max<std::size_t>(n, 1), static_cast<GLshort>(value));
  }
  void *data() const { return storage == Storage::I2 ? static_cast<void *>(narrow.get()) : wide.get(); }
  std::int32_t at(std::size_t i) const { return storage == Storage::I2 ? narrow[i] : wide[i]; }
  void set(std::size_t i, std::int32_t v) {
    wide[i] = v;
    narrow[i] = static_cast<GLshort>(v);
  }
  Storage storage;
  std::size_t n;
  std::unique_ptr<GLint[]> wide;
  std::unique_ptr<GLshort[]> narrow;
};

class CountsTest : public RecorderTest {
 protected:
  // The command reads or writes `bytes` from its data argument, as OpenGL
  // would; what it reads lands in `received`. It reports when it is handed
  // the caller's own array and would touch more than the count's bytes, or a
  // temporary too small (fits). Writes are `pattern` at the given offsets.
  // A command with a bufSize is told the bytes of the count's items.
  void touches(const Entry &e, const Caller &caller, std::size_t count_bytes, std::size_t bytes,
               std::vector<std::size_t> offsets, std::size_t told = 0) {
    gl_recorder::set_hook(e.command, [this, &e, &caller, count_bytes, bytes, offsets,
                                      told](const gl_recorder::Call &c) {
      if (e.bufsize_index) {
        EXPECT_EQ(c.args[e.bufsize_index].as<GLsizei>(), static_cast<GLsizei>(told));
      }
      auto *p = static_cast<unsigned char *>(const_cast<void *>(c.args[e.data_index].address()));
      if (p == caller.data()) {
        if (bytes > count_bytes) {
          ADD_FAILURE() << e.command << " is handed the caller's array and touches " << bytes << " bytes of its "
                        << count_bytes;
          return std::uint64_t{0};
        }
      } else if (!fits(e.command, p, bytes)) {
        return std::uint64_t{0};
      }
      if (e.out) {
        for (std::size_t o : offsets) p[o] = kPattern;
      } else {
        received.assign(p, p + bytes);
      }
      return std::uint64_t{0};
    });
  }
  static constexpr unsigned char kPattern = 0x21;
};

TEST_F(CountsTest, AShortCountIsHonouredInEveryStorageAndType) {
  const GLsizei w = 3, h = 1;
  for (const Entry &e : kEntries) {
    for (Storage s : {Storage::I4, Storage::I2, Storage::P}) {
      for (const Type &t : kTypes) {
        SCOPED_TRACE(std::string(e.command) + " " + storage_name(s) + " " + t.name);
        restart();
        integers[GL_UNPACK_ALIGNMENT] = integers[GL_PACK_ALIGNMENT] = 1;
        texture_width = w;
        texture_height = h;
        const std::size_t bytes = w * t.pixel_bytes, item = item_of(s, t);
        const std::size_t count = bytes / item - 1;
        Caller caller(s, count + kGuard, kOwnValue);
        for (std::size_t i = 0; i < count; ++i) caller.set(i, static_cast<std::int32_t>(i + 1));
        for (std::size_t i = count; i < count + kGuard; ++i) caller.set(i, kGuardValue);
        std::vector<std::size_t> all(bytes);
        for (std::size_t i = 0; i < bytes; ++i) all[i] = i;
        touches(e, caller, count * element_bytes(s), bytes, all, count * item);
        e.call(s, w, h, t.format, t.type, caller.data(), static_cast<GLint>(count));
        ASSERT_EQ(calls_of(e.command).size(), 1u);
        for (std::size_t i = count; i < count + kGuard; ++i) EXPECT_EQ(caller.at(i), kGuardValue) << "guard " << i;
        if (e.out) {
          for (std::size_t i = 0; i < count; ++i) EXPECT_NE(caller.at(i), static_cast<std::int32_t>(i + 1)) << i;
        } else {
          ASSERT_EQ(received.size(), bytes);
          // OpenGL reads the count's items, then zeros (never the guard).
          for (std::size_t b = count * item; b < bytes; ++b) EXPECT_EQ(received[b], 0) << "byte " << b;
          EXPECT_TRUE(std::any_of(received.begin(), received.begin() + static_cast<std::ptrdiff_t>(count * item),
                                  [](unsigned char b) { return b != 0; }));
        }
      }
    }
  }
}

// The pixels OpenGL writes for a width x height image under the pack state
// below: rows of row_length pixels padded to the alignment, skipped rows and
// pixels first.
std::vector<std::size_t> pixel_offsets(const Type &t, GLsizei w, GLsizei h, std::size_t *extent) {
  const std::size_t row_length = 5, skip_rows = 1, skip_pixels = 2, alignment = 8;
  const std::size_t stride = (row_length * t.pixel_bytes + alignment - 1) / alignment * alignment;
  std::vector<std::size_t> offsets;
  for (std::size_t r = 0; r < static_cast<std::size_t>(h); ++r)
    for (std::size_t b = 0; b < w * t.pixel_bytes; ++b)
      offsets.push_back((skip_rows + r) * stride + skip_pixels * t.pixel_bytes + b);
  *extent = offsets.back() + 1;
  return offsets;
}

TEST_F(CountsTest, ReadBacksLeaveWhatOpenGLSkipsInEveryStorageAndType) {
  const GLsizei w = 2, h = 2;
  for (const Entry &e : kEntries) {
    if (!e.out) continue;
    for (Storage s : {Storage::I4, Storage::I2, Storage::P}) {
      for (const Type &t : kTypes) {
        std::size_t extent = 0;
        const std::vector<std::size_t> written = pixel_offsets(t, w, h, &extent);
        const std::size_t item = item_of(s, t), items = (extent + item - 1) / item;
        // The whole extent (the caller's array itself where the storage is
        // OpenGL's), and one item short of it (through a temporary).
        for (std::size_t count : {items, items - 1}) {
          SCOPED_TRACE(std::string(e.command) + " " + storage_name(s) + " " + t.name + " count " +
                       std::to_string(count));
          restart();
          integers[GL_PACK_ALIGNMENT] = 8;
          integers[GL_PACK_ROW_LENGTH] = 5;
          integers[GL_PACK_SKIP_ROWS] = 1;
          integers[GL_PACK_SKIP_PIXELS] = 2;
          texture_width = w;
          texture_height = h;
          Caller caller(s, count + kGuard, kOwnValue);
          touches(e, caller, count * element_bytes(s), extent, written, count * item);
          e.call(s, w, h, t.format, t.type, caller.data(), static_cast<GLint>(count));
          ASSERT_EQ(calls_of(e.command).size(), 1u);
          std::vector<bool> is_written(items, false);
          for (std::size_t o : written) is_written[o / item] = true;
          // What an element holding an item of kPattern bytes receives.
          std::int32_t value = kPattern;
          if (s == Storage::I4 && item == 2) value = 0x2121;
          if (s == Storage::I4 && item == 4) value = 0x21212121;
          if (s == Storage::I2 && item >= 2) value = t.type == GL_FLOAT ? 0 : 0x2121;
          for (std::size_t i = 0; i < count + kGuard; ++i) {
            const bool got = i < count && is_written[i];
            EXPECT_EQ(caller.at(i), got ? value : kOwnValue) << "element " << i;
          }
        }
      }
    }
  }
}

// A 3-D texture read back with an image height above its height: the rows
// between its images keep their values.
TEST_F(CountsTest, ThreeDimensionalReadBackLeavesTheRowsBetweenImages) {
  integers[GL_PACK_ALIGNMENT] = 1;
  integers[0x806C] = 3;  // GL_PACK_IMAGE_HEIGHT
  gl_recorder::set_hook("glGetTexLevelParameteriv", [](const gl_recorder::Call &c) {
    *static_cast<GLint *>(const_cast<void *>(c.args[3].address())) = 2;  // 2 x 2 x 2
    return std::uint64_t{0};
  });
  Caller caller(Storage::I4, 10, kOwnValue);
  const Entry get{"glGetTexImage", 4, true, nullptr};
  touches(get, caller, 0, 10, {0, 1, 2, 3, 6, 7, 8, 9});
  const GLenum f = GL_LUMINANCE, t = GL_UNSIGNED_BYTE;
  const GLint count = 10;
  fglGetTexImageI4(&kTex3D, &kLevel, &f, &t, caller.wide.get(), &count);
  EXPECT_EQ(contents(caller.wide.get(), 10), (std::vector<GLint>{33, 33, 33, 33, -5, -5, 33, 33, 33, 33}));
}

// The other entries with a count: bitmaps, list names, compressed images and
// the stipple read-back never touch the caller's elements past the count.
TEST_F(CountsTest, BitmapsListsCompressedImagesAndStipplesStopAtTheCount) {
  // A 16 x 2 bitmap is 4 bytes; a count of 3 sends 3 and a zero.
  for (Storage s : {Storage::I4, Storage::I2}) {
    SCOPED_TRACE(storage_name(s));
    restart();
    integers[GL_UNPACK_ALIGNMENT] = 1;
    Caller caller(s, 3 + kGuard, 0x7F);
    for (std::size_t i = 3; i < 3 + kGuard; ++i) caller.set(i, kGuardValue);
    const Entry bitmap{"glBitmap", 6, false, nullptr};
    touches(bitmap, caller, 3 * element_bytes(s), 4, {});
    const GLsizei bw = 16, bh = 2;
    const GLfloat zero = 0;
    const GLint three = 3;
    if (s == Storage::I4) fglBitmapI4(&bw, &bh, &zero, &zero, &zero, &zero, caller.wide.get(), &three);
    if (s == Storage::I2) fglBitmapI2(&bw, &bh, &zero, &zero, &zero, &zero, caller.narrow.get(), &three);
    EXPECT_EQ(received, (Bytes{0x7F, 0x7F, 0x7F, 0}));
  }

  // Two names of a 4-byte type from 2-byte elements: 8 bytes from 2 elements.
  for (GLenum type : {GL_INT, GL_UNSIGNED_INT, GL_FLOAT}) {
    SCOPED_TRACE(type);
    restart();
    Caller caller(Storage::I2, 2 + kGuard, kGuardValue);
    caller.set(0, 1);
    caller.set(1, 2);
    const Entry lists{"glCallLists", 2, false, nullptr};
    touches(lists, caller, 4, 8, {});
    const GLsizei n = 2;
    fglCallListsI2(&n, &type, caller.narrow.get());
    ASSERT_EQ(received.size(), 8u);
    EXPECT_EQ(received, type == GL_FLOAT ? bytes_of<GLfloat>({1.0f, 2.0f}) : bytes_of<GLint>({1, 2}));
  }

  // A compressed image of 6 bytes read back into 4 words.
  {
    restart();
    gl_recorder::set_hook("glGetTexLevelParameteriv", [](const gl_recorder::Call &c) {
      const GLenum pname = c.args[2].as<GLenum>();
      *static_cast<GLint *>(const_cast<void *>(c.args[3].address())) =
          pname == GL_TEXTURE_COMPRESSED ? 1 : pname == GL_TEXTURE_COMPRESSED_IMAGE_SIZE ? 6 : 0;
      return std::uint64_t{0};
    });
    Caller caller(Storage::P, 4 + kGuard, kGuardValue);
    const Entry get{"glGetCompressedTexImage", 2, true, nullptr};
    touches(get, caller, 16, 6, {0, 1, 2, 3, 4, 5});
    const GLint four = 4;
    fglGetCompressedTexImageP(&kTex2D, &kLevel, caller.wide.get(), &four);
    for (std::size_t i = 0; i < 4 + kGuard; ++i) EXPECT_EQ(caller.at(i), i < 4 ? kPattern : kGuardValue) << i;
  }

  // The stipple's 128 bytes read back into 100 elements.
  for (Storage s : {Storage::I4, Storage::I2}) {
    SCOPED_TRACE(storage_name(s));
    restart();
    Caller caller(s, 100 + kGuard, kGuardValue);
    std::vector<std::size_t> all(128);
    for (std::size_t i = 0; i < 128; ++i) all[i] = i;
    const Entry get{"glGetPolygonStipple", 0, true, nullptr};
    touches(get, caller, 100 * element_bytes(s), 128, all);
    const GLint hundred = 100;
    if (s == Storage::I4) fglGetPolygonStippleI4(caller.wide.get(), &hundred);
    if (s == Storage::I2) fglGetPolygonStippleI2(caller.narrow.get(), &hundred);
    for (std::size_t i = 0; i < 100 + kGuard; ++i) EXPECT_EQ(caller.at(i), i < 100 ? kPattern : kGuardValue) << i;
  }
}

// A full texture image with a count of 0 has no data, as C's NULL: OpenGL
// allocates the image and reads nothing. A proxy target reads no data with
// any count, so a large proxy image takes no temporary of its size.
TEST_F(CountsTest, ACountOfZeroPassesNoImageDataAndProxiesReadNone) {
  for (const Entry &e : kEntries) {
    const std::string command = e.command;
    if (command != "glTexImage1D" && command != "glTexImage2D" && command != "glTexImage3D") continue;
    for (Storage s : {Storage::I4, Storage::I2, Storage::P}) {
      SCOPED_TRACE(command + " " + storage_name(s));
      restart();
      Caller caller(s, 1, 7);
      e.call(s, 256, 256, GL_RGBA, GL_UNSIGNED_BYTE, caller.data(), 0);
      const auto calls = calls_of(command);
      ASSERT_EQ(calls.size(), 1u);
      EXPECT_EQ(calls[0].args[e.data_index].address(), nullptr);
    }
  }
  restart();
  const GLenum proxy = GL_PROXY_TEXTURE_2D, f = GL_RGBA, t = GL_UNSIGNED_BYTE;
  const GLsizei big = 2048;
  const GLint one = 1;
  auto pixel = filled<GLint>(1, 9);
  reads("glTexImage2D", 8, 0);
  fglTexImage2DI4(&proxy, &kLevel, &kInternal, &big, &big, &kBorder, &f, &t, pixel.get(), &one);
  ASSERT_EQ(calls_of("glTexImage2D").size(), 1u);
  ASSERT_TRUE(room.has_value());
  EXPECT_LT(*room, std::size_t{64});
}

// Values that do not fit the item type still survive where OpenGL does not
// write, and I2 elements read back from GL_FLOAT saturate.
TEST_F(CountsTest, FloatsIntoTwoByteElementsAreConvertedAndSaturated) {
  const GLsizei w = 5;
  const GLenum f = GL_LUMINANCE, t = GL_FLOAT;
  const GLint count = 5;
  writes("glReadPixels", 6, bytes_of<GLfloat>({2.9f, -2.9f, 1e9f, -1e9f, std::numeric_limits<float>::quiet_NaN()}));
  auto out = filled<GLshort>(5, kOwnValue);
  fglReadPixelsI2(&kZero, &kZero, &w, &kOne, &f, &t, out.get(), &count);
  EXPECT_EQ(contents(out.get(), 5), (std::vector<GLshort>{2, -2, 32767, -32768, 0}));
}

}  // namespace
}  // namespace repacking_test
