#pragma once
// Code page 932 (Japanese) conversion of single UTF-16 code units, with the mappings,
// best-fit substitutions and default characters of the Windows conversion functions.
#include <cstdint>

#include "convert/cp932_tables.h"

namespace propdesk::cp932 {

constexpr bool IsLeadByte(std::uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
constexpr bool IsTrailByte(std::uint8_t b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

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

// True when the unit's bytes convert back to the same unit: no default character, no best fit.
inline bool RoundTrips(char16_t unit) {
  return (cp932_tables::kRoundTrips[unit >> 3] >> (unit & 7)) & 1;
}

}  // namespace propdesk::cp932
