// reshape and display against real Mesa: projection bounds and viewport for
// windows of every shape, the viewing rotation, zero sizes, the view scale,
// and repaints that leave the matrices as reshape set them.
#include "gl_support.h"
#include "viewer.h"

#include "fgl.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

using gltest::in;

namespace {

struct Projection {
  double left, right, bottom, top, nearBound, farBound;
  std::array<GLint, 4> viewport;
};

// The bounds of the orthographic projection, derived from its matrix.
Projection currentProjection() {
  std::array<GLdouble, 16> m{};
  fglGetDoublev(in<GLenum>(GL_PROJECTION_MATRIX), m.data());
  Projection p{};
  p.left = (-1 - m[12]) / m[0];
  p.right = (1 - m[12]) / m[0];
  p.bottom = (-1 - m[13]) / m[5];
  p.top = (1 - m[13]) / m[5];
  p.nearBound = (m[14] + 1) / m[10];
  p.farBound = (m[14] - 1) / m[10];
  fglGetIntegerv(in<GLenum>(GL_VIEWPORT), p.viewport.data());
  return p;
}

void expectProjection(const Projection &p, double left, double right, double bottom, double top, GLint w, GLint h) {
  EXPECT_NEAR(p.left, left, 1e-6);
  EXPECT_NEAR(p.right, right, 1e-6);
  EXPECT_NEAR(p.bottom, bottom, 1e-6);
  EXPECT_NEAR(p.top, top, 1e-6);
  EXPECT_NEAR(p.nearBound, -1.0, 1e-6);
  EXPECT_NEAR(p.farBound, 1.0, 1e-6);
  EXPECT_EQ(p.viewport, (std::array<GLint, 4>{0, 0, w, h}));
}

void resize(int w, int h) { reshape(&w, &h); }

class View : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { gltest::openContext(); }
};

struct WindowCase {
  int width, height;
  double left, right, bottom, top;
};

TEST_F(View, ReshapeKeepsTheShorterSideFromMinusOneToOne) {
  const WindowCase cases[] = {
      {300, 300, -1, 1, -1, 1},  // square: the wide branch
      {400, 200, -2, 2, -1, 1},
      {200, 400, -1, 1, -2, 2},
      {640, 480, -4.0 / 3, 4.0 / 3, -1, 1},
      {1, 3, -1, 1, -3, 3},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    resize(c.width, c.height);
    expectProjection(currentProjection(), c.left, c.right, c.bottom, c.top, c.width, c.height);
  }
}

// The base of every picture: a point turned 30 degrees about y, then tilted
// 30 degrees about x; the modelview mode stays current.
TEST_F(View, ReshapeSetsTheViewingRotation) {
  fglMatrixMode(in<GLenum>(GL_MODELVIEW));
  fglTranslatef(in(3.0f), in(0.0f), in(0.0f));  // replaced, not accumulated
  resize(400, 200);
  const auto s = gltest::matrixState();
  const auto r = model::viewRotation();
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col) {
      const double expected = row < 3 && col < 3 ? r.m[row * 3 + col] : (row == col ? 1.0 : 0.0);
      EXPECT_NEAR(s.modelview[col * 4 + row], expected, 1e-6) << "row " << row << ", column " << col;
    }
  EXPECT_EQ(s.matrixMode, GL_MODELVIEW);
  EXPECT_EQ(s.stackDepth, 1);
  // The front, left and top faces face the viewer; back, right and floor do not.
  for (const auto &face : model::box(1, 1, 1))
    EXPECT_EQ((r * face.normal).z > 0, face.name == "front wall" || face.name == "left wall" || face.name == "ceiling")
        << face.name;
}

// A window with no width or no height keeps the last projection, viewport
// and viewing rotation until both sizes are positive again.
TEST_F(View, ZeroSizedWindowKeepsThePreviousProjection) {
  resize(400, 200);
  const auto view = gltest::matrixState();
  for (auto [w, h] : {std::pair{0, 200}, {400, 0}, {0, 0}, {0, 1}, {1, 0}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    resize(w, h);
    expectProjection(currentProjection(), -2, 2, -1, 1, 400, 200);
    EXPECT_EQ(gltest::matrixState().modelview, view.modelview);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
  resize(200, 400);
  expectProjection(currentProjection(), -1, 1, -2, 2, 200, 400);
}

std::vector<model::Face> scaled(std::vector<model::Face> faces, double s) {
  for (auto &f : faces)
    for (auto &c : f.corners) c = s * c;
  return faces;
}

// display scales the model so that its largest dimension is 1. The test
// changes the parameters that the program itself never changes.
TEST_F(View, DisplayScalesByTheLargestDimension) {
  const float saved[3] = {house::depth, house::width, house::height};
  const std::array<float, 3> wall{house::wallColour[0], house::wallColour[1], house::wallColour[2]};
  const std::array<float, 3> roof{house::roofColour[0], house::roofColour[1], house::roofColour[2]};
  EXPECT_EQ(wall, (std::array<float, 3>{0, 0, 1}));
  EXPECT_EQ(roof, (std::array<float, 3>{1, 0, 0}));
  const struct {
    float d, w, h, scale;
  } cases[] = {{1, 1, 1, 1}, {2, 1, 1, 0.5}, {1, 2, 0.5, 0.5}, {0.5, 1, 4, 0.25}, {1.5, 1.5, 1, 1 / 1.5f}};
  for (const auto &c : cases) {
    SCOPED_TRACE("depth " + std::to_string(c.d) + ", width " + std::to_string(c.w) + ", height " + std::to_string(c.h));
    house::depth = c.d, house::width = c.w, house::height = c.h;
    auto faces = scaled(model::roof(c.d, c.w, c.h), c.scale);
    for (auto part : {model::box(c.d, c.w, c.h), model::openings(c.d, c.w, c.h)})
      for (auto &f : scaled(part, c.scale)) faces.push_back(f);
    const auto prims = gltest::capture([] { display(); }, false);
    gltest::expectColours(prims, faces, gltest::matchFaces(prims, faces), wall, roof, false);
  }
  house::depth = saved[0], house::width = saved[1], house::height = saved[2];
}

// A repaint leaves the matrices as reshape set them, so repainting again
// gives the same picture.
TEST_F(View, RepaintsLeaveTheViewAndRepeatThePicture) {
  resize(300, 300);
  auto picture = [] {
    std::vector<GLubyte> pixels(300 * 300 * 3);
    fglPixelStorei(in<GLenum>(GL_PACK_ALIGNMENT), in(1));
    fglReadPixels(in(0), in(0), in(300), in(300), in<GLenum>(GL_RGB), in<GLenum>(GL_UNSIGNED_BYTE), pixels.data());
    return pixels;
  };
  fglClearColor(in(1.0f), in(1.0f), in(1.0f), in(1.0f));
  const auto before = gltest::matrixState();
  display();
  const auto first = picture();
  display();
  const auto second = picture();
  const auto after = gltest::matrixState();
  EXPECT_EQ(after.modelview, before.modelview);
  EXPECT_EQ(after.stackDepth, before.stackDepth);
  EXPECT_EQ(after.matrixMode, GL_MODELVIEW);
  EXPECT_TRUE(first == second) << "two repaints differ";
  const size_t white = std::count(first.begin(), first.end(), GLubyte{255});
  EXPECT_LT(white, first.size() * 9 / 10) << "nothing drawn";
  EXPECT_GT(white, first.size() / 10) << "no background";
}

}  // namespace
