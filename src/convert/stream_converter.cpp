#include "convert/stream_converter.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <exception>
#include <vector>

#include "convert/in_place.h"

namespace propdesk {

StreamConverter::StreamConverter(std::size_t lookahead, std::size_t growth) : lookahead_(lookahead), growth_(growth) {
  assert(lookahead >= 1 && lookahead <= kMaxLookahead);
}

std::size_t StreamConverter::MaxOutput(std::size_t blockSize) const { return growth_ * (blockSize + lookahead_ - 1) + kStoreSlack; }

std::size_t StreamConverter::Convert(std::string_view block, char* out) {
  char* written = out;
  const char* next = block.data();
  const char* const end = next + block.size();
  if (pendingSize_ > 0) {
    // Join the held-back bytes with the start of the block: every decision that begins among the
    // held-back bytes needs at most lookahead - 1 bytes of the block.
    const std::size_t taken = std::min(block.size(), lookahead_ - 1);
    char joined[2 * (kMaxLookahead - 1)];
    std::memcpy(joined, pending_, pendingSize_);
    std::memcpy(joined + pendingSize_, next, taken);
    const std::size_t joinedSize = pendingSize_ + taken;
    const auto used = static_cast<std::size_t>(Scan(joined, joined + joinedSize, false, written) - joined);
    if (taken == block.size()) {
      assert(joinedSize - used < lookahead_);
      std::memmove(pending_, joined + used, joinedSize - used);
      pendingSize_ = joinedSize - used;
      return static_cast<std::size_t>(written - out);
    }
    // With lookahead - 1 bytes of the block joined, the scan cannot stop among the held-back bytes.
    next += used - pendingSize_;
    pendingSize_ = 0;
  }
  const char* stop = Scan(next, end, false, written);
  pendingSize_ = static_cast<std::size_t>(end - stop);
  assert(pendingSize_ < lookahead_);
  std::memcpy(pending_, stop, pendingSize_);
  return static_cast<std::size_t>(written - out);
}

std::size_t StreamConverter::Finish(char* out) {
  char* written = out;
  Scan(pending_, pending_ + pendingSize_, true, written);
  pendingSize_ = 0;
  return static_cast<std::size_t>(written - out);
}

namespace {

// Room for the longest result the converter can make of size bytes, so that a growing result is
// never copied: room that is never written costs address space, not memory. Where that much
// address space cannot be had, the result starts at the input's size and grows as it must.
void ReserveResult(const StreamConverter& converter, std::size_t size, std::string& result) {
  try {
    result.reserve(converter.MaxOutput(size));
  } catch (const std::exception&) {
    result.reserve(size);
  }
}

}  // namespace

bool ConvertWholeText(StreamConverter& converter, std::string& text) {
  return ConvertInPlace(text, [&converter](std::string_view from, std::string& result) {
    return ConvertWholeText(converter, from, result);
  });
}

bool ConvertWholeText(StreamConverter& converter, std::string_view text, std::string& result) {
  // Blocks small enough for the scratch output to stay in the cache.
  constexpr std::size_t kBlockSize = 64 * 1024;
  try {
    std::vector<char> scratch(converter.MaxOutput(kBlockSize));
    result.clear();
    ReserveResult(converter, text.size(), result);
    for (std::size_t offset = 0; offset < text.size(); offset += kBlockSize) {
      const std::string_view block = text.substr(offset, kBlockSize);
      result.append(scratch.data(), converter.Convert(block, scratch.data()));
    }
    result.append(scratch.data(), converter.Finish(scratch.data()));
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void AppendConverted(StreamConverter& converter, std::string_view text, std::string& out) {
  const std::size_t start = out.size();
  out.resize(start + converter.MaxOutput(text.size()) + converter.MaxOutput(0));
  std::size_t written = converter.Convert(text, out.data() + start);
  written += converter.Finish(out.data() + start + written);
  out.resize(start + written);
}

}  // namespace propdesk
