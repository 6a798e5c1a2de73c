// Registration entries for every callback kind but the plain display and
// reshape entries (callbacks.cpp), with their trampolines, and the Ucall
// forms of every per-window kind, menus and timers.
//
// Per-window kinds, menus and timers keep the application's routine as the
// user data of freeglut's own callback record (see callbacks.cpp): the routine
// is fetched for the window, menu or timer that the event concerns. Idle, menu
// state and menu status are program-wide and live in static cells here.
// Every trampoline calls its routine with the addresses of its own copies of
// GLUT's values, in GLUT's order, and does nothing when no routine is held.
//
// A Ucall form registers the same trampoline with a record of the routine and
// the application's word as the user data; the routine receives a copy of the
// word by address after GLUT's values. The records belong to the layer: the
// application's own per-window and per-menu word (glutSetWindowData,
// glutSetMenuData) is a separate freeglut slot that the layer never uses.
#include <GL/freeglut.h>

#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "fglut.h"
#include "fglut_conventions.h"
#include "fglut_kinds.h"

namespace {

using fglut::asData;
using fglut::asRoutine;

static_assert(sizeof(long long) == 8, "the Ucall word is an INTEGER*8");

// How a trampoline reaches its routine. Plain: the user data is the routine.
struct Plain {
  template <typename... V>
  static void call(void *data, V... values) {
    if (auto routine = asRoutine<int (*)(V *...)>(data)) routine(&values...);
  }
};

// A Ucall registration's user data: the routine and the application's word.
template <typename Word>
struct Bound {
  void *routine;
  Word word;
};

// WithWord: the user data is a Bound record; the routine receives its own
// copy of the word after GLUT's values.
template <typename Word>
struct WithWord {
  template <typename... V>
  static void call(void *data, V... values) {
    const auto *bound = static_cast<const Bound<Word> *>(data);
    Word word = bound->word;
    if (auto routine = asRoutine<int (*)(V *..., Word *)>(bound->routine)) routine(&values..., &word);
  }
};

template <class Hold>
void call0(void *data) {
  Hold::call(data);
}
template <class Hold>
void call1(int a, void *data) {
  Hold::call(data, a);
}
template <class Hold>
void call2(int a, int b, void *data) {
  Hold::call(data, a, b);
}
template <class Hold>
void call3(int a, int b, int c, void *data) {
  Hold::call(data, a, b, c);
}
template <class Hold>
void call4(int a, int b, int c, int d, void *data) {
  Hold::call(data, a, b, c, d);
}
template <class Hold>
void call5(int a, int b, int c, int d, int e, void *data) {
  Hold::call(data, a, b, c, d, e);
}
// The key byte is widened (zero-extended) to a 4-byte integer 0..255.
template <class Hold>
void callKey(unsigned char key, int x, int y, void *data) {
  Hold::call(data, static_cast<int>(key), x, y);
}
template <class Hold>
void callJoystick(unsigned int buttons, int x, int y, int z, void *data) {
  Hold::call(data, buttons, x, y, z);
}

// The records of the Ucall registrations of per-window (and per-menu) kinds:
// one per kind and window (or menu), replaced in place by a new registration,
// so the address freeglut holds stays valid. freeglut never reuses a window
// or menu number, so a record outlives its window at most by its few bytes.
template <typename Word>
Bound<Word> *slotRecord(const char *kind, int owner, void *routine, Word word) {
  static std::map<std::pair<std::string, int>, Bound<Word>> records;
  Bound<Word> &record = records[{kind, owner}];
  record = Bound<Word>{routine, word};
  return &record;
}

// The records of menus made by the Ucall form: one per menu, kept while the
// program runs.
template <typename Word>
Bound<Word> *menuRecord(void *routine, Word word) {
  static std::deque<Bound<Word>> records;
  records.push_back(Bound<Word>{routine, word});
  return &records.back();
}

// The records of pending Ucall timers. A fired timer's record is reused, so
// any number of timers over a run needs no more records than the most pending
// at once (as freeglut's own timer records).
template <typename Word>
class TimerRecords {
 public:
  static Bound<Word> *take(void *routine, Word word) {
    Bound<Word> *record = nullptr;
    if (free_.empty()) {
      all_.push_back(Bound<Word>{});
      record = &all_.back();
    } else {
      record = free_.back();
      free_.pop_back();
    }
    *record = Bound<Word>{routine, word};
    return record;
  }
  // Called as the timer fires: the record is copied out and released first,
  // so the routine may register new timers that reuse it.
  static void fire(int value, void *data) {
    auto *record = static_cast<Bound<Word> *>(data);
    Bound<Word> copy = *record;
    free_.push_back(record);
    WithWord<Word>::call(&copy, value);
  }

 private:
  static inline std::deque<Bound<Word>> all_;
  static inline std::vector<Bound<Word> *> free_;
};

// Whose slot a per-window kind fills: the current window's, or for menu
// destruction the current menu's.
int currentWindow() { return glutGetWindow(); }
int currentMenu() { return glutGetMenu(); }

// The program-wide cells.
fglut_routine0 idleRoutine = nullptr;
fglut_routine1 menuStateRoutine = nullptr;
fglut_routine3 menuStatusRoutine = nullptr;

void idleTrampoline() {
  if (idleRoutine != nullptr) fglut::callRoutine(idleRoutine);
}
void menuStateTrampoline(int status) {
  if (menuStateRoutine != nullptr) fglut::callRoutine(menuStateRoutine, &status);
}
void menuStatusTrampoline(int status, int x, int y) {
  if (menuStatusRoutine != nullptr) fglut::callRoutine(menuStatusRoutine, &status, &x, &y);
}

}  // namespace

// The plain entry registers the trampoline with the routine as its user data;
// the Null entry registers no callback with GLUT.
#define FGLUT_PLAIN_KIND(Kind, kind, Routine, trampoline, owner)                                  \
  extern "C" FGLUT_API void fglut##Kind##Func(Routine routine) {                                 \
    FGLUT_CHECK_CURRENT_WINDOW();                                                                \
    glut##Kind##FuncUcall(trampoline<Plain>, asData(routine));                                   \
  }                                                                                              \
  FGLUT_FORTRAN_ALIAS(fglut##Kind##Func, fglut##kind##func_)                                     \
  extern "C" FGLUT_API void fglut##Kind##FuncNull(void) { glut##Kind##FuncUcall(nullptr, nullptr); } \
  FGLUT_FORTRAN_ALIAS(fglut##Kind##FuncNull, fglut##kind##funcnull_)

// One Ucall entry: the word in the given storage, the routine type that
// receives it, the entry's suffix.
#define FGLUT_UCALL_FORM(Kind, kind, Routine, Word, Suffix, suffix, trampoline, owner)                      \
  extern "C" FGLUT_API void fglut##Kind##FuncUcall##Suffix(Routine routine, const Word *word) {           \
    FGLUT_CHECK_CURRENT_WINDOW();                                                                        \
    glut##Kind##FuncUcall(trampoline<WithWord<Word>>, slotRecord<Word>(#Kind, owner(), asData(routine), *word)); \
  }                                                                                                      \
  FGLUT_FORTRAN_ALIAS(fglut##Kind##FuncUcall##Suffix, fglut##kind##funcucall##suffix##_)

// Both Ucall entries of a kind: an INTEGER*8 word, and an INTEGER*4 one (I4).
#define FGLUT_UCALL_KIND(Kind, kind, Routine, trampoline, owner)                      \
  FGLUT_UCALL_FORM(Kind, kind, Routine##_w8, long long, , , trampoline, owner)        \
  FGLUT_UCALL_FORM(Kind, kind, Routine##_w4, int, I4, i4, trampoline, owner)

FGLUT_SLOT_KINDS(FGLUT_PLAIN_KIND)
FGLUT_SLOT_KINDS(FGLUT_UCALL_KIND)
FGLUT_UCALL_KIND(Display, display, fglut_routine0, call0, currentWindow)
FGLUT_UCALL_KIND(Reshape, reshape, fglut_reshape_routine, call2, currentWindow)

#undef FGLUT_UCALL_KIND
#undef FGLUT_UCALL_FORM
#undef FGLUT_PLAIN_KIND

// The joystick, menu and timer registrations take more than a routine; each
// has its plain form and its two Ucall forms, one template body each.
namespace {

template <typename Word>
void joystickUcall(void *routine, int pollInterval, Word word) {
  glutJoystickFuncUcall(callJoystick<WithWord<Word>>, pollInterval,
                        slotRecord<Word>("Joystick", currentWindow(), routine, word));
}

template <typename Word>
int createMenuUcall(void *routine, Word word) {
  const int id = glutCreateMenuUcall(call1<WithWord<Word>>, menuRecord<Word>(routine, word));
  FGLUT_CHECK_MADE(menu, id);
  return id;
}

template <typename Word>
void timerUcall(unsigned int milliseconds, void *routine, int value, Word word) {
  glutTimerFuncUcall(milliseconds, TimerRecords<Word>::fire, value, TimerRecords<Word>::take(routine, word));
}

}  // namespace

extern "C" {

FGLUT_API void fglutJoystickFunc(fglut_joystick_routine routine, const int *pollInterval) {
  glutJoystickFuncUcall(callJoystick<Plain>, *pollInterval, asData(routine));
}
FGLUT_FORTRAN_ALIAS(fglutJoystickFunc, fglutjoystickfunc_)

FGLUT_API void fglutJoystickFuncNull(const int *pollInterval) {
  glutJoystickFuncUcall(nullptr, *pollInterval, nullptr);
}
FGLUT_FORTRAN_ALIAS(fglutJoystickFuncNull, fglutjoystickfuncnull_)

FGLUT_API void fglutJoystickFuncUcall(fglut_joystick_routine_w8 routine, const int *pollInterval,
                                      const long long *word) {
  joystickUcall(asData(routine), *pollInterval, *word);
}
FGLUT_FORTRAN_ALIAS(fglutJoystickFuncUcall, fglutjoystickfuncucall_)

FGLUT_API void fglutJoystickFuncUcallI4(fglut_joystick_routine_w4 routine, const int *pollInterval,
                                        const int *word) {
  joystickUcall(asData(routine), *pollInterval, *word);
}
FGLUT_FORTRAN_ALIAS(fglutJoystickFuncUcallI4, fglutjoystickfuncucalli4_)

// The menu keeps its routine from creation until it is destroyed.
FGLUT_API int fglutCreateMenu(fglut_routine1 routine) {
  const int id = glutCreateMenuUcall(call1<Plain>, asData(routine));
  FGLUT_CHECK_MADE(menu, id);
  return id;
}
FGLUT_FORTRAN_ALIAS(fglutCreateMenu, fglutcreatemenu_)

FGLUT_API int fglutCreateMenuUcall(fglut_routine1_w8 routine, const long long *word) {
  return createMenuUcall(asData(routine), *word);
}
FGLUT_FORTRAN_ALIAS(fglutCreateMenuUcall, fglutcreatemenuucall_)

FGLUT_API int fglutCreateMenuUcallI4(fglut_routine1_w4 routine, const int *word) {
  return createMenuUcall(asData(routine), *word);
}
FGLUT_FORTRAN_ALIAS(fglutCreateMenuUcallI4, fglutcreatemenuucalli4_)

// Each timer carries its own routine and value; freeglut recycles a fired
// timer's record, so any number of timers over a run needs no more storage
// than the most pending at once.
FGLUT_API void fglutTimerFunc(const unsigned int *milliseconds, fglut_routine1 routine, const int *value) {
  glutTimerFuncUcall(*milliseconds, call1<Plain>, *value, asData(routine));
}
FGLUT_FORTRAN_ALIAS(fglutTimerFunc, fgluttimerfunc_)

FGLUT_API void fglutTimerFuncUcall(const unsigned int *milliseconds, fglut_routine1_w8 routine, const int *value,
                                   const long long *word) {
  timerUcall(*milliseconds, asData(routine), *value, *word);
}
FGLUT_FORTRAN_ALIAS(fglutTimerFuncUcall, fgluttimerfuncucall_)

FGLUT_API void fglutTimerFuncUcallI4(const unsigned int *milliseconds, fglut_routine1_w4 routine, const int *value,
                                     const int *word) {
  timerUcall(*milliseconds, asData(routine), *value, *word);
}
FGLUT_FORTRAN_ALIAS(fglutTimerFuncUcallI4, fgluttimerfuncucalli4_)

// A null routine registers no idle callback: GLUT's main loop then waits for
// events instead of spinning through a trampoline with nothing to call.
FGLUT_API void fglutIdleFunc(fglut_routine0 routine) {
  idleRoutine = routine;
  glutIdleFunc(routine != nullptr ? idleTrampoline : nullptr);
}
FGLUT_FORTRAN_ALIAS(fglutIdleFunc, fglutidlefunc_)

FGLUT_API void fglutIdleFuncNull(void) {
  idleRoutine = nullptr;
  glutIdleFunc(nullptr);
}
FGLUT_FORTRAN_ALIAS(fglutIdleFuncNull, fglutidlefuncnull_)

FGLUT_API void fglutMenuStateFunc(fglut_routine1 routine) {
  menuStateRoutine = routine;
  glutMenuStateFunc(menuStateTrampoline);
}
FGLUT_FORTRAN_ALIAS(fglutMenuStateFunc, fglutmenustatefunc_)

FGLUT_API void fglutMenuStateFuncNull(void) {
  menuStateRoutine = nullptr;
  glutMenuStateFunc(nullptr);
}
FGLUT_FORTRAN_ALIAS(fglutMenuStateFuncNull, fglutmenustatefuncnull_)

FGLUT_API void fglutMenuStatusFunc(fglut_routine3 routine) {
  menuStatusRoutine = routine;
  glutMenuStatusFunc(menuStatusTrampoline);
}
FGLUT_FORTRAN_ALIAS(fglutMenuStatusFunc, fglutmenustatusfunc_)

FGLUT_API void fglutMenuStatusFuncNull(void) {
  menuStatusRoutine = nullptr;
  glutMenuStatusFunc(nullptr);
}
FGLUT_FORTRAN_ALIAS(fglutMenuStatusFuncNull, fglutmenustatusfuncnull_)

}  // extern "C"
