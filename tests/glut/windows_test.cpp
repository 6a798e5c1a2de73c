// Window, pointer and keyboard-state entries, checked against the X server.
#include <gtest/gtest.h>  // before Xlib, whose None macro clashes with it

#include <GL/freeglut.h>
#include <X11/Xlib.h>

#include <string>
#include <vector>

#include "fglut.h"
#include "xinput.h"

namespace {

std::vector<int> packed(const std::string &text) {
  std::vector<int> words;
  for (unsigned char c : text) words.push_back(static_cast<int>(0xabcd00u | c));
  return words;
}

int mapState(Window w) {
  XWindowAttributes a;
  XGetWindowAttributes(xin::display(), w, &a);
  return a.map_state;
}

TEST(WindowEntries, CurrentWindowGeometryAndVisibility) {
  const int one = xin::openWindow("one", 0, 0, 120, 100);
  const Window xOne = xin::currentXWindow();
  const int two = xin::openWindow("two", 300, 0, 120, 100);
  EXPECT_EQ(fglutGetWindow(), two);
  fglutSetWindow(&one);
  EXPECT_EQ(fglutGetWindow(), one);
  const int w = 222, h = 111, x = 40, y = 50;
  fglutReshapeWindow(&w, &h);
  fglutPositionWindow(&x, &y);
  const int qw = GLUT_WINDOW_WIDTH, qh = GLUT_WINDOW_HEIGHT, qx = GLUT_WINDOW_X;
  ASSERT_TRUE(xin::pumpUntil([&] {
    fglutSetWindow(&one);
    return fglutGet(&qw) == 222 && fglutGet(&qx) == 40;
  }));
  EXPECT_EQ(fglutGet(&qh), 111);
  fglutSetWindow(&one);
  fglutHideWindow();
  ASSERT_TRUE(xin::pumpUntil([&] { return mapState(xOne) == IsUnmapped; }));
  fglutSetWindow(&one);
  fglutShowWindow();
  ASSERT_TRUE(xin::pumpUntil([&] { return mapState(xOne) == IsViewable; }));
}

TEST(WindowEntries, IconTitleReachesTheServer) {
  xin::openWindow("icon", 0, 0, 50, 50);
  const std::vector<int> title = packed("Icon  ");
  const int count = static_cast<int>(title.size());
  fglutSetIconTitle(title.data(), &count);
  const Window w = xin::currentXWindow();
  auto iconName = [w] {
    char *name = nullptr;
    std::string result = "<none>";
    if (XGetIconName(xin::display(), w, &name) && name != nullptr) {
      result = name;
      XFree(name);
    }
    return result;
  };
  xin::pumpUntil([&] { return iconName() == "Icon  "; });
  EXPECT_EQ(iconName(), "Icon  ");
}

TEST(WindowEntries, WarpPointerMovesThePointerInWindowCoordinates) {
  xin::openWindow("warp", 100, 80, 200, 200);
  const Window w = xin::currentXWindow();
  const int x = 33, y = 44;
  fglutWarpPointer(&x, &y);
  glFinish();
  ASSERT_TRUE(xin::pumpUntil([w] {
    Window root, child;
    int rx, ry, wx, wy;
    unsigned int mask;
    XQueryPointer(xin::display(), w, &root, &child, &rx, &ry, &wx, &wy, &mask);
    return wx == 33 && wy == 44;
  }));
}

// freeglut keeps the repeat mode itself (it filters repeated keys rather
// than change the server's global setting): read it back through GLUT.
TEST(WindowEntries, KeyRepeatModes) {
  xin::openWindow("repeat", 0, 0, 50, 50);
  const int modeQuery = GLUT_DEVICE_KEY_REPEAT, ignoreQuery = GLUT_DEVICE_IGNORE_KEY_REPEAT;
  for (int mode : {GLUT_KEY_REPEAT_OFF, GLUT_KEY_REPEAT_ON}) {
    fglutSetKeyRepeat(&mode);
    EXPECT_EQ(fglutDeviceGet(&modeQuery), mode);
  }
  for (int ignore : {1, 0}) {
    fglutIgnoreKeyRepeat(&ignore);
    EXPECT_EQ(fglutDeviceGet(&ignoreQuery), ignore);
  }
}

int redisplays = 0;
TEST(WindowEntries, PostRedisplayCallsTheDisplayRoutine) {
  xin::openWindow("redisplay", 0, 0, 50, 50);
  fglutDisplayFunc([]() -> int { ++redisplays; return 0; });
  fglutPostRedisplay();
  ASSERT_TRUE(xin::pumpUntil([] { return redisplays == 1; }));
  const int id = fglutGetWindow();
  fglutPostWindowRedisplay(&id);
  ASSERT_TRUE(xin::pumpUntil([] { return redisplays == 2; }));
}

}  // namespace
