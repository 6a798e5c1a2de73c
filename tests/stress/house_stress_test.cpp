// The house viewer over many resizes: the program runs under the test's X
// server; each resize goes through the server (XResizeWindow) and is waited
// for until the program has repainted the window. The program's resident
// memory after all resizes must be within 1 MiB of what it was after the
// first 100, and closing the window must end it with status 0. With
// FGL_STRESS_VALGRIND set (the suppression file), the program runs under
// valgrind's memcheck instead, and the run must show no invalid access and
// no lost block that the suppressions (X and Mesa only) do not cover.
//
// Arguments: the house program, then any NAME=VALUE settings to put into the
// environment (of this program and the viewer). Environment:
// FGL_STRESS_RESIZES (default 2000), FGL_STRESS_VALGRIND, FGL_STRESS_NO_RSS
// (skip the memory figure, for builds whose allocator keeps freed memory,
// such as AddressSanitizer's).
#include <gtest/gtest.h>  // before Xlib, whose None macro clashes with it

#include <X11/Xlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "stress_support.h"

namespace {

std::string house_program;

std::string slurp(const std::string &path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(HouseResize, EveryResizeRepaintedMemoryFlatAndCloseExitsZero) {
  const long resizes = stress::env_count("FGL_STRESS_RESIZES", 2000);
  const char *suppressions = std::getenv("FGL_STRESS_VALGRIND");
  const bool valgrind = suppressions && *suppressions;
  const bool measure = !valgrind && stress::env_count("FGL_STRESS_NO_RSS", 0) == 0;
  const auto slow = std::chrono::seconds(valgrind ? 120 : 30);

  char log_template[] = "/tmp/house-valgrind-XXXXXX";
  std::string log;
  std::vector<std::string> argv;
  if (valgrind) {
    const int fd = mkstemp(log_template);
    ASSERT_GE(fd, 0);
    close(fd);
    log = log_template;
    argv = {"valgrind", "--tool=memcheck", "--leak-check=full", "--show-leak-kinds=definite,indirect",
            "--errors-for-leak-kinds=definite,indirect", "--error-exitcode=99", "--num-callers=50",
            "--keep-debuginfo=yes",
            std::string("--suppressions=") + suppressions, "--log-file=" + log};
  }
  argv.push_back(house_program);
  stress::Child child = stress::spawn(argv, false);
  ASSERT_GT(child.pid, 0);

  Display *d = XOpenDisplay(nullptr);
  ASSERT_NE(d, nullptr);
  const XWindowId w = stress::find_window(d, "Fortran GLUT program", slow, &child);
  ASSERT_NE(w, 0u) << "the viewer's window did not appear";

  long after_100 = -1, marked_count = 0, nudged_count = 0;
  for (long i = 1; i <= resizes; ++i) {
    // A new size every time: widths and heights walk through co-prime steps.
    const int width = valgrind ? 60 + static_cast<int>(i * 37 % 100) : 120 + static_cast<int>(i * 37 % 400);
    const int height = valgrind ? 50 + static_cast<int>(i * 53 % 90) : 90 + static_cast<int>(i * 53 % 300);
    bool marked = false, nudged = false;
    ASSERT_TRUE(stress::resize_and_wait_for_repaint(d, w, width, height, slow, &marked, &child, &nudged))
        << "resize " << i << " to " << width << "x" << height << " was not repainted";
    marked_count += marked;
    nudged_count += nudged;
    if (i == 100) after_100 = stress::rss_kib(child.pid);
    if (i % 500 == 0) std::printf("after %ld resizes: %ld KiB resident\n", i, stress::rss_kib(child.pid));
  }
  const long after_all = stress::rss_kib(child.pid);
  // A resize whose repaint needed a second exposure is tolerated now and then
  // (one in a hundred), not as the rule.
  std::printf("repaints that needed a second exposure: %ld\n", nudged_count);
  EXPECT_LE(nudged_count * 100, resizes) << nudged_count << " resizes were repainted only after a second exposure";
  // Each wait began from the marker, which only the program's repaint removes.
  EXPECT_GE(marked_count * 10, resizes * 9) << "the marker was seen before only " << marked_count << " resizes";
  std::printf("resizes: %ld; resident memory after 100: %ld KiB, after %ld: %ld KiB\n", resizes, after_100,
              resizes, after_all);
  if (measure && resizes >= 100) {
    EXPECT_LE(after_all - after_100, 1024) << "resident memory grew by more than 1 MiB";
  }

  stress::close_window(d, w);
  const int status = stress::wait_for(child, slow);
  XCloseDisplay(d);
  ASSERT_NE(status, -1) << "the viewer did not end after WM_DELETE_WINDOW";
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  if (valgrind) {
    const std::string report = slurp(log);
    std::remove(log.c_str());
    EXPECT_EQ(report.find("Invalid read"), std::string::npos) << report;
    EXPECT_EQ(report.find("Invalid write"), std::string::npos) << report;
    EXPECT_EQ(report.find("definitely lost in"), std::string::npos) << report;
    EXPECT_EQ(report.find("indirectly lost in"), std::string::npos) << report;
    EXPECT_EQ(WEXITSTATUS(status), 0) << report;
    // The summary lines, for the record.
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);) {
      if (line.find("lost:") != std::string::npos || line.find("ERROR SUMMARY") != std::string::npos ||
          line.find("in use at exit") != std::string::npos)
        std::printf("%s\n", line.c_str());
    }
  } else {
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }
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
  for (int i = 2; i < argc; ++i) {
    if (std::strchr(argv[i], '=') != nullptr) putenv(argv[i]);
  }
  return RUN_ALL_TESTS();
}
