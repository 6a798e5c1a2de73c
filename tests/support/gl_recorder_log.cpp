// The log and hooks behind the generated stand-in definitions.
#include "gl_recorder.h"

#include <map>

namespace gl_recorder {
namespace {
std::vector<Call> log;
std::map<std::string, Hook> hooks;
}  // namespace

const std::vector<Call> &calls() { return log; }

void reset() {
  log.clear();
  hooks.clear();
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
