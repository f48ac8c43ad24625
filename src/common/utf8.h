#pragma once
// UTF-8 sequences of single code points, and the UTF-16 surrogates of code points above U+FFFF.
// Valid UTF-8 here is the standard's: no overlong forms, no surrogates, nothing above U+10FFFF.
#include <cstddef>
#include <string>
#include <string_view>

namespace propdesk::utf8 {

// The byte-order mark some editors put at the start of a UTF-8 file.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The longest sequence, in bytes.
inline constexpr std::size_t kMaxSequence = 4;

// The length of the sequence that a byte starts: 1 for ASCII, 2 to 4 for a lead byte, 0 for a
// byte that never starts a valid sequence (a continuation byte, C0, C1, F5 to FF).
[[nodiscard]] std::size_t SequenceLength(unsigned char lead);

struct Decoded {
  char32_t codePoint = 0;
  std::size_t length = 0;  // 0: bytes do not start with a valid, complete sequence
};

// Decodes the sequence at the start of bytes.
[[nodiscard]] Decoded Decode(std::string_view bytes);

// Writes the sequence of a code point (at most U+10FFFF, not a surrogate) at out and returns the
// position after it.
[[nodiscard]] char* Encode(char32_t codePoint, char* out);
void Append(std::string& out, char32_t codePoint);

constexpr bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
constexpr bool IsSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }
constexpr char32_t CombineSurrogates(char32_t high, char32_t low) {
  return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}
// The two halves of a code point above U+FFFF.
constexpr char16_t HighSurrogate(char32_t codePoint) {
  return static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
}
constexpr char16_t LowSurrogate(char32_t codePoint) {
  return static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
}

}  // namespace propdesk::utf8
