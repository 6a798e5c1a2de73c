// The callback store and the display and reshape trampolines.
//
// freeglut keeps every callback per window (and per menu and per timer)
// together with a user-data pointer that it hands back on each call. The
// layer registers one fixed trampoline per callback kind and passes the
// application's routine as that pointer, so freeglut's own per-window record
// is the slot store: a routine stored while a window is current is fetched
// only for that window's events, a new registration replaces it, and a
// destroyed window takes its routines with it. A trampoline whose pointer is
// null does nothing. The Ucall forms of these two kinds, with the program's
// word beside the routine, are in registrations.cpp with those of the others.
#include <GL/freeglut.h>

#include "fglut.h"
#include "fglut_conventions.h"

namespace {

void displayTrampoline(void *data) {
  if (auto routine = fglut::asRoutine<fglut_routine0>(data)) routine();
}

void reshapeTrampoline(int width, int height, void *data) {
  if (auto routine = fglut::asRoutine<fglut_reshape_routine>(data)) routine(&width, &height);
}

}  // namespace

extern "C" {

// freeglut treats a null display callback as a fatal error; a null routine
// therefore registers the trampoline with nothing to call.
FGLUT_API void fglutDisplayFunc(fglut_routine0 routine) {
  FGLUT_CHECK_CURRENT_WINDOW();
  glutDisplayFuncUcall(displayTrampoline, fglut::asData(routine));
}
FGLUT_FORTRAN_ALIAS(fglutDisplayFunc, fglutdisplayfunc_)

FGLUT_API void fglutReshapeFunc(fglut_reshape_routine routine) {
  FGLUT_CHECK_CURRENT_WINDOW();
  glutReshapeFuncUcall(reshapeTrampoline, fglut::asData(routine));
}
FGLUT_FORTRAN_ALIAS(fglutReshapeFunc, fglutreshapefunc_)

// No reshape routine: freeglut falls back to its default reshape, which sets
// the viewport to the whole window.
FGLUT_API void fglutReshapeFuncNull(void) { glutReshapeFuncUcall(nullptr, nullptr); }
FGLUT_FORTRAN_ALIAS(fglutReshapeFuncNull, fglutreshapefuncnull_)

}  // extern "C"
