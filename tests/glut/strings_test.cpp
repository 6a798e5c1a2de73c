// String conversion and initialisation: titles read back from the X server,
// argument vectors as GLUT sees and leaves them.
#include <gtest/gtest.h>  // before Xlib, whose None macro clashes with it

#include <GL/freeglut.h>
#include <X11/Xlib.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fglut.h"
#include "xinput.h"

namespace {

std::string serverTitle(Window w) {
  char *name = nullptr;
  std::string title = "<none>";
  if (XFetchName(xin::display(), w, &name) && name != nullptr) {
    title = name;
    XFree(name);
  }
  return title;
}

// One character per 4-byte word, with junk in the high bytes.
std::vector<int> packed(const std::string &text) {
  std::vector<int> words;
  for (unsigned char c : text) words.push_back(static_cast<int>(0x5a5a0000u | c));
  return words;
}

// Waits until the X server holds `expected` as the title of GLUT's current
// window (GLUT's requests travel on its own connection), then returns the
// title the server holds.
std::string titleOnceSettled(const std::string &expected) {
  const Window w = xin::currentXWindow();
  fglutDisplayFunc(nullptr);  // lets GLUT's event loop run for this window
  xin::pumpUntil([&expected, w] { return serverTitle(w) == expected; });
  return serverTitle(w);
}

std::vector<std::string> vectorAfterInit() {
  std::vector<std::string> args;
  char **v = fglutArgumentVector();
  for (int i = 0; i < fglutArgumentCount(); ++i) args.emplace_back(v[i]);
  EXPECT_EQ(v[fglutArgumentCount()], nullptr);
  return args;
}

TEST(Title, AddressAndLengthKeepsTrailingBlanks) {
  fglutInit();
  const char title[] = "Fortran GLUT program     tail";  // 20 characters, 5 blanks, then more
  const int id = fglutCreateWindowC(title, 25);
  EXPECT_EQ(id, glutGetWindow());
  EXPECT_EQ(titleOnceSettled("Fortran GLUT program     "), "Fortran GLUT program     ");
}

TEST(Title, PackedWordsUseOnlyTheLowByte) {
  fglutInit();
  const int words[] = {0x141};
  const int one = 1;
  fglutCreateWindow(words, &one);
  EXPECT_EQ(titleOnceSettled("A"), "A");
  const std::vector<int> longer = packed("Fortran GLUT program");
  const int count = static_cast<int>(longer.size());
  fglutSetWindowTitle(longer.data(), &count);
  EXPECT_EQ(titleOnceSettled("Fortran GLUT program"), "Fortran GLUT program");
}

TEST(Title, ZeroCodeCutsWhatGlutSees) {
  fglutInit();
  const int words[] = {'A', 'B', 0, 'C', 'D'};
  const int count = 5;
  fglutCreateWindow(words, &count);
  EXPECT_EQ(titleOnceSettled("AB"), "AB");
}

// Each call makes a window of its own, titled with the empty string: a call
// that made none would leave the previous (equally untitled) window current.
TEST(Title, ZeroOrNegativeCountGivesTheEmptyString) {
  fglutInit();
  const int words[] = {'X'};
  std::vector<int> windows;
  auto created = [&windows](int id) {
    EXPECT_GT(id, 0);
    EXPECT_EQ(id, glutGetWindow());
    for (int earlier : windows) EXPECT_NE(id, earlier) << "no new window";
    windows.push_back(id);
    EXPECT_EQ(titleOnceSettled(""), "");
  };
  for (const int count : {0, -1, -7}) {
    SCOPED_TRACE(count);
    created(fglutCreateWindow(words, &count));
  }
  for (const int length : {-1, -3}) {
    SCOPED_TRACE(length);
    created(fglutCreateWindowC("ignored", length));
  }
}

TEST(Init, FixedVectorIgnoresTheCommandLine) {
  // This process was started with gtest's options on its command line.
  fglutInit();
  EXPECT_EQ(fglutArgumentCount(), 1);
  EXPECT_EQ(vectorAfterInit(), std::vector<std::string>{"noname"});
  EXPECT_EQ(glutGet(GLUT_INIT_STATE), 1);
}

TEST(InitArgs, StartPositionTableSplitsThePackedArray) {
  const std::vector<int> words = packed("progexample");  // 11 words
  const int count = 2;
  const std::vector<int> starts = {1, 5, 12};
  fglutInitArgs(&count, words.data(), starts.data());
  EXPECT_EQ(count, 2);
  EXPECT_EQ(vectorAfterInit(), (std::vector<std::string>{"prog", "example"}));
}

TEST(InitArgs, CountZeroGivesOnlyTheNullEntry) {
  const int words[] = {'x'};
  const int count = 0;
  const int starts[] = {1};
  fglutInitArgs(&count, words, starts);
  EXPECT_EQ(fglutArgumentCount(), 0);
  EXPECT_EQ(fglutArgumentVector()[0], nullptr);
  EXPECT_EQ(glutGet(GLUT_INIT_STATE), 1);
}

TEST(InitArgs, NegativeCountIsTakenAsZero) {
  const int words[] = {'x'};
  const int count = -2;
  const int starts[] = {1};
  fglutInitArgs(&count, words, starts);
  EXPECT_EQ(count, -2);
  EXPECT_EQ(fglutArgumentCount(), 0);
  EXPECT_EQ(fglutArgumentVector()[0], nullptr);
}

TEST(InitArgs, DecreasingOrLowPositionsGiveEmptyArgumentsNotWildReads) {
  // Exactly 11 words: a read outside them shows up under AddressSanitizer.
  const std::vector<int> words = packed("progexample");
  const int count = 4;
  // -3 is taken as 1; 5 -> 1 decreases (empty); 1 -> 1 is empty; 1 .. 11.
  const std::vector<int> starts = {-3, 5, 1, 1, 12};
  fglutInitArgs(&count, words.data(), starts.data());
  EXPECT_EQ(vectorAfterInit(), (std::vector<std::string>{"prog", "", "", "progexample"}));
}

TEST(InitArgs, GlutConsumesOptionsButNotTheCallersCount) {
  const char *display = std::getenv("DISPLAY");
  ASSERT_NE(display, nullptr);
  const std::vector<std::string> args = {"prog", "-display", display, "-geometry", "320x240+7+9", "-iconic", "keep"};
  std::string all;
  std::vector<int> starts;
  for (const std::string &a : args) {
    starts.push_back(static_cast<int>(all.size()) + 1);
    all += a;
  }
  starts.push_back(static_cast<int>(all.size()) + 1);
  const std::vector<int> words = packed(all);
  const int count = static_cast<int>(args.size());
  fglutInitArgs(&count, words.data(), starts.data());
  EXPECT_EQ(count, 7);                 // the caller's variable
  EXPECT_EQ(fglutArgumentCount(), 2);  // the layer's cell, as GLUT left it
  EXPECT_EQ(vectorAfterInit(), (std::vector<std::string>{"prog", "keep"}));
  // -geometry reached GLUT intact.
  const int title[] = {'g'};
  const int one = 1;
  fglutCreateWindow(title, &one);
  const int qw = GLUT_WINDOW_WIDTH, qh = GLUT_WINDOW_HEIGHT;
  EXPECT_EQ(fglutGet(&qw), 320);
  EXPECT_EQ(fglutGet(&qh), 240);
}

// C's glutInit(&argc, argv): the caller learns what GLUT left and parses it.
TEST(InitArgs, RestWritesBackWhatGlutLeft) {
  const char *display = std::getenv("DISPLAY");
  ASSERT_NE(display, nullptr);
  const std::vector<std::string> args = {"prog", "-geometry", "150x120+5+6", "-x", "-display", display, "rest"};
  std::string all;
  std::vector<int> starts;
  for (const std::string &a : args) {
    starts.push_back(static_cast<int>(all.size()) + 1);
    all += a;
  }
  starts.push_back(static_cast<int>(all.size()) + 1);
  std::vector<int> words = packed(all);
  words.push_back(-1);  // a word past the arguments: left alone
  int count = static_cast<int>(args.size());
  fglutInitArgsRest(&count, words.data(), starts.data());
  ASSERT_EQ(count, 3);
  EXPECT_EQ(fglutArgumentCount(), 3);
  EXPECT_EQ(std::vector<int>(starts.begin(), starts.begin() + 4), (std::vector<int>{1, 5, 7, 11}));
  std::string left;
  for (int k = 0; k < 10; ++k) left += static_cast<char>(words[k]);
  EXPECT_EQ(left, "prog-xrest");
  EXPECT_EQ(words.back(), -1);
  // -geometry reached GLUT.
  fglutCreateWindowC("rest", 4);
  const int qw = GLUT_WINDOW_WIDTH, qh = GLUT_WINDOW_HEIGHT;
  EXPECT_EQ(fglutGet(&qw), 150);
  EXPECT_EQ(fglutGet(&qh), 120);
}

// Arguments whose spans overlap may need more words than the caller gave:
// nothing is written back then (no write past the 6 words; AddressSanitizer
// would see one).
TEST(InitArgs, RestLeavesOverlappingSpansAsTheyWere) {
  std::vector<int> words = packed("abcdef");
  std::vector<int> starts = {1, 7, 1, 7};  // "abcdef", then "" (decreasing), then "abcdef"
  const std::vector<int> wordsBefore = words, startsBefore = starts;
  int count = 3;
  fglutInitArgsRest(&count, words.data(), starts.data());
  EXPECT_EQ(fglutArgumentCount(), 3);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(words, wordsBefore);
  EXPECT_EQ(starts, startsBefore);
}

TEST(DisplayMode, ModeAndPackedDisplayString) {
  fglutInit();
  const unsigned int mode = GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH;
  fglutInitDisplayMode(&mode);
  const int one = 1;
  const int title[] = {'d'};
  fglutCreateWindow(title, &one);
  const int qdouble = GLUT_WINDOW_DOUBLEBUFFER, qdepth = GLUT_WINDOW_DEPTH_SIZE;
  EXPECT_EQ(fglutGet(&qdouble), 1);
  EXPECT_GT(fglutGet(&qdepth), 0);
  const std::vector<int> spec = packed("rgb single");
  const int count = static_cast<int>(spec.size());
  fglutInitDisplayString(spec.data(), &count);
  fglutCreateWindow(title, &one);
  EXPECT_EQ(fglutGet(&qdouble), 0);
}

}  // namespace

namespace {

// Limits the address space so that an allocation of a gigabyte fails (under
// AddressSanitizer, whose reservations need the address space, its own limit
// set in xinput.cpp does that).
void limitHeap() {
#if !defined(__SANITIZE_ADDRESS__)
  rlimit limit{};
  getrlimit(RLIMIT_AS, &limit);
  long pages = 0;
  if (FILE *f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
    std::fclose(f);
  }
  limit.rlim_cur = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (256u << 20);
  setrlimit(RLIMIT_AS, &limit);
#endif
}

// The count promises a gigabyte of words; the heap cannot hold its
// conversion, so nothing is read and GLUT is not called (a GLUT call before
// initialisation would be a fatal GLUT error, exit status 1).
void createWithExhaustedHeap() {
  limitHeap();
  const int words[] = {'A'};
  const int huge = 1 << 30;
  const int id = fglutCreateWindow(words, &huge);
  std::_Exit(id == 0 ? 0 : 2);
}

void initArgsWithExhaustedHeap() {
  limitHeap();
  const int words[] = {'A'};
  const int huge = 1 << 28;  // a vector of 2^29 addresses: 4 GB
  const int starts[] = {1, 2};
  fglutInitArgs(&huge, words, starts);
  std::_Exit(glutGet(GLUT_INIT_STATE) == 0 && fglutArgumentVector() == nullptr ? 0 : 2);
}

TEST(Heap, ExhaustedHeapSkipsTheGlutCall) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(createWithExhaustedHeap(), testing::ExitedWithCode(0), "");
  EXPECT_EXIT(initArgsWithExhaustedHeap(), testing::ExitedWithCode(0), "");
}

}  // namespace
