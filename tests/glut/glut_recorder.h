// A recording stand-in for freeglut functions, linked into a test program
// beside libfglut: the program's own definitions take the place of
// freeglut's, so that every call the binding makes is logged with each
// argument's width and raw bits. No display is needed.
//
// To stand in for one more function, add a line to glut_recorder.cpp with its
// prototype (freeglut's header checks it).
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace glut_recorder {

struct Argument {
  unsigned width;      // bytes GLUT received (sizeof the parameter)
  std::uint64_t bits;  // the raw bits, zero-extended; a pointer's address
  bool floating;
  bool pointer;
};

struct Call {
  std::string function;
  std::vector<Argument> args;
};

const std::vector<Call> &calls();
void reset();

// What every stand-in returns, by result type; none of them is -1, 0 or 1.
inline constexpr int kIntResult = 0x3C5A7E19;
inline constexpr float kFloatResult = 0.8125f;

template <typename T>
Argument argument(T value) {
  Argument a{sizeof(T), 0, std::is_floating_point_v<T>, std::is_pointer_v<T>};
  if constexpr (std::is_pointer_v<T>) {
    a.bits = reinterpret_cast<std::uintptr_t>(value);
  } else {
    __builtin_memcpy(&a.bits, &value, sizeof value);
  }
  return a;
}

void log(const char *function, std::vector<Argument> args);

template <typename R, typename... A>
R record(const char *function, A... args) {
  log(function, {argument(args)...});
  if constexpr (std::is_same_v<R, float>) {
    return kFloatResult;
  } else if constexpr (!std::is_void_v<R>) {
    return static_cast<R>(kIntResult);
  }
}

}  // namespace glut_recorder
