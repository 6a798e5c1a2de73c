// Per-window input callbacks driven by real X input (XTest): every routine
// receives the addresses of 4-byte integers holding GLUT's values in GLUT's
// order.
#include <GL/freeglut.h>
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <vector>

#include "fglut.h"
#include "xinput.h"

namespace {

using Args = std::vector<int>;
std::vector<Args> keyboard, keyboardUp, special, specialUp, mouse, motion, passive, entry, status, visibility;

int onKeyboard(int *k, int *x, int *y) {
  keyboard.push_back({*k, *x, *y});
  *k = 0;  // writes go nowhere
  return 0;
}
int onKeyboardUp(int *k, int *x, int *y) { keyboardUp.push_back({*k, *x, *y}); return 0; }
int onSpecial(int *k, int *x, int *y) { special.push_back({*k, *x, *y}); return 0; }
int onSpecialUp(int *k, int *x, int *y) { specialUp.push_back({*k, *x, *y}); return 0; }
int onMouse(int *b, int *s, int *x, int *y) { mouse.push_back({*b, *s, *x, *y}); return 0; }
int onMotion(int *x, int *y) { motion.push_back({*x, *y}); return 0; }
int onPassive(int *x, int *y) { passive.push_back({*x, *y}); return 0; }
int onEntry(int *s) { entry.push_back({*s}); return 0; }
int onStatus(int *s) { status.push_back({*s}); return 0; }
int onVisibility(int *s) { visibility.push_back({*s}); return 0; }

std::vector<Args> otherMouse;
int onOtherMouse(int *b, int *s, int *x, int *y) { otherMouse.push_back({*b, *s, *x, *y}); return 0; }

Window openInputWindow() {
  xin::moveTo(DefaultRootWindow(xin::display()), 5, 5);  // start outside the window
  xin::openWindow("input", 100, 100, 200, 150);
  return xin::currentXWindow();
}

TEST(Keyboard, KeyAndPositionArriveAsFourByteIntegers) {
  const Window w = openInputWindow();
  fglutKeyboardFunc(onKeyboard);
  fglutKeyboardUpFunc(onKeyboardUp);
  xin::moveTo(w, 10, 20);
  xin::tap(XK_a);
  ASSERT_TRUE(xin::pumpUntil([] { return !keyboardUp.empty(); }));
  ASSERT_EQ(keyboard.size(), 1u);
  EXPECT_EQ(keyboard[0], (Args{97, 10, 20}));
  EXPECT_EQ(keyboardUp[0], (Args{97, 10, 20}));
}

TEST(Keyboard, HighKeyByteIsWidenedWithoutSign) {
  const Window w = openInputWindow();
  fglutKeyboardFunc(onKeyboard);
  xin::moveTo(w, 30, 40);
  xin::tap(XK_Egrave);  // Latin-1 code 200
  ASSERT_TRUE(xin::pumpUntil([] { return !keyboard.empty(); }));
  EXPECT_EQ(keyboard[0], (Args{200, 30, 40}));
}

TEST(Keyboard, SpecialKeysDownAndUp) {
  const Window w = openInputWindow();
  fglutSpecialFunc(onSpecial);
  fglutSpecialUpFunc(onSpecialUp);
  xin::moveTo(w, 7, 8);
  xin::tap(XK_F1);
  xin::tap(XK_Left);
  ASSERT_TRUE(xin::pumpUntil([] { return specialUp.size() == 2; }));
  EXPECT_EQ(special, (std::vector<Args>{{GLUT_KEY_F1, 7, 8}, {GLUT_KEY_LEFT, 7, 8}}));
  EXPECT_EQ(specialUp, (std::vector<Args>{{GLUT_KEY_F1, 7, 8}, {GLUT_KEY_LEFT, 7, 8}}));
}

TEST(Mouse, ButtonDownAndUpWithPosition) {
  const Window w = openInputWindow();
  fglutMouseFunc(onMouse);
  xin::moveTo(w, 30, 40);
  xin::button(1, true);
  xin::moveTo(w, 35, 45);
  xin::button(1, false);
  ASSERT_TRUE(xin::pumpUntil([] { return mouse.size() == 2; }));
  EXPECT_EQ(mouse[0], (Args{GLUT_LEFT_BUTTON, GLUT_DOWN, 30, 40}));
  EXPECT_EQ(mouse[1], (Args{GLUT_LEFT_BUTTON, GLUT_UP, 35, 45}));
}

TEST(Mouse, NullThenNewRoutine) {
  const Window w = openInputWindow();
  fglutMouseFunc(onOtherMouse);
  fglutMouseFuncNull();
  fglutKeyboardFunc(onKeyboard);
  xin::moveTo(w, 20, 20);
  xin::button(3, true);
  xin::button(3, false);
  xin::tap(XK_b);  // a marker: once it arrives, the clicks before it were delivered
  ASSERT_TRUE(xin::pumpUntil([] { return !keyboard.empty(); }));
  EXPECT_TRUE(otherMouse.empty());
  fglutMouseFunc(onMouse);
  xin::button(3, true);
  ASSERT_TRUE(xin::pumpUntil([] { return !mouse.empty(); }));
  EXPECT_EQ(mouse[0], (Args{GLUT_RIGHT_BUTTON, GLUT_DOWN, 20, 20}));
  EXPECT_TRUE(otherMouse.empty());
}

TEST(Mouse, MotionWithButtonAndPassiveMotion) {
  const Window w = openInputWindow();
  fglutMotionFunc(onMotion);
  fglutPassiveMotionFunc(onPassive);
  xin::moveTo(w, 11, 12);
  ASSERT_TRUE(xin::pumpUntil([] { return !passive.empty() && passive.back() == Args{11, 12}; }));
  EXPECT_TRUE(motion.empty());
  xin::button(1, true);
  xin::moveTo(w, 50, 60);
  ASSERT_TRUE(xin::pumpUntil([] { return !motion.empty(); }));
  EXPECT_EQ(motion.back(), (Args{50, 60}));
  xin::button(1, false);
}

std::vector<Args> wheelOne, wheelTwo;
int onWheelOne(int *w, int *d, int *x, int *y) { wheelOne.push_back({*w, *d, *x, *y}); return 0; }
int onWheelTwo(int *w, int *d, int *x, int *y) { wheelTwo.push_back({*w, *d, *x, *y}); return 0; }

// Buttons 4 and 5 (the wheel's clicks) reach the wheel routine of the window
// under the pointer as wheel 0, direction +1 or -1, with the position; the
// window's mouse routine does not see them.
TEST(Wheel, EachWindowsClicksReachItsOwnRoutine) {
  xin::moveTo(DefaultRootWindow(xin::display()), 5, 5);
  xin::openWindow("wheel one", 0, 0, 150, 150);
  const Window one = xin::currentXWindow();
  fglutMouseWheelFunc(onWheelOne);
  fglutMouseFunc(onMouse);
  xin::openWindow("wheel two", 200, 0, 150, 150);
  const Window two = xin::currentXWindow();
  fglutMouseWheelFunc(onWheelTwo);
  xin::moveTo(one, 10, 20);
  xin::button(4, true);
  xin::button(4, false);
  xin::button(5, true);
  xin::button(5, false);
  xin::moveTo(two, 30, 40);
  xin::button(5, true);
  xin::button(5, false);
  ASSERT_TRUE(xin::pumpUntil([] { return !wheelTwo.empty(); }));
  EXPECT_EQ(wheelOne, (std::vector<Args>{{0, 1, 10, 20}, {0, -1, 10, 20}}));
  EXPECT_EQ(wheelTwo, (std::vector<Args>{{0, -1, 30, 40}}));
  EXPECT_TRUE(mouse.empty());
  // Without a wheel routine the clicks are buttons again, for the mouse routine.
  fglutMouseWheelFuncNull();
  fglutMouseFunc(onMouse);
  xin::button(4, true);
  ASSERT_TRUE(xin::pumpUntil([] { return !mouse.empty(); }));
  EXPECT_EQ(mouse[0], (Args{3, GLUT_DOWN, 30, 40}));
  EXPECT_EQ(wheelTwo.size(), 1u);
  xin::button(4, false);
}

TEST(Window, EntryOnEnterAndLeave) {
  const Window w = openInputWindow();
  fglutEntryFunc(onEntry);
  xin::moveTo(w, 20, 20);
  ASSERT_TRUE(xin::pumpUntil([] { return !entry.empty(); }));
  EXPECT_EQ(entry[0], (Args{GLUT_ENTERED}));
  xin::moveTo(w, -20, -20);
  ASSERT_TRUE(xin::pumpUntil([] { return entry.back() == Args{GLUT_LEFT}; }));
  // freeglut may report a crossing more than once; never a value but these two.
  for (const Args &e : entry) EXPECT_TRUE(e == Args{GLUT_ENTERED} || e == Args{GLUT_LEFT});
}

TEST(Window, VisibilityOnMapAndUnmap) {
  fglutInit();
  fglutCreateWindowC("visibility", 10);
  fglutDisplayFunc(nullptr);  // no display routine: GLUT is not told of a null one
  fglutVisibilityFunc(onVisibility);
  ASSERT_TRUE(xin::pumpUntil([] { return !visibility.empty(); }));
  EXPECT_EQ(visibility.back(), (Args{GLUT_VISIBLE}));
  fglutHideWindow();
  ASSERT_TRUE(xin::pumpUntil([] { return visibility.back() == Args{GLUT_NOT_VISIBLE}; }));
}

TEST(Window, StatusWhenCoveredBySecondWindow) {
  fglutInit();
  const int x = 100, y = 100, width = 200, height = 150;
  fglutInitWindowPosition(&x, &y);
  fglutInitWindowSize(&width, &height);
  fglutCreateWindowC("below", 5);
  const int below = glutGetWindow();
  fglutDisplayFunc(nullptr);
  fglutWindowStatusFunc(onStatus);
  ASSERT_TRUE(xin::pumpUntil([] { return !status.empty(); }));
  EXPECT_TRUE(status.back() == Args{GLUT_FULLY_RETAINED} || status.back() == Args{GLUT_PARTIALLY_RETAINED});
  const int above = xin::openWindow("above", 90, 90, 300, 300);
  EXPECT_NE(below, above);
  ASSERT_TRUE(xin::pumpUntil([] { return status.back() == Args{GLUT_FULLY_COVERED}; }));
}

}  // namespace
