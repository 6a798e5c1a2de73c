// A recording stand-in for libGL. Tests link the binding's objects against it
// instead of the real library: every OpenGL 1.0 to 4.6 command (definitions generated
// from the registry into gl_recorder.cpp) appends one Call to a log, with each
// argument's raw bits and width. A test may install a hook per command that
// acts as a real implementation would (reads or writes the memory behind a
// pointer argument, returns a result).
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

namespace gl_recorder {

struct Argument {
  std::string type;     // the OpenGL type as the registry spells it ("GLshort", "const GLfloat *")
  unsigned width;       // bytes the command received (sizeof the parameter)
  std::uint64_t bits;   // the raw bits, zero-extended; a pointer's address
  bool pointer;

  template <typename T>
  T as() const {
    static_assert(std::is_trivially_copyable_v<T> && sizeof(T) <= sizeof(bits));
    T v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  const void *address() const { return reinterpret_cast<const void *>(static_cast<std::uintptr_t>(bits)); }
};

struct Call {
  std::string command;
  std::vector<Argument> args;
};

// A hook acts for one command; its return value is the command's result bits.
using Hook = std::function<std::uint64_t(const Call &)>;

const std::vector<Call> &calls();
void reset();                                    // forget the log and every hook
void set_hook(const std::string &command, Hook hook);
void set_result(const std::string &command, std::uint64_t bits);  // a fixed result

// glXGetProcAddress (and its ARB twin) gives the stand-in of each command
// that entries look up at run time (kLookedUp, generated), but null for a
// command set missing (until reset). Lookups are counted, not logged.
struct Named {
  const char *name;
  void (*address)();
};
extern const Named kLookedUp[];
void set_missing(const std::string &command);
int lookups(const std::string &command);  // glXGetProcAddress calls for it so far

template <typename T>
Argument argument(const char *type, T value) {
  Argument a{type, sizeof(T), 0, std::is_pointer_v<T>};
  if constexpr (std::is_pointer_v<T>) {
    a.bits = reinterpret_cast<std::uintptr_t>(value);
  } else {
    std::memcpy(&a.bits, &value, sizeof value);
  }
  return a;
}

std::uint64_t record(const char *command, std::initializer_list<Argument> args);

template <typename T>
T result(std::uint64_t bits) {
  if constexpr (std::is_pointer_v<T>) {
    return reinterpret_cast<T>(static_cast<std::uintptr_t>(bits));
  } else {
    T v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
}

}  // namespace gl_recorder
