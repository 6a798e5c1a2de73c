// Fuzzes fglutInitArgs: an arbitrary count, a packed array of arguments and a
// start-position table (possibly decreasing, zero or negative). GLUT's
// initialisation is the stand-in of fuzz_glut.cpp, so no display is needed
// and only the conversion into the argument vector is exercised. The packed
// array is allocated at exactly the words the table names, the table at
// exactly count+1 entries.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_glut.h"

extern "C" {
void fglutInitArgs(const int *count, const int *words, const int *starts);
char **fglutArgumentVector(void);
}

namespace {
void check(bool ok, const char *what) {
  if (!ok) {
    std::fprintf(stderr, "fuzz_glut_initargs: %s\n", what);
    std::abort();
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const int count = in.ConsumeIntegralInRange(-2, 40);
  const std::size_t n = count > 0 ? static_cast<std::size_t>(count) : 0;
  const bool monotone = in.ConsumeBool();
  std::vector<int> starts(n + 1);
  int position = in.ConsumeIntegralInRange(-3, 8);
  for (auto &s : starts) {
    s = position;
    position = monotone ? position + in.ConsumeIntegralInRange(0, 12) : in.ConsumeIntegralInRange(-5, 120);
  }
  // The array holds the words up to the highest position named, 1-based.
  const int top = *std::max_element(starts.begin(), starts.end());
  const std::size_t held = top > 1 ? static_cast<std::size_t>(top - 1) : 0;
  std::vector<int> words(held);
  for (auto &w : words) w = in.ConsumeIntegral<int>();

  int *array = static_cast<int *>(std::malloc(held * sizeof(int)));
  if (held) std::memcpy(array, words.data(), held * sizeof(int));
  int *table = static_cast<int *>(std::malloc(starts.size() * sizeof(int)));
  std::memcpy(table, starts.data(), starts.size() * sizeof(int));
  const int caller_count = count;

  auto &glut = fuzz_glut::record();
  const int calls = glut.calls;
  fglutInitArgs(&caller_count, array, table);
  check(glut.calls == calls + 1, "GLUT was not initialised once");
  check(caller_count == count, "the caller's count was written");
  check(glut.init_count == static_cast<int>(n), "GLUT received another count");
  check(glut.argv_terminated, "the argument vector has no null entry after the last argument");
  // Argument i spans positions s[i] .. s[i+1]-1; a non-decreasing table is
  // the contract, so only then is each string checked character by character.
  if (monotone && starts[0] >= 1) {
    for (std::size_t i = 0; i < n; ++i) {
      std::string want;
      for (int p = starts[i]; p < starts[i + 1]; ++p) {
        const char c = static_cast<char>(words[static_cast<std::size_t>(p - 1)] & 0xff);
        if (c == '\0') break;
        want += c;
      }
      check(glut.argv[i] == want, "an argument differs from its words");
    }
  }
  // The layer keeps its vector for the life of the program; here the
  // harness ends that life after each input (strings and vector are malloc'd
  // by the layer), so that the leak check sees any other allocation.
  char **vector = fglutArgumentVector();
  for (char **p = vector; *p != nullptr; ++p) std::free(*p);
  std::free(vector);
  std::free(array);
  std::free(table);
  return 0;
}
