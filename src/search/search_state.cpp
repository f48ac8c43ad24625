#include "search/search_state.h"

#include "convert/cp932.h"

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

}  // namespace propdesk
