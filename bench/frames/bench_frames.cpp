// Frame time of the house viewer against the same house drawn with direct
// OpenGL calls (reference_house.cpp), in one process, under Mesa in freeglut
// windows of 640x480 and 1920x1080 on the X server named by DISPLAY. Each
// frame is the viewer's display routine (or the reference) followed by
// glFinish, so that the time includes the rendering itself. Before timing,
// the two pictures are read back and must be identical.
#include <benchmark/benchmark.h>

#include <GL/freeglut.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "reference_house.h"
#include "viewer.h"

namespace {

struct Size {
  int width, height;
  int window = 0;
};
Size sizes[] = {{640, 480}, {1920, 1080}};

bool shown = false;
void noteShown() { shown = true; }

// A window of the given size with the viewer's OpenGL state (as its main
// program sets it) and its projection (its reshape routine).
int openWindow(int width, int height) {
  glutInitWindowSize(width, height);
  const int window = glutCreateWindow("house frames");
  glutDisplayFunc(noteShown);
  shown = false;
  while (!shown) glutMainLoopEvent();
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glEnable(GL_COLOR_MATERIAL);
  glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
  int w = width, h = height;
  reshape(&w, &h);
  return window;
}

std::vector<unsigned char> picture(int width, int height) {
  std::vector<unsigned char> p(static_cast<std::size_t>(width) * height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
  return p;
}

void viewerFrame() {
  display();
  glFinish();
}
void directFrame() {
  reference::display(house::depth, house::width, house::height, house::wallColour, house::roofColour);
  glFinish();
}

// One viewer frame and one reference frame per iteration, in alternating
// order, each timed on its own: both see the same machine load, so their
// ratio holds even when other work shares the processors.
void paired(benchmark::State &state, const Size *size) {
  using Clock = std::chrono::steady_clock;
  glutSetWindow(size->window);
  Clock::duration viewer{}, direct{};
  bool viewer_first = true;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    viewer_first ? viewerFrame() : directFrame();
    const auto t1 = Clock::now();
    viewer_first ? directFrame() : viewerFrame();
    const auto t2 = Clock::now();
    (viewer_first ? viewer : direct) += t1 - t0;
    (viewer_first ? direct : viewer) += t2 - t1;
    viewer_first = !viewer_first;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["viewer_ns"] = std::chrono::duration<double, std::nano>(viewer).count() / n;
  state.counters["direct_ns"] = std::chrono::duration<double, std::nano>(direct).count() / n;
}

}  // namespace

int main(int argc, char **argv) {
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGBA | GLUT_SINGLE | GLUT_DEPTH);
  for (Size &s : sizes) {
    s.window = openWindow(s.width, s.height);
    viewerFrame();
    const auto viewer = picture(s.width, s.height);
    directFrame();
    const auto direct = picture(s.width, s.height);
    if (viewer != direct) {
      std::fprintf(stderr, "bench_frames: the reference house differs from the viewer's at %dx%d\n", s.width,
                   s.height);
      return 1;
    }
    const std::string size = std::to_string(s.width) + "x" + std::to_string(s.height);
    benchmark::RegisterBenchmark(("frame/" + size).c_str(), paired, &s)->UseRealTime();
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
