// The forwarding entries against Mesa in a real context (a freeglut window;
// needs a display, for instance tests/with-xvfb), against direct calls.
#include <GL/freeglut.h>

#include "bench_common.h"

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGBA | GLUT_SINGLE | GLUT_DEPTH);
  glutInitWindowSize(64, 64);
  glutCreateWindow("forwarding benchmark");
  bench::register_all();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
