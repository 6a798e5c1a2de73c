// Helpers for the stress tests: running a program as a child process,
// reading its resident memory, and driving its window through the X server
// (finding it by title, resizing it and waiting for the repaint, closing it
// as a window manager would).
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

typedef struct _XDisplay Display;
typedef unsigned long XWindowId;

namespace stress {

// A child process; its standard error is kept in a pipe when asked.
struct Child {
  pid_t pid = -1;
  int stderr_fd = -1;
};

// Starts argv[0] with argv, SIGINT and SIGTERM at their default actions (a
// shell may have left SIGINT ignored for background jobs, and the f2c
// runtime keeps an ignored SIGINT ignored). Standard output goes to the file
// `stdout_path` (created or emptied) when one is given.
Child spawn(const std::vector<std::string> &argv, bool capture_stderr, const char *stdout_path = nullptr);

// Waits for the child to end; returns its wait status, or -1 on timeout (the
// child is then killed).
int wait_for(Child &child, std::chrono::seconds timeout);

// Everything the child wrote to standard error (after it has ended).
std::string read_stderr(Child &child);

// Whether the child has ended (its status is left for wait_for).
bool has_ended(const Child &child);

// Waits until the child has taken `signo` (sent to it by kill): the signal
// is no longer pending for the process, so a thread of it has begun to
// handle it. Returns the last moment at which it was still seen pending (or
// `sent`, the moment just before it was sent, if it never was): the signal
// was taken after that moment. Returns early if the child ends, or after
// `timeout`.
std::chrono::steady_clock::time_point wait_until_taken(const Child &child, int signo,
                                                       std::chrono::steady_clock::time_point sent,
                                                       std::chrono::seconds timeout);

// Resident set size of a process, in KiB, from /proc; -1 if it is gone.
long rss_kib(pid_t pid);
long own_rss_kib();

// The program's window on `display`: the top-level window whose name is
// `title`, once it is mapped. 0 if none appears before the timeout, or if
// `alive` reports the program gone.
XWindowId find_window(Display *display, const std::string &title, std::chrono::seconds timeout,
                      const Child *alive = nullptr);

// Covers the window with a marker colour that the program never draws, asks
// the server to resize it, waits for the ConfigureNotify of the new size and
// then for the program's repaint: its white background at the far corner and
// no marker at the centre. False on timeout. `marked` tells whether the marker was
// seen in the window before the resize (if the program repainted in between,
// it is not), so that a caller can tell the wait was a real one; `nudged`
// whether the window had to be exposed again before the repaint came.
bool resize_and_wait_for_repaint(Display *display, XWindowId window, int width, int height,
                                 std::chrono::seconds timeout, bool *marked = nullptr,
                                 const Child *alive = nullptr, bool *nudged = nullptr);

// Waits until no window named `title` is left on `display` (the X server
// tears down an ended program's windows after the program has gone); false
// on timeout. Called before starting a program, so that find_window cannot
// return the window of one that came before.
bool wait_until_gone(Display *display, const std::string &title, std::chrono::seconds timeout);

// Sends WM_DELETE_WINDOW, as a window manager does when the user closes it.
void close_window(Display *display, XWindowId window);

// An integer from the environment, or `fallback`.
long env_count(const char *name, long fallback);

}  // namespace stress
