#include "support/fake_text_view.h"

#include <algorithm>
#include <new>

namespace propdesk::test {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

}  // namespace

const std::string& FakeTextView::GetText() const {
  if (!text_.empty()) ThrowIfOutOfMemory();
  return text_;
}

void FakeTextView::SetText(std::string_view text) {
  if (!text.empty()) ThrowIfOutOfMemory();
  undo_.push_back({text_, selection_});
  cleanDepth_.reset();
  text_ = text;
  selection_ = {};
}

void FakeTextView::ReplaceAllText(std::string_view text) {
  ThrowIfOutOfMemory();
  RecordUndo();
  text_ = text;
  selection_ = {};
  ChangeModified(true);
}

void FakeTextView::SetSelection(std::size_t start, std::size_t end) {
  start = std::min(start, text_.size());
  end = std::min(end, text_.size());
  selection_ = {std::min(start, end), std::max(start, end)};
}

void FakeTextView::ReplaceSelection(std::string_view text) {
  ThrowIfOutOfMemory();
  RecordUndo();
  text_.replace(selection_.start, selection_.end - selection_.start, text);
  const std::size_t caret = selection_.start + text.size();
  selection_ = {caret, caret};
  ChangeModified(true);
}

LineColumn FakeTextView::GetSelectionStartLineColumn() const {
  const std::string_view before = std::string_view(text_).substr(0, selection_.start);
  LineColumn position;
  std::size_t lineStart = 0;
  for (auto found = before.find(kLineBreak); found != std::string_view::npos;
       found = before.find(kLineBreak, lineStart)) {
    ++position.line;
    lineStart = found + kLineBreak.size();
  }
  position.column = selection_.start - std::min(lineStart, selection_.start);
  return position;
}

void FakeTextView::SetModified(bool modified) {
  cleanDepth_ = modified ? std::nullopt : std::optional<std::size_t>(undo_.size());
  ChangeModified(modified);
}

void FakeTextView::Undo() {
  if (undo_.empty()) return;
  text_ = std::move(undo_.back().text);
  selection_ = undo_.back().selection;
  undo_.pop_back();
  ChangeModified(cleanDepth_ != undo_.size());
}

void FakeTextView::EmptyUndoBuffer() {
  undo_.clear();
  cleanDepth_ = modified_ ? std::nullopt : std::optional<std::size_t>(0);
}

void FakeTextView::ThrowIfOutOfMemory() const {
  if (outOfMemory) throw std::bad_alloc();
}

void FakeTextView::RecordUndo() {
  // An edit made after undoing past the clean state makes that state unreachable.
  if (cleanDepth_ && *cleanDepth_ > undo_.size()) cleanDepth_.reset();
  undo_.push_back({text_, selection_});
}

void FakeTextView::ChangeModified(bool modified) {
  if (modified_ == modified) return;
  modified_ = modified;
  if (onModifiedChanged) onModifiedChanged();
}

}  // namespace propdesk::test
