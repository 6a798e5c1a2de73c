// The forwarding entries: one per line of the generated list fgl_forward.inc.
// Each reads its arguments through their addresses (or from the storage its
// family names: fgl::read), calls its OpenGL command once and returns the
// command's result (an I4 boolean result zero-extended).
#include "fgl.h"
#include "fgl_conventions.h"
#include "late.h"

// Each entry ends in a jump to its command. Declared noplt, that jump goes
// straight through the command's GOT slot instead of through a PLT stub that
// would jump again; the slots are then bound when the library is loaded.
#if defined(__has_attribute)
#if __has_attribute(noplt)
#define GL_COMMAND(command, result, params, args) extern "C" result command params __attribute__((noplt));
#include "gl_commands.inc"
#undef GL_COMMAND
#endif
#endif

// The commands looked up at run time: their entries call the stand-ins of
// late.h (and name no driver symbol).
#include "fgl_late.inc"

#ifdef FGL_CHECKING
// The checking build: each entry inspects its arguments as the registry
// describes them, calls its command and reads OpenGL's error state.
#include "gl_checks.h"
#define FGL_CHECK_ARGS(entry, ...) static constexpr fgl::check::Arg fgl_check_##entry[] = {__VA_ARGS__};
#include "fgl_check.inc"
#undef FGL_CHECK_ARGS
#define FGL_FORWARD(entry, fortran_name, command, result, params, args)                  \
  static_assert(fgl::Forward<&command>::accepts(static_cast<void(*) params>(nullptr)),  \
                #entry ": parameter list does not fit the prototype of " #command);     \
  extern "C" FGL_API result entry params {                                              \
    return static_cast<result>(                                                          \
        fgl::check::Checked<&command, fgl_check_##entry>{#entry}.call args);             \
  }                                                                                      \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
#else
#define FGL_FORWARD(entry, fortran_name, command, result, params, args)                  \
  static_assert(fgl::Forward<&command>::accepts(static_cast<void(*) params>(nullptr)),  \
                #entry ": parameter list does not fit the prototype of " #command);     \
  extern "C" FGL_API result entry params {                                              \
    return static_cast<result>(fgl::Forward<&command>::call args);                       \
  }                                                                                      \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
#endif
#include "fgl_forward.inc"
#undef FGL_FORWARD
