// How a program on the f2c runtime ends on SIGINT and SIGTERM.
//
// The runtime's main installs handlers for both that print its message
// ("Interrupt", "Killed") and call exit(1). exit() then runs, inside the
// handler, the runtime's closing of its units (stdio locks, the heap lock)
// and freeglut's exit handler (Xlib's connection lock). When the signal has
// interrupted the program while it held one of those locks (Mesa allocating
// while it draws, Xlib reading events), the handler waits for it forever.
//
// When GLUT is initialised the layer takes over both handlers. Its handler
// only records the signal and wakes a watcher thread; a second signal ends
// the program at once (write and _exit, nothing else). The watcher does the
// orderly ending outside any handler: it waits until the program's own code
// is not running (the GLUT thread is in GLUT's loop, not in one of the
// program's routines), keeps it from starting again, closes the runtime's
// units with f_exit so that everything written to them reaches its file,
// prints the runtime's message and leaves with _exit(1). No exit handler
// runs, so nothing waits for the X connection; the X server drops the
// program's windows when its connection closes.
//
// A program that stays in its own code (computing, not returning to GLUT's
// loop) is given half a second; after that the watcher ends it with the same
// message and status, without closing its units: doing so while the program
// may be inside a Fortran I/O statement could corrupt the runtime's state.
#include "ending.h"

#include <semaphore.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>

// The f2c runtime's closing of every unit; present only in programs linked
// with it (the program exports it because this library refers to it).
extern "C" void f_exit(void) __attribute__((weak));

namespace {

constexpr auto grace = std::chrono::milliseconds(500);

bool installed = false;

// Held by the GLUT thread while the program's code may run.
std::timed_mutex fortran;
int depth = 0;  // GLUT thread only: nesting of FortranSections

std::atomic<bool> ending{false};   // the watcher is ending the program
std::atomic<int> firstSignal{0};   // the signal being handled, 0 before any
std::atomic<bool> told{false};     // its message has been written
sem_t wake;

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the signal handler uses these atomics");

// The runtime's message, once. Only write(): safe in a signal handler.
void tell(int signal) {
  if (told.exchange(true)) return;
  static const char interrupt[] = "Interrupt\n";
  static const char killed[] = "Killed\n";
  const bool isInterrupt = signal == SIGINT;
  const ssize_t written = write(STDERR_FILENO, isInterrupt ? interrupt : killed,
                                isInterrupt ? sizeof interrupt - 1 : sizeof killed - 1);
  (void)written;
}

void onSignal(int signal) {
  int expected = 0;
  if (!firstSignal.compare_exchange_strong(expected, signal)) {
    tell(expected);
    _exit(1);
  }
  sem_post(&wake);
}

[[noreturn]] void waitForTheEnd() {
  for (;;) pause();
}

void watch() {
  while (sem_wait(&wake) != 0) {
  }
  ending = true;
  if (fortran.try_lock_for(grace)) f_exit();
  tell(firstSignal);
  _exit(1);
}

// Registered after the runtime's own closing of its units, so it runs before
// it: an ordinary exit (the window closed, STOP) keeps the watcher from
// closing the same units at the same time.
void holdForExit() {
  if (depth++ > 0) return;
  if (ending) waitForTheEnd();
  fortran.lock();
}

// Whether the signal's handler is a routine (the runtime's main installs one
// for SIGTERM and, unless it was ignored, for SIGINT); a default or ignored
// signal is left as it is.
bool hasRoutine(int signal) {
  struct sigaction current {};
  if (sigaction(signal, nullptr, &current) != 0) return false;
  return (current.sa_flags & SA_SIGINFO) != 0 || (current.sa_handler != SIG_DFL && current.sa_handler != SIG_IGN);
}

void takeOver(int signal) {
  struct sigaction ours {};
  ours.sa_handler = onSignal;
  sigemptyset(&ours.sa_mask);
  ours.sa_flags = SA_RESTART;
  sigaction(signal, &ours, nullptr);
}

}  // namespace

namespace fglut {

void installEnding() {
  if (installed || f_exit == nullptr) return;
  const bool interrupt = hasRoutine(SIGINT);
  const bool terminate = hasRoutine(SIGTERM);
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

  installed = true;
  fortran.lock();  // the caller is the program's own code
  depth = 1;
  std::atexit(holdForExit);
  if (interrupt) takeOver(SIGINT);
  if (terminate) takeOver(SIGTERM);
}

FortranSection::FortranSection() {
  if (!installed || depth++ > 0) return;
  if (ending) waitForTheEnd();
  fortran.lock();
}

FortranSection::~FortranSection() {
  if (!installed || --depth > 0) return;
  fortran.unlock();
}

OutsideFortran::OutsideFortran() : saved_(depth) {
  if (!installed || depth == 0) return;
  depth = 0;
  fortran.unlock();
}

OutsideFortran::~OutsideFortran() {
  if (!installed || saved_ == 0) return;
  if (ending) waitForTheEnd();
  fortran.lock();
  depth = saved_;
}

}  // namespace fglut
