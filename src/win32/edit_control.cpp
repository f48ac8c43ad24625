#include "win32/edit_control.h"

#include "convert/view_text.h"
#include "document/caret_character.h"

namespace propdesk {

std::u16string EditText(HWND edit) {
  std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(edit)), u'\0');
  const int copied = GetWindowTextW(edit, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size() + 1));
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

std::u16string EditLineText(HWND edit, std::size_t line) {
  const LRESULT lineStart = SendMessageW(edit, EM_LINEINDEX, line, 0);
  if (lineStart < 0) return {};
  const auto length = static_cast<std::size_t>(SendMessageW(edit, EM_LINELENGTH, static_cast<WPARAM>(lineStart), 0));
  // EM_GETLINE takes its buffer's size in one WORD; a longer line comes from the whole text.
  if (length >= 0xFFFF) return EditText(edit).substr(static_cast<std::size_t>(lineStart), length);
  std::u16string text(std::max<std::size_t>(length, 1), u'\0');
  text[0] = static_cast<char16_t>(length);
  const LRESULT copied = SendMessageW(edit, EM_GETLINE, line, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

LexedEditLine LexEditLine(HWND edit, std::size_t line) {
  LexedEditLine lexed;
  lexed.view = EditLineText(edit, line);
  lexed.native = ViewTextToNative(lexed.view, ViewLineBreak::CrLf);
  const properties::LineStart start = StartOfLine(line, [edit](std::size_t i) { return EditLineText(edit, i); });
  properties::LexLine(lexed.native, start, lexed.spans);
  return lexed;
}

void GetEditSelection(HWND edit, std::size_t& start, std::size_t& end) {
  DWORD first = 0;
  DWORD last = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
  start = first;
  end = last;
}

void ReplaceEditSelection(HWND edit, const std::u16string& text) {
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace propdesk
