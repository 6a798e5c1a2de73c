/* Uses the installed GLU layer from C99: prints GLU's text for one error
 * code through the CHARACTER-style entry, and a quadric handle. */
#include <stdio.h>

#include "fglu.h"

int main(void) {
  char text[32];
  const GLenum code = GLU_INVALID_ENUM;
  const GLint n = fgluErrorStringC(&code, text, (int)sizeof text);
  const GLint q = fgluNewQuadric();
  fgluDeleteQuadric(&q);
  printf("GLU PROBE %d %.*s %d\n", (int)n, (int)(n < 32 ? n : 32), text, q > 0);
  return n > 0 && q > 0 ? 0 : 1;
}
