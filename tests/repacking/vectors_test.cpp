// Narrow-integer vector entries against the recording libGL: the exact
// components each command receives, for every entry of the table.
#include "recorder_fixture.h"

namespace repacking_test {
namespace {

struct VectorRow {
  const char *entry;
  const char *command;
  void (*call)(const void *elements);
  std::size_t element_width;    // the caller's element: 4 or 2 bytes
  std::size_t component_width;  // what the command reads: 1 or 2 bytes
  std::size_t k;
};

#define ROW(entry, command, Elem, component_width, k) \
  {#entry, #command, [](const void *v) { entry(static_cast<const Elem *>(v)); }, sizeof(Elem), component_width, k}

const VectorRow kVectorRows[] = {
    ROW(fglColor3bvI4, glColor3bv, GLint, 1, 3),           ROW(fglColor3bvI2, glColor3bv, GLshort, 1, 3),
    ROW(fglColor3ubvI4, glColor3ubv, GLint, 1, 3),         ROW(fglColor3ubvI2, glColor3ubv, GLshort, 1, 3),
    ROW(fglColor4bvI4, glColor4bv, GLint, 1, 4),           ROW(fglColor4bvI2, glColor4bv, GLshort, 1, 4),
    ROW(fglColor4ubvI4, glColor4ubv, GLint, 1, 4),         ROW(fglColor4ubvI2, glColor4ubv, GLshort, 1, 4),
    ROW(fglNormal3bvI4, glNormal3bv, GLint, 1, 3),         ROW(fglNormal3bvI2, glNormal3bv, GLshort, 1, 3),
    ROW(fglIndexubvI4, glIndexubv, GLint, 1, 1),           ROW(fglIndexubvI2, glIndexubv, GLshort, 1, 1),
    ROW(fglColor3svI4, glColor3sv, GLint, 2, 3),           ROW(fglColor3usvI4, glColor3usv, GLint, 2, 3),
    ROW(fglColor4svI4, glColor4sv, GLint, 2, 4),           ROW(fglColor4usvI4, glColor4usv, GLint, 2, 4),
    ROW(fglIndexsvI4, glIndexsv, GLint, 2, 1),             ROW(fglNormal3svI4, glNormal3sv, GLint, 2, 3),
    ROW(fglRasterPos2svI4, glRasterPos2sv, GLint, 2, 2),   ROW(fglRasterPos3svI4, glRasterPos3sv, GLint, 2, 3),
    ROW(fglRasterPos4svI4, glRasterPos4sv, GLint, 2, 4),   ROW(fglTexCoord1svI4, glTexCoord1sv, GLint, 2, 1),
    ROW(fglTexCoord2svI4, glTexCoord2sv, GLint, 2, 2),     ROW(fglTexCoord3svI4, glTexCoord3sv, GLint, 2, 3),
    ROW(fglTexCoord4svI4, glTexCoord4sv, GLint, 2, 4),     ROW(fglVertex2svI4, glVertex2sv, GLint, 2, 2),
    ROW(fglVertex3svI4, glVertex3sv, GLint, 2, 3),         ROW(fglVertex4svI4, glVertex4sv, GLint, 2, 4),
};
#undef ROW

// Elements whose every byte differs, with high bits set that must be dropped.
const std::int32_t kWide[] = {300, -1, 0x7A5BC3D4, -70000};
const std::int16_t kNarrow[] = {0x0180, 0x00FF, 0x7F00, -2};

class VectorEntries : public RecorderTest {};

TEST_F(VectorEntries, EveryEntryHandsItsCommandTheLowBitsOfEachElement) {
  for (const VectorRow &row : kVectorRows) {
    SCOPED_TRACE(row.entry);
    restart();
    // The caller's storage holds exactly k elements.
    auto storage = std::make_unique<unsigned char[]>(row.k * row.element_width);
    Bytes expected;
    for (std::size_t i = 0; i < row.k; ++i) {
      const void *element = row.element_width == 4 ? static_cast<const void *>(&kWide[i]) : &kNarrow[i];
      std::memcpy(storage.get() + i * row.element_width, element, row.element_width);
      const auto *low = static_cast<const unsigned char *>(element);  // little-endian: low bytes first
      expected.insert(expected.end(), low, low + row.component_width);
    }
    reads(row.command, 0, row.k * row.component_width);
    row.call(storage.get());
    const auto calls = gl_recorder::calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].command, row.command);
    EXPECT_NE(calls[0].args[0].address(), storage.get());
    EXPECT_EQ(received, expected);
  }
}

TEST_F(VectorEntries, SignedAndUnsignedCommandsGetTheSameTruncatedBits) {
  const auto v = exact<GLint>({300, -1, 65});
  reads("glColor3ubv", 0, 3);
  fglColor3ubvI4(v.get());
  EXPECT_EQ(received, bytes_of<GLubyte>({44, 255, 65}));
  reads("glColor3bv", 0, 3);
  fglColor3bvI4(v.get());
  EXPECT_EQ(received, bytes_of<GLbyte>({44, -1, 65}));
}

TEST_F(VectorEntries, ShortsKeepTheLeastSignificant16Bits) {
  const auto v = exact<GLint>({70000, -70000});
  reads("glVertex2sv", 0, 4);
  fglVertex2svI4(v.get());
  EXPECT_EQ(received, bytes_of<GLshort>({4464, -4464}));
}

TEST_F(VectorEntries, TwoByteElementsGiveTheirLowBytes) {
  const auto v = exact<GLshort>({0x0180, 0x00FF, 0x7F00, 0x0001});
  reads("glColor4bv", 0, 4);
  fglColor4bvI2(v.get());
  EXPECT_EQ(received, bytes_of<GLubyte>({0x80, 0xFF, 0x00, 0x01}));
}

TEST_F(VectorEntries, RectsvKeepsTheCornerOrder) {
  const auto first = exact<GLint>({1, 2});
  const auto second = exact<GLint>({70003, -4});
  Bytes corner1, corner2;
  gl_recorder::set_hook("glRectsv", [&](const gl_recorder::Call &c) {
    const auto *a = static_cast<const unsigned char *>(c.args[0].address());
    const auto *b = static_cast<const unsigned char *>(c.args[1].address());
    corner1.assign(a, a + 4);
    corner2.assign(b, b + 4);
    return std::uint64_t{0};
  });
  fglRectsvI4(first.get(), second.get());
  ASSERT_EQ(gl_recorder::calls().size(), 1u);
  EXPECT_EQ(corner1, bytes_of<GLshort>({1, 2}));
  EXPECT_EQ(corner2, bytes_of<GLshort>({4467, -4}));
}

class EdgeFlagEntry : public RecorderTest {};

TEST_F(EdgeFlagEntry, TheFirstFlagIsTheLowByteOfTheFirstElement) {
  struct Case {
    std::vector<GLint> flags;
    GLubyte flag;
  };
  for (const Case &c : {Case{{0x100, 5, 6}, 0}, Case{{2, 0, 0}, 2}, Case{{1}, 1}}) {
    restart();
    const auto v = exact(c.flags);
    const GLint count = static_cast<GLint>(c.flags.size());
    reads("glEdgeFlagv", 0, 1);
    fglEdgeFlagvI4(v.get(), &count);
    ASSERT_EQ(calls_of("glEdgeFlagv").size(), 1u);
    EXPECT_EQ(received, Bytes{c.flag});
  }
}

TEST_F(EdgeFlagEntry, ACountOfZeroOrLessReadsNothingAndGivesOneFalseFlag) {
  for (GLint count : {0, -3}) {
    restart();
    reads("glEdgeFlagv", 0, 1);
    fglEdgeFlagvI4(nullptr, &count);  // no element may be read
    ASSERT_EQ(calls_of("glEdgeFlagv").size(), 1u);
    EXPECT_EQ(received, Bytes{0});
  }
}

TEST_F(EdgeFlagEntry, NoTemporaryMeansNoCall) {
  const auto v = exact<GLint>({1, 1});
  const GLint count = 2;
  fail_next_calloc();
  fglEdgeFlagvI4(v.get(), &count);
  EXPECT_FALSE(calloc_failure_pending());
  EXPECT_TRUE(calls_of("glEdgeFlagv").empty());
}

}  // namespace
}  // namespace repacking_test
