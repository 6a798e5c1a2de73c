// Pixel, bitmap, stipple, pixel-map and image entries against the recording
// libGL: the exact bytes OpenGL receives and the exact values the caller
// receives on every type path, the size of what OpenGL may touch under the
// pixel-store state, and the counts and allocations that must not go wrong.
#include "recorder_fixture.h"

#include <climits>

namespace repacking_test {
namespace {

enum class Storage { I4, I2, P };

// A caller's array in the element width of its storage, exactly n elements.
struct CallerArray {
  CallerArray(Storage s, const std::vector<std::int32_t> &values) : storage(s), n(values.size()) {
    if (s == Storage::I2) {
      narrow_elements = std::make_unique<GLshort[]>(n);
      for (std::size_t i = 0; i < n; ++i) narrow_elements[i] = static_cast<GLshort>(values[i]);
    } else {
      wide_elements = std::make_unique<GLint[]>(n);
      for (std::size_t i = 0; i < n; ++i) wide_elements[i] = values[i];
    }
  }
  void *data() const {
    return storage == Storage::I2 ? static_cast<void *>(narrow_elements.get()) : wide_elements.get();
  }
  std::vector<std::int32_t> values() const {
    std::vector<std::int32_t> out(n);
    for (std::size_t i = 0; i < n; ++i) out[i] = storage == Storage::I2 ? narrow_elements[i] : wide_elements[i];
    return out;
  }
  GLint count() const { return static_cast<GLint>(n); }

  Storage storage;
  std::size_t n;
  std::unique_ptr<GLint[]> wide_elements;
  std::unique_ptr<GLshort[]> narrow_elements;
};

// ---------------------------------------------------------------------------
// Data into OpenGL: glDrawPixels, glTexImage1D, glTexImage2D, one image row.

struct IntoCommand {
  const char *command;
  std::size_t type_index, data_index;
  void (*call)(Storage, GLsizei width, GLenum format, GLenum type, void *data, GLint count);
};

const GLenum kTex1D = GL_TEXTURE_1D, kTex2D = GL_TEXTURE_2D;
const GLint kLevel = 0, kInternal = GL_RGBA, kBorder = 0, kOne = 1;

const IntoCommand kIntoCommands[] = {
    {"glDrawPixels", 3, 4,
     [](Storage s, GLsizei w, GLenum f, GLenum t, void *d, GLint n) {
       if (s == Storage::I4) fglDrawPixelsI4(&w, &kOne, &f, &t, static_cast<GLint *>(d), &n);
       if (s == Storage::I2) fglDrawPixelsI2(&w, &kOne, &f, &t, static_cast<GLshort *>(d), &n);
       if (s == Storage::P) fglDrawPixelsP(&w, &kOne, &f, &t, static_cast<GLint *>(d), &n);
     }},
    {"glTexImage1D", 6, 7,
     [](Storage s, GLsizei w, GLenum f, GLenum t, void *d, GLint n) {
       if (s == Storage::I4)
         fglTexImage1DI4(&kTex1D, &kLevel, &kInternal, &w, &kBorder, &f, &t, static_cast<GLint *>(d), &n);
       if (s == Storage::I2)
         fglTexImage1DI2(&kTex1D, &kLevel, &kInternal, &w, &kBorder, &f, &t, static_cast<GLshort *>(d), &n);
       if (s == Storage::P)
         fglTexImage1DP(&kTex1D, &kLevel, &kInternal, &w, &kBorder, &f, &t, static_cast<GLint *>(d), &n);
     }},
    {"glTexImage2D", 7, 8,
     [](Storage s, GLsizei w, GLenum f, GLenum t, void *d, GLint n) {
       if (s == Storage::I4)
         fglTexImage2DI4(&kTex2D, &kLevel, &kInternal, &w, &kOne, &kBorder, &f, &t, static_cast<GLint *>(d), &n);
       if (s == Storage::I2)
         fglTexImage2DI2(&kTex2D, &kLevel, &kInternal, &w, &kOne, &kBorder, &f, &t, static_cast<GLshort *>(d), &n);
       if (s == Storage::P)
         fglTexImage2DP(&kTex2D, &kLevel, &kInternal, &w, &kOne, &kBorder, &f, &t, static_cast<GLint *>(d), &n);
     }},
};

struct IntoRow {
  const char *name;
  Storage storage;
  GLenum format, type;
  GLsizei width;
  std::vector<std::int32_t> elements;
  Bytes expected;  // what OpenGL reads; empty: the caller's array goes unchanged
};

const IntoRow kIntoRows[] = {
    {"I4 unsigned byte", Storage::I4, GL_LUMINANCE, GL_UNSIGNED_BYTE, 4, {300, -1, 65, 0x1234},
     bytes_of<GLubyte>({44, 255, 65, 0x34})},
    {"I4 byte", Storage::I4, GL_LUMINANCE, GL_BYTE, 4, {300, -1, 65, 0x1234}, bytes_of<GLubyte>({44, 255, 65, 0x34})},
    {"I4 bitmap", Storage::I4, GL_COLOR_INDEX, GL_BITMAP, 32, {0x1F0, 0x0F, -1, 0x100},
     bytes_of<GLubyte>({0xF0, 0x0F, 0xFF, 0x00})},
    {"I4 unsigned short", Storage::I4, GL_LUMINANCE, GL_UNSIGNED_SHORT, 3, {65537, -1, 0x12345678},
     bytes_of<GLushort>({1, 0xFFFF, 0x5678})},
    {"I4 short", Storage::I4, GL_LUMINANCE, GL_SHORT, 3, {65537, -1, 0x12345678},
     bytes_of<GLushort>({1, 0xFFFF, 0x5678})},
    {"I4 float", Storage::I4, GL_LUMINANCE, GL_FLOAT, 2, {0x3F800000, -1}, {}},
    {"I4 int", Storage::I4, GL_LUMINANCE, GL_INT, 2, {300, -1}, {}},
    {"I4 unsigned int", Storage::I4, GL_LUMINANCE, GL_UNSIGNED_INT, 2, {300, -1}, {}},
    {"I2 unsigned byte", Storage::I2, GL_LUMINANCE, GL_UNSIGNED_BYTE, 4, {0x0180, 0x00FF, 0x7F00, 0x0001},
     bytes_of<GLubyte>({0x80, 0xFF, 0x00, 0x01})},
    {"I2 byte", Storage::I2, GL_LUMINANCE, GL_BYTE, 4, {0x0180, 0x00FF, 0x7F00, 0x0001},
     bytes_of<GLubyte>({0x80, 0xFF, 0x00, 0x01})},
    {"I2 bitmap", Storage::I2, GL_COLOR_INDEX, GL_BITMAP, 16, {0x1AA, 0x55}, bytes_of<GLubyte>({0xAA, 0x55})},
    {"I2 short", Storage::I2, GL_LUMINANCE, GL_SHORT, 2, {-2, 300}, {}},
    {"I2 unsigned short", Storage::I2, GL_LUMINANCE, GL_UNSIGNED_SHORT, 2, {-2, 300}, {}},
    {"I2 float, one value per element", Storage::I2, GL_LUMINANCE, GL_FLOAT, 2, {3, -2},
     bytes_of<GLfloat>({3.0f, -2.0f})},
    {"I2 int, sign-extended", Storage::I2, GL_LUMINANCE, GL_INT, 2, {3, -2}, bytes_of<GLint>({3, -2})},
    {"I2 unsigned int, zero-extended", Storage::I2, GL_LUMINANCE, GL_UNSIGNED_INT, 2, {3, -2},
     bytes_of<GLuint>({3, 0xFFFE})},
    {"I2 packed int", Storage::I2, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8, 1, {-1}, bytes_of<GLuint>({0xFFFF})},
    {"P unsigned byte", Storage::P, GL_LUMINANCE, GL_UNSIGNED_BYTE, 3, {0x41, 0x142, 0x43},
     bytes_of<GLubyte>({0x41, 0x42, 0x43})},
    {"P short, bytes whatever the type", Storage::P, GL_LUMINANCE, GL_SHORT, 2, {0x41, 0x142, 0x43, 0x7FF},
     bytes_of<GLubyte>({0x41, 0x42, 0x43, 0xFF})},
    {"P float", Storage::P, GL_LUMINANCE, GL_FLOAT, 1, {0, 0, 0x180, 0x3F}, bytes_of<GLubyte>({0, 0, 0x80, 0x3F})},
};

class PixelsIntoGL : public RecorderTest {};

TEST_F(PixelsIntoGL, EveryCommandEveryStorageEveryTypePath) {
  for (const IntoCommand &command : kIntoCommands) {
    for (const IntoRow &row : kIntoRows) {
      SCOPED_TRACE(std::string(command.command) + ", " + row.name);
      restart();
      CallerArray caller(row.storage, row.elements);
      if (!row.expected.empty()) reads(command.command, command.data_index, row.expected.size());
      command.call(row.storage, row.width, row.format, row.type, caller.data(), caller.count());
      const auto calls = calls_of(command.command);
      ASSERT_EQ(calls.size(), 1u);
      EXPECT_EQ(calls[0].args[command.type_index].as<GLenum>(), row.type);
      EXPECT_EQ(calls[0].args[command.type_index - 1].as<GLenum>(), row.format);
      if (row.expected.empty()) {
        EXPECT_EQ(calls[0].args[command.data_index].address(), caller.data());
      } else {
        EXPECT_NE(calls[0].args[command.data_index].address(), caller.data());
        EXPECT_EQ(received, row.expected);
      }
      EXPECT_EQ(caller.values(), row.elements);  // never written
    }
  }
}

// ---------------------------------------------------------------------------
// Data out of OpenGL: glReadPixels, glGetTexImage, one image row.

struct OutCommand {
  const char *command;
  std::size_t data_index;
  void (*call)(Storage, GLenum format, GLenum type, void *data, GLint count);
};

const GLint kZero = 0;
const GLsizei kRowWidth = 4;

const OutCommand kOutCommands[] = {
    {"glReadPixels", 6,
     [](Storage s, GLenum f, GLenum t, void *d, GLint n) {
       if (s == Storage::I4) fglReadPixelsI4(&kZero, &kZero, &kRowWidth, &kOne, &f, &t, static_cast<GLint *>(d), &n);
       if (s == Storage::I2) fglReadPixelsI2(&kZero, &kZero, &kRowWidth, &kOne, &f, &t, static_cast<GLshort *>(d), &n);
       if (s == Storage::P) fglReadPixelsP(&kZero, &kZero, &kRowWidth, &kOne, &f, &t, static_cast<GLint *>(d), &n);
     }},
    {"glGetTexImage", 4,
     [](Storage s, GLenum f, GLenum t, void *d, GLint n) {
       if (s == Storage::I4) fglGetTexImageI4(&kTex2D, &kLevel, &f, &t, static_cast<GLint *>(d), &n);
       if (s == Storage::I2) fglGetTexImageI2(&kTex2D, &kLevel, &f, &t, static_cast<GLshort *>(d), &n);
       if (s == Storage::P) fglGetTexImageP(&kTex2D, &kLevel, &f, &t, static_cast<GLint *>(d), &n);
     }},
};

struct OutRow {
  const char *name;
  Storage storage;
  GLenum format, type;
  Bytes written;  // what OpenGL writes for a row of four pixels
  std::vector<std::int32_t> expected;
  bool unchanged;  // OpenGL writes straight into the caller's array
};

const Bytes kFourBytes = bytes_of<GLubyte>({0xF0, 0x7F, 0x80, 0x01});
const Bytes kFourShorts = bytes_of<GLushort>({0x8000, 0x7FFF, 0xFFFF, 0x0001});

const OutRow kOutRows[] = {
    {"I4 byte", Storage::I4, GL_LUMINANCE, GL_BYTE, kFourBytes, {-16, 127, -128, 1}, false},
    {"I4 unsigned byte", Storage::I4, GL_LUMINANCE, GL_UNSIGNED_BYTE, kFourBytes, {240, 127, 128, 1}, false},
    {"I4 bitmap", Storage::I4, GL_COLOR_INDEX, GL_BITMAP, kFourBytes, {240}, false},
    {"I4 short", Storage::I4, GL_LUMINANCE, GL_SHORT, kFourShorts, {-32768, 32767, -1, 1}, false},
    {"I4 unsigned short", Storage::I4, GL_LUMINANCE, GL_UNSIGNED_SHORT, kFourShorts, {32768, 32767, 65535, 1}, false},
    {"I4 float", Storage::I4, GL_LUMINANCE, GL_FLOAT, bytes_of<GLint>({-16, 1, 2, 3}), {-16, 1, 2, 3}, true},
    {"I4 int", Storage::I4, GL_LUMINANCE, GL_INT, bytes_of<GLint>({-16, 1, 2, 3}), {-16, 1, 2, 3}, true},
    {"I2 byte", Storage::I2, GL_LUMINANCE, GL_BYTE, kFourBytes, {-16, 127, -128, 1}, false},
    {"I2 unsigned byte", Storage::I2, GL_LUMINANCE, GL_UNSIGNED_BYTE, kFourBytes, {240, 127, 128, 1}, false},
    {"I2 short", Storage::I2, GL_LUMINANCE, GL_SHORT, kFourShorts, {-32768, 32767, -1, 1}, true},
    {"I2 unsigned short", Storage::I2, GL_LUMINANCE, GL_UNSIGNED_SHORT, kFourShorts, {-32768, 32767, -1, 1}, true},
    {"P unsigned byte", Storage::P, GL_LUMINANCE, GL_UNSIGNED_BYTE, bytes_of<GLubyte>({0x41, 0xE9, 0x00, 0xFF}),
     {0x41, 0xE9, 0x00, 0xFF}, false},
    {"P short, bytes whatever the type", Storage::P, GL_LUMINANCE, GL_SHORT, kFourShorts,
     {0x00, 0x80, 0xFF, 0x7F, 0xFF, 0xFF, 0x01, 0x00}, false},
};

class PixelsOutOfGL : public RecorderTest {};

TEST_F(PixelsOutOfGL, EveryCommandEveryStorageEveryTypePath) {
  for (const OutCommand &command : kOutCommands) {
    for (const OutRow &row : kOutRows) {
      SCOPED_TRACE(std::string(command.command) + ", " + row.name);
      restart();
      texture_width = kRowWidth;
      texture_height = 1;
      // The caller's array: exactly as many elements as values expected,
      // filled with a pattern that every delivered element must replace.
      CallerArray caller(row.storage, std::vector<std::int32_t>(row.expected.size(), 0x5A5A));
      writes(command.command, command.data_index, row.written);
      command.call(row.storage, row.format, row.type, caller.data(), caller.count());
      const auto calls = calls_of(command.command);
      ASSERT_EQ(calls.size(), 1u);
      EXPECT_EQ(calls[0].args[command.data_index].address() == caller.data(), row.unchanged);
      EXPECT_EQ(caller.values(), row.expected);
    }
  }
}

TEST_F(PixelsOutOfGL, ElementsBeyondWhatOpenGLWroteKeepTheirValues) {
  const GLsizei w = 2;
  const GLenum f = GL_LUMINANCE, t = GL_UNSIGNED_BYTE;
  const GLint count = 5;
  auto pixels = filled<GLint>(5, 0x5A5A);
  writes("glReadPixels", 6, bytes_of<GLubyte>({7, 8}));
  fglReadPixelsI4(&kZero, &kZero, &w, &kOne, &f, &t, pixels.get(), &count);
  EXPECT_EQ(contents(pixels.get(), 5), (std::vector<GLint>{7, 8, 0x5A5A, 0x5A5A, 0x5A5A}));
}

// ---------------------------------------------------------------------------
// What OpenGL touches under the pixel-store state: the temporary covers it,
// the bytes past the caller's items are zero, the caller gets `count` items.

class PixelStoreSizing : public RecorderTest {};

TEST_F(PixelStoreSizing, RowsPaddedToTheUnpackAlignment) {
  // Two rows of three RGB pixels, rows 4-byte aligned: OpenGL reads bytes 0-8
  // and 12-20, 21 bytes, of which the caller promised only 6.
  const GLsizei w = 3, h = 2;
  const GLenum f = GL_RGB, t = GL_UNSIGNED_BYTE;
  const GLint count = 6;
  const auto pixels = exact<GLint>({1, 2, 3, 4, 5, 0x106});
  reads("glDrawPixels", 4, 21);
  fglDrawPixelsI4(&w, &h, &f, &t, pixels.get(), &count);
  Bytes expected(21, 0);
  for (int i = 0; i < 6; ++i) expected[i] = static_cast<unsigned char>(i + 1);
  EXPECT_EQ(received, expected);
}

TEST_F(PixelStoreSizing, RowLengthAndSkipsOfTheUnpackState) {
  integers[GL_UNPACK_ALIGNMENT] = 1;
  integers[GL_UNPACK_ROW_LENGTH] = 5;
  integers[GL_UNPACK_SKIP_ROWS] = 1;
  integers[GL_UNPACK_SKIP_PIXELS] = 2;
  // 2 x 2 shorts: the last one OpenGL reads is number (1 + 1) * 5 + 2 + 1 = 13.
  const GLsizei w = 2, h = 2;
  const GLenum f = GL_LUMINANCE, t = GL_UNSIGNED_SHORT;
  const GLint count = 3;
  const auto pixels = exact<GLint>({0x10001, 2, 3});
  reads("glDrawPixels", 4, 2 * 14);
  fglDrawPixelsI4(&w, &h, &f, &t, pixels.get(), &count);
  Bytes expected(28, 0);
  expected[0] = 1;
  expected[2] = 2;
  expected[4] = 3;
  EXPECT_EQ(received, expected);
}

TEST_F(PixelStoreSizing, BitmapRowsArePaddedBytes) {
  // 10 x 3 bitmap pixels: rows of 2 bytes padded to 4; OpenGL reads 4+4+2.
  const GLsizei w = 10, h = 3;
  const GLfloat xo = 1.5f, yo = 2.5f, xm = 3.5f, ym = -4.5f;
  const GLint count = 2;
  const auto bits = exact<GLint>({0x1FF, 0x180});
  reads("glBitmap", 6, 10);
  fglBitmapI4(&w, &h, &xo, &yo, &xm, &ym, bits.get(), &count);
  const auto calls = calls_of("glBitmap");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args[0].as<GLsizei>(), 10);
  EXPECT_EQ(calls[0].args[1].as<GLsizei>(), 3);
  EXPECT_EQ(calls[0].args[2].as<GLfloat>(), 1.5f);
  EXPECT_EQ(calls[0].args[3].as<GLfloat>(), 2.5f);
  EXPECT_EQ(calls[0].args[4].as<GLfloat>(), 3.5f);
  EXPECT_EQ(calls[0].args[5].as<GLfloat>(), -4.5f);
  EXPECT_EQ(received, (Bytes{0xFF, 0x80, 0, 0, 0, 0, 0, 0, 0, 0}));

  restart();
  const auto narrow_bits = exact<GLshort>({0x1FF, 0x180});
  reads("glBitmap", 6, 10);
  fglBitmapI2(&w, &h, &xo, &yo, &xm, &ym, narrow_bits.get(), &count);
  EXPECT_EQ(received, (Bytes{0xFF, 0x80, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(PixelStoreSizing, ReadBackWritesWholePaddedRowsButTheCallerGetsCount) {
  integers[GL_PACK_ROW_LENGTH] = 4;
  const GLsizei w = 3, h = 2;
  const GLenum f = GL_RGB, t = GL_UNSIGNED_BYTE;
  const GLint count = 6;
  Bytes image(24);  // two rows of four RGB pixels
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<unsigned char>(0xE0 + i);
  writes("glReadPixels", 6, image);
  auto pixels = filled<GLint>(6, 0);
  fglReadPixelsI4(&kZero, &kZero, &w, &h, &f, &t, pixels.get(), &count);
  EXPECT_EQ(contents(pixels.get(), 6), (std::vector<GLint>{0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5}));
}

// Skipped pixels with no row length and fewer items than OpenGL touches: the
// last row OpenGL touches ends skip + width pixels into it, past a row of
// width pixels, so the temporary must reach beyond both the caller's items
// and whole rows. `extent` is worked out by hand for each row.
struct SkipRow {
  const char *name;
  bool pack;  // the pack state and a read-back command; else unpack and a sending one
  GLint alignment, skip_rows, skip_pixels;
  GLsizei width, height;
  GLenum format, type;
  GLint count;
  std::size_t extent;
  void (*call)(GLsizei w, GLsizei h, GLenum f, GLenum t, GLint *data, GLint count);
  const char *command;
  std::size_t data_index;
};

const SkipRow kSkipRows[] = {
    // (1 + 1) rows of 2 bytes, then 3 skipped + 2 pixels: 4 + 5.
    {"draw, bytes", false, 1, 1, 3, 2, 2, GL_LUMINANCE, GL_UNSIGNED_BYTE, 1, 9,
     [](GLsizei w, GLsizei h, GLenum f, GLenum t, GLint *d, GLint n) { fglDrawPixelsI4(&w, &h, &f, &t, d, &n); },
     "glDrawPixels", 4},
    // Rows of 3 shorts padded to 8 bytes; the last row holds 2 + 3 shorts: 8 + 10.
    {"texture, shorts", false, 4, 0, 2, 3, 2, GL_LUMINANCE, GL_SHORT, 2, 18,
     [](GLsizei w, GLsizei h, GLenum f, GLenum t, GLint *d, GLint n) {
       fglTexImage2DI4(&kTex2D, &kLevel, &kInternal, &w, &h, &kBorder, &f, &t, d, &n);
     },
     "glTexImage2D", 8},
    // Bitmap rows of one byte; the last row holds 5 skipped + 6 pixels, 2 bytes: 1 + 2.
    {"bitmap", false, 1, 0, 5, 6, 2, GL_COLOR_INDEX, GL_BITMAP, 1, 3,
     [](GLsizei w, GLsizei h, GLenum, GLenum, GLint *d, GLint n) {
       const GLfloat zero = 0;
       fglBitmapI4(&w, &h, &zero, &zero, &zero, &zero, d, &n);
     },
     "glBitmap", 6},
    // (2 + 1) rows of 2 RGB pixels, 6 bytes padded to 8; then 1 + 2 pixels: 24 + 9.
    {"read, RGB bytes", true, 4, 2, 1, 2, 2, GL_RGB, GL_UNSIGNED_BYTE, 4, 33,
     [](GLsizei w, GLsizei h, GLenum f, GLenum t, GLint *d, GLint n) {
       fglReadPixelsI4(&kZero, &kZero, &w, &h, &f, &t, d, &n);
     },
     "glReadPixels", 6},
    // One row of 2 pixels as packed bytes; the last row holds 7 + 2: 9.
    {"read, packed", true, 1, 0, 7, 2, 1, GL_LUMINANCE, GL_UNSIGNED_BYTE, 1, 9,
     [](GLsizei w, GLsizei h, GLenum f, GLenum t, GLint *d, GLint n) {
       fglReadPixelsP(&kZero, &kZero, &w, &h, &f, &t, d, &n);
     },
     "glReadPixels", 6},
};

TEST_F(PixelStoreSizing, SkippedPixelsWithoutRowLengthAndAShortCount) {
  for (const SkipRow &row : kSkipRows) {
    SCOPED_TRACE(row.name);
    restart();
    const GLenum base = row.pack ? GL_PACK_ALIGNMENT : GL_UNPACK_ALIGNMENT;
    integers[base] = row.alignment;
    integers[row.pack ? GL_PACK_SKIP_ROWS : GL_UNPACK_SKIP_ROWS] = row.skip_rows;
    integers[row.pack ? GL_PACK_SKIP_PIXELS : GL_UNPACK_SKIP_PIXELS] = row.skip_pixels;
    const bool shorts = row.type == GL_SHORT;
    std::vector<GLint> values(static_cast<std::size_t>(row.count));
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<GLint>(0x1100 + 0x11 * (i + 1));
    auto data = exact(values);
    Bytes image(row.extent);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<unsigned char>(0xC0 + i);
    if (row.pack) {
      writes(row.command, row.data_index, image);
    } else {
      reads(row.command, row.data_index, row.extent);
    }
    row.call(row.width, row.height, row.format, row.type, data.get(), row.count);
    ASSERT_EQ(calls_of(row.command).size(), 1u);
    ASSERT_TRUE(room.has_value()) << "OpenGL was not handed a heap temporary";
    EXPECT_GE(*room, row.extent);
    if (row.pack) {
      // The caller's count items all lie in the rows and pixels OpenGL
      // skips: they keep their values.
      for (std::size_t i = 0; i < values.size(); ++i) EXPECT_EQ(data[i], values[i]) << i;
    } else {
      // OpenGL reads the caller's items, then zeros to the end of its extent.
      Bytes expected(row.extent, 0);
      for (std::size_t i = 0; i < values.size(); ++i) {
        expected[shorts ? 2 * i : i] = static_cast<unsigned char>(values[i]);
        if (shorts) expected[2 * i + 1] = static_cast<unsigned char>(values[i] >> 8);
      }
      EXPECT_EQ(received, expected);
    }
  }
}

TEST_F(PixelStoreSizing, TextureReadBackCoversTheLevelsOwnSize) {
  texture_width = 4;
  texture_height = 4;
  const GLenum f = GL_RGBA, t = GL_BYTE;
  const GLint level = 2, count = 3;
  writes("glGetTexImage", 4, Bytes(64, 0x81));  // the whole 4 x 4 RGBA level
  auto pixels = filled<GLshort>(3, 0);
  fglGetTexImageI2(&kTex2D, &level, &f, &t, pixels.get(), &count);
  EXPECT_EQ(contents(pixels.get(), 3), (std::vector<GLshort>{-127, -127, -127}));
  const auto queries = calls_of("glGetTexLevelParameteriv");
  ASSERT_GE(queries.size(), 2u);
  for (const auto &q : queries) {
    EXPECT_EQ(q.args[0].as<GLenum>(), kTex2D);
    EXPECT_EQ(q.args[1].as<GLint>(), 2);
  }
}

// ---------------------------------------------------------------------------
// Polygon stipple: 128 bytes under the default state.

class StippleEntries : public RecorderTest {};

TEST_F(StippleEntries, SettersReadExactly128ElementsAndSendTheirLowBytes) {
  std::vector<GLint> wide(128);
  Bytes expected(128);
  for (int i = 0; i < 128; ++i) {
    wide[i] = 0x300 + i * 3;
    expected[i] = static_cast<unsigned char>(i * 3);
  }
  const auto mask4 = exact(wide);
  reads("glPolygonStipple", 0, 128);
  fglPolygonStippleI4(mask4.get());
  EXPECT_EQ(received, expected);

  restart();
  const auto mask2 = exact(std::vector<GLshort>(wide.begin(), wide.end()));
  reads("glPolygonStipple", 0, 128);
  fglPolygonStippleI2(mask2.get());
  EXPECT_EQ(received, expected);
  EXPECT_EQ(calls_of("glPolygonStipple").size(), 1u);
}

TEST_F(StippleEntries, AnUnpackRowLengthMakesOpenGLReadMore) {
  integers[GL_UNPACK_ROW_LENGTH] = 64;  // 8 bytes per row: 31 * 8 + 4 bytes
  const auto mask = filled<GLint>(128, 0x1FF);
  reads("glPolygonStipple", 0, 252);
  fglPolygonStippleI4(mask.get());
  ASSERT_EQ(received.size(), 252u);
  EXPECT_EQ(Bytes(received.begin(), received.begin() + 128), Bytes(128, 0xFF));
  EXPECT_EQ(Bytes(received.begin() + 128, received.end()), Bytes(124, 0));
}

TEST_F(StippleEntries, ReadBackDeliversCountBytesZeroExtendedAndNothingBeyond128) {
  Bytes pattern(128);
  for (int i = 0; i < 128; ++i) pattern[i] = static_cast<unsigned char>(255 - i);
  for (GLint count : {128, 4, 200}) {
    SCOPED_TRACE(count);
    restart();
    writes("glGetPolygonStipple", 0, pattern);
    auto mask4 = filled<GLint>(count, -7);
    fglGetPolygonStippleI4(mask4.get(), &count);
    auto mask2 = filled<GLshort>(count, -7);
    fglGetPolygonStippleI2(mask2.get(), &count);
    for (GLint i = 0; i < count; ++i) {
      const int expected = i < 128 ? 255 - i : -7;
      ASSERT_EQ(mask4[i], expected) << i;
      ASSERT_EQ(mask2[i], expected) << i;
    }
  }
}

TEST_F(StippleEntries, APackRowLengthMakesOpenGLWriteMore) {
  integers[GL_PACK_ROW_LENGTH] = 64;
  writes("glGetPolygonStipple", 0, Bytes(252, 0x99));
  const GLint count = 128;
  auto mask = filled<GLint>(128, 0);
  fglGetPolygonStippleI4(mask.get(), &count);
  // Rows of 4 bytes 8 bytes apart: the gaps up to the row length keep their 0.
  std::vector<GLint> expected(128, 0);
  for (std::size_t i = 0; i < 128; ++i) expected[i] = i % 8 < 4 ? 0x99 : 0;
  EXPECT_EQ(contents(mask.get(), 128), expected);
}

TEST_F(StippleEntries, ANegativeCountWritesNothing) {
  const GLint count = -1;
  writes("glGetPolygonStipple", 0, Bytes(128, 1));
  fglGetPolygonStippleI4(nullptr, &count);
  EXPECT_EQ(calls_of("glGetPolygonStipple").size(), 1u);
}

// ---------------------------------------------------------------------------
// Pixel maps.

class PixelMapEntries : public RecorderTest {};

TEST_F(PixelMapEntries, SetterSendsTheLow16BitsOfMapsizeElements) {
  const GLenum map = GL_PIXEL_MAP_I_TO_I;
  const GLsizei size = 3;
  const auto values = exact<GLint>({65537, -1, 0x12345678});
  reads("glPixelMapusv", 2, 6);
  fglPixelMapusvI4(&map, &size, values.get());
  const auto calls = calls_of("glPixelMapusv");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args[0].as<GLenum>(), map);
  EXPECT_EQ(calls[0].args[1].as<GLsizei>(), 3);
  EXPECT_EQ(received, bytes_of<GLushort>({1, 0xFFFF, 0x5678}));
}

TEST_F(PixelMapEntries, ANegativeMapsizeReadsNothingAndReachesOpenGLUnchanged) {
  const GLenum map = GL_PIXEL_MAP_R_TO_R;
  const GLsizei size = -2;
  fglPixelMapusvI4(&map, &size, nullptr);
  const auto calls = calls_of("glPixelMapusv");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args[1].as<GLsizei>(), -2);
}

TEST_F(PixelMapEntries, ReadBackHoldsTheWholeMapAndDeliversFourValues) {
  struct Case {
    GLenum map, size_query;
    GLint size;
    std::vector<GLint> expected;
  };
  const Case cases[] = {
      {GL_PIXEL_MAP_I_TO_I, GL_PIXEL_MAP_I_TO_I_SIZE, 8, {32768, 1, 2, 3}},
      {GL_PIXEL_MAP_R_TO_R, GL_PIXEL_MAP_R_TO_R_SIZE, 300, {32768, 1, 2, 3}},  // beyond the inline buffer
      {GL_PIXEL_MAP_A_TO_A, GL_PIXEL_MAP_A_TO_A_SIZE, 2, {32768, 1, -7, -7}},  // past the map: kept
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.size);
    restart();
    integers[c.size_query] = c.size;
    Bytes map(2 * c.size);
    for (GLint i = 0; i < c.size; ++i) {
      const GLushort v = i == 0 ? 0x8000 : static_cast<GLushort>(i);
      std::memcpy(&map[2 * i], &v, 2);
    }
    writes("glGetPixelMapusv", 1, map);
    auto values = filled<GLint>(4, -7);
    fglGetPixelMapusvI4(&c.map, values.get());
    EXPECT_EQ(contents(values.get(), 4), c.expected);
    const auto queries = calls_of("glGetIntegerv");
    ASSERT_EQ(queries.size(), 1u);
    EXPECT_EQ(queries[0].args[0].as<GLenum>(), c.size_query);
  }
}

// ---------------------------------------------------------------------------
// Counts of zero or less, and temporaries that cannot be had.

class PixelCounts : public RecorderTest {};

TEST_F(PixelCounts, ZeroOrNegativeCountsStillCallOpenGLOnceAndTouchNothing) {
  const GLsizei none = 0;
  const GLenum f = GL_LUMINANCE, t = GL_UNSIGNED_BYTE, b = GL_BYTE;
  for (GLint count : {0, -5}) {
    SCOPED_TRACE(count);
    restart();
    fglDrawPixelsI4(&none, &none, &f, &t, nullptr, &count);
    fglDrawPixelsP(&none, &none, &f, &t, nullptr, &count);
    fglReadPixelsI2(&kZero, &kZero, &none, &none, &f, &b, nullptr, &count);
    fglGetTexImageP(&kTex2D, &kLevel, &f, &t, nullptr, &count);
    for (const char *command : {"glDrawPixels", "glReadPixels", "glGetTexImage"}) {
      for (const auto &c : calls_of(command)) EXPECT_NE(c.args.back().address(), nullptr) << command;
    }
    EXPECT_EQ(calls_of("glDrawPixels").size(), 2u);
    EXPECT_EQ(calls_of("glReadPixels").size(), 1u);
    EXPECT_EQ(calls_of("glGetTexImage").size(), 1u);
  }
}

struct FailureRow {
  const char *name;
  const char *command;
  void (*call)(GLint *storage);  // storage: 4 elements the entry may read or would write
};

const GLsizei kTwo = 2;
const GLenum kLum = GL_LUMINANCE, kUByte = GL_UNSIGNED_BYTE, kUShort = GL_UNSIGNED_SHORT, kByte = GL_BYTE;
const GLint kFour = 4, kTwoHundred = 200;

const FailureRow kFailureRows[] = {
    {"fglDrawPixelsI4", "glDrawPixels", [](GLint *s) { fglDrawPixelsI4(&kTwo, &kTwo, &kLum, &kUByte, s, &kFour); }},
    {"fglDrawPixelsP", "glDrawPixels", [](GLint *s) { fglDrawPixelsP(&kTwo, &kTwo, &kLum, &kUByte, s, &kFour); }},
    {"fglDrawPixelsI2", "glDrawPixels",
     [](GLint *s) { fglDrawPixelsI2(&kTwo, &kTwo, &kLum, &kUByte, reinterpret_cast<GLshort *>(s), &kFour); }},
    {"fglTexImage1DI4", "glTexImage1D",
     [](GLint *s) { fglTexImage1DI4(&kTex1D, &kLevel, &kInternal, &kFour, &kBorder, &kLum, &kUShort, s, &kFour); }},
    {"fglTexImage2DP", "glTexImage2D",
     [](GLint *s) { fglTexImage2DP(&kTex2D, &kLevel, &kInternal, &kTwo, &kTwo, &kBorder, &kLum, &kUByte, s, &kFour); }},
    {"fglReadPixelsI4", "glReadPixels",
     [](GLint *s) { fglReadPixelsI4(&kZero, &kZero, &kTwo, &kTwo, &kLum, &kUByte, s, &kFour); }},
    {"fglReadPixelsP", "glReadPixels",
     [](GLint *s) { fglReadPixelsP(&kZero, &kZero, &kTwo, &kTwo, &kLum, &kUByte, s, &kFour); }},
    {"fglReadPixelsI2", "glReadPixels",
     [](GLint *s) {
       fglReadPixelsI2(&kZero, &kZero, &kTwo, &kTwo, &kLum, &kByte, reinterpret_cast<GLshort *>(s), &kFour);
     }},
    {"fglGetTexImageI4", "glGetTexImage", [](GLint *s) { fglGetTexImageI4(&kTex2D, &kLevel, &kLum, &kUShort, s, &kFour); }},
    {"fglBitmapI4", "glBitmap",
     [](GLint *s) {
       const GLfloat zero = 0;
       fglBitmapI4(&kTwo, &kTwo, &zero, &zero, &zero, &zero, s, &kFour);
     }},
    {"fglPixelMapusvI4", "glPixelMapusv",
     [](GLint *s) {
       const GLenum map = GL_PIXEL_MAP_I_TO_I;
       fglPixelMapusvI4(&map, &kFour, s);
     }},
};

TEST_F(PixelCounts, NoTemporaryMeansNoCallAndUntouchedStorage) {
  for (const FailureRow &row : kFailureRows) {
    SCOPED_TRACE(row.name);
    restart();
    texture_width = texture_height = 2;
    auto storage = filled<GLint>(4, 0x5A5A5A5A);
    fail_next_calloc();
    row.call(storage.get());
    EXPECT_FALSE(calloc_failure_pending());
    EXPECT_TRUE(calls_of(row.command).empty());
    EXPECT_EQ(contents(storage.get(), 4), std::vector<GLint>(4, 0x5A5A5A5A));
  }
}

TEST_F(PixelCounts, LargeStippleAndMapReadBacksAlsoFailCleanly) {
  auto mask = filled<GLint>(200, 9);
  fail_next_calloc();
  fglGetPolygonStippleI4(mask.get(), &kTwoHundred);
  EXPECT_FALSE(calloc_failure_pending());
  EXPECT_TRUE(calls_of("glGetPolygonStipple").empty());
  EXPECT_EQ(contents(mask.get(), 200), std::vector<GLint>(200, 9));

  integers[GL_PIXEL_MAP_I_TO_I_SIZE] = 1024;
  const GLenum map = GL_PIXEL_MAP_I_TO_I;
  auto values = filled<GLint>(4, 9);
  fail_next_calloc();
  fglGetPixelMapusvI4(&map, values.get());
  EXPECT_FALSE(calloc_failure_pending());
  EXPECT_TRUE(calls_of("glGetPixelMapusv").empty());
  EXPECT_EQ(contents(values.get(), 4), std::vector<GLint>(4, 9));
}

TEST_F(PixelCounts, ImagesTooLargeForTheHeapOrForArithmeticAreRefused) {
  // 2^30 x 2^30 bytes: an allocation every allocator refuses.
  const GLsizei huge = 1 << 30, largest = INT_MAX;
  const GLint count = 1;
  const auto pixel = exact<GLint>({1});
  fglDrawPixelsI4(&huge, &huge, &kLum, &kUByte, pixel.get(), &count);
  EXPECT_TRUE(calls_of("glDrawPixels").empty());
  // (2^31 - 1)^2 RGBA floats: more bytes than a size_t holds.
  const GLenum rgba = GL_RGBA, fl = GL_FLOAT;
  auto word = filled<GLint>(1, 77);
  fglReadPixelsP(&kZero, &kZero, &largest, &largest, &rgba, &fl, word.get(), &count);
  EXPECT_TRUE(calls_of("glReadPixels").empty());
  EXPECT_EQ(word[0], 77);
}

}  // namespace
}  // namespace repacking_test
