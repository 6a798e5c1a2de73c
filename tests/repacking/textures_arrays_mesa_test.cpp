// Texture objects, 3-D and compressed textures, vertex arrays, indices and
// multitexture through the entries, against real OpenGL (Mesa) in a freeglut
// window on a virtual X server. Data goes in through one entry and comes back
// through another; pictures drawn through vertex arrays must equal those drawn
// in immediate mode; OpenGL's error flag stays clear throughout.
#include "fgl.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kWindow = 64;

class Mesa : public ::testing::Test {
 protected:
  void SetUp() override {
    glViewport(0, 0, kWindow, kWindow);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kWindow, 0, kWindow, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DITHER);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    ASSERT_EQ(fglGetError(), GLenum{GL_NO_ERROR});
  }
  void TearDown() override {
    EXPECT_EQ(fglGetError(), GLenum{GL_NO_ERROR});
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_IMAGE_HEIGHT, 0);
    glPixelStorei(GL_UNPACK_SKIP_IMAGES, 0);
    for (GLenum a : {GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_TEXTURE_COORD_ARRAY}) glDisableClientState(a);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindTexture(GL_TEXTURE_3D, 0);
  }

  // The whole window as RGBA bytes.
  static std::vector<GLubyte> picture() {
    glFinish();
    std::vector<GLubyte> p(kWindow * kWindow * 4);
    glReadPixels(0, 0, kWindow, kWindow, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
    return p;
  }
  static std::size_t lit(const std::vector<GLubyte> &p) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < p.size(); i += 4) n += (p[i] | p[i + 1] | p[i + 2]) != 0;
    return n;
  }
};

// ---------------------------------------------------------------------------
// Texture objects.

class TextureObjects : public Mesa {};

TEST_F(TextureObjects, GenerateBindQueryPrioritizeDelete) {
  const GLsizei n = 3;
  GLuint names[3] = {0, 0, 0};
  fglGenTextures(&n, names);
  const GLenum target = GL_TEXTURE_2D;
  for (GLuint &name : names) {
    EXPECT_NE(name, 0u);
    fglBindTexture(&target, &name);  // a bound name is a texture
    EXPECT_EQ(fglIsTextureI4(&name), 1);
    EXPECT_EQ(fglIsTexture(&name), GL_TRUE);
  }
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), names[2]);

  const GLfloat priorities[3] = {0.0f, 0.5f, 1.0f};
  fglPrioritizeTextures(&n, names, priorities);
  GLfloat p = -1;
  glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_PRIORITY, &p);
  EXPECT_EQ(p, 1.0f);

  // Residency: Mesa answers either "all resident" (flags untouched by it,
  // all 1 from the entry) or one flag per texture; each flag is 0 or 1 and
  // the result agrees with the flags.
  GLint flags[3] = {-7, -7, -7};
  const GLint all = fglAreTexturesResidentI4(&n, names, flags);
  EXPECT_TRUE(all == 0 || all == 1);
  bool every = true;
  for (GLint f : flags) {
    EXPECT_TRUE(f == 0 || f == 1) << f;
    every = every && f == 1;
  }
  if (all == 1) {
    EXPECT_TRUE(every);
  }
  GLboolean bytes[3] = {7, 7, 7};
  const GLboolean plain = fglAreTexturesResident(&n, names, bytes);
  EXPECT_EQ(plain != GL_FALSE, all == 1);

  fglDeleteTextures(&n, names);
  for (GLuint name : names) EXPECT_EQ(fglIsTextureI4(&name), 0);
}

// ---------------------------------------------------------------------------
// A 3-D texture through I4, I2 and P, read back through the three storages.

class ThreeDTexture : public Mesa {};

constexpr GLsizei kTW = 4, kTH = 2, kTD = 3;  // luminance, one byte per texel
constexpr int kTexels = kTW * kTH * kTD;

int texel(int i) { return (i * 37 + 11) % 256; }

TEST_F(ThreeDTexture, ImageInEachStorageReadBackInEachStorage) {
  const GLenum target = GL_TEXTURE_3D, f = GL_LUMINANCE, t = GL_UNSIGNED_BYTE;
  const GLint level = 0, internal = GL_LUMINANCE8, border = 0, count = kTexels;
  const GLsizei w = kTW, h = kTH, d = kTD;
  std::vector<GLint> wide(kTexels);
  std::vector<GLshort> narrow(kTexels);
  for (int i = 0; i < kTexels; ++i) {
    wide[i] = 0x7700 + texel(i);  // high bits to drop
    narrow[i] = static_cast<GLshort>(0x100 + texel(i));
  }
  for (int storage = 0; storage < 3; ++storage) {
    SCOPED_TRACE(storage);
    if (storage == 0) fglTexImage3DI4(&target, &level, &internal, &w, &h, &d, &border, &f, &t, wide.data(), &count);
    if (storage == 1) fglTexImage3DI2(&target, &level, &internal, &w, &h, &d, &border, &f, &t, narrow.data(), &count);
    if (storage == 2) fglTexImage3DP(&target, &level, &internal, &w, &h, &d, &border, &f, &t, wide.data(), &count);
    std::vector<GLint> back4(kTexels, -1), backp(kTexels, -1);
    std::vector<GLshort> back2(kTexels, -1);
    fglGetTexImageI4(&target, &level, &f, &t, back4.data(), &count);
    fglGetTexImageI2(&target, &level, &f, &t, back2.data(), &count);
    fglGetTexImageP(&target, &level, &f, &t, backp.data(), &count);
    for (int i = 0; i < kTexels; ++i) {
      ASSERT_EQ(back4[i], texel(i)) << i;
      ASSERT_EQ(back2[i], texel(i)) << i;
      ASSERT_EQ(backp[i], texel(i)) << i;
    }
  }
}

TEST_F(ThreeDTexture, UnpackImageHeightAndSkippedImagesShapeTheSource) {
  // The caller's block holds 1 skipped image and images of 3 rows, of which
  // the texture takes the first 2: OpenGL reads texel (x, y, z) from element
  // ((1 + z) * 3 + y) * 4 + x.
  glPixelStorei(GL_UNPACK_IMAGE_HEIGHT, 3);
  glPixelStorei(GL_UNPACK_SKIP_IMAGES, 1);
  const GLint count = (1 + kTD) * 3 * kTW;
  std::vector<GLint> block(count, 0);
  for (int z = 0; z < kTD; ++z)
    for (int y = 0; y < kTH; ++y)
      for (int x = 0; x < kTW; ++x) block[((1 + z) * 3 + y) * kTW + x] = texel((z * kTH + y) * kTW + x);
  const GLenum target = GL_TEXTURE_3D, f = GL_LUMINANCE, t = GL_UNSIGNED_BYTE;
  const GLint level = 0, internal = GL_LUMINANCE8, border = 0, texels = kTexels;
  const GLsizei w = kTW, h = kTH, d = kTD;
  fglTexImage3DI4(&target, &level, &internal, &w, &h, &d, &border, &f, &t, block.data(), &count);
  glPixelStorei(GL_UNPACK_IMAGE_HEIGHT, 0);
  glPixelStorei(GL_UNPACK_SKIP_IMAGES, 0);
  std::vector<GLint> back(kTexels, -1);
  fglGetTexImageI4(&target, &level, &f, &t, back.data(), &texels);
  for (int i = 0; i < kTexels; ++i) EXPECT_EQ(back[i], texel(i)) << i;

  // One texel row replaced through the sub-image entry from INTEGER*2.
  const GLint x0 = 0, y0 = 1, z0 = 2, four = 4;
  const GLsizei one = 1;
  const GLshort row[4] = {0x1FF, 0x100, 0x17F, 0x180};
  fglTexSubImage3DI2(&target, &level, &x0, &y0, &z0, &w, &one, &one, &f, &t, row, &four);
  fglGetTexImageI4(&target, &level, &f, &t, back.data(), &texels);
  for (int i = 0; i < kTexels; ++i) {
    const int at = i - (2 * kTH + 1) * kTW;
    const int want = at >= 0 && at < 4 ? (at == 0 ? 0xFF : at == 1 ? 0 : at == 2 ? 0x7F : 0x80) : texel(i);
    EXPECT_EQ(back[i], want) << i;
  }
}

TEST_F(ThreeDTexture, TwoDimensionalSubImagesInPackedWords) {
  const GLenum target = GL_TEXTURE_2D, f = GL_RGBA, t = GL_UNSIGNED_BYTE;
  const GLint level = 0, internal = GL_RGBA8, border = 0, count = 4 * 4 * 4;
  const GLsizei w = 4, h = 4;
  std::vector<GLint> zeros(count, 0);
  fglTexImage2DI4(&target, &level, &internal, &w, &h, &border, &f, &t, zeros.data(), &count);
  const GLint x = 1, y = 2, n = 2 * 4;
  const GLsizei sw = 2, sh = 1;
  const GLint words[8] = {0x141, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x148};
  fglTexSubImage2DP(&target, &level, &x, &y, &sw, &sh, &f, &t, words, &n);
  std::vector<GLint> back(count, -1);
  fglGetTexImageI4(&target, &level, &f, &t, back.data(), &count);
  for (int i = 0; i < count; ++i) {
    const int at = i - (2 * 4 + 1) * 4;
    EXPECT_EQ(back[i], at >= 0 && at < 8 ? 0x41 + at : 0) << i;
  }
}

// ---------------------------------------------------------------------------
// Compressed images: Mesa compresses an image; its bytes come out through
// fglGetCompressedTexImageP and go back in through fglCompressedTexImage2DP
// and fglCompressedTexSubImage2DP, and the texture reads back the same.

class Compressed : public Mesa {};

TEST_F(Compressed, RoundTripThroughPackedWords) {
  const GLenum target = GL_TEXTURE_2D;
  const GLint level = 0;
  GLuint tex[2];
  glGenTextures(2, tex);
  glBindTexture(target, tex[0]);
  std::vector<GLubyte> image(8 * 8 * 4);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<GLubyte>(i % 4 == 3 ? 255 : (i * 13) % 256);
  glTexImage2D(target, 0, GL_COMPRESSED_RGBA, 8, 8, 0, GL_RGBA, GL_UNSIGNED_BYTE, image.data());
  GLint compressed = 0, size = 0, format = 0;
  glGetTexLevelParameteriv(target, 0, GL_TEXTURE_COMPRESSED, &compressed);
  if (!compressed) {
    glDeleteTextures(2, tex);
    GTEST_SKIP() << "this OpenGL stores GL_COMPRESSED_RGBA uncompressed";
  }
  glGetTexLevelParameteriv(target, 0, GL_TEXTURE_COMPRESSED_IMAGE_SIZE, &size);
  glGetTexLevelParameteriv(target, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
  ASSERT_GT(size, 0);

  std::vector<GLubyte> direct(size);
  glGetCompressedTexImage(target, 0, direct.data());
  std::vector<GLint> words(size + 3, -5);  // three words more than the image
  const GLint count = size + 3;
  fglGetCompressedTexImageP(&target, &level, words.data(), &count);
  for (GLint i = 0; i < size; ++i) ASSERT_EQ(words[i], direct[i]) << i;
  for (GLint i = size; i < size + 3; ++i) EXPECT_EQ(words[i], -5) << i;  // past the image: kept

  std::vector<GLubyte> original(image.size());
  glGetTexImage(target, 0, GL_RGBA, GL_UNSIGNED_BYTE, original.data());

  glBindTexture(target, tex[1]);
  const GLenum internal = static_cast<GLenum>(format);
  const GLsizei w = 8, h = 8;
  const GLint border = 0, n = size;
  fglCompressedTexImage2DP(&target, &level, &internal, &w, &h, &border, &n, words.data(), &n);
  std::vector<GLubyte> copy(image.size());
  glGetTexImage(target, 0, GL_RGBA, GL_UNSIGNED_BYTE, copy.data());
  EXPECT_EQ(copy, original);

  // The same bytes once more through the sub-image entry, over a cleared level.
  std::vector<GLint> zeros(size, 0);
  fglCompressedTexImage2DP(&target, &level, &internal, &w, &h, &border, &n, zeros.data(), &n);
  const GLint x = 0, y = 0;
  fglCompressedTexSubImage2DP(&target, &level, &x, &y, &w, &h, &internal, &n, words.data(), &n);
  glGetTexImage(target, 0, GL_RGBA, GL_UNSIGNED_BYTE, copy.data());
  EXPECT_EQ(copy, original);

  // The unsuffixed entry passes the bytes themselves.
  fglCompressedTexImage2D(&target, &level, &internal, &w, &h, &border, &n, direct.data());
  glGetTexImage(target, 0, GL_RGBA, GL_UNSIGNED_BYTE, copy.data());
  EXPECT_EQ(copy, original);
  glDeleteTextures(2, tex);
}

// ---------------------------------------------------------------------------
// Vertex arrays and indices: the same picture as immediate mode.

class VertexArrays : public Mesa {};

// Six triangles over the window, each vertex with its own colour.
constexpr int kVertices = 18;
struct Scene {
  GLfloat xy[kVertices][2];
  GLfloat rgb[kVertices][3];
};

Scene scene() {
  Scene s;
  for (int i = 0; i < kVertices; ++i) {
    const int tri = i / 3, corner = i % 3;
    const GLfloat x0 = static_cast<GLfloat>(4 + 20 * (tri % 3)), y0 = static_cast<GLfloat>(6 + 28 * (tri / 3));
    s.xy[i][0] = x0 + (corner == 1 ? 18.0f : corner == 2 ? 5.0f : 0.0f);
    s.xy[i][1] = y0 + (corner == 2 ? 25.0f : corner == 1 ? 3.0f : 0.0f);
    s.rgb[i][0] = static_cast<GLfloat>((i * 7) % 10) / 9.0f;
    s.rgb[i][1] = static_cast<GLfloat>((i * 3 + 1) % 10) / 9.0f;
    s.rgb[i][2] = static_cast<GLfloat>((i * 5 + 2) % 10) / 9.0f;
  }
  return s;
}

// Drawn in immediate mode, vertex i as the list `order` names it.
std::vector<GLubyte> immediate(const Scene &s, const std::vector<int> &order) {
  glClear(GL_COLOR_BUFFER_BIT);
  const GLenum mode = GL_TRIANGLES;
  fglBegin(&mode);
  for (int i : order) {
    fglColor3f(&s.rgb[i][0], &s.rgb[i][1], &s.rgb[i][2]);
    fglVertex2f(&s.xy[i][0], &s.xy[i][1]);
  }
  fglEnd();
  glFinish();
  std::vector<GLubyte> p(kWindow * kWindow * 4);
  glReadPixels(0, 0, kWindow, kWindow, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
  return p;
}

// The scene's arrays for OpenGL, handed over through the pointer entries.
void point_at(const Scene &s) {
  const GLint two = 2, three = 3;
  const GLenum fl = GL_FLOAT, va = GL_VERTEX_ARRAY, ca = GL_COLOR_ARRAY;
  const GLsizei stride = 0;
  fglVertexPointer(&two, &fl, &stride, s.xy);
  fglColorPointer(&three, &fl, &stride, s.rgb);
  fglEnableClientState(&va);
  fglEnableClientState(&ca);
}

std::vector<int> in_order() {
  std::vector<int> v(kVertices);
  for (int i = 0; i < kVertices; ++i) v[i] = i;
  return v;
}

// Triangles in another order than they are stored, so that indices matter.
std::vector<int> shuffled() {
  std::vector<int> v;
  for (int tri : {4, 1, 5, 0, 3, 2})
    for (int c = 0; c < 3; ++c) v.push_back(3 * tri + c);
  return v;
}

TEST_F(VertexArrays, DrawArraysInterleavedAndArrayElementMatchImmediateMode) {
  const Scene s = scene();
  const auto reference = immediate(s, in_order());
  ASSERT_GT(lit(reference), 500u);

  point_at(s);
  glClear(GL_COLOR_BUFFER_BIT);
  const GLenum mode = GL_TRIANGLES;
  const GLint first = 0;
  const GLsizei count = kVertices;
  fglDrawArrays(&mode, &first, &count);
  EXPECT_EQ(picture(), reference) << "fglDrawArrays";

  glClear(GL_COLOR_BUFFER_BIT);
  fglBegin(&mode);
  for (GLint i = 0; i < kVertices; ++i) fglArrayElement(&i);
  fglEnd();
  EXPECT_EQ(picture(), reference) << "fglArrayElement";

  // The caller's own address is what OpenGL keeps.
  const GLenum which = GL_VERTEX_ARRAY_POINTER;
  std::int64_t address = 0;
  fglGetPointerv(&which, reinterpret_cast<void **>(&address));
  EXPECT_EQ(address, reinterpret_cast<std::intptr_t>(s.xy));

  // GL_C3F_V3F: three colour floats, then three vertex floats per vertex.
  std::vector<GLfloat> interleaved;
  for (int i = 0; i < kVertices; ++i)
    interleaved.insert(interleaved.end(), {s.rgb[i][0], s.rgb[i][1], s.rgb[i][2], s.xy[i][0], s.xy[i][1], 0.0f});
  const GLenum format = GL_C3F_V3F;
  const GLsizei stride = 0;
  fglInterleavedArrays(&format, &stride, interleaved.data());
  glClear(GL_COLOR_BUFFER_BIT);
  fglDrawArrays(&mode, &first, &count);
  EXPECT_EQ(picture(), reference) << "fglInterleavedArrays";
}

TEST_F(VertexArrays, IndicesInEachWidthAndThroughI4MatchImmediateMode) {
  const Scene s = scene();
  const std::vector<int> order = shuffled();
  const auto reference = immediate(s, order);
  point_at(s);
  std::vector<GLint> i4(order.begin(), order.end());
  std::vector<GLshort> i2(order.begin(), order.end());
  std::vector<GLbyte> i1(order.begin(), order.end());
  const GLenum mode = GL_TRIANGLES, u4 = GL_UNSIGNED_INT, u2 = GL_UNSIGNED_SHORT, u1 = GL_UNSIGNED_BYTE;
  const GLsizei count = kVertices;
  const GLuint lo = 0, hi = kVertices - 1;

  glClear(GL_COLOR_BUFFER_BIT);
  fglDrawElements(&mode, &count, &u4, i4.data());
  EXPECT_EQ(picture(), reference) << "INTEGER*4 as GL_UNSIGNED_INT";
  glClear(GL_COLOR_BUFFER_BIT);
  fglDrawElements(&mode, &count, &u2, i2.data());
  EXPECT_EQ(picture(), reference) << "INTEGER*2 as GL_UNSIGNED_SHORT";
  glClear(GL_COLOR_BUFFER_BIT);
  fglDrawElements(&mode, &count, &u1, i1.data());
  EXPECT_EQ(picture(), reference) << "INTEGER*1 as GL_UNSIGNED_BYTE";
  glClear(GL_COLOR_BUFFER_BIT);
  fglDrawRangeElements(&mode, &lo, &hi, &count, &u2, i2.data());
  EXPECT_EQ(picture(), reference) << "range, INTEGER*2";

  // INTEGER*4 elements narrowed to each type; high bits above the type's
  // width must not matter for the narrow types.
  std::vector<GLint> high(order.begin(), order.end());
  for (GLint &v : high) v += 0x10000;
  for (GLenum type : {u4, u2, u1}) {
    SCOPED_TRACE(type);
    const std::vector<GLint> &elements = type == u4 ? i4 : high;
    glClear(GL_COLOR_BUFFER_BIT);
    fglDrawElementsI4(&mode, &count, &type, elements.data());
    EXPECT_EQ(picture(), reference) << "fglDrawElementsI4";
    glClear(GL_COLOR_BUFFER_BIT);
    fglDrawRangeElementsI4(&mode, &lo, &hi, &count, &type, elements.data());
    EXPECT_EQ(picture(), reference) << "fglDrawRangeElementsI4";
  }
}

// ---------------------------------------------------------------------------
// Multitexture coordinates and transpose matrices.

class Multitexture : public Mesa {};

TEST_F(Multitexture, CoordinatesReachTheNamedUnit) {
  GLint units = 0;
  glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
  ASSERT_GE(units, 2);
  const GLenum unit1 = GL_TEXTURE1, unit0 = GL_TEXTURE0;
  auto current = [](GLenum unit) {
    glActiveTexture(unit);
    GLfloat c[4];
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, c);
    glActiveTexture(GL_TEXTURE0);
    return std::vector<GLfloat>(c, c + 4);
  };
  const GLfloat s = 0.25f, t = -2.0f;
  fglMultiTexCoord2f(&unit1, &s, &t);
  EXPECT_EQ(current(GL_TEXTURE1), (std::vector<GLfloat>{0.25f, -2.0f, 0.0f, 1.0f}));

  const GLint wide[4] = {70000, -3, 5, 7};  // 70000 keeps its low 16 bits, 4464
  fglMultiTexCoord4svI4(&unit1, wide);
  EXPECT_EQ(current(GL_TEXTURE1), (std::vector<GLfloat>{4464.0f, -3.0f, 5.0f, 7.0f}));
  const GLint si = 9, ti = 65535 + 11;  // 65546 is 10 as a short
  fglMultiTexCoord2sI4(&unit0, reinterpret_cast<const GLshort *>(&si), reinterpret_cast<const GLshort *>(&ti));
  EXPECT_EQ(current(GL_TEXTURE0), (std::vector<GLfloat>{9.0f, 10.0f, 0.0f, 1.0f}));
  EXPECT_EQ(current(GL_TEXTURE1), (std::vector<GLfloat>{4464.0f, -3.0f, 5.0f, 7.0f}));

  fglActiveTexture(&unit1);
  GLint active = 0;
  glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
  EXPECT_EQ(active, GL_TEXTURE1);
  fglClientActiveTexture(&unit1);
  glGetIntegerv(GL_CLIENT_ACTIVE_TEXTURE, &active);
  EXPECT_EQ(active, GL_TEXTURE1);
  glActiveTexture(GL_TEXTURE0);
  glClientActiveTexture(GL_TEXTURE0);
}

TEST_F(Multitexture, TransposeMatricesLoadRowMajor) {
  GLdouble rows[16];
  for (int i = 0; i < 16; ++i) rows[i] = i + 1;
  fglLoadTransposeMatrixd(rows);
  GLdouble m[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, m);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_EQ(m[c * 4 + r], rows[r * 4 + c]);
  glLoadIdentity();
}

bool displayed = false;

}  // namespace

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // listing needs no window
  int glut_argc = 1;
  char name[] = "textures_arrays_mesa_test";
  char *glut_argv[] = {name, nullptr};
  glutInit(&glut_argc, glut_argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_SINGLE);
  glutInitWindowSize(kWindow, kWindow);
  const int window = glutCreateWindow("textures and arrays");
  glutDisplayFunc([] { displayed = true; });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!displayed && std::chrono::steady_clock::now() < deadline) glutMainLoopEvent();
  if (!displayed) {
    std::fprintf(stderr, "the window was never displayed\n");
    return 1;
  }
  const int result = RUN_ALL_TESTS();
  glutDestroyWindow(window);
  glutExit();
  return result;
}
