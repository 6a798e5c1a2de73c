// The checks of the GLU entries in the checking build: handles never issued
// or already deleted, and GLU errors that no error routine receives.
#pragma once

#include <GL/glu.h>

#include <cstddef>

#include "gl_checks.h"

namespace fglu::check {

// A handle that finds no object of its kind: `issued` says whether it was
// ever issued, `other_kind` whether it is live as another kind.
void missing_handle(GLint handle, const char *kind, bool issued, bool other_kind);
// A GLU error raised while the object's error slot is empty.
void unhandled_error(GLenum code);

}  // namespace fglu::check

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
