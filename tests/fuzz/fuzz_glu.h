// The stand-in for GLU's image functions (fuzz_glu.cpp): what the last one
// read from its input image.
#pragma once

#include <cstdint>
#include <vector>

namespace fuzz_glu {

struct Input {
  bool called = false;
  const void *address = nullptr;
  std::vector<std::uint8_t> read;
};

Input &input();
void reset();

}  // namespace fuzz_glu
