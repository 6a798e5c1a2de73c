// freeglut ends the program through exit(): closing the window with a real
// WM_DELETE_WINDOW message ends the process with status 0 and runs the
// program's atexit handlers (libf2c closes its I/O units that way).
#include <gtest/gtest.h>  // before Xlib, whose None macro clashes with it

#include <GL/freeglut.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

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

// The routines receive freeglut's message as packed words and a count; they
// print it between brackets, so the tests see exactly the text.
int printMessage(const char *kind, const int *words, const int *count) {
  std::string text;
  for (int k = 0; k < *count; ++k) text += static_cast<char>(words[k] & 0xff);
  std::fprintf(stderr, "%s [%s]\n", kind, text.c_str());
  return 0;
}
int onError(int *words, int *count) { return printMessage("error", words, count); }
int onWarning(int *words, int *count) { return printMessage("warning", words, count); }

// A warning reaches the warning routine, formatted, and GLUT goes on; an
// error reaches the error routine, and when the routine returns the program
// ends with status 1 through exit().
void warnThenFail() {
  std::atexit(announce);
  fglutInitWarningFunc(onWarning);
  fglutInitErrorFunc(onError);
  xin::openWindow("diagnostics", 0, 0, 100, 100);
  const int missing = 4711;
  fglutSetWindow(&missing);
  std::fputs("after the warning\n", stderr);
  fglutInit();  // a second initialisation is an error
  std::_Exit(3);
}

TEST(Diagnostics, RoutinesReceiveTheMessageTextAndAnErrorEndsWithStatusOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(warnThenFail(), testing::ExitedWithCode(1),
              "warning \\[glutSetWindow\\(\\): window ID 4711 not found!\\]\n"
              "after the warning\n"
              "error \\[illegal glutInit\\(\\) reinitialization attempt\\]\n"
              "atexit handler ran");
}

// The Null entries give freeglut its own reports back.
void failWithoutRoutine() {
  fglutInitErrorFunc(onError);
  fglutInitErrorFuncNull();
  fglutInit();
  fglutInit();
  std::_Exit(3);
}

TEST(Diagnostics, NullRestoresFreeglutsOwnReport) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(failWithoutRoutine(), testing::ExitedWithCode(1), "^freeglut \\(noname\\): illegal glutInit");
}

// Some of freeglut's messages begin with a blank (and have two after
// "ERROR:"); the routine receives them exactly so.
void errorWithLeadingBlank() {
  fglutInitErrorFunc(onError);
  fglutInit();
  fglutGetWindowData();  // no current window
  std::_Exit(3);
}

TEST(Diagnostics, MessagesArriveAsFreeglutWritesThemLeadingBlankIncluded) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(errorWithLeadingBlank(), testing::ExitedWithCode(1),
              "error \\[ ERROR:  Function <glutGetWindowData> called with no current window defined\\.\\]\n");
}

}  // namespace
