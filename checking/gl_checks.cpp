// The checks of the OpenGL entries: storage patterns, OpenGL errors and item
// counts.
#include "gl_checks.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace fgl::check {

// Inside a glBegin/glEnd pair glGetError is itself an error; the errors of
// the calls inside are read at the fglEnd.
bool inside_begin_end = false;

namespace {

// Errors taken from OpenGL by the checks and not yet asked for by the
// program, oldest first (OpenGL holds at most one of each kind).
GLenum pending[8];
int pending_count = 0;

void hold(GLenum error) {
  for (int i = 0; i < pending_count; ++i)
    if (pending[i] == error) return;
  if (pending_count < 8) pending[pending_count++] = error;
}


std::string upper(const char *s) {
  std::string r(s);
  for (char &c : r) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return r;
}

template <typename T>
T read(const unsigned char *bytes, int j) {
  return read_at<T>(bytes, j);
}

std::string value_of(const Arg &a, const void *p) {
  switch (a.kind) {
    case 'b': return show_int(*static_cast<const std::uint8_t *>(p));
    case 's': return show_int(*static_cast<const std::int16_t *>(p));
    case 'i': return show_int(*static_cast<const std::int32_t *>(p));
    case 'u':
    case 'e': return show_int(*static_cast<const std::uint32_t *>(p));
    case 'l': return show_int(read<std::int64_t>(static_cast<const unsigned char *>(p), 0));
    case 'f': return show_float(*static_cast<const float *>(p));
    case 'd': return show_double(read<double>(static_cast<const unsigned char *>(p), 0));
    default: return "";
  }
}

const char *const kInteger = "looks like an INTEGER passed for a REAL";
const char *const kSingle = "looks like a REAL or INTEGER passed for a DOUBLE PRECISION";

// Argument `position` (from 1) of the list "(a, b, c)", in capitals.
std::string nth_name(const char *names, int position) {
  std::string list(names);
  int n = 1;
  std::string name;
  for (char c : list) {
    if (c == ',') {
      ++n;
    } else if (n == position && c != '(' && c != ')' && c != ' ') {
      name += c;
    }
  }
  return upper(name.c_str());
}

}  // namespace

void check_single(const char *entry, int position, const char *names, float value) {
  if (integer_pattern(value)) problem(entry, position, nth_name(names, position).c_str(), kInteger, show_float(value));
}

void check_double(const char *entry, int position, const char *names, double value) {
  if (single_pattern(value)) problem(entry, position, nth_name(names, position).c_str(), kSingle, show_double(value));
}

void inspect(const char *entry, const Arg *args, int n, const void *const *addresses) {
  for (int i = 0; i < n; ++i) {
    const Arg &a = args[i];
    if (a.kind == 'f' || a.kind == 'F') {
      const auto *bytes = static_cast<const unsigned char *>(addresses[i]);
      const int k = a.kind == 'f' ? 1 : a.count;
      for (int j = 0; j < k; ++j) {
        const float v = read<float>(bytes, j);
        if (!integer_pattern(v)) continue;
        std::string where = a.kind == 'f' ? upper(a.name) : upper(a.name) + "(" + std::to_string(j + 1) + ")";
        problem(entry, i + 1, where.c_str(), kInteger, show_float(v));
        break;
      }
    } else if (a.kind == 'd' || a.kind == 'D') {
      const auto *bytes = static_cast<const unsigned char *>(addresses[i]);
      const int k = a.kind == 'd' ? 1 : a.count;
      for (int j = 0; j < k; ++j) {
        const double v = read<double>(bytes, j);
        if (!single_pattern(v)) continue;
        std::string where = a.kind == 'd' ? upper(a.name) : upper(a.name) + "(" + std::to_string(j + 1) + ")";
        problem(entry, i + 1, where.c_str(), kSingle, show_double(v));
        break;
      }
    }
  }
}

void after(const char *entry, const Arg *args, int n, const void *const *addresses, Bracket bracket) {
  if (bracket == Bracket::End) {
    inside_begin_end = false;
  } else if (inside_begin_end) {
    return;
  } else if (bracket == Bracket::Begin) {
    // Once glBegin has run, asking is an error; an error of glBegin itself
    // (a mode OpenGL rejects) is read at the fglEnd.
    inside_begin_end = true;
    return;
  }
  for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
    hold(error);
    // An invalid enumerant is among the enumerant arguments; any other error
    // may concern any scalar argument.
    std::string detail;
    for (int i = 0; i < n && args != nullptr; ++i) {
      const Arg &a = args[i];
      if (error == GL_INVALID_ENUM ? a.kind != 'e' : (a.kind == 'p' || a.kind == 'F' || a.kind == 'D')) continue;
      detail += detail.empty() ? "(" : ", ";
      detail += "argument " + std::to_string(i + 1) + " " + upper(a.name) + " = " + value_of(a, addresses[i]);
    }
    if (!detail.empty()) detail += ")";
    std::string kind = std::string("raised ") + gl_error_name(error);
    if (bracket == Bracket::End) kind += " (by fglEnd, or by fglBegin or a call between them)";
    problem(entry, 0, "", kind.c_str(), detail);
  }
}

GLenum take_pending_error() {
  if (pending_count == 0) return GL_NO_ERROR;
  const GLenum e = pending[0];
  std::memmove(pending, pending + 1, sizeof pending[0] * static_cast<std::size_t>(--pending_count));
  return e;
}

void count_needed(std::size_t have, std::size_t need) {
  if (have >= need) return;
  const Entry &e = current_entry();
  if (e.name == nullptr || e.count_position == 0 || e.negative_count || !e.sized) return;
  problem(e.name, e.count_position, "N", "item count smaller than what OpenGL uses",
          std::to_string(have) + ", needs " + std::to_string(need));
}

Scope::Scope(const char *entry, int count_position, const GLint *count, bool gl_errors, bool sized)
    : previous_(current_entry()), gl_errors_(gl_errors) {
  current_entry() = Entry{entry, count_position, count != nullptr && *count < 0, sized};
  if (current_entry().negative_count) {
    problem(entry, count_position, "N", "negative item count", show_int(*count));
  }
}

Scope::~Scope() {
  const char *entry = current_entry().name;
  current_entry() = previous_;
  if (gl_errors_ && previous_.name == nullptr) after(entry, nullptr, 0, nullptr, Bracket::None);
}

}  // namespace fgl::check
