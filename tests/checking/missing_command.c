/* A driver without the commands of OpenGL 4.6: this program's own
 * glXGetProcAddress finds nothing. An entry of such a command makes no call;
 * the next fglGetError returns GL_INVALID_OPERATION, and the checking build
 * names the entry and the command. Needs no window: no OpenGL call is made
 * but glGetError's. */
#include <stdio.h>

#include "fgl.h"

__attribute__((visibility("default"))) void (*glXGetProcAddress(const GLubyte *name))(void) {
  (void)name;
  return NULL;
}

int main(void) {
  const GLuint shader = 1, none = 0;
  const GLfloat factor = 1.0f, units = 1.0f, clamp = 0.5f;
  fglSpecializeShader(&shader, "main", &none, NULL, NULL);
  fglPolygonOffsetClamp(&factor, &units, &clamp);
  printf("error %u\n", fglGetError());
  return 0;
}
