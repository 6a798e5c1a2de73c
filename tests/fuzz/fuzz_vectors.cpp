// Fuzzes the narrow-integer vector entries: each must read exactly its
// components from the caller's vector (allocated at exactly that size) and
// hand OpenGL the least significant 8 or 16 bits of each, in order.
#include "fgl.h"
#include "fuzz_common.h"

namespace {

struct VectorEntry {
  void (*i4)(const GLint *);
  void (*i2)(const GLshort *);
  int components;
  int gl_bytes;  // width of one OpenGL component: 1 or 2
};

const VectorEntry entries[] = {
    {fglColor3bvI4, nullptr, 3, 1},    {nullptr, fglColor3bvI2, 3, 1},    {fglColor3ubvI4, nullptr, 3, 1},
    {nullptr, fglColor3ubvI2, 3, 1},   {fglColor4bvI4, nullptr, 4, 1},    {nullptr, fglColor4bvI2, 4, 1},
    {fglColor4ubvI4, nullptr, 4, 1},   {nullptr, fglColor4ubvI2, 4, 1},   {fglNormal3bvI4, nullptr, 3, 1},
    {nullptr, fglNormal3bvI2, 3, 1},   {fglColor3svI4, nullptr, 3, 2},    {fglColor3usvI4, nullptr, 3, 2},
    {fglColor4svI4, nullptr, 4, 2},    {fglColor4usvI4, nullptr, 4, 2},   {fglIndexsvI4, nullptr, 1, 2},
    {fglNormal3svI4, nullptr, 3, 2},   {fglRasterPos2svI4, nullptr, 2, 2}, {fglRasterPos3svI4, nullptr, 3, 2},
    {fglRasterPos4svI4, nullptr, 4, 2}, {fglTexCoord1svI4, nullptr, 1, 2}, {fglTexCoord2svI4, nullptr, 2, 2},
    {fglTexCoord3svI4, nullptr, 3, 2}, {fglTexCoord4svI4, nullptr, 4, 2}, {fglVertex2svI4, nullptr, 2, 2},
    {fglVertex3svI4, nullptr, 3, 2},   {fglVertex4svI4, nullptr, 4, 2},
};
constexpr int kEntries = sizeof entries / sizeof entries[0];

// Component i as OpenGL read it.
std::uint32_t gl_item(int width, std::size_t i) {
  const auto &r = fuzz_gl::state().read;
  std::uint32_t v = r[i * width];
  if (width == 2) v |= std::uint32_t{r[i * width + 1]} << 8;
  return v;
}

template <typename Elem>
void check_items(const Elem *elems, std::size_t n, int width) {
  const std::uint32_t mask = width == 1 ? 0xffu : 0xffffu;
  fuzz::check(fuzz_gl::state().read.size() == n * static_cast<std::size_t>(width), "OpenGL read another size");
  for (std::size_t i = 0; i < n; ++i) {
    fuzz::check(gl_item(width, i) == (static_cast<std::uint32_t>(elems[i]) & mask), "a component is not the element's low bits");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  fuzz_gl::reset();
  auto &gl = fuzz_gl::state();
  const int which = in.ConsumeIntegralInRange(0, kEntries + 1);
  if (which < kEntries) {
    const VectorEntry &e = entries[which];
    const std::size_t k = static_cast<std::size_t>(e.components);
    if (e.i4) {
      fuzz::CallerArray<GLint> v(in, k);
      e.i4(v.data);
      fuzz::check(gl.calls == 1, "OpenGL was not called once");
      check_items(v.data, k, e.gl_bytes);
    } else {
      fuzz::CallerArray<GLshort> v(in, k);
      e.i2(v.data);
      fuzz::check(gl.calls == 1, "OpenGL was not called once");
      check_items(v.data, k, e.gl_bytes);
    }
  } else if (which == kEntries) {
    fuzz::CallerArray<GLint> a(in, 2), b(in, 2);
    fglRectsvI4(a.data, b.data);
    fuzz::check(gl.calls == 1, "glRectsv was not called once");
    const GLint both[4] = {a.data[0], a.data[1], b.data[0], b.data[1]};
    check_items(both, 4, 2);
  } else {
    // The flag vector: count elements (at least 1 by contract; 0 and negative
    // counts must still read nothing of the caller's storage).
    const GLint count = in.ConsumeIntegralInRange(-2, 64);
    fuzz::CallerArray<GLint> flags(in, count > 0 ? static_cast<std::size_t>(count) : 0);
    fglEdgeFlagvI4(flags.data, &count);
    fuzz::check(gl.calls == 1, "glEdgeFlagv was not called once");
    const std::uint8_t want = count > 0 ? static_cast<std::uint8_t>(flags.data[0]) : 0;
    fuzz::check(gl.read.size() == 1 && gl.read[0] == want, "the flag is not the first element's low byte");
  }
  return 0;
}
