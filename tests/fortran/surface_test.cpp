// The surface program (fortran/examples/surface.f), built by gfortran, Flang
// and f2c, draws from vertex arrays, INTEGER*4 indices and a texture object the
// picture that this test draws in immediate mode by direct OpenGL calls, at
// its first view and after real arrow-key presses; F prints its frame rate.
//
// Usage: surface_test <gfortran build> <flang build> <f2c build>, under
// tests/with-xvfb.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>

#include "x_session.h"

namespace {

constexpr int kN = 256;      // grid vertices along each side
constexpr int kSize = 400;   // the program's window, square
std::array<std::string, 3> programs;  // gfortran, flang, f2c

// The reference: the program's grid, texture, lighting and projection, the
// strips sent vertex by vertex. The grid is computed as the program computes
// it, in double precision rounded to float, so that both send the same values.
fgltest::Picture reference(float spin, float tilt) {
  GLubyte texels[64][64][3];
  for (int j = 0; j < 64; ++j) {
    for (int i = 0; i < 64; ++i) {
      const bool cream = (i / 8 + j / 8) % 2 == 0;
      const GLubyte c[3] = {static_cast<GLubyte>(cream ? 255 : 200), static_cast<GLubyte>(cream ? 240 : 90),
                            static_cast<GLubyte>(cream ? 200 : 40)};
      for (int k = 0; k < 3; ++k) texels[j][i][k] = c[k];
    }
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 64, 64, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glEnable(GL_TEXTURE_2D);
  glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
  glViewport(0, 0, kSize, kSize);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-1.25, 1.25, -1.25, 1.25, -3.0, 3.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glRotatef(tilt, 1.0f, 0.0f, 0.0f);
  glRotatef(spin, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  auto vertex = [](int i, int j) {
    const double x = -1.0 + 2.0 * i / (kN - 1), y = -1.0 + 2.0 * j / (kN - 1);
    const double dx = 1.2 * std::cos(4.0 * x) * std::cos(4.0 * y), dy = -1.2 * std::sin(4.0 * x) * std::sin(4.0 * y);
    const double d = std::sqrt(dx * dx + dy * dy + 1.0);
    glTexCoord2f(static_cast<float>(2.0 * i / (kN - 1)), static_cast<float>(2.0 * j / (kN - 1)));
    glNormal3f(static_cast<float>(-dx / d), static_cast<float>(-dy / d), static_cast<float>(1.0 / d));
    glVertex3f(static_cast<float>(x), static_cast<float>(y),
               static_cast<float>(0.3 * std::sin(4.0 * x) * std::cos(4.0 * y)));
  };
  for (int j = 0; j + 1 < kN; ++j) {
    glBegin(GL_TRIANGLE_STRIP);
    for (int i = 0; i < kN; ++i) {
      vertex(i, j + 1);
      vertex(i, j);
    }
    glEnd();
  }
  std::array<GLubyte, kSize * kSize * 4> rgba;
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  fgltest::Picture p{kSize, kSize, std::vector<std::uint32_t>(kSize * kSize)};
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const GLubyte *c = &rgba[4 * ((kSize - 1 - y) * kSize + x)];  // OpenGL's rows run upwards
      p.pixels[y * kSize + x] = (c[0] << 16) | (c[1] << 8) | c[2];
    }
  }
  return p;
}

// The views the test visits: the first one, after Left, after Left and Up.
struct View {
  const char *after;
  float spin, tilt;
};
constexpr std::array<View, 3> kViews = {{{"start", 30.0f, -55.0f}, {"Left", 25.0f, -55.0f}, {"Up", 25.0f, -60.0f}}};
std::array<fgltest::Picture, 3> references;

class Surface : public ::testing::TestWithParam<int> {};

TEST_P(Surface, DrawsTheReferenceTurnsOnArrowKeysAndPrintsItsFrameRate) {
  fgltest::XSession x;
  Window w = x.start({programs[GetParam()]}, "Fortran surface");
  ASSERT_NE(w, 0u) << "no window titled \"Fortran surface\"";
  x.movePointer(w, kSize / 2, kSize / 2);
  for (std::size_t v = 0; v < kViews.size(); ++v) {
    if (v > 0) {
      x.key(kViews[v].after, true);
      x.key(kViews[v].after, false);
    }
    fgltest::Picture got;
    const bool equal = x.grabUntilEqual(w, references[v], got, std::chrono::seconds(60));
    const long differing = fgltest::differingPixels(references[v], got);
    std::cout << programs[GetParam()] << " after " << kViews[v].after << ": " << differing << " of "
              << references[v].pixels.size() << " pixels differ from the reference\n";
    EXPECT_TRUE(equal) << differing << " pixels differ after " << kViews[v].after;
  }
  x.key("F", true);
  x.key("F", false);
  std::string line;
  ASSERT_TRUE(x.waitForLine("FPS", line, std::chrono::seconds(120))) << "output:\n" << x.transcript();
  double rate = 0;
  int frames = 0, ms = 0;
  ASSERT_EQ(std::sscanf(line.c_str(), "FPS %lf ( %d frames in %d ms)", &rate, &frames, &ms), 3) << line;
  EXPECT_EQ(frames, 20);
  EXPECT_GT(ms, 0);
  EXPECT_NEAR(rate, 20000.0 / ms, 0.05 + 1e-3 * rate) << line;
  x.key("q", true);
  x.key("q", false);
  EXPECT_EQ(x.waitExit(std::chrono::seconds(30)), 0);
}

std::string compilerName(const ::testing::TestParamInfo<int> &info) {
  static const char *const names[] = {"gfortran", "flang", "f2c"};
  return names[info.param];
}
INSTANTIATE_TEST_SUITE_P(Compilers, Surface, ::testing::Values(0, 1, 2), compilerName);

}  // namespace

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // listing needs no programs and no window
  if (argc != 4) {
    std::cerr << "usage: " << argv[0] << " <surface: gfortran build> <flang build> <f2c build>\n";
    return 2;
  }
  programs = {argv[1], argv[2], argv[3]};
  int glutArgc = 1;
  glutInit(&glutArgc, argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(kSize, kSize);
  glutCreateWindow("surface reference");
  for (std::size_t v = 0; v < kViews.size(); ++v) references[v] = reference(kViews[v].spin, kViews[v].tilt);
  // The references must be pictures of the surface: a white background, both
  // colours of the texture, and a different picture for every view.
  for (std::size_t v = 0; v < kViews.size(); ++v) {
    const fgltest::Picture &p = references[v];
    long white = 0, cream = 0, rust = 0;
    for (std::uint32_t px : p.pixels) {
      const int r = px >> 16, g = (px >> 8) & 0xFF, b = px & 0xFF;
      white += px == 0xFFFFFFu;
      cream += px != 0xFFFFFFu && r > 100 && g > 0.8 * r && b > 0.6 * r;
      rust += r > 60 && g < 0.55 * r && b < 0.3 * r;
    }
    if (white < kSize * kSize / 4 || cream < 5000 || rust < 5000 || (v > 0 && p == references[v - 1])) {
      std::cerr << "reference after " << kViews[v].after << " is no picture of the surface: " << white << " white, "
                << cream << " cream, " << rust << " rust pixels\n";
      return 1;
    }
  }
  return RUN_ALL_TESTS();
}
