// A libGL that does nothing: every OpenGL 1.0 to 1.3 command as an empty function
// that is never inlined, in a shared library of its own. Calls through the
// binding and direct calls then differ only by the binding's own work.
#include <GL/gl.h>

#include <cstring>

#define NULL_GL_API __attribute__((visibility("default"), noinline))

namespace {
template <typename... T>
void ignore(const T &...) {}
template <typename T>
T nothing() {
  return T();
}
}  // namespace

extern "C" {
#define GL_COMMAND(command, result, params, args) \
  NULL_GL_API result command params {                \
    ignore args;                                     \
    asm volatile("");                                \
    return nothing<result>();                        \
  }
#include "gl_commands.inc"
#undef GL_COMMAND
}

// The commands the binding looks up at run time, found by name.
extern "C" NULL_GL_API void (*glXGetProcAddress(const GLubyte *name))() {
  const char *wanted = reinterpret_cast<const char *>(name);
#define FGL_LATE(command, result, params, args) \
  if (std::strcmp(wanted, #command) == 0) return reinterpret_cast<void (*)()>(&command);
#include "fgl_late.inc"
#undef FGL_LATE
  return nullptr;
}
