#pragma once
// The core's view of the edit control: its UTF-16 text (line breaks CR LF, lone CR, LF and NUL as
// placeholders) as native bytes, and its UTF-16 indexes as byte offsets. The selection and the
// whole text are read afresh at each call, so that no edit the control makes on its own is missed;
// the caret's line and column cost no more than its line.
#include <windows.h>

#include <string>

#include "document/text_view.h"

namespace propdesk {

class Win32TextView final : public TextView {
 public:
  explicit Win32TextView(HWND edit) : edit_(edit) {}

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
  HWND edit_;
  // The text last asked for, kept so that the reference GetText returns stays valid.
  mutable std::string nativeText_;
};

}  // namespace propdesk
