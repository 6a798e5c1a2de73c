// The drawing routines against real Mesa: every face, opening and roof corner
// where the model-space tables put it, in its colour, lit through the normal
// it should carry; the depth-buffer clear of the openings; and the matrix
// discipline of every routine.
#include "gl_support.h"
#include "viewer.h"

#include "fgl.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

using gltest::capture;
using gltest::in;
using model::Face;

namespace {

// Colours unlike the program's own, so that a swapped or mis-indexed
// component shows.
const std::array<float, 3> kWall{0.1f, 0.25f, 0.8f};
const std::array<float, 3> kRoof{0.9f, 0.3f, 0.05f};

struct Dimensions {
  const char *name;
  float depth, width, height;
};
const Dimensions kDimensions[] = {
    {"Unit", 1.0f, 1.0f, 1.0f},            // roof case A, door on the left wall
    {"Deep", 2.0f, 1.0f, 0.5f},            // case A
    {"Wide", 1.0f, 2.0f, 1.0f},            // case B, door on the front wall
    {"EqualDepthWidth", 1.5f, 1.5f, 0.75f},  // ties take case A and the left-wall door
    {"WideAndTall", 0.8f, 1.25f, 1.5f},    // case B with the height the largest
};

void PrintTo(const Dimensions &d, std::ostream *os) {
  *os << "depth " << d.depth << ", width " << d.width << ", height " << d.height;
}

class Geometry : public ::testing::TestWithParam<Dimensions> {
 protected:
  static void SetUpTestSuite() { gltest::openContext(); }
  const float &d = GetParam().depth;
  const float &w = GetParam().width;
  const float &h = GetParam().height;

  // Positions and plain colours, then positions and lit colours.
  void check(const std::function<void()> &draw, const std::vector<Face> &faces) {
    for (bool viewed : {false, true}) {
      SCOPED_TRACE(viewed ? "viewed and lit" : "plain");
      const auto prims = capture(draw, viewed);
      const auto match = gltest::matchFaces(prims, faces);
      gltest::expectColours(prims, faces, match, kWall, kRoof, viewed);
    }
  }
};

TEST_P(Geometry, BoxHasSixOutwardFacingWalls) {
  const auto faces = model::box(d, w, h);
  check([&] { drawBox(&d, &w, &h, kWall.data()); }, faces);

  // Drawn in the order front, back, left, right, floor, ceiling, each wound
  // counter-clockwise seen from outside.
  const auto prims = capture([&] { drawBox(&d, &w, &h, kWall.data()); }, false);
  ASSERT_EQ(prims.size(), faces.size());
  for (size_t i = 0; i < faces.size(); ++i) {
    EXPECT_EQ(gltest::matchFaces({prims[i]}, {faces[i]})[0], 0) << faces[i].name << " out of order";
    EXPECT_GT(model::dot(prims[i].winding, faces[i].normal), 0) << faces[i].name;
  }
}

TEST_P(Geometry, OpeningsFollowTheOpeningsTable) {
  check([&] { drawOpenings(&d, &w, &h); }, model::openings(d, w, h));
  // The door reaches from the floor to 0.1 h.
  for (const auto &face : model::openings(d, w, h)) {
    if (face.name.rfind("door", 0) != 0) continue;
    double low = 1e9, high = -1e9;
    for (const auto &c : face.corners) low = std::min(low, c.y), high = std::max(high, c.y);
    EXPECT_NEAR(low, -0.5 * h, 1e-6);
    EXPECT_NEAR(high, 0.1 * h, 1e-6);
  }
}

TEST_P(Geometry, RoofFollowsTheRoofTables) {
  check([&] { drawRoof(&d, &w, &h, kWall.data(), kRoof.data()); }, model::roof(d, w, h));
}

TEST_P(Geometry, HouseIsRoofThenBoxThenOpenings) {
  const auto roof = model::roof(d, w, h), box = model::box(d, w, h), openings = model::openings(d, w, h);
  const auto prims = capture([&] { drawHouse(&d, &w, &h, kWall.data(), kRoof.data()); }, false);
  ASSERT_EQ(prims.size(), roof.size() + box.size() + openings.size());
  const std::vector<gltest::Primitive> first(prims.begin(), prims.begin() + 6),
      middle(prims.begin() + 6, prims.begin() + 12), last(prims.begin() + 12, prims.end());
  gltest::matchFaces(first, roof);
  gltest::matchFaces(middle, box);
  gltest::matchFaces(last, openings);
}

TEST_P(Geometry, EveryRoutineLeavesTheMatrixStackAsItFoundIt) {
  const float rafter = 0.6f, length = 1.3f, eave = 0.72f, ridge = 0.8f, pitch = 0.5235988f;
  const std::pair<const char *, std::function<void()>> routines[] = {
      {"drawHouse", [&] { drawHouse(&d, &w, &h, kWall.data(), kRoof.data()); }},
      {"drawBox", [&] { drawBox(&d, &w, &h, kWall.data()); }},
      {"drawFrontFace", [&] { drawFrontFace(&h, &w, &d); }},
      {"drawSideFace", [&] { drawSideFace(&h, &w, &d); }},
      {"drawFloorFace", [&] { drawFloorFace(&h, &w, &d); }},
      {"drawOpenings", [&] { drawOpenings(&d, &w, &h); }},
      {"drawRoof", [&] { drawRoof(&d, &w, &h, kWall.data(), kRoof.data()); }},
      {"drawRoofPlane", [&] { drawRoofPlane(&rafter, &length, &eave, kRoof.data()); }},
      {"drawRoofEnds", [&] { drawRoofEnds(&rafter, &length, &ridge, &pitch, kWall.data(), kRoof.data()); }},
  };
  fglMatrixMode(in<GLenum>(GL_MODELVIEW));
  fglLoadIdentity();
  fglTranslatef(in(0.25f), in(-0.5f), in(0.125f));
  fglPushMatrix();  // depth 2, with a matrix that is not the identity
  fglRotatef(in(17.0f), in(0.3f), in(0.9f), in(0.1f));
  for (const auto &[name, draw] : routines) {
    const auto before = gltest::matrixState();
    draw();
    const auto after = gltest::matrixState();
    EXPECT_EQ(after.stackDepth, before.stackDepth) << name;
    EXPECT_EQ(after.modelview, before.modelview) << name;
    EXPECT_EQ(after.matrixMode, GL_MODELVIEW) << name;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << name;
  }
  fglPopMatrix();
}

INSTANTIATE_TEST_SUITE_P(Dimensions, Geometry, ::testing::ValuesIn(kDimensions),
                         [](const auto &info) { return std::string(info.param.name); });

class Routines : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { gltest::openContext(); }
};

// Each face routine draws one rectangle across its own z axis; distinct
// dimensions show that each reads height, width, depth in that order.
TEST_F(Routines, FaceRoutinesDrawOneRectangleAcrossTheirOwnZAxis) {
  const float h = 0.5f, w = 1.0f, d = 2.0f;
  using model::rectangle, model::kX, model::kY, model::kZ;
  const std::pair<std::function<void()>, Face> cases[] = {
      {[&] { drawFrontFace(&h, &w, &d); }, {"front face", rectangle({0, 0, d / 2}, kX, w / 2, kY, h / 2), kZ, {}}},
      {[&] { drawSideFace(&h, &w, &d); }, {"side face", rectangle({0, 0, w / 2}, kX, d / 2, kY, h / 2), kZ, {}}},
      {[&] { drawFloorFace(&h, &w, &d); }, {"floor face", rectangle({0, 0, h / 2}, kX, d / 2, kY, w / 2), kZ, {}}},
  };
  for (const auto &[draw, face] : cases) {
    const auto prims = capture(draw, false);
    ASSERT_EQ(gltest::matchFaces(prims, {face})[0], 0);
    EXPECT_GT(prims[0].winding.z, 0) << face.name;
  }
}

// One plane: six corners in the frame's z = 0 plane, hanging towards -y, or
// towards +y with rafter and eave negated.
TEST_F(Routines, RoofPlaneHasSixCornersInItsFramesXYPlane) {
  const float length = 2.0f;
  for (float sign : {1.0f, -1.0f}) {
    const float rafter = sign * 0.5f, eave = sign * 0.6f;
    std::vector<model::Vec3> corners;
    for (auto [x, y] : {std::pair{-1.2, -0.6}, {-1.2, -0.25}, {-0.8, 0.0}, {0.8, 0.0}, {1.2, -0.25}, {1.2, -0.6}})
      corners.push_back({x, sign * y, 0.0});
    const std::vector<Face> plane{{"roof plane", corners, model::kZ, model::Colour::roof}};
    const auto prims = capture([&] { drawRoofPlane(&rafter, &length, &eave, kRoof.data()); }, false);
    gltest::expectColours(prims, plane, gltest::matchFaces(prims, plane), kWall, kRoof, false);
  }
}

// The openings clear the depth buffer first, so they show over anything that
// was drawn before them, even nearer the viewer; the colour stays black.
TEST_F(Routines, OpeningsShowOverEverythingDrawnBefore) {
  const GLint size = 200;
  fglViewport(in(0), in(0), &size, &size);
  fglMatrixMode(in<GLenum>(GL_PROJECTION));
  fglLoadIdentity();
  fglMatrixMode(in<GLenum>(GL_MODELVIEW));
  fglLoadIdentity();
  fglDisable(in<GLenum>(GL_LIGHTING));
  fglClearColor(in(1.0f), in(1.0f), in(1.0f), in(1.0f));
  fglClear(in<GLbitfield>(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT));
  // A green square nearer the viewer than the front wall, over the whole view.
  fglColor3f(in(0.0f), in(1.0f), in(0.0f));
  fglBegin(in<GLenum>(GL_POLYGON));
  for (auto [x, y] : {std::pair{-1.0f, -1.0f}, {1.0f, -1.0f}, {1.0f, 1.0f}, {-1.0f, 1.0f}})
    fglVertex3f(&x, &y, in(0.9f));
  fglEnd();

  const float one = 1.0f;
  drawOpenings(&one, &one, &one);
  fglFinish();

  // Pixel of a model point under the identity projection (x, y in [-1, 1]).
  auto pixel = [&](double x, double y) {
    std::array<GLubyte, 4> rgba{};
    fglReadPixels(in(static_cast<GLint>((x + 1) / 2 * size)), in(static_cast<GLint>((y + 1) / 2 * size)), in(1),
                  in(1), in<GLenum>(GL_RGBA), in<GLenum>(GL_UNSIGNED_BYTE), rgba.data());
    return std::array<int, 3>{rgba[0], rgba[1], rgba[2]};
  };
  EXPECT_EQ(pixel(-0.2, 0.0), (std::array<int, 3>{0, 0, 0})) << "front window";
  EXPECT_EQ(pixel(0.2, 0.0), (std::array<int, 3>{0, 0, 0})) << "front window";
  EXPECT_EQ(pixel(0.0, 0.0), (std::array<int, 3>{0, 255, 0})) << "between the windows";
  EXPECT_EQ(pixel(0.8, 0.8), (std::array<int, 3>{0, 255, 0}));

  // Depth buffer: cleared to 1 where no opening was drawn.
  GLfloat depth = 0;
  fglReadPixels(in(5), in(5), in(1), in(1), in<GLenum>(GL_DEPTH_COMPONENT), in<GLenum>(GL_FLOAT), &depth);
  EXPECT_EQ(depth, 1.0f);

  std::array<GLfloat, 4> colour{};
  fglGetFloatv(in<GLenum>(GL_CURRENT_COLOR), colour.data());
  EXPECT_EQ(colour, (std::array<GLfloat, 4>{0, 0, 0, 1}));
  fglEnable(in<GLenum>(GL_LIGHTING));
}

}  // namespace
