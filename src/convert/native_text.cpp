#include "convert/native_text.h"

#include <cstdint>

#include "common/utf8.h"
#include "convert/cp932.h"
#include "convert/escape_syntax.h"

namespace propdesk {

bool IsDefinedNativeText(std::string_view native) {
  const char* const begin = native.data();
  const char* const end = begin + native.size();
  for (std::size_t at = 0;;) {
    at = static_cast<std::size_t>(escape::SkipAscii(begin + at, end) - begin);
    if (at == native.size()) return true;
    const std::size_t start = at;
    const bool undefined = NextNativeCharacter(native, at) == cp932::kUndefinedUnit;
    if (undefined && native.substr(start, at - start) != cp932::kMiddleDot) return false;
  }
}

std::string NativeToUtf8(std::string_view native) {
  std::string out;
  out.reserve(native.size() * 3 / 2);
  // Code page 932 maps only to the basic plane and never to a surrogate.
  for (std::size_t at = 0; at < native.size();) utf8::Append(out, NextNativeCharacter(native, at));
  return out;
}

}  // namespace propdesk
