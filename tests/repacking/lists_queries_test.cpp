// Display-list and query entries against the recording libGL: the names
// glCallLists receives on every type path, the booleans and strings the
// caller receives, and the store of the string query.
#include "recorder_fixture.h"

#include <algorithm>
#include <string>

namespace repacking_test {
namespace {

struct ListRow {
  const char *name;
  bool wide;  // I4 (true) or I2 elements
  GLenum type;
  GLsizei n;
  std::vector<std::int32_t> elements;
  Bytes expected;  // the names OpenGL reads; empty: the caller's array goes unchanged
};

const ListRow kListRows[] = {
    {"I4 byte", true, GL_BYTE, 3, {300, -1, 65}, bytes_of<GLubyte>({44, 255, 65})},
    {"I4 unsigned byte", true, GL_UNSIGNED_BYTE, 3, {300, -1, 65}, bytes_of<GLubyte>({44, 255, 65})},
    {"I4 short", true, GL_SHORT, 2, {65537, -2}, bytes_of<GLushort>({1, 0xFFFE})},
    {"I4 unsigned short", true, GL_UNSIGNED_SHORT, 2, {65537, -2}, bytes_of<GLushort>({1, 0xFFFE})},
    {"I4 2 bytes", true, GL_2_BYTES, 2, {0x101, 2, 0x203, 4}, bytes_of<GLubyte>({1, 2, 3, 4})},
    {"I4 3 bytes", true, GL_3_BYTES, 1, {-1, 0x100, 7}, bytes_of<GLubyte>({0xFF, 0, 7})},
    {"I4 4 bytes", true, GL_4_BYTES, 1, {1, 2, 3, 0x1FF}, bytes_of<GLubyte>({1, 2, 3, 0xFF})},
    {"I4 int", true, GL_INT, 2, {300, -1}, {}},
    {"I4 unsigned int", true, GL_UNSIGNED_INT, 2, {300, -1}, {}},
    {"I4 float", true, GL_FLOAT, 1, {0x3F800000}, {}},
    {"I2 byte", false, GL_BYTE, 3, {0x180, 0xFF, 0x7F00}, bytes_of<GLubyte>({0x80, 0xFF, 0x00})},
    {"I2 unsigned byte", false, GL_UNSIGNED_BYTE, 3, {0x180, 0xFF, 0x7F00}, bytes_of<GLubyte>({0x80, 0xFF, 0x00})},
    {"I2 2 bytes", false, GL_2_BYTES, 2, {0x101, 2, 0x203, 4}, bytes_of<GLubyte>({1, 2, 3, 4})},
    {"I2 3 bytes", false, GL_3_BYTES, 1, {0x180, 0xFF, 0x7F00}, bytes_of<GLubyte>({0x80, 0xFF, 0x00})},
    {"I2 4 bytes", false, GL_4_BYTES, 1, {1, 2, 3, 0x1FF}, bytes_of<GLubyte>({1, 2, 3, 0xFF})},
    {"I2 short", false, GL_SHORT, 2, {-2, 300}, {}},
    {"I2 unsigned short", false, GL_UNSIGNED_SHORT, 2, {-2, 300}, {}},
    // 4-byte names from 2-byte elements: one name per element, by value.
    {"I2 int", false, GL_INT, 2, {1, -2}, bytes_of<GLint>({1, -2})},
    {"I2 unsigned int", false, GL_UNSIGNED_INT, 2, {1, -2}, bytes_of<GLuint>({1, 0xFFFE})},
    {"I2 float", false, GL_FLOAT, 2, {3, -2}, bytes_of<GLfloat>({3.0f, -2.0f})},
};

class CallListsEntries : public RecorderTest {};

TEST_F(CallListsEntries, EveryStorageEveryTypePath) {
  for (const ListRow &row : kListRows) {
    SCOPED_TRACE(row.name);
    restart();
    const void *lists;
    std::unique_ptr<GLint[]> wide;
    std::unique_ptr<GLshort[]> narrow;
    if (row.wide) {
      wide = exact(row.elements);
      lists = wide.get();
    } else {
      narrow = exact(std::vector<GLshort>(row.elements.begin(), row.elements.end()));
      lists = narrow.get();
    }
    if (!row.expected.empty()) reads("glCallLists", 2, row.expected.size());
    if (row.wide) {
      fglCallListsI4(&row.n, &row.type, wide.get());
    } else {
      fglCallListsI2(&row.n, &row.type, narrow.get());
    }
    const auto calls = gl_recorder::calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args[0].as<GLsizei>(), row.n);
    EXPECT_EQ(calls[0].args[1].as<GLenum>(), row.type);
    if (row.expected.empty()) {
      EXPECT_EQ(calls[0].args[2].address(), lists);
    } else {
      EXPECT_NE(calls[0].args[2].address(), lists);
      EXPECT_EQ(received, row.expected);
    }
  }
}

TEST_F(CallListsEntries, PackedNamesAreTheLowBytesOfTheWords) {
  const GLsizei n = 2;
  const GLenum type = GL_UNSIGNED_BYTE;
  const GLint count = 2;
  const auto words = exact<GLint>({72, 0x169});
  reads("glCallLists", 2, 2);
  fglCallListsP(&n, &type, words.get(), &count);
  EXPECT_EQ(received, (Bytes{72, 105}));
}

TEST_F(CallListsEntries, PackedNamesCoverWhatOpenGLReadsEvenForAShortCount) {
  // Two 2-byte names are four bytes; the caller gave two words.
  const GLsizei n = 2;
  const GLenum type = GL_2_BYTES;
  const GLint count = 2;
  const auto words = exact<GLint>({1, 2});
  reads("glCallLists", 2, 4);
  fglCallListsP(&n, &type, words.get(), &count);
  EXPECT_EQ(received, (Bytes{1, 2, 0, 0}));
}

TEST_F(CallListsEntries, ANegativeListCountReadsNothingAndReachesOpenGL) {
  const GLsizei n = -1;
  const GLint count = -1;
  for (GLenum type : {GL_UNSIGNED_BYTE, GL_SHORT, GL_4_BYTES}) {
    restart();
    fglCallListsI4(&n, &type, nullptr);
    fglCallListsI2(&n, &type, nullptr);
    fglCallListsP(&n, &type, nullptr, &count);
    const auto calls = calls_of("glCallLists");
    ASSERT_EQ(calls.size(), 3u);
    for (const auto &c : calls) EXPECT_EQ(c.args[0].as<GLsizei>(), -1);
  }
}

TEST_F(CallListsEntries, NoTemporaryMeansNoCall) {
  const GLsizei n = 2;
  const GLenum type = GL_UNSIGNED_BYTE;
  const GLint count = 2;
  const auto names = exact<GLint>({1, 2});
  fail_next_calloc();
  fglCallListsI4(&n, &type, names.get());
  EXPECT_FALSE(calloc_failure_pending());
  fail_next_calloc();
  fglCallListsP(&n, &type, names.get(), &count);
  EXPECT_FALSE(calloc_failure_pending());
  EXPECT_TRUE(calls_of("glCallLists").empty());
}

class BooleanQuery : public RecorderTest {};

TEST_F(BooleanQuery, BooleansArriveZeroExtendedAndOnlyCountElementsAreWritten) {
  struct Case {
    GLenum pname;
    Bytes written;  // what OpenGL writes: always 16 values here, as for a matrix
    std::vector<GLint> expected;
  };
  Bytes sixteen(16, 1);
  sixteen[0] = GL_TRUE;
  sixteen[1] = GL_FALSE;
  sixteen[2] = 0x80;
  const Case cases[] = {
      {GL_DEPTH_TEST, sixteen, {1}},
      {GL_COLOR_WRITEMASK, sixteen, {1, 0, 128, 1}},
      {GL_MODELVIEW_MATRIX, sixteen, {1, 0, 128, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
  };
  for (const Case &c : cases) {
    restart();
    writes("glGetBooleanv", 1, c.written);
    const GLint count = static_cast<GLint>(c.expected.size());
    auto params = filled<GLint>(c.expected.size(), -7);
    fglGetBooleanvI4(&c.pname, params.get(), &count);
    const auto calls = calls_of("glGetBooleanv");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args[0].as<GLenum>(), c.pname);
    EXPECT_EQ(contents(params.get(), c.expected.size()), c.expected);
  }
}

TEST_F(BooleanQuery, ValuesBeyondWhatOpenGLWroteKeepTheirValues) {
  writes("glGetBooleanv", 1, Bytes{1});
  const GLenum pname = GL_LIGHTING;
  const GLint count = 20;
  auto params = filled<GLint>(20, -7);
  fglGetBooleanvI4(&pname, params.get(), &count);
  std::vector<GLint> expected(20, -7);
  expected[0] = 1;
  EXPECT_EQ(contents(params.get(), 20), expected);
}

TEST_F(BooleanQuery, AListValuedQueryGetsRoomForItsWholeList) {
  const GLenum formats = 0x86A3;  // GL_COMPRESSED_TEXTURE_FORMATS
  integers[0x86A2] = 40;          // GL_NUM_COMPRESSED_TEXTURE_FORMATS
  writes("glGetBooleanv", 1, Bytes(40, 1));
  const GLint count = 1;
  auto params = filled<GLint>(1, -7);
  fglGetBooleanvI4(&formats, params.get(), &count);
  EXPECT_EQ(params[0], 1);
}

TEST_F(BooleanQuery, NegativeCountAndMissingTemporary) {
  const GLenum pname = GL_DEPTH_TEST;
  const GLint negative = -1, one = 1;
  writes("glGetBooleanv", 1, Bytes{1});
  fglGetBooleanvI4(&pname, nullptr, &negative);
  EXPECT_EQ(calls_of("glGetBooleanv").size(), 1u);

  restart();
  auto params = filled<GLint>(1, -7);
  fail_next_calloc();
  fglGetBooleanvI4(&pname, params.get(), &one);
  EXPECT_FALSE(calloc_failure_pending());
  EXPECT_TRUE(calls_of("glGetBooleanv").empty());
  EXPECT_EQ(params[0], -7);
}

// 64-bit results received into INTEGER*4 elements: a temporary that cannot
// be had means no call, nothing written and GL_OUT_OF_MEMORY for the next
// fglGetError (no exception through the entry).
TEST_F(BooleanQuery, ReceivedValuesWithoutTemporaryAreAnOutOfMemoryError) {
  const GLenum formats = 0x86A3;  // GL_COMPRESSED_TEXTURE_FORMATS
  integers[0x86A2] = 100;         // more values than a temporary in the entry's frame holds
  const GLint count = 2;
  auto params = filled<GLint>(2, -7);
  fail_next_calloc();
  fglGetInteger64vI4(&formats, params.get(), &count);
  EXPECT_FALSE(calloc_failure_pending());
  EXPECT_TRUE(calls_of("glGetInteger64v").empty());
  EXPECT_EQ(contents(params.get(), 2), (std::vector<GLint>{-7, -7}));
  EXPECT_EQ(fglGetError(), static_cast<GLenum>(GL_OUT_OF_MEMORY));
}

// Offsets from INTEGER*4 widened into addresses: past the entry's frame the
// array is a heap temporary, and without it there is no call either.
TEST_F(BooleanQuery, OffsetsWithoutTemporaryAreAnOutOfMemoryError) {
  const GLenum mode = GL_TRIANGLES, type = GL_UNSIGNED_INT;
  const GLsizei drawcount = 65;  // one more than the entry's frame holds
  std::vector<GLsizei> counts(drawcount, 3);
  std::vector<GLint> offsets(drawcount, 12);
  fail_next_calloc();
  fglMultiDrawElementsOffsetI4(&mode, counts.data(), &type, offsets.data(), &drawcount);
  EXPECT_FALSE(calloc_failure_pending());
  EXPECT_TRUE(calls_of("glMultiDrawElements").empty());
  EXPECT_EQ(fglGetError(), static_cast<GLenum>(GL_OUT_OF_MEMORY));
  fglMultiDrawElementsOffsetI4(&mode, counts.data(), &type, offsets.data(), &drawcount);
  ASSERT_EQ(calls_of("glMultiDrawElements").size(), 1u);
}

TEST(ErrorQuery, ReturnsWhatOpenGLReturns) {
  gl_recorder::reset();
  for (GLenum code : {GLenum{GL_NO_ERROR}, GLenum{GL_INVALID_ENUM}, GLenum{GL_OUT_OF_MEMORY}}) {
    gl_recorder::set_result("glGetError", code);
    EXPECT_EQ(fglGetError(), code);
  }
  EXPECT_EQ(gl_recorder::calls().size(), 3u);
  gl_recorder::reset();
}

class StringQuery : public RecorderTest {
 protected:
  void SetUp() override {
    RecorderTest::SetUp();
    fglGetStringRelease();
  }
  void TearDown() override {
    fglGetStringRelease();
    RecorderTest::TearDown();
  }
  void serves(const char *text) {
    gl_recorder::set_result("glGetString", reinterpret_cast<std::uintptr_t>(text));
  }
  // The store's text, copied into an array of exactly `length` words.
  std::vector<GLint> copy(GLint length) {
    auto words = filled<GLint>(static_cast<std::size_t>(length), 0x5A5A);
    fglGetStringCopy(words.get());
    return contents(words.get(), static_cast<std::size_t>(length));
  }
};

TEST_F(StringQuery, OneWordPerCharacterSignExtended) {
  struct Case {
    const char *text;
    std::vector<GLint> words;
  };
  const Case cases[] = {
      {"1.1.0", {49, 46, 49, 46, 48}},
      {"caf\xE9", {99, 97, 102, -23}},
      {"\x7F\x80\xFF", {127, -128, -1}},
      {"", {}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    serves(c.text);
    const GLenum name = GL_VERSION;
    const GLint length = fglGetString(&name);
    ASSERT_EQ(length, static_cast<GLint>(c.words.size()));
    EXPECT_EQ(copy(length), c.words);
    EXPECT_EQ(copy(length), c.words);  // the copy leaves the store as it was
    EXPECT_EQ(gl_recorder::calls().back().args[0].as<GLenum>(), name);
  }
}

TEST_F(StringQuery, TheLatestQueryIsWhatTheCopyDelivers) {
  const GLenum name = GL_RENDERER;
  serves("first text");
  EXPECT_EQ(fglGetString(&name), 10);
  serves("Hi");
  const GLint length = fglGetString(&name);  // the first array is released here
  ASSERT_EQ(length, 2);
  EXPECT_EQ(copy(length), (std::vector<GLint>{72, 105}));
}

TEST_F(StringQuery, NullStringGivesLengthZeroAndTheCopyWritesNothing) {
  serves("previous");
  const GLenum name = GL_EXTENSIONS;
  ASSERT_EQ(fglGetString(&name), 8);
  serves(nullptr);
  EXPECT_EQ(fglGetString(&name), 0);
  GLint untouched = 0x5A5A;
  fglGetStringCopy(&untouched);
  EXPECT_EQ(untouched, 0x5A5A);
}

TEST_F(StringQuery, ReleaseIsHarmlessOnAnEmptyStoreAndEmptiesIt) {
  fglGetStringRelease();
  fglGetStringRelease();
  GLint untouched = 0x5A5A;
  fglGetStringCopy(&untouched);
  EXPECT_EQ(untouched, 0x5A5A);
  serves("abc");
  const GLenum name = GL_VENDOR;
  ASSERT_EQ(fglGetString(&name), 3);
  fglGetStringRelease();
  fglGetStringRelease();
  fglGetStringCopy(&untouched);
  EXPECT_EQ(untouched, 0x5A5A);
}

TEST_F(StringQuery, AStoreThatCannotBeAllocatedIsEmpty) {
  serves("old");
  const GLenum name = GL_VENDOR;
  ASSERT_EQ(fglGetString(&name), 3);
  serves("new text");
  fail_next_calloc();
  EXPECT_EQ(fglGetString(&name), 0);
  EXPECT_FALSE(calloc_failure_pending());
  GLint untouched = 0x5A5A;
  fglGetStringCopy(&untouched);
  EXPECT_EQ(untouched, 0x5A5A);
}


// fglGetStringCopyN writes at most MAXN words into an array of exactly MAXN
// (an overrun shows under AddressSanitizer), none for MAXN below 1.
TEST_F(StringQuery, CopyNWritesAtMostMaxWords) {
  serves("1.3 Mesa");
  const GLenum name = GL_VERSION;
  ASSERT_EQ(fglGetString(&name), 8);
  const std::vector<GLint> all = copy(8);
  for (const GLint maxn : {-1, 0, 3, 8, 12}) {
    SCOPED_TRACE(maxn);
    const std::size_t room = static_cast<std::size_t>(std::max(maxn, 1));
    auto words = filled<GLint>(room, 0x5A5A);
    fglGetStringCopyN(words.get(), &maxn);
    const std::size_t written = static_cast<std::size_t>(std::clamp(maxn, 0, 8));
    std::vector<GLint> expected(all.begin(), all.begin() + static_cast<long>(written));
    expected.resize(room, 0x5A5A);
    EXPECT_EQ(contents(words.get(), room), expected);
  }
}

// fglGetStringC fills the CHARACTER variable, blank-padded or truncated, and
// returns the whole length; no string gives 0 and blanks. The store of
// fglGetString is left alone.
TEST_F(StringQuery, CharacterFormPadsOrTruncatesAndReturnsTheWholeLength) {
  const GLenum name = GL_RENDERER;
  serves("kept");
  ASSERT_EQ(fglGetString(&name), 4);
  struct Case {
    const char *text;
    int room;
    std::string filled;
    GLint length;
  };
  const Case cases[] = {
      {"Mesa llvmpipe", 16, "Mesa llvmpipe   ", 13},
      {"Mesa llvmpipe", 4, "Mesa", 13},
      {"Mesa llvmpipe", 0, "", 13},
      {nullptr, 5, "     ", 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.room);
    serves(c.text);
    std::string variable(static_cast<std::size_t>(c.room) + 2, '#');  // two guard characters
    EXPECT_EQ(fglGetStringC(&name, variable.data(), c.room), c.length);
    EXPECT_EQ(variable, c.filled + "##");
  }
  EXPECT_EQ(copy(4), (std::vector<GLint>{'k', 'e', 'p', 't'}));
}

}  // namespace
}  // namespace repacking_test

