// Commands that not every driver's libGL exports (those of OpenGL 4.6): the
// entries reach each through a pointer that glXGetProcAddress gives, looked
// up at the first call and kept. Where the driver has no such command, the
// entry makes no call: it records GL_INVALID_OPERATION for the program's next
// fglGetError (before OpenGL's own errors) and returns zero; the checking
// build reports it.
//
// The generated list fgl_late.inc names the commands. Included without
// FGL_LATE defined, it renames each command to its looked-up stand-in, so
// that the entries that follow (forward.cpp, text.cpp) call the stand-in and
// never name the driver's symbol.
#pragma once

#include "fgl_conventions.h"

namespace fgl::late {

// The driver's command of that name, or null.
void *lookup(const char *name);
// Records that the driver lacks `command` (and says so in the checking build).
void missing(const char *command);

}  // namespace fgl::late

#define FGL_LATE(command, result, params, args) result fgl_late_##command params;
#include "fgl_late.inc"
#undef FGL_LATE
