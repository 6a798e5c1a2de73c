// OpenGL's debug messages for Fortran callers: a trampoline that hands each
// message to the program's routine as Fortran arguments, and the message log
// read into CHARACTER arrays.
//
// These entries are hand-written: a routine that OpenGL calls and text that
// leaves the layer in pieces (one CHARACTER element per message) fit no rule
// of the generated families.
//
// The routine is ROUTINE(SOURCE, TYPE, ID, SEVERITY, MESSAGE, WORD): four
// INTEGER*4 by address, the text as a CHARACTER*(*) (its address, and its
// length as one more argument after the others, a size_t value: gfortran and
// Flang read a size_t there, and f2c's ftnlen, a 4-byte int, is the low half
// of the same 8-byte argument slot on the little-endian 64-bit targets the
// layer is built for), then the word by address. As with the GLUT layer's
// user-data registrations, the word is copied at registration into a record
// of the layer's, which OpenGL keeps as its user parameter; each message
// gives the routine its own copy of the word and of the text, so a routine
// that assigns to either changes neither the record nor OpenGL's message.
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "fgl.h"
#include "fgl_conventions.h"
#include "text.h"

static_assert(sizeof(std::size_t) == 8, "the hidden length is passed as an 8-byte value");

namespace {

template <typename Routine, typename Word>
struct Record {
  Routine routine;
  Word word;
};

// One record per routine and word registered, kept while the program runs:
// OpenGL may hold the address of any of them (one per context), and a program
// that registers the same pair again reuses its record, so registering in a
// loop takes no more memory.
template <typename Routine, typename Word>
const Record<Routine, Word> *record_for(Routine routine, Word word) {
  static std::mutex lock;
  static std::deque<Record<Routine, Word>> records;
  const std::lock_guard<std::mutex> held(lock);
  for (const auto &r : records)
    if (r.routine == routine && r.word == word) return &r;
  records.push_back({routine, word});
  return &records.back();
}

// The message's characters: `length` of them (OpenGL's count, without the
// NUL), or up to the NUL when OpenGL gives no count; a NUL counted in the
// length is not text either.
std::string message_text(GLsizei length, const GLchar *message) {
  if (message == nullptr) return {};
  std::size_t n = length >= 0 ? static_cast<std::size_t>(length) : std::strlen(message);
  while (n > 0 && message[n - 1] == '\0') --n;
  return std::string(message, n);
}

template <typename Routine, typename Word>
void GLAPIENTRY trampoline(GLenum source, GLenum type, GLuint id, GLenum severity, GLsizei length,
                           const GLchar *message, const void *data) {
  const auto *record = static_cast<const Record<Routine, Word> *>(data);
  if (record == nullptr || record->routine == nullptr) return;
  GLint s = static_cast<GLint>(source), t = static_cast<GLint>(type), i = static_cast<GLint>(id),
        v = static_cast<GLint>(severity);
  Word word = record->word;
  std::string text = message_text(length, message);
  record->routine(&s, &t, &i, &v, text.data(), &word, text.size());
}

template <typename Routine, typename Word>
void install(Routine routine, Word word) {
  if (routine == nullptr) {
    glDebugMessageCallback(nullptr, nullptr);
    return;
  }
  glDebugMessageCallback(trampoline<Routine, Word>, record_for(routine, word));
}

}  // namespace

extern "C" FGL_API void fglDebugMessageCallback(fgl_debug_routine_w8 routine, const long long *word) {
  FGL_CHECK_ENTRY("fglDebugMessageCallback", 0, nullptr);
  install(routine, *word);
}
FGL_FORTRAN_ALIAS(fglDebugMessageCallback, fgldebugmessagecallback_)

extern "C" FGL_API void fglDebugMessageCallbackI4(fgl_debug_routine_w4 routine, const int *word) {
  FGL_CHECK_ENTRY("fglDebugMessageCallbackI4", 0, nullptr);
  install(routine, *word);
}
FGL_FORTRAN_ALIAS(fglDebugMessageCallbackI4, fgldebugmessagecallbacki4_)

extern "C" FGL_API void fglDebugMessageCallbackNull(void) {
  FGL_CHECK_ENTRY("fglDebugMessageCallbackNull", 0, nullptr);
  glDebugMessageCallback(nullptr, nullptr);
}
FGL_FORTRAN_ALIAS(fglDebugMessageCallbackNull, fgldebugmessagecallbacknull_)

// OpenGL hands over as many whole messages as fit its buffer, and stops at
// the first that does not: a buffer of *count times the longest message
// OpenGL makes takes *count messages (or the whole log) in one call. Each element then gets its
// message truncated or blank-padded (the NUL that ends each one in OpenGL's
// buffer is not copied).
extern "C" FGL_API GLint fglGetDebugMessageLogC(const GLint *count, GLint *sources, GLint *types, GLint *ids,
                                                GLint *severities, GLint *lengths, char *messages, int length) {
  FGL_CHECK_ENTRY("fglGetDebugMessageLogC", 1, count);
  const GLint wanted = std::max<GLint>(*count, 0);
  if (wanted == 0) return 0;
  // The log holds at most GL_MAX_DEBUG_LOGGED_MESSAGES: a larger count asks
  // for no more room than that.
  GLint longest = 0, most = 0;
  glGetIntegerv(GL_MAX_DEBUG_MESSAGE_LENGTH, &longest);
  glGetIntegerv(GL_MAX_DEBUG_LOGGED_MESSAGES, &most);
  const std::size_t room = static_cast<std::size_t>(std::max<GLint>(longest, 1));
  const std::size_t n = static_cast<std::size_t>(std::min(wanted, std::max<GLint>(most, 1)));
  std::vector<GLenum> s(n), t(n), v(n);
  std::vector<GLuint> i(n);
  std::vector<GLsizei> sizes(n);
  std::vector<GLchar> buffer(room * n);
  const GLuint got = std::min<GLuint>(
      glGetDebugMessageLog(static_cast<GLuint>(n), static_cast<GLsizei>(std::min<std::size_t>(buffer.size(), INT32_MAX)),
                           s.data(), t.data(), i.data(), v.data(), sizes.data(), buffer.data()),
      static_cast<GLuint>(n));
  const std::size_t element = fgl::text::room_of(length);
  std::size_t at = 0;
  for (std::size_t k = 0; k < got; ++k) {
    // sizes[k] counts the message's NUL.
    const std::size_t stored = std::min<std::size_t>(static_cast<std::size_t>(std::max<GLsizei>(sizes[k], 0)),
                                                     buffer.size() - at);
    const std::string text = message_text(static_cast<GLsizei>(stored), buffer.data() + at);
    at += stored;
    sources[k] = static_cast<GLint>(s[k]);
    types[k] = static_cast<GLint>(t[k]);
    ids[k] = static_cast<GLint>(i[k]);
    severities[k] = static_cast<GLint>(v[k]);
    lengths[k] = static_cast<GLint>(text.size());
    fgl::text::deliver(text.data(), text.size(), messages + element * k, length);
  }
  return static_cast<GLint>(got);
}
FGL_FORTRAN_ALIAS(fglGetDebugMessageLogC, fglgetdebugmessagelogc_)
