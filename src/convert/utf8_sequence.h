#pragma once
// What a byte may start in UTF-8, shared by the UTF-8 codec and the input check.
#include <cstdint>

namespace propdesk::utf8 {

// A UTF-8 lead byte: the length of its sequence and the range its second byte must fall in, which
// excludes overlong forms, surrogates and values above U+10FFFF. Length 0: not a lead byte.
struct LeadByte {
  int length;
  std::uint8_t secondLow;
  std::uint8_t secondHigh;
};

constexpr LeadByte DescribeLead(std::uint8_t b) {
  if (b >= 0xC2 && b <= 0xDF) return {2, 0x80, 0xBF};
  if (b == 0xE0) return {3, 0xA0, 0xBF};
  if (b == 0xED) return {3, 0x80, 0x9F};
  if (b >= 0xE1 && b <= 0xEF) return {3, 0x80, 0xBF};
  if (b == 0xF0) return {4, 0x90, 0xBF};
  if (b == 0xF4) return {4, 0x80, 0x8F};
  if (b >= 0xF1 && b <= 0xF3) return {4, 0x80, 0xBF};
  return {0, 0, 0};
}

// Whether b may stand at position index (1 or more) of a sequence that starts with lead.
constexpr bool Continues(LeadByte lead, int index, std::uint8_t b) {
  return index == 1 ? b >= lead.secondLow && b <= lead.secondHigh : (b & 0xC0) == 0x80;
}

}  // namespace propdesk::utf8
