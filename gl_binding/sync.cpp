// The sync handle table and the errors the layer holds for fglGetError; the
// entries of the sync kind, one per line of the generated list fgl_sync.inc.
#include "sync.h"

#include <cstdint>
#include <deque>
#include <vector>

#include "fgl.h"

namespace fgl {
namespace {

// Errors held, oldest first; like OpenGL, at most one of each kind.
std::deque<GLenum> held;

// Handle h is table[h - 1]; a deleted sync object leaves a null behind.
std::vector<GLsync> table;

}  // namespace

void hold_error(GLenum error) {
  for (GLenum e : held)
    if (e == error) return;
  held.push_back(error);
}

GLenum take_held_error() {
  if (held.empty()) return GL_NO_ERROR;
  const GLenum e = held.front();
  held.pop_front();
  return e;
}

namespace sync {

GLint issue(GLsync sync) {
  if (sync == nullptr) return 0;
  if (table.size() >= static_cast<std::size_t>(INT32_MAX)) {
    glDeleteSync(sync);
    return 0;
  }
  table.push_back(sync);
  return static_cast<GLint>(table.size());
}

GLsync find(GLint handle) {
  if (handle < 1 || static_cast<std::size_t>(handle) > table.size()) return nullptr;
  return table[static_cast<std::size_t>(handle) - 1];
}

void release(GLint handle) {
  if (find(handle)) table[static_cast<std::size_t>(handle) - 1] = nullptr;
}

}  // namespace sync
}  // namespace fgl

#define FGL_SYNC(entry, fortran_name, command, result, params, body) \
  extern "C" FGL_API result entry params { return static_cast<result> body; } \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
#include "fgl_sync.inc"
#undef FGL_SYNC
