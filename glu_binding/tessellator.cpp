// The tessellator: the handle's life, the twelve callback kinds, the end of a
// polygon (which frees the combine routines' OUTDATA arrays), and the other
// entries, forwarded through the handle (the list is generated from
// <GL/glu.h>).
#include <new>

#include "callbacks.h"
#include "fglu.h"
#include "glu_conventions.h"

namespace {

using namespace fglu;

// Routine slots: the offset of each kind from GLU_TESS_BEGIN.
constexpr std::size_t slot(GLenum which) { return which - GLU_TESS_BEGIN; }

void GLAPIENTRY on_begin(GLenum type) {
  const GLint t = as_int(type);
  invoke(slot(GLU_TESS_BEGIN), &t);
}
void GLAPIENTRY on_vertex(void *data) { invoke(slot(GLU_TESS_VERTEX), data); }
void GLAPIENTRY on_end() { invoke(slot(GLU_TESS_END)); }
void GLAPIENTRY on_error(GLenum code) {
  const GLint c = as_int(code);
  FGLU_CHECK_UNHANDLED(slot(GLU_TESS_ERROR), code);
  invoke(slot(GLU_TESS_ERROR), &c);
}
void GLAPIENTRY on_edge_flag(GLboolean flag) {
  const GLint f = as_int(flag);
  invoke(slot(GLU_TESS_EDGE_FLAG), &f);
}
void GLAPIENTRY on_begin_data(GLenum type, void *polygon) {
  const GLint t = as_int(type);
  Zeros zeros;
  invoke(slot(GLU_TESS_BEGIN_DATA), &t, zeros.or_this(polygon));
}
void GLAPIENTRY on_vertex_data(void *data, void *polygon) {
  Zeros zeros;
  invoke(slot(GLU_TESS_VERTEX_DATA), data, zeros.or_this(polygon));
}
void GLAPIENTRY on_end_data(void *polygon) {
  Zeros zeros;
  invoke(slot(GLU_TESS_END_DATA), zeros.or_this(polygon));
}
void GLAPIENTRY on_error_data(GLenum code, void *polygon) {
  const GLint c = as_int(code);
  Zeros zeros;
  invoke(slot(GLU_TESS_ERROR_DATA), &c, zeros.or_this(polygon));
}
void GLAPIENTRY on_edge_flag_data(GLboolean flag, void *polygon) {
  const GLint f = as_int(flag);
  Zeros zeros;
  invoke(slot(GLU_TESS_EDGE_FLAG_DATA), &f, zeros.or_this(polygon));
}

// A combine routine gets the new vertex's coordinates, the four neighbours'
// data (zeros for those GLU leaves out), the weights and an OUTDATA array of
// kOutDataDoubles zeros, which it fills and which becomes the new vertex's
// data. The array stays with the tessellator until the polygon ends. Without
// memory for it the new vertex gets no data, which GLU reports as
// GLU_TESS_NEED_COMBINE_CALLBACK.
template <typename... PolygonData>
void combine(std::size_t routine_slot, GLdouble coords[3], void *data[4], GLfloat weight[4], void **out,
             PolygonData... polygon) {
  *out = nullptr;
  Object *object = current();
  if (object == nullptr) return;
  double *outdata = new (std::nothrow) double[kOutDataDoubles]();
  if (outdata == nullptr) return;
  try {
    object->combined.emplace_back(outdata);
  } catch (const std::bad_alloc &) {
    delete[] outdata;
    return;
  }
  Zeros zeros[4];
  invoke(routine_slot, coords, zeros[0].or_this(data[0]), zeros[1].or_this(data[1]), zeros[2].or_this(data[2]),
         zeros[3].or_this(data[3]), weight, static_cast<void *>(outdata), polygon...);
  *out = outdata;
}
void GLAPIENTRY on_combine(GLdouble coords[3], void *data[4], GLfloat weight[4], void **out) {
  combine(slot(GLU_TESS_COMBINE), coords, data, weight, out);
}
void GLAPIENTRY on_combine_data(GLdouble coords[3], void *data[4], GLfloat weight[4], void **out, void *polygon) {
  Zeros zeros;
  combine(slot(GLU_TESS_COMBINE_DATA), coords, data, weight, out, zeros.or_this(polygon));
}

const CallbackKind kTessKinds[] = {
    {GLU_TESS_BEGIN, slot(GLU_TESS_BEGIN), trampoline(on_begin)},
    {GLU_TESS_VERTEX, slot(GLU_TESS_VERTEX), trampoline(on_vertex)},
    {GLU_TESS_END, slot(GLU_TESS_END), trampoline(on_end)},
    {GLU_TESS_ERROR, slot(GLU_TESS_ERROR), trampoline(on_error)},
    {GLU_TESS_EDGE_FLAG, slot(GLU_TESS_EDGE_FLAG), trampoline(on_edge_flag)},
    {GLU_TESS_COMBINE, slot(GLU_TESS_COMBINE), trampoline(on_combine)},
    {GLU_TESS_BEGIN_DATA, slot(GLU_TESS_BEGIN_DATA), trampoline(on_begin_data)},
    {GLU_TESS_VERTEX_DATA, slot(GLU_TESS_VERTEX_DATA), trampoline(on_vertex_data)},
    {GLU_TESS_END_DATA, slot(GLU_TESS_END_DATA), trampoline(on_end_data)},
    {GLU_TESS_ERROR_DATA, slot(GLU_TESS_ERROR_DATA), trampoline(on_error_data)},
    {GLU_TESS_EDGE_FLAG_DATA, slot(GLU_TESS_EDGE_FLAG_DATA), trampoline(on_edge_flag_data)},
    {GLU_TESS_COMBINE_DATA, slot(GLU_TESS_COMBINE_DATA), trampoline(on_combine_data)},
};
static_assert(slot(GLU_TESS_COMBINE_DATA) < kMaxCallbackKinds);

// Runs `end` (gluTessEndPolygon or gluEndPolygon) on the tessellator, then
// frees the OUTDATA arrays of its combine routines.
void end_polygon(const GLint *tess, void (*end)(GLUtesselator *)) {
  Object *object = find(*tess, Kind::Tess);
  if (object == nullptr) return;
  {
    Current scope(object);
    end(static_cast<GLUtesselator *>(object->glu));
  }
  object->combined.clear();
}

}  // namespace

extern "C" FGL_API GLint fgluNewTess(void) {
  GLUtesselator *t = gluNewTess();
  if (t == nullptr) return 0;
  const GLint handle = issue(Kind::Tess, t);
  if (handle != 0) FGLU_CHECK_ERRORS(gluTessCallback, t, trampoline(on_error));
  if (handle == 0) gluDeleteTess(t);
  return handle;
}
FGL_FORTRAN_ALIAS(fgluNewTess, fglunewtess_)

// GLU may call the error routine while it deletes (a polygon left open), so
// the object stays current, its arrays alive, until gluDeleteTess returns.
extern "C" FGL_API void fgluDeleteTess(const GLint *tess) {
  FGLU_CHECK_ENTRY();
  std::unique_ptr<Object> object = release(*tess, Kind::Tess);
  if (object == nullptr) return;
  Current scope(object.get());
  gluDeleteTess(static_cast<GLUtesselator *>(object->glu));
}
FGL_FORTRAN_ALIAS(fgluDeleteTess, fgludeletetess_)

extern "C" FGL_API void fgluTessEndPolygon(const GLint *tess) {
  FGLU_CHECK_ENTRY();
  end_polygon(tess, gluTessEndPolygon);
}
FGL_FORTRAN_ALIAS(fgluTessEndPolygon, fglutessendpolygon_)

extern "C" FGL_API void fgluEndPolygon(const GLint *tess) {
  FGLU_CHECK_ENTRY();
  end_polygon(tess, gluEndPolygon);
}
FGL_FORTRAN_ALIAS(fgluEndPolygon, fgluendpolygon_)

extern "C" FGL_API void fgluTessCallback(const GLint *tess, const GLenum *which, void (*routine)(void)) {
  FGLU_CHECK_ENTRY();
  set_callback(tess, which, routine, kTessKinds, gluTessCallback);
}
FGL_FORTRAN_ALIAS(fgluTessCallback, fglutesscallback_)

extern "C" FGL_API void fgluTessCallbackNull(const GLint *tess, const GLenum *which) {
  FGLU_CHECK_ENTRY();
  set_callback(tess, which, nullptr, kTessKinds, gluTessCallback);
}
FGL_FORTRAN_ALIAS(fgluTessCallbackNull, fglutesscallbacknull_)

#define FGLU_TESS FGLU_DEFINE_ON_OBJECT
#include "forward_list.h"
