#include "search/replace_all.h"

#include <new>
#include <string>

#include "search/grow_buffer.h"
#include "search/text_search.h"

namespace propdesk {

std::size_t ReplaceAll(TextView& view, const SearchState& state) {
  if (state.FindWhat.empty()) return 0;
  try {
    std::size_t count = 0;
    GrowBuffer result;
    {
      const std::string& text = view.GetText();
      const SearchPattern pattern(state.FindWhat, state.MatchesCase());
      ForwardSearch search(text, pattern);
      std::size_t position = 0;
      while (const auto match = search.FindFrom(position)) {
        result.Append(text.data() + position, *match - position);
        result.Append(state.ReplaceWith.data(), state.ReplaceWith.size());
        ++count;
        position = *match + pattern.size();
      }
      if (count == 0) return 0;
      result.Append(text.data() + position, text.size() - position);
    }  // The view's text is not used once the view takes the new text.
    view.ReplaceAllText(result.View());
    view.SetSelection(0, 0);
    view.ScrollCaretIntoView();
    return count;
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

}  // namespace propdesk
