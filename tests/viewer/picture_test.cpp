// The real house program under Xvfb: its window's title and size, and its
// picture at the default size and after resizes through the X server, checked
// at points computed from the model-space tables and the projection.
//
// The program's path comes from the build (HOUSE_PROGRAM); a first argument
// that is not a gtest option overrides it.
#include "house_model.h"

#include <gtest/gtest.h>  // before Xlib, whose macros (None, Bool) clash with it
#include <signal.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

const char *housePath = HOUSE_PROGRAM;
using Clock = std::chrono::steady_clock;
constexpr auto kDeadline = std::chrono::seconds(10);

// Waits for the next X event, or at most `interval`; used between checks of
// a condition that the server's state settles.
void waitForServer(Display *x, std::chrono::milliseconds interval) {
  XFlush(x);
  if (XPending(x)) return;
  fd_set fds;
  FD_ZERO(&fds);
  FD_SET(ConnectionNumber(x), &fds);
  timeval tv{0, static_cast<suseconds_t>(interval.count() * 1000)};
  select(ConnectionNumber(x) + 1, &fds, nullptr, nullptr, &tv);
}

// X errors are expected while a window is being resized (reading more than
// the window holds): counted here, and the read is tried again.
int failedRequests = 0;
int countError(Display *, XErrorEvent *) {
  ++failedRequests;
  return 0;
}

// One run of the program, with its top-level window.
class House {
 public:
  explicit House(const std::vector<std::string> &args) {
    x_ = XOpenDisplay(nullptr);
    if (!x_) throw std::runtime_error("no X display");
    XSetErrorHandler(countError);
    XSelectInput(x_, DefaultRootWindow(x_), SubstructureNotifyMask);
    XSync(x_, False);
    pid_ = fork();
    if (pid_ == 0) {
      std::vector<char *> argv{const_cast<char *>(housePath)};
      for (const auto &a : args) argv.push_back(const_cast<char *>(a.c_str()));
      argv.push_back(nullptr);
      execv(housePath, argv.data());
      _exit(127);
    }
    // The program's window is the first top-level window mapped.
    const auto end = Clock::now() + kDeadline;
    while (window_ == 0 && Clock::now() < end) {
      while (XPending(x_)) {
        XEvent e;
        XNextEvent(x_, &e);
        if (e.type == MapNotify && e.xmap.event == DefaultRootWindow(x_) && !e.xmap.override_redirect)
          window_ = e.xmap.window;
      }
      if (window_ == 0) waitForServer(x_, std::chrono::milliseconds(50));
    }
    if (window_ == 0) throw std::runtime_error("the house window was not mapped");
    XSelectInput(x_, window_, StructureNotifyMask);
  }
  // How the program ends is not what these tests look at; SIGKILL ends it
  // whatever it is doing.
  ~House() {
    kill(pid_, SIGKILL);
    int status;
    waitpid(pid_, &status, 0);
    XCloseDisplay(x_);
  }

  Display *x() const { return x_; }
  Window window() const { return window_; }

  XWindowAttributes attributes() const {
    XWindowAttributes a{};
    XGetWindowAttributes(x_, window_, &a);
    return a;
  }

  void resize(int w, int h) {
    XResizeWindow(x_, window_, static_cast<unsigned>(w), static_cast<unsigned>(h));
    const auto end = Clock::now() + kDeadline;
    while (Clock::now() < end) {
      const auto a = attributes();
      if (a.width == w && a.height == h) return;
      waitForServer(x_, std::chrono::milliseconds(20));
    }
    ADD_FAILURE() << "the window did not take the size " << w << "x" << h;
  }

  // The window's pixels, 0xRRGGBB, rows from the top.
  // The window's pixels, 0xRRGGBB, rows from the top; parts off the screen
  // (GLUT's default position may put the window's first row and column there)
  // read as kOffScreen. Empty while the window cannot be read at that size.
  static constexpr std::uint32_t kOffScreen = 0xff000000;
  std::vector<std::uint32_t> picture(int w, int h) const {
    int rootX = 0, rootY = 0;
    Window child;
    XTranslateCoordinates(x_, window_, DefaultRootWindow(x_), 0, 0, &rootX, &rootY, &child);
    const int x0 = std::max(0, -rootX), y0 = std::max(0, -rootY);
    const int x1 = std::min(w, DisplayWidth(x_, DefaultScreen(x_)) - rootX);
    const int y1 = std::min(h, DisplayHeight(x_, DefaultScreen(x_)) - rootY);
    if (x1 <= x0 || y1 <= y0) return {};
    XSync(x_, False);
    failedRequests = 0;
    XImage *image = XGetImage(x_, window_, x0, y0, static_cast<unsigned>(x1 - x0), static_cast<unsigned>(y1 - y0),
                              AllPlanes, ZPixmap);
    XSync(x_, False);
    if (!image || failedRequests) {
      if (image) XDestroyImage(image);
      return {};
    }
    std::vector<std::uint32_t> pixels(static_cast<size_t>(w) * h, kOffScreen);
    for (int row = y0; row < y1; ++row)
      for (int col = x0; col < x1; ++col)
        pixels[static_cast<size_t>(row) * w + col] = static_cast<std::uint32_t>(XGetPixel(image, col - x0, row - y0));
    XDestroyImage(image);
    return pixels;
  }

 private:
  Display *x_ = nullptr;
  pid_t pid_ = -1;
  Window window_ = 0;
};

// A point of the unit house (all dimensions 1, so the view scale is 1) and
// what the picture shows there.
enum class Kind { black, wall, roof, background };
struct Probe {
  const char *what;
  model::Vec3 point;
  Kind kind;
  model::Vec3 normal;  // outward, for the expected shade of walls and roof
};

std::vector<Probe> probes() {
  using model::kX, model::kY, model::kZ;
  const double pitch = model::kPi / 6, rise = std::tan(pitch) * 0.5, ridge = 0.5 + rise;
  return {
      {"front window", {-0.2, 0.0, 0.5}, Kind::black, kZ},
      {"front window", {0.2, 0.0, 0.5}, Kind::black, kZ},
      {"door", {-0.5, -0.35, 0.2}, Kind::black, -1 * kX},
      {"small window", {-0.5, 0.0, -0.2}, Kind::black, -1 * kX},
      {"front wall", {0.0, -0.3, 0.5}, Kind::wall, kZ},
      {"front wall", {0.35, -0.35, 0.5}, Kind::wall, kZ},
      {"front wall under a window", {0.2, -0.35, 0.5}, Kind::wall, kZ},
      {"left wall", {-0.5, -0.3, -0.2}, Kind::wall, -1 * kX},
      {"left wall", {-0.5, 0.0, 0.0}, Kind::wall, -1 * kX},
      {"front gable", {0.0, 0.52, 0.5}, Kind::wall, kZ},
      {"roof plane over the left wall", {-0.25, ridge - rise / 2, 0.0}, Kind::roof,
       {-std::sin(pitch), std::cos(pitch), 0}},
      {"roof plane over the right wall", {0.25, ridge - rise / 2, -0.1}, Kind::roof,
       {std::sin(pitch), std::cos(pitch), 0}},
  };
}

struct Bounds {
  double right, top;  // the projection's, from the window's proportions
};
Bounds boundsFor(int w, int h) {
  return h > w ? Bounds{1.0, static_cast<double>(h) / w} : Bounds{static_cast<double>(w) / h, 1.0};
}

// Every mismatch between the window's picture and the probes, described.
std::vector<std::string> mismatches(const std::vector<std::uint32_t> &pixels, int w, int h) {
  std::vector<std::string> out;
  if (pixels.size() != static_cast<size_t>(w) * h) return {"no picture"};
  const Bounds b = boundsFor(w, h);
  const model::Mat3 view = model::viewRotation();
  auto check = [&](const std::string &what, int col, int row, Kind kind, double shade) {
    const std::uint32_t p = pixels[static_cast<size_t>(row) * w + col];
    const int r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, bl = p & 0xff;
    const int expected = static_cast<int>(std::lround(255 * std::min(1.0, shade)));
    bool ok = false;
    switch (kind) {
      case Kind::black: ok = r < 8 && g < 8 && bl < 8; break;
      case Kind::background: ok = r == 255 && g == 255 && bl == 255; break;
      case Kind::wall: ok = r < 8 && g < 8 && std::abs(bl - expected) <= 6; break;
      case Kind::roof: ok = g < 8 && bl < 8 && std::abs(r - expected) <= 6; break;
    }
    if (!ok) {
      char buf[200];
      snprintf(buf, sizeof buf, "%s at pixel (%d, %d) of %dx%d: rgb (%d, %d, %d), shade %d expected", what.c_str(),
               col, row, w, h, r, g, bl, expected);
      out.push_back(buf);
    }
  };
  for (const auto &probe : probes()) {
    const model::Vec3 eye = view * probe.point;
    const int col = static_cast<int>(std::floor((eye.x / b.right + 1) / 2 * w));
    const int row = static_cast<int>(std::floor((1 - eye.y / b.top) / 2 * h));
    check(probe.what, col, row, probe.kind, model::shade(view * probe.normal));
  }
  for (auto [col, row] : {std::pair{2, 2}, {w - 3, 2}, {2, h - 3}, {w - 3, h - 3}, {w / 2, 2}, {w / 2, h - 3}})
    check("background", col, row, Kind::background, 1.0);
  return out;
}

// Waits until the window shows the expected picture at its size (the
// program repaints after every resize); fails with the last mismatches.
void expectPicture(House &house, int w, int h) {
  std::vector<std::string> last;
  const auto end = Clock::now() + kDeadline;
  do {
    last = mismatches(house.picture(w, h), w, h);
    if (last.empty()) return;
    waitForServer(house.x(), std::chrono::milliseconds(20));
  } while (Clock::now() < end);
  for (const auto &m : last) ADD_FAILURE() << m;
}

TEST(HouseProgram, WindowIsTitledFortranGlutProgram) {
  House house({});
  XTextProperty name{};
  ASSERT_TRUE(XGetWMName(house.x(), house.window(), &name));
  EXPECT_EQ(std::string(reinterpret_cast<char *>(name.value), name.nitems), "Fortran GLUT program");
  XFree(name.value);
}

TEST(HouseProgram, PictureAtDefaultSizeAndAfterResizes) {
  House house({});
  const auto a = house.attributes();
  EXPECT_EQ(a.width, 300);  // GLUT's default window size
  EXPECT_EQ(a.height, 300);
  expectPicture(house, a.width, a.height);
  for (auto [w, h] : {std::pair{400, 200}, {200, 400}, {640, 480}, {300, 300}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    house.resize(w, h);
    expectPicture(house, w, h);
  }
}

// GLUT sees only the program's fixed argument vector: GLUT's own options on
// the command line change nothing.
TEST(HouseProgram, IgnoresItsCommandLine) {
  XWindowAttributes plain{};
  {
    House house({});
    plain = house.attributes();
  }
  House house({"-geometry", "100x100+5+5", "foo"});
  const auto a = house.attributes();
  EXPECT_EQ(a.width, plain.width);
  EXPECT_EQ(a.height, plain.height);
  EXPECT_EQ(a.x, plain.x);
  EXPECT_EQ(a.y, plain.y);
  expectPicture(house, a.width, a.height);
}

}  // namespace

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc > 1) housePath = argv[1];
  return RUN_ALL_TESTS();
}
