// The main program and the model parameters. The f2c runtime's main calls
// MAIN__ once; MAIN__ opens the window, fixes the OpenGL state the pictures
// rely on, registers the window routines and enters GLUT's main loop.
#include "viewer.h"

#include <signal.h>
#include <unistd.h>

#include <cstddef>

#include "fgl.h"
#include "fglut.h"

// The f2c runtime's closing of its I/O units (libf2c). Weak, so that test
// programs that link this file without the runtime still link.
extern "C" void f_exit(void) __attribute__((weak));

namespace house {
float depth = 1.0f;
float width = 1.0f;
float height = 1.0f;
float wallColour[3] = {0.0f, 0.0f, 1.0f};  // blue
float roofColour[3] = {1.0f, 0.0f, 0.0f};  // red
}  // namespace house

namespace {
// GLUT_DEPTH; GLUT_RGBA and GLUT_SINGLE are 0: RGBA, single-buffered, depth buffer.
const unsigned int displayMode = 16;
const char title[] = "Fortran GLUT program";
const int titleLength = 20;
static_assert(sizeof title - 1 == titleLength);

const GLenum depthTest = GL_DEPTH_TEST;
const GLenum lighting = GL_LIGHTING;
const GLenum light0 = GL_LIGHT0;
const GLenum colourMaterial = GL_COLOR_MATERIAL;
const GLfloat one = 1.0f;

int windowNumber;  // kept, never read: there is only the one window

// libf2c's handlers for SIGINT and SIGTERM print the runtime's message and
// call exit(1). exit() also runs freeglut's exit handler, which talks to the
// X server: when the signal has interrupted Xlib while it held its connection
// lock (creating the window, painting, reading events), that handler waits
// for the lock forever and the program never ends. These handlers end the
// program the same way, minus that: the runtime's message, the runtime's
// closing of its I/O units, status 1, and no other exit handler.
template <std::size_t N>
[[noreturn]] void endBySignal(const char (&message)[N]) {
  const ssize_t written = write(STDERR_FILENO, message, N - 1);
  (void)written;
  if (f_exit) f_exit();
  _exit(1);
}
void onInterrupt(int) { endBySignal("Interrupt\n"); }
void onKilled(int) { endBySignal("Killed\n"); }

// Takes over from the runtime's handlers; an ignored SIGINT stays ignored,
// as the runtime leaves it (a background job's).
void installSignalEnds() {
  if (signal(SIGINT, onInterrupt) == SIG_IGN) signal(SIGINT, SIG_IGN);
  signal(SIGTERM, onKilled);
}
}  // namespace

extern "C" int MAIN__(void) {
  installSignalEnds();
  fglutInit();
  fglutInitDisplayMode(&displayMode);
  windowNumber = fglutCreateWindowC(title, titleLength);
  fglutDisplayFunc(display);
  fglutReshapeFunc(reshape);
  fglEnable(&depthTest);
  fglEnable(&lighting);
  fglEnable(&light0);
  fglEnable(&colourMaterial);
  fglClearColor(&one, &one, &one, &one);  // opaque white background
  fglutMainLoop();
  return 0;
}
