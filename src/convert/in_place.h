#pragma once
// The in-place form of a conversion that writes its result into a new string.
#include <string>
#include <string_view>

namespace propdesk {

// Runs convert(text, result) and, when it succeeds, puts the result in place of text; text is
// left as it was when it fails.
template <typename IntoResult>
bool ConvertInPlace(std::string& text, IntoResult&& convert) {
  std::string result;
  if (!convert(std::string_view(text), result)) return false;
  text.swap(result);
  return true;
}

}  // namespace propdesk
