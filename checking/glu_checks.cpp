// The checks of the GLU entries.
#include "glu_checks.h"

#include <string>

#include "report.h"

namespace fglu::check {

namespace {
const char *entry_name() {
  const char *name = fgl::check::current_entry().name;
  return name != nullptr ? name : "a GLU entry";
}
}  // namespace

void missing_handle(GLint handle, const char *kind, bool issued, bool other_kind) {
  const char *what = other_kind ? "handle of another kind of GLU object"
                     : issued   ? "handle already deleted"
                                : "handle never issued";
  fgl::check::problem(entry_name(), 1, kind, what, fgl::check::show_int(handle));
}

void unhandled_error(GLenum code) {
  const GLubyte *text = gluErrorString(code);
  std::string detail = fgl::check::show_int(static_cast<long long>(code));
  if (text != nullptr) detail += std::string(" \"") + reinterpret_cast<const char *>(text) + "\"";
  fgl::check::problem(entry_name(), 0, "", "GLU error with no error routine registered", detail);
}

}  // namespace fglu::check
