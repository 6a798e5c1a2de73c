// Narrow-integer vector entries: repack 4- or 2-byte caller elements into
// the byte or short components OpenGL reads.
#include "fgl.h"
#include "fgl_conventions.h"
#include "repack.h"

#include <array>

namespace {

using fgl::repack::narrow;

template <std::size_t K, typename Component, typename Elem>
std::array<Component, K> repacked(const Elem *v) {
  std::array<Component, K> out;
  narrow(v, K, out.data());
  return out;
}

template <typename, typename Elem>
using CallerVector = const Elem *;

// VectorEntry<&glX, K, Elem>::call takes one caller vector of K elements of
// type Elem per vector parameter of glX, repacks each into a local vector of
// glX's component type and calls glX once with them, in glX's order.
template <auto Command, std::size_t K, typename Elem>
struct VectorEntry;
template <typename... Component, void (*Command)(const Component *...), std::size_t K, typename Elem>
struct VectorEntry<Command, K, Elem> {
  static void call(CallerVector<Component, Elem>... v) { Command(repacked<K, Component>(v).data()...); }
};

}  // namespace

// One row per entry: entry, Fortran name, command, caller element, components.
#define FGL_VECTOR_ENTRIES(X)                          \
  X(fglColor3bvI4, fglcolor3bvi4_, glColor3bv, GLint, 3)         \
  X(fglColor3bvI2, fglcolor3bvi2_, glColor3bv, GLshort, 3)       \
  X(fglColor3ubvI4, fglcolor3ubvi4_, glColor3ubv, GLint, 3)      \
  X(fglColor3ubvI2, fglcolor3ubvi2_, glColor3ubv, GLshort, 3)    \
  X(fglColor4bvI4, fglcolor4bvi4_, glColor4bv, GLint, 4)         \
  X(fglColor4bvI2, fglcolor4bvi2_, glColor4bv, GLshort, 4)       \
  X(fglColor4ubvI4, fglcolor4ubvi4_, glColor4ubv, GLint, 4)      \
  X(fglColor4ubvI2, fglcolor4ubvi2_, glColor4ubv, GLshort, 4)    \
  X(fglNormal3bvI4, fglnormal3bvi4_, glNormal3bv, GLint, 3)      \
  X(fglNormal3bvI2, fglnormal3bvi2_, glNormal3bv, GLshort, 3)    \
  X(fglIndexubvI4, fglindexubvi4_, glIndexubv, GLint, 1)         \
  X(fglIndexubvI2, fglindexubvi2_, glIndexubv, GLshort, 1)       \
  X(fglColor3svI4, fglcolor3svi4_, glColor3sv, GLint, 3)         \
  X(fglColor3usvI4, fglcolor3usvi4_, glColor3usv, GLint, 3)      \
  X(fglColor4svI4, fglcolor4svi4_, glColor4sv, GLint, 4)         \
  X(fglColor4usvI4, fglcolor4usvi4_, glColor4usv, GLint, 4)      \
  X(fglIndexsvI4, fglindexsvi4_, glIndexsv, GLint, 1)            \
  X(fglNormal3svI4, fglnormal3svi4_, glNormal3sv, GLint, 3)      \
  X(fglRasterPos2svI4, fglrasterpos2svi4_, glRasterPos2sv, GLint, 2) \
  X(fglRasterPos3svI4, fglrasterpos3svi4_, glRasterPos3sv, GLint, 3) \
  X(fglRasterPos4svI4, fglrasterpos4svi4_, glRasterPos4sv, GLint, 4) \
  X(fglTexCoord1svI4, fgltexcoord1svi4_, glTexCoord1sv, GLint, 1)    \
  X(fglTexCoord2svI4, fgltexcoord2svi4_, glTexCoord2sv, GLint, 2)    \
  X(fglTexCoord3svI4, fgltexcoord3svi4_, glTexCoord3sv, GLint, 3)    \
  X(fglTexCoord4svI4, fgltexcoord4svi4_, glTexCoord4sv, GLint, 4)    \
  X(fglVertex2svI4, fglvertex2svi4_, glVertex2sv, GLint, 2)          \
  X(fglVertex3svI4, fglvertex3svi4_, glVertex3sv, GLint, 3)          \
  X(fglVertex4svI4, fglvertex4svi4_, glVertex4sv, GLint, 4)

#define FGL_VECTOR_ENTRY(entry, fortran_name, command, Elem, k)                     \
  extern "C" FGL_API void entry(const Elem *v) {                                   \
    FGL_CHECK_ENTRY(#entry, 0, nullptr);                                            \
    VectorEntry<&command, k, Elem>::call(v);                                        \
  }                                                                                 \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
FGL_VECTOR_ENTRIES(FGL_VECTOR_ENTRY)
#undef FGL_VECTOR_ENTRY

// Multitexture coordinates: the texture unit by address, then the vector.
#define FGL_UNIT_VECTOR_ENTRIES(X)                                            \
  X(fglMultiTexCoord1svI4, fglmultitexcoord1svi4_, glMultiTexCoord1sv, 1) \
  X(fglMultiTexCoord2svI4, fglmultitexcoord2svi4_, glMultiTexCoord2sv, 2) \
  X(fglMultiTexCoord3svI4, fglmultitexcoord3svi4_, glMultiTexCoord3sv, 3) \
  X(fglMultiTexCoord4svI4, fglmultitexcoord4svi4_, glMultiTexCoord4sv, 4)

#define FGL_UNIT_VECTOR_ENTRY(entry, fortran_name, command, k)              \
  extern "C" FGL_API void entry(const GLenum *target, const GLint *v) {     \
    FGL_CHECK_ENTRY(#entry, 0, nullptr);                                    \
    command(*target, repacked<k, GLshort>(v).data());                       \
  }                                                                         \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
FGL_UNIT_VECTOR_ENTRIES(FGL_UNIT_VECTOR_ENTRY)
#undef FGL_UNIT_VECTOR_ENTRY

// The one command with two vectors: first corner, then second corner.
extern "C" FGL_API void fglRectsvI4(const GLint *v1, const GLint *v2) {
  FGL_CHECK_ENTRY("fglRectsvI4", 0, nullptr);
  VectorEntry<&glRectsv, 2, GLint>::call(v1, v2);
}
FGL_FORTRAN_ALIAS(fglRectsvI4, fglrectsvi4_)

// The flag vector has a count; OpenGL reads one flag, so the temporary holds
// at least one (0, false, when the count is 0 or negative).
extern "C" FGL_API void fglEdgeFlagvI4(const GLint *flag, const GLint *count) {
  FGL_CHECK_ENTRY("fglEdgeFlagvI4", 2, count);
  fgl::repack::send<GLboolean>(flag, fgl::repack::non_negative(*count), [] { return std::size_t{1}; },
                               [](void *flags) { glEdgeFlagv(static_cast<const GLboolean *>(flags)); });
}
FGL_FORTRAN_ALIAS(fglEdgeFlagvI4, fgledgeflagvi4_)
