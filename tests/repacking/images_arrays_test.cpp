// Sub-image, 3-D, compressed, index, residency and multitexture entries
// against the recording libGL: the bytes OpenGL receives for every storage,
// the temporaries sized under the 3-D unpack state, the counts and
// allocations that must not go wrong.
#include "recorder_fixture.h"

#include <algorithm>

namespace repacking_test {
namespace {

enum class Storage { I4, I2, P };

// A caller's array of exactly n elements in the width of its storage.
struct Caller {
  Caller(Storage s, const std::vector<std::int32_t> &values) : storage(s), n(values.size()) {
    wide = std::make_unique<GLint[]>(std::max<std::size_t>(n, 1));
    narrow = std::make_unique<GLshort[]>(std::max<std::size_t>(n, 1));
    for (std::size_t i = 0; i < n; ++i) {
      wide[i] = values[i];
      narrow[i] = static_cast<GLshort>(values[i]);
    }
  }
  void *data() const { return storage == Storage::I2 ? static_cast<void *>(narrow.get()) : wide.get(); }
  GLint count() const { return static_cast<GLint>(n); }
  std::vector<std::int32_t> values() const {
    std::vector<std::int32_t> out;
    for (std::size_t i = 0; i < n; ++i) out.push_back(storage == Storage::I2 ? narrow[i] : wide[i]);
    return out;
  }
  Storage storage;
  std::size_t n;
  std::unique_ptr<GLint[]> wide;
  std::unique_ptr<GLshort[]> narrow;
};

// ---------------------------------------------------------------------------
// The four image commands, each with an image of width x height x depth.

const GLenum kTex1D = GL_TEXTURE_1D, kTex2D = GL_TEXTURE_2D, kTex3D = GL_TEXTURE_3D;
const GLint kLevel = 0, kInternal = GL_RGBA, kBorder = 0, kOffset = 1;

struct ImageCommand {
  const char *command;
  std::size_t type_index, data_index;
  bool three_d;
  void (*call)(Storage, GLsizei w, GLsizei h, GLsizei d, GLenum format, GLenum type, void *data, GLint count);
};

template <typename F4, typename F2, typename FP>
void by_storage(Storage s, void *data, F4 i4, F2 i2, FP p) {
  if (s == Storage::I4) i4(static_cast<GLint *>(data));
  if (s == Storage::I2) i2(static_cast<GLshort *>(data));
  if (s == Storage::P) p(static_cast<GLint *>(data));
}

#define FGL_BY_STORAGE(entry, ...)                                           \
  by_storage(                                                                \
      s, data, [&](GLint *p) { entry##I4(__VA_ARGS__, p, &n); },             \
      [&](GLshort *p) { entry##I2(__VA_ARGS__, p, &n); }, [&](GLint *p) { entry##P(__VA_ARGS__, p, &n); })

const ImageCommand kImageCommands[] = {
    {"glTexSubImage1D", 5, 6, false,
     [](Storage s, GLsizei w, GLsizei, GLsizei, GLenum f, GLenum t, void *data, GLint n) {
       FGL_BY_STORAGE(fglTexSubImage1D, &kTex1D, &kLevel, &kOffset, &w, &f, &t);
     }},
    {"glTexSubImage2D", 7, 8, false,
     [](Storage s, GLsizei w, GLsizei h, GLsizei, GLenum f, GLenum t, void *data, GLint n) {
       FGL_BY_STORAGE(fglTexSubImage2D, &kTex2D, &kLevel, &kOffset, &kOffset, &w, &h, &f, &t);
     }},
    {"glTexImage3D", 8, 9, true,
     [](Storage s, GLsizei w, GLsizei h, GLsizei d, GLenum f, GLenum t, void *data, GLint n) {
       FGL_BY_STORAGE(fglTexImage3D, &kTex3D, &kLevel, &kInternal, &w, &h, &d, &kBorder, &f, &t);
     }},
    {"glTexSubImage3D", 9, 10, true,
     [](Storage s, GLsizei w, GLsizei h, GLsizei d, GLenum f, GLenum t, void *data, GLint n) {
       FGL_BY_STORAGE(fglTexSubImage3D, &kTex3D, &kLevel, &kOffset, &kOffset, &kOffset, &w, &h, &d, &f, &t);
     }},
};
#undef FGL_BY_STORAGE

struct ImageRow {
  const char *name;
  Storage storage;
  GLenum format, type;
  GLsizei width;  // one row of one image
  std::vector<std::int32_t> elements;
  Bytes expected;  // what OpenGL reads; empty: the caller's array goes unchanged
};

const ImageRow kImageRows[] = {
    {"I4 unsigned byte", Storage::I4, GL_LUMINANCE, GL_UNSIGNED_BYTE, 4, {300, -1, 65, 0x1234},
     bytes_of<GLubyte>({44, 255, 65, 0x34})},
    {"I4 short", Storage::I4, GL_LUMINANCE, GL_SHORT, 2, {65537, -1}, bytes_of<GLushort>({1, 0xFFFF})},
    {"I4 packed byte", Storage::I4, GL_RGB, GL_UNSIGNED_BYTE_3_3_2, 3, {0x1E3, 7, -1},
     bytes_of<GLubyte>({0xE3, 7, 0xFF})},
    {"I4 packed short", Storage::I4, GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4, 2, {0x1F00F, -2},
     bytes_of<GLushort>({0xF00F, 0xFFFE})},
    {"I4 packed int", Storage::I4, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8, 2, {-1, 0x01020304}, {}},
    {"I4 float", Storage::I4, GL_LUMINANCE, GL_FLOAT, 1, {0x3F800000}, {}},
    {"I2 byte", Storage::I2, GL_LUMINANCE, GL_BYTE, 2, {0x180, 0x7F}, bytes_of<GLubyte>({0x80, 0x7F})},
    {"I2 packed short", Storage::I2, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, 2, {-1, 0x1234}, {}},
    {"I2 packed byte", Storage::I2, GL_RGB, GL_UNSIGNED_BYTE_2_3_3_REV, 2, {0x1FF, 0x42},
     bytes_of<GLubyte>({0xFF, 0x42})},
    {"P unsigned byte", Storage::P, GL_LUMINANCE, GL_UNSIGNED_BYTE, 3, {0x41, 0x142, 0x43},
     bytes_of<GLubyte>({0x41, 0x42, 0x43})},
    {"P short, bytes whatever the type", Storage::P, GL_LUMINANCE, GL_SHORT, 1, {0x141, 0x7FF},
     bytes_of<GLubyte>({0x41, 0xFF})},
};

class ImagesIntoGL : public RecorderTest {};

TEST_F(ImagesIntoGL, EveryCommandEveryStorageEveryTypePath) {
  for (const ImageCommand &command : kImageCommands) {
    for (const ImageRow &row : kImageRows) {
      SCOPED_TRACE(std::string(command.command) + ", " + row.name);
      restart();
      integers[GL_UNPACK_ALIGNMENT] = 1;
      Caller caller(row.storage, row.elements);
      if (!row.expected.empty()) reads(command.command, command.data_index, row.expected.size());
      command.call(row.storage, row.width, 1, 1, row.format, row.type, caller.data(), caller.count());
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
      EXPECT_EQ(caller.values(), row.elements);
    }
  }
}

// 3-D images: OpenGL reads skip_images + depth images of image_height rows.
TEST_F(ImagesIntoGL, ThreeDimensionalImagesAreSizedWithImageHeightAndSkippedImages) {
  for (const ImageCommand &command : kImageCommands) {
    if (!command.three_d) continue;
    SCOPED_TRACE(command.command);
    restart();
    integers[GL_UNPACK_ALIGNMENT] = 1;
    integers[GL_UNPACK_IMAGE_HEIGHT] = 3;
    integers[GL_UNPACK_SKIP_IMAGES] = 1;
    integers[GL_UNPACK_SKIP_ROWS] = 1;
    // 2 x 2 x 2 bytes: the last byte read is ((1 + 1) * 3 + 1 + 1) * 2 + 1 = 17.
    const auto pixels = exact<GLint>({0x101, 2, 3});
    reads(command.command, command.data_index, 18);
    command.call(Storage::I4, 2, 2, 2, GL_LUMINANCE, GL_UNSIGNED_BYTE, pixels.get(), 3);
    Bytes expected(18, 0);
    expected[0] = 1;
    expected[1] = 2;
    expected[2] = 3;
    EXPECT_EQ(received, expected);
    bool asked_height = false, asked_skip = false;
    for (const auto &q : calls_of("glGetIntegerv")) {
      asked_height |= q.args[0].as<GLenum>() == GL_UNPACK_IMAGE_HEIGHT;
      asked_skip |= q.args[0].as<GLenum>() == GL_UNPACK_SKIP_IMAGES;
    }
    EXPECT_TRUE(asked_height && asked_skip);
  }
}

TEST_F(ImagesIntoGL, TwoDimensionalSubImagesIgnoreThe3DState) {
  integers[GL_UNPACK_ALIGNMENT] = 1;
  integers[GL_UNPACK_SKIP_IMAGES] = 100;
  const auto pixels = exact<GLint>({1, 2, 3, 4});
  reads("glTexSubImage2D", 8, 4);
  kImageCommands[1].call(Storage::I4, 2, 2, 1, GL_LUMINANCE, GL_UNSIGNED_BYTE, pixels.get(), 4);
  EXPECT_EQ(received, bytes_of<GLubyte>({1, 2, 3, 4}));
  for (const auto &q : calls_of("glGetIntegerv")) EXPECT_NE(q.args[0].as<GLenum>(), GLenum{GL_UNPACK_SKIP_IMAGES});
}

TEST_F(ImagesIntoGL, ZeroOrNegativeCountsReadNoElementAndStillCallOnce) {
  for (const ImageCommand &command : kImageCommands) {
    for (Storage s : {Storage::I4, Storage::I2, Storage::P}) {
      for (GLint count : {0, -3}) {
        SCOPED_TRACE(std::string(command.command) + " count " + std::to_string(count));
        restart();
        integers[GL_UNPACK_ALIGNMENT] = 1;
        // A full image with a count of 0 has no data (C's NULL); the others
        // read zeros.
        const bool no_data = count == 0 && std::string(command.command) == "glTexImage3D";
        if (!no_data) reads(command.command, command.data_index, 2);
        command.call(s, 2, 1, 1, GL_LUMINANCE, GL_UNSIGNED_BYTE, nullptr, count);
        const auto calls = calls_of(command.command);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].args[command.data_index].address() == nullptr, no_data);
        if (!no_data) {
          EXPECT_EQ(received, Bytes(2, 0));
        }
      }
    }
  }
}

TEST_F(ImagesIntoGL, NoTemporaryMeansNoCallAndUntouchedStorage) {
  for (const ImageCommand &command : kImageCommands) {
    for (Storage s : {Storage::I4, Storage::I2, Storage::P}) {
      SCOPED_TRACE(command.command);
      restart();
      Caller caller(s, {5, 6, 7, 8});
      fail_next_calloc();
      command.call(s, 2, 2, 1, GL_LUMINANCE, GL_UNSIGNED_BYTE, caller.data(), 4);
      EXPECT_FALSE(calloc_failure_pending());
      EXPECT_TRUE(calls_of(command.command).empty());
      EXPECT_EQ(caller.values(), (std::vector<std::int32_t>{5, 6, 7, 8}));
    }
  }
}

// The packed types also size what OpenGL reads: one 2-byte pixel per group.
TEST_F(ImagesIntoGL, PackedTypesAreSizedPerPixelInTheOlderEntriesToo) {
  const GLsizei w = 3, h = 1;
  const GLenum f = GL_RGB, t = GL_UNSIGNED_SHORT_5_6_5;
  const GLint count = 3;
  const auto pixels = exact<GLint>({0x1F800, 0x07E0, -1});
  reads("glDrawPixels", 4, 6);
  fglDrawPixelsI4(&w, &h, &f, &t, pixels.get(), &count);
  EXPECT_EQ(received, bytes_of<GLushort>({0xF800, 0x07E0, 0xFFFF}));

  restart();
  const GLenum t8 = GL_UNSIGNED_BYTE_3_3_2;
  writes("glReadPixels", 6, bytes_of<GLubyte>({0xE0, 0x1C, 0x03}));
  auto out = filled<GLint>(3, -9);
  const GLint zero = 0;
  fglReadPixelsI4(&zero, &zero, &w, &h, &f, &t8, out.get(), &count);
  EXPECT_EQ(contents(out.get(), 3), (std::vector<GLint>{0xE0, 0x1C, 0x03}));
}

// ---------------------------------------------------------------------------
// Compressed images as packed words.

struct CompressedCommand {
  const char *command;
  std::size_t size_index, data_index;
  void (*call)(GLsizei image_size, const GLint *words, GLint count);
};

const GLsizei kW = 4, kH = 4, kD = 1;
const GLuint kTexture = 5;
const GLenum kFormat = 0x83F0;  // GL_COMPRESSED_RGB_S3TC_DXT1_EXT

const CompressedCommand kCompressedCommands[] = {
    {"glCompressedTexImage1D", 5, 6,
     [](GLsizei z, const GLint *d, GLint n) { fglCompressedTexImage1DP(&kTex1D, &kLevel, &kFormat, &kW, &kBorder, &z, d, &n); }},
    {"glCompressedTexImage2D", 6, 7,
     [](GLsizei z, const GLint *d, GLint n) {
       fglCompressedTexImage2DP(&kTex2D, &kLevel, &kFormat, &kW, &kH, &kBorder, &z, d, &n);
     }},
    {"glCompressedTexImage3D", 7, 8,
     [](GLsizei z, const GLint *d, GLint n) {
       fglCompressedTexImage3DP(&kTex3D, &kLevel, &kFormat, &kW, &kH, &kD, &kBorder, &z, d, &n);
     }},
    {"glCompressedTexSubImage1D", 5, 6,
     [](GLsizei z, const GLint *d, GLint n) { fglCompressedTexSubImage1DP(&kTex1D, &kLevel, &kOffset, &kW, &kFormat, &z, d, &n); }},
    {"glCompressedTexSubImage2D", 7, 8,
     [](GLsizei z, const GLint *d, GLint n) {
       fglCompressedTexSubImage2DP(&kTex2D, &kLevel, &kOffset, &kOffset, &kW, &kH, &kFormat, &z, d, &n);
     }},
    {"glCompressedTexSubImage3D", 9, 10,
     [](GLsizei z, const GLint *d, GLint n) {
       fglCompressedTexSubImage3DP(&kTex3D, &kLevel, &kOffset, &kOffset, &kOffset, &kW, &kH, &kD, &kFormat, &z, d,
                                   &n);
     }},
    // The direct-state-access twins: a named texture in place of the target.
    {"glCompressedTextureSubImage1D", 5, 6,
     [](GLsizei z, const GLint *d, GLint n) {
       fglCompressedTextureSubImage1DP(&kTexture, &kLevel, &kOffset, &kW, &kFormat, &z, d, &n);
     }},
    {"glCompressedTextureSubImage2D", 7, 8,
     [](GLsizei z, const GLint *d, GLint n) {
       fglCompressedTextureSubImage2DP(&kTexture, &kLevel, &kOffset, &kOffset, &kW, &kH, &kFormat, &z, d, &n);
     }},
    {"glCompressedTextureSubImage3D", 9, 10,
     [](GLsizei z, const GLint *d, GLint n) {
       fglCompressedTextureSubImage3DP(&kTexture, &kLevel, &kOffset, &kOffset, &kOffset, &kW, &kH, &kD, &kFormat, &z,
                                       d, &n);
     }},
};

class CompressedEntries : public RecorderTest {};

TEST_F(CompressedEntries, ImageSizeBytesFromTheLowBytesOfTheWordsZeroPastTheCount) {
  struct Case {
    GLsizei image_size;
    std::vector<GLint> words;
    Bytes expected;
  };
  const Case cases[] = {
      {4, {0x141, 0xFF, -1, 0x80}, {0x41, 0xFF, 0xFF, 0x80}},
      {6, {1, 2}, {1, 2, 0, 0, 0, 0}},  // fewer words than the image has bytes
      {2, {1, 2, 3, 4}, {1, 2}},        // more words than bytes: all read, two sent
      {0, {}, {}},
  };
  for (const CompressedCommand &command : kCompressedCommands) {
    for (const Case &c : cases) {
      SCOPED_TRACE(std::string(command.command) + " size " + std::to_string(c.image_size));
      restart();
      auto words = exact(c.words);
      reads(command.command, command.data_index, static_cast<std::size_t>(c.image_size));
      command.call(c.image_size, words.get(), static_cast<GLint>(c.words.size()));
      const auto calls = calls_of(command.command);
      ASSERT_EQ(calls.size(), 1u);
      EXPECT_EQ(calls[0].args[command.size_index].as<GLsizei>(), c.image_size);
      EXPECT_EQ(received, c.expected);
      EXPECT_EQ(contents(words.get(), c.words.size()), c.words);
    }
  }
}

TEST_F(CompressedEntries, NegativeSizeOrCountReadsNothingAndFailedTemporaryCallsNothing) {
  for (const CompressedCommand &command : kCompressedCommands) {
    SCOPED_TRACE(command.command);
    restart();
    command.call(-4, nullptr, -2);
    ASSERT_EQ(calls_of(command.command).size(), 1u);
    EXPECT_EQ(calls_of(command.command)[0].args[command.size_index].as<GLsizei>(), -4);

    restart();
    auto words = exact<GLint>({1, 2, 3, 4, 5, 6, 7, 8});
    fail_next_calloc();
    command.call(8, words.get(), 8);
    EXPECT_FALSE(calloc_failure_pending());
    EXPECT_TRUE(calls_of(command.command).empty());
  }
}

// The compressed read-backs: of a bound target's level, and of a named
// texture's (told the count's bytes as its bufSize).
struct CompressedGet {
  const char *command, *level_query;
  std::size_t data_index, bufsize_index;  // bufsize_index 0: none
  void (*call)(GLint *words, const GLint *count);
};

const CompressedGet kCompressedGets[] = {
    {"glGetCompressedTexImage", "glGetTexLevelParameteriv", 2, 0,
     [](GLint *w, const GLint *n) { fglGetCompressedTexImageP(&kTex2D, &kLevel, w, n); }},
    {"glGetCompressedTextureImage", "glGetTextureLevelParameteriv", 3, 2,
     [](GLint *w, const GLint *n) { fglGetCompressedTextureImageP(&kTexture, &kLevel, w, n); }},
};

class CompressedReadBack : public RecorderTest {
 protected:
  // A level that is compressed (or not) with the given image size.
  void level(const CompressedGet &get, bool compressed, GLint image_size) {
    gl_recorder::set_hook(get.level_query, [=](const gl_recorder::Call &c) {
      const GLenum pname = c.args[2].as<GLenum>();
      GLint v = pname == GL_TEXTURE_COMPRESSED ? compressed : pname == GL_TEXTURE_COMPRESSED_IMAGE_SIZE ? image_size : 0;
      *static_cast<GLint *>(const_cast<void *>(c.args[3].address())) = v;
      return std::uint64_t{0};
    });
  }
};

TEST_F(CompressedReadBack, WordsReceiveTheBytesOfTheWholeImageSizedByTheQuery) {
  for (const CompressedGet &get : kCompressedGets) {
    restart();
    level(get, true, 8);
    writes(get.command, get.data_index, bytes_of<GLubyte>({0x80, 1, 2, 3, 4, 5, 6, 0xFF}));
    for (GLint count : {8, 3, 10}) {
      SCOPED_TRACE(std::string(get.command) + " " + std::to_string(count));
      auto words = filled<GLint>(count, -7);
      get.call(words.get(), &count);
      std::vector<GLint> want = {0x80, 1, 2, 3, 4, 5, 6, 0xFF, -7, -7};  // words past the image are kept
      want.resize(count);
      EXPECT_EQ(contents(words.get(), count), want);
      if (get.bufsize_index) {
        EXPECT_EQ(calls_of(get.command).back().args[get.bufsize_index].as<GLsizei>(), count);
      }
    }
    bool asked_size = false;
    for (const auto &q : calls_of(get.level_query))
      asked_size |= q.args[2].as<GLenum>() == GL_TEXTURE_COMPRESSED_IMAGE_SIZE;
    EXPECT_TRUE(asked_size);
  }
}

TEST_F(CompressedReadBack, AnUncompressedLevelIsNotAskedItsSizeAndLeavesTheWords) {
  for (const CompressedGet &get : kCompressedGets) {
    SCOPED_TRACE(get.command);
    restart();
    level(get, false, 0);
    const GLint count = 2;
    auto words = filled<GLint>(2, -7);
    get.call(words.get(), &count);
    EXPECT_EQ(calls_of(get.command).size(), 1u);
    EXPECT_EQ(contents(words.get(), 2), (std::vector<GLint>{-7, -7}));
    for (const auto &q : calls_of(get.level_query))
      EXPECT_NE(q.args[2].as<GLenum>(), GLenum{GL_TEXTURE_COMPRESSED_IMAGE_SIZE});
  }
}

TEST_F(CompressedReadBack, NoTemporaryMeansNoCallAndUntouchedWords) {
  for (const CompressedGet &get : kCompressedGets) {
    SCOPED_TRACE(get.command);
    restart();
    level(get, true, 4);
    const GLint count = 4;
    auto words = filled<GLint>(4, 9);
    fail_next_calloc();
    get.call(words.get(), &count);
    EXPECT_FALSE(calloc_failure_pending());
    EXPECT_TRUE(calls_of(get.command).empty());
    EXPECT_EQ(contents(words.get(), 4), std::vector<GLint>(4, 9));
  }
}

// ---------------------------------------------------------------------------
// Indices from INTEGER*4.

struct IndexRow {
  GLenum type;
  std::vector<GLint> elements;
  Bytes expected;  // empty: the caller's array goes unchanged
};

const IndexRow kIndexRows[] = {
    {GL_UNSIGNED_BYTE, {1, 0x1FF, 300}, bytes_of<GLubyte>({1, 0xFF, 44})},
    {GL_UNSIGNED_SHORT, {1, 70000, -1}, bytes_of<GLushort>({1, 4464, 0xFFFF})},
    {GL_UNSIGNED_INT, {1, 70000, -1}, {}},
    {GL_FLOAT, {1, 2, 3}, {}},  // rejected by OpenGL without reading
};

class IndexEntries : public RecorderTest {};

TEST_F(IndexEntries, ElementsNarrowedToTheTypeInBothEntries) {
  for (const IndexRow &row : kIndexRows) {
    for (bool range : {false, true}) {
      SCOPED_TRACE(std::to_string(row.type) + (range ? " range" : ""));
      restart();
      const auto indices = exact(row.elements);
      const GLenum mode = GL_TRIANGLES;
      const GLsizei count = 3;
      const GLuint start = 1, end = 70000;
      const char *command = range ? "glDrawRangeElements" : "glDrawElements";
      const std::size_t at = range ? 5 : 3;
      if (!row.expected.empty()) reads(command, at, row.expected.size());
      if (range) {
        fglDrawRangeElementsI4(&mode, &start, &end, &count, &row.type, indices.get());
      } else {
        fglDrawElementsI4(&mode, &count, &row.type, indices.get());
      }
      const auto calls = calls_of(command);
      ASSERT_EQ(calls.size(), 1u);
      EXPECT_EQ(calls[0].args[0].as<GLenum>(), GLenum{GL_TRIANGLES});
      EXPECT_EQ(calls[0].args[at - 2].as<GLsizei>(), 3);
      EXPECT_EQ(calls[0].args[at - 1].as<GLenum>(), row.type);
      if (range) {
        EXPECT_EQ(calls[0].args[1].as<GLuint>(), 1u);
        EXPECT_EQ(calls[0].args[2].as<GLuint>(), 70000u);
      }
      if (row.expected.empty()) {
        EXPECT_EQ(calls[0].args[at].address(), indices.get());
      } else {
        EXPECT_EQ(received, row.expected);
      }
    }
  }
}

TEST_F(IndexEntries, NegativeCountReadsNothingFailedTemporaryCallsNothing) {
  const GLenum mode = GL_POINTS, type = GL_UNSIGNED_SHORT;
  const GLsizei negative = -1, two = 2;
  fglDrawElementsI4(&mode, &negative, &type, nullptr);
  ASSERT_EQ(calls_of("glDrawElements").size(), 1u);
  EXPECT_EQ(calls_of("glDrawElements")[0].args[1].as<GLsizei>(), -1);

  restart();
  const auto indices = exact<GLint>({1, 2});
  fail_next_calloc();
  fglDrawElementsI4(&mode, &two, &type, indices.get());
  const GLuint lo = 0, hi = 2;
  fail_next_calloc();
  fglDrawRangeElementsI4(&mode, &lo, &hi, &two, &type, indices.get());
  EXPECT_FALSE(calloc_failure_pending());
  EXPECT_TRUE(calls_of("glDrawElements").empty());
  EXPECT_TRUE(calls_of("glDrawRangeElements").empty());
}

// ---------------------------------------------------------------------------
// Texture residency in INTEGER*4.

class ResidencyEntry : public RecorderTest {};

TEST_F(ResidencyEntry, AllResidentGivesOneInEveryFlag) {
  gl_recorder::set_result("glAreTexturesResident", GL_TRUE);
  const GLsizei n = 3;
  const auto names = exact<GLuint>({4, 5, 6});
  auto flags = filled<GLint>(3, -7);
  EXPECT_EQ(fglAreTexturesResidentI4(&n, names.get(), flags.get()), 1);
  EXPECT_EQ(contents(flags.get(), 3), std::vector<GLint>(3, 1));
  const auto calls = calls_of("glAreTexturesResident");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args[1].address(), names.get());  // the names pass unchanged
}

TEST_F(ResidencyEntry, OtherwiseEachFlagAsOpenGLWroteIt) {
  gl_recorder::set_hook("glAreTexturesResident", [](const gl_recorder::Call &c) {
    auto *out = static_cast<GLboolean *>(const_cast<void *>(c.args[2].address()));
    out[0] = GL_TRUE;
    out[1] = GL_FALSE;
    out[2] = GL_TRUE;
    return std::uint64_t{0x100};  // GL_FALSE in the low byte, high bits set
  });
  const GLsizei n = 3;
  const auto names = exact<GLuint>({4, 5, 6});
  auto flags = filled<GLint>(3, -7);
  EXPECT_EQ(fglAreTexturesResidentI4(&n, names.get(), flags.get()), 0);
  EXPECT_EQ(contents(flags.get(), 3), (std::vector<GLint>{1, 0, 1}));
}

TEST_F(ResidencyEntry, ErrorsLeaveTheFlagsNegativeCountWritesNothingFailedTemporaryCallsNothing) {
  const GLsizei n = 2, negative = -1;
  const auto names = exact<GLuint>({4, 5});
  auto flags = filled<GLint>(2, -7);
  EXPECT_EQ(fglAreTexturesResidentI4(&n, names.get(), flags.get()), 0);  // OpenGL wrote nothing
  EXPECT_EQ(contents(flags.get(), 2), (std::vector<GLint>{-7, -7}));
  EXPECT_EQ(fglAreTexturesResidentI4(&negative, names.get(), nullptr), 0);
  EXPECT_EQ(calls_of("glAreTexturesResident").size(), 2u);

  restart();
  auto kept = filled<GLint>(2, -7);
  fail_next_calloc();
  EXPECT_EQ(fglAreTexturesResidentI4(&n, names.get(), kept.get()), 0);
  EXPECT_FALSE(calloc_failure_pending());
  EXPECT_TRUE(calls_of("glAreTexturesResident").empty());
  EXPECT_EQ(contents(kept.get(), 2), std::vector<GLint>(2, -7));
}

// ---------------------------------------------------------------------------
// Multitexture coordinates from INTEGER*4 vectors.

class MultiTexCoordVectors : public RecorderTest {};

TEST_F(MultiTexCoordVectors, TheUnitAndTheLow16BitsOfKElements) {
  struct Row {
    const char *command;
    void (*call)(const GLenum *, const GLint *);
    std::size_t k;
  };
  const Row rows[] = {
      {"glMultiTexCoord1sv", fglMultiTexCoord1svI4, 1},
      {"glMultiTexCoord2sv", fglMultiTexCoord2svI4, 2},
      {"glMultiTexCoord3sv", fglMultiTexCoord3svI4, 3},
      {"glMultiTexCoord4sv", fglMultiTexCoord4svI4, 4},
  };
  const std::vector<GLint> all = {70000, -1, 0x12345, -70000};
  const Bytes low = bytes_of<GLshort>({4464, -1, 0x2345, -4464});
  for (const Row &row : rows) {
    SCOPED_TRACE(row.command);
    restart();
    const auto v = exact(std::vector<GLint>(all.begin(), all.begin() + static_cast<long>(row.k)));
    const GLenum unit = GL_TEXTURE1;
    reads(row.command, 1, 2 * row.k);
    row.call(&unit, v.get());
    const auto calls = calls_of(row.command);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args[0].as<GLenum>(), GLenum{GL_TEXTURE1});
    EXPECT_EQ(received, Bytes(low.begin(), low.begin() + static_cast<long>(2 * row.k)));
  }
}

}  // namespace
}  // namespace repacking_test
