// NURBS: the handle's life, the callback kinds of GLU_NURBS_TESSELLATOR mode
// and the error callback, and the other entries, forwarded through the handle
// (the list is generated from <GL/glu.h>).
#include "callbacks.h"
#include "fglu.h"
#include "glu_conventions.h"

namespace {

using namespace fglu;

// Routine slots: the offset from GLU_NURBS_BEGIN for the twelve kinds of
// tessellator mode, then the error routine.
constexpr std::size_t slot(GLenum which) { return which == GLU_NURBS_ERROR ? 12 : which - GLU_NURBS_BEGIN; }

void GLAPIENTRY on_begin(GLenum type) {
  const GLint t = as_int(type);
  invoke(slot(GLU_NURBS_BEGIN), &t);
}
template <GLenum Which>
void GLAPIENTRY on_values(GLfloat *values) {
  invoke(slot(Which), values);
}
void GLAPIENTRY on_end() { invoke(slot(GLU_NURBS_END)); }
void GLAPIENTRY on_begin_data(GLenum type, void *user) {
  const GLint t = as_int(type);
  Zeros zeros;
  invoke(slot(GLU_NURBS_BEGIN_DATA), &t, zeros.or_this(user));
}
template <GLenum Which>
void GLAPIENTRY on_values_data(GLfloat *values, void *user) {
  Zeros zeros;
  invoke(slot(Which), values, zeros.or_this(user));
}
void GLAPIENTRY on_end_data(void *user) {
  Zeros zeros;
  invoke(slot(GLU_NURBS_END_DATA), zeros.or_this(user));
}
void GLAPIENTRY on_error(GLenum code) {
  const GLint c = as_int(code);
  FGLU_CHECK_UNHANDLED(slot(GLU_NURBS_ERROR), code);
  invoke(slot(GLU_NURBS_ERROR), &c);
}

const CallbackKind kNurbsKinds[] = {
    {GLU_NURBS_BEGIN, slot(GLU_NURBS_BEGIN), trampoline(on_begin)},
    {GLU_NURBS_VERTEX, slot(GLU_NURBS_VERTEX), trampoline(on_values<GLU_NURBS_VERTEX>)},
    {GLU_NURBS_NORMAL, slot(GLU_NURBS_NORMAL), trampoline(on_values<GLU_NURBS_NORMAL>)},
    {GLU_NURBS_COLOR, slot(GLU_NURBS_COLOR), trampoline(on_values<GLU_NURBS_COLOR>)},
    {GLU_NURBS_TEXTURE_COORD, slot(GLU_NURBS_TEXTURE_COORD), trampoline(on_values<GLU_NURBS_TEXTURE_COORD>)},
    {GLU_NURBS_END, slot(GLU_NURBS_END), trampoline(on_end)},
    {GLU_NURBS_BEGIN_DATA, slot(GLU_NURBS_BEGIN_DATA), trampoline(on_begin_data)},
    {GLU_NURBS_VERTEX_DATA, slot(GLU_NURBS_VERTEX_DATA), trampoline(on_values_data<GLU_NURBS_VERTEX_DATA>)},
    {GLU_NURBS_NORMAL_DATA, slot(GLU_NURBS_NORMAL_DATA), trampoline(on_values_data<GLU_NURBS_NORMAL_DATA>)},
    {GLU_NURBS_COLOR_DATA, slot(GLU_NURBS_COLOR_DATA), trampoline(on_values_data<GLU_NURBS_COLOR_DATA>)},
    {GLU_NURBS_TEXTURE_COORD_DATA, slot(GLU_NURBS_TEXTURE_COORD_DATA),
     trampoline(on_values_data<GLU_NURBS_TEXTURE_COORD_DATA>)},
    {GLU_NURBS_END_DATA, slot(GLU_NURBS_END_DATA), trampoline(on_end_data)},
    {GLU_NURBS_ERROR, slot(GLU_NURBS_ERROR), trampoline(on_error)},
};
static_assert(slot(GLU_NURBS_END_DATA) < 12 && slot(GLU_NURBS_ERROR) < kMaxCallbackKinds);

}  // namespace

extern "C" FGL_API GLint fgluNewNurbsRenderer(void) {
  GLUnurbs *n = gluNewNurbsRenderer();
  if (n == nullptr) return 0;
  const GLint handle = issue(Kind::Nurbs, n);
  if (handle != 0) FGLU_CHECK_ERRORS(gluNurbsCallback, n, trampoline(on_error));
  if (handle == 0) gluDeleteNurbsRenderer(n);
  return handle;
}
FGL_FORTRAN_ALIAS(fgluNewNurbsRenderer, fglunewnurbsrenderer_)

extern "C" FGL_API void fgluDeleteNurbsRenderer(const GLint *nurb) {
  FGLU_CHECK_ENTRY();
  std::unique_ptr<Object> object = release(*nurb, Kind::Nurbs);
  if (object == nullptr) return;
  Current scope(object.get());
  gluDeleteNurbsRenderer(static_cast<GLUnurbs *>(object->glu));
}
FGL_FORTRAN_ALIAS(fgluDeleteNurbsRenderer, fgludeletenurbsrenderer_)

extern "C" FGL_API void fgluNurbsCallback(const GLint *nurb, const GLenum *which, void (*routine)(void)) {
  FGLU_CHECK_ENTRY();
  set_callback(nurb, which, routine, kNurbsKinds, gluNurbsCallback);
}
FGL_FORTRAN_ALIAS(fgluNurbsCallback, fglunurbscallback_)

extern "C" FGL_API void fgluNurbsCallbackNull(const GLint *nurb, const GLenum *which) {
  FGLU_CHECK_ENTRY();
  set_callback(nurb, which, nullptr, kNurbsKinds, gluNurbsCallback);
}
FGL_FORTRAN_ALIAS(fgluNurbsCallbackNull, fglunurbscallbacknull_)

#define FGLU_NURBS FGLU_DEFINE_ON_OBJECT
#include "forward_list.h"
