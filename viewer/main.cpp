// The main program and the model parameters. The f2c runtime's main calls
// MAIN__ once; MAIN__ opens the window, fixes the OpenGL state the pictures
// rely on, registers the window routines and enters GLUT's main loop.
// SIGINT and SIGTERM end it as they end every program on the f2c runtime
// that initialises GLUT through the layer: with the runtime's message and
// status 1, never waiting on a lock.
#include "viewer.h"

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

}  // namespace

extern "C" int MAIN__(void) {
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
