// The interactive Fortran program (fortran/examples/interact.f), built by
// gfortran, by Flang and by f2c, driven with real X input through XTest: keys, a
// special key, mouse buttons and a GLUT menu; its timers, idle routine,
// font metrics and picture are checked from what it prints and draws.
//
// The README's minimal program (fortran/examples/hello.f) is checked here too.
//
// Usage: interact_test <interact: gfortran, Flang, f2c builds> <hello: the
// same three>, under tests/with-xvfb.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "x_session.h"

namespace {

using std::chrono::seconds;

constexpr std::array<const char *, 3> kCompilers = {"gfortran", "flang", "f2c"};
std::array<std::string, 3> programs;       // interact.f, by each compiler
std::array<std::string, 3> helloPrograms;  // hello.f, by each compiler

// Length of "Fortran GLUT 77" in the font of each font code 1 to 9, as
// freeglut itself measures it in the font that the code names.
std::array<int, 9> fontLengths;

void measureFonts() {
  const unsigned char *text = reinterpret_cast<const unsigned char *>("Fortran GLUT 77");
  fontLengths = {glutStrokeLength(GLUT_STROKE_ROMAN, text),
                 glutStrokeLength(GLUT_STROKE_MONO_ROMAN, text),
                 glutBitmapLength(GLUT_BITMAP_9_BY_15, text),
                 glutBitmapLength(GLUT_BITMAP_8_BY_13, text),
                 glutBitmapLength(GLUT_BITMAP_TIMES_ROMAN_10, text),
                 glutBitmapLength(GLUT_BITMAP_TIMES_ROMAN_24, text),
                 glutBitmapLength(GLUT_BITMAP_HELVETICA_10, text),
                 glutBitmapLength(GLUT_BITMAP_HELVETICA_12, text),
                 glutBitmapLength(GLUT_BITMAP_HELVETICA_18, text)};
}

// Colour classes of the program's picture.
bool isRed(std::uint32_t p) { return p == 0xFF0000; }
bool isYellow(std::uint32_t p) { return p == 0xFFFF00; }
bool isBlue(std::uint32_t p) { return p == 0x0000FF; }
bool isGreen(std::uint32_t p) { return p == 0x00FF00; }
bool isBlack(std::uint32_t p) { return p == 0x000000; }
bool isMagenta(std::uint32_t p) { return p == 0xFF00FF; }

// Pixels of one class in the rectangle [x0, x1) x [y0, y1) (y from the top).
template <typename Pred>
long count(const fgltest::Picture &p, int x0, int y0, int x1, int y1, Pred pred) {
  long n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) n += pred(p.at(x, y));
  return n;
}

class Interact : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    // The server's default map has no eacute; give it a keycode before the
    // program starts, so that its Xlib reads the map with it.
    eacute_ = x_.mapSpareKeycode("eacute");
    window_ = x_.start({programs[GetParam()]}, "Fortran interaction");
    ASSERT_NE(window_, 0u) << "no window titled \"Fortran interaction\"";
  }

  // Waits for the exact line `expected` (blanks normalised).
  void expectLine(const std::string &expected) {
    std::string line;
    std::string prefix = expected.substr(0, expected.find(' ') + 1);
    ASSERT_TRUE(x_.waitForLine(prefix, line)) << "no line \"" << expected << "\"; output so far:\n"
                                               << x_.transcript();
    EXPECT_EQ(line, expected);
  }

  // Opens the menu with the right button at (100, 100) and chooses entry
  // `index` (0-based) of `entries`, releasing the button over it.
  void chooseFromMenu(int index, int entries) {
    x_.movePointer(window_, 100, 100);
    x_.watchNewWindows();
    x_.button(3, true);
    Window menu = x_.waitForMap();
    ASSERT_NE(menu, 0u) << "the menu did not open";
    XWindowAttributes a;
    XGetWindowAttributes(x_.display(), menu, &a);
    int y = a.height * (2 * index + 1) / (2 * entries);
    x_.movePointer(menu, a.width / 2, y - 2);
    x_.movePointer(menu, a.width / 2, y);
    x_.button(3, false);
  }

  fgltest::XSession x_;
  Window window_ = 0;
  int eacute_ = 0;
};

TEST_P(Interact, StartsTimersIdleAndFontsThroughFontCodes) {
  // 9x15 glyphs are 9 wide; "Hello" in 8x13 is 40; stroke mono roman "M"
  // is 105 (roman "M" would be 95): each font code reached its own font.
  expectLine("FONTS 9 40 105");
  // The named font codes of fglut.inc are 1 to 9 and reach their fonts.
  for (int code = 1; code <= 9; ++code) {
    expectLine("FONT " + std::to_string(code) + " " + std::to_string(fontLengths[code - 1]));
  }
  expectLine("RESHAPE 300 300 300");
  expectLine("DRAWN 1");
  expectLine("TIMERA 42");
  expectLine("TIMERB 43");
  expectLine("IDLE 3");
}

TEST_P(Interact, DrawsShapesAndText) {
  expectLine("DRAWN 1");
  fgltest::Picture p;
  ASSERT_TRUE(x_.grabSettled(window_, p));
  ASSERT_EQ(p.width, 300);
  // Sphere: radius 0.3 at (-0.5, 0.5) is a disc of radius 45 pixels around (75, 75).
  EXPECT_TRUE(isRed(p.at(75, 75)));
  EXPECT_GT(count(p, 0, 0, 150, 150, isRed), 5500);
  // Wire cube, upper right: lines only.
  long blue = count(p, 150, 0, 300, 150, isBlue);
  EXPECT_GT(blue, 150);
  EXPECT_LT(blue, 5000);
  // Solid torus, lower right, with its hole at (225, 225).
  EXPECT_GT(count(p, 150, 150, 300, 300, isGreen), 3000);
  EXPECT_FALSE(isGreen(p.at(225, 225)));
  // "Fortran" in 9x15 bitmap letters above y = -0.3 (row 195) from x = 7:
  // seven glyphs, 63 pixels wide.
  long text = count(p, 0, 175, 80, 200, isBlack);
  EXPECT_GT(text, 60);
  EXPECT_EQ(count(p, 80, 175, 150, 200, isBlack), 0);
  // "77" in stroke roman, lower left.
  EXPECT_GT(count(p, 0, 200, 150, 300, isMagenta), 100);
}

TEST_P(Interact, KeysArriveAsCodesFrom0To255WithThePointerPosition) {
  expectLine("DRAWN 1");
  x_.movePointer(window_, 30, 40);
  x_.key("a", true);
  x_.key("a", false);
  expectLine("KEY 97 30 40");
  // A Latin-1 key above 127 arrives as its code, never negative.
  ASSERT_NE(eacute_, 0) << "no spare keycode for eacute";
  x_.keycode(eacute_, true);
  x_.keycode(eacute_, false);
  expectLine("KEY 233 30 40");
  x_.key("F1", true);
  x_.key("F1", false);
  expectLine("SPECIAL 1 30 40");
}

TEST_P(Interact, MouseButtonsArriveWithStateAndPosition) {
  expectLine("DRAWN 1");
  x_.movePointer(window_, 50, 60);
  x_.button(1, true);
  expectLine("MOUSE 0 0 50 60");
  x_.button(1, false);
  expectLine("MOUSE 0 1 50 60");
}

TEST_P(Interact, MenuChoicesReachTheMenuRoutine) {
  expectLine("DRAWN 1");
  chooseFromMenu(0, 2);
  expectLine("MENU 7");
  expectLine("DRAWN 2");
  fgltest::Picture p;
  ASSERT_TRUE(x_.grabSettled(window_, p));
  EXPECT_TRUE(isYellow(p.at(75, 75))) << std::hex << p.at(75, 75);
  // "Quit" ends the program through CALL EXIT(0).
  chooseFromMenu(1, 2);
  expectLine("MENU 9");
  EXPECT_EQ(x_.waitExit(seconds(10)), 0);
}

std::string compilerName(const ::testing::TestParamInfo<int> &info) {
  return kCompilers[static_cast<std::size_t>(info.param)];
}
INSTANTIATE_TEST_SUITE_P(Compilers, Interact, ::testing::Range(0, 3), compilerName);

// The README's minimal program: a triangle on white, ended by Q.
class Hello : public ::testing::TestWithParam<int> {};

TEST_P(Hello, DrawsItsTriangleAndEndsOnQ) {
  fgltest::XSession x;
  Window w = x.start({helloPrograms[GetParam()]}, "Hello from Fortran");
  ASSERT_NE(w, 0u) << "no window titled \"Hello from Fortran\"";
  fgltest::Picture p;
  ASSERT_TRUE(x.grabSettled(w, p));
  // GLUT's default 300x300: white corners; the triangle's red, green and
  // blue corners at (-0.8, -0.8), (0.8, -0.8) and (0, 0.8).
  EXPECT_EQ(p.at(5, 5), 0xFFFFFFu);
  EXPECT_EQ(p.at(p.width - 5, 5), 0xFFFFFFu);
  // Near a corner its colour dominates: that channel high, the others low.
  auto dominant = [&](int x0, int y0, int shift) {
    std::uint32_t px = p.at(x0, y0);
    for (int s : {16, 8, 0}) {
      std::uint32_t c = (px >> s) & 0xFFu;
      if (s == shift ? c < 180u : c > 80u) return false;
    }
    return true;
  };
  EXPECT_TRUE(dominant(35, p.height - 35, 16)) << std::hex << p.at(35, p.height - 35);
  EXPECT_TRUE(dominant(p.width - 35, p.height - 35, 8)) << std::hex << p.at(p.width - 35, p.height - 35);
  EXPECT_TRUE(dominant(p.width / 2, 40, 0)) << std::hex << p.at(p.width / 2, 40);
  x.movePointer(w, 150, 150);
  x.key("q", true);
  x.key("q", false);
  EXPECT_EQ(x.waitExit(seconds(10)), 0);
}

INSTANTIATE_TEST_SUITE_P(Compilers, Hello, ::testing::Range(0, 3), compilerName);

}  // namespace

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // listing needs no programs and no window
  if (argc != 7) {
    std::cerr << "usage: " << argv[0] << " <interact: gfortran, Flang, f2c builds>"
              << " <hello: gfortran, Flang, f2c builds>\n";
    return 2;
  }
  programs = {argv[1], argv[2], argv[3]};
  helloPrograms = {argv[4], argv[5], argv[6]};
  int glutArgc = 1;
  glutInit(&glutArgc, argv);
  measureFonts();
  return RUN_ALL_TESTS();
}
