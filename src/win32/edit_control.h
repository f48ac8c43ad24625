#pragma once
// Reading an edit control's UTF-16 text, whole or by line.
#include <windows.h>

#include <cstddef>
#include <string>

namespace propdesk {

std::u16string EditText(HWND edit);
// Line `line` of the control's text without its line break.
std::u16string EditLineText(HWND edit, std::size_t line);
// The control's selection as UTF-16 indexes, start <= end.
void GetEditSelection(HWND edit, std::size_t& start, std::size_t& end);
void ReplaceEditSelection(HWND edit, const std::u16string& text);

}  // namespace propdesk
