// The house's body: a closed box of six rectangles centred on the origin.
// Each face routine draws one rectangle across its own frame's z axis at the
// half-extent of one dimension; drawBox turns the frame so that each face
// routine serves a pair of opposite faces, every normal pointing outwards.
#include "viewer.h"

#include "fgl.h"

namespace {
GLfloat offset;  // the face's distance from the centre
GLfloat cornerX1;
GLfloat cornerY1;
GLfloat cornerX2;
GLfloat cornerY2;

const GLfloat zero = 0.0f;
const GLfloat one = 1.0f;
const GLfloat quarterTurn = 90.0f;
const GLfloat halfTurn = 180.0f;
const GLfloat half = 0.5f;

// x * 0.5, formed in double precision and stored as a 32-bit float.
float halfOf(float x) { return static_cast<float>(static_cast<double>(x) * static_cast<double>(half)); }

// One face: a u-by-v rectangle in the plane z = a/2, normal (0, 0, 1); its
// corners run counter-clockwise seen from +z.
void drawFace(const float *a, const float *u, const float *v) {
  fglPushMatrix();
  offset = halfOf(*a);
  fglTranslatef(&zero, &zero, &offset);
  fglNormal3f(&zero, &zero, &one);
  cornerX1 = halfOf(-*u);
  cornerY1 = halfOf(-*v);
  cornerX2 = halfOf(*u);
  cornerY2 = halfOf(*v);
  fglRectf(&cornerX1, &cornerY1, &cornerX2, &cornerY2);
  fglPopMatrix();
}
}  // namespace

// width x height at z = depth/2.
extern "C" int drawFrontFace(const float *height, const float *width, const float *depth) {
  drawFace(depth, width, height);
  return 0;
}

// depth x height at z = width/2.
extern "C" int drawSideFace(const float *height, const float *width, const float *depth) {
  drawFace(width, depth, height);
  return 0;
}

// depth x width at z = height/2.
extern "C" int drawFloorFace(const float *height, const float *width, const float *depth) {
  drawFace(height, depth, width);
  return 0;
}

// The six faces in the wall colour, which stays current afterwards. The
// rotations accumulate: 180 + 90 + 180 degrees about y leave the frame turned
// 90 degrees, and the floor and ceiling turn it further about its own x axis.
extern "C" int drawBox(const float *depth, const float *width, const float *height, const float *wallColour) {
  fglColor3f(&wallColour[0], &wallColour[1], &wallColour[2]);
  fglPushMatrix();
  drawFrontFace(height, width, depth);  // z = +depth/2
  fglRotatef(&halfTurn, &zero, &one, &zero);
  drawFrontFace(height, width, depth);  // z = -depth/2
  fglRotatef(&quarterTurn, &zero, &one, &zero);
  drawSideFace(height, width, depth);  // x = -width/2
  fglRotatef(&halfTurn, &zero, &one, &zero);
  drawSideFace(height, width, depth);  // x = +width/2
  fglRotatef(&quarterTurn, &one, &zero, &zero);
  drawFloorFace(height, width, depth);  // y = -height/2, the floor
  fglRotatef(&halfTurn, &one, &zero, &zero);
  drawFloorFace(height, width, depth);  // y = +height/2, the ceiling
  fglPopMatrix();
  return 0;
}
