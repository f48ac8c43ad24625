#pragma once
// Finds the bytes of a text that its native encoding does not define, fed block by block. Escapes
// are ASCII, so the same check serves escaped text, whose non-ASCII bytes are native text as well.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace propdesk {

enum class NativeEncoding { kCp932, kUtf8 };

class NativeTextCheck {
 public:
  explicit NativeTextCheck(NativeEncoding encoding) : encoding_(encoding) {}

  NativeEncoding encoding() const { return encoding_; }
  void Feed(std::string_view block);
  // Ends the text: a character cut off by the end is invalid.
  void Finish();

  // UTF-8: the bytes that belong to no valid sequence (each becomes \ufffd when encoded). Code page
  // 932: the undefined pairs and the lone lead bytes (each becomes \u30fb when encoded).
  std::uint64_t invalidCount() const { return Invalid().count; }
  // The byte offset of the first of them.
  std::uint64_t firstInvalidOffset() const { return Invalid().first; }
  // For code page 932: the text starts with a UTF-8 byte-order mark, or all its non-ASCII bytes
  // form valid UTF-8 with at least one multi-byte character.
  bool LooksLikeUtf8() const;

 private:
  struct Tally {
    std::uint64_t count = 0;
    std::uint64_t first = 0;
    void Add(std::uint64_t offset, std::uint64_t bytes);
  };

  const Tally& Invalid() const { return encoding_ == NativeEncoding::kUtf8 ? utf8Invalid_ : cp932Invalid_; }
  bool TracksUtf8() const { return encoding_ == NativeEncoding::kUtf8 || utf8Invalid_.count == 0; }
  std::uint64_t OffsetOf(const char* p, const char* begin) const {
    return offset_ + static_cast<std::uint64_t>(p - begin);
  }
  void MatchByteOrderMark(std::string_view block);
  void FeedCp932(const char* begin, const char* end);
  void FeedUtf8(const char* begin, const char* end);
  // The fast scans stop only at a character that the end of the block cuts; across the ends of
  // blocks a character is completed a byte at a time.
  const char* ScanCp932(const char* p, const char* begin, const char* end);
  void StepCp932(std::uint8_t b, std::uint64_t offset);
  const char* ScanUtf8(const char* p, const char* begin, const char* end);
  void ResolveUtf8Pending(bool atEnd);

  NativeEncoding encoding_;
  std::uint64_t offset_ = 0;  // of the start of the block being fed
  Tally cp932Invalid_;
  Tally utf8Invalid_;
  bool leadPending_ = false;  // code page 932: the byte before was a lead byte
  std::uint8_t lead_ = 0;
  char utf8Pending_[4];  // the start of a UTF-8 sequence cut by the end of a block
  std::size_t utf8PendingSize_ = 0;
  std::uint64_t utf8PendingOffset_ = 0;
  bool utf8Multibyte_ = false;
  int bomSeen_ = 0;
};

}  // namespace propdesk
