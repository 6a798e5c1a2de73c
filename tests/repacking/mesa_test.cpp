// The repacking entries against real OpenGL (Mesa) in a freeglut window on a
// virtual X server: data goes in through one entry and comes back through
// another, list names run real display lists, and the queries answer what
// Mesa answers. OpenGL's error flag must stay clear throughout, so the
// entries' own size queries never disturb it.
#include "fgl.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWindow = 64;

// ---------------------------------------------------------------------------
// Pixel round trips: a 4 x 2 RGB block drawn at the window's origin and read
// back, for each storage and each type.

enum class Storage { I4, I2, P };
constexpr GLsizei kW = 4, kH = 2;
constexpr std::size_t kValues = kW * kH * 3;

struct TypeCase {
  const char *name;
  GLenum type;
  std::size_t width;  // bytes per value in OpenGL's layout
  double tolerance;   // the 8-bit colour buffer quantises some types
  double (*value)(std::size_t i);
};

const TypeCase kTypes[] = {
    {"unsigned byte", GL_UNSIGNED_BYTE, 1, 0, [](std::size_t i) { return double((i * 37 + 5) % 256); }},
    {"byte", GL_BYTE, 1, 1, [](std::size_t i) { return double(i * 5 % 128); }},
    {"short", GL_SHORT, 2, 65, [](std::size_t i) { return double(i * 1361 % 32768); }},
    {"unsigned short", GL_UNSIGNED_SHORT, 2, 0, [](std::size_t i) { return double((i * 37 + 5) % 256 * 257); }},
    {"float", GL_FLOAT, 4, 1e-6, [](std::size_t i) { return double(float((i * 37 + 5) % 256) / 255.0f); }},
};

// The values in OpenGL's own layout for the type.
std::vector<unsigned char> gl_layout(const TypeCase &t, const std::vector<double> &values) {
  std::vector<unsigned char> raw(values.size() * t.width);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const double v = values[i];
    unsigned char *at = raw.data() + i * t.width;
    switch (t.type) {
      case GL_UNSIGNED_BYTE: *at = static_cast<GLubyte>(v); break;
      case GL_BYTE: *at = static_cast<unsigned char>(static_cast<GLbyte>(v)); break;
      case GL_SHORT: { const GLshort s = static_cast<GLshort>(v); std::memcpy(at, &s, 2); break; }
      case GL_UNSIGNED_SHORT: { const GLushort s = static_cast<GLushort>(v); std::memcpy(at, &s, 2); break; }
      default: { const GLfloat f = static_cast<GLfloat>(v); std::memcpy(at, &f, 4); break; }
    }
  }
  return raw;
}

// The caller's data for a storage: one value per 4- or 2-byte element where
// the storage holds integers of the type (2-byte elements hold floats by
// value); the raw layout in 4-byte elements for floats; one byte of the
// layout per word for packed storage.
struct CallerData {
  std::vector<GLint> wide;
  std::vector<GLshort> narrow;
  GLint count = 0;
};

CallerData encode(Storage s, const TypeCase &t, const std::vector<double> &values) {
  CallerData d;
  const auto raw = gl_layout(t, values);
  if (s == Storage::P) {
    d.wide.assign(raw.begin(), raw.end());
  } else if ((s == Storage::I4 && t.type == GL_FLOAT) || (s == Storage::I2 && t.width == 2)) {
    // The unchanged paths: the caller's storage holds OpenGL's layout.
    if (s == Storage::I4) {
      d.wide.resize(raw.size() / 4);
      std::memcpy(d.wide.data(), raw.data(), raw.size());
    } else {
      d.narrow.resize(raw.size() / 2);
      std::memcpy(d.narrow.data(), raw.data(), raw.size());
    }
  } else if (s == Storage::I4) {
    for (double v : values) d.wide.push_back(static_cast<GLint>(v));
  } else {
    for (double v : values) d.narrow.push_back(static_cast<GLshort>(v));
  }
  d.count = static_cast<GLint>(s == Storage::P ? raw.size() : values.size());
  return d;
}

// What the caller received, read back into values of the type.
std::vector<double> decode(Storage s, const TypeCase &t, const CallerData &d) {
  std::vector<double> out;
  if (s == Storage::P) {
    std::vector<unsigned char> raw;
    for (GLint w : d.wide) {
      EXPECT_EQ(w & ~0xFF, 0) << "upper bytes of a packed word";
      raw.push_back(static_cast<unsigned char>(w));
    }
    for (std::size_t i = 0; i < kValues; ++i) {
      const unsigned char *at = raw.data() + i * t.width;
      switch (t.type) {
        case GL_UNSIGNED_BYTE: out.push_back(*at); break;
        case GL_BYTE: out.push_back(static_cast<GLbyte>(*at)); break;
        case GL_SHORT: { GLshort v; std::memcpy(&v, at, 2); out.push_back(v); break; }
        case GL_UNSIGNED_SHORT: { GLushort v; std::memcpy(&v, at, 2); out.push_back(v); break; }
        default: { GLfloat v; std::memcpy(&v, at, 4); out.push_back(v); break; }
      }
    }
  } else if (s == Storage::I4 && t.type == GL_FLOAT) {
    std::vector<GLfloat> f(kValues);
    std::memcpy(f.data(), d.wide.data(), 4 * kValues);
    out.assign(f.begin(), f.end());
  } else if (s == Storage::I2 && t.type == GL_UNSIGNED_SHORT) {
    for (GLshort v : d.narrow) out.push_back(static_cast<GLushort>(v));  // OpenGL's own layout
  } else if (s == Storage::I4) {
    out.assign(d.wide.begin(), d.wide.end());  // sign- or zero-extended by the entry
  } else {
    out.assign(d.narrow.begin(), d.narrow.end());
  }
  return out;
}

void draw(Storage s, GLenum type, const CallerData &d) {
  const GLsizei w = kW, h = kH;
  const GLenum format = GL_RGB;
  // Exact-size heap copies, so that one element too many is caught.
  if (s == Storage::I2) {
    auto p = std::make_unique<GLshort[]>(d.narrow.size());
    std::copy(d.narrow.begin(), d.narrow.end(), p.get());
    fglDrawPixelsI2(&w, &h, &format, &type, p.get(), &d.count);
  } else {
    auto p = std::make_unique<GLint[]>(d.wide.size());
    std::copy(d.wide.begin(), d.wide.end(), p.get());
    (s == Storage::I4 ? fglDrawPixelsI4 : fglDrawPixelsP)(&w, &h, &format, &type, p.get(), &d.count);
  }
}

CallerData read(Storage s, GLenum type, const CallerData &shape) {
  const GLint x = 0, y = 0;
  const GLsizei w = kW, h = kH;
  const GLenum format = GL_RGB;
  CallerData d = shape;
  if (s == Storage::I2) {
    auto p = std::make_unique<GLshort[]>(d.narrow.size());
    fglReadPixelsI2(&x, &y, &w, &h, &format, &type, p.get(), &d.count);
    d.narrow.assign(p.get(), p.get() + d.narrow.size());
  } else {
    auto p = std::make_unique<GLint[]>(d.wide.size());
    (s == Storage::I4 ? fglReadPixelsI4 : fglReadPixelsP)(&x, &y, &w, &h, &format, &type, p.get(), &d.count);
    d.wide.assign(p.get(), p.get() + d.wide.size());
  }
  return d;
}

class MesaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    glViewport(0, 0, kWindow, kWindow);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kWindow, 0, kWindow, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DITHER);
    glRasterPos2i(0, 0);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_EQ(fglGetError(), GLenum{GL_NO_ERROR});
  }
  void TearDown() override { EXPECT_EQ(fglGetError(), GLenum{GL_NO_ERROR}); }
};

class PixelRoundTrip : public MesaTest {};

TEST_F(PixelRoundTrip, DrawThenReadForEveryStorageAndType) {
  for (Storage s : {Storage::I4, Storage::I2, Storage::P}) {
    for (const TypeCase &t : kTypes) {
      SCOPED_TRACE(std::string(s == Storage::I4 ? "I4 " : s == Storage::I2 ? "I2 " : "P ") + t.name);
      glClear(GL_COLOR_BUFFER_BIT);
      std::vector<double> values(kValues);
      for (std::size_t i = 0; i < kValues; ++i) values[i] = t.value(i);
      // Floats from 2-byte elements are whole values: 0 and 1 are colours.
      if (s == Storage::I2 && t.type == GL_FLOAT)
        for (std::size_t i = 0; i < kValues; ++i) values[i] = double(i % 2);
      const CallerData sent = encode(s, t, values);
      draw(s, t.type, sent);
      const std::vector<double> got = decode(s, t, read(s, t.type, sent));
      ASSERT_EQ(got.size(), kValues);
      for (std::size_t i = 0; i < kValues; ++i) EXPECT_NEAR(got[i], values[i], t.tolerance) << "value " << i;
      EXPECT_EQ(fglGetError(), GLenum{GL_NO_ERROR});
    }
  }
}

TEST_F(PixelRoundTrip, PaddedRowsUnderTheDefaultAlignment) {
  // Three RGB pixels per row: 9 bytes, padded to 12 by GL_UNPACK_ALIGNMENT 4.
  // The caller holds the padding as elements of its own.
  const GLsizei w = 3, h = 2;
  const GLenum f = GL_RGB, t = GL_UNSIGNED_BYTE;
  const GLint count = 21;
  auto in = std::make_unique<GLint[]>(21);
  for (int i = 0; i < 21; ++i) in[i] = 200 + i;
  fglDrawPixelsI4(&w, &h, &f, &t, in.get(), &count);
  const GLint x = 0, y = 0;
  auto out = std::make_unique<GLint[]>(21);
  fglReadPixelsI4(&x, &y, &w, &h, &f, &t, out.get(), &count);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(out[i], 200 + i);
    EXPECT_EQ(out[12 + i], 212 + i);
  }
}

// Reading a red window in tiles into one array: each read leaves the
// elements OpenGL skips (the pixels before GL_PACK_SKIP_PIXELS, the rest of
// the row up to GL_PACK_ROW_LENGTH) as they were, in every storage.
class ReadBackInPlace : public MesaTest {
 protected:
  void SetUp() override {
    MesaTest::SetUp();
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glPixelStorei(GL_PACK_ROW_LENGTH, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
  }
  void TearDown() override {
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    MesaTest::TearDown();
  }
  // fglReadPixels of a 2 x 2 block of GL_RED at (x, 0) into `img` with the
  // given skip and count, in the storage S.
  template <typename Elem>
  static void read(Storage s, GLint x, GLint skip, GLenum type, Elem *img, GLint count) {
    glPixelStorei(GL_PACK_SKIP_PIXELS, skip);
    const GLint y = 0;
    const GLsizei w = 2, h = 2;
    const GLenum f = GL_RED;
    if constexpr (sizeof(Elem) == 2) {
      fglReadPixelsI2(&x, &y, &w, &h, &f, &type, img, &count);
    } else {
      (s == Storage::I4 ? fglReadPixelsI4 : fglReadPixelsP)(&x, &y, &w, &h, &f, &type, img, &count);
    }
  }
};

TEST_F(ReadBackInPlace, TilesFillOneArrayAndSkippedElementsKeepTheirValues) {
  for (Storage s : {Storage::I4, Storage::I2, Storage::P}) {
    SCOPED_TRACE(s == Storage::I4 ? "I4" : s == Storage::I2 ? "I2" : "P");
    std::vector<GLint> wide(8, -5);
    std::vector<GLshort> narrow(8, -5);
    auto values = [&] {
      std::vector<GLint> v(8);
      for (int i = 0; i < 8; ++i) v[i] = s == Storage::I2 ? narrow[i] : wide[i];
      return v;
    };
    auto read = [&](GLint x, GLint skip, GLint count) {
      if (s == Storage::I2) {
        ReadBackInPlace::read(s, x, skip, GL_UNSIGNED_BYTE, narrow.data(), count);
      } else {
        ReadBackInPlace::read(s, x, skip, GL_UNSIGNED_BYTE, wide.data(), count);
      }
    };
    // One read with skip 2 and a count of 3: -5 -5 255 -5 (row 1 lies past
    // the count).
    read(2, 2, 3);
    EXPECT_EQ(values(), (std::vector<GLint>{-5, -5, 255, -5, -5, -5, -5, -5}));
    // The two tiles of IMG(4,2): every element 255.
    read(0, 0, 6);
    read(2, 2, 8);
    EXPECT_EQ(values(), std::vector<GLint>(8, 255));
    EXPECT_EQ(fglGetError(), GLenum{GL_NO_ERROR});
  }
}

TEST_F(ReadBackInPlace, SameWidthStorageStopsAtTheCount) {
  // INTEGER*2 B2(2) then GUARD(4): GL_RGB shorts of one pixel need 3.
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  GLshort b2[6] = {-5, -5, -5, -5, -5, -5};
  const GLint x = 0, y = 0, two = 2;
  const GLsizei one = 1;
  const GLenum rgb = GL_RGB, ushort = GL_UNSIGNED_SHORT;
  fglReadPixelsI2(&x, &y, &one, &one, &rgb, &ushort, b2, &two);
  EXPECT_EQ(b2[0], -1);  // red: 65535
  EXPECT_EQ(b2[1], 0);
  for (int i = 2; i < 6; ++i) EXPECT_EQ(b2[i], -5) << i;
  // INTEGER*4 with GL_UNSIGNED_INT, skip 2 into a row of 4: -5 -5 V -5.
  std::vector<GLint> img(8, -5);
  ReadBackInPlace::read(Storage::I4, 0, 2, GL_UNSIGNED_INT, img.data(), 3);
  EXPECT_EQ(img, (std::vector<GLint>{-5, -5, -1, -5, -5, -5, -5, -5}));
  glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
  // A texture of one RGB pixel from INTEGER*2 storage with a count of 1:
  // the texel is (IMG2(1), 0, 0), not the elements after it.
  const GLenum target = GL_TEXTURE_2D;
  const GLint level = 0, internal = GL_RGB16, border = 0, count = 1, three = 3;
  GLshort texel[4] = {-1, -1, -1, -1};
  fglTexImage2DI2(&target, &level, &internal, &one, &one, &border, &rgb, &ushort, texel, &count);
  GLshort back[3] = {7, 7, 7};
  fglGetTexImageI2(&target, &level, &rgb, &ushort, back, &three);
  EXPECT_EQ(back[0], -1);
  EXPECT_EQ(back[1], 0);
  EXPECT_EQ(back[2], 0);
  // A proxy image with a count of 0: no data, no error.
  const GLenum proxy = GL_PROXY_TEXTURE_2D;
  const GLsizei size = 2048;
  const GLint none = 0, rgba8 = GL_RGBA8;
  const GLenum rgba = GL_RGBA, ubyte = GL_UNSIGNED_BYTE;
  fglTexImage2DI4(&proxy, &level, &rgba8, &size, &size, &border, &rgba, &ubyte, nullptr, &none);
  EXPECT_EQ(fglGetError(), GLenum{GL_NO_ERROR});
}

class TextureRoundTrip : public MesaTest {};

TEST_F(TextureRoundTrip, TexImage2DI4ThenGetTexImageI2) {
  const GLenum target = GL_TEXTURE_2D, f = GL_RGBA, t = GL_UNSIGNED_BYTE;
  const GLint level = 0, internal = GL_RGBA8, border = 0, count = 64;
  const GLsizei w = 4, h = 4;
  auto in = std::make_unique<GLint[]>(64);
  for (int i = 0; i < 64; ++i) in[i] = 0x1200 + (i * 29 + 3) % 256;  // high bits to drop
  fglTexImage2DI4(&target, &level, &internal, &w, &h, &border, &f, &t, in.get(), &count);
  auto out = std::make_unique<GLshort[]>(64);
  fglGetTexImageI2(&target, &level, &f, &t, out.get(), &count);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(out[i], (i * 29 + 3) % 256) << i;

  // Fewer elements than the level holds: OpenGL still writes the whole
  // level, into the entry's temporary; the caller gets its five.
  const GLint five = 5;
  auto few = std::make_unique<GLint[]>(5);
  fglGetTexImageP(&target, &level, &f, &t, few.get(), &five);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(few[i], (i * 29 + 3) % 256) << i;
}

TEST_F(TextureRoundTrip, TexImage1DPThenGetTexImageI4) {
  const GLenum target = GL_TEXTURE_1D, f = GL_LUMINANCE, t = GL_UNSIGNED_BYTE, back = GL_BYTE;
  const GLint level = 0, internal = GL_LUMINANCE8, border = 0, count = 8;
  const GLsizei w = 8;
  auto in = std::make_unique<GLint[]>(8);
  for (int i = 0; i < 8; ++i) in[i] = 0x100 + i * 36;
  fglTexImage1DP(&target, &level, &internal, &w, &border, &f, &t, in.get(), &count);
  auto out = std::make_unique<GLint[]>(8);
  fglGetTexImageI4(&target, &level, &f, &back, out.get(), &count);
  for (int i = 0; i < 8; ++i) EXPECT_NEAR(out[i], i * 36 / 2, 1) << i;  // 0..252 as signed bytes 0..127
}

class StippleAndMaps : public MesaTest {};

TEST_F(StippleAndMaps, PolygonStippleI4ThenGetPolygonStippleI4) {
  auto in = std::make_unique<GLint[]>(128);
  for (int i = 0; i < 128; ++i) in[i] = -256 + (i * 53 + 7) % 256;  // low byte is the pattern
  fglPolygonStippleI4(in.get());
  const GLint count = 128;
  auto out = std::make_unique<GLint[]>(128);
  fglGetPolygonStippleI4(out.get(), &count);
  for (int i = 0; i < 128; ++i) EXPECT_EQ(out[i], (i * 53 + 7) % 256) << i;

  auto out2 = std::make_unique<GLshort[]>(3);
  const GLint three = 3;
  fglGetPolygonStippleI2(out2.get(), &three);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(out2[i], (i * 53 + 7) % 256) << i;
}

TEST_F(StippleAndMaps, PixelMapusvI4ThenGetPixelMapusvI4) {
  const GLenum map = GL_PIXEL_MAP_I_TO_I;
  const GLsizei eight = 8;
  auto in = std::make_unique<GLint[]>(8);
  for (int i = 0; i < 8; ++i) in[i] = 0x30000 + i * 1000;
  in[1] = 65535;
  fglPixelMapusvI4(&map, &eight, in.get());
  GLint size = 0;
  glGetIntegerv(GL_PIXEL_MAP_I_TO_I_SIZE, &size);
  EXPECT_EQ(size, 8);
  auto out = std::make_unique<GLint[]>(4);
  fglGetPixelMapusvI4(&map, out.get());
  EXPECT_EQ(std::vector<GLint>(out.get(), out.get() + 4), (std::vector<GLint>{0, 65535, 2000, 3000}));

  // A map of two entries: the last two elements keep their values.
  const GLsizei two = 2;
  fglPixelMapusvI4(&map, &two, in.get());
  out[2] = out[3] = -5;
  fglGetPixelMapusvI4(&map, out.get());
  EXPECT_EQ(std::vector<GLint>(out.get(), out.get() + 4), (std::vector<GLint>{0, 65535, -5, -5}));

  const GLsizei one = 1;
  const GLint identity = 0;
  fglPixelMapusvI4(&map, &one, &identity);  // back to OpenGL's initial map
}

// ---------------------------------------------------------------------------
// Display lists: list base + k passes k through feedback, so the feedback
// buffer shows which lists ran and in which order.

class CallListsOnMesa : public MesaTest {
 protected:
  static constexpr GLsizei kLists = 600;
  void SetUp() override {
    MesaTest::SetUp();
    base = glGenLists(kLists);
    ASSERT_NE(base, 0u);
    for (GLsizei k = 0; k < kLists; ++k) {
      glNewList(base + k, GL_COMPILE);
      glPassThrough(static_cast<GLfloat>(k));
      glEndList();
    }
    glListBase(base);
  }
  void TearDown() override {
    glListBase(0);
    glDeleteLists(base, kLists);
    MesaTest::TearDown();
  }
  template <typename Call>
  std::vector<int> ran(Call call) {
    std::vector<GLfloat> buffer(256);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    call();
    const GLint n = glRenderMode(GL_RENDER);
    std::vector<int> out;
    for (GLint i = 0; i + 1 < n; i += 2) {
      EXPECT_EQ(buffer[i], static_cast<GLfloat>(GL_PASS_THROUGH_TOKEN));
      out.push_back(static_cast<int>(buffer[i + 1]));
    }
    return out;
  }
  GLuint base = 0;
};

TEST_F(CallListsOnMesa, NamesInEveryStorage) {
  struct Case {
    const char *name;
    int storage;  // 4, 2, or 0 for packed
    GLenum type;
    GLsizei n;
    std::vector<GLint> elements;
    std::vector<int> lists;
  };
  const Case cases[] = {
      {"I4 unsigned byte", 4, GL_UNSIGNED_BYTE, 3, {300, -1, 65}, {44, 255, 65}},
      {"I4 unsigned short", 4, GL_UNSIGNED_SHORT, 2, {65537, 599}, {1, 599}},
      {"I4 2 bytes", 4, GL_2_BYTES, 2, {1, 2, 0x101, 0x203}, {258, 259}},
      {"I4 int", 4, GL_INT, 2, {7, 300}, {7, 300}},
      {"I2 unsigned byte", 2, GL_UNSIGNED_BYTE, 3, {0x180, 0xFF, 0x7F00}, {128, 255, 0}},
      {"I2 3 bytes", 2, GL_3_BYTES, 1, {0, 1, 0x102}, {258}},
      {"I2 short", 2, GL_SHORT, 2, {5, 300}, {5, 300}},
      {"P unsigned byte", 0, GL_UNSIGNED_BYTE, 2, {72, 105}, {72, 105}},
      {"P 2 bytes", 0, GL_2_BYTES, 1, {0x102, 0x157}, {0x257}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const GLint count = static_cast<GLint>(c.elements.size());
    std::vector<int> got;
    if (c.storage == 2) {
      auto names = std::make_unique<GLshort[]>(c.elements.size());
      for (std::size_t i = 0; i < c.elements.size(); ++i) names[i] = static_cast<GLshort>(c.elements[i]);
      got = ran([&] { fglCallListsI2(&c.n, &c.type, names.get()); });
    } else {
      auto names = std::make_unique<GLint[]>(c.elements.size());
      std::copy(c.elements.begin(), c.elements.end(), names.get());
      got = c.storage == 4 ? ran([&] { fglCallListsI4(&c.n, &c.type, names.get()); })
                           : ran([&] { fglCallListsP(&c.n, &c.type, names.get(), &count); });
    }
    EXPECT_EQ(got, c.lists);
  }
}

// ---------------------------------------------------------------------------
// Queries.

class QueriesOnMesa : public MesaTest {};

TEST_F(QueriesOnMesa, GetStringIsWhatMesaReports) {
  for (GLenum name : {GLenum{GL_VERSION}, GLenum{GL_VENDOR}, GLenum{GL_RENDERER}}) {
    const std::string mesa = reinterpret_cast<const char *>(glGetString(name));
    const GLint length = fglGetString(&name);
    ASSERT_EQ(length, static_cast<GLint>(mesa.size()));
    auto words = std::make_unique<GLint[]>(static_cast<std::size_t>(length));
    fglGetStringCopy(words.get());
    std::string text;
    for (GLint i = 0; i < length; ++i) text.push_back(static_cast<char>(words[i]));
    EXPECT_EQ(text, mesa);
    fglGetStringRelease();
  }
}

TEST_F(QueriesOnMesa, GetBooleanvI4OfOneAndOfFourValues) {
  const GLenum depth = GL_DEPTH_TEST, mask = GL_COLOR_WRITEMASK;
  const GLint one = 1, four = 4;
  auto flag = std::make_unique<GLint[]>(1);
  glEnable(GL_DEPTH_TEST);
  fglGetBooleanvI4(&depth, flag.get(), &one);
  EXPECT_EQ(flag[0], 1);
  glDisable(GL_DEPTH_TEST);
  fglGetBooleanvI4(&depth, flag.get(), &one);
  EXPECT_EQ(flag[0], 0);

  auto masks = std::make_unique<GLint[]>(4);
  glColorMask(GL_TRUE, GL_FALSE, GL_TRUE, GL_FALSE);
  fglGetBooleanvI4(&mask, masks.get(), &four);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  EXPECT_EQ(std::vector<GLint>(masks.get(), masks.get() + 4), (std::vector<GLint>{1, 0, 1, 0}));

  // A 16-valued state into one element.
  const GLenum matrix = GL_MODELVIEW_MATRIX;
  fglGetBooleanvI4(&matrix, flag.get(), &one);
  EXPECT_EQ(flag[0], 1);
}

TEST_F(QueriesOnMesa, GetErrorReturnsMesasErrorOnce) {
  glEnable(0x1234);  // not a capability
  EXPECT_EQ(fglGetError(), GLenum{GL_INVALID_ENUM});
  EXPECT_EQ(fglGetError(), GLenum{GL_NO_ERROR});
}

bool displayed = false;

}  // namespace

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // listing needs no programs and no window
  int glut_argc = 1;
  char name[] = "repacking_mesa_test";
  char *glut_argv[] = {name, nullptr};
  glutInit(&glut_argc, glut_argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_SINGLE);
  glutInitWindowSize(kWindow, kWindow);
  const int window = glutCreateWindow("repacking");
  glutDisplayFunc([] { displayed = true; });
  // The window is usable once it has been exposed and displayed.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!displayed && std::chrono::steady_clock::now() < deadline) glutMainLoopEvent();
  if (!displayed) {
    std::fprintf(stderr, "the window was never displayed\n");
    return 1;
  }
  const int result = RUN_ALL_TESTS();
  glutDestroyWindow(window);
  glutExit();
  return result;
}
