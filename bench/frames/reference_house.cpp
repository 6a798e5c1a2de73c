#include "reference_house.h"

#include <GL/gl.h>

#include <cmath>

namespace reference {
namespace {

float halfOf(float x) { return static_cast<float>(static_cast<double>(x) * 0.5); }
float product(float a, float x) { return static_cast<float>(static_cast<double>(a) * static_cast<double>(x)); }
float product(float a, float b, float x) {
  return static_cast<float>(static_cast<double>(a) * static_cast<double>(b) * static_cast<double>(x));
}
double wide(float x) { return static_cast<double>(x); }
float narrow(double x) { return static_cast<float>(x); }

// Walls: one face at distance a/2 along z, u by v, normal (0, 0, 1).
void face(float a, float u, float v) {
  glPushMatrix();
  glTranslatef(0.0f, 0.0f, halfOf(a));
  glNormal3f(0.0f, 0.0f, 1.0f);
  glRectf(halfOf(-u), halfOf(-v), halfOf(u), halfOf(v));
  glPopMatrix();
}

void box(float d, float w, float h, const float *wall) {
  glColor3f(wall[0], wall[1], wall[2]);
  glPushMatrix();
  face(d, w, h);
  glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
  face(d, w, h);
  glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
  face(w, d, h);
  glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
  face(w, d, h);
  glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
  face(h, d, w);
  glRotatef(180.0f, 1.0f, 0.0f, 0.0f);
  face(h, d, w);
  glPopMatrix();
}

void rectangle(float halfU, float halfV) { glRectf(-halfU, -halfV, halfU, halfV); }

void openings(float d, float w, float h) {
  glClear(GL_DEPTH_BUFFER_BIT);
  glPushMatrix();
  glColor3f(0.0f, 0.0f, 0.0f);
  if (d >= w) {
    glTranslatef(product(-0.2f, w), 0.0f, product(0.5f, d));
    rectangle(product(0.1f, w), product(0.2f, h));
    glTranslatef(product(2.0f, 0.2f, w), 0.0f, 0.0f);
    rectangle(product(0.1f, w), product(0.2f, h));
    glTranslatef(-product(0.2f, w), product(-0.2f, h), product(-0.5f, d));
    glRotatef(-90.0f, 0.0f, 1.0f, 0.0f);
    glTranslatef(product(0.2f, d), 0.0f, product(0.5f, w));
    rectangle(product(0.1f, d), product(0.3f, h));
    glTranslatef(-product(2.0f, 0.2f, d), product(0.2f, h), 0.0f);
    rectangle(product(0.1f, d), product(0.1f, h));
  } else {
    glTranslatef(product(0.2f, w), product(-0.2f, h), product(0.5f, d));
    rectangle(product(0.1f, w), product(0.3f, h));
    glTranslatef(-product(2.0f, 0.2f, w), product(0.2f, h), 0.0f);
    rectangle(product(0.1f, w), product(0.1f, h));
    glTranslatef(product(0.2f, w), 0.0f, product(-0.5f, d));
    glRotatef(-90.0f, 0.0f, 1.0f, 0.0f);
    glTranslatef(product(-0.2f, d), 0.0f, product(0.5f, w));
    rectangle(product(0.1f, d), product(0.2f, h));
    glTranslatef(product(2.0f, 0.2f, d), 0.0f, 0.0f);
    rectangle(product(0.1f, d), product(0.2f, h));
  }
  glPopMatrix();
}

void vertex2(double x, double y) {
  glNormal3f(0.0f, 0.0f, 1.0f);
  glVertex2f(narrow(x), narrow(y));
}
void vertex3(double x, double y, double z) { glVertex3f(narrow(x), narrow(y), narrow(z)); }

void roofPlane(float rafter, float length, float eave, const float *colour) {
  const double r = wide(rafter), l = wide(length), e = wide(eave);
  const double outer = -3.0 * wide(0.2f) * l;
  glBegin(GL_POLYGON);
  glColor3f(colour[0], colour[1], colour[2]);
  vertex2(outer, -e);
  vertex2(outer, -0.5 * r);
  vertex2(wide(-0.4f) * l, 0.0);
  vertex2(wide(0.4f) * l, 0.0);
  vertex2(3.0 * wide(0.2f) * l, -0.5 * r);
  vertex2(3.0 * wide(0.2f) * l, -e);
  glEnd();
  glFlush();
}

void roofEnd(float rafter, float length, float cosPitch, float sinPitch, const float *wall, const float *roof) {
  const double r = wide(rafter), l = wide(length), c = wide(cosPitch), s = wide(sinPitch);
  glBegin(GL_TRIANGLES);
  glColor3f(roof[0], roof[1], roof[2]);
  vertex3(0.0, 0.0, wide(0.4f) * l);
  vertex3(c * (-0.5 * r), -(s * 0.5 * r), 3.0 * wide(0.2f) * l);
  vertex3(c * 0.5 * r, -(s * 0.5 * r), 3.0 * wide(0.2f) * l);
  glEnd();
  glBegin(GL_POLYGON);
  glColor3f(wall[0], wall[1], wall[2]);
  glNormal3f(0.0f, 0.0f, 1.0f);
  vertex3(-0.5 * r * c, -0.5 * r * s, 0.5 * l);
  glNormal3f(0.0f, 0.0f, 1.0f);
  vertex3(0.5 * r * c, -0.5 * r * s, 0.5 * l);
  glNormal3f(0.0f, 0.0f, 1.0f);
  vertex3(r * c, -r * s, 0.5 * l);
  glNormal3f(0.0f, 0.0f, 1.0f);
  vertex3(-r * c, -r * s, 0.5 * l);
  glEnd();
}

void roof(float d, float w, float h, const float *wall, const float *roofColour) {
  const float pitch = 0.5235988f;
  glPushMatrix();
  const bool ridgeAlongZ = d >= w;
  const float span = ridgeAlongZ ? w : d;
  const float length = ridgeAlongZ ? d : w;
  const double halfSpan = 0.5 * wide(span);
  const float rafter = narrow(halfSpan / std::cos(wide(pitch)));
  const float eave = narrow(wide(rafter) * wide(1.2f));
  const float rise = narrow(std::tan(wide(pitch)) * halfSpan);
  const float ridgeHeight = narrow(0.5 * wide(h) + wide(rise));
  const float planeTurn = narrow(wide(pitch) * 2.0 * 180.0 / wide(3.1415927f));
  const float gableTurn = narrow((wide(1.5707964f) - wide(pitch)) * wide(57.29578f));
  if (ridgeAlongZ) glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
  glTranslatef(0.0f, ridgeHeight, 0.0f);
  glRotatef(-gableTurn, 1.0f, 0.0f, 0.0f);
  roofPlane(rafter, length, eave, roofColour);
  glRotatef(-planeTurn, 1.0f, 0.0f, 0.0f);
  roofPlane(-rafter, length, -eave, roofColour);
  glPopMatrix();

  glPushMatrix();
  if (!ridgeAlongZ) glRotatef(-90.0f, 0.0f, 1.0f, 0.0f);
  const float cosPitch = narrow(std::cos(wide(pitch)));
  const float sinPitch = narrow(std::sin(wide(pitch)));
  glPushMatrix();
  glTranslatef(0.0f, ridgeHeight, 0.0f);
  roofEnd(rafter, length, cosPitch, sinPitch, wall, roofColour);
  glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
  roofEnd(rafter, length, cosPitch, sinPitch, wall, roofColour);
  glPopMatrix();
  glFlush();
  glPopMatrix();
  glFlush();
}

}  // namespace

void display(float depth, float width, float height, const float wallColour[3], const float roofColour[3]) {
  glPushMatrix();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  float extent = depth;
  if (!(extent >= width)) extent = width;
  if (!(extent >= height)) extent = height;
  const float scale = static_cast<float>(1.0 / static_cast<double>(extent));
  glScalef(scale, scale, scale);
  glPushMatrix();
  roof(depth, width, height, wallColour, roofColour);
  box(depth, width, height, wallColour);
  openings(depth, width, height);
  glPopMatrix();
  glPopMatrix();
  glFlush();
}

}  // namespace reference
