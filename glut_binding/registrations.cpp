// Registration entries for every callback kind but display and reshape
// (callbacks.cpp), with their trampolines.
//
// Per-window kinds, menus and timers keep the application's routine as the
// user data of freeglut's own callback record (see callbacks.cpp): the routine
// is fetched for the window, menu or timer that the event concerns. Idle, menu
// state and menu status are program-wide and live in static cells here.
// Every trampoline calls its routine with the addresses of its own copies of
// GLUT's values, in GLUT's order, and does nothing when no routine is held.
#include <GL/freeglut.h>

#include "fglut.h"
#include "fglut_conventions.h"

namespace {

using fglut::asData;
using fglut::asRoutine;

void call0(void *data) {
  if (auto routine = asRoutine<fglut_routine0>(data)) routine();
}
void call1(int a, void *data) {
  if (auto routine = asRoutine<fglut_routine1>(data)) routine(&a);
}
void call2(int a, int b, void *data) {
  if (auto routine = asRoutine<fglut_routine2>(data)) routine(&a, &b);
}
void call3(int a, int b, int c, void *data) {
  if (auto routine = asRoutine<fglut_routine3>(data)) routine(&a, &b, &c);
}
void call4(int a, int b, int c, int d, void *data) {
  if (auto routine = asRoutine<fglut_routine4>(data)) routine(&a, &b, &c, &d);
}
void call5(int a, int b, int c, int d, int e, void *data) {
  if (auto routine = asRoutine<fglut_routine5>(data)) routine(&a, &b, &c, &d, &e);
}
// The key byte is widened (zero-extended) to a 4-byte integer 0..255.
void callKey(unsigned char key, int x, int y, void *data) {
  int wide = key;
  if (auto routine = asRoutine<fglut_routine3>(data)) routine(&wide, &x, &y);
}
void callJoystick(unsigned int buttons, int x, int y, int z, void *data) {
  if (auto routine = asRoutine<fglut_joystick_routine>(data)) routine(&buttons, &x, &y, &z);
}

// The program-wide cells.
fglut_routine0 idleRoutine = nullptr;
fglut_routine1 menuStateRoutine = nullptr;
fglut_routine3 menuStatusRoutine = nullptr;

void idleTrampoline() {
  if (idleRoutine != nullptr) fglut::callRoutine(idleRoutine);
}
void menuStateTrampoline(int status) {
  if (menuStateRoutine != nullptr) fglut::callRoutine(menuStateRoutine, &status);
}
void menuStatusTrampoline(int status, int x, int y) {
  if (menuStatusRoutine != nullptr) fglut::callRoutine(menuStatusRoutine, &status, &x, &y);
}

}  // namespace

// A per-window kind: the entry registers the trampoline with the routine as
// its user data; the Null entry registers no callback with GLUT.
#define FGLUT_WINDOW_KIND(Kind, kind, Routine, trampoline)                                       \
  extern "C" FGLUT_API void fglut##Kind##Func(Routine routine) {                                 \
    FGLUT_CHECK_CURRENT_WINDOW();                                                                \
    glut##Kind##FuncUcall(trampoline, asData(routine));                                          \
  }                                                                                              \
  FGLUT_FORTRAN_ALIAS(fglut##Kind##Func, fglut##kind##func_)                                     \
  extern "C" FGLUT_API void fglut##Kind##FuncNull(void) { glut##Kind##FuncUcall(nullptr, nullptr); } \
  FGLUT_FORTRAN_ALIAS(fglut##Kind##FuncNull, fglut##kind##funcnull_)

FGLUT_WINDOW_KIND(Mouse, mouse, fglut_routine4, call4)
FGLUT_WINDOW_KIND(Motion, motion, fglut_routine2, call2)
FGLUT_WINDOW_KIND(PassiveMotion, passivemotion, fglut_routine2, call2)
FGLUT_WINDOW_KIND(Entry, entry, fglut_routine1, call1)
FGLUT_WINDOW_KIND(Keyboard, keyboard, fglut_routine3, callKey)
FGLUT_WINDOW_KIND(KeyboardUp, keyboardup, fglut_routine3, callKey)
// freeglut implements visibility on top of its window-status callback, so a
// window has one or the other: the kind registered last is called.
FGLUT_WINDOW_KIND(WindowStatus, windowstatus, fglut_routine1, call1)
FGLUT_WINDOW_KIND(Visibility, visibility, fglut_routine1, call1)
FGLUT_WINDOW_KIND(Special, special, fglut_routine3, call3)
FGLUT_WINDOW_KIND(SpecialUp, specialup, fglut_routine3, call3)
FGLUT_WINDOW_KIND(ButtonBox, buttonbox, fglut_routine2, call2)
FGLUT_WINDOW_KIND(Dials, dials, fglut_routine2, call2)
FGLUT_WINDOW_KIND(SpaceballMotion, spaceballmotion, fglut_routine3, call3)
FGLUT_WINDOW_KIND(SpaceballRotate, spaceballrotate, fglut_routine3, call3)
FGLUT_WINDOW_KIND(SpaceballButton, spaceballbutton, fglut_routine2, call2)
FGLUT_WINDOW_KIND(TabletMotion, tabletmotion, fglut_routine2, call2)
FGLUT_WINDOW_KIND(TabletButton, tabletbutton, fglut_routine4, call4)
FGLUT_WINDOW_KIND(OverlayDisplay, overlaydisplay, fglut_routine0, call0)
// freeglut calls the close routine while it destroys the window (the window
// is current then), whether the window manager asked for it or the program
// did; WMClose names the same slot. Menu destruction is kept per menu.
FGLUT_WINDOW_KIND(Close, close, fglut_routine0, call0)
FGLUT_WINDOW_KIND(WMClose, wmclose, fglut_routine0, call0)
FGLUT_WINDOW_KIND(MenuDestroy, menudestroy, fglut_routine0, call0)
FGLUT_WINDOW_KIND(MouseWheel, mousewheel, fglut_routine4, call4)
FGLUT_WINDOW_KIND(Position, position, fglut_routine2, call2)
FGLUT_WINDOW_KIND(MultiEntry, multientry, fglut_routine2, call2)
FGLUT_WINDOW_KIND(MultiButton, multibutton, fglut_routine5, call5)
FGLUT_WINDOW_KIND(MultiMotion, multimotion, fglut_routine3, call3)
FGLUT_WINDOW_KIND(MultiPassive, multipassive, fglut_routine3, call3)

#undef FGLUT_WINDOW_KIND

extern "C" {

FGLUT_API void fglutJoystickFunc(fglut_joystick_routine routine, const int *pollInterval) {
  glutJoystickFuncUcall(callJoystick, *pollInterval, asData(routine));
}
FGLUT_FORTRAN_ALIAS(fglutJoystickFunc, fglutjoystickfunc_)

FGLUT_API void fglutJoystickFuncNull(const int *pollInterval) {
  glutJoystickFuncUcall(nullptr, *pollInterval, nullptr);
}
FGLUT_FORTRAN_ALIAS(fglutJoystickFuncNull, fglutjoystickfuncnull_)

// The menu keeps its routine from creation until it is destroyed.
FGLUT_API int fglutCreateMenu(fglut_routine1 routine) {
  const int id = glutCreateMenuUcall(call1, asData(routine));
  FGLUT_CHECK_MADE(menu, id);
  return id;
}
FGLUT_FORTRAN_ALIAS(fglutCreateMenu, fglutcreatemenu_)

// Each timer carries its own routine and value; freeglut recycles a fired
// timer's record, so any number of timers over a run needs no more storage
// than the most pending at once.
FGLUT_API void fglutTimerFunc(const unsigned int *milliseconds, fglut_routine1 routine, const int *value) {
  glutTimerFuncUcall(*milliseconds, call1, *value, asData(routine));
}
FGLUT_FORTRAN_ALIAS(fglutTimerFunc, fgluttimerfunc_)

// A null routine registers no idle callback: GLUT's main loop then waits for
// events instead of spinning through a trampoline with nothing to call.
FGLUT_API void fglutIdleFunc(fglut_routine0 routine) {
  idleRoutine = routine;
  glutIdleFunc(routine != nullptr ? idleTrampoline : nullptr);
}
FGLUT_FORTRAN_ALIAS(fglutIdleFunc, fglutidlefunc_)

FGLUT_API void fglutIdleFuncNull(void) {
  idleRoutine = nullptr;
  glutIdleFunc(nullptr);
}
FGLUT_FORTRAN_ALIAS(fglutIdleFuncNull, fglutidlefuncnull_)

FGLUT_API void fglutMenuStateFunc(fglut_routine1 routine) {
  menuStateRoutine = routine;
  glutMenuStateFunc(menuStateTrampoline);
}
FGLUT_FORTRAN_ALIAS(fglutMenuStateFunc, fglutmenustatefunc_)

FGLUT_API void fglutMenuStateFuncNull(void) {
  menuStateRoutine = nullptr;
  glutMenuStateFunc(nullptr);
}
FGLUT_FORTRAN_ALIAS(fglutMenuStateFuncNull, fglutmenustatefuncnull_)

FGLUT_API void fglutMenuStatusFunc(fglut_routine3 routine) {
  menuStatusRoutine = routine;
  glutMenuStatusFunc(menuStatusTrampoline);
}
FGLUT_FORTRAN_ALIAS(fglutMenuStatusFunc, fglutmenustatusfunc_)

FGLUT_API void fglutMenuStatusFuncNull(void) {
  menuStatusRoutine = nullptr;
  glutMenuStatusFunc(nullptr);
}
FGLUT_FORTRAN_ALIAS(fglutMenuStatusFuncNull, fglutmenustatusfuncnull_)

}  // extern "C"
