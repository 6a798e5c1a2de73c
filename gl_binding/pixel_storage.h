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

// Bytes of one OpenGL item of a pixel type: one component, or one whole
// pixel of a packed type; GL_BITMAP items are bytes of 8 pixels. An unknown
// type counts as four bytes.
inline std::size_t item_bytes(GLenum type) {
  switch (type) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE:
    case GL_BITMAP:
      return 1;
    case GL_SHORT:
    case GL_UNSIGNED_SHORT:
      return 2;
    default: {
      const std::size_t packed = packed_pixel_bytes(type);
      return packed ? packed : 4;
    }
  }
}

// Sends caller elements into OpenGL, one item per element whatever the
// widths, switching on the type argument: items narrower than the elements
// (bytes, shorts from 4-byte elements) are their low bits; items as wide as
// the elements pass in the caller's array when the count covers what OpenGL
// reads; 4-byte items from 2-byte elements are the elements' values (sign-
// extended for GL_INT, zero-extended for the unsigned types, converted for
// GL_FLOAT). Every path but the pass-through goes through a temporary that
// holds the count's items and zeros past them.
template <typename Elem, typename Size, typename Command>
void send_typed(GLenum type, const Elem *data, GLint count, Size gl_bytes, Command command) {
  const std::size_t n = non_negative(count);
  switch (item_bytes(type)) {
    case 1:
      return send<GLubyte>(data, n, gl_bytes, command);
    case 2:
      if constexpr (sizeof(Elem) > sizeof(GLushort)) {
        return send<GLushort>(data, n, gl_bytes, command);
      } else {
        return send_same(data, n, gl_bytes, command);
      }
    default:
      if constexpr (sizeof(Elem) == sizeof(GLint)) {
        return send_same(data, n, gl_bytes, command);
      } else if (type == GL_FLOAT) {
        return send<GLfloat>(data, n, gl_bytes, command);
      } else if (type == GL_INT) {
        return send<GLint>(data, n, gl_bytes, command);
      } else {
        return send<GLuint>(reinterpret_cast<const std::make_unsigned_t<Elem> *>(data), n, gl_bytes, command);
      }
  }
}

// Receives data from OpenGL into caller elements, one item per element, only
// where OpenGL wrote: signed items are sign-extended, unsigned ones, GL_BITMAP
// and the packed byte and short types zero-extended; items as wide as the
// elements are written by OpenGL into the caller's array when the count
// covers what OpenGL may write; 4-byte items into 2-byte elements keep their
// low 16 bits (GL_FLOAT values are rounded toward zero and saturated).
template <typename Elem, typename Where, typename Command>
void receive_typed(GLenum type, Elem *data, GLint count, Where gl_written, Command command) {
  const std::size_t n = non_negative(count);
  switch (item_bytes(type)) {
    case 1:
      if (type == GL_BYTE) return receive_written<GLbyte>(data, n, gl_written, command);
      return receive_written<GLubyte>(data, n, gl_written, command);
    case 2:
      if constexpr (sizeof(Elem) > sizeof(GLushort)) {
        if (type == GL_SHORT) return receive_written<GLshort>(data, n, gl_written, command);
        return receive_written<GLushort>(data, n, gl_written, command);
      } else {
        return receive_same(data, n, gl_written, command);
      }
    default:
      if constexpr (sizeof(Elem) == sizeof(GLint)) {
        return receive_same(data, n, gl_written, command);
      } else if (type == GL_FLOAT) {
        return receive_written<GLfloat>(data, n, gl_written, command);
      } else {
        return receive_written<GLuint>(reinterpret_cast<std::make_unsigned_t<Elem> *>(data), n, gl_written, command);
      }
  }
}

// A packed character array going in: byte i is the low byte of word i,
// whatever the type.
template <typename Size, typename Command>
void send_packed(const GLint *words, GLint count, Size gl_bytes, Command command) {
  send<GLubyte>(words, non_negative(count), gl_bytes, command);
}

// A packed character array coming out: word i receives byte i, zero-extended.
template <typename Where, typename Command>
void receive_packed(GLint *words, GLint count, Where gl_written, Command command) {
  receive_written<GLubyte>(words, non_negative(count), gl_written, command);
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

template <typename Storage, typename Where, typename Command>
void out_of_gl(GLenum type, DataOf<Storage> *data, GLint count, Where gl_written, Command command) {
  if constexpr (std::is_same_v<Storage, Packed>) {
    receive_packed(data, count, gl_written, command);
  } else {
    receive_typed(type, data, count, gl_written, command);
  }
}

}  // namespace fgl::repack
