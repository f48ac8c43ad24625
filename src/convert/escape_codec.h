#pragma once
// The built-in codec between escaped .properties text (\uXXXX escapes of UTF-16 code units) and
// native code page 932 text.
#include <string>
#include <string_view>

#include "convert/stream_converter.h"

namespace propdesk {

// The case of the hexadecimal digits a..f in the escapes the encoder writes.
enum class HexCase { kLower, kUpper };

// The case most escapes of an escaped text use; lowercase when as many use each, or none has a letter.
HexCase MajorityHexCase(std::string_view escaped);

// Escaped text to native text: every \uXXXX escape whose code unit survives the trip through code
// page 932 becomes that unit's native bytes. Every other byte is copied, so an escape of a unit
// that has no exact native form stays as its six bytes and is written back unchanged.
class EscapeDecoder final : public StreamConverter {
 public:
  EscapeDecoder();

 private:
  const char* Scan(const char* begin, const char* end, bool atEnd, char*& out) override;
};

// Native text to escaped text: every non-ASCII character (a lead byte with its trail byte, or a
// single byte) becomes the \uxxxx escape of its code unit, its digits in hexCase; ASCII bytes are
// copied.
class EscapeEncoder final : public StreamConverter {
 public:
  explicit EscapeEncoder(HexCase hexCase = HexCase::kLower);

 private:
  const char* Scan(const char* begin, const char* end, bool atEnd, char*& out) override;

  HexCase hexCase_;
};

// Whole-text forms of the two. They return false, leaving text untouched, only when no memory can
// be had for the result.
[[nodiscard]] bool DecodeEscapes(std::string& text);
[[nodiscard]] bool EncodeEscapes(std::string& text);
// Encoding into result, leaving text as it is.
[[nodiscard]] bool EncodeEscapes(std::string_view text, std::string& result);

}  // namespace propdesk
