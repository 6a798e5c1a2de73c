// The callback store: timers, idle, per-window routines, null routines.
#include <gtest/gtest.h>  // before Xlib, whose None macro clashes with it

#include <GL/freeglut.h>
#include <X11/keysym.h>
#include <malloc.h>
#include <sanitizer/common_interface_defs.h>

#include <cstdio>
#include <vector>

#include "fglut.h"
#include "xinput.h"

extern "C" size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

namespace {

std::vector<int> timerA, timerB;
int onTimerA(int *value) { timerA.push_back(*value); return 0; }
int onTimerB(int *value) { timerB.push_back(*value); return 0; }

TEST(Timer, TwoPendingTimersCallTheirOwnRoutinesWithTheirOwnValues) {
  xin::openWindow("timers", 0, 0, 100, 100);
  const unsigned int ms1 = 1, ms5 = 5;
  const int valueA = 17, valueB = -4;
  fglutTimerFunc(&ms5, onTimerB, &valueB);
  fglutTimerFunc(&ms1, onTimerA, &valueA);
  ASSERT_TRUE(xin::pumpUntil([] { return !timerA.empty() && !timerB.empty(); }));
  EXPECT_EQ(timerA, std::vector<int>{17});
  EXPECT_EQ(timerB, std::vector<int>{-4});
}

// Bytes the heap currently holds for the program.
size_t heapInUse() {
  if (__sanitizer_get_current_allocated_bytes != nullptr) return __sanitizer_get_current_allocated_bytes();
  return mallinfo2().uordblks;
}

int fired = 0;
int countTimer(int *) { ++fired; return 0; }
int countTimerWithWord(int *, long long *word) { fired += static_cast<int>(*word); return 0; }

TEST(Timer, ThousandsOfTimersNeedNoMoreStorage) {
  xin::openWindow("timers", 0, 0, 100, 100);
  const unsigned int ms = 0;
  const int value = 1;
  auto batch = [&](int rounds) {
    for (int r = 0; r < rounds; ++r) {
      const int target = fired + 10;
      // Plain and Ucall timers alike: the layer's records of the latter are
      // reused too.
      const long long one = 1;
      for (int i = 0; i < 5; ++i) {
        fglutTimerFunc(&ms, countTimer, &value);
        fglutTimerFuncUcall(&ms, countTimerWithWord, &value, &one);
      }
      if (!xin::pumpUntil([target] { return fired >= target; })) return false;
    }
    return true;
  };
  ASSERT_TRUE(batch(10));  // freeglut's pool reaches its steady size
  const size_t before = heapInUse();
  ASSERT_TRUE(batch(500));
  const size_t after = heapInUse();
  EXPECT_EQ(fired, 5100);
  // 5000 leaked timer records would be well over 100 kB.
  EXPECT_LT(after, before + 16 * 1024);
  std::printf("heap in use before 5000 timers: %zu bytes, after: %zu bytes\n", before, after);
}

int idleCalls = 0;
int idleCallsAtRemoval = -1;
int idleCallsAfterPause = -1;
int onIdle() {
  ++idleCalls;
  if (idleCalls == 5) {
    fglutIdleFuncNull();
    idleCallsAtRemoval = idleCalls;
    // While no idle routine is registered, time passes through timers only.
    const unsigned int ms = 30;
    const int value = 0;
    fglutTimerFunc(&ms, [](int *) -> int {
      idleCallsAfterPause = idleCalls;
      fglutIdleFunc(onIdle);
      return 0;
    }, &value);
  }
  if (idleCalls == 10) glutLeaveMainLoop();
  return 0;
}

TEST(Idle, RemovedByNullAndRestored) {
  xin::openWindow("idle", 0, 0, 100, 100);
  glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
  fglutIdleFunc(onIdle);
  fglutMainLoop();
  EXPECT_EQ(idleCallsAtRemoval, 5);
  EXPECT_EQ(idleCallsAfterPause, 5);  // no idle call while removed
  EXPECT_EQ(idleCalls, 10);           // and calls again once restored
}

std::vector<int> displayed;
std::vector<std::vector<int>> keysOne, keysTwo;
int displayOne() { displayed.push_back(1); return 0; }
int displayTwo() { displayed.push_back(2); return 0; }
int keyOne(int *k, int *x, int *y) { keysOne.push_back({*k, *x, *y}); return 0; }
int keyTwo(int *k, int *x, int *y) { keysTwo.push_back({*k, *x, *y}); return 0; }

TEST(Windows, EachWindowCallsItsOwnDisplayAndKeyboardRoutines) {
  const int one = xin::openWindow("one", 0, 0, 100, 100);
  const Window xOne = xin::currentXWindow();
  fglutDisplayFunc(displayOne);
  fglutKeyboardFunc(keyOne);
  const int two = xin::openWindow("two", 200, 0, 100, 100);
  const Window xTwo = xin::currentXWindow();
  fglutDisplayFunc(displayTwo);
  fglutKeyboardFunc(keyTwo);
  ASSERT_NE(one, two);
  displayed.clear();
  fglutPostWindowRedisplay(&two);
  ASSERT_TRUE(xin::pumpUntil([] { return !displayed.empty(); }));
  fglutPostWindowRedisplay(&one);
  ASSERT_TRUE(xin::pumpUntil([] { return displayed.size() == 2; }));
  EXPECT_EQ(displayed, (std::vector<int>{2, 1}));
  xin::moveTo(xOne, 5, 6);
  xin::tap(XK_x);
  xin::moveTo(xTwo, 7, 8);
  xin::tap(XK_y);
  ASSERT_TRUE(xin::pumpUntil([] { return !keysTwo.empty(); }));
  EXPECT_EQ(keysOne, (std::vector<std::vector<int>>{{'x', 5, 6}}));
  EXPECT_EQ(keysTwo, (std::vector<std::vector<int>>{{'y', 7, 8}}));
}

TEST(Windows, DestroyedWindowsRoutinesAreNotInherited) {
  const int first = xin::openWindow("first", 0, 0, 100, 100);
  fglutKeyboardFunc(keyOne);
  fglutDestroyWindow(&first);
  xin::openWindow("second", 0, 0, 100, 100);
  const Window x = xin::currentXWindow();
  fglutMouseFunc([](int *, int *, int *, int *) -> int {
    keysTwo.push_back({0});
    return 0;
  });
  xin::moveTo(x, 10, 10);
  xin::tap(XK_z);
  xin::button(1, true);  // a marker after the key
  ASSERT_TRUE(xin::pumpUntil([] { return !keysTwo.empty(); }));
  EXPECT_TRUE(keysOne.empty());
}

int subDisplays = 0;
TEST(Windows, SubWindowIdentifierAndDisplay) {
  const int parent = xin::openWindow("parent", 0, 0, 200, 200);
  const int x = 10, y = 20, w = 50, h = 40;
  const int sub = fglutCreateSubWindow(&parent, &x, &y, &w, &h);
  EXPECT_GT(sub, parent);
  EXPECT_EQ(sub, fglutGetWindow());
  fglutDisplayFunc([]() -> int { ++subDisplays; return 0; });
  ASSERT_TRUE(xin::pumpUntil([] { return subDisplays > 0; }));
  const int qx = GLUT_WINDOW_X, qw = GLUT_WINDOW_WIDTH, qparent = GLUT_WINDOW_PARENT;
  EXPECT_EQ(fglutGet(&qw), 50);
  EXPECT_EQ(fglutGet(&qparent), parent);
  EXPECT_EQ(fglutGet(&qx), 10);
}

int fallbackCalls = 0;
TEST(Windows, NullDisplayRoutineDoesNotEndTheProgram) {
  fglutInit();
  fglutCreateWindowC("null display", 12);
  fglutDisplayFunc(nullptr);
  fglutReshapeFunc(nullptr);
  fglutReshapeFunc([](int *, int *) -> int { ++fallbackCalls; return 0; });
  ASSERT_TRUE(xin::pumpUntil([] { return fallbackCalls > 0; }));
  fglutReshapeFuncNull();
  fglutReshapeFunc([](int *, int *) -> int { fallbackCalls = 100; return 0; });
  const int w = 320, h = 200;
  fglutReshapeWindow(&w, &h);
  ASSERT_TRUE(xin::pumpUntil([] { return fallbackCalls == 100; }));
}

}  // namespace

namespace {

int keys = 0, clicks = 0, shows = 0;
int stray0() { return 0; }
int stray2(int *, int *) { return 0; }
int stray3(int *, int *, int *) { return 0; }
int stray4(int *, int *, int *, int *) { return 0; }
int strayJoystick(unsigned int *, int *, int *, int *) { return 0; }

// The overlay and the devices that freeglut does not offer on X11 (or that
// this display lacks) never call their routines here; what they would hand
// the routines is checked against the recording stand-in (forwards_test.cpp).
// Registering them leaves the window's other slots as they were, and so does
// unregistering them.
TEST(Registrations, OverlayAndDeviceKindsLeaveOtherSlotsAlone) {
  xin::openWindow("devices", 0, 0, 100, 100);
  const Window w = xin::currentXWindow();
  fglutDisplayFunc([]() -> int { ++shows; return 0; });
  fglutKeyboardFunc([](int *, int *, int *) -> int { ++keys; return 0; });
  fglutMouseFunc([](int *, int *, int *, int *) -> int { ++clicks; return 0; });
  const int poll = 10;
  fglutOverlayDisplayFunc(stray0);
  fglutButtonBoxFunc(stray2);
  fglutDialsFunc(stray2);
  fglutSpaceballMotionFunc(stray3);
  fglutSpaceballRotateFunc(stray3);
  fglutSpaceballButtonFunc(stray2);
  fglutTabletMotionFunc(stray2);
  fglutTabletButtonFunc(stray4);
  fglutJoystickFunc(strayJoystick, &poll);
  fglutEstablishOverlay();
  fglutPostOverlayRedisplay();
  fglutPostRedisplay();
  fglutForceJoystickFunc();
  xin::moveTo(w, 10, 10);
  xin::tap(XK_k);
  xin::button(1, true);
  xin::button(1, false);
  ASSERT_TRUE(xin::pumpUntil([] { return keys == 1 && clicks == 2 && shows > 0; }));
  fglutOverlayDisplayFuncNull();
  fglutButtonBoxFuncNull();
  fglutDialsFuncNull();
  fglutSpaceballMotionFuncNull();
  fglutSpaceballRotateFuncNull();
  fglutSpaceballButtonFuncNull();
  fglutTabletMotionFuncNull();
  fglutTabletButtonFuncNull();
  fglutJoystickFuncNull(&poll);
  fglutRemoveOverlay();
  xin::tap(XK_k);
  ASSERT_TRUE(xin::pumpUntil([] { return keys == 2; }));
}

}  // namespace

namespace {

int ownReshapes = 0;
TEST(Registrations, ReshapeNullLeavesGlutsOwnViewportSetting) {
  xin::openWindow("reshape", 0, 0, 100, 100);
  fglutReshapeFunc([](int *, int *) -> int { ++ownReshapes; return 0; });
  const int w0 = 200, h0 = 150;
  fglutReshapeWindow(&w0, &h0);
  ASSERT_TRUE(xin::pumpUntil([] { return ownReshapes > 0; }));
  const int before = ownReshapes;
  fglutReshapeFuncNull();
  const int w = 320, h = 200;
  fglutReshapeWindow(&w, &h);
  ASSERT_TRUE(xin::pumpUntil([] {
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    return viewport[2] == 320 && viewport[3] == 200;
  }));
  EXPECT_EQ(ownReshapes, before);
}

}  // namespace
