// freeglut ends the program through exit(): closing the window with a real
// WM_DELETE_WINDOW message ends the process with status 0 and runs the
// program's atexit handlers (libf2c closes its I/O units that way).
#include <gtest/gtest.h>  // before Xlib, whose None macro clashes with it

#include <GL/freeglut.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

#include "fglut.h"
#include "xinput.h"

namespace {

void announce() { std::fputs("atexit handler ran\n", stderr); }

void runUntilClosed() {
  std::atexit(announce);
  xin::openWindow("Fortran GLUT program", 0, 0, 100, 100);
  xin::closeLikeAWindowManager(xin::currentXWindow());
  fglutMainLoop();
  std::fputs("main loop returned\n", stderr);
  std::_Exit(3);
}

TEST(Exit, ClosingTheWindowExitsWithStatusZeroThroughExit) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(runUntilClosed(), testing::ExitedWithCode(0), "atexit handler ran");
}

// A fatal GLUT error also leaves through exit(): status 1, handlers run.
void runIntoFatalError() {
  std::atexit(announce);
  fglutInit();
  fglutInit();  // freeglut refuses a second initialisation as a fatal error
  std::_Exit(3);
}

TEST(Exit, FatalGlutErrorExitsThroughExit) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(runIntoFatalError(), testing::ExitedWithCode(1), "illegal glutInit.*\n.*atexit handler ran");
}

}  // namespace
