// The text entries: gluErrorString, gluGetString and gluCheckExtension with
// CHARACTER arguments. Each CHARACTER argument comes as an address plus the
// compiler's hidden length, passed by value after all other arguments.
#include <algorithm>
#include <cstring>
#include <memory>

#include "fglu.h"
#include "glu_conventions.h"

namespace {

std::size_t non_negative(int n) { return n > 0 ? static_cast<std::size_t>(n) : 0; }

// Fills the caller's `length` characters with `text`, truncated or padded with
// blanks, and returns the whole text's length (0, all blanks, for no text).
GLint deliver(const GLubyte *text, char *to, int length) {
  const std::size_t room = non_negative(length);
  const std::size_t n = text != nullptr ? std::strlen(reinterpret_cast<const char *>(text)) : 0;
  const std::size_t copied = std::min(n, room);
  if (copied > 0) std::memcpy(to, text, copied);
  if (room > copied) std::memset(to + copied, ' ', room - copied);
  return static_cast<GLint>(std::min<std::size_t>(n, 0x7fffffff));
}

// `length` characters as a zero-terminated heap copy, null when the heap is
// exhausted.
std::unique_ptr<GLubyte[]> terminated(const char *text, int length, bool trim_blanks) {
  std::size_t n = non_negative(length);
  if (trim_blanks)
    while (n > 0 && text[n - 1] == ' ') --n;
  std::unique_ptr<GLubyte[]> s(new (std::nothrow) GLubyte[n + 1]);
  if (s == nullptr) return s;
  if (n > 0) std::memcpy(s.get(), text, n);
  s[n] = 0;
  return s;
}

}  // namespace

extern "C" FGL_API GLint fgluErrorStringC(const GLenum *error, char *text, int length) {
  return deliver(gluErrorString(*error), text, length);
}
FGL_FORTRAN_ALIAS(fgluErrorStringC, fgluerrorstringc_)

extern "C" FGL_API GLint fgluGetStringC(const GLenum *name, char *text, int length) {
  return deliver(gluGetString(*name), text, length);
}
FGL_FORTRAN_ALIAS(fgluGetStringC, fglugetstringc_)

// An extension name has no blanks, so the name's trailing blanks (those of a
// longer CHARACTER variable) are not part of it; the list is blank-separated
// and passed whole.
extern "C" FGL_API GLint fgluCheckExtensionC(const char *name, const char *list, int name_length,
                                             int list_length) {
  const std::unique_ptr<GLubyte[]> n = terminated(name, name_length, true);
  const std::unique_ptr<GLubyte[]> l = terminated(list, list_length, false);
  if (n == nullptr || l == nullptr) return 0;
  return gluCheckExtension(n.get(), l.get()) ? 1 : 0;
}
FGL_FORTRAN_ALIAS(fgluCheckExtensionC, fglucheckextensionc_)
