// The families of OpenGL 1.4 to 3.3 with behaviour of their own, against Mesa
// in a real context (a freeglut window on the test's own X server): shader
// text from CHARACTER lines and back, name lookups with trailing blanks,
// transform feedback varyings, buffer sizes and offsets in INTEGER*4 and
// INTEGER*8, array pointers and pixel data given as offsets, sync handles and
// 64-bit queries; debug messages the program inserts, through the routine's
// trampoline.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
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

// A CHARACTER*(N) variable for text out.
struct Variable {
  std::string text;
  explicit Variable(std::size_t n) : text(n, '#') {}
  int length() const { return static_cast<int>(text.size()); }
  std::string trimmed() const { return text.substr(0, text.find_last_not_of(' ') + 1); }
};

const Lines kVertex(48, {
                            "#version 330",
                            "uniform float scale;",
                            "layout(std140) uniform Matrices { mat4 view; };",
                            "in vec4 position;",
                            "in vec3 colour;",
                            "out vec3 shade;",
                            "out float depth;",
                            "void main() {",
                            "  shade = colour * scale;",
                            "  depth = position.z;",
                            "  gl_Position = view * position;",
                            "}",
                        });
const Lines kFragment(40, {
                              "#version 330",
                              "in vec3 shade;",
                              "out vec4 result;",
                              "void main() { result = vec4(shade, 1); }",
                          });

GLuint compiled(GLenum kind, const Lines &lines) {
  GLuint shader = fglCreateShader(&kind);
  fglShaderSourceC(&shader, &lines.count, lines.storage.data(), lines.width);
  fglCompileShader(&shader);
  return shader;
}

GLint shader_status(GLuint shader) {
  GLint ok = -1;
  const GLenum pname = GL_COMPILE_STATUS;
  fglGetShaderiv(&shader, &pname, &ok);
  return ok;
}

class ModernMesa : public ::testing::Test {
 protected:
  void SetUp() override {
    while (glGetError() != GL_NO_ERROR) {
    }
  }
  void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }

  // The two shaders linked, with `varyings` captured when given.
  GLuint linked(const Lines *varyings = nullptr) {
    GLuint program = fglCreateProgram();
    GLuint vs = compiled(GL_VERTEX_SHADER, kVertex), fs = compiled(GL_FRAGMENT_SHADER, kFragment);
    fglAttachShader(&program, &vs);
    fglAttachShader(&program, &fs);
    const GLuint position = 3;
    fglBindAttribLocationC(&program, &position, "position   ", 11);
    if (varyings) {
      const GLenum mode = GL_INTERLEAVED_ATTRIBS;
      fglTransformFeedbackVaryingsC(&program, &varyings->count, varyings->storage.data(), &mode, varyings->width);
    }
    fglLinkProgram(&program);
    GLint ok = -1;
    const GLenum pname = GL_LINK_STATUS;
    fglGetProgramiv(&program, &pname, &ok);
    Variable log(200);
    fglGetProgramInfoLogC(&program, log.text.data(), log.length());
    EXPECT_EQ(ok, GL_TRUE) << log.trimmed();
    return program;
  }
};

TEST_F(ModernMesa, ShaderFromCharacterLinesCompilesAndReadsBack) {
  GLuint vs = compiled(GL_VERTEX_SHADER, kVertex);
  EXPECT_EQ(shader_status(vs), GL_TRUE);
  std::string want;
  for (GLsizei i = 0; i < kVertex.count; ++i) {
    std::string line = kVertex.storage.substr(static_cast<std::size_t>(i * kVertex.width), kVertex.width);
    want += line.substr(0, line.find_last_not_of(' ') + 1) + "\n";
  }
  Variable whole(1000), part(10);
  EXPECT_EQ(fglGetShaderSourceC(&vs, whole.text.data(), whole.length()), static_cast<GLint>(want.size()));
  EXPECT_EQ(whole.text, want + std::string(1000 - want.size(), ' '));
  EXPECT_EQ(fglGetShaderSourceC(&vs, part.text.data(), part.length()), static_cast<GLint>(want.size()));
  EXPECT_EQ(part.text, want.substr(0, 10));
  fglDeleteShader(&vs);
}

TEST_F(ModernMesa, InfoLogOfABrokenShaderComesBackInFull) {
  const Lines broken(30, {"#version 330", "void main() { nonsense; }"});
  GLuint vs = compiled(GL_VERTEX_SHADER, broken);
  EXPECT_EQ(shader_status(vs), GL_FALSE);
  GLint full = 0;
  const GLenum pname = GL_INFO_LOG_LENGTH;
  fglGetShaderiv(&vs, &pname, &full);
  ASSERT_GT(full, 1);
  Variable tiny(4), roomy(static_cast<std::size_t>(full) + 20);
  EXPECT_EQ(fglGetShaderInfoLogC(&vs, tiny.text.data(), tiny.length()), full - 1);  // without the NUL
  EXPECT_EQ(fglGetShaderInfoLogC(&vs, roomy.text.data(), roomy.length()), full - 1);
  EXPECT_EQ(tiny.text, roomy.text.substr(0, 4));
  EXPECT_NE(roomy.trimmed().find("nonsense"), std::string::npos) << roomy.trimmed();
  EXPECT_EQ(roomy.text.substr(static_cast<std::size_t>(full - 1)), std::string(21, ' '));
  fglDeleteShader(&vs);
}

TEST_F(ModernMesa, NameLookupsIgnoreTrailingBlanks) {
  GLuint program = linked();
  EXPECT_EQ(fglGetUniformLocationC(&program, "scale     ", 10), glGetUniformLocation(program, "scale"));
  EXPECT_GE(fglGetUniformLocationC(&program, "scale", 5), 0);
  EXPECT_EQ(fglGetAttribLocationC(&program, "position ", 9), 3) << "bound through fglBindAttribLocationC";
  EXPECT_EQ(fglGetAttribLocationC(&program, "colour", 6), glGetAttribLocation(program, "colour"));
  EXPECT_EQ(fglGetFragDataLocationC(&program, "result  ", 8), glGetFragDataLocation(program, "result"));
  EXPECT_EQ(fglGetUniformLocationC(&program, "scal", 4), -1);
  GLuint block = fglGetUniformBlockIndexC(&program, "Matrices        ", 16);
  EXPECT_EQ(block, glGetUniformBlockIndex(program, "Matrices"));
  ASSERT_NE(block, GL_INVALID_INDEX);
  Variable name(20);
  EXPECT_EQ(fglGetActiveUniformBlockNameC(&program, &block, name.text.data(), name.length()), 8);
  EXPECT_EQ(name.trimmed(), "Matrices");

  const Lines names(12, {"view", "scale"});
  GLuint indices[2] = {99, 99};
  fglGetUniformIndicesC(&program, &names.count, names.storage.data(), indices, names.width);
  const GLchar *plain[2] = {"view", "scale"};
  GLuint direct[2];
  glGetUniformIndices(program, 2, plain, direct);
  EXPECT_EQ(indices[0], direct[0]);
  EXPECT_EQ(indices[1], direct[1]);
  Variable uniform(3);
  GLint size = 0;
  GLenum type = 0;
  EXPECT_EQ(fglGetActiveUniformC(&program, &indices[1], &size, &type, uniform.text.data(), uniform.length()), 5);
  EXPECT_EQ(uniform.text, "sca");
  EXPECT_EQ(type, static_cast<GLenum>(GL_FLOAT));
  EXPECT_EQ(fglGetActiveUniformNameC(&program, &indices[0], name.text.data(), name.length()), 4);
  EXPECT_EQ(name.trimmed(), "view");
  fglDeleteProgram(&program);
}

TEST_F(ModernMesa, TransformFeedbackVaryingsByName) {
  const Lines varyings(10, {"depth", "shade"});
  GLuint program = linked(&varyings);
  for (GLuint i = 0; i < 2; ++i) {
    Variable name(16);
    GLsizei size = 0;
    GLenum type = 0;
    EXPECT_EQ(fglGetTransformFeedbackVaryingC(&program, &i, &size, &type, name.text.data(), name.length()), 5);
    EXPECT_EQ(name.trimmed(), i == 0 ? "depth" : "shade");
    EXPECT_EQ(type, static_cast<GLenum>(i == 0 ? GL_FLOAT : GL_FLOAT_VEC3));
  }
  fglDeleteProgram(&program);
}

TEST_F(ModernMesa, ExtensionNamesByIndex) {
  GLint n = 0;
  glGetIntegerv(GL_NUM_EXTENSIONS, &n);
  ASSERT_GT(n, 0);
  const GLenum name = GL_EXTENSIONS;
  for (GLuint i : {0u, static_cast<GLuint>(n - 1)}) {
    const std::string want = reinterpret_cast<const char *>(glGetStringi(GL_EXTENSIONS, i));
    Variable text(want.size() + 3);
    EXPECT_EQ(fglGetStringiC(&name, &i, text.text.data(), text.length()), static_cast<GLint>(want.size()));
    EXPECT_EQ(text.text, want + "   ");
  }
}

TEST_F(ModernMesa, BufferSizesAndOffsetsInFourAndEightBytes) {
  GLuint buffer = 0;
  const GLsizei one = 1;
  fglGenBuffers(&one, &buffer);
  const GLenum target = GL_ARRAY_BUFFER, usage = GL_STATIC_DRAW;
  fglBindBuffer(&target, &buffer);
  std::vector<GLint> data(64);
  for (int i = 0; i < 64; ++i) data[i] = i * 7;
  const GLint size4 = 256;
  fglBufferDataI4(&target, &size4, data.data(), &usage);
  GLint size = 0;
  const GLenum pname = GL_BUFFER_SIZE;
  fglGetBufferParameteriv(&target, &pname, &size);
  EXPECT_EQ(size, 256);

  const GLint patch[2] = {-1, 12345};
  const GLint offset4 = 40, length4 = 8;
  fglBufferSubDataI4(&target, &offset4, &length4, patch);
  std::vector<GLint> back(64, 0);
  const GLintptr offset8 = 0;
  const GLsizeiptr length8 = 256;
  fglGetBufferSubData(&target, &offset8, &length8, back.data());
  data[10] = -1;
  data[11] = 12345;
  EXPECT_EQ(back, data);

  GLint two[2] = {0, 0};
  fglGetBufferSubDataI4(&target, &offset4, &length4, two);
  EXPECT_EQ(two[0], -1);
  EXPECT_EQ(two[1], 12345);

  // A negative INTEGER*4 size is negative to OpenGL, not 4 GiB.
  const GLint negative = -4;
  fglBufferSubDataI4(&target, &offset4, &negative, patch);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_VALUE));
  fglDeleteBuffers(&one, &buffer);
}

TEST_F(ModernMesa, ArrayPointersAsOffsetsIntoTheBoundBuffer) {
  GLuint buffer = 0;
  glGenBuffers(1, &buffer);
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  glBufferData(GL_ARRAY_BUFFER, 1024, nullptr, GL_STATIC_DRAW);
  const GLuint index = 1;
  const GLint size = 3;
  const GLenum type = GL_FLOAT;
  const GLboolean normalized = GL_FALSE;
  const GLsizei stride = 24;
  const GLint offset4 = 12;
  fglVertexAttribPointerOffsetI4(&index, &size, &type, &normalized, &stride, &offset4);
  void *seen = reinterpret_cast<void *>(1);
  glGetVertexAttribPointerv(1, GL_VERTEX_ATTRIB_ARRAY_POINTER, &seen);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(seen), 12u);
  const GLint64 offset8 = 200;
  fglVertexAttribPointerOffset(&index, &size, &type, &normalized, &stride, &offset8);
  std::int64_t through = 0;  // INTEGER*8, as a Fortran program reads it back
  const GLenum pname = GL_VERTEX_ATTRIB_ARRAY_POINTER;
  fglGetVertexAttribPointerv(&index, &pname, reinterpret_cast<void **>(&through));
  EXPECT_EQ(through, 200);

  fglVertexPointerOffsetI4(&size, &type, &stride, &offset4);
  glGetPointerv(GL_VERTEX_ARRAY_POINTER, &seen);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(seen), 12u);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glDeleteBuffers(1, &buffer);
}

// The pixel commands under a bound pixel buffer: images uploaded from an
// unpack buffer and read (pixels, texture images, compressed images) into a
// pack buffer, each at a byte offset given as a number in 4 or 8 bytes.
TEST_F(ModernMesa, PixelCommandsReadAndWritePixelBuffersAtOffsets) {
  GLuint buffers[2] = {0, 0};
  glGenBuffers(2, buffers);
  const GLuint unpack = buffers[0], pack = buffers[1];
  const GLenum pack_target = GL_PIXEL_PACK_BUFFER;
  std::vector<unsigned char> source(128);
  for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<unsigned char>(3 * i + 1);
  glBindBuffer(GL_PIXEL_UNPACK_BUFFER, unpack);
  glBufferData(GL_PIXEL_UNPACK_BUFFER, 128, source.data(), GL_STATIC_DRAW);
  glBindBuffer(GL_PIXEL_PACK_BUFFER, pack);
  glBufferData(GL_PIXEL_PACK_BUFFER, 64, nullptr, GL_STREAM_READ);
  // Each word of the pack buffer starts as a value no image has.
  const std::vector<GLint> marks(16, -9);
  glBufferSubData(GL_PIXEL_PACK_BUFFER, 0, 64, marks.data());
  // The buffer's 16 bytes after `at`, as a Fortran program reads them back.
  auto packed = [&](GLint at) {
    std::vector<unsigned char> out(16);
    const GLint length = 16;
    fglGetBufferSubDataI4(&pack_target, &at, &length, out.data());
    return out;
  };
  const std::vector<unsigned char> uploaded(source.begin() + 16, source.begin() + 32);

  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  const GLenum target = GL_TEXTURE_2D, format = GL_RGBA, type = GL_UNSIGNED_BYTE;
  const GLint level = 0, internalformat = GL_RGBA8, border = 0, from4 = 16;
  const GLsizei two = 2;
  fglTexImage2DOffsetI4(&target, &level, &internalformat, &two, &two, &border, &format, &type, &from4);
  const GLint64 into8 = 8;
  fglGetTexImageOffset(&target, &level, &format, &type, &into8);
  EXPECT_EQ(packed(8), uploaded);

  // A 2 x 2 sub-image at offset 1, 1 of a 4 x 4 image, read back as pixels.
  const GLsizei four = 4;
  fglTexImage2DOffsetI4(&target, &level, &internalformat, &four, &four, &border, &format, &type, &from4);
  const GLint64 from8 = 32;
  const GLint one = 1;
  fglTexSubImage2DOffset(&target, &level, &one, &one, &two, &two, &format, &type, &from8);
  std::vector<unsigned char> texels(64);
  glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  EXPECT_TRUE(std::equal(source.begin() + 32, source.begin() + 40, texels.begin() + 20));
  EXPECT_TRUE(std::equal(source.begin() + 40, source.begin() + 48, texels.begin() + 36));
  glBindBuffer(GL_PIXEL_PACK_BUFFER, pack);

  // One cleared pixel of the window into the pack buffer at byte 4.
  glClearColor(1.0f, 0.0f, 1.0f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  const GLint x = 0, y = 0, into4 = 4;
  fglReadPixelsOffsetI4(&x, &y, &one, &one, &format, &type, &into4);
  const std::vector<unsigned char> magenta = {255, 0, 255};  // alpha: as the window has it
  const auto read = packed(4);
  EXPECT_TRUE(std::equal(magenta.begin(), magenta.end(), read.begin()));

  // A compressed 4 x 4 block (8 bytes of RGTC1) up from byte 16, back at byte 24.
  const GLenum rgtc = 0x8DBB;  // GL_COMPRESSED_RED_RGTC1
  const GLsizei block = 8;
  fglCompressedTexImage2DOffsetI4(&target, &level, &rgtc, &four, &four, &border, &block, &from4);
  const GLint into24 = 24;
  fglGetCompressedTexImageOffsetI4(&target, &level, &into24);
  const auto compressed = packed(24);
  EXPECT_TRUE(std::equal(uploaded.begin(), uploaded.begin() + 8, compressed.begin()));

  glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
  glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  glDeleteTextures(1, &texture);
  glDeleteBuffers(2, buffers);
}

TEST_F(ModernMesa, FenceWaitedOnThenDeleted) {
  const GLenum condition = GL_SYNC_GPU_COMMANDS_COMPLETE;
  const GLbitfield none = 0, flush = GL_SYNC_FLUSH_COMMANDS_BIT;
  glClear(GL_COLOR_BUFFER_BIT);
  GLint fence = fglFenceSync(&condition, &none);
  ASSERT_GT(fence, 0);
  EXPECT_EQ(fglIsSyncI4(&fence), 1);
  const GLint forever = -1;
  const GLenum waited = fglClientWaitSyncI4(&fence, &flush, &forever);
  EXPECT_TRUE(waited == GL_ALREADY_SIGNALED || waited == GL_CONDITION_SATISFIED) << waited;
  GLint status = 0;
  GLsizei length = 0;
  const GLenum pname = GL_SYNC_STATUS;
  const GLsizei one = 1;
  fglGetSynciv(&fence, &pname, &one, &length, &status);
  EXPECT_EQ(status, GL_SIGNALED);
  EXPECT_EQ(length, 1);
  fglDeleteSync(&fence);
  EXPECT_EQ(fglIsSync(&fence), GL_FALSE);
  const GLuint64 no_time = 0;
  EXPECT_EQ(fglClientWaitSync(&fence, &none, &no_time), static_cast<GLenum>(GL_WAIT_FAILED));
  EXPECT_EQ(fglGetError(), static_cast<GLenum>(GL_INVALID_VALUE));
  EXPECT_EQ(fglGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ModernMesa, SixtyFourBitQueries) {
  GLint64 timeout = -1;
  const GLenum pname = GL_MAX_SERVER_WAIT_TIMEOUT;
  fglGetInteger64v(&pname, &timeout);
  GLint64 direct = -2;
  glGetInteger64v(GL_MAX_SERVER_WAIT_TIMEOUT, &direct);
  EXPECT_EQ(timeout, direct);
  EXPECT_GE(timeout, 0);
}

// What a routine given to fglDebugMessageCallback received, as a Fortran
// routine sees it: the text is LEN(MESSAGE) characters from its address.
struct Received {
  GLint source, type, id, severity;
  std::string text;
  long long word;
};
std::vector<Received> received;

int keep(GLint *source, GLint *type, GLint *id, GLint *severity, char *message, long long *word,
         std::size_t length) {
  received.push_back({*source, *type, *id, *severity, std::string(message, length), *word});
  // The routine's own copies: changing them changes nothing for OpenGL.
  if (length > 0) message[0] = '#';
  *word = 0;
  return 0;
}

// Messages the program inserts come back with their numbers and their exact
// text, whether OpenGL is given the length or finds the NUL.
TEST_F(ModernMesa, InsertedMessagesReachTheRoutine) {
  received.clear();
  glEnable(GL_DEBUG_OUTPUT);
  glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
  const long long word = -1234567890123LL;
  fglDebugMessageCallback(keep, &word);
  glDebugMessageInsert(GL_DEBUG_SOURCE_APPLICATION, GL_DEBUG_TYPE_MARKER, 17, GL_DEBUG_SEVERITY_NOTIFICATION, -1,
                       "frame 1 begins");
  glDebugMessageInsert(GL_DEBUG_SOURCE_THIRD_PARTY, GL_DEBUG_TYPE_OTHER, 18, GL_DEBUG_SEVERITY_MEDIUM, 5,
                       "short text");
  fglDebugMessageCallbackNull();
  glDebugMessageInsert(GL_DEBUG_SOURCE_APPLICATION, GL_DEBUG_TYPE_MARKER, 20, GL_DEBUG_SEVERITY_NOTIFICATION, -1,
                       "to the log");
  glDisable(GL_DEBUG_OUTPUT);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].source, GL_DEBUG_SOURCE_APPLICATION);
  EXPECT_EQ(received[0].type, GL_DEBUG_TYPE_MARKER);
  EXPECT_EQ(received[0].id, 17);
  EXPECT_EQ(received[0].severity, GL_DEBUG_SEVERITY_NOTIFICATION);
  EXPECT_EQ(received[0].text, "frame 1 begins");
  EXPECT_EQ(received[0].word, word);
  EXPECT_EQ(received[1].source, GL_DEBUG_SOURCE_THIRD_PARTY);
  EXPECT_EQ(received[1].severity, GL_DEBUG_SEVERITY_MEDIUM);
  EXPECT_EQ(received[1].text, "short");
  EXPECT_EQ(received[1].word, word);
}

}  // namespace

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // listing needs no programs and no window
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGBA | GLUT_SINGLE | GLUT_DEPTH);
  glutInitWindowSize(64, 64);
  glutCreateWindow("modern entries");
  return RUN_ALL_TESTS();
}
