// The C entries, which take CHARACTER text (an address, and the length after
// the other arguments), against the packed entries given the same text: the
// same title and icon name on the X server, the same menus on the screen,
// the same lengths and the same drawn strings, the same display-mode and
// game-mode strings. Each C entry gets its text followed by other
// characters, so that only the length says where the text ends.
#include <gtest/gtest.h>  // before Xlib, whose None macro clashes with it

#include <GL/freeglut.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fglut.h"
#include "xinput.h"

namespace {

// One character per 4-byte word, with junk in the high bytes.
std::vector<int> packed(const std::string &text) {
  std::vector<int> words;
  for (unsigned char c : text) words.push_back(static_cast<int>(0x3c3c0000u | c));
  return words;
}

// The text as a CHARACTER argument of a longer variable: the first
// text.size() characters count.
std::string withTail(const std::string &text) { return text + "#tail#"; }
int lengthOf(const std::string &text) { return static_cast<int>(text.size()); }

std::string windowName(Window w) {
  char *name = nullptr;
  std::string s = "<none>";
  if (XFetchName(xin::display(), w, &name) && name != nullptr) {
    s = name;
    XFree(name);
  }
  return s;
}

std::string iconName(Window w) {
  char *name = nullptr;
  std::string s = "<none>";
  if (XGetIconName(xin::display(), w, &name) && name != nullptr) {
    s = name;
    XFree(name);
  }
  return s;
}

// Each title entry in both forms, and how to read what the server holds.
struct TitleEntry {
  const char *name;
  void (*packedForm)(const int *, const int *);
  void (*characterForm)(const char *, int);
  std::string (*read)(Window);
};
const TitleEntry kTitleEntries[] = {
    {"fglutSetWindowTitle", fglutSetWindowTitle, fglutSetWindowTitleC, windowName},
    {"fglutSetIconTitle", fglutSetIconTitle, fglutSetIconTitleC, iconName},
};

TEST(CharacterText, TitlesReachTheServerAsThePackedOnesDo) {
  xin::openWindow("titles", 0, 0, 60, 60);
  const Window w = xin::currentXWindow();
  fglutDisplayFunc(nullptr);
  for (const TitleEntry &e : kTitleEntries) {
    for (const std::string text : {"Fortran GLUT program", "  blanks kept  "}) {
      SCOPED_TRACE(std::string(e.name) + " '" + text + "'");
      const std::vector<int> words = packed(text);
      const int count = lengthOf(text);
      e.packedForm(words.data(), &count);
      xin::pumpUntil([&] { return e.read(w) == text; });
      const std::string viaPacked = e.read(w);
      const std::string marker = "-";
      e.characterForm(marker.data(), 1);
      xin::pumpUntil([&] { return e.read(w) == marker; });
      e.characterForm(withTail(text).data(), lengthOf(text));
      xin::pumpUntil([&] { return e.read(w) == text; });
      EXPECT_EQ(viaPacked, text);
      EXPECT_EQ(e.read(w), viaPacked);
    }
  }
}

// The measuring entries in both forms, results widened to double.
struct MeasureEntry {
  const char *name;
  int firstFont, lastFont;  // the codes of the fonts it measures in
  double (*packedForm)(const int *, const int *, const int *);
  double (*characterForm)(const int *, const char *, int);
};
const MeasureEntry kMeasureEntries[] = {
    {"fglutBitmapLength", 3, 9,
     [](const int *f, const int *w, const int *n) { return double(fglutBitmapLength(f, w, n)); },
     [](const int *f, const char *s, int n) { return double(fglutBitmapLengthC(f, s, n)); }},
    {"fglutStrokeLength", 1, 2,
     [](const int *f, const int *w, const int *n) { return double(fglutStrokeLength(f, w, n)); },
     [](const int *f, const char *s, int n) { return double(fglutStrokeLengthC(f, s, n)); }},
    {"fglutStrokeLengthf", 1, 2,
     [](const int *f, const int *w, const int *n) { return double(fglutStrokeLengthf(f, w, n)); },
     [](const int *f, const char *s, int n) { return double(fglutStrokeLengthfC(f, s, n)); }},
};

TEST(CharacterText, LengthsEqualThePackedOnesInEachFont) {
  xin::openWindow("lengths", 0, 0, 60, 60);
  for (const MeasureEntry &e : kMeasureEntries) {
    for (int code = e.firstFont; code <= e.lastFont; ++code) {
      for (const std::string text : {"Fortran GLUT 77", "blanks   ", "two\nlines", ""}) {
        SCOPED_TRACE(std::string(e.name) + " font " + std::to_string(code) + " '" + text + "'");
        const std::vector<int> words = packed(text);
        const int count = lengthOf(text);
        const double viaPacked = e.packedForm(&code, words.data(), &count);
        EXPECT_EQ(e.characterForm(&code, withTail(text).data(), count), viaPacked);
        if (text.empty()) {
          EXPECT_EQ(viaPacked, 0.0);
        } else {
          EXPECT_GT(viaPacked, 0.0);
        }
      }
    }
  }
}

TEST(CharacterText, ExtensionSupportedAnswersAsThePackedOneDoes) {
  xin::openWindow("extensions", 0, 0, 60, 60);
  for (const std::string name : {"GL_ARB_multitexture", "GL_ARB_multitexture ", "GL_no_such_extension", ""}) {
    SCOPED_TRACE(name);
    const std::vector<int> words = packed(name);
    const int count = lengthOf(name);
    const int viaPacked = fglutExtensionSupported(words.data(), &count);
    EXPECT_EQ(fglutExtensionSupportedC(withTail(name).data(), count), viaPacked);
    if (!name.empty()) {
      EXPECT_EQ(viaPacked, glutExtensionSupported(name.c_str()));
    }
  }
  // A name GLUT would search for forever: no extension has it.
  EXPECT_EQ(fglutExtensionSupportedC("", 0), 0);
  const int zeroFirst[] = {0, 'G', 'L'};
  const int three = 3;
  EXPECT_EQ(fglutExtensionSupported(zeroFirst, &three), 0);
  const std::string known = "GL_ARB_multitexture";
  EXPECT_EQ(fglutExtensionSupportedC(known.data(), lengthOf(known)), 1);
}

// The RGB picture of the current window, read back from OpenGL.
std::vector<std::uint8_t> picture(int width, int height) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

long litPixels(const std::vector<std::uint8_t> &p) {
  long n = 0;
  for (std::size_t i = 0; i < p.size(); i += 3) n += (p[i] | p[i + 1] | p[i + 2]) != 0;
  return n;
}

struct DrawEntry {
  const char *name;
  int font;
  void (*packedForm)(const int *, const int *, const int *);
  void (*characterForm)(const int *, const char *, int);
};
const DrawEntry kDrawEntries[] = {
    {"fglutBitmapString", 3, fglutBitmapString, fglutBitmapStringC},
    {"fglutStrokeString", 1, fglutStrokeString, fglutStrokeStringC},
};

TEST(CharacterText, StringsDrawTheSamePixelsAsThePackedOnes) {
  const int size = 200;
  xin::openWindow("strings", 0, 0, size, size);
  fglutDisplayFunc(nullptr);
  const std::string text = "Fortran\n77";
  for (const DrawEntry &e : kDrawEntries) {
    SCOPED_TRACE(e.name);
    // Bitmap text from the raster position, stroke text scaled into view.
    auto draw = [&](auto callForm) {
      glClearColor(0, 0, 0, 1);
      glClear(GL_COLOR_BUFFER_BIT);
      glMatrixMode(GL_PROJECTION);
      glLoadIdentity();
      glOrtho(0, size, 0, size, -1, 1);
      glMatrixMode(GL_MODELVIEW);
      glLoadIdentity();
      glColor3f(1, 1, 1);
      glRasterPos2i(10, 150);
      glTranslatef(10, 150, 0);
      glScalef(0.3f, 0.3f, 1);
      callForm();
      glFinish();
      return picture(size, size);
    };
    const std::vector<int> words = packed(text);
    const int count = lengthOf(text);
    const std::vector<std::uint8_t> viaPacked = draw([&] { e.packedForm(&e.font, words.data(), &count); });
    const std::vector<std::uint8_t> viaCharacter =
        draw([&] { e.characterForm(&e.font, withTail(text).data(), count); });
    EXPECT_GT(litPixels(viaPacked), 50);
    EXPECT_EQ(viaCharacter, viaPacked);
  }
}

// Display-mode and game-mode strings in either form, and what GLUT made of
// them: the double-buffer flag of a window created afterwards, the game
// mode's width.
void setText(bool character, void (*packedForm)(const int *, const int *), void (*characterForm)(const char *, int),
             const std::string &text) {
  if (character) {
    characterForm(withTail(text).data(), lengthOf(text));
  } else {
    const std::vector<int> words = packed(text);
    const int count = lengthOf(text);
    packedForm(words.data(), &count);
  }
}

TEST(CharacterText, DisplayAndGameModeStringsReachGlut) {
  fglutInit();
  const int title[] = {'m'};
  const int one = 1;
  const int qdouble = GLUT_WINDOW_DOUBLEBUFFER, qwidth = GLUT_GAME_MODE_WIDTH, qheight = GLUT_GAME_MODE_HEIGHT;
  for (const bool character : {false, true}) {
    SCOPED_TRACE(character ? "C entries" : "packed entries");
    for (const auto &[spec, doubled] : {std::pair<std::string, int>{"rgb double", 1}, {"rgb single", 0}}) {
      setText(character, fglutInitDisplayString, fglutInitDisplayStringC, spec);
      fglutCreateWindow(title, &one);
      EXPECT_EQ(fglutGet(&qdouble), doubled) << spec;
    }
    for (const auto &[spec, width, height] : {std::tuple<std::string, int, int>{"640x480", 640, 480}, {"800x600:24", 800, 600}}) {
      setText(character, fglutGameModeString, fglutGameModeStringC, spec);
      EXPECT_EQ(fglutGameModeGet(&qwidth), width) << spec;
      EXPECT_EQ(fglutGameModeGet(&qheight), height) << spec;
    }
  }
}

// Menus: the same entries made through either form look the same on the
// screen, entry for entry.

int onMenu(int *) { return 0; }

// The mapped override-redirect window that freeglut shows as a pop-up menu.
Window menuWindow() {
  Display *d = xin::display();
  Window root = 0, parent = 0, *children = nullptr, found = 0;
  unsigned int n = 0;
  XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n);
  for (unsigned int i = 0; i < n && found == 0; ++i) {
    XWindowAttributes a;
    if (XGetWindowAttributes(d, children[i], &a) && a.override_redirect && a.map_state == IsViewable) {
      found = children[i];
    }
  }
  if (children != nullptr) XFree(children);
  return found;
}

std::vector<unsigned long> windowPixels(Window w) {
  XWindowAttributes a;
  std::vector<unsigned long> pixels;
  if (!XGetWindowAttributes(xin::display(), w, &a)) return pixels;
  XImage *image = XGetImage(xin::display(), w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
  if (image == nullptr) return pixels;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) pixels.push_back(XGetPixel(image, x, y));
  XDestroyImage(image);
  return pixels;
}

// Opens the current menu (attached to the right button) in window w with
// the pointer outside any entry, waits until its picture holds still, and
// returns it; then closes the menu with a click outside it.
std::vector<unsigned long> menuPicture(Window w) {
  const int right = GLUT_RIGHT_BUTTON;
  fglutAttachMenu(&right);
  xin::moveTo(w, 20, 20);
  xin::button(3, true);
  xin::button(3, false);
  Window m = 0;
  EXPECT_TRUE(xin::pumpUntil([&m] { return (m = menuWindow()) != 0; }));
  // Away from the entries, so that none is highlighted.
  xin::moveTo(w, 250, 250);
  std::vector<unsigned long> last;
  xin::pumpUntil([&] {
    std::vector<unsigned long> now = windowPixels(m);
    const bool still = !now.empty() && now == last;
    last = std::move(now);
    return still;
  });
  xin::button(1, true);
  xin::button(1, false);
  EXPECT_TRUE(xin::pumpUntil([] { return menuWindow() == 0; }));
  fglutDetachMenu(&right);
  return last;
}

// Builds a menu of two entries and a sub-menu, then changes the first entry
// and turns the second into a sub-menu: labels[0..2] added, labels[3..4]
// changed in, through the packed or the C entries.
int buildMenu(bool character, int sub, const std::vector<std::string> &labels) {
  const int menu = fglutCreateMenu(onMenu);
  const int value = 7, item1 = 1, item2 = 2;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const std::string &l = labels[i];
    const std::vector<int> words = packed(l);
    const int n = lengthOf(l);
    const std::string c = withTail(l);
    switch (i) {
      case 0:
      case 1:
        character ? fglutAddMenuEntryC(c.data(), &value, n) : fglutAddMenuEntry(words.data(), &n, &value);
        break;
      case 2:
        character ? fglutAddSubMenuC(c.data(), &sub, n) : fglutAddSubMenu(words.data(), &n, &sub);
        break;
      case 3:
        character ? fglutChangeToMenuEntryC(&item1, c.data(), &value, n)
                  : fglutChangeToMenuEntry(&item1, words.data(), &n, &value);
        break;
      default:
        character ? fglutChangeToSubMenuC(&item2, c.data(), &sub, n)
                  : fglutChangeToSubMenu(&item2, words.data(), &n, &sub);
        break;
    }
  }
  return menu;
}

TEST(CharacterText, MenusShowTheSameLabelsAsThePackedOnes) {
  xin::openWindow("menus", 30, 30, 300, 300);
  const Window w = xin::currentXWindow();
  const int sub = fglutCreateMenu(onMenu);
  const int innerValue = 31;
  fglutAddMenuEntryC("inner", &innerValue, 5);
  const std::vector<std::string> labels = {"Yellow sphere", "Quit", "More  ", "Changed entry", "Sub-menu"};
  std::vector<std::string> other = labels;
  other[3] = "Changed entrY";

  const int viaPacked = buildMenu(false, sub, labels);
  const std::vector<unsigned long> packedPicture = menuPicture(w);
  const int viaCharacter = buildMenu(true, sub, labels);
  const std::vector<unsigned long> characterPicture = menuPicture(w);
  // One letter changed shows: the pictures compare the labels.
  buildMenu(true, sub, other);
  const std::vector<unsigned long> otherPicture = menuPicture(w);

  const int items = GLUT_MENU_NUM_ITEMS;
  for (const int menu : {viaPacked, viaCharacter}) {
    fglutSetMenu(&menu);
    EXPECT_EQ(fglutGet(&items), 3);
  }
  ASSERT_FALSE(packedPicture.empty());
  EXPECT_EQ(characterPicture, packedPicture);
  EXPECT_NE(otherPicture, packedPicture);
}

}  // namespace
