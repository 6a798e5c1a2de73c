/* probe.c: a C consumer of the installed libraries, by address as the
 * entries take their arguments. Fills a window with red, reads the centre
 * pixel back, exits 0 if it is red. */
#include <fgl.h>
#include <fglut.h>
#include <stdio.h>
#include <stdlib.h>

static int show(void) {
  static const GLfloat red = 1.0f, zero = 0.0f, one = 1.0f;
  static const GLbitfield colour = GL_COLOR_BUFFER_BIT;
  static const GLint centre = 20, size = 1;
  static const GLenum format = GL_RGBA, type = GL_UNSIGNED_BYTE;
  GLubyte rgba[4] = {0, 0, 0, 0};
  fglClearColor(&red, &zero, &zero, &one);
  fglClear(&colour);
  fglFinish();
  fglReadPixels(&centre, &centre, &size, &size, &format, &type, rgba);
  printf("PROBE %d %d %d\n", rgba[0], rgba[1], rgba[2]);
  exit(rgba[0] == 255 && rgba[1] == 0 && rgba[2] == 0 ? 0 : 1);
}

int main(void) {
  static const unsigned int mode = 0; /* GLUT_RGBA | GLUT_SINGLE */
  static const int width = 40, height = 40;
  fglutInit();
  fglutInitDisplayMode(&mode);
  fglutInitWindowSize(&width, &height);
  fglutCreateWindowC("probe", 5);
  fglutDisplayFunc(show);
  fglutMainLoop();
  return 1;
}
