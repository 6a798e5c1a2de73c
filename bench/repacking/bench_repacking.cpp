// Throughput of the pixel entries' conversion against memcpy of the same
// bytes, over a do-nothing libGL, so that only the binding's own work is
// timed: fglDrawPixelsI4 narrows 4-byte caller elements into the bytes
// OpenGL reads; fglReadPixelsI4 widens the bytes OpenGL writes into 4-byte
// caller elements. The reference copies the caller's array (the 4-byte
// elements that the entry reads, or writes) with memcpy. Sizes: a 64x64 and a
// 640x480 RGBA image of GL_UNSIGNED_BYTE, one element per component.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "fgl.h"

namespace {

GLint items(const benchmark::State &state) { return static_cast<GLint>(state.range(0) * state.range(1) * 4); }

void draw_fgl(benchmark::State &state) {
  const GLsizei width = static_cast<GLsizei>(state.range(0)), height = static_cast<GLsizei>(state.range(1));
  const GLenum format = GL_RGBA, type = GL_UNSIGNED_BYTE;
  const GLint count = items(state);
  std::vector<GLint> pixels(static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<GLint>(i * 7);
  for (auto _ : state) {
    fglDrawPixelsI4(&width, &height, &format, &type, pixels.data(), &count);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * count * static_cast<int64_t>(sizeof(GLint)));
}

void read_fgl(benchmark::State &state) {
  const GLint x = 0, y = 0;
  const GLsizei width = static_cast<GLsizei>(state.range(0)), height = static_cast<GLsizei>(state.range(1));
  const GLenum format = GL_RGBA, type = GL_UNSIGNED_BYTE;
  const GLint count = items(state);
  std::vector<GLint> pixels(static_cast<std::size_t>(count));
  for (auto _ : state) {
    fglReadPixelsI4(&x, &y, &width, &height, &format, &type, pixels.data(), &count);
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * count * static_cast<int64_t>(sizeof(GLint)));
}

void memcpy_same_bytes(benchmark::State &state) {
  const std::size_t bytes = static_cast<std::size_t>(items(state)) * sizeof(GLint);
  std::vector<char> from(bytes, 1), to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}

void sizes(benchmark::internal::Benchmark *b) { b->Args({64, 64})->Args({640, 480}); }

}  // namespace

BENCHMARK(draw_fgl)->Name("DrawPixelsI4/fgl")->Apply(sizes);
BENCHMARK(read_fgl)->Name("ReadPixelsI4/fgl")->Apply(sizes);
BENCHMARK(memcpy_same_bytes)->Name("memcpy")->Apply(sizes);
BENCHMARK_MAIN();
