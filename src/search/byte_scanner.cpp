#include "search/byte_scanner.h"

#include <algorithm>
#include <cstring>

namespace propdesk {

ForwardByteScanner::ForwardByteScanner(std::string_view text, const std::array<std::uint8_t, 2>& values,
                                       std::size_t valueCount)
    : text_(text), values_(values), valueCount_(valueCount) {}

std::size_t ForwardByteScanner::Next(std::size_t from) {
  std::size_t nearest = text_.size();
  for (std::size_t k = 0; k < valueCount_; ++k) {
    if (!started_ || found_[k] < from) {
      const void* hit = from < text_.size() ? std::memchr(text_.data() + from, values_[k], text_.size() - from) : nullptr;
      found_[k] = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data()) : text_.size();
    }
    nearest = std::min(nearest, found_[k]);
  }
  started_ = true;
  return nearest;
}

BackwardByteScanner::BackwardByteScanner(std::string_view text, const std::array<std::uint8_t, 2>& values,
                                         std::size_t valueCount)
    : text_(text), values_(values), valueCount_(valueCount) {}

std::optional<std::size_t> BackwardByteScanner::Previous(std::size_t before) {
  before = std::min(before, text_.size());
  std::optional<std::size_t> nearest;
  for (std::size_t k = 0; k < valueCount_; ++k) {
    if (!started_ || (found_[k] && *found_[k] >= before)) {
      const std::size_t hit = text_.substr(0, before).rfind(static_cast<char>(values_[k]));
      found_[k].reset();
      if (hit != std::string_view::npos) found_[k] = hit;
    }
    if (found_[k] && (!nearest || *found_[k] > *nearest)) nearest = found_[k];
  }
  started_ = true;
  return nearest;
}

}  // namespace propdesk
