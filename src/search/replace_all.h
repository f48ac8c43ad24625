#pragma once
#include <cstddef>

#include "document/text_view.h"
#include "search/search_state.h"

namespace propdesk {

// Replaces every match of state.FindWhat in the view's text by state.ReplaceWith, exactly or
// ignoring case as state.Flags say, whatever the selection and the direction: from the start of
// the text, left to right, without overlap, and never searching the inserted text again. When
// anything was replaced, the view takes the new text as one undoable edit that leaves the document
// modified, with the caret at the start. Returns the number of replacements; 0, with the view
// untouched, when the find text is empty, nothing matches, or memory runs out.
std::size_t ReplaceAll(TextView& view, const SearchState& state);

}  // namespace propdesk
