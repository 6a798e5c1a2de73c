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
      {"GLubyte", 1},  {"GLboolean", 1}, {"GLint64", 8},   {"GLuint64", 8},
      {"GLintptr", 8}, {"GLsizeiptr", 8},
  };
  if (gl_type.find('*') != std::string::npos) return kPointer;
  auto w = widths.find(gl_type);
  return w == widths.end() ? 999 : w->second;  // 999: a type this table lacks
}

// One parameter of an expected row: the command's type and, when the entry
// reads it from other storage (expected_entries.py: "T@W", "T@WxN", "T@W#K",
// "T@W<"), that storage.
struct ParamSpec {
  std::string type;         // the command's parameter type
  unsigned storage = 0;     // bytes per element of the caller's storage; 0: the type itself
  unsigned elements = 0;    // a vector of narrow values: how many (0: not a vector)
  int count_param = -1;     // an array of offsets: the parameter holding their number
  bool received = false;    // an array OpenGL fills, received into the caller's elements
  unsigned width() const { return width_of(type); }
  bool converted() const { return storage != 0; }
  bool vector() const { return elements > 0; }
  // Bytes of the caller's storage the entry reads (or, for a plain pointer,
  // 0: the address is handed on).
  unsigned storage_bytes() const { return converted() ? storage * std::max(elements, 1u) : width(); }
};

ParamSpec spec_of(const std::string &text) {
  ParamSpec p;
  auto at = text.find('@');
  p.type = text.substr(0, at);
  if (at == std::string::npos) return p;
  std::string rest = text.substr(at + 1);
  p.storage = static_cast<unsigned>(std::stoul(rest));
  if (auto x = rest.find('x'); x != std::string::npos) p.elements = static_cast<unsigned>(std::stoul(rest.substr(x + 1)));
  if (auto k = rest.find('#'); k != std::string::npos) p.count_param = std::stoi(rest.substr(k + 1));
  p.received = rest.back() == '<';
  return p;
}

// The element type of a pointer type ("const GLubyte *" -> "GLubyte").
std::string pointee(const std::string &t) {
  std::string s = t;
  if (s.rfind("const ", 0) == 0) s = s.substr(6);
  while (!s.empty() && (s.back() == '*' || s.back() == ' ')) s.pop_back();
  return s;
}

std::string squashed(std::string s) {
  s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
  return s;
}

struct Expected {
  std::string command;
  std::string result;
  std::vector<std::string> params;  // the command's parameter types
  std::vector<ParamSpec> specs;     // with the storage the entry reads them from
  bool counted = false;             // the entry takes the count of received values last
};

// The rows of expected_forwarding.inc as plain constant data (cheap to
// compile), turned into a map on first use.
struct ExpectedRow {
  const char *entry, *command, *result;
  const char *params[16];
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
      Expected e{row.command, row.result, {}, {}};
      for (const char *p : row.params)
        if (p && p[0] == '+') {
          e.counted = true;
        } else if (p) {
          e.specs.push_back(spec_of(p));
          e.params.push_back(e.specs.back().type);
        }
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
      std::size_t size = exact ? std::max(widths[i], 1u) : std::max(widths[i], 16u);
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
  // Gives argument i a chosen value (an item count that must be small).
  void set(std::size_t i, std::int32_t value) {
    std::memcpy(patterns[i].data(), &value, sizeof value);
    std::memcpy(blocks[i].data(), &value, sizeof value);
  }
  // Element j of argument i, read from `width` bytes and sign-extended.
  std::int64_t signed_element(std::size_t i, unsigned width, std::size_t j) const {
    std::int64_t v = 0;
    const unsigned char *p = patterns[i].data() + width * j;
    if (width == 8) {
      std::memcpy(&v, p, 8);
    } else if (width == 4) {
      std::int32_t w;
      std::memcpy(&w, p, 4);
      v = w;
    } else {
      std::int16_t w;
      std::memcpy(&w, p, 2);
      v = w;
    }
    return v;
  }
  bool untouched(std::size_t i) const {
    return std::memcmp(blocks[i].data(), patterns[i].data(), patterns[i].size()) == 0;
  }
};

// Result bits that the stand-in returns; the low byte has its top bit set so
// that sign extension of a boolean would show.
constexpr std::uint64_t kResultBits = 0xfeedc0de8badf0a5ull;

// Received values: the caller holds kReceivedCount elements, the command
// writes the first kReceivedWritten of these (their low bytes for booleans).
constexpr unsigned kReceivedCount = 3;
constexpr unsigned kReceivedWritten = 2;
constexpr std::uint64_t kReceivedBits[kReceivedWritten] = {0x123456789abcdef1ull, 0xfffffffffffffff5ull};

// Calls `entry` with `storage` and checks the one recorded call against the
// command and the parameters given: a plain parameter arrives at its width
// with the caller's bits (a pointer: the address unchanged); one read from
// other storage arrives as that storage's value, sign-extended (an offset:
// as the address), its vector narrowed element by element, its array of
// offsets widened.
void check_call(const Entry &entry, const std::string &command, const std::vector<ParamSpec> &specs,
                const Storage &storage) {
  gl_recorder::reset();
  // What the command saw behind its pointers, copied while it ran.
  std::vector<std::vector<std::int64_t>> seen(specs.size());
  gl_recorder::set_hook(command, [&](const gl_recorder::Call &call) {
    for (std::size_t i = 0; i < specs.size() && i < call.args.size(); ++i) {
      const ParamSpec &p = specs[i];
      if (p.received && call.args[i].pointer) {
        // OpenGL writes fewer values than the caller holds elements.
        auto *to = static_cast<unsigned char *>(const_cast<void *>(call.args[i].address()));
        const unsigned w = width_of(pointee(p.type));
        for (unsigned j = 0; j < kReceivedWritten; ++j) std::memcpy(to + w * j, &kReceivedBits[j], w);
        continue;
      }
      if (!p.converted() || !call.args[i].pointer) continue;
      if (p.vector()) {
        const unsigned w = width_of(pointee(p.type));
        for (unsigned j = 0; j < p.elements; ++j) {
          std::uint64_t v = 0;
          std::memcpy(&v, static_cast<const unsigned char *>(call.args[i].address()) + w * j, w);
          seen[i].push_back(static_cast<std::int64_t>(v));
        }
      } else if (p.count_param >= 0) {
        const std::int32_t n = call.args[p.count_param].as<std::int32_t>();
        const auto *addresses = static_cast<const void *const *>(call.args[i].address());
        for (std::int32_t j = 0; j < n; ++j)
          seen[i].push_back(static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(addresses[j])));
      }
    }
    return kResultBits;
  });
  entry.invoke(storage.addresses.data());
  // The hook refers to this call's locals: a later call gets the plain result.
  gl_recorder::set_result(command, kResultBits);
  const auto &calls = gl_recorder::calls();
  ASSERT_EQ(calls.size(), 1u) << entry.name << " must call exactly one command once";
  const gl_recorder::Call &call = calls[0];
  EXPECT_EQ(call.command, command) << entry.name;
  ASSERT_EQ(call.args.size(), specs.size()) << entry.name;
  for (std::size_t i = 0; i < specs.size(); ++i) {
    const gl_recorder::Argument &a = call.args[i];
    const ParamSpec &p = specs[i];
    const std::string where = std::string(entry.name) + " argument " + std::to_string(i) + " (" + a.type + ")";
    if (p.received) {
      // A temporary of OpenGL's type; each value the caller holds an element
      // for arrives as its low 32 bits (a boolean zero-extended, since
      // the stand-in's booleans are bytes), the others keep the caller's bits.
      EXPECT_TRUE(a.pointer) << where;
      EXPECT_NE(a.address(), storage.addresses[i]) << where << ": the caller's 4-byte elements handed to OpenGL";
      const unsigned w = width_of(pointee(p.type));
      for (unsigned j = 0; j < kReceivedCount; ++j) {
        std::int32_t got;
        std::memcpy(&got, static_cast<const unsigned char *>(storage.addresses[i]) + 4 * j, 4);
        const std::uint64_t mask = w == 8 ? ~0ull : (1ull << (8 * w)) - 1;
        const std::int64_t want = j < kReceivedWritten ? static_cast<std::int32_t>(kReceivedBits[j] & mask)
                                                       : storage.signed_element(i, 4, j);
        EXPECT_EQ(got, want) << where << " element " << j;
      }
      continue;
    }
    if (p.vector()) {
      const unsigned w = width_of(pointee(p.type));
      ASSERT_EQ(seen[i].size(), p.elements) << where;
      for (unsigned j = 0; j < p.elements; ++j) {
        const std::uint64_t mask = (1ull << (8 * w)) - 1;
        EXPECT_EQ(static_cast<std::uint64_t>(seen[i][j]) & mask,
                  static_cast<std::uint64_t>(storage.signed_element(i, p.storage, j)) & mask)
            << where << " element " << j << ": not the low bits of the caller's element";
      }
    } else if (p.count_param >= 0 && p.storage != 8) {
      const std::int32_t n = call.args[p.count_param].as<std::int32_t>();
      ASSERT_EQ(seen[i].size(), static_cast<std::size_t>(n)) << where;
      for (std::int32_t j = 0; j < n; ++j)
        EXPECT_EQ(seen[i][j], storage.signed_element(i, p.storage, j)) << where << " offset " << j;
    } else if (p.count_param >= 0 || (!p.converted() && p.width() == kPointer)) {
      // An array of 8-byte offsets is handed on as the array of addresses it is.
      EXPECT_TRUE(a.pointer) << where;
      EXPECT_EQ(a.address(), storage.addresses[i]) << where << ": address not passed unchanged";
    } else if (p.converted()) {
      EXPECT_EQ(a.pointer, p.width() == kPointer) << where;
      EXPECT_EQ(a.width, 8u) << where;
      EXPECT_EQ(static_cast<std::int64_t>(a.bits), storage.signed_element(i, p.storage, 0))
          << where << ": not the caller's " << p.storage << "-byte value sign-extended";
    } else {
      EXPECT_FALSE(a.pointer) << where;
      EXPECT_EQ(a.width, p.width()) << where;
      EXPECT_EQ(a.bits, storage.low_bits(i, p.width())) << where << ": wrong bits, a read of the wrong width or order";
    }
    EXPECT_TRUE(storage.untouched(i)) << entry.name << " wrote through argument " << i;
  }
}

// The storage a call of an entry with these parameters needs: each
// argument's bytes, and a small count behind a count of offsets.
// An entry that receives values takes their count last: kReceivedCount.
Storage storage_for(const std::vector<ParamSpec> &specs, bool exact, unsigned char salt = 0, bool counted = false) {
  std::vector<unsigned> widths;
  for (const ParamSpec &p : specs)
    widths.push_back(p.count_param >= 0 ? p.storage * 3 : p.received ? 4 * kReceivedCount : p.storage_bytes());
  if (counted) widths.push_back(4);
  Storage storage(widths, exact, salt);
  for (const ParamSpec &p : specs)
    if (p.count_param >= 0) storage.set(p.count_param, 3);
  if (counted) storage.set(specs.size(), kReceivedCount);
  return storage;
}

std::vector<ParamSpec> plain_specs(const std::vector<unsigned> &widths) {
  std::vector<ParamSpec> specs;
  for (unsigned w : widths) {
    ParamSpec p;
    p.type = w == kPointer ? "const void *" : w == 8 ? "GLdouble" : w == 2 ? "GLshort" : w == 1 ? "GLubyte" : "GLint";
    specs.push_back(p);
  }
  return specs;
}

std::vector<unsigned> expected_widths(const Expected &e) {
  std::vector<unsigned> w;
  for (const std::string &t : e.params) w.push_back(width_of(t));
  return w;
}

// ---------------------------------------------------------------------------
// The set of entries.

// 435 entries of OpenGL 1.0 to 1.3 as before, 18 offset entries of its array
// and draw-elements commands, 32 of its pixel and compressed-image commands,
// 438 entries of OpenGL 1.4 to 3.3, 431 of OpenGL 4.0 to 4.6 (320 unsuffixed,
// 66 I4, 9 I1, 18 Offset, 18 OffsetI4).
constexpr std::size_t kForwardingEntries = 1354;

TEST(ForwardingTable, GeneratedListIsTheExpectedSet) {
  std::set<std::string> generated, wanted;
  for (const Entry &e : entries()) EXPECT_TRUE(generated.insert(e.name).second) << e.name << " listed twice";
  for (const auto &[name, e] : expected_entries()) wanted.insert(name);
  EXPECT_EQ(std::size(kEntries), kForwardingEntries);
  EXPECT_EQ(wanted.size(), kForwardingEntries);
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
    ASSERT_EQ(entry->arity, want.params.size() + want.counted)
        << "one parameter per parameter of " << want.command << " (and a count of received values)";
    Storage storage = storage_for(want.specs, exact, 0, want.counted);
    check_call(*entry, want.command, want.specs, storage);
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
      unsigned w = width_of(want.result) == kPointer ? sizeof(void *) : width_of(want.result);
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
      check_call(*entry, row.command, plain_specs(row.widths), storage);
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
// Storage-variant families: every entry of a family that reads what the
// unsuffixed entry reads (the narrow scalars' I4 and I2 names, I1) makes the
// same call.

bool reads_as_unsuffixed(const Entry &e) {
  for (const ParamSpec &p : expected_entries().at(e.name).specs)
    if (p.converted()) return false;
  return true;
}

TEST(StorageVariants, EveryEntryOfAFamilyMakesTheSameCall) {
  std::map<std::string, std::vector<const Entry *>> families;
  for (const Entry &e : entries())
    if (reads_as_unsuffixed(e)) families[e.command].push_back(&e);
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
  EXPECT_EQ(multi, 136);  // 45 commands of OpenGL 1.0 to 1.3, 42 of 1.4 to 3.3, 49 of 4.0 to 4.6
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

namespace {

// ---------------------------------------------------------------------------
// The families of OpenGL 1.4 to 3.3 on values the table's patterns do not
// reach: negative INTEGER*4 sizes and offsets, elements beyond OpenGL's width.

TEST(StorageFamilies, FourByteSizesAndOffsetsAreSignExtended) {
  gl_recorder::reset();
  const GLenum target = GL_ARRAY_BUFFER;
  const GLint offset = -1, size = 0x7fffffff;
  GLint data = 0;
  fglBufferSubDataI4(&target, &offset, &size, &data);
  const GLint element_offset = -8;
  const GLenum mode = GL_TRIANGLES, type = GL_UNSIGNED_INT;
  const GLsizei count = 6;
  fglDrawElementsOffsetI4(&mode, &count, &type, &element_offset);
  const GLint64 far_offset = 0x123456789ll;
  fglDrawElementsOffset(&mode, &count, &type, &far_offset);
  const auto &c = gl_recorder::calls();
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(c[0].args[1].as<GLintptr>(), -1);
  EXPECT_EQ(c[0].args[2].as<GLsizeiptr>(), 0x7fffffff);
  EXPECT_EQ(c[0].args[3].address(), &data);
  EXPECT_EQ(c[1].args[3].bits, static_cast<std::uint64_t>(-8ll));
  EXPECT_EQ(c[2].args[3].bits, 0x123456789ull);
}

TEST(StorageFamilies, NarrowVectorsArriveAsTheLowBitsOfEachElement) {
  const GLuint index = 2;
  const GLint bytes[4] = {300, -1, 128, 0};
  const GLshort short_bytes[4] = {-129, 255, 256, 1};
  const GLint shorts[4] = {70000, -2, 32768, 5};
  std::vector<std::vector<std::uint64_t>> seen;
  gl_recorder::reset();
  auto keep = [&](unsigned width) {
    return [&seen, width](const gl_recorder::Call &call) -> std::uint64_t {
      std::vector<std::uint64_t> v(4);
      for (unsigned j = 0; j < 4; ++j)
        std::memcpy(&v[j], static_cast<const unsigned char *>(call.args[1].address()) + width * j, width);
      seen.push_back(v);
      return 0;
    };
  };
  gl_recorder::set_hook("glVertexAttrib4Nubv", keep(1));
  gl_recorder::set_hook("glVertexAttribI4sv", keep(2));
  fglVertexAttrib4NubvI4(&index, bytes);
  fglVertexAttrib4NubvI2(&index, short_bytes);
  fglVertexAttribI4svI4(&index, shorts);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], (std::vector<std::uint64_t>{44, 255, 128, 0}));
  EXPECT_EQ(seen[1], (std::vector<std::uint64_t>{127, 255, 0, 1}));
  EXPECT_EQ(seen[2], (std::vector<std::uint64_t>{4464, 0xfffe, 0x8000, 5}));
  EXPECT_EQ(gl_recorder::calls()[0].args[0].as<GLuint>(), 2u);
}

TEST(StorageFamilies, MultiDrawOffsetsInFourBytesAreWidenedAndEightBytesHandedOn) {
  const GLenum mode = GL_TRIANGLES, type = GL_UNSIGNED_SHORT;
  const GLsizei counts[3] = {3, 6, 9};
  const GLint offsets4[3] = {0, 16, -4};
  const GLint64 offsets8[3] = {0, 16, 1ll << 40};
  std::vector<std::uintptr_t> seen;
  gl_recorder::reset();
  gl_recorder::set_hook("glMultiDrawElements", [&](const gl_recorder::Call &call) -> std::uint64_t {
    const auto *p = static_cast<const void *const *>(call.args[3].address());
    for (GLsizei j = 0; j < call.args[4].as<GLsizei>(); ++j) seen.push_back(reinterpret_cast<std::uintptr_t>(p[j]));
    return 0;
  });
  for (GLsizei drawcount : {3, 0, -1}) fglMultiDrawElementsOffsetI4(&mode, counts, &type, offsets4, &drawcount);
  const GLsizei three = 3;
  fglMultiDrawElementsOffset(&mode, counts, &type, offsets8, &three);
  const auto &c = gl_recorder::calls();
  ASSERT_EQ(c.size(), 4u);
  EXPECT_EQ(seen, (std::vector<std::uintptr_t>{0, 16, static_cast<std::uintptr_t>(-4), 0, 16, std::uintptr_t{1} << 40}));
  EXPECT_EQ(c[2].args[4].as<GLsizei>(), -1) << "a negative count reaches OpenGL, which reports it";
  EXPECT_EQ(c[3].args[3].address(), offsets8);
  EXPECT_EQ(c[0].args[1].address(), counts);
}

}  // namespace

namespace {

// ---------------------------------------------------------------------------
// Sync handles: INTEGER*4 numbers of the layer's table in place of GLsync.

TEST(SyncHandles, FencesGetSmallHandlesThatReachOpenGLAsTheirObjects) {
  gl_recorder::reset();
  const GLenum condition = GL_SYNC_GPU_COMMANDS_COMPLETE;
  const GLbitfield flags = 0;
  gl_recorder::set_result("glFenceSync", 0x5000);
  const GLint first = fglFenceSync(&condition, &flags);
  gl_recorder::set_result("glFenceSync", 0x6000);
  const GLint second = fglFenceSync(&condition, &flags);
  EXPECT_GT(first, 0);
  EXPECT_EQ(second, first + 1);

  gl_recorder::set_result("glClientWaitSync", GL_CONDITION_SATISFIED);
  const GLint forever = -1, half_second = 500000000;
  EXPECT_EQ(fglClientWaitSyncI4(&second, &flags, &forever), static_cast<GLenum>(GL_CONDITION_SATISFIED));
  fglWaitSyncI4(&first, &flags, &half_second);
  const GLuint64 long_wait = 5000000000ull;
  fglClientWaitSync(&first, &flags, &long_wait);
  const auto &c = gl_recorder::calls();
  ASSERT_EQ(c.size(), 5u);
  EXPECT_EQ(c[2].args[0].bits, 0x6000u);
  EXPECT_EQ(c[2].args[2].bits, GL_TIMEOUT_IGNORED) << "INTEGER*4 -1 is sign-extended";
  EXPECT_EQ(c[3].command, "glWaitSync");
  EXPECT_EQ(c[3].args[0].bits, 0x5000u);
  EXPECT_EQ(c[3].args[2].bits, 500000000u);
  EXPECT_EQ(c[4].args[2].bits, 5000000000ull);

  gl_recorder::reset();
  fglDeleteSync(&first);
  fglDeleteSync(&second);
  ASSERT_EQ(gl_recorder::calls().size(), 2u);
  EXPECT_EQ(gl_recorder::calls()[0].args[0].bits, 0x5000u);
}

TEST(SyncHandles, UnknownAndDeletedHandlesReachNoCommandAndRecordInvalidValue) {
  gl_recorder::reset();
  const GLenum condition = GL_SYNC_GPU_COMMANDS_COMPLETE;
  const GLbitfield flags = 0;
  gl_recorder::set_result("glFenceSync", 0x7000);
  const GLint fence = fglFenceSync(&condition, &flags);
  fglDeleteSync(&fence);
  gl_recorder::reset();
  const GLint never = 1 << 30, negative = -3, forever = -1;
  for (GLint handle : {fence, never, negative}) {
    EXPECT_EQ(fglClientWaitSyncI4(&handle, &flags, &forever), static_cast<GLenum>(GL_WAIT_FAILED));
    EXPECT_EQ(fglGetError(), static_cast<GLenum>(GL_INVALID_VALUE)) << handle;
    fglWaitSyncI4(&handle, &flags, &forever);
    fglDeleteSync(&handle);
    GLint value = -9;
    GLsizei length = -9;
    const GLenum pname = GL_SYNC_STATUS;
    const GLsizei one = 1;
    fglGetSynciv(&handle, &pname, &one, &length, &value);
    EXPECT_EQ(value, -9);
    // Held once, as OpenGL holds one error of each kind.
    EXPECT_EQ(fglGetError(), static_cast<GLenum>(GL_INVALID_VALUE)) << handle;
    EXPECT_EQ(fglGetError(), static_cast<GLenum>(GL_NO_ERROR)) << handle;
    // Not a sync object: false, as glIsSync answers, and no error.
    EXPECT_EQ(fglIsSync(&handle), GL_FALSE);
    EXPECT_EQ(fglIsSyncI4(&handle), 0);
    EXPECT_EQ(fglGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
  const GLint zero = 0;
  fglDeleteSync(&zero);  // like glDeleteSync(0): nothing, no error
  EXPECT_EQ(fglGetError(), static_cast<GLenum>(GL_NO_ERROR));
  for (const auto &call : gl_recorder::calls()) EXPECT_EQ(call.command, "glGetError");
}

}  // namespace
