// Callbacks of GLU objects reaching the caller's routines.
//
// GLU calls a trampoline of this layer; the trampoline finds the routine the
// current object (the one whose entry is running) stores for that callback
// kind and calls it with every value by address: data arrays as GLU passes
// them, enumerants and flags as INTEGER*4 copies, and in place of a null data
// address (polygon or NURBS data never given) an array of zeros.
#pragma once

#include <GL/glu.h>

#include <cstddef>
#include <optional>

#include "glu_conventions.h"
#include "handles.h"

namespace fglu {

// The length, in DOUBLE PRECISION values, of the OUTDATA array a combine
// routine fills and of the arrays of zeros that stand for missing data.
inline constexpr std::size_t kOutDataDoubles = 16;

// An array of zeros, fresh for each callback, for a data address GLU leaves
// null.
struct Zeros {
  double values[kOutDataDoubles] = {};
  void *or_this(void *data) { return data != nullptr ? data : values; }
};

// The caller's routine for `slot` of the current object, called with `args`.
// Nothing happens when no object is current or the slot is empty.
template <typename... A>
void invoke(std::size_t slot, A... args) {
  Object *object = current();
  if (object == nullptr || slot >= object->routines.size()) return;
  Routine routine = object->routines[slot];
  if (routine == nullptr) return;
  reinterpret_cast<void (*)(A...)>(routine)(args...);
}

// One callback kind of an object: the GLU enumerant, the routine slot and the
// trampoline GLU is given.
struct CallbackKind {
  GLenum which;
  std::size_t slot;
  _GLUfuncptr trampoline;
};

template <std::size_t N>
std::optional<CallbackKind> kind_for(const CallbackKind (&kinds)[N], GLenum which) {
  for (const CallbackKind &k : kinds)
    if (k.which == which) return k;
  return std::nullopt;
}

// Sets (routine non-null) or removes the routine of `which` on the object
// behind `handle`, and tells GLU through `set`, which is gluQuadricCallback,
// gluTessCallback or gluNurbsCallback. A kind this layer does not know is
// passed to GLU with a null function, so GLU reports it as it would to a C
// caller. An unknown handle does nothing.
template <typename Glu, std::size_t N>
void set_callback(const GLint *handle, const GLenum *which, Routine routine, const CallbackKind (&kinds)[N],
                  void (*set)(Glu *, GLenum, _GLUfuncptr)) {
  Object *object = find(*handle, kind_of<Glu>());
  if (object == nullptr) return;
  const GLenum w = *which;
  Current scope(object);
  Glu *glu = static_cast<Glu *>(object->glu);
  const std::optional<CallbackKind> kind = kind_for(kinds, w);
  if (!kind) {
    set(glu, w, nullptr);
    return;
  }
  object->routines[kind->slot] = routine;
  set(glu, w, routine != nullptr || FGLU_KEEPS_TRAMPOLINE(w) ? kind->trampoline : nullptr);
}

// Trampoline helpers: an enumerant or flag as the address of an INTEGER*4 copy.
inline GLint as_int(GLenum v) { return static_cast<GLint>(v); }
inline GLint as_int(GLboolean v) { return static_cast<GLint>(v); }

template <typename F>
_GLUfuncptr trampoline(F *f) {
  return reinterpret_cast<_GLUfuncptr>(f);
}

}  // namespace fglu
