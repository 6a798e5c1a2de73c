// The looked-up stand-ins of late.h: one per line of fgl_late.inc.
#include "late.h"
#include "sync.h"

#ifdef FGL_CHECKING
#include <string>

#include "report.h"
#endif

// As <GL/glx.h> declares it (that header, through Xlib's macros, would rename
// words the checking build uses).
extern "C" void (*glXGetProcAddress(const GLubyte *name))();

namespace fgl::late {

void *lookup(const char *name) {
  return reinterpret_cast<void *>(glXGetProcAddress(reinterpret_cast<const GLubyte *>(name)));
}

void missing([[maybe_unused]] const char *command) {
  hold_error(GL_INVALID_OPERATION);
#ifdef FGL_CHECKING
  // A forwarding entry does not name itself to the checks: its name is the
  // command's with fgl for gl.
  const char *entry = check::current_entry().name;
  const std::string name = entry ? entry : "fgl" + std::string(command + 2);
  check::problem(name.c_str(), 0, "", ("the driver has no " + std::string(command)).c_str(), "");
#endif
}

}  // namespace fgl::late

// The pointer is looked up once (a function-local static: its first call
// initialises it, once, even from several threads) and kept.
#define FGL_LATE(command, result, params, args)                                              \
  result fgl_late_##command params {                                                         \
    static const auto found = reinterpret_cast<decltype(&::command)>(fgl::late::lookup(#command)); \
    if (found == nullptr) {                                                                  \
      fgl::late::missing(#command);                                                          \
      return result();                                                                       \
    }                                                                                        \
    return found args;                                                                       \
  }
#include "fgl_late.inc"
#undef FGL_LATE
