// Every entry of the C text family against the recording libGL, from the
// generated list (fgl_text.inc): what the command receives for CHARACTER text
// in, for arrays of texts, and what the caller's variable holds after a text
// out (truncated or blank-padded, the full length returned).
//
// Each entry is called with the same arguments by type: every integer 2 (so
// an array of texts holds two), every CHARACTER argument of kWidth
// characters: "ab" and "cd e" padded with blanks for text in, a variable of
// 8 or 400 characters for text out. The stand-in's hook checks the texts the
// command receives and writes a text of kLong characters where OpenGL would.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "fgl.h"
#include "gl_recorder.h"

namespace {

constexpr int kWidth = 6;  // the length of each element of a text in
const char kTexts[] = "ab    cd e  ";
const std::string kLong = [] {
  std::string s;
  for (int i = 0; i < 300; ++i) s += static_cast<char>('A' + i % 26);
  return s;
}();

// Arguments by type. Integers are 2; text in is kTexts; text out is the
// variable under test, whose length the hidden length carries.
struct Arguments {
  GLuint integers[8] = {2, 2, 2, 2, 2, 2, 2, 2};
  GLuint outputs[8] = {};
  std::vector<char> out;
  bool has_out = false;

  template <typename T>
  T get(int position) {
    if constexpr (std::is_same_v<T, const char *>) {
      return kTexts;
    } else if constexpr (std::is_same_v<T, char *>) {
      return out.data();
    } else if constexpr (std::is_same_v<T, int>) {
      return has_out ? static_cast<int>(out.size()) : kWidth;
    } else if constexpr (std::is_const_v<std::remove_pointer_t<T>>) {
      return reinterpret_cast<T>(&integers[position % 8]);
    } else {
      return reinterpret_cast<T>(&outputs[position % 8]);
    }
  }
};

struct Outcome {
  std::int64_t result = 0;
};

template <typename F>
struct Caller;
template <typename R, typename... P>
struct Caller<R (*)(P...)> {
  static constexpr bool has_out = (std::is_same_v<P, char *> || ...);
  template <auto Fn>
  static Outcome call(Arguments &a) {
    return call_with<Fn>(a, std::index_sequence_for<P...>{});
  }
  template <auto Fn, std::size_t... I>
  static Outcome call_with(Arguments &a, std::index_sequence<I...>) {
    std::tuple<P...> args{a.template get<P>(static_cast<int>(I))...};
    Outcome o;
    if constexpr (std::is_void_v<R>) {
      std::apply(Fn, args);
    } else {
      o.result = static_cast<std::int64_t>(std::apply(Fn, args));
    }
    return o;
  }
};

struct TextEntry {
  const char *name, *command;
  bool has_out;
  Outcome (*call)(Arguments &);
};

const TextEntry kEntries[] = {
#define FGL_TEXT(entry, fortran_name, command, result, params, body) \
  {#entry, #command, Caller<decltype(&entry)>::has_out, &Caller<decltype(&entry)>::call<&entry>},
#include "fgl_text.inc"
#undef FGL_TEXT
};

// What the stand-in saw of the texts it was given, and the text it wrote.
struct Seen {
  std::vector<std::string> texts;  // every text in, in order (arrays flattened)
  bool null_lengths = false;       // glShaderSource's length array was null
  int buffer = -1;                 // the bufSize a text-out command was given
};

gl_recorder::Hook hook(Seen &seen, const char *result_text) {
  return [&seen, result_text](const gl_recorder::Call &call) -> std::uint64_t {
    GLsizei *length = nullptr;
    for (std::size_t i = 0; i < call.args.size(); ++i) {
      const auto &a = call.args[i];
      if (a.type == "const GLchar *") {
        seen.texts.emplace_back(static_cast<const char *>(a.address()));
      } else if (a.type == "const GLchar *const*") {
        const auto *p = static_cast<const GLchar *const *>(a.address());
        for (GLsizei j = 0; j < 2; ++j) seen.texts.emplace_back(p[j]);
        if (call.command == "glShaderSource") seen.null_lengths = call.args[3].address() == nullptr;
      } else if (a.type == "GLsizei" && !a.pointer) {
        seen.buffer = a.as<GLsizei>();
      } else if (a.type == "GLsizei *" && length == nullptr) {
        length = static_cast<GLsizei *>(const_cast<void *>(a.address()));
      } else if (a.type == "GLchar *") {
        // As OpenGL does: at most bufSize - 1 characters and a NUL.
        const std::size_t n = std::min<std::size_t>(kLong.size(), static_cast<std::size_t>(seen.buffer - 1));
        std::memcpy(const_cast<void *>(a.address()), kLong.data(), n);
        static_cast<char *>(const_cast<void *>(a.address()))[n] = 0;
        if (length) *length = static_cast<GLsizei>(n);
      }
    }
    return reinterpret_cast<std::uintptr_t>(result_text);
  };
}

bool gives_text(const TextEntry &e) { return e.has_out; }  // a CHARACTER variable to fill

class TextInEntry : public ::testing::TestWithParam<const TextEntry *> {};
class TextOutEntry : public ::testing::TestWithParam<const TextEntry *> {};

TEST_P(TextInEntry, TextsArriveWithoutTrailingBlanks) {
  const TextEntry &e = *GetParam();
  Seen seen;
  gl_recorder::reset();
  gl_recorder::set_hook(e.command, hook(seen, kLong.c_str()));
  Arguments a;
  Outcome o = e.call(a);
  ASSERT_EQ(gl_recorder::calls().size(), 1u);
  const std::string command = e.command;
  ASSERT_FALSE(seen.texts.empty()) << e.name << " handed no text to " << e.command;
  if (command == "glShaderSource" || command == "glCreateShaderProgramv") {  // a shader's lines
    EXPECT_EQ(seen.texts, (std::vector<std::string>{"ab\n", "cd e\n"}));
    if (command == "glShaderSource") {
      EXPECT_TRUE(seen.null_lengths) << "lines are NUL-ended, no lengths";
    }
  } else if (seen.texts.size() == 2) {
    EXPECT_EQ(seen.texts, (std::vector<std::string>{"ab", "cd e"}));
  } else {
    EXPECT_EQ(seen.texts, (std::vector<std::string>{"ab"}));
  }
  (void)o;
}

TEST_P(TextOutEntry, TextOutIsTruncatedOrPaddedAndReturnsItsFullLength) {
  const TextEntry &e = *GetParam();
  const bool result_text = std::string(e.command) == "glGetStringi";
  for (std::size_t size : {std::size_t{0}, std::size_t{8}, std::size_t{400}}) {
    Seen seen;
    gl_recorder::reset();
    gl_recorder::set_hook(e.command, hook(seen, kLong.c_str()));
    Arguments a;
    a.has_out = true;
    a.out.assign(size, '#');
    Outcome o = e.call(a);
    EXPECT_EQ(o.result, static_cast<std::int64_t>(kLong.size())) << e.name << ": not the full length";
    const std::string got(a.out.begin(), a.out.end());
    const std::string want = (kLong + std::string(size, ' ')).substr(0, size);
    EXPECT_EQ(got, want) << e.name << " into " << size << " characters";
    if (!result_text) {
      // The layer's first buffer holds the variable or 256 characters: a
      // 300-character text into a short variable needs a second, larger one.
      EXPECT_EQ(gl_recorder::calls().size(), size < kLong.size() ? 2u : 1u);
      EXPECT_GT(seen.buffer, static_cast<int>(kLong.size()));
    }
  }
}

std::vector<const TextEntry *> entries_giving_text(bool out) {
  std::vector<const TextEntry *> v;
  for (const TextEntry &e : kEntries)
    if (gives_text(e) == out) v.push_back(&e);
  return v;
}

std::string name_of(const ::testing::TestParamInfo<const TextEntry *> &info) { return info.param->name; }
INSTANTIATE_TEST_SUITE_P(AllTextIn, TextInEntry, ::testing::ValuesIn(entries_giving_text(false)), name_of);
INSTANTIATE_TEST_SUITE_P(AllTextOut, TextOutEntry, ::testing::ValuesIn(entries_giving_text(true)), name_of);

TEST(TextEntries, TheTwentyOfOpenGL20To33AndTheFifteenOf4x) {
  EXPECT_EQ(std::size(kEntries), 35u);
  // eight text-out commands of 2.0-3.3 and glGetStringi, five of 4.0-4.6
  EXPECT_EQ(entries_giving_text(true).size(), 14u);
}

// A negative hidden length is an empty text, never a read or a write.
TEST(TextEntries, NegativeLengthsAreEmpty) {
  Seen seen;
  gl_recorder::reset();
  gl_recorder::set_hook("glGetUniformLocation", hook(seen, nullptr));
  const GLuint program = 1;
  fglGetUniformLocationC(&program, nullptr, -5);
  gl_recorder::set_hook("glGetShaderInfoLog", hook(seen, nullptr));
  EXPECT_EQ(fglGetShaderInfoLogC(&program, nullptr, -1), static_cast<GLint>(kLong.size()));
  ASSERT_EQ(seen.texts.size(), 1u);
  EXPECT_EQ(seen.texts[0], "");
}

// One element holding a whole shader with CHAR(10) line ends works too.
TEST(TextEntries, OneLineHoldingTheWholeShader) {
  const char text[] = "void main()\n{\n}\n      ";
  std::vector<std::string> seen;
  gl_recorder::reset();
  gl_recorder::set_hook("glShaderSource", [&](const gl_recorder::Call &call) -> std::uint64_t {
    const auto *p = static_cast<const GLchar *const *>(call.args[2].address());
    for (GLsizei j = 0; j < call.args[1].as<GLsizei>(); ++j) seen.emplace_back(p[j]);
    return 0;
  });
  const GLuint shader = 3;
  const GLsizei one = 1;
  fglShaderSourceC(&shader, &one, text, static_cast<int>(sizeof text - 1));
  EXPECT_EQ(seen, (std::vector<std::string>{"void main()\n{\n}\n\n"}));
}

}  // namespace
