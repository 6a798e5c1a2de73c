// SIGINT and SIGTERM sent at random moments to programs on the f2c runtime
// that draw through the GLUT layer: an animating Fortran program (ticker.f,
// translated by f2c, ticking by timer or by idle routine) and the house
// viewer (while it repaints a burst of resizes). Every run must end within a
// second with the runtime's message and status 1, and the Fortran program's
// file must hold every line it wrote, complete. Half of the runs keep both
// processors busy with two spinning processes.
//
// Arguments: TICKER-F2C TICKER-GFORTRAN HOUSE. FGL_SIGNAL_RUNS sets the runs
// per program (default 20; tests/stress/run-signals runs 200), FGL_SIGNAL_SEED
// the random seed (default: a new one, printed), FGL_SIGNAL_TIME_SCALE a
// factor for every time limit (the sanitizer build sets 10: its programs
// start, run and end several times slower).
#include <gtest/gtest.h>  // before Xlib, whose None macro clashes with it

#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <thread>
#include <vector>

#include "stress_support.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

std::string ticker_f2c, ticker_gfortran, house_program;
std::mt19937 random_moments;
double time_scale = 1;

const char ticker_title[] = "Fortran ticker";
const char house_title[] = "Fortran GLUT program";

// Two processes spinning for as long as this object lives.
class BothCoresBusy {
 public:
  BothCoresBusy() {
    for (pid_t &p : spinners_) {
      p = fork();
      if (p == 0) {
        volatile unsigned long n = 0;
        for (;;) n = n + 1;
      }
    }
  }
  ~BothCoresBusy() {
    for (pid_t p : spinners_) {
      if (p > 0) {
        kill(p, SIGKILL);
        waitpid(p, nullptr, 0);
      }
    }
  }
  BothCoresBusy(const BothCoresBusy &) = delete;
  BothCoresBusy &operator=(const BothCoresBusy &) = delete;

 private:
  pid_t spinners_[2] = {-1, -1};
};

struct Signalled {
  std::vector<std::string> argv;
  const char *title;
  int signal = SIGTERM;
  milliseconds delay{0};     // after the window appears
  bool resize = false;       // resize the window while waiting
  int second_signal = 0;     // sent 100 ms after the first, if not 0
};

struct Outcome {
  bool started = false;
  int status = -1;  // -1: did not end within 10 s (a hang)
  double to_message = -1;  // from the (last) signal to the first output on standard error
  double seconds = 0;      // from the (last) signal until the process is gone
  std::string stderr_text;
  long shown_ticks = -1;  // the icon title when the signal was sent
};

double seconds_since(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

long icon_count(Display *d, XWindowId w) {
  char *name = nullptr;
  long n = -1;
  if (XGetIconName(d, w, &name) && name != nullptr) {
    n = std::strtol(name, nullptr, 10);
    XFree(name);
  }
  return n;
}

Outcome signalled(const Signalled &r) {
  Outcome o;
  Display *d = XOpenDisplay(nullptr);
  if (d == nullptr) return o;
  std::remove("ticks.txt");
  EXPECT_TRUE(stress::wait_until_gone(d, r.title, std::chrono::seconds(30)));
  stress::Child child = stress::spawn(r.argv, true);
  const XWindowId w = stress::find_window(d, r.title, std::chrono::seconds(30), &child);
  if (w == 0) {
    stress::wait_for(child, std::chrono::seconds(1));
    XCloseDisplay(d);
    return o;
  }
  o.started = true;
  const auto until = Clock::now() + r.delay;
  for (unsigned i = 0; Clock::now() < until; ++i) {
    if (r.resize) {
      XResizeWindow(d, w, 200 + 13 * (i % 20), 150 + 11 * (i % 17));
      XFlush(d);
    }
    std::this_thread::sleep_for(milliseconds(r.resize ? 5 : 1));
  }
  o.shown_ticks = icon_count(d, w);
  kill(child.pid, r.signal);
  auto from = Clock::now();
  if (r.second_signal != 0) {
    std::this_thread::sleep_for(milliseconds(100));
    if (!stress::has_ended(child)) {
      kill(child.pid, r.second_signal);
      from = Clock::now();
    }
  }
  // The message is the program's last act before _exit; the time to it is
  // the program's own. The kernel's tearing down of the process (its
  // threads, its mappings) comes after and is counted separately.
  pollfd err{child.stderr_fd, POLLIN, 0};
  if (poll(&err, 1, 10000) == 1) o.to_message = seconds_since(from);
  o.status = stress::wait_for(child, std::chrono::seconds(10));
  o.seconds = seconds_since(from);
  o.stderr_text = stress::read_stderr(child);
  XCloseDisplay(d);
  return o;
}

std::string message(int signal) { return signal == SIGINT ? "Interrupt\n" : "Killed\n"; }

// The lines of ticks.txt: "TICK n END" for n = 1, 2, ... with none missing,
// none cut short, and at least `at_least` of them. Empty if all is well.
std::string check_ticks(long at_least) {
  std::ifstream in("ticks.txt", std::ios::binary);
  if (!in) return "ticks.txt is missing";
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!text.empty() && text.back() != '\n') return "the last line is cut short";
  long n = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find('\n', at);
    char expected[32];
    std::snprintf(expected, sizeof expected, "TICK %8ld END", n + 1);
    if (text.compare(at, end - at, expected) != 0) return "line " + std::to_string(n + 1) + " is wrong";
    ++n;
    at = end + 1;
  }
  if (n < at_least) {
    return std::to_string(n) + " lines, but the window showed " + std::to_string(at_least) + " ticks";
  }
  return "";
}

// Median and largest of a set of times, in milliseconds.
std::string spread(std::vector<double> t) {
  if (t.empty()) return "none";
  std::sort(t.begin(), t.end());
  char text[64];
  std::snprintf(text, sizeof text, "median %.1f ms, max %.1f ms", 1000 * t[t.size() / 2], 1000 * t.back());
  return text;
}

struct Figures {
  int runs = 0, hangs = 0, gone_late = 0;
  std::vector<double> to_message, to_gone;
  void print(const char *what) const {
    std::printf("%s: %d runs, %d hangs; signal to message: %s; signal to process gone: %s (%d after more than 1 s)\n",
                what, runs, hangs, spread(to_message).c_str(), spread(to_gone).c_str(), gone_late);
  }
  void add(const Outcome &o) {
    to_message.push_back(o.to_message);
    to_gone.push_back(o.seconds);
    if (o.seconds > 1.0) ++gone_late;
  }
};

long runs() { return stress::env_count("FGL_SIGNAL_RUNS", 20); }

// A program on the f2c runtime ends with the runtime's message and status
// 1, the message within a second of the signal; one on gfortran's runtime by
// the signal itself, silently, as it always has (its "message" time is when
// its standard error closes, which includes the kernel's tearing down of the
// process, and is only reported). `killed` sends SIGKILL instead, for the
// kernel's own time to tear a process down under the same conditions.
enum class Runtime { f2c, gfortran, killed };

// Runs `runs` signalled runs of `make(i)`, half of them under load, and
// checks each ending; `check` adds the program's own checks.
template <typename Make, typename Check>
void signalled_runs(const char *what, long runs, Runtime runtime, Make make, Check check) {
  Figures quiet, loaded;
  for (long i = 0; i < runs; ++i) {
    Signalled r = make(i);
    r.signal = runtime == Runtime::killed ? SIGKILL : (i / 2) % 2 == 0 ? SIGTERM : SIGINT;
    r.delay = milliseconds(std::uniform_int_distribution<int>(0, 500)(random_moments));
    Outcome o;
    if (i >= runs / 2) {
      const BothCoresBusy load;
      o = signalled(r);
    } else {
      o = signalled(r);
    }
    SCOPED_TRACE(std::string(what) + " run " + std::to_string(i) + ", " + r.argv.back() + ", signal " +
                 std::to_string(r.signal) + " after " + std::to_string(r.delay.count()) + " ms" +
                 (i >= runs / 2 ? ", both cores busy" : ""));
    ASSERT_TRUE(o.started) << "the window did not appear";
    Figures &f = i >= runs / 2 ? loaded : quiet;
    ++f.runs;
    if (o.status == -1) {
      ++f.hangs;
      ADD_FAILURE() << "did not end within 10 s";
      continue;
    }
    f.add(o);
    if (runtime == Runtime::f2c) {
      EXPECT_GE(o.to_message, 0) << "no message";
      EXPECT_LT(o.to_message, 1.0 * time_scale);
      ASSERT_TRUE(WIFEXITED(o.status)) << "ended by signal " << WTERMSIG(o.status);
      EXPECT_EQ(WEXITSTATUS(o.status), 1);
      EXPECT_EQ(o.stderr_text, message(r.signal));
    } else {
      ASSERT_TRUE(WIFSIGNALED(o.status)) << "exited with " << WEXITSTATUS(o.status);
      EXPECT_EQ(WTERMSIG(o.status), r.signal);
      EXPECT_EQ(o.stderr_text, "");
    }
    if (runtime != Runtime::killed) check(o);
  }
  quiet.print((std::string(what) + ", machine as it is").c_str());
  loaded.print((std::string(what) + ", both cores busy").c_str());
  EXPECT_EQ(quiet.hangs + loaded.hangs, 0);
}

TEST(SignalEndings, AnimatingFortranProgram) {
  signalled_runs(
      "ticker (f2c)", runs(), Runtime::f2c,
      [](long i) {
        Signalled r;
        r.argv = {ticker_f2c, i % 2 == 0 ? "TIMER" : "IDLE"};
        r.title = ticker_title;
        return r;
      },
      [](const Outcome &o) { EXPECT_EQ(check_ticks(o.shown_ticks), ""); });
}

// The same program built by gfortran (half as many runs).
TEST(SignalEndings, AnimatingFortranProgramGfortran) {
  signalled_runs(
      "ticker (gfortran)", runs() / 2, Runtime::gfortran,
      [](long i) {
        Signalled r;
        r.argv = {ticker_gfortran, i % 2 == 0 ? "TIMER" : "IDLE"};
        r.title = ticker_title;
        return r;
      },
      [](const Outcome &o) { EXPECT_EQ(check_ticks(o.shown_ticks), ""); });
}

TEST(SignalEndings, HouseViewerWhileRepainting) {
  signalled_runs(
      "house", runs(), Runtime::f2c,
      [](long) {
        Signalled r;
        r.argv = {house_program};
        r.title = house_title;
        r.resize = true;
        return r;
      },
      [](const Outcome &) {});
}

// The same runs of the f2c program ended by SIGKILL, for comparison: how
// long the kernel itself takes to tear such a process down. Only with
// FGL_SIGNAL_REFERENCE=1 (tests/stress/run-signals sets it).
TEST(SignalEndings, KernelTeardownForComparison) {
  if (stress::env_count("FGL_SIGNAL_REFERENCE", 0) == 0) GTEST_SKIP() << "FGL_SIGNAL_REFERENCE is not set";
  signalled_runs(
      "ticker (f2c) by SIGKILL", runs(), Runtime::killed,
      [](long i) {
        Signalled r;
        r.argv = {ticker_f2c, i % 2 == 0 ? "TIMER" : "IDLE"};
        r.title = ticker_title;
        return r;
      },
      [](const Outcome &) {});
}

// A program that stays in its own code is not waited for past half a
// second: it ends within the second all the same.
TEST(SignalEndings, BusyProgramEndsWithinASecond) {
  Signalled r;
  r.argv = {ticker_f2c, "BUSY"};
  r.title = ticker_title;
  r.signal = SIGINT;
  r.delay = milliseconds(200);
  const Outcome o = signalled(r);
  ASSERT_TRUE(o.started);
  ASSERT_NE(o.status, -1) << "did not end";
  EXPECT_GE(o.to_message, 0) << "no message";
  EXPECT_LT(o.to_message, 1.0 * time_scale);
  ASSERT_TRUE(WIFEXITED(o.status));
  EXPECT_EQ(WEXITSTATUS(o.status), 1);
  EXPECT_EQ(o.stderr_text, "Interrupt\n");
}

// The busy program would be waited for half a second; a second signal ends
// it at once, with the first signal's message.
TEST(SignalEndings, SecondSignalEndsAtOnce) {
  Signalled r;
  r.argv = {ticker_f2c, "BUSY"};
  r.title = ticker_title;
  r.signal = SIGTERM;
  r.second_signal = SIGINT;
  r.delay = milliseconds(200);
  const Outcome o = signalled(r);
  ASSERT_TRUE(o.started);
  ASSERT_NE(o.status, -1) << "did not end";
  EXPECT_GE(o.to_message, 0) << "no message";
  EXPECT_LT(o.to_message, 0.2 * time_scale) << "the second signal did not end the program at once";
  ASSERT_TRUE(WIFEXITED(o.status));
  EXPECT_EQ(WEXITSTATUS(o.status), 1);
  EXPECT_EQ(o.stderr_text, "Killed\n");
}

// Closing the window still ends through exit(0), with the units closed by
// the runtime.
TEST(SignalEndings, ClosingTheWindowStillWritesEverything) {
  Display *d = XOpenDisplay(nullptr);
  ASSERT_NE(d, nullptr);
  std::remove("ticks.txt");
  ASSERT_TRUE(stress::wait_until_gone(d, ticker_title, std::chrono::seconds(30)));
  stress::Child child = stress::spawn({ticker_f2c, "TIMER"}, true);
  const XWindowId w = stress::find_window(d, ticker_title, std::chrono::seconds(30), &child);
  ASSERT_NE(w, 0u);
  std::this_thread::sleep_for(milliseconds(300));
  const long shown = icon_count(d, w);
  stress::close_window(d, w);
  const int status = stress::wait_for(child, std::chrono::seconds(10));
  XCloseDisplay(d);
  ASSERT_NE(status, -1);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(stress::read_stderr(child), "");
  EXPECT_GT(shown, 0);
  EXPECT_EQ(check_ticks(shown), "");
}

// gfortran's runtime installs no handlers; the layer ends a busy program
// on it by the signal after its half second, as the default action would.
// (The time includes the kernel's tearing down of the process, which on a
// loaded machine can take a second of its own.)
TEST(SignalEndings, BusyGfortranProgramEndsByTheSignal) {
  Signalled r;
  r.argv = {ticker_gfortran, "BUSY"};
  r.title = ticker_title;
  r.delay = milliseconds(200);
  const Outcome o = signalled(r);
  ASSERT_TRUE(o.started);
  ASSERT_NE(o.status, -1) << "did not end";
  EXPECT_LT(o.seconds, 2.0 * time_scale);
  ASSERT_TRUE(WIFSIGNALED(o.status));
  EXPECT_EQ(WTERMSIG(o.status), SIGTERM);
}

// The second signal, not the watcher after its half second, ends it: the
// program dies of the second signal.
TEST(SignalEndings, SecondSignalEndsAGfortranProgramAtOnce) {
  Signalled r;
  r.argv = {ticker_gfortran, "BUSY"};
  r.title = ticker_title;
  r.signal = SIGTERM;
  r.second_signal = SIGINT;
  r.delay = milliseconds(200);
  const Outcome o = signalled(r);
  ASSERT_TRUE(o.started);
  ASSERT_NE(o.status, -1) << "did not end";
  EXPECT_LT(o.seconds, 2.0 * time_scale);
  ASSERT_TRUE(WIFSIGNALED(o.status));
  EXPECT_EQ(WTERMSIG(o.status), SIGINT);
}

}  // namespace

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // listing needs no programs and no window
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s TICKER-F2C TICKER-GFORTRAN HOUSE\n", argv[0]);
    return 2;
  }
  // The programs by full path: the test works in a folder of its own.
  const auto full = [](const char *path) {
    char *p = realpath(path, nullptr);
    std::string s = p != nullptr ? p : path;
    std::free(p);
    return s;
  };
  ticker_f2c = full(argv[1]);
  ticker_gfortran = full(argv[2]);
  house_program = full(argv[3]);
  const unsigned seed = static_cast<unsigned>(stress::env_count("FGL_SIGNAL_SEED", std::random_device{}()));
  std::printf("signal moments: FGL_SIGNAL_SEED=%u\n", seed);
  random_moments.seed(seed);
  time_scale = static_cast<double>(stress::env_count("FGL_SIGNAL_TIME_SCALE", 1));
  // The Fortran program writes ticks.txt into the current folder.
  char folder[] = "/tmp/fgl-signals-XXXXXX";
  if (mkdtemp(folder) == nullptr || chdir(folder) != 0) return 2;
  const int result = RUN_ALL_TESTS();
  std::remove("ticks.txt");
  rmdir(folder);
  return result;
}
