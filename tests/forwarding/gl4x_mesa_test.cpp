// The OpenGL 4.x entries with behaviour of their own, against Mesa in a 4.5
// compatibility context (a freeglut window on the test's own X server): named
// buffers through INTEGER*4 sizes, texture storage filled through a named
// texture (a sub-image in and out of INTEGER*4 elements), indirect draws
// from an INTEGER*4 command array and from offsets into the bound indirect
// buffer, a pipeline of separate shader programs made
// from CHARACTER lines, a tessellation round trip, and a command looked up at
// run time.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fgl.h"

namespace {

// A Fortran CHARACTER*(W) array: each line padded with blanks to W.
struct Lines {
  int width;
  std::string storage;
  GLsizei count = 0;
  Lines(int w, std::initializer_list<const char *> lines) : width(w) {
    for (const char *l : lines) {
      std::string s(l);
      s.resize(static_cast<std::size_t>(w), ' ');
      storage += s;
      ++count;
    }
  }
};

class Mesa4x : public ::testing::Test {
 protected:
  void SetUp() override {
    while (glGetError() != GL_NO_ERROR) {
    }
  }
  void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }
};

TEST_F(Mesa4x, NamedBufferThroughFourByteSizes) {
  GLuint buffer = 0;
  const GLsizei one = 1;
  fglCreateBuffers(&one, &buffer);
  const std::vector<GLint> data = {11, -22, 33, -44, 55, -66};
  const GLint size = static_cast<GLint>(data.size() * sizeof(GLint));
  const GLenum usage = GL_STATIC_READ;
  fglNamedBufferDataI4(&buffer, &size, data.data(), &usage);
  const GLint offset = 2 * sizeof(GLint), part = 3 * sizeof(GLint);
  const GLint patch[3] = {7, 8, 9};
  fglNamedBufferSubDataI4(&buffer, &offset, &part, patch);
  std::vector<GLint> back(4, 0);
  const GLint from = sizeof(GLint), length = 4 * sizeof(GLint);
  fglGetNamedBufferSubDataI4(&buffer, &from, &length, back.data());
  EXPECT_EQ(back, (std::vector<GLint>{-22, 7, 8, 9}));
  GLint64 held = 0;
  glGetNamedBufferParameteri64v(buffer, GL_BUFFER_SIZE, &held);
  EXPECT_EQ(held, size);
  glDeleteBuffers(1, &buffer);
}

TEST_F(Mesa4x, TextureStorageFilledThroughTheNamedTexture) {
  GLuint texture = 0;
  const GLenum target = GL_TEXTURE_2D, rgba8 = GL_RGBA8, rgba = GL_RGBA, bytes = GL_UNSIGNED_BYTE;
  const GLsizei one = 1, four = 4, two = 2;
  const GLint level = 0, x = 1, y = 2;
  fglCreateTextures(&target, &one, &texture);
  fglTextureStorage2D(&texture, &one, &rgba8, &four, &four);
  const std::uint32_t block[4] = {0x11223344u, 0x55667788u, 0x99aabbccu, 0xddeeff00u};
  fglTextureSubImage2D(&texture, &level, &x, &y, &two, &two, &rgba, &bytes, block);
  std::vector<std::uint32_t> texels(16, 0);
  glGetTextureImage(texture, 0, GL_RGBA, GL_UNSIGNED_BYTE, 64, texels.data());
  EXPECT_EQ(texels[2 * 4 + 1], block[0]);
  EXPECT_EQ(texels[2 * 4 + 2], block[1]);
  EXPECT_EQ(texels[3 * 4 + 1], block[2]);
  EXPECT_EQ(texels[3 * 4 + 2], block[3]);
  EXPECT_EQ(texels[0], 0u);
  GLint levels = 0;
  glGetTextureParameteriv(texture, GL_TEXTURE_IMMUTABLE_LEVELS, &levels);
  EXPECT_EQ(levels, 1);
  glDeleteTextures(1, &texture);
}

// A sub-image of a named texture from INTEGER*4 elements and read back into
// INTEGER*4 elements: one element per byte, the count the caller's. A count
// too short for the image reaches OpenGL as a bufSize it rejects, and the
// elements past the count keep their values.
TEST_F(Mesa4x, NamedTextureSubImageInAndOutOfFourByteElements) {
  GLuint texture = 0;
  const GLenum target = GL_TEXTURE_2D, rgba8 = GL_RGBA8, rgba = GL_RGBA, bytes = GL_UNSIGNED_BYTE;
  const GLsizei one = 1, four = 4, two = 2;
  const GLint level = 0, x = 1, y = 2;
  fglCreateTextures(&target, &one, &texture);
  fglTextureStorage2D(&texture, &one, &rgba8, &four, &four);
  std::vector<GLint> block(16);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = 0x100 + 10 + static_cast<GLint>(i);  // low byte sent
  const GLint sixteen = 16;
  fglTextureSubImage2DI4(&texture, &level, &x, &y, &two, &two, &rgba, &bytes, block.data(), &sixteen);

  std::vector<GLint> texels(64 + 4, -1);
  const GLint whole = 64;
  fglGetTextureImageI4(&texture, &level, &rgba, &bytes, texels.data(), &whole);
  for (std::size_t row = 0; row < 4; ++row)
    for (std::size_t col = 0; col < 4; ++col)
      for (std::size_t c = 0; c < 4; ++c) {
        const bool in = row >= 2 && col >= 1 && col <= 2;
        const GLint want = in ? static_cast<GLint>(10 + ((row - 2) * 2 + (col - 1)) * 4 + c) : 0;
        EXPECT_EQ(texels[(row * 4 + col) * 4 + c], want) << row << " " << col << " " << c;
      }
  EXPECT_EQ(texels[64], -1);

  std::vector<GLint> region(16 + 1, -1);
  fglGetTextureSubImageI4(&texture, &level, &x, &y, &level, &two, &two, &one, &rgba, &bytes, region.data(), &sixteen);
  for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(region[i], 10 + static_cast<GLint>(i)) << i;
  EXPECT_EQ(region[16], -1);

  std::vector<GLint> short_of(64, -1);
  const GLint sixty = 60;
  fglGetTextureImageI4(&texture, &level, &rgba, &bytes, short_of.data(), &sixty);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_OPERATION));
  for (std::size_t i = 60; i < 64; ++i) EXPECT_EQ(short_of[i], -1) << i;
  glDeleteTextures(1, &texture);
}

// Triangles drawn by the indirect commands, counted by a query: command 0
// draws one triangle, command 1 two, so each way of reaching the commands
// shows in the count.
TEST_F(Mesa4x, MultiDrawIndirectFromCommandWordsAndFromOffsets) {
  const GLfloat corners[12] = {-1, -1, 1, -1, 0, 1, -1, -1, 1, -1, 0, 1};
  GLuint buffers[2] = {0, 0};
  glGenBuffers(2, buffers);
  glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
  glBufferData(GL_ARRAY_BUFFER, sizeof corners, corners, GL_STATIC_DRAW);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(2, GL_FLOAT, 0, nullptr);
  // count, instance count, first vertex, base instance: INTEGER*4 words
  const GLint commands[8] = {3, 1, 0, 0, 6, 1, 0, 0};
  const GLenum mode = GL_TRIANGLES;
  const GLsizei both = 2, single = 1, stride = 0;
  const GLint offset4 = 16;
  const GLint64 offset8 = 16;
  struct Case {
    const char *how;
    bool bound;
    void (*draw)(const GLenum *, const GLint *, const GLint *, const GLint64 *, const GLsizei *, const GLsizei *,
                 const GLsizei *);
    GLuint triangles;
  };
  const Case cases[] = {
      {"command words", false,
       [](const GLenum *m, const GLint *c, const GLint *, const GLint64 *, const GLsizei *n, const GLsizei *,
          const GLsizei *s) { fglMultiDrawArraysIndirect(m, c, n, s); },
       3},
      {"INTEGER*4 offset", true,
       [](const GLenum *m, const GLint *, const GLint *o, const GLint64 *, const GLsizei *, const GLsizei *n,
          const GLsizei *s) { fglMultiDrawArraysIndirectOffsetI4(m, o, n, s); },
       2},
      {"INTEGER*8 offset", true,
       [](const GLenum *m, const GLint *, const GLint *, const GLint64 *o, const GLsizei *, const GLsizei *n,
          const GLsizei *s) { fglMultiDrawArraysIndirectOffset(m, o, n, s); },
       2},
      {"single command, INTEGER*4 offset", true,
       [](const GLenum *m, const GLint *, const GLint *o, const GLint64 *, const GLsizei *, const GLsizei *,
          const GLsizei *) { fglDrawArraysIndirectOffsetI4(m, o); },
       2},
  };
  GLuint query = 0;
  glGenQueries(1, &query);
  for (const Case &c : cases) {
    glBindBuffer(GL_DRAW_INDIRECT_BUFFER, c.bound ? buffers[1] : 0);
    if (c.bound) glBufferData(GL_DRAW_INDIRECT_BUFFER, sizeof commands, commands, GL_STATIC_DRAW);
    glBeginQuery(GL_PRIMITIVES_GENERATED, query);
    c.draw(&mode, commands, &offset4, &offset8, &both, &single, &stride);
    glEndQuery(GL_PRIMITIVES_GENERATED);
    GLuint triangles = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &triangles);  // waits for the result
    EXPECT_EQ(triangles, c.triangles) << c.how;
  }
  glBindBuffer(GL_DRAW_INDIRECT_BUFFER, 0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glDisableClientState(GL_VERTEX_ARRAY);
  glDeleteQueries(1, &query);
  glDeleteBuffers(2, buffers);
}

TEST_F(Mesa4x, PipelineOfSeparateProgramsFromCharacterLines) {
  const Lines vertex(56, {"#version 450", "out gl_PerVertex { vec4 gl_Position; };",
                          "void main() {", "  vec2 p = vec2(gl_VertexID % 2, gl_VertexID / 2);",
                          "  gl_Position = vec4(4.0 * p - 1.0, 0, 1);", "}"});
  const Lines fragment(40, {"#version 450", "uniform vec4 colour;", "out vec4 result;",
                            "void main() { result = colour; }"});
  const GLenum vs = GL_VERTEX_SHADER, fs = GL_FRAGMENT_SHADER;
  GLuint vp = fglCreateShaderProgramvC(&vs, &vertex.count, vertex.storage.data(), vertex.width);
  GLuint fp = fglCreateShaderProgramvC(&fs, &fragment.count, fragment.storage.data(), fragment.width);
  for (GLuint program : {vp, fp}) {
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    ASSERT_EQ(linked, GL_TRUE) << program;
  }
  GLuint pipeline = 0;
  const GLsizei one = 1;
  fglCreateProgramPipelines(&one, &pipeline);
  const GLbitfield vbit = GL_VERTEX_SHADER_BIT, fbit = GL_FRAGMENT_SHADER_BIT;
  fglUseProgramStages(&pipeline, &vbit, &vp);
  fglUseProgramStages(&pipeline, &fbit, &fp);
  const GLint location = fglGetUniformLocationC(&fp, "colour  ", 8);
  const GLfloat r = 0, g = 1, b = 0, a = 1;
  fglProgramUniform4f(&fp, &location, &r, &g, &b, &a);
  fglValidateProgramPipeline(&pipeline);
  GLint valid = 0;
  const GLenum status = GL_VALIDATE_STATUS;
  fglGetProgramPipelineiv(&pipeline, &status, &valid);
  std::string log(100, '#');
  fglGetProgramPipelineInfoLogC(&pipeline, log.data(), static_cast<int>(log.size()));
  EXPECT_EQ(valid, GL_TRUE) << log;
  fglBindProgramPipeline(&pipeline);
  GLuint vao = 0;
  glGenVertexArrays(1, &vao);
  glBindVertexArray(vao);
  glClear(GL_COLOR_BUFFER_BIT);
  glDrawArrays(GL_TRIANGLES, 0, 3);
  GLubyte pixel[4] = {0, 0, 0, 0};
  glReadPixels(32, 32, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
  EXPECT_EQ(pixel[0], 0);
  EXPECT_EQ(pixel[1], 255);
  glBindVertexArray(0);
  glDeleteVertexArrays(1, &vao);
  glBindProgramPipeline(0);
  glDeleteProgramPipelines(1, &pipeline);
  glDeleteProgram(vp);
  glDeleteProgram(fp);
}

// A patch of two control points through a tessellation control and
// evaluation shader built from CHARACTER lines: the control shader copies the
// points and sets the outer levels from a uniform (2 lines of 3 segments);
// the evaluator, in isolines and point mode, emits each vertex of the
// tessellated lines once, at mix(a, b, u) + (0, v). Its output, caught by
// transform feedback, is the 2 x 4 grid u = 0, 1/3, 2/3, 1 and v = 0, 1/2
// between a = (0, 10) and b = (3, 10): x = 3u, y = 10 + v. The order of the
// points is the tessellator's own, so they are compared sorted.
TEST_F(Mesa4x, TessellatedPatchThroughControlAndEvaluationShaders) {
  const Lines vertex(56, {"#version 400", "in vec2 p;", "out vec2 q;",
                          "void main() { q = p; gl_Position = vec4(p, 0, 1); }"});
  const Lines control(64, {"#version 400", "layout(vertices = 2) out;", "uniform vec2 levels;",
                           "in vec2 q[];", "out vec2 r[];", "void main() {",
                           "  r[gl_InvocationID] = q[gl_InvocationID];",
                           "  gl_TessLevelOuter[0] = levels.x;", "  gl_TessLevelOuter[1] = levels.y;", "}"});
  const Lines evaluation(72, {"#version 400", "layout(isolines, equal_spacing, point_mode) in;",
                              "in vec2 r[];", "out vec2 grid;", "void main() {",
                              "  grid = mix(r[0], r[1], gl_TessCoord.x) + vec2(0, gl_TessCoord.y);",
                              "  gl_Position = vec4(grid, 0, 1);", "}"});
  GLuint program = glCreateProgram();
  for (const auto &[kind, lines] : {std::pair{GLenum{GL_VERTEX_SHADER}, &vertex},
                                    std::pair{GLenum{GL_TESS_CONTROL_SHADER}, &control},
                                    std::pair{GLenum{GL_TESS_EVALUATION_SHADER}, &evaluation}}) {
    GLuint shader = fglCreateShader(&kind);
    fglShaderSourceC(&shader, &lines->count, lines->storage.data(), lines->width);
    fglCompileShader(&shader);
    GLint compiled = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    std::string log(500, ' ');
    fglGetShaderInfoLogC(&shader, log.data(), static_cast<int>(log.size()));
    ASSERT_EQ(compiled, GL_TRUE) << kind << ": " << log.substr(0, log.find_last_not_of(' ') + 1);
    fglAttachShader(&program, &shader);
    glDeleteShader(shader);
  }
  const GLsizei one = 1;
  const GLenum interleaved = GL_INTERLEAVED_ATTRIBS;
  fglTransformFeedbackVaryingsC(&program, &one, "grid", &interleaved, 4);
  fglLinkProgram(&program);
  GLint linked = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &linked);
  ASSERT_EQ(linked, GL_TRUE);
  fglUseProgram(&program);
  const GLint levels = fglGetUniformLocationC(&program, "levels", 6);
  const GLfloat lines = 2, segments = 3;
  fglUniform2f(&levels, &lines, &segments);

  const GLfloat ends[4] = {0, 10, 3, 10};
  GLuint vao = 0, buffers[2] = {0, 0};
  glGenVertexArrays(1, &vao);
  glBindVertexArray(vao);
  glGenBuffers(2, buffers);
  glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
  glBufferData(GL_ARRAY_BUFFER, sizeof ends, ends, GL_STATIC_DRAW);
  const GLint at = glGetAttribLocation(program, "p");
  ASSERT_GE(at, 0);
  glVertexAttribPointer(static_cast<GLuint>(at), 2, GL_FLOAT, GL_FALSE, 0, nullptr);
  glEnableVertexAttribArray(static_cast<GLuint>(at));
  // Room for twice the points expected: the count written shows any extra.
  const std::vector<GLfloat> unset(32, -1);
  glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, buffers[1]);
  glBufferData(GL_TRANSFORM_FEEDBACK_BUFFER, static_cast<GLsizeiptr>(unset.size() * sizeof(GLfloat)), unset.data(),
               GL_STATIC_READ);

  const GLenum vertices = GL_PATCH_VERTICES, patches = GL_PATCHES;
  const GLint two = 2, first = 0;
  fglPatchParameteri(&vertices, &two);
  GLint held = 0;
  glGetIntegerv(GL_PATCH_VERTICES, &held);
  EXPECT_EQ(held, 2);
  GLuint queries[2] = {0, 0};
  glGenQueries(2, queries);
  glEnable(GL_RASTERIZER_DISCARD);
  glBeginQuery(GL_PRIMITIVES_GENERATED, queries[0]);
  glBeginQuery(GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN, queries[1]);
  glBeginTransformFeedback(GL_POINTS);
  fglDrawArrays(&patches, &first, &two);
  glEndTransformFeedback();
  glEndQuery(GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN);
  glEndQuery(GL_PRIMITIVES_GENERATED);
  glDisable(GL_RASTERIZER_DISCARD);
  GLuint generated = 0, written = 0;
  glGetQueryObjectuiv(queries[0], GL_QUERY_RESULT, &generated);  // waits for the result
  glGetQueryObjectuiv(queries[1], GL_QUERY_RESULT, &written);
  EXPECT_EQ(generated, 8u);
  EXPECT_EQ(written, 8u);

  std::vector<GLfloat> caught(unset.size(), 0);
  glGetBufferSubData(GL_TRANSFORM_FEEDBACK_BUFFER, 0, static_cast<GLsizeiptr>(caught.size() * sizeof(GLfloat)),
                     caught.data());
  std::vector<std::pair<GLfloat, GLfloat>> points;  // (y, x), sorted by row
  for (std::size_t i = 0; i < 8; ++i) points.emplace_back(caught[2 * i + 1], caught[2 * i]);
  std::sort(points.begin(), points.end());
  // The tessellator's coordinates are near the fractions (llvmpipe's are off
  // by about 1e-5), far nearer than the grid's spacing.
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_NEAR(points[i].first, i < 4 ? 10.0f : 10.5f, 1e-3f) << i;
    EXPECT_NEAR(points[i].second, static_cast<GLfloat>(i % 4), 1e-3f) << i;
  }
  EXPECT_EQ(std::vector<GLfloat>(caught.begin() + 16, caught.end()), std::vector<GLfloat>(16, -1));

  glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, 0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindVertexArray(0);
  glUseProgram(0);
  glDeleteQueries(2, queries);
  glDeleteBuffers(2, buffers);
  glDeleteVertexArrays(1, &vao);
  glDeleteProgram(program);
}

// A command of OpenGL 4.6, reached through the pointer looked up at run time.
TEST_F(Mesa4x, LookedUpCommandReachesTheDriver) {
  const GLfloat factor = 1, units = 2, clamp = 0.5f;
  fglPolygonOffsetClamp(&factor, &units, &clamp);
  GLfloat seen = 0;
  glGetFloatv(GL_POLYGON_OFFSET_CLAMP, &seen);
  EXPECT_EQ(seen, clamp);
  EXPECT_EQ(fglGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // listing needs no window
  glutInit(&argc, argv);
  glutInitContextVersion(4, 5);
  glutInitContextProfile(GLUT_COMPATIBILITY_PROFILE);
  glutInitDisplayMode(GLUT_RGBA | GLUT_SINGLE);
  glutInitWindowSize(64, 64);
  glutCreateWindow("OpenGL 4.x entries");
  return RUN_ALL_TESTS();
}
