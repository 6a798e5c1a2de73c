// reshape, display and the roof's working values against the recording
// stand-in for libGL: the exact commands and the exact bits of every value
// the viewer computes.
#include "viewer.h"

#include "gl_recorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

// The model parameters that display() reads; the program's own are in
// main.cpp, which this test does not link.
namespace house {
float depth = 1.0f;
float width = 1.0f;
float height = 1.0f;
float wallColour[3] = {0.0f, 0.0f, 1.0f};
float roofColour[3] = {1.0f, 0.0f, 0.0f};
}  // namespace house

namespace {

using gl_recorder::Call;

std::vector<std::string> commands() {
  std::vector<std::string> names;
  for (const auto &c : gl_recorder::calls()) names.push_back(c.command);
  return names;
}

std::vector<Call> callsOf(const std::string &command) {
  std::vector<Call> out;
  for (const auto &c : gl_recorder::calls())
    if (c.command == command) out.push_back(c);
  return out;
}

template <typename T>
std::vector<T> values(const Call &c) {
  std::vector<T> v;
  for (const auto &a : c.args) {
    EXPECT_EQ(a.width, sizeof(T)) << c.command;
    v.push_back(a.as<T>());
  }
  return v;
}

struct ReshapeCase {
  int width, height;
  double left, right, bottom, top;  // each the double nearest the exact quotient
};

TEST(ReshapeCalls, ViewportProjectionAndRotationInOrder) {
  const ReshapeCase cases[] = {
      {300, 300, -1, 1, -1, 1}, {400, 200, -2, 2, -1, 1},  {200, 400, -1, 1, -2, 2},
      {3, 7, -1, 1, -7.0 / 3, 7.0 / 3}, {7, 3, -7.0 / 3, 7.0 / 3, -1, 1}, {640, 480, -4.0 / 3, 4.0 / 3, -1, 1},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    gl_recorder::reset();
    int w = c.width, h = c.height;
    reshape(&w, &h);
    EXPECT_EQ(w, c.width);
    EXPECT_EQ(h, c.height);
    ASSERT_EQ(commands(), (std::vector<std::string>{"glViewport", "glMatrixMode", "glLoadIdentity", "glOrtho",
                                                    "glMatrixMode", "glLoadIdentity", "glRotatef", "glRotatef"}));
    const auto &log = gl_recorder::calls();
    EXPECT_EQ(values<GLint>(log[0]), (std::vector<GLint>{0, 0, c.width, c.height}));
    EXPECT_EQ(values<GLenum>(log[1]), std::vector<GLenum>{GL_PROJECTION});
    EXPECT_EQ(values<GLdouble>(log[3]), (std::vector<GLdouble>{c.left, c.right, c.bottom, c.top, -1.0, 1.0}));
    EXPECT_EQ(values<GLenum>(log[4]), std::vector<GLenum>{GL_MODELVIEW});
    EXPECT_EQ(values<GLfloat>(log[6]), (std::vector<GLfloat>{30, 1, 0, 0}));
    EXPECT_EQ(values<GLfloat>(log[7]), (std::vector<GLfloat>{30, 0, 1, 0}));
  }
}

TEST(ReshapeCalls, ZeroSizedWindowChangesNothing) {
  for (auto [w, h] : {std::pair{0, 200}, {400, 0}, {0, 0}}) {
    gl_recorder::reset();
    reshape(&w, &h);
    EXPECT_TRUE(gl_recorder::calls().empty()) << w << "x" << h;
  }
}

struct ScaleCase {
  const char *name;
  float depth, width, height;
  float scale;
};

// The largest dimension is found by "take depth; switch to width unless the
// value taken >= width; switch to height unless the value taken >= height",
// so an unordered comparison switches.
TEST(DisplayCalls, ScaleByTheLargestDimensionThenDrawAndFlush) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const ScaleCase cases[] = {
      {"unit", 1, 1, 1, 1.0f},
      {"depth largest", 2, 1, 1, 0.5f},
      {"width largest", 1, 4, 2, 0.25f},
      {"height largest", 1, 1, 3, static_cast<float>(1.0 / 3.0f)},
      {"depth NaN takes width", nan, 2, 1, 0.5f},
      {"width NaN, then height", 3, nan, 1, 1.0f},
      {"height NaN", 1, 1, nan, nan},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    house::depth = c.depth, house::width = c.width, house::height = c.height;
    gl_recorder::reset();
    display();
    const auto names = commands();
    ASSERT_GE(names.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 3),
              (std::vector<std::string>{"glPushMatrix", "glClear", "glScalef"}));
    EXPECT_EQ(std::vector<std::string>(names.end() - 2, names.end()),
              (std::vector<std::string>{"glPopMatrix", "glFlush"}));
    const auto &log = gl_recorder::calls();
    EXPECT_EQ(values<GLbitfield>(log[1]), std::vector<GLbitfield>{GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT});
    for (float s : values<GLfloat>(log[2])) {
      if (std::isnan(c.scale))
        EXPECT_TRUE(std::isnan(s));
      else
        EXPECT_EQ(s, c.scale);
    }
    EXPECT_EQ(callsOf("glPushMatrix").size(), callsOf("glPopMatrix").size());
  }
  house::depth = house::width = house::height = 1.0f;
}

// The roof's angles, exactly: the first plane is tilted by -gableTurn, where
// gableTurn is the 32-bit float just above 60, the second by a further
// -planeTurn = -60; case A first turns the frame 90 degrees about y, case B
// turns the ends' frame -90 degrees. The ridge stands at 0.7886751.
TEST(RoofCalls, AnglesAndRidgeHeightOfTheUnitModel) {
  const float gableTurn = std::nextafter(60.0f, 61.0f);
  const float wall[3] = {0, 0, 1}, roof[3] = {1, 0, 0};
  for (bool caseA : {true, false}) {
    SCOPED_TRACE(caseA ? "case A" : "case B");
    const float d = caseA ? 1.0f : 0.5f, w = 1.0f, h = 1.0f;
    gl_recorder::reset();
    drawRoof(&d, &w, &h, wall, roof);
    std::vector<std::vector<GLfloat>> rotations;
    for (const auto &c : callsOf("glRotatef")) rotations.push_back(values<GLfloat>(c));
    std::vector<std::vector<GLfloat>> expected;
    if (caseA) expected.push_back({90, 0, 1, 0});
    expected.push_back({-gableTurn, 1, 0, 0});
    expected.push_back({-60, 1, 0, 0});
    if (!caseA) expected.push_back({-90, 0, 1, 0});
    expected.push_back({180, 0, 1, 0});
    EXPECT_EQ(rotations, expected);
    if (caseA) {
      const auto translations = callsOf("glTranslatef");
      ASSERT_FALSE(translations.empty());
      EXPECT_FLOAT_EQ(values<GLfloat>(translations[0])[1], 0.7886751f);
    }
  }
}

}  // namespace
