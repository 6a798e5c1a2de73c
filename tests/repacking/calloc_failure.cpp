// Replaces calloc and free for the whole test program: a test can make one
// allocation fail, and can ask how large the heap temporary behind an address
// was made (the entries take every heap temporary with calloc). All calls go
// on to the allocator in use (AddressSanitizer's in the sanitizer build,
// glibc's otherwise), so memory stays with the allocator that frees it.
#include <cstddef>
#include <optional>

extern "C" {
#if defined(__SANITIZE_ADDRESS__)
void *__interceptor_calloc(std::size_t n, std::size_t size);
void __interceptor_free(void *p);
#define FGL_REAL_CALLOC __interceptor_calloc
#define FGL_REAL_FREE __interceptor_free
#else
void *__libc_calloc(std::size_t n, std::size_t size);
void __libc_free(void *p);
#define FGL_REAL_CALLOC __libc_calloc
#define FGL_REAL_FREE __libc_free
#endif
}

namespace {
bool fail_next = false;

// The blocks calloc handed out that are not yet freed, the latest few: an
// entry holds one temporary at a time.
struct Block {
  const unsigned char *start = nullptr;
  std::size_t size = 0;
};
constexpr std::size_t kTracked = 16;
Block live[kTracked];
std::size_t next_slot = 0;
}  // namespace

namespace repacking_test {
void fail_next_calloc() { fail_next = true; }
bool calloc_failure_pending() { return fail_next; }

std::optional<std::size_t> temporary_room(const void *p) {
  const auto *at = static_cast<const unsigned char *>(p);
  for (const Block &b : live) {
    if (b.start != nullptr && at >= b.start && at < b.start + b.size) return b.size - static_cast<std::size_t>(at - b.start);
  }
  return std::nullopt;
}
}  // namespace repacking_test

// Both may run before AddressSanitizer has set itself up (the dynamic loader
// frees while the sanitizer looks up the functions it intercepts), so their
// own accesses are left uninstrumented.
extern "C" __attribute__((no_sanitize("address"))) void *calloc(std::size_t n, std::size_t size) noexcept {
  if (fail_next) {
    fail_next = false;
    return nullptr;
  }
  void *p = FGL_REAL_CALLOC(n, size);
  if (p != nullptr) {
    live[next_slot] = {static_cast<const unsigned char *>(p), n * size};
    next_slot = (next_slot + 1) % kTracked;
  }
  return p;
}

extern "C" __attribute__((no_sanitize("address"))) void free(void *p) noexcept {
  if (p != nullptr) {
    for (Block &b : live)
      if (b.start == p) b = Block{};
  }
  FGL_REAL_FREE(p);
}
