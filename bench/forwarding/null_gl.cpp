// A libGL that does nothing: every OpenGL 1.0 to 1.3 command as an empty function
// that is never inlined, in a shared library of its own. Calls through the
// binding and direct calls then differ only by the binding's own work.
#include <GL/gl.h>

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
