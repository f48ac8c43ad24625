#include "settings/utf16le.h"

namespace propdesk {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// What a lead byte announces: the sequence length (0 for a byte that cannot start one), its payload
// bits, and the smallest code point that may use that length.
struct LeadByte {
  std::size_t length;
  char32_t bits;
  char32_t minimum;
};

LeadByte ClassifyLead(unsigned char lead) {
  if (lead < 0x80) return {1, lead, 0};
  if (lead >= 0xC2 && lead <= 0xDF) return {2, lead & 0x1Fu, 0x80};
  if (lead >= 0xE0 && lead <= 0xEF) return {3, lead & 0x0Fu, 0x800};
  if (lead >= 0xF0 && lead <= 0xF4) return {4, lead & 0x07u, 0x10000};
  return {0, 0, 0};
}

// Decodes the code point at text[at], advancing at; an invalid sequence yields U+FFFD for one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
  const LeadByte lead = ClassifyLead(static_cast<unsigned char>(text[at]));
  char32_t point = lead.bits;
  bool valid = lead.length != 0 && at + lead.length <= text.size();
  for (std::size_t i = 1; valid && i < lead.length; ++i) {
    const auto byte = static_cast<unsigned char>(text[at + i]);
    valid = IsContinuation(byte);
    point = (point << 6) | (byte & 0x3Fu);
  }
  valid = valid && point >= lead.minimum && point <= 0x10FFFF && (point < 0xD800 || point > 0xDFFF);
  at += valid ? lead.length : 1;
  return valid ? point : kReplacement;
}

void AppendUnit(std::string& out, char32_t unit) {
  out += static_cast<char>(unit & 0xFF);
  out += static_cast<char>((unit >> 8) & 0xFF);
}

void AppendUtf8(std::string& out, char32_t point) {
  if (point < 0x80) {
    out += static_cast<char>(point);
  } else if (point < 0x800) {
    out += static_cast<char>(0xC0 | (point >> 6));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else if (point < 0x10000) {
    out += static_cast<char>(0xE0 | (point >> 12));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (point >> 18));
    out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  }
}

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::string Utf8ToUtf16Le(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  std::size_t at = 0;
  while (at < text.size()) {
    const char32_t point = NextCodePoint(text, at);
    if (point >= 0x10000) {
      AppendUnit(out, 0xD800 + ((point - 0x10000) >> 10));
      AppendUnit(out, 0xDC00 + ((point - 0x10000) & 0x3FF));
    } else {
      AppendUnit(out, point);
    }
  }
  return out;
}

std::string Utf16LeToUtf8(std::string_view bytes) {
  const std::size_t count = bytes.size() / 2;
  const auto unitAt = [&](std::size_t i) {
    return static_cast<char32_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                 (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  };
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < count; ++i) {
    const char32_t unit = unitAt(i);
    if (IsHighSurrogate(unit) && i + 1 < count && IsLowSurrogate(unitAt(i + 1))) {
      AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00));
      ++i;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

}  // namespace propdesk
