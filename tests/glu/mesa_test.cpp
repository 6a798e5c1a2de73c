// The GLU entries against Mesa's GLU in a real context (a freeglut window on
// the test's own X server): matrices, projections, callbacks and mipmaps,
// each compared with the same work done by direct GLU calls.
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "fgl.h"
#include "fglu.h"

namespace {

std::vector<GLdouble> matrix(GLenum which) {
  std::vector<GLdouble> m(16);
  glGetDoublev(which, m.data());
  return m;
}

class Mesa : public ::testing::Test {
 protected:
  void SetUp() override {
    while (glGetError() != GL_NO_ERROR) {
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
  }
  void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }
};

// ---------------------------------------------------------------------------
// Matrices: the modelview matrix after each entry equals that after the
// direct call with the same values (all distinct, so an argument read at the
// wrong place or width shows).

TEST_F(Mesa, MatrixEntriesLeaveTheMatrixOfTheDirectCall) {
  const GLdouble a = 47.5, b = 1.25, c = 0.5, d = 80.0, e = 1.5, f = -2.0, g = 3.25, h = 0.1, i = 0.7;
  GLint viewport[4] = {10, 20, 300, 200};
  struct Case {
    const char *name;
    std::function<void()> entry, direct;
  };
  const Case cases[] = {
      {"Perspective", [&] { fgluPerspective(&a, &b, &c, &d); }, [&] { gluPerspective(a, b, c, d); }},
      {"LookAt", [&] { fgluLookAt(&a, &b, &c, &d, &e, &f, &g, &h, &i); },
       [&] { gluLookAt(a, b, c, d, e, f, g, h, i); }},
      {"Ortho2D", [&] { fgluOrtho2D(&f, &b, &c, &d); }, [&] { gluOrtho2D(f, b, c, d); }},
      {"PickMatrix", [&] { fgluPickMatrix(&d, &a, &e, &g, viewport); }, [&] { gluPickMatrix(d, a, e, g, viewport); }},
  };
  for (const Case &k : cases) {
    glLoadIdentity();
    k.entry();
    const std::vector<GLdouble> got = matrix(GL_MODELVIEW_MATRIX);
    glLoadIdentity();
    k.direct();
    EXPECT_EQ(got, matrix(GL_MODELVIEW_MATRIX)) << k.name;
    EXPECT_NE(got, std::vector<GLdouble>({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1})) << k.name;
  }
}

TEST_F(Mesa, ProjectAndUnProjectRoundTrip) {
  glLoadIdentity();
  gluPerspective(60.0, 1.5, 1.0, 50.0);
  const std::vector<GLdouble> proj = matrix(GL_MODELVIEW_MATRIX);
  glLoadIdentity();
  gluLookAt(1, 2, 8, 0, 0, 0, 0, 1, 0);
  const std::vector<GLdouble> model = matrix(GL_MODELVIEW_MATRIX);
  const GLint view[4] = {0, 0, 300, 200};
  const GLdouble x = 0.25, y = -0.5, z = 1.75;
  GLdouble wx, wy, wz, dx, dy, dz;
  ASSERT_EQ(fgluProject(&x, &y, &z, model.data(), proj.data(), view, &wx, &wy, &wz), GL_TRUE);
  ASSERT_EQ(gluProject(x, y, z, model.data(), proj.data(), view, &dx, &dy, &dz), GL_TRUE);
  EXPECT_EQ(wx, dx);
  EXPECT_EQ(wy, dy);
  EXPECT_EQ(wz, dz);
  GLdouble ox, oy, oz;
  ASSERT_EQ(fgluUnProject(&wx, &wy, &wz, model.data(), proj.data(), view, &ox, &oy, &oz), GL_TRUE);
  EXPECT_NEAR(ox, x, 1e-9);
  EXPECT_NEAR(oy, y, 1e-9);
  EXPECT_NEAR(oz, z, 1e-9);
  const GLdouble w = 1.0, n = 0.0, fr = 1.0;
  GLdouble o4[4];
  ASSERT_EQ(fgluUnProject4(&wx, &wy, &wz, &w, model.data(), proj.data(), view, &n, &fr, &o4[0], &o4[1], &o4[2], &o4[3]),
            GL_TRUE);
  EXPECT_NEAR(o4[0] / o4[3], x, 1e-9);
  EXPECT_NEAR(o4[2] / o4[3], z, 1e-9);
  // A singular matrix: GLU's failure comes back.
  const std::vector<GLdouble> zero(16, 0.0);
  EXPECT_EQ(fgluUnProject(&wx, &wy, &wz, zero.data(), proj.data(), view, &ox, &oy, &oz), GL_FALSE);
}

// ---------------------------------------------------------------------------
// Tessellator callbacks. Routines written as a Fortran compiler emits them:
// every argument by address. Each logs what it received.

struct Event {
  std::string what;
  GLint value = 0;
  const void *data = nullptr;
  const void *polygon = nullptr;
  std::array<double, 3> xyz{};
};
std::vector<Event> log_a, log_b;
std::vector<std::array<double, 16>> outdata_seen_zero;  // OUTDATA as the combine routine received it

// Tessellator A: the plain kinds.
void a_begin(const GLint *type) { log_a.push_back({"begin", *type}); }
void a_vertex(const double *v) { log_a.push_back({"vertex", 0, v, nullptr, {v[0], v[1], v[2]}}); }
void a_end() { log_a.push_back({"end"}); }
void a_error(const GLint *code) { log_a.push_back({"error", *code}); }
void a_edge(const GLint *flag) { log_a.push_back({"edge", *flag}); }
void a_combine(const double *coords, const double *d1, const double *d2, const double *d3, const double *d4,
               const float *w, double *out) {
  std::array<double, 16> o;
  std::memcpy(o.data(), out, sizeof o);
  outdata_seen_zero.push_back(o);
  for (const double *d : {d1, d2, d3, d4}) ASSERT_NE(d, nullptr);
  out[0] = coords[0];
  out[1] = coords[1];
  out[2] = coords[2];
  out[15] = w[0] + w[1] + w[2] + w[3];
  log_a.push_back({"combine", 0, out, nullptr, {coords[0], coords[1], coords[2]}});
}

// Tessellator B: the _DATA kinds.
void b_begin(const GLint *type, const void *p) { log_b.push_back({"begin", *type, nullptr, p}); }
void b_vertex(const double *v, const void *p) { log_b.push_back({"vertex", 0, v, p, {v[0], v[1], v[2]}}); }
void b_end(const void *p) { log_b.push_back({"end", 0, nullptr, p}); }
void b_error(const GLint *code, const double *p) { log_b.push_back({"error", *code, nullptr, p, {p[0], p[15], 0}}); }
void b_edge(const GLint *flag, const void *p) { log_b.push_back({"edge", *flag, nullptr, p}); }
void b_combine(const double *coords, const double *, const double *, const double *, const double *, const float *,
               double *out, const void *p) {
  out[0] = coords[0];
  out[1] = coords[1];
  out[2] = coords[2];
  log_b.push_back({"combine", 0, out, p, {coords[0], coords[1], coords[2]}});
}

template <typename F>
void (*routine(F *f))() {
  return reinterpret_cast<void (*)()>(f);
}

// A self-intersecting bow tie and a square with a square hole.
const double kBowTie[4][3] = {{0, 0, 0}, {2, 2, 0}, {2, 0, 0}, {0, 2, 0}};

// The direct tessellation's vertices, for comparison.
std::vector<std::array<double, 3>> direct_vertices;
std::vector<std::unique_ptr<double[]>> direct_new;
void GLAPIENTRY d_vertex(void *v) {
  const double *p = static_cast<const double *>(v);
  direct_vertices.push_back({p[0], p[1], p[2]});
}
void GLAPIENTRY d_combine(GLdouble c[3], void *[4], GLfloat[4], void **out) {
  direct_new.emplace_back(new double[3]{c[0], c[1], c[2]});
  *out = direct_new.back().get();
}
void GLAPIENTRY d_edge(GLboolean) {}

std::vector<std::array<double, 3>> vertices_of(const std::vector<Event> &log) {
  std::vector<std::array<double, 3>> v;
  for (const Event &e : log)
    if (e.what == "vertex") v.push_back(e.xyz);
  return v;
}

TEST_F(Mesa, TwoTessellatorsCallTheirOwnRoutinesWithEveryValueByAddress) {
  log_a.clear();
  log_b.clear();
  outdata_seen_zero.clear();
  const GLint ta = fgluNewTess(), tb = fgluNewTess();
  ASSERT_GT(ta, 0);
  ASSERT_GT(tb, ta);
  const std::pair<GLenum, void (*)()> kinds_a[] = {
      {GLU_TESS_BEGIN, routine(a_begin)},     {GLU_TESS_VERTEX, routine(a_vertex)},
      {GLU_TESS_END, routine(a_end)},         {GLU_TESS_ERROR, routine(a_error)},
      {GLU_TESS_EDGE_FLAG, routine(a_edge)},  {GLU_TESS_COMBINE, routine(a_combine)}};
  const std::pair<GLenum, void (*)()> kinds_b[] = {
      {GLU_TESS_BEGIN_DATA, routine(b_begin)},     {GLU_TESS_VERTEX_DATA, routine(b_vertex)},
      {GLU_TESS_END_DATA, routine(b_end)},         {GLU_TESS_ERROR_DATA, routine(b_error)},
      {GLU_TESS_EDGE_FLAG_DATA, routine(b_edge)},  {GLU_TESS_COMBINE_DATA, routine(b_combine)}};
  for (const auto &[which, r] : kinds_a) fgluTessCallback(&ta, &which, r);
  for (const auto &[which, r] : kinds_b) fgluTessCallback(&tb, &which, r);

  // The same polygon through both, interleaved: A's routines see only A's.
  double polygon_data[16] = {42.0};
  const GLenum winding = GLU_TESS_WINDING_RULE;
  const double odd = GLU_TESS_WINDING_ODD;
  fgluTessProperty(&ta, &winding, &odd);
  fgluTessProperty(&tb, &winding, &odd);
  fgluTessBeginPolygon(&ta, nullptr);
  fgluTessBeginPolygon(&tb, polygon_data);
  fgluTessBeginContour(&ta);
  fgluTessBeginContour(&tb);
  double coords[4][3];
  std::memcpy(coords, kBowTie, sizeof coords);
  for (auto &c : coords) {
    fgluTessVertex(&ta, c, c);
    fgluTessVertex(&tb, c, c);
  }
  fgluTessEndContour(&ta);
  fgluTessEndContour(&tb);
  fgluTessEndPolygon(&tb);
  EXPECT_TRUE(log_a.empty()) << "B's polygon reached A's routines";
  fgluTessEndPolygon(&ta);

  // The direct tessellation of the same polygon gives the same vertices.
  GLUtesselator *d = gluNewTess();
  gluTessCallback(d, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(d_vertex));
  gluTessCallback(d, GLU_TESS_COMBINE, reinterpret_cast<_GLUfuncptr>(d_combine));
  gluTessCallback(d, GLU_TESS_EDGE_FLAG, reinterpret_cast<_GLUfuncptr>(d_edge));
  gluTessProperty(d, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_ODD);
  direct_vertices.clear();
  gluTessBeginPolygon(d, nullptr);
  gluTessBeginContour(d);
  for (auto &c : coords) gluTessVertex(d, c, c);
  gluTessEndContour(d);
  gluTessEndPolygon(d);
  gluDeleteTess(d);
  direct_new.clear();

  for (const std::vector<Event> *log : {&log_a, &log_b}) {
    SCOPED_TRACE(log == &log_a ? "A" : "B");
    EXPECT_EQ(vertices_of(*log), direct_vertices);
    ASSERT_FALSE(log->empty());
    EXPECT_EQ(log->front().what, "combine") << "the crossing makes one new vertex first";
    EXPECT_EQ(log->front().xyz, (std::array<double, 3>{1, 1, 0}));
    std::size_t begins = 0, edges = 0, ends = 0, combined_vertices = 0;
    for (const Event &e : *log) {
      if (e.what == "begin") {
        ++begins;
        EXPECT_EQ(e.value, GL_TRIANGLES) << "an edge-flag routine asks for triangles";
      }
      if (e.what == "edge") {
        ++edges;
        EXPECT_TRUE(e.value == 0 || e.value == 1);
      }
      ends += e.what == "end";
      if (e.what == "vertex") {
        const bool callers = e.data >= static_cast<const void *>(coords) && e.data < static_cast<const void *>(coords + 4);
        const bool combined = e.data == log->front().data;
        EXPECT_TRUE(callers || combined) << "vertex data is the caller's array or the combine OUTDATA";
        combined_vertices += combined;
      }
      if (log == &log_b) {
        EXPECT_EQ(e.polygon, static_cast<const void *>(polygon_data)) << e.what;
      }
    }
    EXPECT_EQ(begins, 1u);
    EXPECT_EQ(ends, 1u);
    EXPECT_GE(edges, 1u);
    EXPECT_EQ(combined_vertices, 2u) << "both triangles use the new vertex";
  }
  ASSERT_EQ(outdata_seen_zero.size(), 1u);
  EXPECT_EQ(outdata_seen_zero[0], (std::array<double, 16>{})) << "OUTDATA arrives as zeros";

  // Errors reach the right routine with the code; B's, before any polygon
  // data, an array of zeros in place of the missing data.
  log_a.clear();
  log_b.clear();
  const GLint tc = fgluNewTess();
  fgluTessEndContour(&tc);  // no routine registered: nothing happens
  const GLint tb2 = fgluNewTess();
  const GLenum error_data = GLU_TESS_ERROR_DATA;
  fgluTessCallback(&tb2, &error_data, routine(b_error));
  fgluTessBeginContour(&ta);
  fgluTessBeginContour(&tb2);
  ASSERT_EQ(log_a.size(), 1u);
  EXPECT_EQ(log_a[0].what, "error");
  EXPECT_EQ(log_a[0].value, GLU_TESS_MISSING_BEGIN_POLYGON);
  ASSERT_EQ(log_b.size(), 1u);
  EXPECT_EQ(log_b[0].value, GLU_TESS_MISSING_BEGIN_POLYGON);
  EXPECT_NE(log_b[0].polygon, nullptr);
  EXPECT_EQ(log_b[0].xyz[0], 0.0);
  EXPECT_EQ(log_b[0].xyz[1], 0.0);

  // A removed routine is called no more.
  log_a.clear();
  const GLenum error = GLU_TESS_ERROR;
  fgluTessCallbackNull(&ta, &error);
  fgluTessBeginPolygon(&ta, nullptr);  // MISSING_END_CONTOUR and MISSING_END_POLYGON, unreported
  for (const Event &e : log_a) EXPECT_NE(e.what, "error");
  for (GLint t : {ta, tb, tb2, tc}) fgluDeleteTess(&t);
}

// OpenGL entries serve as routines, as in C: the tessellated polygon drawn by
// fglBegin/fglVertex3dv/fglEnd in feedback mode gives the direct result.
std::vector<GLfloat> feedback(const std::function<void()> &draw) {
  std::vector<GLfloat> buffer(512, -1.0f);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  buffer.resize(static_cast<std::size_t>(std::max(glRenderMode(GL_RENDER), 0)));
  return buffer;
}

TEST_F(Mesa, OpenGlEntriesAsTessellatorRoutines) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-1, 3, -1, 3, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  double outer[4][3] = {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}};
  double hole[4][3] = {{0.5, 0.5, 0}, {0.5, 1.5, 0}, {1.5, 1.5, 0}, {1.5, 0.5, 0}};
  const GLint t = fgluNewTess();
  const GLenum begin = GLU_TESS_BEGIN, vertex = GLU_TESS_VERTEX, end = GLU_TESS_END;
  fgluTessCallback(&t, &begin, reinterpret_cast<void (*)()>(fglBegin));
  fgluTessCallback(&t, &vertex, reinterpret_cast<void (*)()>(fglVertex3dv));
  fgluTessCallback(&t, &end, reinterpret_cast<void (*)()>(fglEnd));
  const std::vector<GLfloat> got = feedback([&] {
    fgluTessBeginPolygon(&t, nullptr);
    for (auto *contour : {outer, hole}) {
      fgluTessBeginContour(&t);
      for (int i = 0; i < 4; ++i) fgluTessVertex(&t, contour[i], contour[i]);
      fgluTessEndContour(&t);
    }
    fgluTessEndPolygon(&t);
  });
  fgluDeleteTess(&t);
  GLUtesselator *d = gluNewTess();
  gluTessCallback(d, GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(glBegin));
  gluTessCallback(d, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(glVertex3dv));
  gluTessCallback(d, GLU_TESS_END, reinterpret_cast<_GLUfuncptr>(glEnd));
  const std::vector<GLfloat> want = feedback([&] {
    gluTessBeginPolygon(d, nullptr);
    for (auto *contour : {outer, hole}) {
      gluTessBeginContour(d);
      for (int i = 0; i < 4; ++i) gluTessVertex(d, contour[i], contour[i]);
      gluTessEndContour(d);
    }
    gluTessEndPolygon(d);
  });
  gluDeleteTess(d);
  EXPECT_EQ(got, want);
  EXPECT_GT(got.size(), 30u) << "eight triangles around the hole";
}

// 10,000 cycles of new, use and delete of each kind with Mesa's GLU: the heap
// in use ends where it started.
TEST_F(Mesa, TenThousandObjectCyclesLeaveTheHeapFlat) {
  const GLenum which = GLU_TESS_ERROR;
  auto cycle = [&](int n) {
    for (int i = 0; i < n; ++i) {
      const GLint q = fgluNewQuadric(), t = fgluNewTess(), b = fgluNewNurbsRenderer();
      ASSERT_TRUE(q > 0 && t > 0 && b > 0);
      fgluTessCallback(&t, &which, routine(a_error));
      fgluDeleteNurbsRenderer(&b);
      fgluDeleteTess(&t);
      fgluDeleteQuadric(&q);
    }
  };
  cycle(100);
  const std::size_t before = mallinfo2().uordblks;
  cycle(10000);
  EXPECT_LE(mallinfo2().uordblks, before + 16384) << "heap in use grew over 10,000 cycles";
}

// ---------------------------------------------------------------------------
// Quadric and NURBS callbacks.

std::vector<GLint> quadric_errors;
void q_error(const GLint *code) { quadric_errors.push_back(*code); }

TEST_F(Mesa, QuadricErrorsReachTheQuadricsRoutine) {
  quadric_errors.clear();
  const GLint q1 = fgluNewQuadric(), q2 = fgluNewQuadric();
  const GLenum which = GLU_ERROR, bad = 12345, fill = GLU_FILL;
  fgluQuadricCallback(&q1, &which, routine(q_error));
  fgluQuadricDrawStyle(&q1, &bad);
  fgluQuadricDrawStyle(&q2, &bad);  // no routine: nothing
  fgluQuadricDrawStyle(&q1, &fill);
  EXPECT_EQ(quadric_errors, std::vector<GLint>{GLU_INVALID_ENUM});
  fgluDeleteQuadric(&q1);
  fgluDeleteQuadric(&q2);
}

std::vector<Event> nurbs_log;
void n_begin(const GLint *type) { nurbs_log.push_back({"begin", *type}); }
void n_vertex(const float *v) { nurbs_log.push_back({"vertex", 0, v, nullptr, {v[0], v[1], v[2]}}); }
void n_end() { nurbs_log.push_back({"end"}); }
void n_error(const GLint *code) { nurbs_log.push_back({"error", *code}); }
void n_begin_data(const GLint *type, const void *u) { nurbs_log.push_back({"begin_data", *type, nullptr, u}); }
void n_vertex_data(const float *v, const void *u) {
  nurbs_log.push_back({"vertex_data", 0, v, u, {v[0], v[1], v[2]}});
}
void n_end_data(const void *u) { nurbs_log.push_back({"end_data", 0, nullptr, u}); }

std::vector<Event> direct_nurbs;
void GLAPIENTRY dn_begin(GLenum type) { direct_nurbs.push_back({"begin", static_cast<GLint>(type)}); }
void GLAPIENTRY dn_vertex(GLfloat *v) { direct_nurbs.push_back({"vertex", 0, nullptr, nullptr, {v[0], v[1], v[2]}}); }
void GLAPIENTRY dn_end() { direct_nurbs.push_back({"end"}); }

TEST_F(Mesa, NurbsTessellatorRoutinesGetTheCurveOfDirectGlu) {
  GLfloat knots[8] = {0, 0, 0, 0, 1, 1, 1, 1};
  GLfloat ctl[4][3] = {{-1, -1, 0}, {-0.5, 1, 0}, {0.5, -1, 0}, {1, 1, 0}};
  const GLint nknots = 8, stride = 3, order = 4;
  const GLenum map = GL_MAP1_VERTEX_3;
  nurbs_log.clear();
  const GLint n = fgluNewNurbsRenderer();
  const GLenum mode = GLU_NURBS_MODE, step = GLU_SAMPLING_METHOD, u_step = GLU_U_STEP;
  const GLfloat tess = GLU_NURBS_TESSELLATOR, domain = GLU_DOMAIN_DISTANCE, steps = 6;
  fgluNurbsProperty(&n, &mode, &tess);
  fgluNurbsProperty(&n, &step, &domain);
  fgluNurbsProperty(&n, &u_step, &steps);
  const std::pair<GLenum, void (*)()> kinds[] = {{GLU_NURBS_BEGIN, routine(n_begin)},
                                                 {GLU_NURBS_VERTEX, routine(n_vertex)},
                                                 {GLU_NURBS_END, routine(n_end)},
                                                 {GLU_NURBS_ERROR, routine(n_error)}};
  for (const auto &[which, r] : kinds) fgluNurbsCallback(&n, &which, r);
  fgluBeginCurve(&n);
  fgluNurbsCurve(&n, &nknots, knots, &stride, &ctl[0][0], &order, &map);
  fgluEndCurve(&n);

  GLUnurbs *d = gluNewNurbsRenderer();
  gluNurbsProperty(d, GLU_NURBS_MODE, GLU_NURBS_TESSELLATOR);
  gluNurbsProperty(d, GLU_SAMPLING_METHOD, GLU_DOMAIN_DISTANCE);
  gluNurbsProperty(d, GLU_U_STEP, 6);
  gluNurbsCallback(d, GLU_NURBS_BEGIN, reinterpret_cast<_GLUfuncptr>(dn_begin));
  gluNurbsCallback(d, GLU_NURBS_VERTEX, reinterpret_cast<_GLUfuncptr>(dn_vertex));
  gluNurbsCallback(d, GLU_NURBS_END, reinterpret_cast<_GLUfuncptr>(dn_end));
  direct_nurbs.clear();
  gluBeginCurve(d);
  gluNurbsCurve(d, 8, knots, 3, &ctl[0][0], 4, GL_MAP1_VERTEX_3);
  gluEndCurve(d);
  gluDeleteNurbsRenderer(d);

  ASSERT_GT(direct_nurbs.size(), 4u);
  ASSERT_EQ(nurbs_log.size(), direct_nurbs.size());
  for (std::size_t i = 0; i < nurbs_log.size(); ++i) {
    EXPECT_EQ(nurbs_log[i].what, direct_nurbs[i].what) << i;
    EXPECT_EQ(nurbs_log[i].value, direct_nurbs[i].value) << i;
    EXPECT_EQ(nurbs_log[i].xyz, direct_nurbs[i].xyz) << i;
  }

  // The _DATA kinds take the array given by fgluNurbsCallbackData; before
  // any, an array of zeros.
  nurbs_log.clear();
  const std::pair<GLenum, void (*)()> data_kinds[] = {{GLU_NURBS_BEGIN_DATA, routine(n_begin_data)},
                                                      {GLU_NURBS_VERTEX_DATA, routine(n_vertex_data)},
                                                      {GLU_NURBS_END_DATA, routine(n_end_data)}};
  for (const auto &[which, r] : kinds) fgluNurbsCallbackNull(&n, &which);
  for (const auto &[which, r] : data_kinds) fgluNurbsCallback(&n, &which, r);
  double user[16] = {7.0};
  fgluNurbsCallbackData(&n, user);
  fgluBeginCurve(&n);
  fgluNurbsCurve(&n, &nknots, knots, &stride, &ctl[0][0], &order, &map);
  fgluEndCurve(&n);
  ASSERT_EQ(nurbs_log.size(), direct_nurbs.size());
  for (const Event &e : nurbs_log) EXPECT_EQ(e.polygon, static_cast<const void *>(user)) << e.what;

  // An error: a curve of order beyond its knots reaches the error routine.
  nurbs_log.clear();
  fgluNurbsCallback(&n, &kinds[3].first, kinds[3].second);
  const GLint too_high = 9;
  fgluBeginCurve(&n);
  fgluNurbsCurve(&n, &nknots, knots, &stride, &ctl[0][0], &too_high, &map);
  fgluEndCurve(&n);
  bool error_seen = false;
  for (const Event &e : nurbs_log) error_seen |= e.what == "error" && e.value >= GLU_NURBS_ERROR1 && e.value <= GLU_NURBS_ERROR37;
  EXPECT_TRUE(error_seen);
  fgluDeleteNurbsRenderer(&n);
}

// ---------------------------------------------------------------------------
// Mipmaps: every level built by each storage's entry equals the level that
// direct GLU builds from the same bytes.

enum class Storage { Bytes, I1, I4, I2, P };
const Storage kStorages[] = {Storage::Bytes, Storage::I1, Storage::I4, Storage::I2, Storage::P};
const char *name_of(Storage s) {
  static const char *names[] = {"unsuffixed", "I1", "I4", "I2", "P"};
  return names[static_cast<int>(s)];
}

// The caller's copy of `bytes` in one storage: bytes for the unsuffixed and
// I1 entries, one element per byte otherwise.
struct CallerData {
  std::vector<GLubyte> bytes;
  std::vector<GLint> i4;
  std::vector<GLshort> i2;
  const void *address(Storage s) const {
    switch (s) {
      case Storage::I4:
      case Storage::P:
        return i4.data();
      case Storage::I2:
        return i2.data();
      default:
        return bytes.data();
    }
  }
};

CallerData caller_data(std::size_t n) {
  CallerData d;
  for (std::size_t i = 0; i < n; ++i) {
    const auto b = static_cast<GLubyte>((i * 37 + 11) & 0xff);
    d.bytes.push_back(b);
    d.i4.push_back(b | 0x5a00);  // high bits that must not matter
    d.i2.push_back(static_cast<GLshort>(b | 0x3300));
  }
  return d;
}

// Calls the entry of storage `s` of one image function: the leading
// arguments, then the data (and for I4, I2 and P the item count).
template <typename Bytes, typename Wide, typename Short, typename... A>
GLint by_storage(Storage s, Bytes plain, Bytes i1, Wide i4, Short i2, Wide p, const void *data, const GLint *count,
                 A... args) {
  switch (s) {
    case Storage::Bytes: return plain(args..., data);
    case Storage::I1: return i1(args..., data);
    case Storage::I4: return i4(args..., static_cast<const GLint *>(data), count);
    case Storage::I2: return i2(args..., static_cast<const GLshort *>(data), count);
    case Storage::P: return p(args..., static_cast<const GLint *>(data), count);
  }
  return -1;
}

std::vector<std::vector<GLubyte>> levels_of(GLenum target, GLuint texture) {
  glBindTexture(target, texture);
  std::vector<std::vector<GLubyte>> levels;
  for (GLint level = 0;; ++level) {
    GLint w = 0, h = 0, d = 0;
    glGetTexLevelParameteriv(target, level, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(target, level, GL_TEXTURE_HEIGHT, &h);
    glGetTexLevelParameteriv(target, level, GL_TEXTURE_DEPTH, &d);
    if (w == 0) break;
    std::vector<GLubyte> pixels(static_cast<std::size_t>(w) * h * d * 3);
    glGetTexImage(target, level, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    levels.push_back(std::move(pixels));
  }
  return levels;
}

TEST_F(Mesa, MipmapLevelsOfEveryStorageEqualThoseOfDirectGlu) {
  // Powers of two, as the ...Levels builders require.
  const GLint w = 8, h = 4, d = 2, ifmt = GL_RGB, level = 0, base = 0, max = 2;
  const GLenum rgb = GL_RGB, ubyte = GL_UNSIGNED_BYTE;
  const CallerData data = caller_data(static_cast<std::size_t>(w) * h * d * 3);
  const GLint count = static_cast<GLint>(data.bytes.size());
  struct Builder {
    const char *name;
    GLenum target;
    std::function<GLint(Storage, const void *)> entry;
    std::function<GLint(const void *)> direct;
  };
  const GLenum t1 = GL_TEXTURE_1D, t2 = GL_TEXTURE_2D, t3 = GL_TEXTURE_3D;
  using V = const void *;
  const Builder builders[] = {
      {"1D", t1,
       [&](Storage s, V p) {
         return by_storage(s, fgluBuild1DMipmaps, fgluBuild1DMipmapsI1, fgluBuild1DMipmapsI4, fgluBuild1DMipmapsI2,
                           fgluBuild1DMipmapsP, p, &count, &t1, &ifmt, &w, &rgb, &ubyte);
       },
       [&](V p) { return gluBuild1DMipmaps(t1, ifmt, w, rgb, ubyte, p); }},
      {"2D", t2,
       [&](Storage s, V p) {
         return by_storage(s, fgluBuild2DMipmaps, fgluBuild2DMipmapsI1, fgluBuild2DMipmapsI4, fgluBuild2DMipmapsI2,
                           fgluBuild2DMipmapsP, p, &count, &t2, &ifmt, &w, &h, &rgb, &ubyte);
       },
       [&](V p) { return gluBuild2DMipmaps(t2, ifmt, w, h, rgb, ubyte, p); }},
      {"3D", t3,
       [&](Storage s, V p) {
         return by_storage(s, fgluBuild3DMipmaps, fgluBuild3DMipmapsI1, fgluBuild3DMipmapsI4, fgluBuild3DMipmapsI2,
                           fgluBuild3DMipmapsP, p, &count, &t3, &ifmt, &w, &h, &d, &rgb, &ubyte);
       },
       [&](V p) { return gluBuild3DMipmaps(t3, ifmt, w, h, d, rgb, ubyte, p); }},
      {"1D levels", t1,
       [&](Storage s, V p) {
         return by_storage(s, fgluBuild1DMipmapLevels, fgluBuild1DMipmapLevelsI1, fgluBuild1DMipmapLevelsI4,
                           fgluBuild1DMipmapLevelsI2, fgluBuild1DMipmapLevelsP, p, &count, &t1, &ifmt, &w, &rgb,
                           &ubyte, &level, &base, &max);
       },
       [&](V p) { return gluBuild1DMipmapLevels(t1, ifmt, w, rgb, ubyte, level, base, max, p); }},
      {"2D levels", t2,
       [&](Storage s, V p) {
         return by_storage(s, fgluBuild2DMipmapLevels, fgluBuild2DMipmapLevelsI1, fgluBuild2DMipmapLevelsI4,
                           fgluBuild2DMipmapLevelsI2, fgluBuild2DMipmapLevelsP, p, &count, &t2, &ifmt, &w, &h, &rgb,
                           &ubyte, &level, &base, &max);
       },
       [&](V p) { return gluBuild2DMipmapLevels(t2, ifmt, w, h, rgb, ubyte, level, base, max, p); }},
      {"3D levels", t3,
       [&](Storage s, V p) {
         return by_storage(s, fgluBuild3DMipmapLevels, fgluBuild3DMipmapLevelsI1, fgluBuild3DMipmapLevelsI4,
                           fgluBuild3DMipmapLevelsI2, fgluBuild3DMipmapLevelsP, p, &count, &t3, &ifmt, &w, &h, &d,
                           &rgb, &ubyte, &level, &base, &max);
       },
       [&](V p) { return gluBuild3DMipmapLevels(t3, ifmt, w, h, d, rgb, ubyte, level, base, max, p); }},
  };
  GLuint textures[2];
  glGenTextures(2, textures);
  for (const Builder &b : builders) {
    glBindTexture(b.target, textures[1]);
    ASSERT_EQ(b.direct(data.bytes.data()), 0) << b.name;
    const auto want = levels_of(b.target, textures[1]);
    ASSERT_GE(want.size(), 3u) << b.name;
    for (Storage s : kStorages) {
      glBindTexture(b.target, textures[0]);
      EXPECT_EQ(b.entry(s, data.address(s)), 0) << b.name << " " << name_of(s);
      EXPECT_EQ(levels_of(b.target, textures[0]), want) << b.name << " " << name_of(s);
      glDeleteTextures(1, &textures[0]);
    }
    glDeleteTextures(1, &textures[1]);
  }
  glDeleteTextures(2, textures);
}

TEST_F(Mesa, ScaleImageOfEveryStorageEqualsDirectGlu) {
  const GLint win = 5, hin = 3, wout = 3, hout = 4;
  const GLenum rgb = GL_RGB, ubyte = GL_UNSIGNED_BYTE;
  const CallerData in = caller_data(static_cast<std::size_t>(win) * hin * 3);
  const GLint nin = static_cast<GLint>(in.bytes.size()), nout = wout * hout * 3;
  std::vector<GLubyte> want(static_cast<std::size_t>(nout));
  ASSERT_EQ(gluScaleImage(rgb, win, hin, ubyte, in.bytes.data(), wout, hout, ubyte, want.data()), 0);
  for (Storage s : kStorages) {
    std::vector<GLubyte> b(want.size() + 1, 0xee);
    std::vector<GLint> i4(want.size() + 1, -7);
    std::vector<GLshort> i2(want.size() + 1, -7);
    GLint r = -1;
    switch (s) {
      case Storage::Bytes: r = fgluScaleImage(&rgb, &win, &hin, &ubyte, in.bytes.data(), &wout, &hout, &ubyte, b.data()); break;
      case Storage::I1: r = fgluScaleImageI1(&rgb, &win, &hin, &ubyte, in.bytes.data(), &wout, &hout, &ubyte, b.data()); break;
      case Storage::I4: r = fgluScaleImageI4(&rgb, &win, &hin, &ubyte, in.i4.data(), &wout, &hout, &ubyte, i4.data(), &nin, &nout); break;
      case Storage::I2: r = fgluScaleImageI2(&rgb, &win, &hin, &ubyte, in.i2.data(), &wout, &hout, &ubyte, i2.data(), &nin, &nout); break;
      case Storage::P: r = fgluScaleImageP(&rgb, &win, &hin, &ubyte, in.i4.data(), &wout, &hout, &ubyte, i4.data(), &nin, &nout); break;
    }
    EXPECT_EQ(r, 0) << name_of(s);
    std::vector<GLubyte> got;
    for (std::size_t i = 0; i < want.size(); ++i)
      got.push_back(s == Storage::I4 || s == Storage::P ? static_cast<GLubyte>(i4[i])
                    : s == Storage::I2                  ? static_cast<GLubyte>(i2[i])
                                                        : b[i]);
    EXPECT_EQ(got, want) << name_of(s);
    if (s == Storage::I4 || s == Storage::P) {
      EXPECT_EQ(i4[want.size()], -7) << "written past the output count";
      for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(i4[i], want[i]) << "zero-extended";
    }
  }
}

TEST_F(Mesa, TextEntriesGiveGlusText) {
  char text[40];
  const GLenum err = GLU_INVALID_ENUM, version = GLU_VERSION;
  const GLint n = fgluErrorStringC(&err, text, 40);
  const std::string want = reinterpret_cast<const char *>(gluErrorString(GLU_INVALID_ENUM));
  EXPECT_EQ(n, static_cast<GLint>(want.size()));
  EXPECT_EQ(std::string(text, want.size()), want);
  EXPECT_EQ(std::string(text + want.size(), 40 - want.size()), std::string(40 - want.size(), ' '));
  const std::string v = reinterpret_cast<const char *>(gluGetString(GLU_VERSION));
  EXPECT_EQ(fgluGetStringC(&version, text, 40), static_cast<GLint>(v.size()));
  EXPECT_EQ(std::string(text, v.size()), v);
  const char name[] = "GLU_EXT_nurbs_tessellator      ";
  const char *ext = reinterpret_cast<const char *>(gluGetString(GLU_EXTENSIONS));
  EXPECT_EQ(fgluCheckExtensionC(name, ext, 31, static_cast<int>(std::strlen(ext))),
            gluCheckExtension(reinterpret_cast<const GLubyte *>("GLU_EXT_nurbs_tessellator"),
                              reinterpret_cast<const GLubyte *>(ext)) ? 1 : 0);
  EXPECT_EQ(fgluCheckExtensionC(name, "GLU_EXT_x", 31, 9), 0);
}

}  // namespace

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // listing needs no programs and no window
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGBA | GLUT_SINGLE | GLUT_DEPTH);
  glutInitWindowSize(100, 100);
  glutCreateWindow("GLU entries");
  return RUN_ALL_TESTS();
}
