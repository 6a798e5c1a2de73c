// The binding's own cost: the forwarding entries in a shared library over a
// do-nothing libGL (null_gl.cpp), against direct calls of that libGL.
#include "bench_common.h"

int main(int argc, char **argv) {
  bench::register_all();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
