// Texture objects and compressed texture images for callers with 4-byte
// flags and packed character arrays.
#include "fgl.h"
#include "fgl_conventions.h"
#include "repack.h"

namespace {

using namespace fgl::repack;

// A compressed image of `image_size` bytes sent from a packed character
// array: byte i is the low byte of word i, for `count` words; bytes past the
// caller's words are 0.
template <typename Command>
void send_compressed(const GLint *words, GLint count, GLsizei image_size, Command command) {
  send<GLubyte>(
      words, non_negative(count), [&] { return non_negative(image_size); }, command);
}

// The bytes glGetCompressedTexImage writes: the level's compressed size, or
// nothing for an image that is not compressed (which OpenGL rejects without
// writing). The compressed flag is asked first because the size query of an
// uncompressed image is itself an error.
std::size_t compressed_image_bytes(GLenum target, GLint level) {
  GLint compressed = GL_FALSE, size = 0;
  glGetTexLevelParameteriv(target, level, GL_TEXTURE_COMPRESSED, &compressed);
  if (compressed == GL_FALSE) return 0;
  glGetTexLevelParameteriv(target, level, GL_TEXTURE_COMPRESSED_IMAGE_SIZE, &size);
  return non_negative(size);
}

}  // namespace

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

extern "C" FGL_API void fglCompressedTexImage1DP(const GLenum *target, const GLint *level,
                                                 const GLenum *internalformat, const GLsizei *width,
                                                 const GLint *border, const GLsizei *imageSize, const GLint *data,
                                                 const GLint *count) {
  FGL_CHECK_ENTRY("fglCompressedTexImage1DP", 8, count);
  const GLenum tg = *target, ifmt = *internalformat;
  const GLint l = *level, b = *border;
  const GLsizei w = *width, size = *imageSize;
  send_compressed(data, *count, size,
                  [&](const void *p) { glCompressedTexImage1D(tg, l, ifmt, w, b, size, p); });
}
FGL_FORTRAN_ALIAS(fglCompressedTexImage1DP, fglcompressedteximage1dp_)

extern "C" FGL_API void fglCompressedTexImage2DP(const GLenum *target, const GLint *level,
                                                 const GLenum *internalformat, const GLsizei *width,
                                                 const GLsizei *height, const GLint *border, const GLsizei *imageSize,
                                                 const GLint *data, const GLint *count) {
  FGL_CHECK_ENTRY("fglCompressedTexImage2DP", 9, count);
  const GLenum tg = *target, ifmt = *internalformat;
  const GLint l = *level, b = *border;
  const GLsizei w = *width, h = *height, size = *imageSize;
  send_compressed(data, *count, size,
                  [&](const void *p) { glCompressedTexImage2D(tg, l, ifmt, w, h, b, size, p); });
}
FGL_FORTRAN_ALIAS(fglCompressedTexImage2DP, fglcompressedteximage2dp_)

extern "C" FGL_API void fglCompressedTexImage3DP(const GLenum *target, const GLint *level,
                                                 const GLenum *internalformat, const GLsizei *width,
                                                 const GLsizei *height, const GLsizei *depth, const GLint *border,
                                                 const GLsizei *imageSize, const GLint *data, const GLint *count) {
  FGL_CHECK_ENTRY("fglCompressedTexImage3DP", 10, count);
  const GLenum tg = *target, ifmt = *internalformat;
  const GLint l = *level, b = *border;
  const GLsizei w = *width, h = *height, d = *depth, size = *imageSize;
  send_compressed(data, *count, size,
                  [&](const void *p) { glCompressedTexImage3D(tg, l, ifmt, w, h, d, b, size, p); });
}
FGL_FORTRAN_ALIAS(fglCompressedTexImage3DP, fglcompressedteximage3dp_)

extern "C" FGL_API void fglCompressedTexSubImage1DP(const GLenum *target, const GLint *level, const GLint *xoffset,
                                                    const GLsizei *width, const GLenum *format,
                                                    const GLsizei *imageSize, const GLint *data, const GLint *count) {
  FGL_CHECK_ENTRY("fglCompressedTexSubImage1DP", 8, count);
  const GLenum tg = *target, f = *format;
  const GLint l = *level, x = *xoffset;
  const GLsizei w = *width, size = *imageSize;
  send_compressed(data, *count, size,
                  [&](const void *p) { glCompressedTexSubImage1D(tg, l, x, w, f, size, p); });
}
FGL_FORTRAN_ALIAS(fglCompressedTexSubImage1DP, fglcompressedtexsubimage1dp_)

extern "C" FGL_API void fglCompressedTexSubImage2DP(const GLenum *target, const GLint *level, const GLint *xoffset,
                                                    const GLint *yoffset, const GLsizei *width, const GLsizei *height,
                                                    const GLenum *format, const GLsizei *imageSize, const GLint *data,
                                                    const GLint *count) {
  FGL_CHECK_ENTRY("fglCompressedTexSubImage2DP", 10, count);
  const GLenum tg = *target, f = *format;
  const GLint l = *level, x = *xoffset, y = *yoffset;
  const GLsizei w = *width, h = *height, size = *imageSize;
  send_compressed(data, *count, size,
                  [&](const void *p) { glCompressedTexSubImage2D(tg, l, x, y, w, h, f, size, p); });
}
FGL_FORTRAN_ALIAS(fglCompressedTexSubImage2DP, fglcompressedtexsubimage2dp_)

extern "C" FGL_API void fglCompressedTexSubImage3DP(const GLenum *target, const GLint *level, const GLint *xoffset,
                                                    const GLint *yoffset, const GLint *zoffset, const GLsizei *width,
                                                    const GLsizei *height, const GLsizei *depth, const GLenum *format,
                                                    const GLsizei *imageSize, const GLint *data, const GLint *count) {
  FGL_CHECK_ENTRY("fglCompressedTexSubImage3DP", 12, count);
  const GLenum tg = *target, f = *format;
  const GLint l = *level, x = *xoffset, y = *yoffset, z = *zoffset;
  const GLsizei w = *width, h = *height, d = *depth, size = *imageSize;
  send_compressed(data, *count, size,
                  [&](const void *p) { glCompressedTexSubImage3D(tg, l, x, y, z, w, h, d, f, size, p); });
}
FGL_FORTRAN_ALIAS(fglCompressedTexSubImage3DP, fglcompressedtexsubimage3dp_)

// Word i receives byte i of the compressed image, for `count` words; words
// past the image's end keep their values.
extern "C" FGL_API void fglGetCompressedTexImageP(const GLenum *target, const GLint *level, GLint *data,
                                                  const GLint *count) {
  FGL_CHECK_ENTRY("fglGetCompressedTexImageP", 4, count);
  const GLenum tg = *target;
  const GLint l = *level;
  receive_written<GLubyte>(
      data, non_negative(*count), [&] { return written_block(compressed_image_bytes(tg, l)); },
      [&](void *p) { glGetCompressedTexImage(tg, l, p); });
}
FGL_FORTRAN_ALIAS(fglGetCompressedTexImageP, fglgetcompressedteximagep_)
