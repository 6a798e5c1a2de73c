// Common ground of the repacking tests against the recording libGL: an
// emulated pixel-store and texture state served through the query hooks,
// hooks that read or write the memory behind a pointer argument as OpenGL
// would (and check that a heap temporary was allocated large enough for it),
// caller storage of exactly the requested size, and a way to make the next
// heap allocation fail.
#pragma once

#include "fgl.h"
#include "gl_recorder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace repacking_test {

using Bytes = std::vector<unsigned char>;

// Makes the next calloc of this process return null (see calloc_failure.cpp).
void fail_next_calloc();
// True until the failure has been handed out.
bool calloc_failure_pending();
// The bytes from `p` to the end of the heap block calloc handed out that
// holds it, while that block is not freed; nothing when p is in no such block
// (the caller's own array, or a temporary inside the entry's frame).
std::optional<std::size_t> temporary_room(const void *p);

// The raw little-endian bytes of a list of values.
template <typename T>
Bytes bytes_of(std::initializer_list<T> values) {
  Bytes out(values.size() * sizeof(T));
  std::size_t at = 0;
  for (T v : values) {
    std::memcpy(out.data() + at, &v, sizeof v);
    at += sizeof v;
  }
  return out;
}

// Caller storage of exactly values.size() elements on the heap, so that a
// read or write of one element more is caught by AddressSanitizer.
template <typename T>
std::unique_ptr<T[]> exact(const std::vector<T> &values) {
  auto p = std::make_unique<T[]>(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) p[i] = values[i];
  return p;
}
template <typename T>
std::unique_ptr<T[]> filled(std::size_t n, T value) {
  auto p = std::make_unique<T[]>(n);
  for (std::size_t i = 0; i < n; ++i) p[i] = value;
  return p;
}
template <typename T>
std::vector<T> contents(const T *p, std::size_t n) {
  return std::vector<T>(p, p + n);
}

class RecorderTest : public ::testing::Test {
 protected:
  void SetUp() override { restart(); }
  void TearDown() override { gl_recorder::reset(); }

  // A fresh log with OpenGL's initial state behind the query hooks.
  void restart() {
    gl_recorder::reset();
    received.clear();
    room.reset();
    // OpenGL's initial pixel-store state.
    integers = {{GL_UNPACK_ALIGNMENT, 4}, {GL_PACK_ALIGNMENT, 4}};
    gl_recorder::set_hook("glGetIntegerv", [this](const gl_recorder::Call &c) {
      auto it = integers.find(c.args[0].as<GLenum>());
      *static_cast<GLint *>(const_cast<void *>(c.args[1].address())) = it == integers.end() ? 0 : it->second;
      return std::uint64_t{0};
    });
    // The level of a bound target, or of a named texture.
    const auto level = [this](const gl_recorder::Call &c) {
      const GLenum pname = c.args[2].as<GLenum>();
      *static_cast<GLint *>(const_cast<void *>(c.args[3].address())) =
          pname == GL_TEXTURE_WIDTH ? texture_width : pname == GL_TEXTURE_HEIGHT ? texture_height : 1;
      return std::uint64_t{0};
    };
    gl_recorder::set_hook("glGetTexLevelParameteriv", level);
    gl_recorder::set_hook("glGetTextureLevelParameteriv", level);
  }

  // Every recorded call of one command.
  static std::vector<gl_recorder::Call> calls_of(const std::string &command) {
    std::vector<gl_recorder::Call> out;
    for (const auto &c : gl_recorder::calls())
      if (c.command == command) out.push_back(c);
    return out;
  }

  // `command` reads `bytes` bytes through its pointer argument `index`, as
  // OpenGL would; they land in `received`.
  void reads(const std::string &command, std::size_t index, std::size_t bytes) {
    gl_recorder::set_hook(command, [this, command, index, bytes](const gl_recorder::Call &c) {
      const auto *p = static_cast<const unsigned char *>(c.args[index].address());
      if (!fits(command, p, bytes)) return std::uint64_t{0};
      received.assign(p, p + bytes);
      return std::uint64_t{0};
    });
  }

  // `command` writes `data` through its pointer argument `index`.
  void writes(const std::string &command, std::size_t index, Bytes data) {
    gl_recorder::set_hook(command, [this, command, index, data](const gl_recorder::Call &c) {
      void *p = const_cast<void *>(c.args[index].address());
      if (fits(command, p, data.size()) && !data.empty()) std::memcpy(p, data.data(), data.size());
      return std::uint64_t{0};
    });
  }

  // Whether `bytes` from `p` lie within the heap temporary that holds p; a
  // failure is reported, and the stand-in then touches nothing. The room
  // found is kept in `room` (nothing when p is not in a heap temporary).
  bool fits(const std::string &command, const void *p, std::size_t bytes) {
    room = temporary_room(p);
    if (!room || bytes <= *room) return true;
    ADD_FAILURE() << command << " touches " << bytes << " bytes of a temporary allocated with " << *room;
    return false;
  }

  std::map<GLenum, GLint> integers;
  GLint texture_width = 0, texture_height = 0;
  Bytes received;
  std::optional<std::size_t> room;  // of the temporary the last hook touched
};

}  // namespace repacking_test
