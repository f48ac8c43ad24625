#include "search/search_state.h"

#include "convert/cp932.h"
#include "convert/view_text.h"

namespace propdesk {

std::string_view CutToWholeCharacters(std::string_view native, std::size_t maxBytes) {
  std::size_t end = 0;
  while (end < native.size()) {
    const std::size_t next = end + cp932::CharacterLength(native, end);
    if (next > maxBytes) break;
    end = next;
  }
  return native.substr(0, end);
}

std::u16string FitEnteredText(std::u16string_view entered, std::size_t room) {
  std::u16string fitted;
  std::size_t used = 0;
  for (std::size_t i = 0; i < entered.size();) {
    const bool pair = i + 1 < entered.size() && entered[i] >= 0xD800 && entered[i] < 0xDC00 &&
                      entered[i + 1] >= 0xDC00 && entered[i + 1] < 0xE000;
    const std::size_t units = pair ? 2 : 1;
    const std::u16string piece = EnteredViewText(entered.substr(i, units), ViewLineBreak::Lf);
    used += NativeLength(piece, ViewLineBreak::Lf);
    if (used > room) break;
    fitted += piece;
    i += units;
  }
  return fitted;
}

}  // namespace propdesk
