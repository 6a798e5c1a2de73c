// One frame of a lit surface of 1000 x 1000 = 1,000,000 vertices under Mesa,
// drawn three ways in one process and window:
//   immediate  fglBegin, fglNormal3fv, fglVertex3fv, fglEnd through the binding;
//   arrays     fglVertexPointer, fglNormalPointer and fglDrawElements with
//              4-byte indices through the binding;
//   direct     the same vertex arrays by direct OpenGL calls.
// A second benchmark draws the same surface from buffer objects, uploaded once:
//   buffers         fglVertexPointerOffset, fglNormalPointerOffset into one
//                   vertex buffer and fglDrawElementsOffset into an element
//                   buffer, through the binding;
//   buffers_direct  the same by direct OpenGL calls.
// The surface is 999 triangle strips, one per pair of grid rows; all three
// send the same vertices in the same order, and before timing their pictures
// are read back and must be identical. A frame is a clear, the surface and
// glFinish, so that the time includes the rendering itself.
#include <benchmark/benchmark.h>

#include <GL/freeglut.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "fgl.h"

namespace {

constexpr int kGrid = 1000;  // vertices along each side
constexpr int kWidth = 640, kHeight = 480;
constexpr int kCycles = 2;   // cycles through the six frame orders per repetition

// The height field z = 0.3 sin(4x) cos(4y) over [-1, 1] x [-1, 1], with its
// unit normals, and per strip the indices of rows j+1 and j, alternating.
struct Surface {
  std::vector<GLfloat> vertices, normals;
  std::vector<GLuint> indices;  // 4-byte elements, as INTEGER*4 indices are
  Surface() {
    vertices.reserve(3 * kGrid * kGrid);
    normals.reserve(3 * kGrid * kGrid);
    for (int j = 0; j < kGrid; ++j) {
      for (int i = 0; i < kGrid; ++i) {
        const double x = -1.0 + 2.0 * i / (kGrid - 1), y = -1.0 + 2.0 * j / (kGrid - 1);
        const double z = 0.3 * std::sin(4 * x) * std::cos(4 * y);
        const double dx = 1.2 * std::cos(4 * x) * std::cos(4 * y), dy = -1.2 * std::sin(4 * x) * std::sin(4 * y);
        const double len = std::sqrt(dx * dx + dy * dy + 1.0);
        for (double c : {x, y, z}) vertices.push_back(static_cast<GLfloat>(c));
        for (double c : {-dx / len, -dy / len, 1.0 / len}) normals.push_back(static_cast<GLfloat>(c));
      }
    }
    indices.reserve(2 * kGrid * (kGrid - 1));
    for (int j = 0; j + 1 < kGrid; ++j) {
      for (int i = 0; i < kGrid; ++i) {
        indices.push_back(static_cast<GLuint>((j + 1) * kGrid + i));
        indices.push_back(static_cast<GLuint>(j * kGrid + i));
      }
    }
  }
  const GLuint *strip(int j) const { return indices.data() + 2 * kGrid * j; }
};

const Surface *surface = nullptr;

// The arguments a by-address caller keeps in variables.
GLenum triangleStrip = GL_TRIANGLE_STRIP, unsignedInt = GL_UNSIGNED_INT, floatType = GL_FLOAT;
GLenum vertexArray = GL_VERTEX_ARRAY, normalArray = GL_NORMAL_ARRAY;
GLbitfield clearBits = GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT;
GLint three = 3;
GLsizei tight = 0, stripLength = 2 * kGrid;

void immediateFrame() {
  fglClear(&clearBits);
  const GLfloat *v = surface->vertices.data(), *n = surface->normals.data();
  for (int j = 0; j + 1 < kGrid; ++j) {
    const GLuint *s = surface->strip(j);
    fglBegin(&triangleStrip);
    for (int k = 0; k < stripLength; ++k) {
      fglNormal3fv(n + 3 * s[k]);
      fglVertex3fv(v + 3 * s[k]);
    }
    fglEnd();
  }
  fglFinish();
}

void arraysFrame() {
  fglClear(&clearBits);
  fglEnableClientState(&vertexArray);
  fglEnableClientState(&normalArray);
  fglVertexPointer(&three, &floatType, &tight, surface->vertices.data());
  fglNormalPointer(&floatType, &tight, surface->normals.data());
  for (int j = 0; j + 1 < kGrid; ++j) fglDrawElements(&triangleStrip, &stripLength, &unsignedInt, surface->strip(j));
  fglDisableClientState(&normalArray);
  fglDisableClientState(&vertexArray);
  fglFinish();
}

void directFrame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, surface->vertices.data());
  glNormalPointer(GL_FLOAT, 0, surface->normals.data());
  for (int j = 0; j + 1 < kGrid; ++j) glDrawElements(GL_TRIANGLE_STRIP, 2 * kGrid, GL_UNSIGNED_INT, surface->strip(j));
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  glFinish();
}

// The buffer objects: vertices then normals in one vertex buffer, every
// strip's indices in one element buffer; uploaded once by fglBufferData (8-byte
// size) and fglBufferDataI4 (4-byte size).
GLuint vertexBuffer = 0, elementBuffer = 0;
GLenum arrayBuffer = GL_ARRAY_BUFFER, elementArrayBuffer = GL_ELEMENT_ARRAY_BUFFER;
GLint64 vertexOffset = 0, normalOffset = 0;

void uploadBuffers() {
  GLsizei one = 1;
  GLenum staticDraw = GL_STATIC_DRAW;
  fglGenBuffers(&one, &vertexBuffer);
  fglGenBuffers(&one, &elementBuffer);
  const auto bytes = [](const auto &v) { return sizeof(v[0]) * v.size(); };
  const GLsizeiptr both = static_cast<GLsizeiptr>(bytes(surface->vertices) + bytes(surface->normals));
  GLint64 zero = 0, vertexBytes = static_cast<GLint64>(bytes(surface->vertices)),
          normalBytes = static_cast<GLint64>(bytes(surface->normals));
  fglBindBuffer(&arrayBuffer, &vertexBuffer);
  fglBufferData(&arrayBuffer, &both, nullptr, &staticDraw);
  fglBufferSubData(&arrayBuffer, &zero, &vertexBytes, surface->vertices.data());
  fglBufferSubData(&arrayBuffer, &vertexBytes, &normalBytes, surface->normals.data());
  normalOffset = vertexBytes;
  const GLint indexBytes = static_cast<GLint>(bytes(surface->indices));  // as an INTEGER*4 size
  fglBindBuffer(&elementArrayBuffer, &elementBuffer);
  fglBufferDataI4(&elementArrayBuffer, &indexBytes, surface->indices.data(), &staticDraw);
  GLuint none = 0;
  fglBindBuffer(&arrayBuffer, &none);
  fglBindBuffer(&elementArrayBuffer, &none);
}

void buffersFrame() {
  fglClear(&clearBits);
  fglBindBuffer(&arrayBuffer, &vertexBuffer);
  fglBindBuffer(&elementArrayBuffer, &elementBuffer);
  fglEnableClientState(&vertexArray);
  fglEnableClientState(&normalArray);
  fglVertexPointerOffset(&three, &floatType, &tight, &vertexOffset);
  fglNormalPointerOffset(&floatType, &tight, &normalOffset);
  for (int j = 0; j + 1 < kGrid; ++j) {
    const GLint64 strip = static_cast<GLint64>(sizeof(GLuint)) * 2 * kGrid * j;
    fglDrawElementsOffset(&triangleStrip, &stripLength, &unsignedInt, &strip);
  }
  fglDisableClientState(&normalArray);
  fglDisableClientState(&vertexArray);
  GLuint none = 0;
  fglBindBuffer(&arrayBuffer, &none);
  fglBindBuffer(&elementArrayBuffer, &none);
  fglFinish();
}

void buffersDirectFrame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, elementBuffer);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, reinterpret_cast<const void *>(static_cast<std::intptr_t>(vertexOffset)));
  glNormalPointer(GL_FLOAT, 0, reinterpret_cast<const void *>(static_cast<std::intptr_t>(normalOffset)));
  for (int j = 0; j + 1 < kGrid; ++j) {
    const std::intptr_t strip = static_cast<std::intptr_t>(sizeof(GLuint)) * 2 * kGrid * j;
    glDrawElements(GL_TRIANGLE_STRIP, 2 * kGrid, GL_UNSIGNED_INT, reinterpret_cast<const void *>(strip));
  }
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  glFinish();
}

using Frame = void (*)();
constexpr Frame kFrames[3] = {immediateFrame, arraysFrame, directFrame};
constexpr const char *kNames[3] = {"immediate", "arrays", "direct"};

// One frame of each kind per iteration, each timed on its own, in the six
// orders in turn: over every six iterations each kind is drawn first, second
// and third equally often and after each of the others, so that all three
// see the same machine load and the same switches of Mesa's drawing state.
// The iteration count is a multiple of six (main registers it so).
constexpr int kOrders[6][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {0, 2, 1}, {2, 1, 0}, {1, 0, 2}};

// Processor time of the whole process, Mesa's rasterizer threads included:
// less moved than wall time by other work on the machine.
double processSeconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

void alternating(benchmark::State &state) {
  using Clock = std::chrono::steady_clock;
  Clock::duration wall[3]{};
  double cpu[3]{};
  int order = 0;
  for (auto _ : state) {
    for (const int f : kOrders[order]) {
      const double c0 = processSeconds();
      const auto t0 = Clock::now();
      kFrames[f]();
      wall[f] += Clock::now() - t0;
      cpu[f] += processSeconds() - c0;
    }
    order = (order + 1) % 6;
  }
  const double n = static_cast<double>(state.iterations());
  double ns[3], cpuNs[3];
  for (int f = 0; f < 3; ++f) {
    ns[f] = std::chrono::duration<double, std::nano>(wall[f]).count() / n;
    cpuNs[f] = 1e9 * cpu[f] / n;
    state.counters[std::string(kNames[f]) + "_ns"] = ns[f];
    state.counters[std::string(kNames[f]) + "_cpu_ns"] = cpuNs[f];
  }
  state.counters["arrays_over_direct"] = ns[1] / ns[2];
  state.counters["immediate_over_arrays"] = ns[0] / ns[1];
  state.counters["arrays_over_direct_cpu"] = cpuNs[1] / cpuNs[2];
  state.counters["immediate_over_arrays_cpu"] = cpuNs[0] / cpuNs[1];
}

// The buffer frames, one of each per iteration, timed on their own, the order
// swapped every iteration (the iteration count is even).
void buffersAlternating(benchmark::State &state) {
  constexpr Frame frames[2] = {buffersFrame, buffersDirectFrame};
  using Clock = std::chrono::steady_clock;
  Clock::duration wall[2]{};
  double cpu[2]{};
  bool swapped = false;
  for (auto _ : state) {
    for (int k = 0; k < 2; ++k) {
      const int f = swapped ? 1 - k : k;
      const double c0 = processSeconds();
      const auto t0 = Clock::now();
      frames[f]();
      wall[f] += Clock::now() - t0;
      cpu[f] += processSeconds() - c0;
    }
    swapped = !swapped;
  }
  const double n = static_cast<double>(state.iterations());
  const char *names[2] = {"buffers", "buffers_direct"};
  double ns[2], cpuNs[2];
  for (int f = 0; f < 2; ++f) {
    ns[f] = std::chrono::duration<double, std::nano>(wall[f]).count() / n;
    cpuNs[f] = 1e9 * cpu[f] / n;
    state.counters[std::string(names[f]) + "_ns"] = ns[f];
    state.counters[std::string(names[f]) + "_cpu_ns"] = cpuNs[f];
  }
  state.counters["buffers_over_direct"] = ns[0] / ns[1];
  state.counters["buffers_over_direct_cpu"] = cpuNs[0] / cpuNs[1];
}

std::vector<unsigned char> picture() {
  std::vector<unsigned char> p(static_cast<std::size_t>(kWidth) * kHeight * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
  return p;
}

bool shown = false;
void noteShown() { shown = true; }

// A window with the surface's view: lit by light 0, depth-tested, seen
// from above at an angle in an orthographic projection.
void openWindow() {
  glutInitWindowSize(kWidth, kHeight);
  glutCreateWindow("surface frames");
  glutDisplayFunc(noteShown);
  while (!shown) glutMainLoopEvent();
  glViewport(0, 0, kWidth, kHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  const double aspect = static_cast<double>(kWidth) / kHeight;
  glOrtho(-1.25 * aspect, 1.25 * aspect, -1.25, 1.25, -3.0, 3.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glRotatef(-55.0f, 1.0f, 0.0f, 0.0f);
  glRotatef(30.0f, 0.0f, 0.0f, 1.0f);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
}

}  // namespace

int main(int argc, char **argv) {
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGBA | GLUT_SINGLE | GLUT_DEPTH);
  openWindow();
  const Surface s;
  surface = &s;
  std::vector<unsigned char> pictures[3];
  for (int f = 0; f < 3; ++f) {
    kFrames[f]();
    pictures[f] = picture();
  }
  long drawn = 0;  // pixels of the surface: not the white background
  for (std::size_t i = 0; i < pictures[2].size(); i += 4) drawn += pictures[2][i] != 255 || pictures[2][i + 2] != 255;
  if (drawn < kWidth * kHeight / 8) {
    std::fprintf(stderr, "bench_surface: the surface covers only %ld pixels\n", drawn);
    return 1;
  }
  for (int f = 0; f < 2; ++f) {
    if (pictures[f] != pictures[2]) {
      std::fprintf(stderr, "bench_surface: the %s picture differs from the direct one\n", kNames[f]);
      return 1;
    }
  }
  uploadBuffers();
  for (const Frame f : {buffersFrame, buffersDirectFrame}) {
    f();
    if (picture() != pictures[2]) {
      std::fprintf(stderr, "bench_surface: a picture from buffer objects differs from the direct one\n");
      return 1;
    }
  }
  benchmark::RegisterBenchmark("surface/1000000", alternating)->UseRealTime()->Iterations(6 * kCycles);
  benchmark::RegisterBenchmark("buffers/1000000", buffersAlternating)->UseRealTime()->Iterations(6 * kCycles);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
