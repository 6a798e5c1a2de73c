// Forwarding entries against Mesa in a real context (a freeglut window on the
// test's own X server): what OpenGL received, read back through OpenGL's own
// state queries, feedback and selection.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "fgl.h"

namespace {

// A value in 4- or 2-byte storage, handed over as the entry's narrow pointer.
template <typename Narrow, typename Wide>
const Narrow *as(const Wide &w) {
  return reinterpret_cast<const Narrow *>(&w);
}

std::vector<GLfloat> get_floats(GLenum pname, int n) {
  std::vector<GLfloat> v(n, -99.0f);
  glGetFloatv(pname, v.data());
  return v;
}

class Mesa : public ::testing::Test {
 protected:
  void SetUp() override {
    while (glGetError() != GL_NO_ERROR) {
    }
  }
  void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }
};

TEST_F(Mesa, NarrowStorageColoursArriveAsTheirLowBits) {
  // 256 in 4-byte storage arrives as 0; 255 as full intensity; 128 as 128/255.
  GLint r = 256, g = 255, b = 128;
  fglColor3ubI4(as<GLubyte>(r), as<GLubyte>(g), as<GLubyte>(b));
  std::vector<GLfloat> c = get_floats(GL_CURRENT_COLOR, 4);
  EXPECT_FLOAT_EQ(c[0], 0.0f);
  EXPECT_FLOAT_EQ(c[1], 1.0f);
  EXPECT_NEAR(c[2], 128.0f / 255.0f, 1e-6);
  EXPECT_FLOAT_EQ(c[3], 1.0f);

  // The same three values in 1-, 2- and 4-byte storage give the same colour.
  GLubyte r1 = 255, g1 = 0, b1 = 128;
  fglColor3ub(&r1, &g1, &b1);
  std::vector<GLfloat> one = get_floats(GL_CURRENT_COLOR, 4);
  GLshort r2 = 255, g2 = 0, b2 = 128;
  fglColor3ubI2(as<GLubyte>(r2), as<GLubyte>(g2), as<GLubyte>(b2));
  std::vector<GLfloat> two = get_floats(GL_CURRENT_COLOR, 4);
  GLint r4 = 255, g4 = 0, b4 = 128;
  fglColor3ubI4(as<GLubyte>(r4), as<GLubyte>(g4), as<GLubyte>(b4));
  std::vector<GLfloat> four = get_floats(GL_CURRENT_COLOR, 4);
  EXPECT_EQ(one, two);
  EXPECT_EQ(one, four);
  EXPECT_FLOAT_EQ(one[0], 1.0f);
  EXPECT_FLOAT_EQ(one[1], 0.0f);
}

TEST_F(Mesa, SignedByteInShortStorage) {
  // -1 in 2-byte storage is the GLbyte -1: the same colour as glColor3b(-1, ...),
  // a small negative red, not the 0.5 that 127 or the 1.0 that 255 would give.
  GLshort r = -1, g = 127, b = -128;
  fglColor3bI2(as<GLbyte>(r), as<GLbyte>(g), as<GLbyte>(b));
  std::vector<GLfloat> through = get_floats(GL_CURRENT_COLOR, 4);
  glColor3b(-1, 127, -128);
  std::vector<GLfloat> direct = get_floats(GL_CURRENT_COLOR, 4);
  EXPECT_EQ(through, direct);
  EXPECT_LT(through[0], 0.0f);
  EXPECT_GT(through[0], -0.01f);
  EXPECT_FLOAT_EQ(through[1], 1.0f);
  EXPECT_FLOAT_EQ(through[2], -1.0f);
}

TEST_F(Mesa, ShortVertexInIntegerStorageInFeedbackMode) {
  // Object x in [0, 10000] and y in [-10, 10] map to a 1000 x 20 viewport, so
  // 4464 (the low half of 70000) lands at x 446.4 and -2 at y 8.
  glViewport(0, 0, 1000, 20);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, 10000, -10, 10, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();

  std::vector<GLfloat> buffer(64, -1.0f);
  GLsizei size = static_cast<GLsizei>(buffer.size());
  GLenum type = GL_2D, feedback = GL_FEEDBACK, render = GL_RENDER, points = GL_POINTS;
  fglFeedbackBuffer(&size, &type, buffer.data());
  EXPECT_EQ(fglRenderMode(&feedback), 0);
  fglBegin(&points);
  GLint x = 70000, y = -2;
  fglVertex2sI4(as<GLshort>(x), as<GLshort>(y));
  fglEnd();
  GLint values = fglRenderMode(&render);  // the number of values written
  ASSERT_EQ(values, 3);
  EXPECT_EQ(buffer[0], static_cast<GLfloat>(GL_POINT_TOKEN));
  EXPECT_NEAR(buffer[1], 446.4f, 1e-3);
  EXPECT_NEAR(buffer[2], 8.0f, 1e-3);
  EXPECT_EQ(buffer[3], -1.0f);  // nothing beyond the count
  glViewport(0, 0, 100, 100);
}

TEST_F(Mesa, EdgeFlagReadsTheLowByte) {
  GLboolean flag = 99;
  GLint wide = 256;
  fglEdgeFlagI4(as<GLboolean>(wide));
  glGetBooleanv(GL_EDGE_FLAG, &flag);
  EXPECT_EQ(flag, GL_FALSE);
  wide = 1;
  fglEdgeFlagI4(as<GLboolean>(wide));
  glGetBooleanv(GL_EDGE_FLAG, &flag);
  EXPECT_EQ(flag, GL_TRUE);
}

TEST_F(Mesa, GetFloatvWritesIntoTheCallersArray) {
  const GLfloat m[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(m);
  GLfloat out[17];
  for (GLfloat &v : out) v = -5.0f;
  GLenum pname = GL_MODELVIEW_MATRIX;
  fglGetFloatv(&pname, out);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(out[i], m[i]) << i;
  EXPECT_EQ(out[16], -5.0f);
  glLoadIdentity();
}

TEST_F(Mesa, DisplayListsAndTheirI4Query) {
  GLsizei n = 3;
  GLuint base = fglGenLists(&n);
  ASSERT_NE(base, 0u);
  GLenum compile = GL_COMPILE;
  GLuint second = base + 1;
  fglNewList(&second, &compile);
  fglEndList();
  std::int32_t yes = -1, no = -1;
  yes = fglIsListI4(&second);
  GLuint unused = base + 1000;
  no = fglIsListI4(&unused);
  EXPECT_EQ(yes, 1);
  EXPECT_EQ(no, 0);
  EXPECT_EQ(fglIsList(&second), GL_TRUE);
  GLsizei zero = 0;
  EXPECT_EQ(fglGenLists(&zero), 0u);  // OpenGL's own answer for a count of 0
  glDeleteLists(base, 3);
}

TEST_F(Mesa, SelectionHitCountAndTheCallersBuffer) {
  glViewport(0, 0, 100, 100);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-1, 1, -1, 1, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();

  std::vector<GLuint> buffer(64, 0xdeadbeef);
  GLsizei size = static_cast<GLsizei>(buffer.size());
  fglSelectBuffer(&size, buffer.data());
  GLenum select = GL_SELECT, render = GL_RENDER;
  fglRenderMode(&select);
  fglInitNames();
  GLuint name = 7, other = 9;
  fglPushName(&name);
  glRectf(-0.5f, -0.5f, 0.5f, 0.5f);  // inside the view: a hit
  fglLoadName(&other);
  glRectf(3.0f, 3.0f, 4.0f, 4.0f);  // outside: no hit
  fglPopName();
  EXPECT_EQ(fglRenderMode(&render), 1);
  EXPECT_EQ(buffer[0], 1u);  // one name on the stack for the hit
  EXPECT_EQ(buffer[3], 7u);

  // Overflowing the buffer: OpenGL returns a negative count.
  GLsizei tiny = 2;
  fglSelectBuffer(&tiny, buffer.data());
  fglRenderMode(&select);
  fglPushName(&name);
  glRectf(-0.5f, -0.5f, 0.5f, 0.5f);
  EXPECT_LT(fglRenderMode(&render), 0);
}

TEST_F(Mesa, IsEnabledIsExactlyOneOrZeroIn32Bits) {
  GLenum cap = GL_DEPTH_TEST;
  std::int32_t cell;
  glEnable(GL_DEPTH_TEST);
  std::memset(&cell, 0xff, sizeof cell);
  cell = fglIsEnabledI4(&cap);
  EXPECT_EQ(cell, 1);
  EXPECT_EQ(fglIsEnabled(&cap), GL_TRUE);
  glDisable(GL_DEPTH_TEST);
  std::memset(&cell, 0xff, sizeof cell);
  cell = fglIsEnabledI4(&cap);
  EXPECT_EQ(cell, 0);
  EXPECT_EQ(fglIsEnabled(&cap), GL_FALSE);
}

TEST_F(Mesa, DoublesReachOpenGLAsDoubles) {
  GLdouble depth = 0.25, near_ = 0.125, far_ = 0.875;
  fglClearDepth(&depth);
  fglDepthRange(&near_, &far_);
  GLdouble got[2] = {0, 0};
  glGetDoublev(GL_DEPTH_CLEAR_VALUE, got);
  EXPECT_DOUBLE_EQ(got[0], 0.25);
  glGetDoublev(GL_DEPTH_RANGE, got);
  EXPECT_DOUBLE_EQ(got[0], 0.125);
  EXPECT_DOUBLE_EQ(got[1], 0.875);
  GLdouble one = 1.0, zero = 0.0;
  fglClearDepth(&one);
  fglDepthRange(&zero, &one);
}

TEST_F(Mesa, RejectedValuesSetOpenGLsErrorFlag) {
  GLenum bogus = 0x1234;
  fglEnable(&bogus);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_ENUM));
}

}  // namespace

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // listing needs no programs and no window
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGBA | GLUT_SINGLE | GLUT_DEPTH);
  glutInitWindowSize(100, 100);
  glutCreateWindow("forwarding entries");
  return RUN_ALL_TESTS();
}
