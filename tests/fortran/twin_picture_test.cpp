// A Fortran example, built by gfortran, Flang and f2c, draws the picture of
// its C twin (direct OpenGL and GLUT calls) pixel for pixel, at its own size
// and after a resize to the transposed size; and the line the twin prints
// after reading its middle pixel back ("CENTRE r g b a") is the Fortran
// programs' line too, and the colour of that pixel in the window. Given
// line prefixes as well, the twin's line that starts with each (a program's
// checks of its own results) is every build's line too, and every program
// exits with status 0 when its window is closed.
//
// Usage: twin_picture_test <title> <width> <height> <C program> <gfortran build>
// <flang build> <f2c build> [<check line prefix>...], under tests/with-xvfb.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "x_session.h"

namespace {

std::string title;
int width = 0, height = 0;
std::array<std::string, 4> programs;  // C, gfortran, flang, f2c
std::vector<std::string> checkPrefixes;  // empty: no check lines

// The window pixel that "CENTRE r g b a" names: OpenGL's (w/2, h/2) counts
// rows from the bottom.
std::string centreLine(const fgltest::Picture &p) {
  std::uint32_t c = p.at(p.width / 2, p.height - 1 - p.height / 2);
  char text[64];
  std::snprintf(text, sizeof text, "CENTRE %u %u %u 255", (c >> 16) & 0xFFu, (c >> 8) & 0xFFu, c & 0xFFu);
  return text;
}

// Both twins clear to white and leave the corners clear. Right after a
// resize the X server's window still shows the old frame, with the new strip
// unpainted: the picture counts only once all four corners are white.
bool drawnAtItsSize(const fgltest::Picture &p) {
  auto white = [&](int x, int y) { return (p.at(x, y) & 0xFFFFFFu) == 0xFFFFFFu; };
  return white(0, 0) && white(p.width - 1, 0) && white(0, p.height - 1) && white(p.width - 1, p.height - 1);
}

class TwinPicture : public ::testing::Test {
 protected:
  // A failure here is kept and reported by every case: a fatal failure in
  // SetUpTestSuite would only skip them.
  static void SetUpTestSuite() {
    x_ = new fgltest::XSession;
    Window w = x_->start({programs[0]}, title);
    if (w == 0) {
      setupError_ = programs[0] + " showed no window titled \"" + title + "\"";
    } else if (!readChecks(checks_)) {
      setupError_ = "C program printed no " + checks_.back() + " line:\n" + x_->transcript();
    } else if (!x_->waitForLine("CENTRE", centre_)) {
      setupError_ = "C program printed no CENTRE line:\n" + x_->transcript();
    } else if (!x_->grabSettled(w, reference_[0], std::chrono::seconds(10), 3, drawnAtItsSize)) {
      setupError_ = "C program: no settled picture";
    } else if (!x_->resize(w, height, width) ||
               !x_->grabSettled(w, reference_[1], std::chrono::seconds(10), 3,
                                [](const fgltest::Picture &p) { return p.width == height && p.height == width && drawnAtItsSize(p); })) {
      setupError_ = "C program: no settled picture after the resize";
    }
    x_->stop();
  }
  static void TearDownTestSuite() {
    delete x_;
    x_ = nullptr;
  }

  // The lines starting with each check prefix, in the order of the
  // prefixes; on failure the last element is the prefix not found.
  static bool readChecks(std::vector<std::string> &lines) {
    lines.clear();
    for (const std::string &prefix : checkPrefixes) {
      std::string line;
      if (!x_->waitForLine(prefix, line)) {
        lines.push_back(prefix);
        return false;
      }
      lines.push_back(line);
    }
    return true;
  }

  void compareWith(const std::string &program) {
    ASSERT_EQ(setupError_, "");
    // The reference is a drawing (many colours, not a cleared window), and
    // the pixel the C program read back is the one it shows.
    std::set<std::uint32_t> colours(reference_[0].pixels.begin(), reference_[0].pixels.end());
    EXPECT_GT(colours.size(), 20u);
    EXPECT_EQ(centre_, centreLine(reference_[0]));
    Window w = x_->start({program}, title);
    ASSERT_NE(w, 0u) << program << " showed no window titled \"" << title << "\"";
    std::vector<std::string> checks;
    ASSERT_TRUE(readChecks(checks)) << "no " << checks.back() << " line:\n" << x_->transcript();
    EXPECT_EQ(checks, checks_);
    std::string centre;
    ASSERT_TRUE(x_->waitForLine("CENTRE", centre)) << x_->transcript();
    EXPECT_EQ(centre, centre_);
    for (std::size_t i = 0; i < reference_.size(); ++i) {
      if (i == 1) {
        ASSERT_TRUE(x_->resize(w, height, width));
      }
      fgltest::Picture got;
      bool equal = x_->grabUntilEqual(w, reference_[i], got);
      std::cout << program << " at " << got.width << "x" << got.height << ": "
                << fgltest::differingPixels(reference_[i], got) << " of " << reference_[i].pixels.size()
                << " pixels differ\n";
      EXPECT_TRUE(equal) << fgltest::differingPixels(reference_[i], got) << " pixels differ";
    }
    if (checkPrefixes.empty()) {
      x_->stop();
    } else {
      x_->closeWindow(w);
      EXPECT_EQ(x_->waitExit(std::chrono::seconds(30)), 0) << x_->transcript();
    }
  }

  static fgltest::XSession *x_;
  static std::array<fgltest::Picture, 2> reference_;  // width x height, height x width
  static std::string centre_;
  static std::vector<std::string> checks_;
  static std::string setupError_;
};

fgltest::XSession *TwinPicture::x_ = nullptr;
std::array<fgltest::Picture, 2> TwinPicture::reference_;
std::string TwinPicture::centre_;
std::vector<std::string> TwinPicture::checks_;
std::string TwinPicture::setupError_;

TEST_F(TwinPicture, GfortranBuildEqualsC) { compareWith(programs[1]); }
TEST_F(TwinPicture, FlangBuildEqualsC) { compareWith(programs[2]); }
TEST_F(TwinPicture, F2cBuildEqualsC) { compareWith(programs[3]); }

}  // namespace

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // listing needs no programs and no window
  if (argc < 8) {
    std::cerr << "usage: " << argv[0]
              << " <title> <width> <height> <C program> <gfortran build> <flang build> <f2c build>"
                 " [<check line prefix>...]\n";
    return 2;
  }
  title = argv[1];
  width = std::stoi(argv[2]);
  height = std::stoi(argv[3]);
  programs = {argv[4], argv[5], argv[6], argv[7]};
  checkPrefixes.assign(argv + 8, argv + argc);
  return RUN_ALL_TESTS();
}
