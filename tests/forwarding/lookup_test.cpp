// The commands looked up at run time (late.h), against the recording libGL
// whose glXGetProcAddress can report a command missing. The lookup is made
// once per process, so the two cases run as two processes (CMakeLists.txt:
// one filter each); the table below comes from the generated list.
#include <gtest/gtest.h>

#include <string>

#include "fgl.h"
#include "gl_recorder.h"
#include "late.h"

namespace {

template <typename F>
struct Zeroed;
template <typename R, typename... P>
struct Zeroed<R (*)(P...)> {
  // Calls Fn with every argument zero (null pointers: the recorder only
  // records addresses).
  template <auto Fn>
  static void call() {
    Fn(P{}...);
  }
};

struct Late {
  const char *command;
  void (*call)();
};
constexpr Late kLate[] = {
#define FGL_LATE(command, result, params, args) \
  {#command, &Zeroed<decltype(&fgl_late_##command)>::call<&fgl_late_##command>},
#include "fgl_late.inc"
#undef FGL_LATE
};

// Where the driver lacks a command, its entry makes no call, records
// GL_INVALID_OPERATION for fglGetError (once, however often it is called)
// and asks glXGetProcAddress only once.
TEST(LateLookup, MissingCommandsRecordAnErrorAndMakeNoCall) {
  ASSERT_EQ(std::size(kLate), 4u);  // the commands of OpenGL 4.6
  gl_recorder::reset();
  for (const Late &l : kLate) gl_recorder::set_missing(l.command);
  for (const Late &l : kLate) {
    l.call();
    l.call();
    EXPECT_EQ(gl_recorder::lookups(l.command), 1) << l.command;
  }
  const GLuint shader = 7, none = 0;
  fglSpecializeShaderC(&shader, "main", &none, nullptr, nullptr, 4);
  EXPECT_TRUE(gl_recorder::calls().empty());
  EXPECT_EQ(fglGetError(), static_cast<GLenum>(GL_INVALID_OPERATION));
  EXPECT_EQ(fglGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Where the driver has it, every call reaches the command found by the one
// lookup, with the entry's arguments.
TEST(LateLookup, PresentCommandsAreFoundOnceAndCalled) {
  gl_recorder::reset();
  for (const Late &l : kLate) {
    l.call();
    l.call();
    EXPECT_EQ(gl_recorder::lookups(l.command), 1) << l.command;
  }
  ASSERT_EQ(gl_recorder::calls().size(), 2 * std::size(kLate));
  for (std::size_t i = 0; i < std::size(kLate); ++i) EXPECT_EQ(gl_recorder::calls()[2 * i].command, kLate[i].command);
  gl_recorder::reset();
  const GLfloat factor = 1.5f, units = 2.0f, clamp = 0.25f;
  fglPolygonOffsetClamp(&factor, &units, &clamp);
  ASSERT_EQ(gl_recorder::calls().size(), 1u);
  EXPECT_EQ(gl_recorder::calls()[0].args[2].as<GLfloat>(), clamp);
  EXPECT_EQ(fglGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
