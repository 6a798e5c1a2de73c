// Door and windows: black rectangles in the planes of the front wall
// (z = +depth/2) and the left wall (x = -width/2). The wall along the longer
// horizontal dimension gets the door and a small window, the other wall two
// windows; with depth equal to width the left wall gets the door.
#include "viewer.h"

#include "fgl.h"

namespace {
GLfloat moveX;
GLfloat moveY;
GLfloat moveZ;
GLfloat rectX1;
GLfloat rectY1;
GLfloat rectX2;
GLfloat rectY2;

const GLfloat zero = 0.0f;
const GLfloat one = 1.0f;
const GLfloat minusQuarterTurn = -90.0f;
const GLbitfield depthBuffer = GL_DEPTH_BUFFER_BIT;

// Products are formed in double precision from the 32-bit factors and the
// 32-bit dimension, left to right, and stored as 32-bit floats.
float product(float a, float x) { return static_cast<float>(static_cast<double>(a) * static_cast<double>(x)); }
float product(float a, float b, float x) {
  return static_cast<float>(static_cast<double>(a) * static_cast<double>(b) * static_cast<double>(x));
}

void move(float x, float y, float z) {
  moveX = x;
  moveY = y;
  moveZ = z;
  fglTranslatef(&moveX, &moveY, &moveZ);
}

// A rectangle centred on the frame's origin, halfU across and halfV up.
void rectangle(float halfU, float halfV) {
  rectX1 = -halfU;
  rectY1 = -halfV;
  rectX2 = halfU;
  rectY2 = halfV;
  fglRectf(&rectX1, &rectY1, &rectX2, &rectY2);
}
}  // namespace

extern "C" int drawOpenings(const float *depth, const float *width, const float *height) {
  const float &d = *depth;
  const float &w = *width;
  const float &h = *height;

  // The rectangles lie in the wall planes: clearing the depth buffer lets
  // every one of them pass the depth test and show over what is drawn.
  fglClear(&depthBuffer);
  fglPushMatrix();
  fglColor3f(&zero, &zero, &zero);

  if (d >= w) {  // an unordered comparison takes the other arrangement
    move(product(-0.2f, w), zero, product(0.5f, d));
    rectangle(product(0.1f, w), product(0.2f, h));  // front window
    move(product(2.0f, 0.2f, w), zero, zero);
    rectangle(product(0.1f, w), product(0.2f, h));  // front window
    move(-product(0.2f, w), product(-0.2f, h), product(-0.5f, d));
    fglRotatef(&minusQuarterTurn, &zero, &one, &zero);  // x along +z, z along -x
    move(product(0.2f, d), zero, product(0.5f, w));
    rectangle(product(0.1f, d), product(0.3f, h));  // door, left wall
    move(-product(2.0f, 0.2f, d), product(0.2f, h), zero);
    rectangle(product(0.1f, d), product(0.1f, h));  // small window, left wall
  } else {
    move(product(0.2f, w), product(-0.2f, h), product(0.5f, d));
    rectangle(product(0.1f, w), product(0.3f, h));  // door, front wall
    move(-product(2.0f, 0.2f, w), product(0.2f, h), zero);
    rectangle(product(0.1f, w), product(0.1f, h));  // small window, front wall
    move(product(0.2f, w), zero, product(-0.5f, d));
    fglRotatef(&minusQuarterTurn, &zero, &one, &zero);
    move(product(-0.2f, d), zero, product(0.5f, w));
    rectangle(product(0.1f, d), product(0.2f, h));  // left window
    move(product(2.0f, 0.2f, d), zero, zero);
    rectangle(product(0.1f, d), product(0.2f, h));  // left window
  }

  fglPopMatrix();
  return 0;
}
