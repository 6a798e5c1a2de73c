// Display lists called by names in integer or packed storage; the error and
// string queries.
#include "fgl.h"
#include "fgl_conventions.h"
#include "repack.h"
#include "sync.h"

#include <cstring>

namespace {

using namespace fgl::repack;

// Bytes per list name of a glCallLists type; an unknown type (which OpenGL
// rejects without reading) counts as four, the widest.
std::size_t name_bytes(GLenum type) {
  switch (type) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE:
      return 1;
    case GL_SHORT:
    case GL_UNSIGNED_SHORT:
    case GL_2_BYTES:
      return 2;
    case GL_3_BYTES:
      return 3;
    default:
      return 4;
  }
}

// The names of one glCallLists call, held one byte or short per caller
// element: byte types and the multi-byte types (one element per byte, in the
// order OpenGL reads them) are narrowed to bytes, short types to shorts when
// the caller's elements are wider; anything else passes unchanged.
template <typename Elem>
void call_lists(const GLsizei *n, const GLenum *type, const Elem *lists) {
  const GLsizei count = *n;
  const GLenum t = *type;
  const std::size_t names = non_negative(count);
  auto command = [&](const void *p) { glCallLists(count, t, p); };
  auto exact = [] { return std::size_t{0}; };
  switch (t) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE:
    case GL_2_BYTES:
    case GL_3_BYTES:
    case GL_4_BYTES:
      return send<GLubyte>(lists, mul(names, name_bytes(t)), exact, command);
    case GL_SHORT:
    case GL_UNSIGNED_SHORT:
      if constexpr (sizeof(Elem) > sizeof(GLushort)) {
        return send<GLushort>(lists, names, exact, command);
      }
      break;
    default:
      break;
  }
  command(lists);
}

// Values OpenGL returns for the list-valued queries; any other query returns
// at most 16 (a matrix).
constexpr std::size_t kMostValues = 16;

std::size_t boolean_values(GLenum pname) {
  GLenum size_query;
  switch (pname) {
    case 0x86A3:  // GL_COMPRESSED_TEXTURE_FORMATS
      size_query = 0x86A2;
      break;
    case 0x87FF:  // GL_PROGRAM_BINARY_FORMATS
      size_query = 0x87FE;
      break;
    case 0x8DF8:  // GL_SHADER_BINARY_FORMATS
      size_query = 0x8DF9;
      break;
    default:
      return kMostValues;
  }
  GLint size = 0;
  glGetIntegerv(size_query, &size);
  return std::max(kMostValues, non_negative(size));
}

// The query string store: a length and one 4-byte word per character, or
// empty (length 0, no words).
GLint store_length = 0;
GLint *store_words = nullptr;

void release_store() {
  std::free(store_words);
  store_words = nullptr;
  store_length = 0;
}

}  // namespace

extern "C" FGL_API void fglCallListsI4(const GLsizei *n, const GLenum *type, const GLint *lists) {
  FGL_CHECK_ENTRY("fglCallListsI4", 0, nullptr);
  call_lists(n, type, lists);
}
FGL_FORTRAN_ALIAS(fglCallListsI4, fglcalllistsi4_)

extern "C" FGL_API void fglCallListsI2(const GLsizei *n, const GLenum *type, const GLshort *lists) {
  FGL_CHECK_ENTRY("fglCallListsI2", 0, nullptr);
  call_lists(n, type, lists);
}
FGL_FORTRAN_ALIAS(fglCallListsI2, fglcalllistsi2_)

// The names as character codes: byte i is the low byte of word i, for
// `count` words, whatever the type; the temporary also covers the n names
// OpenGL reads.
extern "C" FGL_API void fglCallListsP(const GLsizei *n, const GLenum *type, const GLint *lists, const GLint *count) {
  FGL_CHECK_ENTRY("fglCallListsP", 4, count);
  const GLsizei names = *n;
  const GLenum t = *type;
  send<GLubyte>(
      lists, non_negative(*count), [&] { return mul(non_negative(names), name_bytes(t)); },
      [&](const void *p) { glCallLists(names, t, p); });
}
FGL_FORTRAN_ALIAS(fglCallListsP, fglcalllistsp_)

// Booleans into 4-byte elements, GL_TRUE as 1 and GL_FALSE as 0; the
// temporary holds every value OpenGL returns for pname.
extern "C" FGL_API void fglGetBooleanvI4(const GLenum *pname, GLint *params, const GLint *count) {
  FGL_CHECK_ENTRY_UNSIZED("fglGetBooleanvI4", 3, count);
  const GLenum p = *pname;
  receive<GLboolean>(
      params, non_negative(*count), [&] { return boolean_values(p); },
      [&](void *values) { glGetBooleanv(p, static_cast<GLboolean *>(values)); });
}
FGL_FORTRAN_ALIAS(fglGetBooleanvI4, fglgetbooleanvi4_)

// Errors the layer found itself (an unknown sync handle: sync.h) come first.
#ifdef FGL_CHECKING
// The checking build reads OpenGL's errors after each call; the errors it took
// come back here next, so that the program sees what it would have seen.
extern "C" FGL_API GLenum fglGetError(void) {
  GLenum held = fgl::take_held_error();
  if (held == GL_NO_ERROR) held = fgl::check::take_pending_error();
  return held != GL_NO_ERROR ? held : glGetError();
}
#else
extern "C" FGL_API GLenum fglGetError(void) {
  const GLenum held = fgl::take_held_error();
  return held != GL_NO_ERROR ? held : glGetError();
}
#endif
FGL_FORTRAN_ALIAS(fglGetError, fglgeterror_)

// Replaces the store's text by OpenGL's string for `name`, one character per
// word sign-extended (the low byte is the character code), and returns its
// length. A null string, or a store that cannot be allocated, gives length 0.
extern "C" FGL_API GLint fglGetString(const GLenum *name) {
  const GLubyte *text = glGetString(*name);
  release_store();
  const std::size_t length =
      text ? std::min<std::size_t>(std::strlen(reinterpret_cast<const char *>(text)), INT32_MAX) : 0;
  store_words = static_cast<GLint *>(std::calloc(std::max<std::size_t>(length, 1), sizeof(GLint)));
  if (!store_words) return 0;
  widen(reinterpret_cast<const GLbyte *>(text), length, store_words);
  store_length = static_cast<GLint>(length);
  return store_length;
}
FGL_FORTRAN_ALIAS(fglGetString, fglgetstring_)

extern "C" FGL_API void fglGetStringCopy(GLint *words) {
  if (store_length > 0) std::memcpy(words, store_words, static_cast<std::size_t>(store_length) * sizeof(GLint));
}
FGL_FORTRAN_ALIAS(fglGetStringCopy, fglgetstringcopy_)

// At most *maxCount words of the store (none for a count below 1).
extern "C" FGL_API void fglGetStringCopyN(GLint *words, const GLint *maxCount) {
  const GLint n = std::min(store_length, *maxCount);
  if (n > 0) std::memcpy(words, store_words, static_cast<std::size_t>(n) * sizeof(GLint));
}
FGL_FORTRAN_ALIAS(fglGetStringCopyN, fglgetstringcopyn_)

// OpenGL's string for `name` straight into the caller's `length` characters,
// truncated or blank-padded; the store is left as it was.
extern "C" FGL_API GLint fglGetStringC(const GLenum *name, char *text, int length) {
  const char *s = reinterpret_cast<const char *>(glGetString(*name));
  const std::size_t room = non_negative(length);
  const std::size_t n = s ? std::min<std::size_t>(std::strlen(s), INT32_MAX) : 0;
  const std::size_t copied = std::min(n, room);
  if (copied > 0) std::memcpy(text, s, copied);
  if (room > copied) std::memset(text + copied, ' ', room - copied);
  return static_cast<GLint>(n);
}
FGL_FORTRAN_ALIAS(fglGetStringC, fglgetstringc_)

extern "C" FGL_API void fglGetStringRelease(void) { release_store(); }
FGL_FORTRAN_ALIAS(fglGetStringRelease, fglgetstringrelease_)
