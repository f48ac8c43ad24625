#include "search/find_steps.h"

#include <new>
#include <optional>
#include <string>

#include "search/search_state.h"
#include "search/text_search.h"

namespace propdesk {
namespace {

void SelectAndShow(TextView& view, const ByteRange& range) {
  view.SetSelection(range.start, range.end);
  view.ScrollCaretIntoView();
}

}  // namespace

bool FindNext(TextView& view, std::string_view findWhat, std::uint32_t flags) {
  if (findWhat.empty()) return false;
  const ByteRange selection = view.GetSelection();
  const bool matchCase = (flags & FR_MATCHCASE) != 0;
  std::optional<std::size_t> match;
  try {
    const std::string& text = view.GetText();
    match = (flags & FR_DOWN) ? FindFirstOccurrence(text, selection.end, findWhat, matchCase)
                              : FindLastOccurrence(text, selection.start, findWhat, matchCase);
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!match) return false;
  SelectAndShow(view, {*match, *match + findWhat.size()});
  return true;
}

bool ReplaceNext(TextView& view, std::string_view findWhat, std::string_view replaceWith, std::uint32_t flags) {
  if (findWhat.empty()) return false;
  const ByteRange selection = view.GetSelection();
  const bool matchCase = (flags & FR_MATCHCASE) != 0;
  bool replacementPending = false;
  bool found = false;
  std::optional<ByteRange> newSelection;
  try {
    const std::string& text = view.GetText();
    if (selection.end > selection.start && selection.end <= text.size() &&
        SameText(std::string_view(text).substr(selection.start, selection.end - selection.start), findWhat, matchCase)) {
      replacementPending = true;
      newSelection = ByteRange{selection.start, selection.start + replaceWith.size()};
    }
    if (const auto match = FindFirstOccurrence(text, selection.end, findWhat, matchCase)) {
      // The match lies after the selection, so the replacement moves it by the change in length.
      const std::size_t start = replacementPending ? *match - findWhat.size() + replaceWith.size() : *match;
      newSelection = ByteRange{start, start + findWhat.size()};
      found = true;
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (replacementPending) view.ReplaceSelection(replaceWith);
  if (newSelection) SelectAndShow(view, *newSelection);
  return found;
}

}  // namespace propdesk
