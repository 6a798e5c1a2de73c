#include "x_session.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <thread>

extern char **environ;

namespace fgltest {

namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Waits until the X connection has an event queued or the deadline passes.
bool waitForEvent(Display *d, Clock::time_point deadline) {
  while (XPending(d) == 0) {
    int ms = remainingMs(deadline);
    if (ms == 0) return false;
    pollfd p{ConnectionNumber(d), POLLIN, 0};
    poll(&p, 1, ms);
  }
  return true;
}

// Errors of requests about a window that is not (yet, or no longer)
// viewable are expected while polling; they make the request fail instead
// of ending the test program.
int lastXError = 0;
int recordXError(Display *, XErrorEvent *e) {
  lastXError = e->error_code;
  return 0;
}

bool hasTitle(Display *d, Window w, const std::string &title) {
  char *name = nullptr;
  bool same = false;
  if (XFetchName(d, w, &name) && name != nullptr) {
    same = title == name;
    XFree(name);
  }
  return same;
}

}  // namespace

long differingPixels(const Picture &a, const Picture &b) {
  if (a.width != b.width || a.height != b.height) {
    return std::max(static_cast<long>(a.pixels.size()), static_cast<long>(b.pixels.size()));
  }
  long n = 0;
  for (std::size_t i = 0; i < a.pixels.size(); ++i) n += a.pixels[i] != b.pixels[i];
  return n;
}

ColourCounts countColours(const Picture &p) {
  ColourCounts c;
  for (std::uint32_t px : p.pixels) {
    int r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
    if (r == 255 && g == 255 && b == 255)
      ++c.white;
    else if (r < 16 && g < 16 && b < 16)
      ++c.black;
    else if (b > 2 * r && b > 2 * g)
      ++c.blue;
    else if (r > 2 * g && r > 2 * b)
      ++c.red;
    else
      ++c.other;
  }
  return c;
}

XSession::XSession() {
  display_ = XOpenDisplay(nullptr);
  if (display_ == nullptr) throw std::runtime_error("cannot open the X display (run under tests/with-xvfb)");
  XSetErrorHandler(recordXError);
  int ev, err, major, minor;
  if (!XTestQueryExtension(display_, &ev, &err, &major, &minor)) {
    throw std::runtime_error("the X server has no XTest extension");
  }
}

XSession::~XSession() {
  if (pid_ > 0) stop();
  if (display_ != nullptr) XCloseDisplay(display_);
}

Window XSession::start(const std::vector<std::string> &argv, const std::string &title,
                       std::chrono::milliseconds timeout) {
  Window root = DefaultRootWindow(display_);
  XSelectInput(display_, root, SubstructureNotifyMask);
  XSync(display_, False);

  int pipeFds[2];
  if (pipe(pipeFds) != 0) throw std::runtime_error(std::strerror(errno));
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
  std::vector<char *> args;
  for (const auto &a : argv) args.push_back(const_cast<char *>(a.c_str()));
  args.push_back(nullptr);
  int rc = posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (rc != 0) {
    close(pipeFds[0]);
    pid_ = -1;
    throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(rc));
  }
  out_ = pipeFds[0];
  buffered_.clear();
  lines_.clear();
  taken_.clear();

  // The window: the first top-level window with the title that is mapped.
  auto deadline = Clock::now() + timeout;
  while (waitForEvent(display_, deadline)) {
    XEvent e;
    XNextEvent(display_, &e);
    if (e.type == MapNotify && e.xmap.event == root && hasTitle(display_, e.xmap.window, title)) {
      XSelectInput(display_, root, NoEventMask);
      Window w = e.xmap.window;
      XSelectInput(display_, w, StructureNotifyMask);
      // GLUT's default position is (-1, -1), partly off the screen, where
      // the X server cannot read the window back: move it fully on.
      XMoveWindow(display_, w, 0, 0);
      XFlush(display_);
      while (waitForEvent(display_, deadline)) {
        XNextEvent(display_, &e);
        if (e.type == ConfigureNotify && e.xconfigure.window == w && e.xconfigure.x == 0 && e.xconfigure.y == 0) {
          return w;
        }
      }
      return 0;
    }
  }
  XSelectInput(display_, root, NoEventMask);
  return 0;
}

int XSession::stop() {
  int status = 0;
  if (pid_ > 0) {
    // A program stuck where SIGTERM cannot end it (its handler blocked, say)
    // gets SIGKILL after a grace period, so that a hang costs seconds, not
    // the whole test's timeout.
    kill(pid_, SIGTERM);
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (Clock::now() >= deadline) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
  }
  if (out_ >= 0) {
    close(out_);
    out_ = -1;
  }
  return status;
}

int XSession::waitExit(std::chrono::milliseconds timeout) {
  auto deadline = Clock::now() + timeout;
  int status = 0;
  while (pid_ > 0) {
    pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == pid_) {
      pid_ = -1;
      if (out_ >= 0) {
        close(out_);
        out_ = -1;
      }
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    if (Clock::now() >= deadline) {
      stop();
      return -1;
    }
    // Nothing to wait on but the child: its exit is polled at short intervals.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return -1;
}

bool XSession::readLine(std::string &line, std::chrono::milliseconds timeout) {
  auto deadline = Clock::now() + timeout;
  for (;;) {
    auto nl = buffered_.find('\n');
    if (nl != std::string::npos) {
      line.clear();
      for (char c : buffered_.substr(0, nl)) {
        if (c == ' ' || c == '\t' || c == '\r') {
          if (!line.empty() && line.back() != ' ') line += ' ';
        } else {
          line += c;
        }
      }
      if (!line.empty() && line.back() == ' ') line.pop_back();
      buffered_.erase(0, nl + 1);
      return true;
    }
    if (out_ < 0) return false;
    pollfd p{out_, POLLIN, 0};
    int ms = remainingMs(deadline);
    if (ms == 0 || poll(&p, 1, ms) <= 0) return false;
    char buf[4096];
    ssize_t n = read(out_, buf, sizeof buf);
    if (n <= 0) return false;
    buffered_.append(buf, static_cast<std::size_t>(n));
  }
}

bool XSession::waitForLine(const std::string &prefix, std::string &line, std::chrono::milliseconds timeout) {
  auto deadline = Clock::now() + timeout;
  std::size_t i = 0;
  for (;;) {
    for (; i < lines_.size(); ++i) {
      if (!taken_[i] && lines_[i].compare(0, prefix.size(), prefix) == 0) {
        taken_[i] = true;
        line = lines_[i];
        return true;
      }
    }
    std::string next;
    if (!readLine(next, std::chrono::milliseconds(remainingMs(deadline)))) return false;
    lines_.push_back(next);
    taken_.push_back(false);
  }
}

std::string XSession::transcript() const {
  std::string all;
  for (const auto &l : lines_) all += l + "\n";
  return all;
}

bool XSession::resize(Window w, int width, int height, std::chrono::milliseconds timeout) {
  XResizeWindow(display_, w, static_cast<unsigned>(width), static_cast<unsigned>(height));
  XFlush(display_);
  auto deadline = Clock::now() + timeout;
  while (waitForEvent(display_, deadline)) {
    XEvent e;
    XNextEvent(display_, &e);
    if (e.type == ConfigureNotify && e.xconfigure.window == w && e.xconfigure.width == width &&
        e.xconfigure.height == height) {
      return true;
    }
  }
  return false;
}

Picture XSession::grab(Window w) {
  XWindowAttributes attrs;
  Picture p;
  if (!XGetWindowAttributes(display_, w, &attrs) || attrs.map_state != IsViewable) return p;
  XImage *image = XGetImage(display_, w, 0, 0, static_cast<unsigned>(attrs.width),
                            static_cast<unsigned>(attrs.height), AllPlanes, ZPixmap);
  if (image == nullptr) return p;
  p.width = attrs.width;
  p.height = attrs.height;
  p.pixels.resize(static_cast<std::size_t>(p.width) * p.height);
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      p.pixels[static_cast<std::size_t>(y) * p.width + x] =
          static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu;
    }
  }
  XDestroyImage(image);
  return p;
}

bool XSession::grabSettled(Window w, Picture &out, std::chrono::milliseconds timeout, int stableGrabs,
                           const std::function<bool(const Picture &)> &accept, std::uint32_t background) {
  auto deadline = Clock::now() + timeout;
  Picture last;
  int same = 0;
  while (Clock::now() < deadline) {
    out = grab(w);
    const long onBackground = std::count(out.pixels.begin(), out.pixels.end(), background & 0xFFFFFFu);
    bool drawing = onBackground > 0 && onBackground < static_cast<long>(out.pixels.size()) && (!accept || accept(out));
    if (drawing && out == last) {
      if (++same + 1 >= stableGrabs) return true;
    } else {
      same = 0;
    }
    last = out;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  }
  return false;
}

bool XSession::grabUntilEqual(Window w, const Picture &expected, Picture &out,
                              std::chrono::milliseconds timeout) {
  auto deadline = Clock::now() + timeout;
  for (;;) {
    out = grab(w);
    if (out == expected) return true;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  }
}

void XSession::watchNewWindows() {
  XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
  XSync(display_, False);
}

Window XSession::waitForMap(std::chrono::milliseconds timeout) {
  Window root = DefaultRootWindow(display_);
  auto deadline = Clock::now() + timeout;
  Window found = 0;
  while (found == 0 && waitForEvent(display_, deadline)) {
    XEvent e;
    XNextEvent(display_, &e);
    if (e.type == MapNotify && e.xmap.event == root) found = e.xmap.window;
  }
  XSelectInput(display_, root, NoEventMask);
  return found;
}

int XSession::mapSpareKeycode(const char *keysymName) {
  int minCode, maxCode, perCode;
  XDisplayKeycodes(display_, &minCode, &maxCode);
  KeySym *map = XGetKeyboardMapping(display_, static_cast<KeyCode>(minCode), maxCode - minCode + 1, &perCode);
  int spare = 0;
  for (int code = maxCode; code >= minCode && spare == 0; --code) {
    bool empty = true;
    for (int i = 0; i < perCode; ++i) empty = empty && map[(code - minCode) * perCode + i] == NoSymbol;
    if (empty) spare = code;
  }
  XFree(map);
  if (spare != 0) {
    KeySym sym = XStringToKeysym(keysymName);
    XChangeKeyboardMapping(display_, spare, 1, &sym, 1);
    XSync(display_, False);
  }
  return spare;
}

void XSession::movePointer(Window w, int x, int y) {
  Window child;
  int rx, ry;
  XTranslateCoordinates(display_, w, DefaultRootWindow(display_), x, y, &rx, &ry, &child);
  XTestFakeMotionEvent(display_, -1, rx, ry, CurrentTime);
  XFlush(display_);
}

void XSession::button(unsigned int b, bool press) {
  XTestFakeButtonEvent(display_, b, press ? True : False, CurrentTime);
  XFlush(display_);
}

void XSession::key(const char *keysymName, bool press) {
  KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(keysymName));
  XTestFakeKeyEvent(display_, code, press ? True : False, CurrentTime);
  XFlush(display_);
}

void XSession::keycode(int code, bool press) {
  XTestFakeKeyEvent(display_, static_cast<unsigned>(code), press ? True : False, CurrentTime);
  XFlush(display_);
}

void XSession::flush() { XSync(display_, False); }

void XSession::closeWindow(Window w) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = w;
  e.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, w, False, NoEventMask, &e);
  XSync(display_, False);
}

}  // namespace fgltest
