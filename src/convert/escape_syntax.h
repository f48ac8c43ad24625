#pragma once
// The \uXXXX escape of one UTF-16 code unit, and the scanning loops shared by the codecs: escaped
// text is copied up to each backslash, native text is copied up to each non-ASCII byte.
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "common/hex_digit.h"

namespace propdesk::escape {

static_assert(std::endian::native == std::endian::little, "word-at-a-time code takes the first byte as the lowest");

// Backslash, 'u', four hexadecimal digits.
constexpr std::ptrdiff_t kSize = 6;

namespace detail {

// Per byte: the value of a hexadecimal digit of either case, or 0x10 for any other byte, so that
// one OR over four digits tells whether all are digits.
constexpr std::array<std::uint8_t, 256> kDigitValues = [] {
  std::array<std::uint8_t, 256> values{};
  for (int b = 0; b < 256; ++b) {
    const int value = HexDigitValue(static_cast<char>(b));
    values[b] = static_cast<std::uint8_t>(value < 0 ? 0x10 : value);
  }
  return values;
}();

// Per byte value: its two lowercase hexadecimal digits.
constexpr std::array<char, 512> kDigitPairs = [] {
  std::array<char, 512> pairs{};
  constexpr char kDigits[] = "0123456789abcdef";
  for (int i = 0; i < 256; ++i) {
    pairs[2 * i] = kDigits[i >> 4];
    pairs[2 * i + 1] = kDigits[i & 15];
  }
  return pairs;
}();

constexpr std::uint64_t kHighBits = 0x8080808080808080u;

}  // namespace detail

// The code unit of the escape at p, whose kSize bytes must be readable, or -1 when there is none.
inline int ParseEscape(const char* p) {
  if (p[0] != '\\' || p[1] != 'u') return -1;
  const auto digit = [p](int i) -> unsigned { return detail::kDigitValues[static_cast<std::uint8_t>(p[i])]; };
  const unsigned a = digit(2), b = digit(3), c = digit(4), d = digit(5);
  if ((a | b | c | d) & 0x10) return -1;
  return static_cast<int>(a << 12 | b << 8 | c << 4 | d);
}

// The four lowercase hexadecimal digits of unit, in the order they are stored.
inline std::uint32_t EscapeDigits(char16_t unit) {
  char digits[4];
  std::memcpy(digits, &detail::kDigitPairs[2 * (unit >> 8)], 2);
  std::memcpy(digits + 2, &detail::kDigitPairs[2 * (unit & 0xFF)], 2);
  std::uint32_t stored;
  std::memcpy(&stored, digits, 4);
  return stored;
}

// Stored digits with their letters a..f made uppercase: of the digit bytes, only letters have 0x40.
inline std::uint32_t UppercaseDigits(std::uint32_t digits) { return digits ^ ((digits & 0x40404040u) >> 1); }

// Writes an escape from its stored digits at out and returns the position after it. It stores
// one 8-byte word, so out needs 2 bytes of room beyond the escape (StreamConverter leaves them).
inline char* WriteEscapeDigits(std::uint32_t digits, char* out) {
  const std::uint64_t word = static_cast<std::uint64_t>(digits) << 16 | ('u' << 8 | '\\');
  std::memcpy(out, &word, 8);
  return out + kSize;
}

// Writes the lowercase escape of unit at out and returns the position after it.
inline char* WriteEscape(char16_t unit, char* out) { return WriteEscapeDigits(EscapeDigits(unit), out); }

// The first byte of [p, end) that is 0x80 or above, or end; tests eight bytes at a time.
inline const char* SkipAscii(const char* p, const char* end) {
  for (; end - p >= 8; p += 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    const std::uint64_t high = word & detail::kHighBits;
    if (high != 0) return p + std::countr_zero(high) / 8;
  }
  while (p < end && static_cast<std::uint8_t>(*p) < 0x80) ++p;
  return p;
}

// The scan of a StreamConverter over escaped text: bytes up to each backslash are copied as they
// are, and decodeEscape(unit, p, end, atEnd, out) handles each well-formed escape at p. It writes
// the result, advancing out, and returns the input bytes it used, or 0 to wait for more input
// (only when !atEnd). A backslash that does not start an escape is copied as one byte, and the
// scan resumes right after it.
template <class DecodeEscape>
const char* ScanEscapedText(const char* p, const char* end, bool atEnd, char*& out, DecodeEscape decodeEscape) {
  char* o = out;
  while (p < end) {
    if (*p != '\\') {
      const void* backslash = std::memchr(p, '\\', static_cast<std::size_t>(end - p));
      const char* stop = backslash ? static_cast<const char*>(backslash) : end;
      std::memcpy(o, p, static_cast<std::size_t>(stop - p));
      o += stop - p;
      p = stop;
      continue;
    }
    if (end - p < kSize && !atEnd) break;
    const int unit = end - p < kSize ? -1 : ParseEscape(p);
    if (unit < 0) {
      *o++ = *p++;
      continue;
    }
    const std::ptrdiff_t used = decodeEscape(static_cast<char16_t>(unit), p, end, atEnd, o);
    if (used == 0) break;
    p += used;
  }
  out = o;
  return p;
}

// The scan of a StreamConverter over native text: ASCII bytes are copied as they are, and
// encodeCharacter(p, end, atEnd, out) handles the character that starts with the non-ASCII byte
// at p. It writes the result, advancing out, and returns the input bytes it used, or 0 to wait for
// more input (only when !atEnd).
template <class EncodeCharacter>
const char* ScanNativeText(const char* p, const char* end, bool atEnd, char*& out, EncodeCharacter encodeCharacter) {
  char* o = out;
  while (p < end) {
    if (static_cast<std::uint8_t>(*p) < 0x80) {
      const char* stop = SkipAscii(p, end);
      std::memcpy(o, p, static_cast<std::size_t>(stop - p));
      o += stop - p;
      p = stop;
      continue;
    }
    const std::ptrdiff_t used = encodeCharacter(p, end, atEnd, o);
    if (used == 0) break;
    p += used;
  }
  out = o;
  return p;
}

}  // namespace propdesk::escape
