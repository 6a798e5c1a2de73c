// The problem reports of the checking build of the three libraries.
//
// A problem is identified by the entry, the argument's position and the kind
// of problem; its first occurrence is reported on standard error with the
// value seen, later ones only counted. At exit a summary lists every problem
// with its count. A run without problems prints nothing.
//
// FGL_CHECK selects what happens: warn (the default) reports and goes on,
// abort reports the first problem with the place of the call and a backtrace
// and ends the program with status 3, quiet only counts and prints the
// summary at exit.
#pragma once

#include <GL/gl.h>

#include <string>

namespace fgl::check {

// Reports a problem of `entry`'s argument `position` (1-based; 0 for the call
// as a whole) named `argument`; `kind` says what is wrong, `detail` the value.
void problem(const char *entry, int position, const char *argument, const char *kind, const std::string &detail);

// Shows a value in a report: an integer with its hexadecimal bits, a single
// or a double with its bits.
std::string show_int(long long v);
std::string show_float(float v);
std::string show_double(double v);

// The name of an OpenGL error code (GL_INVALID_ENUM ...).
const char *gl_error_name(GLenum error);

// The entry running in this thread whose data size is checked, and the
// position of its count argument (0 when the size is fixed).
struct Entry {
  const char *name = nullptr;
  int count_position = 0;
  bool negative_count = false;  // already reported; no size check then
  bool sized = true;            // what OpenGL touches is known exactly
};
Entry &current_entry();

}  // namespace fgl::check
