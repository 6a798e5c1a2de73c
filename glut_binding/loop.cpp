// The loop in the program's hands: one pass over pending events, timers and
// idle work; leaving the main loop; shutting GLUT down; and freeglut's
// options, among them what closing a window does.
//
// With GLUT_ACTION_ON_WINDOW_CLOSE at GLUT_ACTION_EXIT (the default) closing
// a window ends the program with status 0 after the window's close routine
// has run. At GLUT_ACTION_GLUTMAINLOOP_RETURNS closing any window, and at
// GLUT_ACTION_CONTINUE_EXECUTION closing the last one, makes fglutMainLoop
// return to its caller; freeglut has shut itself down by then.
#include <GL/freeglut.h>

#include "fglut.h"
#include "ending.h"
#include "fglut_conventions.h"

extern "C" {

// One pass waits in GLUT on the program's behalf, as the main loop does, so a
// signal's ending may proceed while it runs.
FGLUT_API void fglutMainLoopEvent(void) {
  const fglut::OutsideFortran pass;
  glutMainLoopEvent();
}
FGLUT_FORTRAN_ALIAS(fglutMainLoopEvent, fglutmainloopevent_)

FGLUT_API void fglutLeaveMainLoop(void) { glutLeaveMainLoop(); }
FGLUT_FORTRAN_ALIAS(fglutLeaveMainLoop, fglutleavemainloop_)

FGLUT_API void fglutExit(void) { glutExit(); }
FGLUT_FORTRAN_ALIAS(fglutExit, fglutexit_)

FGLUT_API void fglutSetOption(const int *what, const int *value) {
  glutSetOption(static_cast<GLenum>(*what), *value);
}
FGLUT_FORTRAN_ALIAS(fglutSetOption, fglutsetoption_)

}  // extern "C"
