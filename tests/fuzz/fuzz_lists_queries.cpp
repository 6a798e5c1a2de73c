// Fuzzes the display-list and query entries: glCallLists through the I4, I2
// and P entries with any count and name type, glGetBooleanv into 4-byte
// elements, and random sequences of the three string entries (fglGetString,
// fglGetStringCopy, fglGetStringRelease) against strings of any bytes; the
// CHARACTER text entries (a name in, a shader's array of lines in, a log, an
// active uniform's name and an indexed string out) with any hidden length,
// negative and large ones included, each caller variable allocated at exactly
// its length; the packed text-in entries with any words, counts and start
// positions; and the draw-elements offset entries with any offset.
#include "fgl.h"
#include "fuzz_common.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

using fuzz::check;
using fuzz_gl::state;

constexpr std::initializer_list<GLenum> kListTypes = {GL_BYTE,  GL_UNSIGNED_BYTE, GL_SHORT,   GL_UNSIGNED_SHORT,
                                                      GL_INT,   GL_UNSIGNED_INT,  GL_FLOAT,   GL_2_BYTES,
                                                      GL_3_BYTES, GL_4_BYTES};

// Bytes per converted item of an entry (0: the caller's array goes to
// OpenGL unchanged) and caller elements read per list name.
struct Path {
  int item;
  int per_name;
};
Path path(int storage, GLenum type) {
  const int multi = type == GL_2_BYTES ? 2 : type == GL_3_BYTES ? 3 : type == GL_4_BYTES ? 4 : 0;
  if (storage == 2) return {1, 0};  // P: always bytes, count given separately
  if (type == GL_BYTE || type == GL_UNSIGNED_BYTE) return {1, 1};
  if (multi) return {1, multi};
  if (storage == 0 && (type == GL_SHORT || type == GL_UNSIGNED_SHORT)) return {2, 1};
  // 4-byte names from 2-byte elements: one name per element, by value.
  if (storage == 1 && (type == GL_INT || type == GL_UNSIGNED_INT || type == GL_FLOAT)) return {4, 1};
  return {0, 0};
}

void fuzz_call_lists(FuzzedDataProvider &in) {
  const int storage = in.ConsumeIntegralInRange(0, 2);  // I4, I2, P
  const GLenum type = fuzz::pick(in, kListTypes);
  GLsizei n = in.ConsumeIntegralInRange(-2, 64);
  const int name_bytes = fuzz_gl::list_name_bytes(type);
  const std::size_t gl_bytes = n > 0 ? static_cast<std::size_t>(n) * static_cast<std::size_t>(name_bytes) : 0;
  const Path p = path(storage, type);
  const std::size_t elem = storage == 1 ? 2 : 4;
  std::size_t elements;
  GLint count = 0;
  if (storage == 2) {
    count = static_cast<GLint>(gl_bytes) + in.ConsumeIntegralInRange(0, 3);
    elements = static_cast<std::size_t>(count);
  } else if (p.item > 0) {
    elements = n > 0 ? static_cast<std::size_t>(n) * static_cast<std::size_t>(p.per_name) : 0;
  } else {
    elements = (gl_bytes + elem - 1) / elem;
  }
  auto &gl = state();
  auto verify = [&](const auto *elems) {
    if (gl.command != "glCallLists") return;
    check(gl.read.size() == gl_bytes, "OpenGL read another number of name bytes");
    if (p.item == 0) {
      check(gl.address == elems, "the unchanged path did not pass the caller's array");
      return;
    }
    const std::uint32_t mask = p.item == 1 ? 0xffu : 0xffffu;
    for (std::size_t i = 0; i < gl_bytes / static_cast<std::size_t>(p.item); ++i) {
      std::uint32_t v = 0;
      std::memcpy(&v, &gl.read[i * p.item], static_cast<std::size_t>(p.item));
      std::uint32_t want = static_cast<std::uint32_t>(elems[i]) & mask;
      if (p.item == 4) {
        const float f = static_cast<float>(elems[i]);
        if (type == GL_FLOAT) std::memcpy(&want, &f, 4);
        if (type == GL_INT) want = static_cast<std::uint32_t>(static_cast<std::int32_t>(elems[i]));
        if (type == GL_UNSIGNED_INT) want = static_cast<std::uint16_t>(elems[i]);
      }
      check(v == want, "a list name item is not its element's");
    }
  };
  if (storage == 1) {
    fuzz::CallerArray<GLshort> a(in, elements);
    fglCallListsI2(&n, &type, a.data);
    verify(a.data);
  } else {
    fuzz::CallerArray<GLint> a(in, elements);
    if (storage == 0) fglCallListsI4(&n, &type, a.data);
    else fglCallListsP(&n, &type, a.data, &count);
    verify(a.data);
  }
  (void)elem;
}

void fuzz_get_booleans(FuzzedDataProvider &in) {
  const GLenum pname = fuzz::pick(in, {GL_LIGHTING, GL_DEPTH_WRITEMASK, GL_COLOR_WRITEMASK, GL_CURRENT_NORMAL,
                                       GL_MODELVIEW_MATRIX, GL_DEPTH_RANGE, GL_VIEWPORT, GL_TEXTURE_MATRIX});
  const int n = fuzz_gl::boolean_count(pname);
  const GLint count = n + in.ConsumeIntegralInRange(0, 3);
  fuzz::CallerArray<GLint> a(in, static_cast<std::size_t>(count));
  const std::vector<GLint> before(a.data, a.data + a.n);
  fglGetBooleanvI4(&pname, a.data, &count);
  auto &gl = state();
  const int written = gl.command == "glGetBooleanv" ? n : 0;
  for (int i = 0; i < written; ++i) check(a.data[i] == gl.written[static_cast<std::size_t>(i)], "a boolean is not 0 or 1 as OpenGL wrote it");
  for (GLint i = written; i < count; ++i) check(a.data[i] == before[static_cast<std::size_t>(i)], "an element OpenGL did not write changed");
}

// A sequence of string operations, checked against a model of the store.
void fuzz_strings(FuzzedDataProvider &in) {
  auto &gl = state();
  // Each input starts from an empty store, so that a failure reproduces
  // from its input alone.
  fglGetStringRelease();
  std::string held;  // what the store holds, as the model sees it
  bool holding = false;
  for (int step = 0; step < 8 && in.remaining_bytes() > 0; ++step) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
      case 0: {
        gl.has_string = in.ConsumeIntegralInRange(0, 7) != 0;
        gl.string = in.ConsumeRandomLengthString(600);
        const GLenum name = fuzz::pick(in, {GL_VENDOR, GL_RENDERER, GL_VERSION, GL_EXTENSIONS});
        const GLint length = fglGetString(&name);
        held = gl.has_string ? std::string(gl.string.c_str()) : std::string();
        holding = true;
        check(length == static_cast<GLint>(held.size()), "fglGetString returned another length");
        break;
      }
      case 1: {
        // Exactly as many words as the last length (none when empty).
        const std::size_t n = holding ? held.size() : 0;
        GLint *words = static_cast<GLint *>(std::malloc(n * sizeof(GLint) + (n == 0)));
        fglGetStringCopy(words);
        for (std::size_t i = 0; i < n; ++i) {
          check(words[i] == static_cast<GLint>(static_cast<signed char>(held[i])), "a copied word is not its character sign-extended");
        }
        std::free(words);
        break;
      }
      case 2:
        fglGetStringRelease();
        held.clear();
        holding = false;
        break;
      default: {
        const GLenum error = fuzz::pick(in, {GL_NO_ERROR, GL_INVALID_ENUM, GL_INVALID_VALUE, GL_INVALID_OPERATION,
                                             GL_STACK_OVERFLOW, GL_STACK_UNDERFLOW, GL_OUT_OF_MEMORY});
        gl.error = error;
        check(fglGetError() == error, "fglGetError did not return OpenGL's error");
        check(fglGetError() == GL_NO_ERROR, "fglGetError did not clear OpenGL's error");
        break;
      }
    }
  }
}

// What OpenGL reads of a text handed to it: up to the first NUL.
std::string up_to_nul(const std::string &t) { return t.substr(0, t.find('\0')); }

// The caller's CHARACTER variable: exactly `length` bytes (none when the
// length is not positive) from the input, with trailing blanks now and then.
struct Character {
  Character(FuzzedDataProvider &in, int length) : n(length > 0 ? static_cast<std::size_t>(length) : 0) {
    p = static_cast<char *>(std::malloc(n + (n == 0)));
    std::string bytes = in.ConsumeBytesAsString(n);
    const std::size_t blanks = in.ConsumeIntegralInRange<std::size_t>(0, n);
    bytes.resize(n, ' ');
    std::memset(bytes.data() + (n - blanks), ' ', blanks);
    if (n) std::memcpy(p, bytes.data(), n);
  }
  ~Character() { std::free(p); }
  Character(const Character &) = delete;
  Character &operator=(const Character &) = delete;
  // Bytes [from, from + length) without their trailing blanks.
  std::string trimmed(std::size_t from, std::size_t length) const {
    std::size_t e = length;
    while (e > 0 && p[from + e - 1] == ' ') --e;
    return std::string(p + from, e);
  }
  char *p;
  std::size_t n;
};

// A hidden length: mostly small, sometimes any negative value or a large one.
int hidden_length(FuzzedDataProvider &in) {
  switch (in.ConsumeIntegralInRange(0, 7)) {
    case 0: return in.ConsumeIntegralInRange(INT32_MIN, -1);
    case 1: return in.ConsumeIntegralInRange(4096, 1 << 20);
    default: return in.ConsumeIntegralInRange(-2, 300);
  }
}

void fuzz_text(FuzzedDataProvider &in) {
  auto &gl = state();
  const GLuint object = in.ConsumeIntegral<GLuint>();
  switch (in.ConsumeIntegralInRange(0, 4)) {
    case 0: {  // a name in
      const int length = hidden_length(in);
      Character name(in, length);
      check(fglGetUniformLocationC(&object, name.p, length) == 7, "fglGetUniformLocationC lost OpenGL's result");
      check(gl.texts.size() == 1 && gl.texts[0] == up_to_nul(name.trimmed(0, name.n)), "OpenGL saw another name");
      break;
    }
    case 1: {  // a shader's lines: COUNT elements of the hidden length each
      const GLsizei count = in.ConsumeIntegralInRange(-3, 24);
      const int length = in.ConsumeBool() ? in.ConsumeIntegralInRange(INT32_MIN, 0) : in.ConsumeIntegralInRange(1, 200);
      const std::size_t each = length > 0 ? static_cast<std::size_t>(length) : 0;
      const std::size_t lines = count > 0 ? static_cast<std::size_t>(count) : 0;
      Character text(in, static_cast<int>(each * lines));
      fglShaderSourceC(&object, &count, text.p, length);
      if (count < 0) {
        check(gl.error == GL_INVALID_VALUE, "a negative count did not reach OpenGL");
        break;
      }
      check(gl.texts.size() == lines, "OpenGL got another number of lines");
      for (std::size_t i = 0; i < lines; ++i) {
        const std::string want = up_to_nul(text.trimmed(i * each, each) + '\n');
        check(gl.texts[i] == want, "a line reached OpenGL changed");
      }
      break;
    }
    case 3: {  // packed words: a name, or a shader's lines by their start positions
      const std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, 300);
      std::vector<GLint> words(n + 1);
      for (std::size_t k = 0; k < n; ++k) words[k] = in.ConsumeIntegral<GLint>();
      auto text_of = [&](std::size_t from, std::size_t to) {
        std::string t;
        for (std::size_t k = from; k < to; ++k) t += static_cast<char>(words[k] & 0xff);
        return t;
      };
      if (in.ConsumeBool()) {
        const GLint count = in.ConsumeIntegralInRange<GLint>(-3, static_cast<GLint>(n));
        check(fglGetUniformLocationP(&object, words.data(), &count) == 7, "fglGetUniformLocationP lost OpenGL's result");
        check(gl.texts.size() == 1 && gl.texts[0] == up_to_nul(text_of(0, count > 0 ? count : 0)),
              "OpenGL saw another packed name");
        break;
      }
      const GLsizei count = in.ConsumeIntegralInRange(-3, 24);
      // COUNT+1 start positions, 1-based, within the words (in any order).
      std::vector<GLint> starts(count > 0 ? count + 1 : 1);
      for (auto &at : starts) at = in.ConsumeIntegralInRange<GLint>(1, static_cast<GLint>(n) + 1);
      fglShaderSourceP(&object, &count, words.data(), starts.data());
      if (count < 0) {
        check(gl.error == GL_INVALID_VALUE, "a negative count did not reach OpenGL");
        break;
      }
      check(gl.texts.size() == static_cast<std::size_t>(count), "OpenGL got another number of packed lines");
      for (GLsizei i = 0; i < count; ++i) {
        const std::size_t from = starts[i] - 1, to = starts[i + 1] - 1;
        check(gl.texts[i] == up_to_nul((to > from ? text_of(from, to) : std::string()) + '\n'),
              "a packed line reached OpenGL changed");
      }
      break;
    }
    default: {  // text out: a log, an active uniform's name, an indexed string
      const int length = hidden_length(in);
      gl.string = in.ConsumeRandomLengthString(in.ConsumeBool() ? 100 : 3000);
      gl.has_string = in.ConsumeIntegralInRange(0, 7) != 0;
      const std::size_t room = length > 0 ? static_cast<std::size_t>(length) : 0;
      char *out = static_cast<char *>(std::malloc(room + (room == 0)));
      std::string text = gl.string;
      GLint got;
      if (in.ConsumeBool()) {
        got = fglGetShaderInfoLogC(&object, out, length);
      } else if (in.ConsumeBool()) {
        const GLuint index = 0;
        GLint size = 0;
        GLenum type = 0;
        got = fglGetActiveUniformC(&object, &index, &size, &type, out, length);
        check(size == 1 && type == GL_FLOAT_VEC3, "fglGetActiveUniformC lost the size or type");
      } else {
        const GLenum name = GL_EXTENSIONS;
        got = fglGetStringiC(&name, &object, out, length);
        text = gl.has_string ? std::string(gl.string.c_str()) : std::string();
      }
      check(got == static_cast<GLint>(text.size()), "a text-out entry returned another length");
      text.resize(std::max(room, text.size()), ' ');
      check(std::memcmp(out, text.data(), room) == 0, "a text-out entry delivered another text or padding");
      std::free(out);
      break;
    }
  }
}

// Buffer data whose size is held in 4 or 8 bytes, from a caller's array of
// exactly that size; then draw-elements indices as a byte offset into the
// bound element buffer.
void fuzz_offsets(FuzzedDataProvider &in) {
  auto &gl = state();
  {
    const GLenum target = GL_ARRAY_BUFFER, usage = GL_STATIC_DRAW;
    const GLint size = in.ConsumeIntegralInRange(-3, 4096);
    const GLint offset = in.ConsumeIntegralInRange(-1, 64);
    const std::string bytes = in.ConsumeBytesAsString(size > 0 ? static_cast<std::size_t>(size) : 0);
    const std::size_t n = size > 0 ? static_cast<std::size_t>(size) : 0;
    char *data = static_cast<char *>(std::malloc(n + (n == 0)));
    std::memset(data, 'b', n);
    std::memcpy(data, bytes.data(), bytes.size());
    const int form = in.ConsumeIntegralInRange(0, 2);
    if (form == 0) {
      fglBufferDataI4(&target, &size, data, &usage);
    } else if (form == 1) {
      const GLsizeiptr wide = size;
      fglBufferData(&target, &wide, data, &usage);
    } else {
      fglBufferSubDataI4(&target, &offset, &size, data);
    }
    const bool bad = size < 0 || (form == 2 && offset < 0);
    check(bad ? gl.error == GL_INVALID_VALUE : gl.read.size() == n && (n == 0 || std::memcmp(gl.read.data(), data, n) == 0),
          "OpenGL read other buffer data");
    std::free(data);
    fuzz_gl::reset();
  }
  const GLenum target = GL_ELEMENT_ARRAY_BUFFER, mode = GL_TRIANGLES;
  const GLuint buffer = in.ConsumeIntegralInRange<GLuint>(1, 9);
  fglBindBuffer(&target, &buffer);
  const GLsizei count = in.ConsumeIntegralInRange(0, 1 << 20);
  const GLenum type = fuzz::pick(in, {GL_UNSIGNED_BYTE, GL_UNSIGNED_SHORT, GL_UNSIGNED_INT});
  const void *want;
  if (in.ConsumeBool()) {
    const GLint offset = in.ConsumeIntegral<GLint>();
    fglDrawElementsOffsetI4(&mode, &count, &type, &offset);
    want = reinterpret_cast<const void *>(static_cast<std::intptr_t>(offset));
  } else {
    const GLint64 offset = in.ConsumeIntegral<GLint64>();
    fglDrawElementsOffset(&mode, &count, &type, &offset);
    want = reinterpret_cast<const void *>(static_cast<std::intptr_t>(offset));
  }
  if (gl.error == GL_NO_ERROR) check(gl.command == "glDrawElements" && gl.address == want, "OpenGL got another offset");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  fuzz_gl::reset();
  state().fill_seed = in.ConsumeIntegral<std::uint32_t>();
  switch (in.ConsumeIntegralInRange(0, 4)) {
    case 0: fuzz_call_lists(in); break;
    case 1: fuzz_get_booleans(in); break;
    case 2: fuzz_text(in); break;
    case 3: fuzz_offsets(in); break;
    default: fuzz_strings(in); break;
  }
  return 0;
}
