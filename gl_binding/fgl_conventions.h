// Conventions shared by every entry of the OpenGL binding layer.
//
// Every entry takes each argument as the address of a variable, as a Fortran
// caller passes it. A scalar is read at the width of its OpenGL type (the
// first byte for GLbyte/GLubyte/GLboolean, the first two bytes for
// GLshort/GLushort, four bytes for the 32-bit types and singles, eight for
// doubles); a pointer argument is handed to OpenGL unchanged. A storage
// family reads some arguments from other storage: see read() below.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <tuple>
#include <type_traits>

#define FGL_API __attribute__((visibility("default")))

// Gives `entry` a second, Fortran-visible name (lower case plus one trailing
// underscore, as gfortran and f2c emit it). The alias shares the entry's code.
#define FGL_FORTRAN_ALIAS(entry, fortran_name) \
  extern "C" FGL_API decltype(entry) fortran_name __attribute__((alias(#entry)));

namespace fgl {

// How one OpenGL parameter type arrives in an entry and how it is read there.
template <typename T>
struct ByAddress {
  using type = const T *;
#ifdef FGL_CHECKING
  // The checking build expects wrong storage: a double may arrive at the
  // 4-byte-aligned address of a REAL or an INTEGER, and reach 4 bytes past
  // it (which it reports; an address sanitizer need not stop the program).
  __attribute__((no_sanitize("address"))) static T read(type p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
#else
  static T read(type p) { return *p; }
#endif
};
template <typename T>
struct ByAddress<T *> {
  using type = T *;
  static T *read(type p) { return p; }
};

// Wrappers that the generated argument lists put around an argument whose
// storage holds several values of another width: a vector of N narrow
// values held in wider integers, and an array of byte offsets in 4-byte
// integers, `count` of them.
template <std::size_t N, typename E>
struct Fixed {
  const E *p;
};
template <std::size_t N, typename E>
Fixed<N, E> fixed(const E *p) {
  return {p};
}
template <typename E>
struct Widened {
  const E *p;
  const GLsizei *count;
};
template <typename E>
Widened<E> widened(const E *p, const GLsizei *count) {
  return {p, count};
}
template <typename A>
inline constexpr bool is_widened = false;
template <typename E>
inline constexpr bool is_widened<Widened<E>> = true;

// The copies such arguments are turned into; each lives until the command
// returns (a temporary of the call's full expression) and converts to the
// pointer the command takes.
template <typename T, std::size_t N>
struct Narrowed {
  T v[N];
  operator const T *() const { return v; }
};
// An error the layer found itself, for the program's next fglGetError.
void hold_error(GLenum error);

// An array of 4-byte offsets widened into addresses: up to kInline in the
// entry's frame, beyond that on the heap; when the heap refuses, the command
// is not called and the next fglGetError returns GL_OUT_OF_MEMORY.
struct OffsetArray {
  static constexpr std::size_t kInline = 64;
  const void **v = nullptr;  // null: no temporary, no call
  const void *local[kInline];
  __attribute__((noinline)) OffsetArray(const GLint *offsets, GLsizei n) {
    const std::size_t count = n > 0 ? static_cast<std::size_t>(n) : 0;
    v = count <= kInline ? local : static_cast<const void **>(std::calloc(count, sizeof(const void *)));
    if (v == nullptr) {
      hold_error(GL_OUT_OF_MEMORY);
      return;
    }
    for (std::size_t i = 0; i < count; ++i) v[i] = reinterpret_cast<const void *>(static_cast<std::intptr_t>(offsets[i]));
  }
  OffsetArray(const OffsetArray &) = delete;
  OffsetArray &operator=(const OffsetArray &) = delete;
  ~OffsetArray() {
    if (v != local) std::free(v);
  }
  bool ready() const { return v != nullptr; }
  operator const void *const *() const { return v; }
};

// An array OpenGL fills with 64-bit integers or booleans, received into the
// caller's `count` 4-byte elements (the count is the entry's last argument).
// OpenGL writes into a temporary that holds every value the query returns
// (query_values of its pname, or 16 for a query without one); each of the
// caller's elements then gets the low 32 bits of its value (a boolean
// zero-extended), and elements past the values OpenGL wrote keep theirs.
// The temporary is sized by the query alone, never by the caller's count: up
// to kInlineValues it lives in the entry's frame, beyond that on the heap.
// When the heap refuses, the command is not called, nothing is written and
// the next fglGetError returns GL_OUT_OF_MEMORY.
template <typename E>
struct Received {
  E *p;
  const GLint *count;
  const GLenum *pname;
};
inline Received<GLint> received(GLint *p, const GLint *count, const GLenum *pname = nullptr) {
  return {p, count, pname};
}
// Values a query of pname may return: 16 (a matrix), or more for the
// list-valued queries (lists_queries.cpp).
std::size_t query_values(GLenum pname);


template <typename T>
struct Receiving {
  static constexpr std::size_t kInlineValues = 64;
  GLint *to;
  std::size_t count = 0;  // the caller's elements OpenGL may write
  T *v = nullptr;         // null: no temporary, no call
  T local[kInlineValues];
  // A value OpenGL never writes as a boolean: the element was not written.
  static constexpr T kUnwritten = static_cast<T>(0xA5);
  // Out of line, so that each entry keeps one call of its command.
  __attribute__((noinline)) Receiving(const Received<GLint> &a) : to(a.p) {
    const std::size_t most = a.pname ? query_values(*a.pname) : 16;
    const std::size_t asked = *a.count > 0 ? static_cast<std::size_t>(*a.count) : 0;
    count = asked < most ? asked : most;
    v = most <= kInlineValues ? local : static_cast<T *>(std::calloc(most, sizeof(T)));
    if (v == nullptr) {
      hold_error(GL_OUT_OF_MEMORY);
      return;
    }
    for (std::size_t i = 0; i < most; ++i) v[i] = kUnwritten;
    if constexpr (!std::is_same_v<T, GLboolean>)
      for (std::size_t i = 0; i < count; ++i) v[i] = static_cast<T>(to[i]);
  }
  Receiving(const Receiving &) = delete;
  Receiving &operator=(const Receiving &) = delete;
  __attribute__((noinline)) ~Receiving() {
    if (v == nullptr) return;
    for (std::size_t i = 0; i < count; ++i)
      if (!std::is_same_v<T, GLboolean> || v[i] != kUnwritten) to[i] = static_cast<GLint>(v[i]);
    if (v != local) std::free(v);
  }
  bool ready() const { return v != nullptr; }
  operator T *() { return v; }
};

// Whether a value read for a command lets the command be called: a
// temporary of received values must have been obtained.
template <typename V>
bool ready(const V &v) {
  if constexpr (requires { v.ready(); }) return v.ready();
  return true;
}

template <typename P>
inline constexpr bool receives_values =
    std::is_same_v<P, GLint64 *> || std::is_same_v<P, GLuint64 *> || std::is_same_v<P, GLboolean *>;

template <typename>
struct fixed_length;
template <std::size_t N, typename E>
struct fixed_length<Fixed<N, E>> : std::integral_constant<std::size_t, N> {};

template <typename A>
inline constexpr bool is_integer_storage =
    std::is_pointer_v<A> && std::is_integral_v<std::remove_cv_t<std::remove_pointer_t<A>>>;

// read<P>(a): the value of an OpenGL parameter of type P from the entry's
// argument a.
//   a is the address of a P (every unsuffixed entry): read at P's width, or
//     a pointer handed through (ByAddress);
//   P is an integer, a the address of an integer of another width (GLintptr,
//     GLsizeiptr, GLint64 from INTEGER*4): read at a's width, sign-extended;
//   P is (const) void *, a the address of an integer: a byte offset into the
//     bound buffer, the number OpenGL reads in place of an address;
//   P is const void *const *, a the address of 8-byte integers: an array of
//     byte offsets, bit for bit an array of addresses;
//   a Fixed or Widened wrapper: a local copy narrowed or widened;
//   a text wrapper of text.h: a NUL-ended copy without trailing blanks;
//   a Received wrapper: a temporary that OpenGL fills (Receiving).
template <typename P, typename A>
inline decltype(auto) read(A a) {
  if constexpr (std::is_same_v<A, typename ByAddress<P>::type>) {
    return ByAddress<P>::read(a);
  } else if constexpr (requires { a.text(); }) {
    return a.text();  // a CHARACTER argument (text.h)
  } else if constexpr (std::is_integral_v<P> && is_integer_storage<A>) {
    return static_cast<P>(ByAddress<std::remove_cv_t<std::remove_pointer_t<A>>>::read(a));
  } else if constexpr ((std::is_same_v<P, const void *> || std::is_same_v<P, void *>) && is_integer_storage<A>) {
    const auto offset = ByAddress<std::remove_cv_t<std::remove_pointer_t<A>>>::read(a);
    return reinterpret_cast<P>(static_cast<std::intptr_t>(offset));
  } else if constexpr (std::is_same_v<P, const void *const *> && std::is_same_v<A, const GLint64 *>) {
    static_assert(sizeof(GLint64) == sizeof(const void *), "offsets as addresses need 8-byte addresses");
    return reinterpret_cast<const void *const *>(a);
  } else if constexpr (std::is_same_v<A, Received<GLint>>) {
    return Receiving<std::remove_pointer_t<P>>(a);
  } else if constexpr (std::is_same_v<P, const void *const *>) {
    return OffsetArray(a.p, ByAddress<GLsizei>::read(a.count));
  } else {
    // A Fixed vector: the low bits of each element, as OpenGL's component type.
    using T = std::remove_cv_t<std::remove_pointer_t<P>>;
    constexpr std::size_t n = fixed_length<A>::value;
    Narrowed<T, n> out;
    for (std::size_t i = 0; i < n; ++i) out.v[i] = static_cast<T>(a.p[i]);
    return out;
  }
}

// Forward<&glX>::call reads each argument (read above) and calls glX once.
// accepts<void(A...)> says whether an entry of parameter types A... may call
// glX: one parameter per parameter of glX, each the address of its type or
// integer storage read in its place (see FGL_FORWARD in forward.cpp).
template <auto Command>
struct Forward;
template <typename R, typename... P, R (*Command)(P...)>
struct Forward<Command> {
  using Params = void(typename ByAddress<P>::type...);
  template <typename... A>
  __attribute__((always_inline)) static R call(A... args) {
    if constexpr (((std::is_same_v<A, Received<GLint>> || is_widened<A>) || ...)) {
      return call_if_ready(read<P>(args)...);
    } else {
      return Command(read<P>(args)...);
    }
  }
  // The values live until the command returns; without a temporary for
  // received values the command is not called.
  template <typename... V>
  __attribute__((always_inline)) static R call_if_ready(V &&...v) {
    if (!(ready(v) && ...)) return R();
    return Command(v...);
  }
  // An entry that receives 64-bit or boolean values into 4-byte elements
  // takes their count as one more argument, last.
  template <typename... A>
  static constexpr bool accepts(void (*)(A...)) {
    if constexpr (sizeof...(A) == sizeof...(P)) {
      return ((std::is_same_v<A, typename ByAddress<P>::type> || is_integer_storage<A>) && ...);
    } else if constexpr (sizeof...(A) == sizeof...(P) + 1) {
      using Last = std::tuple_element_t<sizeof...(P), std::tuple<A...>>;
      return (receives_values<P> || ...) && std::is_same_v<Last, const GLint *>;
    } else {
      return false;
    }
  }
};

}  // namespace fgl

// A hand-written entry names itself and the position of its item count (0
// when it has none) for the checking build; elsewhere this is nothing.
// FGL_CHECK_ENTRY_UNSIZED is for an entry whose count OpenGL's need is only
// bounded for (a query of any parameter); FGL_CHECK_SIZES is for an entry of
// another layer, which leaves OpenGL's error state to the program.
#ifdef FGL_CHECKING
#include "gl_checks.h"
#else
#define FGL_CHECK_ENTRY(entry, count_position, count)
#define FGL_CHECK_ENTRY_UNSIZED(entry, count_position, count)
#define FGL_CHECK_SIZES(entry, count_position, count)
#endif
