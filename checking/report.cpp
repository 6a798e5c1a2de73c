// Problem bookkeeping, the three modes and the summary at exit.
#include "report.h"

#include <dlfcn.h>
#include <elf.h>
#include <execinfo.h>
#include <link.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <tuple>

namespace fgl::check {
namespace {

enum class Mode { Warn, Abort, Quiet };

Mode mode_from_environment() {
  const char *v = std::getenv("FGL_CHECK");
  if (v == nullptr || std::strcmp(v, "warn") == 0 || *v == '\0') return Mode::Warn;
  if (std::strcmp(v, "abort") == 0) return Mode::Abort;
  if (std::strcmp(v, "quiet") == 0) return Mode::Quiet;
  std::fprintf(stderr, "fgl check: FGL_CHECK=%s is not warn, abort or quiet; taken as warn\n", v);
  return Mode::Warn;
}

struct Key {
  std::string entry;
  int position;
  std::string kind;
  bool operator<(const Key &o) const {
    return std::tie(entry, position, kind) < std::tie(o.entry, o.position, o.kind);
  }
};
struct Seen {
  std::string argument;
  unsigned long long count = 0;
};

struct Table {
  std::mutex lock;
  std::map<Key, Seen> problems;
  Mode mode = mode_from_environment();
  ~Table() { summary(); }
  void summary() {
    std::lock_guard<std::mutex> guard(lock);
    if (problems.empty()) return;
    unsigned long long total = 0;
    for (const auto &[key, seen] : problems) total += seen.count;
    std::fprintf(stderr, "fgl check: %zu distinct problem%s, %llu call%s in all:\n", problems.size(),
                 problems.size() == 1 ? "" : "s", total, total == 1 ? "" : "s");
    for (const auto &[key, seen] : problems) {
      std::fprintf(stderr, "fgl check:   %llu x %s", seen.count, key.entry.c_str());
      if (key.position > 0) std::fprintf(stderr, " argument %d (%s)", key.position, seen.argument.c_str());
      std::fprintf(stderr, ": %s\n", key.kind.c_str());
    }
    problems.clear();
  }
};

Table &table() {
  static Table t;
  return t;
}

// The place of a return address in its file: the routine and source line
// from addr2line (when installed and the file has line information), and the
// file and address in any case. The address looked up is the call's own, one
// byte before the return address.
void print_place(void *address, const Dl_info &info) {
  const char *file = info.dli_fname != nullptr ? info.dli_fname : "?";
  std::uintptr_t a = reinterpret_cast<std::uintptr_t>(address) - 1;
  // A position-independent file is looked up by its offset from its base.
  const auto *header = static_cast<const ElfW(Ehdr) *>(info.dli_fbase);
  if (header != nullptr && header->e_type == ET_DYN) a -= reinterpret_cast<std::uintptr_t>(info.dli_fbase);
  std::fprintf(stderr, "fgl check: called from %s, address 0x%" PRIxPTR "\n", file, a);
  char command[4200];
  std::snprintf(command, sizeof command, "addr2line -f -e '%s' 0x%" PRIxPTR " 2>/dev/null", file, a);
  if (std::strchr(file, '\'') != nullptr) return;
  std::fflush(stderr);
  if (FILE *p = popen(command, "r")) {
    char routine[512] = "", line[3600] = "";
    if (std::fgets(routine, sizeof routine, p) != nullptr && std::fgets(line, sizeof line, p) != nullptr) {
      routine[std::strcspn(routine, "\n")] = '\0';
      line[std::strcspn(line, "\n")] = '\0';
      if (std::strcmp(routine, "??") != 0) std::fprintf(stderr, "fgl check: in %s at %s\n", routine, line);
    }
    pclose(p);
  }
}

// The first return address outside this library: the place of the call in
// the program.
void print_place_and_backtrace() {
  void *frames[64];
  const int n = backtrace(frames, 64);
  Dl_info self{};
  dladdr(reinterpret_cast<void *>(&print_place_and_backtrace), &self);
  // Frames before the first one in this library belong to backtrace itself
  // (or to a sanitizer's interceptor of it).
  bool in_library = false;
  for (int i = 0; i < n; ++i) {
    Dl_info info{};
    if (dladdr(frames[i], &info) == 0) continue;
    if (info.dli_fbase == self.dli_fbase) {
      in_library = true;
      continue;
    }
    if (!in_library) continue;
    print_place(frames[i], info);
    break;
  }
  std::fputs("fgl check: backtrace:\n", stderr);
  std::fflush(stderr);
  backtrace_symbols_fd(frames, n, STDERR_FILENO);
}

}  // namespace

void problem(const char *entry, int position, const char *argument, const char *kind, const std::string &detail) {
  Table &t = table();
  {
    std::lock_guard<std::mutex> guard(t.lock);
    Seen &seen = t.problems[Key{entry, position, kind}];
    if (seen.count++ > 0) return;
    seen.argument = argument;
    if (t.mode == Mode::Quiet) return;
  }
  if (position > 0) {
    std::fprintf(stderr, "fgl check: %s argument %d (%s) = %s: %s\n", entry, position, argument, detail.c_str(),
                 kind);
  } else {
    std::fprintf(stderr, "fgl check: %s: %s%s%s\n", entry, kind, detail.empty() ? "" : " ", detail.c_str());
  }
  if (t.mode == Mode::Abort) {
    print_place_and_backtrace();
    std::fflush(nullptr);
    _exit(3);
  }
}

std::string show_int(long long v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%lld (0x%llX)", v, static_cast<unsigned long long>(v) & 0xffffffffull);
  return buf;
}

std::string show_float(float v) {
  std::uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.9g (bits 0x%08" PRIX32 ")", static_cast<double>(v), bits);
  return buf;
}

std::string show_double(double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  char buf[80];
  std::snprintf(buf, sizeof buf, "%.17g (bits 0x%016" PRIX64 ")", v, bits);
  return buf;
}

const char *gl_error_name(GLenum error) {
  switch (error) {
    case GL_INVALID_ENUM: return "GL_INVALID_ENUM";
    case GL_INVALID_VALUE: return "GL_INVALID_VALUE";
    case GL_INVALID_OPERATION: return "GL_INVALID_OPERATION";
    case GL_STACK_OVERFLOW: return "GL_STACK_OVERFLOW";
    case GL_STACK_UNDERFLOW: return "GL_STACK_UNDERFLOW";
    case GL_OUT_OF_MEMORY: return "GL_OUT_OF_MEMORY";
    default: return "an unknown OpenGL error";
  }
}

Entry &current_entry() {
  thread_local Entry e;
  return e;
}

}  // namespace fgl::check
