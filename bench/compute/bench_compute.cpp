// A compute round on an integer array of 1M and 16M values under Mesa, the
// round of fortran/examples/compute.f: upload the array into a shader
// storage buffer, kSteps dispatches of the smoothing stencil ping-ponging two
// storage buffers with a memory barrier after each, a dispatch of the sum
// (a tree in shared memory per work group, atomicAdd of the parts), a barrier,
// and the result and the sum read back. Two ways in one process and context:
//   layer   the entries a Fortran program calls, arguments by address
//           (fglBufferSubDataI4, fglBindBufferBase, fglUseProgram,
//           fglDispatchCompute, fglMemoryBarrier, fglGetBufferSubDataI4);
//   direct  the same OpenGL calls made directly.
// Before timing, both ways' results are checked against the same steps on the
// processor and must agree value by value.
#include <benchmark/benchmark.h>

#include <GL/freeglut.h>
#include <GL/glext.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "fgl.h"

namespace {

constexpr int kSteps = 8;
constexpr GLuint kLocal = 256;   // work group size of both shaders
constexpr GLuint kRow = 4096;    // work groups along x; rows of them along y

// The index of an invocation in a dispatch of kRow x rows work groups (one
// row of groups holds at most 65535, fewer than 16M / 256).
#define FGL_BENCH_INDEX \
  "  int i = int(gl_GlobalInvocationID.y * gl_NumWorkGroups.x * 256u\n" \
  "    + gl_GlobalInvocationID.x);\n"

const char *const kStepShader =
    "#version 430 core\n"
    "layout(local_size_x = 256) in;\n"
    "layout(std430, binding = 0) readonly buffer Src { int u[]; };\n"
    "layout(std430, binding = 1) writeonly buffer Dst { int v[]; };\n"
    "void main() {\n" FGL_BENCH_INDEX
    "  int n = u.length();\n"
    "  if (i == 0 || i == n - 1) v[i] = u[i];\n"
    "  else if (i < n) v[i] = (u[i - 1] + 2 * u[i] + u[i + 1]) / 4;\n"
    "}\n";
const char *const kSumShader =
    "#version 430 core\n"
    "layout(local_size_x = 256) in;\n"
    "layout(std430, binding = 0) readonly buffer Src { int u[]; };\n"
    "layout(std430, binding = 2) buffer Total { int total; };\n"
    "shared int part[256];\n"
    "void main() {\n"
    "  uint l = gl_LocalInvocationID.x;\n" FGL_BENCH_INDEX
    "  part[l] = i < u.length() ? u[i] : 0;\n"
    "  barrier();\n"
    "  for (uint s = 128u; s > 0u; s >>= 1) {\n"
    "    if (l < s) part[l] += part[l + s];\n"
    "    barrier();\n"
    "  }\n"
    "  if (l == 0u) atomicAdd(total, part[0]);\n"
    "}\n";

GLuint compile(const char *text) {
  GLuint s = glCreateShader(GL_COMPUTE_SHADER);
  glShaderSource(s, 1, &text, nullptr);
  glCompileShader(s);
  GLuint p = glCreateProgram();
  glAttachShader(p, s);
  glLinkProgram(p);
  GLint ok = 0;
  glGetProgramiv(p, GL_LINK_STATUS, &ok);
  if (!ok) {
    char log[2000] = "";
    glGetShaderInfoLog(s, sizeof log, nullptr, log);
    std::fprintf(stderr, "bench_compute: the shader does not build:\n%s\n", log);
    std::exit(1);
  }
  glDeleteShader(s);
  return p;
}

GLuint stepProgram = 0, sumProgram = 0;

// One array size: its storage buffers and arrays, as a Fortran program keeps
// them (INTEGER*4 values, sizes and offsets in variables).
struct Round {
  GLint n = 0, bytes = 0, four = 4, zero = 0;
  GLuint groupsX = kRow, groupsY = 1, one = 1;
  GLuint buffer[3] = {0, 0, 0};
  std::vector<GLint> u, result;
  GLint total[1] = {0};
  GLint none[1] = {0};

  explicit Round(GLint size) : n(size), bytes(4 * size), groupsY(static_cast<GLuint>(size) / (kLocal * kRow)) {
    u.resize(static_cast<std::size_t>(n));
    result.resize(u.size());
    for (std::int64_t j = 1; j <= n; ++j) {
      u[static_cast<std::size_t>(j - 1)] = static_cast<GLint>(500 * (j / 128 % 2) + (j * j * 37 + j * 11) % 400 + 50);
    }
    glGenBuffers(3, buffer);
    for (int b = 0; b < 2; ++b) {
      glBindBuffer(GL_SHADER_STORAGE_BUFFER, buffer[b]);
      glBufferData(GL_SHADER_STORAGE_BUFFER, bytes, nullptr, GL_DYNAMIC_DRAW);
    }
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, buffer[2]);
    glBufferData(GL_SHADER_STORAGE_BUFFER, 4, none, GL_DYNAMIC_DRAW);
  }
  ~Round() { glDeleteBuffers(3, buffer); }
  Round(const Round &) = delete;
  Round &operator=(const Round &) = delete;
};

GLenum storage = GL_SHADER_STORAGE_BUFFER;
GLbitfield stepBarrier = GL_SHADER_STORAGE_BARRIER_BIT;
GLbitfield readBarrier = GL_BUFFER_UPDATE_BARRIER_BIT;
GLuint binding[3] = {0, 1, 2};

void layerRound(Round &r) {
  fglBindBuffer(&storage, &r.buffer[0]);
  fglBufferSubDataI4(&storage, &r.zero, &r.bytes, r.u.data());
  fglBindBuffer(&storage, &r.buffer[2]);
  fglBufferSubDataI4(&storage, &r.zero, &r.four, r.none);
  fglUseProgram(&stepProgram);
  for (int k = 0; k < kSteps; ++k) {
    fglBindBufferBase(&storage, &binding[0], &r.buffer[k % 2]);
    fglBindBufferBase(&storage, &binding[1], &r.buffer[1 - k % 2]);
    fglDispatchCompute(&r.groupsX, &r.groupsY, &r.one);
    fglMemoryBarrier(&stepBarrier);
  }
  fglUseProgram(&sumProgram);
  fglBindBufferBase(&storage, &binding[0], &r.buffer[0]);
  fglBindBufferBase(&storage, &binding[2], &r.buffer[2]);
  fglDispatchCompute(&r.groupsX, &r.groupsY, &r.one);
  fglMemoryBarrier(&readBarrier);
  fglBindBuffer(&storage, &r.buffer[0]);
  fglGetBufferSubDataI4(&storage, &r.zero, &r.bytes, r.result.data());
  fglBindBuffer(&storage, &r.buffer[2]);
  fglGetBufferSubDataI4(&storage, &r.zero, &r.four, r.total);
}

void directRound(Round &r) {
  glBindBuffer(GL_SHADER_STORAGE_BUFFER, r.buffer[0]);
  glBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, r.bytes, r.u.data());
  glBindBuffer(GL_SHADER_STORAGE_BUFFER, r.buffer[2]);
  glBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, 4, r.none);
  glUseProgram(stepProgram);
  for (int k = 0; k < kSteps; ++k) {
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 0, r.buffer[k % 2]);
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 1, r.buffer[1 - k % 2]);
    glDispatchCompute(r.groupsX, r.groupsY, 1);
    glMemoryBarrier(GL_SHADER_STORAGE_BARRIER_BIT);
  }
  glUseProgram(sumProgram);
  glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 0, r.buffer[0]);
  glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 2, r.buffer[2]);
  glDispatchCompute(r.groupsX, r.groupsY, 1);
  glMemoryBarrier(GL_BUFFER_UPDATE_BARRIER_BIT);
  glBindBuffer(GL_SHADER_STORAGE_BUFFER, r.buffer[0]);
  glGetBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, r.bytes, r.result.data());
  glBindBuffer(GL_SHADER_STORAGE_BUFFER, r.buffer[2]);
  glGetBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, 4, r.total);
}

// The same steps on the processor; the sum wraps as the shader's int does.
bool agreesWithProcessor(const Round &r) {
  std::vector<GLint> v = r.u, w(v.size());
  for (int k = 0; k < kSteps; ++k) {
    w = v;
    for (std::size_t i = 1; i + 1 < v.size(); ++i) v[i] = (w[i - 1] + 2 * w[i] + w[i + 1]) / 4;
  }
  std::uint32_t sum = 0;
  for (const GLint x : v) sum += static_cast<std::uint32_t>(x);
  return v == r.result && static_cast<std::uint32_t>(r.total[0]) == sum;
}

// Processor time of the whole process, Mesa's threads included.
double processSeconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t h = v.size() / 2;
  return v.size() % 2 ? v[h] : (v[h - 1] + v[h]) / 2;
}

// One round each way per iteration (a pair), each timed on its own, the order
// swapped every iteration (the iteration count is even), after one untimed
// round each way on the new buffers (their first writes fault their pages in,
// which would fall on whichever way came first). Each pair gives a ratio
// layer/direct from two rounds run back to back, under nearly the same load
// of the machine; the run reports the median of those ratios, and each way's
// median and fastest round. With a second argument of 1 both ways are the
// direct calls: the control, whose ratios show the measurement's own spread.
void alternating(benchmark::State &state) {
  Round r(static_cast<GLint>(state.range(0)));
  using Clock = std::chrono::steady_clock;
  using Way = void (*)(Round &);
  const Way ways[2] = {state.range(1) ? directRound : layerRound, directRound};
  for (Way way : ways) way(r);
  std::vector<double> wall[2], cpu[2], wallRatio, cpuRatio;
  bool swapped = false;
  for (auto _ : state) {
    double w[2], c[2];
    for (int k = 0; k < 2; ++k) {
      const int f = swapped ? 1 - k : k;
      const double c0 = processSeconds();
      const auto t0 = Clock::now();
      ways[f](r);
      w[f] = std::chrono::duration<double, std::nano>(Clock::now() - t0).count();
      c[f] = 1e9 * (processSeconds() - c0);
    }
    for (int f = 0; f < 2; ++f) {
      wall[f].push_back(w[f]);
      cpu[f].push_back(c[f]);
    }
    wallRatio.push_back(w[0] / w[1]);
    cpuRatio.push_back(c[0] / c[1]);
    swapped = !swapped;
  }
  const char *names[2] = {"layer", "direct"};
  for (int f = 0; f < 2; ++f) {
    state.counters[std::string(names[f]) + "_ns"] = median(wall[f]);
    state.counters[std::string(names[f]) + "_min_ns"] = *std::min_element(wall[f].begin(), wall[f].end());
    state.counters[std::string(names[f]) + "_cpu_ns"] = median(cpu[f]);
  }
  state.counters["layer_over_direct"] = median(wallRatio);
  state.counters["layer_over_direct_cpu"] = median(cpuRatio);
}

bool shown = false;
void noteShown() { shown = true; }

}  // namespace

int main(int argc, char **argv) {
  glutInit(&argc, argv);
  glutInitContextVersion(4, 3);
  glutInitContextProfile(GLUT_CORE_PROFILE);
  glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE);
  glutInitWindowSize(64, 64);
  glutCreateWindow("compute rounds");
  glutDisplayFunc(noteShown);
  while (!shown) glutMainLoopEvent();
  stepProgram = compile(kStepShader);
  sumProgram = compile(kSumShader);
  constexpr GLint sizes[2] = {1 << 20, 1 << 24};
  for (const GLint size : sizes) {
    Round r(size);
    for (auto way : {layerRound, directRound}) {
      std::fill(r.result.begin(), r.result.end(), -1);
      r.total[0] = -1;
      way(r);
      if (!agreesWithProcessor(r)) {
        std::fprintf(stderr, "bench_compute: a round of %d values disagrees with the processor\n", size);
        return 1;
      }
    }
  }
  // FGL_BENCH_CONTROL=1: each size measured once more with direct calls both
  // ways.
  const char *control = std::getenv("FGL_BENCH_CONTROL");
  const int kinds = control && std::strcmp(control, "1") == 0 ? 2 : 1;
  for (int same = 0; same < kinds; ++same) {
    benchmark::RegisterBenchmark("compute", alternating)->Args({sizes[0], same})->UseRealTime()->Iterations(32);
    benchmark::RegisterBenchmark("compute", alternating)->Args({sizes[1], same})->UseRealTime()->Iterations(6);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
