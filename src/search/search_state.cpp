#include "search/search_state.h"

#include <cstdint>

#include "convert/cp932.h"

namespace propdesk {

std::string_view CutToWholeCharacters(std::string_view native, std::size_t maxBytes) {
  std::size_t end = 0;
  while (end < native.size()) {
    const bool doubleByte = cp932::IsLeadByte(static_cast<std::uint8_t>(native[end])) && end + 1 < native.size();
    const std::size_t next = end + (doubleByte ? 2 : 1);
    if (next > maxBytes) break;
    end = next;
  }
  return native.substr(0, end);
}

}  // namespace propdesk
