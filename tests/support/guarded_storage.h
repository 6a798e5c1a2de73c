// Storage that ends where a page without access begins: a read or write of
// one byte past it faults at once, in any build, not only under
// AddressSanitizer. For scalars and small arrays handed to an entry by
// address, so that reading them at too great a width cannot go unseen.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace guarded {

class Block {
 public:
  // `size` bytes (at most a page), the last of them just before the guard page.
  explicit Block(std::size_t size) : size_(size) {
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    if (size > page) std::abort();
    void *map = mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (map == MAP_FAILED) std::abort();
    map_ = static_cast<unsigned char *>(map);
    if (mprotect(map_ + page, page, PROT_NONE) != 0) std::abort();
    data_ = map_ + page - size;
  }
  // Storage holding `value`, ending at the guard page.
  template <typename T>
  static Block holding(const T &value) {
    Block b(sizeof value);
    std::memcpy(b.data(), &value, sizeof value);
    return b;
  }
  ~Block() {
    if (map_ != nullptr) munmap(map_, 2 * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)));
  }
  Block(Block &&other) noexcept
      : map_(std::exchange(other.map_, nullptr)), data_(other.data_), size_(other.size_) {}
  Block &operator=(Block &&) = delete;
  Block(const Block &) = delete;
  Block &operator=(const Block &) = delete;

  unsigned char *data() const { return data_; }
  std::size_t size() const { return size_; }
  template <typename T>
  const T *as() const {
    return reinterpret_cast<const T *>(data_);
  }

 private:
  unsigned char *map_ = nullptr;
  unsigned char *data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace guarded
