// Menus opened and chosen with real pointer events: each menu calls its own
// routine with the address of the chosen entry's value.
#include <gtest/gtest.h>  // before Xlib, whose None macro clashes with it

#include <GL/freeglut.h>
#include <X11/Xlib.h>

#include <vector>

#include "fglut.h"
#include "xinput.h"

namespace {

std::vector<int> chosenA, chosenB, states;
std::vector<std::vector<int>> statuses;
int onMenuA(int *value) { chosenA.push_back(*value); return 0; }
int onMenuB(int *value) { chosenB.push_back(*value); return 0; }
int onState(int *status) { states.push_back(*status); return 0; }
int onStatus(int *status, int *x, int *y) { statuses.push_back({*status, *x, *y}); return 0; }

// A packed label: one character per 4-byte word, high bytes set to show that
// only the low byte counts.
std::vector<int> packed(const char *text) {
  std::vector<int> words;
  for (const char *c = text; *c != '\0'; ++c) words.push_back(0x7700 | static_cast<unsigned char>(*c));
  return words;
}

void addEntry(const char *label, int value) {
  const std::vector<int> words = packed(label);
  const int count = static_cast<int>(words.size());
  fglutAddMenuEntry(words.data(), &count, &value);
}

// The mapped override-redirect window that freeglut shows as a pop-up menu.
bool findMenuWindow(XWindowAttributes *found) {
  Display *d = xin::display();
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int n = 0;
  bool ok = false;
  XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n);
  for (unsigned int i = 0; i < n && !ok; ++i) {
    XWindowAttributes a;
    if (XGetWindowAttributes(d, children[i], &a) && a.override_redirect && a.map_state == IsViewable) {
      *found = a;
      ok = true;
    }
  }
  if (children != nullptr) XFree(children);
  return ok;
}

// Opens the menu attached to `button` with a click at (40, 40) of window w,
// then chooses entry `index` of `entries` with a left click on it.
void choose(Window w, unsigned int button, int index, int entries) {
  xin::moveTo(w, 40, 40);
  xin::button(button, true);
  xin::button(button, false);
  XWindowAttributes menu;
  ASSERT_TRUE(xin::pumpUntil([&menu] { return findMenuWindow(&menu); }));
  const int border = 2;  // freeglut's menu border
  const double rowHeight = (menu.height - 2.0 * border) / entries;
  const int y = menu.y + border + static_cast<int>((index + 0.5) * rowHeight);
  xin::moveTo(DefaultRootWindow(xin::display()), menu.x + menu.width / 2, y);
  xin::button(1, true);
  xin::button(1, false);
}

TEST(Menu, ChosenEntryValueReachesTheMenusRoutine) {
  xin::openWindow("menu", 50, 50, 300, 300);
  const Window w = xin::currentXWindow();
  fglutMenuStateFunc(onState);
  fglutMenuStatusFunc(onStatus);
  const int menu = fglutCreateMenu(onMenuA);
  EXPECT_GT(menu, 0);
  EXPECT_EQ(menu, glutGetMenu());
  addEntry("five", 5);
  addEntry("seven", 7);
  addEntry("nine", 9);
  const int button = GLUT_RIGHT_BUTTON;
  fglutAttachMenu(&button);
  choose(w, 3, 1, 3);
  ASSERT_TRUE(xin::pumpUntil([] { return !chosenA.empty(); }));
  EXPECT_EQ(chosenA, std::vector<int>{7});
  // Menu state and status were told of the menu's use and its end.
  ASSERT_TRUE(xin::pumpUntil([] { return states.size() >= 2; }));
  EXPECT_EQ(states.front(), GLUT_MENU_IN_USE);
  EXPECT_EQ(states.back(), GLUT_MENU_NOT_IN_USE);
  ASSERT_GE(statuses.size(), 2u);
  EXPECT_EQ(statuses.front(), (std::vector<int>{GLUT_MENU_IN_USE, 40, 40}));
  EXPECT_EQ(statuses.back()[0], GLUT_MENU_NOT_IN_USE);
}

TEST(Menu, TwoMenusKeepTheirOwnRoutines) {
  xin::openWindow("menus", 50, 50, 300, 300);
  const Window w = xin::currentXWindow();
  fglutCreateMenu(onMenuA);
  addEntry("a1", 11);
  addEntry("a2", 12);
  const int right = GLUT_RIGHT_BUTTON;
  fglutAttachMenu(&right);
  fglutCreateMenu(onMenuB);
  addEntry("b1", 21);
  addEntry("b2", 22);
  addEntry("b3", 23);
  const int middle = GLUT_MIDDLE_BUTTON;
  fglutAttachMenu(&middle);
  choose(w, 3, 0, 2);
  ASSERT_TRUE(xin::pumpUntil([] { return !chosenA.empty(); }));
  ASSERT_TRUE(xin::pumpUntil([] { XWindowAttributes a; return !findMenuWindow(&a); }));
  choose(w, 2, 2, 3);
  ASSERT_TRUE(xin::pumpUntil([] { return !chosenB.empty(); }));
  EXPECT_EQ(chosenA, std::vector<int>{11});
  EXPECT_EQ(chosenB, std::vector<int>{23});
}

TEST(Menu, DestroyedMenuTakesItsRoutineAlong) {
  xin::openWindow("menus", 50, 50, 300, 300);
  const Window w = xin::currentXWindow();
  const int first = fglutCreateMenu(onMenuA);
  addEntry("old", 1);
  fglutDestroyMenu(&first);
  const int second = fglutCreateMenu(onMenuB);
  addEntry("new", 2);
  const int right = GLUT_RIGHT_BUTTON;
  fglutAttachMenu(&right);
  choose(w, 3, 0, 1);
  ASSERT_TRUE(xin::pumpUntil([] { return !chosenB.empty(); }));
  EXPECT_EQ(chosenB, std::vector<int>{2});
  EXPECT_TRUE(chosenA.empty());
  (void)second;
}

}  // namespace

namespace {

std::vector<std::vector<int>> clicks;
int onMouse(int *b, int *s, int *x, int *y) { clicks.push_back({*b, *s, *x, *y}); return 0; }

TEST(Menu, EditedEntriesSubMenusAndDetaching) {
  xin::openWindow("edit", 50, 50, 300, 300);
  const Window w = xin::currentXWindow();
  const int sub = fglutCreateMenu(onMenuB);
  addEntry("inner", 31);
  const int top = fglutCreateMenu(onMenuA);
  EXPECT_EQ(fglutGetMenu(), top);
  addEntry("a", 1);
  addEntry("b", 2);
  addEntry("c", 3);
  const int items = GLUT_MENU_NUM_ITEMS;
  EXPECT_EQ(fglutGet(&items), 3);
  const std::vector<int> label = packed("B!");
  const int count = 2, item2 = 2, item3 = 3, value = 20;
  fglutChangeToMenuEntry(&item2, label.data(), &count, &value);
  fglutRemoveMenuItem(&item3);
  EXPECT_EQ(fglutGet(&items), 2);
  const std::vector<int> subLabel = packed("more");
  const int subCount = 4;
  fglutAddSubMenu(subLabel.data(), &subCount, &sub);
  EXPECT_EQ(fglutGet(&items), 3);
  const int item1 = 1;
  fglutChangeToSubMenu(&item1, subLabel.data(), &subCount, &sub);
  EXPECT_EQ(fglutGet(&items), 3);
  fglutSetMenu(&sub);
  EXPECT_EQ(fglutGetMenu(), sub);
  EXPECT_EQ(fglutGet(&items), 1);
  fglutSetMenu(&top);
  const int right = GLUT_RIGHT_BUTTON;
  fglutAttachMenu(&right);
  choose(w, 3, 1, 3);  // the changed entry
  ASSERT_TRUE(xin::pumpUntil([] { return !chosenA.empty(); }));
  EXPECT_EQ(chosenA, std::vector<int>{20});
  ASSERT_TRUE(xin::pumpUntil([] { XWindowAttributes a; return !findMenuWindow(&a); }));
  // Detached: the right button reaches the mouse routine instead.
  fglutDetachMenu(&right);
  fglutMouseFunc(onMouse);
  xin::moveTo(w, 60, 70);
  xin::button(3, true);
  ASSERT_TRUE(xin::pumpUntil([] { return !clicks.empty(); }));
  EXPECT_EQ(clicks[0], (std::vector<int>{GLUT_RIGHT_BUTTON, GLUT_DOWN, 60, 70}));
  XWindowAttributes none;
  EXPECT_FALSE(findMenuWindow(&none));
  EXPECT_TRUE(chosenB.empty());
}

}  // namespace

namespace {

// Each choice: the value, the routine's word, and the menu's own word at the call.
std::vector<std::vector<long long>> chosenWords;
int onMenu8(int *value, long long *word) {
  chosenWords.push_back({*value, *word, fglutGetMenuData()});
  return 0;
}
int onMenu4(int *value, int *word) {
  chosenWords.push_back({*value, *word, fglutGetMenuData()});
  return 0;
}

TEST(Menu, UcallMenusReceiveTheirWordsApartFromTheMenusOwnWord) {
  xin::openWindow("words", 50, 50, 300, 300);
  const Window w = xin::currentXWindow();
  const long long word8 = -(1LL << 35);
  const int first = fglutCreateMenuUcall(onMenu8, &word8);
  EXPECT_EQ(first, fglutGetMenu());
  EXPECT_EQ(fglutGetMenuData(), 0) << "a new menu's word";
  const long long data8 = 77;
  fglutSetMenuData(&data8);
  addEntry("x", 1);
  addEntry("y", 2);
  const int right = GLUT_RIGHT_BUTTON;
  fglutAttachMenu(&right);
  const int word4 = 4444;
  const int second = fglutCreateMenuUcallI4(onMenu4, &word4);
  const int data4 = -3;
  fglutSetMenuDataI4(&data4);
  addEntry("z", 3);
  const int middle = GLUT_MIDDLE_BUTTON;
  fglutAttachMenu(&middle);
  choose(w, 3, 1, 2);
  ASSERT_TRUE(xin::pumpUntil([] { return chosenWords.size() == 1; }));
  ASSERT_TRUE(xin::pumpUntil([] { XWindowAttributes a; return !findMenuWindow(&a); }));
  choose(w, 2, 0, 1);
  ASSERT_TRUE(xin::pumpUntil([] { return chosenWords.size() == 2; }));
  EXPECT_EQ(chosenWords, (std::vector<std::vector<long long>>{{2, word8, 77}, {3, 4444, -3}}));
  fglutSetMenu(&first);
  EXPECT_EQ(fglutGetMenuData(), 77);
  fglutSetMenu(&second);
  EXPECT_EQ(fglutGetMenuData(), -3) << "an INTEGER*4 word is sign-extended";
  EXPECT_EQ(fglutGetMenuDataI4(), -3);
}

}  // namespace
