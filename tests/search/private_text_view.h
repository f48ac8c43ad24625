#pragma once
// A minimal text view over a byte string for the search tests, with one level of undo like the
// platform's edit control. Stands in until the shared test view is available.
#include <algorithm>
#include <string>

#include "document/text_view.h"

namespace propdesk::test {

class PrivateTextView : public TextView {
 public:
  explicit PrivateTextView(std::string text = {}) : text_(std::move(text)) {}

  std::string GetText() const override { return text_; }
  bool IsEmpty() const override { return text_.empty(); }
  void SetText(std::string_view text) override {
    text_.assign(text);
    selection_ = {};
  }
  void ReplaceAllText(std::string_view text) override {
    undoText_ = std::move(text_);
    undoSelection_ = selection_;
    canUndo_ = true;
    text_.assign(text);
    selection_ = {};
    modified_ = true;
  }
  ByteRange GetSelection() const override { return selection_; }
  void SetSelection(std::size_t start, std::size_t end) override {
    selection_ = {std::min(start, text_.size()), std::min(end, text_.size())};
  }
  void ScrollCaretIntoView() override { ++scrollCount_; }
  void ReplaceSelection(std::string_view text) override {
    Remember();
    text_.replace(selection_.start, selection_.end - selection_.start, text);
    selection_.start = selection_.end = selection_.start + text.size();
    modified_ = true;
  }
  LineColumn GetSelectionStartLineColumn() const override { return {}; }
  bool IsModified() const override { return modified_; }
  void SetModified(bool modified) override { modified_ = modified; }
  bool CanUndo() const override { return canUndo_; }
  void Undo() override {
    std::swap(text_, undoText_);
    std::swap(selection_, undoSelection_);
  }
  void EmptyUndoBuffer() override {
    canUndo_ = false;
    std::string().swap(undoText_);
  }
  bool IsReadOnly() const override { return readOnly_; }
  void SetReadOnly(bool readOnly) override { readOnly_ = readOnly; }

  int ScrollCount() const { return scrollCount_; }

 private:
  void Remember() {
    undoText_ = text_;
    undoSelection_ = selection_;
    canUndo_ = true;
  }

  std::string text_;
  ByteRange selection_;
  std::string undoText_;
  ByteRange undoSelection_;
  bool canUndo_ = false;
  bool modified_ = false;
  bool readOnly_ = false;
  int scrollCount_ = 0;
};

}  // namespace propdesk::test
