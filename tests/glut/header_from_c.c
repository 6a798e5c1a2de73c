/* fglut.h compiles as C: a C caller registers routines of the declared
 * types and takes the entries' addresses. */
#include "fglut.h"

static int display(void) { return 0; }
static int keyboard(int *key, int *x, int *y) { return *key + *x + *y; }

int fglutHeaderFromC(void) {
  void (*registerDisplay)(fglut_routine0) = fglutDisplayFunc;
  void (*registerKeyboard)(fglut_routine3) = fglutKeyboardFunc;
  float (*getColor)(const int *, const int *) = fglutGetColor;
  fglut_routine0 d = display;
  fglut_routine3 k = keyboard;
  return registerDisplay != 0 && registerKeyboard != 0 && getColor != 0 && d != 0 && k != 0;
}
