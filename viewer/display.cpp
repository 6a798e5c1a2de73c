// Repaint: clear, scale the model so that its largest dimension is 1, draw
// roof, box and openings, flush (the window is single-buffered).
#include "viewer.h"

#include "fgl.h"

namespace {
GLfloat extent;  // the largest of the three dimensions
GLfloat scaleX;
GLfloat scaleY;
GLfloat scaleZ;

const GLbitfield colourAndDepth = GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT;
const GLfloat one = 1.0f;
}  // namespace

extern "C" int display(void) {
  fglPushMatrix();
  fglClear(&colourAndDepth);

  // Largest dimension. Each test switches unless its first operand is greater
  // than or equal to the second, so an unordered (NaN) comparison switches.
  extent = house::depth;
  if (!(extent >= house::width)) extent = house::width;
  if (!(extent >= house::height)) extent = house::height;

  scaleX = static_cast<float>(static_cast<double>(one) / static_cast<double>(extent));
  scaleY = static_cast<float>(static_cast<double>(one) / static_cast<double>(extent));
  scaleZ = static_cast<float>(static_cast<double>(one) / static_cast<double>(extent));
  fglScalef(&scaleX, &scaleY, &scaleZ);

  drawHouse(&house::depth, &house::width, &house::height, house::wallColour, house::roofColour);
  fglPopMatrix();
  fglFlush();
  return 0;
}

// The order matters: roof and box are depth-tested against each other, then
// the openings clear the depth buffer and are drawn over both.
extern "C" int drawHouse(const float *depth, const float *width, const float *height,
                         const float *wallColour, const float *roofColour) {
  fglPushMatrix();
  drawRoof(depth, width, height, wallColour, roofColour);
  drawBox(depth, width, height, wallColour);
  drawOpenings(depth, width, height);
  fglPopMatrix();
  return 0;
}
