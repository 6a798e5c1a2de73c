// Start-up entries and the display and reshape trampolines, on real windows.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstring>

#include "fglut.h"
#include "xinput.h"

namespace {

int displayCalls = 0;
int reshapeCalls = 0;
int lastWidth = 0, lastHeight = 0;

int countDisplay() { ++displayCalls; return 0; }
int recordReshape(int *width, int *height) {
  ++reshapeCalls;
  lastWidth = *width;
  lastHeight = *height;
  *width = 1;  // writes go nowhere
  *height = 1;
  return 0;
}

TEST(Startup, ViewerSequenceOpensWindowAndCallsRoutines) {
  fglutInit();
  const unsigned int mode = GLUT_DEPTH;
  fglutInitDisplayMode(&mode);
  const char title[] = "Fortran GLUT program";
  const int id = fglutCreateWindowC(title, 20);
  EXPECT_GT(id, 0);
  EXPECT_EQ(id, glutGetWindow());
  fglutDisplayFunc(countDisplay);
  fglutReshapeFunc(recordReshape);
  ASSERT_TRUE(xin::pumpUntil([] { return displayCalls > 0 && reshapeCalls > 0; }));
  EXPECT_EQ(lastWidth, glutGet(GLUT_WINDOW_WIDTH));
  EXPECT_EQ(lastHeight, glutGet(GLUT_WINDOW_HEIGHT));
  EXPECT_EQ(glutGet(GLUT_WINDOW_DEPTH_SIZE) > 0, true);
}

TEST(Startup, ReshapeReceivesCopiesInGlutOrder) {
  fglutInit();
  fglutCreateWindowC("reshape", 7);
  fglutDisplayFunc(countDisplay);
  fglutReshapeFunc(recordReshape);
  ASSERT_TRUE(xin::pumpUntil([] { return reshapeCalls > 0; }));
  glutReshapeWindow(640, 480);
  ASSERT_TRUE(xin::pumpUntil([] { return lastWidth == 640; }));
  EXPECT_EQ(lastWidth, 640);
  EXPECT_EQ(lastHeight, 480);
  // The routine wrote 1 through both addresses: GLUT's idea of the size stands.
  EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 640);
  EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 480);
}

// As in C, the initial window size and display mode may be set before GLUT
// is initialised.
TEST(Startup, SizeAndModeMayComeBeforeInit) {
  const int width = 123, height = 77;
  fglutInitWindowSize(&width, &height);
  const unsigned int mode = GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH;
  fglutInitDisplayMode(&mode);
  fglutInit();
  fglutCreateWindowC("early", 5);
  fglutDisplayFunc(countDisplay);
  ASSERT_TRUE(xin::pumpUntil([] { return displayCalls > 0; }));
  EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 123);
  EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 77);
  EXPECT_EQ(glutGet(GLUT_WINDOW_DOUBLEBUFFER), 1);
  EXPECT_GT(glutGet(GLUT_WINDOW_DEPTH_SIZE), 0);
}

}  // namespace
