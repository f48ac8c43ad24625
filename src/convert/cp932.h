#pragma once
// Code page 932 (Japanese) conversion of single UTF-16 code units, with the mappings,
// best-fit substitutions and default characters of the Windows conversion functions.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "convert/cp932_tables.h"

namespace propdesk::cp932 {

constexpr bool IsLeadByte(std::uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
constexpr bool IsTrailByte(std::uint8_t b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// The length of the character that begins at text[at] (at < text.size()): 2 for a lead byte
// followed by a trail byte, else 1. A lead byte followed by anything else, or by nothing, is a
// character of its own, as the conversion reads it; so a line break after it stays a line break.
// The codec, the lexer, the views and search all divide text into characters by this rule.
constexpr std::size_t CharacterLength(std::string_view text, std::size_t at) {
  return IsLeadByte(static_cast<std::uint8_t>(text[at])) && at + 1 < text.size() &&
                 IsTrailByte(static_cast<std::uint8_t>(text[at + 1]))
             ? 2
             : 1;
}

// Writes the one or two bytes of a code unit to out and returns their count.
inline int EncodeUnit(char16_t unit, char* out) {
  const std::uint16_t bytes = cp932_tables::kUnitToBytes[unit];
  if (bytes < 0x100) {
    out[0] = static_cast<char>(bytes);
    return 1;
  }
  out[0] = static_cast<char>(bytes >> 8);
  out[1] = static_cast<char>(bytes & 0xFF);
  return 2;
}

// The code unit of one byte converted on its own (a lead byte alone gives U+30FB).
inline char16_t DecodeSingle(std::uint8_t byte) { return cp932_tables::kSingleToUnit[byte]; }

// The code unit of a lead byte followed by any byte (an undefined pair gives U+30FB).
inline char16_t DecodePair(std::uint8_t lead, std::uint8_t trail) {
  const int row = lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 0x1F;
  return cp932_tables::kPairToUnit[row * 0x100 + trail];
}

// What the code page gives for a byte or pair it does not define (the conversion's default
// character), and the one pair that is that character by right: the middle dot.
inline constexpr char16_t kUndefinedUnit = 0x30FB;
inline constexpr std::string_view kMiddleDot = "\x81\x45";

// True when the code page does not define the pair.
inline bool IsUndefinedPair(std::uint8_t lead, std::uint8_t trail) {
  return DecodePair(lead, trail) == kUndefinedUnit && !(lead == 0x81 && trail == 0x45);
}

// True when the unit's bytes convert back to the same unit: no default character, no best fit.
inline bool RoundTrips(char16_t unit) {
  return (cp932_tables::kRoundTrips[unit >> 3] >> (unit & 7)) & 1;
}

}  // namespace propdesk::cp932
