#include "convert/native_text.h"

#include <cstdint>

#include "convert/cp932.h"

namespace propdesk {
namespace {

void AppendUtf8(std::string& out, char16_t unit) {
  if (unit < 0x80) {
    out.push_back(static_cast<char>(unit));
  } else if (unit < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (unit >> 6)));
    out.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
  } else {
    // Code page 932 maps only to the basic plane and never to a surrogate.
    out.push_back(static_cast<char>(0xE0 | (unit >> 12)));
    out.push_back(static_cast<char>(0x80 | ((unit >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
  }
}

}  // namespace

std::string NativeToUtf8(std::string_view native) {
  std::string out;
  out.reserve(native.size() * 3 / 2);
  for (std::size_t i = 0; i < native.size();) {
    const auto lead = static_cast<std::uint8_t>(native[i]);
    // A pair needs a trail byte; a lead byte before a CR or LF stands alone, as the encoder has it.
    if (i + 1 < native.size() && cp932::IsLeadByte(lead) &&
        cp932::IsTrailByte(static_cast<std::uint8_t>(native[i + 1]))) {
      AppendUtf8(out, cp932::DecodePair(lead, static_cast<std::uint8_t>(native[i + 1])));
      i += 2;
    } else {
      AppendUtf8(out, cp932::DecodeSingle(lead));
      ++i;
    }
  }
  return out;
}

}  // namespace propdesk
