// Helpers shared by the OpenGL-layer fuzz harnesses.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_gl.h"

namespace fuzz {

inline void check(bool ok, const char *what) {
  if (!ok) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
  }
}

// A caller's array of exactly n elements on the heap, so that any access past
// it is an AddressSanitizer report; filled from the input.
template <typename Elem>
struct CallerArray {
  CallerArray(FuzzedDataProvider &in, std::size_t n) : n(n) {
    data = static_cast<Elem *>(std::malloc(n * sizeof(Elem) + (n == 0)));
    for (std::size_t i = 0; i < n; ++i) {
      data[i] = in.remaining_bytes() ? in.ConsumeIntegral<Elem>() : static_cast<Elem>(i * 2654435761u);
    }
  }
  ~CallerArray() { std::free(data); }
  CallerArray(const CallerArray &) = delete;
  CallerArray &operator=(const CallerArray &) = delete;
  Elem *data;
  std::size_t n;
};

// One of `values`, or now and then any 32-bit value.
inline GLenum pick(FuzzedDataProvider &in, std::initializer_list<GLenum> values) {
  const std::size_t i = in.ConsumeIntegralInRange<std::size_t>(0, values.size());
  return i < values.size() ? values.begin()[i] : in.ConsumeIntegral<GLenum>();
}

inline fuzz_gl::Store pick_store(FuzzedDataProvider &in) {
  fuzz_gl::Store s;
  static const GLint alignments[] = {1, 2, 4, 8};
  s.alignment = alignments[in.ConsumeIntegralInRange(0, 3)];
  s.row_length = in.ConsumeBool() ? 0 : in.ConsumeIntegralInRange(0, 48);
  s.skip_rows = in.ConsumeIntegralInRange(0, 5);
  s.skip_pixels = in.ConsumeIntegralInRange(0, 11);
  return s;
}

}  // namespace fuzz
