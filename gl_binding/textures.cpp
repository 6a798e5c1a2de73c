// Texture residency for callers with 4-byte flags: hand-written, since
// OpenGL writes no flag at all when every texture is resident. (Compressed
// images in packed character arrays are generated with the other image
// entries: pixels.cpp.)
#include "fgl.h"
#include "fgl_conventions.h"
#include "repack.h"

using fgl::repack::non_negative;
using fgl::repack::receive_booleans;

// Flags as INTEGER*4, 1 resident and 0 not. When OpenGL answers that every
// texture is resident it writes no flag; the caller then gets 1 in each of
// its n flags. Flags OpenGL did not write (after an error) keep their values.
extern "C" FGL_API GLint fglAreTexturesResidentI4(const GLsizei *n, const GLuint *textures, GLint *residences) {
  FGL_CHECK_ENTRY("fglAreTexturesResidentI4", 0, nullptr);
  const GLsizei count = *n;
  const std::size_t flags = non_negative(count);
  GLboolean all = GL_FALSE;
  receive_booleans(
      residences, flags, [] { return std::size_t{0}; },
      [&](void *p) { all = glAreTexturesResident(count, textures, static_cast<GLboolean *>(p)); });
  if (all != GL_FALSE) std::fill(residences, residences + flags, 1);
  return all;
}
FGL_FORTRAN_ALIAS(fglAreTexturesResidentI4, fglaretexturesresidenti4_)

