// Every OpenGL 1.0 to 4.6 command as a weak definition that does nothing and returns
// zero; fuzz_gl.cpp overrides the commands that touch client memory.
#include <GL/gl.h>

#include <type_traits>

namespace {
template <typename T>
T nothing() {
  if constexpr (!std::is_void_v<T>) return T{};
}
}  // namespace

#define GL_COMMAND(command, result, params, args) \
  extern "C" __attribute__((weak)) result command params { return nothing<result>(); }
#include "gl_commands.inc"
#undef GL_COMMAND

// The commands the entries look up at run time (the newest ones, which a
// driver need not have) are missing here: those entries make no call.
extern "C" void (*glXGetProcAddress(const GLubyte *))() { return nullptr; }
