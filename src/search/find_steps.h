#pragma once
// The two search steps over the view: find the next match, and replace the selected match and
// find the next one. Their state between calls is the view's selection; they show no message.
#include <cstdint>
#include <string_view>

#include "document/text_view.h"

namespace propdesk {

// Searches from the selection, downwards (FR_DOWN set: the first match at or after the selection's
// end) or upwards (the last match beginning before its start), exactly when FR_MATCHCASE is set,
// and selects the match and scrolls to it. False, with the view untouched, when there is none,
// when findWhat is empty, or when the view cannot hand out its text for want of memory.
bool FindNext(TextView& view, std::string_view findWhat, std::uint32_t flags);

// When the selection equals findWhat (exactly or ignoring case, as FR_MATCHCASE says), replaces it
// with replaceWith as one undoable edit. Whatever FR_DOWN says, then selects the next match after
// the old selection's end, where it lies once the replacement is made; when there is none the
// inserted text stays selected. True when a further match is selected. An empty findWhat, or no
// memory for the view to hand out its text, does nothing and gives false.
bool ReplaceNext(TextView& view, std::string_view findWhat, std::string_view replaceWith, std::uint32_t flags);

}  // namespace propdesk
