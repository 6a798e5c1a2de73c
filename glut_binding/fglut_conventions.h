// Conventions shared by the entries of the GLUT binding layer.
//
// Every entry takes each argument as the address of a variable, as a Fortran
// caller passes it: an int, enumerant or single is read as 4 bytes, a double
// as 8. Text arrives as a packed character array (one character in the low
// byte of each 4-byte word) plus the address of its count, or as an address
// plus a length passed by value; either is turned into a zero-terminated heap
// string that lives for one GLUT call.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <type_traits>

#include "ending.h"

#define FGLUT_API __attribute__((visibility("default")))

// Gives `entry` its Fortran name (lower case plus one trailing underscore, as
// gfortran and f2c emit it). The alias shares the entry's code.
#define FGLUT_FORTRAN_ALIAS(entry, fortran_name) \
  extern "C" FGLUT_API decltype(entry) fortran_name __attribute__((alias(#entry)));

namespace fglut {

// Reads a count or length: a negative one is taken as 0 (the empty string).
inline std::size_t nonNegative(int n) { return n > 0 ? static_cast<std::size_t>(n) : 0; }

// Converts `n` packed words into a new heap string of n+1 bytes: the low byte
// of each word, then a zero byte. Every word is copied, zero codes included.
// Returns null when the heap is exhausted.
inline char *packedToString(const int *words, std::size_t n) {
  char *s = static_cast<char *>(std::malloc(n + 1));
  if (s == nullptr) return nullptr;
  for (std::size_t k = 0; k < n; ++k) {
    s[k] = static_cast<char>(static_cast<unsigned int>(words[k]) & 0xffu);
  }
  s[n] = '\0';
  return s;
}

// Copies `n` bytes into a new heap string of n+1 bytes, zero-terminated.
inline char *bytesToString(const char *bytes, std::size_t n) {
  char *s = static_cast<char *>(std::malloc(n + 1));
  if (s == nullptr) return nullptr;
  if (n > 0) std::memcpy(s, bytes, n);
  s[n] = '\0';
  return s;
}

// Calls `call(string)` with a converted string and releases the string
// afterwards; returns call's result. A null string means the heap was
// exhausted: the GLUT call is skipped and a value-initialised result returned.
template <typename Call>
auto withString(char *s, Call call) -> decltype(call(static_cast<const char *>(nullptr))) {
  using Result = decltype(call(static_cast<const char *>(nullptr)));
  if (s == nullptr) return Result();
  const std::unique_ptr<char, decltype(&std::free)> owned(s, &std::free);
  return call(static_cast<const char *>(s));
}

// The same for the packed array `words`/`*count`.
template <typename Call>
auto withPacked(const int *words, const int *count, Call call) {
  return withString(packedToString(words, nonNegative(*count)), call);
}

// The same for an address-and-length string.
template <typename Call>
auto withBytes(const char *bytes, int length, Call call) {
  return withString(bytesToString(bytes, nonNegative(length)), call);
}

// Defines the two entries of a GLUT function that takes text: fglut<Name>,
// taking the text as packed words followed by the address of their count, and
// fglut<Name>C, taking a CHARACTER argument (its address in the text's place,
// its length by value after all explicit arguments, as Fortran compilers pass
// it), each with its Fortran name. `before` and `after` are the parenthesised
// parameters on either side of the text, a comma included
// (`(const int *item,)`, `(, const int *value)`, or `()`); `call` is the GLUT
// call, made with the converted zero-terminated text `s` and those parameters.
// `position` is the text's argument number and `checks` the parenthesised
// checks of the other arguments, both for the checking build (where the packed
// words are checked too); in the ordinary build the checks are empty.
#define FGLUT_UNPAREN(...) __VA_ARGS__
#define FGLUT_TEXT_ENTRY(result, Name, lname, position, before, after, checks, call)                \
  extern "C" FGLUT_API result fglut##Name(FGLUT_UNPAREN before const int *text, const int *count   \
                                              FGLUT_UNPAREN after) {                                  \
    FGLUT_UNPAREN checks;                                                                             \
    FGLUT_CHECK_TEXT(position, text, count);                                                          \
    return fglut::withPacked(text, count, [&](const char *s) { return call; });                      \
  }                                                                                                   \
  FGLUT_FORTRAN_ALIAS(fglut##Name, fglut##lname##_)                                                  \
  extern "C" FGLUT_API result fglut##Name##C(FGLUT_UNPAREN before const char *text                   \
                                                 FGLUT_UNPAREN after, int length) {                  \
    FGLUT_UNPAREN checks;                                                                             \
    return fglut::withBytes(text, length, [&](const char *s) { return call; });                       \
  }                                                                                                   \
  FGLUT_FORTRAN_ALIAS(fglut##Name##C, fglut##lname##c_)

// Passes an application routine to GLUT as a callback's user data, and back.
template <typename Routine>
inline void *asData(Routine routine) { return reinterpret_cast<void *>(routine); }

// An application routine as a trampoline calls it: inside a FortranSection,
// so that an ending by signal never closes the program's units under it.
template <typename Routine>
class Callable {
 public:
  explicit Callable(Routine routine) : routine_(routine) {}
  explicit operator bool() const { return routine_ != nullptr; }
  template <typename... Args>
  void operator()(Args... args) const {
    callRoutine(routine_, args...);
  }

 private:
  Routine routine_;
};
template <typename Routine>
inline Callable<Routine> asRoutine(void *data) { return Callable<Routine>(reinterpret_cast<Routine>(data)); }

}  // namespace fglut

// The checks of the checking build; elsewhere they are nothing.
#ifdef FGL_CHECKING
#include "glut_checks.h"
#else
#define FGLUT_CHECK_FONT(position, code)
#define FGLUT_CHECK_TEXT(position, words, count)
#define FGLUT_CHECK_COUNT(position, n)
#define FGLUT_CHECK_WINDOW(position, id)
#define FGLUT_CHECK_MENU(position, id)
#define FGLUT_CHECK_CURRENT_WINDOW()
#define FGLUT_CHECK_MADE(what, id)
#define FGLUT_CHECK_GONE(what, id)
#endif
