#pragma once
// An append-only byte buffer for building a large text in one block. Below 1 MiB the block doubles;
// from there on it grows by 1 MiB at a time, so a large result wastes at most 1 MiB.
#include <cstddef>
#include <string_view>

namespace propdesk {

class GrowBuffer {
 public:
  GrowBuffer() = default;
  GrowBuffer(const GrowBuffer&) = delete;
  GrowBuffer& operator=(const GrowBuffer&) = delete;
  ~GrowBuffer();

  // Appends count bytes. Throws std::invalid_argument when bytes is null and count is not 0, and
  // std::bad_alloc when no memory can be had; the buffer keeps what it held.
  void Append(const char* bytes, std::size_t count);

  std::string_view View() const { return {block_, size_}; }

 private:
  void Grow(std::size_t needed);

  char* block_ = nullptr;
  std::size_t capacity_ = 0;
  std::size_t size_ = 0;
};

}  // namespace propdesk
