// Viewport, orthographic projection and viewing rotation for a window size.
// The shorter side of the window spans -1 to 1, so the model keeps its
// proportions; the model is turned 30 degrees about y, then tilted 30 degrees
// about x, so the front (+z), left (-x) and top faces are seen.
#include "viewer.h"

#include "fgl.h"

namespace {
GLint windowWidth;
GLint windowHeight;
GLdouble left;
GLdouble right;
GLdouble bottom;
GLdouble top;
GLdouble nearBound;
GLdouble farBound;

const GLint origin = 0;
const GLenum projectionMode = GL_PROJECTION;
const GLenum modelviewMode = GL_MODELVIEW;
const GLfloat viewAngle = 30.0f;
const GLfloat zero = 0.0f;
const GLfloat one = 1.0f;
}  // namespace

extern "C" int reshape(int *width, int *height) {
  windowWidth = *width;
  windowHeight = *height;

  // A window with no width or no height has no proportions to keep (the
  // quotient below would divide by zero): keep the previous viewport and
  // projection until both sizes are positive again.
  if (windowWidth <= 0 || windowHeight <= 0) return 0;

  if (windowHeight > windowWidth) {  // tall window
    left = -1.0;
    right = 1.0;
    bottom = static_cast<double>(-windowHeight) / static_cast<double>(windowWidth);
    top = static_cast<double>(windowHeight) / static_cast<double>(windowWidth);
  } else {  // wide or square window
    left = static_cast<double>(-windowWidth) / static_cast<double>(windowHeight);
    right = static_cast<double>(windowWidth) / static_cast<double>(windowHeight);
    bottom = -1.0;
    top = 1.0;
  }
  nearBound = -1.0;
  farBound = 1.0;

  fglViewport(&origin, &origin, &windowWidth, &windowHeight);
  fglMatrixMode(&projectionMode);
  fglLoadIdentity();
  fglOrtho(&left, &right, &bottom, &top, &nearBound, &farBound);
  fglMatrixMode(&modelviewMode);
  fglLoadIdentity();
  fglRotatef(&viewAngle, &one, &zero, &zero);
  fglRotatef(&viewAngle, &zero, &one, &zero);
  return 0;
}
