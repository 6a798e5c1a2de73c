#include "gl_support.h"

#include "fgl.h"

#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cmath>

namespace gltest {
namespace {
constexpr double kHalfWidth = 4.0;  // the capture's view volume is [-4, 4] on every axis
constexpr GLint kViewport = 1000;
}  // namespace

void openContext() {
  static bool open = false;
  if (open) return;
  int argc = 1;
  char name[] = "viewer_test";
  char *argv[] = {name, nullptr};
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGBA | GLUT_SINGLE | GLUT_DEPTH);
  glutCreateWindow("viewer test");
  for (GLenum cap : {GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0, GL_COLOR_MATERIAL}) fglEnable(&cap);
  open = true;
}

namespace {
constexpr double kSame = 1e-5;

model::Vec3 cross(model::Vec3 a, model::Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
model::Vec3 triangleNormal(const Primitive &t) {
  return cross(t[1].position - t[0].position, t[2].position - t[0].position);
}

// Mesa hands polygons to feedback as triangles. A triangle continues the
// polygon before it when it lies in the same plane and shares an edge with
// it; distinct consecutive faces of the house never do both.
std::vector<Primitive> joinTriangles(const std::vector<Primitive> &triangles) {
  std::vector<Primitive> polygons;
  for (const auto &t : triangles) {
    bool joined = false;
    if (!polygons.empty() && t.size() == 3) {
      auto &p = polygons.back();
      const model::Vec3 n = p.winding, m = triangleNormal(t);
      int shared = 0;
      for (const auto &v : t)
        for (const auto &q : p)
          if (model::length(v.position - q.position) < kSame) ++shared;
      const bool parallel = model::length(cross(n, m)) < 1e-3 * model::length(n) * model::length(m);
      const bool inPlane = std::abs(model::dot(n, t[0].position - p[0].position)) < 1e-4 * model::length(n);
      if (shared >= 2 && parallel && inPlane && model::dot(n, m) > 0) {
        for (const auto &v : t) {
          bool known = false;
          for (const auto &q : p) known = known || model::length(v.position - q.position) < kSame;
          if (!known) p.push_back(v);
        }
        p.winding = n + m;
        joined = true;
      }
    }
    if (!joined) {
      polygons.push_back(t);
      if (t.size() == 3) polygons.back().winding = triangleNormal(t);
    }
  }
  return polygons;
}
}  // namespace

std::vector<Primitive> capture(const std::function<void()> &draw, bool viewed) {
  const double h = kHalfWidth;
  fglViewport(in(0), in(0), &kViewport, &kViewport);
  fglMatrixMode(in<GLenum>(GL_PROJECTION));
  fglLoadIdentity();
  fglOrtho(in(-h), &h, in(-h), &h, in(-h), &h);
  fglMatrixMode(in<GLenum>(GL_MODELVIEW));
  fglLoadIdentity();
  if (viewed) {
    fglRotatef(in(30.0f), in(1.0f), in(0.0f), in(0.0f));
    fglRotatef(in(30.0f), in(0.0f), in(1.0f), in(0.0f));
    fglEnable(in<GLenum>(GL_LIGHTING));
  } else {
    fglDisable(in<GLenum>(GL_LIGHTING));
  }

  static std::vector<GLfloat> buffer(1 << 16);
  fglFeedbackBuffer(in(static_cast<GLsizei>(buffer.size())), in<GLenum>(GL_3D_COLOR), buffer.data());
  fglRenderMode(in<GLenum>(GL_FEEDBACK));
  draw();
  const GLint used = fglRenderMode(in<GLenum>(GL_RENDER));
  fglEnable(in<GLenum>(GL_LIGHTING));
  EXPECT_GE(used, 0) << "feedback buffer overflow";

  const model::Mat3 toModel = viewed ? model::viewRotation().transposed() : model::Mat3{{1, 0, 0, 0, 1, 0, 0, 0, 1}};
  std::vector<Primitive> triangles;
  for (GLint i = 0; i < used;) {
    const GLenum token = static_cast<GLenum>(buffer[i++]);
    if (token != GL_POLYGON_TOKEN) {
      ADD_FAILURE() << "unexpected feedback token " << token;
      break;
    }
    const int n = static_cast<int>(buffer[i++]);
    Primitive p;
    for (int k = 0; k < n; ++k, i += 7) {
      const model::Vec3 eye{(2.0 * buffer[i] / kViewport - 1.0) * h, (2.0 * buffer[i + 1] / kViewport - 1.0) * h,
                            -(2.0 * buffer[i + 2] - 1.0) * h};
      p.push_back({toModel * eye, {buffer[i + 3], buffer[i + 4], buffer[i + 5], buffer[i + 6]}});
    }
    triangles.push_back(p);
  }
  return joinTriangles(triangles);
}

namespace {
bool near(model::Vec3 a, model::Vec3 b, double tolerance) { return model::length(a - b) <= tolerance; }

bool sameCorners(const Primitive &p, const std::vector<model::Vec3> &corners, double tolerance) {
  if (p.size() != corners.size()) return false;
  std::vector<bool> used(p.size(), false);
  for (const auto &c : corners) {
    bool found = false;
    for (size_t k = 0; k < p.size() && !found; ++k)
      if (!used[k] && near(p[k].position, c, tolerance)) used[k] = found = true;
    if (!found) return false;
  }
  return true;
}

std::string describe(const std::vector<model::Vec3> &corners) {
  std::string s;
  for (const auto &c : corners)
    s += " (" + std::to_string(c.x) + ", " + std::to_string(c.y) + ", " + std::to_string(c.z) + ")";
  return s;
}
}  // namespace

std::vector<int> matchFaces(const std::vector<Primitive> &actual, const std::vector<model::Face> &expected,
                            double tolerance) {
  std::vector<int> match(expected.size(), -1);
  std::vector<bool> taken(actual.size(), false);
  for (size_t f = 0; f < expected.size(); ++f) {
    for (size_t k = 0; k < actual.size() && match[f] < 0; ++k)
      if (!taken[k] && sameCorners(actual[k], expected[f].corners, tolerance)) {
        taken[k] = true;
        match[f] = static_cast<int>(k);
      }
    if (match[f] < 0) ADD_FAILURE() << "no primitive for the " << expected[f].name << ":" << describe(expected[f].corners);
  }
  for (size_t k = 0; k < actual.size(); ++k)
    if (!taken[k]) {
      std::vector<model::Vec3> corners;
      for (const auto &v : actual[k]) corners.push_back(v.position);
      ADD_FAILURE() << "unexpected primitive:" << describe(corners);
    }
  return match;
}

void expectColours(const std::vector<Primitive> &actual, const std::vector<model::Face> &expected,
                   const std::vector<int> &match, const std::array<float, 3> &wall,
                   const std::array<float, 3> &roof, bool viewed) {
  for (size_t f = 0; f < expected.size(); ++f) {
    if (match[f] < 0) continue;
    const auto &face = expected[f];
    std::array<float, 3> base{0, 0, 0};
    if (face.colour == model::Colour::wall) base = wall;
    if (face.colour == model::Colour::roof) base = roof;
    const double factor = viewed ? model::shade(model::viewRotation() * face.normal) : 1.0;
    for (const auto &v : actual[match[f]])
      for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(v.colour[c], std::min(1.0, base[c] * factor), 2e-3)
            << face.name << ", component " << c << (viewed ? " (lit)" : "");
  }
}

MatrixState matrixState() {
  MatrixState s{};
  fglGetFloatv(in<GLenum>(GL_MODELVIEW_MATRIX), s.modelview.data());
  fglGetIntegerv(in<GLenum>(GL_MODELVIEW_STACK_DEPTH), &s.stackDepth);
  fglGetIntegerv(in<GLenum>(GL_MATRIX_MODE), &s.matrixMode);
  return s;
}

}  // namespace gltest
