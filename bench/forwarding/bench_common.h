// Benchmarks shared by the do-nothing and the Mesa programs: a direct call of
// the OpenGL command against the same call through its forwarding entry.
// Both loops read their arguments from memory on every iteration (the
// arguments' addresses escape and memory is clobbered), as a caller that
// passes variables by address would.
#pragma once

#include <benchmark/benchmark.h>

#include "fgl.h"

namespace bench {

// Calls per benchmark iteration for the vertex commands, issued between one
// glBegin/glEnd pair (a vertex outside one is not a complete command).
constexpr int kVertices = 256;

inline void vertex3f_direct(benchmark::State &state) {
  GLfloat x = 2.0f, y = 3.0f, z = 5.0f;  // outside the view volume: nothing drawn
  benchmark::DoNotOptimize(&x);
  benchmark::DoNotOptimize(&y);
  benchmark::DoNotOptimize(&z);
  for (auto _ : state) {
    glBegin(GL_POINTS);
    for (int i = 0; i < kVertices; ++i) {
      benchmark::ClobberMemory();
      glVertex3f(x, y, z);
    }
    glEnd();
  }
  state.SetItemsProcessed(state.iterations() * kVertices);
}

inline void vertex3f_fgl(benchmark::State &state) {
  GLfloat x = 2.0f, y = 3.0f, z = 5.0f;
  GLenum points = GL_POINTS;
  benchmark::DoNotOptimize(&x);
  benchmark::DoNotOptimize(&y);
  benchmark::DoNotOptimize(&z);
  for (auto _ : state) {
    fglBegin(&points);
    for (int i = 0; i < kVertices; ++i) {
      benchmark::ClobberMemory();
      fglVertex3f(&x, &y, &z);
    }
    fglEnd();
  }
  state.SetItemsProcessed(state.iterations() * kVertices);
}

inline void color3ub_direct(benchmark::State &state) {
  GLint r = 255, g = 128, b = 0;  // 4-byte storage, as the I4 entry gets it
  benchmark::DoNotOptimize(&r);
  benchmark::DoNotOptimize(&g);
  benchmark::DoNotOptimize(&b);
  for (auto _ : state) {
    benchmark::ClobberMemory();
    glColor3ub(static_cast<GLubyte>(r), static_cast<GLubyte>(g), static_cast<GLubyte>(b));
  }
  state.SetItemsProcessed(state.iterations());
}

inline void color3ubI4_fgl(benchmark::State &state) {
  GLint r = 255, g = 128, b = 0;
  benchmark::DoNotOptimize(&r);
  benchmark::DoNotOptimize(&g);
  benchmark::DoNotOptimize(&b);
  for (auto _ : state) {
    benchmark::ClobberMemory();
    fglColor3ubI4(reinterpret_cast<const GLubyte *>(&r), reinterpret_cast<const GLubyte *>(&g),
                  reinterpret_cast<const GLubyte *>(&b));
  }
  state.SetItemsProcessed(state.iterations());
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

inline void map2d_direct(benchmark::State &state) {
  Patch p;
  benchmark::DoNotOptimize(&p);
  for (auto _ : state) {
    benchmark::ClobberMemory();
    glMap2d(p.target, p.u1, p.u2, p.ustride, p.uorder, p.v1, p.v2, p.vstride, p.vorder, p.points);
  }
  state.SetItemsProcessed(state.iterations());
}

inline void map2d_fgl(benchmark::State &state) {
  Patch p;
  benchmark::DoNotOptimize(&p);
  for (auto _ : state) {
    benchmark::ClobberMemory();
    fglMap2d(&p.target, &p.u1, &p.u2, &p.ustride, &p.uorder, &p.v1, &p.v2, &p.vstride, &p.vorder, p.points);
  }
  state.SetItemsProcessed(state.iterations());
}

inline void register_all() {
  benchmark::RegisterBenchmark("Vertex3f/direct", vertex3f_direct);
  benchmark::RegisterBenchmark("Vertex3f/fgl", vertex3f_fgl);
  benchmark::RegisterBenchmark("Color3ubI4/direct", color3ub_direct);
  benchmark::RegisterBenchmark("Color3ubI4/fgl", color3ubI4_fgl);
  benchmark::RegisterBenchmark("Map2d/direct", map2d_direct);
  benchmark::RegisterBenchmark("Map2d/fgl", map2d_fgl);
}

}  // namespace bench
