// Replaces calloc for the whole test program so that a test can make one
// allocation fail: the entries take every heap temporary with calloc. All
// other calls go on to the allocator in use (AddressSanitizer's in the
// sanitizer build, glibc's otherwise), so memory stays with the allocator
// that frees it.
#include <cstddef>

extern "C" {
#if defined(__SANITIZE_ADDRESS__)
void *__interceptor_calloc(std::size_t n, std::size_t size);
#define FGL_REAL_CALLOC __interceptor_calloc
#else
void *__libc_calloc(std::size_t n, std::size_t size);
#define FGL_REAL_CALLOC __libc_calloc
#endif
}

namespace {
bool fail_next = false;
}

namespace repacking_test {
void fail_next_calloc() { fail_next = true; }
bool calloc_failure_pending() { return fail_next; }
}  // namespace repacking_test

extern "C" void *calloc(std::size_t n, std::size_t size) noexcept {
  if (fail_next) {
    fail_next = false;
    return nullptr;
  }
  return FGL_REAL_CALLOC(n, size);
}
