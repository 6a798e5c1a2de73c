// Quadrics: the handle's life (fgluNewQuadric, fgluDeleteQuadric), the error
// callback, and the drawing and state entries, forwarded through the handle
// (the list is generated from <GL/glu.h>).
#include "callbacks.h"
#include "fglu.h"
#include "glu_conventions.h"

namespace {

using namespace fglu;

// GLU_ERROR(CODE)
void GLAPIENTRY on_error(GLenum code) {
  const GLint c = as_int(code);
  FGLU_CHECK_UNHANDLED(0, code);
  invoke(0, &c);
}

const CallbackKind kQuadricKinds[] = {
    {GLU_ERROR, 0, trampoline(on_error)},
};

}  // namespace

extern "C" FGL_API GLint fgluNewQuadric(void) {
  GLUquadric *q = gluNewQuadric();
  if (q == nullptr) return 0;
  const GLint handle = issue(Kind::Quadric, q);
  if (handle != 0) FGLU_CHECK_ERRORS(gluQuadricCallback, q, trampoline(on_error));
  if (handle == 0) gluDeleteQuadric(q);
  return handle;
}
FGL_FORTRAN_ALIAS(fgluNewQuadric, fglunewquadric_)

extern "C" FGL_API void fgluDeleteQuadric(const GLint *quad) {
  FGLU_CHECK_ENTRY();
  std::unique_ptr<Object> object = release(*quad, Kind::Quadric);
  if (object == nullptr) return;
  Current scope(object.get());
  gluDeleteQuadric(static_cast<GLUquadric *>(object->glu));
}
FGL_FORTRAN_ALIAS(fgluDeleteQuadric, fgludeletequadric_)

extern "C" FGL_API void fgluQuadricCallback(const GLint *quad, const GLenum *which, void (*routine)(void)) {
  FGLU_CHECK_ENTRY();
  set_callback(quad, which, routine, kQuadricKinds, gluQuadricCallback);
}
FGL_FORTRAN_ALIAS(fgluQuadricCallback, fgluquadriccallback_)

extern "C" FGL_API void fgluQuadricCallbackNull(const GLint *quad, const GLenum *which) {
  FGLU_CHECK_ENTRY();
  set_callback(quad, which, nullptr, kQuadricKinds, gluQuadricCallback);
}
FGL_FORTRAN_ALIAS(fgluQuadricCallbackNull, fgluquadriccallbacknull_)

#define FGLU_QUADRIC FGLU_DEFINE_ON_OBJECT
#include "forward_list.h"
