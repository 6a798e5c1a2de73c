// The `C` text family: OpenGL's text parameters as Fortran CHARACTER
// arguments. A CHARACTER argument arrives as its address, and its length as
// an int value after all the other arguments (the hidden length that
// gfortran, Flang and f2c pass; a negative length is taken as 0).
//
//   text in        In{p, length}: the text without its trailing blanks, ended
//                  by a NUL for OpenGL.
//   array of texts Texts{p, count, length, newline}: `count` elements of
//                  `length` characters each, every one without its trailing
//                  blanks; a shader's lines (newline) each end in a newline.
//   text out       Out<&glX, Buf, Len, Text>: OpenGL writes into a buffer of
//                  the layer's that grows until the whole text fits; the
//                  caller's variable receives it truncated or blank-padded,
//                  and the full length is returned.
//   text result    Result<&glX>: the same for a command that returns its text.
//
// A text in that OpenGL would take with its length (glObjectLabel) is given
// ended by a NUL instead: the C entry has no length argument (NulEnded).
//
// The generated list fgl_text.inc says, per entry, which wrapper each
// argument takes (tools/gen_gl.py).
#pragma once

#include "fgl_conventions.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace fgl::text {

inline std::size_t room_of(int length) {
#ifdef FGL_CHECKING
  if (length < 0) check::negative_length(length);
#endif
  return length > 0 ? static_cast<std::size_t>(length) : 0;
}

// The characters of p[0, length) without the trailing blanks.
inline std::string trimmed(const char *p, int length) {
  std::size_t n = room_of(length);
  while (n > 0 && p[n - 1] == ' ') --n;
  return n > 0 ? std::string(p, n) : std::string();
}

// The full text into the caller's `length` characters: truncated, or padded
// with blanks.
inline void deliver(const char *text, std::size_t n, char *out, int length) {
  const std::size_t room = room_of(length);
  const std::size_t copied = std::min(n, room);
  if (copied > 0) std::memcpy(out, text, copied);
  if (room > copied) std::memset(out + copied, ' ', room - copied);
}

// A copy that lives until the command returns and converts to what it takes.
struct OwnedText {
  std::string s;
  operator const GLchar *() const { return s.c_str(); }
};
struct OwnedTexts {
  std::vector<std::string> s;
  mutable std::vector<const GLchar *> p;
  operator const GLchar *const *() const {
    p.clear();
    for (const std::string &t : s) p.push_back(t.c_str());
    return p.data();
  }
};

struct In {
  const char *p;
  int length;
  OwnedText text() const { return {trimmed(p, length)}; }
};

struct Texts {
  const char *p;
  const GLsizei *count;
  int length;
  bool newline;
  OwnedTexts text() const {
    OwnedTexts out;
    const GLsizei n = *count;
    for (GLsizei i = 0; i < n; ++i) {
      out.s.push_back(trimmed(p + room_of(length) * static_cast<std::size_t>(i), length));
      if (newline) out.s.back() += '\n';
    }
    return out;
  }
};

// In place of a shader's line lengths: none, every line ends in a NUL.
struct NoLengths {
  const GLint *text() const { return nullptr; }
};

// In place of the length of a text in: none, the text ends in a NUL.
struct NulEnded {
  GLsizei text() const { return -1; }
};

// In place of the parameters a text-out entry fills itself.
struct Slot {};
inline constexpr Slot slot{};

// The largest text a text-out entry asks OpenGL for (a 1 GiB log is not
// expected; the bound keeps a command that never reports a short length from
// growing the buffer without end).
inline constexpr std::size_t kMostText = std::size_t{1} << 30;

template <auto Command, int Buf, int Len, int Text>
struct Out;
template <typename R, typename... P, R (*Command)(P...), int Buf, int Len, int Text>
struct Out<Command, Buf, Len, Text> {
  template <typename... A>
  static GLint call(char *out, int length, A... args) {
    static_assert(sizeof...(A) == sizeof...(P), "one argument or slot per parameter");
    std::vector<GLchar> buffer(std::max<std::size_t>(room_of(length) + 1, 256));
    GLsizei got = 0;
    for (;;) {
      got = 0;
      buffer[0] = 0;
      invoke(buffer, got, std::index_sequence_for<A...>{}, args...);
      got = std::max<GLsizei>(got, 0);
      if (static_cast<std::size_t>(got) + 1 < buffer.size() || buffer.size() >= kMostText) break;
      buffer.resize(buffer.size() * 2);
    }
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(got), buffer.size() - 1);
    deliver(buffer.data(), n, out, length);
    return static_cast<GLint>(n);
  }

 private:
  template <std::size_t I, typename Q, typename A>
  static Q pick(std::vector<GLchar> &buffer, GLsizei &got, A a) {
    if constexpr (I == Buf) {
      return static_cast<GLsizei>(buffer.size());
    } else if constexpr (I == Len) {
      return &got;
    } else if constexpr (I == Text) {
      return buffer.data();
    } else {
      return read<Q>(a);
    }
  }
  template <std::size_t... I, typename... A>
  static void invoke(std::vector<GLchar> &buffer, GLsizei &got, std::index_sequence<I...>, A... args) {
    Command(pick<I, P>(buffer, got, args)...);
  }
};

template <auto Command>
struct Result;
template <typename... P, const GLubyte *(*Command)(P...)>
struct Result<Command> {
  template <typename... A>
  static GLint call(char *out, int length, A... args) {
    const char *s = reinterpret_cast<const char *>(Command(read<P>(args)...));
    const std::size_t n = s ? std::min<std::size_t>(std::strlen(s), INT32_MAX) : 0;
    deliver(s, n, out, length);
    return static_cast<GLint>(n);
  }
};

}  // namespace fgl::text
