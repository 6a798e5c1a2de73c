// Fuzzes the GLUT layer's two string forms: packed character arrays (one
// character in the low byte of each 4-byte word, with a count) and
// address-and-length strings. Each is converted into a zero-terminated heap
// string for one GLUT call; the caller's array is allocated at exactly its
// stated length, so a read past it, a missing terminator or a leaked or
// doubly released temporary is caught by the sanitizers.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fglut.h"
#include "fglut_conventions.h"
#include "fuzz_glut.h"

extern "C" {
void fglutInitDisplayString(const int *string, const int *count);
int fglutCreateWindow(const int *title, const int *count);
}

namespace {

void check(bool ok, const char *what) {
  if (!ok) {
    std::fprintf(stderr, "fuzz_glut_strings: %s\n", what);
    std::abort();
  }
}

// The string GLUT should see: the low bytes up to the first zero, at most n.
std::string expected_packed(const std::vector<int> &words, int n) {
  std::string s;
  for (int k = 0; k < n; ++k) {
    const char c = static_cast<char>(words[static_cast<std::size_t>(k)] & 0xff);
    if (c == '\0') break;
    s += c;
  }
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  auto &glut = fuzz_glut::record();
  const int form = in.ConsumeIntegralInRange(0, 3);
  // A negative count or length is possible: the layer takes it as 0.
  const int n = in.ConsumeIntegralInRange(-4, 512);
  const std::size_t held = n > 0 ? static_cast<std::size_t>(n) : 0;

  if (form == 3) {
    // Address-and-length: exactly n bytes of the caller's storage.
    std::vector<std::uint8_t> bytes = in.ConsumeBytes<std::uint8_t>(held);
    bytes.resize(held, 'x');
    char *title = static_cast<char *>(std::malloc(held));
    if (held) std::memcpy(title, bytes.data(), held);
    glut.window = in.ConsumeIntegral<int>();
    const int calls = glut.calls;
    const int id = fglutCreateWindowC(title, n);
    check(glut.calls == calls + 1, "fglutCreateWindowC did not call GLUT once");
    check(id == glut.window, "fglutCreateWindowC lost GLUT's window identifier");
    const std::string want(title, strnlen(title, held));
    check(glut.string == want, "fglutCreateWindowC: GLUT saw another title");
    std::free(title);
    return 0;
  }

  // Packed: exactly n words, each with arbitrary upper bytes.
  std::vector<int> words(held);
  for (auto &w : words) w = in.ConsumeIntegral<int>();
  int *array = static_cast<int *>(std::malloc(held * sizeof(int)));
  if (held) std::memcpy(array, words.data(), held * sizeof(int));
  const std::string want = expected_packed(words, n);
  const int calls = glut.calls;
  if (form == 0) {
    fglutInitDisplayString(array, &n);
  } else if (form == 1) {
    glut.window = in.ConsumeIntegral<int>();
    check(fglutCreateWindow(array, &n) == glut.window, "fglutCreateWindow lost GLUT's window identifier");
  } else {
    // The conversion itself, with a result passed back through it.
    const std::size_t length =
        fglut::withPacked(array, &n, [](const char *s) { return std::strlen(s) + 1; });
    check(length == want.size() + 1, "withPacked: wrong length");
    glut.string = want;
    ++glut.calls;
  }
  check(glut.calls == calls + 1, "a packed-string entry did not call GLUT once");
  check(glut.string == want, "a packed-string entry handed GLUT another string");
  std::free(array);
  return 0;
}
