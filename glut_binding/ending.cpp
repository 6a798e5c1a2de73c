// How a Fortran program on the GLUT layer ends on SIGINT and SIGTERM.
//
// The f2c runtime's main installs handlers for both that print its message
// ("Interrupt", "Killed") and call exit(1). exit() then runs, inside the
// handler, the runtime's closing of its units (stdio locks, the heap lock)
// and freeglut's exit handler (Xlib's connection lock). When the signal has
// interrupted the program while it held one of those locks (Mesa allocating
// while it draws, Xlib reading events), the handler waits for it forever.
// The gfortran and Flang runtimes install no handlers: the signal's default
// action ends the program at once, and what their units still held in their
// buffers is lost.
//
// When GLUT is initialised the layer takes over: from the f2c runtime's
// handlers, and from the default action in a program on gfortran's or
// Flang's runtime. Its handler only records the signal and wakes a watcher
// thread; a second signal ends the program at once (nothing but write, _exit
// or the default action). The watcher does the orderly ending outside any
// handler: it waits until the program's own code is not running (the GLUT
// thread is in GLUT's loop, not in one of the program's routines) and keeps
// it from starting again. Then, for f2c, it closes the runtime's units with
// f_exit, prints the runtime's message and leaves with _exit(1); for
// gfortran and Flang, it flushes their units as FLUSH does and ends the
// program by the signal's default action, as before. No exit handler runs,
// so nothing waits for the X connection; the X server drops the windows when
// the connection closes.
//
// A program that stays in its own code (computing, not returning to GLUT's
// loop) is given half a second; after that the watcher ends it the same way
// without closing or flushing its units: doing so while the program may be
// inside a Fortran I/O statement could corrupt the runtime's state.
#include "ending.h"

#include <semaphore.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>

// The runtimes' closing and flushing of every unit, each present only in
// programs linked with its runtime (the program exports f_exit because this
// library refers to it).
extern "C" void f_exit(void) __attribute__((weak));
extern "C" void _gfortran_flush_i4(int *unit) __attribute__((weak));
// Flang's runtime (linked statically into the program) has no entry that
// flushes every unit; its FLUSH statement, unit by unit, is.
extern "C" void *_FortranAioBeginFlush(int unit, const char *sourceFile, int sourceLine) __attribute__((weak));
extern "C" void _FortranAioEnableHandlers(void *cookie, bool hasIoStat, bool hasErr, bool hasEnd, bool hasEor,
                                          bool hasIoMsg) __attribute__((weak));
extern "C" int _FortranAioEndIoStatement(void *cookie) __attribute__((weak));

namespace {

constexpr auto grace = std::chrono::milliseconds(500);

enum class Runtime { none, f2c, gfortran, flang };
Runtime runtime = Runtime::none;

// Held by the GLUT thread while the program's code may run.
std::timed_mutex fortran;
int depth = 0;  // GLUT thread only: nesting of FortranSections

std::atomic<bool> ending{false};  // the watcher is ending the program
std::atomic<int> firstSignal{0};  // the signal being handled, 0 before any
std::atomic<bool> told{false};    // its message has been written
sem_t wake;

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the signal handler uses these atomics");

// The f2c runtime's message, once. Only write(): safe in a signal handler.
void tell(int signo) {
  if (told.exchange(true)) return;
  static const char interrupt[] = "Interrupt\n";
  static const char killed[] = "Killed\n";
  const bool isInterrupt = signo == SIGINT;
  const ssize_t written = write(STDERR_FILENO, isInterrupt ? interrupt : killed,
                                isInterrupt ? sizeof interrupt - 1 : sizeof killed - 1);
  (void)written;
}

// Ends the program as the signal's default action does.
[[noreturn]] void endByDefault(int signo) {
  signal(signo, SIG_DFL);
  sigset_t one;
  sigemptyset(&one);
  sigaddset(&one, signo);
  pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
  raise(signo);
  _exit(128 + signo);
}

void onSignal(int signo) {
  int first = 0;
  if (firstSignal.compare_exchange_strong(first, signo)) {
    sem_post(&wake);
    return;
  }
  if (runtime == Runtime::f2c) {
    tell(first);
    _exit(1);
  }
  // Delivered as soon as this handler returns.
  signal(signo, SIG_DFL);
  raise(signo);
}

// FLUSH(unit) under Flang; an error is returned (and ignored), not fatal.
void flushFlangUnit(int unit) {
  void *const cookie = _FortranAioBeginFlush(unit, __FILE__, __LINE__);
  _FortranAioEnableHandlers(cookie, true, false, false, false, false);
  _FortranAioEndIoStatement(cookie);
}

// Flang's units cannot be listed from outside its runtime; a FLUSH of a
// unit that is not connected does nothing. This covers every unit number an
// F77 program can have opened below 1000 (5, 6 and 0 among them) and the
// first thousand that OPEN(NEWUNIT=) hands out (-2, -3, ...).
void flushFlangUnits() {
  for (int unit = -1001; unit < 1000; ++unit) flushFlangUnit(unit);
}

[[noreturn]] void waitForTheEnd() {
  for (;;) pause();
}

void watch() {
  while (sem_wait(&wake) != 0) {
  }
  ending = true;
  const bool quiet = fortran.try_lock_for(grace);
  if (runtime == Runtime::f2c) {
    if (quiet) f_exit();
    tell(firstSignal);
    _exit(1);
  }
  if (quiet && runtime == Runtime::gfortran) _gfortran_flush_i4(nullptr);
  if (quiet && runtime == Runtime::flang) flushFlangUnits();
  endByDefault(firstSignal);
}

// Registered after the runtime's own closing of its units, so it runs before
// it: an ordinary exit (the window closed, STOP) keeps the watcher from
// closing the same units at the same time.
void holdForExit() {
  if (depth++ > 0) return;
  if (ending) waitForTheEnd();
  fortran.lock();
}

bool disposedAs(int signo, void (*disposition)(int)) {
  struct sigaction current {};
  if (sigaction(signo, nullptr, &current) != 0) return false;
  return (current.sa_flags & SA_SIGINFO) == 0 && current.sa_handler == disposition;
}

// Whether the signal's handler is a routine (the f2c runtime's main installs
// one for SIGTERM and, unless it was ignored, for SIGINT).
bool hasRoutine(int signo) {
  struct sigaction current {};
  if (sigaction(signo, nullptr, &current) != 0) return false;
  return (current.sa_flags & SA_SIGINFO) != 0 || (current.sa_handler != SIG_DFL && current.sa_handler != SIG_IGN);
}

void takeOver(int signo) {
  struct sigaction ours {};
  ours.sa_handler = onSignal;
  // Neither signal interrupts the handler of the other: the first one taken
  // is the one recorded as first, whatever comes after it.
  sigemptyset(&ours.sa_mask);
  sigaddset(&ours.sa_mask, SIGINT);
  sigaddset(&ours.sa_mask, SIGTERM);
  ours.sa_flags = SA_RESTART;
  sigaction(signo, &ours, nullptr);
}

}  // namespace

namespace fglut {

void installEnding() {
  if (runtime != Runtime::none) return;
  // f2c: the handlers its main installed. gfortran and Flang: the signals
  // left to their default action; an ignored signal (a background job's
  // SIGINT) stays ignored under each.
  Runtime found = Runtime::none;
  bool interrupt = false, terminate = false;
  if (f_exit != nullptr && (hasRoutine(SIGINT) || hasRoutine(SIGTERM))) {
    found = Runtime::f2c;
    interrupt = hasRoutine(SIGINT);
    terminate = hasRoutine(SIGTERM);
  } else if (_gfortran_flush_i4 != nullptr) {
    found = Runtime::gfortran;
    interrupt = disposedAs(SIGINT, SIG_DFL);
    terminate = disposedAs(SIGTERM, SIG_DFL);
  } else if (_FortranAioBeginFlush != nullptr && _FortranAioEnableHandlers != nullptr &&
             _FortranAioEndIoStatement != nullptr) {
    found = Runtime::flang;
    interrupt = disposedAs(SIGINT, SIG_DFL);
    terminate = disposedAs(SIGTERM, SIG_DFL);
  }
  if (!interrupt && !terminate) return;
  if (sem_init(&wake, 0, 0) != 0) return;

  // The watcher runs with every signal blocked, so that the handler runs on
  // another thread and the watcher's waits are never interrupted.
  sigset_t all, previous;
  sigfillset(&all);
  pthread_sigmask(SIG_BLOCK, &all, &previous);
  try {
    std::thread(watch).detach();
  } catch (...) {
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return;
  }
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);

  // Flang sets up its units, and registers their closing at exit, on its
  // first I/O statement; done now, that closing runs after holdForExit.
  if (found == Runtime::flang) flushFlangUnit(6);

  runtime = found;
  fortran.lock();  // the caller is the program's own code
  depth = 1;
  std::atexit(holdForExit);
  if (interrupt) takeOver(SIGINT);
  if (terminate) takeOver(SIGTERM);
}

FortranSection::FortranSection() {
  if (runtime == Runtime::none || depth++ > 0) return;
  if (ending) waitForTheEnd();
  fortran.lock();
}

FortranSection::~FortranSection() {
  if (runtime == Runtime::none || --depth > 0) return;
  fortran.unlock();
}

OutsideFortran::OutsideFortran() : saved_(depth) {
  if (runtime == Runtime::none || depth == 0) return;
  depth = 0;
  fortran.unlock();
}

OutsideFortran::~OutsideFortran() {
  if (runtime == Runtime::none || saved_ == 0) return;
  if (ending) waitForTheEnd();
  fortran.lock();
  depth = saved_;
}

}  // namespace fglut
