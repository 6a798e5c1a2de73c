// Sync objects as handles a Fortran 77 program can hold: small INTEGER*4
// numbers from a table of the layer's, in place of OpenGL's GLsync pointers.
//
// A handle is issued per fence, counting up from 1, and never issued again
// in the life of the process. An entry given a handle that was never issued
// or has been deleted makes no OpenGL call: it records GL_INVALID_VALUE, which
// the program's next fglGetError returns (before OpenGL's own errors), and
// returns what OpenGL returns on that error (GL_WAIT_FAILED from a client
// wait). fglIsSync answers GL_FALSE for such a handle without an error, as
// glIsSync does for a name that is not a sync object; handle 0 to
// fglDeleteSync is ignored, as glDeleteSync(0) is.
//
// The generated list fgl_sync.inc names, per entry, the command and its
// arguments; Call<&glX> below does the rest for every command of the sync
// kind.
#pragma once

#include "fgl_conventions.h"

#include <type_traits>

namespace fgl {

// The oldest error held, or GL_NO_ERROR.
GLenum take_held_error();

namespace sync {

// A handle for a new sync object (0 for a null one, or when no handle is left:
// the object is then deleted).
GLint issue(GLsync sync);
// The sync object behind a handle, or null for a handle never issued or deleted.
GLsync find(GLint handle);
// Forgets a handle (after glDeleteSync).
void release(GLint handle);

// Whether two commands are the same (commands of different types never are).
template <auto A, auto B>
constexpr bool same_command() {
  if constexpr (std::is_same_v<decltype(A), decltype(B)>) {
    return A == B;
  } else {
    return false;
  }
}

template <auto Command>
struct Call;
template <typename R, typename... P, R (*Command)(P...)>
struct Call<Command> {
  template <typename... A>
  static auto call(A... args) {
    static_assert(sizeof...(A) == sizeof...(P));
    GLint handle = 0;
    bool known = true;
    int i = 0, position = 0;
    // Each GLsync parameter arrives as the address of a handle.
    ((++i, std::is_same_v<P, GLsync> ? (void)(handle = *reinterpret_cast<const GLint *>(args),
                                             known = known && find(handle) != nullptr, position = i)
                                     : (void)0),
     ...);
#ifdef FGL_CHECKING
    if (!known && !same_command<Command, &glIsSync>() && handle != 0) check::unknown_sync(position, handle);
#endif
    if constexpr (std::is_same_v<R, GLsync>) {
      return issue(Command(read<P>(args)...));
    } else {
      if (!known) {
        if constexpr (same_command<Command, &glDeleteSync>()) {
          if (handle != 0) hold_error(GL_INVALID_VALUE);
          return;
        } else if constexpr (same_command<Command, &glIsSync>()) {
          return static_cast<GLboolean>(GL_FALSE);
        } else {
          hold_error(GL_INVALID_VALUE);
          if constexpr (std::is_same_v<R, GLenum>) {
            return static_cast<GLenum>(GL_WAIT_FAILED);
          } else {
            return;
          }
        }
      }
      if constexpr (same_command<Command, &glDeleteSync>()) {
        Command(value<P>(args)...);
        release(handle);
      } else {
        return Command(value<P>(args)...);
      }
    }
  }

 private:
  // A GLsync from its handle, anything else as read() reads it.
  template <typename Q, typename A>
  static decltype(auto) value(A a) {
    if constexpr (std::is_same_v<Q, GLsync>) {
      return find(*reinterpret_cast<const GLint *>(a));
    } else {
      return read<Q>(a);
    }
  }
};

}  // namespace sync
}  // namespace fgl
