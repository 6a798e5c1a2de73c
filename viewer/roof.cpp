// The half-hipped roof: two planes meeting at a horizontal ridge along the
// longer horizontal dimension, pitched 30 degrees, reaching 1.2 times the
// rafter down the slope and 0.1 x the ridge-wise length beyond each end wall;
// at each end a hip triangle (roof colour) over a vertical gable trapezoid
// (wall colour) in the plane of the end wall.
#include "viewer.h"

#include "fgl.h"

#include <cmath>

namespace {
// Working values of drawRoof, recomputed on every call.
GLfloat pitch;        // slope angle in radians
GLfloat rafter;       // slope distance from the ridge to the wall line
GLfloat eave;         // slope distance from the ridge to the lower edge
GLfloat rise;         // height of the ridge above the tops of the walls
GLfloat ridgeHeight;  // y of the ridge
GLfloat planeTurn;    // degrees between the frames of the two planes
GLfloat gableTurn;    // degrees that tilt the first plane from hanging straight down
GLfloat minusRafter;
GLfloat minusEave;
GLfloat minusPlaneTurn;
GLfloat minusGableTurn;

// Corners of drawRoofPlane and drawRoofEnds.
GLfloat cornerX;
GLfloat cornerY;
GLfloat cornerZ;
GLfloat cosPitch;
GLfloat sinPitch;

const GLfloat zero = 0.0f;
const GLfloat one = 1.0f;
const GLfloat quarterTurn = 90.0f;
const GLfloat minusQuarterTurn = -90.0f;
const GLfloat halfTurn = 180.0f;
const GLenum triangles = GL_TRIANGLES;
const GLenum polygon = GL_POLYGON;

const float fixedPitch = 0.5235988f;  // 30 degrees
const float rightAngle = 1.5707964f;  // 90 degrees in radians
const float degreesPerRadian = 57.29578f;
const float pi = 3.1415927f;

// Arithmetic in double precision from 32-bit inputs, stored as 32-bit floats.
double wide(float x) { return static_cast<double>(x); }
float narrow(double x) { return static_cast<float>(x); }

void vertex2(double x, double y) {
  cornerX = narrow(x);
  cornerY = narrow(y);
  fglNormal3f(&zero, &zero, &one);
  fglVertex2f(&cornerX, &cornerY);
}

void vertex3(double x, double y, double z) {
  cornerX = narrow(x);
  cornerY = narrow(y);
  cornerZ = narrow(z);
  fglVertex3f(&cornerX, &cornerY, &cornerZ);
}

// Hip triangle and gable trapezoid of the end at +z of the current frame,
// whose origin is on the ridge line at the middle of the ridge.
void drawRoofEnd(const float *rafter, const float *length, const float *wallColour, const float *roofColour) {
  const double r = wide(*rafter);
  const double l = wide(*length);
  const double c = wide(cosPitch);
  const double s = wide(sinPitch);

  // No normal: the current one, (0, 0, 1) here, points along the ridge outwards.
  fglBegin(&triangles);
  fglColor3f(&roofColour[0], &roofColour[1], &roofColour[2]);
  vertex3(0.0, 0.0, wide(0.4f) * l);
  vertex3(c * (-0.5 * r), -(s * 0.5 * r), 3.0 * wide(0.2f) * l);
  vertex3(c * 0.5 * r, -(s * 0.5 * r), 3.0 * wide(0.2f) * l);
  fglEnd();

  fglBegin(&polygon);
  fglColor3f(&wallColour[0], &wallColour[1], &wallColour[2]);
  fglNormal3f(&zero, &zero, &one);
  vertex3(-0.5 * r * c, -0.5 * r * s, 0.5 * l);
  fglNormal3f(&zero, &zero, &one);
  vertex3(0.5 * r * c, -0.5 * r * s, 0.5 * l);
  fglNormal3f(&zero, &zero, &one);
  vertex3(r * c, -r * s, 0.5 * l);
  fglNormal3f(&zero, &zero, &one);
  vertex3(-r * c, -r * s, 0.5 * l);
  fglEnd();
}
}  // namespace

// One roof plane in the plane z = 0 of the current frame, ridge on the x
// axis: 0.8 x length long at the ridge, 1.2 x length long from half-way down
// the slope to the lower edge. Positive rafter and eave hang it towards -y,
// negated ones towards +y.
extern "C" int drawRoofPlane(const float *rafter, const float *length, const float *eave, const float *colour) {
  const double r = wide(*rafter);
  const double l = wide(*length);
  const double e = wide(*eave);
  const double outer = -3.0 * wide(0.2f) * l;  // -3 x 0.2 x length

  fglBegin(&polygon);
  fglColor3f(&colour[0], &colour[1], &colour[2]);
  vertex2(outer, -e);
  vertex2(outer, -0.5 * r);
  vertex2(wide(-0.4f) * l, 0.0);
  vertex2(wide(0.4f) * l, 0.0);
  vertex2(3.0 * wide(0.2f) * l, -0.5 * r);
  vertex2(3.0 * wide(0.2f) * l, -e);
  fglEnd();
  fglFlush();
  return 0;
}

// Both half-hipped ends, the second turned half a turn about the vertical.
extern "C" int drawRoofEnds(const float *rafter, const float *length, const float *ridgeHeight, const float *pitch,
                            const float *wallColour, const float *roofColour) {
  cosPitch = narrow(std::cos(wide(*pitch)));
  sinPitch = narrow(std::sin(wide(*pitch)));
  fglPushMatrix();
  fglTranslatef(&zero, ridgeHeight, &zero);
  drawRoofEnd(rafter, length, wallColour, roofColour);
  fglRotatef(&halfTurn, &zero, &one, &zero);
  drawRoofEnd(rafter, length, wallColour, roofColour);
  fglPopMatrix();
  fglFlush();
  return 0;
}

extern "C" int drawRoof(const float *depth, const float *width, const float *height, const float *wallColour,
                        const float *roofColour) {
  pitch = fixedPitch;
  fglPushMatrix();

  // Case A (depth >= width): the ridge runs along z. Case B, also taken when
  // the comparison is unordered: the ridge runs along x.
  const bool ridgeAlongZ = *depth >= *width;
  const float *span = ridgeAlongZ ? width : depth;
  const float *length = ridgeAlongZ ? depth : width;

  const double halfSpan = 0.5 * wide(*span);
  rafter = narrow(halfSpan / std::cos(wide(pitch)));
  eave = narrow(wide(rafter) * wide(1.2f));
  rise = narrow(std::tan(wide(pitch)) * halfSpan);
  ridgeHeight = narrow(0.5 * wide(*height) + wide(rise));
  planeTurn = narrow(wide(pitch) * 2.0 * 180.0 / wide(pi));
  gableTurn = narrow((wide(rightAngle) - wide(pitch)) * wide(degreesPerRadian));

  if (ridgeAlongZ) fglRotatef(&quarterTurn, &zero, &one, &zero);  // x to -z, z to +x
  fglTranslatef(&zero, &ridgeHeight, &zero);
  minusGableTurn = -gableTurn;
  fglRotatef(&minusGableTurn, &one, &zero, &zero);
  drawRoofPlane(&rafter, length, &eave, roofColour);  // slopes down towards +x (A) or +z (B)
  minusPlaneTurn = -planeTurn;
  fglRotatef(&minusPlaneTurn, &one, &zero, &zero);
  minusRafter = -rafter;
  minusEave = -eave;
  drawRoofPlane(&minusRafter, length, &minusEave, roofColour);  // towards -x (A) or -z (B)
  fglPopMatrix();

  fglPushMatrix();
  if (!ridgeAlongZ) fglRotatef(&minusQuarterTurn, &zero, &one, &zero);  // x to +z, z to -x
  drawRoofEnds(&rafter, length, &ridgeHeight, &pitch, wallColour, roofColour);
  fglPopMatrix();
  fglFlush();
  return 0;
}
