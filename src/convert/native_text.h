#pragma once
// Helpers for native code page 932 text outside the escape conversion: reading it character by
// character, checking it, and showing it in interface texts, which are UTF-8.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "convert/cp932.h"

namespace propdesk {

// The code unit of the native character at native[at] (cp932::CharacterLength), advancing at past
// it. A lone lead byte gives U+30FB, as an undefined pair does.
inline char16_t NextNativeCharacter(std::string_view native, std::size_t& at) {
  const auto lead = static_cast<std::uint8_t>(native[at]);
  if (cp932::CharacterLength(native, at) == 2) {
    const auto trail = static_cast<std::uint8_t>(native[at + 1]);
    at += 2;
    return cp932::DecodePair(lead, trail);
  }
  ++at;
  return cp932::DecodeSingle(lead);
}

// False when a character of native text has no code page 932 meaning (a lone lead byte, an
// undefined pair): converting it gives U+30FB, and a save would write that instead.
[[nodiscard]] bool IsDefinedNativeText(std::string_view native);

// The UTF-8 form of native text, character by character as the code page converts it.
std::string NativeToUtf8(std::string_view native);

}  // namespace propdesk
