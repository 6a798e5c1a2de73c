// The checks of the OpenGL entries in the checking build.
//
// Forwarding entries are checked from the registry's description of their
// arguments (fgl_check.inc, generated with the list of entries): singles and
// doubles, and the vectors of them that are read, by the patterns that other
// kinds of storage leave in them; every entry by OpenGL's error state after
// the call.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

#include "fgl_conventions.h"
#include "report.h"

namespace fgl::check {

// One argument of a forwarding entry as the registry describes it. kind:
// 'b' 1-byte, 's' 2-byte, 'i' signed and 'u' unsigned 4-byte integer,
// 'e' enumerant, 'l' 8-byte integer, 'z' and 'Z' a size or count (GLsizei,
// GLsizeiptr) from 4 and 8 bytes, 'f' single, 'd' double, 'F' and 'D' read
// vectors of `count` singles or doubles, 'p' other data.
struct Arg {
  char kind;
  int count;
  const char *name;
};

// What the entry does to the glBegin/glEnd bracket.
enum class Bracket { None, Begin, End };

// A single that is a non-zero denormal: what a small INTEGER looks like.
inline bool integer_pattern(float v) {
  std::uint32_t b;
  std::memcpy(&b, &v, sizeof b);
  return (b & 0x7f800000u) == 0 && (b & 0x007fffffu) != 0;
}
// A double that is a denormal, beyond 1e300 (infinities included) or a NaN:
// what a REAL or an INTEGER followed by other bytes looks like.
inline bool single_pattern(double v) {
  std::uint64_t b;
  std::memcpy(&b, &v, sizeof b);
  const std::uint64_t exponent = (b >> 52) & 0x7ff;
  if (exponent == 0) return (b & 0xfffffffffffffull) != 0;
  return exponent == 0x7ff || v > 1e300 || v < -1e300;
}

// Element j of an array of T that may lie at any address and reach past the
// caller's variable (a double passed as a REAL lies at a 4-byte boundary and
// is 4 bytes longer): that is what is being checked.
template <typename T>
__attribute__((no_sanitize("address"))) inline T read_at(const void *p, int j) {
  T v;
  std::memcpy(&v, static_cast<const unsigned char *>(p) + sizeof(T) * static_cast<std::size_t>(j), sizeof v);
  return v;
}

// Whether argument I shows a pattern, tested inline; the report is made out
// of line by inspect.
template <const Arg *Args, int I>
inline bool suspect(const void *p) {
  constexpr Arg a = Args[I];
  if constexpr (a.kind == 'f' || a.kind == 'F') {
    for (int j = 0; j < (a.kind == 'f' ? 1 : a.count); ++j)
      if (integer_pattern(read_at<float>(p, j))) return true;
  } else if constexpr (a.kind == 'd' || a.kind == 'D') {
    for (int j = 0; j < (a.kind == 'd' ? 1 : a.count); ++j)
      if (single_pattern(read_at<double>(p, j))) return true;
  }
  return false;
}

// Between glBegin and glEnd (OpenGL's error state is then read at glEnd).
extern bool inside_begin_end;

// Checks the singles and doubles an entry is about to read.
void inspect(const char *entry, const Arg *args, int n, const void *const *addresses);
// Reports each size or count argument that is negative.
void negative_sizes(const char *entry, const Arg *args, int n, const void *const *addresses);
// Reports, for the entry running (current_entry), a sync handle never issued
// or already deleted in argument `position`, and a negative hidden length of
// a CHARACTER argument.
void unknown_sync(int position, GLint handle);
void negative_length(int length);
// Reads OpenGL's error state after an entry (at fglEnd for the calls inside a
// glBegin/glEnd pair) and reports each error with the entry's scalar
// arguments.
void after(const char *entry, const Arg *args, int n, const void *const *addresses, Bracket bracket);

// The pattern checks of one single or double argument, for entries of other
// layers: `names` is the entry's argument list as written, "(a, b, c)", from
// which the name of argument `position` is taken.
void check_single(const char *entry, int position, const char *names, float value);
void check_double(const char *entry, int position, const char *names, double value);

// An error the checks took from OpenGL, handed to the program's next
// fglGetError; GL_NO_ERROR when none is held.
GLenum take_pending_error();

// The item count of a repacking entry against what OpenGL reads or writes.
void count_needed(std::size_t have, std::size_t need);

// Set up by a hand-written entry for the length of its call: names the entry
// for the count check, reports a negative count, and reads OpenGL's error
// state when the call is over.
class Scope {
 public:
  // gl_errors: whether this library reads OpenGL's error state after the
  // call (the OpenGL layer does; the GLU layer leaves it to the program).
  // sized: whether what OpenGL touches is known exactly (for a query of any
  // parameter it is only bounded, and the count is not compared with it).
  Scope(const char *entry, int count_position, const GLint *count, bool gl_errors, bool sized = true);
  ~Scope();
  Scope(const Scope &) = delete;
  Scope &operator=(const Scope &) = delete;

 private:
  Entry previous_;
  bool gl_errors_;
};

// Whether any argument is a single or a double, or a vector of them.
constexpr bool has_reals(const Arg *args, int n) {
  for (int i = 0; i < n; ++i)
    if (args[i].kind == 'f' || args[i].kind == 'd' || args[i].kind == 'F' || args[i].kind == 'D') return true;
  return false;
}

constexpr bool has_sizes(const Arg *args, int n) {
  for (int i = 0; i < n; ++i)
    if (args[i].kind == 'z' || args[i].kind == 'Z') return true;
  return false;
}

template <auto Command>
inline constexpr Bracket bracket_of = Bracket::None;
template <>
inline constexpr Bracket bracket_of<&glBegin> = Bracket::Begin;
template <>
inline constexpr Bracket bracket_of<&glEnd> = Bracket::End;

// The address an entry's argument points to (the storage of a wrapped one).
template <typename A>
inline const void *address_of(A a) {
  if constexpr (std::is_pointer_v<A>) {
    return static_cast<const void *>(a);
  } else {
    return static_cast<const void *>(a.p);
  }
}

template <auto Command, const Arg *Args>
struct Checked;
template <typename R, typename... P, R (*Command)(P...), const Arg *Args>
struct Checked<Command, Args> {
  const char *entry;
  template <typename... A>
  R call(A... args) const {
    constexpr int n = sizeof...(P);
    const void *addresses[n + 1] = {address_of(args)..., nullptr};
    constexpr Bracket bracket = bracket_of<Command>;
    if constexpr (has_reals(Args, n)) {
      const bool any = [&]<std::size_t... I>(std::index_sequence<I...>) {
        return (suspect<Args, static_cast<int>(I)>(addresses[I]) || ...);
      }(std::make_index_sequence<n>{});
      if (any) inspect(entry, Args, n, addresses);
    }
    if constexpr (has_sizes(Args, n)) negative_sizes(entry, Args, n, addresses);
    if constexpr (std::is_void_v<R>) {
      fgl::Forward<Command>::call(args...);
      if (bracket != Bracket::None || !inside_begin_end) after(entry, Args, n, addresses, bracket);
    } else {
      R result = fgl::Forward<Command>::call(args...);
      if (bracket != Bracket::None || !inside_begin_end) after(entry, Args, n, addresses, bracket);
      return result;
    }
  }
};

}  // namespace fgl::check

// In a hand-written entry: names it and its count argument for the checks.
#define FGL_CHECK_ENTRY(entry, count_position, count) \
  const fgl::check::Scope fgl_check_scope_(entry, count_position, count, true)
#define FGL_CHECK_ENTRY_UNSIZED(entry, count_position, count) \
  const fgl::check::Scope fgl_check_scope_(entry, count_position, count, true, false)
#define FGL_CHECK_SIZES(entry, count_position, count) \
  const fgl::check::Scope fgl_check_scope_(entry, count_position, count, false)
