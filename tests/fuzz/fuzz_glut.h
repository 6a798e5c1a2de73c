// A stand-in for the few freeglut functions that the start-up entries reach,
// so that the string conversions and the argument vector can be fuzzed
// without a display. Each records what it was handed.
#pragma once

#include <string>
#include <vector>

namespace fuzz_glut {

struct Record {
  int calls = 0;
  std::string string;             // the last string received, up to its zero byte
  int init_count = -1;            // *argcp as glutInit saw it
  std::vector<std::string> argv;  // argv[0 .. *argcp-1] as glutInit saw them
  bool argv_terminated = false;   // argv[*argcp] was the null entry
  int window = 0;                 // the identifier glutCreateWindow returns next
};

Record &record();

}  // namespace fuzz_glut
