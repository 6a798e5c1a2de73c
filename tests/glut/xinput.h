// Test-side helpers: real X input through XTest against freeglut windows, and
// waiting on a program's own event counters while pumping freeglut's events.
#pragma once

#include <X11/Xlib.h>

#include <functional>

namespace xin {

// The test's own connection to the X server (opened on first use).
Display *display();

// The X window of GLUT's current window.
Window currentXWindow();

// Pumps glutMainLoopEvent until `done` holds or about five seconds pass;
// returns whether `done` held.
bool pumpUntil(const std::function<bool()> &done);

// Pumps events for a short settling period with nothing expected (used only
// to prove that something does NOT happen; it waits on a round trip with the
// X server, not on a clock).
void pumpSettle();

// Moves the pointer to (x, y) in the window's coordinates.
void moveTo(Window w, int x, int y);
void button(unsigned int button, bool press);
// Presses and releases the key that produces `keysym`, mapping it onto a
// spare keycode if the keyboard has none.
void key(unsigned long keysym, bool press);
void tap(unsigned long keysym);
void flush();
// Sends `w` the WM_DELETE_WINDOW message that a window manager sends when
// the window's close button is pressed.
void closeLikeAWindowManager(Window w);

}  // namespace xin

namespace xin {

// Initialises GLUT through fglutInit (once per process) and opens a window
// at (x, y) of the given size through the binding, with a display routine
// that counts its calls; waits until the window has been drawn once.
// Returns GLUT's window identifier.
int openWindow(const char *title, int x, int y, int width, int height);
// Display calls seen by windows opened with openWindow.
int displayCount();

}  // namespace xin
