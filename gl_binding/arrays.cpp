// Vertex-array indices held one per 4-byte element. The pointer commands
// themselves only forward (OpenGL keeps the caller's address and reads the
// array at draw time), and so do glDrawElements and glDrawRangeElements for
// indices already in the storage their type names.
#include "fgl.h"
#include "fgl_conventions.h"
#include "repack.h"

namespace {

using namespace fgl::repack;

// Narrows `count` elements to the width of `type` (GL_UNSIGNED_BYTE or
// GL_UNSIGNED_SHORT) in a temporary and draws from it; GL_UNSIGNED_INT
// elements are drawn from the caller's array as they are, and so is any
// other type, which OpenGL rejects without reading.
template <typename Command>
void draw_indices(GLsizei count, GLenum type, const GLint *indices, Command command) {
  const std::size_t n = non_negative(count);
  auto exact = [] { return std::size_t{0}; };
  switch (type) {
    case GL_UNSIGNED_BYTE:
      return send<GLubyte>(indices, n, exact, command);
    case GL_UNSIGNED_SHORT:
      return send<GLushort>(indices, n, exact, command);
    default:
      command(indices);
  }
}

}  // namespace

extern "C" FGL_API void fglDrawElementsI4(const GLenum *mode, const GLsizei *count, const GLenum *type,
                                          const GLint *indices) {
  FGL_CHECK_ENTRY("fglDrawElementsI4", 0, nullptr);
  const GLenum m = *mode, t = *type;
  const GLsizei n = *count;
  draw_indices(n, t, indices, [&](const void *p) { glDrawElements(m, n, t, p); });
}
FGL_FORTRAN_ALIAS(fglDrawElementsI4, fgldrawelementsi4_)

extern "C" FGL_API void fglDrawRangeElementsI4(const GLenum *mode, const GLuint *start, const GLuint *end,
                                               const GLsizei *count, const GLenum *type, const GLint *indices) {
  FGL_CHECK_ENTRY("fglDrawRangeElementsI4", 0, nullptr);
  const GLenum m = *mode, t = *type;
  const GLuint first = *start, last = *end;
  const GLsizei n = *count;
  draw_indices(n, t, indices, [&](const void *p) { glDrawRangeElements(m, first, last, n, t, p); });
}
FGL_FORTRAN_ALIAS(fglDrawRangeElementsI4, fgldrawrangeelementsi4_)
