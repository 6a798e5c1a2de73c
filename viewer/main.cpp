// The main program and the model parameters. The f2c runtime's main calls
// MAIN__ once; MAIN__ opens the window, fixes the OpenGL state the pictures
// rely on, registers the window routines and enters GLUT's main loop.
#include "viewer.h"

#include <signal.h>
#include <unistd.h>

#include <cstddef>

#include "fgl.h"
#include "fglut.h"

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
// call exit(1), and exit() runs the runtime's closing of its I/O units and
// freeglut's exit handler. Neither may run inside a signal handler: the first
// takes the heap lock (it allocates stdio buffers), the second talks to the X
// server and takes Xlib's connection lock; when the signal has interrupted
// the program while it held one of those locks (Mesa allocating while it
// draws, Xlib creating the window or reading events), the program waits for
// it forever and never ends. These handlers end the program with the same
// message and the same status using only calls that are safe in a signal
// handler. The viewer does no Fortran I/O, so no unit has anything to close.
template <std::size_t N>
[[noreturn]] void endBySignal(const char (&message)[N]) {
  const ssize_t written = write(STDERR_FILENO, message, N - 1);
  (void)written;
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
