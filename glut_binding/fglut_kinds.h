// The per-window callback kinds of the GLUT layer, as one list: the
// registration entries (registrations.cpp) and the tests are generated from
// it.
#pragma once

// Every per-window kind with a plain and a Ucall registration (display and
// reshape have their plain entries in callbacks.cpp): the kind, its name in
// lower case, the routine type, the trampoline, and whose slot it fills
// (registrations.cpp defines the trampolines and the owners).
// freeglut implements visibility on top of its window-status callback, so a
// window has one or the other: the kind registered last is called. freeglut
// calls the close routine while it destroys the window (the window is current
// then), whether the window manager asked for it or the program did; WMClose
// names the same slot. Menu destruction is kept per menu. freeglut calls a
// window's context routine once, when its loop first handles the new window
// (before the first display); the application-status routine only on
// platforms with such events (not on X11).
#define FGLUT_SLOT_KINDS(X)                                                 \
  X(Mouse, mouse, fglut_routine4, call4, currentWindow)                     \
  X(Motion, motion, fglut_routine2, call2, currentWindow)                   \
  X(PassiveMotion, passivemotion, fglut_routine2, call2, currentWindow)     \
  X(Entry, entry, fglut_routine1, call1, currentWindow)                     \
  X(Keyboard, keyboard, fglut_routine3, callKey, currentWindow)             \
  X(KeyboardUp, keyboardup, fglut_routine3, callKey, currentWindow)         \
  X(WindowStatus, windowstatus, fglut_routine1, call1, currentWindow)       \
  X(Visibility, visibility, fglut_routine1, call1, currentWindow)           \
  X(Special, special, fglut_routine3, call3, currentWindow)                 \
  X(SpecialUp, specialup, fglut_routine3, call3, currentWindow)             \
  X(ButtonBox, buttonbox, fglut_routine2, call2, currentWindow)             \
  X(Dials, dials, fglut_routine2, call2, currentWindow)                     \
  X(SpaceballMotion, spaceballmotion, fglut_routine3, call3, currentWindow) \
  X(SpaceballRotate, spaceballrotate, fglut_routine3, call3, currentWindow) \
  X(SpaceballButton, spaceballbutton, fglut_routine2, call2, currentWindow) \
  X(TabletMotion, tabletmotion, fglut_routine2, call2, currentWindow)       \
  X(TabletButton, tabletbutton, fglut_routine4, call4, currentWindow)       \
  X(OverlayDisplay, overlaydisplay, fglut_routine0, call0, currentWindow)   \
  X(Close, close, fglut_routine0, call0, currentWindow)                     \
  X(WMClose, wmclose, fglut_routine0, call0, currentWindow)                 \
  X(MenuDestroy, menudestroy, fglut_routine0, call0, currentMenu)           \
  X(MouseWheel, mousewheel, fglut_routine4, call4, currentWindow)           \
  X(Position, position, fglut_routine2, call2, currentWindow)               \
  X(MultiEntry, multientry, fglut_routine2, call2, currentWindow)           \
  X(MultiButton, multibutton, fglut_routine5, call5, currentWindow)         \
  X(MultiMotion, multimotion, fglut_routine3, call3, currentWindow)         \
  X(MultiPassive, multipassive, fglut_routine3, call3, currentWindow)       \
  X(AppStatus, appstatus, fglut_routine1, call1, currentWindow)             \
  X(InitContext, initcontext, fglut_routine0, call0, currentWindow)

