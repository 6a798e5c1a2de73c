// The debug-output commands for the recording stand-in, recorded as the
// generated definitions record theirs. They are weak: where the generated
// stand-in defines the same commands, its definitions are the ones linked.
#include <GL/gl.h>
#include <GL/glext.h>

#include "gl_recorder.h"

extern "C" {

__attribute__((weak)) void glDebugMessageCallback(GLDEBUGPROC callback, const void *userParam) {
  gl_recorder::record("glDebugMessageCallback",
                      {gl_recorder::argument("GLDEBUGPROC", reinterpret_cast<const void *>(callback)),
                       gl_recorder::argument("const void *", userParam)});
}

__attribute__((weak)) GLuint glGetDebugMessageLog(GLuint count, GLsizei bufSize, GLenum *sources, GLenum *types,
                                                  GLuint *ids, GLenum *severities, GLsizei *lengths,
                                                  GLchar *messageLog) {
  return gl_recorder::result<GLuint>(gl_recorder::record(
      "glGetDebugMessageLog",
      {gl_recorder::argument("GLuint", count), gl_recorder::argument("GLsizei", bufSize),
       gl_recorder::argument("GLenum *", sources), gl_recorder::argument("GLenum *", types),
       gl_recorder::argument("GLuint *", ids), gl_recorder::argument("GLenum *", severities),
       gl_recorder::argument("GLsizei *", lengths), gl_recorder::argument("GLchar *", messageLog)}));
}

}  // extern "C"
