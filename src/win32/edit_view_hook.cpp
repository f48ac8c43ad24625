#include "win32/edit_view_hook.h"

#include <commctrl.h>
#include <imm.h>

#include <cstring>
#include <optional>
#include <string>

#include "convert/view_text.h"
#include "document/caret_character.h"
#include "win32/edit_control.h"
#include "win32/frame_messages.h"

namespace propdesk {
namespace {

constexpr UINT_PTR kHookId = 1;
constexpr WPARAM kEscape = 27;
constexpr WPARAM kBackspace = 8;

bool IsReadOnly(HWND edit) { return (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) != 0; }

void Enter(HWND edit, std::u16string_view text) {
  ReplaceEditSelection(edit, EnteredViewText(text, ViewLineBreak::CrLf));
}

// The clipboard's text entered as typed text would be; false when it offers none.
bool PasteKeepingEveryCharacter(HWND edit) {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(edit)) return false;
  std::u16string text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* units = static_cast<const char16_t*>(GlobalLock(data))) {
      text = units;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  Enter(edit, text);
  return true;
}

// Puts the selection on the clipboard as plain text, the placeholders of lone CR and LF as the
// characters they stand for, so that pasting it back gives the same text.
void CopySelection(HWND edit) {
  std::size_t start = 0;
  std::size_t end = 0;
  GetEditSelection(edit, start, end);
  if (start == end) return;
  const std::u16string plain = ExternalPlainText(std::u16string_view(EditText(edit)).substr(start, end - start));
  if (!OpenClipboard(edit)) return;
  EmptyClipboard();
  const std::size_t bytes = (plain.size() + 1) * sizeof(char16_t);
  if (HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    if (void* units = GlobalLock(data)) {
      std::memcpy(units, plain.c_str(), bytes);
      GlobalUnlock(data);
      if (!SetClipboardData(CF_UNICODETEXT, data)) GlobalFree(data);
    } else {
      GlobalFree(data);
    }
  }
  CloseClipboard();
}

// A typed character without an exact code page 932 form enters as its escape text; true when it
// was one.
bool EnteredAsEscape(HWND edit, WPARAM character, EditViewHook::Owner& owner) {
  const char16_t unit = static_cast<char16_t>(character);
  if (IsReadOnly(edit) || IsEncodable(std::u16string_view(&unit, 1))) return false;
  Enter(edit, std::u16string_view(&unit, 1));
  owner.CaretMayHaveMoved();
  return true;
}

// Backspace just after, or Delete just before, an escape the view keeps as text removes the
// escape whole, as the one character it stands for; true when it did.
bool RemovedKeptEscape(HWND edit, bool beforeCaret, EditViewHook::Owner& owner) {
  std::size_t start = 0;
  std::size_t end = 0;
  GetEditSelection(edit, start, end);
  if (IsReadOnly(edit) || start != end) return false;
  const auto line = static_cast<std::size_t>(SendMessageW(edit, EM_LINEFROMCHAR, start, 0));
  const auto lineStart = static_cast<std::size_t>(SendMessageW(edit, EM_LINEINDEX, line, 0));
  const LexedEditLine lexed = LexEditLine(edit, line);
  const std::size_t column =
      NativeLength(std::u16string_view(lexed.view).substr(0, start - lineStart), ViewLineBreak::CrLf);
  if (beforeCaret && column == 0) return false;
  const std::optional<KeptEscape> kept = KeptEscapeAt(lexed.native, lexed.spans, beforeCaret ? column - 1 : column);
  if (!kept || (beforeCaret ? kept->end : kept->begin) != column) return false;
  SendMessageW(edit, EM_SETSEL, lineStart + IndexOfNativeOffset(lexed.view, kept->begin, ViewLineBreak::CrLf),
               static_cast<LPARAM>(lineStart + IndexOfNativeOffset(lexed.view, kept->end, ViewLineBreak::CrLf)));
  ReplaceEditSelection(edit, u"");
  owner.CaretMayHaveMoved();
  return true;
}

// The text an input method has just committed, or none.
std::u16string CommittedText(HWND edit) {
  std::u16string text;
  HIMC context = ImmGetContext(edit);
  if (!context) return text;
  const LONG bytes = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
  if (bytes > 0) {
    text.resize(static_cast<std::size_t>(bytes) / sizeof(char16_t));
    ImmGetCompositionStringW(context, GCS_RESULTSTR, text.data(), static_cast<DWORD>(bytes));
  }
  ImmReleaseContext(edit, context);
  return text;
}

LRESULT CALLBACK HookProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto& owner = *reinterpret_cast<EditViewHook::Owner*>(data);
  switch (message) {
    case WM_CHAR:
      if (wParam == kEscape && owner.EscapeClosesWindow()) {
        PostMessageW(owner.Window(), WM_CLOSE, 0, 0);
        return 0;
      }
      SendMessageW(owner.Window(), WM_UPDATECARETPOS, 0, 0);
      if (wParam == kBackspace && RemovedKeptEscape(edit, true, owner)) return 0;
      if (EnteredAsEscape(edit, wParam, owner)) return 0;
      break;
    case WM_KEYDOWN:
      // Shift+Del and Ctrl+Del keep the control's meanings (cut, delete to the word's end).
      if (wParam == VK_DELETE && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0 &&
          RemovedKeptEscape(edit, false, owner)) {
        return 0;
      }
      break;
    case WM_IME_CHAR:
      // The control would insert it without a WM_CHAR.
      if (EnteredAsEscape(edit, wParam, owner)) return 0;
      break;
    case WM_IME_COMPOSITION:
      // The control inserts committed text itself; text that the code page cannot hold is
      // entered here instead, and the control sees only the rest of the message.
      if ((lParam & GCS_RESULTSTR) && !IsReadOnly(edit)) {
        const std::u16string committed = CommittedText(edit);
        if (!IsEncodable(committed)) {
          Enter(edit, committed);
          owner.CaretMayHaveMoved();
          lParam &= ~static_cast<LPARAM>(GCS_RESULTSTR);
        }
      }
      break;
    case WM_KEYUP:
    case WM_MOUSEMOVE:
      SendMessageW(owner.Window(), WM_UPDATECARETPOS, 0, 0);
      break;
    case WM_PASTE:
      if (IsReadOnly(edit)) return 0;
      if (PasteKeepingEveryCharacter(edit)) {
        owner.CaretMayHaveMoved();
        return 0;
      }
      break;
    case WM_COPY:
      CopySelection(edit);
      return 0;
    case WM_CUT:
      if (IsReadOnly(edit)) return 0;
      CopySelection(edit);
      SendMessageW(edit, WM_CLEAR, 0, 0);
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(edit, HookProc, kHookId);
      return DefSubclassProc(edit, message, wParam, lParam);
    default:
      break;
  }
  const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
  switch (message) {
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_SETSEL:
      owner.CaretMayHaveMoved();
      break;
    case WM_MOUSEMOVE:
      if (wParam & MK_LBUTTON) owner.CaretMayHaveMoved();
      break;
    default:
      break;
  }
  return result;
}

}  // namespace

bool EditViewHook::Attach(HWND editView, Owner& owner) {
  return SetWindowSubclass(editView, HookProc, kHookId, reinterpret_cast<DWORD_PTR>(&owner)) != FALSE;
}

}  // namespace propdesk
