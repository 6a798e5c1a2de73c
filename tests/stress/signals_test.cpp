// How the house viewer ends. SIGTERM and SIGINT end it as the f2c runtime's
// handlers would, with the runtime's message ("Killed", "Interrupt") on
// standard error and status 1 (the GLUT layer does it, outside the signal
// handler); closing the window ends the program through exit(0) with
// nothing on standard error.
//
// Argument: the house program. Each case runs it under the test's X server.
#include <gtest/gtest.h>  // before Xlib, whose None macro clashes with it

#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdio>

#include "stress_support.h"

namespace {

std::string house_program;

struct Ending {
  int status;
  std::string stderr_text;
};

// Runs the viewer until its window is shown, then ends it with `end`.
template <typename End>
Ending run_and_end(End end) {
  Display *d = XOpenDisplay(nullptr);
  EXPECT_NE(d, nullptr);
  // The window of the previous case's program may outlive it for a moment.
  EXPECT_TRUE(stress::wait_until_gone(d, "Fortran GLUT program", std::chrono::seconds(30)));
  stress::Child child = stress::spawn({house_program}, true);
  EXPECT_GT(child.pid, 0);
  const XWindowId w = stress::find_window(d, "Fortran GLUT program", std::chrono::seconds(30), &child);
  EXPECT_NE(w, 0u) << "the viewer's window did not appear";
  if (w != 0) end(child, d, w);
  const int status = stress::wait_for(child, std::chrono::seconds(30));
  XCloseDisplay(d);
  return {status, stress::read_stderr(child)};
}

struct SignalCase {
  int signal;
  const char *message;
};

class HouseSignals : public testing::TestWithParam<SignalCase> {};

TEST_P(HouseSignals, RuntimeMessageThenExitStatusOne) {
  const SignalCase c = GetParam();
  const Ending e = run_and_end([&](stress::Child &child, Display *, XWindowId) { kill(child.pid, c.signal); });
  ASSERT_NE(e.status, -1) << "the viewer did not end";
  ASSERT_TRUE(WIFEXITED(e.status)) << "ended by signal " << WTERMSIG(e.status) << " instead of the runtime's exit";
  EXPECT_EQ(WEXITSTATUS(e.status), 1);
  EXPECT_EQ(e.stderr_text, std::string(c.message) + "\n");
}

// The same signal while the viewer is busy with a burst of resizes: it may
// land inside Xlib, and the program must still end the same way.
TEST_P(HouseSignals, RuntimeMessageThenExitStatusOneWhileRepainting) {
  const SignalCase c = GetParam();
  const Ending e = run_and_end([&](stress::Child &child, Display *d, XWindowId w) {
    for (int i = 0; i < 40; ++i) {
      XResizeWindow(d, w, static_cast<unsigned>(200 + 7 * i), static_cast<unsigned>(150 + 5 * i));
      XFlush(d);
    }
    kill(child.pid, c.signal);
  });
  ASSERT_NE(e.status, -1) << "the viewer did not end";
  ASSERT_TRUE(WIFEXITED(e.status)) << "ended by signal " << WTERMSIG(e.status) << " instead of the runtime's exit";
  EXPECT_EQ(WEXITSTATUS(e.status), 1);
  EXPECT_EQ(e.stderr_text, std::string(c.message) + "\n");
}

INSTANTIATE_TEST_SUITE_P(F2cRuntime, HouseSignals,
                         testing::Values(SignalCase{SIGTERM, "Killed"}, SignalCase{SIGINT, "Interrupt"}),
                         [](const testing::TestParamInfo<SignalCase> &info) {
                           return std::string(info.param.signal == SIGTERM ? "SIGTERM" : "SIGINT");
                         });

TEST(HouseClose, ClosingTheWindowExitsZeroSilently) {
  const Ending e = run_and_end([](stress::Child &, Display *d, XWindowId w) { stress::close_window(d, w); });
  ASSERT_NE(e.status, -1) << "the viewer did not end after WM_DELETE_WINDOW";
  ASSERT_TRUE(WIFEXITED(e.status)) << "ended by signal " << WTERMSIG(e.status);
  EXPECT_EQ(WEXITSTATUS(e.status), 0);
  EXPECT_EQ(e.stderr_text, "");
}

}  // namespace

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // listing needs no programs and no window
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s HOUSE-PROGRAM\n", argv[0]);
    return 2;
  }
  house_program = argv[1];
  return RUN_ALL_TESTS();
}
