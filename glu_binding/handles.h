// The handle table: the one numbering of the quadric, tessellator and NURBS
// objects that callers hold in INTEGER*4 storage.
//
// A handle is issued once per object, counting up from 1 across the three
// kinds, and is never issued again in the life of the process (when the
// count is exhausted no more objects are made). Looking up a handle that was
// never issued, has been released, or belongs to another kind finds nothing,
// and the entry then makes no GLU call.
#pragma once

#include <GL/glu.h>

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

namespace fglu {

enum class Kind { Quadric, Tess, Nurbs };

// A caller's routine as stored: called back through a trampoline that casts
// it to the routine's real parameter list.
using Routine = void (*)();

// The GLU callback kinds an object can have, by their offset from the
// lowest enumerant of the kind's range (see callbacks.h).
inline constexpr std::size_t kMaxCallbackKinds = 16;

struct Object {
  Kind kind;
  void *glu;  // the GLUquadric, GLUtesselator or GLUnurbs
  std::array<Routine, kMaxCallbackKinds> routines{};
  // Tessellators: the OUTDATA arrays handed to combine routines during the
  // current polygon, freed when it ends.
  std::vector<std::unique_ptr<double[]>> combined;
};

// Registers a new GLU object and returns its handle, or 0 (the object is
// then left to the caller to delete) when no handle is left.
GLint issue(Kind kind, void *glu);

// The live object of this kind behind a handle, or null.
Object *find(GLint handle, Kind kind);

// Forgets a handle and returns its object, which the caller deletes with
// GLU; null when find(handle, kind) would be null.
std::unique_ptr<Object> release(GLint handle, Kind kind);

// The number of live handles (for tests of the table's own bookkeeping).
std::size_t live_handles();

// The object whose entry is running, so that trampolines called back by GLU
// during that entry find the object's routines. Entries nest (a routine may
// call entries of other objects), so each scope restores the previous one.
Object *current();
class Current {
 public:
  explicit Current(Object *object);
  ~Current();
  Current(const Current &) = delete;
  Current &operator=(const Current &) = delete;

 private:
  Object *previous_;
};

template <typename T>
constexpr Kind kind_of();
template <>
constexpr Kind kind_of<GLUquadric>() { return Kind::Quadric; }
template <>
constexpr Kind kind_of<GLUtesselator>() { return Kind::Tess; }
template <>
constexpr Kind kind_of<GLUnurbs>() { return Kind::Nurbs; }

}  // namespace fglu

// The checks of the checking build; elsewhere they are nothing.
#ifdef FGL_CHECKING
#include "glu_checks.h"
#else
#define FGLU_CHECK_ENTRY()
#define FGLU_CHECK_ERRORS(set, glu, trampoline) static_cast<void>(0)
#define FGLU_KEEPS_TRAMPOLINE(which) false
#define FGLU_CHECK_UNHANDLED(slot, code) static_cast<void>(0)
#define FGLU_CHECK_FORWARD(entry, command, args) static_cast<void>(0)
#define FGLU_CHECK_ON_OBJECT(entry, command, args) static_cast<void>(0)
#endif
