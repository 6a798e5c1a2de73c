// The Fortran program that owns its loop (fortran/examples/simulate.f), built
// by gfortran, Flang and f2c: it draws while it computes, zooms on real wheel
// clicks (buttons 4 and 5 through XTest), labels its picture, and when its
// window is closed by a real WM_DELETE_WINDOW message it leaves its loop,
// writes its final state and ends with status 0. The state in the file is
// checked against the same computation done here for the same number of steps.
//
// Usage: simulate_test <simulate by gfortran, Flang, f2c>, under
// tests/with-xvfb.
#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "x_session.h"

namespace {

using std::chrono::seconds;

constexpr std::array<const char *, 3> kCompilers = {"gfortran", "flang", "f2c"};
std::array<std::string, 3> programs;  // simulate.f, by each compiler

constexpr int kN = 32;
constexpr std::uint32_t kGrey = 0x333333;  // the clear colour 0.2, 0.2, 0.2

// The program's computation: a bump at rest, then `steps` steps of the
// damped wave with fixed edges. Index [i][j] is the program's U(I+1, J+1).
std::vector<std::vector<double>> wave(long steps) {
  std::vector<std::vector<double>> u(kN, std::vector<double>(kN, 0.0));
  for (int i = 0; i < kN; ++i) {
    for (int j = 0; j < kN; ++j) {
      const int di = i + 1 - 12, dj = j + 1 - 14;
      const bool edge = i == 0 || j == 0 || i == kN - 1 || j == kN - 1;
      u[i][j] = edge ? 0.0 : std::exp(-(di * di + dj * dj) / 8.0);
    }
  }
  std::vector<std::vector<double>> old = u, next = u;
  const double c2 = 0.25, gd = 0.0001;
  for (long s = 0; s < steps; ++s) {
    for (int j = 1; j < kN - 1; ++j) {
      for (int i = 1; i < kN - 1; ++i) {
        const double lap = u[i + 1][j] + u[i - 1][j] + u[i][j + 1] + u[i][j - 1] - 4.0 * u[i][j];
        next[i][j] = (2.0 * u[i][j] - (1.0 - gd) * old[i][j] + c2 * lap) / (1.0 + gd);
      }
    }
    old.swap(u);
    u.swap(next);
    // `next` now holds the state two steps back; only its edges (all 0) are
    // never written, and every interior cell is written before it is read.
  }
  return u;
}

long whitePixels(const fgltest::Picture &p, int x0, int y0, int x1, int y1) {
  long n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) n += p.at(x, y) == 0xFFFFFFu;
  return n;
}

// Grabs until `accept` holds for the picture (the program redraws all the
// time, so a picture never settles).
bool grabUntil(fgltest::XSession &x, Window w, fgltest::Picture &p,
               const std::function<bool(const fgltest::Picture &)> &accept) {
  const auto deadline = std::chrono::steady_clock::now() + seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    p = x.grab(w);
    if (p.width == 320 && p.height == 320 && accept(p)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

class Simulate : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    // The program writes simulate.dat into its working directory.
    dir_ = std::filesystem::temp_directory_path() /
           ("fgl_simulate_" + std::to_string(getpid()) + "_" + std::to_string(GetParam()));
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(dir_);
  }

  std::filesystem::path dir_;
  fgltest::XSession x_;
};

TEST_P(Simulate, ZoomsOnTheWheelAndWritesItsStateWhenClosed) {
  const Window w = x_.start({programs[GetParam()]}, "Fortran simulation");
  ASSERT_NE(w, 0u) << "no window titled \"Fortran simulation\"";
  std::string line;
  ASSERT_TRUE(x_.waitForLine("START", line)) << x_.transcript();

  // The grid fills the window at zoom 1; the label is white, upper left.
  fgltest::Picture p;
  ASSERT_TRUE(grabUntil(x_, w, p, [](const fgltest::Picture &q) { return whitePixels(q, 0, 0, 160, 30) > 20; }));
  EXPECT_NE(p.at(4, 316), kGrey);
  EXPECT_EQ(whitePixels(p, 0, 40, 320, 320), 0);

  // Two clicks in, four out: the grid shrinks to 0.64 of the window and the
  // grey background shows at the corners.
  x_.movePointer(w, 160, 160);
  for (unsigned int button : {4u, 4u, 5u, 5u, 5u, 5u}) {
    x_.button(button, true);
    x_.button(button, false);
  }
  const std::vector<std::pair<int, double>> zooms = {{1, 1.25}, {1, 1.5625}, {-1, 1.25},
                                                     {-1, 1.0},  {-1, 0.8},    {-1, 0.64}};
  for (const auto &[direction, zoom] : zooms) {
    ASSERT_TRUE(x_.waitForLine("ZOOM ", line)) << x_.transcript();
    std::istringstream fields(line.substr(5));
    int d = 0;
    double z = 0;
    fields >> d >> z;  // f2c writes 0.8 as .8000
    EXPECT_EQ(d, direction) << line;
    EXPECT_NEAR(z, zoom, 1e-4) << line;
  }
  EXPECT_TRUE(grabUntil(x_, w, p, [](const fgltest::Picture &q) {
    return q.at(4, 316) == kGrey && q.at(316, 316) == kGrey && q.at(160, 160) != kGrey;
  })) << "corner pixel " << std::hex << p.at(4, 316);

  x_.closeWindow(w);
  ASSERT_TRUE(x_.waitForLine("WROTE", line)) << x_.transcript();
  const long written = std::stol(line.substr(6));
  EXPECT_EQ(x_.waitExit(seconds(10)), 0);

  std::ifstream file(dir_ / "simulate.dat");
  ASSERT_TRUE(file) << "no simulate.dat";
  std::string word;
  long steps = 0;
  float zoom = 0;
  file >> word >> steps;
  EXPECT_EQ(word, "STEPS");
  EXPECT_EQ(steps, written);
  EXPECT_GT(steps, 0);
  file >> word >> zoom;
  EXPECT_EQ(word, "ZOOM");
  EXPECT_FLOAT_EQ(zoom, 0.64f);
  std::vector<double> values;
  for (std::string v; file >> v;) values.push_back(std::strtod(v.c_str(), nullptr));
  ASSERT_EQ(values.size(), static_cast<std::size_t>(kN * kN));
  const auto expected = wave(steps);
  double largest = 0;
  for (int j = 0; j < kN; ++j) {
    for (int i = 0; i < kN; ++i) {
      SCOPED_TRACE(testing::Message() << "U(" << i + 1 << ", " << j + 1 << ")");
      EXPECT_NEAR(values[j * kN + i], expected[i][j], 1e-12);
      largest = std::max(largest, std::abs(expected[i][j]));
    }
  }
  EXPECT_GT(largest, 1e-6);  // the wave is still there to compare
  std::cout << "steps computed before the window was closed: " << steps << "\n";
}

INSTANTIATE_TEST_SUITE_P(Compilers, Simulate, ::testing::Range(0, 3),
                         [](const testing::TestParamInfo<int> &info) {
                           return std::string(kCompilers[static_cast<std::size_t>(info.param)]);
                         });

}  // namespace

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // listing needs no programs and no window
  if (argc != 4) {
    std::cerr << "usage: " << argv[0] << " <simulate: gfortran, Flang, f2c builds>\n";
    return 2;
  }
  for (std::size_t i = 0; i < programs.size(); ++i) programs[i] = std::filesystem::absolute(argv[i + 1]).string();
  return RUN_ALL_TESTS();
}
