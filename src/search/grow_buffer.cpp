#include "search/grow_buffer.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace propdesk {
namespace {

constexpr std::size_t kFirstCapacity = 32;
constexpr std::size_t kLinearStep = 0x100000;

}  // namespace

GrowBuffer::~GrowBuffer() { std::free(block_); }

void GrowBuffer::Append(const char* bytes, std::size_t count) {
  if (count == 0) return;
  if (bytes == nullptr) throw std::invalid_argument("null pointer exception");
  if (capacity_ - size_ < count) Grow(count);
  std::memcpy(block_ + size_, bytes, count);
  size_ += count;
}

void GrowBuffer::Grow(std::size_t needed) {
  if (needed > std::numeric_limits<std::size_t>::max() / 4 - capacity_) throw std::bad_alloc();
  std::size_t capacity = 0;
  if (block_ == nullptr) {
    capacity = needed > kFirstCapacity ? needed : kFirstCapacity;
  } else {
    capacity = capacity_ < kLinearStep ? capacity_ * 2 : capacity_ + kLinearStep;
    if (capacity - size_ < needed) capacity += needed;
  }
  // realloc moves the used bytes into the new block and releases the old one; for large blocks
  // the system can do that by remapping pages instead of copying them.
  void* grown = std::realloc(block_, capacity);
  if (grown == nullptr) throw std::bad_alloc();
  block_ = static_cast<char*>(grown);
  capacity_ = capacity;
}

}  // namespace propdesk
