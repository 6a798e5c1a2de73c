// The caller's storage of pixel data, shared by every entry that passes image
// data in 4-byte, 2-byte or packed character storage (the OpenGL pixel
// entries and the GLU image entries): which items are narrowed into a
// temporary on the way in and widened out of one on the way back, by the
// pixel type and the storage.
#pragma once

#include <GL/gl.h>

#include <type_traits>

#include "repack.h"

namespace fgl::repack {

// Sends caller elements into OpenGL, switching on the type argument: byte
// types (and GL_BITMAP) are narrowed to bytes; short types are narrowed to
// shorts when the caller's elements are wider; any other type passes the
// caller's array unchanged.
template <typename Elem, typename Size, typename Command>
void send_typed(GLenum type, const Elem *data, GLint count, Size gl_bytes, Command command) {
  switch (type) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE:
    case GL_BITMAP:
      return send<GLubyte>(data, non_negative(count), gl_bytes, command);
    case GL_SHORT:
    case GL_UNSIGNED_SHORT:
      if constexpr (sizeof(Elem) > sizeof(GLushort)) {
        return send<GLushort>(data, non_negative(count), gl_bytes, command);
      }
      break;
    default:
      break;
  }
  command(data);
}

// Receives data from OpenGL into caller elements, switching on the type:
// signed types are sign-extended, unsigned ones and GL_BITMAP zero-extended;
// short types go straight into 2-byte elements; any other type lets OpenGL
// write into the caller's array.
template <typename Elem, typename Size, typename Command>
void receive_typed(GLenum type, Elem *data, GLint count, Size gl_bytes, Command command) {
  switch (type) {
    case GL_BYTE:
      return receive<GLbyte>(data, non_negative(count), gl_bytes, command);
    case GL_UNSIGNED_BYTE:
    case GL_BITMAP:
      return receive<GLubyte>(data, non_negative(count), gl_bytes, command);
    case GL_SHORT:
      if constexpr (sizeof(Elem) > sizeof(GLshort)) {
        return receive<GLshort>(data, non_negative(count), gl_bytes, command);
      }
      break;
    case GL_UNSIGNED_SHORT:
      if constexpr (sizeof(Elem) > sizeof(GLushort)) {
        return receive<GLushort>(data, non_negative(count), gl_bytes, command);
      }
      break;
    default:
      break;
  }
  command(data);
}

// A packed character array going in: byte i is the low byte of word i,
// whatever the type.
template <typename Size, typename Command>
void send_packed(const GLint *words, GLint count, Size gl_bytes, Command command) {
  send<GLubyte>(words, non_negative(count), gl_bytes, command);
}

// A packed character array coming out: word i receives byte i, zero-extended.
template <typename Size, typename Command>
void receive_packed(GLint *words, GLint count, Size gl_bytes, Command command) {
  receive<GLubyte>(words, non_negative(count), gl_bytes, command);
}

// The entries of one command differ only in the caller's storage, which
// Storage names: the element type (for I4 and I2) or packed words (P).
struct Packed {};
template <typename Storage>
using DataOf = std::conditional_t<std::is_same_v<Storage, Packed>, GLint, Storage>;

template <typename Storage, typename Size, typename Command>
void into_gl(GLenum type, const DataOf<Storage> *data, GLint count, Size gl_bytes, Command command) {
  if constexpr (std::is_same_v<Storage, Packed>) {
    send_packed(data, count, gl_bytes, command);
  } else {
    send_typed(type, data, count, gl_bytes, command);
  }
}

template <typename Storage, typename Size, typename Command>
void out_of_gl(GLenum type, DataOf<Storage> *data, GLint count, Size gl_bytes, Command command) {
  if constexpr (std::is_same_v<Storage, Packed>) {
    receive_packed(data, count, gl_bytes, command);
  } else {
    receive_typed(type, data, count, gl_bytes, command);
  }
}

}  // namespace fgl::repack
