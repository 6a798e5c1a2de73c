// The log and hooks behind the generated stand-in definitions.
#include "gl_recorder.h"

#include <GL/glx.h>

#include <cstring>
#include <map>
#include <set>

namespace gl_recorder {
namespace {
std::vector<Call> log;
std::map<std::string, Hook> hooks;
std::set<std::string> missing;
std::map<std::string, int> lookup_counts;
}  // namespace

const std::vector<Call> &calls() { return log; }

void reset() {
  log.clear();
  hooks.clear();
  missing.clear();
}

void set_missing(const std::string &command) { missing.insert(command); }

int lookups(const std::string &command) {
  auto n = lookup_counts.find(command);
  return n == lookup_counts.end() ? 0 : n->second;
}

void (*look_up(const GLubyte *name))() {
  const char *s = reinterpret_cast<const char *>(name);
  ++lookup_counts[s];
  if (missing.count(s) != 0) return nullptr;
  for (const Named *n = kLookedUp; n->name != nullptr; ++n)
    if (std::strcmp(n->name, s) == 0) return n->address;
  return nullptr;
}

void set_hook(const std::string &command, Hook hook) { hooks[command] = std::move(hook); }

void set_result(const std::string &command, std::uint64_t bits) {
  hooks[command] = [bits](const Call &) { return bits; };
}

std::uint64_t record(const char *command, std::initializer_list<Argument> args) {
  log.push_back(Call{command, std::vector<Argument>(args)});
  auto hook = hooks.find(command);
  return hook == hooks.end() ? 0 : hook->second(log.back());
}

}  // namespace gl_recorder

extern "C" {
__GLXextFuncPtr glXGetProcAddressARB(const GLubyte *name) { return gl_recorder::look_up(name); }
void (*glXGetProcAddress(const GLubyte *name))() { return gl_recorder::look_up(name); }
}
