// The GLU scene in Fortran (fortran/examples/scene.f), built by gfortran,
// Flang and f2c, draws the picture of its C counterpart (scene_direct.c, direct
// OpenGL, GLU and GLUT calls) pixel for pixel, at its own size and after a
// resize; and a real click prints the name of the object under the pointer,
// the same name in all four programs.
//
// Usage: scene_test <C program> <gfortran build> <flang build> <f2c build>, under
// tests/with-xvfb.
#include <gtest/gtest.h>

#include <array>
#include <iostream>
#include <string>

#include "x_session.h"

namespace {

const char *const kTitle = "Fortran GLU scene";
std::array<std::string, 4> programs;  // C, gfortran, flang, f2c

// Where a click lands in the 480x360 window and what it must pick: each
// object, the cylinder also where it hides the sphere's edge (both are hit;
// the cylinder, drawn second, is nearer), and white places inside or beside
// them (the disk's, the polygon's and the surface's holes), where nothing is
// hit. The middle of the star is wound twice: the positive winding rule
// makes it part of it.
struct Click {
  int x, y;
  const char *name;
};
const std::array<Click, 11> kClicks = {{{140, 90, "SPHERE"},
                                        {240, 100, "CYLINDER"},
                                        {205, 115, "CYLINDER"},
                                        {360, 100, "DISK"},
                                        {403, 100, "NOTHING"},
                                        {70, 250, "POLYGON"},
                                        {92, 280, "NOTHING"},
                                        {240, 250, "STAR"},
                                        {360, 290, "SURFACE"},
                                        {400, 258, "NOTHING"},
                                        {10, 10, "NOTHING"}}};

bool isWhite(std::uint32_t p) { return p == 0xFFFFFFu; }

class ScenePicture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    x_ = new fgltest::XSession;
    Window w = x_->start({programs[0]}, kTitle);
    ASSERT_NE(w, 0u) << programs[0] << " showed no window titled \"" << kTitle << "\"";
    ASSERT_TRUE(x_->grabSettled(w, reference_[0])) << "C program: no settled picture";
    ASSERT_TRUE(x_->resize(w, 360, 480));
    ASSERT_TRUE(x_->grabSettled(w, reference_[1], std::chrono::seconds(10), 3,
                                [](const fgltest::Picture &p) { return p.width == 360 && isWhite(p.at(359, 479)); }))
        << "C program: no settled picture after the resize";
    x_->stop();
  }
  static void TearDownTestSuite() {
    delete x_;
    x_ = nullptr;
  }

  void compareWith(const std::string &program) {
    // The reference is the scene: 480x360, the objects where the clicks go,
    // white where they pick nothing.
    const fgltest::Picture &ref = reference_[0];
    ASSERT_EQ(ref.width, 480);
    ASSERT_EQ(ref.height, 360);
    for (const Click &c : kClicks) {
      EXPECT_EQ(isWhite(ref.at(c.x, c.y)), std::string(c.name) == "NOTHING") << c.name << " at " << c.x << "," << c.y;
    }
    Window w = x_->start({program}, kTitle);
    ASSERT_NE(w, 0u) << program << " showed no window titled \"" << kTitle << "\"";
    for (std::size_t i = 0; i < reference_.size(); ++i) {
      if (i == 1) {
        ASSERT_TRUE(x_->resize(w, 360, 480));
      }
      fgltest::Picture got;
      bool equal = x_->grabUntilEqual(w, reference_[i], got);
      std::cout << program << " at " << got.width << "x" << got.height << ": "
                << fgltest::differingPixels(reference_[i], got) << " of " << reference_[i].pixels.size()
                << " pixels differ\n";
      EXPECT_TRUE(equal) << fgltest::differingPixels(reference_[i], got) << " pixels differ";
    }
    x_->stop();
  }

  static fgltest::XSession *x_;
  static std::array<fgltest::Picture, 2> reference_;  // 480x360, 360x480
};

fgltest::XSession *ScenePicture::x_ = nullptr;
std::array<fgltest::Picture, 2> ScenePicture::reference_;

TEST_F(ScenePicture, GfortranBuildEqualsC) { compareWith(programs[1]); }
TEST_F(ScenePicture, FlangBuildEqualsC) { compareWith(programs[2]); }
TEST_F(ScenePicture, F2cBuildEqualsC) { compareWith(programs[3]); }

// Real clicks through XTest; then Q deletes the GLU objects and ends the
// program with status 0, having reported no GLU error.
class ScenePicking : public ::testing::TestWithParam<int> {};

TEST_P(ScenePicking, ClickPrintsTheObjectUnderThePointer) {
  fgltest::XSession x;
  Window w = x.start({programs[GetParam()]}, kTitle);
  ASSERT_NE(w, 0u) << "no window titled \"" << kTitle << "\"";
  fgltest::Picture p;
  ASSERT_TRUE(x.grabSettled(w, p));
  for (const Click &c : kClicks) {
    x.movePointer(w, c.x, c.y);
    x.button(1, true);
    x.button(1, false);
    std::string line;
    ASSERT_TRUE(x.waitForLine("PICKED", line)) << "no pick reported; output:\n" << x.transcript();
    EXPECT_EQ(line, std::string("PICKED ") + c.name) << "click at " << c.x << "," << c.y;
  }
  x.movePointer(w, 10, 10);
  x.key("q", true);
  x.key("q", false);
  EXPECT_EQ(x.waitExit(std::chrono::seconds(10)), 0);
  EXPECT_EQ(x.transcript().find("ERROR"), std::string::npos) << x.transcript();
}

std::string programName(const ::testing::TestParamInfo<int> &info) {
  static const char *const names[] = {"C", "gfortran", "flang", "f2c"};
  return names[info.param];
}
INSTANTIATE_TEST_SUITE_P(Programs, ScenePicking, ::testing::Values(0, 1, 2, 3), programName);

}  // namespace

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // listing needs no programs and no window
  if (argc != 5) {
    std::cerr << "usage: " << argv[0] << " <C program> <gfortran build> <flang build> <f2c build>\n";
    return 2;
  }
  programs = {argv[1], argv[2], argv[3], argv[4]};
  return RUN_ALL_TESTS();
}
