#include <gtest/gtest.h>  // before Xlib, whose None macro clashes with it

#include "xinput.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <dlfcn.h>
#include <link.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

// Mesa frees a GL context's memory only when the context is destroyed, which
// a program that ends through exit() never does, and at exit it unloads its
// driver module, leaving that memory without a module name. Keeping the
// driver mapped lets the leak check attribute it and pass over it (below).
int keepModule(dl_phdr_info *info, size_t, void *) {
  if (info->dlpi_name != nullptr && std::strstr(info->dlpi_name, "_dri.so") != nullptr) {
    dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
  }
  return 0;
}
void keepDriverLoaded() { dl_iterate_phdr(keepModule, nullptr); }

struct KeepDriver : testing::Environment {
  void TearDown() override { keepDriverLoaded(); }
};
testing::Environment *const keepDriver = testing::AddGlobalTestEnvironment(new KeepDriver);

// freeglut ends the process through exit(0) when a window is closed under its
// default action; a test cut short that way would count as passed. Ending in
// the middle of a test (outside a death test's child) therefore fails.
void failExitDuringATest() {
  if (testing::UnitTest::GetInstance()->current_test_info() != nullptr &&
      GTEST_FLAG_GET(internal_run_death_test).empty()) {
    std::fputs("the process ended through exit() in the middle of a test\n", stderr);
    std::_Exit(1);
  }
}

struct FailEarlyExit : testing::Environment {
  void SetUp() override { std::atexit(failExitDuringATest); }
};
testing::Environment *const failEarlyExit = testing::AddGlobalTestEnvironment(new FailEarlyExit);

}  // namespace

// Sanitizer settings of the test programs: the driver's context memory is
// not a leak; an allocation the heap cannot serve returns null (the binding
// must then skip its GLUT call), and "cannot serve" starts at 512 MB.
extern "C" __attribute__((visibility("default"), used)) const char *__lsan_default_suppressions() { return "leak:_dri.so\n"; }
extern "C" __attribute__((visibility("default"), used)) const char *__asan_default_options() { return "allocator_may_return_null=1:max_allocation_size_mb=512"; }

namespace xin {

Display *display() {
  static Display *dpy = [] {
    Display *d = XOpenDisplay(nullptr);
    if (d == nullptr) std::abort();
    return d;
  }();
  return dpy;
}

Window currentXWindow() { return glXGetCurrentDrawable(); }

bool pumpUntil(const std::function<bool()> &done) {
  keepDriverLoaded();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    XSync(display(), False);
    glutMainLoopEvent();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

void pumpSettle() {
  for (int i = 0; i < 20; ++i) {
    XSync(display(), False);
    glutMainLoopEvent();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

void moveTo(Window w, int x, int y) {
  Display *d = display();
  int rx = 0, ry = 0;
  Window child;
  XTranslateCoordinates(d, w, DefaultRootWindow(d), x, y, &rx, &ry, &child);
  XTestFakeMotionEvent(d, DefaultScreen(d), rx, ry, CurrentTime);
  XSync(d, False);
}

void button(unsigned int b, bool press) {
  XTestFakeButtonEvent(display(), b, press ? True : False, CurrentTime);
  XSync(display(), False);
}

namespace {
KeyCode codeFor(unsigned long keysym) {
  Display *d = display();
  KeyCode code = XKeysymToKeycode(d, keysym);
  if (code != 0) return code;
  // Map the keysym onto a keycode that has no symbols yet.
  int min = 0, max = 0, per = 0;
  XDisplayKeycodes(d, &min, &max);
  KeySym *map = XGetKeyboardMapping(d, static_cast<KeyCode>(min), max - min + 1, &per);
  for (int c = max; c >= min; --c) {
    bool empty = true;
    for (int i = 0; i < per; ++i) empty = empty && map[(c - min) * per + i] == NoSymbol;
    if (empty) {
      KeySym syms[2] = {keysym, keysym};
      XChangeKeyboardMapping(d, c, 2, syms, 1);
      XSync(d, False);
      code = static_cast<KeyCode>(c);
      break;
    }
  }
  XFree(map);
  return code;
}
}  // namespace

void key(unsigned long keysym, bool press) {
  XTestFakeKeyEvent(display(), codeFor(keysym), press ? True : False, CurrentTime);
  XSync(display(), False);
}

void tap(unsigned long keysym) {
  key(keysym, true);
  key(keysym, false);
}

void flush() { XSync(display(), False); }

void closeLikeAWindowManager(Window w) {
  Display *d = display();
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = w;
  e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, w, False, NoEventMask, &e);
  XSync(d, False);
}

}  // namespace xin

#include <cstring>

#include "fglut.h"

namespace xin {
namespace {
int displays = 0;
int countDisplays() {
  ++displays;
  return 0;
}
}  // namespace

int displayCount() { return displays; }

int openWindow(const char *title, int x, int y, int width, int height) {
  if (glutGet(GLUT_INIT_STATE) == 0) fglutInit();
  fglutInitWindowPosition(&x, &y);
  fglutInitWindowSize(&width, &height);
  const int id = fglutCreateWindowC(title, static_cast<int>(std::strlen(title)));
  fglutDisplayFunc(countDisplays);
  const int before = displays;
  pumpUntil([before] { return displays > before; });
  return id;
}

}  // namespace xin
