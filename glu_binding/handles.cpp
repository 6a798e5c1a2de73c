// The handle table shared by the three kinds of GLU object.
#include "handles.h"

#include <cstdint>
#include <limits>
#include <mutex>
#include <unordered_map>

namespace fglu {
namespace {

struct Table {
  std::mutex mutex;
  std::unordered_map<GLint, std::unique_ptr<Object>> objects;
  GLint last = 0;  // the last handle issued
};

Table &table() {
  static Table *t = new Table;  // never destroyed: entries may run during exit
  return *t;
}

thread_local Object *current_object = nullptr;

#ifdef FGL_CHECKING
const char *name_of(Kind kind) {
  switch (kind) {
    case Kind::Quadric: return "QUAD";
    case Kind::Tess: return "TESS";
    default: return "NURB";
  }
}
// Called with the table locked.
void report_missing(const Table &t, GLint handle, Kind kind) {
  const auto it = t.objects.find(handle);
  fglu::check::missing_handle(handle, name_of(kind), handle > 0 && handle <= t.last, it != t.objects.end());
}
#define FGLU_REPORT_MISSING(t, handle, kind) report_missing(t, handle, kind)
#else
#define FGLU_REPORT_MISSING(t, handle, kind)
#endif

}  // namespace

GLint issue(Kind kind, void *glu) {
  Table &t = table();
  auto object = std::make_unique<Object>();
  object->kind = kind;
  object->glu = glu;
  std::lock_guard lock(t.mutex);
  if (t.last == std::numeric_limits<GLint>::max()) return 0;
  const GLint handle = ++t.last;
  t.objects.emplace(handle, std::move(object));
  return handle;
}

Object *find(GLint handle, Kind kind) {
  Table &t = table();
  std::lock_guard lock(t.mutex);
  auto it = t.objects.find(handle);
  if (it == t.objects.end() || it->second->kind != kind) {
    FGLU_REPORT_MISSING(t, handle, kind);
    return nullptr;
  }
  return it->second.get();
}

std::unique_ptr<Object> release(GLint handle, Kind kind) {
  Table &t = table();
  std::lock_guard lock(t.mutex);
  auto it = t.objects.find(handle);
  if (it == t.objects.end() || it->second->kind != kind) {
    FGLU_REPORT_MISSING(t, handle, kind);
    return nullptr;
  }
  std::unique_ptr<Object> object = std::move(it->second);
  t.objects.erase(it);
  return object;
}

std::size_t live_handles() {
  Table &t = table();
  std::lock_guard lock(t.mutex);
  return t.objects.size();
}

Object *current() { return current_object; }

Current::Current(Object *object) : previous_(current_object) { current_object = object; }
Current::~Current() { current_object = previous_; }

}  // namespace fglu
