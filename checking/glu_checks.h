// The checks of the GLU entries in the checking build: handles never issued
// or already deleted, and GLU errors that no error routine receives.
#pragma once

#include <GL/glu.h>

#include <cstddef>
#include <cstring>
#include <type_traits>

#include "gl_checks.h"

namespace fglu::check {

// A handle that finds no object of its kind: `issued` says whether it was
// ever issued, `other_kind` whether it is live as another kind.
void missing_handle(GLint handle, const char *kind, bool issued, bool other_kind);
// A GLU error raised while the object's error slot is empty.
void unhandled_error(GLenum code);

// The single and double scalar arguments of a GLU entry, by the types of the
// GLU function's prototype (the entry's own first argument, a handle, when
// the function takes a GLU object); the names come from the argument list.
template <typename T>
__attribute__((no_sanitize("address"))) void check_scalar(const char *entry, int position, const char *names, const void *address) {
  if constexpr (std::is_same_v<T, GLfloat>) {
    fgl::check::check_single(entry, position, names, *static_cast<const GLfloat *>(address));
  } else if constexpr (std::is_same_v<T, GLdouble>) {
    GLdouble v;  // at any address: a REAL passed for it lies at a 4-byte boundary
    std::memcpy(&v, address, sizeof v);
    fgl::check::check_double(entry, position, names, v);
  }
}
template <auto Command>
struct Inspect;
template <typename R, typename... P, R (*Command)(P...)>
struct Inspect<Command> {
  const char *entry;
  const char *names;
  void operator()(typename fgl::ByAddress<P>::type... args) const {
    int position = 0;
    (check_scalar<P>(entry, ++position, names, args), ...);
  }
};
template <auto Command>
struct InspectOnObject;
template <typename R, typename O, typename... P, R (*Command)(O *, P...)>
struct InspectOnObject<Command> {
  const char *entry;
  const char *names;
  void operator()(const GLint *, typename fgl::ByAddress<P>::type... args) const {
    int position = 1;
    (check_scalar<P>(entry, ++position, names, args), ...);
  }
};

}  // namespace fglu::check

#define FGLU_CHECK_FORWARD(entry, command, args) fglu::check::Inspect<&command>{#entry, #args} args
#define FGLU_CHECK_ON_OBJECT(entry, command, args) fglu::check::InspectOnObject<&command>{#entry, #args} args

// Names the running GLU entry for the reports.
#define FGLU_CHECK_ENTRY() FGL_CHECK_SIZES(__func__, 0, nullptr)
// The error trampoline stays registered with GLU from the object's creation,
// so that errors without a routine are seen.
#define FGLU_CHECK_ERRORS(set, glu, trampoline) set(glu, GLU_ERROR, trampoline)
#define FGLU_KEEPS_TRAMPOLINE(which) ((which) == GLU_ERROR)
#define FGLU_CHECK_UNHANDLED(slot, code)                                                         \
  do {                                                                                           \
    if (fglu::current() != nullptr && fglu::current()->routines[slot] == nullptr)                \
      fglu::check::unhandled_error(code);                                                        \
  } while (false)
