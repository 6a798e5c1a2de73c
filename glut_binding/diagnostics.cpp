// freeglut's error and warning hooks. freeglut hands a hook its format and
// argument list; the trampoline formats the message and passes it to the
// application's routine as packed words (one character per word) and a
// count. The routine travels as the hook's user data.
//
// freeglut returns from its error report into the code that failed when a
// hook is installed; going on from there is not safe, so after the error
// routine returns the program ends as freeglut's own report ends it: GLUT is
// shut down if it was running, then exit(1).
#include <GL/freeglut.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "fglut.h"
#include "fglut_conventions.h"

namespace {

// Formats the message and calls the routine with it. A message that cannot
// be formatted reaches the routine as the empty text.
void deliver(const fglut::Callable<fglut_text_routine> &routine, const char *format, va_list arguments) {
  va_list again;
  va_copy(again, arguments);
  const int length = std::vsnprintf(nullptr, 0, format, arguments);
  std::vector<char> text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, '\0');
  if (length > 0) std::vsnprintf(text.data(), text.size(), format, again);
  va_end(again);
  std::size_t n = length > 0 ? static_cast<std::size_t>(length) : 0;
  while (n > 0 && text[n - 1] == '\n') --n;  // the line end is not part of the text
  std::vector<int> words(n > 0 ? n : 1, 0);
  for (std::size_t k = 0; k < n; ++k) words[k] = static_cast<unsigned char>(text[k]);
  int count = static_cast<int>(n);
  routine(words.data(), &count);
}

void errorTrampoline(const char *format, va_list arguments, void *data) {
  if (auto routine = fglut::asRoutine<fglut_text_routine>(data)) deliver(routine, format, arguments);
  if (glutGet(GLUT_INIT_STATE) != 0) glutExit();
  std::exit(1);
}

void warningTrampoline(const char *format, va_list arguments, void *data) {
  if (auto routine = fglut::asRoutine<fglut_text_routine>(data)) deliver(routine, format, arguments);
}

}  // namespace

extern "C" {

FGLUT_API void fglutInitErrorFunc(fglut_text_routine routine) {
  glutInitErrorFuncUcall(errorTrampoline, fglut::asData(routine));
}
FGLUT_FORTRAN_ALIAS(fglutInitErrorFunc, fglutiniterrorfunc_)

FGLUT_API void fglutInitErrorFuncNull(void) { glutInitErrorFuncUcall(nullptr, nullptr); }
FGLUT_FORTRAN_ALIAS(fglutInitErrorFuncNull, fglutiniterrorfuncnull_)

FGLUT_API void fglutInitWarningFunc(fglut_text_routine routine) {
  glutInitWarningFuncUcall(warningTrampoline, fglut::asData(routine));
}
FGLUT_FORTRAN_ALIAS(fglutInitWarningFunc, fglutinitwarningfunc_)

FGLUT_API void fglutInitWarningFuncNull(void) { glutInitWarningFuncUcall(nullptr, nullptr); }
FGLUT_FORTRAN_ALIAS(fglutInitWarningFuncNull, fglutinitwarningfuncnull_)

}  // extern "C"
