/* Opens a freeglut window so that an OpenGL context is current for the
 * Fortran program that calls it (CALL OPENWN). */
#include <GL/freeglut.h>

void openwn_(void) {
  static char name[] = "linkage";
  static char *argv[] = {name, 0};
  int argc = 1;
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGBA | GLUT_SINGLE | GLUT_DEPTH);
  glutInitWindowSize(64, 64);
  glutCreateWindow(name);
}
