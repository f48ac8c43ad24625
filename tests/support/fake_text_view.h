#pragma once
// A text view over bytes that behaves like the real edit view: clamped selection, undoable edits,
// a modified flag that an undo back to the last clean state clears, and a change notification.
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/text_view.h"

namespace propdesk::test {

class FakeTextView final : public TextView {
 public:
  // Starts with text as after opening a file: clean, nothing to undo, the caret at the start.
  explicit FakeTextView(std::string text = {}) : text_(std::move(text)) {}

  const std::string& GetText() const override;
  bool IsEmpty() const override { return text_.empty(); }
  // Leaves the modified flag as it was and records an undo step: the interface leaves both to
  // the caller, and a caller that forgets them is caught.
  void SetText(std::string_view text) override;
  void ReplaceAllText(std::string_view text) override;

  ByteRange GetSelection() const override { return selection_; }
  void SetSelection(std::size_t start, std::size_t end) override;
  void ScrollCaretIntoView() override { ++scrollCount; }
  void ReplaceSelection(std::string_view text) override;
  LineColumn GetSelectionStartLineColumn() const override;

  bool IsModified() const override { return modified_; }
  void SetModified(bool modified) override;
  bool CanUndo() const override { return !undo_.empty(); }
  void Undo() override;
  void EmptyUndoBuffer() override;

  bool IsReadOnly() const override { return readOnly_; }
  void SetReadOnly(bool readOnly) override { readOnly_ = readOnly; }

  // Called whenever the modified flag changes value, as the toolkit's view signals it.
  std::function<void()> onModifiedChanged;
  // While true, every operation that needs memory for a text throws std::bad_alloc first.
  bool outOfMemory = false;
  // How often the caret was brought into view.
  int scrollCount = 0;

 private:
  struct Snapshot {
    std::string text;
    ByteRange selection;
  };
  void ThrowIfOutOfMemory() const;
  void RecordUndo();
  void ChangeModified(bool modified);

  std::string text_;
  ByteRange selection_;
  bool modified_ = false;
  bool readOnly_ = false;
  std::vector<Snapshot> undo_;
  // The depth of the undo history at which the text was last marked clean; none when that state
  // can no longer be reached by undo.
  std::optional<std::size_t> cleanDepth_ = 0;
};

}  // namespace propdesk::test
