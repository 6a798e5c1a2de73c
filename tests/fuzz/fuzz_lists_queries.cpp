// Fuzzes the display-list and query entries: glCallLists through the I4, I2
// and P entries with any count and name type, glGetBooleanv into 4-byte
// elements, and random sequences of the three string entries (fglGetString,
// fglGetStringCopy, fglGetStringRelease) against strings of any bytes.
#include "fgl.h"
#include "fuzz_common.h"

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  fuzz_gl::reset();
  state().fill_seed = in.ConsumeIntegral<std::uint32_t>();
  switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0: fuzz_call_lists(in); break;
    case 1: fuzz_get_booleans(in); break;
    default: fuzz_strings(in); break;
  }
  return 0;
}
