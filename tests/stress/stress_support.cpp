#include "stress_support.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

extern char **environ;

namespace stress {

namespace {

using Clock = std::chrono::steady_clock;

// A pixel value that the program never draws: pure green. The house is
// white, blue, red and black, lit or not.
constexpr unsigned long kMarker = 0x00ff00;
// The program's clear colour, opaque white.
constexpr unsigned long kBackground = 0xffffff;

long rss_from(const std::string &path) {
  std::ifstream status(path);
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      long kib = -1;
      status >> kib;
      return kib;
    }
    status.ignore(4096, '\n');
  }
  return -1;
}

// Errors on the test's own connection (a window that is gone or not yet
// viewable) are counted, not fatal: each caller then waits on.
int x_errors = 0;
int count_error(Display *, XErrorEvent *e) {
  if (++x_errors <= 3) std::fprintf(stderr, "X error %d on request %d (ignored)\n", e->error_code, e->request_code);
  return 0;
}

unsigned long pixel_at(Display *d, Window w, int x, int y) {
  XSetErrorHandler(count_error);
  XImage *image = XGetImage(d, w, x, y, 1, 1, AllPlanes, ZPixmap);
  if (image == nullptr) return kMarker;
  const unsigned long p = XGetPixel(image, 0, 0) & 0xffffff;
  XDestroyImage(image);
  return p;
}

// Waits up to `until` for an event on the connection; false on timeout.
bool wait_for_event(Display *d, Clock::time_point until) {
  while (XPending(d) == 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
    if (left <= 0) return false;
    pollfd p{ConnectionNumber(d), POLLIN, 0};
    poll(&p, 1, static_cast<int>(left > 100 ? 100 : left));
  }
  return true;
}

// The top-level window named `title`; with `viewable`, only once it is
// viewable.
Window search(Display *d, Window parent, const std::string &title, bool viewable = true) {
  Window root_return, parent_return, *children = nullptr;
  unsigned int n = 0;
  if (!XQueryTree(d, parent, &root_return, &parent_return, &children, &n)) return 0;
  Window found = 0;
  for (unsigned int i = 0; i < n && !found; ++i) {
    char *name = nullptr;
    if (XFetchName(d, children[i], &name) && name) {
      if (title == name) {
        XWindowAttributes a;
        if (!viewable || (XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable))
          found = children[i];
      }
      XFree(name);
    }
  }
  if (children) XFree(children);
  return found;
}

}  // namespace

Child spawn(const std::vector<std::string> &argv, bool capture_stderr, const char *stdout_path) {
  Child child;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (stdout_path != nullptr) posix_spawn_file_actions_addopen(&actions, 1, stdout_path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  int fds[2] = {-1, -1};
  if (capture_stderr) {
    if (pipe2(fds, O_CLOEXEC) != 0) std::abort();
    posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
  }
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t defaults, none;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGINT);
  sigaddset(&defaults, SIGTERM);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  std::vector<char *> args;
  for (const auto &a : argv) args.push_back(const_cast<char *>(a.c_str()));
  args.push_back(nullptr);
  if (posix_spawnp(&child.pid, args[0], &actions, &attr, args.data(), environ) != 0) child.pid = -1;
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  if (capture_stderr) {
    close(fds[1]);
    child.stderr_fd = fds[0];
  }
  return child;
}

int wait_for(Child &child, std::chrono::seconds timeout) {
  const auto until = Clock::now() + timeout;
  int status = 0;
  for (;;) {
    const pid_t r = waitpid(child.pid, &status, WNOHANG);
    if (r == child.pid) {
      child.pid = -1;
      return status;
    }
    if (Clock::now() > until) {
      kill(child.pid, SIGKILL);
      waitpid(child.pid, &status, 0);
      child.pid = -1;
      return -1;
    }
    // The child's end is only observable by polling waitpid (or a SIGCHLD
    // handler, which gtest would share); a short pause between polls.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::string read_stderr(Child &child) {
  std::string out;
  if (child.stderr_fd < 0) return out;
  char buffer[4096];
  ssize_t n;
  while ((n = read(child.stderr_fd, buffer, sizeof buffer)) > 0) out.append(buffer, static_cast<std::size_t>(n));
  close(child.stderr_fd);
  child.stderr_fd = -1;
  return out;
}

bool has_ended(const Child &child) {
  if (child.pid <= 0) return true;
  siginfo_t info{};
  return waitid(P_PID, static_cast<id_t>(child.pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0;
}

Clock::time_point wait_until_taken(const Child &child, int signo, Clock::time_point sent, std::chrono::seconds timeout) {
  const auto until = Clock::now() + timeout;
  const std::string path = "/proc/" + std::to_string(child.pid) + "/status";
  const unsigned long long bit = 1ULL << (signo - 1);
  Clock::time_point last_pending = sent;
  while (Clock::now() < until && !has_ended(child)) {
    const auto now = Clock::now();
    // A signal sent by kill() waits in the process's shared set (ShdPnd)
    // until a thread that does not block it takes it.
    std::ifstream status(path);
    std::string key;
    unsigned long long pending = 0;
    bool found = false;
    while (!found && status >> key) {
      if (key == "ShdPnd:") {
        status >> std::hex >> pending;
        found = true;
      } else {
        status.ignore(4096, '\n');
      }
    }
    if (!found) break;  // gone meanwhile
    if ((pending & bit) == 0) return last_pending;
    last_pending = now;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return last_pending;
}

long rss_kib(pid_t pid) { return rss_from("/proc/" + std::to_string(pid) + "/status"); }
long own_rss_kib() { return rss_from("/proc/self/status"); }

XWindowId find_window(Display *d, const std::string &title, std::chrono::seconds timeout, const Child *alive) {
  const auto until = Clock::now() + timeout;
  XSetErrorHandler(count_error);
  const Window root = DefaultRootWindow(d);
  XSelectInput(d, root, SubstructureNotifyMask);
  XSync(d, False);
  for (;;) {
    if (Window w = search(d, root, title)) return w;
    if (alive && has_ended(*alive)) return 0;
    // Creation, naming and mapping of windows all arrive as events on the root.
    if (!wait_for_event(d, until)) return 0;
    while (XPending(d)) {
      XEvent e;
      XNextEvent(d, &e);
    }
  }
}

bool wait_until_gone(Display *d, const std::string &title, std::chrono::seconds timeout) {
  const auto until = Clock::now() + timeout;
  XSetErrorHandler(count_error);
  const Window root = DefaultRootWindow(d);
  XSelectInput(d, root, SubstructureNotifyMask);
  XSync(d, False);
  // Destruction arrives as an event on the root.
  while (search(d, root, title, false) != 0) {
    if (!wait_for_event(d, until)) return false;
    while (XPending(d)) {
      XEvent e;
      XNextEvent(d, &e);
    }
  }
  return true;
}

bool resize_and_wait_for_repaint(Display *d, XWindowId window, int width, int height, std::chrono::seconds timeout,
                                 bool *marked, const Child *alive, bool *nudged) {
  if (nudged) *nudged = false;
  const auto until = Clock::now() + timeout;
  const Window w = window;
  XSelectInput(d, w, StructureNotifyMask);
  GC gc = XCreateGC(d, w, 0, nullptr);
  XSetForeground(d, gc, kMarker);
  XWindowAttributes a;
  XGetWindowAttributes(d, w, &a);
  XFillRectangle(d, w, gc, 0, 0, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height));
  if (marked) *marked = pixel_at(d, w, a.width / 2, a.height / 2) == kMarker;
  XResizeWindow(d, w, static_cast<unsigned>(width), static_cast<unsigned>(height));
  XSync(d, False);
  bool configured = a.width == width && a.height == height;
  while (!configured) {
    if (!wait_for_event(d, until) || (alive && has_ended(*alive))) break;
    XEvent e;
    XNextEvent(d, &e);
    if (e.type == ConfigureNotify && e.xconfigure.window == w && e.xconfigure.width == width &&
        e.xconfigure.height == height)
      configured = true;
  }
  if (configured && a.width == width && a.height == height) {
    // Same size: no resize happens, so ask for a repaint by exposure.
    XClearArea(d, w, 0, 0, 0, 0, True);
  }
  // The marker may survive the resize in the window's contents; the repaint
  // replaces it everywhere. Sampled until both points have changed.
  // If no repaint has come after a sixth of the timeout, the window is
  // exposed once more (which asks for a repaint as a window manager would);
  // the caller learns of it through `nudged`.
  bool painted = false;
  const auto nudge_at = Clock::now() + timeout / 6;
  bool nudge_sent = false;
  while (configured && Clock::now() < until && !(alive && has_ended(*alive))) {
    if (!nudge_sent && Clock::now() > nudge_at) {
      XClearArea(d, w, 0, 0, 0, 0, True);
      XFlush(d);
      nudge_sent = true;
      if (nudged) *nudged = true;
    }
    // The far corner is the program's white background; the centre is house.
    if (pixel_at(d, w, width - 1, height - 1) == kBackground && pixel_at(d, w, width / 2, height / 2) != kMarker) {
      painted = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  XFreeGC(d, gc);
  while (XPending(d)) {
    XEvent e;
    XNextEvent(d, &e);
  }
  return painted;
}

void close_window(Display *d, XWindowId window) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = window;
  e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, window, False, NoEventMask, &e);
  XSync(d, False);
}

long env_count(const char *name, long fallback) {
  const char *v = std::getenv(name);
  return v && *v ? std::strtol(v, nullptr, 10) : fallback;
}

}  // namespace stress
