#include "common/utf8.h"

namespace propdesk::utf8 {
namespace {

// What a lead byte allows of the byte after it: the ranges exclude overlong forms, surrogates and
// values above U+10FFFF.
struct SecondByteRange {
  unsigned char low;
  unsigned char high;
};

SecondByteRange SecondByteRangeAfter(unsigned char lead) {
  switch (lead) {
    case 0xE0: return {0xA0, 0xBF};
    case 0xED: return {0x80, 0x9F};
    case 0xF0: return {0x90, 0xBF};
    case 0xF4: return {0x80, 0x8F};
    default: return {0x80, 0xBF};
  }
}

}  // namespace

std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

Decoded Decode(std::string_view bytes) {
  if (bytes.empty()) return {};
  const auto at = [bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const std::size_t length = SequenceLength(at(0));
  if (length == 0 || bytes.size() < length) return {};
  if (length == 1) return {at(0), 1};
  const SecondByteRange second = SecondByteRangeAfter(at(0));
  if (at(1) < second.low || at(1) > second.high) return {};
  char32_t codePoint = at(0) & (0x7Fu >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if ((at(i) & 0xC0) != 0x80) return {};
    codePoint = codePoint << 6 | (at(i) & 0x3Fu);
  }
  return {codePoint, length};
}

char* Encode(char32_t codePoint, char* out) {
  const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
  if (codePoint < 0x80) {
    *out++ = byte(codePoint);
  } else if (codePoint < 0x800) {
    *out++ = byte(0xC0 | codePoint >> 6);
    *out++ = byte(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    *out++ = byte(0xE0 | codePoint >> 12);
    *out++ = byte(0x80 | (codePoint >> 6 & 0x3F));
    *out++ = byte(0x80 | (codePoint & 0x3F));
  } else {
    *out++ = byte(0xF0 | codePoint >> 18);
    *out++ = byte(0x80 | (codePoint >> 12 & 0x3F));
    *out++ = byte(0x80 | (codePoint >> 6 & 0x3F));
    *out++ = byte(0x80 | (codePoint & 0x3F));
  }
  return out;
}

void Append(std::string& out, char32_t codePoint) {
  char sequence[kMaxSequence];
  out.append(sequence, Encode(codePoint, sequence));
}

}  // namespace propdesk::utf8
