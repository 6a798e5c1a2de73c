// Resident memory over many repetitions of the binding's per-call
// allocations: timer registrations (each a freeglut timer carrying the
// application's routine) and string queries (the query string store taken
// and released). After all repetitions the resident set must be within
// 1 MiB of what it was after the first 100. Run under valgrind as well, where
// no block may be lost.
//
// Environment: FGL_STRESS_TIMERS (default 10000), FGL_STRESS_STRINGS
// (default 1000), FGL_STRESS_NO_RSS (skip the memory figures).
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "fgl.h"
#include "fglut.h"
#include "stress_support.h"

namespace {

long fired = 0;
long value_sum = 0;

extern "C" int onTimer(int *value) {
  ++fired;
  value_sum += *value;
  return 0;
}
extern "C" int drawNothing(void) { return 0; }

bool measuring() { return stress::env_count("FGL_STRESS_NO_RSS", 0) == 0; }

class Stress : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    fglutInit();
    const unsigned int mode = GLUT_RGBA | GLUT_SINGLE;
    fglutInitDisplayMode(&mode);
    static const char title[] = "stress";
    fglutCreateWindowC(title, 6);
    fglutDisplayFunc(drawNothing);
    glutMainLoopEvent();
  }
};

TEST_F(Stress, TimerRegistrationsKeepResidentMemoryFlat) {
  const long total = stress::env_count("FGL_STRESS_TIMERS", 10000);
  const unsigned int now = 0;
  long registered = 0, expected_sum = 0, after_100 = -1;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  // Batches of 100 registrations, each run until every timer has fired.
  while (registered < total) {
    for (int k = 0; k < 100 && registered < total; ++k) {
      const int value = static_cast<int>(registered % 7);
      fglutTimerFunc(&now, onTimer, &value);
      expected_sum += value;
      ++registered;
    }
    while (fired < registered && std::chrono::steady_clock::now() < until) glutMainLoopEvent();
    ASSERT_EQ(fired, registered) << "timers did not fire";
    if (registered == 100) after_100 = stress::own_rss_kib();
  }
  EXPECT_EQ(value_sum, expected_sum) << "a timer routine received another value";
  const long after_all = stress::own_rss_kib();
  std::printf("timers: %ld; resident memory after 100: %ld KiB, after %ld: %ld KiB\n", total, after_100, total,
              after_all);
  if (measuring() && total >= 100) {
    EXPECT_LE(after_all - after_100, 1024);
  }
}

TEST_F(Stress, StringQueryCyclesKeepResidentMemoryFlat) {
  const long total = stress::env_count("FGL_STRESS_STRINGS", 1000);
  const GLenum names[] = {GL_VENDOR, GL_RENDERER, GL_VERSION, GL_EXTENSIONS};
  long after_100 = -1;
  for (long i = 1; i <= total; ++i) {
    const GLenum name = names[i % 4];
    const GLint length = fglGetString(&name);
    const char *direct = reinterpret_cast<const char *>(glGetString(name));
    ASSERT_NE(direct, nullptr);
    ASSERT_EQ(length, static_cast<GLint>(std::strlen(direct)));
    std::vector<GLint> words(static_cast<std::size_t>(length));
    fglGetStringCopy(words.data());
    for (GLint k = 0; k < length; ++k) {
      ASSERT_EQ(words[static_cast<std::size_t>(k)], static_cast<GLint>(static_cast<signed char>(direct[k])));
    }
    // Every third cycle queries again before releasing: the store replaces
    // its text, and the earlier text must not be lost.
    if (i % 3 == 0) fglGetString(&names[(i + 1) % 4]);
    fglGetStringRelease();
    if (i == 100) after_100 = stress::own_rss_kib();
  }
  const long after_all = stress::own_rss_kib();
  std::printf("string cycles: %ld; resident memory after 100: %ld KiB, after %ld: %ld KiB\n", total, after_100,
              total, after_all);
  if (measuring() && total >= 100) {
    EXPECT_LE(after_all - after_100, 1024);
  }
}

}  // namespace
