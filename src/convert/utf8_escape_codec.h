#pragma once
// The escape codec with UTF-8 as the native encoding, for the command-line converter.
#include <cstdint>

#include "convert/stream_converter.h"

namespace propdesk {

// Escaped text to UTF-8: an escape of a high surrogate followed by one of a low surrogate becomes
// one character; an escape of a lone surrogate, which has no UTF-8 form, stays as its six bytes.
// Every other byte is copied.
class Utf8EscapeDecoder final : public StreamConverter {
 public:
  Utf8EscapeDecoder();

 private:
  const char* Scan(const char* begin, const char* end, bool atEnd, char*& out) override;
};

// UTF-8 to escaped text: every non-ASCII character becomes the escape of its code unit, or the
// escapes of its surrogate pair above U+FFFF. Each byte that is not part of a valid UTF-8 sequence
// becomes \ufffd and is counted by ReplacedCount.
class Utf8EscapeEncoder final : public StreamConverter {
 public:
  Utf8EscapeEncoder();
  std::uint64_t ReplacedCount() const override { return replaced_; }

 private:
  const char* Scan(const char* begin, const char* end, bool atEnd, char*& out) override;
  std::uint64_t replaced_ = 0;
};

}  // namespace propdesk
