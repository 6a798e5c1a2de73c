// The GLU entries against recording stand-ins for libGLU and libGL: every
// forwarding entry reads each argument at its width and passes the right
// object; handles; callback registration; text; image storage.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "fglu.h"
#include "gl_recorder.h"
#include "handles.h"

namespace {

// ---------------------------------------------------------------------------
// The forwarding entries, from the generated list, each called through a
// template over its own function type.

enum class Concern { Plain, Quadric, Tess, Nurbs };

struct Entry {
  const char *name;
  const char *command;
  Concern concern;
  std::size_t arity;
  void (*invoke)(void *const *args);
};

template <auto Fn, typename R, typename... P, std::size_t... I>
void invoke_with(void *const *args, std::index_sequence<I...>) {
  Fn(static_cast<P>(args[I])...);
}

template <typename F>
struct Signature;
template <typename R, typename... P>
struct Signature<R (*)(P...)> {
  template <auto Fn>
  static constexpr Entry make(const char *name, const char *command, Concern concern) {
    return Entry{name, command, concern, sizeof...(P),
                 [](void *const *args) { invoke_with<Fn, R, P...>(args, std::index_sequence_for<P...>{}); }};
  }
};

constexpr Entry kEntries[] = {
#define FGLU_PROJECTION(entry, fortran_name, command, result, params, args) \
  Signature<decltype(&entry)>::make<&entry>(#entry, #command, Concern::Plain),
#define FGLU_IMAGE FGLU_PROJECTION
#define FGLU_QUADRIC(entry, fortran_name, command, result, params, args) \
  Signature<decltype(&entry)>::make<&entry>(#entry, #command, Concern::Quadric),
#define FGLU_TESS(entry, fortran_name, command, result, params, args) \
  Signature<decltype(&entry)>::make<&entry>(#entry, #command, Concern::Tess),
#define FGLU_NURBS(entry, fortran_name, command, result, params, args) \
  Signature<decltype(&entry)>::make<&entry>(#entry, #command, Concern::Nurbs),
#include "fglu_forward.inc"
#undef FGLU_PROJECTION
#undef FGLU_IMAGE
#undef FGLU_QUADRIC
#undef FGLU_TESS
#undef FGLU_NURBS
};

constexpr unsigned kPointer = 0;

// Bytes read per GLU scalar type; 999 for a type missing here.
unsigned width_of(const std::string &type) {
  static const std::map<std::string, unsigned> widths = {
      {"GLenum", 4}, {"GLint", 4}, {"GLsizei", 4}, {"GLfloat", 4}, {"GLdouble", 8}, {"GLboolean", 1}};
  if (type.find('*') != std::string::npos) return kPointer;
  auto w = widths.find(type);
  return w == widths.end() ? 999 : w->second;
}

// Fake object addresses the stand-in's constructors return.
constexpr std::uint64_t kQuadric = 0x51000, kTess = 0x52000, kNurbs = 0x53000;

class Recorder : public ::testing::Test {
 protected:
  void SetUp() override {
    gl_recorder::reset();
    gl_recorder::set_result("gluNewQuadric", kQuadric);
    gl_recorder::set_result("gluNewTess", kTess);
    gl_recorder::set_result("gluNewNurbsRenderer", kNurbs);
  }
  static const gl_recorder::Call &last(const std::string &command) {
    for (auto it = gl_recorder::calls().rbegin(); it != gl_recorder::calls().rend(); ++it)
      if (it->command == command) return *it;
    throw std::runtime_error(command + " not called");
  }
  static std::size_t count(const std::string &command) {
    std::size_t n = 0;
    for (const auto &c : gl_recorder::calls()) n += c.command == command;
    return n;
  }
};

// Every entry, with 16 distinct bytes behind each argument (a handle in the
// first for the object entries): one call of its GLU function, each scalar
// with the bits of its width, each array address unchanged, the object the
// handle names.
TEST_F(Recorder, EveryForwardingEntryReadsEachArgumentAtItsWidth) {
  const GLint handles[] = {0, fgluNewQuadric(), fgluNewTess(), fgluNewNurbsRenderer()};
  const std::uint64_t objects[] = {0, kQuadric, kTess, kNurbs};
  EXPECT_EQ(std::size(kEntries), 52u);
  for (const Entry &e : kEntries) {
    SCOPED_TRACE(e.name);
    const auto c = static_cast<std::size_t>(e.concern);
    std::vector<std::vector<unsigned char>> blocks(e.arity, std::vector<unsigned char>(16));
    std::vector<void *> args;
    for (std::size_t i = 0; i < e.arity; ++i) {
      for (std::size_t j = 0; j < 16; ++j) blocks[i][j] = static_cast<unsigned char>(0x10 * (i + 1) + j);
      if (i == 0 && c != 0) std::memcpy(blocks[i].data(), &handles[c], sizeof(GLint));
      args.push_back(blocks[i].data());
    }
    const auto before = blocks;
    gl_recorder::reset();
    e.invoke(args.data());
    ASSERT_EQ(gl_recorder::calls().size(), 1u);
    const gl_recorder::Call &call = gl_recorder::calls()[0];
    EXPECT_EQ(call.command, e.command);
    ASSERT_EQ(call.args.size(), e.arity);
    for (std::size_t i = 0; i < e.arity; ++i) {
      const gl_recorder::Argument &a = call.args[i];
      if (i == 0 && c != 0) {
        EXPECT_EQ(a.bits, objects[c]) << "the object behind the handle";
        continue;
      }
      const unsigned w = width_of(a.type);
      ASSERT_NE(w, 999u) << a.type;
      if (w == kPointer) {
        EXPECT_EQ(a.address(), args[i]) << "argument " << i << " passed unchanged";
      } else {
        std::uint64_t want = 0;
        std::memcpy(&want, blocks[i].data(), w);
        EXPECT_EQ(a.width, w) << "argument " << i;
        EXPECT_EQ(a.bits, want) << "argument " << i << " (" << a.type << ")";
      }
    }
    EXPECT_EQ(blocks, before) << "an entry wrote through an argument";
  }
}

// Handles: unknown, deleted and wrong-kind handles make no GLU call; one
// numbering for the three kinds; no number issued twice.
TEST_F(Recorder, HandlesOfOtherKindsOrDeletedOrNeverIssuedReachNoGlu) {
  const GLint q = fgluNewQuadric(), t = fgluNewTess(), n = fgluNewNurbsRenderer();
  EXPECT_GT(q, 0);
  EXPECT_EQ(t, q + 1);
  EXPECT_EQ(n, t + 1);
  const GLint deleted = fgluNewQuadric();
  fgluDeleteQuadric(&deleted);
  const GLint never = n + 1000, zero = 0, negative = -1;
  const double r = 1.0;
  const GLint slices = 8;
  const GLenum which = GLU_TESS_WINDING_RULE;
  const double v = GLU_TESS_WINDING_ODD;
  SetUp();  // forget the calls so far
  for (GLint h : {t, n, deleted, never, zero, negative}) {
    fgluSphere(&h, &r, &slices, &slices);
    fgluDeleteQuadric(&h);
    fgluQuadricCallback(&h, &which, nullptr);
  }
  for (GLint h : {q, n, deleted, never}) {
    fgluTessProperty(&h, &which, &v);
    fgluTessEndPolygon(&h);
    fgluDeleteTess(&h);
  }
  for (GLint h : {q, t, deleted, never}) {
    fgluBeginSurface(&h);
    fgluNurbsCallbackNull(&h, &which);
    fgluDeleteNurbsRenderer(&h);
  }
  EXPECT_TRUE(gl_recorder::calls().empty()) << gl_recorder::calls()[0].command;
  // The live ones still work, once each; a second delete does nothing.
  fgluSphere(&q, &r, &slices, &slices);
  fgluDeleteQuadric(&q);
  fgluDeleteQuadric(&q);
  fgluSphere(&q, &r, &slices, &slices);
  EXPECT_EQ(count("gluSphere"), 1u);
  EXPECT_EQ(count("gluDeleteQuadric"), 1u);
  fgluDeleteTess(&t);
  fgluDeleteNurbsRenderer(&n);
  EXPECT_EQ(fgluNewTess(), deleted + 1) << "numbers are never reused";
}

TEST_F(Recorder, NoHandleWhenGluMakesNoObject) {
  gl_recorder::set_result("gluNewQuadric", 0);
  gl_recorder::set_result("gluNewTess", 0);
  gl_recorder::set_result("gluNewNurbsRenderer", 0);
  const std::size_t live = fglu::live_handles();
  EXPECT_EQ(fgluNewQuadric(), 0);
  EXPECT_EQ(fgluNewTess(), 0);
  EXPECT_EQ(fgluNewNurbsRenderer(), 0);
  EXPECT_EQ(fglu::live_handles(), live);
}

// 10,000 new/delete cycles of each kind: every object deleted in GLU, no
// handle left behind, the heap in use back where it was.
TEST_F(Recorder, TenThousandCyclesLeaveMemoryFlat) {
  auto cycle = [](int n) {
    for (int i = 0; i < n; ++i) {
      const GLint q = fgluNewQuadric(), t = fgluNewTess(), b = fgluNewNurbsRenderer();
      fgluDeleteNurbsRenderer(&b);
      fgluDeleteTess(&t);
      fgluDeleteQuadric(&q);
    }
  };
  cycle(100);  // warm up the table's buckets
  gl_recorder::reset();
  SetUp();
  const std::size_t live = fglu::live_handles();
  const std::size_t heap = mallinfo2().uordblks;
  cycle(10000);
  EXPECT_EQ(fglu::live_handles(), live);
  EXPECT_EQ(count("gluDeleteQuadric"), 10000u);
  EXPECT_EQ(count("gluDeleteTess"), 10000u);
  EXPECT_EQ(count("gluDeleteNurbsRenderer"), 10000u);
  gl_recorder::reset();  // the log itself grew
  SetUp();
  EXPECT_LE(mallinfo2().uordblks, heap + 4096) << "memory grew over 10,000 cycles";
}

// Registration: a routine of a known kind gives GLU this layer's trampoline
// (not the routine itself), a null routine removes it; an unknown kind goes
// to GLU with a null function so that GLU reports it.
TEST_F(Recorder, CallbackRegistrationPassesTrampolinesAndNulls) {
  const GLint t = fgluNewTess(), q = fgluNewQuadric(), n = fgluNewNurbsRenderer();
  auto routine = +[]() {};
  struct Case {
    const GLint *handle;
    GLenum which;
    const char *command;
  };
  std::vector<Case> cases;
  for (GLenum w = GLU_TESS_BEGIN; w <= GLU_TESS_COMBINE_DATA; ++w) cases.push_back({&t, w, "gluTessCallback"});
  for (GLenum w = GLU_NURBS_BEGIN; w <= GLU_NURBS_END_DATA; ++w) cases.push_back({&n, w, "gluNurbsCallback"});
  cases.push_back({&n, GLU_NURBS_ERROR, "gluNurbsCallback"});
  cases.push_back({&q, GLU_ERROR, "gluQuadricCallback"});
  std::set<std::uint64_t> trampolines;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.which);
    gl_recorder::reset();
    if (c.command == std::string("gluTessCallback")) {
      fgluTessCallback(c.handle, &c.which, routine);
      fgluTessCallbackNull(c.handle, &c.which);
    } else if (c.command == std::string("gluNurbsCallback")) {
      fgluNurbsCallback(c.handle, &c.which, routine);
      fgluNurbsCallbackNull(c.handle, &c.which);
    } else {
      fgluQuadricCallback(c.handle, &c.which, routine);
      fgluQuadricCallbackNull(c.handle, &c.which);
    }
    const auto &calls = gl_recorder::calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].command, c.command);
    EXPECT_EQ(calls[0].args[1].bits, c.which);
    EXPECT_NE(calls[0].args[2].bits, 0u);
    EXPECT_NE(calls[0].args[2].address(), reinterpret_cast<const void *>(routine));
    EXPECT_EQ(calls[1].args[2].bits, 0u) << "removal passes a null function";
    trampolines.insert(calls[0].args[2].bits);
  }
  EXPECT_EQ(trampolines.size(), cases.size()) << "one trampoline per kind";
  for (GLenum w : {GLenum(GLU_TESS_BEGIN - 1), GLenum(GLU_TESS_COMBINE_DATA + 1), GLenum(0)}) {
    gl_recorder::reset();
    fgluTessCallback(&t, &w, routine);
    ASSERT_EQ(gl_recorder::calls().size(), 1u);
    EXPECT_EQ(gl_recorder::calls()[0].args[2].bits, 0u) << "unknown kind " << w;
  }
  fgluDeleteTess(&t);
  fgluDeleteQuadric(&q);
  fgluDeleteNurbsRenderer(&n);
}

// ---------------------------------------------------------------------------
// Text.

TEST_F(Recorder, TextIsBlankPaddedOrTruncatedWithTheFullLengthReturned) {
  static const GLubyte kText[] = "out of memory";
  struct Case {
    int length;
    std::string want;
  };
  for (const Case &c : {Case{20, "out of memory       "}, Case{13, "out of memory"}, Case{5, "out o"},
                        Case{0, ""}, Case{-3, ""}}) {
    for (int entry = 0; entry < 2; ++entry) {
      gl_recorder::set_result(entry == 0 ? "gluErrorString" : "gluGetString", reinterpret_cast<std::uintptr_t>(kText));
      char buffer[32];
      std::memset(buffer, '#', sizeof buffer);
      const GLenum code = GLU_OUT_OF_MEMORY;
      const GLint n = entry == 0 ? fgluErrorStringC(&code, buffer, c.length) : fgluGetStringC(&code, buffer, c.length);
      EXPECT_EQ(n, 13);
      EXPECT_EQ(std::string(buffer, c.want.size()), c.want) << c.length;
      EXPECT_EQ(buffer[c.want.size()], '#') << "wrote past the CHARACTER argument";
    }
  }
  // No text: all blanks and 0.
  gl_recorder::set_result("gluErrorString", 0);
  char buffer[6] = "#####";
  const GLenum code = 12345;
  EXPECT_EQ(fgluErrorStringC(&code, buffer, 5), 0);
  EXPECT_STREQ(buffer, "     ");
}

TEST_F(Recorder, CheckExtensionPassesTheNameWithoutTrailingBlanksAndTheWholeList) {
  std::string name, list;
  gl_recorder::set_hook("gluCheckExtension", [&](const gl_recorder::Call &c) -> std::uint64_t {
    name = static_cast<const char *>(c.args[0].address());
    list = static_cast<const char *>(c.args[1].address());
    return 1;
  });
  const char n[] = "GLU_EXT_x   ", l[] = "GLU_EXT_y GLU_EXT_x  ";
  EXPECT_EQ(fgluCheckExtensionC(n, l, 12, 21), 1);
  EXPECT_EQ(name, "GLU_EXT_x");
  EXPECT_EQ(list, "GLU_EXT_y GLU_EXT_x  ");
  gl_recorder::set_result("gluCheckExtension", 0);
  EXPECT_EQ(fgluCheckExtensionC(n, l, 12, 21), 0);
}

// ---------------------------------------------------------------------------
// Images: the I4, I2 and P entries narrow the caller's items for byte and
// short types, pass other types through, write results back widened, and
// return GLU's result.

TEST_F(Recorder, ImageEntriesNarrowInAndWidenOutThroughOneGluCall) {
  gl_recorder::set_hook("glGetIntegerv", [](const gl_recorder::Call &c) -> std::uint64_t {
    GLint *out = static_cast<GLint *>(const_cast<void *>(c.args[1].address()));
    *out = c.args[0].as<GLenum>() == GL_UNPACK_ALIGNMENT || c.args[0].as<GLenum>() == GL_PACK_ALIGNMENT ? 1 : 0;
    return 0;
  });
  std::vector<unsigned char> seen;
  gl_recorder::set_hook("gluBuild2DMipmaps", [&](const gl_recorder::Call &c) -> std::uint64_t {
    const auto *p = static_cast<const unsigned char *>(c.args[6].address());
    seen.assign(p, p + 6);
    return 7;
  });
  const GLenum target = GL_TEXTURE_2D, format = GL_RGB, ubyte = GL_UNSIGNED_BYTE;
  const GLint ifmt = 3, w = 2, h = 1, n = 6;
  const GLint i4[] = {1, 2, 255, 256 + 4, -1, 5};
  const GLshort i2[] = {1, 2, 255, 4, -1, 5};
  const std::vector<unsigned char> want = {1, 2, 255, 4, 255, 5};
  EXPECT_EQ(fgluBuild2DMipmapsI4(&target, &ifmt, &w, &h, &format, &ubyte, i4, &n), 7);
  EXPECT_EQ(seen, want);
  EXPECT_EQ(fgluBuild2DMipmapsI2(&target, &ifmt, &w, &h, &format, &ubyte, i2, &n), 7);
  EXPECT_EQ(seen, want);
  EXPECT_EQ(fgluBuild2DMipmapsP(&target, &ifmt, &w, &h, &format, &ubyte, i4, &n), 7);
  EXPECT_EQ(seen, want);
  // A negative count reads nothing of the caller's: GLU sees zeros.
  const GLint negative = -5;
  EXPECT_EQ(fgluBuild2DMipmapsI4(&target, &ifmt, &w, &h, &format, &ubyte, i4, &negative), 7);
  EXPECT_EQ(seen, std::vector<unsigned char>(6, 0));
  // A 4-byte type passes the caller's array itself.
  const GLenum integer = GL_INT;
  gl_recorder::reset();
  fgluBuild2DMipmapsI4(&target, &ifmt, &w, &h, &format, &integer, i4, &n);
  ASSERT_EQ(count("gluBuild2DMipmaps"), 1u);
  EXPECT_EQ(last("gluBuild2DMipmaps").args[6].address(), static_cast<const void *>(i4));

  // Scale: bytes in, shorts out, both in I4 storage.
  gl_recorder::set_hook("gluScaleImage", [](const gl_recorder::Call &c) -> std::uint64_t {
    const auto *in = static_cast<const unsigned char *>(c.args[4].address());
    auto *out = static_cast<GLushort *>(const_cast<void *>(c.args[8].address()));
    for (int i = 0; i < 3; ++i) out[i] = static_cast<GLushort>(in[i] * 257);
    return 0;
  });
  const GLenum lum = GL_LUMINANCE, ushort = GL_UNSIGNED_SHORT;
  const GLint three = 3, one = 1, nout = 3;
  GLint out[4] = {9, 9, 9, 9};
  const GLint in[] = {1, 0x102, 255};
  EXPECT_EQ(fgluScaleImageI4(&lum, &three, &one, &ubyte, in, &three, &one, &ushort, out, &three, &nout), 0);
  EXPECT_EQ(out[0], 257);
  EXPECT_EQ(out[1], 2 * 257);
  EXPECT_EQ(out[2], 65535) << "unsigned shorts zero-extended";
  EXPECT_EQ(out[3], 9) << "wrote past the count";
}

}  // namespace
