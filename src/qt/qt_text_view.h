#pragma once
// The core's view of the edit view widget: its text as native bytes with CR LF line breaks, and
// positions as byte offsets. Only the whole-text operations convert the whole text; caret
// position, modified flag, undo and read-only state cost no more than the caret's line.
#include <optional>
#include <string>

#include "document/text_view.h"
#include "qt/native_offsets.h"

namespace propdesk {

class EditViewWidget;

class QtTextView final : public TextView {
 public:
  explicit QtTextView(EditViewWidget& edit);

  const std::string& GetText() const override;
  bool IsEmpty() const override;
  void SetText(std::string_view text) override;
  void ReplaceAllText(std::string_view text) override;

  ByteRange GetSelection() const override;
  void SetSelection(std::size_t start, std::size_t end) override;
  void ScrollCaretIntoView() override;
  void ReplaceSelection(std::string_view text) override;
  LineColumn GetSelectionStartLineColumn() const override;

  bool IsModified() const override;
  void SetModified(bool modified) override;
  bool CanUndo() const override;
  void Undo() override;
  void EmptyUndoBuffer() override;

  bool IsReadOnly() const override;
  void SetReadOnly(bool readOnly) override;

 private:
  // The whole text is about to be replaced: frees the converted text before the new one is
  // converted, to keep the peak of memory low, unless text lies inside it.
  void ReleaseNativeTextApartFrom(std::string_view text);

  EditViewWidget& edit_;
  NativeOffsets offsets_;
  // The native bytes of the text, made on first request and dropped at the next change, so that
  // repeated searches in an unchanged document do not convert it again.
  mutable std::optional<std::string> nativeText_;
};

}  // namespace propdesk
