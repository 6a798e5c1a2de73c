// The freeglut functions reached by glut_binding/startup.cpp, recording their
// arguments. glutInit reads the whole argument vector, as freeglut does when
// it scans for its options; the string functions read up to the zero byte.
#include "fuzz_glut.h"

#include <GL/freeglut.h>

#include <cstring>

namespace fuzz_glut {
namespace {
Record the_record;
}
Record &record() { return the_record; }
}  // namespace fuzz_glut

using fuzz_glut::the_record;

extern "C" {

void glutInit(int *argcp, char **argv) {
  ++the_record.calls;
  the_record.init_count = *argcp;
  the_record.argv.clear();
  for (int i = 0; i < *argcp; ++i) the_record.argv.emplace_back(argv[i]);
  the_record.argv_terminated = argv[*argcp] == nullptr;
}

void glutInitDisplayMode(unsigned int) { ++the_record.calls; }
void glutInitWindowPosition(int, int) { ++the_record.calls; }
void glutInitWindowSize(int, int) { ++the_record.calls; }
void glutMainLoop(void) { ++the_record.calls; }

void glutInitDisplayString(const char *string) {
  ++the_record.calls;
  the_record.string = string;
}

int glutCreateWindow(const char *title) {
  ++the_record.calls;
  the_record.string = title;
  return the_record.window;
}

}  // extern "C"
