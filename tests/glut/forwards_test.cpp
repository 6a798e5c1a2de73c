// The GLUT entries that only read their arguments and call one freeglut
// function, and the registrations of the callback kinds that no X server
// here delivers, against the recording stand-in for freeglut: the function
// reached, each argument's width and bits in order, the result, and what a
// registered callback hands the application's routine.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "fglut.h"
#include "fglut_kinds.h"
#include "glut_recorder.h"
#include "guarded_storage.h"

namespace {

using glut_recorder::calls;

// ---------------------------------------------------------------------------
// One-line forwards: each argument is a distinct value behind its own
// address, stored just before a guard page, so that a swapped pair shows as
// wrong bits and a read wider than the argument faults.

struct Outcome {
  std::uint64_t bits = 0;
  unsigned width = 0;  // 0: no result
  bool floating = false;
};

struct Forward {
  const char *entry;
  const char *function;
  Outcome (*invoke)(const std::vector<guarded::Block> &args);
  std::vector<guarded::Block> (*arguments)();
};

// A distinct value for argument i of type T: its bits say which argument it is.
template <typename T>
T distinct(std::size_t i) {
  if constexpr (std::is_floating_point_v<T>) {
    return static_cast<T>(1.5 + 2.25 * static_cast<double>(i));
  } else {
    return static_cast<T>(0x11223300u + 0x11u * static_cast<unsigned>(i + 1));
  }
}

template <typename F>
struct Signature;
template <typename R, typename... P>
struct Signature<R (*)(const P *...)> {
  template <auto Fn>
  static Forward make(const char *entry, const char *function) {
    return Forward{entry, function,
                   [](const std::vector<guarded::Block> &args) {
                     return call<Fn>(args, std::index_sequence_for<P...>{});
                   },
                   [] {
                     std::vector<guarded::Block> args;
                     std::size_t i = 0;
                     (args.push_back(guarded::Block::holding(distinct<P>(i++))), ...);
                     return args;
                   }};
  }
  template <auto Fn, std::size_t... I>
  static Outcome call(const std::vector<guarded::Block> &args, std::index_sequence<I...>) {
    Outcome o;
    if constexpr (std::is_void_v<R>) {
      Fn(args[I].template as<P>()...);
    } else {
      const R r = Fn(args[I].template as<P>()...);
      std::memcpy(&o.bits, &r, sizeof r);
      o.width = sizeof r;
      o.floating = std::is_floating_point_v<R>;
    }
    return o;
  }
};

#define FORWARD(entry, function) Signature<decltype(&entry)>::make<&entry>(#entry, #function)

const std::vector<Forward> &forwards() {
  static const std::vector<Forward> rows = {
      FORWARD(fglutSetColor, glutSetColor),
      FORWARD(fglutGetColor, glutGetColor),
      FORWARD(fglutCopyColormap, glutCopyColormap),
      FORWARD(fglutGetModifiers, glutGetModifiers),
      FORWARD(fglutReportErrors, glutReportErrors),
      FORWARD(fglutSetCursor, glutSetCursor),
      FORWARD(fglutFullScreen, glutFullScreen),
      FORWARD(fglutIconifyWindow, glutIconifyWindow),
      FORWARD(fglutPopWindow, glutPopWindow),
      FORWARD(fglutPushWindow, glutPushWindow),
      FORWARD(fglutUseLayer, glutUseLayer),
      FORWARD(fglutShowOverlay, glutShowOverlay),
      FORWARD(fglutHideOverlay, glutHideOverlay),
      FORWARD(fglutEnterGameMode, glutEnterGameMode),
      FORWARD(fglutLeaveGameMode, glutLeaveGameMode),
      FORWARD(fglutGameModeGet, glutGameModeGet),
      FORWARD(fglutVideoResizeGet, glutVideoResizeGet),
      FORWARD(fglutSetupVideoResizing, glutSetupVideoResizing),
      FORWARD(fglutStopVideoResizing, glutStopVideoResizing),
      FORWARD(fglutVideoResize, glutVideoResize),
      FORWARD(fglutVideoPan, glutVideoPan),
  };
  return rows;
}

#undef FORWARD

TEST(GlutForwards, EachReachesItsFunctionWithItsArgumentsInOrderAndItsResult) {
  for (const Forward &row : forwards()) {
    SCOPED_TRACE(row.entry);
    const std::vector<guarded::Block> args = row.arguments();
    glut_recorder::reset();
    const Outcome o = row.invoke(args);
    ASSERT_EQ(calls().size(), 1u) << "one call of one function";
    const glut_recorder::Call &c = calls()[0];
    EXPECT_EQ(c.function, row.function);
    ASSERT_EQ(c.args.size(), args.size());
    for (std::size_t i = 0; i < args.size(); ++i) {
      std::uint64_t stored = 0;
      std::memcpy(&stored, args[i].data(), args[i].size());
      EXPECT_EQ(c.args[i].width, args[i].size()) << "argument " << i;
      EXPECT_EQ(c.args[i].bits, stored) << "argument " << i << ": another argument's value, or the wrong width";
    }
    if (o.width == 0) continue;
    if (o.floating) {
      float r;
      std::memcpy(&r, &o.bits, sizeof r);
      EXPECT_EQ(o.width, sizeof(float));
      EXPECT_EQ(r, glut_recorder::kFloatResult);
    } else {
      EXPECT_EQ(o.width, sizeof(int));
      EXPECT_EQ(static_cast<int>(o.bits), glut_recorder::kIntResult);
    }
  }
}

// ---------------------------------------------------------------------------
// Registrations: the callback GLUT receives, called with distinct values,
// hands them to the routine in GLUT's order; the Null entry (and a null
// routine where an entry takes one) registers no callback at all.

std::vector<int> seen;
int routine0() { seen.push_back(0); return 0; }
int routine1(int *a) { seen.push_back(*a); return 0; }
int routine2(int *a, int *b) { seen.insert(seen.end(), {*a, *b}); return 0; }
int routine3(int *a, int *b, int *c) { seen.insert(seen.end(), {*a, *b, *c}); return 0; }
int routine4(int *a, int *b, int *c, int *d) { seen.insert(seen.end(), {*a, *b, *c, *d}); return 0; }
int joystick(unsigned int *b, int *x, int *y, int *z) {
  seen.insert(seen.end(), {static_cast<int>(*b), *x, *y, *z});
  return 0;
}

const int kPoll = 25;

struct Registration {
  const char *function;
  void (*set)();
  void (*unset)();
  // Calls the registered callback with its user data; the values given are
  // what the routine must see.
  std::vector<int> (*fire)(const glut_recorder::Call &);
};

template <typename... A>
std::vector<int> fireWith(const glut_recorder::Call &c, A... values) {
  const std::size_t n = c.args.size();
  auto callback = reinterpret_cast<void (*)(A..., void *)>(static_cast<std::uintptr_t>(c.args[0].bits));
  callback(values..., reinterpret_cast<void *>(static_cast<std::uintptr_t>(c.args[n - 1].bits)));
  return {static_cast<int>(values)...};
}

const Registration kRegistrations[] = {
    {"glutAppStatusFuncUcall", [] { fglutAppStatusFunc(routine1); }, fglutAppStatusFuncNull,
     [](const glut_recorder::Call &c) { return fireWith(c, 2); }},
    {"glutInitContextFuncUcall", [] { fglutInitContextFunc(routine0); }, fglutInitContextFuncNull,
     [](const glut_recorder::Call &c) { fireWith(c); return std::vector<int>{0}; }},
    {"glutOverlayDisplayFuncUcall", [] { fglutOverlayDisplayFunc(routine0); }, fglutOverlayDisplayFuncNull,
     [](const glut_recorder::Call &c) { fireWith(c); return std::vector<int>{0}; }},
    {"glutButtonBoxFuncUcall", [] { fglutButtonBoxFunc(routine2); }, fglutButtonBoxFuncNull,
     [](const glut_recorder::Call &c) { return fireWith(c, 7, -8); }},
    {"glutDialsFuncUcall", [] { fglutDialsFunc(routine2); }, fglutDialsFuncNull,
     [](const glut_recorder::Call &c) { return fireWith(c, 3, 900); }},
    {"glutSpaceballMotionFuncUcall", [] { fglutSpaceballMotionFunc(routine3); }, fglutSpaceballMotionFuncNull,
     [](const glut_recorder::Call &c) { return fireWith(c, 1, -2, 3); }},
    {"glutSpaceballRotateFuncUcall", [] { fglutSpaceballRotateFunc(routine3); }, fglutSpaceballRotateFuncNull,
     [](const glut_recorder::Call &c) { return fireWith(c, -40, 50, -60); }},
    {"glutSpaceballButtonFuncUcall", [] { fglutSpaceballButtonFunc(routine2); }, fglutSpaceballButtonFuncNull,
     [](const glut_recorder::Call &c) { return fireWith(c, 2, 1); }},
    {"glutTabletMotionFuncUcall", [] { fglutTabletMotionFunc(routine2); }, fglutTabletMotionFuncNull,
     [](const glut_recorder::Call &c) { return fireWith(c, 640, 480); }},
    {"glutTabletButtonFuncUcall", [] { fglutTabletButtonFunc(routine4); }, fglutTabletButtonFuncNull,
     [](const glut_recorder::Call &c) { return fireWith(c, 1, 0, 33, 44); }},
    {"glutJoystickFuncUcall", [] { fglutJoystickFunc(joystick, &kPoll); }, [] { fglutJoystickFuncNull(&kPoll); },
     [](const glut_recorder::Call &c) { return fireWith(c, 5u, -1000, 0, 999); }},
};

TEST(GlutRegistrations, DeviceAndOverlayCallbacksPassGlutsValuesInOrder) {
  for (const Registration &row : kRegistrations) {
    SCOPED_TRACE(row.function);
    glut_recorder::reset();
    seen.clear();
    row.set();
    ASSERT_EQ(calls().size(), 1u);
    const glut_recorder::Call set = calls()[0];
    EXPECT_EQ(set.function, row.function);
    ASSERT_NE(set.args[0].bits, 0u) << "no callback registered";
    EXPECT_EQ(row.fire(set), seen) << "the routine saw other values, or in another order";

    glut_recorder::reset();
    row.unset();
    ASSERT_EQ(calls().size(), 1u);
    EXPECT_EQ(calls()[0].function, row.function);
    EXPECT_EQ(calls()[0].args[0].bits, 0u) << "the Null entry left a callback registered";
    if (std::string(row.function) == "glutJoystickFuncUcall") {
      EXPECT_EQ(set.args[1].bits, static_cast<std::uint64_t>(kPoll));
      EXPECT_EQ(calls()[0].args[1].bits, static_cast<std::uint64_t>(kPoll));
    }
  }
}

// Without an idle routine GLUT must have no idle callback at all: its main
// loop then sleeps until the next event instead of spinning.
TEST(GlutRegistrations, NoIdleRoutineRegistersNoIdleCallback) {
  auto idleCallback = [] {
    EXPECT_EQ(calls().back().function, "glutIdleFunc");
    return reinterpret_cast<void (*)()>(static_cast<std::uintptr_t>(calls().back().args[0].bits));
  };
  glut_recorder::reset();
  seen.clear();
  fglutIdleFunc(routine0);
  ASSERT_NE(idleCallback(), nullptr);
  idleCallback()();
  EXPECT_EQ(seen, std::vector<int>{0});
  fglutIdleFuncNull();
  EXPECT_EQ(idleCallback(), nullptr) << "fglutIdleFuncNull left an idle callback";
  fglutIdleFunc(routine0);
  EXPECT_NE(idleCallback(), nullptr);
  fglutIdleFunc(nullptr);
  EXPECT_EQ(idleCallback(), nullptr) << "fglutIdleFunc(null) left an idle callback";
  EXPECT_EQ(calls().size(), 4u);
}

// ---------------------------------------------------------------------------
// The Ucall forms, from the layer's own list of kinds: the callback GLUT
// receives, called with distinct values and the user data registered with it,
// hands the routine GLUT's values in order and then the word (INTEGER*8, or
// INTEGER*4 for I4) by address; a null routine registers a callback that
// calls nothing. Timers, menus and the joystick take more than a routine.

std::vector<long long> got;

// The application's routine of a Ucall type: records every value it receives.
template <typename F>
struct Catch;
template <typename... P>
struct Catch<int (*)(P *...)> {
  static int routine(P *...args) {
    (got.push_back(static_cast<long long>(*args)), ...);
    return 0;
  }
};

// The callback parameter of a GLUT Ucall registration.
template <typename F>
struct CallbackOf;
template <typename R, typename C, typename... Rest>
struct CallbackOf<R (*)(C, Rest...)> {
  using type = C;
};
template <typename... Rest>
struct CallbackOf<void (*)(unsigned int, void (*)(int, void *), Rest...)> {  // the timer's
  using type = void (*)(int, void *);
};

// Calls a recorded callback of type C with 11, 22, 33 ... for GLUT's values
// and the recorded user data; returns those values.
template <typename C>
struct Fire;
template <typename... A>
struct Fire<void (*)(A...)> {
  static std::vector<long long> call(std::uint64_t callback, std::uint64_t data) {
    return call(callback, data, std::make_index_sequence<sizeof...(A) - 1>{});
  }
  template <std::size_t... I>
  static std::vector<long long> call(std::uint64_t callback, std::uint64_t data, std::index_sequence<I...>) {
    using Args = std::tuple<A...>;
    reinterpret_cast<void (*)(A...)>(static_cast<std::uintptr_t>(callback))(
        static_cast<std::tuple_element_t<I, Args>>(11 * (I + 1))..., reinterpret_cast<void *>(static_cast<std::uintptr_t>(data)));
    return {static_cast<long long>(11 * (I + 1))...};
  }
};

const long long kWord8 = -0x0123456789ABCDEFLL;  // sign and high bits matter
const int kWord4 = -123456789;

struct UcallForm {
  std::string function;  // GLUT's registration
  std::string entry;
  void (*set)(bool null);  // registers the catching routine, or a null one
  std::vector<long long> (*fire)(std::uint64_t callback, std::uint64_t data);
  long long word;
};

const unsigned int kMs = 40;
const int kValue = 5;  // GLUT hands a timer's value back: the recorded call carries it

#define UCALL_FORMS(Kind, kind, Routine, trampoline, owner)                                                       \
  UcallForm{"glut" #Kind "FuncUcall", "fglut" #Kind "FuncUcall",                                                 \
            [](bool null) { fglut##Kind##FuncUcall(null ? nullptr : Catch<Routine##_w8>::routine, &kWord8); },    \
            &Fire<CallbackOf<decltype(&glut##Kind##FuncUcall)>::type>::call, kWord8},                            \
      UcallForm{"glut" #Kind "FuncUcall", "fglut" #Kind "FuncUcallI4",                                           \
                [](bool null) { fglut##Kind##FuncUcallI4(null ? nullptr : Catch<Routine##_w4>::routine, &kWord4); }, \
                &Fire<CallbackOf<decltype(&glut##Kind##FuncUcall)>::type>::call, kWord4},

const std::vector<UcallForm> &ucallForms() {
  static const std::vector<UcallForm> rows = {
      FGLUT_SLOT_KINDS(UCALL_FORMS)
      UCALL_FORMS(Display, display, fglut_routine0, call0, currentWindow)
      UCALL_FORMS(Reshape, reshape, fglut_reshape_routine, call2, currentWindow)
      UcallForm{"glutJoystickFuncUcall", "fglutJoystickFuncUcall",
                [](bool null) {
                  fglutJoystickFuncUcall(null ? nullptr : Catch<fglut_joystick_routine_w8>::routine, &kPoll, &kWord8);
                },
                &Fire<CallbackOf<decltype(&glutJoystickFuncUcall)>::type>::call, kWord8},
      UcallForm{"glutJoystickFuncUcall", "fglutJoystickFuncUcallI4",
                [](bool null) {
                  fglutJoystickFuncUcallI4(null ? nullptr : Catch<fglut_joystick_routine_w4>::routine, &kPoll, &kWord4);
                },
                &Fire<CallbackOf<decltype(&glutJoystickFuncUcall)>::type>::call, kWord4},
      UcallForm{"glutCreateMenuUcall", "fglutCreateMenuUcall",
                [](bool null) { fglutCreateMenuUcall(null ? nullptr : Catch<fglut_routine1_w8>::routine, &kWord8); },
                &Fire<CallbackOf<decltype(&glutCreateMenuUcall)>::type>::call, kWord8},
      UcallForm{"glutCreateMenuUcall", "fglutCreateMenuUcallI4",
                [](bool null) { fglutCreateMenuUcallI4(null ? nullptr : Catch<fglut_routine1_w4>::routine, &kWord4); },
                &Fire<CallbackOf<decltype(&glutCreateMenuUcall)>::type>::call, kWord4},
      UcallForm{"glutTimerFuncUcall", "fglutTimerFuncUcall",
                [](bool null) {
                  fglutTimerFuncUcall(&kMs, null ? nullptr : Catch<fglut_routine1_w8>::routine, &kValue, &kWord8);
                },
                &Fire<CallbackOf<decltype(&glutTimerFuncUcall)>::type>::call, kWord8},
      UcallForm{"glutTimerFuncUcall", "fglutTimerFuncUcallI4",
                [](bool null) {
                  fglutTimerFuncUcallI4(&kMs, null ? nullptr : Catch<fglut_routine1_w4>::routine, &kValue, &kWord4);
                },
                &Fire<CallbackOf<decltype(&glutTimerFuncUcall)>::type>::call, kWord4},
  };
  return rows;
}

#undef UCALL_FORMS

TEST(GlutRegistrations, UcallFormsPassGlutsValuesThenTheWord) {
  EXPECT_EQ(ucallForms().size(), 2u * 34);
  for (const UcallForm &row : ucallForms()) {
    SCOPED_TRACE(row.entry);
    for (const bool null : {false, true}) {
      glut_recorder::reset();
      got.clear();
      row.set(null);
      const glut_recorder::Call *set = nullptr;
      for (const glut_recorder::Call &c : calls()) {
        if (c.function == row.function) set = &c;
      }
      ASSERT_NE(set, nullptr) << "no " << row.function;
      const std::size_t callbackAt = row.function == "glutTimerFuncUcall" ? 1 : 0;
      ASSERT_NE(set->args[callbackAt].bits, 0u) << "no callback registered";
      std::vector<long long> expected = row.fire(set->args[callbackAt].bits, set->args.back().bits);
      expected.push_back(row.word);
      if (null) {
        EXPECT_TRUE(got.empty()) << "a null routine was called";
      } else {
        EXPECT_EQ(got, expected) << "GLUT's values in order, then the word";
      }
    }
  }
}

}  // namespace
