#pragma once
// Reading an edit control's UTF-16 text, whole or by line, and a line's .properties structure.
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "convert/properties_lexer.h"

namespace propdesk {

std::u16string EditText(HWND edit);
// Line `line` of the control's text without its line break.
std::u16string EditLineText(HWND edit, std::size_t line);

// A line of the control as its UTF-16 text, as native bytes, and the spans of those bytes.
struct LexedEditLine {
  std::u16string view;
  std::string native;
  std::vector<properties::Span> spans;
};
// Line `line` lexed; whether it continues an earlier line is found by looking back over the
// lines before it.
LexedEditLine LexEditLine(HWND edit, std::size_t line);
// The control's selection as UTF-16 indexes, start <= end.
void GetEditSelection(HWND edit, std::size_t& start, std::size_t& end);
void ReplaceEditSelection(HWND edit, const std::u16string& text);

}  // namespace propdesk
