// The house viewer written in Fortran draws the same picture as the C++
// viewer, pixel for pixel, at GLUT's default window size and after the X
// server resizes the window to 400x200 and to 200x400.
//
// Usage: house_picture_test <C++ house> <Fortran house by gfortran, Flang, f2c>
// under a virtual X server of its own (tests/with-xvfb).
#include <gtest/gtest.h>

#include <array>
#include <iostream>
#include <string>

#include "x_session.h"

namespace {

const char *const kTitle = "Fortran GLUT program";

std::string referenceProgram;
std::array<std::string, 3> fortranPrograms;  // gfortran, Flang, f2c

struct Size {
  int width, height;  // 0, 0: the window as GLUT first shows it
};
const std::array<Size, 3> kSizes = {{{0, 0}, {400, 200}, {200, 400}}};

std::string describe(const Size &s) {
  return s.width == 0 ? std::string("default size") : std::to_string(s.width) + "x" + std::to_string(s.height);
}

// Runs a program, resizing through the sizes; at each size `check` gets the
// window and must return the picture it accepted.
template <typename Check>
void runThroughSizes(fgltest::XSession &x, const std::string &program, Check check) {
  Window w = x.start({program}, kTitle);
  ASSERT_NE(w, 0u) << program << " showed no window titled \"" << kTitle << "\"";
  for (std::size_t i = 0; i < kSizes.size(); ++i) {
    const Size &s = kSizes[i];
    if (s.width != 0) {
      ASSERT_TRUE(x.resize(w, s.width, s.height)) << "no resize to " << describe(s);
    }
    check(i, w);
  }
  x.stop();
}

class HousePicture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    x_ = new fgltest::XSession;
    // A repainted house has white corners; a window that has been resized
    // but not yet repainted shows its old picture beside undrawn pixels.
    auto whiteCorners = [](const fgltest::Picture &p) {
      return p.at(0, 0) == 0xFFFFFFu && p.at(p.width - 1, 0) == 0xFFFFFFu && p.at(0, p.height - 1) == 0xFFFFFFu &&
             p.at(p.width - 1, p.height - 1) == 0xFFFFFFu;
    };
    runThroughSizes(*x_, referenceProgram, [&](std::size_t i, Window w) {
      ASSERT_TRUE(x_->grabSettled(w, reference_[i], std::chrono::seconds(10), 3, whiteCorners))
          << "C++ viewer: no settled picture at " << describe(kSizes[i]);
    });
  }
  static void TearDownTestSuite() {
    delete x_;
    x_ = nullptr;
  }

  void compareWith(const std::string &program) {
    // The reference itself must be a picture of the house: white background,
    // blue walls, red roof, black openings, at the size asked for.
    for (std::size_t i = 0; i < kSizes.size(); ++i) {
      const fgltest::Picture &ref = reference_[i];
      if (kSizes[i].width != 0) {
        ASSERT_EQ(ref.width, kSizes[i].width);
        ASSERT_EQ(ref.height, kSizes[i].height);
      }
      fgltest::ColourCounts c = fgltest::countColours(ref);
      ASSERT_GT(c.white, 1000) << describe(kSizes[i]);
      ASSERT_GT(c.blue, 1000) << describe(kSizes[i]);
      ASSERT_GT(c.red, 1000) << describe(kSizes[i]);
      ASSERT_GT(c.black, 100) << describe(kSizes[i]);
    }
    runThroughSizes(*x_, program, [&](std::size_t i, Window w) {
      fgltest::Picture got;
      bool equal = x_->grabUntilEqual(w, reference_[i], got);
      long differing = fgltest::differingPixels(reference_[i], got);
      std::cout << program << " at " << describe(kSizes[i]) << " (" << got.width << "x" << got.height
                << "): " << differing << " of " << reference_[i].pixels.size() << " pixels differ\n";
      EXPECT_TRUE(equal) << differing << " pixels differ at " << describe(kSizes[i]);
    });
  }

  static fgltest::XSession *x_;
  static std::array<fgltest::Picture, 3> reference_;
};

fgltest::XSession *HousePicture::x_ = nullptr;
std::array<fgltest::Picture, 3> HousePicture::reference_;

TEST_F(HousePicture, GfortranBuildEqualsCppViewer) { compareWith(fortranPrograms[0]); }
TEST_F(HousePicture, FlangBuildEqualsCppViewer) { compareWith(fortranPrograms[1]); }
TEST_F(HousePicture, F2cBuildEqualsCppViewer) { compareWith(fortranPrograms[2]); }

}  // namespace

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // listing needs no programs and no window
  if (argc != 5) {
    std::cerr << "usage: " << argv[0] << " <C++ house> <gfortran house> <Flang house> <f2c house>\n";
    return 2;
  }
  referenceProgram = argv[1];
  fortranPrograms = {argv[2], argv[3], argv[4]};
  return RUN_ALL_TESTS();
}
