// The loop in the program's hands: fglutMainLoop returning under the two
// closing actions that allow it, windows closed by real WM_DELETE_WINDOW
// messages reaching each window's own close routine, and a program-owned loop
// of fglutMainLoopEvent going on after its window is closed.
#include <gtest/gtest.h>  // before Xlib, whose None macro clashes with it

#include <GL/freeglut.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fglut.h"
#include "xinput.h"

namespace {

// What happened, in order: "close <window>" from a close routine (with the
// window that was current during the call), "timer", "fallback".
std::vector<std::string> events;
Window xWindowOfSecond = 0;
int closedFirst() {
  events.push_back("close first " + std::to_string(fglutGetWindow()));
  return 0;
}
int closedSecond() {
  events.push_back("close second " + std::to_string(fglutGetWindow()));
  return 0;
}

// Fails the run without hanging it: leaves the loop after five seconds.
int fallback(int *) {
  events.push_back("fallback");
  fglutLeaveMainLoop();
  return 0;
}
void armFallback() {
  const unsigned int ms = 5000;
  const int value = 0;
  fglutTimerFunc(&ms, fallback, &value);
}

void setCloseAction(int action) {
  const int what = GLUT_ACTION_ON_WINDOW_CLOSE;
  fglutSetOption(&what, &action);
}

class MainLoopReturns : public testing::TestWithParam<int> {};

TEST_P(MainLoopReturns, WhenLeftFromATimer) {
  const int id = xin::openWindow("left", 0, 0, 100, 100);
  setCloseAction(GetParam());
  fglutWMCloseFunc(closedFirst);  // the same slot as the close routine
  const unsigned int ms = 10;
  const int value = 0;
  fglutTimerFunc(&ms, [](int *) -> int {
    events.push_back("timer");
    fglutLeaveMainLoop();
    return 0;
  }, &value);
  fglutMainLoop();
  // Shutting down destroys the window, which calls its close routine.
  EXPECT_EQ(events, (std::vector<std::string>{"timer", "close first " + std::to_string(id)}));
}

INSTANTIATE_TEST_SUITE_P(Actions, MainLoopReturns,
                         testing::Values(GLUT_ACTION_GLUTMAINLOOP_RETURNS, GLUT_ACTION_CONTINUE_EXECUTION),
                         [](const testing::TestParamInfo<int> &info) {
                           return std::string(info.param == GLUT_ACTION_GLUTMAINLOOP_RETURNS ? "Returns" : "Continue");
                         });

// Closing the first of two windows: each window's own routine is called with
// that window current; the loop goes on (a timer set afterwards fires) until
// the second is closed too.
TEST(ContinueExecution, LoopEndsWithTheLastWindow) {
  const int first = xin::openWindow("first", 0, 0, 100, 100);
  const Window xFirst = xin::currentXWindow();
  fglutCloseFunc(closedFirst);
  const int second = xin::openWindow("second", 200, 0, 100, 100);
  xWindowOfSecond = xin::currentXWindow();
  fglutCloseFunc(closedSecond);
  setCloseAction(GLUT_ACTION_CONTINUE_EXECUTION);
  // The first window's routine arms a timer whose routine closes the second.
  fglutSetWindow(&first);
  fglutCloseFunc([]() -> int {
    closedFirst();
    const unsigned int ms = 20;
    const int value = 0;
    fglutTimerFunc(&ms, [](int *) -> int {
      events.push_back("timer");
      xin::closeLikeAWindowManager(xWindowOfSecond);
      return 0;
    }, &value);
    return 0;
  });
  armFallback();
  xin::closeLikeAWindowManager(xFirst);
  fglutMainLoop();
  EXPECT_EQ(events, (std::vector<std::string>{"close first " + std::to_string(first), "timer",
                                              "close second " + std::to_string(second)}));
  EXPECT_EQ(glutGet(GLUT_INIT_STATE), 0);
}

// Under GLUT_ACTION_GLUTMAINLOOP_RETURNS closing one of two windows ends the
// loop; shutting down then destroys the other, calling its routine.
TEST(MainLoopReturnsAction, LoopEndsWithTheFirstWindowClosed) {
  const int first = xin::openWindow("first", 0, 0, 100, 100);
  const Window xFirst = xin::currentXWindow();
  fglutCloseFunc(closedFirst);
  const int second = xin::openWindow("second", 200, 0, 100, 100);
  fglutCloseFunc(closedSecond);
  setCloseAction(GLUT_ACTION_GLUTMAINLOOP_RETURNS);
  const int what = GLUT_ACTION_ON_WINDOW_CLOSE;
  EXPECT_EQ(fglutGet(&what), GLUT_ACTION_GLUTMAINLOOP_RETURNS);
  armFallback();
  xin::closeLikeAWindowManager(xFirst);
  fglutMainLoop();
  EXPECT_EQ(events, (std::vector<std::string>{"close first " + std::to_string(first),
                                              "close second " + std::to_string(second)}));
  EXPECT_EQ(glutGet(GLUT_INIT_STATE), 0);  // freeglut has shut itself down
}

// A program that owns its loop: it computes between passes of
// fglutMainLoopEvent, learns of the closed window from its close routine and
// goes on with GLUT still running.
TEST(OwnLoop, GoesOnAfterTheWindowIsClosed) {
  xin::openWindow("own loop", 0, 0, 100, 100);
  setCloseAction(GLUT_ACTION_CONTINUE_EXECUTION);
  static bool closed = false;
  fglutCloseFunc([]() -> int {
    closed = true;
    return 0;
  });
  xin::closeLikeAWindowManager(xin::currentXWindow());
  EXPECT_TRUE(xin::pumpUntil([] { return closed; }));
  EXPECT_EQ(fglutGetWindow(), 0);
  EXPECT_EQ(glutGet(GLUT_INIT_STATE), 1);
  // GLUT still serves the program: a new window opens and draws.
  const int again = xin::openWindow("own loop again", 0, 0, 100, 100);
  EXPECT_GT(again, 0);
  // Destroying a window from the program calls its close routine too, on
  // the next pass of the loop.
  closed = false;
  fglutCloseFunc([]() -> int {
    closed = true;
    return 0;
  });
  fglutDestroyWindow(&again);
  EXPECT_FALSE(closed);
  EXPECT_TRUE(xin::pumpUntil([] { return closed; }));
  fglutExit();
  EXPECT_EQ(glutGet(GLUT_INIT_STATE), 0);
}

// With the default action, closing the window ends the program with status 0
// after the close routine has run, even in a program-owned loop.
void ownLoopWithDefaultAction() {
  xin::openWindow("default action", 0, 0, 100, 100);
  fglutCloseFunc([]() -> int {
    std::fputs("close routine ran\n", stderr);
    return 0;
  });
  xin::closeLikeAWindowManager(xin::currentXWindow());
  xin::pumpUntil([] { return false; });
  std::_Exit(3);
}

TEST(OwnLoop, DefaultActionEndsTheProgramAfterTheCloseRoutine) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(ownLoopWithDefaultAction(), testing::ExitedWithCode(0), "close routine ran");
}

}  // namespace
