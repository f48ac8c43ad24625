#pragma once
// Conversion of a byte stream fed in blocks of any size. A character or escape cut by the end of
// a block is held back and completed by the next block, so the output does not depend on where
// the input was split.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace propdesk {

class StreamConverter {
 public:
  virtual ~StreamConverter() = default;
  StreamConverter(const StreamConverter&) = delete;
  StreamConverter& operator=(const StreamConverter&) = delete;

  // The room Convert needs for a block of blockSize bytes: the most it writes, plus a few bytes
  // that a scan may overwrite with a whole-word store. MaxOutput(0) is the room Finish needs.
  std::size_t MaxOutput(std::size_t blockSize) const;
  // Converts the next block into out, which has room for MaxOutput(block.size()) bytes, and
  // returns the number of bytes written.
  [[nodiscard]] std::size_t Convert(std::string_view block, char* out);
  // Converts what is still held back as the end of the input and returns the bytes written.
  [[nodiscard]] std::size_t Finish(char* out);
  // How many input bytes could not be read in the source encoding and were replaced.
  virtual std::uint64_t ReplacedCount() const { return 0; }

 protected:
  // lookahead: the most bytes one decision needs to see; growth: the most output bytes per input byte.
  StreamConverter(std::size_t lookahead, std::size_t growth);

  // Converts [begin, end) into out, advancing it, and returns where it stopped. Unless atEnd, it
  // may stop early, but only fewer than lookahead bytes before end; those bytes wait for more input.
  virtual const char* Scan(const char* begin, const char* end, bool atEnd, char*& out) = 0;

 private:
  static constexpr std::size_t kMaxLookahead = 12;
  static constexpr std::size_t kStoreSlack = 8;
  std::size_t lookahead_;
  std::size_t growth_;
  char pending_[kMaxLookahead - 1];
  std::size_t pendingSize_ = 0;
};

// Converts a whole text in place. Returns false, leaving text untouched, only when no memory can
// be had for the result.
[[nodiscard]] bool ConvertWholeText(StreamConverter& converter, std::string& text);
// The same into result, leaving text as it is.
[[nodiscard]] bool ConvertWholeText(StreamConverter& converter, std::string_view text, std::string& result);

// Converts a whole text and appends the result to out; the converter is ready for another text
// afterwards. Throws std::bad_alloc when no memory can be had.
void AppendConverted(StreamConverter& converter, std::string_view text, std::string& out);

}  // namespace propdesk
