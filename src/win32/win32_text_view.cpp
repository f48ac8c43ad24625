#include "win32/win32_text_view.h"

#include <algorithm>

#include "convert/view_text.h"
#include "win32/edit_control.h"

namespace propdesk {
namespace {

constexpr ViewLineBreak kForm = ViewLineBreak::CrLf;

}  // namespace

const std::string& Win32TextView::GetText() const {
  nativeText_.clear();
  nativeText_.shrink_to_fit();
  nativeText_ = ViewTextToNative(EditText(edit_), kForm);
  return nativeText_;
}

bool Win32TextView::IsEmpty() const { return GetWindowTextLengthW(edit_) == 0; }

void Win32TextView::SetText(std::string_view text) {
  const std::u16string viewText = NativeToViewText(text, kForm);
  // Setting the text clears the control's modified flag, which is the caller's.
  const bool modified = IsModified();
  SetWindowTextW(edit_, reinterpret_cast<const wchar_t*>(viewText.c_str()));
  SetModified(modified);
  SendMessageW(edit_, EM_SETSEL, 0, 0);
}

void Win32TextView::ReplaceAllText(std::string_view text) {
  SendMessageW(edit_, EM_SETSEL, 0, -1);
  ReplaceEditSelection(edit_, NativeToViewText(text, kForm));
  SetModified(true);
  SendMessageW(edit_, EM_SETSEL, 0, 0);
}

ByteRange Win32TextView::GetSelection() const {
  std::size_t start = 0;
  std::size_t end = 0;
  GetEditSelection(edit_, start, end);
  const std::u16string text = EditText(edit_);
  const std::u16string_view view(text);
  return {NativeLength(view.substr(0, start), kForm), NativeLength(view.substr(0, end), kForm)};
}

void Win32TextView::SetSelection(std::size_t start, std::size_t end) {
  const std::u16string text = EditText(edit_);
  const std::size_t first = IndexOfNativeOffset(text, std::min(start, end), kForm);
  const std::size_t last = IndexOfNativeOffset(text, std::max(start, end), kForm);
  SendMessageW(edit_, EM_SETSEL, first, static_cast<LPARAM>(last));
}

void Win32TextView::ScrollCaretIntoView() { SendMessageW(edit_, EM_SCROLLCARET, 0, 0); }

void Win32TextView::ReplaceSelection(std::string_view text) {
  ReplaceEditSelection(edit_, NativeToViewText(text, kForm));
}

LineColumn Win32TextView::GetSelectionStartLineColumn() const {
  std::size_t start = 0;
  std::size_t end = 0;
  GetEditSelection(edit_, start, end);
  const auto line = static_cast<std::size_t>(SendMessageW(edit_, EM_LINEFROMCHAR, start, 0));
  const auto lineStart = static_cast<std::size_t>(SendMessageW(edit_, EM_LINEINDEX, line, 0));
  const std::u16string lineText = EditLineText(edit_, line);
  return {line, NativeLength(std::u16string_view(lineText).substr(0, start - lineStart), kForm)};
}

bool Win32TextView::IsModified() const { return SendMessageW(edit_, EM_GETMODIFY, 0, 0) != 0; }

void Win32TextView::SetModified(bool modified) { SendMessageW(edit_, EM_SETMODIFY, modified, 0); }

bool Win32TextView::CanUndo() const { return SendMessageW(edit_, EM_CANUNDO, 0, 0) != 0; }

void Win32TextView::Undo() {
  // The control refuses undo while read-only; the interface undoes whatever the state, as its
  // other edits do.
  const bool readOnly = IsReadOnly();
  if (readOnly) SetReadOnly(false);
  SendMessageW(edit_, EM_UNDO, 0, 0);
  if (readOnly) SetReadOnly(true);
}

void Win32TextView::EmptyUndoBuffer() { SendMessageW(edit_, EM_EMPTYUNDOBUFFER, 0, 0); }

bool Win32TextView::IsReadOnly() const { return (GetWindowLongW(edit_, GWL_STYLE) & ES_READONLY) != 0; }

void Win32TextView::SetReadOnly(bool readOnly) { SendMessageW(edit_, EM_SETREADONLY, readOnly, 0); }

}  // namespace propdesk
