// Driving a GLUT program under X from a test: start it, find its top-level
// window by title, resize it through the X server, read its picture back,
// and send it real input through the XTest extension.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace fgltest {

// A window's picture: width x height pixels, 0xRRGGBB, rows from the top.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  bool operator==(const Picture &) const = default;
};

// Number of pixels that differ (pictures of different sizes differ in all).
long differingPixels(const Picture &a, const Picture &b);

// Pixels of a picture by colour class, for checking that a picture is a
// drawing at all: exactly white, mostly blue, mostly red, near black.
struct ColourCounts {
  long white = 0, blue = 0, red = 0, black = 0, other = 0;
};
ColourCounts countColours(const Picture &p);

class XSession {
 public:
  XSession();  // connects to $DISPLAY; throws std::runtime_error without one
  ~XSession();
  XSession(const XSession &) = delete;
  XSession &operator=(const XSession &) = delete;

  Display *display() const { return display_; }

  // Starts argv[0] with its standard output on a pipe (readable through
  // readLine) and waits until it maps a top-level window titled `title`.
  // Returns the window, or 0 if none appears within `timeout`.
  Window start(const std::vector<std::string> &argv, const std::string &title,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Ends the program started last (SIGTERM, and SIGKILL if it has not
  // ended 5 seconds later), then reaps it. Returns its wait status.
  int stop();
  // Waits for the program started last to exit by itself; returns its exit
  // status, or -1 if it is still running after `timeout` (it is then killed).
  int waitExit(std::chrono::milliseconds timeout);
  pid_t pid() const { return pid_; }

  // One line of the program's standard output, without the newline and
  // with runs of blanks made one blank (Fortran formats pad with blanks);
  // false when nothing arrives within `timeout` or the output is closed.
  bool readLine(std::string &line, std::chrono::milliseconds timeout);
  // The first line not yet taken that starts with `prefix`, from what was
  // read already or, failing that, from further output; it is taken.
  bool waitForLine(const std::string &prefix, std::string &line,
                   std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Every line read so far, for failure messages.
  std::string transcript() const;

  // Asks the X server to resize `w` and waits for the ConfigureNotify that
  // reports the new size.
  bool resize(Window w, int width, int height, std::chrono::milliseconds timeout = std::chrono::seconds(5));
  // The window's current picture.
  Picture grab(Window w);
  // Grabs until the picture has the window's size, shows a drawing on its
  // background (some pixels of exactly the colour `background`, 0xRRGGBB,
  // and some of other colours), passes `accept` and stays the same over
  // `stableGrabs` grabs in a row.
  bool grabSettled(Window w, Picture &out, std::chrono::milliseconds timeout = std::chrono::seconds(10),
                   int stableGrabs = 3, const std::function<bool(const Picture &)> &accept = nullptr,
                   std::uint32_t background = 0xFFFFFF);
  // Grabs until the picture equals `expected`; `out` is the last grab.
  bool grabUntilEqual(Window w, const Picture &expected, Picture &out,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10));

  // Call before an action that maps a new top-level window (a GLUT menu),
  // then waitForMap to get the window once it is mapped.
  void watchNewWindows();
  Window waitForMap(std::chrono::milliseconds timeout = std::chrono::seconds(5));
  // Gives a keycode that has no symbol the symbol named `keysymName` (for
  // keys that the server's default map lacks, such as eacute); returns it.
  int mapSpareKeycode(const char *keysymName);

  // Real input through XTest, at window-relative positions.
  void movePointer(Window w, int x, int y);
  void button(unsigned int button, bool press);
  void key(const char *keysymName, bool press);
  void keycode(int code, bool press);
  void flush();
  // Sends `w` the WM_DELETE_WINDOW message of a window manager's close button.
  void closeWindow(Window w);

 private:
  Display *display_ = nullptr;
  pid_t pid_ = -1;
  int out_ = -1;           // read end of the program's standard output
  std::string buffered_;   // output read but not yet returned as lines
  std::vector<std::string> lines_;  // lines read
  std::vector<bool> taken_;         // lines handed out by waitForLine
};

}  // namespace fgltest
