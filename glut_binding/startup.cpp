// Start-up entries: initialisation with the fixed or a caller-built argument
// vector, display mode and display string, initial window geometry, top-level
// window creation in both string forms, and the main loop.
//
// freeglut on this platform ends the program itself through exit() (a closed
// window, a fatal error), so the program's atexit handlers run; glutInit and
// glutCreateWindow therefore need no exit routine of ours.
#include <GL/freeglut.h>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "fglut.h"
#include "ending.h"
#include "fglut_conventions.h"

namespace {

// The argument count and vector handed to GLUT. GLUT keeps the count's
// address and may lower the count when it consumes options; neither cell is
// ever released.
int argumentCount = 0;
char **argumentVector = nullptr;

char programName[] = "noname";

// A window just made, as the checking build records it.
int madeWindow(int id) {
  FGLUT_CHECK_MADE(window, id);
  return id;
}

// Argument i of a caller's table spans the 1-based word positions
// [first, end). A position below 1 is taken as 1, and an end before the start
// gives the empty string, so no word before the array is ever read.
struct Span {
  long first, end;
};
Span spanOf(const int *starts, std::size_t i) {
  const long first = starts[i] < 1 ? 1 : starts[i];
  return {first, starts[i + 1] < first ? first : starts[i + 1]};
}

// Initialises GLUT with the n arguments of a caller's table. The vector handed
// to GLUT (n strings, then null) is followed by a copy of the n string
// addresses that GLUT does not see: GLUT removes the options it consumes from
// the vector, and their strings stay held by the copy. Returns false, GLUT
// left alone, when the heap is exhausted.
bool initFromTable(std::size_t n, const int *words, const int *starts) {
  char **vector = static_cast<char **>(std::malloc((2 * n + 1) * sizeof(char *)));
  if (vector == nullptr) return false;
  for (std::size_t i = 0; i < n; ++i) {
    const Span span = spanOf(starts, i);
    vector[i] = fglut::packedToString(words + (span.first - 1), static_cast<std::size_t>(span.end - span.first));
    if (vector[i] == nullptr) {
      for (std::size_t j = 0; j < i; ++j) std::free(vector[j]);
      std::free(vector);
      return false;
    }
  }
  vector[n] = nullptr;
  std::copy(vector, vector + n, vector + n + 1);
  argumentCount = static_cast<int>(n);
  argumentVector = vector;
  fglut::installEnding();
  glutInit(&argumentCount, argumentVector);
  return true;
}

}  // namespace

extern "C" {

// Exposes the layer's own count cell and vector (after GLUT's consumption of
// options), for programs that want to see what GLUT left.
FGLUT_API int fglutArgumentCount(void) { return argumentCount; }
FGLUT_API char **fglutArgumentVector(void) { return argumentVector; }

FGLUT_API void fglutInit(void) {
  char **vector = static_cast<char **>(std::malloc(2 * sizeof(char *)));
  if (vector == nullptr) return;
  vector[0] = programName;
  vector[1] = nullptr;
  argumentCount = 1;
  argumentVector = vector;
  fglut::installEnding();
  glutInit(&argumentCount, argumentVector);
}
FGLUT_FORTRAN_ALIAS(fglutInit, fglutinit_)

FGLUT_API void fglutInitArgs(const int *count, const int *words, const int *starts) {
  FGLUT_CHECK_COUNT(1, count);
  initFromTable(fglut::nonNegative(*count), words, starts);
}
FGLUT_FORTRAN_ALIAS(fglutInitArgs, fglutinitargs_)

// The arguments GLUT left are a subsequence of the caller's, in order; each
// keeps the length of its span (zero codes included). They are packed from
// word 1 when they fit within the highest word position that was read.
FGLUT_API void fglutInitArgsRest(int *count, int *words, int *starts) {
  FGLUT_CHECK_COUNT(1, count);
  const std::size_t n = fglut::nonNegative(*count);
  long extent = 0;
  for (std::size_t i = 0; i < n; ++i) extent = std::max(extent, spanOf(starts, i).end - 1);
  if (!initFromTable(n, words, starts)) return;
  char **const originals = argumentVector + n + 1;
  std::vector<std::pair<const char *, long>> left;  // each remaining string and its length
  long total = 0;
  for (int k = 0; k < argumentCount; ++k) {
    const std::size_t j = static_cast<std::size_t>(std::find(originals, originals + n, argumentVector[k]) - originals);
    if (j == n) return;
    const Span span = spanOf(starts, j);
    left.emplace_back(originals[j], span.end - span.first);
    total += span.end - span.first;
  }
  if (total > extent) return;
  long position = 1;
  for (std::size_t k = 0; k < left.size(); ++k) {
    starts[k] = static_cast<int>(position);
    for (long c = 0; c < left[k].second; ++c) words[position++ - 1] = static_cast<unsigned char>(left[k].first[c]);
  }
  starts[left.size()] = static_cast<int>(position);
  *count = argumentCount;
}
FGLUT_FORTRAN_ALIAS(fglutInitArgsRest, fglutinitargsrest_)

FGLUT_API void fglutInitDisplayMode(const unsigned int *mode) { glutInitDisplayMode(*mode); }
FGLUT_FORTRAN_ALIAS(fglutInitDisplayMode, fglutinitdisplaymode_)

FGLUT_TEXT_ENTRY(void, InitDisplayString, initdisplaystring, 1, (), (), (), glutInitDisplayString(s))

FGLUT_API void fglutInitWindowPosition(const int *x, const int *y) { glutInitWindowPosition(*x, *y); }
FGLUT_FORTRAN_ALIAS(fglutInitWindowPosition, fglutinitwindowposition_)

FGLUT_API void fglutInitWindowSize(const int *width, const int *height) { glutInitWindowSize(*width, *height); }
FGLUT_FORTRAN_ALIAS(fglutInitWindowSize, fglutinitwindowsize_)

FGLUT_TEXT_ENTRY(int, CreateWindow, createwindow, 1, (), (), (), madeWindow(glutCreateWindow(s)))

FGLUT_API void fglutMainLoop(void) {
  const fglut::OutsideFortran loop;
  glutMainLoop();
}
FGLUT_FORTRAN_ALIAS(fglutMainLoop, fglutmainloop_)

}  // extern "C"
