// A lean stand-in for libGL for the fuzz harnesses. Every OpenGL 1.0 to 3.3 command
// exists (most do nothing); the commands that take client memory read or
// write exactly the bytes a real implementation would, given the pixel-store
// state, the texture and pixel-map sizes and the enumerants, so that
// AddressSanitizer sees every access the binding's temporaries must cover.
// What a command read or wrote is kept for the harness to check.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz_gl {

struct Store {
  GLint alignment = 4;
  GLint row_length = 0;
  GLint skip_rows = 0;
  GLint skip_pixels = 0;
  GLint image_height = 0;  // 3-D images only
  GLint skip_images = 0;
};

struct State {
  Store unpack, pack;
  GLint tex_width = 0, tex_height = 0;  // every level of every target
  GLint compressed_size = -1;           // every level's compressed size; -1: not compressed
  GLint map_size[10] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  GLenum error = GL_NO_ERROR;
  bool has_string = true;
  std::string string;  // what glGetString returns for any name

  // The last data command: its name, the address it was given, the bytes it
  // read (from the address on, the whole extent), or the bytes it wrote and
  // which of them it wrote.
  std::string command;
  const void *address = nullptr;
  std::vector<std::uint8_t> read;
  std::vector<std::uint8_t> written;
  std::vector<bool> written_mask;
  int calls = 0;
  std::uint32_t fill_seed = 1;  // seeds the bytes that read-back commands write

  // The text commands: the texts OpenGL was given (each read up to its NUL),
  // and the buffer bound to GL_ELEMENT_ARRAY_BUFFER (0: indices are client
  // memory; otherwise the indices pointer is a byte offset, never read).
  std::vector<std::string> texts;
  GLuint element_buffer = 0;
};

State &state();
void reset();

// Components per pixel of a pixel-transfer format; 0 for an invalid one.
int components(GLenum format);
// Bytes per component of a pixel type (1 for GL_BITMAP); 0 for an invalid one.
int type_bytes(GLenum type);

// The extent, in bytes from the data address, of a width x height image of
// format/type under `store`: the offset one past its last pixel byte. 0 when
// the command would fail with an error (bad enumerant, negative size) or the
// image is empty. Also gives, when `pixels` is not null, the offsets of every
// byte that belongs to a pixel (padding and skipped pixels excluded).
std::size_t extent(GLsizei width, GLsizei height, GLenum format, GLenum type, const Store &store,
                   std::vector<std::size_t> *pixels = nullptr);

// Bytes of a whole pixel of a packed type; 0 for any other type.
int packed_bytes(GLenum type);

// The extent of a width x height x depth image: `depth` images of
// image_height rows (height when 0), after skip_images images.
std::size_t extent3d(GLsizei width, GLsizei height, GLsizei depth, GLenum format, GLenum type, const Store &store,
                     std::vector<std::size_t> *pixels = nullptr);

// Values glGetBooleanv writes for pname; 0 for a pname it does not know.
int boolean_count(GLenum pname);

// Bytes per list name of a glCallLists type; 0 for an invalid one.
int list_name_bytes(GLenum type);

}  // namespace fuzz_gl
