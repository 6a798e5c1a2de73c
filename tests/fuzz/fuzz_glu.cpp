// A stand-in for GLU's image functions for the pixel fuzz harness. GLU reads
// its input image (and gluScaleImage writes its output) through the pixel
// store exactly as glDrawPixels reads and glReadPixels writes an image of the
// same size, format and type; so each function hands its memory to those
// stand-in commands, which read or write exactly that extent. A 3-D image
// with no image height set reads as depth x height rows. What the input
// read was is kept in glu_input() (gluScaleImage's output is the last
// command's write).
#include <GL/glu.h>

#include "fuzz_gl.h"
#include "fuzz_glu.h"

namespace fuzz_glu {
namespace {
Input the_input;

GLint read_input(const void *data, GLsizei w, GLsizei h, GLenum format, GLenum type) {
  if (w < 0 || h < 0) return GLU_INVALID_VALUE;
  const int calls = fuzz_gl::state().calls;
  glDrawPixels(w, h, format, type, data);
  if (fuzz_gl::state().calls == calls) return GLU_INVALID_ENUM;  // refused: nothing read
  the_input.called = true;
  the_input.address = data;
  the_input.read = fuzz_gl::state().read;
  return 0;
}
}  // namespace

Input &input() { return the_input; }
void reset() { the_input = Input{}; }

}  // namespace fuzz_glu

extern "C" {

GLint gluScaleImage(GLenum format, GLsizei wIn, GLsizei hIn, GLenum typeIn, const void *dataIn, GLsizei wOut,
                    GLsizei hOut, GLenum typeOut, GLvoid *dataOut) {
  if (wOut < 0 || hOut < 0) return GLU_INVALID_VALUE;
  if (GLint e = fuzz_glu::read_input(dataIn, wIn, hIn, format, typeIn)) return e;
  glReadPixels(0, 0, wOut, hOut, format, typeOut, dataOut);
  return 0;
}

GLint gluBuild1DMipmaps(GLenum, GLint, GLsizei width, GLenum format, GLenum type, const void *data) {
  return fuzz_glu::read_input(data, width, 1, format, type);
}
GLint gluBuild2DMipmaps(GLenum, GLint, GLsizei width, GLsizei height, GLenum format, GLenum type, const void *data) {
  return fuzz_glu::read_input(data, width, height, format, type);
}
GLint gluBuild3DMipmaps(GLenum, GLint, GLsizei width, GLsizei height, GLsizei depth, GLenum format, GLenum type,
                        const void *data) {
  if (depth < 0) return GLU_INVALID_VALUE;
  return fuzz_glu::read_input(data, width, height * depth, format, type);
}
GLint gluBuild1DMipmapLevels(GLenum, GLint, GLsizei width, GLenum format, GLenum type, GLint, GLint, GLint,
                             const void *data) {
  return fuzz_glu::read_input(data, width, 1, format, type);
}
GLint gluBuild2DMipmapLevels(GLenum, GLint, GLsizei width, GLsizei height, GLenum format, GLenum type, GLint, GLint,
                             GLint, const void *data) {
  return fuzz_glu::read_input(data, width, height, format, type);
}
GLint gluBuild3DMipmapLevels(GLenum, GLint, GLsizei width, GLsizei height, GLsizei depth, GLenum format, GLenum type,
                             GLint, GLint, GLint, const void *data) {
  if (depth < 0) return GLU_INVALID_VALUE;
  return fuzz_glu::read_input(data, width, height * depth, format, type);
}

}  // extern "C"
