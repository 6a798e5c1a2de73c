// Every forwarding entry against the recording libGL: the command it calls,
// how often, and each argument's width and raw bits.
//
// The entries come from the generated list (fgl_forward.inc); what each entry
// must do comes from the expected table (expected_forwarding.inc, derived from
// the registry by expected_entries.py) and the width table below, and for the
// rows that are easy to get wrong from widths written out by hand here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fgl.h"
#include "gl_recorder.h"
#include "guarded_storage.h"

namespace {

// ---------------------------------------------------------------------------
// The expected behaviour: bytes read per OpenGL scalar type.

constexpr unsigned kPointer = 0;  // a pointer parameter: passed on, not read

unsigned width_of(const std::string &gl_type) {
  static const std::map<std::string, unsigned> widths = {
      {"GLenum", 4},   {"GLbitfield", 4}, {"GLint", 4},     {"GLuint", 4},
      {"GLsizei", 4},  {"GLfloat", 4},    {"GLclampf", 4},  {"GLdouble", 8},
      {"GLclampd", 8}, {"GLshort", 2},    {"GLushort", 2},  {"GLbyte", 1},
      {"GLubyte", 1},  {"GLboolean", 1},
  };
  if (gl_type.find('*') != std::string::npos) return kPointer;
  auto w = widths.find(gl_type);
  return w == widths.end() ? 999 : w->second;  // 999: a type this table lacks
}

std::string squashed(std::string s) {
  s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
  return s;
}

struct Expected {
  std::string command;
  std::string result;
  std::vector<std::string> params;
};

// The rows of expected_forwarding.inc as plain constant data (cheap to
// compile), turned into a map on first use.
struct ExpectedRow {
  const char *entry, *command, *result;
  const char *params[12];
};
constexpr ExpectedRow kExpectedRows[] = {
#define FGL_EXPECTED(entry, command, result, ...) {#entry, #command, result, {__VA_ARGS__}},
#include "expected_forwarding.inc"
#undef FGL_EXPECTED
};

const std::map<std::string, Expected> &expected_entries() {
  static const std::map<std::string, Expected> table = [] {
    std::map<std::string, Expected> t;
    for (const ExpectedRow &row : kExpectedRows) {
      Expected e{row.command, row.result, {}};
      for (const char *p : row.params)
        if (p) e.params.emplace_back(p);
      t.emplace(row.entry, std::move(e));
    }
    return t;
  }();
  return table;
}

// ---------------------------------------------------------------------------
// The entries under test, each wrapped by a template over its function type.

struct Outcome {
  std::uint64_t result_bits = 0;
  unsigned result_width = 0;  // sizeof the entry's result, 0 for void
};

struct Entry {
  const char *name;
  const char *command;  // as the generated list names it
  std::size_t arity;
  Outcome (*invoke)(void *const *args);
};

template <auto Fn, typename R, typename... P, std::size_t... I>
Outcome invoke_with(void *const *args, std::index_sequence<I...>) {
  Outcome o;
  if constexpr (std::is_void_v<R>) {
    Fn(static_cast<P>(args[I])...);
  } else {
    R r = Fn(static_cast<P>(args[I])...);
    static_assert(sizeof r <= sizeof o.result_bits);
    std::memcpy(&o.result_bits, &r, sizeof r);
    o.result_width = sizeof r;
  }
  return o;
}

template <typename F>
struct Signature;
template <typename R, typename... P>
struct Signature<R (*)(P...)> {
  template <auto Fn>
  static constexpr Entry make(const char *name, const char *command) {
    return Entry{name, command, sizeof...(P),
                 [](void *const *args) { return invoke_with<Fn, R, P...>(args, std::index_sequence_for<P...>{}); }};
  }
};

constexpr Entry kEntries[] = {
#define FGL_FORWARD(entry, fortran_name, command, result, params, args) \
  Signature<decltype(&entry)>::make<&entry>(#entry, #command),
#include "fgl_forward.inc"
#undef FGL_FORWARD
};

const auto &entries() { return kEntries; }

const Entry *find_entry(const std::string &name) {
  for (const Entry &e : entries())
    if (name == e.name) return &e;
  return nullptr;
}

// ---------------------------------------------------------------------------
// Argument storage and the check of one recorded call.

// One buffer per argument, each ending just before a page without access.
// Generous storage: 16 distinct bytes behind every argument, so that a read
// of the wrong width shows up as wrong bits. Exact storage: exactly the width
// read, so that any wider read faults (in every build).
struct Storage {
  std::vector<guarded::Block> blocks;
  std::vector<void *> addresses;
  std::vector<std::vector<unsigned char>> patterns;

  Storage(const std::vector<unsigned> &widths, bool exact, unsigned char salt = 0) {
    for (std::size_t i = 0; i < widths.size(); ++i) {
      std::size_t size = exact ? std::max(widths[i], 1u) : 16;
      std::vector<unsigned char> pattern(size);
      // Distinct bytes that never form a NaN, an infinity or a denormal in
      // single or double precision.
      for (std::size_t j = 0; j < size; ++j) pattern[j] = static_cast<unsigned char>(0x10 * (i + 1) + j + salt);
      blocks.emplace_back(size);
      std::memcpy(blocks.back().data(), pattern.data(), size);
      addresses.push_back(blocks.back().data());
      patterns.push_back(std::move(pattern));
    }
  }
  std::uint64_t low_bits(std::size_t i, unsigned width) const {
    std::uint64_t v = 0;
    std::memcpy(&v, patterns[i].data(), width);
    return v;
  }
  bool untouched(std::size_t i) const {
    return std::memcmp(blocks[i].data(), patterns[i].data(), patterns[i].size()) == 0;
  }
};

// Result bits that the stand-in returns; the low byte has its top bit set so
// that sign extension of a boolean would show.
constexpr std::uint64_t kResultBits = 0xfeedc0de8badf0a5ull;

// Calls `entry` with `storage` and checks the one recorded call against the
// command and per-argument widths given (kPointer: the address unchanged).
void check_call(const Entry &entry, const std::string &command, const std::vector<unsigned> &widths,
                const Storage &storage) {
  gl_recorder::reset();
  gl_recorder::set_result(command, kResultBits);
  Outcome outcome = entry.invoke(storage.addresses.data());
  const auto &calls = gl_recorder::calls();
  ASSERT_EQ(calls.size(), 1u) << entry.name << " must call exactly one command once";
  const gl_recorder::Call &call = calls[0];
  EXPECT_EQ(call.command, command) << entry.name;
  ASSERT_EQ(call.args.size(), widths.size()) << entry.name;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    const gl_recorder::Argument &a = call.args[i];
    if (widths[i] == kPointer) {
      EXPECT_TRUE(a.pointer) << entry.name << " argument " << i;
      EXPECT_EQ(a.address(), storage.addresses[i]) << entry.name << " argument " << i << ": address not passed unchanged";
    } else {
      EXPECT_FALSE(a.pointer) << entry.name << " argument " << i;
      EXPECT_EQ(a.width, widths[i]) << entry.name << " argument " << i << " (" << a.type << ")";
      EXPECT_EQ(a.bits, storage.low_bits(i, widths[i]))
          << entry.name << " argument " << i << " (" << a.type << "): wrong bits, a read of the wrong width or order";
    }
    EXPECT_TRUE(storage.untouched(i)) << entry.name << " wrote through argument " << i;
  }
  (void)outcome;
}

std::vector<unsigned> expected_widths(const Expected &e) {
  std::vector<unsigned> w;
  for (const std::string &t : e.params) w.push_back(width_of(t));
  return w;
}

// ---------------------------------------------------------------------------
// The set of entries.

TEST(ForwardingTable, GeneratedListIsTheExpected435) {
  std::set<std::string> generated, wanted;
  for (const Entry &e : entries()) EXPECT_TRUE(generated.insert(e.name).second) << e.name << " listed twice";
  for (const auto &[name, e] : expected_entries()) wanted.insert(name);
  EXPECT_EQ(std::size(kEntries), 435u);
  EXPECT_EQ(wanted.size(), 435u);
  for (const std::string &n : wanted) EXPECT_TRUE(generated.count(n)) << n << " missing from the generated list";
  for (const std::string &n : generated) EXPECT_TRUE(wanted.count(n)) << n << " generated but not expected";
}

TEST(ForwardingTable, EveryParameterTypeHasAKnownWidth) {
  for (const auto &[name, e] : expected_entries())
    for (const std::string &t : e.params) EXPECT_NE(width_of(t), 999u) << name << ": " << t;
}

// ---------------------------------------------------------------------------
// Each entry: command, arity, widths, bits, result.

class EachEntry : public ::testing::TestWithParam<std::string> {
 protected:
  void run(bool exact) {
    const Entry *entry = find_entry(GetParam());
    ASSERT_NE(entry, nullptr);
    auto e = expected_entries().find(entry->name);
    ASSERT_NE(e, expected_entries().end()) << entry->name << " is not an expected forwarding entry";
    const Expected &want = e->second;
    EXPECT_EQ(entry->command, want.command) << "the generated list names the wrong command";
    ASSERT_EQ(entry->arity, want.params.size()) << "one parameter per parameter of " << want.command;
    std::vector<unsigned> widths = expected_widths(want);
    Storage storage(widths, exact);
    check_call(*entry, want.command, widths, storage);
    for (std::size_t i = 0; i < gl_recorder::calls().at(0).args.size() && i < want.params.size(); ++i)
      EXPECT_EQ(squashed(gl_recorder::calls()[0].args[i].type), squashed(want.params[i])) << "parameter " << i;

    // The result: unchanged, or for the I4 boolean results zero-extended.
    gl_recorder::reset();
    gl_recorder::set_result(want.command, kResultBits);
    Outcome o = entry->invoke(storage.addresses.data());
    bool widened = want.result == "GLboolean" && std::string_view(entry->name).ends_with("I4");
    if (want.result == "void") {
      EXPECT_EQ(o.result_width, 0u);
    } else if (widened) {
      EXPECT_EQ(o.result_width, 4u);
      EXPECT_EQ(o.result_bits, kResultBits & 0xff) << "boolean not zero-extended to 32 bits";
    } else {
      unsigned w = width_of(want.result);
      ASSERT_EQ(o.result_width, w) << "result type of " << want.command << " is " << want.result;
      EXPECT_EQ(o.result_bits, kResultBits & (w == 8 ? ~0ull : (1ull << (8 * w)) - 1));
    }
  }
};

TEST_P(EachEntry, ReadsEachArgumentAtItsWidthAndCallsOnce) { run(false); }
TEST_P(EachEntry, ReadsNoMoreThanItsWidthFromExactStorage) { run(true); }

std::vector<std::string> entry_names() {
  std::vector<std::string> names;
  for (const Entry &e : entries()) names.push_back(e.name);
  return names;
}

INSTANTIATE_TEST_SUITE_P(AllForwardingEntries, EachEntry, ::testing::ValuesIn(entry_names()),
                         [](const ::testing::TestParamInfo<std::string> &info) { return info.param; });

// ---------------------------------------------------------------------------
// Rows checked against widths written out here, not taken from any table.

struct Row {
  const char *entry;
  const char *command;
  std::vector<unsigned> widths;
  unsigned result_width;  // 0: none
};

const std::vector<Row> kRows = {
    {"fglMap2d", "glMap2d", {4, 8, 8, 4, 4, 8, 8, 4, 4, kPointer}, 0},
    {"fglMap2f", "glMap2f", {4, 4, 4, 4, 4, 4, 4, 4, 4, kPointer}, 0},
    {"fglMap1d", "glMap1d", {4, 8, 8, 4, 4, kPointer}, 0},
    {"fglMapGrid2d", "glMapGrid2d", {4, 8, 8, 4, 8, 8}, 0},
    {"fglMapGrid1d", "glMapGrid1d", {4, 8, 8}, 0},
    {"fglTexGend", "glTexGend", {4, 4, 8}, 0},
    {"fglBitmap", "glBitmap", {4, 4, 4, 4, 4, 4, kPointer}, 0},
    {"fglLineStipple", "glLineStipple", {4, 2}, 0},
    {"fglLineStippleI4", "glLineStipple", {4, 2}, 0},
    {"fglRectsv", "glRectsv", {kPointer, kPointer}, 0},
    {"fglRectdv", "glRectdv", {kPointer, kPointer}, 0},
    {"fglClearDepth", "glClearDepth", {8}, 0},
    {"fglDepthRange", "glDepthRange", {8, 8}, 0},
    {"fglOrtho", "glOrtho", {8, 8, 8, 8, 8, 8}, 0},
    {"fglFrustum", "glFrustum", {8, 8, 8, 8, 8, 8}, 0},
    {"fglClearIndex", "glClearIndex", {4}, 0},
    {"fglPassThrough", "glPassThrough", {4}, 0},
    {"fglColor3ub", "glColor3ub", {1, 1, 1}, 0},
    {"fglColor3ubI4", "glColor3ub", {1, 1, 1}, 0},
    {"fglColor3ubI2", "glColor3ub", {1, 1, 1}, 0},
    {"fglColor4bI2", "glColor4b", {1, 1, 1, 1}, 0},
    {"fglNormal3bI4", "glNormal3b", {1, 1, 1}, 0},
    {"fglVertex2sI4", "glVertex2s", {2, 2}, 0},
    {"fglRectsI4", "glRects", {2, 2, 2, 2}, 0},
    {"fglIndexsI4", "glIndexs", {2}, 0},
    {"fglColor4usI4", "glColor4us", {2, 2, 2, 2}, 0},
    {"fglColorMaskI4", "glColorMask", {1, 1, 1, 1}, 0},
    {"fglDepthMaskI4", "glDepthMask", {1}, 0},
    {"fglEdgeFlagI4", "glEdgeFlag", {1}, 0},
    {"fglTexImage2DI1", "glTexImage2D", {4, 4, 4, 4, 4, 4, 4, 4, kPointer}, 0},
    {"fglCallListsI1", "glCallLists", {4, 4, kPointer}, 0},
    {"fglIsEnabled", "glIsEnabled", {4}, 1},
    {"fglIsEnabledI4", "glIsEnabled", {4}, 4},
    {"fglIsList", "glIsList", {4}, 1},
    {"fglIsListI4", "glIsList", {4}, 4},
    {"fglGenLists", "glGenLists", {4}, 4},
    {"fglRenderMode", "glRenderMode", {4}, 4},
};

TEST(HandWrittenRows, WidthsAndResults) {
  for (const Row &row : kRows) {
    SCOPED_TRACE(row.entry);
    const Entry *entry = find_entry(row.entry);
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(entry->arity, row.widths.size());
    for (bool exact : {false, true}) {
      Storage storage(row.widths, exact);
      check_call(*entry, row.command, row.widths, storage);
      Outcome o = entry->invoke(storage.addresses.data());
      EXPECT_EQ(o.result_width, row.result_width);
    }
  }
}

TEST(HandWrittenRows, BooleanResultsAreZeroExtendedOnlyInI4) {
  for (const char *name : {"fglIsEnabledI4", "fglIsListI4"}) {
    const Entry *entry = find_entry(name);
    ASSERT_NE(entry, nullptr);
    Storage storage({4}, true);
    const char *command = entry->command;
    for (std::uint64_t r : {0x00ull, 0x01ull, 0xffull, 0xffffff80ull}) {
      gl_recorder::reset();
      gl_recorder::set_result(command, r);
      Outcome o = entry->invoke(storage.addresses.data());
      EXPECT_EQ(o.result_width, 4u) << name;
      EXPECT_EQ(o.result_bits, r & 0xff) << name << " with the command returning " << r;
    }
  }
  const Entry *plain = find_entry("fglIsEnabled");
  ASSERT_NE(plain, nullptr);
  Storage storage({4}, true);
  gl_recorder::reset();
  gl_recorder::set_result("glIsEnabled", 0x80);
  Outcome o = plain->invoke(storage.addresses.data());
  EXPECT_EQ(o.result_width, 1u);
  EXPECT_EQ(o.result_bits, 0x80u);
}

TEST(HandWrittenRows, SignedAndUnsignedResultsUnchanged) {
  Storage storage({4}, true);
  gl_recorder::reset();
  gl_recorder::set_result("glRenderMode", static_cast<std::uint32_t>(-7));
  EXPECT_EQ(fglRenderMode(static_cast<const GLenum *>(storage.addresses[0])), -7);
  gl_recorder::set_result("glGenLists", 0xfffffff0u);
  EXPECT_EQ(fglGenLists(static_cast<const GLsizei *>(storage.addresses[0])), 0xfffffff0u);
  gl_recorder::set_result("glGenLists", 0);
  EXPECT_EQ(fglGenLists(static_cast<const GLsizei *>(storage.addresses[0])), 0u);
}

// ---------------------------------------------------------------------------
// Storage-variant families: every entry of a family makes the same call.

TEST(StorageVariants, EveryEntryOfAFamilyMakesTheSameCall) {
  std::map<std::string, std::vector<const Entry *>> families;
  for (const Entry &e : entries()) families[e.command].push_back(&e);
  int multi = 0;
  for (const auto &[command, members] : families) {
    if (members.size() < 2) continue;
    ++multi;
    std::vector<unsigned> widths = expected_widths(expected_entries().at(members[0]->name));
    Storage storage(widths, false, 3);
    std::vector<std::vector<std::uint64_t>> seen;
    for (const Entry *e : members) {
      gl_recorder::reset();
      e->invoke(storage.addresses.data());
      ASSERT_EQ(gl_recorder::calls().size(), 1u) << e->name;
      std::vector<std::uint64_t> bits;
      for (const auto &a : gl_recorder::calls()[0].args) bits.push_back(a.bits);
      seen.push_back(bits);
      EXPECT_EQ(gl_recorder::calls()[0].command, command) << e->name;
    }
    for (std::size_t i = 1; i < seen.size(); ++i) EXPECT_EQ(seen[i], seen[0]) << members[i]->name << " vs " << members[0]->name;
  }
  EXPECT_EQ(multi, 45);
}

// Values held in wider storage arrive as their low 8 or 16 bits.
TEST(StorageVariants, WideStorageArrivesAsItsLowBits) {
  gl_recorder::reset();
  GLint rgb[3] = {300, 256, 255};
  fglColor3ubI4(reinterpret_cast<const GLubyte *>(&rgb[0]), reinterpret_cast<const GLubyte *>(&rgb[1]),
                reinterpret_cast<const GLubyte *>(&rgb[2]));
  GLshort sb[3] = {-1, 127, -128};
  fglColor3bI2(reinterpret_cast<const GLbyte *>(&sb[0]), reinterpret_cast<const GLbyte *>(&sb[1]),
               reinterpret_cast<const GLbyte *>(&sb[2]));
  GLint xy[2] = {70000, -2};
  fglVertex2sI4(reinterpret_cast<const GLshort *>(&xy[0]), reinterpret_cast<const GLshort *>(&xy[1]));
  GLint flag = 256;
  fglEdgeFlagI4(reinterpret_cast<const GLboolean *>(&flag));
  GLint factor = 3, pattern = 0x1f0f0f;
  fglLineStippleI4(&factor, reinterpret_cast<const GLushort *>(&pattern));

  const auto &c = gl_recorder::calls();
  ASSERT_EQ(c.size(), 5u);
  EXPECT_EQ(c[0].args[0].as<GLubyte>(), 44);
  EXPECT_EQ(c[0].args[1].as<GLubyte>(), 0);
  EXPECT_EQ(c[0].args[2].as<GLubyte>(), 255);
  EXPECT_EQ(c[1].args[0].as<GLbyte>(), -1);
  EXPECT_EQ(c[1].args[1].as<GLbyte>(), 127);
  EXPECT_EQ(c[1].args[2].as<GLbyte>(), -128);
  EXPECT_EQ(c[2].args[0].as<GLshort>(), 4464);
  EXPECT_EQ(c[2].args[1].as<GLshort>(), -2);
  EXPECT_EQ(c[3].args[0].as<GLboolean>(), GL_FALSE);
  EXPECT_EQ(c[4].args[0].as<GLint>(), 3);
  EXPECT_EQ(c[4].args[1].as<GLushort>(), 0x0f0f);
}

// Singles are never widened and doubles never narrowed: exact bits arrive.
TEST(StorageVariants, FloatingPointBitsArriveUnchanged) {
  gl_recorder::reset();
  GLfloat clamp = 1.5f, tiny = 1e-40f;  // out of [0,1] and a denormal
  GLfloat one = 1.0f;
  fglClearColor(&clamp, &tiny, &one, &one);
  GLdouble depth = 0.1;  // not representable as a single
  fglClearDepth(&depth);
  const auto &c = gl_recorder::calls();
  ASSERT_EQ(c.size(), 2u);
  EXPECT_EQ(c[0].args[0].as<GLfloat>(), 1.5f);
  EXPECT_EQ(c[0].args[1].width, 4u);
  std::uint32_t tiny_bits;
  std::memcpy(&tiny_bits, &tiny, 4);
  EXPECT_EQ(c[0].args[1].bits, tiny_bits);
  EXPECT_EQ(c[1].args[0].width, 8u);
  EXPECT_EQ(c[1].args[0].as<GLdouble>(), 0.1);
}

}  // namespace
