// Benchmarks shared by the do-nothing and the Mesa programs: direct calls of
// an OpenGL command against the same calls through its forwarding entry.
// Both loops read their arguments from memory on every iteration (the
// arguments' addresses escape and memory is clobbered), as a caller that
// passes variables by address would.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>

#include "fgl.h"

namespace bench {

// Runs `direct` and `through` (each a block of `calls` calls) in alternation,
// swapping their order every iteration, and reports ns per call of each and
// their ratio. Timing the two side by side in short blocks keeps drift of
// the machine (other load, frequency, allocator state) out of the ratio.
template <typename Direct, typename Through>
void paired(benchmark::State &state, int calls, Direct direct, Through through) {
  using clock = std::chrono::steady_clock;
  clock::duration direct_time{}, through_time{};
  bool direct_first = true;
  for (auto _ : state) {
    auto t0 = clock::now();
    if (direct_first) {
      direct();
    } else {
      through();
    }
    auto t1 = clock::now();
    if (direct_first) {
      through();
    } else {
      direct();
    }
    auto t2 = clock::now();
    direct_time += direct_first ? t1 - t0 : t2 - t1;
    through_time += direct_first ? t2 - t1 : t1 - t0;
    direct_first = !direct_first;
  }
  double n = static_cast<double>(state.iterations()) * calls;
  double d = std::chrono::duration<double, std::nano>(direct_time).count();
  double t = std::chrono::duration<double, std::nano>(through_time).count();
  state.counters["direct_ns"] = d / n;
  state.counters["fgl_ns"] = t / n;
  state.counters["added_ns"] = (t - d) / n;
  state.counters["ratio"] = t / d;
}

// Vertices per block, issued between one glBegin/glEnd pair (a vertex outside
// one is not a complete command); outside the view volume, so nothing is drawn.
constexpr int kVertices = 256;

inline void vertex3f(benchmark::State &state) {
  GLfloat x = 2.0f, y = 3.0f, z = 5.0f;
  GLenum points = GL_POINTS;
  benchmark::DoNotOptimize(&x);
  benchmark::DoNotOptimize(&y);
  benchmark::DoNotOptimize(&z);
  paired(
      state, kVertices,
      [&] {
        glBegin(GL_POINTS);
        for (int i = 0; i < kVertices; ++i) {
          benchmark::ClobberMemory();
          glVertex3f(x, y, z);
        }
        glEnd();
      },
      [&] {
        fglBegin(&points);
        for (int i = 0; i < kVertices; ++i) {
          benchmark::ClobberMemory();
          fglVertex3f(&x, &y, &z);
        }
        fglEnd();
      });
}

constexpr int kBlock = 512;

inline void color3ubI4(benchmark::State &state) {
  GLint r = 255, g = 128, b = 0;  // 4-byte storage, as the I4 entry gets it
  benchmark::DoNotOptimize(&r);
  benchmark::DoNotOptimize(&g);
  benchmark::DoNotOptimize(&b);
  paired(
      state, kBlock,
      [&] {
        for (int i = 0; i < kBlock; ++i) {
          benchmark::ClobberMemory();
          glColor3ub(static_cast<GLubyte>(r), static_cast<GLubyte>(g), static_cast<GLubyte>(b));
        }
      },
      [&] {
        for (int i = 0; i < kBlock; ++i) {
          benchmark::ClobberMemory();
          fglColor3ubI4(reinterpret_cast<const GLubyte *>(&r), reinterpret_cast<const GLubyte *>(&g),
                        reinterpret_cast<const GLubyte *>(&b));
        }
      });
}

// A bicubic patch of 4 x 4 control points with 3 coordinates each.
struct Patch {
  GLenum target = GL_MAP2_VERTEX_3;
  GLdouble u1 = 0.0, u2 = 1.0, v1 = 0.0, v2 = 1.0;
  GLint ustride = 3, uorder = 4, vstride = 12, vorder = 4;
  GLdouble points[48];
  Patch() {
    for (int i = 0; i < 48; ++i) points[i] = 0.125 * i;
  }
};

constexpr int kMaps = 64;

inline void map2d(benchmark::State &state) {
  Patch p;
  benchmark::DoNotOptimize(&p);
  paired(
      state, kMaps,
      [&] {
        for (int i = 0; i < kMaps; ++i) {
          benchmark::ClobberMemory();
          glMap2d(p.target, p.u1, p.u2, p.ustride, p.uorder, p.v1, p.v2, p.vstride, p.vorder, p.points);
        }
      },
      [&] {
        for (int i = 0; i < kMaps; ++i) {
          benchmark::ClobberMemory();
          fglMap2d(&p.target, &p.u1, &p.u2, &p.ustride, &p.uorder, &p.v1, &p.v2, &p.vstride, &p.vorder,
                   p.points);
        }
      });
}

inline void register_all() {
  benchmark::RegisterBenchmark("Vertex3f", vertex3f)->UseRealTime();
  benchmark::RegisterBenchmark("Color3ubI4", color3ubI4)->UseRealTime();
  benchmark::RegisterBenchmark("Map2d", map2d)->UseRealTime();
}

}  // namespace bench
