// The application's word per window and per menu, the Ucall registrations on
// real windows, and function addresses: the words the routines receive and
// the words the program stores stay apart, per window, menu and timer.
#include <gtest/gtest.h>  // before Xlib, whose None macro clashes with it

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/keysym.h>
#include <dlfcn.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fglut.h"
#include "xinput.h"

namespace {

// Each key: its code, the routine's word, and the window's own word at the call.
std::vector<std::vector<long long>> keys;
int onKey8(int *key, int *, int *, long long *word) {
  keys.push_back({*key, *word, fglutGetWindowData()});
  return 0;
}
int onKey4(int *key, int *, int *, int *word) {
  keys.push_back({*key, *word, fglutGetWindowData()});
  return 0;
}

TEST(UserData, WindowWordsAndRoutineWordsStayApartPerWindow) {
  const int one = xin::openWindow("one", 0, 0, 100, 100);
  const Window xOne = xin::currentXWindow();
  EXPECT_EQ(fglutGetWindowData(), 0) << "a new window's word";
  const long long data1 = 0x7000000000000001LL;
  fglutSetWindowData(&data1);
  const long long word1 = 101;
  fglutKeyboardFuncUcall(onKey8, &word1);
  fglutMouseFunc([](int *, int *, int *, int *) -> int { return 0; });  // a plain registration too

  const int two = xin::openWindow("two", 200, 0, 100, 100);
  const Window xTwo = xin::currentXWindow();
  const int word2 = -202;
  fglutKeyboardFuncUcallI4(onKey4, &word2);
  const int data2 = -7;
  fglutSetWindowDataI4(&data2);  // after the registration

  xin::moveTo(xOne, 5, 5);
  xin::tap(XK_a);
  xin::moveTo(xTwo, 5, 5);
  xin::tap(XK_b);
  ASSERT_TRUE(xin::pumpUntil([] { return keys.size() == 2; }));
  EXPECT_EQ(keys, (std::vector<std::vector<long long>>{{'a', 101, data1}, {'b', -202, -7}}));

  fglutSetWindow(&one);
  EXPECT_EQ(fglutGetWindowData(), data1);
  EXPECT_EQ(fglutGetWindowDataI4(), 1) << "the low 32 bits";
  fglutSetWindow(&two);
  EXPECT_EQ(fglutGetWindowData(), -7) << "an INTEGER*4 word is sign-extended";
  EXPECT_EQ(fglutGetWindowDataI4(), -7);

  // A new registration replaces the routine's word; a new window word leaves it.
  const long long word3 = 303, data3 = 5;
  fglutKeyboardFuncUcall(onKey8, &word3);
  fglutSetWindowData(&data3);
  xin::tap(XK_c);
  ASSERT_TRUE(xin::pumpUntil([] { return keys.size() == 3; }));
  EXPECT_EQ(keys.back(), (std::vector<long long>{'c', 303, 5}));
}

std::vector<std::vector<long long>> fired;
int onTimer8(int *value, long long *word) {
  fired.push_back({*value, *word});
  return 0;
}
int onTimer4(int *value, int *word) {
  fired.push_back({*value, *word});
  return 0;
}
std::vector<long long> contexts;
int onContext(long long *word) {
  contexts.push_back(*word);
  return 0;
}

TEST(UserData, TimersAndTheContextRoutineReceiveTheirOwnWords) {
  fglutInit();
  const int window = fglutCreateWindowC("context", 7);
  // freeglut calls the context routine once, when its loop first handles the
  // new window.
  const long long contextWord = -1;
  fglutInitContextFuncUcall(onContext, &contextWord);
  fglutDisplayFunc(nullptr);
  const unsigned int ms1 = 1, ms5 = 5;
  const int valueA = 17, valueB = -4;
  const long long wordA = 1LL << 40;
  const int wordB = 9;
  fglutTimerFuncUcallI4(&ms5, onTimer4, &valueB, &wordB);
  fglutTimerFuncUcall(&ms1, onTimer8, &valueA, &wordA);
  ASSERT_TRUE(xin::pumpUntil([] { return fired.size() == 2 && !contexts.empty(); }));
  EXPECT_EQ(fired, (std::vector<std::vector<long long>>{{17, 1LL << 40}, {-4, 9}}));
  EXPECT_EQ(contexts, std::vector<long long>{-1});
  EXPECT_EQ(fglutGetWindowData(), 0) << "the context routine's word is not the window's";
  (void)window;
}

// freeglut itself reads through a null pointer here.
TEST(UserData, MenuWordWithNoCurrentMenuIsZeroAndIgnored) {
  xin::openWindow("no menu", 0, 0, 100, 100);
  ASSERT_EQ(glutGetMenu(), 0);
  const long long word = 12;
  const int word4 = 13;
  fglutSetMenuData(&word);
  fglutSetMenuDataI4(&word4);
  EXPECT_EQ(fglutGetMenuData(), 0);
  EXPECT_EQ(fglutGetMenuDataI4(), 0);
}

// The address GLUT gives for a name: its own functions, OpenGL's (and, for a
// name neither has, whatever GLX answers) through GLX; both text forms agree.
TEST(ProcAddress, GlutAndOpenGLFunctionsByBothTextForms) {
  xin::openWindow("addresses", 0, 0, 100, 100);
  auto address = [](auto f) { return static_cast<long long>(reinterpret_cast<std::intptr_t>(f)); };
  const struct {
    std::string name;
    long long expected;
  } rows[] = {
      {"glutSwapBuffers", address(dlsym(RTLD_DEFAULT, "glutSwapBuffers"))},
      {"glutSolidTeapot", address(dlsym(RTLD_DEFAULT, "glutSolidTeapot"))},
      {"glClear", address(glXGetProcAddressARB(reinterpret_cast<const GLubyte *>("glClear")))},
      {"glMultiTexCoord2f", address(glXGetProcAddressARB(reinterpret_cast<const GLubyte *>("glMultiTexCoord2f")))},
      {"noSuchFunction", address(glXGetProcAddressARB(reinterpret_cast<const GLubyte *>("noSuchFunction")))},
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(row.name);
    if (row.name.starts_with("glut")) {
      EXPECT_NE(row.expected, 0);
    }
    EXPECT_EQ(fglutGetProcAddressC(row.name.data(), static_cast<int>(row.name.size())), row.expected);
    std::vector<int> words;
    for (unsigned char c : row.name) words.push_back(0x4400 | c);
    const int count = static_cast<int>(words.size());
    EXPECT_EQ(fglutGetProcAddress(words.data(), &count), row.expected);
  }
}

}  // namespace
