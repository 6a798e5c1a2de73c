// Conventions shared by every entry of the OpenGL binding layer.
//
// Every entry takes each argument as the address of a variable, as a Fortran
// caller passes it. A scalar is read at the width of its OpenGL type (the
// first byte for GLbyte/GLubyte/GLboolean, the first two bytes for
// GLshort/GLushort, four bytes for the 32-bit types and singles, eight for
// doubles); a pointer argument is handed to OpenGL unchanged.
#pragma once

#include <GL/gl.h>

#include <cstring>
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

// Forward<&glX>::call reads each by-address argument and calls glX once.
// Params is the parameter list an entry of glX must have; an entry declared
// otherwise fails to compile (see FGL_FORWARD in forward.cpp).
template <auto Command>
struct Forward;
template <typename R, typename... P, R (*Command)(P...)>
struct Forward<Command> {
  using Params = void(typename ByAddress<P>::type...);
  static R call(typename ByAddress<P>::type... args) { return Command(ByAddress<P>::read(args)...); }
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
