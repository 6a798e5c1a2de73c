// Font-code map, state queries and shapes against freeglut's own answers and
// against pixels read back from a real Mesa context.
#include <gtest/gtest.h>  // before Xlib, whose None macro clashes with it

#include <GL/freeglut.h>
#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "fglut.h"
#include "xinput.h"

namespace {

std::vector<int> packed(const std::string &text) {
  std::vector<int> words;
  for (unsigned char c : text) words.push_back(static_cast<int>(0x100u | c));
  return words;
}

struct FontRow {
  int code;
  void *font;
  bool stroke;
};

const std::vector<FontRow> &fontTable() {
  static const std::vector<FontRow> rows = {
      {1, GLUT_STROKE_ROMAN, true},           {2, GLUT_STROKE_MONO_ROMAN, true},
      {3, GLUT_BITMAP_9_BY_15, false},        {4, GLUT_BITMAP_8_BY_13, false},
      {5, GLUT_BITMAP_TIMES_ROMAN_10, false}, {6, GLUT_BITMAP_TIMES_ROMAN_24, false},
      {7, GLUT_BITMAP_HELVETICA_10, false},   {8, GLUT_BITMAP_HELVETICA_12, false},
      {9, GLUT_BITMAP_HELVETICA_18, false},
  };
  return rows;
}

const std::string sample = "Wim, 42 jumps!";

// What one font answers: widths of every sample character and the length.
std::vector<int> glutAnswers(const FontRow &row) {
  std::vector<int> out;
  for (unsigned char c : sample) out.push_back(row.stroke ? glutStrokeWidth(row.font, c) : glutBitmapWidth(row.font, c));
  const auto *s = reinterpret_cast<const unsigned char *>(sample.c_str());
  out.push_back(row.stroke ? glutStrokeLength(row.font, s) : glutBitmapLength(row.font, s));
  return out;
}

std::vector<int> entryAnswers(int code, bool stroke) {
  std::vector<int> out;
  for (unsigned char c : sample) {
    const int character = c;
    out.push_back(stroke ? fglutStrokeWidth(&code, &character) : fglutBitmapWidth(&code, &character));
  }
  const std::vector<int> words = packed(sample);
  const int count = static_cast<int>(words.size());
  out.push_back(stroke ? fglutStrokeLength(&code, words.data(), &count) : fglutBitmapLength(&code, words.data(), &count));
  return out;
}

TEST(Fonts, CodesOneToNineMapToGlutsFontsInTableOrder) {
  fglutInit();
  std::set<std::vector<int>> distinct;
  for (const FontRow &row : fontTable()) {
    SCOPED_TRACE(row.code);
    const std::vector<int> expected = glutAnswers(row);
    EXPECT_EQ(entryAnswers(row.code, row.stroke), expected);
    distinct.insert(expected);
  }
  // Every font answers differently, so a swapped pair would be caught.
  EXPECT_EQ(distinct.size(), fontTable().size());
}

TEST(Fonts, OtherCodesMeanStrokeRoman) {
  fglutInit();
  const std::vector<int> roman = entryAnswers(1, true);
  EXPECT_EQ(roman, glutAnswers(fontTable()[0]));
  EXPECT_NE(roman, glutAnswers(fontTable()[1]));
  for (int code : {0, 10, -1, 12, 1 << 30}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(entryAnswers(code, true), roman);
  }
}

TEST(Fonts, EmptyPackedStringHasLengthZero) {
  fglutInit();
  const int code = 3, zero = 0;
  const int words[] = {'Q'};
  EXPECT_EQ(fglutBitmapLength(&code, words, &zero), glutBitmapLength(GLUT_BITMAP_9_BY_15, reinterpret_cast<const unsigned char *>("")));
  EXPECT_EQ(fglutBitmapLength(&code, words, &zero), 0);
}

TEST(Queries, WindowGeometryAndGlutStateMatchGlut) {
  xin::openWindow("queries", 30, 40, 210, 170);
  struct Query {
    int (*entry)(const int *);
    int (*glut)(GLenum);
    int what;
  };
  const std::vector<Query> queries = {
      {fglutGet, glutGet, GLUT_WINDOW_WIDTH},         {fglutGet, glutGet, GLUT_WINDOW_HEIGHT},
      {fglutGet, glutGet, GLUT_WINDOW_X},             {fglutGet, glutGet, GLUT_WINDOW_Y},
      {fglutGet, glutGet, GLUT_SCREEN_WIDTH},         {fglutGet, glutGet, GLUT_WINDOW_RGBA},
      {fglutDeviceGet, glutDeviceGet, GLUT_HAS_KEYBOARD}, {fglutDeviceGet, glutDeviceGet, GLUT_HAS_MOUSE},
      {fglutDeviceGet, glutDeviceGet, GLUT_NUM_MOUSE_BUTTONS},
      {fglutLayerGet, glutLayerGet, GLUT_OVERLAY_POSSIBLE}, {fglutLayerGet, glutLayerGet, GLUT_LAYER_IN_USE},
      {fglutVideoResizeGet, glutVideoResizeGet, GLUT_VIDEO_RESIZE_POSSIBLE},
      {fglutGameModeGet, glutGameModeGet, GLUT_GAME_MODE_ACTIVE},
  };
  for (const Query &q : queries) {
    SCOPED_TRACE(q.what);
    EXPECT_EQ(q.entry(&q.what), q.glut(static_cast<GLenum>(q.what)));
  }
  const int w = GLUT_WINDOW_WIDTH, h = GLUT_WINDOW_HEIGHT, x = GLUT_WINDOW_X, y = GLUT_WINDOW_Y;
  EXPECT_EQ(fglutGet(&w), 210);
  EXPECT_EQ(fglutGet(&h), 170);
  EXPECT_EQ(fglutGet(&x), 30);
  EXPECT_EQ(fglutGet(&y), 40);
  const int nx = 60, ny = 70;
  fglutPositionWindow(&nx, &ny);
  ASSERT_TRUE(xin::pumpUntil([&x] { return fglutGet(&x) == 60; }));
  EXPECT_EQ(fglutGet(&y), 70);
  EXPECT_EQ(fglutGetWindow(), glutGetWindow());
}

// freeglut has no colour-index windows here and answers -1 for every index
// and component; the arguments' order is checked against the recording
// stand-in (forwards_test.cpp). Here: the single arrives as a single.
TEST(Queries, GetColorReturnsASingle) {
  xin::openWindow("colour", 0, 0, 50, 50);
  static_assert(std::is_same_v<decltype(fglutGetColor(nullptr, nullptr)), float>);
  for (int component : {GLUT_RED, GLUT_GREEN, GLUT_BLUE}) {
    const int index = 3;
    EXPECT_EQ(fglutGetColor(&index, &component), -1.0f);
  }
}

TEST(Queries, ExtensionSupportedWithPackedName) {
  xin::openWindow("extensions", 0, 0, 50, 50);
  const std::string all = reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS));
  const std::string first = all.substr(0, all.find(' '));
  ASSERT_FALSE(first.empty());
  for (const std::string &name : {first, first.substr(0, first.size() - 1), std::string("GL_no_such_extension")}) {
    SCOPED_TRACE(name);
    const std::vector<int> words = packed(name);
    const int count = static_cast<int>(words.size());
    EXPECT_EQ(fglutExtensionSupported(words.data(), &count), glutExtensionSupported(name.c_str()));
  }
  const std::vector<int> words = packed(first);
  const int count = static_cast<int>(words.size());
  EXPECT_EQ(fglutExtensionSupported(words.data(), &count), 1);
}

// Draws with `draw` in red on white into a 100x100 back buffer spanning
// -extent..extent, and returns which pixels turned red.
std::vector<bool> redPixels(const std::function<void()> &draw, double extent = 1.0) {
  glViewport(0, 0, 100, 100);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-extent, extent, -extent, extent, -10, 10);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glColor3f(1, 0, 0);
  draw();
  glFinish();
  std::vector<unsigned char> rgb(100 * 100 * 3);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, 100, 100, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  std::vector<bool> red(100 * 100);
  for (int i = 0; i < 100 * 100; ++i) red[i] = rgb[3 * i] > 200 && rgb[3 * i + 1] < 50;
  return red;
}

int count(const std::vector<bool> &pixels) {
  int n = 0;
  for (bool p : pixels) n += p ? 1 : 0;
  return n;
}

void openDoubleBuffered() {
  fglutInit();
  const unsigned int mode = GLUT_RGBA | GLUT_DOUBLE;
  fglutInitDisplayMode(&mode);
  const int x = 0, y = 0, size = 100;
  fglutInitWindowPosition(&x, &y);
  fglutInitWindowSize(&size, &size);
  fglutCreateWindowC("shapes", 6);
  fglutDisplayFunc(nullptr);
}

TEST(Shapes, SolidAndWireShapesChangeThePixelsTheyShould) {
  openDoubleBuffered();
  const double half = 0.5, one = 1.0, quarter = 0.25;
  const int slices = 24, stacks = 12;
  const int levels = 1;
  const double offset[3] = {0.5, 0.5, 0.0}, spongeScale = 0.4;
  struct Pair {
    const char *name;
    std::function<void()> solid, wire;
    bool centreCovered;
  };
  auto scaled = [](void (*shape)(), double s) {
    return [shape, s] {
      glPushMatrix();
      glScaled(s, s, s);
      shape();
      glPopMatrix();
    };
  };
  const std::vector<Pair> pairs = {
      {"sphere", [&] { fglutSolidSphere(&half, &slices, &stacks); }, [&] { fglutWireSphere(&half, &slices, &stacks); }, true},
      {"cone", [&] { fglutSolidCone(&half, &one, &slices, &stacks); }, [&] { fglutWireCone(&half, &one, &slices, &stacks); }, true},
      {"torus", [&] { fglutSolidTorus(&quarter, &half, &slices, &slices); }, [&] { fglutWireTorus(&quarter, &half, &slices, &slices); }, false},
      {"cube", [&] { fglutSolidCube(&one); }, [&] { fglutWireCube(&one); }, true},
      {"teapot", [&] { fglutSolidTeapot(&half); }, [&] { fglutWireTeapot(&half); }, true},
      {"dodecahedron", scaled(fglutSolidDodecahedron, 0.4), scaled(fglutWireDodecahedron, 0.4), true},
      {"icosahedron", scaled(fglutSolidIcosahedron, 0.5), scaled(fglutWireIcosahedron, 0.5), true},
      {"octahedron", scaled(fglutSolidOctahedron, 0.5), scaled(fglutWireOctahedron, 0.5), true},
      {"tetrahedron", scaled(fglutSolidTetrahedron, 0.5), scaled(fglutWireTetrahedron, 0.5), true},
      {"cylinder", [&] { fglutSolidCylinder(&half, &one, &slices, &stacks); }, [&] { fglutWireCylinder(&half, &one, &slices, &stacks); }, true},
      {"rhombic dodecahedron", scaled(fglutSolidRhombicDodecahedron, 0.5), scaled(fglutWireRhombicDodecahedron, 0.5), true},
      {"teacup", [&] { fglutSolidTeacup(&one); }, [&] { fglutWireTeacup(&one); }, true},
      // The sponge's three offsets move it: centred at (0.5, 0.5), it leaves
      // the window's centre clear.
      {"sponge", [&] { fglutSolidSierpinskiSponge(&levels, offset, &spongeScale); }, [&] { fglutWireSierpinskiSponge(&levels, offset, &spongeScale); }, false},
  };
  for (const Pair &p : pairs) {
    SCOPED_TRACE(p.name);
    const std::vector<bool> solid = redPixels(p.solid);
    const std::vector<bool> wire = redPixels(p.wire);
    EXPECT_EQ(solid[50 * 100 + 50], p.centreCovered);
    EXPECT_FALSE(solid[2 * 100 + 2]);  // a corner stays clear
    EXPECT_GT(count(wire), 0);
    EXPECT_LT(count(wire), count(solid));
  }
  fglutSwapBuffers();
}

TEST(Shapes, RadiusIsReadAsADouble) {
  openDoubleBuffered();
  const double radius = 1.5;
  const int slices = 48, stacks = 24;
  const std::vector<bool> red = redPixels([&] { fglutSolidSphere(&radius, &slices, &stacks); }, 2.0);
  // 100 pixels span -2..2: x = 1.4 is pixel 85, x = 1.6 is pixel 90.
  EXPECT_TRUE(red[50 * 100 + 85]);
  EXPECT_FALSE(red[50 * 100 + 90]);
  EXPECT_TRUE(red[85 * 100 + 50]);
  EXPECT_FALSE(red[90 * 100 + 50]);
}

TEST(Fonts, StrokeCharacterDrawsAndCodeTwelveMeansRoman) {
  openDoubleBuffered();
  auto stroke = [](int code) {
    return redPixels([code] {
      glScaled(1.0 / 120, 1.0 / 120, 1);  // a stroke character is about 120 units high
      glTranslated(-50, -50, 0);
      const int character = 'M';
      fglutStrokeCharacter(&code, &character);
    });
  };
  const std::vector<bool> roman = stroke(1);
  EXPECT_GT(count(roman), 0);
  EXPECT_EQ(stroke(12), roman);
  EXPECT_NE(stroke(2), roman);
}

}  // namespace

namespace {

TEST(Fonts, BitmapCharacterDrawsAtTheRasterPosition) {
  openDoubleBuffered();
  auto bitmap = [](int code) {
    return redPixels([code] {
      glRasterPos2d(0.0, 0.0);  // window pixel (50, 50)
      const int character = 'W';
      fglutBitmapCharacter(&code, &character);
    });
  };
  const std::vector<bool> helvetica18 = bitmap(9);
  int inside = 0, outside = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 100; ++x) {
      if (!helvetica18[y * 100 + x]) continue;
      (x >= 50 && x < 70 && y >= 45 && y < 70 ? inside : outside) += 1;
    }
  }
  EXPECT_GT(inside, 10);
  EXPECT_EQ(outside, 0);
  EXPECT_NE(bitmap(3), helvetica18);
}

}  // namespace

namespace {

// "Fortran 77 e-acute" packed with stray high bits in some words: only the
// low byte of each word is a character.
const std::vector<int> kText = {'F' + 0x4100, 'o', 'r', 't', 'r', 'a', 'n', ' ', '7' - 0x100, '7', ' ', 233};

int lowByte(int word) { return static_cast<int>(static_cast<unsigned int>(word) & 0xffu); }

// A whole string draws exactly what its characters drawn one by one draw, in
// every font; the stroke length is the sum of the character widths.
TEST(Fonts, WholeStringsDrawAsTheirCharactersOneByOne) {
  openDoubleBuffered();
  const int n = static_cast<int>(kText.size());
  for (int code = 1; code <= 9; ++code) {
    SCOPED_TRACE(code);
    const bool stroke = code <= 2;
    auto place = [stroke] {
      if (stroke) {
        glScaled(1.0 / 700, 1.0 / 700, 1);
        glTranslated(-650, -50, 0);
      } else {
        glRasterPos2d(-0.95, 0.0);
      }
    };
    const std::vector<bool> whole = redPixels([&] {
      place();
      (stroke ? fglutStrokeString : fglutBitmapString)(&code, kText.data(), &n);
    });
    const std::vector<bool> oneByOne = redPixels([&] {
      place();
      for (int word : kText) {
        const int character = lowByte(word);
        (stroke ? fglutStrokeCharacter : fglutBitmapCharacter)(&code, &character);
      }
    });
    EXPECT_GT(count(whole), 20);
    EXPECT_EQ(whole, oneByOne);
  }
  for (int code = 1; code <= 2; ++code) {
    float sum = 0;
    for (int word : kText) {
      const int character = lowByte(word);
      sum += fglutStrokeWidthf(&code, &character);
    }
    EXPECT_FLOAT_EQ(fglutStrokeLengthf(&code, kText.data(), &n), sum);
    EXPECT_GT(fglutStrokeHeight(&code), 100.0f);  // stroke fonts are about 120 units high
  }
}

}  // namespace

namespace {

// The caller's array gets at most MAXN of the values; the result is how many
// there are, as freeglut lists them.
TEST(Queries, ModeValuesFillAtMostMaxnAndCountAll) {
  xin::openWindow("mode values", 0, 0, 50, 50);
  for (const int mode : {GLUT_MULTISAMPLE, GLUT_AUX}) {
    SCOPED_TRACE(mode);
    int size = 0;
    int *all = glutGetModeValues(static_cast<GLenum>(mode), &size);
    const std::vector<int> expected(all, all + size);
    std::free(all);
    for (const int maxn : {-1, 0, 1, size, size + 2}) {
      std::vector<int> values(static_cast<std::size_t>(size) + 3, -7);
      EXPECT_EQ(fglutGetModeValues(&mode, values.data(), &maxn), size);
      const int stored = std::max(0, std::min(maxn, size));
      for (int k = 0; k < size + 3; ++k) EXPECT_EQ(values[k], k < stored ? expected[k] : -7) << k;
    }
  }
}

}  // namespace
